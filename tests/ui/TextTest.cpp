// Text output on the emulated recorder's display: the FM_ renderer, blending,
// the Print family, word wrapping and legend elements.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "lib/lib.h"
#include "testenv.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

const dword kBack = 0xFF101010;
const dword kWhite = 0xFFFAFAFA;

class TextTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    rgn = TAP_Osd_Create(0, 0, 720, 576, 0, 0);
    ASSERT_NE(rgn, NO_REGION);
    TAP_Osd_FillBox(rgn, 0, 0, 720, 576, kBack);
  }
  void TearDown() override {
    TAP_Osd_Delete(rgn);
    rgn = NO_REGION;
    RecorderTest::TearDown();
  }

  // The pixels of a rectangle of the region, row after row.
  std::vector<dword> Grab(dword x, dword y, dword w, dword h) {
    std::vector<dword> out;
    for (dword j = 0; j < h; ++j)
      for (dword i = 0; i < w; ++i) out.push_back(TAP_Osd_GetPixel(rgn, x + i, y + j));
    return out;
  }
  // True when any pixel of the rectangle differs from `colour`.
  bool Inked(dword x, dword y, dword w, dword h, dword colour = kBack) {
    for (dword v : Grab(x, y, w, h))
      if (v != colour) return true;
    return false;
  }
  void Clear() { TAP_Osd_FillBox(rgn, 0, 0, 720, 576, kBack); }
};

TEST(Blend, ChannelsAndLookupTable) {
  EXPECT_EQ(FM_AlphaBlend(0, 200, 10, 1.0f), 10);
  EXPECT_EQ(FM_AlphaBlend(255, 200, 10, 1.0f), 200);
  EXPECT_EQ(FM_AlphaBlend(128, 255, 0, 1.0f), (128 * 255) >> 8);
  EXPECT_EQ(FM_AlphaBlend(128, 255, 255, 2.0f), 255);  // clamped
  EXPECT_EQ(FM_AlphaBlend(128, 200, 100, 0.5f), (byte)(((127 * 100 + 128 * 200) >> 8) * 0.5f));
  EXPECT_EQ(FM_AlphaBlendRGB(0, 0xFFFFFFFF, 0xFF123456, 1.0f), 0x123456u);
  EXPECT_EQ(FM_AlphaBlendRGB(255, 0xFFABCDEF, 0xFF123456, 1.0f), 0xABCDEFu);
  FM_InitAlphaLUT(0xFFFF0000, 0xFF0000FF, 1.0f);
  EXPECT_EQ(AlphaLUT[0][0], 0);
  EXPECT_EQ(AlphaLUT[0][2], 255);
  EXPECT_EQ(AlphaLUT[100][0], (100 * 255) >> 8);
  EXPECT_EQ(AlphaLUT[100][2], (155 * 255) >> 8);
  EXPECT_EQ(AlphaLUT[254][1], 0);
}

TEST_F(TextTest, TextAsWideAsTheFieldIsDrawnInFullOneMoreLosesTheLastCharacter) {
  const FontDef* font = FontOfSize(16);
  dword w = FM_GetStringWidth("AB", font);
  dword wA = FM_GetStringWidth("A", font);
  FM_PutString(rgn, 100, 100, 100 + w, "AB", kWhite, 0, font, 0, 0);
  EXPECT_TRUE(Inked(100 + wA, 100, w - wA, 26));
  std::vector<dword> full = Grab(100, 100, w, 26);

  Clear();
  FM_PutString(rgn, 100, 100, 100 + w - 1, "AB", kWhite, 0, font, 0, 0);
  EXPECT_TRUE(Inked(100, 100, wA, 26));
  EXPECT_FALSE(Inked(100 + wA, 100, w - wA + 2, 27));  // "B" is gone, no ellipsis
  EXPECT_NE(Grab(100, 100, w, 26), full);
}

TEST_F(TextTest, AlignmentPlacesTheTextAndRightAlignedCutTextIsFlush) {
  const FontDef* font = FontOfSize(14);
  dword w = FM_GetStringWidth("Hello", font);
  FM_PutString(rgn, 100, 50, 300, "Hello", kWhite, 0, font, 0, 0);
  std::vector<dword> left = Grab(100, 50, w, 23);
  Clear();
  FM_PutString(rgn, 100, 50, 300, "Hello", kWhite, 0, font, 0, 2);
  EXPECT_EQ(Grab(300 - w, 50, w, 23), left);
  EXPECT_FALSE(Inked(100, 50, 200 - w, 23));
  Clear();
  FM_PutString(rgn, 100, 50, 300, "Hello", kWhite, 0, font, 0, 1);
  EXPECT_EQ(Grab(100 + (200 - w) / 2, 50, w, 23), left);

  // Cut to "Hell", then drawn so that it ends at maxX.
  dword w4 = FM_GetStringWidth("Hell", font);
  Clear();
  FM_PutString(rgn, 100, 50, 100 + w - 1, "Hello", kWhite, 0, font, 0, 2);
  std::vector<dword> cut = Grab(100, 50, w, 23);
  Clear();
  FM_PutString(rgn, 100 + w - 1 - w4, 50, 100 + w - 1, "Hell", kWhite, 0, font, 0, 0);
  EXPECT_EQ(Grab(100, 50, w, 23), cut);
}

