#include <stdio.h>

#include "lib/lib.h"

uint64_t HDD_GetInodeByFolderAndFile(const char* folderPath, const char* name) {
  if (!name || !folderPath) return 0;
  char path[PATH_BUFFER_SIZE];
  int written = snprintf(path, sizeof path, "%s%s/%s", SYSTEM_ROOT, folderPath, name);
  if (written < 0 || written >= (int)sizeof path) return 0;
  return HDD_GetInodeByFileName(path);
}
