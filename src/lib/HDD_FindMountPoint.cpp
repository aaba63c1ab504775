#include "lib/lib.h"

int HDD_FindMountPoint(const char* path, char* mountPoint) {
  return HDD_FindMountPointDevice(path, mountPoint, 0);
}
