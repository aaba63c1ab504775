// The recycle bin: restoring a recycled file, emptying the bin on request
// (a folder, the whole tree), collecting every recycled file, and the
// automatic cleanouts by age and by free-space threshold.
//
// Nothing here reaches a shell: files go with the firmware's own delete and
// rename calls, so no name needs quoting. Only recycled recordings (and,
// in the manager view's list, recycled application files) are ever
// deleted; folders are entered, never removed, and a file the firmware
// plays or records stays whatever its name.
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/log.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

AllRecycleEntry* allrecycleFiles[MAX_ALL_RECYCLE + 1];
int numberOfAllRecycleEntries;
int numberOfAllRecycleBin;
uint64_t sizeOfRecycleBin;
int printAllRecycleLine, chosenAllRecycleLine;
int returnFromRecycleBinEmpty;

namespace {

constexpr int kNameMax = 126;
constexpr int kMaxRestoreCounter = 99999;
constexpr int kMaxSubfolders = 399;  // remembered per folder; further ones are not visited
constexpr int kFolderNameSize = 128;

// What one walk over the bin could not delete: shown once the walk is over,
// so that no redraw of the list can hide the message.
int cleanoutFailures;
char cleanoutFailedName[kNameMax + 1];
// Why the last recycled file left in place for being in use stayed.
int cleanoutKeptReason;

bool Exists(const char* name) { return name[0] && TAP_Hdd_Exist(name); }

bool EndsInDelMarker(const char* name) {
  size_t length = strlen(name);
  return length > 4 && strcasecmp(name + length - 4, ".del") == 0;
}

// Deletes a recycled file of the current folder `folder` with its recycled
// companions. A file in use by the firmware is left alone; one that
// survives the delete is noted for the failure message.
void DeleteRecycledTrio(const char* folder, const char* name) {
  if (RecycledFileInUse(folder, name)) return;
  int reason = CheckEntryInUse(folder, name, 0);
  if (reason != IN_USE_None) {
    cleanoutKeptReason = reason;
    return;
  }
  char inf[128], nav[128];
  MakeInfNavNames(name, inf, nav);
  TAP_Hdd_Delete(name);
  if (Exists(inf)) TAP_Hdd_Delete(inf);
  if (Exists(nav)) TAP_Hdd_Delete(nav);
  if (!Exists(name)) LogDeletion(folder, name);
  if (Exists(name) || Exists(inf) || Exists(nav)) {
    cleanoutFailures++;
    snprintf(cleanoutFailedName, sizeof cleanoutFailedName, "%.126s", name);
  }
}

// Whether a directory entry is a recycled file of the bin being collected.
bool IsRecycledForList(const char* name) {
  return TAPManagerMode ? IsFileTAP(name) == 2 : IsFileRec(name) == 2;
}

typedef void (*RecycledVisitor)(const char* folder, const TYPE_DirEntry& entry);

// Visits the recycled files of the current firmware folder, which is
// `folder`, and with `recursive` those of its subfolders on the same mount
// (any mount with RecycleBinCleanExternal). The current folder is `folder`
// again afterwards, or the walk stops where it could not get back.
void WalkBin(const char* folder, int recursive, bool forList, RecycledVisitor visit) {
  char mount[PATH_BUFFER_SIZE] = "";
  HDD_FindMountPoint(folder, mount);
  char* subfolders = recursive ? (char*)TAP_MemAlloc(kMaxSubfolders * kFolderNameSize) : nullptr;
  int count = 0;
  TYPE_DirEntry entry;
  int total = (int)TAP_Hdd_FindFirst(&entry, "*");
  for (int i = 0; i < total; i++) {
    if (i > 0 && !TAP_Hdd_FindNext(&entry)) break;
    entry.name[sizeof entry.name - 1] = 0;
    if (entry.attr == ATTR_NORMAL) {
      bool recycled = forList ? IsRecycledForList(entry.name) : IsFileRec(entry.name) == 2;
      if (recycled) visit(folder, entry);
    } else if (entry.attr == ATTR_FOLDER && subfolders && count < kMaxSubfolders &&
               strcmp(entry.name, "..") && strcmp(entry.name, ".")) {
      snprintf(subfolders + count * kFolderNameSize, kFolderNameSize, "%s", entry.name);
      count++;
    }
  }
  for (int i = 0; i < count; i++) {
    char sub[1024];
    snprintf(sub, sizeof sub, "%.*s/%.*s", 895, folder, 127, subfolders + i * kFolderNameSize);
    if (!RecycleBinCleanExternal && !CheckSameMount(sub, mount)) continue;
    if (!HDD_ChangeDir(sub)) continue;
    WalkBin(sub, 1, forList, visit);
    // Deleting anywhere but in `folder` would hit files of the same name elsewhere.
    if (!HDD_ChangeDir(folder)) break;
  }
  if (subfolders) TAP_MemFree(subfolders);
}

void DeleteVisitor(const char* folder, const TYPE_DirEntry& entry) {
  DeleteRecycledTrio(folder, entry.name);
}

void CollectVisitor(const char* folder, const TYPE_DirEntry& entry) {
  uint64_t size = (uint64_t)entry.sizeHigh << 32 | entry.sizeLow;
  sizeOfRecycleBin += size;
  numberOfAllRecycleBin++;
  if (numberOfAllRecycleEntries >= MAX_ALL_RECYCLE) return;
  int slot = numberOfAllRecycleEntries + 1;
  if (!allrecycleFiles[slot]) {
    allrecycleFiles[slot] = (AllRecycleEntry*)TAP_MemAlloc(sizeof(AllRecycleEntry));
    if (!allrecycleFiles[slot]) return;
  }
  AllRecycleEntry* record = allrecycleFiles[slot];
  memset(record, 0, sizeof *record);
  snprintf(record->name, sizeof record->name, "%.126s", entry.name);
  snprintf(record->folder, sizeof record->folder, "%.199s", folder);
  record->stamp = entry.stamp;
  record->sizeMB = (dword)((size + (1u << 19)) >> 20);
  numberOfAllRecycleEntries = slot;
}

// Empties the bin of `folder` (entered first) and goes back to the list's
// folder. False when something stayed; the message is then up.
bool EmptyFolderBin(const char* folder, int recursive) {
  cleanoutFailures = 0;
  cleanoutKeptReason = IN_USE_None;
  if (HDD_ChangeDir(folder)) WalkBin(folder, recursive, false, DeleteVisitor);
  GotoPath(CurrentDir);
  return cleanoutFailures == 0;
}

// After emptying by hand: the notice, and the list reloaded by the key
// router. When files stayed, the list is redrawn first and the failure shown
// over it, where it stays until answered.
void FinishEmptying(bool emptied, AppText& notice, int* returnFlag) {
  RestoreMessageWinTemp(rgn);
  // What stayed for being in use is said instead of "emptied".
  if (emptied && cleanoutKeptReason != IN_USE_None) {
    ShowEntryInUse(cleanoutKeptReason, Text(text_BinTitle));
    *returnFlag = 1;
    return;
  }
  if (emptied) {
    ShowMessageWinX(rgn, Text(text_BinTitle), Text(notice), "", 300);
    *returnFlag = 1;
    return;
  }
  if (returnFlag == &returnFromRecycleBinWindowEmpty && windowShowing) {
    reloadInitialQuembryInfo(0, CurrentDirNumber);
    RefreshQuembryList(1);
  }
  ShowCleanoutFailure();
}

void ShowEmptying() {
  ShowMessageWinTemp(rgn, Text(text_BinTitle), Text(text_EmptyingBin), Text(text_PleaseWait));
}

void AskToEmpty(AppText& line1, void (*callback)(int answer)) {
  DisplayYesNoWindow(Text(text_EmptyBinTitle), Text(line1), Text(text_AreYouSure), Text(text_Yes),
                     Text(text_No), 1, callback);
}

// Deletes a collected record's file and companions in its folder.
void DeleteRecord(const AllRecycleEntry* record) {
  if (!record || !HDD_ChangeDir(record->folder)) return;
  DeleteRecycledTrio(record->folder, record->name);
}

}  // namespace

