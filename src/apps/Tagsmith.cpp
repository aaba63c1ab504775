// The Tagsmith actions: showing a recording's information in Tagsmith, and
// handing a multi-selection to it one recording at a time. Each runs one step
// per idle event, so that Tagsmith's answers arrive in between.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "apps/apps.h"
#include "apps/texts.h"
#include "catalogue/catalogue.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"

byte* TagsmithMessage;
int activateTagsmithPrepareQuembry;
int prepareInBackgroundComplete;
int processInBackground;

namespace {

#define ALIVE_TESTS 6  // further idle events to wait for the alive answer

FileRecord* LineAt(int folder, int line) {
  if (folder < 0 || folder >= MAX_FOLDERS || line < 1 || line >= MAX_SLOTS) return nullptr;
  return FileSlot(folder, line);
}

// Fills the message record for a line; false when no record can be had.
bool FillTagsmithMessage(const FileRecord* line) {
  if (!TagsmithMessage) TagsmithMessage = (byte*)TAP_MemAlloc(TAGSMITH_MESSAGE_SIZE);
  if (!TagsmithMessage) return false;
  memset(TagsmithMessage, 0, TAGSMITH_MESSAGE_SIZE);
  char infName[NAME_FIELD], navName[NAME_FIELD];
  MakeInfNavNames(line->name, infName, navName);
  dword inode = (dword)HDD_GetInodeByFolderAndFile(line->folderPath, infName);
  memcpy(TagsmithMessage + 4, &inode, sizeof inode);
  snprintf((char*)TagsmithMessage + 8, 256, "%s", infName);
  snprintf((char*)TagsmithMessage + 264, 256, "%.10s%.250s", SYSTEM_ROOT, line->folderPath);
  return true;
}

// The list shows with nothing over it.
bool ListAlone() {
  return windowShowing && !deleteWindowShowing && !stopWindowShowing && !infoWindowShowing &&
         !keyboardWindowShowing && !keyboardHelpWindowShowing && !quembryHelpWindowShowing &&
         !checkFirmwareDatShowing && !creditsShowing && !configWindowShowing &&
         !MessageWindowShowing && !moveWindowShowing && !stopmenuWindowShowing &&
         !allrecycleWindowShowing && !yesnoWindowShowing;
}

// Draws the list again and shows it: the marks and the outcome of a
// preparation are on screen at once, not at the next key.
void ShowListAgain() {
  RefreshQuembryList(0);
  TAP_Osd_Sync();
}

void OpenOwnInfoWindow(const char* text) {
  FileRecord* line = LineAt(CurrentDirNumber, chosenLine);
  if (line) currentFile = *line;
  if (myfolders[CurrentDirNumber]) currentFolder = *myfolders[CurrentDirNumber];
  snprintf(Tagsmith_infoMessage, sizeof Tagsmith_infoMessage, "%s", text);
  ActivateInfoWindow(0);
  Tagsmith_infoMessage[0] = '\0';
}

// Steps 1 and 2 of phases 1 and 5: is Tagsmith there? Returns true once it
// answered; after the last test the phase's own failure runs.
bool AliveTest(void (*notFound)()) {
  if (Tagsmith_multistep == 1) {
    Tagsmith_alive = 0;
    Tagsmith_alive_counter = 0;
    ipAskAlive(TAGSMITH_ID);
    Tagsmith_multistep = 2;
  }
  if (Tagsmith_alive) {
    Tagsmith_multistep = 3;
    return true;
  }
  if (Tagsmith_alive_counter < ALIVE_TESTS) {
    Tagsmith_alive_counter++;
  } else {
    notFound();
    Tagsmith_multistep = 99;
  }
  return false;
}

void ShowInfoNotFound() { OpenOwnInfoWindow(Text(text_TagsmithNotFound)); }

void PrepareNotFound() {
  ShowMessageWinX(rgn, Text(text_TagsmithNotFoundTitle), "", Text(text_TagsmithNotResponding), 300);
  Tagsmith_infoMessage[0] = '\0';
}

void EndAction() {
  Tagsmith_multiphase = 0;
  Tagsmith_multistep = 0;
}

void ReturnFromCancelPrepareYesNo(int answer) {
  if (answer != 1) return;
  MultiSelectClearAll();
  Tagsmith_prepareSent = 0;  // a late answer has nothing left to act on
  prepareInBackgroundComplete = -2;
  processInBackground = 0;
  RefreshQuembryList(0);
  TAP_Osd_Sync();
}

void ReturnFromPrepareYesNo(int answer) {
  if (answer != 1) return;
  Tagsmith_multiphase = 5;
  Tagsmith_multistep = 1;
}

}  // namespace

