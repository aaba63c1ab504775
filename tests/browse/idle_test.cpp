// Idle processing: typing into the firmware's search screen, history saving,
// multistep actions, hourly duties, requests from outside the key path, the
// delete chain and the scrolling name.
#include <stdio.h>
#include <string.h>

#include <vector>

#include "BrowseFixture.h"

namespace {

class IdleTest : public BrowseTest {
 protected:
  // Keys the firmware received since `from`.
  std::vector<dword> KeysSince(size_t from) {
    std::vector<dword> keys = emu::KeysGivenToFirmware();
    return std::vector<dword>(keys.begin() + (long)std::min(from, keys.size()), keys.end());
  }
  size_t KeyCount() { return emu::KeysGivenToFirmware().size(); }
  // One typing step with the list hidden; the keys it sent.
  std::vector<dword> Step(const char* text) {
    size_t from = KeyCount();
    ConvertStringIntoKeyboard(text);
    emu::Idle(0);
    return KeysSince(from);
  }
};

typedef std::vector<dword> Keys;

TEST_F(IdleTest, TypingIntoTheSearchScreenStepByStep) {
  youtubeSearchStringLength = 6;  // the text typed last time goes first
  EXPECT_EQ(Step("aB\x80"), Keys(4, RKEY_Rewind));
  EXPECT_EQ(generateYoutubeKeys, 1);
  EXPECT_EQ(Step("aB\x80"), Keys(2, RKEY_Rewind));
  EXPECT_EQ(Step("aB\x80"), Keys{RKEY_Ok});                // 'a': where the cursor starts
  EXPECT_EQ(Step("aB\x80"), Keys{RKEY_Play});              // 'B' is on the second screen
  EXPECT_EQ(Step("aB\x80"), (Keys{RKEY_VolUp, RKEY_Ok}));  // one to the right
  EXPECT_EQ(Step("aB\x80"), Keys{RKEY_Forward});           // on no screen
  EXPECT_EQ(Step("aB\x80"), Keys{RKEY_Stop});              // done
  EXPECT_EQ(generateYoutubeKeys, 0);
  EXPECT_EQ(youtubeSearchStringLength, 3);
  // Rows and long ways along a row: at most four column steps per call.
  EXPECT_EQ(Step("9"), Keys(4, RKEY_Rewind).size() ? Keys(3, RKEY_Rewind) : Keys{});
  EXPECT_EQ(Step("9"), Keys(4, RKEY_ChDown));
  EXPECT_EQ(Step("9"), Keys(4, RKEY_VolUp));
  EXPECT_EQ(Step("9"), (Keys{RKEY_VolUp, RKEY_VolUp, RKEY_VolUp, RKEY_VolUp}));
  EXPECT_EQ(Step("9"), (Keys{RKEY_VolUp, RKEY_Ok}));
  ReplaceYoutubeKeyboard = 2;  // the replacement keyboard: no Stop at the end
  EXPECT_EQ(Step("9"), Keys{});
  EXPECT_EQ(youtubeSearchStringLength, 1);
}

TEST_F(IdleTest, TypingRunsOnEveryThirdIdleEventAndHoldsEverythingElse) {
  snprintf(youtubeSearchString, sizeof youtubeSearchString, "%s", "ab");
  generateYoutubeKeys = 1;
  activateStopMenu = 1;
  size_t from = KeyCount();
  emu::Idle(2);
  EXPECT_TRUE(KeysSince(from).empty());
  emu::Idle(1);
  EXPECT_EQ(KeysSince(from), Keys{RKEY_Ok});
  EXPECT_EQ(activateStopMenu, 1);  // nothing else ran meanwhile
  emu::Idle(3);
  EXPECT_EQ(KeysSince(from).size(), 3u);  // Ok, then Right and Ok
  emu::Idle(3);
  EXPECT_EQ(KeysSince(from).back(), (dword)RKEY_Stop);
  EXPECT_EQ(generateYoutubeKeys, 0);
  emu::Idle(1);
  EXPECT_EQ(activateStopMenu, 0);
  EXPECT_EQ(STOP_MENU_multiphase, 1);  // the menu's opening sequence has begun
}

TEST_F(IdleTest, TheSearchKeyboardCallbackAndTheReset) {
  size_t from = KeyCount();
  ReturnFromYoutubeKeyboard("", 0);
  emu::Idle(0);
  EXPECT_EQ(KeysSince(from), (Keys{RKEY_Exit, RKEY_Mute, RKEY_Mute}));
  from = KeyCount();
  ReturnFromYoutubeKeyboard("news", 1);
  emu::Idle(0);
  EXPECT_STREQ(youtubeSearchString, "news");
  EXPECT_EQ(generateYoutubeKeys, 1);
  EXPECT_EQ(KeysSince(from).size(), 1u);  // the first step at once
  // Leaving the search screen forgets the text; staying keeps it.
  generateYoutubeKeys = 0;
  youtubeSearchStringLength = 4;
  emu::SetState(1, 101);
  resetYoutubeSearchString = 1;
  emu::Idle(1);
  EXPECT_EQ(youtubeSearchStringLength, 4);
  emu::SetState(0, 31);
  resetYoutubeSearchString = 1;
  emu::Idle(1);
  EXPECT_EQ(youtubeSearchStringLength, 0);
  EXPECT_STREQ(youtubeSearchString, "");
}

TEST_F(IdleTest, TheSearchKeyboardOpensOnlyOverTheFirmwaresKeyboard) {
  activateYoutubeKeyboard = 1;
  emu::Idle(1);
  EXPECT_EQ(keyboardWindowShowing, 0);
  // The firmware's own display, painted as its search keyboard.
  const dword grey = 0xFF464646;
  for (int y : {133, 153, 173, 193}) emu::DrawFirmwareOsd(71, y, 1, 1, grey);
  emu::DrawFirmwareOsd(81, 133, 1, 1, grey);
  emu::DrawFirmwareOsd(81, 153, 1, 1, 0xFFFFAF0E);
  emu::DrawFirmwareOsd(81, 173, 1, 1, 0xFFFF901B);
  emu::DrawFirmwareOsd(81, 193, 1, 1, 0xFF1E1E1E);
  activateYoutubeKeyboard = 1;
  emu::Idle(1);
  EXPECT_EQ(activateYoutubeKeyboard, 0);
  EXPECT_EQ(keyboardWindowShowing, 1);
}

TEST_F(IdleTest, HistoryIsSavedEveryTwoMinutesWhenChanged) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::PressKey(RKEY_Prev);  // marks it watched and saves
  emu::PressKey(RKEY_Prev);
  std::string before = HistoryFile();
  ASSERT_EQ(before.find("Show 02.rec"), std::string::npos);
  ASSERT_EQ(AppendPlayedFileEntry(42, "Show 02.rec", 5, 10), numberOfPlayedFiles);
  playinfoChanged = 1;
  playbackInfoTick = emu::Ticks();
  emu::Idle(1199);  // 119.9 s
  EXPECT_EQ(HistoryFile(), before);
  emu::Idle(1);  // 120 s: the period has to be exceeded
  EXPECT_EQ(HistoryFile(), before);
  EXPECT_EQ(playinfoChanged, 1);
  emu::Idle(1);
  EXPECT_EQ(playinfoChanged, 0);
  EXPECT_NE(HistoryFile().find("42\t5\t10\tShow 02.rec"), std::string::npos);
}

