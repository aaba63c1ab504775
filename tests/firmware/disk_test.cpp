// The firmware's file calls in the current folder.
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "emu.h"
#include "lib/lib.h"
#include "tap.h"
#include "testenv.h"

namespace {

using testenv::WriteFile;

class DiskTest : public RecorderTest {};

std::vector<std::string> ListAll(const char* ext = "*") {
  std::vector<std::string> names;
  TYPE_DirEntry entry;
  dword n = TAP_Hdd_FindFirst(&entry, ext);
  for (dword i = 0; i < n; i++) {
    names.push_back(entry.name);
    if (i + 1 < n) {
      EXPECT_EQ(TAP_Hdd_FindNext(&entry), 1u);
    }
  }
  return names;
}

TEST_F(DiskTest, FreshDiskHasTheRecorderFolders) {
  for (const char* folder :
       {"/DataFiles", "/ProgramFiles", "/ProgramFiles/Settings", "/MediaFiles"}) {
    EXPECT_TRUE(testenv::Exists(HostPath(folder))) << folder;
    EXPECT_TRUE(testenv::Exists(std::string("/mnt/hd") + folder)) << folder;
  }
  EXPECT_EQ(ListAll(), (std::vector<std::string>{"DataFiles", "MediaFiles", "ProgramFiles"}));
}

TEST_F(DiskTest, ChangeDirTakesAbsoluteRelativeAndParent) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/ProgramFiles"), 1);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/ProgramFiles");
  ASSERT_EQ(TAP_Hdd_ChangeDir("Settings"), 1);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0],
               "/mnt/hd/ProgramFiles/Settings");
  ASSERT_EQ(TAP_Hdd_ChangeDir(".."), 1);
  ASSERT_EQ(TAP_Hdd_ChangeDir(".."), 1);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/");
  // Nothing above the disk's root, no files, no missing folders.
  EXPECT_EQ(TAP_Hdd_ChangeDir(".."), 0);
  WriteFile(HostPath("/DataFiles/x.rec"), "x");
  EXPECT_EQ(TAP_Hdd_ChangeDir("/DataFiles/x.rec"), 0);
  EXPECT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Missing"), 0);
  EXPECT_EQ(TAP_Hdd_ChangeDir(""), 0);
  EXPECT_EQ(TAP_Hdd_ChangeDir(nullptr), 0);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/");
  EXPECT_EQ(TAP_Hdd_ChangeDir("/DataFiles/"), 1);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/DataFiles");
  EXPECT_EQ(TAP_Hdd_ChangeDir("/"), 1);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/");
  // A current task number past the table acts for the first slot.
  dword* current = static_cast<dword*>(TryResolve("_curTapTask"));
  dword own = *current;
  *current = TAP_MAX_TASKS;
  EXPECT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  *current = own;
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/DataFiles");
}

