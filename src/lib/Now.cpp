#include "lib/lib.h"

dword Now(byte* second) {
  word mjd = 0;
  byte hour = 0, minute = 0, sec = 0;
  TAP_GetTime(&mjd, &hour, &minute, &sec);
  if (second) *second = sec;
  return ((dword)mjd << 16) | ((dword)hour << 8) | minute;
}