TEST_F(IdleTest, MultistepActionsTakeOneStepAndEndThePass) {
  STOP_MENU_multiphase = 3;  // pause: two steps
  STOP_MENU_multistep = 1;
  activateStopMenu = 1;
  emu::Idle(1);
  EXPECT_EQ(STOP_MENU_multistep, 2);
  EXPECT_EQ(activateStopMenu, 1);
  emu::Idle(2);
  EXPECT_EQ(STOP_MENU_multistep, 0);
  EXPECT_EQ(activateStopMenu, 1);
  Tagsmith_multiphase = 4;  // back to normal viewing: two steps
  Tagsmith_multistep = 1;
  emu::Idle(1);
  EXPECT_EQ(Tagsmith_multistep, 2);
  emu::Idle(1);
  EXPECT_EQ(Tagsmith_multistep, 0);
  EXPECT_EQ(activateStopMenu, 1);
  TAPManager_multiphase = 1;
  TAPManager_multistep = 3;  // waiting for the started application
  emu::Idle(1);
  EXPECT_EQ(TAPManager_multistep, 4);
  TAPManager_multistep = 0;
  emu::Idle(1);
  EXPECT_EQ(activateStopMenu, 0);
}

TEST_F(IdleTest, HourlyRecycleBinDuties) {
  AutoRenameCheckFreq = 0;
  recycleBinCleanoutOption = 2;
  RecycleBinCleanoutTime = 21;
  recycleBinThresholdOption = 0;
  RecycleBinAfterXDays = 0;
  ASSERT_TRUE(disk->Recycle("/DataFiles/Show 01.rec"));
  ASSERT_TRUE(disk->Recycle("/DataFiles/Series/Season 2/Finale.rec"));
  emu::SetClock(2026, 12, 7, 20, 59, 50);
  emu::Idle(1);  // the first event's hourly work: hour 20 is not the set hour
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 01.rec.del"));
  emu::Wait(11);  // into hour 21: the whole tree is emptied
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 01.rec.del"));
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 01.rec.inf.del"));
  EXPECT_FALSE(disk->Exists("/DataFiles/Series/Season 2/Finale.rec.del"));
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 02.rec"));
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  // Another hour: the threshold (always above the free space) takes the bin.
  ASSERT_TRUE(disk->Recycle("/DataFiles/Show 02.rec"));
  recycleBinThresholdOption = 1000000;
  emu::SetClock(2026, 12, 7, 22, 0, 0);
  emu::Idle(1);
  EXPECT_FALSE(disk->Exists("/DataFiles/Show 02.rec.del"));
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 03.rec"));
}

