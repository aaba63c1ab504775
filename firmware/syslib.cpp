// The recorder's system side as the applications meet it beyond the TAP
// calls: the userland their shell commands run in, file-system statistics
// that tell an NFS drive from a local one, and child processes that run in
// real time while the emulated clock waits for them.
//
// Plain 32-bit file offsets here: this file defines statfs and statfs64
// themselves, and the large-file redirection would fold the two into one.
#undef _FILE_OFFSET_BITS
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "internal.h"

namespace {

constexpr long kNfsSuperMagic = 0x6969;

// Whether `path` lies on an external drive that the configuration presents
// as an NFS mount (compared by device, so the /DataFiles alias counts too).
bool OnNfsDrive(const char* path) {
  struct stat at;
  if (!fw::booted || stat(path, &at) != 0) return false;
  for (const emu::ExternalDrive& drive : fw::config.drives) {
    struct stat mount;
    if (drive.nfs && stat(drive.mountPoint.c_str(), &mount) == 0 && mount.st_dev == at.st_dev) {
      return true;
    }
  }
  return false;
}

// The statistics of the file system holding `path`, by descriptor: the
// path-taking calls are the ones this file replaces.
template <typename Stats, typename Call>
int StatsOf(const char* path, Stats* buf, Call call) {
  if (!path || !buf) {
    errno = EFAULT;
    return -1;
  }
  int fd = open(path, O_PATH | O_CLOEXEC);
  if (fd < 0) return -1;
  int result = call(fd, buf);
  int saved = errno;
  close(fd);
  errno = saved;
  if (result == 0 && OnNfsDrive(path)) buf->f_type = kNfsSuperMagic;
  return result;
}

timespec lastIdle;

double Seconds(const timespec& t) { return (double)t.tv_sec + (double)t.tv_nsec / 1e9; }

// A child of this process runs and none has ended (the application reaps
// its own; an ended one waits for it).
bool ChildRunning() {
  // The image host is a child that always runs: the applications' children are its.
  if (fw::HostRunning()) return fw::HostHasChildren();
  siginfo_t info;
  memset(&info, 0, sizeof info);
  if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
  return info.si_pid == 0;
}

// The userland's clock: the emulated seconds since boot, as text in a memory
// file that the `date` script reads through this process's descriptor.
int uptimeFd = -1;
int64_t publishedUptime = -1;

// Puts a script over `date` that shows the recorder's system clock: like the
// recorder's, it starts on 1 January 1970 at boot, and it runs with the
// emulated time, not the host's. False when it cannot (busybox's own `date`
// is then used).
bool BindClock(const char* busybox, const std::string& target) {
  // A namespace made for a new boot inherits the last boot's script, bound
  // from a file that is gone: nothing can be bound over that.
  static bool bound = false;
  if (bound) umount2(target.c_str(), MNT_DETACH);
  bound = false;
  if (uptimeFd >= 0) close(uptimeFd);
  publishedUptime = -1;
  uptimeFd = memfd_create("recorder-uptime", MFD_CLOEXEC);
  if (uptimeFd < 0) return false;
  fw::PublishUptime(0);
  // The script is written into the namespace's own /mnt and unlinked once
  // bound, so that nothing of it shows on the recorder's disks.
  const char* script = "/mnt/.recorder-date";
  FILE* out = fopen(script, "w");
  if (!out) return false;
  fprintf(out,
          "#!/bin/sh\n"
          "# date on the emulated recorder: its clock starts at boot on 1 January 1970\n"
          "read s < /proc/%d/fd/%d\n"
          "exec %s date -u -d \"@$s\" \"$@\"\n",
          (int)getpid(), uptimeFd, busybox);
  bool ok = fclose(out) == 0 && chmod(script, 0755) == 0 &&
            mount(script, target.c_str(), nullptr, MS_BIND, nullptr) == 0;
  unlink(script);
  bound = ok;
  return ok;
}

}  // namespace

extern "C" int statfs(const char* path, struct statfs* buf) {
  return StatsOf(path, buf, [](int fd, struct statfs* b) { return fstatfs(fd, b); });
}

extern "C" int statfs64(const char* path, struct statfs64* buf) {
  return StatsOf(path, buf, [](int fd, struct statfs64* b) { return fstatfs64(fd, b); });
}

namespace fw {

void KeepPaceWithChildren() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  double deadline = Seconds(lastIdle) + config.idleTicks / 100.0;
  while (!config.realTime && Seconds(now) < deadline && ChildRunning()) {
    timespec pause = {0, 1000000L};
    nanosleep(&pause, nullptr);
    clock_gettime(CLOCK_MONOTONIC, &now);
  }
  lastIdle = now;
}

void PublishUptime(int64_t seconds) {
  if (uptimeFd < 0 || seconds == publishedUptime) return;
  char text[24];
  // Fixed width, so that each value overwrites the whole previous one.
  snprintf(text, sizeof text, "%20lld\n", (long long)seconds);
  if (pwrite(uptimeFd, text, 21, 0) == 21) publishedUptime = seconds;
}

void BindUserland() {
  static const char* const kApplets[] = {"sh",     "cp", "mv", "rm",  "rmdir", "mount",
                                         "umount", "ln", "du", "awk", "date",  "sync"};
  const char* busybox = nullptr;
  for (const char* candidate : {"/usr/bin/busybox", "/bin/busybox", "/usr/sbin/busybox"}) {
    if (access(candidate, X_OK) == 0) {
      busybox = candidate;
      break;
    }
  }
  static bool noted = false;
  if (!busybox) {
    if (!noted) {
      fprintf(stderr,
              "recorder: note: busybox is not installed; the applications' shell commands "
              "run with the host's tools\n");
    }
    noted = true;
    return;
  }
  for (const char* applet : kApplets) {
    std::string target = std::string("/bin/") + applet;
    if (access(target.c_str(), F_OK) != 0) target = std::string("/usr/bin/") + applet;
    if (access(target.c_str(), F_OK) != 0) continue;
    if (strcmp(applet, "date") == 0 && BindClock(busybox, target)) continue;
    if (mount(busybox, target.c_str(), nullptr, MS_BIND, nullptr) != 0 && !noted) {
      fprintf(stderr, "recorder: note: cannot put busybox's %s in place (%s); the host's is used\n",
              applet, strerror(errno));
      noted = true;
    }
  }
}

}  // namespace fw
