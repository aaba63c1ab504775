// The keys of the list: navigation edge cases, the release keys and their
// long presses, multi-selection, sort orders, the override keys and help.
#include "app/keys.h"

#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "BrowseFixture.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

namespace {

bool GivenToFirmware(dword key) {
  std::vector<dword> keys = emu::KeysGivenToFirmware();
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// The screen shows what the list would draw afresh: a move that redraws only
// some of it leaves nothing stale behind (the title's count included).
::testing::AssertionResult ScreenIsCurrent() {
  std::vector<uint32_t> shown = emu::Frame();
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  const std::vector<uint32_t>& full = emu::Frame();
  for (size_t i = 0; i < full.size(); i++) {
    if (shown[i] != full[i]) {
      return ::testing::AssertionFailure()
             << "stale pixel at (" << i % OSD_WIDTH << ", " << i / OSD_WIDTH << ") with entry "
             << chosenLine << " on line " << printLine;
    }
  }
  return ::testing::AssertionSuccess();
}

// The pop-up in the box (x, y, w, h) is on screen: the display holds a pop-up
// there (border colour round the interior grey) and the frame shows it.
::testing::AssertionResult PopupOnScreen(int x, int y, int w, int h) {
  dword border = BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF;
  if (TAP_Osd_GetPixel(rgn, x, y) != border ||
      TAP_Osd_GetPixel(rgn, x + w - 1, y + h - 1) != border ||
      TAP_Osd_GetPixel(rgn, x + 4, y + 4) != 0xFF1E1E1E) {
    return ::testing::AssertionFailure() << "no pop-up drawn at (" << x << ", " << y << ")";
  }
  const std::vector<uint32_t>& frame = emu::Frame();
  for (int j = y; j < y + h; j++) {
    for (int i = x; i < x + w; i++) {
      if (frame[j * OSD_WIDTH + i] != (TAP_Osd_GetPixel(rgn, i, j) | 0xFF000000u)) {
        return ::testing::AssertionFailure() << "the screen lags at (" << i << ", " << j << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult YesNoOnScreen() {
  if (!yesnoWindowShowing) return ::testing::AssertionFailure() << "no yes/no window";
  return PopupOnScreen(180, 198, 360, 180);
}

// A folder of 100 recordings (and nothing else) in /DataFiles/Many.
class ManyTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    for (int i = 1; i <= 100; i++) {
      char name[64];
      snprintf(name, sizeof name, "/DataFiles/Many/r%03d.rec", i);
      ASSERT_TRUE(disk->File(name, 10 * kBlock, testdisk::Stamp(2026, 1, 1, 0, i % 60)));
    }
    ASSERT_TRUE(disk->File("/DataFiles/Few/a.rec", kBlock));
    for (const char* name :
         {"/DataFiles/Few/b.rec", "/DataFiles/Few/c.rec", "/DataFiles/Few/d.rec"}) {
      ASSERT_TRUE(disk->File(name, kBlock));
    }
  }
  void Enter(const char* folder) {
    OpenList();
    SelectByKeys(folder);
    emu::PressKey(RKEY_Ok);
    ASSERT_EQ(Line(1)->attribute, (dword)ATTRIBUTE_PARENT);
  }
};

TEST_F(ManyTest, UpAndDownWrapAndPageByPage) {
  Enter("Many");
  ASSERT_EQ(maxShown, 101);  // the parent line and 100 recordings
  ASSERT_EQ(L(), 14);
  // Down from the last line of a page shows the next page, selection on line 1.
  for (int i = 1; i < L(); i++) emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenLine, L());
  EXPECT_EQ(printLine, L());
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenLine, L() + 1);
  EXPECT_EQ(printLine, 1);
  // Up from line 1 shows the previous page with the selection at its end.
  emu::PressKey(RKEY_ChUp);
  EXPECT_EQ(chosenLine, L());
  EXPECT_EQ(printLine, L());
  // Up on entry 1 wraps to the last entry on line L; Down on it wraps back.
  while (chosenLine != 1) emu::PressKey(RKEY_ChUp);
  emu::PressKey(RKEY_ChUp);
  EXPECT_EQ(chosenLine, 101);
  EXPECT_EQ(printLine, L());
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenLine, 1);
  EXPECT_EQ(printLine, 1);
}

TEST_F(ManyTest, PageKeysFirstReachTheEdgeOfThePage) {
  LineSpacingOption = 0;  // 9-line pages
  Enter("Many");
  ASSERT_EQ(L(), 9);
  emu::PressKey(RKEY_ChDown);
  emu::PressKey(RKEY_ChDown);
  ASSERT_EQ(printLine, 3);
  emu::PressKey(RKEY_Forward);
  EXPECT_EQ(chosenLine, 9);
  EXPECT_EQ(printLine, 9);
  emu::PressKey(RKEY_Forward);
  EXPECT_EQ(chosenLine, 17);
  EXPECT_EQ(printLine, 9);
  // Page up on line 1 with entry 20 selected: entry 11 on line 1.
  chosenLine = 20;
  printLine = 1;
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(chosenLine, 11);
  EXPECT_EQ(printLine, 1);
  emu::PressKey(RKEY_Rewind);  // on line 1, entry 11 > L: L back
  EXPECT_EQ(chosenLine, 2);
  emu::PressKey(RKEY_Rewind);
  EXPECT_EQ(chosenLine, 1);
  emu::PressKey(RKEY_Rewind);  // at entry 1: wraps to the end
  EXPECT_EQ(chosenLine, 101);
  EXPECT_EQ(printLine, 9);
  emu::PressKey(RKEY_Forward);  // at the last entry: wraps to the start
  EXPECT_EQ(chosenLine, 1);
  EXPECT_EQ(printLine, 1);
  // Digits pick a line of the page; 0 needs ten lines.
  emu::PressKey(RKEY_7);
  EXPECT_EQ(chosenLine, 7);
  EXPECT_EQ(printLine, 7);
  emu::PressKey(RKEY_9);
  EXPECT_EQ(chosenLine, 9);
  emu::PressKey(RKEY_0);
  EXPECT_EQ(chosenLine, 9);
}

TEST_F(ManyTest, DigitsBeyondTheUsedLinesDoNothing) {
  Enter("Few");
  ASSERT_EQ(maxShown, 5);
  emu::PressKey(RKEY_4);
  EXPECT_EQ(chosenLine, 4);
  emu::PressKey(RKEY_7);
  EXPECT_EQ(chosenLine, 4);
  HideEmptyFolders = 1;  // digits are off while empty folders are hidden
  emu::PressKey(RKEY_2);
  EXPECT_EQ(chosenLine, 4);
}

// Up, Down, digits and the multi-select key's step down redraw just two rows,
// the title, the clock and the bottom area; the screen must still be current.
TEST_F(ManyTest, MovesWithinAPageKeepTheScreenCurrent) {
  Enter("Few");
  ASSERT_EQ(maxShown, 5);
  const dword keys[] = {RKEY_ChDown, RKEY_ChDown, RKEY_ChUp, RKEY_4, RKEY_1, RKEY_3};
  const int lines[] = {2, 3, 2, 4, 1, 3};
  for (size_t k = 0; k < sizeof keys / sizeof keys[0]; k++) {
    emu::PressKey(keys[k]);
    EXPECT_EQ(chosenLine, lines[k]);
    EXPECT_TRUE(ScreenIsCurrent()) << "key " << k;
  }
  emu::ReleaseKey(RKEY_Red);  // selects entry 3 and steps down
  EXPECT_EQ(MultiSelectCount(), 1);
  EXPECT_EQ(chosenLine, 4);
  EXPECT_TRUE(ScreenIsCurrent());
  MultiSelectClearAll();
}

// A yes/no or message window takes the next key, so it is on screen before
// that key comes, whoever opened it, and stays there while idle events run.
TEST_F(BrowseTest, EveryPopupIsOnScreenBeforeItTakesAKey) {
  // A recording whose row crosses the yes/no window: idle events redraw it
  // on every new minute.
  RecordInto("/DataFiles/Show 14.rec");
  LineSpacingOption = 0;
  DeleteConfirmDefault = 1;
  OpenList();
  SelectByKeys("Show 14.rec");
  ASSERT_EQ(recordingOnScreenEntry1, chosenLine);
  ASSERT_GE(RowTop(recordingOnScreenLine1) + RowPitch(), 198);
  ASSERT_LE(RowTop(recordingOnScreenLine1), 378);

  // The multi-selection's delete question, from the Blue release.
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 2);
  emu::PressKey(RKEY_Blue);
  EXPECT_TRUE(YesNoOnScreen());
  emu::Wait(61);
  EXPECT_TRUE(YesNoOnScreen());
  emu::PressKey(RKEY_Exit);
  // The same question from the long press, and the select-all question.
  emu::HoldKey(RKEY_Blue);
  EXPECT_TRUE(YesNoOnScreen());
  emu::PressKey(RKEY_Exit);
  MultiSelectClearAll();
  emu::HoldKey(RKEY_Red);
  EXPECT_TRUE(YesNoOnScreen());
  emu::PressKey(RKEY_Exit);
  // Cancelling a background copy.
  processInBackground = 1;
  emu::PressKey(RKEY_Yellow);
  EXPECT_TRUE(YesNoOnScreen());
  emu::PressKey(RKEY_Exit);
  processInBackground = 0;
  // A delete that fails reports it from the answer's return processing.
  SelectByKeys("Show 02.rec");
  emu::PressKey(RKEY_Blue);
  EXPECT_TRUE(YesNoOnScreen());
  ASSERT_EQ(remove(HostPath("/DataFiles/Show 02.rec").c_str()), 0);
  emu::PressKey(RKEY_Ok);
  ASSERT_EQ(MessageWindowShowing, 1);
  EXPECT_TRUE(PopupOnScreen(100, 183, 520, 210));
  emu::PressKey(RKEY_Ok);
}

