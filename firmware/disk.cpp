// The firmware's file calls: every name is relative to the running
// application's current folder, which the firmware keeps as a system path in
// its table `_hddTapFolder`.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "internal.h"

namespace fw {

char* hddTapFolder[TAP_MAX_TASKS];

namespace {

char folders[TAP_MAX_TASKS][512];

// One listing per application: FindFirst takes a snapshot that FindNext walks.
struct Listing {
  std::vector<TYPE_DirEntry> entries;
  size_t next = 0;
};
Listing listings[TAP_MAX_TASKS];

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

int Slot() {
  int task = CurrentTask();
  return task >= 0 && task < TAP_MAX_TASKS ? task : 0;
}

// `dir` is the folder's open descriptor: the entry is looked up relative to
// it, without building its path.
bool FillEntry(int dir, const char* name, TYPE_DirEntry& entry) {
  struct stat st;
  if (fstatat(dir, name, &st, 0) != 0) return false;
  memset(&entry, 0, sizeof entry);
  if (S_ISDIR(st.st_mode)) {
    entry.attr = ATTR_FOLDER;
  } else if (S_ISREG(st.st_mode)) {
    entry.attr = ATTR_NORMAL;
    entry.sizeLow = static_cast<dword>(static_cast<uint64_t>(st.st_size));
    entry.sizeHigh = static_cast<dword>(static_cast<uint64_t>(st.st_size) >> 32);
  } else {
    return false;
  }
  // The recorder's clock runs in local time, which is UTC here.
  entry.stamp = PackStamp(st.st_mtime);
  size_t length = strnlen(name, sizeof entry.name - 1);
  memcpy(entry.name, name, length);
  entry.name[length] = 0;
  return true;
}

bool Matches(const char* name, const TYPE_DirEntry& entry, const char* ext) {
  if (!ext || !*ext || !strcmp(ext, "*") || !strcmp(ext, "*.*")) return true;
  if (entry.attr != ATTR_NORMAL) return false;
  std::string suffix = ext;
  if (suffix.rfind("*", 0) == 0) suffix.erase(0, 1);
  if (suffix[0] != '.') suffix = "." + suffix;
  size_t n = strlen(name);
  return n >= suffix.size() && strcasecmp(name + n - suffix.size(), suffix.c_str()) == 0;
}

uint64_t DiskUsage(const std::string& path, dev_t device) {
  uint64_t total = 0;
  DIR* dir = opendir(path.c_str());
  if (!dir) return 0;
  while (dirent* e = readdir(dir)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    std::string child = path + "/" + e->d_name;
    struct stat st;
    if (lstat(child.c_str(), &st) != 0 || st.st_dev != device) continue;  // other drives
    if (S_ISDIR(st.st_mode)) {
      total += DiskUsage(child, device);
    } else if (S_ISREG(st.st_mode)) {
      total += static_cast<uint64_t>(st.st_size);
    }
  }
  closedir(dir);
  return total;
}

}  // namespace

void ResetDisk() {
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    hddTapFolder[i] = folders[i];
    SetTaskFolder(i, "/mnt/hd/");
    listings[i] = Listing();
  }
}

void SetTaskFolder(int index, const std::string& systemFolder) {
  if (index < 0 || index >= TAP_MAX_TASKS) return;
  snprintf(folders[index], sizeof folders[index], "%s", systemFolder.c_str());
}

std::string TaskFolder() { return folders[Slot()]; }

// A folder path with nothing to resolve: "/" or "/a/b", no empty, "." or ".."
// part.
bool PlainFolder(const std::string& path) {
  if (path == "/") return true;
  if (path.empty() || path[0] != '/' || path.back() == '/') return false;
  for (size_t at = 0; at < path.size(); at++) {
    if (path[at] != '/') continue;
    if (path[at + 1] == '/') return false;
    if (path[at + 1] == '.' &&
        (path[at + 2] == '/' || path[at + 2] == 0 ||
         (path[at + 2] == '.' && (path[at + 3] == '/' || path[at + 3] == 0))))
      return false;
  }
  return true;
}