void ShowCleanoutFailure() {
  if (cleanoutFailures == 0) return;
  DisplayMessageWindow(Text(text_BinTitle), Text(text_CleanoutFailed), cleanoutFailedName,
                       ReturnFromMessageWindow);
}

// ------------------------------------------------------------ restore

void RecycleRestoreAction() {
  fileDeleted = 0;
  const char* name = currentFile.name;
  char line1[256], line2[160];
  int pushed = HDD_TAP_PushDir();
  bool entered = HDD_ChangeDir(currentFile.folderPath) != 0;
  if (entered && !GuardDestructiveAction(currentFile.folderPath, name, Text(text_BinTitle), 0)) {
    if (pushed) HDD_TAP_PopDir();
    return;
  }
  if (!entered || !EndsInDelMarker(name) || !Exists(name)) {
    snprintf(line1, sizeof line1, "%.100s: '%.127s'", Text(text_ErrorRenaming), name);
    DisplayMessageWindow(Text(text_RecycleFailureTitle), line1, "", ReturnFromMessageWindow);
    if (pushed) HDD_TAP_PopDir();
    return;
  }
  char base[128];
  snprintf(base, sizeof base, "%.*s", (int)strlen(name) - 4, name);
  bool companions = strlen(base) + 4 < 127;
  // The recycled companions: MakeInfNavNames gives none when they would not fit.
  char inf[128] = "", nav[128] = "";
  if (companions) MakeInfNavNames(name, inf, nav);
  char target[128], targetInf[128] = "", targetNav[128] = "";
  int counter = 0;
  for (;; counter++) {
    if (counter > kMaxRestoreCounter) {
      DisplayMessageWindow(Text(text_RecycleFailureTitle), Text(text_RecycleTooMany), name,
                           ReturnFromMessageWindow);
      if (pushed) HDD_TAP_PopDir();
      return;
    }
    // Shortened for a counter, the three keep one base.
    int reserve = companions ? 4 : 0;
    FormBinName(base, counter, "", "", target, reserve);
    if (companions) {
      FormBinName(base, counter, ".inf", "", targetInf, reserve);
      FormBinName(base, counter, ".nav", "", targetNav, reserve);
    }
    if (!Exists(target) && !Exists(targetInf) && !Exists(targetNav)) break;
  }
  bool hasInf = Exists(inf), hasNav = Exists(nav);
  bool fileRenamed = TAP_Hdd_Rename(name, target) != 0;
  bool infRenamed = fileRenamed && hasInf && TAP_Hdd_Rename(inf, targetInf) != 0;
  bool navRenamed = fileRenamed && hasNav && TAP_Hdd_Rename(nav, targetNav) != 0;
  if (pushed) HDD_TAP_PopDir();
  if (fileRenamed && (hasNav ? navRenamed : (!hasInf || infRenamed))) {
    fileDeleted = 1;
    returnFromDelete = 1;
    if (counter > 0) {
      ShowMessageWinX(rgn, Text(text_FileRestoredTitle), Text(text_FileRestoredLine1), target, 300);
    }
    return;
  }
  snprintf(line1, sizeof line1, "%.100s: '%.127s'", Text(text_ErrorRenaming), name);
  snprintf(line2, sizeof line2, Text(text_RenameTo), target);
  DisplayMessageWindow(Text(text_RecycleFailureTitle), line1, line2, ReturnFromMessageWindow);
}

