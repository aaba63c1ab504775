#include "app/log.h"

#include <stdio.h>

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

// A log longer than LOG_KEEP_BYTES is cut to its last LOG_KEEP_BYTES bytes
// (which may start in the middle of a line).
void CutLog(const char* name) {
  if (!TAP_Hdd_Exist(name)) return;
  TYPE_File* file = TAP_Hdd_Fopen(name);
  if (!file) return;
  dword length = TAP_Hdd_Flen(file);
  if (length <= LOG_KEEP_BYTES) {
    TAP_Hdd_Fclose(file);
    return;
  }
  char* buffer = (char*)TAP_MemAlloc(LOG_KEEP_BYTES);
  if (!buffer) {
    TAP_Hdd_Fclose(file);
    return;
  }
  TAP_Hdd_Fseek(file, (long)(length - LOG_KEEP_BYTES), SEEK_SET);
  dword got = TAP_Hdd_Fread(buffer, 1, LOG_KEEP_BYTES, file);
  TAP_Hdd_Fclose(file);
  // Only a complete tail replaces the log; a short read keeps the long log.
  // The tail is written beside the log and takes its name in one step, so
  // that a power cut or a full disk leaves the long log or the cut one.
  if (got == LOG_KEEP_BYTES)
    ReplaceFileInFolder(SYSTEM_ROOT LOG_FOLDER, name, buffer, LOG_KEEP_BYTES);
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
