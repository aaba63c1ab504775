// Reconciliation with the disk: marking lines not present, dropping what a rescan did
// not find again, and the three scans built on it.
#include <stdio.h>
#include <string.h>

#include "catalogue/catalogue.h"
#include "catalogue/internal.h"

namespace {

bool ValidFolder(int n) { return n >= 0 && n < MAX_FOLDERS && myfolders[n]; }

bool NormalMode() { return !recycleWindowMode && !TAPManagerMode; }

// Guards the recursive emptying against a folder line that points back up the tree.
int emptyingDepth;

void RefreshShownCounts() {
  numberOfFiles = maxShown =
      ValidFolder(CurrentDirNumber) ? myfolders[CurrentDirNumber]->entryCount : 0;
}

}  // namespace

void SetDirFilesToNotPresent(int n) {
  if (!ValidFolder(n)) return;
  int count = myfolders[n]->entryCount;
  for (int j = 1; j <= count && j < MAX_SLOTS; j++) {
    FileRecord* r = FileSlot(n, j);
    if (!r) continue;
    r->present = 0;
    r->playingNow = 0;
    r->recordingNow = 0;
  }
}

void SetAllFilesToNotPresent(void) {
  for (int n = 0; n <= numberOfFolders && n < MAX_FOLDERS; n++) {
    if (!myfolders[n]) continue;
    SetDirFilesToNotPresent(n);
    myfolders[n]->newFileCount = 0;
    myfolders[n]->newFolderCount = 0;
  }
}

void DeleteMyfilesEntry(int n, int slot, int dropHistory) {
  if (!ValidFolder(n) || slot < 1) return;
  FolderRecord* folder = myfolders[n];
  if (slot > folder->entryCount || slot >= MAX_SLOTS) return;
  FileRecord* r = FileSlot(n, slot);
  if (r) {
    if (r->attribute == ATTRIBUTE_FOLDER) {
      folder->subfolderCount--;
    } else if (r->attribute == ATTRIBUTE_FILE) {
      if (NormalMode() && dropHistory) DeleteProgressInfo(n, slot, 0);
      folder->fileCount--;
      folder->totalSize -= r->size;
    }
    TAP_MemFree(r);
  }
  int last = folder->entryCount < MAX_SLOTS - 1 ? folder->entryCount : MAX_SLOTS - 1;
  for (int j = slot; j < last; j++) FileSlot(n, j) = FileSlot(n, j + 1);
  FileSlot(n, last) = nullptr;
  folder->entryCount--;
}

void DeleteMyfilesFolderEntry(int n) {
  if (!ValidFolder(n) || emptyingDepth > MAX_FOLDERS) return;
  emptyingDepth++;
  FolderRecord* folder = myfolders[n];
  if (folder->newFolderCount > 0)
    CascadeFolderHasNewChange(folder->parentNumber, -folder->newFolderCount);
  int count = folder->entryCount < MAX_SLOTS - 1 ? folder->entryCount : MAX_SLOTS - 1;
  for (int j = 1; j <= count; j++) {
    FileRecord* r = FileSlot(n, j);
    if (!r) continue;
    if (r->attribute == ATTRIBUTE_FOLDER && r->folderNumber != n && r->folderNumber > 0)
      DeleteMyfilesFolderEntry(r->folderNumber);
    else if (r->attribute == ATTRIBUTE_FILE && NormalMode())
      DeleteProgressInfo(n, j, 0);
    TAP_MemFree(r);
    FileSlot(n, j) = nullptr;
  }
  folder->name[0] = 0;
  folder->entryCount = folder->subfolderCount = folder->fileCount = 0;
  folder->newFileCount = folder->newFolderCount = 0;
  folder->totalSize = 0;
  emptyingDepth--;
}

void DeleteDirFilesNotPresent(int n) {
  if (!ValidFolder(n)) return;
  int j = 1;
  while (j <= myfolders[n]->entryCount && j < MAX_SLOTS) {
    FileRecord* r = FileSlot(n, j);
    // An empty slot inside the range is closed like a dropped line, so that the
    // entry count stays the number of lines.
    if (r && r->present) {
      j++;
      continue;
    }
    if (r && r->attribute == ATTRIBUTE_FOLDER && r->folderNumber != n)
      DeleteMyfilesFolderEntry(r->folderNumber);
    DeleteMyfilesEntry(n, j, 1);
  }
}

void DeleteAllFilesNotPresent(void) {
  for (int n = 0; n <= numberOfFolders && n < MAX_FOLDERS; n++) DeleteDirFilesNotPresent(n);
}

void DeleteMyfoldersEntry(int n) {
  if (!ValidFolder(n) || n > numberOfFolders) return;
  TAP_MemFree(myfolders[n]);
  for (int i = n; i < MAX_FOLDERS - 1; i++) myfolders[i] = myfolders[i + 1];
  myfolders[MAX_FOLDERS - 1] = nullptr;
  numberOfFolders--;
}

void ResetAllFiles(void) {
  for (int n = numberOfFolders < MAX_FOLDERS ? numberOfFolders : MAX_FOLDERS - 1; n >= 0; n--) {
    if (!myfolders[n]) continue;
    for (int j = myfolders[n]->entryCount; j >= 2; j--) {
      FileRecord* r = j < MAX_SLOTS ? FileSlot(n, j) : nullptr;
      if (r && r->attribute == ATTRIBUTE_FILE) DeleteMyfilesEntry(n, j, 0);
    }
  }
}

