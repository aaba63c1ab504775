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

// Up to four characters lower-cased into one number, the first lowest.
dword Packed(const char* text, int count) {
  dword v = 0;
  for (int i = count - 1; i >= 0; i--) {
    char c = text[i];
    v = v << 8 | (byte)(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  }
  return v;
}

constexpr dword Pack(const char* text) {
  dword v = 0;
  for (int i = 3; i >= 0; i--) v = v << 8 | (text[i] ? (byte)text[i] : 0);
  return v;
}

bool ValidName(Name name) {
  // The extensions taken, by length, after their dot (0 ends a list).
  static const dword kExtensions[5][8] = {
      {0},
      {0},
      {Pack("ts\0\0"), 0},
      {Pack("mpg\0"), Pack("rec\0"), Pack("mp4\0"), Pack("vob\0"), Pack("avi\0"), Pack("wmv\0"),
       Pack("mkv\0"), 0},
      {Pack("divx"), Pack("xvid"), 0}};
  if (name.length >= 11 && SameLower(name.text, "__temprec__", 11)) return false;
  switch (tempFileSuffixOption) {
    case 2:
      return true;
    case 1:
      return !EndsWith(name, ".inf", 4) && !EndsWith(name, ".nav", 4);
    default:
      for (int k = 2; k <= 4; k++) {
        if (name.length < k + 1 || name.text[name.length - k - 1] != '.') continue;
        dword extension = Packed(name.text + name.length - k, k);
        for (const dword* e = kExtensions[k]; *e; e++)
          if (*e == extension) return true;
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
