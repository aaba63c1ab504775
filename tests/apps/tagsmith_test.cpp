// Pavrolinex and the real Tagsmith: a recording's information shown in
// Tagsmith's window and back, Tagsmith absent, and a multi-selection prepared
// one recording at a time with each of Tagsmith's answers.
#include "../browse/BrowseFixture.h"
#include "apps/apps.h"
#include "lib/lib.h"
#include "snapshot.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

namespace {

// A Tagsmith that answers only whether it is there.
const TYPE_TapHeader kMuteTagsmith = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                      TAP_HEADER_VERSION,
                                      TAGSMITH_ID,
                                      TAP_API_VERSION,
                                      0,
                                      {0, 0},
                                      "Mute",
                                      "tests",
                                      "",
                                      ""};
int MuteMain() { return 1; }
bool muteHeardAlive;
dword MuteHandler(word event, dword param1, dword param2) {
  if (event == EVT_TAPCOM && param1 == TAGSMITHCMD_Alive) muteHeardAlive = true;
  if (event == EVT_TAPCOM && param1 == TAGSMITHCMD_AskAlive)
    HDD_TAP_SendEvent(param2, false, EVT_TAPCOM, TAGSMITHCMD_Alive, TAGSMITH_ID);
  if (event == EVT_STOP) TAP_Exit();
  return event == EVT_TAPCOM ? 0 : param1;
}

class TagsmithTest : public BrowseTest {
 protected:
  void InstallTagsmith() {
    ASSERT_TRUE(testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/Tagsmith.tap"),
                                   testenv::ReadFile(std::string(PVR_PEER_DIR) + "/Tagsmith.tap")));
    ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();
  }
  int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
  }
};

