// Stand-ins for the functions of other areas that the spine calls (see
// Placeholders.h). Each does the least that keeps the spine working and
// testable; the owning area replaces it.
#include "app/Placeholders.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/keys.h"
#include "app/log.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"

// ------------------------------------------------------------ configuration menus

void ActivateConfigWindow(int) {
  if (!configWindowShowing) CopyConfiguration();
  configWindowShowing = 1;
}

void ReturnToConfigWindow() {}

dword ConfigKeyHandler(dword key) {
  lastKeyHandler = "ConfigKeyHandler";
  if ((key & RKEY_MASK) == RKEY_Exit) {
    configWindowShowing = 0;
    if (CalledByTSRCommander) {
      CalledByTSRCommander = 0;
      DeleteFullScreenRegion();
      TAP_EnterNormal();
    } else {
      returnFromConfig = 1;
    }
  }
  return 0;
}

int tempFileSuffixOption;

// ------------------------------------------------------------ windows and their keys

const char* lastKeyHandler = "";

dword FirmwareDatKeyHandler(dword) {
  lastKeyHandler = "FirmwareDatKeyHandler";
  return 0;
}
dword CreditsKeyHandler(dword) {
  lastKeyHandler = "CreditsKeyHandler";
  return 0;
}
dword QuembryMoveKeyHandler(dword) {
  lastKeyHandler = "QuembryMoveKeyHandler";
  return 0;
}
dword QuembryInfoKeyHandler(dword) {
  lastKeyHandler = "QuembryInfoKeyHandler";
  return 0;
}
dword QuembryStopMenuKeyHandler(dword) {
  lastKeyHandler = "QuembryStopMenuKeyHandler";
  return 0;
}
dword AllRecycleKeyHandler(dword) {
  lastKeyHandler = "AllRecycleKeyHandler";
  return 0;
}

// The list: Exit and the user exit keys hide it; Mute and the codes 0x10047
// and 0x10048 belong to the firmware; everything else is consumed.
dword QuembryWindowKeyHandler(dword key) {
  lastKeyHandler = "QuembryWindowKeyHandler";
  dword code = key & RKEY_MASK;
  if (code == RKEY_Mute || code == RKEY_Option5 || code == RKEY_Option6) return key;
  if (key == RKEY_Exit || (UserExitKey1 && key == (dword)UserExitKey1) ||
      (UserExitKey2 && key == (dword)UserExitKey2) ||
      (UserExitKey3 && key == (dword)UserExitKey3) ||
      (UserExitKey4 && key == (dword)UserExitKey4)) {
    exitFlag = 1;
  }
  return 0;
}

dword KeyboardKeyHandler(dword) {
  lastKeyHandler = "KeyboardKeyHandler";
  return 0;
}

// ------------------------------------------------------------ actions

int inPlaybackMode;
int processInBackground;
int TAPManagerMode;
int TAPManagerModeChanged;
int lastTAPManager_chosenLine;
int lastTAPManager_dirNumber;
int repeating_key;
int deleteWindowShowing;
char Tagsmith_infoMessage[128];
byte TagsmithMessage[520];
MultiSelectItem* MultiSelect;

void MultiSelectClearFirst() {
  MultiSelectItem* first = MultiSelect;
  if (!first) return;
  MultiSelect = first->next;
  TAP_MemFree(first);
}
void MultiSelect_CheckFileNumber(MultiSelectItem*) {}

// Playback is the firmware's: the placeholder follows its play mode.
void CheckPlaybackStatus() {
  TYPE_PlayInfo info;
  TAP_MemSet(&info, 0, sizeof info);
  TAP_Hdd_GetPlayInfo(&info);
  inPlaybackMode = info.playMode == PLAYMODE_Playing || info.playMode == PLAYMODE_Media;
}
void GetPlaybackInfo() {}
void LoadPlaybackStatusInfo() {}
void LoadPlaybackInfo(int, int) {}
int RestartLastPlayback() { return -1; }
void ReleaseMoveFilesMemory() {}
void ChangeToParentDir() {}
void QuembryAction(int) {}
void CloseQuembryInfoWindow() { infoWindowShowing = 0; }
void ActivateInfoWindow(int) { infoWindowShowing = 1; }
void ActivateStopMenuWindow() { stopmenuWindowShowing = 1; }
void initialiseQuembryRecycle() { allrecycleWindowShowing = 0; }
void initialiseQuembryDelete() {}
void initialiseQuembryRename() {}
dword ipCommandProcessor(word, dword, dword) { return 0; }

// What the catalogue expects of playback, applications and recordings.
void DeleteProgressInfo(int, int, int) {}
void SetPlaybackStatus(int, int) {}
bool IsFileTAP_Active(const char*, const char*) { return false; }
bool HDD_TAP_GetInfo(const char*, TYPE_TapHeader*) { return false; }

// ------------------------------------------------------------ peripheral

void CacheLogos() {}
void DisplayLogo(word, int, int, int, int, int, int, const char*) {}
void ReleaseLogoMemory() {}
void MediaFiles_Mount() {}
void MediaFiles_Unmount() {}
void MediaFiles_Link() {}
void MediaFiles_Unlink() {}

// ------------------------------------------------------------ idle processing

byte oldSec, oldMin, oldHour;

// The parts of idle processing the spine relies on: the tick, playback
// state, the alive log and the requests to show the list or the stop menu.
void My_IdleHandler() {
  static byte oldMin_lastActionTick = 0;
  static dword NextCheck_AliveLogging = 0;

  CheckPlaybackStatus();
  currentTickTime = TAP_GetTick();

  word mjd = 0;
  byte hour = 0, min = 0, sec = 0;
  TAP_GetTime(&mjd, &hour, &min, &sec);
  if (min != oldMin_lastActionTick) {
    oldMin_lastActionTick = min;
    if (inPlaybackMode && currentTickTime - lastActionTick <= 59999) {
      lastActionTick = currentTickTime;
      lastActionTickPrev = currentTickTime;
    }
    if (AliveLoggingFreq != 0 && currentTickTime >= NextCheck_AliveLogging) {
      WriteLog_Alive(LOG_ALIVE);
      NextCheck_AliveLogging = currentTickTime + (dword)AliveLoggingFreq - 5;
    }
  }

  if (activateReturnToQuembryList || activateReturnToQuembryList_fromStopMenu ||
      activateReturnToQuembryList_fromTagsmith) {
    ActivationRoutine();
    activateReturnToQuembryList = 0;
    activateReturnToQuembryList_fromStopMenu = 0;
    activateReturnToQuembryList_fromTagsmith = 0;
    return;
  }
  if (activateStopMenu) {
    ActivateStopMenuWindow();
    activateStopMenu = 0;
    return;
  }
}
