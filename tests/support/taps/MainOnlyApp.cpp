// An image with TAP_Main but no event handler: the loader refuses it.
#include "tap.h"

extern "C" __attribute__((used, visibility("default"), section(".tap_header")))
const TYPE_TapHeader _tap_header = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                    TAP_HEADER_VERSION,
                                    0x12345679,
                                    TAP_API_VERSION,
                                    0,
                                    {0, 0},
                                    "MainOnly v1",
                                    "tests",
                                    "Has no handler",
                                    ""};

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) { return 1; }
