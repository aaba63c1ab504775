#include "lib/lib.h"

dword GlobalRemoteType = 1;

void FindGlobalRemoteType(void) {
  tFWDATHeader* header;
  tFWDATModel* model;
  if (!LoadFirmwareDat(&header, &model, 0)) return;
  word sysID = TAP_GetSystemId();
  for (dword i = 0; i < header->nModels; i++, model++) {
    if (model->sysID == sysID) {
      GlobalRemoteType = model->remoteType;
      return;
    }
  }
}
