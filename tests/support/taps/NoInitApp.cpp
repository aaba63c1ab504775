// An image with TAP_Main and its handler but no init entry: the loader takes it.
#include "tap.h"

extern "C" __attribute__((used, visibility("default"), section(".tap_header")))
const TYPE_TapHeader _tap_header = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                    TAP_HEADER_VERSION,
                                    0x1234567A,
                                    TAP_API_VERSION,
                                    0,
                                    {0, 0},
                                    "NoInit v1",
                                    "tests",
                                    "Has no init entry",
                                    ""};

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) { return 1; }

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word, dword param1,
                                                                         dword) {
  return param1;
}
