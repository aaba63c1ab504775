#include "lib/lib.h"

char* GetUCPos(const char* text, int n) {
  if (!text) return 0;
  const char* p = SkipCharTableBytes(text);
  while (n > 0 && *p) {
    byte length;
    isUTF8Char(p, &length);
    p += length;
    n--;
  }
  return const_cast<char*>(p);
}