TEST_F(IdleTest, BackgroundMoveIsPolledEvery101Ticks) {
  AutoRenameCheckFreq = 0;
  // A copy of an entry that is not there: the child starts and fails.
  snprintf(GlbSourceDir, sizeof GlbSourceDir, "/DataFiles");
  snprintf(GlbTargetDir, sizeof GlbTargetDir, "/DataFiles/Movies");
  snprintf(GlbSourceFile, sizeof GlbSourceFile, "Missing.rec");
  processInBackground = 1;
  emu::Idle(9);  // first step at tick 110 (101 after tick 0): the child starts
  EXPECT_GT(moveInBackgroundPID, 0);
  emu::Idle(10);  // 100 ticks: the ended child is not looked at yet
  EXPECT_EQ(processInBackground, 1);
  EXPECT_EQ(moveInBackgroundComplete, 0);
  emu::Idle(1);
  EXPECT_EQ(processInBackground, 0);
  EXPECT_EQ(moveInBackgroundPID, 0);
  EXPECT_EQ(moveInBackgroundComplete, -1);
}

TEST_F(IdleTest, TheRenameCheckRunsAtItsFrequency) {
  // Due at tick 110 after the first check at tick 10 (default frequency 100).
  AutoRenameCheckFreq = 500;
  ASSERT_TRUE(disk->File("/DataFiles/A MMDD.rec", 10));
  emu::Idle(11);
  ASSERT_EQ(emu::Ticks(), 130u);
  EXPECT_FALSE(disk->Exists("/DataFiles/A MMDD.rec"));
  ASSERT_TRUE(disk->File("/DataFiles/B MMDD.rec", 10));
  emu::Idle(49);  // the check at tick 120 set the next one after tick 620
  EXPECT_TRUE(disk->Exists("/DataFiles/B MMDD.rec"));
  emu::Idle(2);
  EXPECT_FALSE(disk->Exists("/DataFiles/B MMDD.rec"));
}

