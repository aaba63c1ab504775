// SkerrowbyPlayback.dat: the fresh history, the exact format, round trips of
// a full table, what is never written, damaged files, backups, power cuts,
// and the 299-entry bound of the table.
#include <unistd.h>

#include <random>

#include "history_test.h"

namespace {

const char kFreshText[] =
    "1\r\n"
    "0\t0\t1\tPlaceholder for last played file.mpg\r\n"
    "12345678\t9876543\t9999999\tThis is a dummy filename.mpg\r\n";

std::string Line(dword inode, dword position, dword total, const std::string& name) {
  return std::to_string(inode) + "\t" + std::to_string(position) + "\t" + std::to_string(total) +
         "\t" + name + "\r\n";
}

void SetLastPlayed(dword inode, dword position, dword total, const char* name) {
  if (!playedFiles[0])
    playedFiles[0] = static_cast<PlayedFileEntry*>(TAP_MemAlloc(sizeof(PlayedFileEntry)));
  memset(playedFiles[0], 0, sizeof(PlayedFileEntry));
  playedFiles[0]->inode = inode;
  playedFiles[0]->positionBlock = position;
  playedFiles[0]->totalBlocks = total;
  snprintf(playedFiles[0]->name, sizeof playedFiles[0]->name, "%s", name);
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

TEST_F(HistoryTest, YouTubeStreamsAreRecognisedByTheirSuffix) {
  EXPECT_TRUE(IsYouTubeSuffix("x_h264"));
  EXPECT_TRUE(IsYouTubeSuffix("some video_h264"));
  EXPECT_FALSE(IsYouTubeSuffix("_h264"));  // five characters
  EXPECT_FALSE(IsYouTubeSuffix("x_h264.rec"));
  EXPECT_FALSE(IsYouTubeSuffix("x_H264"));
  EXPECT_FALSE(IsYouTubeSuffix(""));
  EXPECT_FALSE(IsYouTubeSuffix(nullptr));
}

TEST_F(HistoryTest, WithoutAFileAFreshHistoryIsWrittenByteForByte) {
  emu::Idle(3);
  LoadPlayData();
  ExpectFile(PLAYBACK_FILE_NAME, kFreshText);
  EXPECT_EQ(1, numberOfPlayedFiles);
  ASSERT_NE(playedFiles[0], nullptr);
  EXPECT_STREQ("Placeholder for last played file.mpg", playedFiles[0]->name);
  EXPECT_EQ(1u, playedFiles[0]->totalBlocks);
  EXPECT_EQ(0u, playedFiles[0]->inode);
  ASSERT_NE(playedFiles[1], nullptr);
  EXPECT_EQ(12345678u, playedFiles[1]->inode);
  EXPECT_EQ(9876543u, playedFiles[1]->positionBlock);
  EXPECT_EQ(9999999u, playedFiles[1]->totalBlocks);
  EXPECT_EQ(0, playinfoChanged);
  EXPECT_EQ(TAP_GetTick(), playbackInfoTick);
}

TEST_F(HistoryTest, FullHistoryRoundTripsInOrder) {
  SetLastPlayed(77, 500, 1000, "last.rec");
  for (int i = 1; i <= MAX_PLAYED_HISTORY; i++) {
    ASSERT_EQ(i, AppendPlayedFileEntry(1000 + i, ("Rec " + std::to_string(i) + ".rec").c_str(),
                                       static_cast<dword>(i * 7), static_cast<dword>(i * 11)));
  }
  EXPECT_EQ(0, AppendPlayedFileEntry(5, "one too many.rec", 1, 2));
  SaveDatToFile();
  std::string file = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
  ASSERT_EQ(static_cast<size_t>(HISTORY_FILE_SIZE), file.size());
  std::string text = TextOf(file);
  EXPECT_EQ(301, CountLines(text));
  EXPECT_EQ(
      "299\r\n" + Line(77, 500, 1000, "last.rec") + Line(1299, 299 * 7, 299 * 11, "Rec 299.rec"),
      text.substr(0, 5 + Line(77, 500, 1000, "last.rec").size() +
                         Line(1299, 299 * 7, 299 * 11, "Rec 299.rec").size()));
  EXPECT_EQ(Line(1001, 7, 11, "Rec 1.rec"),
            text.substr(text.size() - Line(1001, 7, 11, "Rec 1.rec").size()));

  ReleasePlayedFiles();
  ASSERT_TRUE(ReadDatFile());
  ASSERT_EQ(MAX_PLAYED_HISTORY, numberOfPlayedFiles);
  EXPECT_STREQ("last.rec", playedFiles[0]->name);
  EXPECT_EQ(500u, playedFiles[0]->positionBlock);
  for (int i = 1; i <= MAX_PLAYED_HISTORY; i++) {
    ASSERT_NE(playedFiles[i], nullptr);
    EXPECT_EQ(static_cast<dword>(1000 + i), playedFiles[i]->inode);
    EXPECT_EQ(static_cast<dword>(i * 7), playedFiles[i]->positionBlock);
    EXPECT_EQ(static_cast<dword>(i * 11), playedFiles[i]->totalBlocks);
    EXPECT_EQ("Rec " + std::to_string(i) + ".rec", playedFiles[i]->name);
  }
  // Written again, the file is the same; reading and writing keep no buffer.
  size_t blocks = emu::AllocatedBlocks();
  SaveDatToFile();
  EXPECT_EQ(file, testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME)));
  ASSERT_TRUE(ReadDatFile());
  EXPECT_EQ(blocks, emu::AllocatedBlocks());
}

