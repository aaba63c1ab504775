#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

// Decodes the octal escapes of a mount table field ("\040" for a blank);
// returns false when nothing is left.
static bool DecodeMountField(const char* field, char* out, size_t size) {
  size_t n = 0;
  for (const char* p = field; *p && n + 1 < size;) {
    if (p[0] == '\\' && p[1] >= '0' && p[1] <= '3' && p[2] >= '0' && p[2] <= '7' && p[3] >= '0' &&
        p[3] <= '7') {
      out[n++] = (char)((p[1] - '0') * 64 + (p[2] - '0') * 8 + (p[3] - '0'));
      p += 4;
    } else if (p[0] == '\\' && p[1] == '\\') {
      out[n++] = '\\';
      p += 2;
    } else {
      out[n++] = *p++;
    }
  }
  out[n] = 0;
  return n > 0;
}

static void WithSlash(char* text, size_t size) {
  size_t length = strlen(text);
  if (length > 0 && text[length - 1] != '/' && length + 1 < size) strcpy(text + length, "/");
}

// Reads the next blank-separated field of the current mount table line into
// out. Returns false at the end of the line; *fits is false when the field
// was longer than out (it is cut) or held a zero byte. *end receives the
// byte that ended the field ('\n' or EOF end the line).
static bool ReadMountField(FILE* mounts, char* out, size_t size, bool* fits, int* end) {
  int c = *end;
  if (c == '\n' || c == EOF) return false;
  while ((c = fgetc(mounts)) == ' ' || c == '\t') {
  }
  size_t n = 0;
  *fits = true;
  for (; c != EOF && c != '\n' && c != ' ' && c != '\t'; c = fgetc(mounts)) {
    if (c == 0 || n + 1 >= size)
      *fits = false;
    else
      out[n++] = (char)c;
  }
  out[n] = 0;
  *end = c;
  return n > 0 || !*fits;
}

int HDD_FindMountPointDevice(const char* path, char* mountPoint, char* device) {
  if (mountPoint) mountPoint[0] = 0;
  if (device) device[0] = 0;
  if (!path || !*path) return 0;
  char folder[PATH_BUFFER_SIZE];
  ConvertPathType(path, folder, PF_SystemFolder);
  if (!folder[0]) return 0;

  FILE* mounts = fopen("/proc/mounts", "r");
  if (!mounts) return 0;
  char bestMount[PATH_BUFFER_SIZE] = "";
  char bestDevice[PATH_BUFFER_SIZE] = "";
  size_t bestLength = 0;
  // Field by field, so that no line, however long or odd, takes its
  // neighbour with it.
  int end = 0;
  while (end != EOF) {
    char rawDevice[PATH_BUFFER_SIZE], rawMount[PATH_BUFFER_SIZE];
    bool deviceFits, mountFits;
    end = 0;
    bool complete = ReadMountField(mounts, rawDevice, sizeof rawDevice, &deviceFits, &end) &&
                    ReadMountField(mounts, rawMount, sizeof rawMount, &mountFits, &end);
    while (end != '\n' && end != EOF) end = fgetc(mounts);
    // A mount directory longer than a path holds no path; a device name
    // that does not fit is not given.
    if (!complete || !mountFits) continue;
    if (!deviceFits) rawDevice[0] = 0;
    char mountDir[PATH_BUFFER_SIZE];
    if (!DecodeMountField(rawMount, mountDir, sizeof mountDir)) strcpy(mountDir, rawMount);
    size_t length = strlen(mountDir);
    // A mount holds the folder when its directory is a whole-component
    // prefix: /mnt/sda does not hold /mnt/sda1/.
    while (length > 1 && mountDir[length - 1] == '/') mountDir[--length] = 0;
    if (strncmp(folder, mountDir, length) != 0) continue;
    if (length > 1 && folder[length] != '/') continue;
    if (length <= bestLength && bestMount[0]) continue;
    bestLength = length;
    strcpy(bestMount, mountDir);
    if (!DecodeMountField(rawDevice, bestDevice, sizeof bestDevice)) strcpy(bestDevice, rawDevice);
  }
  fclose(mounts);
  if (!bestMount[0] && !bestDevice[0]) return 0;
  WithSlash(bestMount, sizeof bestMount);
  WithSlash(bestDevice, sizeof bestDevice);
  if (mountPoint) strcpy(mountPoint, bestMount);
  if (device) strcpy(device, bestDevice);
  return 1;
}
