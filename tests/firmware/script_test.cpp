// Scripts and the recorder program.
#include <stdio.h>
#include <sys/wait.h>

#include <string>

#include "tap.h"
#include "testenv.h"

namespace {

std::vector<dword> keys;
bool timedBox = false;  // Ok shows a box for three seconds, as a timed message does
dword KeyHandler(word event, dword param1, dword) {
  if (event == EVT_KEY) keys.push_back(param1);
  if (event == EVT_KEY && param1 == RKEY_Ok && timedBox) {
    word region = TAP_Osd_Create(0, 0, OSD_WIDTH, OSD_HEIGHT, 0, 0);
    TAP_Osd_FillBox(region, 100, 100, 50, 50, 0xFF00FF00);
    TAP_Osd_Sync();
    TAP_Delay(300);
    TAP_Osd_Delete(region);
    TAP_Osd_Sync();
    return 0;
  }
  return param1;
}
int Main() { return 1; }
const TYPE_TapHeader kHeader = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                TAP_HEADER_VERSION,
                                1,
                                TAP_API_VERSION,
                                0,
                                {0, 0},
                                "Keys",
                                "",
                                "",
                                ""};

TEST(KeyNames, NamesOfTheRemote) {
  EXPECT_EQ(emu::KeyByName("FileList"), static_cast<dword>(RKEY_PlayList));
  EXPECT_EQ(emu::KeyByName("filelist"), static_cast<dword>(RKEY_PlayList));
  EXPECT_EQ(emu::KeyByName("OK"), static_cast<dword>(RKEY_Ok));
  EXPECT_EQ(emu::KeyByName("Down"), static_cast<dword>(RKEY_ChDown));
  EXPECT_EQ(emu::KeyByName("DownArrow"), static_cast<dword>(RKEY_ChDown));
  EXPECT_EQ(emu::KeyByName("Left"), static_cast<dword>(RKEY_VolDown));
  EXPECT_EQ(emu::KeyByName("White"), static_cast<dword>(RKEY_Option));
  EXPECT_EQ(emu::KeyByName("Ab"), static_cast<dword>(RKEY_Ab));
  EXPECT_EQ(emu::KeyByName("Red"), static_cast<dword>(RKEY_Red));
  EXPECT_EQ(emu::KeyByName("0"), static_cast<dword>(RKEY_0));
  EXPECT_EQ(emu::KeyByName("9"), static_cast<dword>(RKEY_9));
  EXPECT_EQ(emu::KeyByName("FastForward"), static_cast<dword>(RKEY_Forward));
  EXPECT_EQ(emu::KeyByName("TV/Radio"), static_cast<dword>(RKEY_TvRadio));
  EXPECT_EQ(emu::KeyByName("Nonsense"), 0u);
  EXPECT_EQ(emu::KeyByName(""), 0u);
}

class ScriptTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    keys.clear();
    timedBox = false;
    ASSERT_EQ(emu::StartLinkedApplication({&kHeader, Main, KeyHandler}), 0);
  }
};

TEST_F(ScriptTest, WordsDriveTheRecorder) {
  dword start = emu::Ticks();
  ASSERT_TRUE(
      emu::RunScript("Ok down  # a comment Blue\n idle:4 wait:1.5 hold:Up release:Red "
                     "press:Green time:2024-02-29T23:58 state:1/98 key:0x10017 key:0x2010017"))
      << emu::LastError();
  // A key name is a whole press, the code and then its release, as a remote
  // sends it; press: is the code alone, release: the release alone.
  const dword up = RKEY_ChUp;
  std::vector<dword> expected = {RKEY_Ok, RKEY_Ok | RKEY_FLAG_RELEASED, RKEY_ChDown,
                                 RKEY_ChDown | RKEY_FLAG_RELEASED, up};
  for (int i = 0; i < 6; i++) expected.push_back(up | RKEY_FLAG_HELD);
  expected.push_back(up | RKEY_FLAG_RELEASED);
  expected.push_back(RKEY_Red | RKEY_FLAG_RELEASED);
  expected.push_back(RKEY_Green);
  expected.push_back(RKEY_Exit);
  expected.push_back(RKEY_Exit | RKEY_FLAG_RELEASED);
  expected.push_back(RKEY_Exit | RKEY_FLAG_RELEASED);
  EXPECT_EQ(keys, expected);
  EXPECT_GE(emu::Ticks() - start, 40u + 150u);
  word mjd;
  byte h, m;
  TAP_GetTime(&mjd, &h, &m, nullptr);
  EXPECT_EQ(mjd, TAP_MakeMjd(2024, 2, 29));
  EXPECT_EQ(h, 23);
  EXPECT_EQ(m, 58);
  dword state, sub;
  TAP_GetState(&state, &sub);
  EXPECT_EQ(state, 1u);
  EXPECT_EQ(sub, 98u);
}

