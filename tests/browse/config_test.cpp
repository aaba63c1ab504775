// The configuration menus driven with the remote: a setting of each menu
// changed, saved to Skerrowby.ini and in force; the navigation's edge cases;
// leaving without saving, stopping, TSR Commander's route; a restart keeping
// what was saved; and the look of every menu and of the credits.
#include <stdlib.h>

#include <sstream>
#include <vector>

#include "BrowseFixture.h"
#include "app/keys.h"
#include "config/ConfigMenu.h"
#include "config/Configuration.h"
#include "snapshot.h"
#include "ui/Dialogs.h"
#include "ui/FirmwareCheck.h"
#include "ui/ListScreen.h"

namespace {

class ConfigTest : public BrowseTest {
 protected:
  void Open() {
    OpenList();
    emu::PressKey(RKEY_Menu);
    ASSERT_EQ(configWindowShowing, 1);
    ASSERT_EQ(menuNumber, 1);
  }
  // Opens menu 2 .. 9 from the main menu by its digit and Ok.
  void Enter(int mainLine) {
    ASSERT_EQ(menuNumber, 1);
    emu::PressKey(RKEY_0 + (dword)mainLine);
    emu::PressKey(RKEY_Ok);
    ASSERT_EQ(menuNumber, mainLine + 1);
    ASSERT_EQ(chosenConfigLine, 1);
  }
  void Go(int line) {
    while (chosenConfigLine != line && chosenConfigLine <= menuOptions) {
      emu::PressKey(line > chosenConfigLine ? RKEY_ChDown : RKEY_ChUp);
    }
  }
  void Press(dword key, int times = 1) {
    for (int i = 0; i < times; i++) emu::PressKey(key);
  }
  // Record saves and closes; the list is back.
  void Save() {
    emu::PressKey(RKEY_Record);
    ASSERT_EQ(configWindowShowing, 0);
    ASSERT_EQ(windowShowing, 1);
  }
  std::string IniText() {
    return testenv::ReadFile(HostPath("/ProgramFiles/Settings/Pavrolinex/" INI_FILE_NAME));
  }
  // Line `n` (from 1) of the settings file as a number.
  int Ini(int n) {
    std::istringstream in(IniText());
    std::string line;
    for (int i = 1; i <= n && std::getline(in, line); i++) {
    }
    return atoi(line.c_str());
  }
  // The brightest grey of the clock's field.
  int ClockBrightness() {
    const std::vector<uint32_t>& frame = emu::Frame();
    int brightest = 0;
    for (int y = 40; y < 60; y++) {
      for (int x = 600; x < 668; x++) {
        int green = (int)((frame[(size_t)y * 720 + (size_t)x] >> 8) & 0xFF);
        if (green > brightest) brightest = green;
      }
    }
    return brightest;
  }
  // The pixels of a visible line's value field.
  std::vector<uint32_t> ValueField(int line) {
    const std::vector<uint32_t>& frame = emu::Frame();
    std::vector<uint32_t> field;
    int top = 42 * (line - configTopLine + 1) + 28;
    for (int y = top; y < top + 39; y++)
      field.insert(field.end(), frame.begin() + y * OSD_WIDTH + 352,
                   frame.begin() + y * OSD_WIDTH + 665);
    return field;
  }
  void ExpectScreen(const char* reference) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(reference, &message)) << message;
  }
};

TEST_F(ConfigTest, FirstTimeLanguageAndOffsetInTheFileAndTheKeyNames) {
  Open();
  Enter(1);
  emu::PressKey(RKEY_VolUp);  // English -> German
  Go(3);
  emu::PressKey(RKEY_VolUp);  // +600 -> +630 minutes
  EXPECT_EQ(currentGMToffsetOption, 630);
  EXPECT_EQ(TextLanguage, 0);  // nothing in force before the save
  Save();
  EXPECT_EQ(Ini(60), 1);
  EXPECT_EQ(Ini(3), 630 + 720);
  EXPECT_EQ(GMToffsetOption, 630);
  EXPECT_STREQ(GetButtonText(&localKeyCodes, RKEY_Red), "Rot");
}