TEST_F(BrowseTest, EmptyFoldersAreSkippedWhenHidden) {
  HideEmptyFolders = 1;
  OpenList();
  ASSERT_EQ(Find("Empty"), 1);
  // Down from the last entry wraps onto the empty folder and moves past it.
  chosenLine = maxShown;
  printLine = L();
  emu::PressKey(RKEY_ChDown);
  EXPECT_STREQ(SelectedName(), "Movies");
  EXPECT_EQ(printLine, 1);  // the hidden folder takes no line
  // Up onto it moves back past it, wrapping to the last entry on line L.
  emu::PressKey(RKEY_ChUp);
  EXPECT_EQ(chosenLine, maxShown);
  EXPECT_EQ(printLine, L());
  int redraw = 0;
  chosenLine = printLine = 1;
  FindNextFolder(0, &redraw);
  EXPECT_EQ(chosenLine, maxShown);
  EXPECT_EQ(redraw, 1);
}

TEST_F(BrowseTest, BlueShortPressDeletesLongPressDeletesForGood) {
  OpenList();
  SelectByKeys("Show 03.rec");
  // A held report alone does nothing until the release.
  recycleBinOption = 1;
  int shown = messageCount;
  emu::PressKey(RKEY_Blue | RKEY_FLAG_HELD);
  EXPECT_EQ(messageCount, shown);
  EXPECT_EQ(repeating_key, 1);
  emu::ReleaseKey(RKEY_Blue);
  EXPECT_EQ(repeating_key, 0);
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine2, "Do you want to delete this file?");
  EXPECT_EQ(forceDeleteNotRecycle, 1);
  EXPECT_EQ(delete_chosenLine, chosenLine);
  EXPECT_STREQ(currentFile.name, "Show 03.rec");
  emu::PressKey(RKEY_Exit);  // "No"
  EXPECT_EQ(deleteWindowShowing, 0);

  shown = messageCount;
  emu::PressKey(RKEY_Blue);
  EXPECT_EQ(messageCount, shown + 1);
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine2, "Do you want to recycle this file?");
  EXPECT_EQ(forceDeleteNotRecycle, 0);
  emu::PressKey(RKEY_Exit);
  // A release that no press armed does nothing.
  shown = messageCount;
  emu::ReleaseKey(RKEY_Blue);
  EXPECT_EQ(messageCount, shown);
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 03.rec"));
}

