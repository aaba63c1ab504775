// The catalogue tables and their lifetime.
#include <string.h>

#include "catalogue/catalogue.h"

FolderRecord* myfolders[MAX_FOLDERS];
FileRecord* myfiles[MAX_FOLDERS * MAX_SLOTS];
int numberOfFolders;
LastViewEntry folderLastViewInfo[MAX_FOLDERS];
int numberOfFolderLastViewInfo;
int CurrentDirNumber;
int numberOfFiles;
int maxShown;
DirEntry file, newfile, blankFile;
FileRecord currentFile;
FolderRecord currentFolder;
int initialLoad;

void CreateBlankFile(void) { memset(&blankFile, 0, sizeof blankFile); }

void ReleaseCatalogue(void) {
  for (int i = 0; i < MAX_FOLDERS * MAX_SLOTS; i++) {
    if (myfiles[i]) {
      TAP_MemFree(myfiles[i]);
      myfiles[i] = nullptr;
    }
  }
  for (int n = 0; n < MAX_FOLDERS; n++) {
    if (myfolders[n]) {
      TAP_MemFree(myfolders[n]);
      myfolders[n] = nullptr;
    }
  }
  numberOfFolders = 0;
  numberOfFiles = 0;
  maxShown = 0;
}

int InitialiseCatalogue(void) {
  ReleaseCatalogue();
  CreateBlankFile();
  myfolders[0] = (FolderRecord*)TAP_MemAlloc(sizeof(FolderRecord));
  FileSlot(0, 0) = (FileRecord*)TAP_MemAlloc(sizeof(FileRecord));
  FileSlot(0, 1) = (FileRecord*)TAP_MemAlloc(sizeof(FileRecord));
  if (!myfolders[0] || !FileSlot(0, 0) || !FileSlot(0, 1)) {
    ReleaseCatalogue();
    return -1;
  }
  memset(myfolders[0], 0, sizeof(FolderRecord));
  memset(FileSlot(0, 0), 0, sizeof(FileRecord));
  memset(FileSlot(0, 1), 0, sizeof(FileRecord));
  return 0;
}
