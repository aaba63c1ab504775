// When the recorder and this application were last started. The recorder's
// system clock counts from 1 January at boot, so its day of the year and time
// of day are the system's uptime; the application's start is the time stamp
// of its start line in the log.
#include <stdio.h>
#include <string.h>

#include "app/log.h"
#include "app/texts.h"
#include "apps/apps.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"

namespace {

AppText text_UptimeTitle = {"Check System Uptime",
                            "Systemlaufzeit pr\xFC"
                            "fen"};
AppText text_SystemStarted = {"System Started: ", "System gestartet: "};
AppText text_TapStarted = {"   TAP Started: ", "   TAP gestartet: "};
AppText text_UptimeSpan = {"(uptime: %dd, %dh, %dm)", "(Laufzeit: %dd, %dh, %dm)"};
AppText text_SystemNoFile = {"System: Cannot find file", "System: Datei nicht gefunden"};
AppText text_SystemUnreadable = {"System: Cannot open file", "System: Datei nicht lesbar"};
AppText text_SystemUnexpected = {"System: Unexpected answer", "System: Unerwartete Antwort"};
AppText text_TapTooLong = {"TAP: File too long", "TAP: Datei zu lang"};
AppText text_TapEmpty = {"TAP: File is empty", "TAP: Datei ist leer"};
AppText text_TapNoFile = {"TAP: Cannot find file", "TAP: Datei nicht gefunden"};
AppText text_TapUnreadable = {"TAP: Cannot open file", "TAP: Datei nicht lesbar"};

const char kUptimeFile[] = "~Pavrolinex_uptime.tmp";
const int kLogLimit = 2500;

// A moment as the firmware counts it, and a span of days, hours and minutes.
struct Moment {
  int mjd, hour, minute;
};

// The number of at most `width` characters at `text + at`, only digits
// counting and nothing read from `length` on: a damaged field gives a
// meaningless value, never a read past the text.
int NumberAt(const char* text, int length, int at, int width) {
  int value = 0;
  for (int i = at; i < at + width && i < length; i++) {
    if (text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i] - '0');
  }
  return value;
}

// `from` moved back by the span, borrowing an hour for minutes and a day for
// hours as a clock does.
Moment Before(Moment from, int days, int hours, int minutes) {
  Moment at = {from.mjd - days, from.hour - hours, from.minute - minutes};
  while (at.minute < 0) {
    at.minute += 60;
    at.hour--;
  }
  while (at.hour < 0) {
    at.hour += 24;
    at.mjd--;
  }
  return at;
}

void FormatStart(char* out, int size, const char* label, Moment start, int days, int hours,
                 int minutes) {
  word year = 0;
  byte month = 0, day = 0;
  TAP_ExtractMjd((word)(start.mjd < 0 ? 0 : start.mjd), &year, &month, &day, nullptr);
  int n = snprintf(out, size, "%s%4.4d-%2.2d-%2.2d %2.2d:%2.2d ", label, year, month, day,
                   start.hour, start.minute);
  if (n > 0 && n < size) snprintf(out + n, size - n, Text(text_UptimeSpan), days, hours, minutes);
}

// "System Started: …", or the reason why the system's answer is missing.
void SystemLine(Moment now, char* out, int size) {
  RunIntoSettingsFile(
      "date +'%j %H %M' | awk 'END{printf(\"%3.3d days, %2.2d hours, %2.2d mins.\",$1-1,$2,$3);}'",
      kUptimeFile);
  char answer[51];
  int length = TakeSettingsFile(kUptimeFile, answer, sizeof answer);
  if (length == SHELL_FILE_MISSING) {
    snprintf(out, size, "%s", Text(text_SystemNoFile));
  } else if (length == SHELL_FILE_UNREADABLE) {
    snprintf(out, size, "%s", Text(text_SystemUnreadable));
  } else if (length < 22) {
    // Shorter than "ddd days, hh hours, mm": not the answer asked for.
    snprintf(out, size, "%s \"%.30s\"", Text(text_SystemUnexpected), answer);
  } else {
    int days = NumberAt(answer, length, 0, 3);
    int hours = NumberAt(answer, length, 10, 2);
    int minutes = NumberAt(answer, length, 20, 2);
    FormatStart(out, size, Text(text_SystemStarted), Before(now, days, hours, minutes), days, hours,
                minutes);
  }
}

// Start of the line that holds the application's last start: the last line
// with "Start" after its time stamp, else the last line of all.
int LastStartLine(const char* log, int length) {
  int lastLine = -1;
  for (int end = length - 3; end >= -1; end--) {
    if (end >= 0 && log[end] != '\r' && log[end] != '\n') continue;
    int line = end + 1;
    if (lastLine < 0) lastLine = line;
    if (line + 25 <= length && strncmp(log + line + 20, "Start", 5) == 0) return line;
  }
  return lastLine < 0 ? 0 : lastLine;
}

// "   TAP Started: …", or the reason why the log gives no start.
void ApplicationLine(Moment now, char* out, int size) {
  static char log[kLogLimit + 1];
  int pushed = HDD_TAP_PushDir();
  int length = -1;
  const char* failure = nullptr;
  if (!HDD_ChangeDir(LOG_FOLDER) || !TAP_Hdd_Exist(LOG_NAME)) {
    failure = Text(text_TapNoFile);
  } else if (TYPE_File* file = TAP_Hdd_Fopen(LOG_NAME)) {
    dword fileLength = TAP_Hdd_Flen(file);
    if (fileLength > (dword)kLogLimit) {
      failure = Text(text_TapTooLong);
    } else if (fileLength < 5) {
      failure = Text(text_TapEmpty);
    } else if (TAP_Hdd_Fread(log, fileLength, 1, file) != 1) {
      failure = Text(text_TapUnreadable);
    } else {
      length = (int)fileLength;
    }
    TAP_Hdd_Fclose(file);
  } else {
    failure = Text(text_TapUnreadable);
  }
  if (pushed) HDD_TAP_PopDir();
  if (failure) {
    snprintf(out, size, "%s", failure);
    return;
  }
  const char* line = log + LastStartLine(log, length);
  int rest = length - (int)(line - log);
  Moment start = {TAP_MakeMjd((word)NumberAt(line, rest, 0, 4), (byte)NumberAt(line, rest, 5, 2),
                              (byte)NumberAt(line, rest, 8, 2)),
                  NumberAt(line, rest, 11, 2), NumberAt(line, rest, 14, 2)};
  // The span from the start to now, with the same borrowing.
  Moment span = Before(now, start.mjd, start.hour, start.minute);
  FormatStart(out, size, Text(text_TapStarted), start, span.mjd, span.hour, span.minute);
}

}  // namespace

void CheckUptime() {
  word mjd = 0;
  byte hour = 0, minute = 0, second = 0;
  TAP_GetTime(&mjd, &hour, &minute, &second);
  Moment now = {mjd, hour, minute};
  char systemLine[128];
  char applicationLine[128];
  SystemLine(now, systemLine, sizeof systemLine);
  ApplicationLine(now, applicationLine, sizeof applicationLine);
  DisplayMessageWindow(Text(text_UptimeTitle), systemLine, applicationLine, nullptr);
}
