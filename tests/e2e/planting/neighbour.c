/* The library that the stand-in control needs and finds only in its own folder. */
#include <windows.h>

__declspec(dllexport) DWORD NeighbourAnswer(void) { return 42; }
