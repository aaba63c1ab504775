// The screens and facilities that reach into the recorder's shell: the status
// screen, the uptime check and the media folder in /DataFiles, with the
// shell's answers damaged through stand-in commands put first on the PATH.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "BrowseFixture.h"
#include "snapshot.h"

namespace {

const char kSettings[] = "/ProgramFiles/Settings/Pavrolinex";
const char kLog[] = "/ProgramFiles/Settings/Pavrolinex/Logs/Pavrolinex.log";

// The mount points below the internal disk, as the namespace's table lists them.
std::vector<std::string> MountsBelowDisk() {
  std::ifstream in("/proc/mounts");
  std::vector<std::string> points;
  std::string device, point, rest;
  while (in >> device >> point && std::getline(in, rest)) {
    if (point.compare(0, 8, "/mnt/hd/") == 0) points.push_back(point);
  }
  return points;
}

class ShellTest : public BrowseTest {
 protected:
  // A file of the disk with its folders.
  void Put(const std::string& path, const std::string& content) {
    ASSERT_TRUE(disk->Folder(path.substr(0, path.rfind('/'))));
    ASSERT_TRUE(testenv::WriteFile(HostPath(path), content));
  }
  void TearDown() override {
    if (!fakeBin_.empty()) {
      setenv("PATH", path_.c_str(), 1);
      testenv::RemoveTree(fakeBin_);
    }
    BrowseTest::TearDown();
  }
  // Puts a stand-in for `command` first on the shell's PATH that prints
  // `output` whatever it is asked.
  void FakeCommand(const std::string& command, const std::string& output) {
    if (fakeBin_.empty()) {
      fakeBin_ = testenv::MakeTempDir("pvr-fakebin");
      path_ = getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin";
      setenv("PATH", (fakeBin_ + ":" + path_).c_str(), 1);
    }
    ASSERT_TRUE(testenv::WriteFile(fakeBin_ + "/" + command + ".out", output));
    std::string script = "#!/bin/sh\ncat '" + fakeBin_ + "/" + command + ".out'\n";
    ASSERT_TRUE(testenv::WriteFile(fakeBin_ + "/" + command, script));
    chmod((fakeBin_ + "/" + command).c_str(), 0755);
  }
  // The files this process holds open.
  static size_t OpenFiles() { return testenv::ListDir("/proc/self/fd").size(); }
  // Nothing of the shell's answers stays in the settings folder.
  void ExpectNoTemporaryFiles() {
    for (const std::string& name : testenv::ListDir(HostPath(kSettings))) {
      EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
  }
  void ExpectScreen(const char* reference) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(reference, &message)) << message;
  }
  static std::vector<uint32_t> Crop(int x, int y, int w, int h) {
    return snapshot::Crop(x, y, w, h);
  }
  // The line below the internal disk's on the status screen.
  std::vector<uint32_t> DrivesLine() { return Crop(135, 349, 450, 20); }
  bool Blank(const std::vector<uint32_t>& pixels) {
    return std::all_of(pixels.begin(), pixels.end(), [&](uint32_t p) { return p == pixels[0]; });
  }

  std::string fakeBin_, path_;
};

class StatusScreenTest : public ShellTest {
 protected:
  void BuildDisk() override {
    BrowseTest::BuildDisk();
    // Two jobs wait, one failed; other names in the folders do not count.
    for (const char* job : {"JobFiles/0001.bgc", "JobFiles/0002.bgc", "JobFiles/notes.txt",
                            "JobFail/0000.bgc", "JobFail/0000.bgc.log"}) {
      Put(std::string("/ProgramFiles/Settings/BackgroundCopy/") + job, "x");
    }
  }
  void OpenStatus() {
    emu::PressKey(RKEY_Sleep);
    ASSERT_EQ(quembryHelpWindowShowing, 1);
  }
};