TEST_F(TextTest, InvalidCharactersTakeNoRoomAndOnly255CharactersCount) {
  const FontDef* font = FontOfSize(16);
  FM_PutString(rgn, 10, 10, 400,
               "A\x01\x7f\x90"
               "B",
               kWhite, 0, font, 0, 0);
  std::vector<dword> withInvalid = Grab(10, 10, 60, 26);
  Clear();
  FM_PutString(rgn, 10, 10, 400, "AB", kWhite, 0, font, 0, 0);
  EXPECT_EQ(Grab(10, 10, 60, 26), withInvalid);

  std::string longText(254, '\x01');
  Clear();
  FM_PutString(rgn, 10, 10, 400, (longText + "A").c_str(), kWhite, 0, font, 0, 0);
  EXPECT_TRUE(Inked(10, 10, 20, 26));
  Clear();
  FM_PutString(rgn, 10, 10, 400,
               (longText + "\x01"
                           "A")
                   .c_str(),
               kWhite, 0, font, 0, 0);
  EXPECT_FALSE(Inked(10, 10, 20, 26));

  // Latin-1 letters have glyphs of their own.
  Clear();
  FM_PutString(rgn, 10, 10, 400, "\xDC", kWhite, 0, font, 0, 0);
  EXPECT_TRUE(Inked(10, 10, 20, 26));
}

TEST_F(TextTest, OpaqueBackgroundFillsTheFieldAndBlendsEdgesWithIt) {
  const FontDef* font = FontOfSize(18);
  const dword bg = 0xFF204080, fg = 0xFFFFFF00;
  FM_PutString(rgn, 50, 50, 250, "Wo", fg, bg, font, 0, 1);
  dword h = FM_GetStringHeight("Wo", font);
  bool sawFull = false, sawBlend = false;
  for (dword v : Grab(50, 50, 200, h + 1)) {
    if (v == fg)
      sawFull = true;
    else if (v != bg) {
      sawBlend = true;
      EXPECT_EQ(v >> 24, 0xFFu);
      // Every edge pixel lies between the two colours.
      EXPECT_GE((v >> 16) & 255, 0x20u);
      EXPECT_LE(v & 255, 0x80u);
    }
  }
  EXPECT_TRUE(sawFull);
  EXPECT_TRUE(sawBlend);
  EXPECT_FALSE(Inked(40, 50, 10, h + 1));       // nothing left of x
  EXPECT_FALSE(Inked(50, 50 + h + 1, 200, 1));  // box is h + 1 high
}

// Also in a translucent text colour, which takes the renderer's other path.
TEST_F(TextTest, TransparentBackgroundBlendsOverWhatIsThere) {
  const FontDef* font = FontOfSize(16);
  for (dword fg : {0xFF00FF00u, 0x8000FF00u}) {
    TAP_Osd_FillBox(rgn, 0, 0, 360, 100, 0xFFFF0000);
    TAP_Osd_FillBox(rgn, 360, 0, 360, 100, 0xFF0000FF);
    FM_PutString(rgn, 300, 20, 500, "OOOOOOOOOO", fg, 0, font, 0, 0);
    int full = 0;
    for (dword v : Grab(300, 20, 60, 26)) {
      if (v == fg) full++;
      if (v == 0xFFFF0000 || v == fg) continue;
      EXPECT_EQ(v & 0xFF, 0u);  // mixed with red only
    }
    for (dword v : Grab(360, 20, 60, 26)) {
      if (v == fg) full++;
      if (v == 0xFF0000FF || v == fg) continue;
      EXPECT_EQ((v >> 16) & 0xFF, 0u);  // mixed with blue only
    }
    EXPECT_GT(full, 20) << std::hex << fg;
  }
}

