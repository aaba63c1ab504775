// Mount-table lines of any content (escaped names such as "\040", lines cut
// short, fields too long for a path) as the application reads /proc/mounts:
// the harness hands the input to the reader in place of the kernel's table.
// The first line of the input is the path looked up.
#include <string.h>

#include "fuzz.h"
#include "lib/lib.h"

namespace {

const uint8_t* table;
size_t tableSize;

}  // namespace

// The application's fopen, diverted for /proc/mounts only (-Wl,--wrap).
extern "C" FILE* __real_fopen(const char* path, const char* mode);
extern "C" FILE* __real_fopen64(const char* path, const char* mode);
extern "C" FILE* __wrap_fopen(const char* path, const char* mode) {
  if (table && strcmp(path, "/proc/mounts") == 0)
    return fmemopen((void*)table, tableSize ? tableSize : 1, "r");
  return __real_fopen(path, mode);
}
extern "C" FILE* __wrap_fopen64(const char* path, const char* mode) {
  if (table && strcmp(path, "/proc/mounts") == 0)
    return fmemopen((void*)table, tableSize ? tableSize : 1, "r");
  return __real_fopen64(path, mode);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* newline = (const uint8_t*)memchr(data, '\n', size);
  size_t pathLength = newline ? (size_t)(newline - data) : 0;
  if (pathLength >= 300) return 0;
  std::string path((const char*)data, pathLength);
  path = path.substr(0, strlen(path.c_str()));
  if (path.empty()) path = "/DataFiles/USB/x.rec";
  // An empty table is one zero byte of the harness's own, never the byte
  // past the input.
  static uint8_t empty[1];
  tableSize = newline ? size - pathLength - 1 : 0;
  table = tableSize ? newline + 1 : empty;

  char* mountPoint = (char*)malloc(PATH_BUFFER_SIZE);
  char* device = (char*)malloc(PATH_BUFFER_SIZE);
  if (HDD_FindMountPointDevice(path.c_str(), mountPoint, device)) {
    FUZZ_CHECK(strlen(mountPoint) < PATH_BUFFER_SIZE && strlen(device) < PATH_BUFFER_SIZE);
    // The mount found holds the path's folder.
    char folder[PATH_BUFFER_SIZE];
    ConvertPathType(path.c_str(), folder, PF_SystemFolder);
    size_t length = strlen(mountPoint);
    while (length > 1 && mountPoint[length - 1] == '/') length--;
    if (length > 1) FUZZ_CHECK(strncmp(folder, mountPoint, length) == 0);
  }
  HDD_FindMountPoint(path.c_str(), mountPoint);
  free(device);
  free(mountPoint);
  table = nullptr;
  return 0;
}
