// The list's geometry, column widths and fonts, where the selection sits,
// progress bars, the highlight bar, the disk-usage bar and the window's
// lifecycle over a disk of recordings.
#include <string.h>

#include "ListFixture.h"
#include "app/keys.h"
#include "catalogue/History.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

class LayoutTest : public ListTest {
 protected:
  dword Pixel(int x, int y) { return emu::Frame()[y * OSD_WIDTH + x]; }
  // Draws into a fresh region without the list.
  void BlankRegion() {
    rgn = TAP_Osd_Create(0, 0, OSD_WIDTH, OSD_HEIGHT, 0, 0);
    ASSERT_NE(rgn, NO_REGION);
    TAP_Osd_FillBox(rgn, 0, 0, OSD_WIDTH, OSD_HEIGHT, 0xFF101010);
  }
  // Rightmost column in the box whose pixels differ from the background.
  int RightmostInk(int x1, int y1, int x2, int y2) {
    for (int x = x2; x >= x1; x--)
      for (int y = y1; y <= y2; y++)
        if (Pixel(x, y) != 0xFF101010u) return x;
    return -1;
  }
};

TEST_F(LayoutTest, SpacingGivesLinesRowsAndBottomArea) {
  const struct {
    int narrow, extra, lines, firstRow, bottomPlus36;
  } cases[] = {{1, 1, 15, 52, 18 + 471},
               {1, 0, 14, 70, 36 + 442},
               {0, 1, 10, 52, 18 + 456},
               {0, 0, 9, 70, 36 + 414}};
  for (const auto& c : cases) {
    LineSpacingOption = c.narrow;
    ExtraLineOption = c.extra;
    ResetScreenColumns();
    EXPECT_EQ(LinesPerPage(), c.lines);
    EXPECT_EQ(RowTop(1), c.firstRow);
    EXPECT_EQ(BottomAreaY() + 36, c.bottomPlus36);
    EXPECT_EQ(RowTop(LinesPerPage()) + RowPitch(), BottomAreaY() + 34);
    EXPECT_LE(BottomAreaY() + 34 + 83, OSD_HEIGHT);
  }
}

TEST_F(LayoutTest, ColumnWidthsAlwaysAddUpTo614) {
  for (int narrow = 0; narrow <= 1; narrow++)
    for (int c3 = 0; c3 <= 5; c3++)
      for (int c4 = 0; c4 <= 9; c4++)
        for (int c5 = 0; c5 <= 6; c5++) {
          LineSpacingOption = narrow;
          column3Option = c3;
          column4Option = c4;
          column5Option = c5;
          ResetScreenColumns();
          EXPECT_EQ(column1Width + column2Width + column3Width + column4Width + column5Width, 614);
          EXPECT_GT(column2Width, 200);
          EXPECT_EQ(column3Width, c3 == 2 || c3 == 3 ? 57 : 107) << c3;  // the short dates
        }
  LineSpacingOption = 0;
  column3Option = 2;
  column4Option = 2;
  column5Option = 1;
  ResetScreenColumns();
  EXPECT_EQ(column3Width, 57);
  EXPECT_EQ(column2Width, 336 + 50 - 20);
  EXPECT_EQ(column5Width, 83);
  LineSpacingOption = 1;
  column3Option = 0;
  column4Option = 0;
  column5Option = 0;
  ResetScreenColumns();
  EXPECT_EQ(column1Width, 55);
  EXPECT_EQ(column4Width, 123);
  EXPECT_EQ(column2Width, 286);
  EXPECT_EQ(column5Width, 43);
  TAPManagerMode = 1;
  sortOrderTAPOption = 2;
  ResetScreenColumns();
  EXPECT_EQ(column2Width, 316);
  EXPECT_EQ(sortOrder, 2);
  TAPManagerMode = 0;
}

