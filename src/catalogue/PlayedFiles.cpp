// The history table in memory: entry 0 is the last played file, entries
// 1 .. numberOfPlayedFiles the history, oldest first, at most 299 of them.
#include <stdio.h>
#include <string.h>

#include "catalogue/History.h"

PlayedFileEntry* playedFiles[MAX_PLAYED_FILES];
int numberOfPlayedFiles = 0;
int playinfoChanged = 0;
dword playbackInfoTick = 0;

namespace {

// Closes the empty holes of the history, keeping the order of the rest.
void CompactPlayedFiles() {
  int kept = 0;
  for (int i = 1; i <= numberOfPlayedFiles && i < MAX_PLAYED_FILES; i++) {
    PlayedFileEntry* entry = playedFiles[i];
    if (entry && entry->inode != 0) {
      playedFiles[++kept] = entry;
    } else if (entry) {
      TAP_MemFree(entry);
    }
  }
  for (int i = kept + 1; i < MAX_PLAYED_FILES; i++) {
    if (i <= numberOfPlayedFiles) playedFiles[i] = nullptr;
  }
  numberOfPlayedFiles = kept;
}

}  // namespace

int AppendPlayedFileEntry(dword inode, const char* name, dword positionBlock, dword totalBlocks) {
  if (numberOfPlayedFiles < 0) numberOfPlayedFiles = 0;
  if (numberOfPlayedFiles >= MAX_PLAYED_HISTORY) CompactPlayedFiles();
  if (numberOfPlayedFiles >= MAX_PLAYED_HISTORY) return 0;
  int i = numberOfPlayedFiles + 1;
  if (!playedFiles[i]) {
    playedFiles[i] = static_cast<PlayedFileEntry*>(TAP_MemAlloc(sizeof(PlayedFileEntry)));
    if (!playedFiles[i]) return 0;
  }
  PlayedFileEntry* entry = playedFiles[i];
  memset(entry, 0, sizeof *entry);
  entry->inode = inode;
  entry->positionBlock = positionBlock;
  entry->totalBlocks = totalBlocks;
  snprintf(entry->name, sizeof entry->name, "%.*s", static_cast<int>(sizeof entry->name - 1),
           name ? name : "");
  numberOfPlayedFiles = i;
  return i;
}

int MovePlayedFileEntryToEnd(int i, dword positionBlock, dword totalBlocks) {
  if (i < 1 || i > numberOfPlayedFiles || i >= MAX_PLAYED_FILES || !playedFiles[i]) return 0;
  PlayedFileEntry* entry = playedFiles[i];
  for (int j = i; j < numberOfPlayedFiles; j++) playedFiles[j] = playedFiles[j + 1];
  playedFiles[numberOfPlayedFiles] = entry;
  entry->positionBlock = positionBlock;
  entry->totalBlocks = totalBlocks;
  return numberOfPlayedFiles;
}

void DeletePlayedFileEntry(int i) {
  if (i < 1 || i > numberOfPlayedFiles || i >= MAX_PLAYED_FILES) return;
  if (playedFiles[i]) TAP_MemFree(playedFiles[i]);
  for (int j = i; j < numberOfPlayedFiles; j++) playedFiles[j] = playedFiles[j + 1];
  playedFiles[numberOfPlayedFiles] = nullptr;
  numberOfPlayedFiles--;
}

void ReleasePlayedFiles() {
  for (PlayedFileEntry*& entry : playedFiles) {
    if (entry) TAP_MemFree(entry);
    entry = nullptr;
  }
  numberOfPlayedFiles = 0;
}
