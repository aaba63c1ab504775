// FontManager.cpp - the FM_ glyph renderer: measures and draws single-byte
// text in one of the built-in fonts, blending anti-aliased glyph edges over an
// opaque background colour or over what is already on the screen.
#include <string.h>

#include "ui/Text.h"

byte AlphaLUT[256][3];

namespace {

// The firmware does not report a region's size; every region the application
// draws text into spans the screen's width at most.
const dword kRegionWidth = OSD_WIDTH;

dword GlyphWidth(const FontDef* font, byte c) {
  return FM_isValidCharacter(c) ? font->glyph[FM_CharToIndex(c)].width : 0;
}

}  // namespace

byte FM_AlphaBlend(byte m, byte fg, byte bg, float factor) {
  if (m == 0) return bg;
  if (m == 255) return fg;
  dword mixed = ((255u - m) * bg + (dword)m * fg) >> 8;
  float scaled = (float)mixed * factor;
  if (scaled >= 255.0f) return 255;
  if (scaled <= 0.0f) return 0;
  return (byte)scaled;
}

dword FM_AlphaBlendRGB(byte m, dword fg, dword bg, float factor) {
  dword r = FM_AlphaBlend(m, (byte)(fg >> 16), (byte)(bg >> 16), factor);
  dword g = FM_AlphaBlend(m, (byte)(fg >> 8), (byte)(bg >> 8), factor);
  dword b = FM_AlphaBlend(m, (byte)fg, (byte)bg, factor);
  return r << 16 | g << 8 | b;
}

namespace {
// The last few tables AlphaLUT was filled with: a screen's texts come in a
// few pairs of colours, taken in turn.
const int kKeptTables = 8;
struct KeptTable {
  bool valid;
  dword foreground, background;
  float factor;
  byte lut[256][3];
};
KeptTable keptTables[kKeptTables];
int nextKept = 0;

// FM_AlphaBlendRGB at factor 1, where the scaling changes nothing: the mix
// never exceeds 254.
inline dword BlendRGB(byte m, dword fg, dword bg) {
  dword r = ((255u - m) * (bg >> 16 & 0xFF) + (dword)m * (fg >> 16 & 0xFF)) >> 8;
  dword g = ((255u - m) * (bg >> 8 & 0xFF) + (dword)m * (fg >> 8 & 0xFF)) >> 8;
  dword b = ((255u - m) * (bg & 0xFF) + (dword)m * (fg & 0xFF)) >> 8;
  return r << 16 | g << 8 | b;
}

// The box of one text is composed here and put on the screen in one go.
const dword kBoxPixels = OSD_WIDTH * 40;
dword boxPixels[kBoxPixels];

// Glyph work that repeats is kept in one pool: glyphs drawn over an opaque
// background as finished pixels (a list redraw prints the same few characters
// in the same few colours again and again), and for drawing over the screen
// each glyph's covered pixels alone. Entries are direct-mapped by glyph and
// colours; a full pool starts afresh.
const int kEntries = 2048;
const dword kPoolWords = 1u << 16;
struct CacheEntry {
  const GlyphDef* glyph;  // null: empty
  dword foreground, background;
  float factor;
  bool covered;  // the list of covered pixels rather than finished pixels
  dword at, length;
};
CacheEntry entries[kEntries];
dword pool[kPoolWords];
dword poolUsed = 0;

CacheEntry& EntryFor(const FontDef* font, const GlyphDef& g, dword foreground, dword background,
                     bool covered) {
  dword key = (dword)(&g - font->glyph) * 31u + foreground * 7u + background + (covered ? 1 : 0);
  key += (dword)(size_t)font >> 4;
  return entries[(key ^ key >> 9 ^ key >> 18) % kEntries];
}

bool Matches(const CacheEntry& e, const GlyphDef& g, dword foreground, dword background,
             float factor, bool covered) {
  return e.glyph == &g && e.covered == covered && e.foreground == foreground &&
         e.background == background && e.factor == factor;
}

// Room for `words` in the pool, emptying it when full; null when it can never fit.
dword* Reserve(dword words) {
  if (words > kPoolWords) return nullptr;
  if (poolUsed + words > kPoolWords) {
    for (CacheEntry& e : entries) e.glyph = nullptr;
    poolUsed = 0;
  }
  dword* at = pool + poolUsed;
  poolUsed += words;
  return at;
}

// The glyph's pixels over `background`; AlphaLUT holds the blends of the two
// colours. Null when the glyph cannot be kept.
const dword* OpaqueGlyph(const FontDef* font, const GlyphDef& g, dword foreground, dword background,
                         float factor) {
  CacheEntry& e = EntryFor(font, g, foreground, background, false);
  if (Matches(e, g, foreground, background, factor, false)) return pool + e.at;
  dword* pixels = Reserve(g.width * g.height);
  if (!pixels) return nullptr;
  const dword alpha = foreground & 0xFF000000u;
  const byte* coverage = font->bitmap + g.offset;
  for (dword i = 0; i < g.width * g.height; ++i) {
    byte m = coverage[i];
    pixels[i] = m == 0     ? background
                : m == 255 ? foreground
                           : alpha | (dword)AlphaLUT[m][0] << 16 | (dword)AlphaLUT[m][1] << 8 |
                                 AlphaLUT[m][2];
  }
  e = {&g, foreground, background, factor, false, (dword)(pixels - pool), g.width * g.height};
  return pixels;
}

// The glyph's covered pixels, each row << 24 | column << 16 | coverage, and
// their number; null when the glyph cannot be kept (or is too large to
// describe so).
const dword* CoveredPixels(const FontDef* font, const GlyphDef& g, dword* count) {
  CacheEntry& e = EntryFor(font, g, 0, 0, true);
  if (Matches(e, g, 0, 0, 0.0f, true)) {
    *count = e.length;
    return pool + e.at;
  }
  if (g.width > 255 || g.height > 255) return nullptr;
  const byte* coverage = font->bitmap + g.offset;
  dword n = 0;
  for (dword i = 0; i < g.width * g.height; ++i) n += coverage[i] != 0;
  dword* list = Reserve(n ? n : 1);
  if (!list) return nullptr;
  dword k = 0;
  for (dword r = 0; r < g.height; ++r)
    for (dword c = 0; c < g.width; ++c)
      if (byte m = coverage[r * g.width + c]) list[k++] = r << 24 | c << 16 | m;
  e = {&g, 0, 0, 0.0f, true, (dword)(list - pool), n};
  *count = n;
  return list;
}
}  // namespace

