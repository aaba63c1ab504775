// Power cuts: the disk stops taking changes part-way through whatever the
// applications are doing, as when the recorder is switched off at the wall.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>

#include "internal.h"

namespace {

int changesLeft = -1;  // -1: the power stays on
bool cut = false;
int writesLeft = -1;  // -1: the disk has room
bool full = false;
int readsLeft = -1;  // -1: every read succeeds
bool readFailed = false;

// How often each file was synced since the boot, by its path.
std::mutex syncLock;
std::map<std::string, int> syncs;

}  // namespace

namespace fw {

void ResetSyncs() {
  std::lock_guard<std::mutex> hold(syncLock);
  syncs.clear();
}

void ResetPower() {
  changesLeft = -1;
  cut = false;
  writesLeft = -1;
  full = false;
  readsLeft = -1;
  readFailed = false;
}

uint64_t WriteRoom(uint64_t want) {
  if (writesLeft < 0) return want;
  if (writesLeft > 0) {
    writesLeft--;
    return want;
  }
  // The write that meets the end of the room stores part of its bytes, as a
  // file system does before it reports ENOSPC; later ones store nothing.
  uint64_t room = full ? 0 : want / 2;
  full = true;
  return room;
}

bool ReadAllowed() {
  if (readsLeft < 0) return true;
  if (readsLeft == 0) {
    readFailed = true;
    return false;
  }
  readsLeft--;
  return true;
}

bool DiskChangeAllowed() {
  if (changesLeft < 0) return true;
  if (changesLeft == 0) {
    cut = true;
    return false;
  }
  changesLeft--;
  return true;
}

}  // namespace fw

namespace emu {

void CutPowerAfter(int changes) {
  changesLeft = changes < 0 ? 0 : changes;
  cut = false;
}

void RestorePower() { fw::ResetPower(); }

bool PowerWasCut() { return cut; }

void FillDiskAfter(int writes) {
  writesLeft = writes < 0 ? 0 : writes;
  full = false;
}

bool DiskWasFull() { return full; }

void FailReadsAfter(int reads) {
  readsLeft = reads < 0 ? 0 : reads;
  readFailed = false;
}

bool ReadFailed() { return readFailed; }

int SyncCount(const std::string& path) {
  std::lock_guard<std::mutex> hold(syncLock);
  auto found = syncs.find(path);
  return found == syncs.end() ? 0 : found->second;
}

}  // namespace emu

// fsync as applications see it: it syncs, and the recorder notes which file
// was synced, so that tests can tell a copy that reached the disk from one
// that may still sit in the cache.
extern "C" int fsync(int fd) {
  char link[64], path[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, path, sizeof path - 1);
  long result = syscall(SYS_fsync, fd);
  if (result == 0 && n > 0) {
    path[n] = 0;
    std::lock_guard<std::mutex> hold(syncLock);
    syncs[path]++;
  }
  return (int)result;
}

// The recorder's system library as applications see it: a rename is a change
// to the disk like any other and stops with the power.
extern "C" int rename(const char* from, const char* to) {
  if (!fw::DiskChangeAllowed()) {
    errno = EIO;
    return -1;
  }
  return renameat(AT_FDCWD, from, AT_FDCWD, to);
}

// A second name for a file (a copy named without replacing anything) is a
// change too.
extern "C" int link(const char* from, const char* to) {
  if (!fw::DiskChangeAllowed()) {
    errno = EIO;
    return -1;
  }
  return linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

// Opening a file through the C library (fopen): for writing or appending it
// is a change to the disk and stops with the power, like a rename. The
// program's fopen opens the file itself and hands it to fdopen, under both
// names the C library has for it.
namespace {

FILE* OpenStream(const char* path, const char* mode) {
  if (!path || !mode) {
    errno = EINVAL;
    return nullptr;
  }
  bool update = strchr(mode, '+') != nullptr;
  int flags;
  switch (mode[0]) {
    case 'r':
      flags = update ? O_RDWR : O_RDONLY;
      break;
    case 'w':
      flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
      break;
    case 'a':
      flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
      break;
    default:
      errno = EINVAL;
      return nullptr;
  }
  if (strchr(mode, 'e')) flags |= O_CLOEXEC;
  if (strchr(mode, 'x')) flags |= O_EXCL;
  if ((flags & O_ACCMODE) != O_RDONLY && !fw::DiskChangeAllowed()) {
    errno = EIO;
    return nullptr;
  }
  int fd = open(path, flags, 0666);
  if (fd < 0) return nullptr;
  FILE* stream = fdopen(fd, mode);
  if (!stream) {
    int error = errno;
    close(fd);
    errno = error;
  }
  return stream;
}

}  // namespace

extern "C" FILE* ProgramFopen(const char* path, const char* mode) __asm__("fopen");
extern "C" FILE* ProgramFopen64(const char* path, const char* mode) __asm__("fopen64");
extern "C" FILE* ProgramFopen(const char* path, const char* mode) { return OpenStream(path, mode); }
extern "C" FILE* ProgramFopen64(const char* path, const char* mode) {
  return OpenStream(path, mode);
}
