#include "lib/lib.h"

const char* SkipCharTableBytes(const char* text) {
  if (!text) return 0;
  byte selector = (byte)text[0];
  if (selector == 0 || selector >= 0x20) return text;
  const char* p = text + 1;
  int more = selector == 0x10 ? 2 : selector == 0x1F ? 1 : 0;
  // 0x10 is followed by the table number as two bytes, the first always zero:
  // that zero belongs to the selector and does not end the text.
  if (selector == 0x10 && *p == 0) {
    p++;
    more--;
  }
  // Any other zero ends the text, even inside a selector cut short.
  while (more > 0 && *p) {
    p++;
    more--;
  }
  return p;
}

char* SkipCharTableBytes(char* text) {
  return const_cast<char*>(SkipCharTableBytes(static_cast<const char*>(text)));
}