TEST_F(LayoutTest, ColoursAndOffsetFromSettings) {
  const struct {
    int option;
    dword colour;
  } cases[] = {{0, 0xFFFFFFFF}, {1, 0xFF101010}, {2, 0xFFFFFF00}, {7, 0xFF101010}};
  for (const auto& c : cases) {
    MenuTextColour = ButtonTextColour = c.option;
    ResetScreenColumns();
    EXPECT_EQ(resolvedMenuTextColour, c.colour);
    EXPECT_EQ(resolvedButtonTextColour, c.colour);
  }
  ExtraLineOption = 1;
  ResetScreenColumns();
  EXPECT_EQ(yOffsetOption, 18);
  EXPECT_EQ(SetClockColourValue(1), 0xFF969696u);
  EXPECT_EQ(SetClockColourValue(9), 0u);
}

TEST_F(LayoutTest, ColumnFonts) {
  const struct {
    int narrow, option, in, size, offset;
  } cases[] = {{0, 0, 16, 16, 0}, {1, 0, 16, 14, 1 - 8}, {1, 0, 12, 12, 3 - 8}, {0, 1, 16, 12, 3},
               {0, 2, 12, 14, 1}, {1, 3, 14, 16, -8},    {0, 0, 10, 10, 0}};
  for (const auto& c : cases) {
    LineSpacingOption = c.narrow;
    int size = c.in, offset = 99;
    CheckColumnFont(c.option, &size, &offset);
    EXPECT_EQ(size, c.size) << c.narrow << c.option << c.in;
    EXPECT_EQ(offset, c.offset) << c.narrow << c.option << c.in;
  }
}

TEST_F(LayoutTest, PrintingLineOfTheSelection) {
  LineSpacingOption = 0;
  ExtraLineOption = 0;
  maxShown = 5;
  DeterminePrintingLine(5);
  EXPECT_EQ(printLine, 5);
  maxShown = 100;
  DeterminePrintingLine(50);
  EXPECT_EQ(printLine, 4);
  EXPECT_EQ(page, 49 / 9);
  DeterminePrintingLine(100);
  EXPECT_EQ(printLine, 9);
  DeterminePrintingLine(2);
  EXPECT_EQ(printLine, 2);
  DeterminePrintingLine(97);  // near the end: the last entry sits on the last line
  EXPECT_EQ(printLine, 6);
  ExtraLineOption = 1;
  DeterminePrintingLine(50);
  EXPECT_EQ(printLine, 5);
  LineSpacingOption = 1;
  ExtraLineOption = 0;
  DeterminePrintingLine(50);
  EXPECT_EQ(printLine, 7);
  ExtraLineOption = 1;
  DeterminePrintingLine(98);
  EXPECT_EQ(printLine, 13);
  DeterminePrintingLine(100);
  EXPECT_EQ(printLine, 15);
}

TEST_F(LayoutTest, LineColourRunsFromGreenOverYellowToRed) {
  EXPECT_EQ(DrawLineColour(0), 0xFF00FF00u);
  EXPECT_EQ(DrawLineColour(50), 0xFFFFFF00u);
  EXPECT_EQ(DrawLineColour(100), 0xFFFF0000u);
  EXPECT_EQ(DrawLineColour(25), 0xFF7FFF00u);
  EXPECT_EQ(DrawLineColour(-3), 0xFF00FF00u);
  EXPECT_EQ(DrawLineColour(250), 0xFFFF0000u);
}