TEST_F(HistoryTest, LongNamesFillTheFileAndTheCountMatchesTheLines) {
  SetLastPlayed(1, 2, 3, std::string(126, 'L').c_str());
  for (int i = 1; i <= MAX_PLAYED_HISTORY; i++) {
    std::string name = std::to_string(i) + std::string(120, 'n');
    AppendPlayedFileEntry(4000000000u - i, name.c_str(), 999999999, 999999999);
  }
  SaveDatToFile();
  std::string file = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
  ASSERT_EQ(static_cast<size_t>(HISTORY_FILE_SIZE), file.size());
  std::string text = TextOf(file);
  EXPECT_LT(text.size(), static_cast<size_t>(HISTORY_FILE_SIZE));
  int written = CountLines(text) - 2;
  EXPECT_EQ(std::to_string(written) + "\r\n", text.substr(0, text.find('\n') + 1));
  EXPECT_GT(written, 40);
  EXPECT_LT(written, MAX_PLAYED_HISTORY);
  EXPECT_EQ(std::string(HISTORY_FILE_SIZE - text.size(), '\0'), file.substr(text.size()));
  // The most recent entries are the ones kept.
  ReleasePlayedFiles();
  ASSERT_TRUE(ReadDatFile());
  ASSERT_EQ(written, numberOfPlayedFiles);
  EXPECT_EQ(4000000000u - MAX_PLAYED_HISTORY, playedFiles[written]->inode);
  EXPECT_EQ(4000000000u - (MAX_PLAYED_HISTORY - written + 1), playedFiles[1]->inode);
  EXPECT_EQ(126u, strlen(playedFiles[0]->name));
}

TEST_F(HistoryTest, HolesEmptyNamesAndYouTubeStreamsAreNeverWritten) {
  SetLastPlayed(9, 1, 2, "clip_h264");  // entry 0 is always written
  AppendPlayedFileEntry(11, "a.rec", 1, 2);
  AppendPlayedFileEntry(0, "hole.rec", 1, 2);
  AppendPlayedFileEntry(12, "", 1, 2);
  AppendPlayedFileEntry(13, "stream_h264", 1, 2);
  AppendPlayedFileEntry(14, "_h264", 3, 4);
  TAP_MemFree(playedFiles[2]);  // a slot without an entry at all
  playedFiles[2] = nullptr;
  SaveDatToFile();
  ExpectFile(PLAYBACK_FILE_NAME, "2\r\n" + Line(9, 1, 2, "clip_h264") + Line(14, 3, 4, "_h264") +
                                     Line(11, 1, 2, "a.rec"));
}

