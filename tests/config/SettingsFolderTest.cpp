// The settings folder: where it is, the backups through the shell (with any
// folder name), and replacing a file so that a power cut never loses it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "config_test.h"
#include "lib/lib.h"

namespace {

// Makes TAPIniDir name another folder (as a firmware path).
void UseSettingsFolder(const std::string& folder) {
  TAP_MemFree(TAPIniDir);
  TAPIniDir = static_cast<char*>(TAP_MemAlloc(static_cast<dword>(folder.size() + 1)));
  memcpy(TAPIniDir, folder.c_str(), folder.size() + 1);
}

}  // namespace

TEST_F(SettingsFileTest, LocatingCreatesTheFoldersAndKeepsTheCurrentOne) {
  EXPECT_STREQ("/ProgramFiles/Settings/Pavrolinex", TAPIniDir);
  EXPECT_STREQ("/ProgramFiles/Settings/Logos", TAPLogoDir);
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/Settings/Pavrolinex")));
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/Settings/Logos")));

  // Without the Settings folder at all.
  rmdir(HostPath("/ProgramFiles/Settings/Pavrolinex").c_str());
  rmdir(HostPath("/ProgramFiles/Settings/Logos").c_str());
  ASSERT_EQ(0, rmdir(HostPath("/ProgramFiles/Settings").c_str()));
  ASSERT_TRUE(HDD_ChangeDir("/DataFiles"));
  locateIniDirectory();
  struct stat st;
  ASSERT_EQ(0, stat(HostPath("/ProgramFiles/Settings/Pavrolinex").c_str(), &st));
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/Settings/Logos")));
  char current[PATH_BUFFER_SIZE];
  ASSERT_TRUE(HDD_TAP_GetCurrentDir(current));
  EXPECT_STREQ("/DataFiles", current);
  EXPECT_STREQ("/ProgramFiles/Settings/Pavrolinex", TAPIniDir);
}

// A settings folder removed behind the application's back: nothing is read
// from, written to or copied in whatever folder happens to be current.
TEST_F(SettingsFileTest, AMissingSettingsFolderIsNeverTakenForTheCurrentOne) {
  std::vector<std::string> lines = DefaultLines();
  lines[2] = "4200";
  std::string file = Padded(IniText(lines));
  ASSERT_TRUE(testenv::WriteFile(IniPath(), file));
  ASSERT_TRUE(HDD_ChangeDir(INI_FOLDER));
  UseSettingsFolder("/ProgramFiles/Settings/Gone");
  char buffer[8] = "";
  EXPECT_FALSE(ReadSettingsFile(INI_FILE_NAME, buffer, sizeof buffer - 1));
  EXPECT_STREQ("", buffer);
  EXPECT_FALSE(SettingsFileExists(INI_FILE_NAME));
  EXPECT_EQ(-1, CopySettingsFile(INI_FILE_NAME, INI_FILE_NAME ".old"));
  LoadConfiguration();
  ExpectAllDefaults();
  EXPECT_FALSE(WriteSettingsFile(INI_FILE_NAME, "x", 1));
  EXPECT_EQ(file, testenv::ReadFile(IniPath()));
  EXPECT_FALSE(testenv::Exists(IniPath(INI_FILE_NAME ".old")));
  EXPECT_FALSE(testenv::Exists(HostPath("/ProgramFiles/Settings/Gone")));
}

