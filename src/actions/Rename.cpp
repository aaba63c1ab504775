// Renaming the entry of the information window on the on-screen keyboard,
// creating folders, and the record that lets the next start finish renaming
// a recording that a power cut interrupted.
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/log.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"

char suffixRename[127];
char renameString[256];

namespace {

constexpr int kNameMax = 126;           // longest name the catalogue keeps
constexpr int kRecordingNameMax = 122;  // room for the ".inf" and ".nav" names
constexpr int kKeyboardMax = 122;

// The pending rename: the old and the new system path of a recording, each
// in its own half, zero-padded. Names hold no zero byte, whatever else.
#define RENAME_RECORD_NAME "SkerrowbyRename.dat"
constexpr int kRecordSize = 2 * PATH_BUFFER_SIZE;

const char* const kCompanions[2] = {".inf", ".nav"};

// Works in a folder and puts the application's folder back after.
class InFolder {
 public:
  explicit InFolder(const char* folder) : pushed_(HDD_TAP_PushDir()) {
    entered_ = HDD_ChangeDir(folder);
  }
  ~InFolder() {
    if (pushed_) HDD_TAP_PopDir();
  }
  bool Entered() const { return entered_ != 0; }

 private:
  int pushed_;
  int entered_;
};

void Message(AppText& title, const char* line1, const char* line2, dword delay = 300) {
  ShowMessageWinX(rgn, Text(title), line1, line2, delay);
}

// Base and extension: the extension runs from the last "." (of a recycled
// name, from the "." before ".del"); a name without "." has none.
void SplitExtension(const char* name, char* base, char* extension) {
  size_t length = strlen(name);
  size_t searchEnd = length > 4 && strcasecmp(name + length - 4, ".del") == 0 ? length - 4 : length;
  const char* dot = nullptr;
  for (size_t i = 0; i < searchEnd; i++) {
    if (name[i] == '.') dot = name + i;
  }
  if (!dot) dot = strrchr(name, '.');
  size_t baseLength = dot ? (size_t)(dot - name) : length;
  snprintf(base, 256, "%.*s", (int)baseLength, name);
  snprintf(extension, sizeof suffixRename, "%.126s", name + baseLength);
}

// Cuts a text to at most `limit` bytes without splitting a UTF-8 character.
void CutAtCharacter(char* text, int limit) {
  int at = 0;
  for (const char* p = text; *p;) {
    byte length;
    isUTF8Char(p, &length);
    if (at + length > limit) break;
    at += length;
    p += length;
  }
  text[at] = 0;
}

void TrimTrailingBlanks(char* text) {
  size_t length = strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = 0;
}

// Every character of a UTF-8 text has a single-byte form.
bool FitsSingleByte(const char* text) {
  for (const char* p = text; *p;) {
    byte length;
    if (UTF8ToUTF32(p, &length) > 255) return false;
    p += length;
  }
  return true;
}

// The name as the keyboard edits it: in the single-byte encoding where that
// loses no character (a name that has none stays as it is).
void ToKeyboardText(const char* name, char* out) {
  if (isUTFToppy() && FitsSingleByte(name)) {
    StrToISO(name, out);
  } else {
    strcpy(out, name);
  }
}

// The typed text made into a legal name: illegal characters dropped, the
// firmware's encoding, trailing blanks gone, and cut on a character so that
// base and extension together hold at most `limit` bytes. False (and the
// cleaned text in `out` for the message) when nothing usable is left.
bool FormNewName(const char* typed, const char* extension, int limit, char* out) {
  char text[256];
  snprintf(text, sizeof text, "%s", typed);
  MakeValidFileName(text, LC_Control);  // also drops a selector byte
  char utf[PATH_BUFFER_SIZE + 256];
  if (isUTFToppy()) {
    StrToUTF8(text, utf, 1);
  } else {
    strcpy(utf, text);
  }
  CutAtCharacter(utf, PATH_BUFFER_SIZE - 1);
  MakeValidFileName(utf, LC_Control);
  MakeValidFileName(utf, LC_Reserved);
  TrimTrailingBlanks(utf);
  int room = limit - (int)strlen(extension);
  CutAtCharacter(utf, room < 0 ? 0 : room);
  TrimTrailingBlanks(utf);
  snprintf(out, PATH_BUFFER_SIZE, "%s%s", utf, extension);
  return utf[0] && strcmp(out, ".") != 0 && strcmp(out, "..") != 0;
}

bool Exists(const char* name) { return name[0] && TAP_Hdd_Exist(name); }

// Renames a file of the current folder; true when it went.
bool RenameHere(const char* from, const char* to) {
  TAP_Hdd_Rename(from, to);
  return TAP_Hdd_Exist(to) && !TAP_Hdd_Exist(from);
}

// The list line that currentFile was copied from.
FileRecord* CurrentLine() {
  FolderRecord* folder = CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS
                             ? myfolders[CurrentDirNumber]
                             : nullptr;
  if (!folder) return nullptr;
  for (int j = 0; j <= folder->entryCount && j < MAX_SLOTS; j++) {
    int slot = j == 0 ? chosenLine : j;  // the selected line first
    FileRecord* line = slot > 0 && slot < MAX_SLOTS ? FileSlot(CurrentDirNumber, slot) : nullptr;
    if (line && strcmp(line->name, currentFile.name) == 0 &&
        strcmp(line->folderPath, currentFile.folderPath) == 0)
      return line;
  }
  return nullptr;
}

// Replaces `from` at the start of a folder path (whole components only) by
// `to`; false when the path is not below `from` or the result would not fit.
bool ReplacePathPrefix(char* path, int size, const char* from, const char* to) {
  size_t length = strlen(from);
  if (strncmp(path, from, length) != 0 || (path[length] && path[length] != '/')) return false;
  char result[PATH_BUFFER_SIZE];
  int n = snprintf(result, sizeof result, "%s%s", to, path + length);
  if (n < 0 || n >= size) return false;
  strcpy(path, result);
  return true;
}

// Whether every folder path below `from` still fits the records as `to`.
bool FolderPathsFit(const char* from, const char* to) {
  if ((int)strlen(to) >= PATH_FIELD) return false;
  for (int n = 0; n <= numberOfFolders && n < MAX_FOLDERS; n++) {
    if (!myfolders[n]) continue;
    for (int j = 1; j <= myfolders[n]->entryCount && j < MAX_SLOTS; j++) {
      FileRecord* line = FileSlot(n, j);
      if (!line) continue;
      char path[PATH_BUFFER_SIZE];
      snprintf(path, sizeof path, "%s", line->folderPath);
      size_t length = strlen(from);
      if (strncmp(path, from, length) == 0 && (!path[length] || path[length] == '/') &&
          !ReplacePathPrefix(path, PATH_FIELD, from, to))
        return false;
    }
  }
  return true;
}

// The lines below a renamed folder carry its new path, and so do the
// last-view stamps, so that the rescan finds every line again (with its
// viewing progress) instead of taking it for a new one.
void MoveFolderPaths(const char* from, const char* to) {
  for (int n = 0; n <= numberOfFolders && n < MAX_FOLDERS; n++) {
    if (!myfolders[n]) continue;
    for (int j = 1; j <= myfolders[n]->entryCount && j < MAX_SLOTS; j++) {
      FileRecord* line = FileSlot(n, j);
      if (line) ReplacePathPrefix(line->folderPath, PATH_FIELD, from, to);
    }
  }
  for (int i = 0; i <= numberOfFolderLastViewInfo && i < MAX_FOLDERS; i++) {
    ReplacePathPrefix(folderLastViewInfo[i].path, NAME_FIELD, from, to);
  }
}

void RedrawInfo(int option) {
  infoCommandOption = option;
  if (infoWindowShowing) DisplayQuembryInfoWindow(0);
}

void RenameFolderInCatalogue(FileRecord* line, const char* newName) {
  char from[PATH_BUFFER_SIZE], to[PATH_BUFFER_SIZE];
  snprintf(from, sizeof from, "%.199s/%.126s", currentFile.folderPath, currentFile.name);
  snprintf(to, sizeof to, "%.199s/%.126s", currentFile.folderPath, newName);
  MoveFolderPaths(from, to);
  folderRenamed = 1;
  if (!line) return;
  snprintf(line->sortName, sizeof line->sortName, "%.126s", newName);
  int number = line->folderNumber;
  if (number > 0 && number < MAX_FOLDERS && myfolders[number]) {
    snprintf(myfolders[number]->name, sizeof myfolders[number]->name, "%.126s", newName);
  }
}

// The system path of `name` in the firmware folder `folder`.
bool SystemPath(const char* folder, const char* name, char* out) {
  int n =
      snprintf(out, PATH_BUFFER_SIZE, "/mnt/hd%s%s/%s", folder[0] == '/' ? "" : "/", folder, name);
  return n > 0 && n < PATH_BUFFER_SIZE;
}

// Whether a system path names a file below the data folder: under its
// prefix, with no "." or ".." component that could lead out of it again.
bool IsDataFilePath(const char* path) {
  static const char kDataFolder[] = SYSTEM_ROOT "/DataFiles/";
  if (strncmp(path, kDataFolder, sizeof kDataFolder - 1) != 0) return false;
  for (const char* part = path + sizeof kDataFolder - 1; *part;) {
    size_t length = strcspn(part, "/");
    if (length == 0 || (length == 1 && part[0] == '.') ||
        (length == 2 && part[0] == '.' && part[1] == '.'))
      return false;
    part += length;
    if (*part == '/') part++;
  }
  return true;
}

void DeleteRenameRecord() {
  int pushed = HDD_TAP_PushDir();
  if (ChangeToSettingsFolder() && TAP_Hdd_Exist(RENAME_RECORD_NAME))
    TAP_Hdd_Delete(RENAME_RECORD_NAME);
  if (pushed) HDD_TAP_PopDir();
}

// The companion `companion` of the recording at system path `path`.
bool CompanionPath(const char* path, const char* companion, char* out) {
  int n = snprintf(out, PATH_BUFFER_SIZE, "%s%s", path, companion);
  return n > 0 && n < PATH_BUFFER_SIZE;
}

bool PathExists(const char* path) { return HDD_Exist(path) != 0; }

// Renames the companions of a recording that has its new name already;
// true when none is left behind under the old one.
bool RenameCompanions(const char* from, const char* to) {
  bool complete = true;
  for (const char* companion : kCompanions) {
    char oldPath[PATH_BUFFER_SIZE], newPath[PATH_BUFFER_SIZE];
    if (!CompanionPath(from, companion, oldPath) || !CompanionPath(to, companion, newPath))
      continue;
    if (!PathExists(oldPath)) continue;
    if (PathExists(newPath) || rename(oldPath, newPath) != 0) complete = false;
  }
  return complete;
}

}  // namespace