// ------------------------------------------------------------ emptying on request

void EmptyRecycleBin() { AskToEmpty(text_EmptyBinAll, ReturnFromEmptyBinYesNo); }
void DeleteAllRecycleBinWindow() { AskToEmpty(text_EmptyBinAll, ReturnFromAllRecycleBinYesNo); }
void DeleteDirRecycleBinWindow() { AskToEmpty(text_EmptyBinThis, ReturnFromDirRecycleBinYesNo); }

void ReturnFromEmptyBinYesNo(int answer) {
  if (answer != 1) return;
  ShowEmptying();
  char folder[sizeof CurrentDir];
  snprintf(folder, sizeof folder, "%s", CurrentDir);
  FinishEmptying(EmptyFolderBin(folder, 1), text_BinEmptied, &returnFromRecycleBinEmpty);
}

void ReturnFromAllRecycleBinYesNo(int answer) {
  if (answer != 1) return;
  ShowEmptying();
  FinishEmptying(EmptyFolderBin("/DataFiles", 1), text_BinEmptied,
                 &returnFromRecycleBinWindowEmpty);
}

void ReturnFromDirRecycleBinYesNo(int answer) {
  if (answer != 1) return;
  ShowEmptying();
  char folder[sizeof CurrentDir];
  snprintf(folder, sizeof folder, "%s", CurrentDir);
  FinishEmptying(EmptyFolderBin(folder, 0), text_DirBinEmptied, &returnFromRecycleBinWindowEmpty);
}

