// SkerrowbyLastView.dat: written from the catalogue, read back into
// folderLastViewInfo, damaged files, the block limit, clearing the new flags,
// backups and power cuts.
#include <unistd.h>

#include <random>

#include "history_test.h"

namespace {

const dword kStamp0 = (61000u << 16) | (20u << 8) | 5;
const dword kStamp1 = (61001u << 16) | (7u << 8) | 30;

}  // namespace

TEST_F(HistoryTest, LastViewFileListsEveryLiveFolderWithAStamp) {
  AddFolder(0, "/DataFiles", "/DataFiles", kStamp0);
  AddFolder(1, "Movies", "/DataFiles/Movies", kStamp1);
  AddFolder(2, "", "/DataFiles/Gone", kStamp1);  // dropped folder
  AddFolder(3, "Never", "/DataFiles/Never", 0);  // never viewed
  AddFolder(4, "NoAnchor", "/DataFiles/NoAnchor", kStamp1);
  TAP_MemFree(FileSlot(4, 1));
  FileSlot(4, 1) = nullptr;
  size_t blocks = emu::AllocatedBlocks();
  SaveLastViewDatToFile();
  ExpectFile(LASTVIEW_FILE_NAME, "4\r\n/DataFiles\t" + std::to_string(kStamp0) +
                                     "\r\n/DataFiles/Movies\t" + std::to_string(kStamp1) + "\r\n");

  folderLastViewInfo[3].lastViewed = 99;  // stale from an earlier reading
  ASSERT_TRUE(ReadLastViewDatFile());
  EXPECT_EQ(blocks, emu::AllocatedBlocks());  // no buffer kept
  EXPECT_EQ(4, numberOfFolderLastViewInfo);
  EXPECT_STREQ("/DataFiles", folderLastViewInfo[0].path);
  EXPECT_EQ(kStamp0, folderLastViewInfo[0].lastViewed);
  EXPECT_STREQ("/DataFiles/Movies", folderLastViewInfo[1].path);
  EXPECT_EQ(kStamp1, folderLastViewInfo[1].lastViewed);
  for (int i = 2; i <= 4; i++) {
    EXPECT_STREQ("", folderLastViewInfo[i].path);
    EXPECT_EQ(0u, folderLastViewInfo[i].lastViewed);
  }
}

TEST_F(HistoryTest, MissingLastViewFileIsWrittenFromTheCatalogueOnLoad) {
  AddFolder(0, "/DataFiles", "/DataFiles", kStamp0);
  folderLastViewInfo[0].lastViewed = 5;
  EXPECT_FALSE(ReadLastViewDatFile());
  EXPECT_EQ(5u, folderLastViewInfo[0].lastViewed);  // untouched
  LoadLastViewData();
  ExpectFile(LASTVIEW_FILE_NAME, "0\r\n/DataFiles\t" + std::to_string(kStamp0) + "\r\n");
  // With the file there, loading reads it and writes nothing.
  myfolders[0]->lastViewed = kStamp1;
  LoadLastViewData();
  EXPECT_EQ(kStamp0, folderLastViewInfo[0].lastViewed);
  EXPECT_NE(std::string::npos,
            testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME)).find(std::to_string(kStamp0)));
}

