// SkerrowbyPlayback.dat: how far each recording was played. Line 1 holds the
// number of history lines, line 2 the last played file, then the history from
// the most recent entry down to the oldest; each line is inode, position,
// length and name.
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"

char* playDataBuffer_ini = nullptr;
int playDataBufferPtr_ini = 0;

namespace {

// The history file is there but could not be read (no memory, a disk error).
// Until it is read or deleted it is not overwritten: the history of years
// weighs more than the progress of one session.
bool unreadHistoryOnDisk = false;

const char text_ProgressClearedTitle[2][48] = {"All Progress Info Cleared.",
                                               "Alle Fortschritte gel\xF6scht."};
const char text_ProgressClearedLine1[2][48] = {"Removed playback information",
                                               "Wiedergabe-Informationen entfernt"};
const char text_ProgressClearedLine2[2][48] = {"for all recorded files.", "f\xFCr alle Aufnahmen."};

bool AllocatePlayBuffer() {
  return AllocateFileBuffer(&playDataBuffer_ini, &playDataBufferPtr_ini, HISTORY_FILE_SIZE);
}

void ReleasePlayBuffer() { ReleaseFileBuffer(&playDataBuffer_ini, &playDataBufferPtr_ini); }

PlayedFileEntry* EnsureEntry(int i) {
  if (!playedFiles[i])
    playedFiles[i] = static_cast<PlayedFileEntry*>(TAP_MemAlloc(sizeof(PlayedFileEntry)));
  if (playedFiles[i]) memset(playedFiles[i], 0, sizeof(PlayedFileEntry));
  return playedFiles[i];
}

void FreeEntry(int i) {
  if (playedFiles[i]) TAP_MemFree(playedFiles[i]);
  playedFiles[i] = nullptr;
}

void SetEntry(PlayedFileEntry* entry, dword inode, const char* name, dword position, dword total) {
  if (!entry) return;
  entry->inode = inode;
  entry->positionBlock = position;
  entry->totalBlocks = total;
  snprintf(entry->name, sizeof entry->name, "%.*s", static_cast<int>(sizeof entry->name - 1), name);
}

// One line of the file: inode, position, length, name.
void ReadEntryLine(PlayedFileEntry* entry) {
  dword inode = ReadDatDecimal();
  dword position = ReadDatDecimal();
  dword total = ReadDatDecimal();
  SetEntry(entry, inode, ReadDatField(), position, total);
}

int FormatEntryLine(char* line, int size, const PlayedFileEntry* entry) {
  if (!entry) return snprintf(line, size, "0\t0\t0\t\r\n");
  return snprintf(line, size, "%u\t%u\t%u\t%.200s\r\n", entry->inode, entry->positionBlock,
                  entry->totalBlocks, entry->name);
}

bool IsWorthKeeping(const PlayedFileEntry* entry) {
  return entry && entry->inode != 0 && entry->name[0] != '\0' && !IsYouTubeSuffix(entry->name);
}

// The lines with any text from the read position to the end of the text (its
// first zero byte); the buffer is left as it is.
int CountLinesLeft() {
  int lines = 0;
  bool inLine = false;
  for (int i = playDataBufferPtr_ini; i < HISTORY_FILE_SIZE && playDataBuffer_ini[i]; i++) {
    bool end = playDataBuffer_ini[i] == '\r' || playDataBuffer_ini[i] == '\n';
    if (!end && !inLine) lines++;
    inLine = !end;
  }
  return lines;
}

int HistoryCount() {
  if (numberOfPlayedFiles < 0) return 0;
  return numberOfPlayedFiles > MAX_PLAYED_HISTORY ? MAX_PLAYED_HISTORY : numberOfPlayedFiles;
}

}  // namespace

bool IsYouTubeSuffix(const char* name) {
  if (!name) return false;
  size_t length = strlen(name);
  return length >= 6 && strcmp(name + length - 5, "_h264") == 0;
}

char* ReadDatField() {
  static char empty[1] = "";
  if (!playDataBuffer_ini) return empty;
  return ReadSettingsField(playDataBuffer_ini, HISTORY_FILE_SIZE, &playDataBufferPtr_ini);
}

dword ReadDatDecimal() { return FoldDecimalField(ReadDatField()); }

void SetDatVariables() {
  playDataBufferPtr_ini = 0;
  dword count = ReadDatDecimal();
  if (count > MAX_PLAYED_HISTORY) count = MAX_PLAYED_HISTORY;
  PlayedFileEntry scratch;
  PlayedFileEntry* last = EnsureEntry(0);
  ReadEntryLine(last ? last : &scratch);
  // A damaged count must not turn into empty entries: the table holds the
  // lines the file has.
  dword present = static_cast<dword>(CountLinesLeft());
  if (count > present) count = present;
  // The file lists the most recent entry first; reading from the top index
  // down restores the order of the table.
  for (int i = static_cast<int>(count); i >= 1; i--) {
    PlayedFileEntry* entry = EnsureEntry(i);
    ReadEntryLine(entry ? entry : &scratch);
  }
  for (int i = static_cast<int>(count) + 1; i < MAX_PLAYED_FILES; i++) FreeEntry(i);
  numberOfPlayedFiles = static_cast<int>(count);
}

