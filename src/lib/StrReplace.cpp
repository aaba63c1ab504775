#include <string.h>

#include "lib/lib.h"

bool StrReplace(char* text, const char* pattern, const char* replacement) {
  if (!text || !pattern || !replacement || !*text || !*pattern || !*replacement) return false;
  size_t patternLength = strlen(pattern);
  size_t replacementLength = strlen(replacement);
  size_t occurrences = 0;
  for (const char* p = strstr(text, pattern); p; p = strstr(p + patternLength, pattern))
    occurrences++;
  if (occurrences == 0) return false;

  if (replacementLength <= patternLength) {
    // The output never overtakes the input: rewrite in place.
    char* out = text;
    const char* in = text;
    for (const char* hit = strstr(in, pattern); hit; hit = strstr(in, pattern)) {
      size_t before = (size_t)(hit - in);
      memmove(out, in, before);
      out += before;
      memcpy(out, replacement, replacementLength);
      out += replacementLength;
      in = hit + patternLength;
    }
    memmove(out, in, strlen(in) + 1);
    return true;
  }

  size_t finalLength = strlen(text) + occurrences * (replacementLength - patternLength);
  char* result = (char*)TAP_MemAlloc(finalLength + 1);
  if (!result) return false;
  char* out = result;
  const char* in = text;
  for (const char* hit = strstr(in, pattern); hit; hit = strstr(in, pattern)) {
    size_t before = (size_t)(hit - in);
    memcpy(out, in, before);
    out += before;
    memcpy(out, replacement, replacementLength);
    out += replacementLength;
    in = hit + patternLength;
  }
  strcpy(out, in);
  memcpy(text, result, finalLength + 1);
  TAP_MemFree(result);
  return true;
}