TEST_F(DiskTest, FindFirstListsEntriesWithAttributesStampsAndSizes) {
  std::string big(5000, 'b');
  WriteFile(HostPath("/DataFiles/b.rec"), big);
  WriteFile(HostPath("/DataFiles/a.rec.inf"), "inf");
  std::vector<std::string> movies;  // in whatever order the disk keeps them
  for (char c = 'c'; c <= 'l'; c++) {
    movies.push_back(std::string(1, c) + ".rec");
    WriteFile(HostPath("/DataFiles/Movies/") + movies.back(), "c");
  }
  testenv::SetFileTime(HostPath("/DataFiles/b.rec"), 2024, 3, 5, 21, 7);
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  TYPE_DirEntry entries[3];
  memset(entries, 0xAB, sizeof entries);
  ASSERT_EQ(TAP_Hdd_FindFirst(&entries[0], "*"), 3u);
  ASSERT_EQ(TAP_Hdd_FindNext(&entries[1]), 1u);
  ASSERT_EQ(TAP_Hdd_FindNext(&entries[2]), 1u);
  TYPE_DirEntry past;
  EXPECT_EQ(TAP_Hdd_FindNext(&past), 0u);
  EXPECT_STREQ(entries[0].name, "Movies");
  EXPECT_EQ(entries[0].attr, static_cast<dword>(ATTR_FOLDER));
  EXPECT_STREQ(entries[1].name, "a.rec.inf");
  EXPECT_EQ(entries[1].attr, static_cast<dword>(ATTR_NORMAL));
  EXPECT_EQ(entries[1].sizeLow, 3u);
  EXPECT_STREQ(entries[2].name, "b.rec");
  EXPECT_EQ(entries[2].sizeLow, 5000u);
  EXPECT_EQ(entries[2].sizeHigh, 0u);
  EXPECT_EQ(entries[2].stamp, static_cast<dword>(TAP_MakeMjd(2024, 3, 5)) << 16 | 21 << 8 | 7);
  EXPECT_EQ(ListAll("rec"), std::vector<std::string>{"b.rec"});
  EXPECT_EQ(ListAll(".inf"), std::vector<std::string>{"a.rec.inf"});
  EXPECT_EQ(ListAll(nullptr).size(), 3u);
  ASSERT_EQ(TAP_Hdd_ChangeDir("Movies"), 1);
  EXPECT_EQ(ListAll(), movies);
}

TEST_F(DiskTest, EmptyFolderListsNothing) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/MediaFiles"), 1);
  TYPE_DirEntry entry;
  EXPECT_EQ(TAP_Hdd_FindFirst(&entry, "*"), 0u);
  EXPECT_EQ(TAP_Hdd_FindNext(&entry), 0u);
}

TEST_F(DiskTest, FilesAreReadWrittenAndSeekedInTheCurrentFolder) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/ProgramFiles/Settings"), 1);
  EXPECT_EQ(TAP_Hdd_Fopen("new.dat"), nullptr);
  ASSERT_EQ(TAP_Hdd_Create("new.dat", ATTR_NORMAL), 1u);
  TYPE_File* f = TAP_Hdd_Fopen("new.dat");
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->path, "/mnt/hd/ProgramFiles/Settings/new.dat");
  const char text[] = "0123456789";
  EXPECT_EQ(TAP_Hdd_Fwrite(text, 5, 2, f), 2u);
  EXPECT_EQ(TAP_Hdd_Flen(f), 10u);
  EXPECT_EQ(TAP_Hdd_Ftell(f), 10u);
  EXPECT_EQ(TAP_Hdd_Fseek(f, 3, SEEK_SET), 3u);
  char buf[16] = {};
  EXPECT_EQ(TAP_Hdd_Fread(buf, 4, 3, f), 1u);  // 7 bytes left: one whole block of 4
  EXPECT_STREQ(buf, "3456789");
  EXPECT_EQ(TAP_Hdd_Fseek(f, -2, SEEK_END), 8u);
  EXPECT_EQ(TAP_Hdd_Fseek(f, -3, SEEK_CUR), 5u);
  TAP_Hdd_Fclose(f);
  EXPECT_EQ(testenv::ReadFile(HostPath("/ProgramFiles/Settings/new.dat")), "0123456789");

  // The disk faults take effect exactly after the count given: a filling
  // disk stores the named writes whole, half the next and nothing later; a
  // failing disk gives the named reads, then nothing.
  f = TAP_Hdd_Fopen("new.dat");
  ASSERT_NE(f, nullptr);
  emu::FillDiskAfter(1);
  EXPECT_EQ(TAP_Hdd_Fwrite("abcd", 1, 4, f), 4u);
  EXPECT_FALSE(emu::DiskWasFull());
  EXPECT_EQ(TAP_Hdd_Fwrite("efgh", 1, 4, f), 2u);
  EXPECT_TRUE(emu::DiskWasFull());
  EXPECT_EQ(TAP_Hdd_Fwrite("ijkl", 1, 4, f), 0u);
  emu::FailReadsAfter(1);
  TAP_Hdd_Fseek(f, 0, SEEK_SET);
  EXPECT_EQ(TAP_Hdd_Fread(buf, 1, 2, f), 2u);
  EXPECT_FALSE(emu::ReadFailed());
  EXPECT_EQ(TAP_Hdd_Fread(buf, 1, 2, f), 0u);
  EXPECT_TRUE(emu::ReadFailed());
  emu::RestorePower();
  TAP_Hdd_Fclose(f);
  EXPECT_EQ(testenv::ReadFile(HostPath("/ProgramFiles/Settings/new.dat")), "abcdef6789");
  // Creating over an existing file leaves it empty.
  ASSERT_EQ(TAP_Hdd_Create("new.dat", ATTR_NORMAL), 1u);
  EXPECT_EQ(testenv::ReadFile(HostPath("/ProgramFiles/Settings/new.dat")), "");
  // The C library's fopen without a path or a mode fails as the C library does.
  const char* volatile none = nullptr;
  std::string path = HostPath("/ProgramFiles/Settings/new.dat");
  errno = 0;
  EXPECT_EQ(fopen(none, "r"), nullptr);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(fopen(path.c_str(), none), nullptr);
}

