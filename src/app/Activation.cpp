// Showing the list, hiding it, and unloading the application.
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "app/keys.h"
#include "app/log.h"
#include "app/texts.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"

namespace {

int EntryCount(int folder) {
  if (folder < 0 || folder >= MAX_FOLDERS || !myfolders[folder]) return 0;
  return myfolders[folder]->entryCount;
}

FileRecord* Entry(int folder, int line) {
  if (folder < 0 || folder >= MAX_FOLDERS || line < 0 || line >= MAX_SLOTS) {
    return nullptr;
  }
  return myfiles[folder * MAX_SLOTS + line];
}

// True when CurrentDir still exists: the firmware can go there and reports
// the same folder back.
bool CurrentDirStillThere() {
  GotoPath(CurrentDir);
  char readBack[PATH_BUFFER_SIZE];
  memset(readBack, 0, sizeof readBack);
  if (!HDD_TAP_GetCurrentDir(readBack)) return false;
  return strcmp(readBack, CurrentDir) == 0;
}

// After Tagsmith handed control back, select the recording it worked on.
void SelectTagsmithEntry() {
  int count = EntryCount(CurrentDirNumber);
  if (chosenLine < 1 || chosenLine > count) chosenLine = count;
  // The .inf name sits at offset 8 of the message record.
  if (!TagsmithMessage) return;
  char name[127];
  memcpy(name, TagsmithMessage + 8, 126);
  name[126] = '\0';
  size_t length = strlen(name);
  if (length > 4 && strcmp(name + length - 4, ".inf") == 0) name[length - 4] = '\0';
  FileRecord* selected = Entry(CurrentDirNumber, chosenLine);
  if (selected && strncmp(selected->name, name, 127) == 0) return;
  for (int line = 1; line <= count; line++) {
    FileRecord* entry = Entry(CurrentDirNumber, line);
    if (entry && strncmp(entry->name, name, 127) == 0) {
      chosenLine = line;
      return;
    }
  }
  chosenLine = count;
}

}  // namespace

void ActivationRoutine() {
  TAP_ExitNormal();
  tapStartup = 0;
  CreateFullScreenRegion();

  // "Deletable once" holds only until the list is next opened.
  if (folderDeleteOption == 1) folderDeleteOption = 0;
  // A stop menu asked for by Stop and not yet shown (the idle event shows
  // it) goes: the user turned to the list instead.
  activateStopMenu = 0;
  recycleWindowMode = 0;
  tempFileSuffixOption = FileSuffixOption;
  // A background outcome the list has shown is forgotten when it opens anew.
  if (backgroundOutcomeShown && !processInBackground) {
    moveInBackgroundComplete = 0;
    prepareInBackgroundComplete = 0;
    backgroundOutcomeShown = 0;
  }

  if (splashScreenOption == 1) {
    PrintLoading();
    ShowMessageBox(rgn, Text(text_StartingTitle), Text(text_StartingLine1),
                   Text(text_StartingLine2));
  }

  ReadLastViewDatFile();

  bool home = false;
  bool reload = false;
  if (!activateReturnToQuembryList_fromStopMenu && !activateReturnToQuembryList_fromTagsmith) {
    if (StartInDatafiles == 1) {
      home = true;
    } else if (StartInDatafiles == 2 && currentTickTime - lastActionTickPrev > 59999) {
      home = true;
      lastActionTick = currentTickTime;
      lastActionTickPrev = currentTickTime;
    }
  }

  if (!InDataFilesFolder(CurrentDir) && !InDataFilesSubFolder(CurrentDir)) {
    home = true;
  } else if (!home && !CurrentDirStillThere()) {
    home = true;
    reload = true;
  }

  if (TAPManagerMode) {
    TAPManagerMode = 0;
    TAPManagerModeChanged = 1;
    home = true;
    reload = true;
  }

  ResetScreenColumns();

  if (home) {
    GotoDataFiles();
    SetCurrentDir("/DataFiles");
    CurrentDirNumber = 0;
    chosenLine = 0;
    maxShown = numberOfFiles = EntryCount(0);
    if (reload) {
      if (TAPManagerModeChanged) {
        reloadInitialQuembryInfo(RecursiveDepth(), 0);
      } else {
        loadInitialQuembryInfo(RecursiveDepth(), 0);
      }
    }
  }

  loadSubsequentQuembryInfo(PerformanceBoost ? 0 : 1);

  if (activateReturnToQuembryList_fromTagsmith) {
    SelectTagsmithEntry();
  } else {
    DetermineStartingLine(&chosenLine);
  }

  ActivateQuembryWindow();
  TAP_Osd_Sync();

  if (activateReturnToQuembryList_fromTagsmith && Tagsmith_infoMessage[0]) {
    FileRecord* selected = Entry(CurrentDirNumber, chosenLine);
    if (selected) currentFile = *selected;
    if (CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS && myfolders[CurrentDirNumber]) {
      currentFolder = *myfolders[CurrentDirNumber];
    }
    ActivateInfoWindow(0);
    Tagsmith_infoMessage[0] = '\0';
  }
}