TEST_F(HistoryTest, DamagedLastViewFilesAreReadWithinBounds) {
  std::string longPath = "/DataFiles/" + std::string(150, 'p');
  struct Case {
    std::string text;
    int last;
    const char* path0;
    dword stamp0;
  } cases[] = {
      {"", 0, "", 0},
      {"9999\r\n/a\t12\r\n", 399, "/a", 12},
      {"4294967295\n/a\t12\n", 399, "/a", 12},
      {"1\r/a\t12\r/b\t13\r", 1, "/a", 12},
      {"1\n" + longPath + "\t7\n", 1, nullptr, 7},
      {"0\r\n/a\t4294967296\r\n", 0, "/a", 0},  // wraps at 32 bits
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(testenv::WriteFile(SettingsPath(LASTVIEW_FILE_NAME), c.text));
    ASSERT_TRUE(ReadLastViewDatFile());
    EXPECT_EQ(c.last, numberOfFolderLastViewInfo) << c.text;
    if (c.path0) {
      EXPECT_STREQ(c.path0, folderLastViewInfo[0].path);
    } else {
      EXPECT_EQ(longPath.substr(0, 126), folderLastViewInfo[0].path);
    }
    EXPECT_EQ(c.stamp0, folderLastViewInfo[0].lastViewed);
  }
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(LASTVIEW_FILE_NAME), "1\r/a\t12\r/b\t13\r"));
  ASSERT_TRUE(ReadLastViewDatFile());
  EXPECT_STREQ("/b", folderLastViewInfo[1].path);
  EXPECT_EQ(13u, folderLastViewInfo[1].lastViewed);

  // A block full of text: the line cut by the block's end is dropped and
  // reading stops there.
  std::string text = "399\r\n";
  int lines = 0;
  while (text.size() < HISTORY_FILE_SIZE) {
    text += "/DataFiles/" + std::to_string(lines++) + std::string(40, 'f') + "\t1\r\n";
  }
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(LASTVIEW_FILE_NAME), text));
  ASSERT_TRUE(ReadLastViewDatFile());
  int whole = 0;
  while (folderLastViewInfo[whole].path[0]) whole++;
  EXPECT_EQ(lines - 1, whole);
  EXPECT_EQ(1u, folderLastViewInfo[whole - 1].lastViewed);

  std::mt19937 random(3);
  for (int round = 0; round < 100; round++) {
    std::string bytes(random() % 15000, '\0');
    for (char& c : bytes) c = round % 2 ? static_cast<char>(random()) : "1/\t\r\n\0"[random() % 6];
    ASSERT_TRUE(testenv::WriteFile(SettingsPath(LASTVIEW_FILE_NAME), bytes));
    ASSERT_TRUE(ReadLastViewDatFile());
    ASSERT_GE(numberOfFolderLastViewInfo, 0);
    ASSERT_LT(numberOfFolderLastViewInfo, MAX_FOLDERS);
    for (const LastViewEntry& entry : folderLastViewInfo) ASSERT_LT(strlen(entry.path), 127u);
  }
}

TEST_F(HistoryTest, LastViewWriterStopsBeforeTheBlockEnd) {
  for (int n = 0; n < MAX_FOLDERS; n++) {
    std::string path = "/DataFiles/" + std::to_string(n) + std::string(180, 'x');
    AddFolder(n, "folder", path.c_str(), kStamp1);
  }
  SaveLastViewDatToFile();
  std::string file = testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME));
  ASSERT_EQ(static_cast<size_t>(HISTORY_FILE_SIZE), file.size());
  std::string text = TextOf(file);
  EXPECT_LT(text.size(), static_cast<size_t>(HISTORY_FILE_SIZE));
  EXPECT_GT(text.size(), static_cast<size_t>(HISTORY_FILE_SIZE - 220));
  EXPECT_EQ("\r\n", text.substr(text.size() - 2));
  EXPECT_EQ("399\r\n", text.substr(0, 5));
  // Paths longer than the reader keeps come back cut to 126 characters.
  ASSERT_TRUE(ReadLastViewDatFile());
  EXPECT_EQ(126u, strlen(folderLastViewInfo[0].path));
  EXPECT_EQ(kStamp1, folderLastViewInfo[0].lastViewed);
}

TEST_F(HistoryTest, ReloadTakesTheStampsOfTheCatalogue) {
  AddFolder(0, "/DataFiles", "/DataFiles", kStamp0);
  AddFolder(1, "A", "/DataFiles/A", kStamp1);
  AddFolder(2, "B", "/DataFiles/B", kStamp0);
  snprintf(folderLastViewInfo[5].path, sizeof folderLastViewInfo[5].path, "/DataFiles/Old");
  numberOfFolderLastViewInfo = 1;
  ReloadLastViewDatVariables();
  EXPECT_STREQ("/DataFiles/A", folderLastViewInfo[1].path);
  EXPECT_EQ(kStamp1, folderLastViewInfo[1].lastViewed);
  EXPECT_STREQ("/DataFiles/B", folderLastViewInfo[2].path);
  EXPECT_EQ(2, numberOfFolderLastViewInfo);  // folders found since the reading count too
  EXPECT_STREQ("/DataFiles/Old", folderLastViewInfo[5].path);
}

TEST_F(HistoryTest, ClearingTheNewFlagsStampsEveryFolderNow) {
  AddFolder(0, "/DataFiles", "/DataFiles", kStamp0);
  AddFolder(1, "A", "/DataFiles/A", kStamp0);
  myfolders[0]->newFolderCount = 1;
  myfolders[1]->newFileCount = 2;
  AddLine(1, 1, "x.rec")->isNew = 1;
  AddLine(1, 2, "y.rec")->isNew = 1;
  SaveLastViewDatToFile();
  ClearLastViewFlags();
  dword now = PackedNow();
  ASSERT_NE(0u, now);
  for (int n = 0; n <= 1; n++) {
    EXPECT_EQ(0, myfolders[n]->newFileCount);
    EXPECT_EQ(0, myfolders[n]->newFolderCount);
    EXPECT_EQ(now, myfolders[n]->lastViewed);
  }
  EXPECT_EQ(0u, FileSlot(1, 1)->isNew);
  EXPECT_EQ(0u, FileSlot(1, 2)->isNew);
  std::string stamp = std::to_string(now);
  ExpectFile(LASTVIEW_FILE_NAME,
             "1\r\n/DataFiles\t" + stamp + "\r\n/DataFiles/A\t" + stamp + "\r\n");
  EXPECT_STREQ("All 'new' Flags Cleared.", lastMessageTitle);
  EXPECT_STREQ("All 'new' file indicators", lastMessageLine1);
  EXPECT_STREQ("removed for all files.", lastMessageLine2);
}

