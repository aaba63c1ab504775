#include "lib/lib.h"

byte RecSlots = 0;

// The slots the firmware itself has, up to `wanted`: its recording tables end
// at the first slot TAP_Hdd_GetRecInfo does not answer.
static byte FirmwareSlots(byte wanted) {
  byte slots = 0;
  TYPE_RecInfo info;
  while (slots < wanted && TAP_Hdd_GetRecInfo(slots, &info)) slots++;
  return slots;
}

byte HDD_NumberOfRECSlots(void) {
  if (RecSlots) return RecSlots;
  byte described = 0;
  tFWDATHeader* header;
  tFWDATModel* model;
  if (LoadFirmwareDat(&header, &model, 0)) {
    word sysID = GetSysID();
    for (dword i = 0; i < header->nModels; i++, model++) {
      if (model->sysID != sysID) continue;
      if (model->maxRecStreams > 0 && model->maxRecStreams < 256)
        described = (byte)model->maxRecStreams;
      break;
    }
  }
  // The description file may promise more streams than the firmware's tables
  // hold; only the slots the firmware has can be looked up.
  if (described) {
    RecSlots = FirmwareSlots(described);
    return RecSlots;
  }
  return FirmwareSlots(2);
}
