// elsewhere.h - what the catalogue uses from the other subsystems: settings,
// modes, dialogs, playback progress and the multi-selection.
#pragma once

#include "lib/lib.h"  // InDataFilesFolder, GetSystemType, inode look-ups
#include "tap.h"

// Settings.
extern int tempFileSuffixOption;      // 0 valid suffixes, 1 all but .inf/.nav, 2 all
extern int recycleBinCleanoutOption;  // 1: delete recycled files at start-up
extern int InfPerformanceBoost;       // headers are not read
extern int sortOrderOption;
extern int sortOrderTAPOption;
extern int TextLanguage;  // 0 English, 1 German

// Modes and state of the application.
extern int tapStartup;
extern int recycleWindowMode;
extern int TAPManagerMode;  // 1 applications, 2 every file
extern int TAPManagerModeChanged;
extern char CurrentDir[200];
extern word rgn;

void ShowMessageWinX(word region, const char* title, const char* line1, const char* line2,
                     dword delay);

// Playback progress.
void DeleteProgressInfo(int folder, int slot, int markIfNone);
void SetPlaybackStatus(int folder, int slot);
void GetPlaybackInfo(void);
void LoadPlaybackStatusInfo(void);

// Multi-selection.
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
bool HDD_TAP_GetInfo(const char* fileName, TYPE_TapHeader* header);
