#include <string.h>

#include "lib/lib.h"

void SeparateFileNameComponents(const char* path, char* folder, char* name, char* extension,
                                int* index, bool* isRecording, bool* isRecycled) {
  if (folder) folder[0] = 0;
  if (name) name[0] = 0;
  if (extension) extension[0] = 0;
  if (index) *index = 0;
  if (isRecording) *isRecording = false;
  if (isRecycled) *isRecycled = false;
  if (!path || !name) return;

  const char* slash = strrchr(path, '/');
  const char* fileName = slash ? slash + 1 : path;
  size_t folderLength = (size_t)(fileName - path);
  if (folderLength >= PATH_BUFFER_SIZE) return;
  if (folder) {
    memcpy(folder, path, folderLength);
    folder[folderLength] = 0;
  }

  char rest[PATH_BUFFER_SIZE];
  size_t length = strlen(fileName);
  if (length >= sizeof rest) return;
  memcpy(rest, fileName, length + 1);
  if (StringEndsWith(rest, ".del")) {
    if (isRecycled) *isRecycled = true;
    length -= 4;
    rest[length] = 0;
  }
  // A companion splits like its recording.
  if (StringEndsWith(rest, ".rec.inf") || StringEndsWith(rest, ".mpg.inf") ||
      StringEndsWith(rest, ".rec.nav") || StringEndsWith(rest, ".mpg.nav")) {
    length -= 4;
    rest[length] = 0;
  }
  if (isRecording) *isRecording = HDD_isRecFileName(rest);

  char* dot = strrchr(rest, '.');
  if (dot) {
    if (extension) strcpy(extension, dot);
    *dot = 0;
    length = (size_t)(dot - rest);
  }
  if (length >= 2 && rest[length - 2] == '-' && rest[length - 1] >= '1' &&
      rest[length - 1] <= '9') {
    if (index) *index = rest[length - 1] - '0';
    length -= 2;
    rest[length] = 0;
  }
  strcpy(name, rest);
}
