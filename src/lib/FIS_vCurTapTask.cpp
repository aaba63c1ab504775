#include "lib/lib.h"

dword* FIS_vCurTapTask(void) { return (dword*)TryResolve("_curTapTask"); }
