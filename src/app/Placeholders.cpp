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

// The selection bookkeeping of the list without its drawing.
void RefreshQuembryList(int recompute) {
  FolderRecord* folder = myfolders[CurrentDirNumber];
  maxShown = numberOfFiles = folder ? folder->entryCount : 0;
  SortList(sortOrder);
  int lines = 9 + 5 * LineSpacingOption + ExtraLineOption;
  bool corrected = false;
  if (chosenLine > maxShown) {
    chosenLine = maxShown;
    corrected = true;
  }
  if (maxShown == 0) chosenLine = printLine = 0;
  if (printLine > lines) printLine = lines;
  if (recompute || corrected) DeterminePrintingLine(chosenLine);
  page = chosenLine > 0 ? (chosenLine - 1) / lines : 0;
}
void RefreshQuembryWindow() { TAP_Osd_Sync(); }
void DetermineStartingLine(int* entry) {
  if (entry) *entry = numberOfFiles > 0 ? 1 : 0;
  if (entry) DeterminePrintingLine(*entry);
}
void DeterminePrintingLine(int n) {
  int lines = 9 + 5 * LineSpacingOption + ExtraLineOption;
  int keep = LineSpacingOption == 1 ? 7 : ExtraLineOption ? 5 : 4;
  if (maxShown < lines && n <= maxShown) {
    printLine = n;
  } else if (n == maxShown) {
    printLine = lines;
  } else if (n < maxShown - keep) {
    printLine = n < keep ? n : keep;
  } else {
    printLine = n - maxShown + lines;
  }
  page = n > 0 ? (n - 1) / lines : 0;
}

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

dword KeyboardKeyHandler(dword) {
  lastKeyHandler = "KeyboardKeyHandler";
  return 0;
}

// ------------------------------------------------------------ actions

int processInBackground;
int TAPManagerMode;
int TAPManagerModeChanged;
int lastTAPManager_chosenLine;
int lastTAPManager_dirNumber;
char Tagsmith_infoMessage[128];
byte TagsmithMessage[520];
void ReleaseMoveFilesMemory() {}
void CloseQuembryInfoWindow() { infoWindowShowing = 0; }
void ActivateInfoWindow(int) { infoWindowShowing = 1; }
void ActivateStopMenuWindow() { stopmenuWindowShowing = 1; }
void initialiseQuembryRecycle() { allrecycleWindowShowing = 0; }
void initialiseQuembryDelete() {}
void initialiseQuembryRename() {}
dword ipCommandProcessor(word, dword, dword) { return 0; }

// What the catalogue expects of applications.
bool IsFileTAP_Active(const char*, const char*) { return false; }
bool HDD_TAP_GetInfo(const char*, TYPE_TapHeader*) { return false; }

// ------------------------------------------------------------ peripheral

void CacheLogos() {}
void ReleaseLogoMemory() {}
void MediaFiles_Mount() {}
void MediaFiles_Unmount() {}
void MediaFiles_Link() {}
void MediaFiles_Unlink() {}

// ------------------------------------------------------------ called by browsing and idle work

const char* lastStandInCall = "";
int standInCalls;

int deleteWindowShowing;
int keyboardHelpShowing;
int STOP_MENU_multistep;
int Tagsmith_multistep;
int TAPManager_multistep;
int moveAcrossMount;
int moveInBackgroundPID;
char filename_toProcess[127];
int forceDeleteConfirmation;
int activateTagsmithPrepareQuembry;
char TAPManager_TAP_name[127];
char TAPManager_TAP_directory[200];
int configMenuNumber;
int configLine;

namespace {
void Called(const char* name) {
  lastStandInCall = name;
  standInCalls++;
}
}  // namespace

// The list screen's, grouped so that they leave together with the others of
// the list screen above.
int playbackOnScreenEntry, playbackOnScreenLine;
int recordingOnScreenEntry1, recordingOnScreenEntry2, recordingOnScreenEntry3,
    recordingOnScreenEntry4;
int recordingOnScreenLine1, recordingOnScreenLine2, recordingOnScreenLine3, recordingOnScreenLine4;
int scrollFilenameEligible;
int scrollTextIndex;
void UpdateListClock(int) {}
void DisplayQuembryLine(int, int) {}
void DrawQuembryLine(int, int) { Called("DrawQuembryLine"); }
void UpdateSelectionNumber() {}

void DisplayConfigLine(int) {}
void ActivateStopWindow(const char*) {
  Called("ActivateStopWindow");
  stopmenuWindowShowing = 1;
}
void ActivateDeleteWindow(const char*, dword) {
  Called("ActivateDeleteWindow");
  deleteWindowShowing = 1;
}
void ReturnFromMultiSelectDeleteYesNo(int) { Called("ReturnFromMultiSelectDeleteYesNo"); }
void DeleteRecycledFile() { Called("DeleteRecycledFile"); }
void RecycleRestoreAction() { Called("RecycleRestoreAction"); }
void DeleteAllRecycleBinWindow() { Called("DeleteAllRecycleBinWindow"); }
void DeleteDirRecycleBinWindow() { Called("DeleteDirRecycleBinWindow"); }
void ActivateAllRecycleWindow() { Called("ActivateAllRecycleWindow"); }
void ActivateMoveWindow() {
  Called("ActivateMoveWindow");
  moveWindowShowing = 1;
}
void populateMoveFileList() {}
void DisplayQuembryMoveFolderList() {}
void ReturnFromCancelBackgroundMoveYesNo(int) { Called("ReturnFromCancelBackgroundMoveYesNo"); }
void CreateNewFolder() { Called("CreateNewFolder"); }
void InvokeTagsmith() { Called("InvokeTagsmith"); }
void InvokeTAPManager() { Called("InvokeTAPManager"); }
void InvokeTAPManager_AutoStart() { Called("InvokeTAPManager_AutoStart"); }
void DisplayStopMenuProgress() {}
void StopMenuMultistepAction() {
  Called("StopMenuMultistepAction");
  STOP_MENU_multistep = 0;
}
void TagsmithMultistepAction() {
  Called("TagsmithMultistepAction");
  Tagsmith_multistep = 0;
}
void TagsmithPrepareQuembry() { Called("TagsmithPrepareQuembry"); }
void TAPManagerMultistepAction() {
  Called("TAPManagerMultistepAction");
  TAPManager_multistep = 0;
}
void DeleteDirRecycleFiles(const char*, int) { Called("DeleteDirRecycleFiles"); }
void EmptyOldestRecycleBin() { Called("EmptyOldestRecycleBin"); }
void EmptyRecycleBinAfterXDays(word, byte) { Called("EmptyRecycleBinAfterXDays"); }
void BackgroundMove() { Called("BackgroundMove"); }
void CommenceMoveProcess() { Called("CommenceMoveProcess"); }
void CloseQuembryMoveWindow() { moveWindowShowing = 0; }
void AutoRenameSearchFiles() { Called("AutoRenameSearchFiles"); }
void ActivateKeyboard(char*, int, void (*)(const char*, int), int) {
  Called("ActivateKeyboard");
  keyboardWindowShowing = 1;
}
void KeyboardCursorBlink() {}