TEST_F(SettingsFileTest, CopyCommandsAreExact) {
  char command[512];
  ASSERT_TRUE(FormatSettingsCopyCommand(command, sizeof command,
                                        "/ProgramFiles/Settings/Pavrolinex", "Skerrowby.ini",
                                        "Skerrowby.ini.old"));
  EXPECT_STREQ(
      "cd \"/mnt/hd/ProgramFiles/Settings/Pavrolinex\" ; cp -p Skerrowby.ini Skerrowby.ini.old",
      command);
  ASSERT_TRUE(FormatSettingsCopyCommand(command, sizeof command, "ProgramFiles/x",
                                        "Skerrowby.ini.old", "Skerrowby.ini.old2"));
  EXPECT_STREQ("cd \"/mnt/hd/ProgramFiles/x\" ; cp -p Skerrowby.ini.old Skerrowby.ini.old2",
               command);
  // Characters the shell would act on inside double quotes are escaped.
  ASSERT_TRUE(FormatSettingsCopyCommand(command, sizeof command, "/a\"b$c`d\\e", "f", "g"));
  EXPECT_STREQ("cd \"/mnt/hd/a\\\"b\\$c\\`d\\\\e\" ; cp -p f g", command);
  // A command that does not fit is refused, not cut, by a single byte too.
  const char* full = "cd \"/mnt/hd/ProgramFiles/x\" ; cp -p Skerrowby.ini.old Skerrowby.ini.old2";
  int fit = static_cast<int>(strlen(full)) + 1;
  EXPECT_TRUE(FormatSettingsCopyCommand(command, fit, "ProgramFiles/x", "Skerrowby.ini.old",
                                        "Skerrowby.ini.old2"));
  EXPECT_FALSE(FormatSettingsCopyCommand(command, fit - 1, "ProgramFiles/x", "Skerrowby.ini.old",
                                         "Skerrowby.ini.old2"));
  EXPECT_FALSE(FormatSettingsCopyCommand(command, 0, "/x", "f", "g"));
  EXPECT_FALSE(FormatSettingsCopyCommand(command, sizeof command, nullptr, "f", "g"));
  EXPECT_FALSE(FormatSettingsCopyCommand(command, 40, "/ProgramFiles/Settings/Pavrolinex",
                                         "Skerrowby.ini", "Skerrowby.ini.old"));
  // Nor is anything written past the buffer, even when only its start fits.
  memset(command, 'Z', sizeof command);
  EXPECT_FALSE(FormatSettingsCopyCommand(command, 12, "", "f", "g"));
  EXPECT_EQ(command[12], 'Z');
  // Nor is a file replaced under a path that would be cut.
  std::string deep = "/mnt/hd/ProgramFiles/" + std::string(PATH_BUFFER_SIZE, 'd');
  EXPECT_FALSE(ReplaceFileInFolder(deep.c_str(), "Probe.dat", "new", 3));
}

TEST_F(SettingsFileTest, BackupsRotateOverTwoStarts) {
  std::string first = Padded(IniText({"1", "2"}));
  ASSERT_TRUE(testenv::WriteFile(IniPath(), first));
  BackupConfigData();
  EXPECT_EQ(first, testenv::ReadFile(IniPath("Skerrowby.ini.old")));
  EXPECT_FALSE(testenv::Exists(IniPath("Skerrowby.ini.old2")));
  std::string second = Padded(IniText({"3", "4"}));
  ASSERT_TRUE(testenv::WriteFile(IniPath(), second));
  BackupConfigData();
  EXPECT_EQ(second, testenv::ReadFile(IniPath("Skerrowby.ini.old")));
  EXPECT_EQ(first, testenv::ReadFile(IniPath("Skerrowby.ini.old2")));

  // Two starts with an unchanged file leave three identical files.
  for (int start = 0; start < 2; start++) {
    BackupConfigData();
    LoadConfiguration();
  }
  std::string file = testenv::ReadFile(IniPath());
  EXPECT_EQ(static_cast<size_t>(INI_FILE_SIZE), file.size());
  EXPECT_EQ(file, testenv::ReadFile(IniPath("Skerrowby.ini.old")));
  EXPECT_EQ(file, testenv::ReadFile(IniPath("Skerrowby.ini.old2")));
}

TEST_F(SettingsFileTest, BackupWithoutFilesDoesNothing) {
  BackupConfigData();
  EXPECT_FALSE(testenv::Exists(IniPath("Skerrowby.ini.old")));
  EXPECT_FALSE(testenv::Exists(IniPath("Skerrowby.ini.old2")));
}

TEST_F(SettingsFileTest, HostileFolderNamesReachTheShellAsPlainText) {
  // The test runs the shell in a folder of its own, where injected commands
  // would leave their marks.
  std::string work = testenv::MakeTempDir("pvr-shell");
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(0, chdir(work.c_str()));
  for (std::string name : {"a\"; touch injected1; \"b", "$(touch injected2)", "`touch injected3`",
                           "back\\slash\" ; touch injected4 ; echo \"", "it's here"}) {
    std::string folder = "/ProgramFiles/Settings/" + name;
    ASSERT_EQ(0, mkdir(HostPath(folder).c_str(), 0777)) << name;
    ASSERT_TRUE(testenv::WriteFile(HostPath(folder + "/Skerrowby.ini"), "settings"));
    UseSettingsFolder(folder);
    BackupConfigData();
    EXPECT_EQ("settings", testenv::ReadFile(HostPath(folder + "/Skerrowby.ini.old"))) << name;
  }
  EXPECT_TRUE(testenv::ListDir(work).empty());
  ASSERT_EQ(0, chdir(previous));
  testenv::RemoveTree(work);
}