TEST_F(TagsmithTest, ShowsInformationInTagsmithAndComesBack) {
  OpenList();
  SelectByKeys("Show 02.rec");
  // Without Tagsmith the own information window opens after seven tests.
  emu::HoldKey(RKEY_Info);
  ASSERT_EQ(Tagsmith_multiphase, 1);
  emu::Idle(6);
  EXPECT_EQ(infoWindowShowing, 0);
  emu::Idle(1);
  EXPECT_EQ(infoWindowShowing, 1);
  EXPECT_STREQ(currentFile.name, "Show 02.rec");
  EXPECT_STREQ(Tagsmith_infoMessage, "");
  // The own window says why Tagsmith did not show it.
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("info-tagsmith-not-found", &message)) << message;
  emu::Idle(1);
  EXPECT_EQ(Tagsmith_multistep, 0);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(infoWindowShowing, 0);

  InstallTagsmith();
  emu::HoldKey(RKEY_Info);
  emu::Idle(1);  // asked and answered within the one event
  EXPECT_EQ(Tagsmith_multistep, 3);
  emu::Idle(2);  // the list gives up the screen, the record goes out
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(Tagsmith_multistep, 5);
  ASSERT_NE(TagsmithMessage, nullptr);
  EXPECT_STREQ((const char*)TagsmithMessage + 8, "Show 02.rec.inf");
  EXPECT_STREQ((const char*)TagsmithMessage + 264, "/mnt/hd/DataFiles");
  emu::Idle(1);
  EXPECT_TRUE(snapshot::MatchesReference("tagsmith-over-list", &message)) << message;
  // Tagsmith has the keys while its window shows; Exit hands back the list on
  // the same recording.
  int line = chosenLine;
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenLine, line);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(Tagsmith_multiphase, 2);
  emu::Idle(3);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_STREQ(SelectedName(), "Show 02.rec");
  EXPECT_EQ(Tagsmith_multistep, 0);
  // Tagsmith tells which recording it showed last: the list comes back on it.
  emu::HoldKey(RKEY_Info);
  emu::Idle(3);
  ASSERT_EQ(windowShowing, 0);
  byte* shown = (byte*)TAP_MemAlloc(TAGSMITH_MESSAGE_SIZE);
  memcpy(shown, TagsmithMessage, TAGSMITH_MESSAGE_SIZE);
  snprintf((char*)shown + 8, 256, "Show 05.rec.inf");
  size_t blocks = emu::AllocatedBlocks();
  ipCommandProcessor(EVT_TAPCOM, TAGSMITHCMD_ShowInfo, (dword)(uintptr_t)shown);
  TAP_MemFree(shown);
  EXPECT_EQ(emu::AllocatedBlocks() + 1, blocks);  // the record kept is reused
  emu::PressKey(RKEY_Exit);
  emu::Idle(3);
  EXPECT_STREQ(SelectedName(), "Show 05.rec");
  // A recording whose header Tagsmith cannot read: the own window opens and
  // says so above its details, once.
  ASSERT_EQ(remove(HostPath("/DataFiles/Show 03.rec.inf").c_str()), 0);
  SelectByKeys("Show 03.rec");
  emu::HoldKey(RKEY_Info);
  for (int i = 0; i < 10 && !infoWindowShowing; i++) emu::Idle(1);
  ASSERT_EQ(infoWindowShowing, 1);
  std::vector<uint32_t> noted = emu::Frame();
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_FALSE(emu::Frame() == noted);
  emu::HoldKey(RKEY_Exit, 0);
  ASSERT_EQ(infoWindowShowing, 0);
  SelectByKeys("Show 02.rec");

  // Info and at once a long File List (the firmware's list): the request is
  // dropped with the list, and the next File List opens the list, not Tagsmith.
  emu::HoldKey(RKEY_Info);
  emu::HoldKey(RKEY_PlayList);
  emu::Idle(5);
  EXPECT_EQ(Tagsmith_multistep, 0);
  EXPECT_TRUE(emu::InNormalMode());
  emu::PressKey(RKEY_Exit);
  emu::PressKey(RKEY_PlayList);
  emu::Idle(3);
  EXPECT_EQ(windowShowing, 1);
  EXPECT_FALSE(emu::InNormalMode());

  // OK in Tagsmith's window means normal viewing: nothing of the list stays
  // on the screen (its title line is dark grey over the picture).
  const std::vector<uint32_t>& frame = emu::Frame();
  EXPECT_EQ(frame[300 * OSD_WIDTH + 20], 0xFF101010u);
  emu::HoldKey(RKEY_Info);
  emu::Idle(4);
  ASSERT_EQ(windowShowing, 0);
  emu::HoldKey(RKEY_Ok, 0);
  emu::Idle(3);
  EXPECT_TRUE(emu::InNormalMode());
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_NE(emu::Frame()[300 * OSD_WIDTH + 20], 0xFF101010u);
  EXPECT_EQ(Tagsmith_multistep, 0);
}

