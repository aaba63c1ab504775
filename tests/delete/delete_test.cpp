// Deleting from the list: the confirmation's texts and refusals, recycling
// to ".del" with the companions, permanent deletion of files and folders,
// hostile names on the way to the shell, and the multi-selection round.
#include <string.h>

#include <string>

#include "../browse/BrowseFixture.h"
#include "actions/texts.h"
#include "snapshot.h"
#include "ui/Dialogs.h"

namespace {

class DeleteTest : public BrowseTest {
 protected:
  // Short press of Blue: the delete of the selected entry.
  void Blue() { emu::PressKey(RKEY_Blue); }
  // Long press of Blue: the delete for good.
  void HoldBlue() {
    emu::PressKey(RKEY_Blue | RKEY_FLAG_HELD);
    emu::ReleaseKey(RKEY_Blue);
  }
  void Yes() {
    if (YesNoOption != 0) emu::PressKey(RKEY_VolDown);
    emu::PressKey(RKEY_Ok);
  }
  void No() { emu::PressKey(RKEY_Exit); }
  bool Has(const std::string& path) { return disk->Exists(path); }
  // The three files of a recording on the disk: 0 to 3.
  int Trio(const std::string& path) { return Has(path) + Has(path + ".inf") + Has(path + ".nav"); }
  int RecycledTrio(const std::string& path) {
    return Has(path + ".del") + Has(path + ".inf.del") + Has(path + ".nav.del");
  }
};

TEST_F(DeleteTest, FileConfirmationFollowsTheRecycleOption) {
  OpenList();
  SelectByKeys("Show 03.rec");
  recycleBinOption = 1;
  Blue();
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "File Delete Confirmation");
  EXPECT_STREQ(lastMessageLine1, "Show 03.rec");
  EXPECT_STREQ(lastMessageLine2, "Do you want to recycle this file?");
  EXPECT_EQ(YesNoOption, 1);  // "No" first by default
  No();
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_EQ(yesnoWindowShowing, 0);

  recycleBinOption = 0;
  DeleteConfirmDefault = 1;
  Blue();
  EXPECT_STREQ(lastMessageLine2, "Do you want to delete this file?");
  EXPECT_EQ(YesNoOption, 0);
  No();
  // No changed nothing: the files and the list line are all there.
  EXPECT_EQ(Trio("/DataFiles/Show 03.rec"), 3);
  EXPECT_GT(Find("Show 03.rec"), 0);
  EXPECT_EQ(fileDeleted, 0);
}

TEST_F(DeleteTest, TheLongPressOfBlueAsksToDeleteForGood) {
  OpenList();
  SelectByKeys("Show 05.rec");
  recycleBinOption = 1;
  HoldBlue();
  ASSERT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "File Delete Confirmation");
  EXPECT_STREQ(lastMessageLine1, "Show 05.rec");
  EXPECT_STREQ(lastMessageLine2, "Do you want to delete this file?");
  Yes();
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_EQ(Trio("/DataFiles/Show 05.rec"), 0);
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 05.rec"), 0);
  EXPECT_EQ(Find("Show 05.rec"), 0);
  // What left the disk for good can be traced in the log.
  EXPECT_NE(emu::NetOutput().find("Deleted - /DataFiles/Show 05.rec"), std::string::npos);
  EXPECT_EQ(emu::NetOutput().find("Deleted - /DataFiles/Show 06"), std::string::npos);
  EXPECT_EQ(Trio("/DataFiles/Show 04.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Show 06.rec"), 3);
  // The next short press recycles again.
  SelectByKeys("Show 06.rec");
  Blue();
  EXPECT_STREQ(lastMessageLine2, "Do you want to recycle this file?");
}