TEST_F(TextTest, NothingIsDrawnForBadInput) {
  const FontDef* font = FontOfSize(16);
  FM_PutString(rgn, 100, 100, 100, "A", kWhite, 0xFF0000FF, font, 0, 0);  // x = maxX
  FM_PutString(rgn, 100, 100, 50, "A", kWhite, 0xFF0000FF, font, 0, 0);
  FM_PutString(rgn, 100, 100, 300, nullptr, kWhite, 0xFF0000FF, font, 0, 0);
  FM_PutString(rgn, 100, 100, 300, "", kWhite, 0xFF0000FF, font, 0, 0);
  FM_PutString(rgn, 100, 100, 300, "A", kWhite, 0xFF0000FF, nullptr, 0, 0);
  EXPECT_FALSE(Inked(0, 0, 720, 300));
  PrintLeft(rgn, 100, 100, 300, "Size", kWhite, 0xFF0000FF, 11);
  EXPECT_EQ(PrintWidth("Size", 11), 0u);
  EXPECT_NE(emu::NetOutput().find("no font of size 11 for \"Size\""), std::string::npos);
  EXPECT_FALSE(Inked(0, 0, 720, 300));
  // A field reaching past the region's edge is cut at the edge.
  PrintRight(rgn, 600, 100, 5000, "Edge", kWhite, 0, 16);
  EXPECT_TRUE(Inked(715, 100, 4, 26));
}

TEST_F(TextTest, PrintFamilyFillsTheBoxAndMeasuresConvertedText) {
  PrintLeft(rgn, 100, 100, 300, "Text", kWhite, 0xFF0000FF, 16);
  // The field's box starts at y - 1; the glyph cell (26 high) gets its own
  // box below it, so the background covers y - 1 to y + 26.
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 100, 99), 0xFF0000FFu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 299, 126), 0xFF0000FFu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 100, 127), kBack);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 100, 98), kBack);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 300, 110), kBack);
  // Size 10 glyphs are shorter than its box: the box alone decides.
  PrintLeft(rgn, 400, 300, 500, "Small", kWhite, 0xFF00FF00, 10);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 400, 299), 0xFF00FF00u);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 499, 318), 0xFF00FF00u);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 400, 319), kBack);
  EXPECT_EQ(PrintWidth("0123", 12), 4 * 8u);
  EXPECT_EQ(PrintWidth("0123", 18), 4 * 12u);

  // With a UTF-8 firmware "Ü" in UTF-8 is the one glyph 220.
  EXPECT_EQ(PrintWidth("\xC3\x9C", 16), PrintWidth("\xDC", 16));
  EXPECT_EQ(PrintWidth("\xC3\x9C", 16), Calibri_16_FontData.glyph[FM_CharToIndex(220)].width);
  // A character beyond Latin-1 is dropped.
  EXPECT_EQ(PrintWidth("\xE2\x82\xAC"
                       "5",
                       16),
            PrintWidth("5", 16));
  const char* same = "plain";
  EXPECT_STREQ(UTFtoANSI(same), "plain");
  EXPECT_EQ(UTFtoANSI(nullptr), nullptr);
  // A long text grows the shared buffer.
  std::string longText(5000, 'x');
  EXPECT_EQ(strlen(UTFtoANSI(longText.c_str())), 5000u);
  // Releasing gives the buffer back; the next conversion takes a new one.
  size_t blocks = emu::AllocatedBlocks();
  ReleaseTextMemory();
  EXPECT_EQ(emu::AllocatedBlocks(), blocks - 1);
  EXPECT_STREQ(UTFtoANSI("\xC3\x9C"), "\xDC");
}

class LatinFirmwareTest : public TextTest {
  void Configure(emu::Config& config) override { config.utf8Firmware = false; }
};

TEST_F(LatinFirmwareTest, TextIsUsedAsItIs) {
  // The firmware's text mode is looked up once per process; run alone (as the
  // test runner does) this test sees the Latin-1 firmware.
  if (isUTFToppy()) GTEST_SKIP() << "text mode already cached as UTF-8 in this process";
  const char* text = "\xC3\x9C";
  EXPECT_EQ(UTFtoANSI(text), text);
  // Both bytes are taken as Latin-1: "\xC3" is a letter, "\x9C" has no glyph.
  EXPECT_EQ(PrintWidth(text, 16), Calibri_16_FontData.glyph[FM_CharToIndex(0xC3)].width);
  EXPECT_NE(PrintWidth(text, 16), Calibri_16_FontData.glyph[FM_CharToIndex(0xDC)].width);
}

