// Moving and copying through the real windows: within the disk (rename with
// companions, clashes, power cuts), across drives with the own background
// copy (multi-selection, hostile names, cancel, killed children, a full
// drive, an NFS drive) and with a job file carried out by BackgroundCopy.
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>

#include "../browse/BrowseFixture.h"
#include "actions/texts.h"
#include "apps/apps.h"
#include "snapshot.h"
#include "ui/Dialogs.h"

namespace {

constexpr const char* kHostile = "a\"b$(touch pwned1)`touch pwned2`\\.rec";
constexpr const char* kDash = "-rf.rec";

class MoveTest : public BrowseTest {
 protected:
  void Configure(emu::Config& config) override {
    seed_ = testenv::MakeTempDir("pvr-usb");
    testdisk::Disk usb(seed_);
    testdisk::Header header;
    header.family = testdisk::FAMILY_TMSS;
    header.recordingStart = testdisk::Stamp(2026, 11, 1, 20, 0);
    header.serviceName = "Channel One";
    for (const char* name : {"Film.rec", kHostile, kDash}) {
      header.eventName = name;
      ASSERT_TRUE(usb.Recording(std::string("/") + name, 300 * kBlock, header, true,
                                header.recordingStart));
    }
    // A drive holds recordings only, not the folders of a recorder's disk.
    for (const char* folder : {"/DataFiles", "/ProgramFiles", "/MediaFiles"}) {
      testenv::RemoveTree(seed_ + folder);
    }
    emu::ExternalDrive drive;
    drive.seedDir = seed_;
    drive.sizeMB = driveSizeMB;
    drive.nfs = driveNfs;
    config.drives.push_back(drive);
  }
  void TearDown() override {
    BrowseTest::TearDown();
    testenv::RemoveTree(seed_);
  }

  void Yes() {
    ASSERT_EQ(yesnoWindowShowing, 1);
    if (YesNoOption != 0) emu::PressKey(RKEY_VolDown);
    emu::PressKey(RKEY_Ok);
  }
  void OpenFolder(const char* name) {
    SelectByKeys(name);
    emu::PressKey(RKEY_Ok);
  }
  // Yellow on the selection, then the destination `name` and OK.
  void MoveTo(const char* destination) {
    emu::PressKey(RKEY_Yellow);
    ASSERT_EQ(moveWindowShowing, 1);
    for (int n = 0; n <= numberOfDestinationFolders && !IsDestination(destination); n++) {
      emu::PressKey(RKEY_ChDown);
    }
    ASSERT_TRUE(IsDestination(destination)) << destination;
    emu::PressKey(RKEY_Ok);
  }
  bool IsDestination(const char* name) {
    return currentMoveDestination && strcmp(currentMoveDestination, name) == 0;
  }
  std::vector<std::string> Destinations() {
    std::vector<std::string> names;
    for (int n = 1; n <= numberOfDestinationFolders; n++) names.push_back(moveFiles[n]->name);
    return names;
  }
  // Emulated seconds until the background copy has ended (at most `limit`).
  void AwaitCopy(double limit = 30) {
    for (double t = 0; t < limit && processInBackground == 1; t += 1) emu::Wait(1);
    EXPECT_EQ(processInBackground, 0);
  }
  // Inside the recorder's namespace, where the drive is mounted below the disk.
  static std::string Sys(const std::string& firmwarePath) { return "/mnt/hd" + firmwarePath; }
  bool Has(const std::string& firmwarePath) { return testenv::Exists(Sys(firmwarePath)); }
  uint64_t Size(const std::string& firmwarePath) {
    struct stat st;
    return stat(Sys(firmwarePath).c_str(), &st) == 0 ? (uint64_t)st.st_size : ~0ull;
  }
  // The three pieces of a recording: how many exist, and whether each that
  // exists has the size of its twin in `other`.
  int Trio(const std::string& path) { return Has(path) + Has(path + ".inf") + Has(path + ".nav"); }
  bool SameTrio(const std::string& a, const std::string& b) {
    for (const char* piece : {"", ".inf", ".nav"}) {
      if (Size(a + piece) != Size(b + piece) || Size(a + piece) == ~0ull) return false;
    }
    return true;
  }
  // Any ".part" name left in a folder.
  bool HasPartial(const std::string& folder) {
    for (const std::string& name : testenv::ListDir(Sys(folder))) {
      if (name.size() > 5 && name.compare(name.size() - 5, 5, ".part") == 0) return true;
    }
    return false;
  }
  // Replaces the shell's cp by one that waits `seconds` first, so that a copy
  // is still running when the test acts on it.
  void SlowCopy(int seconds) {
    std::string script = seed_ + "-slowcp";
    ASSERT_TRUE(testenv::WriteFile(script, "#!/usr/bin/busybox sh\nsleep " +
                                               std::to_string(seconds) +
                                               "\nexec /usr/bin/busybox cp \"$@\"\n"));
    chmod(script.c_str(), 0755);
    ASSERT_EQ(mount(script.c_str(), "/usr/bin/cp", nullptr, MS_BIND, nullptr), 0);
  }

  // Whole presses of the remote's keys.
  void Press(dword key) { emu::HoldKey(key, 0); }
  // Yes, when a question is up.
  void Confirm() {
    if (!yesnoWindowShowing) return;
    if (YesNoOption != 0) Press(RKEY_VolDown);
    Press(RKEY_Ok);
  }
  // Yellow on the selection, the destination `name`, OK and Yes.
  void PressMoveTo(const char* destination) {
    Press(RKEY_Yellow);
    ASSERT_EQ(moveWindowShowing, 1);
    for (int n = 0; n <= numberOfDestinationFolders && !IsDestination(destination); n++)
      Press(RKEY_ChDown);
    ASSERT_TRUE(IsDestination(destination)) << destination;
    Press(RKEY_Ok);
    Confirm();
  }

