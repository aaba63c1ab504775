#include "lib/lib.h"

bool HDD_TAP_Terminate(dword id) {
  if (id == 0 || !HDD_TAP_isRunning(id)) return false;
  HDD_TAP_SendEvent(id, false, EVT_STOP, 2, 0);
  return true;
}
