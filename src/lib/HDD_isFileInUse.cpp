#include <string.h>

#include "lib/lib.h"

// Cuts a trailing companion suffix: a recording is in use whichever of its
// files the firmware holds.
static void StripCompanion(char* path, bool navToo) {
  if (StringEndsWith(path, ".inf") || (navToo && StringEndsWith(path, ".nav")))
    path[strlen(path) - 4] = 0;
}

int HDD_isFileInUse(const char* path) {
  if (!path || !*path) return 0;
  char file[PATH_BUFFER_SIZE];
  ConvertPathType(path, file, PF_SystemFilePath);
  if (!file[0]) return 0;
  StripCompanion(file, false);

  TYPE_PlayInfo playInfo;
  memset(&playInfo, 0, sizeof playInfo);
  if (TAP_Hdd_GetPlayInfo(&playInfo) && playInfo.playMode != PLAYMODE_None && playInfo.file) {
    // The play information names the played file only; it lies in the
    // application's current folder when the firmware started it from there,
    // so the name is completed like any bare name.
    char played[PATH_BUFFER_SIZE];
    char name[sizeof playInfo.file->name + 1];
    memcpy(name, playInfo.file->name, sizeof playInfo.file->name);
    name[sizeof playInfo.file->name] = 0;
    if (strchr(name, '/'))
      ConvertPathType(name, played, PF_SystemFilePath);
    else
      played[0] = 0;
    if (!played[0]) {
      // Only the name is known: compare names.
      StripCompanion(name, true);
      const char* slash = strrchr(file, '/');
      if (strcmp(slash ? slash + 1 : file, name) == 0)
        return playInfo.playMode == PLAYMODE_Paused ? 2 : 1;
    } else {
      StripCompanion(played, true);
      if (strcmp(played, file) == 0) return playInfo.playMode == PLAYMODE_Paused ? 2 : 1;
    }
  }

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