TEST_F(BrowseTest, MultiSelectionDeleteAsksForTheWholeSelection) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 2);
  recycleBinOption = 1;
  emu::PressKey(RKEY_Blue);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "File Delete Confirmation");
  EXPECT_STREQ(lastMessageLine2, "Do you want to recycle 2 file(s)?");
  EXPECT_EQ(YesNoOption, 1);  // No preselected by default
  yesnoWindowShowing = 0;
  // The long press always deletes.
  emu::HoldKey(RKEY_Blue);
  EXPECT_STREQ(lastMessageLine2, "Do you want to delete 2 file(s)?");
  EXPECT_EQ(forceDeleteNotRecycle, 1);
}

TEST_F(BrowseTest, MultiSelectOnlyFilesAndTheLongPressSelectsOrClearsAll) {
  OpenList();
  SelectByKeys("Movies");
  emu::ReleaseKey(RKEY_Red);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_STREQ(SelectedName(), "Movies");
  emu::PressKey(RKEY_Ok);
  // Long press with nothing selected: select all files of the folder.
  emu::HoldKey(RKEY_Red);
  ASSERT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Multi-Select All");
  EXPECT_EQ(YesNoOption, 0);
  emu::PressKey(RKEY_Ok);  // Yes
  ASSERT_EQ(MultiSelectCount(), 3);
  EXPECT_EQ(MultiSelectPosition(CurrentDirNumber, Find("Alpha.rec")), 1);
  // The selection survives a folder change and a re-sort.
  emu::PressKey(RKEY_Pause);
  MultiSelectItem* first = MultiSelect;
  EXPECT_STREQ(Line(first->entryIndex)->name, first->name);
  // Long press with a selection: cleared.
  emu::HoldKey(RKEY_Red);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_STREQ(lastMessageTitle, "Multi-Select Cleared");
  // Nothing can be selected while a background operation runs.
  processInBackground = 2;
  SelectByKeys("Beta.rec");
  emu::ReleaseKey(RKEY_Red);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_STREQ(lastMessageTitle, "Background Process In Progress");
  processInBackground = 0;
  // A file selected and unselected again leaves nothing held.
  size_t blocks = emu::AllocatedBlocks();
  emu::PressKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 1);
  SelectByKeys("Beta.rec");
  emu::PressKey(RKEY_Red);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_EQ(emu::AllocatedBlocks(), blocks);
}

