#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "lib/lib.h"

int GetPathType(const char* path) {
  if (!path || !*path) return PF_BareName;
  if (path[0] == '.' || strcmp(path, "/") == 0) return PF_FirmwareFolder;

  struct stat64 st;
  // Only absolute names mean something to the system: a relative name is
  // relative to the firmware's folder, not to the process's.
  if (path[0] == '/' && lstat64(path, &st) == 0)
    return S_ISDIR(st.st_mode) ? PF_SystemFolder : PF_SystemFilePath;

  size_t length = strlen(path);
  bool hasSlash = strchr(path, '/') != 0;
  bool endsWithSlash = path[length - 1] == '/';
  bool underMnt = strncmp(path, "/mnt", 4) == 0;

  char candidate[PATH_BUFFER_SIZE];
  int written = -1;
  if (path[0] == '/') {
    written = snprintf(candidate, sizeof candidate, "%s%s", SYSTEM_ROOT, path);
  } else {
    char current[PATH_BUFFER_SIZE];
    if (HDD_TAP_GetCurrentDir(current)) {
      size_t currentLength = strlen(current);
      bool slash = currentLength > 0 && current[currentLength - 1] == '/';
      written = snprintf(candidate, sizeof candidate, "%s%s%s%s", SYSTEM_ROOT, current,
                         slash ? "" : "/", path);
    }
  }
  if (written > 0 && written < (int)sizeof candidate && stat64(candidate, &st) == 0 &&
      S_ISDIR(st.st_mode)) {
    hasSlash = true;
    endsWithSlash = true;
  }

  if (!hasSlash) return PF_BareName;
  if (underMnt) return endsWithSlash ? PF_SystemFolder : PF_SystemFilePath;
  return endsWithSlash ? PF_FirmwareFolder : PF_FirmwareFilePath;
}