TEST_F(DeleteTest, YesRecyclesTheRecordingWithItsCompanions) {
  ASSERT_TRUE(testenv::SetFileTime(HostPath("/DataFiles/Show 07.rec"), 2026, 11, 7, 20, 0));
  OpenList();
  SelectByKeys("Show 07.rec");
  recycleBinOption = 1;
  int lines = maxShown;
  Blue();
  Yes();
  EXPECT_EQ(Trio("/DataFiles/Show 07.rec"), 0);
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 07.rec"), 3);
  // The catalogue lost the line; the list was redrawn without it.
  EXPECT_EQ(Find("Show 07.rec"), 0);
  EXPECT_EQ(maxShown, lines - 1);
  EXPECT_EQ(returnFromDelete, 0);
  // The recycled file is dated now, for the bin's age rules.
  struct stat st;
  ASSERT_EQ(stat(HostPath("/DataFiles/Show 07.rec.del").c_str(), &st), 0);
  EXPECT_EQ(testdisk::UnixToStamp(st.st_mtime) >> 16, testdisk::Stamp(2026, 12, 7) >> 16);
  // The contents are untouched.
  EXPECT_EQ((uint64_t)st.st_size, 1000 * kBlock);

  // The recording being played goes too: its playback stops first.
  SelectByKeys("Show 08.rec");
  emu::PressKey(RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  OpenList();
  SelectByKeys("Show 08.rec");
  Blue();
  Yes();
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 08.rec"), 3);
}

TEST_F(DeleteTest, RecyclingAvoidsNamesAlreadyInTheBin) {
  ASSERT_TRUE(disk->File("/DataFiles/Show 08.rec.del", 10));
  ASSERT_TRUE(disk->File("/DataFiles/Show 08~1.rec.nav.del", 10));  // only a companion taken
  ASSERT_TRUE(disk->File("/DataFiles/Show 08~2.rec.inf.del", 10));  // the other companion
  OpenList();
  SelectByKeys("Show 08.rec");
  recycleBinOption = 2;  // no prompt
  Blue();
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_EQ(Trio("/DataFiles/Show 08.rec"), 0);
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 08~3.rec"), 3);
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Show 08~2.rec.inf.del")).size(), 10u);
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Show 08.rec.del")).size(), 10u);
  EXPECT_EQ(Find("Show 08.rec"), 0);
}

TEST_F(DeleteTest, ARecordingWithoutNavRecyclesAndAPlainFileHasNoCompanions) {
  ASSERT_TRUE(disk->Remove("/DataFiles/Show 09.rec.nav"));
  ASSERT_TRUE(disk->File("/DataFiles/clip.mpg", 100));
  OpenList();
  recycleBinOption = 2;
  SelectByKeys("Show 09.rec");
  Blue();
  EXPECT_TRUE(Has("/DataFiles/Show 09.rec.del"));
  EXPECT_TRUE(Has("/DataFiles/Show 09.rec.inf.del"));
  EXPECT_EQ(Find("Show 09.rec"), 0);
  EXPECT_STRNE(lastMessageTitle, "Recyle Bin Failure.");
  SelectByKeys("clip.mpg");
  Blue();
  EXPECT_TRUE(Has("/DataFiles/clip.mpg.del"));
  EXPECT_EQ(Find("clip.mpg"), 0);
}

TEST_F(DeleteTest, NoPromptOptionStillAsksForFoldersAndForcedConfirmations) {
  OpenList();
  recycleBinOption = 2;
  SelectByKeys("Empty");
  Blue();
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Folder Delete Confirmation");
  No();
  EXPECT_TRUE(Has("/DataFiles/Empty"));
  SelectByKeys("Show 10.rec");
  forceDeleteConfirmation = 1;
  Blue();
  EXPECT_EQ(deleteWindowShowing, 1);
  EXPECT_STREQ(lastMessageLine2, "Do you want to recycle this file?");
  EXPECT_EQ(forceDeleteConfirmation, 0);  // once
  No();
  EXPECT_EQ(Trio("/DataFiles/Show 10.rec"), 3);
}

TEST_F(DeleteTest, FoldersFollowTheFolderOption) {
  ASSERT_TRUE(disk->Folder("/DataFiles/Nest/Inner"));
  OpenList();
  folderDeleteOption = 0;
  SelectByKeys("Movies");
  Blue();
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_STREQ(lastMessageTitle, "Folder Delete Not Allowed.");
  EXPECT_STREQ(lastMessageLine1, "You cannot delete a folder that still");
  EXPECT_STREQ(lastMessageLine2, "contains recordings or subfolders.");
  emu::PressKey(RKEY_Exit);
  EXPECT_TRUE(Has("/DataFiles/Movies/Alpha.rec"));
  // Subfolders alone make a folder just as full.
  SelectByKeys("Nest");
  Blue();
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_STREQ(lastMessageTitle, "Folder Delete Not Allowed.");
  emu::PressKey(RKEY_Exit);
  EXPECT_TRUE(Has("/DataFiles/Nest/Inner"));

  // An empty folder goes with "rmdir".
  SelectByKeys("Empty");
  Blue();
  EXPECT_STREQ(lastMessageTitle, "Folder Delete Confirmation");
  EXPECT_STREQ(lastMessageLine1, "Folder: Empty");
  EXPECT_STREQ(lastMessageLine2, "Do you want to delete this folder?");
  Yes();
  EXPECT_FALSE(Has("/DataFiles/Empty"));
  EXPECT_EQ(Find("Empty"), 0);

  // With the option on, a full folder goes with everything in it.
  folderDeleteOption = 2;
  SelectByKeys("Series");
  Blue();
  Yes();
  EXPECT_STREQ(lastMessageTitle, "Folder Delete Confirmation");  // no failure said
  EXPECT_FALSE(Has("/DataFiles/Series"));
  EXPECT_EQ(Find("Series"), 0);
  EXPECT_TRUE(Has("/DataFiles/Movies/Alpha.rec"));
  EXPECT_EQ(Trio("/DataFiles/Show 01.rec"), 3);
}

TEST_F(DeleteTest, RmdirLeavesAFolderWithHiddenContentsAndSaysSo) {
  // The catalogue counts no entries here, but the disk holds a file.
  ASSERT_TRUE(disk->File("/DataFiles/Empty/notes.txt", 5));
  OpenList();
  folderDeleteOption = 0;
  SelectByKeys("Empty");
  Blue();
  ASSERT_EQ(deleteWindowShowing, 1);
  Yes();
  EXPECT_STREQ(lastMessageTitle, "Folder Delete Failed.");
  EXPECT_STREQ(lastMessageLine1, "Failed to delete folder:");
  EXPECT_STREQ(lastMessageLine2, "Empty");
  EXPECT_TRUE(Has("/DataFiles/Empty/notes.txt"));
  EXPECT_GT(Find("Empty"), 0);
}

class HostileNamesTest : public DeleteTest {
 protected:
  void BuildDisk() override {
    DeleteTest::BuildDisk();
    ASSERT_TRUE(disk->Folder("/DataFiles/Keep"));
    ASSERT_TRUE(disk->File("/DataFiles/Keep/precious.txt", 5));
    for (const char* name : kFolders) {
      ASSERT_TRUE(disk->File(std::string("/DataFiles/") + name + "/inside.txt", 5));
    }
    Recording(std::string("/DataFiles/") + kFile, 10, testdisk::Stamp(2026, 11, 30, 20, 0));
  }
  static constexpr const char* kFolders[] = {
      "Keep\" \"Keep",           // would close the quotes and name a sibling
      "$(touch pwned1)",         // command substitution
      "`touch pwned2`",          // old-style substitution
      "x\\",                     // a backslash that would swallow the closing quote
      "a\"; touch pwned3; \"b",  // command separator
  };
  static constexpr const char* kFile = "a\"b$(touch pwned4)`touch pwned5`.rec";
};

TEST_F(HostileNamesTest, OnlyTheNamedFolderOrFileGoes) {
  OpenList();
  folderDeleteOption = 2;
  recycleBinOption = 0;
  for (const char* name : kFolders) {
    SelectByKeys(name);
    Blue();
    ASSERT_EQ(deleteWindowShowing, 1) << name;
    Yes();
    EXPECT_FALSE(Has(std::string("/DataFiles/") + name)) << name;
    EXPECT_EQ(Find(name), 0) << name;
  }
  SelectByKeys(kFile);
  Blue();
  Yes();
  EXPECT_EQ(Trio(std::string("/DataFiles/") + kFile), 0);
  // Nothing else was touched, and no command ran.
  EXPECT_TRUE(Has("/DataFiles/Keep/precious.txt"));
  EXPECT_TRUE(Has("/DataFiles/Movies/Alpha.rec"));
  EXPECT_EQ(Trio("/DataFiles/Show 01.rec"), 3);
  for (const char* mark : {"pwned1", "pwned2", "pwned3", "pwned4", "pwned5"}) {
    EXPECT_FALSE(Has(std::string("/") + mark)) << mark;
    EXPECT_FALSE(Has(std::string("/DataFiles/") + mark)) << mark;
    EXPECT_FALSE(testenv::Exists(mark)) << mark;
  }
}

TEST_F(DeleteTest, RefusalsAndFailuresLeaveEverything) {
  OpenList();
  SelectByKeys("Show 11.rec");
  Line(chosenLine)->recordingNow = 1;
  Blue();
  EXPECT_EQ(deleteWindowShowing, 0);
  EXPECT_STREQ(lastMessageTitle, "File Delete Not Allowed.");
  EXPECT_STREQ(lastMessageLine1, "You cannot delete a file that is");
  EXPECT_STREQ(lastMessageLine2, "currently recording.");
  emu::PressKey(RKEY_Exit);
  Line(chosenLine)->recordingNow = 0;
  EXPECT_EQ(Trio("/DataFiles/Show 11.rec"), 3);

  // The file went behind the list's back: the delete fails and says so.
  ASSERT_TRUE(disk->Remove("/DataFiles/Show 12.rec"));
  SelectByKeys("Show 12.rec");
  HoldBlue();
  Yes();
  EXPECT_STREQ(lastMessageTitle, "File Delete Failed.");
  EXPECT_STREQ(lastMessageLine1, "Failed to delete file:");
  EXPECT_STREQ(lastMessageLine2, "Show 12.rec");
  emu::PressKey(RKEY_Exit);
  EXPECT_GT(Find("Show 12.rec"), 0);

  // Recycling it fails too, naming the old and new names.
  SelectByKeys("Show 12.rec");
  recycleBinOption = 1;
  Blue();
  Yes();
  EXPECT_STREQ(lastMessageTitle, "Recyle Bin Failure.");
  EXPECT_GT(Find("Show 12.rec"), 0);
  // A recording gone behind the list's back is not recycled in part: its
  // companions stay where they are.
  emu::PressKey(RKEY_Exit);
  ASSERT_TRUE(disk->Remove("/DataFiles/Show 13.rec"));
  ASSERT_EQ(Trio("/DataFiles/Show 13.rec"), 2);
  SelectByKeys("Show 13.rec");
  Blue();
  Yes();
  EXPECT_STREQ(lastMessageTitle, "Recyle Bin Failure.");
  EXPECT_EQ(Trio("/DataFiles/Show 13.rec"), 2);
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 13.rec"), 0);
}

TEST_F(DeleteTest, AMultiSelectionIsWorkedThroughOneItemAtATime) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 2);
  recycleBinOption = 1;
  Blue();
  ASSERT_STREQ(lastMessageLine2, "Do you want to recycle 2 file(s)?");
  Yes();
  // The first went at once; idle passes take the rest.
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 01.rec"), 3);
  emu::Idle(3);
  EXPECT_EQ(RecycledTrio("/DataFiles/Show 02.rec"), 3);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_EQ(fileDeleted_MultiSelect, 0);
  EXPECT_EQ(Trio("/DataFiles/Show 03.rec"), 3);
  EXPECT_EQ(Find("Show 01.rec"), 0);
  EXPECT_EQ(Find("Show 02.rec"), 0);
}

