#include "lib/lib.h"

const char* SkipCharTableBytes(const char* text) {
  if (!text) return 0;
  byte selector = (byte)text[0];
  if (selector == 0 || selector >= 0x20) return text;
  int length = selector == 0x10 ? 3 : selector == 0x1F ? 2 : 1;
  // A selector cut short by the terminator ends at it: nothing behind the
  // zero belongs to the text, not even the table byte of a 0x10 0x00 <table>
  // selector (only StrToUTF8 reads that form whole).
  const char* p = text + 1;
  for (int i = 1; i < length && *p; i++) p++;
  return p;
}

char* SkipCharTableBytes(char* text) {
  return const_cast<char*>(SkipCharTableBytes(static_cast<const char*>(text)));
}
