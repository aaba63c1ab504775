#include "fuzz.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "emu.h"
#include "testdisk.h"

namespace fuzz {

namespace {

std::string disk;

void ShutDown() {
  emu::Shutdown(0);
  testdisk::RemoveTree(disk);
}

}  // namespace

void BootOnce() {
  if (!disk.empty()) return;
  // Every input rewrites a file: in memory that costs no disk writeback.
  if (!getenv("TMPDIR") && access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  disk = testdisk::MakeTempDir("fuzz");
  testdisk::Disk builder(disk);  // folders and FirmwareTMS.dat
  builder.Folder("/DataFiles");
  builder.Folder("/ProgramFiles/Settings/Pavrolinex");
  emu::Config config;
  config.diskDir = disk;
  config.screen = false;  // nobody looks at the frames
  if (!emu::Boot(config)) {
    fprintf(stderr, "fuzz: cannot boot the recorder: %s\n", emu::LastError().c_str());
    testdisk::RemoveTree(disk);
    abort();
  }
  // The firmware's statics come first, so that they are still there when the
  // recorder shuts down at exit.
  TAP_MemFree(TAP_MemAlloc(1));
  atexit(ShutDown);
}

void PutFile(const std::string& firmwarePath, const uint8_t* data, size_t size) {
  std::string path = disk + firmwarePath;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    perror(path.c_str());
    abort();
  }
  for (size_t done = 0; done < size;) {
    ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) {
      perror(path.c_str());
      abort();
    }
    done += (size_t)n;
  }
  close(fd);
}

}  // namespace fuzz
