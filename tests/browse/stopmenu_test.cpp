// The stop menu during playback: its ten actions, the keys it keeps while
// open, the sequences of firmware keys it sends, and its look.
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "BrowseFixture.h"
#include "actions/texts.h"
#include "snapshot.h"
#include "testenv.h"
#include "ui/Dialogs.h"

namespace {

class StopMenuTest : public BrowseTest {
 protected:
  void SetUp() override {
    BrowseTest::SetUp();
    if (HasFatalFailure()) return;
    StopPlaybackOption = 2;
  }
  // Plays `name` of /DataFiles/Movies from the list for `seconds`, then
  // opens the menu with Stop: the banner goes, playback pauses, the menu
  // opens, one idle event each.
  // Movies/Beta.rec recorded in slot 0 and played, the stop menu open.
  void PlayBetaWhileRecording() {
    TYPE_RecInfo rec;
    memset(&rec, 0, sizeof rec);
    rec.recType = RECTYPE_Normal;
    strcpy(rec.fileName, "Beta.rec");
    ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/Movies/Beta.rec"));
    PlayAndOpen("Beta.rec");
  }

  void PlayAndOpen(const char* name, double seconds = 4) {
    OpenList();
    if (CurrentDirNumber == 0) {
      SelectByKeys("Movies");
      emu::PressKey(RKEY_Ok);
    }
    SelectByKeys(name);
    emu::PressKey(RKEY_Ok);
    ASSERT_TRUE(emu::IsPlaying());
    emu::Wait(seconds);
    ASSERT_EQ(emu::PressKey(RKEY_Stop), 0u);
    emu::Idle(5);
    ASSERT_EQ(stopmenuWindowShowing, 1);
    ASSERT_EQ(STOP_MENU_multistep, 0);
    ASSERT_TRUE(emu::PlaybackPaused());
  }
  // The keys the firmware received since `from`.
  std::vector<dword> FirmwareSince(size_t from) {
    std::vector<dword> keys = emu::KeysGivenToFirmware();
    return std::vector<dword>(keys.begin() + (long)std::min(from, keys.size()), keys.end());
  }
  uint32_t HeaderWord(const std::string& path, size_t offset) {
    std::string header = testenv::ReadFile(HostPath(path + ".inf"));
    uint32_t value = 0;
    if (header.size() >= offset + 4) memcpy(&value, header.data() + offset, 4);
    return value;
  }
  // The menu's frame and panel are on the screen a user sees.
  bool MenuOnScreen() {
    const std::vector<uint32_t>& frame = emu::Frame();
    return frame[98 * OSD_WIDTH + 123] == 0xFFFFFFFFu &&
           frame[101 * OSD_WIDTH + 126] == 0xFF1E1E1Eu;
  }
};

TEST_F(StopMenuTest, TheMenuKeepsItsKeysAndPausesMutesAndContinues) {
  PlayAndOpen("Alpha.rec");
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("stopmenu", &message)) << message;
  EXPECT_FALSE(emu::InNormalMode());

  // Navigation wraps at both ends; other keys are consumed.
  EXPECT_EQ(emu::PressKey(RKEY_ChUp), 0u);
  EXPECT_EQ(chosenStopMenuLine, 10);
  EXPECT_EQ(emu::PressKey(RKEY_ChDown), 0u);
  EXPECT_EQ(chosenStopMenuLine, 1);
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(chosenStopMenuLine, 10);
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(chosenStopMenuLine, 1);
  EXPECT_EQ(emu::PressKey(RKEY_Info), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Option5), (dword)RKEY_Option5);

  // Mute and Pause go to the firmware through a sequence; the menu stays,
  // and keys arriving meanwhile are not the menu's.
  emu::PressKey(RKEY_Mute);
  EXPECT_EQ(emu::PressKey(RKEY_ChDown), (dword)RKEY_ChDown);
  emu::Idle(3);
  EXPECT_TRUE(emu::Muted());
  emu::PressKey(RKEY_Pause);
  emu::Idle(3);
  EXPECT_FALSE(emu::PlaybackPaused());
  EXPECT_EQ(stopmenuWindowShowing, 1);
  EXPECT_FALSE(emu::InNormalMode());
  emu::PressKey(RKEY_Pause);
  emu::Idle(3);
  EXPECT_TRUE(emu::PlaybackPaused());

  // Continue (Exit) closes the menu and resumes; the menu leaves the screen.
  EXPECT_TRUE(MenuOnScreen());
  emu::PressKey(RKEY_Exit);
  emu::Idle(3);
  EXPECT_FALSE(MenuOnScreen());
  EXPECT_EQ(stopmenuWindowShowing, 0);
  EXPECT_EQ(rgn, NO_REGION);
  EXPECT_TRUE(emu::InNormalMode());
  EXPECT_TRUE(emu::IsPlaying());
  EXPECT_FALSE(emu::PlaybackPaused());
  EXPECT_EQ(windowShowing, 0);
}

