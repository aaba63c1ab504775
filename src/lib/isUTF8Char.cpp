#include "lib/lib.h"

bool isUTF8Char(const char* p, byte* length) {
  if (length) *length = 1;
  if (!p) return false;
  const byte* s = (const byte*)p;
  byte n;
  if ((s[0] & 0xE0) == 0xC0)
    n = 2;
  else if ((s[0] & 0xF0) == 0xE0)
    n = 3;
  else if ((s[0] & 0xF8) == 0xF0)
    n = 4;
  else
    return false;
  // Stops at the first byte that is no continuation, so the terminator is
  // never passed.
  for (byte i = 1; i < n; i++)
    if ((s[i] & 0xC0) != 0x80) return false;
  if (length) *length = n;
  return true;
}