void initialiseQuembryRename() {
  returnFromRename = 0;
  fileRenamed = 0;
  folderRenamed = 0;
}

void RenamePlayedFileEntries(dword inode, const char* oldName, const char* newName) {
  bool changed = false;
  for (int i = 0; i <= numberOfPlayedFiles && i < MAX_PLAYED_FILES; i++) {
    PlayedFileEntry* entry = playedFiles[i];
    if (!entry || entry->inode != inode || strncmp(entry->name, oldName, NAME_FIELD) != 0) continue;
    snprintf(entry->name, sizeof entry->name, "%.126s", newName);
    changed = true;
  }
  if (changed) SaveDatToFile();
}

bool RenameRecordingSafely(const char* from, const char* to) {
  if (!strrchr(from, '/') || !strrchr(to, '/')) return false;
  char record[kRecordSize];
  memset(record, 0, sizeof record);
  snprintf(record, PATH_BUFFER_SIZE, "%s", from);
  snprintf(record + PATH_BUFFER_SIZE, PATH_BUFFER_SIZE, "%s", to);
  // Without the record a cut would strand the companions: nothing is renamed.
  if (!WriteSettingsFile(RENAME_RECORD_NAME, record, sizeof record)) return false;
  if (PathExists(to) || rename(from, to) != 0) {
    DeleteRenameRecord();
    return false;
  }
  // The history follows while the record still stands for it.
  RenamePlayedFileEntries((dword)HDD_GetInodeByFileName(to), strrchr(from, '/') + 1,
                          strrchr(to, '/') + 1);
  // A companion that cannot follow now stays recorded for the next start.
  if (RenameCompanions(from, to)) DeleteRenameRecord();
  return true;
}

