// TSR Commander: a menu of the resident applications. Keeping Exit pressed
// in normal viewing opens it (the first held report); Up and Down choose an
// application, OK configures it, Green shows it, Red stops it, Exit closes
// the menu.
//
// Configuring and stopping call the application's exported functions
// TSRCommanderConfigDialog and TSRCommanderExitTAP when its image has them
// (looked up with dlsym on the image handle of its slot in the application
// table; an application linked into the host program has no handle, and its
// exports are the program's own), with the current-task index switched to
// it; otherwise the request goes as event 0x0B00 with code 2 (configure) or
// 1 (stop). Showing is event 0x0B00 with code 6. Opening the menu asks every
// application with code 3 what it offers and logs the answers.
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "common/peer.h"

TAP_APPLICATION_HEADER(0x54535243, "TSR Commander v1.0", "Pavrolinex peers",
                       "Configures and stops resident applications", "");

namespace {

constexpr int kMaxRows = 15;

PeerWindow window;
int slots[kMaxRows];  // the applications listed, by table slot
int rows;
int chosen;

void* Export(int slot, const char* name) {
  TYPE_TapTask* table = PeerTable();
  void* image = table ? table[slot].image : nullptr;
  return dlsym(image ? image : RTLD_DEFAULT, name);
}

// The program name from the application's header, else its file name.
void NameOf(int slot, char* out, size_t size) {
  TYPE_TapTask* table = PeerTable();
  const TYPE_TapHeader* header = static_cast<const TYPE_TapHeader*>(
      table[slot].image ? dlsym(table[slot].image, TAP_HEADER_SYMBOL) : nullptr);
  if (header) {
    snprintf(out, size, "%.*s", (int)sizeof header->programName, header->programName);
    return;
  }
  const char* path = table[slot].file ? table[slot].file->path : "";
  const char* slash = strrchr(path, '/');
  snprintf(out, size, "%.60s", slash ? slash + 1 : path);
}

void Draw() {
  for (int i = 0; i < rows; i++) {
    char name[80], line[120];
    NameOf(slots[i], name, sizeof name);
    bool configurable = Export(slots[i], "TSRCommanderConfigDialog") != nullptr;
    snprintf(line, sizeof line, "%2d %.24s%s", slots[i], name, configurable ? " *" : "");
    PeerHighlight(&window, i, i == chosen);
    PeerText(&window, i, line, kPeerText);
  }
  PeerText(&window, rows + 1, "OK config  GREEN show  RED stop", kPeerDim);
  TAP_Osd_Sync();
}

void Open() {
  TYPE_TapTask* table = PeerTable();
  dword* current = PeerCurrentTask();
  if (!table || !current) return;
  rows = 0;
  for (int i = 0; i < TAP_MAX_TASKS && rows < kMaxRows; i++) {
    if (table[i].status != TAPTASK_Running || i == static_cast<int>(*current)) continue;
    dword offers = PeerSendToSlot(i, EVT_TSRCOMMANDER, 3, 0);
    PeerNet("TSR Commander: slot %d offers 0x%08X\r\n", i, offers);
    slots[rows++] = i;
  }
  chosen = 0;
  dword height = 36 + 20 * static_cast<dword>(rows + 2) + 8;
  if (!PeerOpenWindow(&window, 150, 100, 420, height, "TSR Commander")) return;
  Draw();
}

// Runs an exported function of the application in `slot` as that application.
template <typename F>
auto CallAs(int slot, F function) {
  dword* current = PeerCurrentTask();
  dword caller = *current;
  *current = static_cast<dword>(slot);
  auto result = function();
  *current = caller;
  return result;
}

void Configure(int slot) {
  PeerCloseWindow(&window);
  auto dialog = reinterpret_cast<void (*)(void)>(Export(slot, "TSRCommanderConfigDialog"));
  PeerNet("TSR Commander: configure slot %d%s\r\n", slot, dialog ? "" : " (event)");
  if (dialog) {
    CallAs(slot, [&] {
      dialog();
      return 0;
    });
  } else {
    PeerSendToSlot(slot, EVT_TSRCOMMANDER, 2, 0);
  }
}

void Stop(int slot) {
  PeerCloseWindow(&window);
  auto exitTap = reinterpret_cast<int (*)(void)>(Export(slot, "TSRCommanderExitTAP"));
  dword answer = exitTap ? static_cast<dword>(CallAs(slot, exitTap))
                         : PeerSendToSlot(slot, EVT_TSRCOMMANDER, 1, 0);
  PeerNet("TSR Commander: stop slot %d answered %u\r\n", slot, answer);
}

dword Key(dword key) {
  if (!window.rgn) {
    if (key == (RKEY_Exit | RKEY_FLAG_HELD)) {
      Open();
      return 0;
    }
    return key;
  }
  int slot = rows > 0 ? slots[chosen] : -1;
  switch (key) {
    case RKEY_Exit:
      PeerCloseWindow(&window);
      break;
    case RKEY_ChUp:
    case RKEY_ChDown:
      if (rows > 0) chosen = (chosen + (key == RKEY_ChUp ? rows - 1 : 1)) % rows;
      Draw();
      break;
    case RKEY_Ok:
      if (slot >= 0) Configure(slot);
      break;
    case RKEY_Green:
      if (slot >= 0) {
        PeerCloseWindow(&window);
        PeerSendToSlot(slot, EVT_TSRCOMMANDER, 6, 0);
      }
      break;
    case RKEY_Red:
    case RKEY_F1:
      if (slot >= 0) Stop(slot);
      break;
    default:
      break;
  }
  return 0;  // the menu takes every key while it shows
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
