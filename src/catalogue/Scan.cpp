// The scan of one folder: lists the firmware's current directory into a folder of the
// catalogue, keeping the lines that are still there and appending the new ones.
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "catalogue/catalogue.h"
#include "catalogue/internal.h"
#include "lib/lib.h"

namespace {

// Texts in English and German (ISO 8859-1), indexed by TextLanguage.
struct LimitMessage {
  const char* line1[2];
  const char* line2[2];
};

const char* const kLimitTitle[2] = {"Load Quembry Info Failed.",
                                    "Laden der Quembry-Liste fehlgeschlagen."};
const LimitMessage kParentLimit = {{"MAX_FILES exceeded (A).",
                                    "MAX_FILES \xFC"
                                    "berschritten (A)."},
                                   {"Too many files.", "Zu viele Dateien."}};
const LimitMessage kFileLimit = {{"MAX_FILES exceeded (B).",
                                  "MAX_FILES \xFC"
                                  "berschritten (B)."},
                                 {"Too many files.", "Zu viele Dateien."}};
const LimitMessage kFolderLimit = {{"MAX_FILES exceeded (C).",
                                    "MAX_FILES \xFC"
                                    "berschritten (C)."},
                                   {"Too many files.", "Zu viele Dateien."}};
const LimitMessage kDirsLimit = {{"MAX_DIRS exceeded. Too many folders.",
                                  "MAX_DIRS \xFC"
                                  "berschritten. Zu viele Ordner."},
                                 {"Change General->RecursiveFolderDepth",
                                  "Allgemein->RecursiveFolderDepth \xE4"
                                  "ndern"}};

int Fail(const LimitMessage& m) {
  int language = TextLanguage == 1 ? 1 : 0;
  ShowMessageWinX(rgn, kLimitTitle[language], m.line1[language], m.line2[language], 300);
  return -1;
}

// A subfolder met by the scan, to be descended into afterwards.
struct Subfolder {
  char name[NAME_FIELD];
  int number;
};

bool TakeFile(const char* name) {
  if (recycleWindowMode) return TAPManagerMode ? IsFileTAP(name) == 2 : IsFileRec(name) == 2;
  if (TAPManagerMode == 1) return IsFileTAP(name) == 1;
  if (TAPManagerMode == 2) return true;
  return IsFileRec(name) == 1;
}

bool EndsInDel(const char* name) {
  size_t n = strlen(name);
  return n >= 4 && strcmp(name + n - 4, ".del") == 0;
}

// The known lines of the folder being scanned by name, so that a rescan of a large
// folder finds each entry without walking all lines before it. It answers exactly as
// FileExistsInList does: the first line in slot order with that folder path and name.
struct LineIndex {
  int* table = nullptr;  // slot numbers, 0 = empty
  unsigned mask = 0;

  static unsigned Hash(const char* name) {
    unsigned h = 2166136261u;
    for (int i = 0; i < NAME_FIELD && name[i]; i++) h = (h ^ (unsigned char)name[i]) * 16777619u;
    return h;
  }

  void Build(const char* path, int n, int count) {
    unsigned size = 64;
    while (size < (unsigned)count * 2) size *= 2;
    table = (int*)TAP_MemAlloc(size * sizeof(int));
    if (!table) return;  // the plain lookup serves
    memset(table, 0, size * sizeof(int));
    mask = size - 1;
    for (int j = 1; j <= count && j < MAX_SLOTS; j++) {
      FileRecord* r = FileSlot(n, j);
      if (!r || strncmp(r->folderPath, path, PATH_FIELD) != 0) continue;
      unsigned at = Hash(r->name) & mask;
      while (table[at] && strncmp(FileSlot(n, table[at])->name, r->name, NAME_FIELD) != 0)
        at = (at + 1) & mask;
      if (!table[at]) table[at] = j;  // the first line of a name wins
    }
  }

  // The slot of `name`, 0 when none.
  int Find(int n, const char* name) const {
    for (unsigned at = Hash(name) & mask; table[at]; at = (at + 1) & mask)
      if (strncmp(FileSlot(n, table[at])->name, name, NAME_FIELD) == 0) return table[at];
    return 0;
  }

  void Release() {
    if (table) TAP_MemFree(table);
    table = nullptr;
  }
};

// FileExistsInList, through the index when the folder has one.
bool Lookup(const LineIndex& index, const char* path, DirEntry* entry, int n, int* slot) {
  if (!index.table) return FileExistsInList(path, entry, n, slot);
  *slot = index.Find(n, entry->name);
  if (*slot) FileSlot(n, *slot)->present = 1;
  return *slot != 0;
}

}  // namespace

