// snapshot.h - compares the emulated recorder's last frame with a reference
// PNG kept in tests/reference/, pixel for pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace snapshot {

// Compares emu::Frame() with tests/reference/<name>.png. While the
// environment variable PVR_UPDATE_REFERENCES is 1 the frame is written as the
// reference and counts as a match (the way to make or change references on
// purpose); otherwise a missing reference is a mismatch. On a mismatch the
// frame is left as <build>/snapshots/<name>_err.png and `message` says why
// (how many pixels differ, or that the reference is missing).
bool MatchesReference(const std::string& name, std::string* message);

// The pixels of a rectangle of emu::Frame(), row by row.
std::vector<uint32_t> Crop(int x, int y, int w, int h);

}  // namespace snapshot