TEST_F(StatusScreenTest, JobsWaitingAndFailedNoDriveBothLanguagesAndTheClosingKeys) {
  OpenList();
  std::vector<uint32_t> list = emu::Frame();
  OpenStatus();
  ExpectScreen("status-screen");
  ExpectNoTemporaryFiles();
  // Its keys are the help screen's; a lone release does nothing, the next
  // press of the key closes it on its release and the list is back as it was.
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  emu::ReleaseKey(RKEY_Sleep);
  EXPECT_EQ(quembryHelpWindowShowing, 1);
  emu::SendKey(RKEY_Sleep);
  EXPECT_EQ(quembryHelpWindowShowing, 1);
  emu::ReleaseKey(RKEY_Sleep);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  EXPECT_TRUE(emu::Frame() == list);

  TextLanguage = 1;
  OpenStatus();
  ExpectScreen("status-screen-german");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(quembryHelpWindowShowing, 0);
  EXPECT_EQ(windowShowing, 1);  // Exit closed the screen, not the list
  OpenStatus();
  emu::PressKey(RKEY_AudioTrk);
  EXPECT_EQ(quembryHelpWindowShowing, 0);

  // While the shell counts the drives the list's title says it is loading:
  // a stand-in waits until the screen has been looked at.
  std::vector<uint32_t> title = Crop(53, yOffsetOption, 448, 24), during;
  FakeCommand("awk", "");
  std::string asked = fakeBin_ + "/asked", seen = fakeBin_ + "/seen";
  ASSERT_TRUE(testenv::WriteFile(fakeBin_ + "/awk", "#!/bin/sh\ntouch '" + asked +
                                                        "'\nfor i in $(seq 200); do [ -e '" + seen +
                                                        "' ] && break; sleep 0.05; done\n"));
  std::thread watcher([&] {
    for (int i = 0; i < 400 && !testenv::Exists(asked); i++) usleep(25000);
    during = Crop(53, yOffsetOption, 448, 24);
    testenv::WriteFile(seen, "");
  });
  OpenStatus();
  watcher.join();
  EXPECT_TRUE(testenv::Exists(asked));
  EXPECT_NE(during, title);
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(Crop(53, yOffsetOption, 448, 24), title);
}

TEST_F(StatusScreenTest, DamagedAnswersOfTheMountTableGiveClearLinesAndLeaveNoFile) {
  OpenList();
  OpenStatus();
  std::vector<uint32_t> noDrives = DrivesLine();
  ASSERT_FALSE(Blank(noDrives));
  emu::PressKey(RKEY_Exit);

  // Carriage returns alone make no line.
  FakeCommand("awk", "\r\r\r");
  OpenStatus();
  EXPECT_TRUE(DrivesLine() == noDrives);
  emu::PressKey(RKEY_Exit);
  // More than is read, and no line end: a drive all the same.
  FakeCommand("awk", std::string(6000, 'x'));
  OpenStatus();
  EXPECT_TRUE(Blank(DrivesLine()));
  emu::PressKey(RKEY_Exit);
  // An answer that cannot be read says so.
  ASSERT_EQ(
      mkdir(HostPath(std::string(kSettings) + "/~Pavrolinex_mounted_drives.tmp").c_str(), 0777), 0);
  OpenStatus();
  EXPECT_FALSE(Blank(DrivesLine()));
  EXPECT_FALSE(DrivesLine() == noDrives);
  emu::PressKey(RKEY_Exit);
  ExpectNoTemporaryFiles();
}

class StatusWithDriveTest : public StatusScreenTest {
 protected:
  void Configure(emu::Config& config) override {
    config.drives.push_back(emu::ExternalDrive());
    config.diskCapacityMB = 2048;  // so that the recordings show on the bar
  }
};

TEST_F(StatusWithDriveTest, AnExternalDriveAndBackgroundCopyRunning) {
  ASSERT_GE(emu::LoadApplication(std::string(PVR_PEER_DIR) + "/BackgroundCopy.tap"), 0)
      << emu::LastError();
  OpenList();
  OpenStatus();
  ExpectScreen("status-screen-drive");
  ExpectNoTemporaryFiles();
  EXPECT_EQ(bgcCountFiles("/ProgramFiles/Settings/BackgroundCopy/JobFiles"), 2);
  EXPECT_EQ(bgcCountFiles("/ProgramFiles/Settings/Missing"), 0);
}

// An hour and a minute of emulated time on every idle event.
class UptimeTest : public ShellTest {
 protected:
  void Configure(emu::Config& config) override { config.idleTicks = 61 * 60 * 100; }
  std::string SystemLine() {
    CheckUptime();
    EXPECT_STREQ(lastMessageTitle, "Check System Uptime");
    CloseMessageWindow();
    return lastMessageLine1;
  }
  std::string ApplicationLine(const std::string& log) {
    EXPECT_TRUE(testenv::WriteFile(HostPath(kLog), log));
    CheckUptime();
    CloseMessageWindow();
    return lastMessageLine2;
  }
};

