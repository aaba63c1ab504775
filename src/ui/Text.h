// Text.h - the built-in fonts and every way the application puts text on the
// screen: the FM_ glyph renderer and the Print / WrapPutStr family above it.
//
// All text is single-byte ISO 8859-1. Sizes are the nominal font sizes 10,
// 12, 14, 16 and 18; any other size draws nothing and measures 0. Nothing here
// syncs the screen.
#pragma once

#include "tap.h"

// --------------------------------------------------------------- font tables
// One glyph of a font: `height` rows of `width` coverage bytes (0 transparent,
// 255 full foreground) starting `offset` bytes into the font's bitmap table.
struct GlyphDef {
  dword width;
  dword height;
  dword offset;
};

enum { FONT_GLYPH_COUNT = 191 };

// A font: its bitmap table and the 191 glyphs of the characters 32-126 and
// 160-255, in that order.
struct FontDef {
  const byte* bitmap;
  GlyphDef glyph[FONT_GLYPH_COUNT];
};

extern const byte Calibri_10_Bitmap[];
extern const byte Calibri_12_Bitmap[];
extern const byte Calibri_14_Bitmap[];
extern const byte Calibri_16_Bitmap[];
extern const byte Calibri_18_Bitmap[];
extern const FontDef Calibri_10_FontData;
extern const FontDef Calibri_12_FontData;
extern const FontDef Calibri_14_FontData;
extern const FontDef Calibri_16_FontData;
extern const FontDef Calibri_18_FontData;

// The font of a nominal size, or null for any other size.
const FontDef* FontOfSize(int size);

// ------------------------------------------------------- the glyph renderer
// True for the characters that have a glyph: 32-126 and 160-255.
bool FM_isValidCharacter(byte c);
// Glyph index of a character; an invalid character gives 0 (the space).
int FM_CharToIndex(byte c);
// Sum of the glyph widths of the valid characters; 0 for a null or empty text
// or a null font.
dword FM_GetStringWidth(const char* text, const FontDef* font);
// Height of the tallest glyph among the valid characters; 0 as above.
dword FM_GetStringHeight(const char* text, const FontDef* font);

// Draws `text` on the line whose top is `y`, in the field x .. maxX.
// truncation 0 cuts characters off the end until the text fits; alignment 0
// left, 1 centre, 2 right. A background with alpha 0 means "over what is
// already there".
void FM_PutString(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                  dword background, const FontDef* font, byte truncation, byte alignment);
// As FM_PutString, with the blended colours scaled by `factor`.
void FM_PutStringAA(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                    dword background, const FontDef* font, byte truncation, byte alignment,
                    float factor);

// One 8-bit channel of fg over bg at coverage `m`, scaled by `factor`.
byte FM_AlphaBlend(byte m, byte fg, byte bg, float factor);
// The three colour channels of fg over bg at coverage `m`, as 0x00RRGGBB.
dword FM_AlphaBlendRGB(byte m, dword fg, dword bg, float factor);
// Fills AlphaLUT for coverage 0 to 254 of `fg` over `bg`.
void FM_InitAlphaLUT(dword fg, dword bg, float factor);

// Red, green and blue of the foreground/background pair of the last opaque
// draw, for every coverage value below 255.
extern byte AlphaLUT[256][3];

// ------------------------------------------------- the application's texts
// The text in single-byte form: the text itself on a firmware that does not
// work in UTF-8, else its ISO 8859-1 conversion in a buffer shared by all
// calls (valid until the next call). Null when that buffer cannot be had.
char* UTFtoANSI(const char* text);
// Gives the conversion buffer back (termination); later calls take a new one.
void ReleaseTextMemory();

// Pixel width of the converted text in the font of `size`.
dword PrintWidth(const char* text, int size);

// Print the converted text in the field x .. maxX, left-aligned, centred or
// right-aligned, cut at the end when it does not fit. A background other than
// 0 first fills the field's box (from y - 1, the size's box height).
void PrintLeft(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
               dword background, int size);
void PrintCenter(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                 dword background, int size);
void PrintRight(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                dword background, int size);

// Word-wrapped printing of up to maxLines lines of `width` pixels from (x, y).
// Starts at WrapPutStr_StartPos (reset to 0 afterwards); returns the y just
// below the printed block, which is also left in LastWrapPutStr_Y.
int WrapPutStr(word region, const char* text, int x, int y, int width, dword foreground,
               dword background, int maxLines, int size, int extraLineSpacing);

extern int WrapPutStr_StartPos;   // where the next WrapPutStr call starts in its text
extern int LastWrapPutStr_Start;  // where the last printed line started
extern int LastWrapPutStr_P;      // just after the last printed line; 0 when all printed
extern int LastWrapPutStr_Y;      // y below the printed block

// A legend element in the display region `rgn`: the graphic `icon` at (x, y)
// and, after it, `label` in size 12. Returns the x for the next element, or
// maxX when this one does not fit (so later elements are skipped as well).
int drawLegendElement(int x, int y, int maxX, const TYPE_GrData* icon, int iconWidth,
                      const char* label);

// The graphic of a button image (ButtonImage of app/keys.h, as GetButtonImage
// gives it); an unknown value gives the blank small button.
const TYPE_GrData* ButtonGraphic(int image);

// A broadcast text (DVB character tables, emphasis and line-break codes) as
// the printing functions take it: ISO 8859-1, each line-break code a space,
// emphasis codes left out; cut to `size` - 1 bytes.
void ConvertBroadcastText(const char* text, char* out, int size);
