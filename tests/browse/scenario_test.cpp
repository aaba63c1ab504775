// Whole runs in the emulated recorder: browsing a disk of recordings, playing
// one, and coming back to its watched progress.
#include <stdio.h>

#include "BrowseFixture.h"

namespace {

TEST_F(BrowseTest, BrowsePlayStopAndComeBackToTheProgress) {
  OpenList();
  ASSERT_EQ(CurrentDirNumber, 0);
  ASSERT_EQ(maxShown, 23);    // 3 folders and 20 recordings
  EXPECT_EQ(chosenLine, 23);  // the last entry, on the last line
  EXPECT_EQ(printLine, L());

  // Moving and paging.
  emu::PressKey(RKEY_ChDown);  // wraps
  EXPECT_EQ(chosenLine, 1);
  EXPECT_EQ(printLine, 1);
  emu::PressKey(RKEY_ChDown);
  emu::PressKey(RKEY_ChDown);
  EXPECT_EQ(chosenLine, 3);
  EXPECT_EQ(printLine, 3);
  emu::PressKey(RKEY_VolUp);  // page down: to the last line of the page
  EXPECT_EQ(chosenLine, L());
  EXPECT_EQ(printLine, L());
  emu::PressKey(RKEY_VolUp);  // then L - 1 further, clamped to the end
  EXPECT_EQ(chosenLine, 23);
  EXPECT_EQ(printLine, L());
  emu::PressKey(RKEY_ChDown);  // wraps
  EXPECT_EQ(chosenLine, 1);
  EXPECT_EQ(printLine, 1);

  // Into a folder and back out.
  SelectByKeys("Movies");
  int moviesLine = chosenLine;
  emu::PressKey(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles/Movies");
  ASSERT_GT(CurrentDirNumber, 0);
  EXPECT_EQ(maxShown, 4);  // parent line and three films
  EXPECT_EQ(Line(1)->attribute, (dword)ATTRIBUTE_PARENT);
  EXPECT_EQ(chosenLine, 1);
  emu::PressKey(RKEY_Ok);  // the parent line
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(CurrentDirNumber, 0);
  EXPECT_EQ(chosenLine, moviesLine);
  EXPECT_STREQ(SelectedName(), "Movies");

  // Sorting keeps the selection on the same entry.
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Beta.rec");
  int sortBefore = sortOrder;
  emu::PressKey(RKEY_Pause);
  EXPECT_NE(sortOrder, sortBefore);
  EXPECT_STREQ(SelectedName(), "Beta.rec");

  // Multi-selection: the release of Red picks a file and moves on.
  int betaLine = chosenLine;
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 1);
  EXPECT_STREQ(MultiSelect->name, "Beta.rec");
  EXPECT_EQ(chosenLine, betaLine == maxShown ? 1 : betaLine + 1);
  // Picked again, it leaves the selection.
  while (chosenLine != betaLine) emu::PressKey(RKEY_ChUp);
  emu::ReleaseKey(RKEY_Red);
  EXPECT_EQ(MultiSelectCount(), 0);

  // Play Alpha (3000 blocks), let it run 20 seconds, stop it.
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(windowShowing, 0);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Movies/Alpha.rec");
  EXPECT_EQ(Play().playMode, PLAYMODE_Playing);
  emu::Wait(20);
  EXPECT_EQ(inPlaybackMode, 1);
  dword position = Play().currentBlock;
  // 20 s at 50 blocks a second, and the half second the header resume waits.
  EXPECT_EQ(position, 1025u);
  emu::PressKey(RKEY_Stop);
  EXPECT_FALSE(emu::IsPlaying());
  emu::Idle(1);
  EXPECT_EQ(inPlaybackMode, 0);

  // The history file holds the entry with its position.
  dword inode = Inode("/DataFiles/Movies/Alpha.rec");
  char expected[128];
  snprintf(expected, sizeof expected, "%u\t%u\t3000\tAlpha.rec\r\n", inode, position);
  std::string history = HistoryFile();
  EXPECT_NE(history.find(expected), std::string::npos) << history.substr(0, 300);
  ASSERT_NE(History("Alpha.rec"), nullptr);

  // The list reopens in the folder and shows the watched progress.
  OpenList();
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
  FileRecord* alpha = Line(Find("Alpha.rec"));
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha->hasHistory, 1u);
  EXPECT_EQ(alpha->positionBlock, position);  // sampled on the last idle event before Stop
  EXPECT_EQ(alpha->totalBlocks, 3000u);
  EXPECT_EQ(alpha->playingNow, 0u);

