// Paths on the emulated recorder: classification and conversion between the
// firmware's and the system's names, the current folder, mounts.
#include <stdio.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "lib_test.h"

namespace {

class Paths : public LibTest {};

TEST_F(Paths, CurrentFolderFollowsTheFirmware) {
  EXPECT_EQ(CurrentDir(), "/");
  mkdir("/mnt/hd/DataFiles/Movies", 0777);
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  EXPECT_EQ(CurrentDir(), "/DataFiles/Movies");
  EXPECT_FALSE(HDD_TAP_GetCurrentDir(nullptr));
  // The task's entry of the firmware's folder table as it may stand: unset,
  // with slashes left over, outside the disk, too long for a path.
  char** folders = (char**)TryResolve("_hddTapFolder");
  dword* task = FIS_vCurTapTask();
  ASSERT_TRUE(folders && task);
  char* kept = folders[*task];
  auto folderOf = [&](const std::string& entry, bool set = true) {
    folders[*task] = set ? const_cast<char*>(entry.c_str()) : nullptr;
    char folder[PATH_BUFFER_SIZE] = "old";
    bool known = HDD_TAP_GetCurrentDir(folder);
    folders[*task] = kept;
    return known ? std::string(folder) : "unknown (" + std::string(folder) + ")";
  };
  EXPECT_EQ(folderOf("", false), "unknown ()");
  EXPECT_EQ(folderOf("/mnt/hd"), "/");
  EXPECT_EQ(folderOf("/mnt/hd//"), "/");
  EXPECT_EQ(folderOf("/mnt/hd/DataFiles/Movies//"), "/DataFiles/Movies");
  EXPECT_EQ(folderOf("/mnt/hdx/DataFiles"), "unknown ()");
  EXPECT_EQ(folderOf("/mnt/sdz1/DataFiles"), "unknown ()");
  std::string longest = "/mnt/hd/" + std::string(PATH_BUFFER_SIZE - 2, 'x');
  EXPECT_EQ(folderOf(longest).size(), PATH_BUFFER_SIZE - 1u);
  EXPECT_EQ(folderOf(longest + "x"), "unknown ()");
  EXPECT_EQ(CurrentDir(), "/DataFiles/Movies");
  // A task number past the table, and no table at all: no folder.
  char folder[PATH_BUFFER_SIZE];
  dword slot = *task;
  *task = TAP_MAX_TASKS;
  EXPECT_FALSE(HDD_TAP_GetCurrentDir(folder));
  *task = slot;
  emu::RemoveSymbol("_hddTapFolder");
  EXPECT_FALSE(HDD_TAP_GetCurrentDir(folder));
  EXPECT_STREQ(folder, "");
}

TEST_F(Paths, Classification) {
  Make("/mnt/hd/DataFiles/Movies/x.rec");
  EXPECT_EQ(GetPathType(nullptr), PF_BareName);
  EXPECT_EQ(GetPathType(""), PF_BareName);
  EXPECT_EQ(GetPathType("/"), PF_FirmwareFolder);
  EXPECT_EQ(GetPathType("./Movies"), PF_FirmwareFolder);
  // Existing system names.
  EXPECT_EQ(GetPathType("/mnt/hd/DataFiles/"), PF_SystemFolder);
  EXPECT_EQ(GetPathType("/mnt/hd/DataFiles"), PF_SystemFolder);
  EXPECT_EQ(GetPathType("/mnt/hd/DataFiles/Movies/x.rec"), PF_SystemFilePath);
  // Names that do not exist as such in the system.
  EXPECT_EQ(GetPathType("/DataFiles/Movies/x.rec"), PF_FirmwareFilePath);
  EXPECT_EQ(GetPathType("/DataFiles/Movies/new.rec"), PF_FirmwareFilePath);
  EXPECT_EQ(GetPathType("/DataFiles/Movies"), PF_FirmwareFolder);  // a folder of the disk
  EXPECT_EQ(GetPathType("/DataFiles/Gone/"), PF_FirmwareFolder);
  EXPECT_EQ(GetPathType("/mnt/sdz1/x.rec"), PF_SystemFilePath);
  EXPECT_EQ(GetPathType("/mnt/sdz1/x/"), PF_SystemFolder);
  // Relative names: against the current firmware folder, not the process's.
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  EXPECT_EQ(GetPathType("x.rec"), PF_BareName);
  EXPECT_EQ(GetPathType("Movies"), PF_FirmwareFolder);
  EXPECT_EQ(GetPathType("Movies/x.rec"), PF_FirmwareFilePath);
}

TEST_F(Paths, ConversionTable) {
  Make("/mnt/hd/DataFiles/Movies/x.rec");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  struct Case {
    const char* source;
    int form;
    const char* result;
  } cases[] = {
      // bare name, resolved in the current folder
      {"y.rec", PF_BareName, "y.rec"},
      {"y.rec", PF_FirmwareFolder, "/DataFiles/Movies/"},
      {"y.rec", PF_SystemFolder, "/mnt/hd/DataFiles/Movies/"},
      {"y.rec", PF_FirmwareFilePath, "/DataFiles/Movies/y.rec"},
      {"y.rec", PF_SystemFilePath, "/mnt/hd/DataFiles/Movies/y.rec"},
      // firmware folder
      {"/DataFiles/Movies", PF_FirmwareFolder, "/DataFiles/Movies/"},
      {"/DataFiles/Movies/", PF_SystemFolder, "/mnt/hd/DataFiles/Movies/"},
      {"/DataFiles/Movies/", PF_FirmwareFilePath, ""},
      {"/DataFiles/Movies/", PF_SystemFilePath, ""},
      {"/DataFiles/Movies/", PF_BareName, ""},
      {"/", PF_SystemFolder, "/mnt/hd/"},
      // system folder
      {"/mnt/hd/DataFiles", PF_SystemFolder, "/mnt/hd/DataFiles/"},
      {"/mnt/hd/DataFiles/", PF_FirmwareFolder, "/DataFiles/"},
      {"/mnt/hd", PF_FirmwareFolder, "/"},
      {"/mnt/sdz1/DataFiles/", PF_FirmwareFolder, ""},
      {"/mnt/hd/DataFiles/", PF_SystemFilePath, ""},
      // firmware file path
      {"/DataFiles/Movies/z.rec", PF_BareName, "z.rec"},
      {"/DataFiles/Movies/z.rec", PF_FirmwareFolder, "/DataFiles/Movies/"},
      {"/DataFiles/Movies/z.rec", PF_SystemFolder, "/mnt/hd/DataFiles/Movies/"},
      {"/DataFiles/Movies/z.rec", PF_SystemFilePath, "/mnt/hd/DataFiles/Movies/z.rec"},
      {"Sub/z.rec", PF_SystemFilePath, "/mnt/hd/DataFiles/Movies/Sub/z.rec"},
      // system file path
      {"/mnt/hd/DataFiles/Movies/x.rec", PF_BareName, "x.rec"},
      {"/mnt/hd/DataFiles/Movies/x.rec", PF_FirmwareFolder, "/DataFiles/Movies/"},
      {"/mnt/hd/DataFiles/Movies/x.rec", PF_SystemFolder, "/mnt/hd/DataFiles/Movies/"},
      {"/mnt/hd/DataFiles/Movies/x.rec", PF_FirmwareFilePath, "/DataFiles/Movies/x.rec"},
      {"/mnt/hd/top.rec", PF_FirmwareFolder, "/"},
      {"/mnt/sda1/DataFiles/x.rec", PF_FirmwareFilePath, ""},
      {"/mnt/sda1/DataFiles/x.rec", PF_SystemFolder, "/mnt/sda1/DataFiles/"},
      {"/mnt/sda1/DataFiles/x.rec", PF_FirmwareFolder, ""},
      // a system name merely beginning like the disk is no disk name
      {"/mnt/hdx/a.rec", PF_FirmwareFilePath, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Convert(c.source, c.form), c.result) << c.source << " -> " << c.form;
  }
  // In place, and nothing for nothing.
  char buffer[PATH_BUFFER_SIZE] = "/DataFiles/Movies/z.rec";
  ConvertPathType(buffer, buffer, PF_SystemFilePath);
  EXPECT_STREQ(buffer, "/mnt/hd/DataFiles/Movies/z.rec");
  ConvertPathType(nullptr, buffer, PF_SystemFilePath);
  EXPECT_STREQ(buffer, "");
  // A result too long for a path buffer is no result.
  std::string longName = "/DataFiles/" + std::string(500, 'n') + ".rec";
  EXPECT_EQ(Convert(longName, PF_SystemFilePath), "");
}

TEST_F(Paths, ExistenceInAnyForm) {
  Make("/mnt/hd/DataFiles/Movies/x.rec");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  EXPECT_TRUE(HDD_Exist("x.rec"));
  EXPECT_TRUE(HDD_Exist("/DataFiles/Movies/x.rec"));
  EXPECT_TRUE(HDD_Exist("/mnt/hd/DataFiles/Movies/x.rec"));
  EXPECT_TRUE(HDD_Exist("/DataFiles/Movies"));
  EXPECT_TRUE(HDD_Exist("/mnt/hd/DataFiles/"));
  EXPECT_FALSE(HDD_Exist("y.rec"));
  EXPECT_FALSE(HDD_Exist("/DataFiles/Movies/y.rec"));
  EXPECT_FALSE(HDD_Exist(""));
  EXPECT_FALSE(HDD_Exist(nullptr));
}

TEST_F(Paths, ChangingFolder) {
  mkdir("/mnt/hd/DataFiles/Movies", 0777);
  // A disk without /ProgramFiles (yet) changes folders all the same.
  ASSERT_EQ(rename("/mnt/hd/ProgramFiles", "/mnt/hd/Away"), 0);
  EXPECT_EQ(HDD_ChangeDir("/DataFiles/Movies"), 1);
  ASSERT_EQ(rename("/mnt/hd/Away", "/mnt/hd/ProgramFiles"), 0);
  EXPECT_EQ(CurrentDir(), "/DataFiles/Movies");
  EXPECT_EQ(HDD_ChangeDir("/mnt/hd/DataFiles/"), 1);
  EXPECT_EQ(CurrentDir(), "/DataFiles");
  EXPECT_EQ(HDD_ChangeDir("Movies"), 1);
  EXPECT_EQ(CurrentDir(), "/DataFiles/Movies");
  EXPECT_EQ(HDD_ChangeDir("/DataFiles/Gone"), 0);
  EXPECT_EQ(CurrentDir(), "/DataFiles/Movies");
  EXPECT_EQ(HDD_ChangeDir(""), 0);
  EXPECT_EQ(HDD_ChangeDir(nullptr), 0);
  EXPECT_EQ(HDD_ChangeDir("/mnt/sdz1/"), 0);  // no firmware name
  EXPECT_EQ(CurrentDir(), "/DataFiles/Movies");
}

TEST_F(Paths, ChangingIntoAUtf8NamedFolderByItsLatin1Name) {
  mkdir("/mnt/hd/DataFiles/K\xC3\xA4se", 0777);
  EXPECT_EQ(HDD_ChangeDir("/DataFiles/K\xE4se"), 1);
  EXPECT_EQ(CurrentDir(), "/DataFiles/K\xC3\xA4se");
}

class PathsAnsiFirmware : public LibTest {
  void Configure(emu::Config& config) override { config.utf8Firmware = false; }
};

TEST_F(PathsAnsiFirmware, NoUtf8RetryOnAnsiFirmware) {
  EXPECT_FALSE(isUTFToppy());
  mkdir("/mnt/hd/DataFiles/K\xC3\xA4se", 0777);
  EXPECT_EQ(HDD_ChangeDir("/DataFiles/K\xE4se"), 0);
}

TEST_F(Paths, FolderStack) {
  mkdir("/mnt/hd/DataFiles/A", 0777);
  ASSERT_EQ(HDD_ChangeDir("/DataFiles/A"), 1);
  EXPECT_EQ(TAPDirStackDepth, -1);
  EXPECT_EQ(HDD_TAP_PushDir(), 1);
  ASSERT_EQ(HDD_ChangeDir("/ProgramFiles"), 1);
  EXPECT_EQ(HDD_TAP_PushDir(), 1);
  ASSERT_EQ(HDD_ChangeDir("/"), 1);
  HDD_TAP_PopDir();
  EXPECT_EQ(CurrentDir(), "/ProgramFiles");
  HDD_TAP_PopDir();
  EXPECT_EQ(CurrentDir(), "/DataFiles/A");
  HDD_TAP_PopDir();  // empty: nothing happens
  EXPECT_EQ(CurrentDir(), "/DataFiles/A");
  EXPECT_EQ(TAPDirStackDepth, -1);

  for (int i = 0; i < TAP_DIR_STACK_SIZE; i++) EXPECT_EQ(HDD_TAP_PushDir(), 1);
  EXPECT_EQ(HDD_TAP_PushDir(), 0);
  EXPECT_EQ(TAPDirStackDepth, TAP_DIR_STACK_SIZE - 1);
  while (TAPDirStackDepth >= 0) HDD_TAP_PopDir();

  // A folder too long for a stack entry is not saved half.
  std::string deep = "/mnt/hd/DataFiles/" + std::string(100, 'd') + "/" + std::string(100, 'e');
  ASSERT_EQ(testenv::WriteFile(deep + "/f", "x"), true);
  ASSERT_EQ(HDD_ChangeDir(deep.c_str()), 1);
  EXPECT_EQ(HDD_TAP_PushDir(), 0);
  EXPECT_EQ(TAPDirStackDepth, -1);
}

TEST_F(Paths, SizeAndInode) {
  Make("/mnt/hd/DataFiles/x.rec", std::string(12345, 'r'));
  struct stat st;
  ASSERT_EQ(stat("/mnt/hd/DataFiles/x.rec", &st), 0);
  uint64_t inode = 0, size = 0;
  EXPECT_EQ(HDD_GetFileSizeAndInode("/DataFiles/x.rec", &inode, &size), 1);
  EXPECT_EQ(inode, (uint64_t)st.st_ino);
  EXPECT_EQ(size, 12345u);
  EXPECT_EQ(HDD_GetFileSizeAndInode("/mnt/hd/DataFiles/x.rec", nullptr, &size), 1);
  EXPECT_EQ(HDD_GetFileSizeAndInode("/DataFiles/none.rec", &inode, &size), 0);
  EXPECT_EQ(HDD_GetFileSizeAndInode("", &inode, &size), 0);
  EXPECT_EQ(HDD_GetFileSizeAndInode(nullptr, &inode, &size), 0);
  EXPECT_EQ(HDD_GetInodeByFileName("/DataFiles/x.rec"), (uint64_t)st.st_ino);
  EXPECT_EQ(HDD_GetInodeByFolderAndFile("/DataFiles", "x.rec"), (uint64_t)st.st_ino);
  EXPECT_EQ(HDD_GetInodeByFolderAndFile("/DataFiles", nullptr), 0u);
}

TEST_F(Paths, OpenFileKnowsItsSystemPath) {
  Make("/mnt/hd/DataFiles/x.rec");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  TYPE_File* file = TAP_Hdd_Fopen("x.rec");
  ASSERT_NE(file, nullptr);
  char path[PATH_BUFFER_SIZE];
  EXPECT_EQ(HDD_GetAbsolutePathByTypeFile(file, path), 1);
  EXPECT_STREQ(path, "/mnt/hd/DataFiles/x.rec");
  TAP_Hdd_Fclose(file);
  EXPECT_EQ(HDD_GetAbsolutePathByTypeFile(nullptr, path), 0);
  EXPECT_STREQ(path, "");
}

class Mounts : public LibTest {
  void Configure(emu::Config& config) override {
    emu::ExternalDrive sda;
    sda.device = "/dev/sda";
    sda.mountPoint = "/mnt/sda";
    sda.dataFilesName = "";
    emu::ExternalDrive sda1;
    sda1.device = "/dev/sda1";
    sda1.mountPoint = "/mnt/sda1";
    sda1.dataFilesName = "USB";
    emu::ExternalDrive spaced;
    spaced.device = "/dev/sdc1";
    spaced.mountPoint = "/mnt/my drive";
    spaced.dataFilesName = "";
    config.drives = {sda, sda1, spaced};
  }
};

TEST_F(Mounts, LongestMountHoldingThePathWins) {
  char mountPoint[PATH_BUFFER_SIZE], device[PATH_BUFFER_SIZE];
  mkdir("/mnt/sda1/x", 0777);
  EXPECT_TRUE(HDD_FindMountPointDevice("/mnt/sda1/x/", mountPoint, device));
  EXPECT_STREQ(mountPoint, "/mnt/sda1/");
  EXPECT_STREQ(device, "/dev/sda1/");
  EXPECT_TRUE(HDD_FindMountPointDevice("/mnt/sda/y.rec", mountPoint, device));
  EXPECT_STREQ(mountPoint, "/mnt/sda/");
  EXPECT_STREQ(device, "/dev/sda/");
  EXPECT_TRUE(HDD_FindMountPoint("/DataFiles/Movies/", mountPoint));
  EXPECT_STREQ(mountPoint, "/mnt/hd/");
  // The drive also shown below /DataFiles is its own mount there.
  EXPECT_TRUE(HDD_FindMountPointDevice("/DataFiles/USB/a.rec", mountPoint, device));
  EXPECT_STREQ(mountPoint, "/mnt/hd/DataFiles/USB/");
  EXPECT_STREQ(device, "/dev/sda1/");
  // Escaped blanks in the mount table.
  EXPECT_TRUE(HDD_FindMountPointDevice("/mnt/my drive/a.rec", mountPoint, device));
  EXPECT_STREQ(mountPoint, "/mnt/my drive/");
  EXPECT_STREQ(device, "/dev/sdc1/");
  // Outputs may be omitted; an empty path finds nothing.
  EXPECT_TRUE(HDD_FindMountPointDevice("/mnt/sda1/x/", nullptr, nullptr));
  EXPECT_FALSE(HDD_FindMountPointDevice("", mountPoint, device));
  EXPECT_STREQ(mountPoint, "");
  EXPECT_FALSE(HDD_FindMountPointDevice(nullptr, mountPoint, device));
  EXPECT_FALSE(CheckSameMount("", "/mnt/hd/"));

  EXPECT_TRUE(CheckSameMount("/mnt/sda1/x/", "/mnt/sda1/"));
  EXPECT_FALSE(CheckSameMount("/mnt/sda1/x/", "/mnt/sda/"));
  EXPECT_TRUE(CheckSameMount("/DataFiles/a.rec", "/mnt/hd/"));
  EXPECT_FALSE(CheckSameMount("/DataFiles/USB/a.rec", "/mnt/hd/"));
}

}  // namespace