TEST_F(LayoutTest, ProgressBars) {
  BlankRegion();
  // Maximum 0 counts as 1; a value above the maximum is drawn full.
  DisplayProgressBar(rgn, 0, 0, 10, 10, 100, 8, 0xFF000000, 1, 0xFF808080, 0xFF00FF00);
  DisplayProgressBar(rgn, 500, 100, 10, 30, 100, 8, 0xFF000000, 1, 0xFF808080, 0xFF00FF00);
  DisplayProgressBar(rgn, 50, 100, 10, 50, 100, 8, 0xFF000000, 1, 0xFF808080, 0xFF0000FF);
  DisplayProgressBar(rgn, 1, 100, 10, 70, 100, 8, 0xFF000000, 1, 0xFF808080, 2);
  DisplayProgressBar(rgn, 100, 100, 10, 90, 100, 8, 0xFF000000, 0, 0, 0);
  DisplayProgressBar(rgn, 0xFFFFFFFF, 0xFFFFFFFE, 10, 110, 100, 8, 0xFF000000, 1, 0, 0xFF00FF00);
  TAP_Osd_Sync();
  EXPECT_EQ(Pixel(10, 10), 0xFF808080u);   // the frame
  EXPECT_EQ(Pixel(50, 13), 0xFF000000u);   // value 0 of 0: empty
  EXPECT_EQ(Pixel(108, 33), 0xFF00FF00u);  // full
  EXPECT_EQ(Pixel(40, 53), 0xFF0000FFu);
  EXPECT_EQ(Pixel(62, 53), 0xFF000000u);         // half
  EXPECT_EQ(Pixel(100, 73), DrawLineColour(1));  // mode 2: full length, colour of 1%
  EXPECT_EQ(Pixel(10, 93), DrawLineColour(0));   // mode 0: a gradient
  EXPECT_EQ(Pixel(109, 93), DrawLineColour(99));
  EXPECT_EQ(Pixel(108, 113), 0xFF00FF00u);  // a huge value does not overflow
}

TEST_F(LayoutTest, HighlightBarTilesItsCellsAndStaysInItsBox) {
  BlankRegion();
  displayMenuBar(0, 53, 100, 39, 618);
  displayMenuBar(5, 53, 200, 26, 615);  // no 26-pixel red cell
  displayMenuBar(9, 53, 300, 26, 618);  // no such colour
  TAP_Osd_Sync();
  EXPECT_NE(Pixel(53, 120), 0xFF101010u);
  EXPECT_NE(Pixel(670, 120), 0xFF101010u);
  EXPECT_EQ(Pixel(671, 120), 0xFF101010u);
  EXPECT_EQ(Pixel(60, 120), _TMSHighlightCellBlue39_Gd.argb[20 * 10 + 7]);
  EXPECT_NE(Pixel(667, 225), 0xFF101010u);
  EXPECT_EQ(Pixel(60, 226), 0xFF101010u);
  EXPECT_EQ(Pixel(60, 310), 0xFF101010u);
}

class DiskBarTest : public LayoutTest {
 protected:
  void ShowBottom() {
    LineSpacingOption = 0;
    ResetScreenColumns();
    BlankRegion();
    UpdateSelectionNumber();
    TAP_Osd_Sync();
  }
};

TEST_F(DiskBarTest, BarAndTextWithARecordingRate) {
  ShowBottom();
  int b = BottomAreaY();
  EXPECT_EQ(Pixel(58, b + 93), 0xFF808080u);  // the bar's frame
  int withRate = RightmostInk(263, b + 89, 520, b + 105);
  recordingRateOption = 0;
  ShowBottom();
  int withoutRate = RightmostInk(263, b + 89, 520, b + 105);
  EXPECT_GT(withoutRate, 263);  // percent and gigabytes are still shown
  EXPECT_LT(withoutRate, withRate);
  HDDBarOption = 5;  // the last colour, grey
  ShowBottom();
  EXPECT_EQ(Pixel(60, b + 97), 0xFF808080u);
  // The figures turn red below the free-space threshold, not at it.
  int gigabytes = (int)(TAP_Hdd_FreeSize() / 1024);
  for (int above : {0, 1}) {
    FreeSpaceThreshold = gigabytes + above;
    ShowBottom();
    bool red = false;
    for (int y = b + 89; y < b + 110; y++)
      for (int x = 263; x < 520; x++) red = red || Pixel(x, y) == 0xFFFF0000u;
    EXPECT_EQ(red, above == 1) << FreeSpaceThreshold;
  }
}