void FinishInterruptedRename() {
  char record[kRecordSize + 1];
  memset(record, 0, sizeof record);
  if (!ReadSettingsFile(RENAME_RECORD_NAME, record, kRecordSize)) return;
  const char* from = record;
  const char* to = record + PATH_BUFFER_SIZE;
  record[PATH_BUFFER_SIZE - 1] = 0;
  // Only recordings of the data folder are ever renamed this way: a record
  // that names anything else was not written here, and is not followed.
  if (!IsDataFilePath(from) || !IsDataFilePath(to)) {
    WriteLog("Dropped a rename record whose paths do not both lie below /DataFiles");
    DeleteRenameRecord();
    return;
  }
  // The recording itself went: its companions follow, and so does its history.
  if (!PathExists(from) && PathExists(to)) {
    RenameCompanions(from, to);
    if (strrchr(from, '/') && strrchr(to, '/')) {
      RenamePlayedFileEntries((dword)HDD_GetInodeByFileName(to), strrchr(from, '/') + 1,
                              strrchr(to, '/') + 1);
    }
  }
  WriteLog("Finished a rename that was interrupted");
  DeleteRenameRecord();
}

void EditFileName() {
  char name[256], base[256];
  ToKeyboardText(currentFile.name, name);
  SplitExtension(name, base, suffixRename);
  MakeValidFileName(base, LC_Control);
  MakeValidFileName(base, LC_Reserved);
  returnFromRename = 0;
  snprintf(renameString, sizeof renameString, "%s", base);
  ActivateKeyboard(renameString, kKeyboardMax, ReturnFromRenameKeyboard, 0);
}