TEST_F(DiskTest, CreateDeleteExistRename) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  EXPECT_EQ(TAP_Hdd_Create("Folder", ATTR_FOLDER), 1u);
  EXPECT_EQ(TAP_Hdd_Create("Folder", ATTR_FOLDER), 1u);  // an existing folder is left alone
  EXPECT_EQ(TAP_Hdd_Exist("Folder"), 1);
  WriteFile(HostPath("/DataFiles/Folder/inside"), "x");
  EXPECT_EQ(TAP_Hdd_Delete("Folder"), 0);  // not empty
  EXPECT_EQ(TAP_Hdd_Exist("Folder/inside"), 1);
  EXPECT_EQ(TAP_Hdd_Rename("Folder/inside", "moved"), 1);
  EXPECT_TRUE(testenv::Exists(HostPath("/DataFiles/moved")));
  EXPECT_EQ(TAP_Hdd_Delete("Folder"), 1);
  EXPECT_EQ(TAP_Hdd_Exist("Folder"), 0);
  WriteFile(HostPath("/DataFiles/other"), "o");
  EXPECT_EQ(TAP_Hdd_Rename("moved", "other"), 0);  // never over an existing name
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/other")), "o");
  EXPECT_EQ(TAP_Hdd_Delete("other"), 1);
  EXPECT_EQ(TAP_Hdd_Delete("other"), 0);
}

TEST_F(DiskTest, HostileNamesStayOnTheDisk) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  EXPECT_EQ(TAP_Hdd_Create("../../../../etc-escape", ATTR_NORMAL), 0u);
  EXPECT_EQ(TAP_Hdd_Exist("../../.."), 0);
  EXPECT_EQ(TAP_Hdd_Delete("/"), 0);
  EXPECT_EQ(TAP_Hdd_Fopen("../../../../proc/self/status"), nullptr);
  EXPECT_EQ(TAP_Hdd_Fopen(nullptr), nullptr);
  EXPECT_EQ(TAP_Hdd_Fopen("/DataFiles"), nullptr);  // a folder is no file
}

TEST_F(DiskTest, FreeSizeIsCapacityLessFiles) {
  EXPECT_EQ(TAP_Hdd_TotalSize(), 500000u);
  dword before = TAP_Hdd_FreeSize();
  WriteFile(HostPath("/DataFiles/big.rec"), std::string(3 << 20, 'x'));
  EXPECT_EQ(TAP_Hdd_FreeSize(), before - 3);
}

class SmallDiskTest : public RecorderTest {
  void Configure(emu::Config& config) override { config.diskCapacityMB = 2; }
};

TEST_F(SmallDiskTest, FullDiskReportsNoFreeSpace) {
  WriteFile(HostPath("/DataFiles/big.rec"), std::string(3 << 20, 'x'));
  EXPECT_EQ(TAP_Hdd_TotalSize(), 2u);
  EXPECT_EQ(TAP_Hdd_FreeSize(), 0u);
}

}  // namespace
