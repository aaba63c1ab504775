// The application's identity, read by the firmware when it loads the image.
#include "tap.h"

TAP_APPLICATION_HEADER(0x800440FA, "Pavrolinex v5.1d", "Pavrolinex developers",
                       "View and monitor recordings", "");
