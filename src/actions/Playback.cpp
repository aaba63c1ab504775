// Starting playback: a line of the list (a recording, a media file, a
// recording still in progress), the last played file, the next file of the
// multi-selection, and the jump to where the user stopped watching.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "apps/apps.h"
#include "apps/texts.h"
#include "catalogue/History.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/ListScreen.h"

namespace {

// Blocks replayed before a saved position, so that the user sees where they were.
constexpr dword kResumeLeadBlocks = 60;

void CopyName(char* destination, size_t size, const char* source) {
  size_t length = source ? strnlen(source, size - 1) : 0;
  if (length) memcpy(destination, source, length);
  destination[length] = 0;
}

void GenerateKey(dword key) { TAP_GenerateEvent(EVT_KEY, KeyReverseTranslate(key), 0); }

// The media player and the work-folder functions of the firmware, resolved once.
typedef bool (*StartPlaybackMediaFn)(const char*, dword, bool, bool);
typedef void (*VoidFn)(void);
typedef void (*SetWorkFolderFn)(void*);
typedef dword (*SelectFolderFn)(void*, const char*);

struct MediaFunctions {
  bool resolved;
  StartPlaybackMediaFn startPlaybackMedia;
  VoidFn saveWorkFolder;
  VoidFn restoreWorkFolder;
  SetWorkFolderFn setWorkFolder;
  SelectFolderFn selectFolder;
  dword* divxFolder;
};
MediaFunctions media;

// 0 when every function is there, else the number of the first one missing.
int ResolveMediaFunctions() {
  if (!media.resolved) {
    media.startPlaybackMedia =
        reinterpret_cast<StartPlaybackMediaFn>(TryResolve("_Z23Appl_StartPlaybackMediaPKcjbb"));
    media.saveWorkFolder = reinterpret_cast<VoidFn>(TryResolve("_Z22ApplHdd_SaveWorkFolderv"));
    media.restoreWorkFolder =
        reinterpret_cast<VoidFn>(TryResolve("_Z25ApplHdd_RestoreWorkFolderv"));
    media.setWorkFolder =
        reinterpret_cast<SetWorkFolderFn>(TryResolve("_Z21ApplHdd_SetWorkFolderPv"));
    media.selectFolder =
        reinterpret_cast<SelectFolderFn>(TryResolve("_Z20ApplHdd_SelectFolderPvPKc"));
    media.divxFolder = static_cast<dword*>(TryResolve("_hddDivxFolder"));
    media.resolved = true;
  }
  if (!media.startPlaybackMedia) return 2;
  if (!media.saveWorkFolder) return 3;
  if (!media.restoreWorkFolder) return 4;
  if (!media.setWorkFolder) return 5;
  if (!media.selectFolder) return 6;
  if (!media.divxFolder) return 7;
  return 0;
}

// Looks through the current folder, then its subfolders (most recently met
// first), for `name` with `inode`; plays it. -1 when it is nowhere.
int SearchAndPlay(const char* name, dword inode, int depth) {
  char here[PATH_BUFFER_SIZE];
  if (!HDD_TAP_GetCurrentDir(here)) return -1;
  // Folder names collected on the way, searched after the files of this folder.
  static const int kMaxFolders = 64;
  char(*folders)[NAME_FIELD] =
      static_cast<char(*)[NAME_FIELD]>(TAP_MemAlloc(kMaxFolders * NAME_FIELD));
  int folderCount = 0;
  int result = -1;
  TYPE_DirEntry entry;
  memset(&entry, 0, sizeof entry);
  dword count = TAP_Hdd_FindFirst(&entry, "*");
  for (dword i = 0; i < count; i++) {
    if (i > 0 && !TAP_Hdd_FindNext(&entry)) break;
    if (entry.attr == ATTR_FOLDER) {
      if (folders && folderCount < kMaxFolders && strcmp(entry.name, ".") != 0 &&
          strcmp(entry.name, "..") != 0) {
        CopyName(folders[folderCount++], NAME_FIELD, entry.name);
      }
      continue;
    }
    if (strcmp(entry.name, name) != 0) continue;
    if ((dword)HDD_GetInodeByFolderAndFile(here, name) != inode) continue;
    if (inPlaybackMode) TAP_Hdd_StopTs();
    char infName[NAME_FIELD + 4];
    snprintf(infName, sizeof infName, "%s.inf", name);
    result = -9;
    if (TAP_Hdd_Exist(infName)) result = TAP_Hdd_PlayTs(name);
    if (result != 0) result = PlayMediafile(name);
    break;
  }
  // A depth limit keeps a looping mount from recursing without end.
  for (int k = folderCount - 1; result == -1 && k >= 0 && depth < 32; k--) {
    if (TAP_Hdd_ChangeDir(folders[k]) != 1) continue;
    result = SearchAndPlay(name, inode, depth + 1);
    if (result == 0) break;  // stay in the folder of the file that plays
    TAP_Hdd_ChangeDir("..");
    if (result != -1) break;
  }
  if (folders) TAP_MemFree(folders);
  return result;
}

}  // namespace

