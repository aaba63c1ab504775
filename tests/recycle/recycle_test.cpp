// The recycle bin: restoring, emptying by hand, the automatic cleanouts (set
// hour, free-space threshold, age, start-up) and the list of all recycled
// files. Every scenario runs on a disk that also holds what must survive: a
// recording whose name merely contains ".del", a folder named like a
// recycled file, a recording being played and one being recorded, and a
// recycled file that a recording slot still writes.
#include <string.h>

#include <string>
#include <vector>

#include "../browse/BrowseFixture.h"
#include "snapshot.h"
#include "ui/Dialogs.h"
#include "ui/Text.h"

namespace {

constexpr uint64_t kGiB = 1ull << 30;
const char* const kHostile[] = {
    "a\"b$(touch pwned1)`touch pwned2`.rec",  // quotes and substitutions
    "-rf pwned3.rec",                         // an option to any command
    "back\\slash.rec",
    "new\nline; touch pwned4.rec",
};

class RecycleBinTest : public BrowseTest {
 protected:
  // A USB drive (/DataFiles/USB) with a recycled recording of its own.
  void Configure(emu::Config& config) override {
    usbSeed_ = testenv::MakeTempDir("pvr-usb");
    testdisk::Disk usb(usbSeed_);
    ASSERT_TRUE(usb.File("/Away.rec.del", 10));
    emu::ExternalDrive drive;
    drive.seedDir = usbSeed_;
    config.drives.push_back(drive);
  }
  void TearDown() override {
    BrowseTest::TearDown();
    testenv::RemoveTree(usbSeed_);
  }
  std::string usbSeed_;

  void BuildDisk() override {
    BrowseTest::BuildDisk();
    using testdisk::Stamp;
    Recording("/DataFiles/Model.delta.rec", 10, Stamp(2026, 11, 1, 20, 0));
    ASSERT_TRUE(disk->File("/DataFiles/notes.del.txt", 5));
    Recording("/DataFiles/Old.rec.del/Kept.rec", 10, Stamp(2026, 11, 1, 20, 0));
    Bin("/DataFiles/Big A.rec", kGiB, Stamp(2026, 11, 10, 8, 0));
    Bin("/DataFiles/Big B.rec", kGiB, Stamp(2026, 11, 11, 8, 0));
    Bin("/DataFiles/Big C.rec", kGiB, Stamp(2026, 11, 20, 10, 30));
    int day = 12;
    for (const char* name : kHostile) {
      Bin(std::string("/DataFiles/Series/") + name, kBlock, Stamp(2026, 11, day++, 9, 0));
    }
    Bin("/DataFiles/Old.rec.del/Inner.rec", kBlock, Stamp(2026, 11, 13, 21, 0));
    Bin("/DataFiles/Movies/Alpha.rec", 3000 * kBlock, Stamp(2026, 12, 1, 7, 5));
    // A slot still records into a file that carries the recycle marker.
    Bin("/DataFiles/Live.rec", kBlock, Stamp(2026, 11, 1, 7, 0));
    TYPE_RecInfo rec;
    memset(&rec, 0, sizeof rec);
    rec.recType = RECTYPE_Normal;
    rec.duration = 60;
    strcpy(rec.fileName, "Live.rec.del");
    ASSERT_TRUE(emu::SetRecording(1, rec, "/mnt/hd/DataFiles/Live.rec.del"));
    strcpy(rec.fileName, "Show 14.rec");
    ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/Show 14.rec"));
  }