TEST_F(BrowseTest, PauseSkipsHiddenSortOrders) {
  OpenList();
  ASSERT_EQ(sortOrder, 0);
  HideSortOption1 = 1;
  emu::PressKey(RKEY_Pause);
  EXPECT_EQ(sortOrder, 2);
  HideSortOption3 = HideSortOption4 = HideSortOption5 = HideSortOption0 = 1;
  emu::PressKey(RKEY_Pause);
  EXPECT_EQ(sortOrder, 2);  // every other order hidden: back to the same one
}

// Hand-edited settings keep their values, but none of them may pick an element
// outside a table: the list opens, draws, pages and sorts with each of them.
TEST_F(BrowseTest, SettingsFromOutsideTheMenusNeverReachBeyondATable) {
  int* const options[] = {
      &sortOrderOption,  &LineSpacingOption,  &ExtraLineOption,  &column1Option,
      &column2Option,    &column3Option,      &column4Option,    &column5Option,
      &infoLineOption,   &progressBarOption,  &Column1Font,      &Column2Font,
      &Column3Font,      &Column4Font,        &Column5Font,      &BottomFontOption,
      &LegendFontOption, &Column345LeftAlign, &Column4LeftAlign, &Column5LeftAlign,
      &MenuBarColour,    &ButtonBarColour,    &ButtonTextColour, &MenuTextColour,
      &ClockColour,      &MinsColour,         &HDDBarOption,     &MinsOnProgressBar,
      &TextLanguage,     &NewIndicatorOption, &SelectFirstFile,  &BorderColour};
  for (int value : {-5, -100000, INT_MIN, 6, 1000000, INT_MAX}) {
    SCOPED_TRACE(value);
    for (int* option : options) *option = value;
    OpenList();
    EXPECT_EQ(sortOrder, value);  // kept as read
    emu::PressKey(RKEY_Pause);
    EXPECT_EQ(sortOrder, 0);  // the first order of the cycle
    emu::PressKey(RKEY_ChDown);
    emu::PressKey(RKEY_Forward);
    emu::PressKey(RKEY_VolDown);
    EXPECT_GE(chosenLine, 1);
    EXPECT_LE(chosenLine, maxShown);
    EXPECT_GE(printLine, 1);
    emu::PressKey(RKEY_Exit);
    ASSERT_EQ(windowShowing, 0);
  }
}

TEST_F(BrowseTest, ExitKeysActivationKeyAndFirmwareKeys) {
  OpenList();
  EXPECT_EQ(emu::PressKey(RKEY_Mute), (dword)RKEY_Mute);
  EXPECT_TRUE(GivenToFirmware(RKEY_Mute));
  EXPECT_EQ(windowShowing, 1);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(windowShowing, 0);

  UserExitKey2 = RKEY_Guide;
  OpenList();
  emu::PressKey(RKEY_Guide);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_TRUE(GivenToFirmware(RKEY_Guide));  // replayed when the list is hidden

  // The activation key hides the list like Exit (here not File List).
  mainActivationKey = RKEY_Uhf;
  emu::PressKey(RKEY_Uhf);
  ASSERT_EQ(windowShowing, 1);
  emu::PressKey(RKEY_Uhf);
  EXPECT_EQ(windowShowing, 0);
}

