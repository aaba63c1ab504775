// The channel-logo cache logo.dat of any content (records of a name and a
// bitmap, possibly cut short), read for the recorder's channels.
#include <string.h>

#include "config/Configuration.h"
#include "fuzz.h"
#include "ui/Logos.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootWithSettingsFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile(std::string(TAPLogoDir) + "/" + LOGO_CACHE_FILE, data, size);
  CacheLogos();
  ReleaseLogoMemory();
  return 0;
}
