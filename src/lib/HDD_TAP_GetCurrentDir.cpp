#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

bool HDD_TAP_GetCurrentDir(char* currentDir) {
  if (!currentDir) return false;
  currentDir[0] = 0;
  char** folders = (char**)TryResolve("_hddTapFolder");
  dword* current = FIS_vCurTapTask();
  if (!folders || !current || *current >= TAP_MAX_TASKS) return false;
  const char* folder = folders[*current];
  if (!folder) return false;
  // The firmware keeps system paths; only folders of its own disk have a
  // firmware name.
  size_t rootLength = strlen(SYSTEM_ROOT);
  if (strncmp(folder, SYSTEM_ROOT, rootLength) != 0 ||
      (folder[rootLength] != 0 && folder[rootLength] != '/'))
    return false;
  const char* rest = folder + rootLength;
  size_t length = strlen(rest);
  while (length > 0 && rest[length - 1] == '/') length--;
  if (length == 0) {
    strcpy(currentDir, "/");
    return true;
  }
  if (length >= PATH_BUFFER_SIZE) return false;
  memcpy(currentDir, rest, length);
  currentDir[length] = 0;
  return true;
}
