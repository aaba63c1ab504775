#include <string.h>

#include "lib/lib.h"

unsigned long long LogoManager_GetChannelID(int type, int serviceNumber) {
  TYPE_TapChInfo info;
  memset(&info, 0, sizeof info);
  if (serviceNumber < 0 || !TAP_Channel_GetInfo(type, serviceNumber, &info)) return 0;
  // The firmware's channel record carries the satellite, the transponder's
  // network and transport stream, and the service id.
  return LogoManager_CalculateChannelID(info.satIdx, info.orgNetId, info.tsId, info.svcId);
}
