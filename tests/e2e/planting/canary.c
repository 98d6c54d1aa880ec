/* A canary DLL, planted under the name of a DLL that a program must never load from where it lies.
   When it is loaded it leaves a mark: a file C:\canary-marks\<its file name>-<process id>.txt holding
   its own path and the path of the program that loaded it. It imports kernel32 only and has no C
   runtime, so that it can stand in for any name, the C runtime's own included. */
#include <windows.h>

static void Append(char* text, int* length, int size, const char* part) {
  while (*part != '\0' && *length < size - 1) text[(*length)++] = *part++;
  text[*length] = '\0';
}

static void AppendNumber(char* text, int* length, int size, DWORD number) {
  char digits[16];
  int count = 0;
  do {
    digits[count++] = (char)('0' + number % 10);
    number /= 10;
  } while (number != 0);
  while (count > 0 && *length < size - 1) text[(*length)++] = digits[--count];
  text[*length] = '\0';
}

BOOL WINAPI CanaryMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char self[MAX_PATH], program[MAX_PATH], markPath[MAX_PATH + 64], content[2 * MAX_PATH + 4];
  if (GetModuleFileNameA(instance, self, MAX_PATH) == 0) lstrcpyA(self, "?");
  if (GetModuleFileNameA(NULL, program, MAX_PATH) == 0) lstrcpyA(program, "?");
  const char* name = self;
  for (const char* at = self; *at != '\0'; ++at) {
    if (*at == '\\' || *at == '/') name = at + 1;
  }
  int length = 0;
  markPath[0] = '\0';
  Append(markPath, &length, sizeof markPath, "C:\\canary-marks\\");
  Append(markPath, &length, sizeof markPath, name);
  Append(markPath, &length, sizeof markPath, "-");
  AppendNumber(markPath, &length, sizeof markPath, GetCurrentProcessId());
  Append(markPath, &length, sizeof markPath, ".txt");
  length = 0;
  content[0] = '\0';
  Append(content, &length, sizeof content, self);
  Append(content, &length, sizeof content, "\t");
  Append(content, &length, sizeof content, program);
  HANDLE mark = CreateFileA(markPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (mark != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(mark, content, (DWORD)length, &written, NULL);
    CloseHandle(mark);
  }
  return TRUE;
}
