#include "lib/lib.h"

int UTFToppyMode = -1;

bool isUTFToppy(void) {
  // The firmware does not change while the application runs: one look-up.
  if (UTFToppyMode < 0) UTFToppyMode = TryResolve("_Z26Appl_ConvertToValidUTF8StrPhi") != 0;
  return UTFToppyMode == 1;
}
