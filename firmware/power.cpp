// Power cuts: the disk stops taking changes part-way through whatever the
// applications are doing, as when the recorder is switched off at the wall.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>

#include "internal.h"

namespace {

int changesLeft = -1;  // -1: the power stays on
bool cut = false;

}  // namespace

namespace fw {

void ResetPower() {
  changesLeft = -1;
  cut = false;
}

bool DiskChangeAllowed() {
  if (changesLeft < 0) return true;
  if (changesLeft == 0) {
    cut = true;
    return false;
  }
  changesLeft--;
  return true;
}

}  // namespace fw

namespace emu {

void CutPowerAfter(int changes) {
  changesLeft = changes < 0 ? 0 : changes;
  cut = false;
}

void RestorePower() { fw::ResetPower(); }

bool PowerWasCut() { return cut; }

}  // namespace emu

// The recorder's system library as applications see it: a rename is a change
// to the disk like any other and stops with the power.
extern "C" int rename(const char* from, const char* to) {
  if (!fw::DiskChangeAllowed()) {
    errno = EIO;
    return -1;
  }
  return renameat(AT_FDCWD, from, AT_FDCWD, to);
}
