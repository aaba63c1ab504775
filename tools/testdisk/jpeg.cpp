#include "jpeg.h"

#include <stdio.h>
#include <stdlib.h>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace testdisk {

std::vector<unsigned char> EncodeJpeg(int w, int h, const std::vector<uint32_t>& pixels,
                                      const JpegOptions& options) {
  if (w <= 0 || h <= 0 || pixels.size() < static_cast<size_t>(w) * h) return {};
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(w);
  info.image_height = static_cast<JDIMENSION>(h);
  int components = options.cmyk ? 4 : 3;
  info.input_components = components;
  info.in_color_space = options.cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(w) * components);
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      uint32_t c = pixels[static_cast<size_t>(y) * w + x];
      JSAMPLE* p = &row[static_cast<size_t>(x) * components];
      p[0] = static_cast<JSAMPLE>(c >> 16);
      p[1] = static_cast<JSAMPLE>(c >> 8);
      p[2] = static_cast<JSAMPLE>(c);
      if (options.cmyk) p[3] = 0;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<unsigned char> data(out, out + size);
  free(out);
  return data;
}

std::vector<unsigned char> EncodeJpeg(int w, int h, uint32_t rgb, const JpegOptions& options) {
  if (w <= 0 || h <= 0) return {};
  return EncodeJpeg(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, rgb), options);
}

}  // namespace testdisk
