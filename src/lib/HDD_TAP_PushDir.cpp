#include <string.h>

#include "lib/lib.h"

char TAPDirStack[TAP_DIR_STACK_SIZE][TAP_DIR_LENGTH];
int TAPDirStackDepth = -1;

int HDD_TAP_PushDir(void) {
  if (TAPDirStackDepth + 1 >= TAP_DIR_STACK_SIZE) return 0;
  char current[PATH_BUFFER_SIZE];
  // A folder name the stack cannot hold whole would bring the caller back to
  // the wrong folder.
  if (!HDD_TAP_GetCurrentDir(current) || strlen(current) >= TAP_DIR_LENGTH) return 0;
  TAPDirStackDepth++;
  strcpy(TAPDirStack[TAPDirStackDepth], current);
  return 1;
}