TEST_F(IdleTest, StopMenuFollowUpsActOnTheSelectedEntry) {
  // Rename: the list reopens (on its last entry) and receives Option for the
  // selected entry, which is the file played.
  snprintf(CurrentPlayback_folderPath, sizeof CurrentPlayback_folderPath, "%s",
           "/mnt/hd/DataFiles/Show 20.rec.inf");
  snprintf(filename_toProcess, sizeof filename_toProcess, "%s", "Show 20.rec");
  activateReturnToQuembryList_fromStopMenu = 3;
  emu::Idle(1);
  EXPECT_EQ(windowShowing, 1);
  ASSERT_STREQ(SelectedName(), "Show 20.rec");
  EXPECT_EQ(infoWindowShowing, 1);
  EXPECT_STREQ(currentFile.name, "Show 20.rec");
  EXPECT_STREQ(renameString, "Show 20");  // on the keyboard
  EXPECT_EQ(filename_toProcess[0], 0);
  EXPECT_EQ(activateReturnToQuembryList_fromStopMenu, 0);
  keyboardWindowShowing = 0;
  emu::PressKey(RKEY_Exit);  // the info window
  EXPECT_EQ(infoWindowShowing, 0);
  emu::PressKey(RKEY_Exit);
  // Delete: Blue's release, armed; the confirmation is forced.
  snprintf(filename_toProcess, sizeof filename_toProcess, "%s", "Show 20.rec");
  activateReturnToQuembryList_fromStopMenu = 2;
  emu::Idle(1);
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "File Delete Confirmation");
  EXPECT_STREQ(lastMessageLine1, "Show 20.rec");
  EXPECT_EQ(forceDeleteConfirmation, 0);  // taken by the confirmation
  emu::PressKey(RKEY_Exit);               // "No"
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_TRUE(disk->Exists("/DataFiles/Show 20.rec"));
  emu::PressKey(RKEY_Exit);
  // A name that is not the selected entry's: the failure message only.
  snprintf(CurrentPlayback_folderPath, sizeof CurrentPlayback_folderPath, "%s",
           "/mnt/hd/DataFiles/Gone.rec.inf");
  snprintf(filename_toProcess, sizeof filename_toProcess, "%s", "Gone.rec");
  activateReturnToQuembryList_fromStopMenu = 4;
  emu::Idle(1);
  EXPECT_STREQ(lastMessageTitle, "File Move Failed.");
  EXPECT_STREQ(lastMessageLine1, "The played file is no longer there:");
  EXPECT_STREQ(lastMessageLine2, "/DataFiles/Gone.rec");
  EXPECT_EQ(moveWindowShowing, 0);
}

TEST_F(IdleTest, TheDeleteChainOpensTheNextConfirmation) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 2);
  fileDeleted_MultiSelect = 1;
  forceDeleteConfirmation = 1;  // asks instead of acting at once
  emu::Idle(1);
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine1, "Show 01.rec");
  EXPECT_STREQ(currentFile.name, "Show 01.rec");
  EXPECT_EQ(delete_CurrentDirNumber, 0);
  EXPECT_EQ(delete_chosenLine, Find("Show 01.rec"));
  // Not again while its window shows.
  int shown = messageCount;
  AutoRenameCheckFreq = 0;
  emu::Idle(1);
  EXPECT_EQ(messageCount, shown);
}