TEST_F(BrowseTest, FileListShortPressFollowsItsOption) {
  OpenList();
  fileListKeyOption = 1;
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(windowShowing, 1);
  fileListKeyOption = 2;
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(windowShowing, 0);

  // Option 0 hands File List to the firmware once, without reopening the list.
  OpenList();
  fileListKeyOption = 0;
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_TRUE(GivenToFirmware(RKEY_PlayList));
  EXPECT_EQ(generatedPlayList, 0);
  // Option 3: the application manager; the long press follows its own option.
  OpenList();
  fileListKeyOption = 3;
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(TAPManagerMode, 1);
  EXPECT_STREQ(CurrentDir, "/ProgramFiles");
  InvokeTAPManager();  // and back
  EXPECT_EQ(TAPManagerMode, 0);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  fileListLongKeyOption = 2;
  emu::HoldKey(RKEY_PlayList);
  EXPECT_EQ(TAPManagerMode, 1);
  EXPECT_STREQ(CurrentDir, "/ProgramFiles");
  InvokeTAPManager();
  fileListLongKeyOption = 1;
  ASSERT_EQ(mkdir("/mnt/hd/ProgramFiles/AutoStart", 0755), 0);
  emu::HoldKey(RKEY_PlayList);
  EXPECT_EQ(TAPManagerMode, 1);
  EXPECT_STREQ(CurrentDir, "/ProgramFiles/AutoStart");
  // Held again in the manager's view, whatever the option, the list stays and
  // is drawn whole again at the release, also where a press repeated during
  // the hold cleared its title.
  std::vector<uint32_t> whole = emu::Frame();
  for (int option : {1, 2, 3}) {
    fileListLongKeyOption = option;
    emu::SendKey(RKEY_PlayList);
    emu::SendKey(RKEY_PlayList | RKEY_FLAG_HELD);
    emu::SendKey(RKEY_PlayList);
    EXPECT_FALSE(emu::Frame() == whole) << option;
    emu::ReleaseKey(RKEY_PlayList);
    EXPECT_STREQ(CurrentDir, "/ProgramFiles/AutoStart") << option;
    EXPECT_TRUE(emu::Frame() == whole) << option;
  }
}

TEST_F(BrowseTest, InfoAndTagsmithKeys) {
  OpenList();
  SelectByKeys("Show 02.rec");
  emu::ReleaseKey(RKEY_Info);
  EXPECT_EQ(infoWindowShowing, 1);
  EXPECT_STREQ(currentFile.name, "Show 02.rec");
  // Info closes the window; the release that follows is dropped.
  emu::SendKey(RKEY_Info);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_EQ(repeat_DropInfoEnd, 1);
  emu::ReleaseKey(RKEY_Info);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_EQ(repeat_DropInfoEnd, 0);
  // Holding Info calls Tagsmith instead, over the list drawn whole again, also
  // where a press repeated during the hold cleared its title.
  std::vector<uint32_t> whole = emu::Frame();
  emu::SendKey(RKEY_Info);
  emu::SendKey(RKEY_Info | RKEY_FLAG_HELD);
  emu::SendKey(RKEY_Info);
  emu::ReleaseKey(RKEY_Info);
  EXPECT_EQ(Tagsmith_multiphase, 1);
  EXPECT_EQ(Tagsmith_multistep, 1);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_TRUE(emu::Frame() == whole);
  // A Tagsmith key of its own, on release.
  Tagsmith_multiphase = Tagsmith_multistep = 0;
  TagsmithKey = RKEY_Guide;
  emu::SendKey(RKEY_Guide);
  EXPECT_EQ(Tagsmith_multistep, 0);
  emu::ReleaseKey(RKEY_Guide);
  EXPECT_EQ(Tagsmith_multistep, 1);
}

// A disk with nothing to list: the keys that act on the selected line find
// none and open nothing.
class EmptyDiskTest : public BrowseTest {
 protected:
  void BuildDisk() override { ASSERT_TRUE(disk->Folder("/DataFiles")); }
};

TEST_F(EmptyDiskTest, KeysForTheSelectedLineOpenNothing) {
  OpenList();
  ASSERT_EQ(chosenLine, 0);
  for (dword key : {RKEY_Blue, RKEY_Yellow, RKEY_Option, RKEY_Info, RKEY_Stop, RKEY_Ok}) {
    emu::PressKey(key);
    EXPECT_EQ(deleteWindowShowing + moveWindowShowing + infoWindowShowing + keyboardWindowShowing +
                  stopWindowShowing + yesnoWindowShowing,
              0)
        << key;
    EXPECT_EQ(windowShowing, 1) << key;
  }
  emu::HoldKey(RKEY_Blue);
  EXPECT_EQ(deleteWindowShowing + yesnoWindowShowing, 0);
  EXPECT_FALSE(emu::IsPlaying());
}

