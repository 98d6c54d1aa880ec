/* The sample package's GigE driver installer: installs nothing, it appends one line to
 * C:\sample-package-launches.log with its own path, its arguments and its working directory (separated
 * by tabs), and ends. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

/* The command line after the program's own name, as the program was given it. */
static const char* Arguments(const char* commandLine) {
  const char* at = commandLine;
  if (*at == '"') {
    at = strchr(at + 1, '"');
    at = at ? at + 1 : commandLine + strlen(commandLine);
  } else {
    while (*at && *at != ' ' && *at != '\t') ++at;
  }
  while (*at == ' ' || *at == '\t') ++at;
  return at;
}

int main(void) {
  char program[MAX_PATH] = {0};
  char directory[MAX_PATH] = {0};
  GetModuleFileNameA(NULL, program, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, directory);
  FILE* log = fopen("C:\\sample-package-launches.log", "a");
  if (log == NULL) return 1;
  fprintf(log, "%s\t%s\t%s\n", program, Arguments(GetCommandLineA()), directory);
  fclose(log);
  return 0;
}
