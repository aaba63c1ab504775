#include <string.h>

#include "lib/lib.h"

bool InDataFilesSubFolder(const char* path) {
  return path && strncmp(path, "/DataFiles/", 11) == 0;
}
