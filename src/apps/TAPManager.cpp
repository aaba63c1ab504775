// The application-manager view of the list (the application files below
// /ProgramFiles) and the action that starts an application from it, one step
// per idle event.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "apps/apps.h"
#include "apps/texts.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

int TAPManagerMode;
int TAPManagerModeChanged;
int lastTAPManager_chosenLine;
int lastTAPManager_dirNumber;
char TAPManager_TAP_name[127];
char TAPManager_TAP_directory[200];
int TAPManager_multiphase, TAPManager_multistep;
byte* TAPManagerWindowCopy;

namespace {

AppText text_StartingTap = {"Starting TAP", "TAP wird gestartet"};
AppText text_PleaseWait = {"Please wait ...", "Bitte warten ..."};

void SwitchMode(bool autoStart) {
  if (!processInBackground) MultiSelectClearAll();
  TAPManagerModeChanged = 1;
  if (TAPManagerMode) {
    lastTAPManager_dirNumber = CurrentDirNumber;
    lastTAPManager_chosenLine = chosenLine;
    TAPManagerMode = 0;
    GotoDataFiles();
    SetCurrentDir("/DataFiles");
    CurrentDirNumber = 0;
    tempFileSuffixOption = FileSuffixOption;
  } else {
    TAPManagerMode = 1;
    SetDirectoryLastViewed(CurrentDirNumber);
    ReloadLastViewDatVariables();
    GotoProgramFiles();
    SetCurrentDir("/ProgramFiles");
    CurrentDirNumber = 0;
  }
  PrintLoading();
  TAP_Osd_Sync();
  ResetScreenColumns();
  reloadInitialQuembryInfo(DefaultRecursiveDepth ? DefaultRecursiveDepth : 99, 0);
  if (autoStart && TAPManagerMode) {
    for (int n = 1; n <= numberOfFolders && n < MAX_FOLDERS; n++) {
      FolderRecord* folder = myfolders[n];
      if (!folder || folder->parentNumber != 0 || strcmp(folder->name, "AutoStart") != 0) continue;
      if (TAP_Hdd_ChangeDir(folder->name) != 1) break;
      char path[PATH_BUFFER_SIZE];
      snprintf(path, sizeof path, "%s/%s", CurrentDir, folder->name);
      SetCurrentDir(path);
      CurrentDirNumber = n;
      maxShown = numberOfFiles = folder->entryCount;
      break;
    }
  }
  // The load above read the headers of the root's applications only: the
  // folder entered needs its own, whatever the depth (0 being every level).
  if (CurrentDirNumber > 0)
    loadSubsequentQuembryInfo(DefaultRecursiveDepth ? DefaultRecursiveDepth : 99);
  DetermineStartingLine(&chosenLine);
  RefreshQuembryList(1);
}

void SaveScreen() {
  if (!TAPManagerWindowCopy) TAPManagerWindowCopy = TAP_Osd_SaveBox(rgn, 0, 0, 720, 576);
}

void RestoreScreen() { RestoreWindowCopy(rgn, &TAPManagerWindowCopy, 0, 0, 720, 576); }

void EndAction() {
  TAPManager_multiphase = 0;
  TAPManager_multistep = 0;
}

}  // namespace

void InvokeTAPManager() { SwitchMode(false); }

void InvokeTAPManager_AutoStart() { SwitchMode(true); }

void TAPManager_StartTAP() {
  HDD_TAP_PushDir();
  char name[sizeof TAPManager_TAP_name];
  snprintf(name, sizeof name, "%s", TAPManager_TAP_name);
  bool started = GotoPath(TAPManager_TAP_directory) && HDD_TAP_Start(name, false, 0, 0);
  HDD_TAP_PopDir();
  TAPManager_TAP_name[0] = '\0';
  TAPManager_TAP_directory[0] = '\0';
  if (!started) {
    char line[PATH_BUFFER_SIZE];
    snprintf(line, sizeof line, "%.100s", name);
    LogEntryVexLibPrintf(true, "TAPManager_StartTAP: %s could not be started", line);
  }
}

void TAPManagerMultistepAction() {
  int phase = TAPManager_multiphase ? TAPManager_multiphase : 1;
  if (phase == 2) {
    if (TAPManager_multistep == 1) {
      TAPManager_multistep = 2;
      exitFlag = 1;  // the idle handler hides the list at once
    } else if (TAPManager_multistep == 2) {
      TAPManager_StartTAP();
      TAPManager_multistep = 3;
    } else {
      EndAction();
    }
    return;
  }
  switch (TAPManager_multistep) {
    case 1:
      TAPManager_multistep = 2;
      break;
    case 2:
      SaveScreen();
      if (phase == 1) {
        char name[sizeof TAPManager_TAP_name];
        snprintf(name, sizeof name, "%s", TAPManager_TAP_name);
        DeleteFullScreenRegion();
        CreateFullScreenRegion();
        ShowMessageWinTemp(rgn, Text(text_StartingTap), name, Text(text_PleaseWait));
        TAP_Osd_Sync();
      }
      TAP_EnterNormal();
      TAPManager_StartTAP();
      TAPManager_multistep = 3;
      break;
    case 3:
    case 4:
    case 5:
      TAPManager_multistep++;
      break;
    case 6: {
      dword state = 0, subState = 0;
      TAP_GetState(&state, &subState);
      if (state == STATE_Normal && subState == SUBSTATE_Normal) {
        // The application did not take the screen: the list comes back.
        TAP_ExitNormal();
        if (msgWindowCopy) {
          TAP_MemFree(msgWindowCopy);
          msgWindowCopy = nullptr;
        }
        RestoreScreen();
        if (phase == 1) {
          loadSubsequentQuembryInfo(0);
          RefreshQuembryList(1);
        }
        TAP_Osd_Sync();
      } else {
        if (TAPManagerWindowCopy) TAP_MemFree(TAPManagerWindowCopy);
        TAPManagerWindowCopy = nullptr;
        exitFlag = 1;
        exitFlagTAPManager = 1;
      }
      TAPManager_multistep = 7;
      break;
    }
    default:
      EndAction();
      break;
  }
}

bool IsFileTAP_Active(const char* name, const char* folder) {
  TYPE_TapTask* table = FIS_vTAPTable();
  if (!table || !name || !folder) return false;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (table[i].status != TAPTASK_Running || !table[i].file) continue;
    char path[PATH_BUFFER_SIZE];
    if (!HDD_GetAbsolutePathByTypeFile(table[i].file, path)) continue;
    char* slash = strrchr(path, '/');
    if (!slash || strncmp(slash + 1, name, NAME_FIELD) != 0) continue;
    *slash = '\0';
    const char* firmwareFolder = path;
    if (strncmp(path, SYSTEM_ROOT, strlen(SYSTEM_ROOT)) == 0) firmwareFolder += strlen(SYSTEM_ROOT);
    if (strncmp(firmwareFolder, folder, PATH_FIELD) == 0) return true;
  }
  return false;
}
