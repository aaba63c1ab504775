// The application fills the catalogue at start-up and refreshes it on activation.
#include <cstring>

#include "app/app.h"
#include "catalogue_test.h"
#include "tap_keys.h"

extern "C" const TYPE_TapHeader _tap_header;

namespace {

class StartupTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    if (HasFatalFailure()) return;
    disk = new testdisk::Disk(disk_);
    emu::SetClock(2026, 12, 7, 20, 0);
    testdisk::Header h;
    h.eventName = "Evening News";
    h.recordingStart = testdisk::Stamp(2026, 12, 6, 19, 0);
    disk->Recording("/DataFiles/News.rec", 1ull << 31, h);
    disk->Recording("/DataFiles/Movies/Film.rec", 5ull << 30, h);
    disk->File("/DataFiles/Movies/Old/Archive.mpg", 100);
  }
  void TearDown() override {
    delete disk;
    RecorderTest::TearDown();
  }
  int Start() { return emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler}); }
  int FolderNamed(const char* name) {
    for (int n = 1; n <= numberOfFolders; n++)
      if (myfolders[n] && strcmp(myfolders[n]->name, name) == 0) return n;
    return -1;
  }
  testdisk::Disk* disk = nullptr;
};

TEST_F(StartupTest, StartUpScansTheWholeTreeAndTheRootsHeaders) {
  ASSERT_GE(Start(), 0) << emu::LastError();
  ASSERT_TRUE(myfolders[0]);
  EXPECT_EQ(myfolders[0]->entryCount, 2);  // Movies, News.rec
  EXPECT_EQ(myfolders[0]->totalSize, 1ull << 31);
  int movies = FolderNamed("Movies"), old = FolderNamed("Old");
  ASSERT_GT(movies, 0);
  ASSERT_GT(old, 0);
  EXPECT_EQ(myfolders[old]->parentNumber, movies);
  EXPECT_EQ(myfolders[movies]->totalSize, 5ull << 30);
  // Only the root's headers are read at start-up.
  for (int j = 1; j <= myfolders[0]->entryCount; j++)
    if (!strcmp(FileSlot(0, j)->name, "News.rec")) {
      EXPECT_STREQ(FileSlot(0, j)->eventName, "Evening News");
    }
  EXPECT_EQ(tapStartup, 0);
}

TEST_F(StartupTest, ActivationFindsWhatChangedMeanwhile) {
  ASSERT_GE(Start(), 0) << emu::LastError();
  disk->File("/DataFiles/Later.ts", 10, testdisk::Stamp(2026, 12, 7, 19, 59));
  disk->Remove("/DataFiles/Movies/Film.rec");
  int movies = FolderNamed("Movies");
  emu::PressKey(RKEY_PlayList);
  ASSERT_EQ(windowShowing, 1);
  EXPECT_EQ(myfolders[0]->entryCount, 3);
  EXPECT_EQ(myfolders[movies]->totalSize, 5ull << 30);  // only the shown folder is reconciled
  EXPECT_EQ(numberOfFiles, 3);
  emu::PressKey(RKEY_Exit);
}

}  // namespace