TEST_F(DeleteTest, NoToTheMultiSelectionDeletesNothing) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::ReleaseKey(RKEY_Red);
  recycleBinOption = 0;
  Blue();
  No();
  emu::Idle(3);
  EXPECT_EQ(Trio("/DataFiles/Show 01.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Show 02.rec"), 3);
  EXPECT_EQ(MultiSelectCount(), 2);
}

TEST_F(DeleteTest, TheConfirmationOverTheList) {
  OpenList();
  SelectByKeys("Show 04.rec");
  recycleBinOption = 1;
  HoldBlue();
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("delete-confirmation", &message)) << message;
}

}  // namespace

namespace {

// The short press reaches the screen by itself, with no later drawing to
// carry it there.
TEST_F(DeleteTest, TheShortPressConfirmationShowsAtOnce) {
  OpenList();
  SelectByKeys("Show 04.rec");
  recycleBinOption = 1;
  Blue();
  ASSERT_EQ(deleteWindowShowing, 1);
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("delete-confirmation-recycle", &message)) << message;
}

}  // namespace

namespace {

// The bin's name of a name at the length limit keeps its extension and the
// recycle marker; the base name gives way.
TEST_F(DeleteTest, ALongNameIsCutBeforeItsExtension) {
  std::string name = std::string(122, 'L') + ".mpg";  // 126 characters
  ASSERT_TRUE(disk->File("/DataFiles/" + name, 100));
  OpenList();
  recycleBinOption = 2;
  SelectByKeys(name.c_str());
  Blue();
  std::string recycled = std::string(118, 'L') + ".mpg.del";
  EXPECT_TRUE(Has("/DataFiles/" + recycled));
  EXPECT_FALSE(Has("/DataFiles/" + name));
  EXPECT_EQ(Find(name.c_str()), 0);
}

// Recordings named with 123 and 126 characters: recycled, the header and the
// navigation go along under names shortened alike, and a restore gives all
// three back together.
TEST_F(DeleteTest, ALongRecordingKeepsItsCompanionsThroughTheBin) {
  const std::string names[2] = {std::string(119, 'a') + ".rec", std::string(122, 'b') + ".rec"};
  for (const std::string& name : names) {
    Recording("/DataFiles/" + name, 10, testdisk::Stamp(2026, 11, 30, 20, 0));
  }
  OpenList();
  recycleBinOption = 2;
  for (const std::string& name : names) {
    SelectByKeys(name.c_str());
    emu::HoldKey(RKEY_Blue, 0);
    std::string cut = "/DataFiles/" + name.substr(0, 114) + ".rec";
    EXPECT_EQ(Trio("/DataFiles/" + name), 0) << name;
    EXPECT_EQ(RecycledTrio(cut), 3) << name;
  }
  emu::HoldKey(RKEY_Recall, 0);
  ASSERT_EQ(recycleWindowMode, 1);
  for (const std::string& name : names) {
    std::string cut = name.substr(0, 114) + ".rec";
    SelectByKeys((cut + ".del").c_str());
    emu::HoldKey(RKEY_Red, 0);
    EXPECT_EQ(Trio("/DataFiles/" + cut), 3) << name;
    EXPECT_EQ(RecycledTrio("/DataFiles/" + cut), 0) << name;
  }
}

// With every file listed: a "." at most 40 characters from the end starts the
// extension, which the counter goes before; one further away starts none.
TEST_F(DeleteTest, OnlyANearDotStartsTheExtension) {
  std::string near = "Near." + std::string(39, 'n');  // the dot and 39 more: 40
  std::string far = "Far." + std::string(40, 'f');    // 41
  for (const std::string& name : {near, far}) {
    ASSERT_TRUE(disk->File("/DataFiles/" + name, 10));
    ASSERT_TRUE(disk->File("/DataFiles/" + name + ".del", 10));
  }
  FileSuffixOption = 1;
  OpenList();
  recycleBinOption = 2;
  for (const std::string& name : {near, far}) {
    SelectByKeys(name.c_str());
    Blue();
    EXPECT_FALSE(Has("/DataFiles/" + name));
  }
  EXPECT_TRUE(Has("/DataFiles/Near~1." + std::string(39, 'n') + ".del"));
  EXPECT_TRUE(Has("/DataFiles/" + far + "~1.del"));
}

}  // namespace

