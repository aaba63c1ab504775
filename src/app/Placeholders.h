// Stand-ins for functions and globals that belong to other areas (catalogue,
// screens, dialogs, actions, cooperating applications, configuration menus).
// Each carries its final name and signature and only the behaviour the spine
// needs; the area that owns it replaces it by moving it to its real file.
#pragma once

#include <stdint.h>

#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

// ------------------------------------------------------------ catalogue
// The records, tables and scans are the catalogue's (catalogue.h); it also
// declares what it expects from elsewhere (elsewhere.h).

// ------------------------------------------------------------ viewing history, settings file
// (catalogue/History.h, config/Configuration.h); the menus are still stand-ins.

void ActivateConfigWindow(int line);
void ReturnToConfigWindow();
dword ConfigKeyHandler(dword key);

// ------------------------------------------------------------ list screen, dialogs
// (ui/ListScreen.h, ui/Dialogs.h)

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
extern int repeating_key;               // a held key repeats (list keys)
extern int deleteWindowShowing;         // the delete confirmation is up
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
// The channel logo of a recording in the box (x, y, width, height).
void DisplayLogo(word region, int x, int y, int width, int height, int serviceNumber, int type,
                 const char* serviceName);
void ReleaseLogoMemory();
void MediaFiles_Mount();
void MediaFiles_Unmount();
void MediaFiles_Link();
void MediaFiles_Unlink();

// ------------------------------------------------------------ idle processing

extern byte oldSec, oldMin, oldHour;
void My_IdleHandler();
