#include <string.h>

#include "lib/lib.h"

void InsertAt(char* text, int n, const char* insert) {
  if (!text || !insert) return;
  char* at = GetUCPos(text, n < 0 ? 0 : n);
  size_t length = strlen(insert);
  memmove(at + length, at, strlen(at) + 1);
  memcpy(at, insert, length);
}