TEST_F(HistoryTest, DamagedFilesAreReadWithinBoundsWithTheFoldRule) {
  struct Case {
    std::string text;
    int count;
    dword lastInode;
  } cases[] = {
      {"", 0, 0},
      // A count beyond the lines that follow gives just those lines.
      {"4294967295\r\n5\t6\t7\tx\r\n", 0, 5},
      {"-1\r\n5\t6\t7\tx\r\n8\t9\t10\ty\r\n", 1, 5},
      {"99999\r\n5\t6\t7\tx\r\n8\t9\t10\ty\r\n3\t3\t3\tz\r\n", 2, 5},
      {"3\r\n5\t6\t7\tx\r\n8\t9\t10\ty\r\n", 1, 5},
      {"1\n5\t6\t7\tx\n8\t9\t10\ty\n", 1, 5},  // LF only
      {"1\r5\t6\t7\tx\r8\t9\t10\ty\r", 1, 5},  // CR only
      {"99999999999\r\n", 0, 0},
      {"2\r\n1a\t\t\t\r\n", 0, 59},  // '1' then 'a' folded as a digit: 10 + 49
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(testenv::WriteFile(SettingsPath(PLAYBACK_FILE_NAME), c.text));
    ASSERT_TRUE(ReadDatFile());
    EXPECT_EQ(c.count, numberOfPlayedFiles) << c.text;
    ASSERT_NE(playedFiles[0], nullptr);
    EXPECT_EQ(c.lastInode, playedFiles[0]->inode) << c.text;
    for (int i = numberOfPlayedFiles + 1; i < MAX_PLAYED_FILES; i++)
      EXPECT_EQ(nullptr, playedFiles[i]);
  }
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(PLAYBACK_FILE_NAME), "1\n5\t6\t7\tx\n8\t9\t10\ty\n"));
  ASSERT_TRUE(ReadDatFile());
  EXPECT_EQ(8u, playedFiles[1]->inode);
  EXPECT_STREQ("y", playedFiles[1]->name);
  EXPECT_EQ(10u, playedFiles[1]->totalBlocks);

  // Random bytes, longer than the block and without any terminator.
  std::mt19937 random(11);
  for (int round = 0; round < 100; round++) {
    std::string bytes(random() % 15000, '\0');
    for (char& c : bytes)
      c = round % 2 ? static_cast<char>(random()) : "123\t\r\n\0a"[random() % 8];
    ASSERT_TRUE(testenv::WriteFile(SettingsPath(PLAYBACK_FILE_NAME), bytes));
    ASSERT_TRUE(ReadDatFile());
    ASSERT_LE(numberOfPlayedFiles, MAX_PLAYED_HISTORY);
    for (int i = 0; i <= numberOfPlayedFiles; i++) {
      if (playedFiles[i]) {
        ASSERT_LT(strlen(playedFiles[i]->name), sizeof playedFiles[i]->name);
      }
    }
    SaveDatToFile();
    ASSERT_EQ(static_cast<size_t>(HISTORY_FILE_SIZE),
              testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME)).size());
  }
}

