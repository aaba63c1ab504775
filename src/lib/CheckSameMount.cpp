#include <string.h>

#include "lib/lib.h"

int CheckSameMount(const char* path, const char* mountPoint) {
  if (!mountPoint) return 0;
  char own[PATH_BUFFER_SIZE];
  if (!HDD_FindMountPoint(path, own)) return 0;
  return strncmp(own, mountPoint, PATH_BUFFER_SIZE) == 0;
}
