// Picture files: the composed frame as PNG (libpng) and JPEG decoding for
// TAP_Osd_DrawJpeg (libjpeg-turbo).
#include <png.h>
#include <setjmp.h>
#include <stdio.h>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <vector>

#include "internal.h"

namespace fw {
namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
  JpegError* err = reinterpret_cast<JpegError*>(info->err);
  longjmp(err->jump, 1);
}

// Warnings about damaged pictures are the application's business, not the
// console's.
void OnJpegMessage(j_common_ptr) {}

// The recorder's decoder takes baseline colour pictures of at most this many
// pixels a side; larger ones would not fit its memory.
constexpr unsigned kMaxJpegSide = 2048;

}  // namespace

bool DecodeJpeg(const void* data, size_t size, std::vector<uint32_t>& argb, int& width,
                int& height) {
  jpeg_decompress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  err.mgr.output_message = OnJpegMessage;
  // Declared before the jump target, so that a jump back never skips its
  // destructor.
  std::vector<unsigned char> row;
  // A damaged picture ends the decode here instead of ending the program.
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, static_cast<const unsigned char*>(data), static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // Progressive and CMYK pictures are beyond the recorder's decoder, and a
  // huge one is refused before any memory is taken for it.
  if (info.progressive_mode || info.jpeg_color_space == JCS_CMYK ||
      info.jpeg_color_space == JCS_YCCK || info.image_width > kMaxJpegSide ||
      info.image_height > kMaxJpegSide) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  argb.assign(static_cast<size_t>(width) * height, 0);
  row.assign(static_cast<size_t>(width) * 3, 0);
  while (info.output_scanline < info.output_height) {
    unsigned char* rows[1] = {row.data()};
    int y = static_cast<int>(info.output_scanline);
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < width; x++) {
      argb[y * width + x] = 0xFF000000u | row[x * 3] << 16 | row[x * 3 + 1] << 8 | row[x * 3 + 2];
    }
  }
  jpeg_finish_decompress(&info);
  // A truncated picture decodes with a warning and grey rows: it counts as
  // damaged.
  bool whole = err.mgr.num_warnings == 0;
  jpeg_destroy_decompress(&info);
  return whole && width > 0 && height > 0;
}

}  // namespace fw

namespace emu {

bool WritePng(const std::string& path) {
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) {
    fw::SetError("cannot write " + path);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<unsigned char> row(OSD_WIDTH * 3);
  bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png))) {
    ok = false;
  } else if (ok) {
    png_init_io(png, out);
    png_set_IHDR(png, info, OSD_WIDTH, OSD_HEIGHT, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::vector<uint32_t>& frame = Frame();
    for (int y = 0; y < OSD_HEIGHT; y++) {
      for (int x = 0; x < OSD_WIDTH; x++) {
        uint32_t p = frame[y * OSD_WIDTH + x];
        row[x * 3] = static_cast<unsigned char>(p >> 16);
        row[x * 3 + 1] = static_cast<unsigned char>(p >> 8);
        row[x * 3 + 2] = static_cast<unsigned char>(p);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  if (fclose(out) != 0) ok = false;
  if (!ok) fw::SetError("cannot write " + path);
  return ok;
}

}  // namespace emu
