#include <string.h>

#include "lib/lib.h"

bool InDataFilesFolder(const char* path) { return path && strcmp(path, "/DataFiles") == 0; }
