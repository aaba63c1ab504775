// BackgroundCopy: carries out the copy and move jobs that other applications
// leave as job files, one at a time, a slice per idle event, so the event
// thread never waits for a disk.
//
// A job file is /ProgramFiles/Settings/BackgroundCopy/JobFiles/NNNN.bgc with
// the lines "SDir=" (source folder, system path), "DDir=" (destination
// folder), "FileName=" (the entry) and "CoM=" (0 copy, 1 move). The entry's
// companions (".inf", ".nav") travel with it. Each file is copied to a
// ".part" name, compared with its source, and only then given its name; a
// move deletes the sources after that. A job that cannot be done goes to
// JobFail, with its reason in BackgroundCopy.log and on the network output.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/peer.h"

TAP_APPLICATION_HEADER(0x8E0A42EF, "BackgroundCopy v1.0", "Pavrolinex peers",
                       "Copies and moves recordings from job files in the background", "");

namespace {

const char* const kBase = "/mnt/hd/ProgramFiles/Settings/BackgroundCopy";
const char* const kJobs = "/mnt/hd/ProgramFiles/Settings/BackgroundCopy/JobFiles";
const char* const kFails = "/mnt/hd/ProgramFiles/Settings/BackgroundCopy/JobFail";
const char* const kLog = "/mnt/hd/ProgramFiles/Settings/BackgroundCopy/BackgroundCopy.log";
const char* const kCompanions[] = {"", ".inf", ".nav"};
constexpr int kMaxFiles = 3;
constexpr int kScanEvery = 10;     // idle events between looks into JobFiles
constexpr off_t kSlice = 4 << 20;  // bytes of data per idle event
constexpr size_t kPath = 512;

enum Phase { Waiting, Copying, Verifying };

struct Transfer {
  char source[kPath];
  char part[kPath];  // the copy while it is not yet verified
  char target[kPath];
  off_t size;
};

struct Job {
  char file[kPath];  // the job file
  char name[64];     // its name, for the log
  bool move;
  Transfer files[kMaxFiles];
  int count;
  int current;
  off_t pos;
  int in, out;
};

Phase phase = Waiting;
Job job;
int idleCount;
char bufA[1 << 16];
char bufB[1 << 16];

void Log(const char* jobName, const char* text) {
  PeerNet("BackgroundCopy: %s: %s\r\n", jobName, text);
  if (FILE* log = fopen(kLog, "ae")) {
    fprintf(log, "%s: %s\n", jobName, text);
    fclose(log);
  }
}

bool HasShellCharacters(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++) {
    if (*p < 0x20 || *p == 0x7F || strchr("\"`$\\", *p)) return true;
  }
  return false;
}