// Entering a folder reads it again two levels deep.
TEST_F(BrowseTest, EnteringAFolderRereadsItsSubfolders) {
  OpenList();
  const char* season = "/DataFiles/Series/Season 2/";
  Recording(std::string(season) + "Extra.rec", 1000, testdisk::Stamp(2026, 9, 10, 20, 0));
  Recording(std::string(season) + "Bonus/Outtakes.rec", 1000, testdisk::Stamp(2026, 9, 10, 21, 0));
  SelectByKeys("Series");
  emu::PressKey(RKEY_Ok);
  ASSERT_GT(Find("Season 2"), 0);
  int n = Line(Find("Season 2"))->folderNumber;
  EXPECT_EQ(myfolders[n]->fileCount, 2);
  auto Below = [&](const char* name) -> FolderRecord* {
    for (int j = 1; j <= myfolders[n]->entryCount; j++) {
      if (strcmp(FileSlot(n, j)->name, name) == 0) return myfolders[FileSlot(n, j)->folderNumber];
    }
    return nullptr;
  };
  ASSERT_NE(Below("Bonus"), nullptr);
  EXPECT_EQ(Below("Bonus")->entryCount, 2);  // its lines too: the parent line and the file
  // With the depth setting at 1, one level only.
  SelectByKeys("..");
  emu::PressKey(RKEY_Ok);
  DefaultRecursiveDepth = 1;
  Recording(std::string(season) + "Bonus 2/Bloopers.rec", 1000,
            testdisk::Stamp(2026, 9, 11, 21, 0));
  SelectByKeys("Series");
  emu::PressKey(RKEY_Ok);
  ASSERT_NE(Below("Bonus 2"), nullptr);
  EXPECT_EQ(Below("Bonus 2")->entryCount, 0);
}

TEST_F(BrowseTest, ColourKeysReachTheirActions) {
  OpenList();
  emu::PressKey(RKEY_Green);
  EXPECT_EQ(keyboardWindowShowing, 1);  // on the name of the new folder
  EXPECT_STREQ(renameString, "FOLDER 01");
  keyboardWindowShowing = 0;
  SelectByKeys("Show 05.rec");
  emu::PressKey(RKEY_Yellow);
  EXPECT_EQ(moveWindowShowing, 1);
  EXPECT_STREQ(currentFile.name, "Show 05.rec");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(moveWindowShowing, 0);
  emu::PressKey(RKEY_Option);
  EXPECT_EQ(infoWindowShowing, 1);
  EXPECT_EQ(keyboardWindowShowing, 1);  // on the name to change
  keyboardWindowShowing = 0;
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(infoWindowShowing, 0);
  processInBackground = 1;
  emu::PressKey(RKEY_Yellow);
  EXPECT_STREQ(lastMessageTitle, "Cancel Copy");
  EXPECT_EQ(YesNoCallback, &ReturnFromCancelBackgroundMoveYesNo);
  yesnoWindowShowing = 0;
  processInBackground = 0;
  emu::PressKey(RKEY_Menu);
  EXPECT_EQ(configWindowShowing, 1);
}

TEST_F(BrowseTest, PlayingFilesCannotBeMovedOrRenamedAndStopOpensTheStopMenu) {
  OpenList();
  SelectByKeys("Show 04.rec");
  emu::PressKey(RKEY_Play);
  ASSERT_TRUE(emu::IsPlaying());
  OpenList();
  SelectByKeys("Show 04.rec");
  ASSERT_EQ(Line(chosenLine)->playingNow, 1u);
  emu::PressKey(RKEY_Yellow);
  EXPECT_STREQ(lastMessageTitle, "File Move Not Allowed");
  EXPECT_STREQ(lastMessageLine1, "Moving of files that are playing");
  emu::PressKey(RKEY_Option);
  EXPECT_STREQ(lastMessageTitle, "File Rename Not Allowed");
  EXPECT_STREQ(lastMessageLine1, "Renaming of files that are playing");
  // Stop asks first, with No chosen; Yes stops the playback.
  emu::PressKey(RKEY_Stop);
  ASSERT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Playback Stop Confirmation");
  EXPECT_STREQ(lastMessageLine2, "File: Show 04.rec");
  emu::PressKey(RKEY_Ok);
  EXPECT_TRUE(emu::IsPlaying());
  emu::PressKey(RKEY_Stop);
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(yesnoWindowShowing, 0);
  // Stop on a file that neither plays nor records: nothing.
  int shown = messageCount;
  SelectByKeys("Show 05.rec");
  emu::PressKey(RKEY_Stop);
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_EQ(messageCount, shown);
}