// Stop and at once File List, before an idle event could show the menu: the
// list opens, and the menu asked for by Stop does not come up over it; Exit
// closes the list and the recorder is back in normal viewing.
TEST_F(StopMenuTest, FileListRightAfterStopOpensTheListAlone) {
  OpenList();
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  emu::Wait(2);
  ASSERT_EQ(emu::PressKey(RKEY_Stop), 0u);
  emu::PressKey(RKEY_PlayList);
  emu::Idle(5);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(stopmenuWindowShowing, 0);
  emu::PressKey(RKEY_Exit);
  emu::Idle(5);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(stopmenuWindowShowing, 0);
  EXPECT_TRUE(emu::InNormalMode());
}

TEST_F(StopMenuTest, EachActionDuringPlaybackOfARecording) {
  // 1: Stop ends the playback; the position is in the viewing history.
  PlayAndOpen("Alpha.rec");
  dword at = Play().currentBlock;
  EXPECT_GT(at, 100u);
  emu::PressKey(RKEY_Stop);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(stopmenuWindowShowing, 0);
  emu::Idle(2);
  ASSERT_NE(History("Alpha.rec"), nullptr);
  EXPECT_EQ(History("Alpha.rec")->positionBlock, at);
  EXPECT_EQ(windowShowing, 0);

  // 6: the bookmark lands in the header, then playback stops.
  PlayAndOpen("Beta.rec");
  at = Play().currentBlock;
  emu::PressKey(RKEY_Green);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(HeaderWord("/DataFiles/Movies/Beta.rec", 1412), 1u);
  EXPECT_EQ(HeaderWord("/DataFiles/Movies/Beta.rec", 1416), at);

  // 2: stop and show the list at the played file's folder, shown elsewhere.
  PlayAndOpen("Gamma.rec");
  ASSERT_TRUE(GotoPath("/DataFiles"));
  SetCurrentDir("/DataFiles");
  CurrentDirNumber = 0;
  emu::PressKey(RKEY_PlayList);
  EXPECT_FALSE(emu::IsPlaying());
  emu::Idle(1);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
  EXPECT_STREQ(SelectedName(), "Gamma.rec");
  emu::PressKey(RKEY_Exit);

  // 9: the list without stopping.
  PlayAndOpen("Alpha.rec");
  emu::PressKey(RKEY_Slow);
  emu::Idle(1);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_STREQ(SelectedName(), "Alpha.rec");
  EXPECT_TRUE(emu::IsPlaying());
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Stop);  // Stop with the list hidden opens the menu again
  emu::Idle(5);
  ASSERT_EQ(stopmenuWindowShowing, 1);

  // 3: delete through the list, asking first; the playback is not stopped.
  emu::PressKey(RKEY_Blue);
  EXPECT_TRUE(emu::IsPlaying());
  emu::Idle(2);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_EQ(deleteWindowShowing, 1);
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Exit);
  // From here on the firmware names no played file: the menu takes it to lie
  // in the folder the list showed, and the follow-ups still find it.
  emu::RemoveSymbol("_hddPlayFile");
  emu::PressKey(RKEY_Stop);  // the list is hidden, the file still plays
  emu::Idle(5);
  ASSERT_EQ(stopmenuWindowShowing, 1);

  // 5: stop and move through the list.
  emu::PressKey(RKEY_Yellow);
  EXPECT_FALSE(emu::IsPlaying());
  emu::Idle(2);
  EXPECT_EQ(moveWindowShowing, 1);
  EXPECT_STREQ(SelectedName(), "Alpha.rec");
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_Exit);

  // 4: stop and rename through the list.
  PlayAndOpen("Beta.rec");
  emu::PressKey(RKEY_Option);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(activateReturnToQuembryList_fromStopMenu, 3);
  EXPECT_STREQ(filename_toProcess, "Beta.rec");
  emu::Idle(2);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_STREQ(SelectedName(), "Beta.rec");
  // The rename took it from there: neither refused for a playing file nor
  // missing its line.
  EXPECT_STRNE(lastMessageTitle, Text(text_RenameNotAllowed));
  EXPECT_STRNE(lastMessageTitle, Text(text_RenameFailedTitle));
}

