/* A stand-in for a library the sample package ships and the program only copies (runtime library,
 * capture filter, HALCON interface). It names itself and its bitness, so that a copy found on disk
 * tells which build it came from. */
#include <windows.h>

__declspec(dllexport) const char* SampleComponentName(void) { return SAMPLE_COMPONENT_NAME; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