bool ReadDatFile() {
  if (!AllocatePlayBuffer()) return false;
  bool read = ReadSettingsFile(PLAYBACK_FILE_NAME, playDataBuffer_ini, HISTORY_FILE_SIZE);
  if (read) SetDatVariables();
  ReleasePlayBuffer();
  return read;
}

bool WriteStrToDatBuf(const char* text) {
  // The text always stays below the file size: at least one zero byte ends it.
  return AppendToFileBuffer(playDataBuffer_ini, &playDataBufferPtr_ini, HISTORY_FILE_SIZE - 1,
                            text);
}

bool WriteDatFile() {
  return WriteSettingsFile(PLAYBACK_FILE_NAME, playDataBuffer_ini, HISTORY_FILE_SIZE);
}

void SaveDatToFile() {
  if (unreadHistoryOnDisk || !AllocatePlayBuffer()) return;
  // Line 1 must count exactly the lines that follow, but whether a line fits
  // depends on the length of line 1. Room is kept for the count of every
  // entry worth keeping; the lines are written behind it and moved up once
  // the count is known.
  int candidates = 0;
  for (int i = HistoryCount(); i >= 1; i--) {
    if (IsWorthKeeping(playedFiles[i])) candidates++;
  }
  char line[PATH_FIELD + 64];
  int reserved = snprintf(line, sizeof line, "%d\r\n", candidates);
  playDataBufferPtr_ini = reserved;
  FormatEntryLine(line, sizeof line, playedFiles[0]);
  WriteStrToDatBuf(line);
  int written = 0;
  for (int i = HistoryCount(); i >= 1; i--) {
    if (!IsWorthKeeping(playedFiles[i])) continue;
    FormatEntryLine(line, sizeof line, playedFiles[i]);
    if (WriteStrToDatBuf(line)) written++;
  }
  int header = snprintf(line, sizeof line, "%d\r\n", written);
  int end = playDataBufferPtr_ini;
  memmove(playDataBuffer_ini + header, playDataBuffer_ini + reserved, end - reserved);
  memcpy(playDataBuffer_ini, line, header);
  memset(playDataBuffer_ini + header + (end - reserved), 0, reserved - header);
  playDataBufferPtr_ini = header + (end - reserved);
  WriteDatFile();
  ReleasePlayBuffer();
}

void LoadPlayData() {
  if (!ReadDatFile()) {
    for (int i = 2; i < MAX_PLAYED_FILES; i++) FreeEntry(i);
    numberOfPlayedFiles = 1;
    SetEntry(EnsureEntry(0), 0, "Placeholder for last played file.mpg", 0, 1);
    SetEntry(EnsureEntry(1), 12345678, "This is a dummy filename.mpg", 9876543, 9999999);
    unreadHistoryOnDisk = SettingsFileExists(PLAYBACK_FILE_NAME);
    SaveDatToFile();
  } else {
    unreadHistoryOnDisk = false;
  }
  playbackInfoTick = TAP_GetTick();
  playinfoChanged = 0;
}

void DeletePlayData() {
  int pushed = HDD_TAP_PushDir();
  if (ChangeToSettingsFolder() && TAP_Hdd_Exist(PLAYBACK_FILE_NAME)) {
    TAP_Hdd_Delete(PLAYBACK_FILE_NAME);
  }
  if (pushed) HDD_TAP_PopDir();
  unreadHistoryOnDisk = false;
  LoadPlayData();
  if (CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS) {
    for (int slot = 1; slot <= numberOfFiles && slot < MAX_SLOTS; slot++) {
      FileRecord* line = FileSlot(CurrentDirNumber, slot);
      if (!line) continue;
      line->totalBlocks = 1;
      line->hasHistory = 0;
      line->positionBlock = 0;
    }
  }
  int language = TextLanguage == 1 ? 1 : 0;
  ShowMessageWinX(rgn, text_ProgressClearedTitle[language], text_ProgressClearedLine1[language],
                  text_ProgressClearedLine2[language], 300);
}

void BackupPlayData() {
  CopySettingsFile(PLAYBACK_FILE_NAME ".old", PLAYBACK_FILE_NAME ".old2");
  CopySettingsFile(PLAYBACK_FILE_NAME, PLAYBACK_FILE_NAME ".old");
}
