#include <stdio.h>

#include "lib/lib.h"

void DebugPrintTextAndTime(const char* text, dword stamp) {
  word year = 0;
  byte month = 0, day = 0, weekDay = 0;
  TAP_ExtractMjd((word)(stamp >> 16), &year, &month, &day, &weekDay);
  char line[600];
  snprintf(line, sizeof line, "%s %d%02d%02d %02d:%02d\n", text ? text : "", year, month, day,
           (int)((stamp >> 8) & 0xFF), (int)(stamp & 0xFF));
  TAP_Print("%s", line);
}