  // Moves across drives go by job files to BackgroundCopy, which lies in
  // /ProgramFiles, not yet running.
  void MoveWithBackgroundCopy() {
    ASSERT_TRUE(
        testenv::WriteFile(HostPath("/ProgramFiles/BackgroundCopy.tap"),
                           testenv::ReadFile(std::string(PVR_PEER_DIR) + "/BackgroundCopy.tap")));
    ASSERT_TRUE(disk->Folder("/ProgramFiles/Settings/BackgroundCopy/JobFiles"));
    BackgroundCopyOption = 1;
    bgcCopyOrMoveOption = 1;
  }
  // Replaces the shell's cp by one that rests half a second after each piece, so
  // that the test can act between two pieces of a copy.
  void PauseAfterEachPiece() {
    std::string script = seed_ + "-pausecp";
    ASSERT_TRUE(testenv::WriteFile(
        script, "#!/usr/bin/busybox sh\n/usr/bin/busybox cp \"$@\" || exit $?\nsleep 0.5\n"));
    chmod(script.c_str(), 0755);
    ASSERT_EQ(mount(script.c_str(), "/usr/bin/cp", nullptr, MS_BIND, nullptr), 0);
  }
  // Real time until `done` holds (at most ten seconds): the copy is another
  // process and runs on the real clock.
  template <typename Condition>
  bool AwaitReal(Condition done) {
    for (int polls = 0; polls < 2000; polls++) {
      if (done()) return true;
      usleep(5000);
    }
    return done();
  }
  // A process of the group `group` still runs (zombies do not count).
  static bool GroupAlive(pid_t group) {
    for (const std::string& entry : testenv::ListDir("/proc")) {
      if (entry.find_first_not_of("0123456789") != std::string::npos) continue;
      std::string stat = testenv::ReadFile("/proc/" + entry + "/stat");
      size_t paren = stat.rfind(')');
      char state = 0;
      int parent = 0, pgrp = 0;
      if (paren == std::string::npos ||
          sscanf(stat.c_str() + paren + 1, " %c %d %d", &state, &parent, &pgrp) != 3)
        continue;
      if (pgrp == group && state != 'Z') return true;
    }
    return false;
  }
  // The copying child has ended and waits for the application to look.
  static bool Ended(pid_t pid) {
    std::string stat = testenv::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    size_t paren = stat.rfind(')');
    return paren == std::string::npos || stat.compare(paren, 3, ") Z") == 0;
  }

  std::string seed_;
  uint64_t driveSizeMB = 0;
  bool driveNfs = false;
};

TEST_F(MoveTest, WithinTheDiskTheRecordingMovesWithItsCompanions) {
  OpenList();
  SelectByKeys("Show 03.rec");
  emu::PressKey(RKEY_Yellow);
  ASSERT_EQ(moveWindowShowing, 1);
  std::vector<std::string> names = Destinations();
  EXPECT_NE(std::find(names.begin(), names.end(), "Movies"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "USB"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "Show 03.rec"), names.end());
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("move-window", &message)) << message;
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(moveWindowShowing, 0);

  MoveTo("Movies");
  EXPECT_EQ(moveWindowShowing, 0);
  EXPECT_EQ(Trio("/DataFiles/Movies/Show 03.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Show 03.rec"), 0);
  EXPECT_EQ(Find("Show 03.rec"), 0);

  // A clash: with the confirmation the entry is renamed on the way, with its
  // companions, to a name free in both folders; "Do not rename" refuses and
  // leaves both.
  ASSERT_TRUE(disk->File("/DataFiles/Movies/Show 04.rec", 10));
  ASSERT_TRUE(disk->File("/DataFiles/Show 04~1.rec", 7));
  SelectByKeys("Show 04.rec");
  RenameOnMoveOption = 0;
  MoveTo("Movies");
  EXPECT_STREQ(lastMessageTitle, "File Move Conflict.");
  EXPECT_STREQ(lastMessageLine2, "Show 04~2.rec");
  EXPECT_EQ(YesNoOption, 1);
  Yes();
  EXPECT_EQ(Trio("/DataFiles/Movies/Show 04~2.rec"), 3);
  EXPECT_EQ(Size("/DataFiles/Movies/Show 04.rec"), 10u);
  EXPECT_EQ(Trio("/DataFiles/Show 04.rec"), 0);
  EXPECT_EQ(Size("/DataFiles/Show 04~1.rec"), 7u);

  RenameOnMoveOption = 3;
  ASSERT_TRUE(disk->File("/DataFiles/Movies/Show 05.rec", 10));
  SelectByKeys("Show 05.rec");
  MoveTo("Movies");
  EXPECT_STREQ(lastMessageLine1, "Same file already exists.");
  EXPECT_EQ(moveInBackgroundComplete, 0);  // no background copy to report as failed
  EXPECT_EQ(Trio("/DataFiles/Show 05.rec"), 3);
  EXPECT_EQ(Size("/DataFiles/Movies/Show 05.rec"), 10u);
  if (MessageWindowShowing) Press(RKEY_Exit);
  if (moveWindowShowing) Press(RKEY_Exit);

  // The name offered is taken while the question waits: the rename fails,
  // says so and loses nothing.
  ASSERT_TRUE(disk->File("/DataFiles/Movies/Show 07.rec", 10));
  SelectByKeys("Show 07.rec");
  RenameOnMoveOption = 0;
  MoveTo("Movies");
  ASSERT_STREQ(lastMessageLine2, "Show 07~1.rec");
  ASSERT_TRUE(disk->File("/DataFiles/Show 07~1.rec", 5));
  Yes();
  EXPECT_STREQ(lastMessageTitle, "Rename On Move Failed.");
  EXPECT_EQ(Trio("/DataFiles/Show 07.rec"), 3);
  EXPECT_EQ(Size("/DataFiles/Show 07~1.rec"), 5u);
  EXPECT_EQ(Size("/DataFiles/Movies/Show 07.rec"), 10u);
  if (MessageWindowShowing) Press(RKEY_Exit);
  if (moveWindowShowing) Press(RKEY_Exit);

  // The name found may take the whole name field, 126 characters, and no
  // more: then the move is refused. A plain file's like-named ".inf" is no
  // companion and stays.
  const std::string longName = std::string(120, 'L') + ".mp4";
  const std::string longer = std::string(121, 'M') + ".mp4";
  for (const std::string& name : {longName, longer, std::string("clip.mp4")}) {
    ASSERT_TRUE(disk->File("/DataFiles/" + name, 3));
    if (name != "clip.mp4") {
      ASSERT_TRUE(disk->File("/DataFiles/Movies/" + name, 4));
    }
  }
  ASSERT_TRUE(disk->File("/DataFiles/clip.mp4.inf", 2));
  tempFileSuffixOption = 1;
  loadSubsequentQuembryInfo(1);
  SelectByKeys(longName.c_str());
  MoveTo("Movies");
  ASSERT_STREQ(lastMessageLine2, (std::string(120, 'L') + "~1.mp4").c_str());
  Yes();
  EXPECT_EQ(Size("/DataFiles/Movies/" + std::string(120, 'L') + "~1.mp4"), 3u);
  SelectByKeys(longer.c_str());
  MoveTo("Movies");
  EXPECT_STREQ(lastMessageLine1, "Same file already exists.");
  EXPECT_EQ(Size("/DataFiles/" + longer), 3u);
  if (MessageWindowShowing) Press(RKEY_Exit);
  if (moveWindowShowing) Press(RKEY_Exit);
  SelectByKeys("clip.mp4");
  MoveTo("Movies");
  EXPECT_EQ(Size("/DataFiles/Movies/clip.mp4"), 3u);
  EXPECT_EQ(Size("/DataFiles/clip.mp4.inf"), 2u);
  tempFileSuffixOption = 0;

