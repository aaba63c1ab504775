// peer.h - what the recorder's other applications share: reaching each other
// through the firmware's application table, the network output, and a plain
// window drawn with the firmware's font. They are applications like any
// other and see only the firmware API (tap.h) and the C library.
#pragma once

#include "tap.h"

// The firmware's application table and the index of the running application;
// null when the firmware does not offer them.
TYPE_TapTask* PeerTable();
dword* PeerCurrentTask();
// Slot of the running application with this id, or -1.
int PeerIndexOf(dword id);
// This application's own id (from its slot of the table), 0 when unknown.
dword PeerOwnId();

// Calls the event handler of the application `id` (0: every running one in
// slot order; with `intercept`, until one returns 0) as the firmware would:
// with the current-task index switched to the receiver and restored after.
// Returns what the (last) handler returned, 0 when nobody received it.
dword PeerSend(dword id, bool intercept, word event, dword param1, dword param2);
// The same for the application in slot `index`.
dword PeerSendToSlot(int index, word event, dword param1, dword param2);

// Records travel in the 32-bit event parameters, as addresses do on the
// recorder (the firmware heap keeps them below 4 GB on a PC).
inline void* PeerPointer(dword value) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(value));
}
inline dword PeerAddress(const void* record) {
  return static_cast<dword>(reinterpret_cast<uintptr_t>(record));
}

// Copies `size` bytes of a record another application sent; false (and
// nothing copied) when its address is not readable memory, so a wrong address
// gives a message instead of a crash. At most 4096 bytes.
bool PeerCopyRecord(dword address, void* out, size_t size);

// One line to the network output ("/dev/pts/N"), as applications write it.
void PeerNet(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A framed window of the peer's own region.
struct PeerWindow {
  word rgn;  // 0 while closed
  dword w, h;
};
bool PeerOpenWindow(PeerWindow* win, dword x, dword y, dword w, dword h, const char* title);
// Text at a row of 20 pixels below the title (row 0 first), cut at the
// window's edge.
void PeerText(PeerWindow* win, int row, const char* text, dword color);
// How many characters of the firmware font fit on a row.
int PeerRowChars(const PeerWindow* win);

// Broadcast text (a programme title or description, ETSI EN 300 468: an
// optional character-table selector first, ISO 6937 without one) as the
// firmware font can show it: ASCII, German letters spelled out, 0x8A (line
// break) as '\n', anything else '?'. Returns the length written.
int PeerDecodeText(const unsigned char* in, int length, char* out, int outSize);
void PeerHighlight(PeerWindow* win, int row, bool on);
void PeerCloseWindow(PeerWindow* win);

constexpr dword kPeerText = 0xFFFAFAFA;
constexpr dword kPeerDim = 0xFFC0C0C0;
constexpr dword kPeerBack = 0xFF1E1E1E;
constexpr dword kPeerFrame = 0xFF666666;
constexpr dword kPeerSelect = 0xFF2E5E8E;
