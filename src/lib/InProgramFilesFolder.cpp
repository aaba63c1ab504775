#include <string.h>

#include "lib/lib.h"

bool InProgramFilesFolder(const char* path) { return path && strcmp(path, "/ProgramFiles") == 0; }