TEST_F(TextTest, WrapPrintsOneLineForAShortText) {
  LastWrapPutStr_P = 77;
  int y = WrapPutStr(rgn, "Short text", 58, 100, 460, kWhite, kBack, 2, 16, 3);
  EXPECT_EQ(y, 100 + 22 + 3);
  EXPECT_EQ(LastWrapPutStr_Y, y);
  EXPECT_EQ(LastWrapPutStr_P, 0);
  EXPECT_EQ(LastWrapPutStr_Start, 0);
  EXPECT_TRUE(Inked(58, 100, 460, 22));
  EXPECT_FALSE(Inked(58, 125, 460, 30));
}

TEST_F(TextTest, WrapBreaksAfterSpacesAndRemembersWhereItStopped) {
  const char* text =
      "The quick brown fox jumps over the lazy dog and then runs all the way back home "
      "again because it forgot its keys, which is a long story for another day entirely.";
  int y = WrapPutStr(rgn, text, 58, 100, 200, kWhite, 0, 2, 14, 0);
  EXPECT_EQ(y, 100 + 2 * 19);
  int p = LastWrapPutStr_P;
  ASSERT_GT(p, 0);
  ASSERT_LT(p, (int)strlen(text));
  EXPECT_EQ(text[p - 1], ' ');  // the space stays on the line before
  EXPECT_GT(LastWrapPutStr_Start, 0);
  EXPECT_EQ(text[LastWrapPutStr_Start - 1], ' ');
  EXPECT_EQ(WrapPutStr_StartPos, 0);
  // Every printed line fits its field.
  std::string second(text + LastWrapPutStr_Start, text + p);
  EXPECT_LE(PrintWidth(second.c_str(), 14), 200u);
  EXPECT_FALSE(Inked(259, 90, 100, 60));

  // The next page starts where this one ended and finishes the text.
  Clear();
  WrapPutStr_StartPos = p;
  y = WrapPutStr(rgn, text, 58, 100, 200, kWhite, 0, 20, 14, 0);
  EXPECT_EQ(LastWrapPutStr_P, 0);
  EXPECT_GT(y, 100 + 2 * 19);
  EXPECT_EQ(WrapPutStr_StartPos, 0);
}

TEST_F(TextTest, WrapEdgeCases) {
  // Empty text: nothing printed, 0 returned, the start position kept in P.
  WrapPutStr_StartPos = 5;
  EXPECT_EQ(WrapPutStr(rgn, "", 58, 100, 200, kWhite, 0, 2, 16, 0), 0);
  EXPECT_EQ(LastWrapPutStr_P, 5);
  // No lines allowed: only the y moves on by one line.
  LastWrapPutStr_Y = 300;
  EXPECT_EQ(WrapPutStr(rgn, "Some text", 58, 100, 200, kWhite, 0, 0, 18, 4), 330);
  EXPECT_EQ(LastWrapPutStr_Y, 330);
  EXPECT_FALSE(Inked(0, 0, 720, 576));
  // A word longer than the line is broken where it stops fitting.
  const char* word = "Supercalifragilisticexpialidocious";
  WrapPutStr(rgn, word, 10, 10, 60, kWhite, 0, 1, 16, 0);
  EXPECT_GT(LastWrapPutStr_P, 0);
  std::string first(word, word + LastWrapPutStr_P);
  EXPECT_LE(PrintWidth(first.c_str(), 16), 60u);
  // A field narrower than any character (or a width below zero) still
  // advances through the text, a character a line.
  for (int width : {2, -8}) {
    EXPECT_EQ(WrapPutStr(rgn, "abc", 10, 10, width, kWhite, 0, 5, 16, 0), 10 + 3 * 22);
    EXPECT_EQ(LastWrapPutStr_P, 0);
  }
  // A text exactly as wide as the field is one line (a narrow last
  // character would not be taken back once dropped).
  const char* exact = "Exactly this wide.";
  EXPECT_EQ(WrapPutStr(rgn, exact, 10, 10, (int)PrintWidth(exact, 14), kWhite, 0, 5, 14, 0),
            10 + 19);
  // A UTF-8 character is never split between two lines.
  std::string umlauts;
  for (int i = 0; i < 40; ++i) umlauts += "\xC3\x9C";
  WrapPutStr(rgn, umlauts.c_str(), 10, 10, 100, kWhite, 0, 1, 16, 0);
  EXPECT_EQ(LastWrapPutStr_P % 2, 0);
}

