// The demo disk as the application reads it: its settings, viewing history,
// folder history and firmware description are in the application's formats.
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "appenv.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "testenv.h"

namespace {

class DemoDiskTest : public RecorderTest {
 protected:
  void Configure(emu::Config& config) override {
    demo_ = testenv::MakeTempDir("pvr-demo");
    std::string command = std::string(PVR_EXEC_PREFIX) +
                          PVR_BINARY_DIR "/tools/demodisk --small '" + demo_ + "/disk' >/dev/null";
    made_ = system(command.c_str()) == 0;
    config.diskDir = demo_ + "/disk/hd";
  }
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(made_);
    appenv::LocateSettingsFolderAfresh();
    ASSERT_NE(TAPIniDir, nullptr);
    ReleasePlayedFiles();
  }
  void TearDown() override {
    ReleasePlayedFiles();
    RecorderTest::TearDown();
    testenv::RemoveTree(demo_);
  }
  std::string demo_;
  bool made_ = false;
};

TEST_F(DemoDiskTest, SettingsRecycleOnDeleteAndKeepTheirDefaults) {
  ResetSettingsToDefaults();
  ASSERT_EQ(ReadConfigurationFile(), 1);
  EXPECT_EQ(recycleBinOption, 1);
  EXPECT_EQ(mainActivationKey, 0x10042);
  EXPECT_EQ(GMToffsetOption, 0);  // the demo's headers carry local times
  EXPECT_EQ(StatusScreenKey, 65552);
  EXPECT_NE(FirmwareDatMJD(), 0);
  // Logos for most of the channels, none for a few.
  std::string channels = testenv::ReadFile(demo_ + "/disk/channels.txt");
  size_t services = 0;
  for (char c : channels) services += c == '\n';
  size_t logos = testenv::ListDir("/mnt/hd" LOGO_FOLDER).size();
  EXPECT_GT(logos, services / 2);
  EXPECT_LT(logos, services - 1);
}

// The disk describes the emulated recorder, so the headers of its family
// decode, and some hold the position where the recorder itself stopped.
TEST_F(DemoDiskTest, HeadersDecodeForTheDescribedRecorderAndSomeHoldAResumePosition) {
  ASSERT_EQ(GetSystemType(), ST_TMSS);
  int headers = 0, resumable = 0;
  for (const std::string& name : testenv::ListDir("/mnt/hd/DataFiles")) {
    if (name.size() < 8 || name.compare(name.size() - 8, 8, ".rec.inf") != 0) continue;
    std::string header = testenv::ReadFile("/mnt/hd/DataFiles/" + name);
    header.resize(RECHEADER_BUFFER_SIZE);
    RECHeaderInfo info;
    ASSERT_EQ(HDD_DecodeRECHeader((const byte*)header.data(), &info, 0), 1) << name;
    headers++;
    resumable += info.resumeBlock > 0;
  }
  EXPECT_GT(headers, 0);
  EXPECT_GT(resumable, 0);
  EXPECT_LT(resumable, headers);
}

TEST_F(DemoDiskTest, ViewingHistoryMatchesTheRecordingsOnTheDisk) {
  ASSERT_TRUE(ReadDatFile());
  ASSERT_EQ(numberOfPlayedFiles, 3);
  for (int i = 0; i <= numberOfPlayedFiles; i++) {
    ASSERT_NE(playedFiles[i], nullptr);
    std::string path = std::string("/mnt/hd/DataFiles/") + playedFiles[i]->name;
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0) << path;
    EXPECT_EQ(playedFiles[i]->inode, static_cast<dword>(st.st_ino)) << path;
    EXPECT_EQ(playedFiles[i]->totalBlocks, static_cast<dword>(st.st_size / 9024)) << path;
    EXPECT_LE(playedFiles[i]->positionBlock, playedFiles[i]->totalBlocks) << path;
  }
  // Entry 0, the last played, is the most recent of the history.
  EXPECT_STREQ(playedFiles[0]->name, playedFiles[numberOfPlayedFiles]->name);
  EXPECT_TRUE(ReadLastViewDatFile());
}

TEST_F(DemoDiskTest, TheOtherApplicationsStartFromAutoStart) {
  EXPECT_TRUE(testenv::Exists("/mnt/hd/ProgramFiles/MovieCutter.tap"));
  EXPECT_EQ(emu::LoadAutoStart(), 4) << emu::LastError();
  std::vector<std::string> names;
  for (const emu::RunningApplication& app : emu::RunningApplications()) names.push_back(app.name);
  EXPECT_EQ(names, (std::vector<std::string>{"BackgroundCopy v1.0", "RemoteControl v1.0",
                                             "TSR Commander v1.0", "Tagsmith v1.0"}));
}

TEST_F(DemoDiskTest, OneRecordingIsInTheRecycleBin) {
  int recycled = 0;
  for (const std::string& name : testenv::ListDir("/mnt/hd/DataFiles")) {
    if (name.size() > 8 && name.compare(name.size() - 8, 8, ".rec.del") == 0) {
      recycled++;
      std::string base = name.substr(0, name.size() - 4);
      EXPECT_TRUE(testenv::Exists("/mnt/hd/DataFiles/" + base + ".inf.del")) << base;
      EXPECT_TRUE(testenv::Exists("/mnt/hd/DataFiles/" + base + ".nav.del")) << base;
    }
  }
  EXPECT_EQ(recycled, 1);
}

}  // namespace
