#include "lib/lib.h"

void GetStringEncoding(const char* text, bool* hasLatin, bool* hasUTF8) {
  if (hasLatin) *hasLatin = false;
  if (hasUTF8) *hasUTF8 = false;
  if (!text) return;
  const char* p = SkipCharTableBytes(text);
  while (*p) {
    byte length;
    if (isUTF8Char(p, &length)) {
      if (hasUTF8) *hasUTF8 = true;
    } else if ((byte)*p >= 0xA0) {
      if (hasLatin) *hasLatin = true;
    }
    p += length;
  }
}