TEST_F(TextTest, PagingLineByLineCoversTheTextAndEveryLineFits) {
  std::string umlauts;
  for (int i = 0; i < 30; ++i)
    umlauts +=
        "Gr\xC3\xBC\xC3\x9F"
        " ";
  const std::string texts[] = {
      "The quick brown fox jumps over the lazy dog. WWW MMM @@@ www mmm, and a well-known "
      "hyphenated-word-chain-that-goes-on-and-on before the end.",
      "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
      "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii iiiiiiiiiiiiiiiiiiiiiii W",
      umlauts,
      "WWWWWWWW WWWWWWWW -WWWWWWWW WWWWWWWWWWWW -WWWWWWWWWWWW",
  };
  for (const std::string& text : texts) {
    for (int size : {10, 12, 14, 16, 18}) {
      for (int width : {40, 97, 200, 460}) {
        SCOPED_TRACE(text.substr(0, 12) + " size " + std::to_string(size) + " width " +
                     std::to_string(width));
        int pos = 0, lines = 0;
        do {
          WrapPutStr_StartPos = pos;
          WrapPutStr(rgn, text.c_str(), 10, 10, width, kWhite, 0, 1, size, 0);
          ASSERT_EQ(LastWrapPutStr_Start, pos);
          int end = LastWrapPutStr_P == 0 ? (int)text.size() : LastWrapPutStr_P;
          ASSERT_GT(end, pos);
          std::string line = text.substr(pos, end - pos);
          // A single character wider than the field is the one exception.
          bool oneCharacter = line.size() == 1 || (line.size() == 2 && (byte)line[0] >= 0xC0);
          if (!oneCharacter) {
            EXPECT_LE(PrintWidth(line.c_str(), size), (dword)width) << line;
          }
          // A line broken off ends after its last blank or hyphen, even when
          // that is its first character.
          if (LastWrapPutStr_P != 0 && line.find_first_of(" -") != std::string::npos) {
            EXPECT_EQ(line.find_last_of(" -"), line.size() - 1) << line;
          }
          pos = end;
          ASSERT_LT(++lines, 500);
        } while (LastWrapPutStr_P != 0);
        EXPECT_EQ(pos, (int)text.size());
      }
    }
  }
}

TEST_F(TextTest, LegendElementsFlowAndStopAtTheEdge) {
  const TYPE_GrData* icon = &_Button_red_Gd;
  int iw = icon->width;
  int next = drawLegendElement(100, 200, 700, icon, iw, "Restore");
  EXPECT_EQ(next, 100 + iw + (int)PrintWidth("Restore", 12) + 7);
  EXPECT_TRUE(Inked(100, 200, iw, icon->height));
  EXPECT_TRUE(Inked(100 + iw + 2, 199, PrintWidth("Restore", 12), 19));

  // The label would start less than 18 pixels before maxX: nothing drawn.
  Clear();
  int maxX = 300 + iw + 19;
  EXPECT_EQ(drawLegendElement(300, 200, maxX, icon, iw, "Label"), maxX);
  EXPECT_FALSE(Inked(0, 0, 720, 576));
  maxX = 300 + iw + 20;
  EXPECT_NE(drawLegendElement(300, 200, maxX, icon, iw, "Label"), maxX);
  EXPECT_TRUE(Inked(300, 200, iw, icon->height));
}

}  // namespace

namespace {

// Header texts without a character-table selector are the broadcast's
// default table, ISO 6937, whatever their bytes look like: the same bytes
// are never guessed to be ISO 8859-1. "Fußball" sent in ISO 6937 shows
// whole; the same word written in ISO 8859-1 (0xDF, in ISO 6937 the fraction
// seven eighths, which the output cannot show) loses its sharp s. With a
// selector the text is read in the table it names.
TEST_F(TextTest, HeaderTextWithoutASelectorIsReadAsIso6937) {
  char out[64];
  ConvertBroadcastText(
      "Fu\xFB"
      "ball",
      out, sizeof out);
  EXPECT_STREQ(out,
               "Fu\xDF"
               "ball");
  ConvertBroadcastText(
      "Fu\xDF"
      "ball",
      out, sizeof out);
  EXPECT_STREQ(out, "Fuball");
  ConvertBroadcastText("M\xC8uller", out, sizeof out);  // diaeresis, then the letter
  EXPECT_STREQ(out, "M\xFCller");
  ConvertBroadcastText(
      "\x05"
      "Fu\xDF"
      "ball",
      out, sizeof out);  // ISO 8859-9
  EXPECT_STREQ(out,
               "Fu\xDF"
               "ball");
  // Emphasis marks go; line breaks and tabs become blanks; other characters
  // of the same UTF-8 lead byte stay.
  ConvertBroadcastText(
      "\x86Tor\x87\x8A"
      "1:0\t20\xB0",
      out, sizeof out);
  EXPECT_STREQ(out, "Tor 1:0 20\xB0");
}

}  // namespace
