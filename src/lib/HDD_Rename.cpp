#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

// Folder + name + index + extension + companion suffix + recycle mark.
static bool CompanionPath(const char* path, const char* companion, char* out) {
  char folder[PATH_BUFFER_SIZE], name[PATH_BUFFER_SIZE], extension[PATH_BUFFER_SIZE];
  int index;
  bool recycled;
  SeparateFileNameComponents(path, folder, name, extension, &index, 0, &recycled);
  char indexText[16] = "";
  if (index) snprintf(indexText, sizeof indexText, "-%d", index);
  int written = snprintf(out, PATH_BUFFER_SIZE, "%s%s%s%s%s%s", folder, name, indexText, extension,
                         companion, recycled ? ".del" : "");
  return written > 0 && written < PATH_BUFFER_SIZE;
}

int HDD_Rename(const char* from, const char* to) {
  if (!from || !to || !*from || !*to || !HDD_Exist(from)) return 0;
  char source[PATH_BUFFER_SIZE], target[PATH_BUFFER_SIZE];
  ConvertPathType(from, source, PF_SystemFilePath);
  ConvertPathType(to, target, PF_SystemFilePath);
  if (!source[0] || !target[0]) return 0;
  // Renaming a file to its own name is done already; the unique-name search
  // would otherwise move it to "-2".
  if (strcmp(source, target) == 0) return 1;
  MakeUniqueFileName(target);
  // No free name found: rename() would replace the existing file.
  if (HDD_Exist(target)) return 0;
  if (rename(source, target) != 0) return 0;

  static const char* const companions[] = {".inf", ".nav"};
  for (const char* companion : companions) {
    char oldPath[PATH_BUFFER_SIZE], newPath[PATH_BUFFER_SIZE];
    if (!CompanionPath(source, companion, oldPath) || !CompanionPath(target, companion, newPath))
      continue;
    // The main file may itself have been a companion name; never replace.
    if (strcmp(oldPath, source) == 0 || !HDD_Exist(oldPath) || HDD_Exist(newPath)) continue;
    rename(oldPath, newPath);
  }
  return 1;
}
