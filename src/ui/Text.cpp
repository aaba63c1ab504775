// Text.cpp - the application's text output: conversion to single-byte text,
// measuring, printing into a field, word-wrapped printing and legend elements.
#include "ui/Text.h"

#include <string.h>

#include "app/app.h"
#include "lib/lib.h"

int WrapPutStr_StartPos = 0;
int LastWrapPutStr_Start = 0;
int LastWrapPutStr_P = 0;
int LastWrapPutStr_Y = 0;

namespace {

// Height of the background box PrintLeft/PrintCenter/PrintRight fill, per
// font: a little taller than the glyphs so that the box frames the text.
int BoxHeight(int size) {
  switch (size) {
    case 10:
      return 20;
    case 12:
      return 21;
    case 14:
      return 23;
    case 16:
      return 24;
    case 18:
      return 28;
  }
  return 0;
}

void Print(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
           dword background, int size, byte alignment) {
  const char* converted = UTFtoANSI(text);
  const FontDef* font = FontOfSize(size);
  if (font == nullptr) {
    // A size without a font is a fault of the caller; it is told, not hidden.
    LogEntryVexLibPrintf(true, "Pavrolinex: no font of size %d for \"%.40s\"", size,
                         text ? text : "");
    return;
  }
  if (converted == nullptr) return;
  if (background != 0 && maxX > x) {
    // The box starts one pixel above the glyph cell; at the top edge it is
    // clipped rather than wrapped round to a huge y.
    dword top = y > 0 ? y - 1 : 0;
    dword height = BoxHeight(size) - (y > 0 ? 0 : 1);
    TAP_Osd_FillBox(region, x, top, maxX - x, height, background);
  }
  FM_PutString(region, x, y, maxX, converted, foreground, background, font, 0, alignment);
}

// Length of the character at p: a valid UTF-8 sequence counts as one
// character, so that wrapping never splits it.
int CharLength(const char* p) {
  byte length = 1;
  isUTF8Char(p, &length);
  return length;
}

// The last character boundary at or before `end`, walking from `start` (a
// boundary) through the text.
int Boundary(const char* text, int start, int end) {
  int p = start;
  while (text[p] != '\0') {
    int next = p + CharLength(text + p);
    if (next > end) break;
    p = next;
  }
  return p;
}

}  // namespace

namespace {
char* buffer = nullptr;  // UTFtoANSI's conversions
dword capacity = 0;
}  // namespace

void ReleaseTextMemory() {
  if (buffer != nullptr) TAP_MemFree(buffer);
  buffer = nullptr;
  capacity = 0;
}

char* UTFtoANSI(const char* text) {
  if (text == nullptr) return nullptr;
  if (!isUTFToppy()) return (char*)text;
  dword needed = (dword)strlen(text) + 1;
  if (needed > capacity) {
    if (buffer != nullptr) TAP_MemFree(buffer);
    buffer = (char*)TAP_MemAlloc(needed);
    if (buffer == nullptr) {
      capacity = 0;
      return nullptr;
    }
    capacity = needed;
  }
  StrToISO(text, buffer);
  return buffer;
}

dword PrintWidth(const char* text, int size) {
  const FontDef* font = FontOfSize(size);
  if (font == nullptr) return 0;
  const char* converted = UTFtoANSI(text);
  if (converted == nullptr) return 0;
  return FM_GetStringWidth(converted, font);
}

void PrintLeft(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
               dword background, int size) {
  Print(region, x, y, maxX, text, foreground, background, size, 0);
}

void PrintCenter(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                 dword background, int size) {
  Print(region, x, y, maxX, text, foreground, background, size, 1);
}

void PrintRight(word region, dword x, dword y, dword maxX, const char* text, dword foreground,
                dword background, int size) {
  Print(region, x, y, maxX, text, foreground, background, size, 2);
}

int WrapPutStr(word region, const char* text, int x, int y, int width, dword foreground,
               dword background, int maxLines, int size, int extraLineSpacing) {
  int lineHeight = 19, averageWidth = 6;
  if (size == 16) lineHeight = 22, averageWidth = 8;
  if (size == 18) lineHeight = 26, averageWidth = 10;
  const int advance = lineHeight + extraLineSpacing;

  int pos = WrapPutStr_StartPos;
  WrapPutStr_StartPos = 0;
  int len = text != nullptr ? (int)strlen(text) : 0;
  if (len == 0) {
    LastWrapPutStr_P = pos;
    return 0;
  }
  if (maxLines <= 0) {
    LastWrapPutStr_Y += advance;
    return LastWrapPutStr_Y;
  }
  if (pos < 0) pos = 0;
  if (pos >= len) {
    // Nothing left to print from a start beyond the text.
    LastWrapPutStr_P = 0;
    LastWrapPutStr_Y = y;
    return y;
  }

  // The longest line kept: the widest field holds far fewer characters of
  // the narrowest glyphs.
  char line[256];
  int lineY = y, lastY = y;
  for (int lines = 0; lines < maxLines && pos < len; ++lines) {
    LastWrapPutStr_Start = pos;
    int n = width / averageWidth;
    if (n > len - pos) n = len - pos;
    if (n > 99) n = 99;
    if (n < 0) n = 0;
    n = Boundary(text, pos, pos + n) - pos;  // never end inside a character
    memcpy(line, text + pos, n);
    line[n] = '\0';

    // Shrink by a few characters at a time until the line fits.
    while (n > 0 && (int)PrintWidth(line, size) > width) {
      int drop = n < 5 ? 1 : 4;
      for (int i = 0; i < drop && n > 0; ++i) n = Boundary(text, pos, pos + n - 1) - pos;
      line[n] = '\0';
    }
    // Grow one character at a time while there is clearly room.
    while (pos + n < len && (int)PrintWidth(line, size) < width - averageWidth) {
      int step = CharLength(text + pos + n);
      if (n + step > (int)sizeof line - 1) break;
      memcpy(line + n, text + pos + n, step);
      n += step;
      line[n] = '\0';
    }
    // One glyph wider than the average can overshoot the field; the printer
    // would silently cut it, and it would never be seen.
    while (n > 1 && (int)PrintWidth(line, size) > width) {
      n = Boundary(text, pos, pos + n - 1) - pos;
      line[n] = '\0';
    }
    // The rest of the text is on this line: no break needed.
    bool last = pos + n >= len;
    if (!last) {
      int cut = n;
      for (int i = n - 1; i >= 0; --i) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '-') {
          cut = i + 1;
          break;
        }
      }
      n = cut;
      line[n] = '\0';
    }
    if (n == 0) {
      // A field narrower than one character: take one anyway, so that the
      // text advances.
      n = CharLength(text + pos);
      memcpy(line, text + pos, n);
      line[n] = '\0';
    }
    LastWrapPutStr_Y = lineY;
    lastY = lineY;
    PrintLeft(region, x, lineY, x + width, line, foreground, background, size);
    pos += n;
    LastWrapPutStr_P = pos;
    lineY += advance;
  }
  if (pos >= len) LastWrapPutStr_P = 0;
  LastWrapPutStr_Y = lastY + advance;
  return LastWrapPutStr_Y;
}

int drawLegendElement(int x, int y, int maxX, const TYPE_GrData* icon, int iconWidth,
                      const char* label) {
  if (maxX < x + iconWidth + 20) return maxX;
  TAP_Osd_PutGd(rgn, x, y, icon, 1);
  PrintLeft(rgn, x + iconWidth + 2, y - 1, maxX, label, 0xFFC0C0C0, 0, 12);
  return x + iconWidth + (int)PrintWidth(label, 12) + 7;
}
