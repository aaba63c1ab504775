#include "lib/lib.h"

uint64_t HDD_GetInodeByFileName(const char* path) {
  uint64_t inode = 0;
  if (!HDD_GetFileSizeAndInode(path, &inode, 0)) return 0;
  return inode;
}
