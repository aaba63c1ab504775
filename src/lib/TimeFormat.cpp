#include <stdio.h>

#include "lib/lib.h"

const char* TimeFormat(dword stamp, byte second, int timeFormat) {
  static char text[32];
  text[0] = 0;
  if (timeFormat != TIMESTAMP_YMDHMS) return text;
  word year = 0;
  byte month = 0, day = 0, weekDay = 0;
  TAP_ExtractMjd((word)(stamp >> 16), &year, &month, &day, &weekDay);
  snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day,
           (int)((stamp >> 8) & 0xFF), (int)(stamp & 0xFF), second);
  return text;
}
