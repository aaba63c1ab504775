// internal.h - helpers shared by the catalogue's own files.
#pragma once

#include "catalogue/catalogue.h"

void ShowAllocationFailure(const char* where);
// Allocates (or reuses) and zeroes a record; null after showing the failure.
FileRecord* ClaimSlot(int n, int slot, const char* where);
FolderRecord* ClaimFolder(int n, const char* where);
// As the void operations, telling whether the line was filled.
bool AddNewFileChecked(const char* path, int folderNumber, int slot, DirEntry* entry);
bool AddNewFolderChecked(const char* path, int folderNumber, int slot, DirEntry* entry,
                         int newFolderNumber);
bool AddNewParentFolderChecked(const char* path, int folderNumber, int slot, int parentNumber);
// Rebuilds newFileCount and newFolderCount of every folder from the lines marked new.
void RecountNewIndicators(void);
// Brackets a scan: service look-ups inside fetch the channel identifiers once.
void BeginServiceLookups(void);
void EndServiceLookups(void);