TEST_F(UptimeTest, SystemAndApplicationStartedAtBootAndAtTheLogsStartLine) {
  // Booted and started at 20:15:30 (the fixture); two idle events there and
  // 25 here make 27 x 61 minutes, 1 day 3 hours 27 minutes.
  emu::Idle(25);
  size_t open = OpenFiles();
  CheckUptime();
  EXPECT_STREQ(lastMessageLine1, "System Started: 2026-12-07 20:15 (uptime: 1d, 3h, 27m)");
  EXPECT_STREQ(lastMessageLine2, "   TAP Started: 2026-12-07 20:15 (uptime: 1d, 3h, 27m)");
  CloseMessageWindow();
  ExpectNoTemporaryFiles();
  EXPECT_EQ(OpenFiles(), open);  // the answer's file is closed, not only removed
  // Dozens of logged deletes later the log is still short and the start is
  // still found in it.
  for (int i = 0; i < 60; i++) LogDeletion("/DataFiles/Movies", "A recording of some length.rec");
  EXPECT_LE(testenv::ReadFile(HostPath(kLog)).size(), 2100u);
  CheckUptime();
  EXPECT_STREQ(lastMessageLine2, "   TAP Started: 2026-12-07 20:15 (uptime: 1d, 3h, 27m)");
  CloseMessageWindow();
  // Lines after the start line do not move the start.
  EXPECT_EQ(ApplicationLine("2026-12-06 23:50:00 Start - Pavrolinex v5.1d    \r\n"
                            "2026-12-08 20:00:00 Alive - Pavrolinex -        \r\n"),
            "   TAP Started: 2026-12-06 23:50 (uptime: 1d, 23h, 52m)");
}

TEST_F(UptimeTest, MissingDamagedAndOversizedAnswersAndLogs) {
  // The answer's file cannot be made, or is no file.
  char* settings = TAPIniDir;
  char missing[] = "/ProgramFiles/Settings/NoSuchFolder";
  TAPIniDir = missing;
  EXPECT_EQ(SystemLine(), "System: Cannot find file");
  // A settings folder whose name the shell would otherwise take apart.
  char odd[] = "/ProgramFiles/Settings/My $HOME `id` \"x\" \\";
  ASSERT_TRUE(disk->Folder(odd));
  TAPIniDir = odd;
  EXPECT_EQ(SystemLine().substr(0, 16), "System Started: ");
  EXPECT_TRUE(testenv::ListDir(HostPath(odd)).empty());
  TAPIniDir = settings;
  std::string tmp = HostPath(std::string(kSettings) + "/~Pavrolinex_uptime.tmp");
  ASSERT_EQ(mkdir(tmp.c_str(), 0777), 0);
  EXPECT_EQ(SystemLine(), "System: Cannot open file");
  // Empty, and longer than is read without a line end.
  FakeCommand("awk", "");
  EXPECT_EQ(SystemLine(), "System: Unexpected answer \"\"");
  FakeCommand("awk", "002 days, 03 hours, 0");  // one digit short
  EXPECT_EQ(SystemLine(), "System: Unexpected answer \"002 days, 03 hours, 0\"");
  // A damaged field: only digits count, and only within its own width.
  FakeCommand("awk", "98x654321098765432109876");
  EXPECT_EQ(SystemLine().substr(33), "(uptime: 98d, 98h, 98m)");
  FakeCommand("awk", "002 days, 03 hours, 04");  // the shortest answer taken
  EXPECT_EQ(SystemLine().substr(33), "(uptime: 2d, 3h, 4m)");
  FakeCommand("awk", "002 days, 03 hours, 04 mins." + std::string(100, 'x'));
  EXPECT_EQ(SystemLine().substr(33), "(uptime: 2d, 3h, 4m)");
  // A command that takes its answer away again: there is no file to open.
  ASSERT_TRUE(testenv::WriteFile(fakeBin_ + "/awk", "#!/bin/sh\nrm -f '" + tmp + "'\n"));
  EXPECT_EQ(SystemLine(), "System: Cannot find file");
  ExpectNoTemporaryFiles();

  EXPECT_EQ(ApplicationLine("abc"), "TAP: File is empty");
  EXPECT_EQ(ApplicationLine(std::string(2501, 'x')), "TAP: File too long");
  // A log of exactly the longest length is read.
  std::string full = "2026-12-06 23:50:00 Start - Pavrolinex v5.1d    \r\n";
  full += std::string(2500 - full.size() - 2, '.') + "\r\n";
  ASSERT_EQ(full.size(), 2500u);
  // Without a start line the last line counts; a start line may end the log.
  EXPECT_EQ(ApplicationLine("2026-12-01 10:00:00 Alive - x\r\n2026-12-05 11:00:00 Alive - x\r\n")
                .substr(0, 32),
            "   TAP Started: 2026-12-05 11:00");
  // A one-line log cut off inside its time stamp: the digits there are, from
  // its first character on, and none left from the longer log read before.
  EXPECT_EQ(ApplicationLine("2026-12-05 1").substr(0, 32), "   TAP Started: 2026-12-05 01:00");
  EXPECT_EQ(
      ApplicationLine("2026-12-01 10:00:00 Start - x\r\n2026-12-06 23:50:00 Start").substr(0, 32),
      "   TAP Started: 2026-12-06 23:50");
  EXPECT_EQ(ApplicationLine(full).substr(0, 35), "   TAP Started: 2026-12-06 23:50 (u");
  // A last line shorter than a time stamp: a meaningless time, no failure
  // and nothing read past the log.
  EXPECT_EQ(ApplicationLine("2026-12-07 20:15:30 Start - Pavrolinex v5.1d    \r\n2026-1\r\n")
                .substr(0, 16),
            "   TAP Started: ");
  unlink(HostPath(kLog).c_str());
  CheckUptime();
  EXPECT_STREQ(lastMessageLine2, "TAP: Cannot find file");
  CloseMessageWindow();
  ASSERT_EQ(mkdir(HostPath(kLog).c_str(), 0777), 0);
  CheckUptime();
  EXPECT_STREQ(lastMessageLine2, "TAP: Cannot open file");
  CloseMessageWindow();
  // With the clock not yet set (day 0, midnight) a start just before it shows
  // day 0, not a day decades ahead.
  emu::InvalidateClock();
  FakeCommand("awk", "000 days, 00 hours, 01 mins.");
  EXPECT_EQ(SystemLine(), "System Started: 1858-11-17 23:59 (uptime: 0d, 0h, 1m)");
}