bool RecycledFileInUse(const char* folder, const char* name) {
  char file[PATH_BUFFER_SIZE];
  int length = (int)strlen(name);
  bool companion = length > 8 && (strcasecmp(name + length - 8, ".inf.del") == 0 ||
                                  strcasecmp(name + length - 8, ".nav.del") == 0);
  if (companion) {
    snprintf(file, sizeof file, "%.300s/%.*s.del", folder, length - 8, name);
  } else {
    snprintf(file, sizeof file, "%.300s/%.127s", folder, name);
  }
  return HDD_isFileInUse(file) != 0;
}

void ShowAllocationFailure(const char* where) {
  ShowMessageWinX(rgn, "TAP Memory Allocation Failure", "Unable to allocate enough memory", where,
                  1000);
}

FileRecord* ClaimSlot(int n, int slot, const char* where) {
  FileRecord*& r = FileSlot(n, slot);
  if (!r) r = (FileRecord*)TAP_MemAlloc(sizeof(FileRecord));
  if (!r) {
    ShowAllocationFailure(where);
    return nullptr;
  }
  memset(r, 0, sizeof *r);
  return r;
}

FolderRecord* ClaimFolder(int n, const char* where) {
  FolderRecord*& f = myfolders[n];
  if (!f) f = (FolderRecord*)TAP_MemAlloc(sizeof(FolderRecord));
  if (!f) {
    ShowAllocationFailure(where);
    return nullptr;
  }
  memset(f, 0, sizeof *f);
  return f;
}

bool FileExists(const char* path, DirEntry* entry, int folderNumber, int slot) {
  FileRecord* r = FileSlot(folderNumber, slot);
  // The name differs far more often than the folder, so it is compared first.
  if (!r || strncmp(r->name, entry->name, NAME_FIELD) != 0 ||
      strncmp(r->folderPath, path, PATH_FIELD) != 0)
    return false;
  r->present = 1;
  return true;
}

bool FileExistsInList(const char* path, DirEntry* entry, int folderNumber, int* slot) {
  *slot = 0;
  for (int s = 0; s <= 1; s++) {
    if (FileSlot(folderNumber, s)) continue;
    if (!ClaimSlot(folderNumber, s, "for 'myfiles' in 'FileExistsInList'")) {
      *slot = -1;  // the caller must not add the entry
      return false;
    }
  }
  // Slot 1 anchors the folder: another path means the index now belongs to another
  // folder, and every entry is added afresh.
  if (strncmp(FileSlot(folderNumber, 1)->folderPath, path, PATH_FIELD) != 0) return false;
  int count = myfolders[folderNumber] ? myfolders[folderNumber]->entryCount : 0;
  for (int j = 1; j <= count && j < MAX_SLOTS; j++) {
    if (FileExists(path, entry, folderNumber, j)) {
      *slot = j;
      return true;
    }
  }
  return false;
}

void AddCommonInfo(const char* path, int folderNumber, int slot, DirEntry* entry) {
  FileRecord* r = FileSlot(folderNumber, slot);
  if (!r) return;
  r->attribute = entry->attr;
  r->stamp = entry->stamp;
  r->inode = (dword)HDD_GetInodeByFolderAndFile(path, entry->name);
  snprintf(r->name, sizeof r->name, "%.126s", entry->name);
  snprintf(r->folderPath, sizeof r->folderPath, "%.199s", path);
  r->folderNumber = folderNumber;
  r->size = (uint64_t)entry->sizeHigh << 32 | entry->sizeLow;
  r->present = 1;
  r->playingNow = 0;
  r->recordingNow = 0;
}

bool AddNewFileChecked(const char* path, int folderNumber, int slot, DirEntry* entry) {
  FileRecord* r = ClaimSlot(folderNumber, slot, "for 'myfiles' in 'AddNewFile'");
  if (!r) return false;
  AddCommonInfo(path, folderNumber, slot, entry);
  FolderRecord* folder = myfolders[folderNumber];
  if (!recycleWindowMode && !TAPManagerMode && folder && AfterLastView(path, folderNumber, entry)) {
    r->isNew = 1;
    if (folder->newFileCount++ == 0) CascadeFolderHasNewChange(folder->parentNumber, 1);
  }
  FormatSortName(r->sortName, r->name);
  return true;
}

void AddNewFile(const char* path, int folderNumber, int slot, DirEntry* entry) {
  AddNewFileChecked(path, folderNumber, slot, entry);
}

