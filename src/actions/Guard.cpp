// The one guard of every action that deletes, recycles, moves, renames or
// empties: an entry stays as it is while a recording writes it, the playback
// holds it, a background copy reads it, or it is (or holds) another mount.
// A folder counts as in use when anything below it is.
#include <dirent.h>
#include <limits.h>
#include <mntent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "apps/apps.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"

namespace {

constexpr const char* kJobFolder = "/mnt/hd/ProgramFiles/Settings/BackgroundCopy/JobFiles";
constexpr const char* kMediaMount = "/mnt/hd/DataFiles/~MediaFiles";
constexpr int kJobSize = 1024;

// The entry under test: its system path as given and as the kernel resolves
// it, and its identity on the disk (a file reached by two paths is one).
struct Entry {
  char path[PATH_BUFFER_SIZE];
  char real[PATH_MAX];
  const char* name;
  struct stat st;
  bool exists;
};

void Resolve(const char* path, char* out) {
  if (!realpath(path, out)) snprintf(out, PATH_MAX, "%s", path);
}

bool AtOrBelow(const char* path, const char* folder) {
  size_t length = strlen(folder);
  while (length > 1 && folder[length - 1] == '/') length--;
  return strncmp(path, folder, length) == 0 && (path[length] == 0 || path[length] == '/');
}

// A recording is held by whichever of its three files the firmware has open.
void StripCompanion(char* path) {
  if (StringEndsWith(path, ".inf") || StringEndsWith(path, ".nav")) path[strlen(path) - 4] = 0;
}

// Whether `held` (a system path something reads or writes) is the entry,
// lies below it, or is a folder around it. With `exactOnly`, only the entry
// itself counts.
bool Touches(const Entry& entry, const char* held, bool exactOnly = false) {
  char path[PATH_BUFFER_SIZE];
  snprintf(path, sizeof path, "%s", held);
  StripCompanion(path);
  char real[PATH_MAX];
  Resolve(path, real);
  struct stat st;
  bool same = strcmp(real, entry.real) == 0 ||
              (entry.exists && stat(path, &st) == 0 && st.st_dev == entry.st.st_dev &&
               st.st_ino == entry.st.st_ino);
  if (same || exactOnly) return same;
  return AtOrBelow(real, entry.real) || AtOrBelow(entry.real, real);
}

// Only the name is known (a firmware without its file records): the entry
// itself is matched by name.
bool SameName(const Entry& entry, const char* name) {
  char held[NAME_FIELD + 1];
  snprintf(held, sizeof held, "%s", name);
  StripCompanion(held);
  return held[0] && strcmp(held, entry.name) == 0;
}

bool Recorded(const Entry& entry) {
  byte slots = HDD_NumberOfRECSlots();
  for (byte slot = 0; slot < slots; slot++) {
    TYPE_File* files[3];
    if (HDD_GetRecSlotFiles(slot, &files[0], &files[1], &files[2])) {
      for (TYPE_File* file : files) {
        char held[PATH_BUFFER_SIZE];
        if (HDD_GetAbsolutePathByTypeFile(file, held) && Touches(entry, held)) return true;
      }
      continue;
    }
    TYPE_RecInfo info;
    memset(&info, 0, sizeof info);
    info.fileName[sizeof info.fileName - 1] = 0;
    if (TAP_Hdd_GetRecInfo(slot, &info) == 1 &&
        (info.recType == RECTYPE_Normal || info.recType == RECTYPE_Copy) &&
        SameName(entry, info.fileName))
      return true;
  }
  return false;
}

bool Played(const Entry& entry, bool playbackStops) {
  TYPE_PlayInfo info;
  memset(&info, 0, sizeof info);
  if (!TAP_Hdd_GetPlayInfo(&info) || info.playMode == PLAYMODE_None) return false;
  TYPE_File** playFile = (TYPE_File**)TryResolve("_hddPlayFile");
  char held[PATH_BUFFER_SIZE];
  if (playFile && *playFile && HDD_GetAbsolutePathByTypeFile(*playFile, held)) {
    // The action stops the playback of the entry itself before it acts.
    if (playbackStops && Touches(entry, held, true)) return false;
    return Touches(entry, held);
  }
  return !playbackStops && info.file && SameName(entry, info.file->name);
}

// The source a BackgroundCopy job file names, as BackgroundCopy reads it:
// "SDir=" and "FileName=" lines ended by either line end.
bool JobSource(const char* jobPath, char* out) {
  FILE* job = fopen(jobPath, "r");
  if (!job) return false;
  char text[kJobSize + 1];
  size_t length = fread(text, 1, kJobSize, job);
  fclose(job);
  text[length] = 0;
  char folder[PATH_BUFFER_SIZE] = "", name[PATH_BUFFER_SIZE] = "";
  for (char* line = strtok(text, "\r\n"); line; line = strtok(nullptr, "\r\n")) {
    if (strncmp(line, "SDir=", 5) == 0) snprintf(folder, sizeof folder, "%s", line + 5);
    if (strncmp(line, "FileName=", 9) == 0) snprintf(name, sizeof name, "%s", line + 9);
  }
  if (!folder[0] || !name[0]) return false;
  int n = snprintf(out, PATH_BUFFER_SIZE, "%s/%s", folder, name);
  return n > 0 && n < PATH_BUFFER_SIZE;
}

bool Copied(const Entry& entry) {
  if (processInBackground == 1 && GlbSourceFile[0]) {
    char source[PATH_BUFFER_SIZE];
    snprintf(source, sizeof source, "%s%s%.200s/%.127s", SYSTEM_ROOT,
             GlbSourceDir[0] == '/' ? "" : "/", GlbSourceDir, GlbSourceFile);
    if (Touches(entry, source)) return true;
  }
  // Every job waiting in the folder, the one BackgroundCopy works on too:
  // it stays there until it is done.
  DIR* jobs = opendir(kJobFolder);
  if (!jobs) return false;
  bool found = false;
  while (dirent* job = readdir(jobs)) {
    if (!StringEndsWith(job->d_name, ".bgc")) continue;
    char jobPath[PATH_BUFFER_SIZE], source[PATH_BUFFER_SIZE];
    snprintf(jobPath, sizeof jobPath, "%s/%.200s", kJobFolder, job->d_name);
    if (JobSource(jobPath, source) && Touches(entry, source)) {
      found = true;
      break;
    }
  }
  closedir(jobs);
  return found;
}

}  // namespace

