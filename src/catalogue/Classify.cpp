// Which directory entries the list takes, and moving the firmware's current folder.
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "catalogue/catalogue.h"

namespace {

// The tests below look at the first 11 and the last 9 characters of the name
// (at most 126 of them) alone: a long name's middle is left out of the
// lower-cased copy they work on, which keeps both ends as they are.
const int kHead = 11, kTail = 13;

void LowerCopy(char* out, const char* name) {
  int n = 0;
  while (name && n < NAME_FIELD - 1 && name[n]) n++;
  int from = n > kHead + kTail ? n - kTail : kHead;
  int o = 0;
  for (int i = 0; i < n && i < kHead; i++) out[o++] = (char)tolower((unsigned char)name[i]);
  for (int i = from; i < n; i++) out[o++] = (char)tolower((unsigned char)name[i]);
  out[o] = 0;
}

bool EndsWith(const char* text, const char* end) {
  size_t n = strlen(text), m = strlen(end);
  return n >= m && memcmp(text + n - m, end, m) == 0;
}

bool ValidLower(const char* lower) {
  static const char* const kSuffixes[] = {".mpg",  ".rec",  ".ts",  ".mp4", ".vob",
                                          ".divx", ".xvid", ".avi", ".wmv", ".mkv"};
  if (strncmp(lower, "__temprec__", 11) == 0) return false;
  switch (tempFileSuffixOption) {
    case 2:
      return true;
    case 1:
      return !EndsWith(lower, ".inf") && !EndsWith(lower, ".nav");
    default:
      for (const char* s : kSuffixes)
        if (EndsWith(lower, s)) return true;
      return false;
  }
}

}  // namespace

int IsFileRec_Valid(const char* name) {
  char lower[NAME_FIELD];
  LowerCopy(lower, name);
  return ValidLower(lower) ? 1 : 0;
}

int IsFileRec(const char* name) {
  char lower[NAME_FIELD];
  LowerCopy(lower, name);
  if (EndsWith(lower, ".del")) {
    lower[strlen(lower) - 4] = 0;
    return ValidLower(lower) ? 2 : 0;
  }
  return ValidLower(lower) ? 1 : 0;
}

int IsFileTAP(const char* name) {
  char lower[NAME_FIELD];
  LowerCopy(lower, name);
  if (EndsWith(lower, ".del")) return 2;
  if (EndsWith(lower, ".tap")) return 1;
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
