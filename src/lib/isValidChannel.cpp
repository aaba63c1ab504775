#include "lib/lib.h"

bool isValidChannel(const TAPCOM_Channel* channel) {
  return channel && channel->magic == TAPCOM_MAGIC;
}