TEST_F(ScriptTest, FirmwareOsdWords) {
  ASSERT_TRUE(emu::RunScript("osd:150,10,20,20,FF1E1E1E"));
  EXPECT_EQ(TAP_Osd_GetPixel(0, 160, 20), 0xFF1E1E1Eu);
  ASSERT_TRUE(emu::RunScript("osd:clear"));
  EXPECT_EQ(TAP_Osd_GetPixel(0, 160, 20), 0u);
}

TEST_F(ScriptTest, FilesWordListsEveryFileOfAFolderWithItsSize) {
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/a.rec"), "abc"));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Sub/b.rec"), ""));
  testing::internal::CaptureStderr();
  bool ran = emu::RunScript("files:/DataFiles");
  std::string listed = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(ran) << emu::LastError();
  EXPECT_NE(listed.find("files| Sub/b.rec 0\nfiles| a.rec 3\n"), std::string::npos) << listed;
}

TEST_F(ScriptTest, BadWordsStopTheScriptWithAMessage) {
  // The clock's words take every edge of a date and time, and nothing beyond.
  EXPECT_TRUE(emu::RunScript("time:2024-01-01T00:00 time:2024-12-31T23:59:59")) << emu::LastError();
  for (const char* bad : {"Okk", "idle:x", "time:2024-13-01T00:00", "time:2024-00-01T00:00",
                          "time:2024-01-32T00:00", "time:2024-01-00T00:00", "time:2024-01-01T24:00",
                          "time:2024-01-01T-1:00", "time:2024-01-01T10:-1", "time:2024-01-01T10:60",
                          "time:2024-01-01T10:00:60", "time:2024-01-01T10:00:-1",
                          "time:2024-01-01T10", "hold:Nope", "frobnicate:1", "snap:", "wait:-1"}) {
    keys.clear();
    EXPECT_FALSE(emu::RunScript(std::string("Ok ") + bad + " Ok")) << bad;
    EXPECT_NE(emu::LastError().find(bad), std::string::npos) << emu::LastError();
    EXPECT_EQ(keys.size(), 2u) << bad;  // nothing after the bad word runs
  }
}