bool AddNewFolderChecked(const char* path, int folderNumber, int slot, DirEntry* entry,
                         int newFolderNumber) {
  FileRecord* r = ClaimSlot(folderNumber, slot, "for 'myfiles' in 'AddNewFolder'");
  if (!r) return false;
  FolderRecord* f = ClaimFolder(newFolderNumber, "for 'myfolders' in 'AddNewFolder'");
  if (!f) {
    TAP_MemFree(r);
    FileSlot(folderNumber, slot) = nullptr;
    return false;
  }
  AddCommonInfo(path, folderNumber, slot, entry);
  r->size = 0;
  snprintf(r->sortName, sizeof r->sortName, "%s", r->name);
  r->folderNumber = newFolderNumber;
  snprintf(f->name, sizeof f->name, "%.126s", entry->name);
  f->folderNumber = newFolderNumber;
  f->parentNumber = folderNumber;
  char childPath[512];
  JoinFolderPath(childPath, sizeof childPath, path, entry->name);
  SetLastView(childPath, newFolderNumber);
  return true;
}

void AddNewFolder(const char* path, int folderNumber, int slot, DirEntry* entry,
                  int newFolderNumber) {
  AddNewFolderChecked(path, folderNumber, slot, entry, newFolderNumber);
}

bool AddNewParentFolderChecked(const char* path, int folderNumber, int slot, int parentNumber) {
  FileRecord* r = ClaimSlot(folderNumber, slot, "for 'myfiles' in 'AddNewParentFolder'");
  if (!r) return false;
  r->attribute = ATTRIBUTE_PARENT;
  strcpy(r->name, "..");
  strcpy(r->sortName, "..");
  snprintf(r->folderPath, sizeof r->folderPath, "%.199s", path);
  r->folderNumber = parentNumber;
  r->present = 1;
  return true;
}

void AddNewParentFolder(const char* path, int folderNumber, int slot, int parentNumber) {
  AddNewParentFolderChecked(path, folderNumber, slot, parentNumber);
}

namespace {
int ScanFolder(const char* path, int folderNumber, int parentNumber, int depth, int headerFolder);
}  // namespace

int LoadQuembryInfo(const char* path, int folderNumber, int parentNumber, int depth,
                    int headerFolder) {
  BeginServiceLookups();
  int result = ScanFolder(path, folderNumber, parentNumber, depth, headerFolder);
  EndServiceLookups();
  return result;
}

