#include "lib/lib.h"

SYSTEM_TYPE SystemType = ST_UNKNOWN;

SYSTEM_TYPE GetSystemType(void) {
  if (SystemType != ST_UNKNOWN) return SystemType;
  tFWDATHeader* header;
  tFWDATModel* model;
  if (!LoadFirmwareDat(&header, &model, 0)) return ST_UNKNOWN;
  word sysID = GetSysID();
  for (dword i = 0; i < header->nModels; i++, model++) {
    if (model->sysID != sysID) continue;
    // A type outside the known range means nothing to the header decoders.
    if (model->systemType < ST_NRTYPES) SystemType = (SYSTEM_TYPE)model->systemType;
    break;
  }
  return SystemType;
}