  // A destination folder named ZZ_EXT counts as another drive: the
  // background copy's question comes; a name that merely ends the same way
  // is an ordinary folder.
  ASSERT_TRUE(disk->Folder("/DataFiles/ZZ_EXT"));
  ASSERT_TRUE(disk->Folder("/DataFiles/AZZ_EXT"));
  loadSubsequentQuembryInfo(1);
  size_t printed = emu::ConsoleOutput().size();
  SelectByKeys("Show 06.rec");
  MoveTo("ZZ_EXT");
  EXPECT_STREQ(lastMessageTitle, "Background Copy Across Mount");
  Press(RKEY_Exit);  // No
  if (moveWindowShowing) Press(RKEY_Exit);
  EXPECT_EQ(Trio("/DataFiles/Show 06.rec"), 3);
  MoveTo("AZZ_EXT");
  EXPECT_EQ(Trio("/DataFiles/AZZ_EXT/Show 06.rec"), 3);
  std::string console = emu::ConsoleOutput().substr(printed);
  EXPECT_NE(console.find("Forcing background move. Target is </ZZ_EXT>"), std::string::npos);
  EXPECT_EQ(console.find("Forcing"), console.rfind("Forcing")) << "only once";
}

// A long destination list shows an arrow where names lie beyond the window,
// also right after wrapping from the first to the last and back; and a new
// folder in the folder of a drive that was pulled out is refused as such.
TEST_F(MoveTest, ScrollArrowsFollowTheWrapAndAPulledDriveTakesNoNewFolder) {
  for (int i = 1; i <= 9; i++) ASSERT_TRUE(disk->Folder("/DataFiles/Box " + std::to_string(i)));
  emu::HoldKey(RKEY_PlayList, 0);
  emu::HoldKey(RKEY_Exit, 0);
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::HoldKey(RKEY_Yellow, 0);
  ASSERT_EQ(moveWindowShowing, 1);
  ASSERT_GT(numberOfDestinationFolders, 9);
  // An arrow drawn over the window's panel and separator line.
  auto arrowAt = [](int y) {
    const std::vector<uint32_t>& frame = emu::Frame();
    for (int j = y; j < y + 10; j++)
      for (int i = 358; i < 374; i++) {
        uint32_t pixel = frame[j * OSD_WIDTH + i];
        if (pixel != 0xFF1E1E1Eu && pixel != 0xFF999999u) return true;
      }
    return false;
  };
  // Presses alone: how the window takes a key's release is not at stake here.
  emu::HoldKey(RKEY_Exit, 0);
  // A folder moved with a match on its leading characters: the match lies on
  // the first page, which is shown from its top.
  MoveToMatchChars = 3;
  SelectByKeys("Box 9");
  emu::HoldKey(RKEY_Yellow, 0);
  ASSERT_GT(numberOfDestinationFolders, 9);
  EXPECT_TRUE(IsDestination("Box 1"));
  EXPECT_EQ(printMoveFolderLine, 1);
  EXPECT_FALSE(arrowAt(136));
  MoveToMatchChars = 0;
  while (chosenFolderLine != 1) emu::PressKey(RKEY_ChUp);
  EXPECT_FALSE(arrowAt(136));
  EXPECT_TRUE(arrowAt(422));
  emu::PressKey(RKEY_ChUp);  // to the last
  EXPECT_EQ(chosenFolderLine, numberOfDestinationFolders);
  EXPECT_TRUE(arrowAt(136));
  EXPECT_FALSE(arrowAt(422));
  emu::PressKey(RKEY_ChDown);  // back to the first
  EXPECT_EQ(chosenFolderLine, 1);
  EXPECT_FALSE(arrowAt(136));
  EXPECT_TRUE(arrowAt(422));
  emu::HoldKey(RKEY_Exit, 0);
  ASSERT_EQ(moveWindowShowing, 0);

  OpenFolder("USB");
  ASSERT_STREQ(CurrentDir, "/DataFiles/USB");
  ASSERT_TRUE(emu::UnplugDrive("/dev/sdb1"));
  emu::HoldKey(RKEY_Green, 0);
  EXPECT_EQ(keyboardWindowShowing, 0);
  EXPECT_STREQ(lastMessageTitle, "Folder Create Failed.");
  EXPECT_STREQ(lastMessageLine1, "This folder cannot be reached:");
  EXPECT_STREQ(lastMessageLine2, "/DataFiles/USB");
  ASSERT_TRUE(emu::PlugDrive("/dev/sdb1"));
}

// The destination list: subfolders by path, the top folder as ".", the
// match on leading characters, wrapping keys; and a multi-selection moved
// item by item within the disk.
TEST_F(MoveTest, TheDestinationListFollowsItsSettingsAndKeys) {
  // Paths of every depth, up to the 126 characters a destination holds.
  ASSERT_TRUE(disk->Folder("/DataFiles/Series/Season 2/Extras"));
  ASSERT_TRUE(disk->Folder("/DataFiles/Series/" + std::string(119, 'x')));
  ASSERT_TRUE(disk->Folder("/DataFiles/Series/" + std::string(120, 'y')));
  OpenList();
  SelectByKeys("Series");  // read two levels down
  Press(RKEY_Ok);
  SelectByKeys("..");
  Press(RKEY_Ok);
  ShowSubfoldersInMoveTo = 1;
  // A folder is not offered as its own destination, nor is what lies below it.
  SelectByKeys("Series");
  Press(RKEY_Yellow);
  std::vector<std::string> others = Destinations();
  EXPECT_NE(std::find(others.begin(), others.end(), "Movies"), others.end());
  for (const char* self : {"Series", "Series/Season 2"}) {
    EXPECT_EQ(std::find(others.begin(), others.end(), self), others.end()) << self;
  }
  Press(RKEY_Exit);
  SelectByKeys("Show 01.rec");
  MoveToMatchChars = 1;
  emu::PressKey(RKEY_Yellow);
  std::vector<std::string> names = Destinations();
  auto series = std::find(names.begin(), names.end(), "Series");
  ASSERT_NE(series, names.end());
  ASSERT_NE(series + 1, names.end());
  EXPECT_EQ(*(series + 1), "Series/Season 2");
  auto Offered = [&](const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  EXPECT_TRUE(Offered("Series/Season 2/Extras"));
  EXPECT_TRUE(Offered("Series/" + std::string(119, 'x')));
  for (const std::string& name : names) EXPECT_EQ(name.find("yyy"), std::string::npos) << name;
  EXPECT_TRUE(IsDestination("Series"));  // the first name from "S" on
  for (size_t n = 0; n < names.size(); n++) emu::PressKey(RKEY_ChDown);
  EXPECT_TRUE(IsDestination("Series"));  // once round
  while (chosenFolderLine != 1) emu::PressKey(RKEY_ChUp);
  emu::PressKey(RKEY_ChUp);
  EXPECT_EQ(chosenFolderLine, numberOfDestinationFolders);
  emu::PressKey(RKEY_Exit);

  MoveToMatchChars = 0;
  Mark({"Show 10.rec", "Show 11.rec"});
  MoveTo("Series/Season 2");
  emu::Idle(3);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_EQ(moveWindowShowing, 0);
  EXPECT_EQ(Trio("/DataFiles/Series/Season 2/Show 10.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Series/Season 2/Show 11.rec"), 3);

  // The top folder is offered as "." from below it only.
  ShowSubfoldersInMoveTo = 2;
  emu::PressKey(RKEY_Yellow);
  names = Destinations();
  EXPECT_EQ(std::find(names.begin(), names.end(), "."), names.end());
  emu::PressKey(RKEY_Exit);
  OpenFolder("Movies");
  SelectByKeys("Beta.rec");
  emu::PressKey(RKEY_Yellow);
  ASSERT_STREQ(moveFiles[1]->name, ".");
  emu::PressKey(RKEY_Exit);
  LinkMediaFiles = 1;  // rewrites only the paths of the media folder
  MoveTo(".");
  EXPECT_EQ(Trio("/DataFiles/Beta.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Movies/Beta.rec"), 0);
  // Into the mounted media folder a move goes to where its files are: the
  // disk's own mount (a rename cannot cross into the other mount).
  ASSERT_TRUE(disk->Folder("/MediaFiles/Clips"));
  ASSERT_TRUE(disk->Folder("/DataFiles/~MediaFiles"));
  ASSERT_EQ(mount(Sys("/MediaFiles").c_str(), Sys("/DataFiles/~MediaFiles").c_str(), nullptr,
                  MS_BIND, nullptr),
            0);
  SelectByKeys("..");
  Press(RKEY_Ok);
  loadSubsequentQuembryInfo(2);
  SelectByKeys("Show 12.rec");
  MoveTo("~MediaFiles/Clips");
  EXPECT_EQ(Trio("/MediaFiles/Clips/Show 12.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Show 12.rec"), 0);
}

// The box of Tagsmith's background preparation, running and ended.
TEST_F(MoveTest, ThePrepareBoxShowsProgressAndOutcome) {
  OpenList();
  processInBackground = 2;
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("prepare-in-progress", &message)) << message;
  processInBackground = 0;
  prepareInBackgroundComplete = -2;
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  EXPECT_TRUE(snapshot::MatchesReference("prepare-cancelled", &message)) << message;
  prepareInBackgroundComplete = 1;
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  EXPECT_TRUE(snapshot::MatchesReference("prepare-complete", &message)) << message;
}

