// Which directory entries the list takes, and moving the firmware's current folder.
#include <stdio.h>
#include <string.h>

#include "catalogue/catalogue.h"

namespace {

// A name as the tests below see it: its first 126 characters, compared
// without regard to case (of ASCII letters, as the C locale has it). Only its two ends matter, so
// nothing is copied.
struct Name {
  const char* text;
  int length;
};

Name View(const char* name) { return {name, name ? (int)strnlen(name, NAME_FIELD - 1) : 0}; }

bool SameLower(const char* text, const char* lower, int count) {
  for (int i = 0; i < count; i++)
    if ((text[i] >= 'A' && text[i] <= 'Z' ? text[i] + ('a' - 'A') : text[i]) != lower[i])
      return false;
  return true;
}

// `end` is in lower case, `m` characters long.
bool EndsWith(Name name, const char* end, int m) {
  return name.length >= m && SameLower(name.text + name.length - m, end, m);
}

bool ValidName(Name name) {
  // The extensions taken, by length, after their dot.
  static const char* const kExtensions[6][8] = {
      {}, {}, {"ts"}, {"mpg", "rec", "mp4", "vob", "avi", "wmv", "mkv"}, {"divx", "xvid"}, {}};
  if (name.length >= 11 && SameLower(name.text, "__temprec__", 11)) return false;
  switch (tempFileSuffixOption) {
    case 2:
      return true;
    case 1:
      return !EndsWith(name, ".inf", 4) && !EndsWith(name, ".nav", 4);
    default:
      for (int k = 2; k <= 4; k++) {
        if (name.length < k + 1 || name.text[name.length - k - 1] != '.') continue;
        for (const char* extension : kExtensions[k])
          if (extension && SameLower(name.text + name.length - k, extension, k)) return true;
      }
      return false;
  }
}

}  // namespace

int IsFileRec_Valid(const char* name) { return ValidName(View(name)) ? 1 : 0; }

int IsFileRec(const char* name) {
  Name view = View(name);
  if (EndsWith(view, ".del", 4)) {
    view.length -= 4;
    return ValidName(view) ? 2 : 0;
  }
  return ValidName(view) ? 1 : 0;
}

int IsFileTAP(const char* name) {
  Name view = View(name);
  if (EndsWith(view, ".del", 4)) return 2;
  if (EndsWith(view, ".tap", 4)) return 1;
  return 0;
}

void ChangeDirRoot(void) { TAP_Hdd_ChangeDir("/"); }

bool GotoPath(const char* path) {
  ChangeDirRoot();
  return path && path[0] == '/' && TAP_Hdd_ChangeDir(path) == 1;
}

bool JoinFolderPath(char* out, int size, const char* path, const char* name) {
  int length = snprintf(out, (size_t)size, "%s/%s", path, name);
  return length >= 0 && length < size && length < PATH_FIELD;
}

void GotoDataFiles(void) { GotoPath("/DataFiles"); }
void GotoProgramFiles(void) { GotoPath("/ProgramFiles"); }
