// elsewhere.h - what the catalogue uses from the other subsystems: the support
// library, the settings, the application's modes, the dialogs, playback progress
// and the multi-selection.
#pragma once

#include "app/app.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"

void LogDeletion(const char* folder, const char* name);  // app/log.h

extern int TAPManagerMode;  // 1 applications, 2 every file
extern int TAPManagerModeChanged;

void ShowMessageWinX(word region, const char* title, const char* line1, const char* line2,
                     dword delay);

// Playback progress.
void DeleteProgressInfo(int folder, int slot, int markIfNone);
void SetPlaybackStatus(int folder, int slot);
void GetPlaybackInfo();
void LoadPlaybackStatusInfo();

// Multi-selection, in selection order.
struct MultiSelectItem {
  dword inode;
  char name[127];
  int folderNumber;
  int entryIndex;
  MultiSelectItem* next;
};
extern MultiSelectItem* MultiSelect;
void MultiSelect_CheckFileNumber(MultiSelectItem* item);

// Applications.
bool IsFileTAP_Active(const char* name, const char* folder);