// Cut after each rename of a same-mount move: the next start finds each of
// the three pieces once, in the source or in the destination.
TEST_F(MoveTest, APowerCutLeavesEveryPieceSomewhere) {
  OpenList();
  const char* names[3] = {"Show 06.rec", "Show 07.rec", "Show 08.rec"};
  for (int changes = 0; changes < 3; changes++) {
    SelectByKeys(names[changes]);
    emu::CutPowerAfter(changes);
    MoveTo("Series");
    emu::RestorePower();
    std::string from = std::string("/DataFiles/") + names[changes];
    std::string to = std::string("/DataFiles/Series/") + names[changes];
    for (const char* piece : {"", ".inf", ".nav"}) {
      EXPECT_EQ(Has(from + piece) + Has(to + piece), 1) << to << piece;
    }
    if (MessageWindowShowing) emu::PressKey(RKEY_Exit);
  }
}

// A multi-selection of three recordings on the drive, one with a hostile
// name and one that looks like an option, copied to the disk by the
// application's own background copy.
TEST_F(MoveTest, AcrossDrivesTheOwnCopyArrivesWholeAndTheSourceStays) {
  ASSERT_EQ(chdir(disk_.c_str()), 0);  // where a substituted command would leave its file
  OpenList();
  OpenFolder("USB");
  Mark({"Film.rec", kHostile, kDash});
  ASSERT_EQ(MultiSelectCount(), 3);
  MoveTo("..");
  EXPECT_STREQ(lastMessageTitle, "Background Copy Across Mount");
  EXPECT_STREQ(lastMessageLine1, "This may take some time.");
  EXPECT_EQ(YesNoOption, 0);
  Yes();
  EXPECT_EQ(processInBackground, 1);
  // A cancel answered before the first child has started has nothing to stop.
  emu::PressKey(RKEY_Yellow);
  EXPECT_STREQ(lastMessageTitle, "Cancel Copy");
  Yes();
  AwaitCopy();
  EXPECT_EQ(moveInBackgroundComplete, 1);
  EXPECT_EQ(MultiSelectCount(), 0);
  for (const char* name : {"Film.rec", kHostile, kDash}) {
    EXPECT_TRUE(SameTrio(std::string("/DataFiles/") + name, std::string("/DataFiles/USB/") + name))
        << name;
  }
  EXPECT_FALSE(HasPartial("/DataFiles"));
  for (const char* trap : {"pwned1", "pwned2"}) {
    EXPECT_FALSE(testenv::Exists(disk_ + "/" + trap));
    EXPECT_FALSE(Has(std::string("/DataFiles/USB/") + trap));
  }
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("move-copy-complete", &message)) << message;
}

// The job-file route for a multi-selection: one question, one job file per
// entry in BackgroundCopy's format, carried out by BackgroundCopy, which the
// move starts.
TEST_F(MoveTest, JobFilesAreCarriedOutByBackgroundCopy) {
  MoveWithBackgroundCopy();
  OpenList();
  OpenFolder("USB");
  Mark({"Film.rec", kDash});
  MoveTo("..");
  EXPECT_STREQ(lastMessageTitle, "'bgc' Move Across Mount");
  EXPECT_STREQ(lastMessageLine1, "Create (2) jobfiles");
  int asked = messageCount;
  Yes();
  emu::Idle(3);
  EXPECT_EQ(messageCount, asked);  // asked once for both
  EXPECT_EQ(MultiSelectCount(), 0);
  const std::string jobs = "/ProgramFiles/Settings/BackgroundCopy/JobFiles/";
  std::string job = testenv::ReadFile(HostPath(jobs + "0001.bgc"));
  ASSERT_EQ(job.size(), 1024u);
  EXPECT_STREQ(job.c_str(),
               "SDir=/mnt/hd/DataFiles/USB\r\nDDir=/mnt/hd/DataFiles\r\nFileName=Film.rec\r\nCoM="
               "1\r\n");
  EXPECT_NE(testenv::ReadFile(HostPath(jobs + "0002.bgc")).find("FileName=-rf.rec\r\n"),
            std::string::npos);
  for (int n = 0; n < 100 && Trio(std::string("/DataFiles/") + kDash) < 3; n++) emu::Wait(1);
  EXPECT_TRUE(HDD_TAP_isRunning(BACKGROUNDCOPY_ID));
  for (const char* name : {"Film.rec", kDash}) {
    EXPECT_EQ(Trio(std::string("/DataFiles/") + name), 3) << name;
    EXPECT_EQ(Size(std::string("/DataFiles/") + name), 300 * kBlock);
    EXPECT_EQ(Trio(std::string("/DataFiles/USB/") + name), 0);  // BackgroundCopy moved it
  }
  // BackgroundCopy takes no folders: the user is told, no job is written.
  emu::PressKey(RKEY_Exit);
  OpenList();
  OpenFolder("..");
  SelectByKeys("Empty");
  MoveTo("USB");
  Yes();
  EXPECT_STREQ(lastMessageTitle, "Folder Copy/Move Not Allowed");
  EXPECT_FALSE(testenv::Exists(HostPath(jobs + "0003.bgc")));
  EXPECT_FALSE(Has("/DataFiles/USB/Empty"));
}

