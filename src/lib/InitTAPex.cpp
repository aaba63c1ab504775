#include "lib/lib.h"

bool InitTAPex(void) { return FIS_vTAPTable() && FIS_vCurTapTask(); }