void ReturnFromRenameKeyboard(const char* text, int result) {
  returnFromRename = 1;
  if (result != 1 || !text) {
    RedrawInfo(2);
    return;
  }
  bool folder = currentFile.attribute == ATTRIBUTE_FOLDER;
  bool recording = !folder && IsFileRec(currentFile.name) == 1;
  // The extension was taken in the keyboard's encoding.
  char extension[PATH_BUFFER_SIZE] = "";
  if (!folder) {
    if (isUTFToppy()) {
      StrToUTF8(suffixRename, extension, 1);
    } else {
      snprintf(extension, sizeof extension, "%s", suffixRename);
    }
  }
  char newName[PATH_BUFFER_SIZE];
  if (!FormNewName(text, extension, recording ? kRecordingNameMax : kNameMax, newName)) {
    char line2[160];
    snprintf(line2, sizeof line2, "'%.126s'", text);
    Message(text_RenameFailed, Text(text_NotAValidName), line2);
    RedrawInfo(2);
    return;
  }
  if (strcmp(newName, currentFile.name) == 0) {
    RedrawInfo(2);
    return;
  }
  // The firmware and the copies keep reading and writing under the old path.
  if (!GuardDestructiveAction(currentFile.folderPath, currentFile.name, Text(text_RenameNotAllowed),
                              0)) {
    RedrawInfo(2);
    return;
  }
  InFolder here(currentFile.folderPath);
  char oldPath[PATH_BUFFER_SIZE], newPath[PATH_BUFFER_SIZE];
  char oldInf[NAME_FIELD] = "", oldNav[NAME_FIELD] = "", newInf[NAME_FIELD] = "",
       newNav[NAME_FIELD] = "";
  if (recording) {
    MakeInfNavNames(currentFile.name, oldInf, oldNav);
    MakeInfNavNames(newName, newInf, newNav);
  }
  if (Exists(newName) || Exists(newInf) || Exists(newNav)) {
    Message(text_RenameFailed, Text(text_SameFileExists), "");
    RedrawInfo(2);
    return;
  }
  if (folder) {
    char from[PATH_BUFFER_SIZE], to[PATH_BUFFER_SIZE];
    snprintf(from, sizeof from, "%.199s/%.126s", currentFile.folderPath, currentFile.name);
    snprintf(to, sizeof to, "%.199s/%.126s", currentFile.folderPath, newName);
    if (!FolderPathsFit(from, to)) {
      Message(text_RenameFailed, Text(text_PathTooLong), "");
      RedrawInfo(2);
      return;
    }
  }
  bool withCompanions = recording && (Exists(oldInf) || Exists(oldNav));
  bool renamed;
  if (withCompanions && here.Entered() &&
      SystemPath(currentFile.folderPath, currentFile.name, oldPath) &&
      SystemPath(currentFile.folderPath, newName, newPath)) {
    renamed = RenameRecordingSafely(oldPath, newPath);
  } else {
    renamed = here.Entered() && RenameHere(currentFile.name, newName);
  }
  if (!renamed) {
    char line1[200], line2[200];
    snprintf(line1, sizeof line1, "%.50s: '%.127s'", Text(text_ErrorRenaming), currentFile.name);
    snprintf(line2, sizeof line2, "to: '%.190s'", newName);
    Message(text_RenameFailed, line1, line2, 1000);
    RedrawInfo(2);
    return;
  }
  fileRenamed = 1;
  int option = 0;
  FileRecord* line = CurrentLine();
  if (folder) {
    RenameFolderInCatalogue(line, newName);
  } else {
    if (!withCompanions) RenamePlayedFileEntries(currentFile.inode, currentFile.name, newName);
    if (line) FormatSortName(line->sortName, newName);
    bool left = (oldInf[0] && Exists(oldInf)) || (oldNav[0] && Exists(oldNav));
    if (left) {
      char line1[200];
      snprintf(line1, sizeof line1, Text(text_ErrorRenamingCompanions), Text(text_ErrorRenaming),
               currentFile.name);
      Message(text_RenameFailed, line1, Text(text_ManualRecovery), 1000);
      fileRenamed = 0;
      option = 2;
    }
  }
  snprintf(currentFile.name, sizeof currentFile.name, "%.126s", newName);
  if (line) {
    snprintf(line->name, sizeof line->name, "%.126s", newName);
    if (!folder) snprintf(currentFile.sortName, sizeof currentFile.sortName, "%s", line->sortName);
  }
  RedrawInfo(option);
}

