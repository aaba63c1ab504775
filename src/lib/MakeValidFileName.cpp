#include <string.h>

#include "lib/lib.h"

void MakeValidFileName(char* name, int flags) {
  if (!name) return;
  char work[PATH_BUFFER_SIZE];
  ValidFileName(name, flags, work, sizeof work);
  strcpy(name, work);
}
