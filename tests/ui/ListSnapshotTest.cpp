// The list and the dialogs as a person sees them: every configuration is
// written to <build>/snapshots/ to be looked at and compared pixel for pixel
// with tests/reference/ (PVR_UPDATE_REFERENCES=1 rewrites them).
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>

#include <string>
#include <vector>

#include "ListFixture.h"
#include "app/keys.h"
#include "snapshot.h"

namespace {

class ListSnapshotTest : public ListTest {
 protected:
  // Viewing history, a recording, a playback, new files and a selection.
  void Decorate() {
    FileRecord* r = Record("News at Ten.rec");
    ASSERT_NE(r, nullptr);
    r->hasHistory = 1;
    r->totalBlocks = 1000;
    r->positionBlock = 400;
    r = Record("Der Bergdoktor.rec");
    r->hasHistory = 1;
    r->totalBlocks = 1000;
    r->positionBlock = 990;
    r = Record("Tagesschau.rec");
    r->recordingNow = 1;
    r->recordedSeconds = 9 * 60 + 30;
    r = Record("Planet Earth II - Islands.rec");
    r->playingNow = 1;
    r->hasHistory = 1;
    r->totalBlocks = 5000;
    r->positionBlock = 3600;
    Record("Weather.rec")->isNew = 1;
    Record("Tatort.rec")->isNew = 1;
    if (FileRecord* movies = Record("Movies")) {
      if (myfolders[movies->folderNumber]) myfolders[movies->folderNumber]->newFileCount = 2;
    }
    chosenLine = EntryNamed("Match of the Day.rec");
  }

  void Redraw() { RefreshQuembryWindow(); }

  void ExpectReference(const std::string& name) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(name, &message)) << message;
  }
  // Saved to be looked at, and compared with its reference.
  void Shows(const std::string& name) {
    Save(name);
    ExpectReference(name);
  }
};

TEST_F(ListSnapshotTest, WideSpacing) {
  LineSpacingOption = 0;
  column5Option = 5;
  OpenList();
  Decorate();
  Redraw();
  Shows("list-wide");
}

TEST_F(ListSnapshotTest, WideSpacingWithExtraLine) {
  LineSpacingOption = 0;
  ExtraLineOption = 1;
  column5Option = 2;
  column3Option = 1;
  column4Option = 1;
  NewIndicatorOption = 1;  // the stars, without the folder's count of new files
  OpenList();
  Decorate();
  Redraw();
  Shows("list-wide-extra");
}

TEST_F(ListSnapshotTest, NarrowSpacing) {
  LineSpacingOption = 1;
  column5Option = 5;
  column1Option = 2;
  OpenList();
  Decorate();
  Redraw();
  Shows("list-narrow");
  // Nothing of a row reaches into the gap above it (an icon there would stay
  // behind as the rows scroll).
  const std::vector<uint32_t>& frame = emu::Frame();
  for (int line = 2; line <= LinesPerPage(); line++)
    for (int y = RowTop(line) - 2; y < RowTop(line); y++)
      for (int x = 53; x < 671; x++)
        ASSERT_EQ(frame[y * OSD_WIDTH + x], 0xFF101010u) << "line " << line << " x " << x;
}

TEST_F(ListSnapshotTest, NarrowSpacingWithExtraLine) {
  LineSpacingOption = 1;
  ExtraLineOption = 1;
  column5Option = 1;
  column3Option = 2;
  column4Option = 5;
  infoLineOption = 1;
  OpenList();
  Decorate();
  Redraw();
  Shows("list-narrow-extra");
}

