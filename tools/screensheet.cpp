// Contact sheets of every screen: the reference pictures of the tests
// (tests/reference/*.png, 720 x 576), scaled to a quarter and labelled with
// their names in the application's own font, laid out on sheets
// PREFIX-1.png, PREFIX-2.png, ... With --readme FILE it also rewrites the
// list of screens between the "screens" markers of that file.
//
//   screensheet REFERENCE_DIR PREFIX [--readme FILE]
#include <dirent.h>
#include <png.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ui/Text.h"

namespace {

const int kScale = 4;  // a thumbnail is a quarter of the screen a side
const int kThumbW = 720 / kScale, kThumbH = 576 / kScale;
const int kColumns = 4, kRowsPerSheet = 5;
const int kGap = 12, kLabelH = 22;
const int kCellW = kThumbW + kGap, kCellH = kThumbH + kLabelH + kGap;
const uint32_t kSheetColour = 0xFF303030, kLabelColour = 0xFFF0F0F0;

struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB
};

bool ReadPng(const std::string& path, Image* image) {
  png_image png;
  memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_BGRA;  // little-endian words of 0xAARRGGBB
  image->width = (int)png.width;
  image->height = (int)png.height;
  image->pixels.assign((size_t)png.width * png.height, 0);
  if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const Image& image) {
  png_image png;
  memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = (png_uint_32)image.width;
  png.height = (png_uint_32)image.height;
  png.format = PNG_FORMAT_BGRA;
  return png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

// The picture shrunk by kScale, each pixel the mean of the block it replaces.
void DrawThumbnail(Image& sheet, const Image& picture, int left, int top) {
  int w = std::min(kThumbW, picture.width / kScale), h = std::min(kThumbH, picture.height / kScale);
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      unsigned sum[3] = {0, 0, 0};
      for (int dy = 0; dy < kScale; dy++) {
        for (int dx = 0; dx < kScale; dx++) {
          uint32_t p = picture.pixels[(size_t)(y * kScale + dy) * picture.width + x * kScale + dx];
          for (int c = 0; c < 3; c++) sum[c] += (p >> (8 * c)) & 0xFF;
        }
      }
      uint32_t mean = 0xFF000000;
      for (int c = 0; c < 3; c++) mean |= (sum[c] / (kScale * kScale)) << (8 * c);
      sheet.pixels[(size_t)(top + y) * sheet.width + left + x] = mean;
    }
  }
}

// `text` centred in the field left .. left + width, top at `top`, cut at the
// end when it is wider; the glyphs' coverage blends the colour in.
void DrawLabel(Image& sheet, const std::string& text, int left, int top, int width) {
  const FontDef* font = FontOfSize(12);
  std::string shown = text;
  while (!shown.empty() && (int)FM_GetStringWidth(shown.c_str(), font) > width) shown.pop_back();
  int x = left + (width - (int)FM_GetStringWidth(shown.c_str(), font)) / 2;
  for (unsigned char c : shown) {
    const GlyphDef& glyph = font->glyph[FM_CharToIndex(c)];
    const byte* coverage = font->bitmap + glyph.offset;
    for (dword gy = 0; gy < glyph.height; gy++) {
      for (dword gx = 0; gx < glyph.width; gx++) {
        unsigned m = coverage[gy * glyph.width + gx];
        if (!m) continue;
        uint32_t& p = sheet.pixels[(size_t)(top + (int)gy) * sheet.width + x + (int)gx];
        uint32_t mixed = 0xFF000000;
        for (int ch = 0; ch < 3; ch++) {
          unsigned fg = (kLabelColour >> (8 * ch)) & 0xFF, bg = (p >> (8 * ch)) & 0xFF;
          mixed |= ((fg * m + bg * (255 - m)) / 255) << (8 * ch);
        }
        p = mixed;
      }
    }
    x += (int)glyph.width;
  }
}

std::vector<std::string> PngNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
      names.push_back(name.substr(0, name.size() - 4));
    }
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// Replaces what lies between the markers with `list`; false when the file has
// no such pair.
bool RewriteReadme(const std::string& path, const std::string& list) {
  const std::string begin = "<!-- screens:begin -->\n", end = "<!-- screens:end -->";
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::string readme = text.str();
  size_t from = readme.find(begin), to = readme.find(end);
  if (from == std::string::npos || to == std::string::npos || to < from) return false;
  readme.replace(from + begin.size(), to - from - begin.size(), list);
  std::ofstream out(path, std::ios::trunc);
  out << readme;
  return (bool)out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && strcmp(argv[3], "--readme") == 0)) {
    fprintf(stderr, "usage: screensheet REFERENCE_DIR PREFIX [--readme FILE]\n");
    return 2;
  }
  std::string folder = argv[1], prefix = argv[2];
  std::vector<std::string> names = PngNames(folder);
  if (names.empty()) {
    fprintf(stderr, "screensheet: no PNG pictures in %s\n", folder.c_str());
    return 1;
  }
  const int perSheet = kColumns * kRowsPerSheet;
  const int sheets = ((int)names.size() + perSheet - 1) / perSheet;
  std::string base = prefix.substr(prefix.rfind('/') + 1);
  std::string list;
  for (int s = 0; s < sheets; s++) {
    int first = s * perSheet, count = std::min(perSheet, (int)names.size() - first);
    int rows = (count + kColumns - 1) / kColumns;
    Image sheet;
    sheet.width = kColumns * kCellW + kGap;
    sheet.height = rows * kCellH + kGap;
    sheet.pixels.assign((size_t)sheet.width * sheet.height, kSheetColour);
    std::string file = prefix + "-" + std::to_string(s + 1) + ".png";
    list += "\n![Screens " + std::to_string(first + 1) + " to " + std::to_string(first + count) +
            "](docs/" + base + "-" + std::to_string(s + 1) + ".png)\n\n";
    for (int i = 0; i < count; i++) {
      const std::string& name = names[first + i];
      int left = kGap + (i % kColumns) * kCellW, top = kGap + (i / kColumns) * kCellH;
      Image picture;
      if (!ReadPng(folder + "/" + name + ".png", &picture)) {
        fprintf(stderr, "screensheet: cannot read %s/%s.png\n", folder.c_str(), name.c_str());
        return 1;
      }
      DrawThumbnail(sheet, picture, left, top);
      DrawLabel(sheet, name, left, top + kThumbH + 3, kThumbW);
      list += std::to_string(first + i + 1) + ". `" + name + "`\n";
    }
    if (!WritePng(file, sheet)) {
      fprintf(stderr, "screensheet: cannot write %s\n", file.c_str());
      return 1;
    }
  }
  // Sheets of an earlier, longer run would stay behind with stale pictures.
  for (int s = sheets + 1; remove((prefix + "-" + std::to_string(s) + ".png").c_str()) == 0; s++) {
  }
  if (argc == 5 && !RewriteReadme(argv[4], list)) {
    fprintf(stderr, "screensheet: %s has no <!-- screens:begin/end --> markers\n", argv[4]);
    return 1;
  }
  printf("screensheet: %d screens on %d sheets\n", (int)names.size(), sheets);
  return 0;
}
