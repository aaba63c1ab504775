// Activation rules while the list is hidden, the guards for firmware screens,
// the special keys, and showing and hiding the list.
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "AppFixture.h"
#include "app/keys.h"
#include "app/log.h"

namespace {

class ActivationTest : public AppTest {
 protected:
  void BeforeStart() override {
    testenv::WriteFile(HostPath("/DataFiles/Movies/film.rec"), std::string(4096, 'x'));
    // Long enough to keep playing for a while (sparse).
    testenv::WriteFile(HostPath("/DataFiles/news.rec"), "n");
    ASSERT_EQ(truncate(HostPath("/DataFiles/news.rec").c_str(), 1 << 30), 0);
  }

  // Opens the list in /DataFiles/Movies and hides it again.
  void LeaveListInMovies() {
    ASSERT_EQ(emu::PressKey(RKEY_PlayList), 0u);
    SetCurrentDir("/DataFiles/Movies");
    for (int n = 1; n <= numberOfFolders; n++) {
      if (myfolders[n] && strcmp(myfolders[n]->name, "Movies") == 0) CurrentDirNumber = n;
    }
    ASSERT_GT(CurrentDirNumber, 0);
    ASSERT_EQ(emu::PressKey(RKEY_Exit), 0u);
    ASSERT_EQ(windowShowing, 0);
  }

  // Plays news.rec and lets the idle handler notice.
  void StartPlayback() {
    ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
    ASSERT_EQ(TAP_Hdd_PlayTs("news.rec"), 0);
    emu::Idle(2);
    ASSERT_EQ(inPlaybackMode, 1);
  }
};

TEST_F(ActivationTest, FileListOpensAndExitHidesTheList) {
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), 0u);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_TRUE(emu::AnyRegionOpen());
  EXPECT_FALSE(emu::InNormalMode());
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(exitFlag, 0);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_TRUE(emu::InNormalMode());
  EXPECT_TRUE(emu::IsRunning(index_));
}

TEST_F(ActivationTest, GeneratedFileListPressGoesToTheFirmwareOnce) {
  generatedPlayList = 1;
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), (dword)RKEY_PlayList);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(generatedPlayList, 0);
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), 0u);
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(ActivationTest, GeneratedFlagMattersOnlyForTheFileListKey) {
  mainActivationKey = RKEY_Sat;
  generatedPlayList = 1;
  EXPECT_EQ(emu::PressKey(RKEY_Sat), 0u);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(generatedPlayList, 1);
}

TEST_F(ActivationTest, ActivationKeyInAFirmwareMenuGoesToTheFirmware) {
  emu::SetState(STATE_Menu, SUBSTATE_Normal);
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), (dword)RKEY_PlayList);
  EXPECT_EQ(windowShowing, 0);
}

TEST_F(ActivationTest, ProgressBarSubStatesActivateOnlyWhenAllowed) {
  for (dword subState : {49u, 50u, 51u}) {
    emu::SetState(STATE_Normal, subState);
    ActivateWithProgressBar = 0;
    EXPECT_EQ(emu::PressKey(RKEY_PlayList), (dword)RKEY_PlayList) << subState;
    EXPECT_EQ(windowShowing, 0);
    ActivateWithProgressBar = 1;
    EXPECT_EQ(emu::PressKey(RKEY_PlayList), 0u) << subState;
    EXPECT_EQ(windowShowing, 1);
    emu::PressKey(RKEY_Exit);
  }
  emu::SetState(STATE_Normal, 52);
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), (dword)RKEY_PlayList);
}

TEST_F(ActivationTest, AnotherDisplayOnATvServiceKeepsTheKeyForTheFirmware) {
  emu::DrawFirmwareOsd(150, 100, 8, 8, 0xFFFFFFFF);
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), (dword)RKEY_PlayList);
  EXPECT_EQ(windowShowing, 0);
  emu::ClearFirmwareOsd();
  emu::DrawFirmwareOsd(150, 10, 4, 4, 0xFF000001);
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), (dword)RKEY_PlayList);
  emu::ClearFirmwareOsd();
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), 0u);
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(ActivationTest, OkAsActivationKeyChecksTheLowerArea) {
  mainActivationKey = RKEY_Ok;
  emu::DrawFirmwareOsd(200, 400, 4, 4, 0xFFFFFFFF);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), (dword)RKEY_Ok);
  mainActivationKey = RKEY_PlayList;
  EXPECT_EQ(emu::PressKey(RKEY_PlayList), 0u);
}

