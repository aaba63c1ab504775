// The viewing history: when each folder was last looked at
// (SkerrowbyLastView.dat) and how far each recording was played
// (SkerrowbyPlayback.dat). Both files live in the settings folder, are read at
// start-up, held in memory and rewritten whole: 10240 bytes of tab-separated
// text with CR LF line ends, padded with zero bytes.
#pragma once

#include "tap.h"

#define LASTVIEW_FILE_NAME "SkerrowbyLastView.dat"
#define PLAYBACK_FILE_NAME "SkerrowbyPlayback.dat"
#define HISTORY_FILE_SIZE 10240

// One recording in the history. A line of the catalogue belongs to the entry
// with equal inode and equal name.
struct PlayedFileEntry {
  char name[127];  // file name without folder, at most 126 characters
  dword inode;     // 0: an empty hole, never written out
  dword totalBlocks;
  dword positionBlock;
};

#define MAX_PLAYED_FILES 300    // entry 0 and the history
#define MAX_PLAYED_HISTORY 299  // entries 1 .. 299

// Entry 0 is the last played file; entries 1 .. numberOfPlayedFiles are the
// history, oldest first. Entries come from TAP_MemAlloc and may be null.
extern PlayedFileEntry* playedFiles[MAX_PLAYED_FILES];
extern int numberOfPlayedFiles;
extern int playinfoChanged;     // the history differs from the file
extern dword playbackInfoTick;  // tick of the last save

// Work buffers of one read or write (HISTORY_FILE_SIZE bytes and one more
// zero byte) and their positions.
extern char* lastviewDataBuffer_ini;
extern int lastviewDataBufferPtr_ini;
extern char* playDataBuffer_ini;
extern int playDataBufferPtr_ini;

// --- SkerrowbyLastView.dat ----------------------------------------------------
// Reads the file into folderLastViewInfo; false when it is missing or cannot
// be opened (folderLastViewInfo is then left as it was).
bool ReadLastViewDatFile();
void SetLastViewDatVariables();
char* ReadLastViewDatField();
dword ReadLastViewDatDecimal();
// Writes the file from the catalogue.
void SaveLastViewDatToFile();
bool WriteStrToLastViewDatBuf(const char* text);
bool WriteLastViewDatFile();
// Reads the file, or writes one from the catalogue when there is none.
void LoadLastViewData();
// Refills folderLastViewInfo from the catalogue (before the catalogue is rebuilt).
void ReloadLastViewDatVariables();
// The "Clear All 'New' Flags" action.
void ClearLastViewFlags();
void BackupLastViewData();

// --- SkerrowbyPlayback.dat ----------------------------------------------------
// Reads the file into playedFiles; false when it is missing or cannot be opened.
bool ReadDatFile();
void SetDatVariables();
char* ReadDatField();
dword ReadDatDecimal();
void SaveDatToFile();
bool WriteStrToDatBuf(const char* text);
bool WriteDatFile();
// Reads the history, or starts a fresh one with its two placeholder entries.
void LoadPlayData();
// The "Delete All Progress Info" action.
void DeletePlayData();
void BackupPlayData();
// True for the streams of the YouTube application: names of at least 6
// characters ending in "_h264". They are never kept in the history.
bool IsYouTubeSuffix(const char* name);

// --- the history table ----------------------------------------------------------
// Appends an entry after the most recent one. A full table first closes its
// empty holes. Returns the new entry's index, or 0 when the table holds 299
// live entries or no memory could be had.
int AppendPlayedFileEntry(dword inode, const char* name, dword positionBlock, dword totalBlocks);
// Makes entry i the most recent one with a new position and length; the
// table does not grow, so this works when it is full. Returns its new index,
// 0 for an invalid i.
int MovePlayedFileEntryToEnd(int i, dword positionBlock, dword totalBlocks);
// Frees entry i (1 .. numberOfPlayedFiles) and closes the gap.
void DeletePlayedFileEntry(int i);
// Frees every entry (termination).
void ReleasePlayedFiles();
