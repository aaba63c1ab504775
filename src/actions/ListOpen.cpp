// Opening an entry of the list: a file plays, a folder is entered and
// rescanned, the parent line goes back up.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "catalogue/History.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/ListScreen.h"

namespace {

bool NormalView() { return !recycleWindowMode && !TAPManagerMode; }

void ShowLoading() {
  PrintLoading();
  TAP_Osd_Sync();
}

void OpenFolder(const FileRecord* line) {
  int n = line->folderNumber;
  if (n < 0 || n >= MAX_FOLDERS || !myfolders[n]) return;
  char name[NAME_FIELD];
  snprintf(name, sizeof name, "%s", line->name);
  char path[PATH_BUFFER_SIZE];
  if (!JoinFolderPath(path, sizeof path, CurrentDir, name)) {
    // Listed, but its path does not fit the catalogue: a cut path would name
    // another folder.
    char folderLine[160];
    snprintf(folderLine, sizeof folderLine, "%.20s: %.127s", Text(text_FolderWord), name);
    ShowMessageWinX(rgn, Text(text_FolderPathTooLongTitle), Text(text_FolderPathTooLongLine1),
                    folderLine, 300);
    return;
  }
  if (!returnFromMove) ShowLoading();
  if (NormalView()) ResetNewFileIndicators(CurrentDirNumber);
  if (TAP_Hdd_ChangeDir(name) != 1) return;  // gone since the scan: stay where we are
  SetCurrentDir(path);
  CurrentDirNumber = n;
  if (myfolders[n]->newFileCount > 0) CascadeFolderHasNewChange(myfolders[n]->parentNumber, -1);
  if (NormalView()) SetDirectoryLastViewed(n);
  SetDirFilesToNotPresent(n);
  LoadQuembryInfo(CurrentDir, n, myfolders[n]->parentNumber, DefaultRecursiveDepth == 1 ? 1 : 2, n);
  DeleteDirFilesNotPresent(n);
  maxShown = numberOfFiles = myfolders[n]->entryCount;
  LoadPlaybackStatusInfo();
  chosenLine = printLine = maxShown > 0 ? 1 : 0;
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}

}  // namespace

void QuembryAction(int entry) {
  if (entry < 1 || entry >= MAX_SLOTS) return;
  FileRecord* line = FileSlot(CurrentDirNumber, entry);
  if (!line) return;
  switch (line->attribute) {
    case ATTRIBUTE_FILE:
      RestartPlayback(entry, 1);
      break;
    case ATTRIBUTE_FOLDER:
      OpenFolder(line);
      break;
    case 240:
    case ATTRIBUTE_PARENT:
      ShowLoading();
      if (NormalView()) {
        ResetNewFileIndicators(CurrentDirNumber);
        SetDirectoryLastViewed(CurrentDirNumber);
      }
      ChangeToParentDir();
      break;
    default:
      break;
  }
}

void ChangeToParentDir() {
  if (CurrentDirNumber <= 0 || !myfolders[CurrentDirNumber]) return;
  char name[NAME_FIELD];
  snprintf(name, sizeof name, "%.126s", myfolders[CurrentDirNumber]->name);
  int parent = myfolders[CurrentDirNumber]->parentNumber;
  if (parent < 0 || parent >= MAX_FOLDERS || !myfolders[parent]) parent = 0;
  TAP_Hdd_ChangeDir("..");
  CurrentDirNumber = parent;
  maxShown = numberOfFiles = myfolders[parent] ? myfolders[parent]->entryCount : 0;
  FileRecord* first = FileSlot(parent, 1);
  if (parent == 0) {
    SetCurrentDir(TAPManagerMode ? "/ProgramFiles" : "/DataFiles");
  } else if (first) {
    SetCurrentDir(first->folderPath);
  }
  // The firmware's folder follows the path rather than "..", which may have
  // left a mount.
  GotoPath(CurrentDir);
  loadSubsequentQuembryInfo(PerformanceBoost ? 0 : 1);
  maxShown = numberOfFiles = myfolders[parent] ? myfolders[parent]->entryCount : 0;
  chosenLine = maxShown > 0 ? 1 : 0;
  for (int j = 1; j <= maxShown && j < MAX_SLOTS; j++) {
    FileRecord* line = FileSlot(parent, j);
    if (line && line->attribute == ATTRIBUTE_FOLDER && strncmp(line->name, name, NAME_FIELD) == 0) {
      chosenLine = j;
      break;
    }
  }
  DeterminePrintingLine(chosenLine);
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}