TEST_F(ActivationTest, OsdActiveSamplesEveryFourthPixelOfEveryFourthRow) {
  EXPECT_FALSE(OsdActive(150, 100, 200, 300));
  emu::DrawFirmwareOsd(155, 101, 1, 1, 0xFFFFFFFF);  // between the samples
  EXPECT_FALSE(OsdActive(150, 100, 200, 300));
  emu::DrawFirmwareOsd(154, 104, 1, 1, 0xFFFFFFFF);
  EXPECT_TRUE(OsdActive(150, 100, 200, 300));
  EXPECT_FALSE(OsdActive(150, 10, 200, 20));
  // A rectangle reaching past the plane is sampled only where the plane is.
  EXPECT_FALSE(OsdActive(700, 560, 900, 900));
}

TEST_F(ActivationTest, StartInDataFilesAlwaysGoesHome) {
  LeaveListInMovies();
  StartInDatafiles = 1;
  emu::PressKey(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(CurrentDirNumber, 0);
}

TEST_F(ActivationTest, StartInDataFilesZeroKeepsTheFolder) {
  LeaveListInMovies();
  emu::Wait(700);
  emu::PressKey(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
  EXPECT_GT(CurrentDirNumber, 0);
}

TEST_F(ActivationTest, StartInDataFilesTwoReturnsWithinTenMinutes) {
  LeaveListInMovies();
  StartInDatafiles = 2;
  emu::Wait(500);
  emu::PressKey(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
}

TEST_F(ActivationTest, StartInDataFilesTwoGoesHomeAfterTenMinutes) {
  LeaveListInMovies();
  StartInDatafiles = 2;
  emu::Wait(601);
  emu::PressKey(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(CurrentDirNumber, 0);
  // Going home counts as activity.
  EXPECT_EQ(lastActionTick, currentTickTime);
  EXPECT_EQ(lastActionTickPrev, currentTickTime);
}

TEST_F(ActivationTest, StartInDataFilesTwoBoundaryIsSixtyThousandTicks) {
  LeaveListInMovies();
  StartInDatafiles = 2;
  lastActionTick = 0;
  lastActionTickPrev = 0;
  currentTickTime = 100000;
  My_KeyHandler(RKEY_1);  // the previous key press
  currentTickTime = 100000 + 59999;
  My_KeyHandler(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
  My_KeyHandler(RKEY_Exit);
  CheckFlags();
  lastActionTick = 100000;
  lastActionTickPrev = 0;
  currentTickTime = 100000 + 60000;
  My_KeyHandler(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
}

TEST_F(ActivationTest, VanishedFolderLeadsHomeWithARescan) {
  LeaveListInMovies();
  ASSERT_EQ(unlink(HostPath("/DataFiles/Movies/film.rec").c_str()), 0);
  ASSERT_EQ(rmdir(HostPath("/DataFiles/Movies").c_str()), 0);
  emu::PressKey(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(CurrentDirNumber, 0);
  // The rescan no longer lists the folder.
  ASSERT_NE(myfolders[0], nullptr);
  for (int slot = 1; slot <= myfolders[0]->entryCount; slot++) {
    ASSERT_NE(FileSlot(0, slot), nullptr);
    EXPECT_STRNE(FileSlot(0, slot)->name, "Movies");
  }
}

TEST_F(ActivationTest, FolderOutsideDataFilesLeadsHome) {
  SetCurrentDir("/ProgramFiles");
  emu::PressKey(RKEY_PlayList);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
}

TEST_F(ActivationTest, DeletableOnceIsResetWhenTheListOpens) {
  folderDeleteOption = 1;
  FileSuffixOption = 2;
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(folderDeleteOption, 0);
  EXPECT_EQ(tempFileSuffixOption, 2);
  emu::PressKey(RKEY_Exit);
  folderDeleteOption = 2;
  emu::PressKey(RKEY_PlayList);
  EXPECT_EQ(folderDeleteOption, 2);
}

TEST_F(ActivationTest, StopDuringPlaybackShowsTheListOnTheNextIdleEvent) {
  StopPlaybackOption = 1;
  StartPlayback();
  EXPECT_EQ(emu::PressKey(RKEY_Stop), 0u);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(activateReturnToQuembryList, 1);
  EXPECT_EQ(windowShowing, 0);
  emu::Idle(1);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(activateReturnToQuembryList, 0);
}

TEST_F(ActivationTest, StopDuringPlaybackEmptiesTheMultiSelection) {
  StopPlaybackOption = 1;
  StartPlayback();
  for (int i = 0; i < 2; i++) {
    MultiSelectItem* item = (MultiSelectItem*)TAP_MemAlloc(sizeof(MultiSelectItem));
    memset(item, 0, sizeof *item);
    item->next = MultiSelect;
    MultiSelect = item;
  }
  EXPECT_EQ(emu::PressKey(RKEY_Stop), 0u);
  EXPECT_EQ(MultiSelect, nullptr);
}

TEST_F(ActivationTest, StopDuringPlaybackCanOpenTheStopMenu) {
  StopPlaybackOption = 2;
  StartPlayback();
  EXPECT_EQ(emu::PressKey(RKEY_Stop), 0u);
  EXPECT_TRUE(emu::IsPlaying());
  EXPECT_EQ(activateStopMenu, 1);
  emu::Idle(1);
  EXPECT_EQ(activateStopMenu, 0);
  emu::Idle(3);  // the banner, the pause, the menu: one idle event each
  EXPECT_EQ(stopmenuWindowShowing, 1);
}

TEST_F(ActivationTest, StopWhileASlotCopiesIsAnOrdinaryKey) {
  StopPlaybackOption = 1;
  StartPlayback();
  TYPE_RecInfo copy;
  memset(&copy, 0, sizeof copy);
  copy.recType = RECTYPE_Copy;
  ASSERT_TRUE(emu::SetRecording(1, copy));
  EXPECT_EQ(emu::PressKey(RKEY_Stop), (dword)RKEY_Stop);
  EXPECT_EQ(activateReturnToQuembryList, 0);
  // ...unless Stop is also the activation key.
  emu::ClearRecording(1);
  ASSERT_EQ(TAP_Hdd_PlayTs("news.rec"), 0);
  emu::Idle(2);
  ASSERT_TRUE(emu::SetRecording(1, copy));
  mainActivationKey = RKEY_Stop;
  EXPECT_EQ(emu::PressKey(RKEY_Stop), 0u);
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(ActivationTest, StopWithoutTheOptionOrPlaybackIsAnOrdinaryKey) {
  StartPlayback();
  EXPECT_EQ(emu::PressKey(RKEY_Stop), (dword)RKEY_Stop);
  EXPECT_EQ(activateReturnToQuembryList, 0);
  StopPlaybackOption = 1;
  emu::Idle(2);
  ASSERT_EQ(inPlaybackMode, 0);
  EXPECT_EQ(emu::PressKey(RKEY_Stop), (dword)RKEY_Stop);
  EXPECT_EQ(activateReturnToQuembryList, 0);
}

// The restart-last key in normal viewing: with an empty history it says so,
// after a playback it plays that recording again, and while the
// picture-in-picture shows it is the firmware's key.
TEST_F(ActivationTest, RestartLastKeyRestartsTheLastPlaybackFromNormalViewing) {
  RestartLastKey_external = RKEY_Slow;
  EXPECT_EQ(TAP_Channel_IsStarted(0), 0);
  EXPECT_EQ(TAP_Channel_IsStarted(1), 1);
  emu::HoldKey(RKEY_Slow, 0);
  EXPECT_STREQ(lastMessageTitle, "No Last Playback File");
  EXPECT_EQ(windowShowing, 0);

  StartPlayback();
  emu::Wait(3);
  TAP_Hdd_StopTs();
  emu::Idle(2);
  ASSERT_FALSE(emu::IsPlaying());
  emu::HoldKey(RKEY_Slow, 0);
  EXPECT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/news.rec");
  EXPECT_EQ(windowShowing, 0);
  TAP_Hdd_StopTs();
  emu::Idle(2);

  emu::SetPictureInPicture(true);
  EXPECT_EQ(TAP_Channel_IsStarted(0), 1);
  size_t before = emu::KeysGivenToFirmware().size();
  emu::HoldKey(RKEY_Slow, 0);
  EXPECT_FALSE(emu::IsPlaying());
  ASSERT_GT(emu::KeysGivenToFirmware().size(), before);
  EXPECT_EQ(emu::KeysGivenToFirmware()[before], (dword)RKEY_Slow);
}

TEST_F(ActivationTest, RestartLastKeyOnlyInNormalViewing) {
  RestartLastKey_external = RKEY_Slow;
  emu::SetState(STATE_Normal, 50);
  EXPECT_EQ(emu::PressKey(RKEY_Slow), (dword)RKEY_Slow);
  EXPECT_EQ(messageCount, 1);  // only the start-up notice
}

TEST_F(ActivationTest, AnalogueKeyIsConsumed) {
  AVModeKey = RKEY_TvSat;
  EXPECT_EQ(emu::PressKey(RKEY_TvSat), 0u);
  emu::SetState(STATE_Normal, 50);
  EXPECT_EQ(emu::PressKey(RKEY_TvSat), (dword)RKEY_TvSat);
}

// Whether the frame shows a pop-up's frame at (x, y): border, then interior.
bool PopupShownAt(int x, int y) {
  const std::vector<uint32_t>& frame = emu::Frame();
  return frame[y * OSD_WIDTH + x] == 0xFFFFFFFFu &&
         frame[(y + 4) * OSD_WIDTH + x + 4] == 0xFF1E1E1Eu;
}

// The question shows although the list is hidden, and goes with its answer.
TEST_F(ActivationTest, PhotoAlbumOkAsksFirstAndPassesOkOnYes) {
  emu::SetState(STATE_Menu, SUBSTATE_PhotoAlbum);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_TRUE(PopupShownAt(180, 198));
  EXPECT_STREQ(lastMessageTitle, "Photo Album Confirmation");
  EXPECT_EQ(YesNoOption, 1);  // "No" preselected
  EXPECT_EQ(emu::PressKey(RKEY_VolDown), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), (dword)RKEY_Ok);
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_EQ(ReturningFromPhotoAlbumYesNo, 0);
  EXPECT_FALSE(PopupShownAt(180, 198));
  EXPECT_FALSE(emu::AnyRegionOpen());
}

TEST_F(ActivationTest, PhotoAlbumNoKeepsOk) {
  emu::SetState(STATE_Menu, SUBSTATE_PhotoAlbum);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(yesnoWindowShowing, 0);
}

TEST_F(ActivationTest, PhotoAlbumGuardSkippedWhenTheFirmwarePopupShowsOrWhenSwitchedOff) {
  emu::SetState(STATE_Menu, SUBSTATE_PhotoAlbum);
  emu::DrawFirmwareOsd(70, 216, 1, 1, 0xFF1E1E1E);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), (dword)RKEY_Ok);
  emu::ClearFirmwareOsd();
  SkipPhotoAlbumSafetyCheck = 1;
  EXPECT_EQ(emu::PressKey(RKEY_Ok), (dword)RKEY_Ok);
  EXPECT_EQ(yesnoWindowShowing, 0);
}

TEST_F(ActivationTest, YoutubeBlockedShowsAMessage) {
  SkipPhotoAlbumSafetyCheck = 1;
  ReplaceYoutubeKeyboard = 2;
  emu::SetState(STATE_Menu, SUBSTATE_PhotoAlbum);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(MessageWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "YouTube Disabled");
  EXPECT_TRUE(PopupShownAt(100, 183));
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(MessageWindowShowing, 0);
  EXPECT_FALSE(PopupShownAt(100, 183));
  EXPECT_FALSE(emu::AnyRegionOpen());
}

TEST_F(ActivationTest, YoutubeSearchScreenPostsRequestsAndPassesKeys) {
  ReplaceYoutubeKeyboard = 1;
  emu::SetState(STATE_Menu, SUBSTATE_YoutubeSearch);
  EXPECT_EQ(emu::PressKey(RKEY_Sat), (dword)RKEY_Sat);
  EXPECT_EQ(activateYoutubeKeyboard, 1);
  EXPECT_EQ(emu::PressKey(RKEY_Exit), (dword)RKEY_Exit);
  EXPECT_EQ(resetYoutubeSearchString, 1);
  keyboardWindowShowing = 1;
  lastKeyHandler = "";
  EXPECT_EQ(emu::PressKey(RKEY_1), 0u);
  EXPECT_STREQ(lastKeyHandler, "KeyboardKeyHandler");
}

TEST_F(ActivationTest, GenerateKeyOnExitReachesTheFirmwareInItsOwnCode) {
  GlobalRemoteType = 2;
  emu::PressKey(RKEY_PlayList);
  GenerateKeyOnExit = RKEY_Green;
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(GenerateKeyOnExit, 0u);
  emu::Idle(2);
  bool seen = false;
  for (dword key : emu::KeysGivenToFirmware()) seen = seen || key == 0x10048;
  EXPECT_TRUE(seen);
}

TEST_F(ActivationTest, StopRequestLogsTheReasonAndUnloads) {
  emu::Shutdown(1);
  std::string log = testenv::ReadFile(LogPath());
  size_t user = log.find(" Exit  - Pavrolinex - User   \r\n");
  size_t exit = log.find(" Exit  - Pavrolinex v5.1d    \r\n");
  EXPECT_NE(user, std::string::npos) << log;
  EXPECT_NE(exit, std::string::npos) << log;
  EXPECT_LT(user, exit);
  EXPECT_EQ(localKeyCodes.count, 0);  // the key list was freed
  EXPECT_EQ(myfolders[0], nullptr);
}

}  // namespace
