#include <string.h>

#include "lib/lib.h"

uint64_t HDD_GetInodeByFolderAndFile(const char* folderPath, const char* name) {
  if (!name || !folderPath) return 0;
  // Joined by hand: a scan asks this of every file.
  char path[PATH_BUFFER_SIZE];
  size_t root = strlen(SYSTEM_ROOT), folder = strlen(folderPath), file = strlen(name);
  if (root + folder + 1 + file >= sizeof path) return 0;
  memcpy(path, SYSTEM_ROOT, root);
  memcpy(path + root, folderPath, folder);
  path[root + folder] = '/';
  memcpy(path + root + folder + 1, name, file + 1);
  return HDD_GetInodeByFileName(path);
}
