// fontgen - renders the five built-in list fonts from a Calibri-metric
// sans-serif (Carlito) with FreeType and writes them as C++ glyph tables.
//
//   fontgen [FONT.ttf] [OUTDIR]
//
// Defaults: /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf and
// src/ui/fonts. tools/regenerate-ui.sh runs it (and gfxgen) from the source
// tree. The output is committed, so building the application never needs
// FreeType; run this only when the glyph design is to change.
//
// Every table keeps the fixed metrics the screen layout depends on: one glyph
// height per font, tabular digits, the space width and the width of the widest
// glyph. The generator refuses to write a font that misses any of them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct FontSpec {
  int size;      // nominal size, the name of the font in the program
  double em;     // FreeType pixel size of the em square
  int height;    // glyph height, the same for every glyph
  int baseline;  // rows above the baseline
  int widest;    // width of the widest glyph
  int space;     // width of the space
  int digit;     // width of every digit
};

// The em sizes are those at which Carlito's own advances round to the
// required space, digit and widest-glyph widths; the heights follow the
// font's Windows ascent and descent (size 10 is one pixel tighter).
const FontSpec kFonts[] = {
    {10, 13.5, 15, 12, 12, 3, 7},  {12, 16.0, 19, 15, 14, 4, 8},  {14, 19.5, 23, 19, 17, 4, 10},
    {16, 21.5, 26, 20, 19, 5, 11}, {18, 23.5, 29, 22, 21, 5, 12},
};

struct Glyph {
  int code;
  int width;
  std::vector<unsigned char> pixels;  // height rows of width bytes
};

bool IsValid(int c) { return (c >= 32 && c <= 126) || (c >= 160 && c <= 255); }

// Coverage as FreeType gives it is linear; a slight lift of the mid tones
// keeps one-pixel stems from looking washed out on the dark list background.
unsigned char Lift(unsigned char v) {
  if (v == 0 || v == 255) return v;
  double x = std::pow(v / 255.0, 0.85);
  int r = (int)std::lround(x * 255.0);
  return (unsigned char)std::clamp(r, 1, 254);
}

bool RenderGlyph(FT_Face face, const FontSpec& metrics, int code, Glyph* out, std::string* error) {
  out->code = code;
  // Carlito has no glyphs of its own for the no-break space and the soft
  // hyphen; they look like the space and the hyphen.
  int source = code;
  if (code == 160) source = ' ';
  if (code == 173) source = '-';
  if (FT_Get_Char_Index(face, source) == 0) {
    *error = "the font has no glyph for character " + std::to_string(code);
    return false;
  }
  if (FT_Load_Char(face, source, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) {
    *error = "cannot load character " + std::to_string(code);
    return false;
  }
  FT_GlyphSlot slot = face->glyph;
  double advance = slot->linearHoriAdvance / 65536.0;
  int width = (int)std::lround(advance);
  if (code == 32 || code == 160) width = metrics.space;
  if (code >= '0' && code <= '9') width = metrics.digit;
  // A glyph wider than the font's widest cell is squeezed to it, so the
  // table never holds a glyph wider than the layout allows for.
  if (width > metrics.widest) {
    double scale = metrics.widest / advance;
    FT_Matrix m = {(FT_Fixed)(scale * 65536.0), 0, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &m);
    advance = metrics.widest;
    width = metrics.widest;
  }
  // Centre the outline in its cell with sub-pixel precision: the rounding of
  // the advance is shared out on both sides instead of piling up on the right.
  double shift = (width - advance) / 2.0;
  FT_Outline_Translate(&slot->outline, (FT_Pos)std::lround(shift * 64.0), 0);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT) != 0) {
    *error = "cannot render character " + std::to_string(code);
    return false;
  }
  const FT_Bitmap& bm = slot->bitmap;
  int left = slot->bitmap_left;
  int top = metrics.baseline - slot->bitmap_top;
  // Ink that overhangs the cell (negative side bearings of j, f and the like)
  // is moved inside when it is narrow enough, rather than cut.
  if ((int)bm.width <= width) {
    if (left < 0) left = 0;
    if (left + (int)bm.width > width) left = width - (int)bm.width;
  }
  out->width = width;
  out->pixels.assign((size_t)width * metrics.height, 0);
  for (int r = 0; r < (int)bm.rows; ++r) {
    int y = top + r;
    if (y < 0 || y >= metrics.height) continue;
    for (int c = 0; c < (int)bm.width; ++c) {
      int x = left + c;
      if (x < 0 || x >= width) continue;
      unsigned char v = bm.buffer[r * bm.pitch + c];
      out->pixels[(size_t)y * width + x] = std::max(out->pixels[(size_t)y * width + x], Lift(v));
    }
  }
  return true;
}