void InvokeTagsmith() {
  if (recycleWindowMode || TAPManagerMode) return;
  if (processInBackground == 2) {
    DisplayYesNoWindow(Text(text_CancelPrepareTitle), Text(text_CancelPrepareLine1), "",
                       Text(text_Yes), Text(text_No), 0, ReturnFromCancelPrepareYesNo);
  } else if (processInBackground) {
    ShowMessageWinX(rgn, Text(text_BackgroundTitle), Text(text_TagsmithDisabled),
                    Text(text_DuringBackground), 300);
  } else if (MultiSelect) {
    DisplayYesNoWindow(Text(text_PrepareConfirmTitle), Text(text_PrepareConfirmLine1),
                       Text(text_PrepareConfirmLine2), Text(text_Yes), Text(text_No), 0,
                       ReturnFromPrepareYesNo);
  } else {
    TagsmithInitiate();
  }
}

void TagsmithInitiate() {
  FileRecord* line = LineAt(CurrentDirNumber, chosenLine);
  if (line && line->attribute == ATTRIBUTE_FILE) {
    Tagsmith_multiphase = 1;
    Tagsmith_multistep = 1;
  } else {
    OpenOwnInfoWindow(Text(text_noTagsmithFile));
  }
}

void TagsmithMultistepAction() {
  switch (Tagsmith_multiphase * 100 + Tagsmith_multistep) {
    case 101:
    case 102:
      AliveTest(ShowInfoNotFound);
      break;
    case 103:
      windowShowing = 0;  // Tagsmith takes the screen
      Tagsmith_multistep = 4;
      break;
    case 104: {
      FileRecord* line = LineAt(CurrentDirNumber, chosenLine);
      if (line && FillTagsmithMessage(line)) {
        memset(TagsmithMessage, 0, 4);
        ipSendShowInfo(TAGSMITH_ID, TagsmithMessage);
      }
      Tagsmith_multistep = 5;
      break;
    }
    case 201:
    case 301:
      activateReturnToQuembryList_fromTagsmith = 1;
      if (Tagsmith_multiphase == 3)
        snprintf(Tagsmith_infoMessage, sizeof Tagsmith_infoMessage, "%s",
                 Text(text_noTagsmithFile));
      Tagsmith_multistep = 2;
      break;
    case 401:
      // The list gave Tagsmith the screen but kept its region: back in
      // normal viewing nothing of it may stay.
      if (rgn != NO_REGION && !windowShowing) CloseQuembryWindow();
      TAP_EnterNormal();
      Tagsmith_multistep = 2;
      break;
    case 501:
    case 502:
      AliveTest(PrepareNotFound);
      break;
    case 503:
      EndAction();
      activateTagsmithPrepareQuembry = 1;
      break;
    case 601:
      MultiSelectClearFirst();
      if (MultiSelect) {
        activateTagsmithPrepareQuembry = 1;
      } else {
        prepareInBackgroundComplete = 1;
        processInBackground = 0;
      }
      if (ListAlone()) ShowListAgain();
      EndAction();
      break;
    case 701:
      processInBackground = 0;
      prepareInBackgroundComplete = -1;
      if (ListAlone()) ShowListAgain();
      Tagsmith_multistep = 2;
      break;
    default:
      EndAction();
      break;
  }
  if (Tagsmith_multiphase == 0 && Tagsmith_failure) {
    Tagsmith_failure = 0;
    Tagsmith_multiphase = 3;
    Tagsmith_multistep = 1;
  }
}

void TagsmithPrepareQuembry() {
  processInBackground = 2;
  prepareInBackgroundComplete = 0;
  MultiSelectItem* item = MultiSelect;
  if (!item) {
    processInBackground = 0;
    return;
  }
  MultiSelect_CheckFileNumber(item);
  FileRecord* line = LineAt(item->folderNumber, item->entryIndex);
  if (!line || line->inode != item->inode || strncmp(line->name, item->name, NAME_FIELD) != 0) {
    ShowMessageWinX(rgn, Text(text_MultiNotFoundTitle), Text(text_MultiNotFoundD),
                    Text(text_ClearingMultiSelect), 300);
    MultiSelectClearAll();
    processInBackground = 0;
    return;
  }
  if (!FillTagsmithMessage(line)) {
    processInBackground = 0;
    prepareInBackgroundComplete = -1;
    return;
  }
  Tagsmith_prepareSent = 1;
  ipSendPrepareQuembry(TAGSMITH_ID, TagsmithMessage);
}

void CheckTagsmithPrepare() {
  if (!Tagsmith_prepareSent || HDD_TAP_isRunning(TAGSMITH_ID)) return;
  Tagsmith_prepareSent = 0;
  PrintNet(PROGRAM_VERSION ": Tagsmith ended before it answered the preparation.\r\n");
  Tagsmith_multiphase = 7;
  Tagsmith_multistep = 1;
}

void ReleaseTagsmithMemory() {
  if (TagsmithMessage) TAP_MemFree(TagsmithMessage);
  TagsmithMessage = nullptr;
}
