#include <string.h>

#include "lib/lib.h"

bool StringEndsWith(const char* string, const char* suffix) {
  if (!string || !suffix || !*string || !*suffix) return false;
  size_t stringLength = strlen(string);
  size_t suffixLength = strlen(suffix);
  if (suffixLength > stringLength) return false;
  return memcmp(string + stringLength - suffixLength, suffix, suffixLength) == 0;
}
