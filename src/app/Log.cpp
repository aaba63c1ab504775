#include "app/log.h"

#include <stdio.h>
#include <string.h>

#include "config/Configuration.h"
#include "lib/lib.h"
#include "tap.h"

int WriteLog_FirstCall = 1;
int WriteLog_Alive_FirstCall = 1;

namespace {

// Makes sure Settings/Pavrolinex/Logs exist below /ProgramFiles. The main
// writer always asks for Logs (the firmware leaves an existing folder alone);
// the alive writer only when it is missing.
void CreateLogFolders(bool alwaysCreateLogs) {
  if (!TAP_Hdd_ChangeDir("/ProgramFiles")) return;
  if (!TAP_Hdd_Exist("Settings")) TAP_Hdd_Create("Settings", ATTR_FOLDER);
  if (!TAP_Hdd_ChangeDir("Settings")) return;
  if (!TAP_Hdd_Exist("Pavrolinex")) TAP_Hdd_Create("Pavrolinex", ATTR_FOLDER);
  if (!TAP_Hdd_ChangeDir("Pavrolinex")) return;
  if (alwaysCreateLogs || !TAP_Hdd_Exist("Logs")) TAP_Hdd_Create("Logs", ATTR_FOLDER);
}

// Keeps the alive logs of the two previous runs. An old ".old2" is removed
// first so that the rotation does not depend on whether the firmware's rename
// replaces an existing file.
void RotateAliveLogs() {
  if (TAP_Hdd_Exist(ALIVE_LOG_OLD)) {
    if (TAP_Hdd_Exist(ALIVE_LOG_OLD2)) TAP_Hdd_Delete(ALIVE_LOG_OLD2);
    TAP_Hdd_Rename(ALIVE_LOG_OLD, ALIVE_LOG_OLD2);
  }
  if (TAP_Hdd_Exist(ALIVE_LOG_NAME)) TAP_Hdd_Rename(ALIVE_LOG_NAME, ALIVE_LOG_OLD);
}

// A log cut at every write is read whole up to this size; a longer one (not
// written by this application) gives its tail alone.
constexpr dword kLogReadLimit = 16 * LOG_KEEP_BYTES;

// Start of the last whole line of `text` that records a start ("Start" after
// its time stamp), or -1. `wholeFile`: the text begins with a line.
int LastStartLine(const char* text, dword length, bool wholeFile) {
  for (int end = (int)length - 1; end >= -1; end--) {
    if (end >= 0 && text[end] != '\n') continue;
    if (end < 0 && !wholeFile) break;
    int line = end + 1;
    if ((dword)line + 25 <= length && memcmp(text + line + 20, "Start", 5) == 0 &&
        memchr(text + line, '\n', length - line))
      return line;
  }
  return -1;
}

// A log longer than LOG_KEEP_BYTES is cut to its last LOG_KEEP_BYTES bytes
// (which may start in the middle of a line). The line of the last start
// stays in front when the cut would drop it: the uptime check looks for it.
void CutLog(const char* name) {
  if (!TAP_Hdd_Exist(name)) return;
  TYPE_File* file = TAP_Hdd_Fopen(name);
  if (!file) return;
  dword length = TAP_Hdd_Flen(file);
  if (length <= LOG_KEEP_BYTES) {
    TAP_Hdd_Fclose(file);
    return;
  }
  dword wanted = length <= kLogReadLimit ? length : LOG_KEEP_BYTES;
  char* buffer = (char*)TAP_MemAlloc(wanted);
  if (!buffer) {
    TAP_Hdd_Fclose(file);
    return;
  }
  TAP_Hdd_Fseek(file, (long)(length - wanted), SEEK_SET);
  dword got = TAP_Hdd_Fread(buffer, 1, wanted, file);
  TAP_Hdd_Fclose(file);
  // Only a complete read replaces the log; a short read keeps the long log.
  if (got != wanted) {
    TAP_MemFree(buffer);
    return;
  }
  char* kept = buffer + wanted - LOG_KEEP_BYTES;
  dword keptLength = LOG_KEEP_BYTES;
  int start = LastStartLine(buffer, wanted, wanted == length);
  if (start >= 0 && buffer + start < kept) {
    const char* lineEnd = (const char*)memchr(buffer + start, '\n', wanted - start);
    dword startLength = (dword)(lineEnd + 1 - (buffer + start));
    // The newest lines after it, from a line's beginning.
    char* rest = buffer + wanted - (LOG_KEEP_BYTES - startLength);
    while (rest < buffer + wanted && rest[-1] != '\n') rest++;
    dword restLength = (dword)(buffer + wanted - rest);
    memmove(buffer, buffer + start, startLength);
    memmove(buffer + startLength, rest, restLength);
    kept = buffer;
    keptLength = startLength + restLength;
  }
  // Written beside the log, it takes the log's name in one step, so that a
  // power cut or a full disk leaves the long log or the cut one.
  ReplaceFileInFolder(SYSTEM_ROOT LOG_FOLDER, name, kept, keptLength);
  TAP_MemFree(buffer);
}

void WriteToLog(const char* name, bool echo, bool alive, int* firstCall, const char* message) {
  if (!message) return;
  int pushed = HDD_TAP_PushDir();
  if (*firstCall) {
    *firstCall = 0;
    CreateLogFolders(!alive);
    if (alive && TAP_Hdd_ChangeDir(LOG_FOLDER)) RotateAliveLogs();
  }
  if (TAP_Hdd_ChangeDir(LOG_FOLDER)) {
    CutLog(name);
    LogEntry(name, PROGRAM_LOG_NAME, echo, TIMESTAMP_YMDHMS, message);
  }
  if (pushed) HDD_TAP_PopDir();
}

}  // namespace

void WriteLog(const char* message) {
  WriteToLog(LOG_NAME, true, false, &WriteLog_FirstCall, message);
}

void LogDeletion(const char* folder, const char* name) {
  char message[PATH_BUFFER_SIZE + 140];
  snprintf(message, sizeof message, "Deleted - %.*s/%.127s", PATH_BUFFER_SIZE, folder, name);
  WriteLog(message);
}

void WriteLog_Alive(const char* message) {
  WriteToLog(ALIVE_LOG_NAME, false, true, &WriteLog_Alive_FirstCall, message);
}