// ------------------------------------------------------------ new folders

namespace {

// The limits of the catalogue; true (after the message) when one is reached.
bool FolderLimitReached() {
  FolderRecord* folder = myfolders[CurrentDirNumber];
  if (folder->entryCount > 998) {
    Message(text_FolderCreateFailed, Text(text_MaxFilesExceeded), Text(text_TooManyFiles));
    return true;
  }
  if (folder->subfolderCount > 398 || numberOfFolders > 398) {
    Message(text_FolderCreateFailed, Text(text_MaxDirsExceeded), Text(text_ChangeFolderDepth));
    return true;
  }
  return false;
}

bool ShownFolderValid() {
  return CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS && myfolders[CurrentDirNumber];
}

// Enters the new folder into the catalogue without a rescan and makes it the
// chosen line.
void AddFolderToCatalogue(const char* name) {
  FolderRecord* folder = myfolders[CurrentDirNumber];
  int number = numberOfFolders + 1;
  int slot = folder->entryCount + 1;
  DirEntry entry;
  memset(&entry, 0, sizeof entry);
  entry.attr = ATTRIBUTE_FOLDER;
  entry.stamp = PackedNow();
  snprintf(entry.name, sizeof entry.name, "%.126s", name);
  AddNewFolder(CurrentDir, CurrentDirNumber, slot, &entry, number);
  if (!FileSlot(CurrentDirNumber, slot) || !myfolders[number]) return;
  numberOfFolders = number;
  folder->entryCount = slot;
  folder->subfolderCount++;
  char path[PATH_BUFFER_SIZE];
  snprintf(path, sizeof path, "%.*s/%.*s", 127, CurrentDir, 127, name);
  AddNewParentFolder(path, number, 1, CurrentDirNumber);
  FolderRecord* created = myfolders[number];
  created->entryCount = 1;
  created->subfolderCount = 0;
  created->fileCount = 0;
  created->folderNumber = number;
  created->parentNumber = CurrentDirNumber;
  numberOfFiles = maxShown = folder->entryCount;
  SortList(sortOrder);
  chosenLine = 0;
  for (int j = 1; j <= folder->entryCount && j < MAX_SLOTS; j++) {
    FileRecord* line = FileSlot(CurrentDirNumber, j);
    if (line && strcmp(line->sortName, name) == 0) {
      chosenLine = j;
      break;
    }
  }
  DeterminePrintingLine(chosenLine);
}

}  // namespace

