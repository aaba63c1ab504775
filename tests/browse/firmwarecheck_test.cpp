// The firmware description screen: a file that describes this recorder, and
// the missing, damaged, old and foreign files, each compared with its
// reference picture.
#include "ui/FirmwareCheck.h"

#include <unistd.h>

#include <vector>

#include "BrowseFixture.h"
#include "lib/lib.h"
#include "snapshot.h"

namespace {

class FirmwareCheckTest : public BrowseTest {
 protected:
  // Replaces the file the application loaded at start-up and forgets its
  // image, so that the screen reads the disk afresh.
  void Replace(const testdisk::FirmwareDat* dat) {
    std::string path = HostPath(testdisk::Disk::kFirmwareDat);
    unlink(path.c_str());
    if (dat) {
      ASSERT_TRUE(testdisk::WriteFirmwareDat(path, *dat));
    }
    TAP_MemFree(FWDATBin);
    FWDATBin = nullptr;
    FWDATSize = 0;
  }
  // Anything drawn on the row between the compile date and the record: the
  // line that calls the file old.
  bool OldLineShown() {
    const std::vector<uint32_t>& frame = emu::Frame();
    for (int y = 172; y < 190; y++) {
      for (int x = 60; x < 660; x++) {
        if (frame[y * 720 + x] != frame[172 * 720 + 60]) return true;
      }
    }
    return false;
  }
  void ExpectScreen(const char* reference) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(reference, &message)) << message;
  }
};

TEST_F(FirmwareCheckTest, TheFileOfThisRecorderWithTheKeyEchoAndTheTextTest) {
  OpenList();
  CheckFirmwareDat();
  EXPECT_EQ(checkFirmwareDatShowing, 1);
  // Every key is the screen's; plain keys are echoed, 0 shows the text test.
  EXPECT_EQ(emu::PressKey(RKEY_Green), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Ok | RKEY_FLAG_RELEASED), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_0), 0u);
  ExpectScreen("firmware-check");
  emu::PressKey(RKEY_0);  // and hides it again
  emu::SendKey(RKEY_Exit);
  EXPECT_EQ(checkFirmwareDatShowing, 0);
  EXPECT_EQ(returnFromFirmwareDat, 0);  // consumed after the key
  EXPECT_STREQ(lastKeyHandler, "FirmwareDatKeyHandler");
  emu::ReleaseKey(RKEY_Exit);  // the release of the closing Exit hides nothing
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(emu::PressKey(RKEY_Green), 0u);  // the list has its keys again
  EXPECT_STREQ(lastKeyHandler, "QuembryWindowKeyHandler");
}

TEST_F(FirmwareCheckTest, MissingDamagedOldAndForeignFiles) {
  OpenList();
  Replace(nullptr);
  CheckFirmwareDat();
  ExpectScreen("firmware-check-missing");
  emu::PressKey(RKEY_Exit);

  testdisk::FirmwareDat damaged = testdisk::TestDiskFirmwareDat(config_.systemId);
  damaged.reserved = 7;
  Replace(&damaged);
  CheckFirmwareDat();
  ExpectScreen("firmware-check-damaged");
  emu::PressKey(RKEY_Exit);

  // Old, and without a record of this recorder.
  testdisk::FirmwareDat foreign = testdisk::TestDiskFirmwareDat(config_.systemId);
  foreign.year = 2010;
  for (auto& model : foreign.models) {
    if (model.sysId == config_.systemId) model.sysId = 1;
  }
  Replace(&foreign);
  CheckFirmwareDat();
  ExpectScreen("firmware-check-old-foreign");
  EXPECT_TRUE(OldLineShown());
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(checkFirmwareDatShowing, 0);

  // A file of 1 February 2011 is recent enough; one of the day before is old.
  for (int day : {1, 0}) {
    testdisk::FirmwareDat dated = testdisk::TestDiskFirmwareDat(config_.systemId);
    dated.year = 2011;
    dated.month = day ? 2 : 1;
    dated.day = day ? 1 : 31;
    Replace(&dated);
    CheckFirmwareDat();
    EXPECT_EQ(OldLineShown(), day == 0) << "dated 2011-" << dated.month << "-" << dated.day;
    emu::HoldKey(RKEY_Exit, 0);
  }

  // A device name too long even at the smallest size is cut there, mixed
  // case and all, rather than shrunk further.
  testdisk::FirmwareDat named = testdisk::TestDiskFirmwareDat(config_.systemId);
  for (auto& model : named.models) {
    if (model.sysId == config_.systemId) model.deviceName = "Wg" + std::string(48, 'W');
  }
  Replace(&named);
  CheckFirmwareDat();
  ExpectScreen("firmware-check-long-name");
  emu::PressKey(RKEY_Exit);

  // In German.
  TextLanguage = 1;
  CheckFirmwareDat();
  ExpectScreen("firmware-check-german");
  emu::PressKey(RKEY_Exit);
  TextLanguage = 0;
}

}  // namespace