// A name with a line break would start a line of its own in the job file,
// and BackgroundCopy would move the file that line names: no job is written.
TEST_F(MoveTest, AJobFileNeverCarriesAControlCharacter) {
  MoveWithBackgroundCopy();
  const std::string name = "x\r\nFileName=Show 01.rec";
  ASSERT_TRUE(disk->File("/DataFiles/" + name, 10));
  Press(RKEY_PlayList);
  SelectByKeys(name.c_str());
  PressMoveTo("USB");
  EXPECT_STREQ(lastMessageTitle, "Error: 'bgc' Jobfile");
  EXPECT_STREQ(lastMessageLine1, "No jobfile: a name holds a control character:");
  EXPECT_TRUE(testenv::ListDir(HostPath("/ProgramFiles/Settings/BackgroundCopy/JobFiles")).empty());
  emu::Idle(20);
  EXPECT_FALSE(HDD_TAP_isRunning(BACKGROUNDCOPY_ID));
  EXPECT_EQ(Trio("/DataFiles/Show 01.rec"), 3);
  EXPECT_FALSE(Has("/DataFiles/USB/Show 01.rec"));
  EXPECT_TRUE(Has("/DataFiles/" + name));
}

// The disk fills up, or the power goes, after every number of writes while
// a job file is written: a job file on the disk is always whole, and one that
// could not be written is gone and reported.
TEST_F(MoveTest, AJobFileIsWholeOrGoneAndTheUserIsTold) {
  ASSERT_TRUE(disk->Folder("/ProgramFiles/Settings/BackgroundCopy/JobFiles"));
  const std::string job = "/ProgramFiles/Settings/BackgroundCopy/JobFiles/0001.bgc";
  BackgroundCopyOption = 1;
  OpenList();
  OpenFolder("USB");
  for (bool power : {false, true}) {
    for (int n = 0; n < 4; n++) {
      SelectByKeys("Film.rec");
      MoveTo("..");
      ASSERT_STREQ(lastMessageTitle, "'bgc' Copy Across Mount");
      int shown = messageCount;
      if (power)
        emu::CutPowerAfter(n);
      else
        emu::FillDiskAfter(n);
      Yes();
      bool fault = power ? emu::PowerWasCut() : emu::DiskWasFull();
      emu::RestorePower();
      std::string written = testenv::ReadFile(HostPath(job));
      bool whole = written.size() == 1024 &&
                   written.find("FileName=Film.rec\r\nCoM=0\r\n") != std::string::npos;
      if (!fault) {
        EXPECT_TRUE(whole) << n;
        break;
      }
      EXPECT_GT(messageCount, shown) << (power ? "power cut" : "full disk") << " after " << n;
      EXPECT_STREQ(lastMessageTitle, "Error: 'bgc' Jobfile") << n;
      // Without power even the removal of the broken file fails; the copy
      // program refuses a job file that is not whole.
      if (!power) {
        EXPECT_FALSE(testenv::Exists(HostPath(job))) << "full disk after " << n;
      }
      emu::PressKey(RKEY_Exit);
      unlink(HostPath(job).c_str());
    }
    unlink(HostPath(job).c_str());
  }
}

// A stop request while the copy runs: the child goes with the application
// and takes its partial copy along.
TEST_F(MoveTest, AStopRequestEndsTheCopyAndItsPartialFile) {
  SlowCopy(30);
  OpenList();
  OpenFolder("USB");
  SelectByKeys("Film.rec");
  MoveTo("..");
  Yes();
  emu::Wait(2);
  ASSERT_GT(moveInBackgroundPID, 0);
  ASSERT_TRUE(testenv::WriteFile(Sys("/DataFiles/Film.rec.part"), "partial"));
  emu::Shutdown(0);
  siginfo_t info;
  EXPECT_NE(waitid(P_ALL, 0, &info, WEXITED | WNOHANG), 0);  // no child left
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/Film.rec.part")));
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/Film.rec")));
}

// Cancel through the list while the copy runs: the progress box shows how
// far it got, then the outcome, and nothing partial stays.
TEST_F(MoveTest, CancelInTheMiddleLeavesTheSourceAndNoPartialCopy) {
  SlowCopy(30);
  OpenList();
  OpenFolder("USB");
  SelectByKeys("Film.rec");
  MoveTo("..");
  Yes();
  emu::Wait(2);
  ASSERT_GT(moveInBackgroundPID, 0);
  // Half of the recording has arrived under its partial name.
  ASSERT_TRUE(disk->File("/DataFiles/Film.rec.part", 150 * kBlock));
  emu::Wait(1.1);
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("move-copy-progress", &message)) << message;
  emu::PressKey(RKEY_Yellow);
  EXPECT_STREQ(lastMessageTitle, "Cancel Copy");
  pid_t group = moveInBackgroundPID;
  ASSERT_TRUE(GroupAlive(group));  // the shell, its sleep and cp to come
  Yes();
  AwaitCopy();
  EXPECT_TRUE(AwaitReal([&] { return !GroupAlive(group); })) << "the copy's shell runs on";
  EXPECT_EQ(moveInBackgroundComplete, -2);
  EXPECT_EQ(Trio("/DataFiles/Film.rec"), 0);
  EXPECT_FALSE(HasPartial("/DataFiles"));
  EXPECT_EQ(Trio("/DataFiles/USB/Film.rec"), 3);
  EXPECT_TRUE(snapshot::MatchesReference("move-copy-cancelled", &message)) << message;

  // A partial copy of an earlier attempt in the way (a power cut): the copy
  // refuses to start and leaves it for the user to look at.
  ASSERT_TRUE(testenv::WriteFile(Sys("/DataFiles/Film.rec.part"), "stale"));
  MoveTo("..");
  Yes();
  AwaitCopy();
  EXPECT_EQ(moveInBackgroundComplete, -1);
  EXPECT_EQ(testenv::ReadFile(Sys("/DataFiles/Film.rec.part")), "stale");
  EXPECT_EQ(Trio("/DataFiles/Film.rec"), 0);
  EXPECT_EQ(Trio("/DataFiles/USB/Film.rec"), 3);
}

// For a multi-selection the box counts the bytes of all its entries: the
// first entry's recording whole is somewhat less than half of two.
TEST_F(MoveTest, TheProgressOfASelectionCountsAllItsEntries) {
  SlowCopy(30);
  OpenList();
  OpenFolder("USB");
  Mark({"Film.rec", kDash});
  MoveTo("..");
  Yes();
  emu::Wait(2);
  ASSERT_GT(moveInBackgroundPID, 0);
  ASSERT_TRUE(testenv::WriteFile(Sys("/DataFiles/Film.rec.part"), std::string(300 * kBlock, 'x')));
  EXPECT_EQ(BackgroundMovePercent(), 100);
  EXPECT_GE(BackgroundCopyDisplayPercent(), 40);
  EXPECT_LT(BackgroundCopyDisplayPercent(), 50);
}

