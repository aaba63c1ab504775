// The compiled-in font tables: layout and the metrics the screen layout
// depends on.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/Text.h"

namespace {

struct Metrics {
  int size;
  const FontDef* font;
  const byte* bitmap;
  dword height, widest, space, digit;
};

const Metrics kMetrics[] = {
    {10, &Calibri_10_FontData, Calibri_10_Bitmap, 15, 12, 3, 7},
    {12, &Calibri_12_FontData, Calibri_12_Bitmap, 19, 14, 4, 8},
    {14, &Calibri_14_FontData, Calibri_14_Bitmap, 23, 17, 4, 10},
    {16, &Calibri_16_FontData, Calibri_16_Bitmap, 26, 19, 5, 11},
    {18, &Calibri_18_FontData, Calibri_18_Bitmap, 29, 21, 5, 12},
};

bool HasInk(const FontDef* font, int index) {
  const GlyphDef& g = font->glyph[index];
  for (dword i = 0; i < g.width * g.height; ++i) {
    if (font->bitmap[g.offset + i] != 0) return true;
  }
  return false;
}

TEST(FontTables, LayoutIsContiguousAndComplete) {
  for (const Metrics& m : kMetrics) {
    SCOPED_TRACE(m.size);
    EXPECT_EQ(m.font->bitmap, m.bitmap);
    EXPECT_EQ(FontOfSize(m.size), m.font);
    dword offset = 0;
    for (int i = 0; i < FONT_GLYPH_COUNT; ++i) {
      EXPECT_EQ(m.font->glyph[i].offset, offset) << "glyph " << i;
      offset += m.font->glyph[i].width * m.font->glyph[i].height;
    }
  }
  EXPECT_EQ(FontOfSize(11), nullptr);
  EXPECT_EQ(FontOfSize(0), nullptr);
}

TEST(FontTables, MetricsHoldForEveryFont) {
  for (const Metrics& m : kMetrics) {
    SCOPED_TRACE(m.size);
    dword widest = 0;
    for (int i = 0; i < FONT_GLYPH_COUNT; ++i) {
      EXPECT_EQ(m.font->glyph[i].height, m.height) << "glyph " << i;
      EXPECT_GT(m.font->glyph[i].width, 0u) << "glyph " << i;
      widest = std::max(widest, m.font->glyph[i].width);
    }
    EXPECT_EQ(widest, m.widest);
    EXPECT_EQ(m.font->glyph[FM_CharToIndex(' ')].width, m.space);
    EXPECT_EQ(m.font->glyph[FM_CharToIndex(160)].width, m.space);
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(m.font->glyph[FM_CharToIndex(c)].width, m.digit);
    EXPECT_EQ(FM_GetStringWidth("0123456789", m.font), 10 * m.digit);
    EXPECT_EQ(FM_GetStringHeight("Ag", m.font), m.height);
  }
}

TEST(FontTables, PrintableGlyphsHaveInkAndSpacesHaveNone) {
  for (const Metrics& m : kMetrics) {
    SCOPED_TRACE(m.size);
    EXPECT_FALSE(HasInk(m.font, FM_CharToIndex(' ')));
    EXPECT_FALSE(HasInk(m.font, FM_CharToIndex(160)));
    for (int c = 33; c <= 126; ++c) EXPECT_TRUE(HasInk(m.font, FM_CharToIndex(c))) << c;
    for (int c = 161; c <= 255; ++c) EXPECT_TRUE(HasInk(m.font, FM_CharToIndex(c))) << c;
  }
}

TEST(FontTables, GlyphIndexCoversLatin1) {
  EXPECT_EQ(FM_CharToIndex(' '), 0);
  EXPECT_EQ(FM_CharToIndex('~'), 94);
  EXPECT_EQ(FM_CharToIndex(160), 95);
  EXPECT_EQ(FM_CharToIndex(255), 190);
  EXPECT_EQ(FM_CharToIndex(127), 0);
  EXPECT_EQ(FM_CharToIndex(31), 0);
  EXPECT_EQ(FM_CharToIndex(159), 0);
  EXPECT_TRUE(FM_isValidCharacter(32));
  EXPECT_TRUE(FM_isValidCharacter(126));
  EXPECT_TRUE(FM_isValidCharacter(160));
  EXPECT_TRUE(FM_isValidCharacter(255));
  EXPECT_FALSE(FM_isValidCharacter(0));
  EXPECT_FALSE(FM_isValidCharacter(31));
  EXPECT_FALSE(FM_isValidCharacter(127));
  EXPECT_FALSE(FM_isValidCharacter(159));
}

TEST(FontTables, MeasuringSkipsInvalidCharactersAndNullInputs) {
  const FontDef* font = &Calibri_16_FontData;
  EXPECT_EQ(FM_GetStringWidth("A\x01\x7f\x85"
                              "B",
                              font),
            FM_GetStringWidth("AB", font));
  EXPECT_EQ(FM_GetStringWidth(nullptr, font), 0u);
  EXPECT_EQ(FM_GetStringWidth("", font), 0u);
  EXPECT_EQ(FM_GetStringWidth("A", nullptr), 0u);
  EXPECT_EQ(FM_GetStringHeight("\x01\x02", font), 0u);
  FontDef noBitmap = Calibri_16_FontData;
  noBitmap.bitmap = nullptr;
  EXPECT_EQ(FM_GetStringWidth("A", &noBitmap), 0u);
  EXPECT_EQ(FM_GetStringHeight("A", &noBitmap), 0u);
}

}  // namespace
