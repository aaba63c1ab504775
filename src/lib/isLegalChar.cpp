#include <string.h>

#include "lib/lib.h"

bool isLegalChar(const char* character, int flags) {
  if (!character) return false;
  byte c = (byte)*character;
  if (flags & LC_Control) {
    if (c < 32 && c != 10) return false;
    bool c1 =
        c == 127 || (c >= 129 && c <= 137) || (c >= 139 && c <= 144) || (c >= 147 && c <= 159);
    if (c1 && !isUTF8Char(character, 0)) return false;
  }
  if ((flags & LC_LineFeed) && (c == 10 || c == 138)) return false;
  if ((flags & LC_Reserved) && c != 0 && strchr("\"*/:<>?\\|", c)) return false;
  if ((flags & LC_PrintableOnly) && (c < 32 || c > 126)) return false;
  return true;
}
