#include <string.h>

#include "lib/lib.h"

void LowerCase(char* text) {
  if (!text) return;
  const size_t upperLength = strlen(UTF8Upper);
  const size_t ansiLength = strlen(AnsiUpper);
  char* p = text;
  while (*p) {
    byte length;
    if (isUTF8Char(p, &length)) {
      if (length == 2) {
        for (size_t i = 0; i + 1 < upperLength; i += 2) {
          if (UTF8Upper[i] == p[0] && UTF8Upper[i + 1] == p[1]) {
            p[0] = UTF8Lower[i];
            p[1] = UTF8Lower[i + 1];
            break;
          }
        }
      }
      p += length;
      continue;
    }
    const char* hit = (byte)*p >= 0x80 ? (const char*)memchr(AnsiUpper, *p, ansiLength) : 0;
    if (hit)
      *p = AnsiLower[hit - AnsiUpper];
    else if (*p >= 'A' && *p <= 'Z')
      *p = (char)(*p - 'A' + 'a');
    p++;
  }
}
