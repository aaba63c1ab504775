// The list window: opening, refreshing and closing it, and where the
// selection sits on the screen.
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "config/Settings.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

int helpWindowShowing;

namespace {

int EntryCountOf(int n) {
  if (n < 0 || n >= MAX_FOLDERS || !myfolders[n]) return 0;
  int count = myfolders[n]->entryCount;
  if (count < 0) return 0;
  return count > MAX_FOLDER_LINES ? MAX_FOLDER_LINES : count;
}

FileRecord* EntryAt(int entry) {
  if (CurrentDirNumber < 0 || CurrentDirNumber >= MAX_FOLDERS) return nullptr;
  if (entry < 1 || entry > MAX_FOLDER_LINES) return nullptr;
  return FileSlot(CurrentDirNumber, entry);
}

// The entry of the file now playing, else of the most recently played file.
int FindPlayedEntry(int count) {
  for (int j = 1; j <= count; j++) {
    FileRecord* r = EntryAt(j);
    if (r && r->attribute == ATTRIBUTE_FILE && r->playingNow) return j;
  }
  PlayedFileEntry* last = playedFiles[0];
  if (!last || last->inode == 0) return 0;
  for (int j = 1; j <= count; j++) {
    FileRecord* r = EntryAt(j);
    if (r && r->attribute == ATTRIBUTE_FILE && r->inode == last->inode &&
        strncmp(r->name, last->name, 127) == 0) {
      return j;
    }
  }
  return 0;
}

// Moves the selection forward off empty folders, wrapping once to entry 1.
void SkipEmptyFoldersForward() {
  if (!HideEmptyFolders || chosenLine < 1) return;
  int start = chosenLine;
  bool wrapped = false;
  while (IsEmptyFolderLine(chosenLine)) {
    chosenLine++;
    if (chosenLine > maxShown) {
      if (wrapped) break;
      wrapped = true;
      chosenLine = 1;
      printLine = 1;
    }
    if (wrapped && chosenLine == start) break;
  }
}

// The folder's count, the sort, and a selection inside the folder. Returns
// true when the selection had to be corrected.
bool PrepareRefresh() {
  maxShown = numberOfFiles = EntryCountOf(CurrentDirNumber);
  SortList(sortOrder);
  bool corrected = false;
  int lines = LinesPerPage();
  if (chosenLine > maxShown) {
    chosenLine = maxShown;
    corrected = true;
  }
  if (maxShown == 0) {
    chosenLine = printLine = 0;
  } else if (chosenLine < 1) {
    chosenLine = 1;
    corrected = true;
  }
  if (printLine > lines) {
    printLine = lines;
    corrected = true;
  }
  page = chosenLine > 0 ? (chosenLine - 1) / lines : 0;
  return corrected;
}

}  // namespace

void initialiseQuembryWindow() {
  windowShowing = 0;
  helpWindowShowing = 0;
  // The dialogs over the list start closed with "No" preselected.
  initialiseYesNoWindow();
  initialiseMessageWindow();
  sortOrder = sortOrderOption;
  chosenLine = printLine = page = 0;
}

void CreateQuembryWindow() {
  windowShowing = 1;
  helpWindowShowing = 0;
  DrawGraphicBorders();
}

void ActivateQuembryWindow() {
  CreateQuembryWindow();
  maxShown = numberOfFiles = EntryCountOf(CurrentDirNumber);
  DrawQuembryList();
  UpdateSelectionNumber();
  UpdateListClock(ClockColour);
  SetDirectoryLastViewed(CurrentDirNumber);
  TAP_Osd_Sync();
}

void CloseQuembryWindow() {
  windowShowing = 0;
  helpWindowShowing = 0;
  DeleteFullScreenRegion();
  ResetNewFileIndicators(CurrentDirNumber);
  SaveLastViewDatToFile();
  if (!exitFlagTAPManager) TAP_Osd_Sync();
}

void RefreshQuembryList(int recompute) {
  bool corrected = PrepareRefresh();
  if (HideEmptyFolders && IsEmptyFolderLine(chosenLine)) {
    chosenLine = 1;
    printLine = 1;
    corrected = true;
  }
  if (recompute || corrected) DeterminePrintingLine(chosenLine);
  UpdateListClock(ClockColour);
  DrawQuembryList();
  UpdateSelectionNumber();
}

void RefreshQuembryWindow() {
  PrepareRefresh();
  SkipEmptyFoldersForward();
  DrawGraphicBorders();
  DeterminePrintingLine(chosenLine);
  UpdateListClock(ClockColour);
  DrawQuembryList();
  UpdateSelectionNumber();
  TAP_Osd_Sync();
}

void DetermineStartingLine(int* entry) {
  if (!entry) return;
  int count = EntryCountOf(CurrentDirNumber);
  if (*entry > count) *entry = count;
  if (TAPManagerMode) {
    int chosen = 1;
    if (lastTAPManager_dirNumber == CurrentDirNumber && lastTAPManager_chosenLine > 0) {
      chosen = lastTAPManager_chosenLine;
    }
    *entry = chosen > count ? count : chosen;
  } else {
    if (SelectFirstFile <= 3 || *entry == 0) *entry = count;
    if (SelectFirstFile == 1 || SelectFirstFile == 3) {
      int first = 1;
      for (int j = 1; j <= count; j++) {
        FileRecord* r = EntryAt(j);
        if (r && r->attribute == ATTRIBUTE_FILE) {
          first = j;
          break;
        }
      }
      *entry = count > 0 ? first : 0;
    }
    printLine = LinesPerPage();
    if (inPlaybackMode || activateReturnToQuembryList || activateReturnToQuembryList_fromStopMenu ||
        SelectFirstFile == 2 || SelectFirstFile == 3) {
      int played = FindPlayedEntry(count);
      if (played > 0) *entry = played;
    }
  }
  maxShown = numberOfFiles = count;
  DeterminePrintingLine(*entry);
}

void DeterminePrintingLine(int entry) {
  int lines = LinesPerPage();
  if (maxShown < lines && entry <= maxShown) {
    printLine = entry;
  } else {
    bool narrow = NarrowSpacing();
    int middle = narrow ? 7 : (ExtraLineOption ? 5 : 4);
    int margin = narrow ? 7 : (ExtraLineOption ? 5 : 4);
    if (entry == maxShown) {
      printLine = lines;
    } else if (entry < maxShown - margin) {
      printLine = entry < middle ? entry : middle;
    } else {
      printLine = entry - maxShown + lines;
    }
  }
  if (printLine < 1 && entry > 0) printLine = 1;
  page = entry > 0 ? (entry - 1) / lines : 0;
}
