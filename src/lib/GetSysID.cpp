#include "lib/lib.h"

word GetSysID(void) { return (word)(TAP_GetSystemId() & 0xFFFF); }