TEST_F(BrowseTest, OverrideKeysAndTheRecycleView) {
  OverrideDataFilesKey = RKEY_Guide;
  OverrideParentKey = RKEY_Fav;
  OpenList();
  SelectByKeys("Series");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Season 2");
  emu::PressKey(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles/Series/Season 2");
  emu::PressKey(RKEY_Fav);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Series");
  EXPECT_STREQ(SelectedName(), "Season 2");
  emu::PressKey(RKEY_Guide);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(CurrentDirNumber, 0);
  emu::PressKey(RKEY_Fav);  // no parent line at the top: nothing
  EXPECT_EQ(CurrentDirNumber, 0);

  // Recall enters and leaves the recycle view; it empties the selection.
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 1);
  emu::PressKey(RKEY_Recall);
  EXPECT_EQ(recycleWindowMode, 1);
  EXPECT_EQ(MultiSelectCount(), 0);
  emu::PressKey(RKEY_Green);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine1, "Empty Recycle Bin for ALL directories.");
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Recall);
  EXPECT_EQ(recycleWindowMode, 0);
}

TEST_F(BrowseTest, FileSuffixKeyCyclesTheFilter) {
  FileSuffixKey = RKEY_Teletext;
  OpenList();
  ASSERT_EQ(tempFileSuffixOption, 0);
  emu::PressKey(RKEY_Teletext);
  EXPECT_EQ(tempFileSuffixOption, 1);
  emu::PressKey(RKEY_Teletext);
  emu::PressKey(RKEY_Teletext);
  EXPECT_EQ(tempFileSuffixOption, 0);
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::PressKey(RKEY_Teletext);
  EXPECT_EQ(tempFileSuffixOption, 0);
  EXPECT_STREQ(lastMessageTitle, "Multi-Select Not Available");
  EXPECT_STREQ(lastMessageLine2, "when changing file suffix filter");
}

TEST_F(BrowseTest, HelpPagesTakeEveryKeyUntilClosed) {
  OpenList();
  emu::PressKey(RKEY_AudioTrk);
  ASSERT_EQ(quembryHelpWindowShowing, 1);
  int before = chosenLine;
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenLine, before);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  EXPECT_EQ(windowShowing, 1);  // Exit closed the page, not the list
  StatusScreenKey = RKEY_Sat;
  emu::PressKey(RKEY_AudioTrk);
  emu::HoldKey(RKEY_Sat);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  // A page whose list was closed and opened again under it is forgotten.
  emu::PressKey(RKEY_AudioTrk);
  ASSERT_EQ(quembryHelpWindowShowing, 1);
  exitFlag = 1;
  CheckFlags();
  OpenList();
  emu::PressKey(RKEY_ChUp);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  EXPECT_EQ(lastKeyHandler, std::string("QuembryWindowKeyHandler"));
}

TEST_F(BrowseTest, ProgressKeyMarksWatchedThenClears) {
  OpenList();
  SelectByKeys("Show 07.rec");
  FileRecord* line = Line(chosenLine);
  ASSERT_EQ(line->hasHistory, 0u);
  emu::PressKey(RKEY_Prev);  // the default progress key
  EXPECT_EQ(line->hasHistory, 1u);
  EXPECT_EQ(line->positionBlock, 1u);
  EXPECT_EQ(line->totalBlocks, 1u);
  ASSERT_NE(History("Show 07.rec"), nullptr);
  EXPECT_NE(HistoryFile().find("\t1\t1\tShow 07.rec\r\n"), std::string::npos);
  // From exactly the watched percentage on, the line looks fully watched.
  auto row = [&](dword position, dword total) {
    line->positionBlock = position;
    line->totalBlocks = total;
    DisplayQuembryLine(chosenLine, printLine);
    TAP_Osd_Sync();
    const std::vector<uint32_t>& frame = emu::Frame();
    return std::vector<uint32_t>(frame.begin() + RowTop(printLine) * 720,
                                 frame.begin() + RowTop(printLine + 1) * 720);
  };
  std::vector<uint32_t> watched = row(1, 1);
  EXPECT_EQ(row(95, 100), watched);
  EXPECT_NE(row(94, 100), watched);
  row(1, 1);
  // Cleared, the progress goes; the file stays the one played last.
  ASSERT_NE(playedFiles[0], nullptr);
  playedFiles[0]->inode = line->inode;
  strcpy(playedFiles[0]->name, "Show 07.rec");
  emu::PressKey(RKEY_Prev);
  EXPECT_EQ(line->hasHistory, 0u);
  EXPECT_EQ(History("Show 07.rec"), nullptr);
  EXPECT_STREQ(playedFiles[0]->name, "Show 07.rec");
  std::string file = HistoryFile();
  EXPECT_NE(file.find("Show 07.rec"), std::string::npos);          // as the last played
  EXPECT_EQ(file.find("Show 07.rec"), file.rfind("Show 07.rec"));  // and only so
}