void ResetAllFolders(void) {
  for (int n = MAX_FOLDERS - 1; n >= 0; n--) {
    if (myfolders[n]) {
      for (int j = myfolders[n]->entryCount; j >= 2; j--) DeleteMyfilesEntry(n, j, 0);
    }
  }
  // Every record goes, slots 0 and 1 included: clearing the tables must not leak them.
  ReleaseCatalogue();
  myfolders[0] = ClaimFolder(0, "for 'myfolders' in 'AddNewFolder'");
  if (!myfolders[0]) return;
  if (!ClaimSlot(0, 0, "for 'myfiles' in 'FileExistsInList'") ||
      !ClaimSlot(0, 1, "for 'myfiles' in 'FileExistsInList'"))
    return;
  SetAllFilesToNotPresent();
  const char* root = TAPManagerMode ? "/ProgramFiles" : "/DataFiles";
  strcpy(myfolders[0]->name, root);
  strcpy(FileSlot(0, 1)->folderPath, root);
  myfolders[0]->lastViewed = folderLastViewInfo[0].lastViewed;
}

void RecountNewIndicators(void) {
  int last = numberOfFolders < MAX_FOLDERS ? numberOfFolders : MAX_FOLDERS - 1;
  for (int n = 0; n <= last; n++) {
    if (!myfolders[n]) continue;
    myfolders[n]->newFileCount = myfolders[n]->newFolderCount = 0;
    for (int j = 1; j <= myfolders[n]->entryCount && j < MAX_SLOTS; j++) {
      FileRecord* r = FileSlot(n, j);
      if (r && r->attribute == ATTRIBUTE_FILE && r->isNew) myfolders[n]->newFileCount++;
    }
  }
  for (int n = 1; n <= last; n++)
    if (myfolders[n] && myfolders[n]->name[0] && myfolders[n]->newFileCount > 0)
      CascadeFolderHasNewChange(myfolders[n]->parentNumber, 1);
}

void loadInitialQuembryInfo(int depth, int headerFolder) {
  GotoDataFiles();
  GetRecordingInfo();
  SetAllFilesToNotPresent();
  initialLoad = 1;
  LoadQuembryInfo("/DataFiles", 0, 0, depth, headerFolder);
  initialLoad = 0;
  DeleteAllFilesNotPresent();
  RecountNewIndicators();
  GotoPath(CurrentDir);
  RefreshShownCounts();
  GetPlaybackInfo();
  LoadPlaybackStatusInfo();
  sortOrder = TAPManagerMode ? sortOrderTAPOption : sortOrderOption;
  SortList(sortOrder);
}

void loadSubsequentQuembryInfo(int depth) {
  ChangeDirRoot();
  // A shown folder that is gone is left as it is: scanning would read "/" into it.
  bool entered = GotoPath(CurrentDir);
  GetRecordingInfo();
  initialLoad = 0;
  if (entered && ValidFolder(CurrentDirNumber)) {
    SetDirFilesToNotPresent(CurrentDirNumber);
    LoadQuembryInfo(CurrentDir, CurrentDirNumber, myfolders[CurrentDirNumber]->parentNumber, depth,
                    CurrentDirNumber);
    DeleteDirFilesNotPresent(CurrentDirNumber);
  }
  RefreshShownCounts();
  if (!TAPManagerMode) {
    GetPlaybackInfo();
    LoadPlaybackStatusInfo();
  }
  SortList(sortOrder);
}

// The firmware path of folder i: the root, its ancestors' names, its own name.
// False when the chain of parents is broken or the path is too long to hold.
bool BuildFolderPath(int i, const char* root, char* path) {
  snprintf(path, PATH_FIELD, "%s", root);
  if (i == 0) return true;
  int chain[MAX_FOLDERS];
  int length = 0;
  for (int n = i; n != 0; n = myfolders[n]->parentNumber) {
    if (!ValidFolder(n) || length >= MAX_FOLDERS) return false;
    if (myfolders[n]->parentNumber == n) {
      ShowMessageWinX(rgn, "ERROR", "parentPtr is same as itself", "", 300);
      return false;
    }
    chain[length++] = n;
  }
  while (length > 0) {
    char next[512];
    if (!JoinFolderPath(next, sizeof next, path, myfolders[chain[--length]]->name)) return false;
    memcpy(path, next, strlen(next) + 1);  // it fits: checked above
  }
  return true;
}

void reloadInitialQuembryInfo(int /*depth*/, int headerFolder) {
  const char* root = TAPManagerMode ? "/ProgramFiles" : "/DataFiles";
  GotoPath(root);
  GetRecordingInfo();
  SetAllFilesToNotPresent();
  ResetAllFiles();
  if (TAPManagerModeChanged) {
    TAPManagerModeChanged = 0;
    ResetAllFolders();
  }
  for (int i = 0; i <= numberOfFolders && i < MAX_FOLDERS; i++) {
    if (!myfolders[i] || !myfolders[i]->name[0] || !FileSlot(i, 1)) continue;
    char path[PATH_FIELD];
    if (!BuildFolderPath(i, root, path)) continue;
    ChangeDirRoot();
    // A folder that cannot be entered is not scanned: its lines stay not present.
    if (TAP_Hdd_ChangeDir(path) != 1) continue;
    if (LoadQuembryInfo(path, i, myfolders[i]->parentNumber, 0, headerFolder) < 0) break;
  }
  DeleteAllFilesNotPresent();
  RecountNewIndicators();
  GotoPath(CurrentDir);
  loadSubsequentQuembryInfo(1);
  RefreshShownCounts();
  if (!TAPManagerMode) {
    GetPlaybackInfo();
    LoadPlaybackStatusInfo();
  }
  sortOrder = TAPManagerMode ? sortOrderTAPOption : sortOrderOption;
  SortList(sortOrder);
}
