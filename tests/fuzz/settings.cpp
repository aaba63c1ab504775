#include "config/Configuration.h"
#include "fuzz.h"

namespace fuzz {

void BootWithSettingsFolder() {
  BootOnce();
  locateIniDirectory();
  FUZZ_CHECK(TAPIniDir != nullptr && TAPLogoDir != nullptr);
}

}  // namespace fuzz