TEST_F(ConfigTest, GeneralStopReturnsToTheListAfterItsDelay) {
  Open();
  Enter(2);
  Go(2);
  emu::PressKey(RKEY_VolUp);  // live TV -> back to the list
  Go(3);
  emu::PressKey(RKEY_Ok);  // no delay -> 100 ms
  Save();
  EXPECT_EQ(Ini(24), 1);
  EXPECT_EQ(Ini(33), 10);
  SelectByKeys("Show 03.rec");
  emu::PressKey(RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  ASSERT_EQ(windowShowing, 0);
  emu::Wait(2);
  dword before = emu::Ticks();
  emu::PressKey(RKEY_Stop);
  EXPECT_GE(emu::Ticks() - before, 10u);
  emu::Idle(3);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(ConfigTest, KeysAUserExitKeyClosesTheList) {
  Open();
  Enter(3);
  Go(11);
  emu::PressKey(RKEY_VolDown);  // none -> the last of the list, Undefined
  EXPECT_EQ(currentUserExitKey1, (int)RKEY_Undefined);
  Press(RKEY_VolUp, 2);  // Undefined -> Mute (wraps) -> UHF
  EXPECT_EQ(currentUserExitKey1, (int)RKEY_Uhf);
  Save();
  EXPECT_EQ(Ini(51), (int)RKEY_Uhf);
  EXPECT_EQ(emu::PressKey(RKEY_Uhf), 0u);
  EXPECT_EQ(windowShowing, 0);
}

TEST_F(ConfigTest, ColumnsDefaultsAndADateFormatReshapeTheList) {
  Open();
  Enter(4);
  Go(4);
  std::vector<uint32_t> shown = ValueField(4);
  emu::PressKey(RKEY_VolUp);  // the last option wraps to the first, shown at once
  ASSERT_EQ(currentColumn4Option, 0);
  EXPECT_NE(ValueField(4), shown);
  Go(16);
  emu::PressKey(RKEY_Ok);  // small spacing
  EXPECT_EQ(currentColumn4Option, 7);
  EXPECT_EQ(currentColumn1Option, 1);
  EXPECT_EQ(currentLineSpacingOption, 1);
  Go(15);
  std::vector<uint32_t> font = ValueField(14);
  Go(14);
  emu::PressKey(RKEY_VolUp);  // column 5 in another font
  Go(15);
  EXPECT_NE(ValueField(14), font);
  emu::PressKey(RKEY_VolUp);  // only Ok resets
  EXPECT_EQ(currentLineSpacingOption, 1);
  emu::PressKey(RKEY_Ok);  // large spacing
  EXPECT_STREQ(lastMessageTitle, "Column Defaults Reset");
  EXPECT_EQ(ValueField(14), font);  // the menu shows the defaults at once
  EXPECT_EQ(currentLineSpacingOption, 0);
  EXPECT_EQ(menuNumber, 5);
  Go(3);
  Press(RKEY_VolUp, 2);  // "DD/MM"
  Save();
  EXPECT_EQ(Ini(5), 0);
  EXPECT_EQ(Ini(7), 2);
  EXPECT_EQ(Ini(8), 0);
  EXPECT_EQ(Ini(43), 0);
  EXPECT_EQ(Ini(48), 0);
  EXPECT_EQ(LinesPerPage(), 9);
  EXPECT_EQ(column3Width, 57);
}

TEST_F(ConfigTest, DisplayExtraLineAndTwelveHourClock) {
  Open();
  Enter(5);
  Go(6);
  emu::PressKey(RKEY_Ok);
  Go(15);
  emu::PressKey(RKEY_VolDown);
  Go(16);
  int infoTime24Hour = InfoTime24Hour;
  emu::PressKey(RKEY_VolUp);  // a two-way choice turns either way
  // The sample of the scrolling speed shows only while names scroll.
  Go(19);
  Press(RKEY_VolDown, 10);
  ASSERT_EQ(currentScrollDelay, 0);
  std::vector<uint32_t> still = ValueField(19);
  emu::PressKey(RKEY_VolDown);  // the slowest
  std::vector<uint32_t> slowest = ValueField(19);
  emu::Idle(100);
  EXPECT_NE(ValueField(19), slowest);
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(ValueField(19), still);
  Save();
  EXPECT_EQ(Ini(44), 1);
  EXPECT_EQ(Ini(49), 1);
  EXPECT_EQ(InfoTime24Hour, 1 - infoTime24Hour);
  EXPECT_EQ(LinesPerPage(), 15);
  EXPECT_EQ(yOffsetOption, 18);
}

TEST_F(ConfigTest, SortReverseDateReordersTheList) {
  Open();
  emu::PressKey(RKEY_Exit);
  bool oneBeforeTwenty = Find("Show 01.rec") < Find("Show 20.rec");
  emu::PressKey(RKEY_Menu);
  Enter(6);
  emu::PressKey(RKEY_VolDown);  // date -> reverse date
  Go(8);
  emu::PressKey(RKEY_Ok);  // hide reverse date from the Pause cycle
  Save();
  EXPECT_EQ(Ini(11), 5);
  EXPECT_EQ(Ini(70), 1);
  EXPECT_NE(Find("Show 01.rec") < Find("Show 20.rec"), oneBeforeTwenty);
}

TEST_F(ConfigTest, ColoursTheClockTakesItsColourAtOnce) {
  Open();
  int dark = ClockBrightness();
  Enter(7);
  EXPECT_EQ(ClockBrightness(), dark);
  Go(5);
  emu::PressKey(RKEY_VolDown);  // dark grey -> white
  EXPECT_GT(ClockBrightness(), dark + 100);
  Save();
  EXPECT_EQ(Ini(31), 3);
  EXPECT_GT(ClockBrightness(), dark + 100);
}

TEST_F(ConfigTest, RecycleWithoutPromptRecyclesOnBlue) {
  Open();
  Enter(8);
  Press(RKEY_VolUp, 2);
  Save();
  EXPECT_EQ(Ini(19), 2);
  SelectByKeys("Show 05.rec");
  emu::PressKey(RKEY_Blue);
  emu::Idle(2);
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_TRUE(testenv::Exists(HostPath("/DataFiles/Show 05.rec.del")));
}

TEST_F(ConfigTest, ActionsRunOnOkAndScreensReturnToTheMainMenu) {
  Open();
  std::string ini = IniText();
  emu::PressKey(RKEY_0);  // the actions menu at once
  ASSERT_EQ(menuNumber, 10);
  emu::PressKey(RKEY_Ok);  // emptying the bin asks first
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Empty Recycle Bin");
  emu::PressKey(RKEY_Exit);
  Go(2);
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(lastMessageTitle, "All 'new' Flags Cleared.");
  Go(3);
  int messages = messageCount;
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(messageCount, messages);
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(lastMessageTitle, "All Progress Info Cleared.");
  Go(4);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(checkFirmwareDatShowing, 1);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(checkFirmwareDatShowing, 0);
  EXPECT_EQ(menuNumber, 1);
  EXPECT_EQ(chosenConfigLine, 9);
  emu::PressKey(RKEY_Info);
  EXPECT_EQ(creditsShowing, 1);
  EXPECT_EQ(emu::PressKey(RKEY_Stop), 0u);  // consumed
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(creditsShowing, 0);
  EXPECT_EQ(configWindowShowing, 1);
  EXPECT_EQ(chosenConfigLine, 9);  // where the credits were opened
  Press(RKEY_0, 2);                // actions, then its line 5
  EXPECT_EQ(chosenConfigLine, 5);
  EXPECT_EQ(MessageWindowShowing, 1);
  emu::PressKey(RKEY_Ok);
  Save();
  EXPECT_EQ(IniText(), ini);

  // In German the confirmations come in the firmware's single-byte text, as
  // every other German text; "LOADING..." while a changed filter reloads
  // the list is German too (the last frame shown before the reload).
  TextLanguage = 1;
  ClearLastViewFlags();
  EXPECT_STREQ(lastMessageTitle, "Alle 'Neu'-Markierungen gel\xF6scht.");
  EXPECT_STREQ(lastMessageLine2, "f\xFCr alle Dateien entfernt.");
  DeletePlayData();
  EXPECT_STREQ(lastMessageTitle, "Alle Fortschritte gel\xF6scht.");
  EXPECT_STREQ(lastMessageLine2, "f\xFCr alle Aufnahmen.");
  // So is the reload of a media folder linked in or taken away, which starts
  // again in /DataFiles.
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles/Movies");
  for (int* setting : {&currentFileSuffixOption, &currentLinkMediaFiles}) {
    CopyConfiguration();
    *setting = 1 - *setting;
    TAP_Osd_FillBox(rgn, 53, (dword)yOffsetOption - 1, 448, 28, 0xFF101010);
    SaveConfiguration();
    std::vector<uint32_t> shown = emu::Frame();
    PrintCenter(rgn, 53, (dword)yOffsetOption, 501, "LADEN...", 0xFFE6E6FA, 0xFF101010, 18);
    TAP_Osd_Sync();
    for (int y = yOffsetOption - 1; y < yOffsetOption + 27; y++)
      for (int x = 53; x < 501; x++)
        ASSERT_EQ(shown[y * OSD_WIDTH + x], emu::Frame()[y * OSD_WIDTH + x]) << x << "," << y;
  }
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  char current[PATH_BUFFER_SIZE];
  ASSERT_TRUE(HDD_TAP_GetCurrentDir(current));
  EXPECT_STREQ(current, "/DataFiles");
}

// The navigation of the menus at their edges, and values past their range.
TEST_F(ConfigTest, EdgesOfTheMenus) {
  StopPlaybackOption = 7;  // as a hand-edited file may give it
  Open();
  Enter(2);
  // The arrow beside the top line shows whenever lines are hidden above.
  auto upArrow = [] { return snapshot::Crop(675, 70, 40, 130); };
  emu::PressKey(RKEY_ChUp);
  EXPECT_EQ(chosenConfigLine, 22);
  EXPECT_EQ(configTopLine, 15);
  std::vector<uint32_t> shown = upArrow();
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenConfigLine, 1);
  EXPECT_EQ(configTopLine, 1);
  EXPECT_TRUE(upArrow() != shown);
  emu::PressKey(RKEY_Forward);
  EXPECT_EQ(chosenConfigLine, 9);
  EXPECT_EQ(configTopLine, 2);
  EXPECT_TRUE(upArrow() == shown);
  emu::PressKey(RKEY_Rewind);
  emu::PressKey(RKEY_Rewind);
  EXPECT_EQ(chosenConfigLine, 1);
  EXPECT_EQ(emu::PressKey(RKEY_2), 0u);  // a digit is the menu's, not the firmware's
  emu::PressKey(RKEY_ChUp);              // only the first line wraps
  EXPECT_EQ(chosenConfigLine, 1);
  emu::PressKey(RKEY_9);  // beyond the page of eight
  EXPECT_EQ(chosenConfigLine, 8);
  EXPECT_EQ(configTopLine, 1);
  Go(2);
  emu::PressKey(RKEY_VolDown);  // out of range: moves down
  EXPECT_EQ(currentStopPlaybackOption, 6);
  emu::PressKey(RKEY_VolUp);  // and up
  EXPECT_EQ(currentStopPlaybackOption, 7);
  Go(4);  // MovieCutter never changes
  Press(RKEY_VolUp, 2);
  emu::PressKey(RKEY_VolDown);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(currentMovieCutterOption, 0);
  emu::PressKey(RKEY_Menu);
  EXPECT_EQ(chosenConfigLine, 2);

  Enter(3);
  emu::PressKey(RKEY_ChUp);
  ASSERT_EQ(configTopLine, 15);
  emu::PressKey(RKEY_1);
  EXPECT_EQ(chosenConfigLine, 15);
  emu::PressKey(RKEY_8);
  EXPECT_EQ(chosenConfigLine, 22);
  emu::PressKey(RKEY_1);
  emu::PressKey(RKEY_9);
  EXPECT_EQ(chosenConfigLine, 22);
  emu::PressKey(RKEY_Exit);

  Enter(1);
  emu::PressKey(RKEY_9);
  EXPECT_EQ(chosenConfigLine, 3);
  currentGMToffsetOption = -721;  // one below the first value: Right starts at the first
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(currentGMToffsetOption, -720);
  emu::PressKey(RKEY_Info);  // the credits lead back to the main menu's line of this menu
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(menuNumber, 1);
  EXPECT_EQ(chosenConfigLine, 1);

  Enter(5);
  currentCompletelyWatchedPercent = 80;
  Go(12);
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(currentCompletelyWatchedPercent, 100);
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(currentCompletelyWatchedPercent, 80);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(menuNumber, 1);
  EXPECT_EQ(chosenConfigLine, 5);
  EXPECT_EQ(currentCompletelyWatchedPercent, 80);  // kept until saved or discarded
  EXPECT_EQ(CompletelyWatchedPercent, 95);
  // Firmware keys go through; others, held and released reports are consumed.
  EXPECT_EQ(emu::PressKey(RKEY_Mute), (dword)RKEY_Mute);
  EXPECT_EQ(emu::PressKey(RKEY_Green), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Menu | RKEY_FLAG_RELEASED), 0u);
  EXPECT_EQ(configWindowShowing, 1);
}