class EmptyDiskTest : public DiskBarTest {
 protected:
  void Configure(emu::Config& config) override { config.diskCapacityMB = 0; }
};

TEST_F(EmptyDiskTest, NoBarAndNoFiguresForADiskOfSizeZero) {
  ShowBottom();
  int b = BottomAreaY();
  EXPECT_EQ(RightmostInk(58, b + 89, 520, b + 110), -1);
}

TEST_F(LayoutTest, OpeningTheListSelectsAndMarks) {
  LineSpacingOption = 0;
  SelectFirstFile = 1;
  TYPE_RecInfo info;
  memset(&info, 0, sizeof info);
  info.recType = RECTYPE_Normal;
  info.duration = 30;
  info.recordedSec = 120;
  snprintf(info.fileName, sizeof info.fileName, "Weather.rec");
  emu::SetRecording(1, info, "/mnt/hd/DataFiles/Weather.rec");
  OpenList();
  // The first file, after the three folders.
  EXPECT_EQ(chosenLine, 4);
  EXPECT_EQ(maxShown, 12);
  EXPECT_EQ(page, 0);
  FileRecord* weather = Record("Weather.rec");
  weather->recordingNow = 1;
  chosenLine = 1;
  printLine = 1;
  RefreshQuembryWindow();
  int line = EntryNamed("Weather.rec");
  ASSERT_LE(line, 9);
  EXPECT_EQ(recordingOnScreenEntry2, line);
  EXPECT_EQ(recordingOnScreenLine2, line);
  EXPECT_EQ(recordingOnScreenEntry1, 0);
  emu::ClearRecording(1);
}

TEST_F(LayoutTest, StartingLineFollowsTheSettingAndTheLastPlayedFile) {
  OpenList();
  int entry = 3;
  SelectFirstFile = 0;
  DetermineStartingLine(&entry);
  EXPECT_EQ(entry, 12);
  EXPECT_EQ(printLine, LinesPerPage() < 12 ? LinesPerPage() : 12);
  SelectFirstFile = 4;
  entry = 5;
  DetermineStartingLine(&entry);
  EXPECT_EQ(entry, 5);
  entry = 40;  // beyond the folder
  DetermineStartingLine(&entry);
  EXPECT_EQ(entry, 12);
  // The most recently played file, matched by inode and name.
  FileRecord* tatort = Record("Tatort.rec");
  if (!playedFiles[0]) playedFiles[0] = (PlayedFileEntry*)TAP_MemAlloc(sizeof(PlayedFileEntry));
  ASSERT_NE(playedFiles[0], nullptr);
  memset(playedFiles[0], 0, sizeof(PlayedFileEntry));
  playedFiles[0]->inode = tatort->inode;
  snprintf(playedFiles[0]->name, sizeof playedFiles[0]->name, "%s", tatort->name);
  for (int setting : {2, 3}) {
    SelectFirstFile = setting;
    DetermineStartingLine(&entry);
    EXPECT_EQ(entry, EntryNamed("Tatort.rec")) << setting;
  }
  SelectFirstFile = 2;
  playedFiles[0]->inode++;  // same name, another file
  DetermineStartingLine(&entry);
  EXPECT_EQ(entry, 12);
}

TEST_F(LayoutTest, RefreshKeepsTheSelectionInsideTheFolder) {
  OpenList();
  chosenLine = 40;
  printLine = 30;
  RefreshQuembryList(0);
  EXPECT_EQ(chosenLine, 12);
  EXPECT_EQ(printLine, 12);  // the folder fits on one page
  // A printing line below the selection's own: the list starts at its top.
  chosenLine = 3;
  printLine = 4;
  RefreshQuembryList(0);
  EXPECT_EQ(printLine, 3);
  // An empty folder selected while empty folders are hidden: back to the top.
  HideEmptyFolders = 1;
  chosenLine = EntryNamed("Empty");
  ASSERT_GT(chosenLine, 0);
  RefreshQuembryList(0);
  EXPECT_EQ(chosenLine, 1);
  EXPECT_EQ(printLine, 1);
  chosenLine = EntryNamed("Empty");
  RefreshQuembryWindow();
  EXPECT_EQ(chosenLine, EntryNamed("Empty") + 1);
}