class MediaFilesTest : public ShellTest {
 protected:
  void BuildDisk() override {
    BrowseTest::BuildDisk();
    Put("/MediaFiles/clip.mp4", "media");
  }
};

TEST_F(MediaFilesTest, MountAndLinkRoundTripsLeaveNothingBehind) {
  OpenList();
  HDD_ChangeDir("/DataFiles/Movies");
  MediaFiles_Mount();
  MediaFiles_Mount();  // again: the mount is only renewed
  EXPECT_EQ(MountsBelowDisk(), std::vector<std::string>{"/mnt/hd/DataFiles/~MediaFiles"});
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/~MediaFiles/clip.mp4"), "media");
  char current[PATH_BUFFER_SIZE];
  HDD_TAP_GetCurrentDir(current);
  EXPECT_STREQ(current, "/DataFiles/Movies");  // the caller's folder is kept

  MediaFiles_Link();
  struct stat st;
  ASSERT_EQ(lstat("/mnt/hd/DataFiles/_MediaFiles", &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/_MediaFiles/clip.mp4"), "media");

  // The list shows both; taking them away drops them from it too.
  GotoDataFiles();
  snprintf(CurrentDir, sizeof CurrentDir, "/DataFiles");
  CurrentDirNumber = 0;
  loadInitialQuembryInfo(99, 0);
  maxShown = myfolders[0]->entryCount;
  ASSERT_NE(Find("~MediaFiles"), 0);
  ASSERT_NE(Find("_MediaFiles"), 0);
  int mounted = Line(Find("~MediaFiles"))->folderNumber;
  int linked = Line(Find("_MediaFiles"))->folderNumber;
  MediaFiles_Unmount();
  MediaFiles_Unlink();
  MediaFiles_Unlink();  // nothing left to unlink
  maxShown = myfolders[0]->entryCount;
  EXPECT_EQ(Find("~MediaFiles"), 0);
  EXPECT_EQ(Find("_MediaFiles"), 0);
  EXPECT_STREQ(myfolders[mounted]->name, "");
  EXPECT_STREQ(myfolders[linked]->name, "");
  EXPECT_TRUE(MountsBelowDisk().empty());
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/~MediaFiles")));
  EXPECT_NE(lstat(HostPath("/DataFiles/_MediaFiles").c_str(), &st), 0);
  EXPECT_EQ(testenv::ReadFile(HostPath("/MediaFiles/clip.mp4")), "media");

  // Without a media folder the mount fails: no empty folder passes for it.
  testenv::RemoveTree(HostPath("/MediaFiles"));
  MediaFiles_Mount();
  EXPECT_TRUE(MountsBelowDisk().empty());
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/~MediaFiles")));
  EXPECT_NE(testenv::ReadFile(HostPath(kLog)).find("MediaFiles: cannot mount"), std::string::npos);
}

// Names below /DataFiles that the user made are the user's: a file called
// "_MediaFiles" and a folder "~MediaFiles" with something in it survive
// every mount, link and their undoing, a failed mount, and a power cut after
// any change on the way.
TEST_F(MediaFilesTest, TheUsersOwnNamesAreNeverTakenAway) {
  Put("/DataFiles/_MediaFiles", "mine");
  Put("/DataFiles/~MediaFiles/own.txt", "own");
  for (int n = 0; n <= 3; n++) {
    SCOPED_TRACE("power cut after " + std::to_string(n));
    if (n == 3) testenv::RemoveTree(HostPath("/MediaFiles"));  // the mount fails
    emu::CutPowerAfter(n);
    MediaFiles_Mount();
    MediaFiles_Link();
    MediaFiles_Unmount();
    MediaFiles_Unlink();
    emu::RestorePower();
    EXPECT_TRUE(MountsBelowDisk().empty());
    EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/_MediaFiles")), "mine");
    EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/~MediaFiles/own.txt")), "own");
    if (n < 3) {
      EXPECT_EQ(testenv::ReadFile(HostPath("/MediaFiles/clip.mp4")), "media");
    }
  }
}

// A settings file written before the application starts.
class MediaFilesStartTest : public MediaFilesTest {
 protected:
  void BuildDisk() override {
    MediaFilesTest::BuildDisk();
    std::string text = std::string(INI_FILE_HEADER) + "\r\n";
    for (const SettingDefinition& d : settingDefinitions) {
      int value = d.setting == &GMToffsetOption ? d.defaultValue + 720 : d.defaultValue;
      if (d.setting == &MountMediaFiles) value = mount;
      if (d.setting == &oldMountMediaFiles) value = retired;
      text += std::to_string(value) + "\r\n";
    }
    text.resize(INI_FILE_SIZE, '\0');
    Put(std::string(kSettings) + "/" + INI_FILE_NAME, text);
    // A mount point left by an earlier run.
    if (retired) {
      ASSERT_TRUE(disk->Folder("/DataFiles/~MediaFiles"));
    }
  }
  int mount = 1;
  int retired = 0;
};

TEST_F(MediaFilesStartTest, MountedAtStartUpChangedBySettingsAndUnmountedAtTermination) {
  EXPECT_EQ(MountsBelowDisk(), std::vector<std::string>{"/mnt/hd/DataFiles/~MediaFiles"});
  OpenList();
  EXPECT_NE(Find("~MediaFiles"), 0);
  // Saved settings take the mount away and make the link, and the list follows.
  CopyConfiguration();
  currentMountMediaFiles = 0;
  currentLinkMediaFiles = 1;
  SaveConfiguration();
  EXPECT_TRUE(MountsBelowDisk().empty());
  EXPECT_EQ(Find("~MediaFiles"), 0);
  EXPECT_NE(Find("_MediaFiles"), 0);
  currentMountMediaFiles = 1;
  currentLinkMediaFiles = 0;
  SaveConfiguration();
  EXPECT_EQ(MountsBelowDisk(), std::vector<std::string>{"/mnt/hd/DataFiles/~MediaFiles"});
  EXPECT_NE(Find("~MediaFiles"), 0);
  EXPECT_EQ(Find("_MediaFiles"), 0);
  emu::SendEventTo(index_, EVT_STOP, 0, 0);
  EXPECT_TRUE(MountsBelowDisk().empty());
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/~MediaFiles")));
}

class RetiredOptionTest : public MediaFilesStartTest {
 protected:
  void SetUp() override {
    retired = 1;
    MediaFilesStartTest::SetUp();
  }
};

TEST_F(RetiredOptionTest, TheRetiredMountBecomesALink) {
  EXPECT_EQ(LinkMediaFiles, 1);
  EXPECT_EQ(MountMediaFiles, 0);
  EXPECT_EQ(oldMountMediaFiles, 0);
  EXPECT_TRUE(MountsBelowDisk().empty());
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/~MediaFiles")));
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/_MediaFiles/clip.mp4"), "media");
}

}  // namespace
