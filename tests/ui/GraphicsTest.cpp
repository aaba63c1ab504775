// The built-in graphics: their format and sizes, the button pictures of the
// key list, and a contact sheet of every graphic and font written as a PNG.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"
#include "app/keys.h"
#include "snapshot.h"
#include "testenv.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

bool StartsWith(const char* s, const char* prefix) {
  return strncmp(s, prefix, strlen(prefix)) == 0;
}
bool EndsWith(const char* s, const char* suffix) {
  size_t n = strlen(s), m = strlen(suffix);
  return n >= m && strcmp(s + n - m, suffix) == 0;
}
dword Alpha(const TYPE_GrData* g, int x, int y) { return g->argb[y * g->width + x] >> 24; }

TEST(Graphics, EveryGraphicIsWellFormed) {
  ASSERT_GT(builtinGraphicsCount, 70);
  for (int i = 0; i < builtinGraphicsCount; ++i) {
    const NamedGraphic& n = builtinGraphics[i];
    SCOPED_TRACE(n.name);
    const TYPE_GrData* g = n.gd;
    EXPECT_EQ(g->version, TAP_GRDATA_VERSION);
    ASSERT_NE(g->argb, nullptr);
    ASSERT_GT(g->width, 0);
    ASSERT_GT(g->height, 0);
    if (StartsWith(n.name, "_TMSHighlightCell")) {
      // Tiled side by side and drawn opaque: every pixel covers.
      EXPECT_EQ(g->width, 10);
      EXPECT_TRUE(EndsWith(n.name, "20_Gd") || EndsWith(n.name, "26_Gd") ||
                  EndsWith(n.name, "39_Gd"));
      EXPECT_EQ(g->height, atoi(n.name + strlen(n.name) - 5));
      for (int p = 0; p < g->width * g->height; ++p) EXPECT_EQ(g->argb[p] >> 24, 0xFFu);
      continue;
    }
    // Shapes with anti-aliased edges on a transparent ground.
    EXPECT_LT(Alpha(g, 0, 0), 64u);
    EXPECT_LT(Alpha(g, g->width - 1, g->height - 1), 64u);
    int opaque = 0, partial = 0;
    for (int p = 0; p < g->width * g->height; ++p) {
      dword a = g->argb[p] >> 24;
      if (a == 255)
        ++opaque;
      else if (a != 0)
        ++partial;
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(partial, 0);
    if (StartsWith(n.name, "_Button_")) {
      EXPECT_EQ(g->height, EndsWith(n.name, "_T_Gd") ? 16 : 20);
      EXPECT_LE(g->width, 39);  // fits the legend's 40-pixel slot
    }
  }
}

TEST(Graphics, HighlightCellsExistForEveryColourAndHeight) {
  const TYPE_GrData* cells[] = {
      &_TMSHighlightCellBlue20_Gd,     &_TMSHighlightCellBlue26_Gd,
      &_TMSHighlightCellBlue39_Gd,     &_TMSHighlightCellGreen20_Gd,
      &_TMSHighlightCellGreen26_Gd,    &_TMSHighlightCellGreen39_Gd,
      &_TMSHighlightCellOldGreen20_Gd, &_TMSHighlightCellOldGreen26_Gd,
      &_TMSHighlightCellOldGreen39_Gd, &_TMSHighlightCellYellow20_Gd,
      &_TMSHighlightCellYellow26_Gd,   &_TMSHighlightCellYellow39_Gd,
      &_TMSHighlightCellDarkBlue20_Gd, &_TMSHighlightCellDarkBlue26_Gd,
      &_TMSHighlightCellDarkBlue39_Gd, &_TMSHighlightCellOldRed39_Gd,
  };
  for (const TYPE_GrData* g : cells) EXPECT_EQ(g->width, 10);
}

TEST(Graphics, EveryKeyOfTheKeyListHasItsButtonPicture) {
  for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_NE(ButtonGraphic(i), nullptr) << i;
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x1001E)), &_Button_ok_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10026)), &_Button_blue_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10000)), &_Button_0_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10009)), &_Button_9_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10012)), &_Button_up_T_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10013)), &_Button_audio_T_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10041)), &_Button_jumpstart_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x1003B)), &_Button_step_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x1003E)), &_Button_white_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x10049)), &_Button_option_Gd);
  EXPECT_EQ(ButtonGraphic(GetButtonImage(0x1000A)), &_Button_blank_T_Gd);
  EXPECT_EQ(ButtonGraphic(-1), &_Button_blank_T_Gd);
  EXPECT_EQ(ButtonGraphic(BUTTON_COUNT), &_Button_blank_T_Gd);
}