// An entry of the selection that leaves the drive before its turn (the list,
// read again, has it no more): the user is told, the copy ends as failed,
// what came before it is whole.
TEST_F(MoveTest, AnEntryGoneBeforeItsTurnEndsTheCopyAsFailed) {
  OpenList();
  OpenFolder("USB");
  Mark({"Film.rec", kDash});
  MoveTo("..");
  Yes();
  ASSERT_EQ(processInBackground, 1);
  for (const char* piece : {"", ".inf", ".nav"}) {
    ASSERT_EQ(unlink(Sys(std::string("/DataFiles/USB/") + kDash + piece).c_str()), 0);
  }
  loadSubsequentQuembryInfo(1);
  AwaitCopy();
  EXPECT_STREQ(lastMessageTitle, "Multi-Select Not Found");
  EXPECT_EQ(moveInBackgroundComplete, -1);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_TRUE(SameTrio("/DataFiles/Film.rec", "/DataFiles/USB/Film.rec"));
  EXPECT_EQ(Trio(std::string("/DataFiles/") + kDash), 0);
}

// The own copy takes a folder whole. What is in the way ends a copy as
// failed and stays as it was: a name already in the destination partway
// through a selection, and a companion's name that arrives there while the
// copy runs.
TEST_F(MoveTest, WhatIsInTheWayEndsTheOwnCopyAsFailed) {
  ASSERT_TRUE(testenv::WriteFile(Sys("/DataFiles/USB/Clips/a.rec"), std::string(2 << 20, 'c')));
  ASSERT_TRUE(disk->File(std::string("/DataFiles/") + kDash, 10));
  SlowCopy(1);
  OpenList();
  OpenFolder("USB");
  SelectByKeys("Clips");
  MoveTo("..");
  Yes();
  for (int n = 0; n < 20 && moveInBackgroundPID <= 0; n++) emu::Idle();  // it starts
  EXPECT_EQ(BackgroundMovePercent(), 0);  // nothing there yet, and that is known
  AwaitCopy();
  EXPECT_EQ(moveInBackgroundComplete, 1);
  EXPECT_EQ(Size("/DataFiles/Clips/a.rec"), 2u << 20);

  RenameOnMoveOption = 3;
  Mark({"Film.rec", kDash});
  MoveTo("..");
  Yes();
  AwaitCopy();
  EXPECT_STREQ(lastMessageLine1, "Same file already exists.");
  EXPECT_EQ(moveInBackgroundComplete, -1);
  EXPECT_TRUE(SameTrio("/DataFiles/Film.rec", "/DataFiles/USB/Film.rec"));
  EXPECT_EQ(Size(std::string("/DataFiles/") + kDash), 10u);
  if (MessageWindowShowing) Press(RKEY_Exit);

  const std::string arrived = std::string("/DataFiles/") + kHostile;
  SelectByKeys(kHostile);
  MoveTo("..");
  Yes();
  for (int n = 0; n < 20 && moveInBackgroundPID <= 0; n++) emu::Idle();  // it starts
  ASSERT_TRUE(AwaitReal([&] { return Has(arrived + ".part"); }));
  ASSERT_TRUE(testenv::WriteFile(Sys(arrived + ".nav"), "mine"));
  AwaitCopy();
  EXPECT_EQ(moveInBackgroundComplete, -1);
  EXPECT_EQ(testenv::ReadFile(Sys(arrived + ".nav")), "mine");
  EXPECT_FALSE(Has(arrived));
  EXPECT_FALSE(HasPartial("/DataFiles"));
  EXPECT_EQ(Trio(std::string("/DataFiles/USB/") + kHostile), 3);
}

// The child killed at random moments: whatever it had done, the source is
// whole and the destination holds the whole recording or nothing of it.
TEST_F(MoveTest, AKilledChildLeavesNothingThatLooksWhole) {
  std::string big(24 << 20, 'x');
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Big.rec"), big));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Big.rec.inf"), std::string(4096, 'i')));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Big.rec.nav"), big.substr(0, 1 << 20)));
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
    std::mt19937 random(seed);
    snprintf(GlbSourceDir, sizeof GlbSourceDir, "/DataFiles");
    snprintf(GlbTargetDir, sizeof GlbTargetDir, "/DataFiles/USB");
    snprintf(GlbSourceFile, sizeof GlbSourceFile, "Big.rec");
    processInBackground = 1;
    BackgroundMove();  // starts the child
    ASSERT_GT(moveInBackgroundPID, 0);
    usleep(std::uniform_int_distribution<int>(0, 60000)(random));
    kill(-moveInBackgroundPID, SIGKILL);
    // The poll sees the child once the kernel has reaped it; on a loaded
    // machine (sanitizers, other builds) that can take a while.
    for (int polls = 0; moveInBackgroundPID > 0 && polls < 1000; polls++) {
      usleep(10000);
      BackgroundMove();
    }
    EXPECT_TRUE(moveInBackgroundComplete == -2 || moveInBackgroundComplete == 1) << seed;
    EXPECT_EQ(Size("/DataFiles/Big.rec"), big.size());
    int arrived = Trio("/DataFiles/USB/Big.rec");
    if (Has("/DataFiles/USB/Big.rec")) {
      EXPECT_TRUE(SameTrio("/DataFiles/Big.rec", "/DataFiles/USB/Big.rec")) << seed;
    } else {
      EXPECT_LT(arrived, 3) << seed;
    }
    EXPECT_FALSE(HasPartial("/DataFiles/USB")) << seed;
    for (const char* piece : {"", ".inf", ".nav"})
      unlink(Sys(std::string("/DataFiles/USB/Big.rec") + piece).c_str());
    processInBackground = 0;
    moveInBackgroundComplete = 0;
    returnFromMove = 0;
  }
}

