// Sort names: recording names without suffix, duplicate counter and date stamp.
#include <stdio.h>
#include <string.h>

#include "catalogue/catalogue.h"

char suffix[127];

namespace {

const char* const kWeekdays[2][7] = {
    {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool CharMatches(char p, char c) {
  switch (p) {
    case 'Y':
    case 'M':
    case 'D':
    case '9':
      return IsDigit(c);
    case '*':
      return c == ' ' || c == '-' || c == '.' || c == '/' || c == '_';
    case ' ':
      return c == ' ' || c == '_';
    case '%':
      return c == '-' || (unsigned char)c == 0xAD;
    default:
      return c == p;
  }
}

bool IsWeekdayAbbreviation(const char* text) {
  for (int day = 0; day < 7; day++) {
    char weekday[16];
    WeekdayToAlpha(day, weekday);
    if (strlen(weekday) >= 3 && strncmp(text, weekday, 3) == 0) return true;
  }
  return false;
}

const char* const kStampPatterns[] = {" % YYYY*MM*DD 99*99",
                                      "*YYYY*MM*DD 99*99",
                                      "*99*99 YYYY*MM*DD",
                                      "*YYYYMMDD_9999",
                                      "*YYYYMMDD",
                                      "*YYYY*MM*DD",
                                      "*DD*MM*YYYY",
                                      "*YY*MM*DD",
                                      "*DDMMYY",
                                      "*DD*MM",
                                      "*MMDD",
                                      "- DDD",
                                      " DDD"};

// Cuts the first of `patterns` that the end of `name` matches.
void CutFirstMatch(char* name, const char* const* patterns, int count) {
  for (int i = 0; i < count; i++) {
    if (MatchFileStamp(patterns[i], name)) {
      name[strlen(name) - strlen(patterns[i])] = 0;
      return;
    }
  }
}

}  // namespace

void WeekdayToAlpha(int day, char* out) {
  if (day < 0 || day > 6) {
    strcpy(out, "BAD");
    return;
  }
  int language = TextLanguage == 1 ? 1 : 0;
  sprintf(out, "%.11s", kWeekdays[language][day]);
}

bool MatchFileStamp(const char* pattern, const char* name) {
  if (!pattern || !name) return false;
  size_t p = strlen(pattern), n = strlen(name);
  if (p > n) return false;
  const char* text = name + n - p;
  if (strcmp(pattern, " DDD") == 0 && text[0] == ' ') return IsWeekdayAbbreviation(text + 1);
  if (strcmp(pattern, "- DDD") == 0 && text[0] == '-' && text[1] == ' ')
    return IsWeekdayAbbreviation(text + 2);
  for (size_t i = 0; i < p; i++)
    if (!CharMatches(pattern[i], text[i])) return false;
  if (strcmp(pattern, "*MMDD") == 0) {
    if (text[1] > '1') return false;
    if (text[1] == '1' && text[2] > '2') return false;
  }
  return true;
}

void StripFileName(char* name) {
  suffix[0] = 0;
  if (!name || !name[0]) return;
  char* dot = strrchr(name + 1, '.');
  if (dot && strcmp(dot, ".del") == 0) {
    char* before = nullptr;
    for (char* q = dot - 1; q > name; q--) {
      if (*q == '.') {
        before = q;
        break;
      }
    }
    dot = before;
  }
  if (!dot) return;
  snprintf(suffix, sizeof suffix, "%s", dot);
  *dot = 0;
}

void FormatSortName(char* sortName, const char* name) {
  char work[NAME_FIELD];
  snprintf(work, sizeof work, "%.126s", name ? name : "");
  StripFileName(work);
  static const char* const kCounters[] = {"~99", "~9"};
  CutFirstMatch(work, kCounters, 2);
  CutFirstMatch(work, kStampPatterns, 13);
  snprintf(sortName, NAME_FIELD, "%s", work);
}
