// Declarations of the support library used by the spine, until the library's
// own header is merged. Signatures mirror src/lib/lib.h.
#pragma once

#include <stdint.h>

#include "tap.h"

#define PATH_BUFFER_SIZE 512
#define TIMESTAMP_YMDHMS 5

bool HDD_TAP_GetCurrentDir(char* currentDir);
int HDD_TAP_PushDir(void);
void HDD_TAP_PopDir(void);
bool InDataFilesFolder(const char* path);
bool InDataFilesSubFolder(const char* path);
TYPE_TapTask* FIS_vTAPTable(void);
dword* FIS_vCurTapTask(void);
void LogEntry(const char* fileName, const char* name, bool echo, int timeFormat,
              const char* message);
void PrintNet(const char* text);
extern dword GlobalRemoteType;
word FirmwareDatMJD(void);
byte HDD_NumberOfRECSlots(void);
void FindGlobalRemoteType(void);
