#include <string.h>

#include "lib/lib.h"

bool StrMkISO(char* text) {
  if (!text) return false;
  char* work = (char*)TAP_MemAlloc(strlen(text) + 1);
  if (!work) return false;
  StrToISO(text, work);
  strcpy(text, work);
  TAP_MemFree(work);
  return true;
}
