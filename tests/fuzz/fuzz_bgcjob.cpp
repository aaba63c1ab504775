// BackgroundCopy's job files of any content, read by the peer's own code: a
// job is either refused (moved to JobFail with its reason) or names a source
// and a destination that lie on the recorder's disks and hold no shell
// characters. The seeds name a recording that exists, so that accepted jobs
// are reached too.
#include "../../peers/BackgroundCopy.cpp"
#include "emu.h"
#include "fuzz.h"

namespace {

const char* const kJobFile = "/mnt/hd/ProgramFiles/Settings/BackgroundCopy/JobFiles/a.bgc";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();
  TAP_Main();
  const uint8_t nothing[1] = {0};
  fuzz::PutFile("/DataFiles/Film.rec", nothing, 1);
  fuzz::PutFile("/DataFiles/Film.rec.inf", nothing, 1);
  mkdir("/mnt/hd/DataFiles/Archive", 0777);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile("/ProgramFiles/Settings/BackgroundCopy/JobFiles/a.bgc", data, size);
  if (ReadJob(kJobFile, "a.bgc")) {
    FUZZ_CHECK(job.count >= 1 && job.count <= kMaxFiles);
    for (int i = 0; i < job.count; i++) {
      const Transfer& t = job.files[i];
      FUZZ_CHECK(strncmp(t.source, "/mnt/", 5) == 0 && strncmp(t.target, "/mnt/", 5) == 0);
      FUZZ_CHECK(!HasShellCharacters(t.source) && !HasShellCharacters(t.target));
      FUZZ_CHECK(strcmp(t.part + strlen(t.target), ".part") == 0);
    }
    Finish();
    unlink(kJobFile);
  } else {
    FUZZ_CHECK(access(kJobFile, F_OK) != 0);  // never run a bad job twice
  }
  unlink("/mnt/hd/ProgramFiles/Settings/BackgroundCopy/JobFail/a.bgc");
  unlink(kLog);
  emu::ClearNetOutput();
  return 0;
}
