// The messages another application can send (event 0x0C00: command,
// argument, and for the commands that carry one a 520-byte record of any
// content), delivered to the running application's event handler with idle
// events between them so that the phases they start run. The input is a
// series of messages: a command byte, four argument bytes, a flags byte and,
// with flag 1 or a command that carries a record, the record (its bytes
// follow, as many as the input has).
#include <string.h>

#include "app/app.h"
#include "apps/apps.h"
#include "emu.h"
#include "fuzz.h"

extern "C" const TYPE_TapHeader _tap_header;

namespace {

int slot = -1;

// Back to an application at rest between inputs, so that every input starts
// from the same state.
void Settle() {
  Tagsmith_multiphase = Tagsmith_multistep = 0;
  Tagsmith_alive = Tagsmith_alive_counter = Tagsmith_failure = 0;
  Tagsmith_infoMessage[0] = 0;
  activateTagsmithPrepareQuembry = Tagsmith_prepareSent = 0;
  processInBackground = 0;
  for (int i = 0; i < 3 && !emu::InNormalMode(); i++) emu::PressKey(RKEY_Exit);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();
  emu::SetClock(2026, 12, 7, 20, 15, 30);
  slot = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
  FUZZ_CHECK(slot >= 0 && emu::IsRunning(slot));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  byte* record = (byte*)TAP_MemAlloc(TAGSMITH_MESSAGE_SIZE);
  for (size_t at = 0; at + 6 <= size;) {
    dword command = data[at];
    dword argument;
    memcpy(&argument, data + at + 1, 4);
    byte flags = data[at + 5];
    at += 6;
    // A record's address is the sender's to give right: the commands that
    // carry one always get one here.
    if ((flags & 1) || command == 2 || command == 17) {
      size_t n = size - at < TAGSMITH_MESSAGE_SIZE ? size - at : TAGSMITH_MESSAGE_SIZE;
      memset(record, 0, TAGSMITH_MESSAGE_SIZE);
      memcpy(record, data + at, n);
      at += n;
      argument = (dword)(uintptr_t)record;
    }
    emu::SendEventTo(slot, EVT_TAPCOM, command, argument);
    if (flags & 2) emu::Idle(1 + (flags >> 4));
  }
  emu::Idle(2);
  FUZZ_CHECK(emu::IsRunning(slot));
  Settle();
  TAP_MemFree(record);
  emu::ClearNetOutput();
  return 0;
}