// A folder on the internal disk or on an external drive mounted below /mnt:
// the real path (links resolved) must lie inside one of them.
bool IsRecorderFolder(const char* folder, char* real) {
  if (!realpath(folder, real)) return false;
  struct stat st;
  if (stat(real, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (strcmp(real, "/mnt/hd") == 0 || strncmp(real, "/mnt/hd/", 8) == 0) return true;
  FILE* mounts = fopen("/proc/mounts", "re");
  if (!mounts) return false;
  char line[1024];
  bool inside = false;
  while (!inside && fgets(line, sizeof line, mounts)) {
    char device[256], point[512];
    if (sscanf(line, "%255s %511s", device, point) != 2) continue;
    if (strncmp(point, "/mnt/", 5) != 0 || strlen(point) <= 5) continue;
    size_t len = strlen(point);
    inside = strncmp(real, point, len) == 0 && (real[len] == 0 || real[len] == '/');
  }
  fclose(mounts);
  return inside;
}

// `a` + `b` + `c` into a path; false when it would not fit.
bool Join(char* out, const char* a, const char* b, const char* c) {
  int n = snprintf(out, kPath, "%s%s%s", a, b, c);
  return n >= 0 && n < static_cast<int>(kPath);
}

void Finish() {
  if (job.in >= 0) close(job.in);
  if (job.out >= 0) close(job.out);
  job.in = job.out = -1;
  phase = Waiting;
}

// Gives up the job: the copies go, the sources stay, the job file moves to
// JobFail with the reason logged.
void Fail(const char* reason) {
  Finish();
  for (int i = 0; i < job.count; i++) unlink(job.files[i].part);
  Log(job.name, reason);
  char failed[kPath];
  snprintf(failed, sizeof failed, "%s/%s", kFails, job.name);
  for (int n = 1; access(failed, F_OK) == 0 && n < 1000; n++) {
    snprintf(failed, sizeof failed, "%s/%.40s.%d.bgc", kFails, job.name, n);
  }
  if (rename(job.file, failed) != 0) unlink(job.file);  // never run a bad job twice
}

// Reads and checks a job file; false with the job failed.
bool ReadJob(const char* path, const char* name) {
  memset(&job, 0, sizeof job);
  job.in = job.out = -1;
  snprintf(job.file, sizeof job.file, "%s", path);
  snprintf(job.name, sizeof job.name, "%s", name);
  char text[1025] = {};
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // gone meanwhile
  ssize_t n = read(fd, text, 1024);
  close(fd);
  if (n <= 0) {
    Fail("empty job file");
    return false;
  }
  char source[kPath] = {}, target[kPath] = {}, entry[kPath] = {};
  int mode = -1;
  for (char* line = strtok(text, "\r\n"); line; line = strtok(nullptr, "\r\n")) {
    if (strncmp(line, "SDir=", 5) == 0) snprintf(source, sizeof source, "%s", line + 5);
    if (strncmp(line, "DDir=", 5) == 0) snprintf(target, sizeof target, "%s", line + 5);
    if (strncmp(line, "FileName=", 9) == 0) snprintf(entry, sizeof entry, "%s", line + 9);
    if (strncmp(line, "CoM=", 4) == 0)
      mode = strcmp(line + 4, "0") == 0 ? 0 : strcmp(line + 4, "1") == 0 ? 1 : -1;
  }
  if (!source[0] || !target[0] || !entry[0] || mode < 0) {
    Fail("incomplete job (SDir=, DDir=, FileName= and CoM=0 or 1 are needed)");
    return false;
  }
  if (HasShellCharacters(source) || HasShellCharacters(target) || HasShellCharacters(entry) ||
      strchr(entry, '/') || strcmp(entry, ".") == 0 || strcmp(entry, "..") == 0) {
    Fail("refused: a name with characters that reach a shell, or a path in the name");
    return false;
  }
  char realSource[PATH_MAX], realTarget[PATH_MAX];
  if (!IsRecorderFolder(source, realSource) || !IsRecorderFolder(target, realTarget)) {
    Fail("refused: a folder that does not exist or lies outside /mnt/hd and its drives");
    return false;
  }
  if (strcmp(realSource, realTarget) == 0) {
    Fail("source and destination are the same folder");
    return false;
  }
  job.move = mode == 1;
  for (const char* suffix : kCompanions) {
    Transfer& t = job.files[job.count];
    char name[kPath];
    if (!Join(name, entry, suffix, "") || !Join(t.source, realSource, "/", name) ||
        !Join(t.target, realTarget, "/", name)) {
      Fail("a path too long");
      return false;
    }
    char part[kPath];
    if (!Join(part, t.target, ".part", "")) {
      Fail("a path too long");
      return false;
    }
    memcpy(t.part, part, kPath);
    struct stat st;
    if (stat(t.source, &st) != 0) {
      if (!*suffix) {
        Fail("the source file does not exist");
        return false;
      }
      continue;  // a companion the entry does not have
    }
    if (!S_ISREG(st.st_mode)) {
      Fail("the source is not a file");
      return false;
    }
    if (access(t.target, F_OK) == 0) {
      Fail("the destination already has a file of that name");
      return false;
    }
    t.size = st.st_size;
    job.count++;
  }
  Log(job.name, job.move ? "move started" : "copy started");
  return true;
}

// The lowest job file waiting, as a path; false when there is none.
bool NextJob() {
  DIR* dir = opendir(kJobs);
  if (!dir) return false;
  char best[256] = {};
  while (dirent* e = readdir(dir)) {
    size_t len = strlen(e->d_name);
    if (len < 5 || strcasecmp(e->d_name + len - 4, ".bgc") != 0) continue;
    if (!best[0] || strcmp(e->d_name, best) < 0) snprintf(best, sizeof best, "%s", e->d_name);
  }
  closedir(dir);
  if (!best[0]) return false;
  char path[kPath];
  snprintf(path, sizeof path, "%s/%s", kJobs, best);
  if (ReadJob(path, best)) {
    phase = Copying;
    job.current = 0;
    job.pos = 0;
  }
  return true;
}

// Linux's seeks to the next data and the next hole of a sparse file; the
// recorder's C library passes them on but its headers do not name them.
constexpr int kSeekData = 3;
constexpr int kSeekHole = 4;

// The next stretch of data from `pos` on: false at the end of the file.
bool NextData(int fd, off_t size, off_t* pos, off_t* end) {
  if (*pos >= size) return false;
  off_t data = lseek(fd, *pos, kSeekData);
  if (data < 0 && errno == ENXIO) return false;  // only a hole remains
  if (data < 0) data = *pos;                     // no hole support: all data
  off_t hole = lseek(fd, data, kSeekHole);
  *pos = data;
  *end = hole < 0 || hole > size ? size : hole;
  return data < size;
}

bool OpenCurrent(bool verify) {
  Transfer& t = job.files[job.current];
  job.in = open(t.source, O_RDONLY | O_CLOEXEC);
  job.out = verify ? open(t.part, O_RDONLY | O_CLOEXEC)
                   : open(t.part, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return job.in >= 0 && job.out >= 0;
}

// Copies (or compares) up to one slice; false once the job failed.
bool Step(bool verify) {
  off_t budget = kSlice;
  while (budget > 0 && job.current < job.count) {
    Transfer& t = job.files[job.current];
    if (job.in < 0 && !OpenCurrent(verify)) {
      Fail(verify ? "cannot read the copy back" : "cannot open the source or create the copy");
      return false;
    }
    off_t end = 0;
    if (!NextData(job.in, t.size, &job.pos, &end)) {
      struct stat st;
      bool ok = verify ? fstat(job.out, &st) == 0 && st.st_size == t.size
                       : ftruncate(job.out, t.size) == 0 && fsync(job.out) == 0;
      close(job.in);
      close(job.out);
      job.in = job.out = -1;
      if (!ok) {
        Fail(verify ? "the copy has another size than its source" : "cannot complete the copy");
        return false;
      }
      job.current++;
      job.pos = 0;
      continue;
    }
    off_t want = end - job.pos;
    if (want > budget) want = budget;
    if (want > (off_t)sizeof bufA) want = sizeof bufA;
    ssize_t n = pread(job.in, bufA, want, job.pos);
    if (n <= 0) {
      Fail("cannot read the source");
      return false;
    }
    if (verify) {
      if (pread(job.out, bufB, n, job.pos) != n || memcmp(bufA, bufB, n) != 0) {
        Fail("the copy differs from its source");
        return false;
      }
    } else {
      // A drive that fills up takes part of a write and refuses only the
      // next one: what it says there tells a full drive from a broken one.
      for (ssize_t done = 0; done < n;) {
        ssize_t written = pwrite(job.out, bufA + done, n - done, job.pos + done);
        if (written <= 0) {
          Fail(written < 0 && errno == ENOSPC ? "the destination is full"
                                              : "cannot write the copy");
          return false;
        }
        done += written;
      }
    }
    job.pos += n;
    budget -= n;
  }
  return true;
}

// Gives a verified copy its name, never over a file that took the name
// while the job ran (another copy, a recording): a link refuses to replace
// one; where the file system has no links (a FAT drive) the name is looked
// at just before the rename. False when the copy keeps its ".part" name.
bool NameCopy(const Transfer& t, bool* taken) {
  *taken = false;
  if (link(t.part, t.target) == 0) {
    unlink(t.part);
    return true;
  }
  if (errno == EEXIST || access(t.target, F_OK) == 0) {
    *taken = true;
    return false;
  }
  return rename(t.part, t.target) == 0;
}

// Everything is copied and verified: the copies take their names, then a
// move removes the sources.
void Complete() {
  for (int i = 0; i < job.count; i++) {
    bool taken = false;
    if (!NameCopy(job.files[i], &taken)) {
      for (int j = 0; j < i; j++) unlink(job.files[j].target);
      Fail(taken ? "the destination already has a file of that name"
                 : "cannot give the copy its name");
      return;
    }
  }
  if (job.move) {
    // Companions first: a recording never stays without its header.
    for (int i = job.count - 1; i >= 0; i--) unlink(job.files[i].source);
  }
  unlink(job.file);
  Log(job.name, job.move ? "move complete" : "copy complete");
  phase = Waiting;
}

void OnIdle() {
  switch (phase) {
    case Waiting:
      if (++idleCount >= kScanEvery) {
        idleCount = 0;
        NextJob();
      }
      break;
    case Copying:
      if (Step(false) && job.current >= job.count) {
        phase = Verifying;
        job.current = 0;
        job.pos = 0;
      }
      break;
    case Verifying:
      if (Step(true) && job.current >= job.count) Complete();
      break;
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) {
  // The application's own folders: the status screen and other applications
  // look into them.
  mkdir(kBase, 0777);
  mkdir(kJobs, 0777);
  mkdir(kFails, 0777);
  job.in = job.out = -1;
  PeerNet("BackgroundCopy: started\r\n");
  return 1;
}

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word event, dword param1,
                                                                         dword) {
  if (event == EVT_IDLE) OnIdle();
  if (event == EVT_STOP) {
    // An unfinished job stays in JobFiles and starts again next time.
    if (phase != Waiting) {
      Finish();
      for (int i = 0; i < job.count; i++) unlink(job.files[i].part);
    }
    TAP_Exit();
  }
  return param1;
}
