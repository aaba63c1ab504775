// jpeg.h - JPEG pictures for test disks, the demo disk and the tests (libjpeg).
#pragma once

#include <cstdint>
#include <vector>

namespace testdisk {

struct JpegOptions {
  int quality = 75;
  bool progressive = false;
  bool cmyk = false;  // four components, as some logo files come
};

// Encodes w x h pixels given as 0xRRGGBB, row by row; empty on failure.
std::vector<unsigned char> EncodeJpeg(int w, int h, const std::vector<uint32_t>& pixels,
                                      const JpegOptions& options = {});
// A picture of one colour.
std::vector<unsigned char> EncodeJpeg(int w, int h, uint32_t rgb, const JpegOptions& options = {});

}  // namespace testdisk