// The drive pulled out while the own copy runs, in both directions: before
// the copy starts, between its first two pieces, and after it ended but
// before the application looked. Plugged in again, the source is whole where
// it was, the other side holds the whole recording under its name or none of
// it, the list shows the disk as it is, and the user was told.
TEST_F(MoveTest, ADrivePulledOutMidCopyLosesNothing) {
  PauseAfterEachPiece();
  OpenList();
  for (bool toDrive : {true, false}) {
    const std::string name = toDrive ? "Show 03.rec" : "Film.rec";
    const std::string source = (toDrive ? "/DataFiles/" : "/DataFiles/USB/") + name;
    const std::string target = (toDrive ? "/DataFiles/USB/" : "/DataFiles/") + name;
    const uint64_t size = Size(source);
    for (int stage = 0; stage < 3; stage++) {
      SCOPED_TRACE((toDrive ? "to the drive, stage " : "from the drive, stage ") +
                   std::to_string(stage));
      if (!toDrive) OpenFolder("USB");
      SelectByKeys(name.c_str());
      MoveTo(toDrive ? "USB" : "..");
      Yes();
      if (stage > 0) {
        for (int n = 0; n < 20 && moveInBackgroundPID <= 0; n++) emu::Idle();  // it starts
        ASSERT_GT(moveInBackgroundPID, 0);
        pid_t child = moveInBackgroundPID;
        if (stage == 1) {
          EXPECT_TRUE(AwaitReal([&] { return Size(target + ".part") == size; }));
        } else {
          EXPECT_TRUE(AwaitReal([&] { return Ended(child); }));
        }
      }
      ASSERT_TRUE(emu::UnplugDrive("/dev/sdb1"));
      AwaitCopy();
      EXPECT_LT(moveInBackgroundComplete, 0);  // the box shows the error
      std::string message;
      if (stage == 0 && toDrive) {
        EXPECT_TRUE(snapshot::MatchesReference("move-drive-pulled", &message)) << message;
      }
      ASSERT_TRUE(emu::PlugDrive("/dev/sdb1"));
      EXPECT_EQ(Trio(source), 3);
      EXPECT_EQ(Size(source), size);
      if (Has(target)) {
        EXPECT_EQ(stage, 2);
        EXPECT_TRUE(SameTrio(source, target));
      }
      // Pieces the application could not reach stay under their partial
      // names; on its own side it removed them.
      if (!toDrive) {
        EXPECT_FALSE(HasPartial("/DataFiles"));
      }
      for (const char* piece : {"", ".inf", ".nav"}) {
        unlink(Sys(target + piece).c_str());
        unlink(Sys(target + piece + ".part").c_str());
      }
      while (strcmp(CurrentDir, "/DataFiles") != 0 && !HasFailure()) {
        SelectByKeys("..");
        emu::PressKey(RKEY_Ok);
      }
      RefreshQuembryList(0);
      EXPECT_GT(Find("USB"), 0);
      EXPECT_EQ(Find(name.c_str()) > 0, toDrive);
    }
  }
}

// The same with BackgroundCopy moving a recording off the drive, pulled at
// every stage of its copy and its check: the recording is whole on the drive
// or whole on the disk (or both), never gone, and BackgroundCopy goes on.
TEST_F(MoveTest, ADrivePulledOutUnderBackgroundCopyLosesNothing) {
  MoveWithBackgroundCopy();
  const std::string big(24 << 20, 'b');
  OpenList();
  for (int idles = 0; idles <= 13; idles++) {
    SCOPED_TRACE("pulled after " + std::to_string(idles) + " idle events");
    ASSERT_TRUE(testenv::WriteFile(Sys("/DataFiles/USB/Big.rec"), big));
    ASSERT_TRUE(testenv::WriteFile(Sys("/DataFiles/USB/Big.rec.inf"), std::string(4096, 'i')));
    OpenFolder("USB");
    SelectByKeys("Big.rec");
    MoveTo("..");
    Yes();
    for (int n = 0; n < 100 && !Has("/DataFiles/Big.rec.part"); n++) emu::Idle();
    ASSERT_TRUE(Has("/DataFiles/Big.rec.part"));
    ASSERT_TRUE(emu::RunScript("idle:" + std::to_string(idles) + " unplug:/dev/sdb1 idle:30"));
    EXPECT_FALSE(emu::RunScript("unplug:/dev/sdb1"));  // not there to pull
    ASSERT_TRUE(emu::RunScript("plug:/dev/sdb1"));
    EXPECT_TRUE(HDD_TAP_isRunning(BACKGROUNDCOPY_ID));
    bool onDrive =
        Size("/DataFiles/USB/Big.rec") == big.size() && Size("/DataFiles/USB/Big.rec.inf") == 4096;
    bool onDisk =
        Size("/DataFiles/Big.rec") == big.size() && Size("/DataFiles/Big.rec.inf") == 4096;
    EXPECT_TRUE(onDrive || onDisk);
    EXPECT_TRUE(onDisk || !Has("/DataFiles/Big.rec"));
    EXPECT_FALSE(HasPartial("/DataFiles"));
    for (const char* piece : {"", ".inf"}) {
      unlink(Sys(std::string("/DataFiles/Big.rec") + piece).c_str());
      unlink(Sys(std::string("/DataFiles/USB/Big.rec") + piece).c_str());
    }
    SelectByKeys("..");
    emu::PressKey(RKEY_Ok);
    RefreshQuembryList(0);
  }
}

// Entries that something holds: a folder with a recording in progress, one
// with the file being played, one whose file a BackgroundCopy job waits to
// read, the drive's folder, the mounted media folder, and a file the own
// background copy reads. Every action on each is refused with its reason,
// and everything stays where it was.
class InUseTest : public MoveTest {
 protected:
  void BuildDisk() override {
    MoveTest::BuildDisk();
    Recording("/DataFiles/Live/now.rec", 100, testdisk::Stamp(2026, 12, 7, 20, 0));
    Recording("/DataFiles/Watch/film.rec", 1000, testdisk::Stamp(2026, 12, 1, 20, 0));
    Recording("/DataFiles/Jobbed/x.rec", 100, testdisk::Stamp(2026, 12, 1, 20, 0));
    ASSERT_TRUE(disk->File("/DataFiles/Jobbed/old.rec.del", 10));
    const std::string jobs = "/ProgramFiles/Settings/BackgroundCopy/JobFiles/";
    for (const char* job : {"0001.bgc|x.rec", "0002.bgc|old.rec.del"}) {
      std::string text = std::string(
                             "SDir=/mnt/hd/DataFiles/Jobbed\r\nDDir=/mnt/hd/DataFiles\r\n"
                             "FileName=") +
                         (strchr(job, '|') + 1) + "\r\nCoM=1\r\n";
      ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + std::string(job, 8)), text));
    }
    ASSERT_TRUE(testenv::WriteFile(HostPath("/MediaFiles/clip.mp4"), "media"));
    // A job names the media folder's file by its own path.
    ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0003.bgc"),
                                   "SDir=/mnt/hd/MediaFiles\r\nDDir=/mnt/hd/DataFiles\r\n"
                                   "FileName=clip.mp4\r\nCoM=1\r\n"));
    ASSERT_TRUE(disk->Folder("/DataFiles/~MediaFiles"));
    ASSERT_EQ(
        mount("/mnt/hd/MediaFiles", "/mnt/hd/DataFiles/~MediaFiles", nullptr, MS_BIND, nullptr), 0);
    TYPE_RecInfo rec;
    memset(&rec, 0, sizeof rec);
    rec.recType = RECTYPE_Normal;
    strcpy(rec.fileName, "now.rec");
    ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/Live/now.rec"));
  }
  // Tries each action on the selected line and checks that each was refused
  // for `reason` and left `path` in place.
  void TryEveryAction(const char* reason, const std::string& path, bool file, bool move) {
    std::string name = SelectedName();
    SCOPED_TRACE(name);
    folderDeleteOption = 2;
    recycleBinOption = 1;
    std::vector<std::string> actions = {"delete"};
    if (file) actions.push_back("recycle");
    if (move) actions.push_back("move");
    actions.push_back("rename");
    for (const std::string& action : actions) {
      lastMessageLine1[0] = 0;
      // Deletes are refused before their question is asked.
      if (action == "delete") {
        emu::HoldKey(RKEY_Blue);  // the long press: for good
        EXPECT_EQ(deleteWindowShowing, 0);
        Confirm();
      } else if (action == "recycle") {
        Press(RKEY_Blue);
        EXPECT_EQ(deleteWindowShowing, 0);
        Confirm();
      } else if (action == "move") {
        PressMoveTo("Movies");
      } else {
        Press(RKEY_Option);
        ASSERT_EQ(keyboardWindowShowing, 1);
        keyboardWindowShowing = 0;
        ReturnFromRenameKeyboard("Renamed", 1);
        CheckFlags();
        if (infoWindowShowing) Press(RKEY_Exit);
      }
      EXPECT_STREQ(lastMessageLine1, reason) << action;
      EXPECT_TRUE(Has(path)) << action;
      EXPECT_EQ(moveWindowShowing, 0) << action;
      EXPECT_STREQ(SelectedName(), name.c_str()) << action;
    }
  }
};