namespace {

int ScanFolder(const char* path, int folderNumber, int parentNumber, int depth, int headerFolder) {
  if (!path || folderNumber < 0 || folderNumber >= MAX_FOLDERS) return -1;
  FolderRecord* folder = myfolders[folderNumber];
  if (!folder && !(folder = ClaimFolder(folderNumber, "for 'myfolders' in 'AddNewFolder'")))
    return -1;

  memset(&file, 0, sizeof file);
  int total = (int)TAP_Hdd_FindFirst(&file, "*");

  // A rescan extends the existing picture; lines that are gone are dropped by the
  // caller's reconciliation, which keeps the counters right. (Starting an empty
  // folder from zero would leave its vanished lines, their subfolders and their
  // viewing progress behind.)
  int entryCount = folder->entryCount;
  int subfolderCount = folder->subfolderCount;
  int fileCount = folder->fileCount;
  uint64_t totalSize = folder->totalSize;
  int result = 0;

  // Known subfolders first, then new ones, each group in directory order.
  int capacity = total > 0 ? (total < MAX_FOLDERS ? total : MAX_FOLDERS) : 0;
  Subfolder* known = nullptr;
  Subfolder* added = nullptr;
  int knownCount = 0, addedCount = 0;
  if (capacity > 0 && depth > 0) {
    known = (Subfolder*)TAP_MemAlloc(sizeof(Subfolder) * capacity);
    added = (Subfolder*)TAP_MemAlloc(sizeof(Subfolder) * capacity);
  }

  if (!InDataFilesFolder(path) && !InProgramFilesFolder(path)) {
    memset(&newfile, 0, sizeof newfile);
    newfile.attr = ATTRIBUTE_PARENT;
    strcpy(newfile.name, "..");
    if (FileExists(path, &newfile, folderNumber, 1)) {
      if (entryCount < 1) entryCount = 1;
    } else if (entryCount > MAX_FOLDER_LINES - 1) {
      result = Fail(kParentLimit);
    } else if (AddNewParentFolderChecked(path, folderNumber, entryCount + 1, parentNumber)) {
      entryCount++;
    }
  }

  // Small folders do without the index; so does a folder whose index now belongs to
  // another path (every entry is then added afresh).
  LineIndex index;
  if (entryCount >= 32 && FileSlot(folderNumber, 0) && FileSlot(folderNumber, 1) &&
      strncmp(FileSlot(folderNumber, 1)->folderPath, path, PATH_FIELD) == 0)
    index.Build(path, folderNumber, entryCount);

  for (int i = 0; result == 0 && i < total; i++) {
    if (i > 0 && !TAP_Hdd_FindNext(&file)) break;
    file.name[sizeof file.name - 1] = 0;
    if (strlen(file.name) >= NAME_FIELD) continue;
    int slot = 0;
    if (file.attr == ATTRIBUTE_FILE) {
      if (recycleBinCleanoutOption == 1 && tapStartup && EndsInDel(file.name) &&
          !RecycledFileInUse(path, file.name) && TAP_Hdd_Delete(file.name))
        LogDeletion(path, file.name);
      if (!TakeFile(file.name)) continue;
      if (Lookup(index, path, &file, folderNumber, &slot)) {
        FileRecord* r = FileSlot(folderNumber, slot);
        // Replaced under the same name: same line, new file. A file that grew in place
        // (a recording in progress) takes its new size as well.
        dword inode = (dword)HDD_GetInodeByFolderAndFile(path, file.name);
        uint64_t size = (uint64_t)file.sizeHigh << 32 | file.sizeLow;
        if (inode != r->inode || size != r->size) {
          totalSize = totalSize - r->size + size;
          r->inode = inode;
          r->size = size;
        }
      } else if (slot < 0) {
        continue;
      } else if (entryCount > MAX_FOLDER_LINES - 1) {
        result = Fail(kFileLimit);
        break;
      } else {
        slot = entryCount + 1;
        if (!AddNewFileChecked(path, folderNumber, slot, &file)) continue;
        totalSize += FileSlot(folderNumber, slot)->size;
        entryCount++;
        fileCount++;
      }
      if (folderNumber == headerFolder) {
        LoadHeaderInfo(file.name, folderNumber, slot);
        if (InDataFilesFolder(path)) LoadRecordingInfo(folderNumber, slot);
      }
    } else if (file.attr == ATTRIBUTE_FOLDER) {
      int number;
      bool isKnown = Lookup(index, path, &file, folderNumber, &slot);
      if (isKnown) {
        number = FileSlot(folderNumber, slot)->folderNumber;
      } else if (slot < 0) {
        continue;
      } else if (entryCount > MAX_FOLDER_LINES - 1) {
        result = Fail(kFolderLimit);
        break;
      } else if (subfolderCount >= MAX_FOLDERS - 1 || numberOfFolders >= MAX_FOLDERS - 1) {
        result = Fail(kDirsLimit);
        break;
      } else {
        number = numberOfFolders + 1;
        if (!AddNewFolderChecked(path, folderNumber, entryCount + 1, &file, number)) continue;
        numberOfFolders = number;
        entryCount++;
        subfolderCount++;
      }
      Subfolder* list = isKnown ? known : added;
      int& count = isKnown ? knownCount : addedCount;
      // A name cut short would lead the scan into another folder, or none.
      if (list && count < capacity &&
          snprintf(list[count].name, NAME_FIELD, "%s", file.name) < NAME_FIELD) {
        list[count].number = number;
        count++;
      }
    }
  }

  index.Release();
  folder->entryCount = entryCount;
  folder->subfolderCount = subfolderCount;
  folder->fileCount = fileCount;
  folder->totalSize = totalSize;
  folder->parentNumber = parentNumber;

  if (result == 0 && depth > 0) {
    int visited = 0;
    for (int i = 0; i < knownCount + addedCount && visited < subfolderCount; i++, visited++) {
      const Subfolder& s = i < knownCount ? known[i] : added[i - knownCount];
      if (!s.name[0] || strcmp(s.name, "..") == 0 || strcmp(s.name, ".") == 0) break;
      if (s.number <= 0 || s.number >= MAX_FOLDERS || !myfolders[s.number] ||
          myfolders[s.number]->parentNumber != folderNumber)
        break;
      char child[512];
      if (!JoinFolderPath(child, sizeof child, path, s.name)) continue;
      // A folder that vanished since the listing is not entered: the scan would
      // otherwise read this folder again under the child's name.
      if (TAP_Hdd_ChangeDir(s.name) != 1) continue;
      result =
          ScanFolder(child, s.number, folderNumber, depth == 99 ? 99 : depth - 1, headerFolder);
      GotoPath(path);
      if (result < 0) break;
    }
  }
  if (known) TAP_MemFree(known);
  if (added) TAP_MemFree(added);
  return result;
}

}  // namespace