int MountAtOrBelow(const char* path) {
  struct stat st, parent;
  if (lstat(path, &st) != 0 || !S_ISDIR(st.st_mode)) return IN_USE_None;
  char above[PATH_BUFFER_SIZE + 4];
  snprintf(above, sizeof above, "%s/..", path);
  int found = stat(above, &parent) == 0 && parent.st_dev != st.st_dev ? IN_USE_Drive : IN_USE_None;
  // A folder mounted from the same disk (the media folder) has the disk's
  // device: only the mount table knows it.
  char real[PATH_MAX];
  Resolve(path, real);
  FILE* table = setmntent("/proc/mounts", "r");
  if (!table) return found;
  while (mntent* mount = getmntent(table)) {
    if (!AtOrBelow(mount->mnt_dir, real)) continue;
    if (strcmp(mount->mnt_dir, kMediaMount) == 0) {
      found = IN_USE_MediaFiles;
      break;
    }
    found = IN_USE_Drive;
  }
  endmntent(table);
  return found;
}

int CheckEntryInUse(const char* folder, const char* name, int flags) {
  if (!folder || !name || !name[0]) return IN_USE_None;
  Entry entry;
  int n = snprintf(entry.path, sizeof entry.path, "%s%s%s/%s", SYSTEM_ROOT,
                   folder[0] == '/' ? "" : "/", folder, name);
  if (n <= 0 || n >= (int)sizeof entry.path) return IN_USE_None;
  entry.name = name;
  entry.exists = stat(entry.path, &entry.st) == 0;
  Resolve(entry.path, entry.real);
  if (Recorded(entry)) return IN_USE_Recording;
  if (Played(entry, (flags & GUARD_PlaybackStops) != 0)) return IN_USE_Playing;
  if (Copied(entry)) return IN_USE_Copying;
  return MountAtOrBelow(entry.path);
}

void ShowEntryInUse(int reason, const char* title) {
  static AppText* const lines[][2] = {
      {&text_InUseRecordingA, &text_InUseRecordingB}, {&text_InUsePlayingA, &text_InUsePlayingB},
      {&text_InUseCopyingA, &text_InUseCopyingB},     {&text_InUseDriveA, &text_InUseDriveB},
      {&text_InUseMediaA, &text_InUseMediaB},
  };
  if (reason < IN_USE_Recording || reason > IN_USE_MediaFiles) return;
  ShowMessageWinX(rgn, title, Text(*lines[reason - 1][0]), Text(*lines[reason - 1][1]), 300);
}

bool GuardDestructiveAction(const char* folder, const char* name, const char* title, int flags) {
  int reason = CheckEntryInUse(folder, name, flags);
  if (reason == IN_USE_None) return true;
  ShowEntryInUse(reason, title);
  return false;
}
