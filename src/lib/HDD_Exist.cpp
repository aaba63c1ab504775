#include <sys/stat.h>

#include "lib/lib.h"

int HDD_Exist(const char* path) {
  if (!path || !*path) return 0;
  char systemPath[PATH_BUFFER_SIZE];
  ConvertPathType(path, systemPath, PF_SystemFilePath);
  if (!systemPath[0]) ConvertPathType(path, systemPath, PF_SystemFolder);
  struct stat64 st;
  return systemPath[0] && stat64(systemPath, &st) == 0;
}