TEST_F(BrowseTest, RestartLastKeyNeedsARealLastEntry) {
  OpenList();
  emu::PressKey(RKEY_Slow);
  EXPECT_STREQ(lastMessageTitle, "No Last Playback File");
  EXPECT_EQ(windowShowing, 1);
  // After a playback the key plays it again where it stopped.
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Gamma.rec");
  emu::PressKey(RKEY_Play);
  emu::Wait(4);
  emu::PressKey(RKEY_Stop);
  emu::Idle(1);
  dword saved = playedFiles[0]->positionBlock;
  ASSERT_EQ(saved, 200u);
  OpenList();
  GotoPath("/DataFiles/Series");  // the search starts at /DataFiles whatever the folder
  emu::PressKey(RKEY_Slow);
  EXPECT_EQ(windowShowing, 0);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Movies/Gamma.rec");
  EXPECT_EQ(Play().currentBlock, saved - 60);
}

}  // namespace

namespace {

class RecycleViewTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    BrowseTest::BuildDisk();
    ASSERT_TRUE(disk->Recycle("/DataFiles/Show 01.rec"));
    ASSERT_TRUE(disk->Recycle("/DataFiles/Show 02.rec"));
  }
};

TEST_F(RecycleViewTest, KeysOfTheRecycleView) {
  OpenList();
  emu::PressKey(RKEY_Recall);
  ASSERT_EQ(recycleWindowMode, 1);
  int entry = Find("Show 01.rec.del");
  ASSERT_GT(entry, 0);
  while (chosenLine != entry) emu::PressKey(RKEY_ChDown);
  emu::PressKey(RKEY_Ok);  // a file: nothing
  emu::PressKey(RKEY_Play);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(windowShowing, 1);
  emu::ReleaseKey(RKEY_Red);  // no selection in this view
  EXPECT_EQ(MultiSelectCount(), 0);
  // Red restores the file with its companions; its line goes.
  emu::PressKey(RKEY_Red);
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 01.rec"));
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 01.rec.inf"));
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 01.rec.nav"));
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 01.rec.del"));
  EXPECT_EQ(Find("Show 01.rec.del"), 0);
  // Blue deletes the recycled file for good, without asking.
  SelectByKeys("Show 02.rec.del");
  int shown = messageCount;
  emu::PressKey(RKEY_Blue);
  EXPECT_EQ(messageCount, shown);
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 02.rec.del"));
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 02.rec.inf.del"));
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 02.rec.nav.del"));
  EXPECT_EQ(Find("Show 02.rec.del"), 0);
  emu::PressKey(RKEY_Yellow);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine1, "Empty Recycle Bin for THIS directory.");
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Option);
  EXPECT_EQ(allrecycleWindowShowing, 1);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(allrecycleWindowShowing, 0);
  emu::PressKey(RKEY_AudioTrk);
  EXPECT_EQ(quembryHelpWindowShowing, 1);
  emu::PressKey(RKEY_AudioTrk);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  // Ok on a folder opens it.
  chosenLine = printLine = Find("Movies");
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
}

TEST_F(BrowseTest, ManagerViewStartsApplicationsInsteadOfPlaying) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  TAPManagerMode = 1;
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(lastMessageLine2, "when stopping/starting a TAP");
  EXPECT_FALSE(emu::IsPlaying());
  MultiSelectClearAll();
  SelectByKeys("Show 02.rec");
  emu::PressKey(RKEY_Play);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(TAPManager_closeFirst, 1);
  // A file that is no application is never started.
  EXPECT_STREQ(lastMessageTitle, "Starting TAP Failed");
  EXPECT_STREQ(lastMessageLine2, "Show 02.rec");
  EXPECT_EQ(TAPManager_multistep, 0);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(TAPManager_closeFirst, 0);
  // The long Info press opens the info window in this view.
  emu::HoldKey(RKEY_Info);
  EXPECT_EQ(infoWindowShowing, 1);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(infoWindowShowing, 0);
  TAPManagerMode = 0;
}

}  // namespace
