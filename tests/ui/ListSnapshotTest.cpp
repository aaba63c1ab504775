// The list and the dialogs as a person sees them: every configuration is
// written to <build>/snapshots/ to be looked at, and a few are compared pixel
// for pixel with tests/reference/ (PVR_UPDATE_REFERENCES=1 rewrites them).
#include <string.h>

#include "ListFixture.h"
#include "app/keys.h"

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

  void ExpectReference(const char* name) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(name, &message)) << message;
  }
};

TEST_F(ListSnapshotTest, WideSpacing) {
  LineSpacingOption = 0;
  column5Option = 5;
  OpenList();
  Decorate();
  Redraw();
  Save("list-wide");
  ExpectReference("list-wide");
}

TEST_F(ListSnapshotTest, WideSpacingWithExtraLine) {
  LineSpacingOption = 0;
  ExtraLineOption = 1;
  column5Option = 2;
  column3Option = 1;
  column4Option = 1;
  OpenList();
  Decorate();
  Redraw();
  Save("list-wide-extra");
}

TEST_F(ListSnapshotTest, NarrowSpacing) {
  LineSpacingOption = 1;
  column5Option = 5;
  column1Option = 2;
  OpenList();
  Decorate();
  Redraw();
  Save("list-narrow");
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
  Save("list-narrow-extra");
  ExpectReference("list-narrow-extra");
}

TEST_F(ListSnapshotTest, RecycleView) {
  LineSpacingOption = 0;
  column5Option = 5;
  RecycleDividerColour = 1;
  OpenList();
  Decorate();
  recycleWindowMode = 1;
  Redraw();
  Save("list-recycle");
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
  Save("list-multiselect");
}

TEST_F(ListSnapshotTest, LongFolderName) {
  column5Option = 5;
  OpenList();
  EnterFolder(kLongFolder);
  Redraw();
  Save("list-long-folder");
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
  Save("dialog-yesno");
  ExpectReference("dialog-yesno");
}

TEST_F(ListSnapshotTest, MessageWindowAndMessageBox) {
  column5Option = 5;
  OpenList();
  Redraw();
  DisplayMessageWindow("YouTube Disabled", "YouTube has been disabled in Pavrolinex.", "", nullptr);
  Save("dialog-message-one-line");
  emu::PressKey(RKEY_Ok);
  DisplayMessageWindow("Multi-Select Not Found", "Multi-select file not found (D)",
                       "Clearing multi-select list", nullptr);
  Save("dialog-message");
  emu::PressKey(RKEY_Exit);
  ShowMessageWinTemp(rgn, "Emptying Recycle Bin", "Please wait...", "");
  Save("dialog-messagebox");
  RestoreMessageWinTemp(rgn);
  ShowMessageWinTemp(rgn, "A title far too long to fit in the message box at all, really",
                     "Line one", "Line two");
  Save("dialog-messagebox-long");
  RestoreMessageWinTemp(rgn);
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
  Save("list-german");
}

}  // namespace

namespace {

TEST_F(ListSnapshotTest, ApplicationManagerView) {
  LineSpacingOption = 0;
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
  Save("list-manager");
}

}  // namespace
