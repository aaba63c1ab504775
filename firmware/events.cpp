// Event delivery. Everything runs on the caller's thread: a host call such as
// PressKey or Idle delivers its event, then the events the applications
// generated meanwhile, then unloads the applications that asked to exit.
#include <time.h>

#include <deque>
#include <vector>

#include "internal.h"

namespace fw {
namespace {

struct Event {
  word event;
  dword param1;
  dword param2;
};

std::deque<Event> queue;
std::vector<dword> firmwareKeys;
dword state = STATE_Normal;
dword subState = SUBSTATE_Normal;
int normalHolders = 0;  // applications that took the screen (TAP_ExitNormal)
bool draining = false;

// A key goes to the applications in table order until one consumes it (0);
// a key nobody consumes reaches the firmware itself.
dword RouteKey(dword key, dword param2) {
  dword result = key;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (!emu::IsRunning(i)) continue;
    result = CallHandler(i, EVT_KEY, key, param2);
    if (result == 0) return 0;
  }
  firmwareKeys.push_back(key);
  FirmwareKey(key);
  return result;
}

dword Broadcast(word event, dword param1, dword param2) {
  dword result = param1;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (emu::IsRunning(i)) result = CallHandler(i, event, param1, param2);
  }
  return result;
}

// Runs after every host-level delivery: generated events are delivered one at
// a time, never inside the handler that generated them.
void Settle() {
  if (CallDepth() > 0 || draining) return;
  draining = true;
  while (!queue.empty()) {
    Event e = queue.front();
    queue.pop_front();
    if (e.event == EVT_KEY) {
      RouteKey(e.param1, e.param2);
    } else {
      Broadcast(e.event, e.param1, e.param2);
    }
    UnloadPendingApps();
  }
  UnloadPendingApps();
  draining = false;
}

}  // namespace

void IdleInsideDelay() {
  if (config.idleDuringDelay && CallDepth() > 0) Broadcast(EVT_IDLE, 0, 0);
}

void ResetEvents() {
  queue.clear();
  firmwareKeys.clear();
  state = STATE_Normal;
  subState = SUBSTATE_Normal;
  normalHolders = 0;
  draining = false;
}

}  // namespace fw

extern "C" {

int TAP_GenerateEvent(word event, dword param1, dword param2) {
  fw::queue.push_back({event, param1, param2});
  fw::Settle();
  return 1;
}

void TAP_GetState(dword* state, dword* subState) {
  if (state) *state = fw::state;
  if (subState) *subState = fw::subState;
}

word TAP_GetSystemId(void) { return fw::config.systemId; }

void TAP_ExitNormal(void) { fw::normalHolders = 1; }

void TAP_EnterNormal(void) { fw::normalHolders = 0; }

}  // extern "C"

namespace emu {

dword SendKey(dword code) {
  dword result = fw::RouteKey(code, code);
  fw::UnloadPendingApps();
  fw::Settle();
  return result;
}

dword PressKey(dword code) {
  dword result = SendKey(code);
  if ((code & 0xFF000000u) == 0) SendKey(code | RKEY_FLAG_RELEASED);
  return result;
}

void HoldKey(dword code, int repeats) {
  SendKey(code);
  for (int i = 0; i < repeats; i++) {
    fw::AdvanceTicks(10);  // the remote repeats about ten times a second
    SendKey(code | RKEY_FLAG_HELD);
  }
  SendKey(code | RKEY_FLAG_RELEASED);
}

void ReleaseKey(dword code) { SendKey(code | RKEY_FLAG_RELEASED); }

void Idle(int count) {
  for (int n = 0; n < count; n++) {
    fw::KeepPaceWithChildren();
    fw::AdvanceTicks(static_cast<dword>(fw::config.idleTicks));
    fw::Broadcast(EVT_IDLE, 0, 0);
    fw::UnloadPendingApps();
    fw::Settle();
  }
}

void Wait(double seconds) {
  int step = fw::config.idleTicks > 0 ? fw::config.idleTicks : 1;
  long total = static_cast<long>(seconds * 100 + 0.5);
  for (long done = 0; done < total; done += step) {
    Idle(1);
    if (fw::config.realTime) {
      timespec pause = {0, step * 10000000L};
      nanosleep(&pause, nullptr);
    }
  }
}

dword SendEventTo(int index, word event, dword param1, dword param2) {
  dword result = fw::CallHandler(index, event, param1, param2);
  fw::UnloadPendingApps();
  fw::Settle();
  return result;
}

dword SendEvent(word event, dword param1, dword param2) {
  dword result = fw::Broadcast(event, param1, param2);
  fw::UnloadPendingApps();
  fw::Settle();
  return result;
}

void SetState(dword state, dword subState) {
  fw::state = state;
  fw::subState = subState;
}

std::vector<dword> KeysGivenToFirmware() { return fw::firmwareKeys; }

bool InNormalMode() { return fw::normalHolders == 0; }

}  // namespace emu
