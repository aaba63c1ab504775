#include <string.h>

#include "lib/lib.h"
#include "ui/Text.h"

namespace {
// Room for the longest header text (1023 bytes), three bytes a character in
// UTF-8.
char converted[3 * 1024 + 4];
}  // namespace

void ConvertBroadcastText(const char* text, char* out, int size) {
  if (!out || size <= 0) return;
  out[0] = 0;
  if (!text || !text[0]) return;
  if (StrToUTF8Size(text) > sizeof converted) return;
  StrToUTF8(text, converted, 0);
  // The control codes of broadcast texts: U+0086/U+0087 emphasis on and off,
  // U+008A line break.
  int n = 0;
  for (const char* p = converted; *p && n < (int)sizeof converted - 1; p++) {
    byte c = (byte)p[0];
    if (c == 0xC2 && ((byte)p[1] == 0x86 || (byte)p[1] == 0x87)) {
      p++;
      continue;
    }
    if (c == 0xC2 && (byte)p[1] == 0x8A) {
      p++;
      c = ' ';
    } else if (c == '\n' || c == '\r' || c == '\t') {
      c = ' ';
    }
    converted[n++] = (char)c;
  }
  converted[n] = 0;
  StrMkISO(converted);
  int length = (int)strlen(converted);
  if (length > size - 1) length = size - 1;
  memcpy(out, converted, length);
  out[length] = 0;
}
