#include "lib/lib.h"

byte HDD_NumberOfRECSlots(void) {
  static byte slots = 0;
  if (slots) return slots;
  tFWDATHeader* header;
  tFWDATModel* model;
  if (!LoadFirmwareDat(&header, &model, 0)) return 2;
  word sysID = GetSysID();
  for (dword i = 0; i < header->nModels; i++, model++) {
    if (model->sysID != sysID) continue;
    if (model->maxRecStreams > 0 && model->maxRecStreams < 256) slots = (byte)model->maxRecStreams;
    break;
  }
  return slots ? slots : 2;
}