TEST_F(ConfigTest, ExitDiscardsAndTheNextOpeningCopiesAgain) {
  Open();
  std::string ini = IniText();
  Enter(6);
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(currentSortOrderOption, 1);
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(configWindowShowing, 0);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(sortOrderOption, 0);
  EXPECT_EQ(IniText(), ini);
  emu::PressKey(RKEY_Menu);
  EXPECT_EQ(currentSortOrderOption, 0);
  // The menu-exit key leaves from any menu, and also discards.
  Enter(6);
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(configWindowShowing, 0);
  EXPECT_EQ(sortOrderOption, 0);
  EXPECT_EQ(IniText(), ini);
  // The main menu's last two lines: leave without saving, save and leave.
  for (int line : {12, 13}) {
    ASSERT_EQ(windowShowing, 1);
    emu::PressKey(RKEY_Menu);
    Enter(6);
    emu::PressKey(RKEY_VolUp);
    emu::PressKey(RKEY_Exit);
    Go(line);
    emu::PressKey(RKEY_Ok);
    EXPECT_EQ(configWindowShowing, 0) << line;
    EXPECT_EQ(sortOrderOption, line == 13 ? 1 : 0);
  }
  EXPECT_EQ(Ini(11), 1);
}

TEST_F(ConfigTest, StopTapUnloadsTheApplication) {
  Open();
  emu::PressKey(RKEY_ChUp);
  emu::PressKey(RKEY_ChUp);
  emu::PressKey(RKEY_ChUp);
  ASSERT_EQ(chosenConfigLine, 11);
  emu::PressKey(RKEY_Ok);
  EXPECT_FALSE(emu::IsRunning(index_));
  // The Stop key does the same from any menu.
  emu::Shutdown(1);
  ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
  index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
  ASSERT_GE(index_, 0);
  Open();
  Enter(6);
  emu::PressKey(RKEY_Stop);
  EXPECT_FALSE(emu::IsRunning(index_));
}