TEST_F(InUseTest, NothingInUseOrMountedIsDeletedRecycledMovedRenamedOrEmptied) {
  OpenList();
  // The file being played, from its folder; the list comes back on top.
  SelectByKeys("Watch");
  Press(RKEY_Ok);
  SelectByKeys("film.rec");
  Press(RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  Press(RKEY_PlayList);
  ASSERT_EQ(windowShowing, 1);
  SelectByKeys("..");
  Press(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles");

  struct Case {
    const char* line;
    AppText& reason;
    const char* kept;  // what must stay
  };
  const Case cases[] = {
      {"Live", text_InUseRecordingA, "/DataFiles/Live/now.rec"},
      {"Watch", text_InUsePlayingA, "/DataFiles/Watch/film.rec"},
      {"Jobbed", text_InUseCopyingA, "/DataFiles/Jobbed/x.rec"},
      {"USB", text_InUseDriveA, "/DataFiles/USB/Film.rec"},
      {"~MediaFiles", text_InUseMediaA, "/MediaFiles/clip.mp4"},
  };
  for (const Case& c : cases) {
    SelectByKeys(c.line);
    TryEveryAction(Text(c.reason), c.kept, false, true);
  }
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/~MediaFiles/clip.mp4"), "media");
  EXPECT_STREQ(lastMessageLine2, "when 'Mount MediaFiles' is switched off.");
  // Below ~MediaFiles the job's file is the same file.
  OpenFolder("~MediaFiles");
  SelectByKeys("clip.mp4");
  TryEveryAction(Text(text_InUseCopyingA), "/MediaFiles/clip.mp4", true, false);
  SelectByKeys("..");
  Press(RKEY_Ok);

  // The bin keeps a recycled file a job waits to move, and says why.
  Press(RKEY_Recall);
  Press(RKEY_Green);
  Confirm();
  EXPECT_STREQ(lastMessageLine1, Text(text_InUseCopyingA));
  EXPECT_TRUE(Has("/DataFiles/Jobbed/old.rec.del"));
  Press(RKEY_Recall);

  // The own background copy reads a file of the drive.
  SlowCopy(60);
  SelectByKeys("USB");
  Press(RKEY_Ok);
  SelectByKeys("Film.rec");
  PressMoveTo("..");
  ASSERT_EQ(processInBackground, 1);
  emu::Wait(2);
  ASSERT_GT(moveInBackgroundPID, 0);
  TryEveryAction(Text(text_InUseCopyingA), "/DataFiles/USB/Film.rec", true, false);
  EXPECT_EQ(Trio("/DataFiles/USB/Film.rec"), 3);
}

class FullDriveTest : public MoveTest {
 protected:
  FullDriveTest() { driveSizeMB = 2; }
};

// A drive without room: the question warns, and a copy the user lets go on
// fails cleanly, says so and leaves the source and no partial file.
TEST_F(FullDriveTest, TheCopyFailsCleanlyAndTheUserIsTold) {
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Big.rec"), std::string(3 << 20, 'x')));
  ASSERT_TRUE(testenv::SetFileTime(HostPath("/DataFiles/Big.rec"), 2026, 11, 30, 20, 0));
  OpenList();
  SelectByKeys("Big.rec");
  MoveTo("USB");
  EXPECT_STREQ(lastMessageLine1, "There may not be enough space!");
  EXPECT_EQ(YesNoOption, 1);
  Yes();
  AwaitCopy();
  EXPECT_EQ(moveInBackgroundComplete, -1);
  EXPECT_EQ(Size("/DataFiles/Big.rec"), 3u << 20);
  EXPECT_FALSE(Has("/DataFiles/USB/Big.rec"));
  EXPECT_FALSE(HasPartial("/DataFiles/USB"));
  RefreshQuembryList(0);
  TAP_Osd_Sync();
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("move-copy-error", &message)) << message;

  // The space check keeps a megabyte to spare: a recording that leaves just
  // that much free is asked about plainly; with a kilobyte more (and so with
  // a recording as large as the free space) the question warns.
  struct statfs st;
  ASSERT_EQ(statfs(Sys("/DataFiles/USB").c_str(), &st), 0);
  uint64_t freeKB = (uint64_t)st.f_bavail * st.f_bsize / 1024;
  ASSERT_GT(freeKB, 1024u);
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Fits.rec"),
                                 std::string((freeKB - 1024) * 1024, 'f')));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Over.rec"),
                                 std::string((freeKB - 1023) * 1024, 'o')));
  loadSubsequentQuembryInfo(1);
  for (const char* name : {"Fits.rec", "Over.rec"}) {
    SelectByKeys(name);
    MoveTo("USB");
    EXPECT_STREQ(lastMessageLine1,
                 name[0] == 'F' ? "This may take some time." : "There may not be enough space!")
        << name;
    Press(RKEY_Exit);  // No
    if (moveWindowShowing) Press(RKEY_Exit);
  }
  EXPECT_FALSE(Has("/DataFiles/USB/Fits.rec"));
}

class NfsDriveTest : public MoveTest {
 protected:
  NfsDriveTest() { driveNfs = true; }
};

TEST_F(NfsDriveTest, TheWarningStopsTheCopyUnlessBypassed) {
  OpenList();
  SelectByKeys("Show 09.rec");
  MoveTo("USB");
  EXPECT_EQ(MessageWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Background Copy WARNING");
  EXPECT_STREQ(lastMessageLine2, "Change bypass setting (General Config) or use 'bgc'");
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(processInBackground, 0);
  if (moveWindowShowing) emu::PressKey(RKEY_Exit);

  BackgroundCopyNFSBypass = 1;
  MoveTo("USB");
  EXPECT_STREQ(lastMessageTitle, "Background Copy Across Mount");
  Yes();
  AwaitCopy();
  EXPECT_EQ(moveInBackgroundComplete, 1);
  EXPECT_TRUE(SameTrio("/DataFiles/Show 09.rec", "/DataFiles/USB/Show 09.rec"));
}

}  // namespace