// A folder's count of recordings is written in full wherever the count column
// is wide, and shortened ("recs") in each narrow layout alike.
TEST_F(ListSnapshotTest, FolderCountsReadAlikeInEveryLayoutOfTheirWidth) {
  LineSpacingOption = 0;
  OpenList();
  chosenLine = EntryNamed("Movies");
  ASSERT_GT(chosenLine, 0);
  ASSERT_GT(myfolders[Record("Movies")->folderNumber]->fileCount, 0);
  for (const std::vector<int>& layouts : {std::vector<int>{7, 0, 1, 6}, {2, 3, 5}}) {
    std::vector<uint32_t> first;
    for (int option : layouts) {
      column4Option = option;
      ResetScreenColumns();
      Redraw();
      int top = RowTop(printLine);  // where the chosen line is drawn
      const std::vector<uint32_t>& frame = emu::Frame();
      std::vector<uint32_t> row(frame.begin() + top * OSD_WIDTH,
                                frame.begin() + (top + RowPitch()) * OSD_WIDTH);
      if (first.empty()) first = row;
      EXPECT_TRUE(row == first) << "column 4 option " << option;
    }
  }
}

// The minutes beside a line's bar: small, larger or none, as set. A line
// watched up to the share that counts as seen has its tick and no bar.
TEST_F(ListSnapshotTest, MinutesBesideTheBarFollowTheSetting) {
  LineSpacingOption = 0;
  OpenList();
  Decorate();
  Record("Der Bergdoktor.rec")->positionBlock = 10 * CompletelyWatchedPercent;  // of 1000
  auto minutesArea = [&](const char* name) {
    int top = RowTop(EntryNamed(name) - chosenLine + printLine);
    return snapshot::Crop(column1Width + column2Width - 30, top, 82, 38);
  };
  std::vector<uint32_t> shown[3], seen[3];
  for (int setting = 0; setting <= 2; setting++) {
    MinsOnProgressBar = setting;
    Redraw();
    shown[setting] = minutesArea("News at Ten.rec");
    seen[setting] = minutesArea("Der Bergdoktor.rec");
  }
  EXPECT_TRUE(shown[0] != shown[1] && shown[1] != shown[2] && shown[0] != shown[2]);
  EXPECT_TRUE(seen[0] == seen[1] && seen[1] == seen[2]);
  // The minutes need a length: "+0/-1" for one minute, nothing for none.
  MinsOnProgressBar = 0;
  FileRecord* news = Record("News at Ten.rec");
  news->durationMinutes = 1;
  Redraw();
  EXPECT_TRUE(minutesArea("News at Ten.rec") != shown[1]);
  news->durationMinutes = 0;
  Redraw();
  EXPECT_TRUE(minutesArea("News at Ten.rec") == shown[1]);
}

TEST_F(ListSnapshotTest, RecycleView) {
  LineSpacingOption = 0;
  column5Option = 5;
  RecycleDividerColour = 1;
  OpenList();
  Decorate();
  recycleWindowMode = 1;
  Redraw();
  Shows("list-recycle");
}

TEST_F(ListSnapshotTest, MultiSelectionAndColumnOptions) {
  LineSpacingOption = 0;
  column5Option = 2;
  column4Option = 4;
  column1Option = 1;
  MenuBarColour = 2;
  OpenList();
  Decorate();
  const char* names[] = {"Tatort.rec", "Weather.rec", "News at Ten.rec"};
  MultiSelectItem** tail = &MultiSelect;
  for (const char* name : names) {
    MultiSelectItem* item = (MultiSelectItem*)TAP_MemAlloc(sizeof(MultiSelectItem));
    ASSERT_NE(item, nullptr);
    memset(item, 0, sizeof *item);
    FileRecord* r = Record(name);
    item->inode = r->inode;
    snprintf(item->name, sizeof item->name, "%s", name);
    item->folderNumber = CurrentDirNumber;
    item->entryIndex = EntryNamed(name);
    *tail = item;
    tail = &item->next;
  }
  Redraw();
  Shows("list-multiselect");
}

TEST_F(ListSnapshotTest, LongFolderName) {
  column5Option = 5;
  OpenList();
  EnterFolder(kLongFolder);
  Redraw();
  Shows("list-long-folder");
}

TEST_F(ListSnapshotTest, YesNoWindowOverTheList) {
  LineSpacingOption = 0;
  column5Option = 5;
  OpenList();
  Decorate();
  Redraw();
  DisplayYesNoWindow("Delete Confirmation", "Match of the Day.rec", "Delete this recording?", "Yes",
                     "No", 1, nullptr);
  TAP_Osd_Sync();
  Shows("dialog-yesno");
}

