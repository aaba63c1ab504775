// Watching progress: what the firmware plays, sampled into the viewing
// history on every idle event, and copied into the lines of the catalogue.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "catalogue/History.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"

namespace {

// The play information with a guard word right behind it: a firmware that
// writes a longer record than this build knows overwrites the guard instead
// of the globals that follow.
struct GuardedPlayInfo {
  TYPE_PlayInfo info;
  dword guard;
};
GuardedPlayInfo playInfoArea;

constexpr dword kMaxTrackedBlocks = 999999999;

// An overrun was reported and no read has succeeded since.
bool overrunReported;

// Reads the play information; false after an overrun. The message comes once
// per run of overruns: tracking reads on every idle event, and a message of
// ten seconds each time would leave the recorder unusable.
bool ReadPlayInfo(AppText& where) {
  memset(&playInfoArea, 0, sizeof playInfoArea);
  playInfoArea.guard = 1;
  TAP_Hdd_GetPlayInfo(&playInfoArea.info);
  iOverRunCheck = playInfoArea.guard;
  if (iOverRunCheck != 1) {
    if (!overrunReported) {
      ShowMessageWinX(rgn, Text(text_PlaybackInfoErrorTitle), Text(text_PlaybackInfoOverrun),
                      Text(where), 1000);
    }
    overrunReported = true;
    return false;
  }
  overrunReported = false;
  return true;
}

bool Playing(const TYPE_PlayInfo& info) {
  return info.playMode == PLAYMODE_Playing || info.playMode == PLAYMODE_Media;
}

void TakePlayedFile(const TYPE_PlayInfo& info) {
  if (info.file) {
    memcpy(&CurrentPlaybackFile, info.file, sizeof CurrentPlaybackFile);
    CurrentPlaybackFile.name[sizeof CurrentPlaybackFile.name - 1] = 0;
  } else {
    CurrentPlaybackFile = blankFile;
  }
  memcpy(&CurrentPlaybackEvent, &info.evtInfo, sizeof CurrentPlaybackEvent);
}

// System path of the file the firmware plays ("" when it cannot tell).
void PlayedFilePath(char* path, size_t size) {
  path[0] = 0;
  TYPE_File** playFile = static_cast<TYPE_File**>(TryResolve("_hddPlayFile"));
  if (playFile && *playFile) {
    snprintf(path, size, "%s", (*playFile)->path);
  } else if (CurrentPlaybackFile.name[0]) {
    snprintf(path, size, "/mnt/hd%.199s/%.127s", CurrentDir, CurrentPlaybackFile.name);
  }
}

// The played entry's name without its header suffix.
void PlainName(const char* entryName, char* name) {
  snprintf(name, NAME_FIELD, "%.126s", entryName);
  size_t length = strlen(name);
  if (length >= 5 && strcmp(name + length - 4, ".inf") == 0) name[length - 4] = 0;
}

bool SameFile(const PlayedFileEntry* entry, dword inode, const char* name) {
  return entry && entry->inode == inode && strncmp(entry->name, name, NAME_FIELD) == 0;
}

// Index 1 .. numberOfPlayedFiles of the entry for this file, 0 when none.
int FindPlayedFile(dword inode, const char* name) {
  for (int i = 1; i <= numberOfPlayedFiles && i < MAX_PLAYED_FILES; i++) {
    if (SameFile(playedFiles[i], inode, name)) return i;
  }
  return 0;
}

PlayedFileEntry* LastPlayedEntry() {
  if (!playedFiles[0]) {
    playedFiles[0] = static_cast<PlayedFileEntry*>(TAP_MemAlloc(sizeof(PlayedFileEntry)));
    if (playedFiles[0]) memset(playedFiles[0], 0, sizeof(PlayedFileEntry));
  }
  return playedFiles[0];
}

FileRecord* Line(int folder, int slot) {
  if (folder < 0 || folder >= MAX_FOLDERS || slot < 1 || slot >= MAX_SLOTS) return nullptr;
  return FileSlot(folder, slot);
}

}  // namespace

dword iOverRunCheck;
DirEntry CurrentPlaybackFile;
TYPE_TapEvent CurrentPlaybackEvent;
TYPE_PlayInfo CurrentPlaybackInfo;
int inPlaybackMode;

void GetPlaybackInfo() {
  if (!ReadPlayInfo(text_InGetPlaybackInfo)) return;
  CurrentPlaybackInfo = playInfoArea.info;
  if (Playing(playInfoArea.info)) {
    inPlaybackMode = 1;
    TakePlayedFile(playInfoArea.info);
  } else {
    inPlaybackMode = 0;
    CurrentPlaybackFile = blankFile;
  }
}

dword HDD_GetInodeByInfTypeFile(const DirEntry* entry) {
  if (!entry) return 0;
  char path[512];
  PlayedFilePath(path, sizeof path);
  size_t length = strlen(path);
  if (length > 4 && strcmp(path + length - 4, ".inf") == 0) path[length - 4] = 0;
  return (dword)HDD_GetInodeByFileName(path);
}

void FindPlaybackNodeName(dword* inode, char* name) {
  if (CurrentPlaybackInfo.playMode == PLAYMODE_Playing) {
    *inode = HDD_GetInodeByInfTypeFile(&CurrentPlaybackFile);
  } else {
    char path[512];
    PlayedFilePath(path, sizeof path);
    *inode = (dword)HDD_GetInodeByFileName(path);
  }
  PlainName(CurrentPlaybackFile.name, name);
}

