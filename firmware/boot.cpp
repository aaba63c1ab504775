// Boot and shutdown of the emulated recorder: the private mount namespace that
// puts the disk at /mnt/hd and the external drives beside it, and the
// namespace's own pseudo-terminals that catch the network output.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "internal.h"

namespace fw {

emu::Config config;
bool booted = false;

namespace {

std::string lastError;
bool inOwnUserNamespace = false;
std::vector<std::string> createdAliases;  // mount folders Boot made in the disk folder

// Network output: the master side of the namespace's terminal /dev/pts/0. The
// reader thread keeps the terminal from filling up (a full terminal would
// block the application's write forever, on the one event thread).
int ptyMaster = -1;
int ptySlave = -1;
int stopPipe[2] = {-1, -1};
std::thread netReader;
std::mutex netMutex;
std::string netText;
FILE* netFile = nullptr;

bool Fail(const std::string& what) {
  SetError(what + ": " + strerror(errno));
  return false;
}

bool WriteTextFile(const char* path, const std::string& text) {
  int fd = open(path, O_WRONLY);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  return ok;
}

bool MakeFolders(const std::string& path) {
  std::string part;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('/', pos + 1);
    part = path.substr(0, pos);
    if (part.empty()) continue;
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// Copies `size` bytes from one file to another, keeping holes as holes: a
// seeded drive holds recordings of gigabytes that are mostly holes, and the
// drive lives in memory.
bool CopySparse(int in, int out, off_t size) {
  char buf[65536];
  off_t pos = 0;
  while (pos < size) {
    off_t data = lseek(in, pos, SEEK_DATA);
    if (data < 0) break;  // only a hole remains (or no hole support: copied below)
    off_t hole = lseek(in, data, SEEK_HOLE);
    if (hole < 0) hole = size;
    for (off_t at = data; at < hole;) {
      ssize_t n = pread(in, buf, std::min<off_t>(sizeof buf, hole - at), at);
      if (n <= 0 || pwrite(out, buf, n, at) != n) return false;
      at += n;
    }
    pos = hole;
  }
  return ftruncate(out, size) == 0;
}

// Copies the tree below the open folder `from` into the folder `to`. Works on
// descriptors because the source may lie below /mnt, which the namespace
// covers before the copy.
bool CopyTree(int from, const std::string& to) {
  DIR* dir = fdopendir(dup(from));
  if (!dir) return false;
  bool ok = true;
  while (dirent* e = readdir(dir)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    struct stat st;
    if (fstatat(from, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    std::string target = to + "/" + e->d_name;
    if (S_ISDIR(st.st_mode)) {
      int sub = openat(from, e->d_name, O_RDONLY | O_DIRECTORY);
      if (sub < 0 || (mkdir(target.c_str(), 0777) != 0 && errno != EEXIST)) {
        ok = false;
      } else {
        ok = CopyTree(sub, target) && ok;
      }
      if (sub >= 0) close(sub);
    } else if (S_ISREG(st.st_mode)) {
      int in = openat(from, e->d_name, O_RDONLY);
      int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      if (in < 0 || out < 0 || !CopySparse(in, out, st.st_size)) ok = false;
      if (in >= 0) close(in);
      if (out >= 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        futimens(out, times);
        close(out);
      }
    }
  }
  closedir(dir);
  return ok;
}

// Removes everything below the folder `path` (the folder stays). Folders the
// overlay left without permissions are opened up first.
void RemoveContents(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (!dir) return;
  while (dirent* e = readdir(dir)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    std::string child = path + "/" + e->d_name;
    struct stat st;
    if (lstat(child.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      chmod(child.c_str(), 0700);
      RemoveContents(child);
      rmdir(child.c_str());
    } else {
      unlink(child.c_str());
    }
  }
  closedir(dir);
}

void ReadNet() {
  std::lock_guard<std::mutex> lock(netMutex);
  if (ptyMaster < 0) return;
  char buf[4096];
  for (;;) {
    ssize_t n = read(ptyMaster, buf, sizeof buf);
    if (n <= 0) break;
    std::string piece;
    for (ssize_t i = 0; i < n; i++) {
      if (buf[i] != '\0') piece += buf[i];  // the writers send their terminating zero
    }
    netText += piece;
    if (netFile) {
      fwrite(piece.data(), 1, piece.size(), netFile);
      fflush(netFile);
    }
  }
}

void NetReaderLoop() {
  for (;;) {
    pollfd fds[2] = {{ptyMaster, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    if (fds[0].revents & POLLIN) ReadNet();
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
  }
}

bool OpenTerminal() {
  // Close-on-exec everywhere: the shell commands an application runs must not
  // hold the terminal open.
  ptyMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (ptyMaster < 0) return Fail("cannot open the namespace's terminal master");
  if (grantpt(ptyMaster) != 0 || unlockpt(ptyMaster) != 0) return Fail("cannot unlock terminal");
  const char* name = ptsname(ptyMaster);
  if (!name || strcmp(name, "/dev/pts/0") != 0) {
    SetError(std::string("the namespace's first terminal is ") + (name ? name : "unnamed") +
             ", not /dev/pts/0");
    return false;
  }
  // Holding the slave open keeps the terminal alive between the application's
  // open-write-close cycles; raw mode passes the bytes unchanged.
  ptySlave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (ptySlave < 0) return Fail("cannot open /dev/pts/0");
  termios raw;
  if (tcgetattr(ptySlave, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(ptySlave, TCSANOW, &raw);
  }
  fcntl(ptyMaster, F_SETFL, fcntl(ptyMaster, F_GETFL) | O_NONBLOCK);
  if (pipe2(stopPipe, O_CLOEXEC) != 0) return Fail("pipe");
  if (!config.netOutputFile.empty()) {
    netFile = fopen(config.netOutputFile.c_str(), "we");
    if (!netFile) return Fail("cannot write " + config.netOutputFile);
  }
  netReader = std::thread(NetReaderLoop);
  return true;
}

void CloseTerminal() {
  if (netReader.joinable()) {
    char c = 1;
    if (write(stopPipe[1], &c, 1) != 1) {
      // the reader also ends when the terminal closes
    }
    netReader.join();
  }
  ReadNet();
  std::lock_guard<std::mutex> lock(netMutex);
  for (int* fd : {&ptyMaster, &ptySlave, &stopPipe[0], &stopPipe[1]}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
  if (netFile) fclose(netFile);
  netFile = nullptr;
}

bool EnterNamespace() {
  if (geteuid() == 0 || inOwnUserNamespace) {
    if (unshare(CLONE_NEWNS) != 0) return Fail("cannot create a mount namespace");
    return true;
  }
  uid_t uid = geteuid();
  gid_t gid = getegid();
  if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
    // A user namespace needs a single-threaded process; an emulator such as
    // qemu-user runs threads of its own. Started inside `unshare --user
    // --map-root-user`, the recorder is root there and needs only the mounts.
    if (errno == EINVAL) {
      return Fail(
          "cannot create a user namespace in a multi-threaded process (run it inside "
          "'unshare --user --map-root-user')");
    }
    return Fail(
        "cannot create a user and mount namespace (are unprivileged user namespaces "
        "enabled?)");
  }
  inOwnUserNamespace = true;
  WriteTextFile("/proc/self/setgroups", "deny");
  if (!WriteTextFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
      !WriteTextFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n")) {
    return Fail("cannot map the user into its namespace");
  }
  return true;
}

// Builds the new /mnt in a staging folder while the host's folders (which may
// lie below /mnt) are still visible, then moves it over /mnt in one step.
bool MountDrives(const std::string& stage) {
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return Fail("cannot make the mounts private");
  }
  if (mount("tmpfs", stage.c_str(), "tmpfs", 0, "mode=0755") != 0) {
    return Fail("cannot mount a tmpfs for /mnt");
  }
  std::string hd = stage + "/hd";
  if (mkdir(hd.c_str(), 0777) != 0) return Fail("mkdir /mnt/hd");
  if (mount(config.diskDir.c_str(), hd.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    return Fail("cannot bind " + config.diskDir + " at /mnt/hd");
  }
  for (const char* folder :
       {"/DataFiles", "/ProgramFiles", "/ProgramFiles/Settings", "/MediaFiles"}) {
    std::string path = hd + folder;
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
      return Fail(std::string("mkdir ") + folder);
  }
  return true;
}

bool MountExternal(const std::string& stage, const emu::ExternalDrive& drive) {
  if (drive.mountPoint.compare(0, 5, "/mnt/") != 0 || drive.mountPoint.size() <= 5 ||
      drive.mountPoint.find("/..") != std::string::npos) {
    SetError("the mount point of " + drive.device + " must lie below /mnt");
    return false;
  }
  std::string at = stage + drive.mountPoint.substr(4);
  if (!MakeFolders(at)) return Fail("mkdir " + drive.mountPoint);
  bool onDisk = !drive.onDiskDir.empty();
  if (onDisk && drive.sizeMB > 0) {
    SetError("the drive " + drive.device + " on disk has no size of its own");
    return false;
  }
  // On disk: an overlay whose upper folder (on the host's disk) holds every
  // file, over an empty lower one, so that it is a mount of its own with its
  // own device like a drive in memory. Where the host's file system cannot
  // carry an overlay the drive stays in memory.
  std::string files = drive.onDiskDir + "/files";
  if (onDisk) {
    RemoveContents(drive.onDiskDir);
    std::string lower = drive.onDiskDir + "/.lower", work = drive.onDiskDir + "/.work";
    if (!MakeFolders(files) || !MakeFolders(lower) || !MakeFolders(work))
      return Fail("cannot make the folders of " + drive.device + " in " + drive.onDiskDir);
    std::string options = "lowerdir=" + lower + ",upperdir=" + files + ",workdir=" + work;
    onDisk = mount(drive.device.c_str(), at.c_str(), "overlay", 0,
                   (options + ",userxattr").c_str()) == 0 ||
             mount(drive.device.c_str(), at.c_str(), "overlay", 0, options.c_str()) == 0;
    if (!onDisk) {
      fprintf(stderr, "recorder: %s stays in memory: no overlay on %s (%s)\n", drive.device.c_str(),
              drive.onDiskDir.c_str(), strerror(errno));
      RemoveContents(drive.onDiskDir);
    }
  }
  if (!onDisk) {
    std::string options = "mode=0777";
    if (drive.sizeMB > 0) options += ",size=" + std::to_string(drive.sizeMB) + "m";
    if (mount(drive.device.c_str(), at.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return Fail("cannot mount " + drive.device + " at " + drive.mountPoint);
    }
  }
  if (!drive.seedDir.empty()) {
    int seed = open(drive.seedDir.c_str(), O_RDONLY | O_DIRECTORY);
    if (seed < 0) return Fail("cannot open " + drive.seedDir);
    bool copied = CopyTree(seed, at);
    close(seed);
    if (!copied) {
      SetError("cannot copy " + drive.seedDir + " onto " + drive.device);
      return false;
    }
  }
  if (!drive.dataFilesName.empty()) {
    if (drive.dataFilesName.find('/') != std::string::npos || drive.dataFilesName == "..") {
      SetError("bad name for " + drive.device + " below /DataFiles");
      return false;
    }
    std::string alias = stage + "/hd/DataFiles/" + drive.dataFilesName;
    if (mkdir(alias.c_str(), 0777) == 0) {
      createdAliases.push_back(config.diskDir + "/DataFiles/" + drive.dataFilesName);
    } else if (errno != EEXIST) {
      return Fail("mkdir " + alias);
    }
    if (mount(at.c_str(), alias.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      return Fail("cannot bind " + drive.mountPoint + " below /DataFiles");
    }
  }
  return true;
}

// Where a pulled drive waits to be plugged in again: a hidden folder of the
// namespace's /mnt, so that it goes with /mnt at shutdown.
std::string PulledPlace(const emu::ExternalDrive& drive) {
  std::string device = drive.device.substr(drive.device.rfind('/') + 1);
  return "/mnt/.pulled-" + device;
}

const emu::ExternalDrive* DriveNamed(const std::string& device) {
  for (const emu::ExternalDrive& drive : config.drives) {
    if (drive.device == device) return &drive;
  }
  return nullptr;
}

bool MountAll() {
  char stage[] = "/tmp/pvr-mnt-XXXXXX";
  if (!mkdtemp(stage)) return Fail("cannot create a staging folder in /tmp");
  bool ok = MountDrives(stage);
  for (size_t i = 0; ok && i < config.drives.size(); i++)
    ok = MountExternal(stage, config.drives[i]);
  if (ok && mount(stage, "/mnt", nullptr, MS_MOVE, nullptr) != 0) {
    ok = Fail("cannot move the new /mnt into place");
  }
  if (!ok) {
    umount2(stage, MNT_DETACH);
    for (const emu::ExternalDrive& drive : config.drives) {
      if (!drive.onDiskDir.empty()) RemoveContents(drive.onDiskDir);
    }
  }
  rmdir(stage);
  return ok;
}

}  // namespace

void SetError(const std::string& message) { lastError = message; }

void DrainNet() { ReadNet(); }

}  // namespace fw

namespace emu {

const std::string& LastError() { return fw::lastError; }

bool Boot(const Config& cfg) {
  using namespace fw;
  if (booted) Shutdown(0);
  config = cfg;
  lastError.clear();
  createdAliases.clear();
  if (config.diskDir.empty()) {
    SetError("no disk folder given");
    return false;
  }
  if (!MakeFolders(config.diskDir)) return Fail("cannot create " + config.diskDir);
  bool ok = EnterNamespace() && MountAll();
  if (ok) BindUserland();
  if (ok) {
    if (mount("devpts", "/dev/pts", "devpts", 0, "newinstance,ptmxmode=0666,mode=0620") != 0) {
      ok = Fail("cannot give the namespace its own terminals (devpts)");
    } else if (mount("/dev/pts/ptmx", "/dev/ptmx", nullptr, MS_BIND, nullptr) != 0) {
      ok = Fail("cannot bind /dev/pts/ptmx over /dev/ptmx");
    }
  }
  {
    std::lock_guard<std::mutex> lock(netMutex);
    netText.clear();
  }
  ok = ok && OpenTerminal();
  if (!ok) {
    CloseTerminal();
    return false;
  }
  ResetMemory();
  ResetClock();
  ResetDisk();
  ResetPower();
  ResetSyncs();
  ResetChannels();  // before the display: the first picture shows the channel
  ResetOsd();
  ResetSymbols();
  ResetApps();
  ResetEvents();
  booted = true;
  return true;
}

void Shutdown(dword reason) {
  using namespace fw;
  if (!booted) return;
  // The host that watched the delays may be going away with this recorder.
  SetDelayObserver(nullptr);
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (IsRunning(i)) CallHandler(i, EVT_STOP, reason, 0);
  }
  UnloadAll();
  StopImageHost();
  DrainNet();
  CloseTerminal();
  // The disk folder is left as the recorder found it, without the folders
  // that only served as mount points of the external drives.
  umount2("/mnt", MNT_DETACH);
  for (const std::string& alias : createdAliases) rmdir(alias.c_str());
  createdAliases.clear();
  // A drive on disk is given back as empty as a drive in memory.
  for (const ExternalDrive& drive : config.drives) {
    if (!drive.onDiskDir.empty()) RemoveContents(drive.onDiskDir);
  }
  booted = false;
}

bool UnplugDrive(const std::string& device) {
  using namespace fw;
  const ExternalDrive* drive = DriveNamed(device);
  if (!booted || !drive) return false;
  std::string place = PulledPlace(*drive);
  if (mkdir(place.c_str(), 0700) != 0) return false;  // already pulled
  if (!drive->dataFilesName.empty()) {
    std::string alias = "/mnt/hd/DataFiles/" + drive->dataFilesName;
    umount2(alias.c_str(), MNT_DETACH);
    std::string hostAlias = config.diskDir + "/DataFiles/" + drive->dataFilesName;
    if (std::find(createdAliases.begin(), createdAliases.end(), hostAlias) != createdAliases.end())
      rmdir(alias.c_str());
  }
  if (mount(drive->mountPoint.c_str(), place.c_str(), nullptr, MS_MOVE, nullptr) != 0) {
    rmdir(place.c_str());
    return false;
  }
  return true;
}

bool PlugDrive(const std::string& device) {
  using namespace fw;
  const ExternalDrive* drive = DriveNamed(device);
  if (!booted || !drive) return false;
  std::string place = PulledPlace(*drive);
  if (mount(place.c_str(), drive->mountPoint.c_str(), nullptr, MS_MOVE, nullptr) != 0) return false;
  rmdir(place.c_str());
  if (!drive->dataFilesName.empty()) {
    std::string alias = "/mnt/hd/DataFiles/" + drive->dataFilesName;
    mkdir(alias.c_str(), 0777);
    if (mount(drive->mountPoint.c_str(), alias.c_str(), nullptr, MS_BIND, nullptr) != 0)
      return false;
  }
  return true;
}

std::string NetOutput() {
  fw::DrainNet();
  std::lock_guard<std::mutex> lock(fw::netMutex);
  return fw::netText;
}

void ClearNetOutput() {
  fw::DrainNet();
  std::lock_guard<std::mutex> lock(fw::netMutex);
  fw::netText.clear();
}

}  // namespace emu
