// SkerrowbyLastView.dat: when the user last looked at each folder. Line 1
// holds the highest folder index, every further line a folder path and its
// packed last-viewed stamp.
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"

char* lastviewDataBuffer_ini = nullptr;
int lastviewDataBufferPtr_ini = 0;

namespace {

const char text_FlagsClearedTitle[2][48] = {"All 'new' Flags Cleared.",
                                            "Alle 'Neu'-Markierungen gel\xF6scht."};
const char text_FlagsClearedLine1[2][48] = {"All 'new' file indicators", "Alle 'Neu'-Kennzeichen"};
const char text_FlagsClearedLine2[2][48] = {"removed for all files.",
                                            "f\xFCr alle Dateien entfernt."};

bool AllocateLastViewBuffer() {
  return AllocateFileBuffer(&lastviewDataBuffer_ini, &lastviewDataBufferPtr_ini, HISTORY_FILE_SIZE);
}

void ReleaseLastViewBuffer() {
  ReleaseFileBuffer(&lastviewDataBuffer_ini, &lastviewDataBufferPtr_ini);
}

void CopyPath(char* destination, const char* source) {
  snprintf(destination, sizeof folderLastViewInfo[0].path, "%.*s",
           static_cast<int>(sizeof folderLastViewInfo[0].path - 1), source);
}

}  // namespace

char* ReadLastViewDatField() {
  static char empty[1] = "";
  if (!lastviewDataBuffer_ini) return empty;
  return ReadSettingsField(lastviewDataBuffer_ini, HISTORY_FILE_SIZE, &lastviewDataBufferPtr_ini);
}

dword ReadLastViewDatDecimal() { return FoldDecimalField(ReadLastViewDatField()); }

void SetLastViewDatVariables() {
  lastviewDataBufferPtr_ini = 0;
  dword last = ReadLastViewDatDecimal();
  if (last >= MAX_FOLDERS) last = MAX_FOLDERS - 1;
  // Entries the file does not fill must not keep stamps of an earlier reading.
  memset(folderLastViewInfo, 0, sizeof folderLastViewInfo);
  numberOfFolderLastViewInfo = static_cast<int>(last);
  for (dword i = 0; i <= last; i++) {
    CopyPath(folderLastViewInfo[i].path, ReadLastViewDatField());
    folderLastViewInfo[i].lastViewed = ReadLastViewDatDecimal();
    if (lastviewDataBufferPtr_ini >= HISTORY_FILE_SIZE && folderLastViewInfo[i].lastViewed == 0) {
      folderLastViewInfo[i].path[0] = '\0';
      break;
    }
  }
}

bool ReadLastViewDatFile() {
  if (!AllocateLastViewBuffer()) return false;
  bool read = ReadSettingsFile(LASTVIEW_FILE_NAME, lastviewDataBuffer_ini, HISTORY_FILE_SIZE);
  if (read) SetLastViewDatVariables();
  ReleaseLastViewBuffer();
  return read;
}

bool WriteStrToLastViewDatBuf(const char* text) {
  // The text always stays below the file size: at least one zero byte ends it.
  return AppendToFileBuffer(lastviewDataBuffer_ini, &lastviewDataBufferPtr_ini,
                            HISTORY_FILE_SIZE - 1, text);
}

bool WriteLastViewDatFile() {
  return WriteSettingsFile(LASTVIEW_FILE_NAME, lastviewDataBuffer_ini, HISTORY_FILE_SIZE);
}

void SaveLastViewDatToFile() {
  if (!AllocateLastViewBuffer()) return;
  char line[PATH_FIELD + 32];
  snprintf(line, sizeof line, "%d\r\n", numberOfFolders);
  WriteStrToLastViewDatBuf(line);
  for (int i = 0; i <= numberOfFolders && i < MAX_FOLDERS; i++) {
    const FolderRecord* folder = myfolders[i];
    const FileRecord* anchor = FileSlot(i, 1);
    if (!folder || folder->name[0] == '\0' || !anchor || folder->lastViewed == 0) continue;
    snprintf(line, sizeof line, "%.200s\t%u\r\n", anchor->folderPath, folder->lastViewed);
    if (!WriteStrToLastViewDatBuf(line)) break;
  }
  WriteLastViewDatFile();
  ReleaseLastViewBuffer();
}

void LoadLastViewData() {
  if (!ReadLastViewDatFile()) SaveLastViewDatToFile();
}

void ReloadLastViewDatVariables() {
  int last = numberOfFolders < MAX_FOLDERS - 1 ? numberOfFolders : MAX_FOLDERS - 1;
  for (int i = 0; i <= last; i++) {
    const FileRecord* anchor = FileSlot(i, 1);
    if (!myfolders[i] || !anchor) continue;
    CopyPath(folderLastViewInfo[i].path, anchor->folderPath);
    folderLastViewInfo[i].lastViewed = myfolders[i]->lastViewed;
  }
  // Folders found since the file was read must be searched too, or they
  // lose their stamps when the catalogue is rebuilt.
  if (numberOfFolderLastViewInfo < last) numberOfFolderLastViewInfo = last;
}

void ClearLastViewFlags() {
  // The catalogue first, so that the file written below already holds the
  // new stamps.
  for (int n = 0; n <= numberOfFolders && n < MAX_FOLDERS; n++) {
    FolderRecord* folder = myfolders[n];
    if (!folder) continue;
    folder->newFileCount = 0;
    folder->newFolderCount = 0;
    SetDirectoryLastViewed(n);
    for (int slot = 1; slot <= folder->entryCount && slot < MAX_SLOTS; slot++) {
      if (FileSlot(n, slot)) FileSlot(n, slot)->isNew = 0;
    }
  }
  int pushed = HDD_TAP_PushDir();
  if (ChangeToSettingsFolder() && TAP_Hdd_Exist(LASTVIEW_FILE_NAME)) {
    TAP_Hdd_Delete(LASTVIEW_FILE_NAME);
  }
  if (pushed) HDD_TAP_PopDir();
  LoadLastViewData();
  int language = TextLanguage == 1 ? 1 : 0;
  ShowMessageWinX(rgn, text_FlagsClearedTitle[language], text_FlagsClearedLine1[language],
                  text_FlagsClearedLine2[language], 300);
}

void BackupLastViewData() {
  CopySettingsFile(LASTVIEW_FILE_NAME ".old", LASTVIEW_FILE_NAME ".old2");
  CopySettingsFile(LASTVIEW_FILE_NAME, LASTVIEW_FILE_NAME ".old");
}