// A box shown for a fixed time is drawn and removed inside one key event:
// snap: after the key never sees it; the frame held by the delay reaches the
// delay observer and snapnext:.
TEST_F(ScriptTest, FramesHeldOnScreenByADelay) {
  timedBox = true;
  std::string dir = testenv::MakeTempDir("pvr-held");
  std::vector<dword> delays;
  uint32_t heldPixel = 0;
  emu::SetDelayObserver([&](dword ticks) {
    delays.push_back(ticks);
    heldPixel = emu::Frame()[120 * OSD_WIDTH + 120];
    emu::WritePng(dir + "/observed.png");
  });
  ASSERT_TRUE(emu::RunScript("snapnext:" + dir + "/held.png Menu Ok snap:" + dir + "/after.png"))
      << emu::LastError();
  EXPECT_EQ(delays, std::vector<dword>{300});
  EXPECT_EQ(heldPixel, 0xFF00FF00u);
  EXPECT_NE(emu::Frame()[120 * OSD_WIDTH + 120], 0xFF00FF00u);
  std::string held = testenv::ReadFile(dir + "/held.png");
  EXPECT_FALSE(held.empty());
  EXPECT_EQ(held, testenv::ReadFile(dir + "/observed.png"));
  EXPECT_NE(held, testenv::ReadFile(dir + "/after.png"));
  // A snapnext: that no delay answers fails the script, and so does a second
  // one while the first still waits; neither leaves anything waiting.
  EXPECT_FALSE(emu::RunScript("snapnext:" + dir + "/never.png Menu"));
  EXPECT_NE(emu::LastError().find("never.png: no frame was held"), std::string::npos)
      << emu::LastError();
  EXPECT_FALSE(emu::RunScript("snapnext:" + dir + "/a.png snapnext:" + dir + "/b.png Ok"));
  EXPECT_NE(emu::LastError().find("a.png still waits"), std::string::npos) << emu::LastError();
  EXPECT_TRUE(emu::RunScript("Ok")) << emu::LastError();
  EXPECT_FALSE(testenv::Exists(dir + "/never.png"));
  EXPECT_FALSE(testenv::Exists(dir + "/a.png"));
  emu::SetDelayObserver(nullptr);
  testenv::RemoveTree(dir);
}

int RunCommand(const std::string& command, std::string& output) {
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RecorderProgram, RunsAScriptAndShowsTheNetworkOutput) {
  std::string dir = testenv::MakeTempDir("pvr-rec");
  std::string tap = std::string(PVR_TEST_TAP_DIR) + "/EchoApp.tap";
  testenv::WriteFile(dir + "/script.txt", "Ok idle:3\nsnap:" + dir + "/s.png Menu");
  testenv::WriteFile(dir + "/usb/Movies/film.rec", "film");
  std::string out;
  int rc = RunCommand(std::string(PVR_EXEC_PREFIX PVR_RECORDER_PATH) + " --disk " + dir +
                          "/disk --usb " + dir + "/usb --tap " + tap + " --script " + dir +
                          "/script.txt --net-output " + dir + "/net.txt",
                      out);
  EXPECT_EQ(rc, 0) << out;
  EXPECT_NE(out.find("net| EchoApp: key 1001e"), std::string::npos) << out;
  EXPECT_NE(out.find("net| EchoApp: key 1001c"), std::string::npos) << out;
  EXPECT_TRUE(testenv::Exists(dir + "/s.png"));
  EXPECT_TRUE(testenv::Exists(dir + "/disk/ProgramFiles/stopped"));  // the stop request came
  EXPECT_FALSE(testenv::Exists(dir + "/disk/DataFiles/USB"));
  EXPECT_NE(testenv::ReadFile(dir + "/net.txt").find("EchoApp: started"), std::string::npos);
  testenv::RemoveTree(dir);
}

TEST(RecorderProgram, FailsOnBadScriptsAndMissingImages) {
  std::string dir = testenv::MakeTempDir("pvr-rec");
  std::string tap = std::string(PVR_TEST_TAP_DIR) + "/EchoApp.tap";
  std::string out;
  EXPECT_EQ(RunCommand(std::string(PVR_EXEC_PREFIX PVR_RECORDER_PATH) + " --disk " + dir +
                           " --tap " + tap + " --script 'Ok bogus'",
                       out),
            1);
  EXPECT_NE(out.find("bogus"), std::string::npos) << out;
  out.clear();
  EXPECT_EQ(RunCommand(std::string(PVR_EXEC_PREFIX PVR_RECORDER_PATH) + " --disk " + dir +
                           " --tap " + dir + "/no.tap",
                       out),
            1);
  out.clear();
  EXPECT_EQ(RunCommand(std::string(PVR_EXEC_PREFIX PVR_RECORDER_PATH) + " --script Ok", out), 2);
  testenv::RemoveTree(dir);
}

}  // namespace