TEST_F(StopMenuTest, TrimmingSendsItsKeysThroughTheBanner) {
  // 7 and 8: the menu closes, playback resumes, the banner comes with Play
  // and takes the edit keys; without MovieCutter the trims are the firmware's.
  for (dword entryKey : {(dword)RKEY_Prev, (dword)RKEY_Next}) {
    PlayAndOpen("Alpha.rec", 2);
    EXPECT_NE(chosenStopMenuLine, 0);
    size_t before = emu::KeysGivenToFirmware().size();
    emu::PressKey(entryKey);
    emu::Idle(8);
    EXPECT_EQ(stopmenuWindowShowing, 0);
    EXPECT_FALSE(MenuOnScreen());
    EXPECT_EQ(STOP_MENU_multistep, 0);
    dword side = entryKey == (dword)RKEY_Prev ? (dword)RKEY_Prev : (dword)RKEY_Next;
    EXPECT_EQ(FirmwareSince(before),
              (std::vector<dword>{RKEY_Pause, RKEY_Play, RKEY_Pause, RKEY_Ab, side, RKEY_Blue}));
    TAP_Hdd_StopTs();
    emu::Idle(1);
  }
  // A banner that is gone ends the sequence at that step.
  PlayAndOpen("Alpha.rec", 2);
  emu::PressKey(RKEY_Prev);
  emu::Idle(2);  // closed and resumed, Play sent
  emu::SetState(STATE_Normal, SUBSTATE_Normal);
  size_t before = emu::KeysGivenToFirmware().size();
  emu::Idle(3);
  EXPECT_EQ(STOP_MENU_multistep, 0);
  EXPECT_TRUE(FirmwareSince(before).empty());
}

TEST_F(StopMenuTest, StoppingThePlaybackOfARecordingInProgress) {
  PlayBetaWhileRecording();
  dword at = Play().currentBlock;
  // 6 then 1: the bookmark is set, the playback ends, the recording goes on.
  emu::PressKey(RKEY_Green);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(HeaderWord("/DataFiles/Movies/Beta.rec", 1416), at);
  TYPE_RecInfo info;
  ASSERT_TRUE(TAP_Hdd_GetRecInfo(0, &info));
  EXPECT_EQ(info.recType, (byte)RECTYPE_Normal);
  emu::Idle(2);
  ASSERT_NE(History("Beta.rec"), nullptr);
  EXPECT_EQ(History("Beta.rec")->positionBlock, at);
}

