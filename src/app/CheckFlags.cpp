// Return-flag processing: after every key event, act on what the windows that
// closed left behind.
#include "actions/actions.h"
#include "app/app.h"
#include "app/texts.h"
#include "apps/apps.h"
#include "config/ConfigMenu.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "tap.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

namespace {

void ReturnFromInfo() {
  returnFromInfo = 0;
  int* results[] = {&fileRenamed, &fileReset, &listMoved, &fileMoved};
  for (int* result : results) {
    if (*result) {
      *result = 0;
      RefreshQuembryList(0);
    }
  }
  TAP_Osd_Sync();
}

void ReturnFromMove() {
  if (fileMoved || fileMoved_MultiSelect) {
    ReleaseMoveFilesMemory();
    if (infoWindowShowing) CloseQuembryInfoWindow();
    DeterminePrintingLine(chosenLine);
    if (folderMoved) {
      if (CurrentDirNumber == 0) {
        loadSubsequentQuembryInfo(RecursiveDepth());
      } else {
        ChangeToParentDir();
        loadSubsequentQuembryInfo(RecursiveDepth());
        QuembryAction(chosenLine);
      }
      folderMoved = 0;
    } else {
      loadSubsequentQuembryInfo(PerformanceBoost ? 0 : 1);
    }
    fileMoved = 0;
  }
  returnFromMove = 0;
  if (windowShowing && !infoWindowShowing) RefreshQuembryList(0);
  TAP_Osd_Sync();
}

void ReturnFromDelete() {
  returnFromDelete = 0;
  if (fileDeleted) {
    if (infoWindowShowing) CloseQuembryInfoWindow();
    int folder = delete_CurrentDirNumber;
    int line = delete_chosenLine;
    bool validSlot = folder >= 0 && folder < MAX_FOLDERS && line > 0 && line < MAX_SLOTS;
    FileRecord* entry = validSlot ? myfiles[folder * MAX_SLOTS + line] : nullptr;
    if (entry && entry->attribute == ATTR_FOLDER) DeleteMyfilesFolderEntry(entry->folderNumber);
    DeleteMyfilesEntry(folder, line, 1);
    if (processInBackground) {
      fileDeleted_MultiSelect = 0;
    } else {
      // The idle handler opens the confirmation for the next selected file.
      if (MultiSelect) MultiSelectClearFirst();
      fileDeleted_MultiSelect = MultiSelect ? 1 : 0;
      for (MultiSelectItem* item = MultiSelect; item; item = item->next) {
        MultiSelect_CheckFileNumber(item);
      }
    }
    DeterminePrintingLine(chosenLine);
    fileDeleted = 0;
    RefreshQuembryList(0);
  }
  TAP_Osd_Sync();
}

void ReturnFromStop() {
  returnFromStop = 0;
  if (fileStopped) {
    GetRecordingInfo();
    LoadRecordingInfo(CurrentDirNumber, chosenLine);
    GetPlaybackInfo();
    LoadPlaybackInfo(CurrentDirNumber, chosenLine);
    fileStopped = 0;
    RefreshQuembryList(0);
  }
  TAP_Osd_Sync();
}

void ReturnFromRename() {
  if (folderRenamed) {
    reloadInitialQuembryInfo(RecursiveDepth(), 0);
    if (CurrentDirNumber > 0 && DefaultRecursiveDepth > 0) {
      loadSubsequentQuembryInfo(DefaultRecursiveDepth);
    }
    folderRenamed = 0;
  }
  returnFromRename = 0;
  TAP_Osd_Sync();
}

void ReturnFromRecycleBinEmpty() {
  returnFromRecycleBinWindowEmpty = 0;
  PrintLoading();
  TAP_Osd_Sync();
  reloadInitialQuembryInfo(0, CurrentDirNumber);
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}

}  // namespace

void PrintLoading() {
  PrintCenter(rgn, 53, (dword)yOffsetOption, 501, Text(text_Loading), 0xFFE6E6FA, 0xFF101010, 18);
}

void CheckFlags() {
  if (exitFlag) {
    ExitRoutine();
    exitFlag = 0;
    return;
  }
  if (terminateFlag) {
    TerminateRoutine();
    return;
  }
  if (returnFromInfo) ReturnFromInfo();
  if (returnFromMove) ReturnFromMove();
  if (returnFromDelete) ReturnFromDelete();
  if (returnFromStop) ReturnFromStop();
  if (returnFromRename) ReturnFromRename();
  if (returnFromRecycleBinWindowEmpty) ReturnFromRecycleBinEmpty();
  if (returnFromFirmwareDat) {
    returnFromFirmwareDat = 0;
    ReturnToConfigWindow();
    TAP_Osd_Sync();
  }
  if (returnFromCredits) {
    returnFromCredits = 0;
    ReturnToConfigWindow();
    TAP_Osd_Sync();
  }
  if (returnFromConfig) {
    returnFromConfig = 0;
    RefreshQuembryWindow();
    TAP_Osd_Sync();
  }
}
