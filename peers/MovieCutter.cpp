// MovieCutter: during playback its menu key (Menu) opens a small window;
// a digit key then reports the menu entry chosen, Exit closes it. That is all
// it cuts: it shows that the keys of another application's key sequences
// reached it.
#include <stdio.h>

#include "common/peer.h"

TAP_APPLICATION_HEADER(0x8E0A4247, "MovieCutter v1.0", "Pavrolinex peers",
                       "Cuts recordings (shows its menu only)", "");

namespace {

PeerWindow window;

bool Playing() {
  TYPE_PlayInfo info;
  return TAP_Hdd_GetPlayInfo(&info) && info.playMode == PLAYMODE_Playing;
}

void Open() {
  if (!PeerOpenWindow(&window, 200, 160, 320, 120, "MovieCutter")) return;
  PeerText(&window, 0, "Menu key received", kPeerText);
  PeerText(&window, 2, "EXIT close", kPeerDim);
  TAP_Osd_Sync();
  PeerNet("MovieCutter: menu\r\n");
}

dword Key(dword key) {
  if (!window.rgn) {
    if (key == RKEY_Menu && Playing()) {
      Open();
      return 0;
    }
    return key;
  }
  if (key == RKEY_Exit) {
    PeerCloseWindow(&window);
  } else if (key >= RKEY_1 && key <= RKEY_9) {
    char line[40];
    snprintf(line, sizeof line, "Menu entry %u chosen", key - RKEY_0);
    PeerText(&window, 1, line, kPeerText);
    TAP_Osd_Sync();
    PeerNet("MovieCutter: entry %u\r\n", key - RKEY_0);
  }
  return 0;  // the window takes every key while it shows
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) { return 1; }

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word event, dword param1,
                                                                         dword) {
  if (event == EVT_KEY) return Key(param1);
  if (event == EVT_STOP) {
    PeerCloseWindow(&window);
    TAP_Exit();
  }
  return param1;
}
