#include <string.h>

#include "lib/lib.h"

namespace {

// A path being assembled in a path buffer; too long a result becomes "".
struct PathBuilder {
  char text[PATH_BUFFER_SIZE] = "";
  size_t length = 0;
  bool overflow = false;

  void Add(const char* part, size_t count) {
    if (overflow) return;
    if (length + count >= sizeof text) {
      overflow = true;
      return;
    }
    memcpy(text + length, part, count);
    length += count;
    text[length] = 0;
  }
  void Add(const char* part) { Add(part, strlen(part)); }
  void EnsureSlash() {
    if (length == 0 || text[length - 1] != '/') Add("/");
  }
  // The current firmware folder with its trailing "/"; false when unknown.
  bool AddCurrentFolder() {
    char current[PATH_BUFFER_SIZE];
    if (!HDD_TAP_GetCurrentDir(current)) return false;
    Add(current);
    EnsureSlash();
    return true;
  }
};

// Whether a system path lies on the firmware's own disk.
bool OnSystemRoot(const char* path) {
  size_t rootLength = strlen(SYSTEM_ROOT);
  return strncmp(path, SYSTEM_ROOT, rootLength) == 0 &&
         (path[rootLength] == 0 || path[rootLength] == '/');
}

// Builds `path` converted into `form`; false where no conversion exists.
bool Convert(const char* path, int from, int form, PathBuilder& out) {
  const size_t rootLength = strlen(SYSTEM_ROOT);
  const char* lastSlash = strrchr(path, '/');
  if (from == form) {
    out.Add(path);
    if (form == PF_FirmwareFolder || form == PF_SystemFolder) out.EnsureSlash();
    return true;
  }
  switch (from) {
    case PF_BareName:
      if (form == PF_SystemFolder || form == PF_SystemFilePath) out.Add(SYSTEM_ROOT);
      if (!out.AddCurrentFolder()) return false;
      if (form == PF_FirmwareFilePath || form == PF_SystemFilePath) out.Add(path);
      return form != PF_BareName;
    case PF_FirmwareFolder:
      if (form != PF_SystemFolder) return false;
      out.Add(SYSTEM_ROOT);
      if (path[0] != '/' && !out.AddCurrentFolder()) return false;
      out.Add(path);
      out.EnsureSlash();
      return true;
    case PF_SystemFolder:
      if (form != PF_FirmwareFolder || !OnSystemRoot(path)) return false;
      out.Add(path + rootLength);
      out.EnsureSlash();
      return true;
    case PF_FirmwareFilePath:
      if (!lastSlash) return false;
      if (form == PF_BareName) {
        out.Add(lastSlash + 1);
      } else if (form == PF_FirmwareFolder) {
        out.Add(path, (size_t)(lastSlash - path) + 1);
      } else {
        out.Add(SYSTEM_ROOT);
        if (path[0] != '/' && !out.AddCurrentFolder()) return false;
        if (form == PF_SystemFolder)
          out.Add(path, (size_t)(lastSlash - path) + 1);
        else
          out.Add(path);
      }
      return true;
    case PF_SystemFilePath:
      if (!lastSlash) return false;
      if (form == PF_BareName) {
        out.Add(lastSlash + 1);
      } else if (form == PF_SystemFolder) {
        out.Add(path, (size_t)(lastSlash - path) + 1);
      } else {
        if (!OnSystemRoot(path)) return false;
        if (form == PF_FirmwareFolder)
          out.Add(path + rootLength, (size_t)(lastSlash - path) + 1 - rootLength);
        else
          out.Add(path + rootLength);
        if (form == PF_FirmwareFolder) out.EnsureSlash();
      }
      return true;
  }
  return false;
}

}  // namespace

void ConvertPathType(const char* source, char* destination, int form) {
  if (!destination) return;
  if (!source || !*source) {
    destination[0] = 0;
    return;
  }
  PathBuilder out;
  bool converted = Convert(source, GetPathType(source), form, out);
  if (!converted || out.overflow)
    destination[0] = 0;
  else
    memcpy(destination, out.text, out.length + 1);
}
