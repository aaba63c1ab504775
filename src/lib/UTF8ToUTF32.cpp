#include "lib/lib.h"

dword UTF8ToUTF32(const char* p, byte* length) {
  if (!p) {
    if (length) *length = 0;
    return 0;
  }
  const byte* s = (const byte*)p;
  byte n;
  if (!isUTF8Char(p, &n)) {
    if (length) *length = 1;
    return s[0];
  }
  dword cp = n == 2 ? s[0] & 0x1F : n == 3 ? s[0] & 0x0F : s[0] & 0x07;
  for (byte i = 1; i < n; i++) cp = (cp << 6) | (s[i] & 0x3F);
  if (length) *length = n;
  return cp;
}