  // A recording put into the bin at `stamp`, with its companions.
  void Bin(const std::string& path, uint64_t size, uint32_t stamp) {
    testdisk::Header header;
    header.recordingStart = stamp;
    header.eventName = "x";
    ASSERT_TRUE(disk->Recording(path, size, header, true, stamp)) << path;
    ASSERT_TRUE(disk->Recycle(path)) << path;
    for (const char* suffix : {".del", ".inf.del", ".nav.del"}) {
      ASSERT_TRUE(disk->SetStamp(path + suffix, stamp)) << path << suffix;
    }
  }
  // 0 to 3: the recycled file and its recycled companions on the disk.
  int InBin(const std::string& path) {
    return disk->Exists(path + ".del") + disk->Exists(path + ".inf.del") +
           disk->Exists(path + ".nav.del");
  }
  void PlayShow05() {
    OpenList();
    SelectByKeys("Show 05.rec");
    emu::PressKey(RKEY_Ok);
    ASSERT_TRUE(emu::IsPlaying());
    ASSERT_EQ(windowShowing, 0);
  }
  // An hourly pass at the given hour of the given day.
  void HourlyPass(int day, int hour, int month = 11) {
    emu::SetClock(2026, month, day, hour, 0, 0);
    emu::Idle(1);
  }
  void ExpectSurvivors(bool playing) {
    for (const char* path :
         {"/DataFiles/Model.delta.rec", "/DataFiles/Model.delta.rec.inf",
          "/DataFiles/notes.del.txt", "/DataFiles/Old.rec.del/Kept.rec", "/DataFiles/Show 05.rec",
          "/DataFiles/Show 05.rec.inf", "/DataFiles/Show 05.rec.nav", "/DataFiles/Show 14.rec",
          "/DataFiles/Show 14.rec.inf", "/DataFiles/Live.rec.del", "/DataFiles/Live.rec.inf.del",
          "/DataFiles/Movies/Beta.rec"}) {
      EXPECT_TRUE(disk->Exists(path)) << path;
    }
    if (playing) {
      EXPECT_TRUE(emu::IsPlaying());
      EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Show 05.rec");
    }
    for (const char* mark : {"pwned1", "pwned2", "pwned3", "pwned4"}) {
      EXPECT_FALSE(disk->Exists(std::string("/") + mark)) << mark;
      EXPECT_FALSE(disk->Exists(std::string("/DataFiles/Series/") + mark)) << mark;
      EXPECT_FALSE(testenv::Exists(mark)) << mark;
    }
  }
  // Recycled files and companions of the hostile names left: 0 to 12.
  int Hostile() {
    int n = 0;
    for (const char* name : kHostile) n += InBin(std::string("/DataFiles/Series/") + name);
    return n;
  }
};

// Threshold, age and set hour, one after the other while a recording plays.
TEST_F(RecycleBinTest, EachHourlyCleanoutTakesOnlyTheBin) {
  PlayShow05();
  recycleBinCleanoutOption = 3;
  dword freeGB = TAP_Hdd_FreeSize() / 1024;
  recycleBinThresholdOption = (int)freeGB;  // not below: nothing goes
  HourlyPass(26, 4);
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 3);
  recycleBinThresholdOption = (int)freeGB + 2;  // two GB short: the two oldest go,
  emu::CutPowerAfter(0);                        // but not from a disk that refuses
  HourlyPass(26, 5);
  emu::RestorePower();
  EXPECT_EQ(MessageWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine2, "Big B.rec.del");
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 3);
  emu::PressKey(RKEY_Ok);
  HourlyPass(26, 6);
  EXPECT_EQ(InBin("/DataFiles/Big A.rec") + InBin("/DataFiles/Big B.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Big C.rec"), 3);
  EXPECT_EQ(Hostile(), 12);

  recycleBinThresholdOption = 0;
  RecycleBinAfterXDays = 7;
  HourlyPass(27, 10);  // Big C was recycled seven days ago at 10:30: not yet
  EXPECT_EQ(Hostile(), 0);
  EXPECT_EQ(InBin("/DataFiles/Old.rec.del/Inner.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Big C.rec"), 3);
  HourlyPass(27, 11);
  EXPECT_EQ(InBin("/DataFiles/Big C.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Movies/Alpha.rec"), 3);

  RecycleBinAfterXDays = 0;
  tempFileSuffixOption = 2;  // every file counts: a companion is a recycled file of its own
  recycleBinCleanoutOption = 2;
  RecycleBinCleanoutTime = 3;
  HourlyPass(30, 2);
  EXPECT_EQ(InBin("/DataFiles/Movies/Alpha.rec"), 3);
  HourlyPass(30, 3);
  EXPECT_EQ(InBin("/DataFiles/Movies/Alpha.rec"), 0);
  ExpectSurvivors(true);
  EXPECT_EQ(MessageWindowShowing, 0);
  // The drive on another mount is left out unless external bins are asked for.
  EXPECT_TRUE(testenv::Exists("/mnt/sdb1/Away.rec.del"));
  RecycleBinCleanExternal = 1;
  HourlyPass(31, 2, 12);
  HourlyPass(31, 3, 12);
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Away.rec.del"));
}