// Draws every graphic (with its name) and every font into the display, writes
// build/contact-sheet/ui.png for looking at, and compares the frame with the
// reference, so that a change to a glyph, a graphic or the renderer is seen.
class ContactSheet : public RecorderTest {};

TEST_F(ContactSheet, WritesAllGraphicsAndFonts) {
  rgn = TAP_Osd_Create(0, 0, 720, 576, 0, 0);
  ASSERT_NE(rgn, NO_REGION);
  TAP_Osd_FillBox(rgn, 0, 0, 720, 576, 0xFF101010);
  TAP_Osd_FillBox(rgn, 0, 0, 720, 230, 0xFF1E1E1E);

  // Icons and buttons, each above its name.
  int x = 8, y = 6;
  for (int i = 0; i < builtinGraphicsCount; ++i) {
    const NamedGraphic& n = builtinGraphics[i];
    if (StartsWith(n.name, "_TMSHighlightCell")) continue;
    std::string label(n.name + 1, strlen(n.name) - 4);
    if (StartsWith(label.c_str(), "Button_")) label = label.substr(7);
    int cell = std::max((int)n.gd->width, (int)PrintWidth(label.c_str(), 10)) + 8;
    if (x + cell > 712) x = 8, y += 44;
    TAP_Osd_PutGd(rgn, x, y + 24 - n.gd->height, n.gd, 1);
    PrintLeft(rgn, x, y + 25, x + cell, label.c_str(), 0xFFC0C0C0, 0, 10);
    x += cell;
  }

  // Highlight bars, tiled from their cells as the list does.
  y += 52;
  const char* colours[] = {"Blue", "Green", "OldGreen", "Yellow", "DarkBlue", "OldRed"};
  int bx = 8;
  for (const char* colour : colours) {
    int by = y;
    for (int h : {20, 26, 39}) {
      std::string name = std::string("_TMSHighlightCell") + colour + std::to_string(h) + "_Gd";
      for (int i = 0; i < builtinGraphicsCount; ++i) {
        if (name != builtinGraphics[i].name) continue;
        for (int t = 0; t < 11; ++t) TAP_Osd_PutGd(rgn, bx + t * 10, by, builtinGraphics[i].gd, 0);
        PrintCenter(rgn, bx, by + (h - 19) / 2, bx + 110, colour, 0xFF101010, 0, 12);
      }
      by += h + 3;
    }
    bx += 118;
  }

  // The five fonts.
  y += 96;
  for (int size : {10, 12, 14, 16, 18}) {
    char line[160];
    snprintf(line, sizeof line,
             "%d: Recordings 0123456789 \xC4\xD6\xDC\xE4\xF6\xFC\xDF \xE9\xE8\xEA\xE7 (%s)", size,
             "Fox & Jumps @ 100%");
    PrintLeft(rgn, 8, y, 712, line, 0xFFFAFAFA, 0xFF101010, size);
    y += FontOfSize(size)->glyph[0].height + 2;
  }
  WrapPutStr(rgn,
             "Word-wrapped text in size 16 keeps whole words together on each line, breaking "
             "after spaces and hyphens, just as the bottom area of the list shows an "
             "event description.",
             8, y, 460, 0xFFC0C0C0, 0xFF101010, 3, 16, 3);
  TAP_Osd_Sync();

  std::string dir = std::string(PVR_BINARY_DIR) + "/contact-sheet";
  mkdir(dir.c_str(), 0755);
  EXPECT_TRUE(emu::WritePng(dir + "/ui.png"));
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("ui-contact-sheet", &message)) << message;
  TAP_Osd_Delete(rgn);
  rgn = NO_REGION;
}

