#include <string.h>

#include "lib/lib.h"

// Cuts a trailing companion suffix: a recording is in use whichever of its
// files the firmware holds.
static void StripCompanion(char* path, bool navToo) {
  if (StringEndsWith(path, ".inf") || (navToo && StringEndsWith(path, ".nav")))
    path[strlen(path) - 4] = 0;
}

// Whether the firmware's playback holds `file` (a system path without
// companion suffix).
static bool IsPlayed(const char* file, const TYPE_PlayInfo& playInfo) {
  char played[PATH_BUFFER_SIZE];
  TYPE_File** playFile = (TYPE_File**)TryResolve("_hddPlayFile");
  if (playFile) {
    if (!HDD_GetAbsolutePathByTypeFile(*playFile, played)) return false;
    StripCompanion(played, true);
    return strcmp(played, file) == 0;
  }
  // Without the firmware's file record only the played file's name is known.
  size_t length = strnlen(playInfo.file->name, sizeof playInfo.file->name);
  memcpy(played, playInfo.file->name, length);
  played[length] = 0;
  StripCompanion(played, true);
  const char* slash = strrchr(file, '/');
  return strcmp(slash ? slash + 1 : file, played) == 0;
}

int HDD_isFileInUse(const char* path) {
  if (!path || !*path) return 0;
  char file[PATH_BUFFER_SIZE];
  ConvertPathType(path, file, PF_SystemFilePath);
  if (!file[0]) return 0;
  StripCompanion(file, false);

  TYPE_PlayInfo playInfo;
  memset(&playInfo, 0, sizeof playInfo);
  if (TAP_Hdd_GetPlayInfo(&playInfo) && playInfo.playMode != PLAYMODE_None && playInfo.file &&
      IsPlayed(file, playInfo))
    return playInfo.playMode == PLAYMODE_Paused ? 2 : 1;

  byte slots = HDD_NumberOfRECSlots();
  for (byte slot = 0; slot < slots; slot++) {
    TYPE_File* files[3];
    if (!HDD_GetRecSlotFiles(slot, &files[0], &files[1], &files[2])) continue;
    for (TYPE_File* recorded : files) {
      char recordedPath[PATH_BUFFER_SIZE];
      if (!HDD_GetAbsolutePathByTypeFile(recorded, recordedPath)) continue;
      StripCompanion(recordedPath, true);
      if (strcmp(recordedPath, file) == 0) return 3 + slot;
    }
  }
  return 0;
}
