// snapshot.h - compares the emulated recorder's last frame with a reference
// PNG kept in tests/reference/, pixel for pixel.
#pragma once

#include <string>

namespace snapshot {

// Compares emu::Frame() with tests/reference/<name>.png. A missing reference
// is written and counts as a match; so is every reference while the
// environment variable PVR_UPDATE_REFERENCES is 1 (the way to change them on
// purpose). On a mismatch the frame is left as <build>/snapshots/<name>_err.png
// and `message` says how many pixels differ.
bool MatchesReference(const std::string& name, std::string* message);

}  // namespace snapshot
