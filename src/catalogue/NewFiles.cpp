// "New" markers: files newer than the last time the user looked at their folder, and
// the count of folders below each folder that hold such files.
#include <string.h>

#include "catalogue/catalogue.h"

dword PackedNow(void) {
  word mjd = 0;
  byte hour = 0, minute = 0, second = 0;
  if (!TAP_GetTime(&mjd, &hour, &minute, &second)) return 0;
  return (dword)mjd << 16 | (dword)hour << 8 | minute;
}

void SetDirectoryLastViewed(int n) {
  if (n >= 0 && n < MAX_FOLDERS && myfolders[n]) myfolders[n]->lastViewed = PackedNow();
}

void SetLastView(const char* path, int n) {
  if (n < 0 || n >= MAX_FOLDERS || !myfolders[n]) return;
  int last =
      numberOfFolderLastViewInfo < MAX_FOLDERS ? numberOfFolderLastViewInfo : MAX_FOLDERS - 1;
  for (int i = 0; path && i <= last; i++) {
    if (folderLastViewInfo[i].path[0] &&
        strncmp(folderLastViewInfo[i].path, path, PATH_FIELD) == 0) {
      myfolders[n]->lastViewed = folderLastViewInfo[i].lastViewed;
      return;
    }
  }
  // A folder met for the first time shows none of its present files as new.
  SetDirectoryLastViewed(n);
}

bool AfterLastView(const char* /*path*/, int n, DirEntry* entry) {
  if (n < 0 || n >= MAX_FOLDERS || !myfolders[n] || !entry) return false;
  return myfolders[n]->lastViewed < entry->stamp;
}

void CascadeFolderHasNewChange(int n, int delta) {
  // Bounded: a damaged chain of parents must not loop.
  for (int steps = 0; n > 0 && n < MAX_FOLDERS && myfolders[n] && steps < MAX_FOLDERS; steps++) {
    myfolders[n]->newFolderCount += delta;
    if (myfolders[n]->parentNumber == 0) break;
    n = myfolders[n]->parentNumber;
  }
}

void ResetNewFileIndicators(int n) {
  if (n < 0 || n >= MAX_FOLDERS) return;
  for (int j = 1; j <= numberOfFiles && j < MAX_SLOTS; j++)
    if (FileSlot(n, j)) FileSlot(n, j)->isNew = 0;
}
