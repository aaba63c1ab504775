// Start-up with and without the firmware description file, and what the
// start leaves behind.
#include <string>

#include "AppFixture.h"
#include "app/keys.h"
#include "firmware_dat.h"
#include "lib/lib.h"

namespace {

class StartupTest : public AppTest {
 protected:
  void BeforeStart() override {
    testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
    for (testdisk::FirmwareDatModel& model : dat.models) {
      if (model.sysId == config_.systemId) model.remoteType = remoteType_;
    }
    dat.year = year_;
    dat.month = month_;
    dat.day = day_;
    ASSERT_TRUE(
        testdisk::WriteFirmwareDat(HostPath("/ProgramFiles/Settings/FirmwareTMS.dat"), dat));
  }
  int year_ = 2012, month_ = 6, day_ = 1;
  dword remoteType_ = 2;
};

TEST_F(StartupTest, RecentDescriptionFileGivesTheRemoteTypeWithoutANotice) {
  EXPECT_EQ(messageCount, 0);
  EXPECT_EQ(GlobalRemoteType, 2u);
  EXPECT_EQ(RemoteType, 2u);
  // A Green press of this remote reaches the application as 0x10048.
  mainActivationKey = 0x10048;
  EXPECT_EQ(emu::PressKey(0x10024), 0u);
  EXPECT_EQ(windowShowing, 1);
}

class OldDescriptionTest : public StartupTest {
 protected:
  void BeforeStart() override {
    year_ = 2011;
    month_ = 1;
    day_ = 31;
    StartupTest::BeforeStart();
  }
};

TEST_F(OldDescriptionTest, FileDatedBeforeFebruary2011IsReported) {
  EXPECT_EQ(messageCount, 1);
  EXPECT_STREQ(lastMessageTitle, "Old FirmwareTMS.dat file");
  EXPECT_STREQ(lastMessageLine1, "The file is dated before 1-Feb-2011.");
  EXPECT_STREQ(lastMessageLine2, "Please install the latest version.");
  // Start-up went on.
  EXPECT_EQ(tapStartup, 0);
  EXPECT_EQ(localKeyCodes.count, 48);
}

class FirstOfFebruaryTest : public StartupTest {
 protected:
  void BeforeStart() override {
    year_ = 2011;
    month_ = 2;
    day_ = 1;
    StartupTest::BeforeStart();
  }
};

TEST_F(FirstOfFebruaryTest, FileOfTheFirstOfFebruaryIsRecentEnough) { EXPECT_EQ(messageCount, 0); }

class StartupWithoutFileTest : public AppTest {};

TEST_F(StartupWithoutFileTest, MissingFileIsReportedAndDefaultsHold) {
  EXPECT_EQ(messageCount, 1);
  EXPECT_STREQ(lastMessageTitle, "No FirmwareTMS.dat file");
  EXPECT_STREQ(lastMessageLine1, "The file could not be found.");
  EXPECT_EQ(GlobalRemoteType, 1u);
  EXPECT_EQ(RemoteType, 1u);
}

TEST_F(StartupWithoutFileTest, StartLeavesTheCatalogueAndSettingsReady) {
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(CurrentDirNumber, 0);
  ASSERT_NE(myfolders[0], nullptr);
  EXPECT_STREQ(myfolders[0]->name, "/DataFiles");
  ASSERT_NE(FileSlot(0, 1), nullptr);
  EXPECT_STREQ(FileSlot(0, 1)->folderPath, "/DataFiles");
  EXPECT_EQ(mainActivationKey, 65602);
  EXPECT_EQ(CurrentActivationKey, 65602);
  EXPECT_EQ(oldSec, 100);
  EXPECT_EQ(oldHour, 100);
  ASSERT_NE(TAPIniDir, nullptr);
  EXPECT_STREQ(TAPIniDir, "/ProgramFiles/Settings/Pavrolinex");
  EXPECT_STREQ(LogFileDir, "/ProgramFiles");
  // The firmware's folder is left in /DataFiles for the application.
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[index_], "/mnt/hd/DataFiles");
}

TEST_F(StartupWithoutFileTest, TerminationGivesBackEveryBlock) {
  size_t before = emu::AllocatedBlocks();
  EXPECT_GT(before, 0u);
  // (The list is not opened here: the text output keeps a conversion buffer
  // of its own for the life of the program.)
  TSRCommanderExitTAP();
  emu::PressKey(RKEY_1);
  EXPECT_FALSE(emu::IsRunning(index_));
  EXPECT_EQ(emu::AllocatedBlocks(), 0u);
  EXPECT_EQ(TAPIniDir, nullptr);
}

}  // namespace
