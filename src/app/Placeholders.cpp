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

namespace {

void CopyText(char* destination, size_t size, const char* source) {
  snprintf(destination, size, "%s", source ? source : "");
}

}  // namespace

// ------------------------------------------------------------ viewing history

PlayedFileEntry* playedFiles[MAX_PLAYED_FILES];
int numberOfPlayedFiles;

void BackupPlayData() {}
void LoadPlayData() {}
void BackupLastViewData() {}
void ReadLastViewDatFile() {}
void SaveDatToFile() {}

// ------------------------------------------------------------ settings file and menus

char* TAPIniDir;
char* TAPLogoDir;

namespace {
char* AllocText(const char* text) {
  char* copy = (char*)TAP_MemAlloc((dword)strlen(text) + 1);
  if (copy) strcpy(copy, text);
  return copy;
}
}  // namespace

void locateIniDirectory() {
  int pushed = HDD_TAP_PushDir();
  if (TAP_Hdd_ChangeDir("/ProgramFiles")) {
    if (!TAP_Hdd_Exist("Settings")) TAP_Hdd_Create("Settings", ATTR_FOLDER);
    if (TAP_Hdd_ChangeDir("Settings")) {
      if (!TAP_Hdd_Exist("Pavrolinex")) TAP_Hdd_Create("Pavrolinex", ATTR_FOLDER);
      if (!TAP_Hdd_Exist("Logos")) TAP_Hdd_Create("Logos", ATTR_FOLDER);
    }
  }
  if (pushed) HDD_TAP_PopDir();
  if (!TAPIniDir) TAPIniDir = AllocText("/ProgramFiles/Settings/Pavrolinex");
  if (!TAPLogoDir) TAPLogoDir = AllocText("/ProgramFiles/Settings/Logos");
}

void BackupConfigData() {}

void LoadConfiguration() {
  ResetSettingsToDefaults();
  CopyConfiguration();
}

void InitialiseConfigRoutines() {
  configWindowShowing = 0;
  returnFromConfig = 0;
  CreateKeys(&localKeyCodes);
}

void TerminateConfigMenu() { KeyDestroy(&localKeyCodes); }

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

// ------------------------------------------------------------ list screen

int chosenLine;
int printLine;
int page;
int yOffsetOption;
int tempFileSuffixOption;

void ResetScreenColumns() {}

void initialiseQuembryWindow() {
  windowShowing = 0;
  MessageWindowShowing = 0;
  sortOrder = sortOrderOption;
  chosenLine = printLine = page = 0;
}

void ActivateQuembryWindow() {
  windowShowing = 1;
  TAP_Osd_FillBox(rgn, 0, 0, OSD_WIDTH, OSD_HEIGHT, 0xFF101010);
  TAP_Osd_FillBox(rgn, 50, 40, 620, 30, 0xFF1E1E1E);
  // The firmware's own text output: the application's text functions keep a
  // conversion buffer that is not given back when the image is unloaded.
  TAP_Osd_PutS(rgn, 60, 45, 660, PROGRAM_VERSION, 0xFFFAFAFA, 0, 0, 18, 0, 0);
  TAP_Osd_PutS(rgn, 60, 90, 660, CurrentDir, 0xFFE6E6FA, 0, 0, 16, 0, 0);
  // The names of the folder's first lines, the selected one marked.
  int count = myfolders[CurrentDirNumber] ? myfolders[CurrentDirNumber]->entryCount : 0;
  for (int line = 1; line <= count && line <= 14; line++) {
    FileRecord* entry = FileSlot(CurrentDirNumber, line);
    if (!entry) continue;
    dword y = 100 + 30 * (dword)line;
    if (line == chosenLine) TAP_Osd_FillBox(rgn, 50, y - 2, 620, 26, 0xFF3A3A5A);
    const char* name = entry->attribute == ATTR_PARENT ? ".." : entry->name;
    TAP_Osd_PutS(rgn, 60, y, 660, name, 0xFFFAFAFA, 0, 0, 16, 0, 0);
  }
  TAP_Osd_Sync();
}

void CloseQuembryWindow() {
  windowShowing = 0;
  DeleteFullScreenRegion();
  if (!exitFlagTAPManager) TAP_Osd_Sync();
}

void RefreshQuembryList(int) {}
void RefreshQuembryWindow() { TAP_Osd_Sync(); }
void DetermineStartingLine(int* entry) {
  if (entry) *entry = numberOfFiles > 0 ? 1 : 0;
}
void DeterminePrintingLine(int) {}

// ------------------------------------------------------------ dialogs

char lastMessageTitle[128];
char lastMessageLine1[128];
char lastMessageLine2[128];
int messageCount;
int YesNoOption;
int YesNoResult;
void (*YesNoCallback)(int answer);
void (*MessageCallback)(int result);

namespace {
void RecordMessage(const char* title, const char* line1, const char* line2) {
  CopyText(lastMessageTitle, sizeof lastMessageTitle, title);
  CopyText(lastMessageLine1, sizeof lastMessageLine1, line1);
  CopyText(lastMessageLine2, sizeof lastMessageLine2, line2);
  messageCount++;
}
}  // namespace

void ShowMessageWinX(word, const char* title, const char* line1, const char* line2, dword) {
  RecordMessage(title, line1, line2);
}

void ShowMessageBox(word, const char* title, const char* line1, const char* line2) {
  RecordMessage(title, line1, line2);
}

void DisplayYesNoWindow(const char* title, const char* line1, const char* line2, const char*,
                        const char*, int defaultOption, void (*callback)(int answer)) {
  RecordMessage(title, line1, line2);
  YesNoCallback = callback;
  YesNoOption = defaultOption;
  yesnoWindowShowing = 1;
}

dword YesNoKeyHandler(dword key) {
  lastKeyHandler = "YesNoKeyHandler";
  dword code = key & RKEY_MASK;
  if (code == RKEY_VolDown || code == RKEY_VolUp) {
    YesNoOption = YesNoOption == 0 ? 1 : 0;
  } else if (code == RKEY_Exit || code == RKEY_Ok) {
    YesNoResult = (code == RKEY_Ok && YesNoOption == 0) ? 1 : 0;
    yesnoWindowShowing = 0;
    if (YesNoCallback) YesNoCallback(YesNoResult);
  }
  if (ReturningFromPhotoAlbumYesNo) {
    ReturningFromPhotoAlbumYesNo = 0;
    if (YesNoResult == 1) return RKEY_Ok;
  }
  return 0;
}

void DisplayMessageWindow(const char* title, const char* line1, const char* line2,
                          void (*callback)(int result)) {
  RecordMessage(title, line1, line2);
  MessageCallback = callback;
  MessageWindowShowing = 1;
}

dword MessageKeyHandler(dword key) {
  lastKeyHandler = "MessageKeyHandler";
  dword code = key & RKEY_MASK;
  if (code == RKEY_Ok || code == RKEY_Exit) {
    MessageWindowShowing = 0;
    if (MessageCallback) MessageCallback(0);
  }
  // What a window handler answers here must not matter to the router.
  return key;
}

void ReturnFromMessageWindow(int) {}

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
void ReleaseLogoMemory() {}
void MediaFiles_Mount() {}
void MediaFiles_Unmount() {}

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
