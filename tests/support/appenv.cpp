#include "appenv.h"

#include "config/Configuration.h"
#include "tap.h"

namespace appenv {

void LocateSettingsFolderAfresh() {
  if (TAPIniDir) TAP_MemFree(TAPIniDir);
  if (TAPLogoDir) TAP_MemFree(TAPLogoDir);
  TAPIniDir = TAPLogoDir = nullptr;
  locateIniDirectory();
}

}  // namespace appenv
