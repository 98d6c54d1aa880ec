// The floor of the comparison under Wine: a GUI program built and started as calvant.exe is (32-bit,
// statically linked, same toolchain and subsystem) that ends as soon as it has started. Its time is what
// any program pays for being started and ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