std::string CharComment(int code) {
  char buf[32];
  if (code == '\\') return "backslash (92)";
  if (code < 127) {
    snprintf(buf, sizeof buf, "'%c' (%d)", code, code);
  } else {
    // Latin-1 code point written as UTF-8, so the source stays readable.
    snprintf(buf, sizeof buf, "'%c%c' (%d)", 0xC0 | (code >> 6), 0x80 | (code & 0x3F), code);
  }
  return buf;
}

bool WriteFont(const FontSpec& metrics, const std::vector<Glyph>& glyphs, const std::string& dir) {
  std::string path = dir + "/Calibri_" + std::to_string(metrics.size) + ".cpp";
  FILE* f = fopen(path.c_str(), "w");
  if (!f) {
    fprintf(stderr, "fontgen: cannot write %s\n", path.c_str());
    return false;
  }
  int n = metrics.size;
  fprintf(f,
          "// Calibri_%d - built-in list font of nominal size %d: %d glyphs, %d pixels high.\n"
          "// Generated by tools/fontgen.cpp from Carlito (em %.1f px); do not edit, run\n"
          "// tools/regenerate-ui.sh.\n"
          "// clang-format off\n"
          "#include \"ui/Text.h\"\n\n"
          "const byte Calibri_%d_Bitmap[] = {\n",
          n, n, (int)glyphs.size(), metrics.height, metrics.em, n);
  for (const Glyph& g : glyphs) {
    fprintf(f, "  // %s\n", CharComment(g.code).c_str());
    for (int r = 0; r < metrics.height; ++r) {
      fprintf(f, "  ");
      for (int c = 0; c < g.width; ++c) fprintf(f, "%d,", g.pixels[(size_t)r * g.width + c]);
      fprintf(f, "\n");
    }
  }
  fprintf(f, "};\n\nconst FontDef Calibri_%d_FontData = {\n  Calibri_%d_Bitmap,\n  {\n", n, n);
  unsigned offset = 0;
  for (const Glyph& g : glyphs) {
    fprintf(f, "    {%d, %d, %u},  // %s\n", g.width, metrics.height, offset,
            CharComment(g.code).c_str());
    offset += (unsigned)(g.width * metrics.height);
  }
  fprintf(f, "  },\n};\n");
  fclose(f);
  printf("fontgen: %s (%u bytes of glyphs)\n", path.c_str(), offset);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontFile =
      argc > 1 ? argv[1] : "/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf";
  std::string outDir = argc > 2 ? argv[2] : "src/ui/fonts";
  FT_Library lib;
  FT_Face face;
  if (FT_Init_FreeType(&lib) != 0 || FT_New_Face(lib, fontFile.c_str(), 0, &face) != 0) {
    fprintf(stderr, "fontgen: cannot open %s\n", fontFile.c_str());
    return 1;
  }
  for (const FontSpec& metrics : kFonts) {
    FT_Set_Char_Size(face, 0, (FT_F26Dot6)std::lround(metrics.em * 64.0), 72, 72);
    std::vector<Glyph> glyphs;
    std::string error;
    for (int c = 0; c < 256; ++c) {
      if (!IsValid(c)) continue;
      Glyph g;
      if (!RenderGlyph(face, metrics, c, &g, &error)) {
        fprintf(stderr, "fontgen: size %d: %s\n", metrics.size, error.c_str());
        return 1;
      }
      glyphs.push_back(std::move(g));
    }
    int widest = 0;
    for (const Glyph& g : glyphs) widest = std::max(widest, g.width);
    if (glyphs.size() != 191 || widest != metrics.widest) {
      fprintf(stderr, "fontgen: size %d: %zu glyphs, widest %d (wanted 191, %d)\n", metrics.size,
              glyphs.size(), widest, metrics.widest);
      return 1;
    }
    if (!WriteFont(metrics, glyphs, outDir)) return 1;
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return 0;
}