TEST_F(HistoryTest, DeletingAllProgressStartsFreshAndClearsTheShownFolder) {
  AddFolder(0, "/DataFiles", "/DataFiles", 1);
  FileRecord* line = AddLine(0, 1, "a.rec");
  line->hasHistory = 1;
  line->positionBlock = 40;
  line->totalBlocks = 80;
  numberOfFiles = 1;
  SetLastPlayed(3, 4, 5, "a.rec");
  for (int i = 0; i < 20; i++) AppendPlayedFileEntry(100 + i, "b.rec", 1, 2);
  SaveDatToFile();
  DeletePlayData();
  ExpectFile(PLAYBACK_FILE_NAME, kFreshText);
  EXPECT_EQ(1, numberOfPlayedFiles);
  EXPECT_EQ(nullptr, playedFiles[2]);
  EXPECT_EQ(0u, line->hasHistory);
  EXPECT_EQ(0u, line->positionBlock);
  EXPECT_EQ(1u, line->totalBlocks);
  EXPECT_STREQ("All Progress Info Cleared.", lastMessageTitle);
  EXPECT_STREQ("Removed playback information", lastMessageLine1);
  EXPECT_STREQ("for all recorded files.", lastMessageLine2);
}

TEST_F(HistoryTest, BackupsKeepTheTwoPreviousGenerations) {
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(PLAYBACK_FILE_NAME), "first"));
  BackupPlayData();
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(PLAYBACK_FILE_NAME), "second"));
  BackupPlayData();
  EXPECT_EQ("second", testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME ".old")));
  EXPECT_EQ("first", testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME ".old2")));
}

// The power goes, or the disk fills up, after every number of changes in
// turn: the history is the old file or the new one, whole. A history that
// cannot be read is not replaced by an empty one.
TEST_F(HistoryTest, PowerCutFullDiskOrReadErrorLeavesOldOrNewHistory) {
  for (bool power : {true, false}) {
    int cuts = 0;
    for (int changes = 0;; changes++) {
      ReleasePlayedFiles();
      unlink(SettingsPath(PLAYBACK_FILE_NAME).c_str());
      LoadPlayData();
      std::string before = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
      AppendPlayedFileEntry(42, "new.rec", 1, 2);
      if (power)
        emu::CutPowerAfter(changes);
      else
        emu::FillDiskAfter(changes);
      SaveDatToFile();
      bool cut = power ? emu::PowerWasCut() : emu::DiskWasFull();
      emu::RestorePower();
      std::string after = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
      if (!cut) {
        EXPECT_NE(std::string::npos, after.find("new.rec"));
        break;
      }
      cuts++;
      EXPECT_TRUE(before == after) << (power ? "cut" : "full") << " after " << changes;
      ASSERT_LT(changes, 20);
    }
    EXPECT_GE(cuts, power ? 3 : 1);
  }
  std::string saved = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
  ReleasePlayedFiles();
  emu::FailReadsAfter(0);
  LoadPlayData();
  EXPECT_TRUE(emu::ReadFailed());
  emu::RestorePower();
  AppendPlayedFileEntry(43, "other.rec", 1, 2);
  SaveDatToFile();
  EXPECT_TRUE(saved == testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME)));
}

