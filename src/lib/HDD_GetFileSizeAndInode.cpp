#include <sys/stat.h>

#include "lib/lib.h"

int HDD_GetFileSizeAndInode(const char* path, uint64_t* inode, uint64_t* size) {
  if (!path || !*path) return 0;
  char systemPath[PATH_BUFFER_SIZE];
  ConvertPathType(path, systemPath, PF_SystemFilePath);
  struct stat64 st;
  if (!systemPath[0] || lstat64(systemPath, &st) != 0) return 0;
  if (inode) *inode = (uint64_t)st.st_ino;
  if (size) *size = (uint64_t)st.st_size;
  return 1;
}