// Saves new settings over old ones with the power failing after every
// possible number of disk changes: the file is always the old one or the new
// one, whole, and the next start reads one of the two.
TEST_F(SettingsFileTest, PowerCutOrFullDiskDuringSaveLeavesOldOrNewFile) {
  for (bool power : {true, false}) {
    for (bool hadFile : {true, false}) {
      int cuts = 0;
      for (int changes = 0;; changes++) {
        unlink(IniPath().c_str());
        ResetSettingsToDefaults();
        recordingRateOption = 3000;
        if (hadFile) SaveConfigurationToFile();
        std::string before = testenv::ReadFile(IniPath());
        recordingRateOption = 5000;
        if (power) {
          emu::CutPowerAfter(changes);
        } else {
          emu::FillDiskAfter(changes);
        }
        SaveConfigurationToFile();
        bool cut = power ? emu::PowerWasCut() : emu::DiskWasFull();
        emu::RestorePower();
        std::string after = testenv::ReadFile(IniPath());
        if (!cut) {
          // The new contents reached the disk before the rename made them the file.
          EXPECT_GE(emu::SyncCount("/mnt/hd" INI_FOLDER "/" INI_FILE_NAME ".new"), 1);
          EXPECT_EQ(5000, recordingRateOption);
          EXPECT_EQ(static_cast<size_t>(INI_FILE_SIZE), after.size());
          break;
        }
        cuts++;
        EXPECT_EQ(before, after) << (power ? "cut" : "full") << " after " << changes << " changes";
        ResetSettingsToDefaults();
        LoadConfiguration();
        EXPECT_EQ(hadFile ? 3000 : 2900, recordingRateOption) << changes;
        // The next save cleans up what the cut left.
        SaveConfigurationToFile();
        EXPECT_FALSE(testenv::Exists(IniPath("Skerrowby.ini.new")));
        ASSERT_LT(changes, 20);
      }
      EXPECT_GE(cuts, power ? 3 : 1);  // create, write, rename at least; the one write
    }
  }
  // Whichever step the power cut stops, the writer is told that nothing was
  // replaced (a rename record, for one, must not be taken as written).
  for (int changes = 0; changes < 3; changes++) {
    emu::CutPowerAfter(changes);
    bool written = WriteSettingsFile("Probe.dat", "new", 3);
    bool cut = emu::PowerWasCut();
    emu::RestorePower();
    EXPECT_TRUE(cut) << changes;
    EXPECT_FALSE(written) << changes;
  }
}

// With the firmware heap exhausted nothing can be read or written, and nothing
// on the disk is lost.
TEST_F(SettingsFileTest, ExhaustedHeapKeepsTheFileAndTheDefaults) {
  std::vector<std::string> lines = DefaultLines();
  lines[2] = "4200";
  std::string file = Padded(IniText(lines));
  ASSERT_TRUE(testenv::WriteFile(IniPath(), file));
  size_t blocks = emu::AllocatedBlocks();
  emu::LimitAllocations(0);
  LoadConfiguration();
  SaveConfigurationToFile();
  emu::LimitAllocations(-1);
  ExpectAllDefaults();
  EXPECT_EQ(file, testenv::ReadFile(IniPath()));
  EXPECT_EQ(blocks, emu::AllocatedBlocks());
  LoadConfiguration();
  EXPECT_EQ(4200, recordingRateOption);
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNotReplacedByTheDefaults) {
  std::vector<std::string> lines = DefaultLines();
  lines[2] = "4200";
  std::string file = Padded(IniText(lines));
  ASSERT_TRUE(testenv::WriteFile(IniPath(), file));
  emu::LimitAllocations(0);
  LoadConfiguration();
  emu::LimitAllocations(-1);
  ExpectAllDefaults();
  EXPECT_EQ(file, testenv::ReadFile(IniPath()));
  // A disk that fails the read (EIO) keeps the file too.
  emu::FailReadsAfter(0);
  LoadConfiguration();
  EXPECT_TRUE(emu::ReadFailed());
  emu::RestorePower();
  ExpectAllDefaults();
  EXPECT_TRUE(file == testenv::ReadFile(IniPath()));
}