// List rows drawn the way the list places its icons, in wide (42-pixel) and
// narrow (29-pixel) spacing, with a key legend: the graphics in context.
TEST_F(ContactSheet, WritesListRowsInContext) {
  rgn = TAP_Osd_Create(0, 0, 720, 576, 0, 0);
  ASSERT_NE(rgn, NO_REGION);
  TAP_Osd_FillBox(rgn, 0, 0, 720, 576, 0xFF101010);
  struct Row {
    const TYPE_GrData* icon;  // at the folder position (53, +8) or status position (56, +12)
    bool folder, star, selected;
    const TYPE_GrData* crypt;
    const char* name;
  };
  const Row rows[] = {
      {&_folder_yellow_parent_Gd, true, false, false, nullptr, ".."},
      {&_folder_yellow_Gd, true, true, false, nullptr, "Films"},
      {&_RedCircleRecord_Gd, false, false, true, nullptr, "News at Ten"},
      {&_GreenCirclePlay_Gd, false, false, false, &_crypt_icon_1_Gd, "Der Bergdoktor"},
      {&_BlueCircleTick_Gd, false, false, false, &_crypt_icon_2_Gd, "Tagesschau"},
      {nullptr, false, true, false, &_crypt_icon_3_Gd, "Neue Aufnahme"},
      {&_trash_bin_Gd, true, false, false, nullptr, "Deleted.rec"},
  };
  const TYPE_GrData* cells[2] = {&_TMSHighlightCellBlue39_Gd, &_TMSHighlightCellBlue26_Gd};
  int top = 20;
  for (int narrow = 0; narrow < 2; ++narrow) {
    int pitch = narrow ? 29 : 42, box = narrow ? 27 : 40, iconOffset = narrow ? -8 : 0;
    int count = narrow ? 5 : 7;  // leaves room for the legend
    for (int i = 0; i < count; ++i) {
      const Row& r = rows[i];
      int t = top + i * pitch;
      if (r.selected) {
        for (int x = 53; x < 671; x += 10)
          TAP_Osd_PutGd(rgn, std::min(x, 661), t, cells[narrow], 0);
      } else {
        TAP_Osd_FillBox(rgn, 53, t, 618, box, 0xFF1E1E1E);
      }
      if (r.icon)
        TAP_Osd_PutGd(rgn, r.folder ? 53 : 56, t + (r.folder ? 8 : 12) + iconOffset, r.icon, 1);
      if (r.star) TAP_Osd_PutGd(rgn, 57, t + 8 + iconOffset, &_newstar_Gd, 1);
      int limit = 400;
      if (r.crypt) {
        limit -= 18;
        TAP_Osd_PutGd(rgn, limit - 2, t + 3 + (narrow ? 0 : 8), r.crypt, 1);
      }
      dword colour = r.selected ? 0xFF101010 : 0xFFFAFAFA;
      int size = narrow ? 14 : 16, fontOffset = narrow ? 1 - 8 : 0;
      PrintLeft(rgn, 97, t + 8 + fontOffset, limit, r.name, colour, 0, size);
      PrintCenter(rgn, 405, t + 8 + fontOffset, 510, "Mon 7 Dec", colour, 0, size);
      PrintCenter(rgn, 515, t + 8 + fontOffset, 600, "1h 30m", colour, 0, size);
      PrintCenter(rgn, 605, t + 8 + fontOffset, 668, "1.5GB", colour, 0, size);
    }
    top += count * pitch + 16;
  }
  // The key legend of the bottom area.
  const struct {
    const TYPE_GrData* button;
    const char* text;
  } legend[] = {{&_Button_blue_Gd, "Delete File"},
                {&_Button_info_Gd, "Information"},
                {&_Button_audio_T_Gd, "Help"}};
  for (int i = 0; i < 3; ++i) {
    int y = top + 6 + 24 * i;
    const TYPE_GrData* b = legend[i].button;
    TAP_Osd_PutGd(rgn, b->width > 39 ? 521 : 521 + (40 - b->width) / 2, y, b, 1);
    PrintLeft(rgn, 561, y - 3, 671, legend[i].text, 0xFFC0C0C0, 0xFF101010, 16);
  }
  int x = 58;
  x = drawLegendElement(x, top + 10, 500, &_Button_ok_Gd, _Button_ok_Gd.width, "Play");
  x = drawLegendElement(x, top + 10, 500, &_Button_red_Gd, _Button_red_Gd.width, "Restore");
  x = drawLegendElement(x, top + 10, 500, &_Button_exit_Gd, _Button_exit_Gd.width, "Exit");
  TAP_Osd_PutGd(rgn, 300, top + 40, &_ArrowUp_Gd, 1);
  TAP_Osd_PutGd(rgn, 320, top + 40, &_ArrowDown_Gd, 1);
  TAP_Osd_Sync();

  std::string dir = std::string(PVR_BINARY_DIR) + "/contact-sheet";
  mkdir(dir.c_str(), 0755);
  EXPECT_TRUE(emu::WritePng(dir + "/rows.png"));
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("ui-list-rows", &message)) << message;
  TAP_Osd_Delete(rgn);
  rgn = NO_REGION;
}

}  // namespace