TEST_F(IdleTest, ALongSelectedNameScrollsAndRestsAtItsStart) {
  Recording(
      "/DataFiles/Zz a recording whose name is far too long for its column on the list "
      "screen.rec",
      100, testdisk::Stamp(2026, 12, 1, 20, 0));
  AutoRenameCheckFreq = 0;
  ScrollDelay = 2;
  OpenList();  // rescans the folder
  SelectByKeys("Zz a recording whose name is far too long for its column on the list screen.rec");
  emu::Idle(60);  // past the first step and the rest at the start
  ASSERT_EQ(scrollFilenameEligible, 1);
  int start = scrollTextIndex;
  ASSERT_GT(start, 1);
  emu::Idle(9);
  EXPECT_EQ(scrollTextIndex, start + 3);  // one step every ScrollDelay + 1 events
  // At its start the name rests 50 events.
  scrollTextIndex = 1;
  ScrollDelay_count = ScrollPause_count = 0;
  emu::Idle(50);
  EXPECT_EQ(scrollTextIndex, 1);
  emu::Idle(1);
  EXPECT_EQ(scrollTextIndex, 2);
  // Folders do not scroll.
  SelectByKeys("Movies");
  int at = scrollTextIndex;
  emu::Idle(10);
  EXPECT_EQ(scrollTextIndex, at);
}

TEST_F(IdleTest, WatchingCountsAsActivity) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::PressKey(RKEY_Play);
  emu::SetClock(2026, 12, 7, 20, 15, 55);
  lastActionTick = lastActionTickPrev = emu::Ticks();
  emu::Wait(10);  // a new minute while playing
  EXPECT_GT(lastActionTick, emu::Ticks() - 600);
  EXPECT_EQ(lastActionTickPrev, lastActionTick);
}

}  // namespace

namespace {

// Parts of the list that idle events and the help key draw: the selected
// recording in progress shows its progress in the bottom area, second by
// second, and the help page its title (a size the text output refuses is
// reported, not passed over in silence).
TEST_F(IdleTest, ARecordingInProgressShowsItsProgressAndHelpItsTitle) {
  TYPE_RecInfo rec;
  memset(&rec, 0, sizeof rec);
  rec.recType = RECTYPE_Normal;
  rec.duration = 30;
  strcpy(rec.fileName, "Show 05.rec");
  ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/Show 05.rec"));
  OpenList();
  SelectByKeys("Show 05.rec");
  emu::Wait(1.5);
  const std::vector<uint32_t>& frame = emu::Frame();
  int bottom = BottomAreaY();
  // The bar's frame, then the recorded time beside it, which moves on.
  EXPECT_EQ(frame[(bottom + 64) * OSD_WIDTH + 58], 0xFF808080u);
  EXPECT_EQ(frame[(bottom + 73) * OSD_WIDTH + 257], 0xFF808080u);
  auto timeArea = [&] {
    std::vector<uint32_t> area;
    for (int y = bottom + 58; y < bottom + 80; y++)
      area.insert(area.end(), frame.begin() + y * OSD_WIDTH + 263,
                  frame.begin() + y * OSD_WIDTH + 400);
    return area;
  };
  std::vector<uint32_t> before = timeArea();
  emu::Wait(2);
  EXPECT_NE(timeArea(), before);
  emu::HoldKey(RKEY_ChUp, 0);  // a finished recording: its texts, no bar
  emu::Wait(1.5);
  EXPECT_NE(frame[(bottom + 64) * OSD_WIDTH + 58], 0xFF808080u);

  emu::HoldKey(RKEY_AudioTrk, 0);
  ASSERT_EQ(quembryHelpWindowShowing, 1);
  int lit = 0;
  for (int y = 40; y < 76; y++)
    for (int x = 40; x < 680; x++) lit += frame[y * OSD_WIDTH + x] == 0xFFFAFAFAu;
  EXPECT_GT(lit, 50);
  emu::HoldKey(RKEY_AudioTrk, 0);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  emu::ClearNetOutput();
  PrintLeft(rgn, 60, 60, 200, "size", 0xFFFAFAFA, 0, 22);
  EXPECT_NE(emu::NetOutput().find("no font of size 22"), std::string::npos) << emu::NetOutput();
}

}  // namespace
