// Deleting from the list: the confirmation, recycling (renaming to ".del"
// with the companions), permanent deletion of files and folders, and the
// multi-selection round that drives one confirmation per selected entry.
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/log.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"

int deleteWindowShowing;
int forceDeleteConfirmation;

namespace {

constexpr int kNameMax = 126;        // longest file name the recorder keeps
constexpr int kCompanionLength = 4;  // ".inf" and ".nav"
constexpr int kMaxRecycleCounter = 99999;
constexpr size_t kMaxExtension = 40;

// Works in the entry's folder and puts the application's folder back after.
class InEntryFolder {
 public:
  InEntryFolder() : pushed_(HDD_TAP_PushDir()) { entered_ = HDD_ChangeDir(currentFile.folderPath); }
  ~InEntryFolder() {
    if (pushed_) HDD_TAP_PopDir();
  }
  bool Entered() const { return entered_ != 0; }

 private:
  int pushed_;
  int entered_;
};

// Room for a companion name: the recording's name may take all 126
// characters, its ".inf" and ".nav" four more.
constexpr int kCompanionSize = kNameMax + kCompanionLength + 8;

}  // namespace

void FormBinName(const char* name, int counter, const char* companion, const char* marker,
                 char* out, int reserve) {
  const char* dot = strrchr(name, '.');
  // A "." far from the end starts no extension: the counter goes at the end.
  if (dot && strlen(dot) > kMaxExtension) dot = nullptr;
  int baseLength = dot ? (int)(dot - name) : (int)strlen(name);
  const char* extension = dot ? dot : "";
  char tail[160];
  if (counter > 0) {
    snprintf(tail, sizeof tail, "~%d%s%s%s", counter, extension, companion, marker);
  } else {
    snprintf(tail, sizeof tail, "%s%s%s", extension, companion, marker);
  }
  // Cut as if the longest companion of the three were there, so that all
  // three keep one base.
  int extra = reserve - (int)strlen(companion);
  int room = kNameMax - (int)strlen(tail) - (extra > 0 ? extra : 0);
  if (room < 0) room = 0;
  if (baseLength > room) baseLength = room;
  int tailLength = (int)strlen(tail);
  if (tailLength > kNameMax) tailLength = kNameMax;
  memcpy(out, name, (size_t)baseLength);
  memcpy(out + baseLength, tail, (size_t)tailLength);
  out[baseLength + tailLength] = 0;
}

