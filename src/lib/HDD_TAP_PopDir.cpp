#include "lib/lib.h"

void HDD_TAP_PopDir(void) {
  if (TAPDirStackDepth < 0) return;
  HDD_ChangeDir(TAPDirStack[TAPDirStackDepth]);
  TAPDirStackDepth--;
}
