// SkerrowbyPlayback.dat of any content, read as start-up reads it: the
// history holds what the file has and nothing else, and what was read
// survives being written and read again.
#include <string.h>

#include "catalogue/History.h"
#include "config/Configuration.h"
#include "fuzz.h"

namespace {

struct Snapshot {
  int count;
  PlayedFileEntry entries[MAX_PLAYED_FILES];
};

void Take(Snapshot& s) {
  memset(&s, 0, sizeof s);
  s.count = numberOfPlayedFiles;
  for (int i = 0; i <= numberOfPlayedFiles; i++) {
    if (playedFiles[i]) s.entries[i] = *playedFiles[i];
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootWithSettingsFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile(std::string(INI_FOLDER) + "/" + PLAYBACK_FILE_NAME, data, size);
  LoadPlayData();
  FUZZ_CHECK(numberOfPlayedFiles >= 0 && numberOfPlayedFiles <= MAX_PLAYED_HISTORY);
  for (int i = 0; i <= numberOfPlayedFiles; i++) {
    if (playedFiles[i]) FUZZ_CHECK(memchr(playedFiles[i]->name, 0, sizeof playedFiles[i]->name));
  }
  for (int i = numberOfPlayedFiles + 1; i < MAX_PLAYED_FILES; i++) FUZZ_CHECK(!playedFiles[i]);

  // Written and read again, the entries worth keeping come back in order (a
  // file near its full size may not take them all again: numbers such as an
  // empty field print longer than they were written).
  if (size > HISTORY_FILE_SIZE / 2) return 0;
  static Snapshot before, after;
  Take(before);
  SaveDatToFile();
  LoadPlayData();
  Take(after);
  FUZZ_CHECK(strcmp(before.entries[0].name, after.entries[0].name) == 0);
  FUZZ_CHECK(before.entries[0].inode == after.entries[0].inode);
  int j = 1;
  for (int i = 1; i <= before.count; i++) {
    const PlayedFileEntry& e = before.entries[i];
    if (!e.inode || !e.name[0] || IsYouTubeSuffix(e.name)) continue;
    FUZZ_CHECK(j <= after.count);
    FUZZ_CHECK(strcmp(e.name, after.entries[j].name) == 0 && e.inode == after.entries[j].inode);
    j++;
  }
  FUZZ_CHECK(j == after.count + 1);
  return 0;
}
