// Automatic renaming: recordings directly in /DataFiles whose names end in a
// date placeholder ("Show MMDD.rec", "News ##-##-##.rec") get the recording's
// date in its place, with their companions and their viewing history.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"

namespace {

struct Placeholder {
  const char* ending;
  int kind;  // 0 removed, 1 month and day, 2 year, month and day, 3 weekday, 4 "MM-DD"
};

// Tested in this order; the first that ends the base name decides.
const Placeholder kHashForms[] = {{"##-##-##", 2}, {"####", 1}, {"###", 3},
                                  {"##-##", 4},    {" #", 0},   {"#", 0}};
const Placeholder kLetterForms[] = {{"MMDD", 1}, {"DDD", 3}};

const char* const kWeekdays[2][7] = {{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
                                     {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}};

bool EndsWith(const char* text, size_t length, const char* ending) {
  size_t n = strlen(ending);
  return n <= length && strncmp(text + length - n, ending, n) == 0;
}

// The extension starts at the last ".", the base is what comes before.
size_t BaseLength(const char* name) {
  const char* dot = strrchr(name, '.');
  return dot ? (size_t)(dot - name) : strlen(name);
}

}  // namespace

int FileNameEligible(const char* name, char* placeholder, int* kind) {
  if (!name || !placeholder || !kind) return 0;
  size_t base = BaseLength(name);
  const Placeholder* forms = kLetterForms;
  int count = 2;
  if (base > 0 && name[base - 1] == '#') {
    forms = kHashForms;
    count = 6;
  }
  for (int i = 0; i < count; i++) {
    if (!EndsWith(name, base, forms[i].ending)) continue;
    snprintf(placeholder, NAME_FIELD, "%s%s", forms[i].ending, name + base);
    *kind = forms[i].kind;
    return 1;
  }
  return 0;
}

void PrepareNewEnd(char* text, dword stamp, int kind) {
  char extension[NAME_FIELD];
  snprintf(extension, sizeof extension, "%s", text);
  word year = 0, mjd = 0;
  byte month = 0, day = 0, weekday = 0;
  bool fromStamp = stamp > 0xFFFF && stamp < 0xFFFF0000u;
  if (fromStamp) {
    TAP_ExtractMjd((word)(stamp >> 16), &year, &month, &day, &weekday);
    fromStamp = year > 2000;
  }
  if (!fromStamp) {
    byte hour, minute, second;
    year = month = day = weekday = 0;
    if (TAP_GetTime(&mjd, &hour, &minute, &second) && mjd != 0) {
      TAP_ExtractMjd(mjd, &year, &month, &day, &weekday);
    }
  }
  char date[16] = "";
  switch (kind) {
    case 1:
      snprintf(date, sizeof date, "%2.2d%2.2d", month, day);
      break;
    case 2:
      snprintf(date, sizeof date, "%2.2d-%2.2d-%2.2d", year % 100, month, day);
      break;
    case 3:
      snprintf(date, sizeof date, "%.4s",
               weekday < 7 ? kWeekdays[TextLanguage == 1 ? 1 : 0][weekday] : "BAD");
      break;
    case 4:
      snprintf(date, sizeof date, "%2.2d-%2.2d", month, day);
      break;
  }
  snprintf(text, 64, "%s%.*s", date, (int)(63 - strlen(date)), extension);
}

int AutoRenameSearchFiles() {
  int renamed = 0;
  int pushed = HDD_TAP_PushDir();
  // The names first: renaming while the folder is listed could skip or
  // repeat entries.
  TYPE_DirEntry entry;
  memset(&entry, 0, sizeof entry);
  int total = HDD_ChangeDir("/DataFiles") ? (int)TAP_Hdd_FindFirst(&entry, "*") : 0;
  if (total > MAX_FOLDER_LINES) total = MAX_FOLDER_LINES;
  TYPE_DirEntry* found =
      total > 0 ? (TYPE_DirEntry*)TAP_MemAlloc((dword)(sizeof(TYPE_DirEntry) * total)) : nullptr;
  int count = 0;
  for (int i = 0; found && i < total; i++) {
    if (i > 0 && !TAP_Hdd_FindNext(&entry)) break;
    entry.name[sizeof entry.name - 1] = 0;
    char placeholder[NAME_FIELD];
    int kind;
    if (entry.attr != ATTR_NORMAL || strlen(entry.name) >= NAME_FIELD ||
        IsFileRec(entry.name) != 1 || !FileNameEligible(entry.name, placeholder, &kind))
      continue;
    found[count++] = entry;
  }
  for (int i = 0; i < count; i++) {
    const char* name = found[i].name;
    char from[PATH_BUFFER_SIZE];
    snprintf(from, sizeof from, "/mnt/hd/DataFiles/%.127s", name);
    // Played, recorded or copied: a later check.
    if (HDD_isFileInUse(from) != 0 || CheckEntryInUse("/DataFiles", name, 0) != IN_USE_None)
      continue;
    char placeholder[NAME_FIELD], ending[64];
    int kind = 0;
    FileNameEligible(name, placeholder, &kind);
    snprintf(ending, sizeof ending, "%s", name + BaseLength(name));
    PrepareNewEnd(ending, found[i].stamp, kind);
    char newName[PATH_BUFFER_SIZE];
    snprintf(newName, sizeof newName, "%s", name);
    StrReplace(newName, placeholder, ending);
    // The three passes of every name the program makes; only a name the
    // user typed keeps its letters beyond ASCII.
    MakeValidFileName(newName, LC_Control);
    MakeValidFileName(newName, LC_Reserved);
    MakeValidFileName(newName, LC_PrintableOnly);
    char to[PATH_BUFFER_SIZE];
    snprintf(to, sizeof to, "/mnt/hd/DataFiles/%.126s", newName);
    MakeUniqueFileName(to);
    const char* toName = strrchr(to, '/') + 1;
    // A name the catalogue cannot hold (with its companions) would vanish.
    if (!newName[0] || strcmp(toName, name) == 0 || strlen(toName) > 122 || HDD_Exist(to)) continue;
    if (RenameRecordingSafely(from, to)) renamed++;
  }
  if (found) TAP_MemFree(found);
  if (pushed) HDD_TAP_PopDir();
  return renamed;
}
