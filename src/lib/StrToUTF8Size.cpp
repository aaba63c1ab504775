#include <string.h>

#include "lib/lib.h"

dword StrToUTF8Size(const char* source) {
  if (!source) return 1;
  // StrToUTF8 reads a 0x10 0x00 <table> selector whole and converts the text
  // behind it; each byte it converts becomes at most three (U+FFFF at most).
  if (source[0] == 0x10 && source[1] == 0) return source[2] ? 3 * (dword)strlen(source + 3) + 1 : 1;
  return 3 * (dword)strlen(source) + 1;
}
