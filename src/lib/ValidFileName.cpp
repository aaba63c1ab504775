#include <string.h>

#include "lib/lib.h"

void ValidFileName(const char* source, int flags, char* destination, int size) {
  if (!destination) return;
  if (size > 0) destination[0] = 0;
  if (!source || !*source || size <= 0 || strlen(source) >= (size_t)size) return;
  const char* in = source;
  int out = 0;
  // The output is never longer than the source, which fits.
  while (*in && out < 126) {
    byte length;
    isUTF8Char(in, &length);
    if (isLegalChar(in, flags)) {
      memcpy(destination + out, in, length);
      out += length;
    }
    in += length;
  }
  destination[out] = 0;
}