void CreateNewFolder() {
  if (!ShownFolderValid() || FolderLimitReached()) return;
  InFolder here(CurrentDir);
  if (!here.Entered()) {
    // A pulled drive's folder, or one removed behind the list's back.
    Message(text_FolderCreateFailed, Text(text_FolderUnreachable), CurrentDir);
    return;
  }
  char name[32] = "";
  for (int n = 1; n <= 99; n++) {
    snprintf(name, sizeof name, "FOLDER %02d", n);
    if (!TAP_Hdd_Exist(name)) break;
    name[0] = 0;
  }
  if (!name[0]) {
    Message(text_FolderCreateFailed, Text(text_AllFoldersBetween), Text(text_AllFoldersExist));
    return;
  }
  snprintf(renameString, sizeof renameString, "%s", name);
  ActivateKeyboard(renameString, kKeyboardMax, ReturnFromNewFolderKeyboard, 0);
}

void ReturnFromNewFolderKeyboard(const char* text, int result) {
  if (result != 1 || !text || !ShownFolderValid()) return;
  char name[PATH_BUFFER_SIZE];
  char path[PATH_BUFFER_SIZE];
  if (!FormNewName(text, "", kNameMax, name)) {
    char line2[160];
    snprintf(line2, sizeof line2, "'%.126s'", text);
    Message(text_FolderCreateFailed, Text(text_NotAValidName), line2);
    return;
  }
  if (FolderLimitReached()) return;
  if (snprintf(path, sizeof path, "%s/%s", CurrentDir, name) >= PATH_FIELD) {
    Message(text_FolderCreateFailed, Text(text_PathTooLong), "");
    return;
  }
  {
    InFolder here(CurrentDir);
    if (Exists(name)) {
      Message(text_FolderCreateFailed, Text(text_SameFolderExists), name);
      return;
    }
    if (!here.Entered() || !TAP_Hdd_Create(name, ATTR_FOLDER) || !TAP_Hdd_Exist(name)) {
      Message(text_FolderCreateFailed, Text(text_CannotCreateFolder), name);
      return;
    }
  }
  AddFolderToCatalogue(name);
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}