std::string ResolveName(const char* name) {
  if (!name) return "";
  // A plain name in a plain folder (every file a scan opens) joins directly.
  if (name[0] && !strchr(name, '/') && strcmp(name, ".") != 0 && strcmp(name, "..") != 0) {
    std::string folder = FirmwareFolderOf(TaskFolder());
    if (PlainFolder(folder)) {
      std::string path = kDiskRoot;
      if (folder != "/") path += folder;
      return path + "/" + name;
    }
  }
  std::string firmware = name;
  std::vector<std::string> parts;
  if (firmware.empty() || firmware[0] != '/') {
    parts = SplitPath(FirmwareFolderOf(TaskFolder()));
  }
  for (const std::string& p : SplitPath(firmware)) {
    if (p == ".") continue;
    if (p == "..") {
      if (parts.empty()) return "";
      parts.pop_back();
    } else {
      parts.push_back(p);
    }
  }
  std::string path = kDiskRoot;
  for (const std::string& p : parts) path += "/" + p;
  if (parts.empty()) path += "/";
  return path;
}

std::string FirmwareFolderOf(const std::string& systemPath) {
  size_t n = strlen(kDiskRoot);
  if (systemPath.compare(0, n, kDiskRoot) != 0) return "/";
  std::string rest = systemPath.substr(n);
  return rest.empty() ? "/" : rest;
}

TYPE_File* OpenSystemFile(const std::string& path, bool create) {
  if (path.empty()) return nullptr;
  dword mode = TAP_FILE_READ | TAP_FILE_WRITE;
  int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
  if (fd < 0 && !create) {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    mode = TAP_FILE_READ;
  }
  if (fd < 0) return nullptr;
  // Only files open (a folder opens for reading, but is no file).
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  TYPE_File* file = new TYPE_File();
  file->magic = TAP_FILE_MAGIC;
  file->mode = mode;
  file->handle = fd;
  snprintf(file->path, sizeof file->path, "%s", path.c_str());
  return file;
}

}  // namespace fw

using fw::ResolveName;

namespace {

bool IsOpen(const TYPE_File* file) { return file && file->magic == TAP_FILE_MAGIC; }

}  // namespace

extern "C" {

int TAP_Hdd_ChangeDir(const char* dir) {
  if (!dir || !*dir) return 0;
  std::string path = ResolveName(dir);
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
  fw::SetTaskFolder(fw::Slot(), path);
  return 1;
}

TYPE_File* TAP_Hdd_Fopen(const char* name) { return fw::OpenSystemFile(ResolveName(name), false); }

dword TAP_Hdd_Fread(void* buf, dword blksize, dword blcnt, TYPE_File* file) {
  if (!IsOpen(file) || !buf || blksize == 0) return 0;
  if (!fw::ReadAllowed()) return 0;
  uint64_t want = static_cast<uint64_t>(blksize) * blcnt;
  uint64_t got = 0;
  while (got < want) {
    ssize_t n = read(file->handle, static_cast<char*>(buf) + got, want - got);
    if (n <= 0) break;
    got += static_cast<uint64_t>(n);
  }
  return static_cast<dword>(got / blksize);
}

namespace fw {
namespace {
// Files the firmware writes carry its own clock, as on the recorder, whose
// system time is the broadcast time: the host's clock means nothing here.
void StampWithClock(int fd) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(LocalNow());
  times[0].tv_nsec = times[1].tv_nsec = 0;
  futimens(fd, times);
}
}  // namespace
}  // namespace fw

dword TAP_Hdd_Fwrite(const void* buf, dword blksize, dword blcnt, TYPE_File* file) {
  if (!IsOpen(file) || !buf || blksize == 0 || !(file->mode & TAP_FILE_WRITE)) return 0;
  if (!fw::DiskChangeAllowed()) return 0;
  uint64_t want = fw::WriteRoom(static_cast<uint64_t>(blksize) * blcnt);
  uint64_t done = 0;
  while (done < want) {
    ssize_t n = write(file->handle, static_cast<const char*>(buf) + done, want - done);
    if (n <= 0) break;
    done += static_cast<uint64_t>(n);
  }
  if (done > 0) fw::StampWithClock(file->handle);
  return static_cast<dword>(done / blksize);
}

dword TAP_Hdd_Fseek(TYPE_File* file, long pos, dword where) {
  if (!IsOpen(file)) return 0;
  int whence = where == SEEK_CUR ? SEEK_CUR : where == SEEK_END ? SEEK_END : SEEK_SET;
  off_t at = lseek(file->handle, static_cast<off_t>(pos), whence);
  return at < 0 ? 0 : static_cast<dword>(at);
}

