// Stand-ins for functions and globals that belong to other areas (catalogue,
// screens, dialogs, actions, cooperating applications, configuration menus).
// Each carries its final name and signature and only the behaviour the spine
// needs; the area that owns it replaces it by moving it to its real file.
#pragma once

#include <stdint.h>

#include "catalogue/catalogue.h"
#include "tap.h"
#include "ui/Text.h"

// ------------------------------------------------------------ catalogue
// The records, tables and scans are the catalogue's (catalogue.h); it also
// declares what it expects from elsewhere (elsewhere.h).

// ------------------------------------------------------------ viewing history

typedef struct PlayedFileEntry {
  char name[127];
  dword inode;
  dword totalBlocks;
  dword positionBlock;
} PlayedFileEntry;

#define MAX_PLAYED_FILES 300
extern PlayedFileEntry* playedFiles[MAX_PLAYED_FILES];
extern int numberOfPlayedFiles;

void BackupPlayData();
void LoadPlayData();
void BackupLastViewData();
void ReadLastViewDatFile();
void SaveDatToFile();

// ------------------------------------------------------------ settings file and menus

extern char* TAPIniDir;
extern char* TAPLogoDir;

void locateIniDirectory();
void BackupConfigData();
void LoadConfiguration();
void InitialiseConfigRoutines();
void TerminateConfigMenu();
void ActivateConfigWindow(int line);
void ReturnToConfigWindow();
dword ConfigKeyHandler(dword key);

// ------------------------------------------------------------ list screen

extern int chosenLine;
extern int printLine;
extern int page;
extern int yOffsetOption;

// PrintCenter and the other text functions: ui/Text.h.
void ResetScreenColumns();
void initialiseQuembryWindow();
void ActivateQuembryWindow();
void CloseQuembryWindow();
void RefreshQuembryList(int recompute);
void RefreshQuembryWindow();
void DetermineStartingLine(int* entry);
void DeterminePrintingLine(int entry);

// ------------------------------------------------------------ dialogs

// What the last message box, message window and yes/no window showed, so that
// callers can be checked without reading pixels.
extern char lastMessageTitle[128];
extern char lastMessageLine1[128];
extern char lastMessageLine2[128];
extern int messageCount;
extern int YesNoOption;
extern int YesNoResult;
extern void (*YesNoCallback)(int answer);
extern void (*MessageCallback)(int result);

void ShowMessageWinX(word region, const char* title, const char* line1, const char* line2,
                     dword delay);
void ShowMessageBox(word region, const char* title, const char* line1, const char* line2);
void DisplayYesNoWindow(const char* title, const char* line1, const char* line2,
                        const char* button1, const char* button2, int defaultOption,
                        void (*callback)(int answer));
dword YesNoKeyHandler(dword key);
void DisplayMessageWindow(const char* title, const char* line1, const char* line2,
                          void (*callback)(int result));
dword MessageKeyHandler(dword key);
void ReturnFromMessageWindow(int result);

// ------------------------------------------------------------ windows and their keys

// Name of the window key handler that received the last key.
extern const char* lastKeyHandler;

dword FirmwareDatKeyHandler(dword key);
dword CreditsKeyHandler(dword key);
dword QuembryMoveKeyHandler(dword key);
dword QuembryInfoKeyHandler(dword key);
dword QuembryStopMenuKeyHandler(dword key);
dword AllRecycleKeyHandler(dword key);
dword QuembryWindowKeyHandler(dword key);
dword KeyboardKeyHandler(dword key);

// ------------------------------------------------------------ actions

extern int inPlaybackMode;
extern int processInBackground;
extern int TAPManagerMode;
extern int TAPManagerModeChanged;
extern int lastTAPManager_chosenLine;
extern int lastTAPManager_dirNumber;
extern char Tagsmith_infoMessage[128];  // text the own info window shows; "" = none
extern byte TagsmithMessage[520];       // last message record exchanged with Tagsmith

void MultiSelectClearFirst();
void CheckPlaybackStatus();  // sets inPlaybackMode
void GetPlaybackInfo();
void LoadPlaybackStatusInfo();
void LoadPlaybackInfo(int folder, int entry);
int RestartLastPlayback();
void ReleaseMoveFilesMemory();
void ChangeToParentDir();
void QuembryAction(int entry);
void CloseQuembryInfoWindow();
void ActivateInfoWindow(int rename);
void ActivateStopMenuWindow();
void initialiseQuembryRecycle();
void initialiseQuembryDelete();
void initialiseQuembryRename();
dword ipCommandProcessor(word event, dword command, dword argument);

// ------------------------------------------------------------ peripheral

void CacheLogos();
void ReleaseLogoMemory();
void MediaFiles_Mount();
void MediaFiles_Unmount();

// ------------------------------------------------------------ idle processing

extern byte oldSec, oldMin, oldHour;
void My_IdleHandler();