  // Resuming jumps 60 blocks before the saved position.
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Play().currentBlock, position - 60);

  // Watched to the end: the next resume starts from the beginning.
  TAP_Hdd_ChangePlaybackPos(2950);
  emu::Wait(2);  // the end of the file ends the playback
  EXPECT_FALSE(emu::IsPlaying());
  emu::Idle(1);
  ASSERT_NE(History("Alpha.rec"), nullptr);
  EXPECT_GE(History("Alpha.rec")->positionBlock * 100 / 3000, 95u);
  OpenList();
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Play().currentBlock, 0u);
}

// Folders deep below long names: every level opens under its full path, the
// counts stay what the disk holds however often a folder is visited, and a
// folder whose path is too long for the catalogue is listed but refused.
class DeepFoldersTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    ASSERT_TRUE(disk->File(Bottom() + "/bottom.rec", 10 * kBlock));
    ASSERT_TRUE(disk->Folder(TooLong() + "/below"));
  }
  static std::string A() { return "/DataFiles/" + std::string(100, 'A'); }
  static std::string Bottom() { return A() + "/" + std::string(30, 'B') + "/C/D"; }
  static std::string TooLong() { return A() + "/" + std::string(100, 'X'); }  // 212 characters
  void Enter(const std::string& name) {
    SelectByKeys(name.c_str());
    emu::PressKey(RKEY_Ok);
  }
  void Up() {
    SelectByKeys("..");
    emu::PressKey(RKEY_Ok);
  }
  int ShownSubfolders() { return myfolders[CurrentDirNumber]->subfolderCount; }
};

TEST_F(DeepFoldersTest, EveryLevelOpensUnderItsFullPathAndTooLongOnesAreRefused) {
  OpenList();
  Enter(std::string(100, 'A'));
  Enter(std::string(30, 'B'));
  Enter("C");
  Enter("D");
  EXPECT_STREQ(CurrentDir, Bottom().c_str());
  ASSERT_NE(Find("bottom.rec"), 0);
  EXPECT_TRUE(Line(Find("bottom.rec"))->isNew);  // new until its folder is left
  for (int visit = 0; visit < 3; visit++) {
    Up();
    EXPECT_STREQ(CurrentDir, (A() + "/" + std::string(30, 'B') + "/C").c_str());
    EXPECT_EQ(ShownSubfolders(), 1);
    EXPECT_EQ(maxShown, 2);
    Enter("D");
    EXPECT_EQ(maxShown, 2);
    EXPECT_FALSE(Line(Find("bottom.rec"))->isNew);
  }
  for (int level = 0; level < 3; level++) Up();
  EXPECT_STREQ(CurrentDir, A().c_str());
  EXPECT_EQ(ShownSubfolders(), 2);
  int shown = CurrentDirNumber;
  Enter(std::string(100, 'X'));
  EXPECT_EQ(CurrentDirNumber, shown);
  EXPECT_STREQ(CurrentDir, A().c_str());
  EXPECT_STREQ(lastMessageTitle, "Cannot Open Folder.");
  EXPECT_STREQ(lastMessageLine1, "Its path is longer than 199 characters.");
  EXPECT_EQ(ShownSubfolders(), 2);

  // Every folder the history names is one on the disk, the too-long one none.
  emu::PressKey(RKEY_Exit);
  std::string lastView =
      testenv::ReadFile(HostPath("/ProgramFiles/Settings/Pavrolinex/SkerrowbyLastView.dat"));
  int paths = 0;
  for (size_t at = lastView.find("\r\n"); at != std::string::npos && lastView[at + 2] == '/';
       at = lastView.find("\r\n", at + 2)) {
    std::string path = lastView.substr(at + 2, lastView.find('\t', at) - at - 2);
    EXPECT_TRUE(testenv::Exists(HostPath(path))) << path;
    EXPECT_EQ(path.find(std::string(100, 'X')), std::string::npos);
    paths++;
  }
  EXPECT_EQ(paths, 5);  // the root, A, B, C and D
}

}  // namespace