// The progress line under the menu of a recording in progress, whose length
// follows the file: a bar for any length the firmware can mean (one block
// up to 999999999 blocks), "N/A" without a bar beyond.
TEST_F(StopMenuTest, TheProgressShowsForEveryPlausibleLengthOnly) {
  PlayBetaWhileRecording();
  std::string file = HostPath("/DataFiles/Movies/Beta.rec");
  auto size = [&] {
    struct stat st;
    return stat(file.c_str(), &st) == 0 ? (uint64_t)st.st_size : 0;
  };
  // The bar's left border against the box it is drawn in.
  auto barShown = [] {
    const std::vector<uint32_t>& frame = emu::Frame();
    return frame[522 * OSD_WIDTH + 372] != frame[517 * OSD_WIDTH + 372];
  };
  EXPECT_TRUE(barShown());
  // A bar setting out of range draws the default bar; setting 2 fills the
  // whole bar, also where the default leaves it empty.
  std::vector<uint32_t> standard = emu::Frame();
  for (int option : {-1, 5, 2}) {
    progressBarOption = option;
    DisplayStopMenuProgress();
    TAP_Osd_Sync();
    if (option == 2) {
      EXPECT_NE(emu::Frame()[522 * OSD_WIDTH + 562], standard[522 * OSD_WIDTH + 562]);
    } else {
      EXPECT_EQ(emu::Frame(), standard) << option;
    }
  }
  // Settings 3 and 4 fill in green and in white.
  for (uint32_t colour : {0xFF00FF00u, 0xFFFAFAFAu}) {
    progressBarOption = colour == 0xFF00FF00u ? 3 : 4;
    DisplayStopMenuProgress();
    TAP_Osd_Sync();
    const uint32_t* row = emu::Frame().data() + 522 * OSD_WIDTH;
    EXPECT_NE(std::find(row + 373, row + 572, colour), row + 572) << progressBarOption;
  }
  progressBarOption = 0;
  // The file takes a length just after it grew (it grows once a second),
  // the player reads it while it runs, and the pause keeps it for the
  // menu's next refresh.
  for (uint64_t blocks : {1000000000ull, 999999999ull, 0ull}) {
    SCOPED_TRACE(blocks);
    emu::PressKey(RKEY_Pause);
    emu::Idle(3);
    ASSERT_FALSE(emu::PlaybackPaused());
    for (uint64_t was = size(), polls = 0; size() == was && polls < 20; polls++) emu::Idle(1);
    ASSERT_EQ(blocks ? truncate(file.c_str(), (off_t)(blocks * kBlock)) : unlink(file.c_str()), 0);
    emu::Idle(1);
    emu::PressKey(RKEY_Pause);
    emu::Idle(3);
    ASSERT_TRUE(emu::PlaybackPaused());
    ASSERT_EQ(Play().totalBlock, blocks ? blocks : 1);  // a file gone counts one block
    emu::Idle(10);
    EXPECT_EQ(barShown(), blocks < 1000000000);
  }
  emu::PressKey(RKEY_Stop);
  EXPECT_FALSE(emu::IsPlaying());
}

// Stop on a recording in the list: after "Yes" the recording ends and
// nothing is said; a recording that ended before the answer is reported.
TEST_F(StopMenuTest, StopOnARecordingInTheListEndsItOrSaysItCouldNot) {
  TYPE_RecInfo rec;
  memset(&rec, 0, sizeof rec);
  rec.recType = RECTYPE_Normal;
  rec.duration = 60;
  strcpy(rec.fileName, "Show 14.rec");
  ASSERT_TRUE(emu::SetRecording(3, rec, "/mnt/hd/DataFiles/Show 14.rec"));  // the last slot
  strcpy(rec.fileName, "Show 13.rec");
  ASSERT_TRUE(emu::SetRecording(1, rec, "/mnt/hd/DataFiles/Show 13.rec"));
  OpenList();
  for (int slot : {3, 1}) {
    bool endsBefore = slot == 1;
    const char* name = endsBefore ? "Show 13.rec" : "Show 14.rec";
    SCOPED_TRACE(name);
    SelectByKeys(name);
    ASSERT_EQ(Line(chosenLine)->recordingNow, 1u);
    emu::HoldKey(RKEY_Stop, 0);
    ASSERT_EQ(yesnoWindowShowing, 1);
    EXPECT_STREQ(lastMessageTitle, "Recording Stop Confirmation");
    int shown = messageCount;
    if (endsBefore) emu::ClearRecording(slot);
    // Yes, as the other questions of these tests are answered: the yes/no
    // window takes a release report for another press of the key.
    emu::PressKey(RKEY_VolDown);
    emu::PressKey(RKEY_Ok);
    TYPE_RecInfo info;
    memset(&info, 0, sizeof info);
    TAP_Hdd_GetRecInfo((byte)slot, &info);
    EXPECT_EQ(info.recType, (byte)RECTYPE_None);
    EXPECT_EQ(messageCount, shown + (endsBefore ? 1 : 0));
    if (endsBefore) {
      EXPECT_STREQ(lastMessageTitle, "Stop Recording Failed.");
      EXPECT_STREQ(lastMessageLine2, name);
    }
  }
}