TEST_F(ListSnapshotTest, MessageWindowAndMessageBox) {
  column5Option = 5;
  OpenList();
  Redraw();
  DisplayMessageWindow("YouTube Disabled", "YouTube has been disabled in Pavrolinex.", "", nullptr);
  Shows("dialog-message-one-line");
  emu::PressKey(RKEY_Ok);
  DisplayMessageWindow("Multi-Select Not Found", "Multi-select file not found (D)",
                       "Clearing multi-select list", nullptr);
  Shows("dialog-message");
  emu::PressKey(RKEY_Exit);
  ShowMessageWinTemp(rgn, "Emptying Recycle Bin", "Please wait...", "");
  Shows("dialog-messagebox");
  RestoreMessageWinTemp(rgn);
  ShowMessageWinTemp(rgn, "A title far too long to fit in the message box at all, really",
                     "Line one", "Line two");
  Shows("dialog-messagebox-long");
  RestoreMessageWinTemp(rgn);
}

// A message shown for a fixed time is drawn and removed inside one key
// event; the frame that its delay holds on screen is what the user sees.
TEST_F(ListSnapshotTest, TimedMessagesOverTheList) {
  column5Option = 5;
  OpenList();
  std::string expected;
  int held = 0;
  emu::SetDelayObserver([&](dword ticks) {
    held++;
    EXPECT_EQ(ticks, 300u);
    Shows(expected);
  });
  expected = "message-no-last-playback";
  emu::PressKey(RKEY_Slow);
  EXPECT_EQ(held, 1);
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 1);
  expected = "message-multiselect-not-available";
  emu::PressKey(RKEY_TvRadio);
  EXPECT_EQ(held, 2);
  expected = "message-multiselect-cleared";
  emu::HoldKey(RKEY_Red);
  EXPECT_EQ(held, 3);
  EXPECT_EQ(MultiSelectCount(), 0);
  emu::SetDelayObserver(nullptr);
}

// Without a reference a comparison has nothing to compare: it fails, and
// writes nothing into the source tree.
TEST_F(ListSnapshotTest, AMissingReferenceIsAMismatch) {
  unsetenv("PVR_UPDATE_REFERENCES");
  OpenList();
  std::string message;
  EXPECT_FALSE(snapshot::MatchesReference("no-such-screen", &message));
  EXPECT_NE(message.find("missing"), std::string::npos) << message;
  EXPECT_FALSE(
      testenv::Exists(std::string(PVR_SOURCE_DIR) + "/tests/reference/no-such-screen.png"));
}

TEST_F(ListSnapshotTest, GermanTexts) {
  TextLanguage = 1;
  column5Option = 5;
  column3Option = 1;
  OpenList();
  Decorate();
  Redraw();
  DisplayYesNoWindow("L\xF6schen best\xE4tigen", "Match of the Day.rec", "Aufnahme l\xF6schen?",
                     "Ja", "Nein", 0, nullptr);
  TAP_Osd_Sync();
  Shows("list-german");
}

}  // namespace

namespace {

// A folder row counts its contents; an application's row carries its file's
// date and time.
TEST_F(ListSnapshotTest, ApplicationManagerView) {
  LineSpacingOption = 0;
  std::string image = HostPath("/ProgramFiles/Clock.tap");
  ASSERT_TRUE(testenv::WriteFile(image, "not an image"));
  time_t written = testdisk::StampToUnix(testdisk::Stamp(2026, 11, 21, 20, 5));
  struct timeval times[2] = {{written, 0}, {written, 0}};
  ASSERT_EQ(utimes(image.c_str(), times), 0);
  OpenList();
  TAPManagerMode = 1;
  TAPManagerModeChanged = 1;
  GotoProgramFiles();
  SetCurrentDir("/ProgramFiles");
  CurrentDirNumber = 0;
  chosenLine = 1;
  reloadInitialQuembryInfo(0, 0);
  ResetScreenColumns();
  RefreshQuembryWindow();
  EXPECT_EQ(column2Width, 316);
  Shows("list-manager");
}

}  // namespace
