// FontMeasure.cpp - the character set of the built-in fonts and the
// measuring of single-byte text in them.
#include "ui/Text.h"

namespace {

bool HasBitmap(const FontDef* font) { return font != nullptr && font->bitmap != nullptr; }

dword GlyphWidth(const FontDef* font, byte c) {
  return FM_isValidCharacter(c) ? font->glyph[FM_CharToIndex(c)].width : 0;
}

}  // namespace

const FontDef* FontOfSize(int size) {
  switch (size) {
    case 10:
      return &Calibri_10_FontData;
    case 12:
      return &Calibri_12_FontData;
    case 14:
      return &Calibri_14_FontData;
    case 16:
      return &Calibri_16_FontData;
    case 18:
      return &Calibri_18_FontData;
  }
  return nullptr;
}

bool FM_isValidCharacter(byte c) { return (c >= 32 && c <= 126) || c >= 160; }

int FM_CharToIndex(byte c) {
  if (c >= 32 && c <= 126) return c - 32;
  if (c >= 160) return c - 65;
  return 0;
}

dword FM_GetStringWidth(const char* text, const FontDef* font) {
  if (text == nullptr || !HasBitmap(font)) return 0;
  dword width = 0;
  for (const byte* p = (const byte*)text; *p; ++p) width += GlyphWidth(font, *p);
  return width;
}

dword FM_GetStringHeight(const char* text, const FontDef* font) {
  if (text == nullptr || !HasBitmap(font)) return 0;
  dword height = 0;
  for (const byte* p = (const byte*)text; *p; ++p) {
    if (!FM_isValidCharacter(*p)) continue;
    dword h = font->glyph[FM_CharToIndex(*p)].height;
    if (h > height) height = h;
  }
  return height;
}