dword TAP_Hdd_Ftell(TYPE_File* file) {
  if (!IsOpen(file)) return 0;
  off_t at = lseek(file->handle, 0, SEEK_CUR);
  return at < 0 ? 0 : static_cast<dword>(at);
}

dword TAP_Hdd_Flen(TYPE_File* file) {
  struct stat st;
  if (!IsOpen(file) || fstat(file->handle, &st) != 0) return 0;
  return static_cast<dword>(st.st_size);
}

void TAP_Hdd_Fclose(TYPE_File* file) {
  if (!IsOpen(file)) return;
  close(file->handle);
  file->magic = 0;
  delete file;
}

dword TAP_Hdd_Create(const char* name, byte attr) {
  std::string path = ResolveName(name);
  if (path.empty() || path == "/mnt/hd/") return 0;
  if (!fw::DiskChangeAllowed()) return 0;
  if (attr == ATTR_FOLDER) {
    if (mkdir(path.c_str(), 0777) == 0) return 1;
    struct stat st;
    return errno == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
  }
  // A new file is empty; an existing one is truncated, as the recorder does
  // when it creates over a name.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return 0;
  fw::StampWithClock(fd);
  close(fd);
  return 1;
}

int TAP_Hdd_Delete(const char* name) {
  std::string path = ResolveName(name);
  struct stat st;
  if (path.empty() || path == "/mnt/hd/" || lstat(path.c_str(), &st) != 0) return 0;
  if (!fw::DiskChangeAllowed()) return 0;
  return (S_ISDIR(st.st_mode) ? rmdir(path.c_str()) : unlink(path.c_str())) == 0 ? 1 : 0;
}

int TAP_Hdd_Exist(const char* name) {
  std::string path = ResolveName(name);
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 ? 1 : 0;
}

int TAP_Hdd_Rename(const char* oldName, const char* newName) {
  std::string from = ResolveName(oldName);
  std::string to = ResolveName(newName);
  struct stat st;
  if (from.empty() || to.empty() || from == "/mnt/hd/" || to == "/mnt/hd/") return 0;
  // The recorder refuses to rename over an existing name.
  if (lstat(to.c_str(), &st) == 0) return 0;
  return rename(from.c_str(), to.c_str()) == 0 ? 1 : 0;
}

dword TAP_Hdd_FindFirst(TYPE_DirEntry* entry, const char* ext) {
  fw::Listing& listing = fw::listings[fw::Slot()];
  listing = fw::Listing();
  std::string folder = fw::TaskFolder();
  DIR* dir = opendir(folder.c_str());
  if (dir) {
    // The names side by side in one buffer, sorted by their offsets.
    std::string names;
    std::vector<size_t> at;
    while (dirent* e = readdir(dir)) {
      if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
      at.push_back(names.size());
      names.append(e->d_name, strlen(e->d_name) + 1);
    }
    const char* text = names.data();
    std::sort(at.begin(), at.end(),
              [text](size_t a, size_t b) { return strcmp(text + a, text + b) < 0; });
    listing.entries.reserve(at.size());
    for (size_t offset : at) {
      const char* name = text + offset;
      TYPE_DirEntry found;
      if (fw::FillEntry(dirfd(dir), name, found) && fw::Matches(name, found, ext)) {
        listing.entries.push_back(found);
      }
    }
    closedir(dir);
  }
  if (listing.entries.empty()) {
    if (entry) memset(entry, 0, sizeof *entry);
    return 0;
  }
  if (entry) *entry = listing.entries[0];
  listing.next = 1;
  return static_cast<dword>(listing.entries.size());
}

dword TAP_Hdd_FindNext(TYPE_DirEntry* entry) {
  fw::Listing& listing = fw::listings[fw::Slot()];
  if (listing.next >= listing.entries.size()) return 0;
  if (entry) *entry = listing.entries[listing.next];
  listing.next++;
  return 1;
}

dword TAP_Hdd_TotalSize(void) { return static_cast<dword>(fw::config.diskCapacityMB); }

dword TAP_Hdd_FreeSize(void) {
  struct stat root;
  if (stat(fw::kDiskRoot, &root) != 0) return 0;
  uint64_t usedMB = fw::DiskUsage(fw::kDiskRoot, root.st_dev) >> 20;
  return usedMB >= fw::config.diskCapacityMB
             ? 0
             : static_cast<dword>(fw::config.diskCapacityMB - usedMB);
}

}  // extern "C"
