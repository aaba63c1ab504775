// The yes/no window, the message window and the message boxes: answers,
// keys, labels, and the screen beneath put back when they go.
#include <string.h>

#include <vector>

#include "ListFixture.h"
#include "app/keys.h"

namespace {

int answers;
int lastAnswer = -1;
void Answer(int answer) {
  answers++;
  lastAnswer = answer;
}

// A callback that asks again: the second window must show after the first.
void AskAgain(int answer) {
  Answer(answer);
  DisplayYesNoWindow("Second", "question", "", "Yes", "No", 1, Answer);
}

class DialogTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    if (HasFatalFailure()) return;
    answers = 0;
    lastAnswer = -1;
    OpenList();
    before_ = emu::Frame();
  }
  void Ask(int defaultOption) {
    DisplayYesNoWindow("Question", "line one", "line two", "Yes", "No", defaultOption, Answer);
    TAP_Osd_Sync();
  }
  bool ScreenRestored() { return emu::Frame() == before_; }
  dword Pixel(int x, int y) { return emu::Frame()[y * OSD_WIDTH + x]; }
  // Rows of the box that hold text pixels (not the interior colour).
  bool RowHasInk(int y, int x1, int x2) {
    for (int x = x1; x < x2; x++)
      if (Pixel(x, y) != 0xFF1E1E1Eu) return true;
    return false;
  }

  std::vector<uint32_t> before_;
};

