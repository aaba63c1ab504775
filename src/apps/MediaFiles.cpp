// The firmware's /MediaFiles folder made visible inside /DataFiles, which is
// all the list browses: mounted over "~MediaFiles" or linked as
// "_MediaFiles". The commands run in the recorder's shell with fixed paths.
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "app/log.h"
#include "catalogue/catalogue.h"

namespace {

const char kMountName[] = "~MediaFiles";
const char kLinkName[] = "_MediaFiles";

// Drops the line `name` of /DataFiles and the folder it stands for from the
// catalogue, once the folder itself is gone from the disk.
void DropDataFilesFolder(const char* name) {
  FolderRecord* root = myfolders[0];
  if (!root) return;
  for (int slot = 1; slot <= root->entryCount && slot < MAX_SLOTS; slot++) {
    FileRecord* line = FileSlot(0, slot);
    if (!line || line->attribute != ATTRIBUTE_FOLDER || strcmp(line->name, name) != 0) continue;
    if (line->folderNumber > 0 && line->folderNumber < MAX_FOLDERS) {
      DeleteMyfilesFolderEntry(line->folderNumber);
    }
    DeleteMyfilesEntry(0, slot, 0);
    return;
  }
}

// Runs `work` with /DataFiles as the firmware's folder, and puts the folder
// the caller had back afterwards.
template <typename Work>
void InDataFiles(Work work) {
  int pushed = HDD_TAP_PushDir();
  GotoDataFiles();
  work();
  if (pushed) HDD_TAP_PopDir();
}

// The shell's answer is wanted only where a fallback depends on it.
int Run(const char* command) { return system(command); }

}  // namespace

void MediaFiles_Mount() {
  InDataFiles([] {
    bool created = !TAP_Hdd_Exist(kMountName) && TAP_Hdd_Create(kMountName, ATTR_FOLDER);
    if (!TAP_Hdd_Exist(kMountName)) return;
    // A mount that is already there only takes its options again.
    int status = Run("mount /mnt/hd/MediaFiles /mnt/hd/DataFiles/~MediaFiles -o remount");
    if (status > 255) status = Run("mount /mnt/hd/MediaFiles /mnt/hd/DataFiles/~MediaFiles");
    if (status > 255) {
      // An empty folder in the list would pass for the media folder; one the
      // user had before is the user's.
      if (created) TAP_Hdd_Delete(kMountName);
      WriteLog("MediaFiles: cannot mount");
    }
  });
}

void MediaFiles_Unmount() {
  InDataFiles([] {
    if (!TAP_Hdd_Exist(kMountName)) return;
    Run("umount /mnt/hd/DataFiles/~MediaFiles");
    Run("rmdir /mnt/hd/DataFiles/~MediaFiles");
    if (!TAP_Hdd_Exist(kMountName)) DropDataFilesFolder(kMountName);
  });
}

void MediaFiles_Link() {
  InDataFiles([] {
    if (!TAP_Hdd_Exist(kLinkName)) Run("ln -s /mnt/hd/MediaFiles /mnt/hd/DataFiles/_MediaFiles");
  });
}

void MediaFiles_Unlink() {
  InDataFiles([] {
    // Only the link goes: a file or folder of that name is the user's.
    struct stat st;
    if (lstat("/mnt/hd/DataFiles/_MediaFiles", &st) != 0 || !S_ISLNK(st.st_mode)) return;
    Run("rm /mnt/hd/DataFiles/_MediaFiles");
    if (!TAP_Hdd_Exist(kLinkName)) DropDataFilesFolder(kLinkName);
  });
}
