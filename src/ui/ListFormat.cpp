// The texts of the list's columns: dates, times and durations, sizes.
#include <stdio.h>
#include <string.h>

#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/UiTexts.h"

namespace {

const char* const kWeekdayAbbr[2][7] = {{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
                                        {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}};
const char* const kMonthAbbr[2][12] = {
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"}};

int Language() { return TextLanguage == 1 ? 1 : 0; }

// Today's date; 0 while the clock is unknown.
int TodayMjd() {
  word mjd = 0;
  byte hour = 0, minute = 0, second = 0;
  if (!TAP_GetTime(&mjd, &hour, &minute, &second)) return 0;
  return mjd;
}

}  // namespace

void WeekdayToAlphaAbbr(int weekday, char* out) {
  if (weekday < 0 || weekday > 6) {
    strcpy(out, "BAD");
    return;
  }
  snprintf(out, 5, "%s", kWeekdayAbbr[Language()][weekday]);
}

void MonthToAlpha(int month, char* out) {
  if (month < 1 || month > 12) {
    strcpy(out, "BAD");
    return;
  }
  snprintf(out, 5, "%s", kMonthAbbr[Language()][month - 1]);
}

void FormatDate(const FileRecord* entry, char* out, int mode, int* fontSize) {
  out[0] = 0;
  if (!entry) return;
  word mjd = (word)(entry->stamp >> 16);
  word year = 0;
  byte month = 0, day = 0, weekday = 0;
  TAP_ExtractMjd(mjd, &year, &month, &day, &weekday);
  char dayName[8], monthName[8];
  WeekdayToAlphaAbbr(weekday, dayName);
  MonthToAlpha(month, monthName);

  switch (mode) {
    case 0:
      snprintf(out, 64, "%.5s %d %.30s", dayName, day, monthName);
      break;
    case 1: {
      int today = TodayMjd();
      // A date ahead of the clock (or an unknown clock) counts as this week.
      int weeks = today > mjd ? (today - mjd) / 7 : 0;
      if (weeks == 0) {
        char full[16];
        WeekdayToAlpha(weekday, full);
        snprintf(out, 64, "%.15s", full);
      } else if (weeks == 1) {
        snprintf(out, 64, "%.5s %.30s", dayName, Lang(text_LastWeek));
      } else if (weeks <= 5) {
        snprintf(out, 64, "%.5s %d%.30s", dayName, weeks, Lang(text_WksAgo));
      } else {
        int months = weeks / 4;
        snprintf(out, 64, "%.5s %d%.30s", dayName, months,
                 Lang(months < 2 ? text_MthAgo : text_MthsAgo));
      }
      break;
    }
    case 2:
      snprintf(out, 64, "%2.2d/%2.2d", day, month);
      break;
    case 3:
      snprintf(out, 64, "%2.2d.%2.2d", day, month);
      break;
    case 4:
      snprintf(out, 64, "%.5s %2.2d %.30s", dayName, day, monthName);
      break;
    case 9:
      snprintf(out, 64, "%.5s %d %.20s %4d", dayName, day, monthName, year);
      break;
    default:
      snprintf(out, 64, "%.5s %d %.20s", dayName, day, monthName);
      break;
  }
  if (fontSize) *fontSize = FitFontSize(out, 16, column3Width);
}

void FormatListDuration(int minutes, char* out) {
  if (minutes < 0) minutes = 0;
  int hours = minutes / 60, rest = minutes % 60;
  if (hours > 0 && rest == 0) {
    snprintf(out, 128, "%d%s", hours, Lang(hours == 1 ? text_Hour : text_Hours));
  } else if (hours > 0) {
    snprintf(out, 128, "%d%s %d%s", hours, Lang(text_HourShort), rest, Lang(text_MinuteShort));
  } else {
    snprintf(out, 128, "%d%s", rest, Lang(text_Min));
  }
}

void FormatList2Duration(int minutes, char* out) {
  if (minutes < 0) minutes = 0;
  snprintf(out, 128, "%d:%2.2d", minutes / 60, minutes % 60);
}

void FormatList3Duration(int minutes, char* out) {
  if (minutes < 0) minutes = 0;
  snprintf(out, 128, "%d%.1s %2.2d%.1s", minutes / 60, Lang(text_HourShort), minutes % 60,
           Lang(text_MinuteShort));
}

void FormatTimeAndDuration(const FileRecord* entry, char* out, int mode) {
  out[0] = 0;
  if (!entry) return;
  int hour = (entry->stamp >> 8) & 0xFF, minute = entry->stamp & 0xFF;
  int duration = (int)entry->durationMinutes;
  char text[128];
  switch (mode) {
    case 1: {
      int endMinute = (minute + duration) % 60;
      int endHour = hour + (minute + duration) / 60;
      // A recording longer than a day still shows a clock time.
      endHour %= 24;
      snprintf(out, 128, "%02d:%02d ~ %02d:%02d", hour, minute, endHour, endMinute);
      break;
    }
    case 2:
      FormatListDuration(duration, out);
      break;
    case 3:
      snprintf(out, 128, "%d", duration);
      break;
    case 4:
      snprintf(out, 128, "%d%.10s", duration, Lang(text_MinuteShort));
      break;
    case 5:
      FormatList2Duration(duration, out);
      break;
    case 6:
      FormatList3Duration(duration, text);
      snprintf(out, 128, "%02d:%02d (%.70s)", hour, minute, text);
      break;
    case 7:
      snprintf(out, 128, "%02d:%02d", hour, minute);
      break;
    default:
      FormatListDuration(duration, text);
      snprintf(out, 128, "%02d:%02d (%.70s)", hour, minute, text);
      break;
  }
}

void FormatFileSize(dword sizeLow, dword sizeHigh, char* out, int mode) {
  uint64_t size = (uint64_t)sizeHigh << 32 | sizeLow;
  dword megabytes = (dword)((size + 0x80000) >> 20);
  dword tenths = (dword)(((uint64_t)megabytes * 10) / 1024);
  dword gigabytes = tenths / 10;
  switch (mode) {
    case 2:
      snprintf(out, 128, "%01u.%01uGB", gigabytes, tenths % 10);
      break;
    case 3:
      snprintf(out, 128, "%u", megabytes);
      break;
    case 4:
      snprintf(out, 128, "%01u.%01u", gigabytes, tenths % 10);
      break;
    case 5:
      if (megabytes > 999) {
        snprintf(out, 128, "%01u.%01uGB", gigabytes, tenths % 10);
      } else {
        snprintf(out, 128, "%uMB", megabytes);
      }
      break;
    case 6:
      if (size / 1024 < 1000) {
        snprintf(out, 128, "%ukB", (dword)(size / 1024));
      } else if (gigabytes > 0) {
        snprintf(out, 128, "%uGB", gigabytes);
      } else {
        snprintf(out, 128, "%uMB", megabytes);
      }
      break;
    default:
      snprintf(out, 128, "%uMB", megabytes);
      break;
  }
}

void FormatNameString(const char* text, int* position, char* out, int width, int font) {
  out[0] = 0;
  if (!text || !position) return;
  int start = *position, length = (int)strlen(text);
  if (start < 0 || start >= length) {
    *position = length;
    return;
  }
  int taken = 0, lastSpace = -1;
  int i = start;
  // 255 characters at most: the caller's buffer holds 256.
  while (i < length && taken < 255) {
    out[taken] = text[i];
    out[taken + 1] = 0;
    if (text[i] == ' ') lastSpace = taken;
    taken++;
    i++;
    if ((int)PrintWidth(out, font) >= width) break;
  }
  if (i >= length) {
    *position = length;
    return;
  }
  if (out[taken - 1] == ' ') {
    out[taken - 1] = 0;
    *position = i;
  } else if (lastSpace >= 0) {
    out[lastSpace] = 0;
    *position = start + lastSpace + 1;
  } else {
    // One word longer than the line: cut it and drop the rest of the word.
    if (taken > 1)
      out[taken - 1] = 0;
    else
      i = start + 1;  // a single character wider than the line still moves on
    if (taken > 1) i--;
    while (i < length && text[i] != ' ') i++;
    if (i < length) i++;
    *position = i;
  }
}