TEST_F(HistoryTest, TheTableNeverGrowsBeyond299) {
  numberOfPlayedFiles = -1;  // a damaged count starts the history afresh
  for (int i = 1; i <= MAX_PLAYED_HISTORY; i++) AppendPlayedFileEntry(i, "x.rec", 0, 1);
  EXPECT_EQ(0, AppendPlayedFileEntry(500, "y.rec", 0, 1));
  // Moving an entry to the end works on a full table.
  EXPECT_EQ(MAX_PLAYED_HISTORY, MovePlayedFileEntryToEnd(5, 60, 70));
  EXPECT_EQ(5u, playedFiles[MAX_PLAYED_HISTORY]->inode);
  EXPECT_EQ(MAX_PLAYED_HISTORY, MovePlayedFileEntryToEnd(MAX_PLAYED_HISTORY, 60, 70));  // already
  EXPECT_EQ(60u, playedFiles[MAX_PLAYED_HISTORY]->positionBlock);
  EXPECT_EQ(6u, playedFiles[5]->inode);
  // The last played file (entry 0) and an index past the history are no entries.
  playedFiles[0] = static_cast<PlayedFileEntry*>(TAP_MemAlloc(sizeof(PlayedFileEntry)));
  ASSERT_TRUE(playedFiles[0]);
  memset(playedFiles[0], 0, sizeof(PlayedFileEntry));
  playedFiles[0]->inode = 900;
  EXPECT_EQ(0, MovePlayedFileEntryToEnd(0, 1, 2));
  EXPECT_EQ(0, MovePlayedFileEntryToEnd(MAX_PLAYED_HISTORY + 1, 1, 2));
  EXPECT_EQ(900u, playedFiles[0]->inode);
  EXPECT_EQ(5u, playedFiles[MAX_PLAYED_HISTORY]->inode);
  // An emptied entry makes room: the holes close up, the order stays.
  playedFiles[10]->inode = 0;
  EXPECT_EQ(MAX_PLAYED_HISTORY, AppendPlayedFileEntry(500, "y.rec", 0, 1));
  EXPECT_EQ(MAX_PLAYED_HISTORY, numberOfPlayedFiles);
  EXPECT_EQ(12u, playedFiles[10]->inode);
  EXPECT_EQ(5u, playedFiles[MAX_PLAYED_HISTORY - 1]->inode);
  EXPECT_EQ(500u, playedFiles[MAX_PLAYED_HISTORY]->inode);
  DeletePlayedFileEntry(1);
  EXPECT_EQ(MAX_PLAYED_HISTORY - 1, numberOfPlayedFiles);
  EXPECT_EQ(2u, playedFiles[1]->inode);
  EXPECT_EQ(nullptr, playedFiles[MAX_PLAYED_HISTORY]);
  // The oldest entry moves as well.
  EXPECT_EQ(MAX_PLAYED_HISTORY - 1, MovePlayedFileEntryToEnd(1, 1, 2));
  EXPECT_EQ(3u, playedFiles[1]->inode);
  EXPECT_EQ(2u, playedFiles[MAX_PLAYED_HISTORY - 1]->inode);
}

TEST_F(HistoryTest, ExhaustedHeapLosesNeitherFileNorHistory) {
  LoadPlayData();
  AppendPlayedFileEntry(42, "kept.rec", 1, 2);
  SaveDatToFile();
  std::string file = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
  emu::LimitAllocations(0);
  AppendPlayedFileEntry(43, "lost.rec", 1, 2);
  SaveDatToFile();
  EXPECT_FALSE(ReadDatFile());
  emu::LimitAllocations(-1);
  EXPECT_EQ(file, testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME)));
  EXPECT_EQ(2, numberOfPlayedFiles);
  EXPECT_EQ(42u, playedFiles[2]->inode);
}

TEST_F(HistoryTest, AHistoryThatCannotBeReadIsNotReplaced) {
  LoadPlayData();
  AppendPlayedFileEntry(42, "kept.rec", 1, 2);
  SaveDatToFile();
  std::string file = testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME));
  emu::LimitAllocations(0);  // the start finds no memory to read the history
  LoadPlayData();
  emu::LimitAllocations(-1);
  AppendPlayedFileEntry(43, "this session.rec", 1, 2);
  SaveDatToFile();
  EXPECT_EQ(file, testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME)));
  // The next start reads it; saving works again.
  LoadPlayData();
  ASSERT_EQ(2, numberOfPlayedFiles);
  EXPECT_EQ(42u, playedFiles[2]->inode);
  AppendPlayedFileEntry(44, "next session.rec", 1, 2);
  SaveDatToFile();
  EXPECT_NE(std::string::npos,
            testenv::ReadFile(SettingsPath(PLAYBACK_FILE_NAME)).find("next session.rec"));
  // Deleting all progress is always possible.
  emu::LimitAllocations(0);
  LoadPlayData();
  emu::LimitAllocations(-1);
  DeletePlayData();
  ExpectFile(PLAYBACK_FILE_NAME, kFreshText);
}
