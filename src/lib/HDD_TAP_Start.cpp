#include <string.h>

#include "lib/lib.h"

bool HDD_TAP_Start(const char* fileName, bool, void*, TYPE_TapHeader* info) {
  TYPE_TapHeader header;
  if (!HDD_TAP_GetInfo(fileName, &header)) return false;
  if (info) memcpy(info, &header, sizeof header);
  return TAP_StartApplication(fileName) >= 0;
}
