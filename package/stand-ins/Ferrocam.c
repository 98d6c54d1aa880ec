/* The sample package's ActiveX control: a 32-bit library whose DllRegisterServer leaves a mark in the
 * registry, HKLM\Software\Ferrolux\Marks value "Ferrocam" holding the path it was loaded from. */
#include <windows.h>

static HINSTANCE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

__declspec(dllexport) HRESULT __stdcall DllRegisterServer(void) {
  char path[MAX_PATH] = {0};
  DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  HKEY key = NULL;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Ferrolux\\Marks", 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
      ERROR_SUCCESS) {
    return E_FAIL;
  }
  LONG written = RegSetValueExA(key, "Ferrocam", 0, REG_SZ, (const BYTE*)path, length + 1);
  RegCloseKey(key);
  return written == ERROR_SUCCESS ? S_OK : E_FAIL;
}