int PlayMediafile(const char* name) {
  int missing = ResolveMediaFunctions();
  if (missing) return missing;
  media.saveWorkFolder();
  char here[PATH_BUFFER_SIZE];
  char path[PATH_BUFFER_SIZE + 8];
  if (!HDD_TAP_GetCurrentDir(here)) here[0] = 0;
  snprintf(path, sizeof path, "mnt/hd%s", here);
  dword folder[4];
  memset(folder, 0, sizeof folder);
  folder[0] = 0xBACAED31u;
  int result = (int)media.selectFolder(folder, path);
  if (result == 0) {
    media.setWorkFolder(folder);
    memcpy(media.divxFolder, folder, sizeof folder);
    result = media.startPlaybackMedia(name, 0, true, false) ? 1 : 0;
  }
  media.restoreWorkFolder();
  return result;
}

void JumpToLastPosition(dword position, dword total) {
  if (position > total || position == 0xFFFFFFFFu) position = 0;
  if (total == 0 || total == 0xFFFFFFFFu) total = 1;
  // 64-bit product: positions of long recordings times 100 exceed 32 bits.
  dword percent = (dword)((uint64_t)position * 100 / total);
  dword target = 0;
  if (percent < (dword)CompletelyWatchedPercent) {
    target = position > kResumeLeadBlocks ? position - kResumeLeadBlocks : 0;
  }
  TAP_Hdd_ChangePlaybackPos(target);
}

void JumpToINF(const char* infPath, int) {
  dword resume = 0;
  TYPE_File* f = TAP_Hdd_Fopen(infPath);
  if (f) {
    byte* buffer = static_cast<byte*>(TAP_MemAlloc(RECHEADER_BUFFER_SIZE));
    RECHeaderInfo* info = static_cast<RECHeaderInfo*>(TAP_MemAlloc(sizeof(RECHeaderInfo)));
    if (buffer && info) {
      memset(buffer, 0, RECHEADER_BUFFER_SIZE);
      TAP_Hdd_Fread(buffer, 1, RECHEADER_BUFFER_SIZE, f);
      if (HDD_DecodeRECHeader(buffer, info, 0)) resume = info->resumeBlock;
    }
    if (buffer) TAP_MemFree(buffer);
    if (info) TAP_MemFree(info);
    TAP_Hdd_Fclose(f);
  }
  TAP_Delay(50);  // the firmware needs a moment before it reports the length
  // Room behind the record for a firmware that writes a longer one.
  struct {
    TYPE_PlayInfo info;
    dword guard;
  } play;
  memset(&play, 0, sizeof play);
  TAP_Hdd_GetPlayInfo(&play.info);
  dword total = play.info.totalBlock;
  if (resume != 0 && resume < total) JumpToLastPosition(resume, total);
}

int StartPlayback(const char* name, int resume) {
  char infName[NAME_FIELD];
  snprintf(infName, sizeof infName, "%.122s.inf", name);
  int c = -9;
  if (TAP_Hdd_Exist(infName)) c = TAP_Hdd_PlayTs(name);
  if (c != 0) {
    int b = PlayMediafile(name);
    if (b != 0) {
      char line1[128], line2[160];
      snprintf(line1, sizeof line1, "%.20s #%d/#%d %.30s", Text(text_ReturnCode), c, b,
               Text(text_WhenTryingToPlay));
      snprintf(line2, sizeof line2, "%.10s: %.127s", Text(text_File), name);
      ShowMessageWinX(rgn, Text(text_StartFailedTitle), line1, line2, 300);
      return b;
    }
  }
  if (resume == 1) {
    FileRecord* line = chosenLine > 0 ? FileSlot(CurrentDirNumber, chosenLine) : nullptr;
    if (line && line->hasHistory) {
      JumpToLastPosition(line->positionBlock, line->totalBlocks);
    } else {
      JumpToINF(infName, 0);
    }
  }
  return 0;
}

namespace {

// Plays a recording still in progress from its start: tune to its channel and
// let the firmware jump back (Play, Previous, Play). False when it cannot.
bool PlayRecordingNow(const FileRecord* line) {
  if (line->serviceNumber == -1) {
    if (!Appl_GetAnalogEncoderState || !Appl_AnalogChangeAction) {
      ShowMessageWinX(rgn, Text(text_CannotJumpTitle), Text(text_NoRecordingOnChannel),
                      Text(text_CannotJumpB), 1000);
      return false;
    }
    TAP_Hdd_StopTs();
    if (Appl_GetAnalogEncoderState() != 0) Appl_AnalogChangeAction();
  } else {
    if (!TAP_Channel_Start(1, (int)line->serviceType, line->serviceNumber)) {
      ShowMessageWinX(rgn, Text(text_CannotJumpTitle), Text(text_UnableToChangeChannels),
                      Text(text_CannotJumpA), 1000);
      return false;
    }
    bool found = false;
    for (byte slot = 0; slot < 4 && !found; slot++) {
      TYPE_RecInfo info;
      memset(&info, 0, sizeof info);
      if (!TAP_Hdd_GetRecInfo(slot, &info)) continue;
      if (info.recType == RECTYPE_None) continue;
      found = info.svcType == line->serviceType && (int)info.svcNum == line->serviceNumber;
    }
    if (!found) {
      ShowMessageWinX(rgn, Text(text_CannotJumpTitle), Text(text_NoRecordingOnChannel),
                      Text(text_CannotJumpB), 1000);
      return false;
    }
    if (Appl_GetAnalogEncoderState && Appl_AnalogChangeAction) {
      for (int tries = 0; tries < 4 && Appl_GetAnalogEncoderState() != 0; tries++) {
        TAP_Hdd_StopTs();
        Appl_AnalogChangeAction();
      }
    }
  }
  GenerateKey(RKEY_Play);
  GenerateKey(RKEY_Prev);
  GenerateKey(RKEY_Play);
  return true;
}

}  // namespace

