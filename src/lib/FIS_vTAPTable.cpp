#include "lib/lib.h"

TYPE_TapTask* FIS_vTAPTable(void) { return (TYPE_TapTask*)TryResolve("_tapTask"); }