void DeleteDirRecycleFiles(const char* folder, int recursive) {
  cleanoutFailures = 0;
  WalkBin(folder, recursive, false, DeleteVisitor);
  ShowCleanoutFailure();
}

// ------------------------------------------------------------ collecting, automatic cleanouts

void ReleaseAllRecycleEntries() {
  for (AllRecycleEntry*& record : allrecycleFiles) {
    if (record) TAP_MemFree(record);
    record = nullptr;
  }
  numberOfAllRecycleEntries = 0;
  numberOfAllRecycleBin = 0;
  sizeOfRecycleBin = 0;
  printAllRecycleLine = 0;
  chosenAllRecycleLine = 0;
}

void PopulateAllRecycleEntries() {
  numberOfAllRecycleEntries = 0;
  numberOfAllRecycleBin = 0;
  sizeOfRecycleBin = 0;
  const char* top = TAPManagerMode ? "/ProgramFiles" : "/DataFiles";
  int pushed = HDD_TAP_PushDir();
  if (HDD_ChangeDir(top)) WalkBin(top, 1, true, CollectVisitor);
  if (pushed) HDD_TAP_PopDir();
  // Oldest first; equal times keep the order they were found in.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 1; i < numberOfAllRecycleEntries; i++) {
      if (allrecycleFiles[i]->stamp > allrecycleFiles[i + 1]->stamp) {
        AllRecycleEntry* held = allrecycleFiles[i];
        allrecycleFiles[i] = allrecycleFiles[i + 1];
        allrecycleFiles[i + 1] = held;
        swapped = true;
      }
    }
  }
}

bool DeleteOldestRecycled() {
  bool own = !allrecycleWindowShowing;
  if (own) PopulateAllRecycleEntries();
  dword freeGB = TAP_Hdd_FreeSize() / 1024;
  dword threshold = (dword)recycleBinThresholdOption;
  dword need = freeGB < threshold ? threshold - freeGB : 0;
  dword takenMB = 0;
  cleanoutFailures = 0;
  int pushed = HDD_TAP_PushDir();
  for (int i = 1; i <= numberOfAllRecycleEntries && takenMB / 1024 < need; i++) {
    DeleteRecord(allrecycleFiles[i]);
    takenMB += allrecycleFiles[i]->sizeMB;
  }
  if (pushed) HDD_TAP_PopDir();
  if (own) ReleaseAllRecycleEntries();
  return cleanoutFailures == 0;
}

void EmptyOldestRecycleBin() {
  DeleteOldestRecycled();
  ShowCleanoutFailure();
}

void EmptyRecycleBinAfterXDays(word mjd, byte hour) {
  bool own = !allrecycleWindowShowing;
  if (own) PopulateAllRecycleEntries();
  cleanoutFailures = 0;
  int pushed = HDD_TAP_PushDir();
  for (int i = 1; i <= numberOfAllRecycleEntries; i++) {
    const AllRecycleEntry* record = allrecycleFiles[i];
    dword expires = (record->stamp >> 16) + (dword)RecycleBinAfterXDays;
    byte recycledHour = (byte)(record->stamp >> 8);
    if (expires > mjd || (expires == mjd && recycledHour >= hour)) break;
    DeleteRecord(record);
  }
  if (pushed) HDD_TAP_PopDir();
  if (own) ReleaseAllRecycleEntries();
  ShowCleanoutFailure();
}