// The windows open on the list go with it, as Exit would close each: left
// open, one would take the keys of the next list unseen (the end of a
// playback closes the list from the idle event to play the next selected
// file, whatever the user had open on it).
void CloseWindowsOnList() {
  if (!windowShowing) return;
  if (keyboardWindowShowing) CloseKeyboard(0);
  if (yesnoWindowShowing) {
    YesNoResult = 0;
    CloseYesNoWindow();
  }
  if (MessageWindowShowing) CloseMessageWindow();
  if (moveWindowShowing) CloseQuembryMoveWindow();
  if (allrecycleWindowShowing) CloseAllRecycleWindow();
  if (quembryHelpWindowShowing) DropQuembryHelp();
}

void ExitRoutine() {
  // A show-info request that has not yet reached Tagsmith goes with the list:
  // Tagsmith must not pop up over whatever the user turned to instead.
  if (Tagsmith_multiphase == 1 && Tagsmith_multistep <= 3) {
    Tagsmith_multiphase = 0;
    Tagsmith_multistep = 0;
  }
  if (infoWindowShowing) CloseQuembryInfoWindow();
  CloseWindowsOnList();
  CloseQuembryWindow();
  if (recycleWindowMode) {
    recycleWindowMode = 0;
    reloadInitialQuembryInfo(0, CurrentDirNumber);
  }
  if (TAPManagerMode) {
    TAPManagerMode = 0;
    TAPManagerModeChanged = 1;
    if (!processInBackground) {
      while (MultiSelect) MultiSelectClearFirst();
    }
    lastTAPManager_chosenLine = chosenLine;
    lastTAPManager_dirNumber = CurrentDirNumber;
    GotoDataFiles();
    SetCurrentDir("/DataFiles");
    CurrentDirNumber = 0;
    chosenLine = 0;
    reloadInitialQuembryInfo(RecursiveDepth(), 0);
    ResetScreenColumns();
  }
  if (!exitFlagTAPManager) TAP_Osd_Sync();
  if (GenerateKeyOnExit != 0) {
    dword key = KeyReverseTranslate(GenerateKeyOnExit);
    TAP_GenerateEvent(EVT_KEY, key, key);
    GenerateKeyOnExit = 0;
  }
  if (!exitFlagTAPManager) TAP_EnterNormal();
}

void TerminateRoutine() {
  WriteLog(LOG_EXIT);
  if (AliveLoggingFreq != 0) WriteLog_Alive(LOG_EXIT);
  SaveDatToFile();
  if (MountMediaFiles) MediaFiles_Unmount();
  TerminateConfigMenu();
  ReleaseLogoMemory();
  if (allrecycleWindowShowing) CloseAllRecycleWindow();
  ExitRoutine();
  StopBackgroundCopy();
  ReleaseMoveFilesMemory();

  ReleaseCatalogue();
  if (TAPIniDir) TAP_MemFree(TAPIniDir);
  TAPIniDir = nullptr;
  if (TAPLogoDir) TAP_MemFree(TAPLogoDir);
  TAPLogoDir = nullptr;
  for (int i = 0; i < MAX_PLAYED_FILES; i++) {
    if (playedFiles[i]) TAP_MemFree(playedFiles[i]);
    playedFiles[i] = nullptr;
  }
  ReleaseTextMemory();
  ReleaseTagsmithMemory();
  ReleaseKeyboardMemory();
  TAP_Exit();
}
