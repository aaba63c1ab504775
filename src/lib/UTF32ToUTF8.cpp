#include "lib/lib.h"

void UTF32ToUTF8(dword codepoint, char* out, byte* length) {
  byte b[4];
  byte n;
  if (codepoint < 0x80) {
    b[0] = (byte)codepoint;
    n = 1;
  } else if (codepoint < 0x800) {
    b[0] = 0xC0 | ((codepoint >> 6) & 0x1F);
    b[1] = 0x80 | (codepoint & 0x3F);
    n = 2;
  } else if (codepoint < 0x10000) {
    b[0] = 0xE0 | ((codepoint >> 12) & 0x0F);
    b[1] = 0x80 | ((codepoint >> 6) & 0x3F);
    b[2] = 0x80 | (codepoint & 0x3F);
    n = 3;
  } else {
    b[0] = 0xF0 | ((codepoint >> 18) & 0x07);
    b[1] = 0x80 | ((codepoint >> 12) & 0x3F);
    b[2] = 0x80 | ((codepoint >> 6) & 0x3F);
    b[3] = 0x80 | (codepoint & 0x3F);
    n = 4;
  }
  if (out)
    for (byte i = 0; i < n; i++) out[i] = (char)b[i];
  if (length) *length = n;
}