TEST_F(RecycleBinTest, TheStartUpScanEmptiesTheBinAndNothingElse) {
  PlayShow05();
  recycleBinCleanoutOption = 1;
  tapStartup = 1;
  loadInitialQuembryInfo(RecursiveDepth(), 0);
  tapStartup = 0;
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Old.rec.del/Inner.rec"), 0);
  EXPECT_EQ(Hostile(), 0);
  ExpectSurvivors(true);
}

TEST_F(RecycleBinTest, EmptyingByHandAFolderThenEverything) {
  Bin("/DataFiles/Movies/Extras/Deep.rec", kBlock, testdisk::Stamp(2026, 11, 2, 9, 0));
  OpenList();
  emu::PressKey(RKEY_Recall);
  // Blue on a recycled file deletes it for good, with its companions.
  SelectByKeys("Big C.rec.del");
  emu::HoldKey(RKEY_Blue, 0);
  EXPECT_EQ(InBin("/DataFiles/Big C.rec"), 0);
  EXPECT_EQ(Find("Big C.rec.del"), 0);
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles/Movies");
  ASSERT_GT(Find("Alpha.rec.del"), 0);
  emu::PressKey(RKEY_Yellow);
  ASSERT_STREQ(lastMessageTitle, "Empty Recycle Bin");
  EXPECT_EQ(YesNoOption, 1);  // "No" first
  emu::PressKey(RKEY_Ok);     // No: nothing goes
  EXPECT_EQ(InBin("/DataFiles/Movies/Alpha.rec"), 3);
  // A disk that refuses to change: the failure is shown over the list, nothing is lost.
  emu::CutPowerAfter(0);
  emu::PressKey(RKEY_Yellow);
  emu::PressKey(RKEY_VolDown);
  emu::PressKey(RKEY_Ok);
  emu::RestorePower();
  EXPECT_EQ(MessageWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Quembry Recycle Bin");
  EXPECT_STREQ(lastMessageLine1, "Recycle Bin Cleanout Failed to Delete");
  EXPECT_STREQ(lastMessageLine2, "Alpha.rec.del");
  EXPECT_EQ(InBin("/DataFiles/Movies/Alpha.rec"), 3);
  emu::PressKey(RKEY_Ok);
  emu::PressKey(RKEY_Yellow);
  emu::PressKey(RKEY_VolDown);
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(lastMessageLine1, "Directory Recycle Bin Emptied.");
  EXPECT_EQ(InBin("/DataFiles/Movies/Alpha.rec"), 0);
  EXPECT_EQ(Find("Alpha.rec.del"), 0);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 3);               // only this folder
  EXPECT_EQ(InBin("/DataFiles/Movies/Extras/Deep.rec"), 3);  // not the folders below it
  SelectByKeys("..");
  emu::PressKey(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles");
  // From the settings: the tree below the list's folder.
  SelectByKeys("Series");
  emu::PressKey(RKEY_Ok);
  EmptyRecycleBin();
  emu::PressKey(RKEY_VolDown);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(Hostile(), 0);
  EXPECT_EQ(returnFromRecycleBinEmpty, 1);
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 3);
  SelectByKeys("..");
  emu::PressKey(RKEY_Ok);
  emu::PressKey(RKEY_Green);
  EXPECT_STREQ(lastMessageLine1, "Empty Recycle Bin for ALL directories.");
  emu::PressKey(RKEY_VolDown);
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(lastMessageLine1, "Recycle Bin Emptied.");
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Movies/Extras/Deep.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Old.rec.del/Inner.rec"), 0);
  EXPECT_EQ(Find("Big A.rec.del"), 0);
  EXPECT_GT(Find("Live.rec.del"), 0);  // still recorded into: it stays, and so does its line
  ExpectSurvivors(false);
}

