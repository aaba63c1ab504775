#include "lib/lib.h"

bool HDD_TAP_isRunning(dword id) { return HDD_TAP_GetIndexByID(id) >= 0; }
