#include "lib/lib.h"

bool isUTFToppy(void) {
  // The firmware does not change while the application runs: one look-up.
  static int utfFirmware = -1;
  if (utfFirmware < 0) utfFirmware = TryResolve("_Z26Appl_ConvertToValidUTF8StrPhi") != 0;
  return utfFirmware == 1;
}