TEST_F(TagsmithTest, PreparesAMultiSelectionOneByOne) {
  // Show 02 was prepared before; Show 03 has lost its header.
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Show 02.rec.tgs"), "prepared"));
  ASSERT_EQ(remove(HostPath("/DataFiles/Show 03.rec.inf").c_str()), 0);
  InstallTagsmith();
  OpenList();
  Mark({"Show 01.rec", "Show 02.rec", "Show 03.rec"});
  ASSERT_NE(MultiSelect, nullptr);
  emu::PressKey((dword)TagsmithKey);
  emu::ReleaseKey((dword)TagsmithKey);
  ASSERT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Tagsmith Prepare Confirmation");
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(Tagsmith_multiphase, 5);
  for (int i = 0;
       i < 30 && (processInBackground || Tagsmith_multistep || !prepareInBackgroundComplete); i++)
    emu::Idle(1);
  std::string net = emu::NetOutput();
  EXPECT_EQ(
      Count(net, "Pavrolinex v5.1d: Received TAGSMITHCMD_QuembrySuccess from TAP [0x444d430a]."), 1)
      << net;
  EXPECT_EQ(Count(net, "Received TAGSMITHCMD_QuembryExisting"), 1) << net;
  EXPECT_EQ(Count(net, "Received TAGSMITHCMD_QuembryFailed"), 1) << net;
  EXPECT_TRUE(testenv::ReadFile(HostPath("/DataFiles/Show 01.rec.tgs")).size() > 0);
  // The failure ends the preparation and leaves its recording selected.
  EXPECT_EQ(prepareInBackgroundComplete, -1);
  EXPECT_EQ(processInBackground, 0);
  ASSERT_NE(MultiSelect, nullptr);
  EXPECT_STREQ(MultiSelect->name, "Show 03.rec");
  EXPECT_EQ(MultiSelect->next, nullptr);
  EXPECT_EQ(windowShowing, 1);
  // The list on screen shows that: drawn again, it stays as it is.
  std::vector<uint32_t> shown = emu::Frame();
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  EXPECT_TRUE(emu::Frame() == shown);

  // An answer nobody waits for changes nothing.
  ipCommandProcessor(EVT_TAPCOM, TAGSMITHCMD_QuembrySuccess, TAGSMITH_ID);
  emu::Idle(2);
  EXPECT_STREQ(MultiSelect->name, "Show 03.rec");
  EXPECT_EQ(prepareInBackgroundComplete, -1);
  // A Tagsmith that takes the entry and ends without answering fails the
  // preparation instead of leaving it waiting.
  ASSERT_TRUE(HDD_TAP_Terminate(TAGSMITH_ID));
  emu::Idle(1);
  ASSERT_FALSE(HDD_TAP_isRunning(TAGSMITH_ID));
  ASSERT_GE(emu::StartLinkedApplication({&kMuteTagsmith, MuteMain, MuteHandler, "Mute.tap"}), 0);
  TagsmithPrepareQuembry();
  emu::Idle(3);
  EXPECT_EQ(processInBackground, 2);
  // Tagsmith's key meanwhile offers to cancel; No lets the preparation wait on.
  emu::PressKey((dword)TagsmithKey);
  emu::ReleaseKey((dword)TagsmithKey);
  ASSERT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Cancel Prepare");
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(processInBackground, 2);
  HDD_TAP_Terminate(TAGSMITH_ID);
  emu::Idle(3);
  EXPECT_EQ(processInBackground, 0);
  EXPECT_EQ(prepareInBackgroundComplete, -1);
  EXPECT_EQ(Count(emu::NetOutput(), "Tagsmith ended before it answered"), 1);
  // Yes cancels: the selection goes, and Tagsmith ending later fails nothing.
  ASSERT_GE(emu::StartLinkedApplication({&kMuteTagsmith, MuteMain, MuteHandler, "Mute.tap"}), 0);
  TagsmithPrepareQuembry();
  emu::Idle(3);
  emu::PressKey((dword)TagsmithKey);
  emu::ReleaseKey((dword)TagsmithKey);
  ASSERT_EQ(yesnoWindowShowing, 1);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(processInBackground, 0);
  EXPECT_EQ(prepareInBackgroundComplete, -2);
  EXPECT_EQ(MultiSelect, nullptr);
  muteHeardAlive = false;  // asked whether we live, we answer
  ipCommandProcessor(EVT_TAPCOM, TAGSMITHCMD_AskAlive, TAGSMITH_ID);
  EXPECT_TRUE(muteHeardAlive);
  shown = emu::Frame();  // the marks gone from the screen too
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  EXPECT_TRUE(emu::Frame() == shown);
  HDD_TAP_Terminate(TAGSMITH_ID);
  emu::Idle(3);
  EXPECT_EQ(prepareInBackgroundComplete, -2);
  EXPECT_EQ(Count(emu::NetOutput(), "Tagsmith ended before it answered"), 1);
  // The recycle view asks no Tagsmith and shows no window of its own either.
  emu::PressKey(RKEY_Recall);
  ASSERT_EQ(recycleWindowMode, 1);
  emu::PressKey((dword)TagsmithKey);
  emu::ReleaseKey((dword)TagsmithKey);
  emu::Idle(8);
  EXPECT_EQ(Tagsmith_multiphase, 0);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_EQ(windowShowing, 1);
  // Nor while a copy or move works in the background: it says why.
  emu::PressKey(RKEY_Recall);
  processInBackground = 1;
  emu::PressKey((dword)TagsmithKey);
  emu::ReleaseKey((dword)TagsmithKey);
  EXPECT_STREQ(lastMessageLine1, "Tagsmith is disabled");
  EXPECT_EQ(Tagsmith_multiphase, 0);
  processInBackground = 0;
}

}  // namespace
