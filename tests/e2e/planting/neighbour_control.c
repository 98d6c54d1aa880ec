/* A stand-in ActiveX control that imports a library lying beside it (ferroneighbour.dll). Its
   DllRegisterServer asks that library for its answer and writes it as the registry value
   HKLM\Software\Ferrolux\Marks\FerrocamNeighbour: the value exists only when the control was loaded
   with its neighbour. */
#include <windows.h>

__declspec(dllimport) DWORD NeighbourAnswer(void);

__declspec(dllexport) HRESULT WINAPI DllRegisterServer(void) {
  HKEY marks;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Ferrolux\\Marks", 0, NULL, 0, KEY_SET_VALUE, NULL, &marks, NULL) !=
      ERROR_SUCCESS) {
    return E_FAIL;
  }
  const DWORD answer = NeighbourAnswer();
  const LONG written = RegSetValueExA(marks, "FerrocamNeighbour", 0, REG_DWORD, (const BYTE*)&answer, sizeof answer);
  RegCloseKey(marks);
  return written == ERROR_SUCCESS ? S_OK : E_FAIL;
}
