#include <stdarg.h>
#include <stdio.h>
#include <sys/stat.h>

#include "lib/lib.h"

void LogEntryVexLibPrintf(bool echo, const char* format, ...) {
  if (!format) return;
  char message[512];
  va_list args;
  va_start(args, format);
  vsnprintf(message, sizeof message, format, args);
  va_end(args);

  byte second;
  dword stamp = Now(&second);
  char stampText[40];
  snprintf(stampText, sizeof stampText, "%s", TimeFormat(stamp, second, TIMESTAMP_YMDHMS));

  mkdir(SYSTEM_ROOT "/ProgramFiles/Settings", 0777);
  // Opened for update, never created: the user asks for this log by creating
  // the file.
  FILE* log = fopen(SYSTEM_ROOT "/ProgramFiles/Settings/VexLib.log", "r+b");
  if (log) {
    fseek(log, 0, SEEK_END);
    fprintf(log, "%s %s\r\n", stampText, message);
    fclose(log);
  }
  if (echo) {
    char line[600];
    snprintf(line, sizeof line, "%s VEXLIB - %s\n", stampText, message);
    PrintNet(line);
  }
}