TEST_F(HistoryTest, LastViewBackupsAndPowerCuts) {
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(LASTVIEW_FILE_NAME), "first"));
  BackupLastViewData();
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(LASTVIEW_FILE_NAME), "second"));
  BackupLastViewData();
  EXPECT_EQ("second", testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME ".old")));
  EXPECT_EQ("first", testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME ".old2")));

  AddFolder(0, "/DataFiles", "/DataFiles", kStamp0);
  int cuts = 0;
  for (int changes = 0;; changes++) {
    myfolders[0]->lastViewed = kStamp0;
    SaveLastViewDatToFile();
    std::string before = testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME));
    myfolders[0]->lastViewed = kStamp1;
    emu::CutPowerAfter(changes);
    SaveLastViewDatToFile();
    bool cut = emu::PowerWasCut();
    emu::RestorePower();
    std::string after = testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME));
    if (!cut) {
      EXPECT_NE(std::string::npos, after.find(std::to_string(kStamp1)));
      break;
    }
    cuts++;
    EXPECT_EQ(before, after) << "cut after " << changes << " changes";
    ASSERT_TRUE(ReadLastViewDatFile());
    EXPECT_EQ(kStamp0, folderLastViewInfo[0].lastViewed);
    ASSERT_LT(changes, 20);
  }
  EXPECT_GE(cuts, 3);
}

// The stamps written after one scan decide, at the next start, which files
// are new: only those that came after the folder was last looked at.
TEST_F(HistoryTest, StampsCarryTheNewMarkersAcrossRestarts) {
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Movies/a.rec"), "a"));
  ASSERT_TRUE(testenv::SetFileTime(HostPath("/DataFiles/Movies/a.rec"), 2026, 12, 1, 9, 0));
  snprintf(CurrentDir, sizeof CurrentDir, "/DataFiles");
  tempFileSuffixOption = 0;
  // The root as the start-up sets it up, looked at now.
  snprintf(myfolders[0]->name, sizeof myfolders[0]->name, "/DataFiles");
  snprintf(FileSlot(0, 1)->folderPath, sizeof FileSlot(0, 1)->folderPath, "/DataFiles");
  SetDirectoryLastViewed(0);
  loadInitialQuembryInfo(99, 0);
  ASSERT_EQ(1, numberOfFolders);
  dword firstLook = PackedNow();
  SaveLastViewDatToFile();
  EXPECT_EQ("1\r\n/DataFiles\t" + std::to_string(firstLook) + "\r\n/DataFiles/Movies\t" +
                std::to_string(firstLook) + "\r\n",
            TextOf(testenv::ReadFile(SettingsPath(LASTVIEW_FILE_NAME))));

  // The next day a recording arrives; the application starts afresh.
  emu::SetClock(2026, 12, 8, 12, 0);
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Movies/b.rec"), "b"));
  ASSERT_TRUE(testenv::SetFileTime(HostPath("/DataFiles/Movies/b.rec"), 2026, 12, 8, 10, 0));
  ASSERT_EQ(0, InitialiseCatalogue());
  numberOfFolders = 0;
  memset(folderLastViewInfo, 0, sizeof folderLastViewInfo);
  ASSERT_TRUE(ReadLastViewDatFile());
  myfolders[0]->lastViewed = folderLastViewInfo[0].lastViewed;
  snprintf(myfolders[0]->name, sizeof myfolders[0]->name, "/DataFiles");
  snprintf(FileSlot(0, 1)->folderPath, sizeof FileSlot(0, 1)->folderPath, "/DataFiles");
  loadInitialQuembryInfo(99, 0);
  ASSERT_EQ(1, numberOfFolders);
  EXPECT_EQ(firstLook, myfolders[1]->lastViewed);
  EXPECT_EQ(1, myfolders[1]->newFileCount);
  for (int slot = 1; slot <= myfolders[1]->entryCount; slot++) {
    const FileRecord* line = FileSlot(1, slot);
    if (line && line->attribute == 208) {
      EXPECT_EQ(strcmp(line->name, "b.rec") == 0 ? 1u : 0u, line->isNew) << line->name;
    }
  }
}
