#include "lib/lib.h"

byte RecSlots = 0;

byte HDD_NumberOfRECSlots(void) {
  if (RecSlots) return RecSlots;
  tFWDATHeader* header;
  tFWDATModel* model;
  if (!LoadFirmwareDat(&header, &model, 0)) return 2;
  word sysID = GetSysID();
  for (dword i = 0; i < header->nModels; i++, model++) {
    if (model->sysID != sysID) continue;
    if (model->maxRecStreams > 0 && model->maxRecStreams < 256)
      RecSlots = (byte)model->maxRecStreams;
    break;
  }
  return RecSlots ? RecSlots : 2;
}
