#include "lib/lib.h"

dword strlenUC(const char* text) {
  if (!text) return 0;
  dword count = 0;
  const char* p = SkipCharTableBytes(text);
  while (*p) {
    byte length;
    isUTF8Char(p, &length);
    p += length;
    count++;
  }
  return count;
}
