/* launchrecorder: stands in for a program that another program starts, and appends the command line it
 * was given (after its own name) as one line to C:\launches.log. The tests copy it under the started
 * program's name. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(void) {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    const char* close = strchr(line + 1, '"');
    line = close ? close + 1 : line + strlen(line);
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  FILE* log = fopen("C:\\launches.log", "a");
  if (log == NULL) return 1;
  fprintf(log, "%s\n", line);
  fclose(log);
  return 0;
}