class EmptyRootTest : public LayoutTest {
 protected:
  void BuildDisk(testdisk::Disk& disk) override { disk.Folder("/DataFiles"); }
};

TEST_F(EmptyRootTest, EmptyFolderShowsAnEmptyList) {
  OpenList();
  RefreshQuembryWindow();
  EXPECT_EQ(chosenLine, 0);
  EXPECT_EQ(printLine, 0);
  EXPECT_EQ(maxShown, 0);
  int entry = 5;
  SelectFirstFile = 1;  // no first file to start on either
  DetermineStartingLine(&entry);
  EXPECT_EQ(entry, 0);
  // No highlight bar anywhere: every row is the plain row colour.
  for (int line = 1; line <= LinesPerPage(); line++)
    EXPECT_EQ(Pixel(300, RowTop(line) + 5), 0xFF1E1E1Eu) << line;
}

// A hidden empty folder just above the last entry: stepping off it selects
// that last entry rather than wrapping back to the folder.
class EmptyFolderAboveTheLastTest : public LayoutTest {
 protected:
  void BuildDisk(testdisk::Disk& disk) override {
    disk.Folder("/DataFiles/Empty");
    disk.Recording("/DataFiles/Last.rec", 1u << 30, testdisk::Header(), true,
                   testdisk::Stamp(2026, 12, 1, 20, 0));
  }
};

TEST_F(EmptyFolderAboveTheLastTest, SkippingTheFolderSelectsTheLastEntry) {
  OpenList();
  ASSERT_EQ(EntryNamed("Empty"), 1);
  ASSERT_EQ(EntryNamed("Last.rec"), 2);
  HideEmptyFolders = 1;
  chosenLine = 1;
  RefreshQuembryWindow();
  EXPECT_EQ(chosenLine, 2);
}

TEST_F(LayoutTest, ClosingGivesTheRegionBackAndWritesTheLastView) {
  OpenList();
  std::string path = HostPath("/ProgramFiles/Settings/Pavrolinex/SkerrowbyLastView.dat");
  remove(path.c_str());
  ASSERT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_TRUE(testenv::Exists(path));
  for (int j = 1; j <= maxShown; j++) {
    FileRecord* r = FileSlot(CurrentDirNumber, j);
    if (r) {
      EXPECT_EQ(r->isNew, 0u) << r->name;
    }
  }
}

}  // namespace

