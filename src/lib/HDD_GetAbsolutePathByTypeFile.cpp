#include <string.h>

#include "lib/lib.h"

int HDD_GetAbsolutePathByTypeFile(const TYPE_File* file, char* out) {
  if (!out) return 0;
  out[0] = 0;
  if (!file) return 0;
  size_t length = strnlen(file->path, sizeof file->path);
  if (length >= PATH_BUFFER_SIZE) length = PATH_BUFFER_SIZE - 1;
  memcpy(out, file->path, length);
  out[length] = 0;
  return 1;
}