TEST_F(RecycleBinTest, RestoreFindsAFreeNameAndSaysSo) {
  // The name without the marker is taken again: the counter goes before the extension.
  Recording("/DataFiles/Big A.rec", 10, testdisk::Stamp(2026, 12, 1, 20, 0));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Big B.rec.nav"), "stale"));
  OpenList();
  emu::PressKey(RKEY_Recall);
  SelectByKeys("Big A.rec.del");
  emu::PressKey(RKEY_Red);
  EXPECT_STREQ(lastMessageTitle, "File Restored.");
  EXPECT_STREQ(lastMessageLine1, "File restored and renamed to");
  EXPECT_STREQ(lastMessageLine2, "Big A~1.rec");
  for (const char* path : {"/DataFiles/Big A~1.rec", "/DataFiles/Big A~1.rec.inf",
                           "/DataFiles/Big A~1.rec.nav", "/DataFiles/Big A.rec"}) {
    EXPECT_TRUE(disk->Exists(path)) << path;
  }
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 0);
  EXPECT_EQ(Find("Big A.rec.del"), 0);
  // A disk that refuses the rename: the failure is shown, the file stays in the bin.
  SelectByKeys("Big C.rec.del");
  emu::CutPowerAfter(0);
  emu::HoldKey(RKEY_Red, 0);
  emu::RestorePower();
  EXPECT_EQ(MessageWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Recyle Bin Failure.");  // sic, as the recorder's texts
  EXPECT_EQ(InBin("/DataFiles/Big C.rec"), 3);
  EXPECT_GT(Find("Big C.rec.del"), 0);
  emu::PressKey(RKEY_Ok);
  // A companion left alone under the plain name takes that name as well.
  SelectByKeys("Big B.rec.del");
  emu::HoldKey(RKEY_Red, 0);
  EXPECT_STREQ(lastMessageLine2, "Big B~1.rec");
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Big B.rec.nav")), "stale");
  EXPECT_TRUE(disk->Exists("/DataFiles/Big B~1.rec.nav"));
  EXPECT_EQ(InBin("/DataFiles/Big B.rec"), 0);
  // A free name is taken silently; hostile names come back as they were.
  SelectByKeys("Series");
  emu::PressKey(RKEY_Ok);
  for (const char* name : kHostile) {
    std::string recycled = std::string(name) + ".del";
    SelectByKeys(recycled.c_str());
    int shown = messageCount;
    emu::PressKey(RKEY_Red);
    EXPECT_EQ(messageCount, shown) << name;
    std::string path = std::string("/DataFiles/Series/") + name;
    EXPECT_TRUE(disk->Exists(path) && disk->Exists(path + ".inf") && disk->Exists(path + ".nav"))
        << name;
    EXPECT_EQ(Find(recycled.c_str()), 0) << name;
  }
  ExpectSurvivors(false);
}

