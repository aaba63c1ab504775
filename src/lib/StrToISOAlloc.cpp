#include <string.h>

#include "lib/lib.h"

void StrToISOAlloc(const char* source, char** result) {
  if (!result) return;
  *result = 0;
  if (!source) return;
  // Sized for the unchanged copy StrToISO makes of 8-bit text, which is
  // longer than the character count when it holds a selector or stray
  // multi-byte sequences.
  char* buffer = (char*)TAP_MemAlloc(strlen(source) + 1);
  if (!buffer) return;
  StrToISO(source, buffer);
  *result = buffer;
}
