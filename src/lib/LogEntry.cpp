#include <stdio.h>
#include <string.h>
#include <utime.h>

#include "lib/lib.h"

void LogEntry(const char* fileName, const char* name, bool echo, int timeFormat,
              const char* message) {
  if (!message) return;
  byte second;
  dword stamp = Now(&second);
  char stampText[40];
  snprintf(stampText, sizeof stampText, "%s", TimeFormat(stamp, second, timeFormat));
  if (stampText[0]) strcat(stampText, " ");

  char path[PATH_BUFFER_SIZE];
  ConvertPathType(fileName, path, PF_SystemFilePath);
  if (path[0]) {
    FILE* log = fopen(path, "ab");
    if (log) {
      fprintf(log, "%s%s\r\n", stampText, message);
      fclose(log);
      // The file carries the recorder's time, not the system clock's.
      typedef dword (*PvrTimeToLinuxFunction)(dword);
      PvrTimeToLinuxFunction toLinux = (PvrTimeToLinuxFunction)TryResolve("PvrTimeToLinux");
      if (toLinux) {
        struct utimbuf times;
        times.actime = times.modtime = (time_t)toLinux(stamp) + second;
        utime(path, &times);
      }
    }
  }

  if (!echo) return;
  PrintNet(stampText);
  char nameText[80];
  snprintf(nameText, sizeof nameText, "%s: ", name ? name : "");
  PrintNet(nameText);
  char* iso = 0;
  StrToISOAlloc(message, &iso);
  if (iso) {
    // The terminal takes at most 510 characters at a time.
    const size_t piece = 510;
    char chunk[piece + 1];
    size_t length = strlen(iso);
    for (size_t done = 0; done < length; done += piece) {
      size_t count = length - done < piece ? length - done : piece;
      memcpy(chunk, iso + done, count);
      chunk[count] = 0;
      PrintNet(chunk);
    }
    TAP_MemFree(iso);
  }
  PrintNet("\n");
}
