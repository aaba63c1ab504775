// Event dispatch, the re-entry guard, TSR Commander and the key router's
// window order.
#include <string.h>

#include <string>
#include <vector>

#include "AppFixture.h"

namespace {

class DispatchTest : public AppTest {};

TEST_F(DispatchTest, StartsResidentWithoutShowingAnything) {
  EXPECT_EQ(tapStartup, 0);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_TRUE(emu::InNormalMode());
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  // The empty disk has no firmware description file: the user is told.
  EXPECT_STREQ(lastMessageTitle, "No FirmwareTMS.dat file");
}

TEST_F(DispatchTest, KeyWithParamZeroIsAnsweredWithoutReturnFlagProcessing) {
  exitFlag = 1;
  EXPECT_EQ(TAP_EventHandler(EVT_KEY, 0, 0), 0u);
  EXPECT_EQ(exitFlag, 1);  // CheckFlags did not run
  EXPECT_EQ(TAP_EventHandler(EVT_KEY, RKEY_1, 0), RKEY_1);
  EXPECT_EQ(exitFlag, 0);
}

TEST_F(DispatchTest, NestedEventsAreAnsweredWithParam1ExceptMessages) {
  reentry_lock = 1;
  EXPECT_EQ(TAP_EventHandler(EVT_KEY, RKEY_PlayList, 0), (dword)RKEY_PlayList);
  EXPECT_EQ(windowShowing, 0);  // the activation key did nothing
  EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, 3, 0), 3u);
  EXPECT_EQ(TAP_EventHandler(EVT_IDLE, 7, 0), 7u);
  // Messages from other applications are calls of their sender: never dropped.
  EXPECT_EQ(TAP_EventHandler(EVT_TAPCOM, 2, 0), 0u);
  EXPECT_EQ(reentry_lock, 1);
  reentry_lock = 0;
  EXPECT_EQ(TAP_EventHandler(EVT_KEY, RKEY_PlayList, 0), 0u);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(reentry_lock, 0);
}

TEST_F(DispatchTest, TranslatedKeyEventSkipsReturnFlagProcessing) {
  ASSERT_EQ(emu::PressKey(RKEY_PlayList), 0u);
  ASSERT_EQ(windowShowing, 1);
  EXPECT_EQ(TAP_EventHandler(EVT_KEY_TRANSLATED, 0x12000000 + RKEY_Exit, 0), 0u);
  EXPECT_EQ(exitFlag, 1);  // the list asked to close; nobody acted on it yet
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(DispatchTest, TsrCommanderCodes) {
  EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, 3, 0), 0x1000007u);
  for (dword code : {0u, 5u, 7u, 100u}) {
    EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, code, 0), 0u) << code;
  }
  EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, 4, 0), 1u);
  EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, 6, 0), 1u);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(terminateFlag, 0);
  EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, 1, 0), 1u);
  EXPECT_EQ(terminateFlag, 1);
  EXPECT_TRUE(emu::IsRunning(index_));  // acted on after the next key
  emu::PressKey(RKEY_1);
  EXPECT_FALSE(emu::IsRunning(index_));
}

TEST_F(DispatchTest, TsrCommanderConfigureOpensTheConfigurationOverNothing) {
  EXPECT_EQ(TAP_EventHandler(EVT_TSRCOMMANDER, 2, 0), 1u);
  EXPECT_EQ(configWindowShowing, 1);
  EXPECT_EQ(CalledByTSRCommander, 1);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_TRUE(emu::AnyRegionOpen());
  EXPECT_FALSE(emu::InNormalMode());
}

TEST_F(DispatchTest, ExitTapCallTerminatesOnTheNextKey) {
  EXPECT_EQ(TSRCommanderExitTAP(), 1);
  EXPECT_TRUE(emu::IsRunning(index_));
  emu::PressKey(RKEY_Info);
  EXPECT_FALSE(emu::IsRunning(index_));
  std::string log = testenv::ReadFile(LogPath());
  EXPECT_NE(log.find(" Exit  - Pavrolinex v5.1d    \r\n"), std::string::npos) << log;
}

TEST_F(DispatchTest, OtherEventsReturnParam1) {
  EXPECT_EQ(TAP_EventHandler(0x0500, 1234, 0), 1234u);
}

// The window flags in the router's order, each with the handler it reaches.
struct WindowCase {
  int* flag;
  const char* handler;
};