void CheckPlaybackStatus() {
  if (!ReadPlayInfo(text_InCheckPlaybackStatus)) return;
  CurrentPlaybackInfo = playInfoArea.info;
  if (!Playing(CurrentPlaybackInfo)) {
    if (inPlaybackMode) SaveDatToFile();
    inPlaybackMode = 0;
    return;
  }
  TakePlayedFile(CurrentPlaybackInfo);
  inPlaybackMode = 1;
  if (IsYouTubeSuffix(CurrentPlaybackFile.name)) return;

  dword inode = 0;
  char name[NAME_FIELD];
  FindPlaybackNodeName(&inode, name);
  dword position = CurrentPlaybackInfo.currentBlock;
  dword total = CurrentPlaybackInfo.totalBlock;

  PlayedFileEntry* last = LastPlayedEntry();
  if (last) {
    last->inode = inode;
    snprintf(last->name, sizeof last->name, "%s", name);
    last->positionBlock = position;
    last->totalBlocks = total;
  }

  int i = FindPlayedFile(inode, name);
  if (i != 0 && i == numberOfPlayedFiles) {
    // Saved when the playback ends; the history is not marked changed.
    playedFiles[i]->positionBlock = position;
    playedFiles[i]->totalBlocks = total;
  } else if (i != 0) {
    // The old entry becomes a hole first, so that a full table makes room by
    // dropping it rather than refusing the newer entry.
    PlayedFileEntry* old = playedFiles[i];
    old->name[0] = 0;
    old->inode = 0;
    old->positionBlock = 0;
    old->totalBlocks = 0;
    AppendPlayedFileEntry(inode, name, position, total);
    playinfoChanged = 1;
  } else if (numberOfPlayedFiles < MAX_PLAYED_HISTORY && strcmp(name, "__temprec__.ts") != 0 &&
             position <= kMaxTrackedBlocks && total <= kMaxTrackedBlocks) {
    if (AppendPlayedFileEntry(inode, name, position, total)) playinfoChanged = 1;
  }
}

void SetPlaybackStatus(int folder, int slot) {
  FileRecord* line = Line(folder, slot);
  if (!line || line->attribute != ATTRIBUTE_FILE) return;
  int i = FindPlayedFile(line->inode, line->name);
  if (i == 0) return;
  line->hasHistory = 1;
  line->positionBlock = playedFiles[i]->positionBlock;
  line->totalBlocks = playedFiles[i]->totalBlocks;
}

void LoadPlaybackInfo(int folder, int slot) {
  FileRecord* line = Line(folder, slot);
  if (!line) return;
  if (!inPlaybackMode) {
    line->playingNow = 0;
    return;
  }
  dword inode = 0;
  char name[NAME_FIELD];
  FindPlaybackNodeName(&inode, name);
  if (line->inode == inode && strncmp(line->name, name, NAME_FIELD) == 0) {
    line->playingNow = 1;
    line->durationMinutes = CurrentPlaybackInfo.duration;
  } else {
    line->playingNow = 0;
  }
}

void LoadPlaybackStatusInfo() {
  dword inode = 0;
  char name[NAME_FIELD] = "";
  if (inPlaybackMode) FindPlaybackNodeName(&inode, name);
  for (int folder = 0; folder <= numberOfFolders && folder < MAX_FOLDERS; folder++) {
    if (!myfolders[folder]) continue;
    int count = myfolders[folder]->entryCount;
    for (int slot = 1; slot <= count && slot < MAX_SLOTS; slot++) {
      FileRecord* line = FileSlot(folder, slot);
      if (!line || line->attribute != ATTRIBUTE_FILE || IsFileRec(line->name) != 1) continue;
      SetPlaybackStatus(folder, slot);
      if (!inPlaybackMode) {
        line->playingNow = 0;
      } else if (line->inode == inode && strncmp(line->name, name, NAME_FIELD) == 0) {
        line->playingNow = 1;
        line->durationMinutes = CurrentPlaybackInfo.duration;
      } else {
        line->playingNow = 0;
      }
    }
  }
}

void DeleteProgressInfo(int folder, int slot, int markIfNone) {
  FileRecord* line = Line(folder, slot);
  if (!line) return;
  bool removed = false;
  if (markIfNone == 0 && SameFile(playedFiles[0], line->inode, line->name)) {
    memset(playedFiles[0], 0, sizeof(PlayedFileEntry));
    playedFiles[0]->totalBlocks = 1;
    removed = true;
  }
  int i = FindPlayedFile(line->inode, line->name);
  if (i != 0) {
    line->totalBlocks = 1;
    line->hasHistory = 0;
    line->positionBlock = 0;
    DeletePlayedFileEntry(i);
    removed = true;
  }
  if (removed) {
    SaveDatToFile();
    // The header lies beside the recording, in the line's own folder.
    int pushed = HDD_TAP_PushDir();
    if (GotoPath(line->folderPath)) ResetInfStartPosition(line->name);
    if (pushed) HDD_TAP_PopDir();
    return;
  }
  if (markIfNone != 1) return;
  line->totalBlocks = 1;
  line->hasHistory = 1;
  line->positionBlock = 1;
  AppendPlayedFileEntry(line->inode, line->name, 1, 1);
  playinfoChanged = 1;
  SaveDatToFile();
}
