#include "lib/lib.h"

void TAPCOM_CloseChannel(TAPCOM_Channel* channel) {
  if (!isValidChannel(channel) || !InitTAPex()) return;
  dword self = *FIS_vCurTapTask();
  if (self >= TAP_MAX_TASKS || channel->fromId != FIS_vTAPTable()[self].id) return;
  channel->magic = 0;
  TAP_MemFree(channel);
}