std::vector<WindowCase> WindowsInOrder() {
  return {{&yesnoWindowShowing, "YesNoKeyHandler"},
          {&MessageWindowShowing, "MessageKeyHandler"},
          {&checkFirmwareDatShowing, "FirmwareDatKeyHandler"},
          {&creditsShowing, "CreditsKeyHandler"},
          {&configWindowShowing, "ConfigKeyHandler"},
          {&moveWindowShowing, "QuembryMoveKeyHandler"},
          {&infoWindowShowing, "QuembryInfoKeyHandler"},
          {&stopmenuWindowShowing, "QuembryStopMenuKeyHandler"},
          {&allrecycleWindowShowing, "AllRecycleKeyHandler"},
          {&recycleWindowMode, "QuembryWindowKeyHandler"},
          {&windowShowing, "QuembryWindowKeyHandler"}};
}

TEST_F(DispatchTest, FirstShowingWindowInTheFixedOrderGetsTheKey) {
  std::vector<WindowCase> windows = WindowsInOrder();
  for (size_t first = 0; first < windows.size(); first++) {
    // This window and every window after it are flagged.
    for (size_t i = 0; i < windows.size(); i++) *windows[i].flag = i >= first ? 1 : 0;
    lastKeyHandler = "";
    My_KeyHandler(RKEY_2);
    EXPECT_STREQ(lastKeyHandler, windows[first].handler) << "first flagged: " << first;
  }
}

TEST_F(DispatchTest, YesNoWindowBeatsConfiguration) {
  configWindowShowing = 1;
  yesnoWindowShowing = 1;
  EXPECT_EQ(emu::PressKey(RKEY_3), 0u);
  EXPECT_STREQ(lastKeyHandler, "YesNoKeyHandler");
  EXPECT_EQ(configWindowShowing, 1);
}

TEST_F(DispatchTest, MessageWindowConsumesEveryKey) {
  MessageWindowShowing = 1;
  windowShowing = 1;
  // Its handler hands keys back; the router still keeps them from the firmware.
  for (dword key : {(dword)RKEY_Mute, (dword)RKEY_1, (dword)RKEY_Stop, (dword)RKEY_PlayList}) {
    EXPECT_EQ(My_KeyHandler(key), 0u) << key;
    EXPECT_STREQ(lastKeyHandler, "MessageKeyHandler");
  }
}

TEST_F(DispatchTest, ListPassesMuteToTheFirmware) {
  ASSERT_EQ(emu::PressKey(RKEY_PlayList), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Mute), (dword)RKEY_Mute);
  EXPECT_EQ(emu::PressKey(RKEY_5), 0u);
}

TEST_F(DispatchTest, DiskCacheKeyPrecedesEveryWindowAndNeverReachesIt) {
  ClearDiskCacheKey = RKEY_Blue;
  yesnoWindowShowing = 1;
  lastKeyHandler = "";
  EXPECT_EQ(emu::PressKey(RKEY_Blue), 0u);
  EXPECT_STREQ(lastKeyHandler, "");
  EXPECT_EQ(yesnoWindowShowing, 1);
  std::string net = emu::NetOutput();
  EXPECT_NE(net.find("Pavrolinex - My_KeyHandler: File System Disk cache cleared. Return code="),
            std::string::npos)
      << net;
  // Without the setting the key is an ordinary one.
  ClearDiskCacheKey = 0;
  EXPECT_EQ(emu::PressKey(RKEY_Blue), 0u);
  EXPECT_STREQ(lastKeyHandler, "YesNoKeyHandler");
}

TEST_F(DispatchTest, KeysRenewTheActivityStampsOnlyWithinTenMinutes) {
  currentTickTime = 5000;
  My_KeyHandler(RKEY_1);
  EXPECT_EQ(lastActionTick, 5000u);
  EXPECT_EQ(lastActionTickPrev, 0u);
  currentTickTime = 5000 + 59999;
  My_KeyHandler(RKEY_1);
  EXPECT_EQ(lastActionTick, 64999u);
  EXPECT_EQ(lastActionTickPrev, 5000u);
  // After a pause of 60000 ticks the stamps stay.
  currentTickTime = 64999 + 60000;
  My_KeyHandler(RKEY_1);
  EXPECT_EQ(lastActionTick, 64999u);
  EXPECT_EQ(lastActionTickPrev, 5000u);
}

}  // namespace