TEST_F(RecycleBinTest, TheListOfAllRecycledFiles) {
  // A file being recorded into is dated anew as it grows: this list wants fixed times.
  emu::ClearRecording(1);
  for (const char* suffix : {".del", ".inf.del", ".nav.del"}) {
    ASSERT_TRUE(disk->SetStamp(std::string("/DataFiles/Live.rec") + suffix,
                               testdisk::Stamp(2026, 11, 1, 7, 0)));
  }
  OpenList();
  emu::PressKey(RKEY_Recall);
  emu::PressKey(RKEY_Option);
  ASSERT_EQ(allrecycleWindowShowing, 1);
  // Oldest first, the folder below /DataFiles, sizes rounded to the MB.
  ASSERT_EQ(numberOfAllRecycleEntries, 10);
  EXPECT_EQ(numberOfAllRecycleBin, 10);
  EXPECT_STREQ(allrecycleFiles[1]->name, "Live.rec.del");
  EXPECT_STREQ(allrecycleFiles[2]->name, "Big A.rec.del");
  EXPECT_EQ(allrecycleFiles[2]->sizeMB, 1024u);
  EXPECT_STREQ(allrecycleFiles[10]->folder, "/DataFiles/Movies");
  EXPECT_EQ(allrecycleFiles[10]->sizeMB, 26u);  // 3000 blocks: 25.8 MB
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("all-recycle-window", &message)) << message;
  char total[64];
  FormatRecycleBinTotal(total, sizeof total);
  EXPECT_STREQ(total, "10 found = 3.0GB");
  emu::PressKey(RKEY_VolUp);  // one page only: back to the first line
  EXPECT_EQ(printAllRecycleLine, 1);
  // Blue: the threshold check deletes the oldest files, the list behind is
  // read again, and so is this one, with a file recycled meanwhile. The
  // total is in gigabytes of 1024 MB: 2124 MB are 2.0 GB, not 2.1.
  Bin("/DataFiles/Movies/Late.rec", 50 << 20, testdisk::Stamp(2026, 12, 5, 8, 0));
  recycleBinThresholdOption = (int)(TAP_Hdd_FreeSize() / 1024) + 1;
  // First on a disk that refuses every change: the failure is said, nothing goes.
  emu::CutPowerAfter(0);
  emu::HoldKey(RKEY_Blue, 0);
  emu::RestorePower();
  EXPECT_STREQ(lastMessageLine1, "Recycle Bin Cleanout Failed to Delete");
  EXPECT_STREQ(lastMessageLine2, "Big A.rec.del");
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 3);
  ASSERT_EQ(MessageWindowShowing, 1);
  emu::PressKey(RKEY_Ok);  // uncovers the window read anew, not the one before
  EXPECT_EQ(allrecycleWindowShowing, 1);
  std::vector<uint32_t> uncovered = emu::Frame();
  emu::PressKey(RKEY_VolUp);  // one page only: its lines drawn again
  EXPECT_TRUE(emu::Frame() == uncovered);
  emu::HoldKey(RKEY_Blue, 0);
  EXPECT_EQ(allrecycleWindowShowing, 1);
  EXPECT_EQ(InBin("/DataFiles/Live.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Big A.rec"), 0);
  EXPECT_EQ(InBin("/DataFiles/Big B.rec"), 3);
  EXPECT_EQ(numberOfAllRecycleEntries, 9);
  EXPECT_STREQ(allrecycleFiles[1]->name, "Big B.rec.del");
  FormatRecycleBinTotal(total, sizeof total);
  EXPECT_STREQ(total, "9 found = 2.0GB");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(allrecycleWindowShowing, 0);
  EXPECT_EQ(numberOfAllRecycleEntries, 0);
  EXPECT_EQ(allrecycleFiles[1], nullptr);
  EXPECT_EQ(Find("Big A.rec.del"), 0);
  EXPECT_GT(Find("Big B.rec.del"), 0);

  // A path too long for its line is shown from its end after "...", with as
  // much of it as fits: here a tail that fills the line to the last pixel.
  std::string tail;
  for (int narrow = 0; tail.empty() && narrow < 40; narrow++) {
    for (int wide = 0; wide < 60; wide++) {
      std::string candidate = "W" + std::string(narrow, 'l') + std::string(wide, 'H');
      if (PrintWidth(("..." + candidate).c_str(), 12) == 450) tail = candidate;
    }
  }
  ASSERT_FALSE(tail.empty());
  std::string longName = "/DataFiles/Empty/Long" + tail + ".rec.del";
  ASSERT_TRUE(disk->File(longName, 1, testdisk::Stamp(2026, 10, 1, 0, 0)));
  emu::PressKey(RKEY_Ab);
  ASSERT_EQ(allrecycleWindowShowing, 1);
  int ink = 0;  // the last glyph's right edge, just inside the line's end at x 585
  for (int y = 134; y < 154; y++) {
    for (int x = 578; x < 585; x++)
      ink += emu::Frame()[y * 720 + x] != emu::Frame()[134 * 720 + 590];
  }
  EXPECT_GT(ink, 0);
  emu::PressKey(RKEY_Ab);
  ASSERT_TRUE(disk->Remove(longName));

  // More than 200: the first 200 found are held, pages wrap both ways.
  for (int i = 0; i < 200; i++) {
    char name[64];
    snprintf(name, sizeof name, "/DataFiles/Empty/x%03d.rec.del", i);
    ASSERT_TRUE(disk->File(name, 1, testdisk::Stamp(2026, 10, 1, 0, 0)));
  }
  emu::PressKey(RKEY_Ab);
  EXPECT_EQ(numberOfAllRecycleBin, 209);
  EXPECT_EQ(numberOfAllRecycleEntries, 200);
  emu::PressKey(RKEY_VolDown);  // from the first page to the last
  EXPECT_EQ(printAllRecycleLine, 187);
  emu::PressKey(RKEY_Forward);  // past the end: back to the start
  EXPECT_EQ(printAllRecycleLine, 1);
  emu::PressKey(RKEY_Forward);
  EXPECT_EQ(printAllRecycleLine, 15);
  EXPECT_EQ(emu::PressKey(RKEY_Mute), RKEY_Mute);  // for the firmware
  emu::PressKey(RKEY_Ab);
  EXPECT_EQ(allrecycleWindowShowing, 0);
}

}  // namespace