void FM_InitAlphaLUT(dword fg, dword bg, float factor) {
  for (const KeptTable& t : keptTables) {
    if (t.valid && t.foreground == fg && t.background == bg && t.factor == factor) {
      memcpy(AlphaLUT, t.lut, sizeof t.lut);
      return;
    }
  }
  KeptTable& kept = keptTables[nextKept];
  nextKept = (nextKept + 1) % kKeptTables;
  for (int m = 0; m < 255; ++m) {
    AlphaLUT[m][0] = FM_AlphaBlend((byte)m, (byte)(fg >> 16), (byte)(bg >> 16), factor);
    AlphaLUT[m][1] = FM_AlphaBlend((byte)m, (byte)(fg >> 8), (byte)(bg >> 8), factor);
    AlphaLUT[m][2] = FM_AlphaBlend((byte)m, (byte)fg, (byte)bg, factor);
  }
  kept.valid = true;
  kept.foreground = fg;
  kept.background = bg;
  kept.factor = factor;
  memcpy(kept.lut, AlphaLUT, sizeof kept.lut);
}

void FM_PutString(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                  dword background, const FontDef* font, byte truncation, byte alignment) {
  FM_PutStringAA(region, x, y, maxX, text, foreground, background, font, truncation, alignment,
                 1.0f);
}

