// The recorder's private mounts and terminals.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <thread>

#include "tap.h"
#include "testenv.h"

namespace {

class DriveTest : public ExternalDriveTest {
 protected:
  void Seed(const std::string& dir) override {
    testenv::WriteFile(dir + "/Movies/film.rec", "film");
  }
};

std::string MountLineFor(const std::string& dir) {
  std::ifstream mounts("/proc/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    if (line.find(" " + dir + " ") != std::string::npos) return line;
  }
  return "";
}

TEST_F(DriveTest, ExternalDriveIsASeparateMountWithItsDevice) {
  EXPECT_EQ(MountLineFor("/mnt/sdb1").rfind("/dev/sdb1 /mnt/sdb1 tmpfs", 0), 0u)
      << MountLineFor("/mnt/sdb1");
  EXPECT_NE(MountLineFor("/mnt/hd"), "");
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Movies/film.rec"), "film");
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/USB/Movies/film.rec"), "film");
  struct stat hd, usb;
  ASSERT_EQ(stat("/mnt/hd/DataFiles", &hd), 0);
  ASSERT_EQ(stat("/mnt/hd/DataFiles/USB", &usb), 0);
  EXPECT_NE(hd.st_dev, usb.st_dev);
}

TEST_F(DriveTest, RenameAcrossDrivesFailsWithExdev) {
  testenv::WriteFile("/mnt/hd/DataFiles/local.rec", "l");
  EXPECT_EQ(rename("/mnt/hd/DataFiles/local.rec", "/mnt/hd/DataFiles/USB/local.rec"), -1);
  EXPECT_EQ(errno, EXDEV);
  // The firmware's own rename does not cross either, and loses nothing.
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  EXPECT_EQ(TAP_Hdd_Rename("local.rec", "USB/local.rec"), 0);
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/local.rec"), "l");
}

TEST_F(DriveTest, ChangesStayOnTheDriveNotInTheSeed) {
  testenv::WriteFile("/mnt/sdb1/new.rec", "n");
  EXPECT_FALSE(testenv::Exists(seed_ + "/new.rec"));
}

TEST_F(DriveTest, ShutdownLeavesTheDiskFolderClean) {
  emu::Shutdown(0);
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/USB")));
  EXPECT_TRUE(testenv::Exists(HostPath("/DataFiles")));
}

// A drive in memory is as large as configured, down to one megabyte.
class SmallDriveTest : public DriveTest {
 protected:
  void Configure(emu::Config& config) override {
    DriveTest::Configure(config);
    config.drives.back().sizeMB = 1;
  }
};

TEST_F(SmallDriveTest, TheDriveHoldsWhatItsSizeAllows) {
  struct statvfs fs;
  ASSERT_EQ(statvfs("/mnt/sdb1", &fs), 0);
  EXPECT_EQ(static_cast<uint64_t>(fs.f_blocks) * fs.f_frsize, 1u << 20);
  EXPECT_FALSE(testenv::WriteFile("/mnt/sdb1/big.rec", std::string(2 << 20, 'b')));
}

// A drive whose files live in a folder on the host's disk, not in memory:
// still a mount of its own with its device, and emptied when the recorder
// shuts down.
class DriveOnDiskTest : public DriveTest {
 protected:
  void Configure(emu::Config& config) override {
    DriveTest::Configure(config);
    onDisk_ = testenv::MakeTempDir("pvr-drive");
    config.drives.back().onDiskDir = onDisk_;
  }
  void TearDown() override {
    DriveTest::TearDown();
    testenv::RemoveTree(onDisk_);
  }
  std::string onDisk_;
};

TEST_F(DriveOnDiskTest, TheDriveKeepsItsFilesOnDiskAsAMountOfItsOwn) {
  EXPECT_EQ(MountLineFor("/mnt/sdb1").rfind("/dev/sdb1 /mnt/sdb1 ", 0), 0u)
      << MountLineFor("/mnt/sdb1");
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/USB/Movies/film.rec"), "film");
  struct stat hd, usb;
  ASSERT_EQ(stat("/mnt/hd/DataFiles", &hd), 0);
  ASSERT_EQ(stat("/mnt/hd/DataFiles/USB/Movies/film.rec", &usb), 0);
  EXPECT_NE(hd.st_dev, usb.st_dev);
  // What is written to the drive lands in the folder on disk.
  ASSERT_TRUE(testenv::WriteFile("/mnt/sdb1/Movies/new.rec", std::string(1 << 20, 'n')));
  EXPECT_EQ(testenv::ReadFile(onDisk_ + "/files/Movies/new.rec").size(), 1u << 20);
  // Folders are renamed on it as on any drive; across drives nothing moves.
  EXPECT_EQ(rename("/mnt/sdb1/Movies", "/mnt/sdb1/Films"), 0) << strerror(errno);
  EXPECT_EQ(rename("/mnt/sdb1/Films/new.rec", "/mnt/hd/DataFiles/new.rec"), -1);
  EXPECT_EQ(errno, EXDEV);
  ASSERT_TRUE(emu::UnplugDrive("/dev/sdb1"));
  EXPECT_FALSE(testenv::Exists("/mnt/hd/DataFiles/USB/Films"));
  ASSERT_TRUE(emu::PlugDrive("/dev/sdb1"));
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/USB/Films/film.rec"), "film");
  emu::Shutdown(0);
  EXPECT_TRUE(testenv::ListDir(onDisk_).empty());
  EXPECT_FALSE(testenv::Exists(seed_ + "/Films"));
}

class NamespaceTest : public RecorderTest {};

TEST_F(NamespaceTest, DiskFolderIsTheRecorderDisk) {
  testenv::WriteFile(HostPath("/DataFiles/a.rec"), "a");
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/DataFiles/a.rec"), "a");
  struct statfs hd;
  EXPECT_EQ(statfs("/mnt/hd", &hd), 0);
}

TEST_F(NamespaceTest, NetworkOutputReachesOnlyTheRecorder) {
  // The namespace has its own terminals: just the recorder's /dev/pts/0.
  EXPECT_EQ(testenv::ListDir("/dev/pts"), (std::vector<std::string>{"0", "ptmx"}));
  for (int round = 0; round < 3; round++) {
    int fd = open("/dev/pts/0", O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const char text[] = "hello\n";
    EXPECT_EQ(write(fd, text, sizeof text), static_cast<ssize_t>(sizeof text));  // with its zero
    close(fd);
  }
  EXPECT_EQ(open("/dev/pts/1", O_RDWR | O_NOCTTY), -1);
  EXPECT_EQ(emu::NetOutput(), "hello\nhello\nhello\n");
}

TEST_F(NamespaceTest, LargeNetworkOutputDoesNotBlockTheWriter) {
  int fd = open("/dev/pts/0", O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  std::string line(999, 'x');
  line += '\n';
  for (int i = 0; i < 200; i++) {
    ASSERT_EQ(write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  }
  close(fd);
  EXPECT_EQ(emu::NetOutput().size(), 200000u);
}

class NetFileTest : public RecorderTest {
 protected:
  void Configure(emu::Config& config) override {
    file_ = testenv::MakeTempDir("pvr-net") + "/net.txt";
    config.netOutputFile = file_;
  }
  std::string file_;
};

TEST_F(NetFileTest, NetworkOutputAlsoGoesToItsFile) {
  int fd = open("/dev/pts/0", O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "line\n", 5), 5);
  close(fd);
  emu::Shutdown(0);
  EXPECT_EQ(testenv::ReadFile(file_), "line\n");
  testenv::RemoveTree(file_.substr(0, file_.rfind('/')));
}

TEST(BootTest, BootsAgainInTheSameProcess) {
  std::string disk = testenv::MakeTempDir("pvr-disk");
  emu::Config config;
  config.diskDir = disk + "/not/yet/there";
  ASSERT_TRUE(emu::Boot(config)) << emu::LastError();
  testenv::WriteFile("/mnt/hd/DataFiles/first", "1");
  emu::Shutdown(0);
  config.diskDir = disk + "/second";
  ASSERT_TRUE(emu::Boot(config)) << emu::LastError();
  EXPECT_FALSE(testenv::Exists("/mnt/hd/DataFiles/first"));
  // The second boot's `date` is its own clock's again, which starts in 1970
  // and runs with the emulated time.
  emu::Wait(61);
  FILE* date = popen("date -u +%Y%M", "r");
  ASSERT_NE(date, nullptr);
  char year[16] = {};
  EXPECT_NE(fgets(year, sizeof year, date), nullptr);
  pclose(date);
  EXPECT_STREQ(year, "197001\n");
  EXPECT_TRUE(testenv::Exists(disk + "/not/yet/there/DataFiles/first"));
  emu::Shutdown(0);
  testenv::RemoveTree(disk);
}

// A user other than root needs a user namespace, which a process with
// threads cannot get: the message says so and how to start it instead.
TEST(BootTest, NamesWhyAThreadedProcessGetsNoUserNamespace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  std::string disk = testenv::MakeTempDir("pvr-disk");
  ASSERT_EQ(chmod(disk.c_str(), 0777), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setuid(65534) != 0) _exit(2);
    std::thread waiting([] { pause(); });
    emu::Config config;
    config.diskDir = disk;
    bool refused =
        !emu::Boot(config) && emu::LastError().find("multi-threaded process") != std::string::npos;
    if (!refused) fprintf(stderr, "%s\n", emu::LastError().c_str());
    _exit(refused ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  testenv::RemoveTree(disk);
}

TEST(BootTest, RefusesWithoutADiskAndForeignMountPoints) {
  emu::Config config;
  EXPECT_FALSE(emu::Boot(config));
  EXPECT_NE(emu::LastError(), "");
  std::string disk = testenv::MakeTempDir("pvr-disk");
  config.diskDir = disk;
  emu::ExternalDrive drive;
  drive.mountPoint = "/etc/usb";
  config.drives.push_back(drive);
  EXPECT_FALSE(emu::Boot(config));
  EXPECT_NE(emu::LastError().find("below /mnt"), std::string::npos) << emu::LastError();
  testenv::RemoveTree(disk);
}

}  // namespace
