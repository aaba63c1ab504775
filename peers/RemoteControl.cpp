// RemoteControl: the remote-control application. Other applications switch
// its direct mode through a TAPCOM channel (event 0x0FFF, param1 = the
// channel record): service 1 switches it on, service 2 off. It answers with
// the mode now in force (1 on, 0 off), marks the channel finished (4) or, for
// a service it does not offer, rejected (3), and reports every change on the
// network output.
#include "common/peer.h"

TAP_APPLICATION_HEADER(0x8E0A4230, "RemoteControl v1.0", "Pavrolinex peers",
                       "Remote-control extension with a direct mode for keyboards", "");

namespace {

constexpr word kChannelEvent = 0x0FFF;
constexpr dword kChannelMagic = 0x14011965;
constexpr dword kStatusRejected = 3;
constexpr dword kStatusFinished = 4;

// The channel record's leading words; the parameter pointer that follows
// is not used (the direct-mode services take no parameters).
struct Channel {
  dword magic;
  dword version;
  dword reserved;
  dword caller;
  dword server;
  dword status;
  dword service;
};

int directMode;

dword Serve(dword address) {
  Channel channel;
  if (!PeerCopyRecord(address, &channel, sizeof channel) || channel.magic != kChannelMagic ||
      channel.server != PeerOwnId()) {
    PeerNet("RemoteControl: not a channel to this application\r\n");
    return static_cast<dword>(directMode);
  }
  // The status word goes back into the caller's record, now known to be one.
  dword* status = static_cast<dword*>(PeerPointer(address)) + 5;
  if (channel.service != 1 && channel.service != 2) {
    *status = kStatusRejected;
    PeerNet("RemoteControl: service %u refused (from 0x%08X)\r\n", channel.service, channel.caller);
    return static_cast<dword>(directMode);
  }
  directMode = channel.service == 1;
  *status = kStatusFinished;
  PeerNet("RemoteControl: direct mode %s (from 0x%08X)\r\n", directMode ? "on" : "off",
          channel.caller);
  return static_cast<dword>(directMode);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) { return 1; }

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word event, dword param1,
                                                                         dword) {
  if (event == kChannelEvent) return Serve(param1);
  if (event == EVT_STOP) TAP_Exit();
  return param1;
}