namespace {

void FormRecycledName(const char* name, int counter, const char* companion, char* out,
                      int reserve) {
  FormBinName(name, counter, companion, ".del", out, reserve);
}

// The companion of a recording or recycled recording: x.rec.inf,
// x.rec.inf.del (out holds kCompanionSize bytes).
void CompanionName(const char* name, const char* companion, char* out) {
  size_t length = strlen(name);
  if (IsFileRec(name) == 2) {
    snprintf(out, kCompanionSize, "%.*s%s.del", (int)(length - 4), name, companion);
  } else {
    snprintf(out, kCompanionSize, "%s%s", name, companion);
  }
}

bool Exists(const char* name) { return name[0] && TAP_Hdd_Exist(name); }

// Deletes a file of the current folder; true when it is gone.
bool DeleteFile(const char* name) { return TAP_Hdd_Delete(name) && !TAP_Hdd_Exist(name); }

void ShowMessage(const char* title, const char* line1, const char* line2) {
  DisplayMessageWindow(title, line1, line2, nullptr);
  TAP_Osd_Sync();
}

void ShowFailure(AppText& title, const char* line1, const char* line2) {
  ShowMessage(Text(title), line1, line2);
}

// Removes the entry at the system path `path`, a folder with everything in
// it, never leaving the device `device`: a folder of another device (a
// drive, a mount) is not entered, so it and the folders above it stay.
// True when `path` is gone.
bool RemoveOnDevice(const char* path, dev_t device) {
  struct stat st;
  if (lstat(path, &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) return unlink(path) == 0;
  if (st.st_dev != device) return false;
  DIR* dir = opendir(path);
  if (!dir) return false;
  while (dirent* entry = readdir(dir)) {
    if (!strcmp(entry->d_name, ".") || !strcmp(entry->d_name, "..")) continue;
    char inner[PATH_BUFFER_SIZE * 2];
    if (snprintf(inner, sizeof inner, "%s/%s", path, entry->d_name) >= (int)sizeof inner) continue;
    RemoveOnDevice(inner, device);
  }
  closedir(dir);
  return rmdir(path) == 0;
}

// Deletes the folder `name` of the firmware folder `folder`: with
// `removeContents` everything in it, else only when it is empty. A folder
// that is or holds a mount point is left whole.
bool RemoveFolder(const char* folder, const char* name, int removeContents) {
  // Only a folder's own name: anything else would reach the folder that
  // holds it, or beyond.
  if (!name[0] || !strcmp(name, ".") || !strcmp(name, "..") || strchr(name, '/')) return false;
  char path[PATH_BUFFER_SIZE];
  int n = snprintf(path, sizeof path, "%s%s/%s", SYSTEM_ROOT, folder, name);
  if (n <= 0 || n >= (int)sizeof path || MountAtOrBelow(path) != IN_USE_None) return false;
  struct stat st;
  if (lstat(path, &st) != 0) return false;
  if (!removeContents || !S_ISDIR(st.st_mode)) {
    return (S_ISDIR(st.st_mode) ? rmdir(path) : unlink(path)) == 0;
  }
  return RemoveOnDevice(path, st.st_dev);
}

}  // namespace

// Writes `value` into `out` between double quotes that the shell keeps
// closed: the characters special inside them ($ ` " \) get a backslash.
bool AppendShellQuoted(char* out, int size, const char* value) {
  int used = (int)strlen(out);
  if (used + 1 >= size) return false;
  out[used++] = '"';
  for (const char* c = value; *c; c++) {
    if (*c == '$' || *c == '`' || *c == '"' || *c == '\\') {
      if (used + 1 >= size) return false;
      out[used++] = '\\';
    }
    if (used + 1 >= size) return false;
    out[used++] = *c;
  }
  if (used + 1 >= size) return false;
  out[used++] = '"';
  out[used] = 0;
  return true;
}

void ForceTimestampUpdate(const char* path) {
  TYPE_File* file = TAP_Hdd_Fopen(path);
  if (!file) return;
  byte first;
  if (TAP_Hdd_Flen(file) > 0 && TAP_Hdd_Fread(&first, 1, 1, file) == 1) {
    TAP_Hdd_Fseek(file, 0, SEEK_SET);
    TAP_Hdd_Fwrite(&first, 1, 1, file);
  }
  TAP_Hdd_Fclose(file);
}

void RecycleAction() {
  fileDeleted = 0;
  if (!GuardDestructiveAction(currentFile.folderPath, currentFile.name,
                              Text(text_FileDeleteNotAllowed), 0))
    return;
  InEntryFolder folder;
  const char* name = currentFile.name;
  if (!folder.Entered() || !Exists(name)) {
    ShowFailure(text_RecycleFailureTitle, Text(text_ErrorRenaming), name);
    return;
  }
  // The companions go along whatever the length of the name; when the
  // recycled names must be shortened, all three are shortened alike, so that
  // a restore finds them together.
  char inf[kCompanionSize], nav[kCompanionSize];
  CompanionName(name, ".inf", inf);
  CompanionName(name, ".nav", nav);
  bool companions = Exists(inf) || Exists(nav);
  int reserve = companions ? kCompanionLength : 0;
  char target[128], targetInf[128] = "", targetNav[128] = "";
  int counter = 0;
  for (;; counter++) {
    if (counter > kMaxRecycleCounter) {
      ShowFailure(text_RecycleFailureTitle, Text(text_RecycleTooMany), name);
      return;
    }
    FormRecycledName(name, counter, "", target, reserve);
    if (companions) {
      FormRecycledName(name, counter, ".inf", targetInf, reserve);
      FormRecycledName(name, counter, ".nav", targetNav, reserve);
    }
    if (!Exists(target) && !Exists(targetInf) && !Exists(targetNav)) break;
  }
  bool hasInf = Exists(inf), hasNav = Exists(nav);
  bool fileRenamed = TAP_Hdd_Rename(name, target) != 0;
  bool infRenamed = fileRenamed && hasInf && TAP_Hdd_Rename(inf, targetInf) != 0;
  bool navRenamed = fileRenamed && hasNav && TAP_Hdd_Rename(nav, targetNav) != 0;
  bool success = fileRenamed && (hasNav ? navRenamed : (!hasInf || infRenamed));
  if (success) {
    fileDeleted = 1;
    ForceTimestampUpdate(target);
    return;
  }
  char line1[256], line2[160];
  snprintf(line1, sizeof line1, "%.100s: '%.127s'", Text(text_ErrorRenaming), name);
  snprintf(line2, sizeof line2, Text(text_RenameTo), target);
  ShowFailure(text_RecycleFailureTitle, line1, line2);
}

void DeleteAction(int isFile) {
  fileDeleted = 0;
  AppText& refused = isFile ? text_FileDeleteNotAllowed : text_FolderDeleteNotAllowed;
  if (!GuardDestructiveAction(currentFile.folderPath, currentFile.name, Text(refused), 0)) return;
  AppText& title = isFile ? text_DeleteFailedTitle : text_FolderDeleteFailedTitle;
  AppText& line1 = isFile ? text_DeleteFailedLine1 : text_FolderDeleteFailedLine1;
  char shown[128];
  snprintf(shown, sizeof shown, "%.126s", currentFile.name);
  InEntryFolder folder;
  const char* name = currentFile.name;
  bool ok = folder.Entered() && name[0];
  if (ok && isFile && IsFileRec(name) > 0) {
    static const char* const companions[] = {".inf", ".nav"};
    for (const char* companion : companions) {
      char companionName[kCompanionSize];
      CompanionName(name, companion, companionName);
      if (ok && Exists(companionName)) ok = DeleteFile(companionName);
    }
  }
  if (ok && isFile) {
    ok = DeleteFile(name);
  } else if (ok) {
    // The result is judged by what is left on the disk.
    RemoveFolder(currentFile.folderPath, name, folderDeleteOption);
    ok = !TAP_Hdd_Exist(name);
  }
  if (ok) {
    fileDeleted = 1;
    LogDeletion(currentFile.folderPath, name);
  } else {
    ShowFailure(title, Text(line1), shown);
  }
}

void DeleteFileFolder() {
  if (currentFile.playingNow) {
    TYPE_PlayInfo info;
    memset(&info, 0, sizeof info);
    if (TAP_Hdd_GetPlayInfo(&info) && info.playMode != PLAYMODE_None) TAP_Hdd_StopTs();
  }
  if (currentFile.attribute == ATTRIBUTE_FOLDER) {
    DeleteAction(0);
  } else if (forceDeleteNotRecycle || recycleBinOption == 0) {
    DeleteAction(1);
  } else {
    RecycleAction();
  }
}

void ReturnFromDeleteYesNo(int answer) {
  if (answer == 1) {
    DeleteFileFolder();
  } else {
    fileDeleted = 0;
  }
  // A refused or failed item ends the multi-selection round: offering the
  // same item again would only repeat the failure.
  if (!fileDeleted) fileDeleted_MultiSelect = 0;
  returnFromDelete = 1;
  deleteWindowShowing = 0;
}

void ActivateDeleteWindow(const char* name, dword attribute) {
  int forced = forceDeleteConfirmation;
  forceDeleteConfirmation = 0;
  bool isFolder = attribute == ATTRIBUTE_FOLDER;
  if (isFolder && folderDeleteOption == 0) {
    int number = currentFile.folderNumber;
    FolderRecord* record = number >= 0 && number < MAX_FOLDERS ? myfolders[number] : nullptr;
    if (record && (record->subfolderCount > 0 || record->fileCount > 0)) {
      fileDeleted_MultiSelect = 0;
      ShowMessage(Text(text_FolderDeleteNotAllowed), Text(text_FolderNotEmptyA),
                  Text(text_FolderNotEmptyB));
      return;
    }
  }
  if (!isFolder && currentFile.recordingNow) {
    fileDeleted_MultiSelect = 0;
    ShowMessage(Text(text_FileDeleteNotAllowed), Text(text_FileRecordingA),
                Text(text_FileRecordingB));
    return;
  }
  // The played file itself may go: the delete stops its playback first.
  if (!GuardDestructiveAction(
          currentFile.folderPath, currentFile.name,
          Text(isFolder ? text_FolderDeleteNotAllowed : text_FileDeleteNotAllowed),
          GUARD_PlaybackStops)) {
    fileDeleted_MultiSelect = 0;
    return;
  }
  fileDeleted = 0;
  int option = forceDeleteNotRecycle ? 0 : recycleBinOption;

  char line1[256];
  const char* title;
  const char* question;
  if (isFolder) {
    title = Text(text_FolderDeleteConfirmTitle);
    snprintf(line1, sizeof line1, "%.70s: %.127s", Text(text_FolderWord), name);
    question = Text(text_DeleteThisFolder);
  } else {
    title = Text(text_DeleteConfirmTitle);
    snprintf(line1, sizeof line1, "%.127s", name);
    question = option == 1 || option == 2 ? Text(text_RecycleThisFile) : Text(text_DeleteThisFile);
  }

  bool atOnce = !isFolder && option == 2 && !forced;
  if (MultiSelect && !((option == 2 && isFolder) || forced)) atOnce = true;
  if (atOnce) {
    ReturnFromDeleteYesNo(1);
    return;
  }
  DisplayYesNoWindow(title, line1, question, Text(text_Yes), Text(text_No),
                     DeleteConfirmDefault == 1 ? 0 : 1, ReturnFromDeleteYesNo);
  deleteWindowShowing = 1;
  // The window must show now, not with whatever draws next.
  TAP_Osd_Sync();
}

void DeleteRecycledFile() {
  DeleteAction(1);
  returnFromDelete = 1;
}

void ReturnFromMultiSelectDeleteYesNo(int answer) {
  if (answer != 1 || !MultiSelect) return;
  MultiSelectItem* item = MultiSelect;
  MultiSelect_CheckFileNumber(item);
  bool valid = item->folderNumber >= 0 && item->folderNumber < MAX_FOLDERS &&
               item->entryIndex > 0 && item->entryIndex < MAX_SLOTS;
  FileRecord* line = valid ? FileSlot(item->folderNumber, item->entryIndex) : nullptr;
  if (!line) return;
  delete_CurrentDirNumber = item->folderNumber;
  delete_chosenLine = item->entryIndex;
  currentFile = *line;
  if (myfolders[item->folderNumber]) currentFolder = *myfolders[item->folderNumber];
  ActivateDeleteWindow(line->name, line->attribute);
}

void initialiseQuembryDelete() {
  delete_CurrentDirNumber = 0;
  delete_chosenLine = 0;
  fileDeleted = 0;
  fileDeleted_MultiSelect = 0;
  returnFromDelete = 0;
  deleteWindowShowing = 0;
  forceDeleteNotRecycle = 0;
  forceDeleteConfirmation = 0;
}

void initialiseQuembryRecycle() {
  recycleWindowMode = 0;
  returnFromRecycleBinWindowEmpty = 0;
  returnFromRecycleBinEmpty = 0;
  allrecycleWindowShowing = 0;
}