// The power goes after every number of disk changes while a recording is
// recycled, and again while it is restored: after a restart every piece is on
// the disk once, under its own name or its recycled one, and a recycle or
// restore that was cut short was reported.
TEST_F(DeleteTest, APowerCutWhileRecyclingOrRestoringLosesNoPiece) {
  int cuts = 0;
  for (int changes = 0; changes < 6; changes++) {
    char name[32];
    snprintf(name, sizeof name, "Show %02d.rec", changes + 1);
    std::string path = std::string("/DataFiles/") + name;
    for (bool restoring : {false, true}) {
      OpenList();
      recycleBinOption = 2;
      if (restoring) {
        emu::PressKey(RKEY_Recall);  // the recycle bin's view
        SelectByKeys((std::string(name) + ".del").c_str());
      } else {
        SelectByKeys(name);
      }
      int shown = messageCount;
      emu::CutPowerAfter(changes);
      if (restoring)
        emu::PressKey(RKEY_Red);
      else
        Blue();
      bool cut = emu::PowerWasCut();
      emu::Shutdown(0);
      emu::RestorePower();
      ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
      index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
      ASSERT_GE(index_, 0);
      for (const char* piece : {"", ".inf", ".nav"}) {
        EXPECT_EQ(Has(path + piece) + Has(path + piece + ".del"), 1)
            << path << piece << (restoring ? " restored" : " recycled") << ", cut after "
            << changes;
      }
      int whole = restoring ? Trio(path) : RecycledTrio(path);
      if (cut && whole < 3) {
        cuts++;
        EXPECT_GT(messageCount, shown) << name << " cut after " << changes;
      }
      if (whole < 3) break;  // the recording stays where the cut left it
    }
  }
  EXPECT_GE(cuts, 3);
}
