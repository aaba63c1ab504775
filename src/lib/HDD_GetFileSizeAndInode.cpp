#include <string.h>
#include <sys/stat.h>

#include "lib/lib.h"

int HDD_GetFileSizeAndInode(const char* path, uint64_t* inode, uint64_t* size) {
  if (!path || !*path) return 0;
  struct stat64 st;
  // A system path of an existing entry converts to itself: the one lstat
  // that classifies it also answers (a folder has no file size and inode to
  // give). Anything else is converted first.
  if (path[0] == '/' && strlen(path) < PATH_BUFFER_SIZE && lstat64(path, &st) == 0) {
    if (S_ISDIR(st.st_mode)) return 0;
    if (inode) *inode = (uint64_t)st.st_ino;
    if (size) *size = (uint64_t)st.st_size;
    return 1;
  }
  char systemPath[PATH_BUFFER_SIZE];
  ConvertPathType(path, systemPath, PF_SystemFilePath);
  if (!systemPath[0] || lstat64(systemPath, &st) != 0) return 0;
  if (inode) *inode = (uint64_t)st.st_ino;
  if (size) *size = (uint64_t)st.st_size;
  return 1;
}
