// snapshot.cpp - reference PNG comparison of the emulated recorder's frame.
#include "snapshot.h"

#include <png.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "emu.h"

namespace snapshot {

namespace {

bool ReadPng(const std::string& path, std::vector<uint32_t>* pixels, int* w, int* h) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  pixels->assign((size_t)image.width * image.height, 0);
  if (!png_image_finish_read(&image, nullptr, pixels->data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  *w = (int)image.width;
  *h = (int)image.height;
  return true;
}

}  // namespace

bool MatchesReference(const std::string& name, std::string* message) {
  const std::string reference = std::string(PVR_SOURCE_DIR) + "/tests/reference/" + name + ".png";
  const char* update = getenv("PVR_UPDATE_REFERENCES");
  if (update && std::string(update) == "1") {
    mkdir((std::string(PVR_SOURCE_DIR) + "/tests/reference").c_str(), 0755);
    if (!emu::WritePng(reference)) {
      *message = "cannot write " + reference;
      return false;
    }
    return true;
  }
  struct stat st;
  if (stat(reference.c_str(), &st) != 0) {
    // A comparison without a reference proves nothing: the frame goes where
    // a mismatch would leave it, and only PVR_UPDATE_REFERENCES=1 adopts it.
    const std::string dir = std::string(PVR_BINARY_DIR) + "/snapshots";
    mkdir(dir.c_str(), 0755);
    emu::WritePng(dir + "/" + name + "_err.png");
    *message = reference + " is missing; the frame is in " + dir + "/" + name +
               "_err.png (PVR_UPDATE_REFERENCES=1 makes it the reference)";
    return false;
  }
  std::vector<uint32_t> expected;
  int w = 0, h = 0;
  if (!ReadPng(reference, &expected, &w, &h)) {
    *message = "cannot read " + reference;
    return false;
  }
  const std::vector<uint32_t>& frame = emu::Frame();
  if (w != OSD_WIDTH || h != OSD_HEIGHT || frame.size() != expected.size()) {
    *message = reference + " is not a full frame";
    return false;
  }
  size_t differ = 0;
  for (size_t i = 0; i < frame.size(); ++i) {
    if ((frame[i] | 0xFF000000u) != (expected[i] | 0xFF000000u)) ++differ;
  }
  if (differ == 0) return true;
  const std::string dir = std::string(PVR_BINARY_DIR) + "/snapshots";
  mkdir(dir.c_str(), 0755);
  emu::WritePng(dir + "/" + name + "_err.png");
  *message = std::to_string(differ) + " pixels differ from " + reference + "; the frame is in " +
             dir + "/" + name + "_err.png (PVR_UPDATE_REFERENCES=1 accepts it)";
  return false;
}

std::vector<uint32_t> Crop(int x, int y, int w, int h) {
  std::vector<uint32_t> pixels;
  for (int row = y; row < y + h; row++) {
    const uint32_t* line = emu::Frame().data() + row * 720;
    pixels.insert(pixels.end(), line + x, line + x + w);
  }
  return pixels;
}

}  // namespace snapshot