void FM_PutStringAA(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                    dword background, const FontDef* font, byte truncation, byte alignment,
                    float factor) {
  if (text == nullptr || text[0] == '\0' || font == nullptr || font->bitmap == nullptr) return;
  if (x >= maxX) return;
  if (maxX >= kRegionWidth) maxX = kRegionWidth - 1;
  if (x >= maxX) return;

  char work[256];
  strncpy(work, text, sizeof work - 1);
  work[sizeof work - 1] = '\0';
  size_t length = strlen(work);

  dword endX = x + FM_GetStringWidth(work, font);
  if (truncation == 0) {
    while (endX > maxX && length > 0) {
      --length;
      endX -= GlyphWidth(font, (byte)work[length]);
      work[length] = '\0';
    }
    if (endX > maxX) return;
  }
  dword h = FM_GetStringHeight(work, font);
  dword w = endX - x;
  if (h == 0 || w == 0) return;

  dword drawX = x;
  if (alignment == 1) drawX = x + (maxX - endX) / 2;
  if (alignment == 2) drawX = maxX - w;

  bool opaque = (background >> 24) != 0;
  if (opaque) {
    TAP_Osd_FillBox(region, x, y, maxX - x, h + 1, background);
    FM_InitAlphaLUT(foreground, background, factor);
  }

  const dword alpha = foreground & 0xFF000000u;
  // The text is composed in a fixed buffer and put with one graphic: over an
  // opaque background every pixel of the box is known (the box was just
  // filled); over the screen the untouched pixels stay clear, so that the
  // graphic leaves them as they are, and only glyph edges read the screen.
  // A box that does not fit, a text that overruns its filled box, or a
  // translucent text colour take the general path below. Glyph edges over
  // the screen blend at factor 1 on either path.
  const dword boxW = w, boxH = h + 1;
  bool direct = boxW * boxH <= kBoxPixels && (opaque ? drawX + w <= maxX : alpha == 0xFF000000u);
  if (direct) {
    if (opaque) {
      for (dword i = 0; i < boxW; ++i) boxPixels[i] = background;
      for (dword r = 1; r < boxH; ++r) memcpy(boxPixels + r * boxW, boxPixels, boxW * 4);
    } else {
      memset(boxPixels, 0, boxW * boxH * 4);
    }
    byte lastM = 0;
    dword lastBelow = 0, lastResult = 0;
    bool haveLast = false;
    dword col = 0;
    for (const byte* p = (const byte*)work; *p; ++p) {
      if (!FM_isValidCharacter(*p)) continue;
      const GlyphDef& g = font->glyph[FM_CharToIndex(*p)];
      const byte* pixels = font->bitmap + g.offset;
      const dword* finished =
          opaque ? OpaqueGlyph(font, g, foreground, background, factor) : nullptr;
      if (finished) {
        for (dword r = 0; r < g.height && r <= h; ++r)
          memcpy(boxPixels + r * boxW + col, finished + r * g.width, g.width * 4);
        col += g.width;
        continue;
      }
      dword covered = 0;
      const dword* list = opaque ? nullptr : CoveredPixels(font, g, &covered);
      if (list) {
        for (dword k = 0; k < covered; ++k) {
          dword r = list[k] >> 24, c = list[k] >> 16 & 0xFF;
          byte m = (byte)list[k];
          if (r > h) continue;
          dword& out = boxPixels[r * boxW + col + c];
          if (m == 255) {
            out = foreground;
            continue;
          }
          dword below = TAP_Osd_GetPixel(region, drawX + col + c, y + r);
          if (!haveLast || m != lastM || below != lastBelow) {
            lastM = m;
            lastBelow = below;
            lastResult = alpha | BlendRGB(m, foreground, below);
            haveLast = true;
          }
          out = lastResult;
        }
        col += g.width;
        continue;
      }
      for (dword r = 0; r < g.height && r <= h; ++r) {
        dword* row = boxPixels + r * boxW + col;
        const byte* coverage = pixels + r * g.width;
        for (dword c = 0; c < g.width; ++c) {
          byte m = coverage[c];
          if (m == 0) continue;
          if (m == 255) {
            row[c] = foreground;
          } else if (opaque) {
            row[c] =
                alpha | (dword)AlphaLUT[m][0] << 16 | (dword)AlphaLUT[m][1] << 8 | AlphaLUT[m][2];
          } else {
            dword below = TAP_Osd_GetPixel(region, drawX + col + c, y + r);
            if (!haveLast || m != lastM || below != lastBelow) {
              lastM = m;
              lastBelow = below;
              lastResult = alpha | BlendRGB(m, foreground, below);
              haveLast = true;
            }
            row[c] = lastResult;
          }
        }
      }
      col += g.width;
    }
    TYPE_GrData box = {TAP_GRDATA_VERSION, (word)boxW, (word)boxH, boxPixels};
    // Opaque: every pixel as composed; over the screen: clear pixels keep
    // what lies below and opaque ones replace it.
    TAP_Osd_PutGd(region, (int)drawX, (int)y, &box, opaque ? 0 : 1);
    return;
  }

  const dword stride = w + 1;
  dword* box = (dword*)TAP_Osd_SaveBox(region, drawX, y, stride, h + 1);
  if (box == nullptr) return;

  // Glyph edges over the same screen pixel repeat along a run of one colour,
  // so the last blend is kept and reused.
  byte lastM = 0;
  dword lastBelow = 0, lastResult = 0;
  bool haveLast = false;
  dword col = 0;
  for (const byte* p = (const byte*)work; *p; ++p) {
    if (!FM_isValidCharacter(*p)) continue;
    const GlyphDef& g = font->glyph[FM_CharToIndex(*p)];
    const byte* pixels = font->bitmap + g.offset;
    for (dword r = 0; r < g.height && r <= h; ++r) {
      dword* row = box + r * stride + col;
      for (dword c = 0; c < g.width; ++c) {
        byte m = pixels[r * g.width + c];
        if (m == 0) continue;
        if (m == 255) {
          row[c] = foreground;
        } else if (opaque) {
          row[c] =
              alpha | (dword)AlphaLUT[m][0] << 16 | (dword)AlphaLUT[m][1] << 8 | AlphaLUT[m][2];
        } else {
          dword below = row[c];
          if (!haveLast || m != lastM || below != lastBelow) {
            lastM = m;
            lastBelow = below;
            lastResult = alpha | FM_AlphaBlendRGB(m, foreground, below, 1.0f);
            haveLast = true;
          }
          row[c] = lastResult;
        }
      }
    }
    col += g.width;
  }
  TAP_Osd_RestoreBox(region, drawX, y, stride, h + 1, box);
  TAP_MemFree(box);
}
