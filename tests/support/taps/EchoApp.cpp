// A small application image for the loader tests. It answers keys, writes to
// the network output the way applications do, and leaves traces on the disk.
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "tap.h"

extern "C" __attribute__((used, visibility("default"), section(".tap_header")))
const TYPE_TapHeader _tap_header = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                    TAP_HEADER_VERSION,
                                    0x12345678,
                                    TAP_API_VERSION,
                                    0,
                                    {0, 0},
                                    "EchoApp v1",
                                    "tests",
                                    "Echoes keys",
                                    ""};

static void Net(const char* text) {
  for (int i = 0; i < 20; i++) {
    char name[32];
    snprintf(name, sizeof name, "/dev/pts/%d", i);
    int fd = open(name, O_RDWR | O_NOCTTY);
    if (fd < 0) continue;
    if (write(fd, text, strlen(text) + 1) < 0) {
      // dropped, as on the recorder
    }
    close(fd);
    return;
  }
}

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) {
  Net("EchoApp: started\n");
  // An application refuses to stay when its folder holds "refuse".
  return TAP_Hdd_Exist("refuse") ? 0 : 1;
}

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word event, dword param1,
                                                                         dword) {
  char line[64];
  if (event == EVT_KEY) {
    snprintf(line, sizeof line, "EchoApp: key %05x\n", (unsigned)param1);
    Net(line);
    if (param1 == RKEY_Exit) TAP_Exit();
    return param1 == RKEY_Ok || param1 == RKEY_Exit ? 0 : param1;
  }
  // A message that makes it leave and start another application in its place,
  // both while the sender is still inside the call.
  if (event == EVT_TAPCOM && param1 == 1) {
    TAP_Exit();
    TAP_StartApplication("Other.tap");
    return 0xE0;
  }
  if (event == EVT_STOP) {
    TAP_Hdd_Create("stopped", ATTR_NORMAL);
    TAP_Exit();
  }
  return param1;
}

extern "C" __attribute__((visibility("default"))) void __TAP_Init_(TYPE_TapTask* task) {
  task->TAP_Main = TAP_Main;
  task->TAP_EventHandler = TAP_EventHandler;
}

// Names that the test program has too: the image must keep using its own.
extern "C" __attribute__((visibility("default"))) int EchoSharedName(void) { return 1; }
extern "C" __attribute__((visibility("default"))) int EchoCallsSharedName(void) {
  return EchoSharedName();
}
