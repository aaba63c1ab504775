// web.h - the recorder in the browser: serves a page with the live screen, a
// remote control and the firmware's state, and runs the emulated recorder in
// real time until it is interrupted.
#pragma once

#include <string>
#include <vector>

#include "tap.h"

namespace web {

struct Options {
  std::string address = "127.0.0.1";
  int port = 8080;
  int idleTicks = 10;  // emulated ticks of one idle event (the recorder's setting)
  // Type of the model's remote control (as the firmware description file
  // numbers it): the drawn remote sends that remote's codes.
  int remoteType = 1;
};

// The code a remote of `remoteType` sends for a key (named by its code after
// the application's key translation): remotes of type 2 and 3 send other codes
// for some keys, which the application translates back.
dword RemoteCode(int remoteType, dword key);

// The remote type of model `systemId` in a firmware description file
// (FirmwareTMS.dat); 1 when the file or the model is missing.
int RemoteTypeFromFile(const std::string& hostPath, uint16_t systemId);

// Parses "[ADDRESS:]PORT" into options; false (options unchanged) when it is
// not of that form or the port is out of range.
bool ParseListen(const std::string& text, Options& options);

// Serves until SIGINT or SIGTERM. Must be called on the thread that booted the
// recorder, after Boot (the HTTP threads start here): that thread stays the
// only one that delivers events. Prints the address once listening. Returns
// false with a message on stderr when the address cannot be bound.
bool Serve(const Options& options);

}  // namespace web