// TSR Commander loaded from AutoStart before Pavrolinex: Exit held opens its
// menu, Ok calls Pavrolinex's exported configuration dialog.
class TsrConfigTest : public ConfigTest {
 protected:
  void BuildDisk() override {
    ConfigTest::BuildDisk();
    ASSERT_TRUE(testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/TSRCommander.tap"),
                                   testenv::ReadFile(PVR_PEER_DIR "/TSRCommander.tap")));
    ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();
  }
};

TEST_F(TsrConfigTest, SavedFromTsrCommanderBackToNormalViewingAndAfterARestart) {
  emu::PressKey(RKEY_Exit | RKEY_FLAG_HELD);
  emu::PressKey(RKEY_Ok);
  ASSERT_EQ(configWindowShowing, 1);
  EXPECT_EQ(CalledByTSRCommander, 1);
  EXPECT_EQ(emu::NetOutput().find("(event)"), std::string::npos) << emu::NetOutput();
  EXPECT_FALSE(emu::InNormalMode());
  Enter(6);
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Menu);  // in the main menu: save and close
  EXPECT_EQ(configWindowShowing, 0);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_TRUE(emu::InNormalMode());
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_EQ(Ini(11), 1);

  emu::Shutdown(1);
  sortOrderOption = currentSortOrderOption = 0;
  ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
  index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
  ASSERT_GE(index_, 0);
  EXPECT_EQ(sortOrderOption, 1);
  Open();
  EXPECT_EQ(currentSortOrderOption, 1);
}

TEST_F(ConfigTest, EveryMenuAndTheCredits) {
  StopPlaybackOption = 9;  // shows as an invalid value
  Open();
  ExpectScreen("config-main");
  const char* names[9] = {"first-time", "general", "keys",    "columns", "display",
                          "sort",       "colours", "recycle", "actions"};
  for (int m = 1; m <= 9; m++) {
    if (m < 9) {
      Enter(m);
    } else {
      emu::PressKey(RKEY_0);
    }
    if (m == 2) emu::PressKey(RKEY_2);
    ExpectScreen((std::string("config-") + names[m - 1]).c_str());
    emu::PressKey(RKEY_Exit);
  }
  emu::PressKey(RKEY_Info);
  ExpectScreen("config-credits");
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Exit);
  TextLanguage = 1;
  emu::PressKey(RKEY_Menu);
  Enter(5);
  emu::PressKey(RKEY_ChUp);
  ExpectScreen("config-german");
}

}  // namespace