TEST_F(DialogTest, OkAnswersTheHighlightedButton) {
  Ask(1);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_FALSE(ScreenRestored());
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(lastAnswer, 0);
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_TRUE(ScreenRestored());

  Ask(1);
  EXPECT_EQ(emu::PressKey(RKEY_VolDown), 0u);  // Left
  EXPECT_EQ(YesNoOption, 0);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(lastAnswer, 1);
  EXPECT_EQ(answers, 2);

  Ask(0);
  EXPECT_EQ(emu::PressKey(RKEY_VolUp), 0u);  // Right
  EXPECT_EQ(emu::PressKey(RKEY_VolUp), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(lastAnswer, 1);
}

TEST_F(DialogTest, ExitAlwaysAnswersNoAndOtherKeysAreConsumed) {
  for (int option = 0; option <= 1; option++) {
    Ask(option);
    EXPECT_EQ(emu::PressKey(RKEY_1), 0u);
    EXPECT_EQ(emu::PressKey(RKEY_Mute), 0u);
    EXPECT_EQ(yesnoWindowShowing, 1);
    EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
    EXPECT_EQ(lastAnswer, 0);
    EXPECT_TRUE(ScreenRestored());
  }
  EXPECT_EQ(answers, 2);
  EXPECT_EQ(windowShowing, 1);  // the list under it stays
}

TEST_F(DialogTest, HighlightMovesBetweenTheButtons) {
  Ask(1);
  dword noButton = Pixel(390, 326), yesButton = Pixel(220, 326);
  EXPECT_EQ(yesButton, 0xFF101010u);
  EXPECT_NE(noButton, 0xFF101010u);  // the highlight bar
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(Pixel(390, 326), 0xFF101010u);
  EXPECT_NE(Pixel(220, 326), 0xFF101010u);
}

TEST_F(DialogTest, LabelsAreCutToNineCharacters) {
  DisplayYesNoWindow("Q", "", "", "Abcdefghijkl", "No", 1, Answer);
  EXPECT_STREQ(YesNoButton1, "Abcdefghi");
  EXPECT_STREQ(YesNoButton2, "No");
  EXPECT_STREQ(lastMessageTitle, "Q");
  emu::PressKey(RKEY_Exit);
}

TEST_F(DialogTest, BlueConfirmsADeleteOnlyWhenYesIsTheDefault) {
  deleteWindowShowing = 1;
  DeleteConfirmDefault = 0;
  Ask(1);
  EXPECT_EQ(emu::PressKey(RKEY_Blue), 0u);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_EQ(answers, 0);
  emu::PressKey(RKEY_Exit);
  DeleteConfirmDefault = 1;
  Ask(0);
  EXPECT_EQ(emu::PressKey(RKEY_Blue), 0u);
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_EQ(lastAnswer, 1);
  // Outside a delete confirmation Blue does nothing.
  deleteWindowShowing = 0;
  Ask(0);
  emu::PressKey(RKEY_Blue);
  EXPECT_EQ(yesnoWindowShowing, 1);
  emu::PressKey(RKEY_Exit);
}

TEST_F(DialogTest, ACallbackMayAskAgain) {
  DisplayYesNoWindow("First", "question", "", "Yes", "No", 0, AskAgain);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(lastAnswer, 1);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Second");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(answers, 2);
  EXPECT_EQ(lastAnswer, 0);
  EXPECT_TRUE(ScreenRestored());
  EXPECT_EQ(YesNoWindowCopy, nullptr);
}

TEST_F(DialogTest, WindowWithoutASavedScreenStillWorks) {
  emu::LimitAllocations(0);
  Ask(1);
  emu::LimitAllocations(-1);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_EQ(YesNoWindowCopy, nullptr);
  EXPECT_FALSE(ScreenRestored());  // drawn all the same
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(lastAnswer, 0);
}

TEST_F(DialogTest, MessageWindowWaitsForOkOrExit) {
  DisplayMessageWindow("Title", "first", "second", Answer);
  EXPECT_EQ(MessageWindowShowing, 1);
  EXPECT_TRUE(RowHasInk(239 + 8, 105, 615));
  EXPECT_TRUE(RowHasInk(272 + 8, 105, 615));
  for (dword key : {(dword)RKEY_1, (dword)RKEY_Blue, (dword)RKEY_VolUp}) {
    EXPECT_EQ(emu::PressKey(key), 0u);
    EXPECT_EQ(MessageWindowShowing, 1);
  }
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_EQ(MessageWindowShowing, 0);
  EXPECT_EQ(lastAnswer, 0);
  EXPECT_TRUE(ScreenRestored());
  DisplayMessageWindow("Title", "only line", "", ReturnFromMessageWindow);
  // One line sits in the middle: nothing where the two lines would be.
  EXPECT_TRUE(RowHasInk(255 + 8, 105, 615));
  EXPECT_FALSE(RowHasInk(239 + 3, 105, 615));
  EXPECT_FALSE(RowHasInk(272 + 14, 105, 615));
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_TRUE(ScreenRestored());
}

TEST_F(DialogTest, TimedBoxBlocksForItsDelayAndPutsTheScreenBack) {
  dword start = emu::Ticks();
  int count = messageCount;
  ShowMessageWinX(rgn, "Notice", "line one", "line two", 300);
  EXPECT_GE(emu::Ticks() - start, 300u);
  EXPECT_EQ(messageCount, count + 1);
  EXPECT_STREQ(lastMessageLine2, "line two");
  EXPECT_TRUE(ScreenRestored());
}

TEST_F(DialogTest, BoxLeftUpUntilRestored) {
  ShowMessageWinTemp(rgn, "Emptying Recycle Bin", "Please wait...", "");
  EXPECT_FALSE(ScreenRestored());
  EXPECT_EQ(Pixel(180, 223), 0xFFFFFFFFu);  // white border
  ShowMessageWinTemp(rgn, "Emptying Recycle Bin", "Still working...", "");
  RestoreMessageWinTemp(rgn);
  EXPECT_TRUE(ScreenRestored());
  EXPECT_EQ(msgWindowCopy, nullptr);
  RestoreMessageWinTemp(rgn);  // nothing left to put back
  EXPECT_TRUE(ScreenRestored());
}

TEST_F(DialogTest, BoxFieldFitsTheWidestTextAndStopsAt350) {
  BorderColour = 1;
  ShowMessageBox(rgn, "Hi", "", "");
  EXPECT_EQ(Pixel(180, 223), 0xFF666666u);
  // A short text: the field is narrow, nothing near the box's sides.
  for (int y = 235; y < 260; y++) {
    EXPECT_EQ(Pixel(190, y), 0xFF1E1E1Eu);
    EXPECT_EQ(Pixel(530, y), 0xFF1E1E1Eu);
  }
  ShowMessageBox(rgn, "A title far too long to fit in the message box at all, really", "", "");
  bool inkAtRight = false;
  for (int y = 235; y < 260; y++) {
    for (int x = 515; x <= 535; x++)
      if (Pixel(x, y) != 0xFF1E1E1Eu) inkAtRight = true;
    EXPECT_EQ(Pixel(536, y), 0xFF1E1E1Eu);  // cut at the field's end (535)
  }
  EXPECT_TRUE(inkAtRight);
}

TEST_F(DialogTest, PhotoAlbumQuestionGivesOkBackOnYes) {
  ReturningFromPhotoAlbumYesNo = 1;
  Ask(0);
  EXPECT_EQ(YesNoKeyHandler(RKEY_Ok), (dword)RKEY_Ok);
  EXPECT_EQ(ReturningFromPhotoAlbumYesNo, 0);
  ReturningFromPhotoAlbumYesNo = 1;
  Ask(0);
  EXPECT_EQ(YesNoKeyHandler(RKEY_Exit), 0u);
}

}  // namespace