// A recording on the drive with a namesake on the disk: the drive goes while
// it plays, and the follow-ups of the stop menu find the played file gone.
class DriveStopMenuTest : public StopMenuTest {
 protected:
  void Configure(emu::Config& config) override {
    seed_ = testenv::MakeTempDir("pvr-usb");
    testdisk::Disk usb(seed_);
    testdisk::Header header;
    header.family = testdisk::FAMILY_TMSS;
    header.recordingStart = testdisk::Stamp(2026, 11, 1, 20, 0);
    header.eventName = "a.rec";
    ASSERT_TRUE(usb.Recording("/a.rec", 1000 * kBlock, header, true, header.recordingStart));
    for (const char* folder : {"/DataFiles", "/ProgramFiles", "/MediaFiles"}) {
      testenv::RemoveTree(seed_ + folder);
    }
    emu::ExternalDrive drive;
    drive.seedDir = seed_;
    config.drives.push_back(drive);
  }
  void BuildDisk() override {
    StopMenuTest::BuildDisk();
    Recording("/DataFiles/a.rec", 1000, testdisk::Stamp(2026, 1, 2, 20, 0));
  }
  void TearDown() override {
    StopMenuTest::TearDown();
    testenv::RemoveTree(seed_);
  }
  void Press(dword key) { emu::HoldKey(key, 0); }
  std::string seed_;
};

TEST_F(DriveStopMenuTest, AFollowUpNeverTakesANamesakeOfThePlayedFile) {
  SelectFirstFile = 1;  // the list opens on its first file: the namesake
  for (dword entry : {(dword)RKEY_Blue, (dword)RKEY_Option, (dword)RKEY_Yellow}) {
    SCOPED_TRACE(entry);
    Press(RKEY_PlayList);
    ASSERT_EQ(windowShowing, 1);
    SelectByKeys("USB");
    Press(RKEY_Ok);
    SelectByKeys("a.rec");
    Press(RKEY_Ok);
    ASSERT_TRUE(emu::IsPlaying());
    emu::Wait(2);
    ASSERT_TRUE(emu::UnplugDrive("/dev/sdb1"));
    Press(RKEY_Stop);
    emu::Idle(5);
    ASSERT_EQ(stopmenuWindowShowing, 1);
    Press(entry);
    emu::Idle(3);
    EXPECT_STREQ(lastMessageLine1, "The played file is no longer there:");
    EXPECT_STREQ(lastMessageLine2, "/DataFiles/USB/a.rec");
    EXPECT_EQ(yesnoWindowShowing, 0);
    EXPECT_EQ(moveWindowShowing, 0);
    EXPECT_EQ(keyboardWindowShowing, 0);
    EXPECT_EQ(infoWindowShowing, 0);
    for (const char* piece : {"", ".inf", ".nav"}) {
      EXPECT_TRUE(disk->Exists(std::string("/DataFiles/a.rec") + piece)) << piece;
    }
    EXPECT_FALSE(disk->Exists("/DataFiles/a.rec.del"));
    if (emu::IsPlaying()) TAP_Hdd_StopTs();
    if (windowShowing) Press(RKEY_Exit);
    emu::Idle(2);
    ASSERT_TRUE(emu::PlugDrive("/dev/sdb1"));
  }
}

// MovieCutter loaded before Pavrolinex sees the keys first: with its
// option set, entries 7 and 8 set its cut marks through its menu.
class MovieCutterStopMenuTest : public StopMenuTest {
 protected:
  void BuildDisk() override {
    StopMenuTest::BuildDisk();
    ASSERT_TRUE(testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/MovieCutter.tap"),
                                   testenv::ReadFile(PVR_PEER_DIR "/MovieCutter.tap")));
    ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();
  }
};

TEST_F(MovieCutterStopMenuTest, SetAndCutGoesThroughMovieCutter) {
  PlayAndOpen("Alpha.rec", 2);
  EXPECT_EQ(MovieCutterEnabled, 0);  // the option is off
  MovieCutterOption = 3;
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(MovieCutterEnabled, 1);
  std::string message;  // entries 7 and 8 named for MovieCutter, the others as ever
  EXPECT_TRUE(snapshot::MatchesReference("stopmenu-moviecutter", &message)) << message;
  size_t before = emu::KeysGivenToFirmware().size();
  emu::PressKey(RKEY_Next);
  emu::Idle(8);
  EXPECT_EQ(stopmenuWindowShowing, 0);
  EXPECT_EQ(STOP_MENU_multistep, 0);
  // Menu and the digits are MovieCutter's; the firmware saw the rest.
  EXPECT_EQ(FirmwareSince(before), (std::vector<dword>{RKEY_Pause, RKEY_Ab, RKEY_Green}));
  EXPECT_NE(emu::NetOutput().find("MovieCutter: menu\r\nMovieCutter: entry 3\r\n"
                                  "MovieCutter: entry 2\r\n"),
            std::string::npos)
      << emu::NetOutput();
}

}  // namespace
