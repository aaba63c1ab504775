#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

// Whether a candidate name is free: the file itself and, since a recording
// brings its companions along, its ".inf" and ".nav" names too.
static bool NameIsFree(const char* folder, const char* name, int index, const char* extension,
                       bool recycled, bool recording, char* out) {
  char indexText[16] = "";
  if (index) snprintf(indexText, sizeof indexText, "-%d", index);
  const char* recycleMark = recycled ? ".del" : "";
  int written = snprintf(out, PATH_BUFFER_SIZE, "%s%s%s%s%s", folder, name, indexText, extension,
                         recycleMark);
  if (written < 0 || written >= PATH_BUFFER_SIZE) return false;
  if (HDD_Exist(out)) return false;
  if (!recording) return true;
  static const char* const companions[] = {".inf", ".nav"};
  for (const char* companion : companions) {
    char companionPath[PATH_BUFFER_SIZE];
    written = snprintf(companionPath, sizeof companionPath, "%s%s%s%s%s%s", folder, name, indexText,
                       extension, companion, recycleMark);
    if (written < 0 || written >= (int)sizeof companionPath || HDD_Exist(companionPath))
      return false;
  }
  return true;
}

void MakeUniqueFileName(char* path) {
  if (!path || !*path) return;
  char folder[PATH_BUFFER_SIZE], name[PATH_BUFFER_SIZE], extension[PATH_BUFFER_SIZE];
  int index;
  bool recording, recycled;
  SeparateFileNameComponents(path, folder, name, extension, &index, &recording, &recycled);
  if (!name[0] && !extension[0]) return;
  if (index == 0) index = 2;
  char candidate[PATH_BUFFER_SIZE];
  if (NameIsFree(folder, name, 0, extension, recycled, recording, candidate)) {
    strcpy(path, candidate);
    return;
  }
  // Bounded: a folder cannot hold this many variants, and a candidate cut
  // short (no room left for another index) ends the search as well.
  for (; index < 100000; index++) {
    if (NameIsFree(folder, name, index, extension, recycled, recording, candidate)) {
      strcpy(path, candidate);
      return;
    }
    if (strlen(candidate) + 1 >= PATH_BUFFER_SIZE) break;
  }
}
