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

void FM_InitAlphaLUT(dword fg, dword bg, float factor) {
  for (int m = 0; m < 255; ++m) {
    AlphaLUT[m][0] = FM_AlphaBlend((byte)m, (byte)(fg >> 16), (byte)(bg >> 16), factor);
    AlphaLUT[m][1] = FM_AlphaBlend((byte)m, (byte)(fg >> 8), (byte)(bg >> 8), factor);
    AlphaLUT[m][2] = FM_AlphaBlend((byte)m, (byte)fg, (byte)bg, factor);
  }
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

  const dword stride = w + 1;
  dword* box = (dword*)TAP_Osd_SaveBox(region, drawX, y, stride, h + 1);
  if (box == nullptr) return;

  const dword alpha = foreground & 0xFF000000u;
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
