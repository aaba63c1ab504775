#include <string.h>

#include "lib/lib.h"

void DeleteAt(char* text, int n, int count) {
  if (!text || !*text || count <= 0) return;
  char* start = GetUCPos(text, n < 0 ? 0 : n);
  if (!*start) return;
  // Counted from `start` directly: a control byte there is a character, not a
  // table selector.
  char* end = start;
  while (count > 0 && *end) {
    byte length;
    isUTF8Char(end, &length);
    end += length;
    count--;
  }
  memmove(start, end, strlen(end) + 1);
}