namespace {

TEST_F(LayoutTest, SelectedLongNameScrollsOneCharacterPerRedraw) {
  LineSpacingOption = 0;
  column2Option = 2;
  OpenList();
  const char* name = "Sherlock - A Study in Pink with a very long title indeed.rec";
  int entry = EntryNamed(name);
  ASSERT_GT(entry, 0);
  chosenLine = entry;
  RefreshQuembryWindow();
  EXPECT_EQ(scrollFilenameEligible, 1);
  EXPECT_EQ(scrollTextIndex, 0);  // without a scroll delay the name stands still
  ScrollDelay = 1;
  DisplayQuembryLine(entry, printLine);
  EXPECT_EQ(scrollTextIndex, 1);
  DrawQuembryLine(entry, printLine);
  EXPECT_EQ(scrollTextIndex, 2);
  scrollTextIndex = (int)strlen(name) - 1;
  DrawQuembryLine(entry, printLine);
  EXPECT_EQ(scrollTextIndex, 0);  // back to the start after the last character
  // A short name is not eligible.
  chosenLine = EntryNamed("Tatort.rec");
  DisplayQuembryLine(chosenLine, 1);
  EXPECT_EQ(scrollFilenameEligible, 0);
}

// With the list hidden a timed notice brings a region of its own, is seen
// for its delay, and leaves nothing behind.
TEST_F(LayoutTest, MessageBoxWithoutARegionShowsForItsTimeAndLeavesNoRegion) {
  ASSERT_EQ(rgn, NO_REGION);  // the list is not open
  int count = messageCount;
  bool seen = false;
  emu::SetDelayObserver([&](dword) { seen = Pixel(180, 223) == 0xFFFFFFFFu; });
  ShowMessageWinX(rgn, "Title", "one", "two", 100);
  emu::SetDelayObserver(nullptr);
  EXPECT_TRUE(seen);
  EXPECT_EQ(messageCount, count + 1);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_NE(Pixel(180, 223), 0xFFFFFFFFu);
  EXPECT_EQ(rgn, NO_REGION);

  // The yes/no and the message window likewise, until they are answered.
  static int answers;
  answers = 0;
  DisplayYesNoWindow("Question", "one", "", "Yes", "No", 1, [](int) { answers++; });
  EXPECT_EQ(Pixel(180, 223), 0xFFFFFFFFu);
  emu::PressKey(RKEY_Ok);
  DisplayMessageWindow("Title", "one", "", [](int) { answers++; });
  EXPECT_EQ(Pixel(100, 223), 0xFFFFFFFFu);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(answers, 2);
  EXPECT_FALSE(emu::AnyRegionOpen());
}

// The 12-hour clock: 00:05 reads 12:05, 12:05 stays, 13:05 reads 01:05.
TEST_F(LayoutTest, TwelveHourClock) {
  OpenList();
  auto clockAt = [&](int hour, int twelve) {
    Clock12Hour = twelve;
    emu::SetClock(2026, 12, 7, hour, 5);
    UpdateListClock(ClockColour);
    TAP_Osd_Sync();
    std::vector<uint32_t> area;
    for (int y = 30; y < 70; y++)
      for (int x = 502; x < 668; x++) area.push_back(Pixel(x, y));
    return area;
  };
  EXPECT_TRUE(clockAt(0, 1) == clockAt(12, 0));
  EXPECT_TRUE(clockAt(12, 1) == clockAt(12, 0));
  EXPECT_TRUE(clockAt(13, 1) == clockAt(1, 0));
  EXPECT_TRUE(clockAt(13, 1) != clockAt(13, 0));
  Clock12Hour = 0;
}

}  // namespace

namespace {

// Whether the column-4 field of a row holds any text.
bool Column4HasText(int line) {
  const std::vector<uint32_t>& frame = emu::Frame();
  int x1 = column1Width + column2Width + column3Width + 61;
  int x2 = x1 + column4Width - 8;
  for (int y = RowTop(line) + 2; y < RowTop(line) + RowPitch() - 4; y++)
    for (int x = x1; x < x2; x++)
      if (frame[y * OSD_WIDTH + x] != 0xFF1E1E1Eu) return true;
  return false;
}

TEST_F(LayoutTest, HiddenEmptyFoldersLeaveNoRow) {
  OpenList();
  ASSERT_EQ(EntryNamed("Empty"), 2);
  chosenLine = 1;
  printLine = 1;
  RefreshQuembryWindow();
  EXPECT_FALSE(Column4HasText(2));  // "Empty": no recordings to count
  EXPECT_TRUE(Column4HasText(3));   // "Movies"
  HideEmptyFolders = 1;
  RefreshQuembryWindow();
  EXPECT_TRUE(Column4HasText(2));  // "Movies" moved up
  EXPECT_EQ(chosenLine, 1);
  // The selection further down keeps its line; the rows above skip the folder.
  chosenLine = EntryNamed("Tatort.rec");
  printLine = 4;
  RefreshQuembryList(0);
  EXPECT_EQ(printLine, 4);
}

}  // namespace
