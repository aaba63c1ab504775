// Return-flag processing after a key event.
#include <string.h>

#include <string>

#include "AppFixture.h"
#include "config/ConfigMenu.h"

namespace {

class CheckFlagsTest : public AppTest {
 protected:
  void BeforeStart() override {
    testenv::WriteFile(HostPath("/DataFiles/a.rec"), "a");
    testenv::WriteFile(HostPath("/DataFiles/b.rec"), "b");
    testenv::WriteFile(HostPath("/DataFiles/Old/c.rec"), "c");
  }
  void SetUp() override {
    AppTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(emu::PressKey(RKEY_PlayList), 0u);
    ASSERT_NE(myfolders[0], nullptr);
  }

  int SlotOf(const char* name) {
    for (int slot = 1; slot <= myfolders[0]->entryCount; slot++) {
      if (FileSlot(0, slot) && strcmp(FileSlot(0, slot)->name, name) == 0) return slot;
    }
    return 0;
  }

  void Select(const char* name) {
    MultiSelectItem* item = (MultiSelectItem*)TAP_MemAlloc(sizeof(MultiSelectItem));
    memset(item, 0, sizeof *item);
    strcpy(item->name, name);
    MultiSelectItem** end = &MultiSelect;
    while (*end) end = &(*end)->next;
    *end = item;
  }

  int SelectionSize() {
    int n = 0;
    for (MultiSelectItem* item = MultiSelect; item; item = item->next) n++;
    return n;
  }

  void DeleteReturns(const char* name) {
    delete_CurrentDirNumber = 0;
    delete_chosenLine = SlotOf(name);
    ASSERT_GT(delete_chosenLine, 0) << name;
    fileDeleted = 1;
    returnFromDelete = 1;
    CheckFlags();
  }
};

TEST_F(CheckFlagsTest, ExitComesFirstAndStopsTheRest) {
  exitFlag = 1;
  returnFromInfo = 1;
  fileRenamed = 1;
  CheckFlags();
  EXPECT_EQ(exitFlag, 0);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(returnFromInfo, 1);
  EXPECT_EQ(fileRenamed, 1);
}

TEST_F(CheckFlagsTest, InfoResultsAreConsumed) {
  returnFromInfo = 1;
  fileRenamed = fileReset = listMoved = fileMoved = 1;
  CheckFlags();
  EXPECT_EQ(returnFromInfo, 0);
  EXPECT_EQ(fileRenamed + fileReset + listMoved + fileMoved, 0);
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(CheckFlagsTest, DeletedEntryLeavesTheCatalogueAndTheSelectionMovesOn) {
  int before = myfolders[0]->entryCount;
  Select("a.rec");
  Select("b.rec");
  DeleteReturns("a.rec");
  EXPECT_EQ(returnFromDelete, 0);
  EXPECT_EQ(fileDeleted, 0);
  EXPECT_EQ(myfolders[0]->entryCount, before - 1);
  EXPECT_EQ(SlotOf("a.rec"), 0);
  ASSERT_EQ(SelectionSize(), 1);
  EXPECT_STREQ(MultiSelect->name, "b.rec");
  EXPECT_EQ(fileDeleted_MultiSelect, 1);  // the next confirmation is due
  DeleteReturns("b.rec");
  EXPECT_EQ(SelectionSize(), 0);
  EXPECT_EQ(fileDeleted_MultiSelect, 0);
}

TEST_F(CheckFlagsTest, BackgroundWorkKeepsTheSelection) {
  Select("a.rec");
  Select("b.rec");
  processInBackground = 1;
  fileDeleted_MultiSelect = 1;
  DeleteReturns("a.rec");
  EXPECT_EQ(SelectionSize(), 2);
  EXPECT_EQ(fileDeleted_MultiSelect, 0);
}

TEST_F(CheckFlagsTest, DeletedFolderDropsItsTableEntry) {
  int slot = SlotOf("Old");
  ASSERT_GT(slot, 0);
  int folder = FileSlot(0, slot)->folderNumber;
  ASSERT_GT(folder, 0);
  ASSERT_NE(myfolders[folder], nullptr);
  EXPECT_STREQ(myfolders[folder]->name, "Old");
  DeleteReturns("Old");
  EXPECT_EQ(SlotOf("Old"), 0);
  EXPECT_STREQ(myfolders[folder]->name, "");
  EXPECT_EQ(myfolders[folder]->entryCount, 0);
}

TEST_F(CheckFlagsTest, AnswerNoLeavesTheCatalogueAlone) {
  int before = myfolders[0]->entryCount;
  returnFromDelete = 1;
  fileDeleted = 0;
  CheckFlags();
  EXPECT_EQ(returnFromDelete, 0);
  EXPECT_EQ(myfolders[0]->entryCount, before);
}

TEST_F(CheckFlagsTest, ImpossibleDeleteLineIsIgnored) {
  int before = myfolders[0]->entryCount;
  delete_CurrentDirNumber = 0;
  delete_chosenLine = 5000;
  fileDeleted = 1;
  returnFromDelete = 1;
  CheckFlags();
  EXPECT_EQ(myfolders[0]->entryCount, before);
  delete_CurrentDirNumber = -3;
  delete_chosenLine = 1;
  fileDeleted = 1;
  returnFromDelete = 1;
  CheckFlags();
  EXPECT_EQ(myfolders[0]->entryCount, before);
}

TEST_F(CheckFlagsTest, MoveRenameStopAndConfigReturnsAreConsumed) {
  returnFromMove = 1;
  fileMoved = 1;
  infoWindowShowing = 1;
  CheckFlags();
  EXPECT_EQ(returnFromMove, 0);
  EXPECT_EQ(fileMoved, 0);
  EXPECT_EQ(infoWindowShowing, 0);  // the info window closes when its file moved

  returnFromRename = 1;
  folderRenamed = 1;
  CheckFlags();
  EXPECT_EQ(returnFromRename + folderRenamed, 0);

  returnFromStop = 1;
  fileStopped = 1;
  CheckFlags();
  EXPECT_EQ(returnFromStop + fileStopped, 0);

  returnFromRecycleBinWindowEmpty = 1;
  returnFromFirmwareDat = 1;
  returnFromCredits = 1;
  returnFromConfig = 1;
  CheckFlags();
  EXPECT_EQ(returnFromRecycleBinWindowEmpty + returnFromFirmwareDat + returnFromCredits +
                returnFromConfig,
            0);
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(CheckFlagsTest, ConfigurationClosedFromTheListRedrawsIt) {
  ASSERT_EQ(windowShowing, 1);
  ActivateConfigWindow(1);
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_EQ(configWindowShowing, 0);
  EXPECT_EQ(returnFromConfig, 0);  // consumed after the key
  EXPECT_EQ(windowShowing, 1);
}

}  // namespace
