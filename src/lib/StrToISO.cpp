#include <string.h>

#include "lib/lib.h"

void StrToISO(const char* source, char* destination) {
  if (!source || !destination) return;
  bool hasLatin, hasUTF8;
  GetStringEncoding(source, &hasLatin, &hasUTF8);
  if (hasLatin || !hasUTF8) {
    // Not (purely) UTF-8: already 8-bit text.
    memmove(destination, source, strlen(source) + 1);
    return;
  }
  const char* in = source;
  char* out = destination;
  while (*in) {
    byte length;
    dword codepoint = UTF8ToUTF32(in, &length);
    in += length;
    if (codepoint < 256)
      *out++ = (char)codepoint;
    else
      LogEntryVexLibPrintf(true, "StrToISO: character 0x%4.4x ignored", codepoint);
  }
  *out = 0;
}