void RestartPlayback(int slot, int resume) {
  FileRecord* line = slot > 0 ? FileSlot(CurrentDirNumber, slot) : nullptr;
  if (!line) return;
  if (TAPManagerMode) {
    if (line->attribute == ATTRIBUTE_FILE && !IsFileTAP_Active(line->name, line->folderPath)) {
      TYPE_TapHeader header;
      if (!HDD_TAP_GetInfo(line->name, &header)) {
        ShowMessageWinX(rgn, Text(text_StartFailedTapTitle), Text(text_StartFailedTapLine1),
                        line->name, 300);
        return;
      }
      CopyName(TAPManager_TAP_name, sizeof TAPManager_TAP_name, line->name);
      CopyName(TAPManager_TAP_directory, sizeof TAPManager_TAP_directory, line->folderPath);
      TAPManager_multiphase = TAPManager_closeFirst ? 2 : 1;
      TAPManager_multistep = 1;
    }
    return;
  }
  if (line->recordingNow) {
    PlayRecordingNow(line);
    exitFlag = 1;
    return;
  }
  if (StartPlayback(line->name, resume) == 0) exitFlag = 1;
}

int RestartLastPlayback() {
  if (!processInBackground) MultiSelectClearAll();
  PlayedFileEntry* last = playedFiles[0];
  char name[NAME_FIELD];
  CopyName(name, sizeof name, last ? last->name : "");
  dword inode = last ? last->inode : 0;
  GotoDataFiles();
  int result = name[0] ? PlayTs(name, inode) : -1;
  if (result != 0) {
    char line1[128], line2[160];
    snprintf(line1, sizeof line1, "%.20s #%d %.30s", Text(text_ReturnCode), result,
             Text(text_WhenTryingToPlay));
    snprintf(line2, sizeof line2, "%.10s: %.127s", Text(text_File), name);
    ShowMessageWinX(rgn, Text(text_RestartFailedTitle), line1, line2, 300);
    GotoPath(CurrentDir);
    return result;
  }
  // The entry may have changed while the search ran (never: one thread), but
  // it is read again rather than trusted from before the search.
  if (playedFiles[0])
    JumpToLastPosition(playedFiles[0]->positionBlock, playedFiles[0]->totalBlocks);
  return 0;
}

int PlayTs(const char* name, dword inode) {
  if (!name || !name[0]) return -1;
  return SearchAndPlay(name, inode, 0);
}

void MultiSelectStartPlayback(int, int) {
  MultiSelectItem* item = MultiSelect;
  if (!item) return;
  int folder = item->folderNumber;
  int slot = item->entryIndex;
  FileRecord* line = (folder >= 0 && folder < MAX_FOLDERS && slot > 0 && slot < MAX_SLOTS)
                         ? FileSlot(folder, slot)
                         : nullptr;
  if (!line || line->inode != item->inode || strncmp(line->name, item->name, NAME_FIELD) != 0) {
    ShowMessageWinX(rgn, Text(text_MultiNotFoundTitle), Text(text_MultiNotFoundB),
                    Text(text_ClearingMultiSelect), 300);
    MultiSelectClearAll();
  } else {
    if (folder != CurrentDirNumber && myfolders[folder]) {
      char path[PATH_FIELD];
      CopyName(path, sizeof path, line->folderPath);
      char readBack[PATH_BUFFER_SIZE];
      if (GotoPath(path) && HDD_TAP_GetCurrentDir(readBack) && strcmp(readBack, path) == 0) {
        SetCurrentDir(path);
        CurrentDirNumber = folder;
        chosenLine = 0;
        numberOfFiles = maxShown = myfolders[folder]->entryCount;
      }
    }
    if (folder == CurrentDirNumber) {
      RestartPlayback(slot, 0);
      MultiSelectClearFirst();
    } else {
      ShowMessageWinX(rgn, Text(text_MultiNotFoundTitle), Text(text_MultiNotFoundA),
                      Text(text_ClearingMultiSelect), 300);
      MultiSelectClearAll();
    }
  }
  if (windowShowing && !exitFlag) RefreshQuembryList(0);
}
