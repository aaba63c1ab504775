#include <string.h>

#include "lib/lib.h"

TAPCOM_Channel* TAPCOM_OpenChannel(dword server, dword service, dword parameterVersion,
                                   void* parameters) {
  if (!InitTAPex()) return 0;
  TAPCOM_Channel* channel = (TAPCOM_Channel*)TAP_MemAlloc(sizeof(TAPCOM_Channel));
  if (!channel) return 0;
  memset(channel, 0, sizeof *channel);
  channel->magic = TAPCOM_MAGIC;
  channel->version = TAPCOM_VERSION;
  dword self = *FIS_vCurTapTask();
  channel->fromId = self < TAP_MAX_TASKS ? FIS_vTAPTable()[self].id : 0;
  channel->toId = server;
  channel->serviceId = service;
  channel->parameterVersion = parameterVersion;
  channel->parameters = parameters;
  if (HDD_TAP_isRunning(server)) {
    channel->status = TAPCOM_Status_OPEN;
    HDD_TAP_SendEvent(server, false, EVT_TAPCOM_CHANNEL, (dword)(uintptr_t)channel, 0);
  } else {
    channel->status = TAPCOM_Status_SERVER_NOT_AVAILABLE;
  }
  return channel;
}
