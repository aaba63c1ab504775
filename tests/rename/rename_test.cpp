// Renaming from the list and the information window, new folders and the
// automatic renaming of recordings: the disk, the list and the viewing
// history stay in step, hostile names come out legal, nothing is overwritten,
// and a power cut part-way is mended at the next start.
#include <string.h>
#include <unistd.h>

#include <string>

#include "../browse/BrowseFixture.h"
#include "apps/apps.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

namespace {

class RenameTest : public BrowseTest {
 protected:
  // What the keyboard does when it closes: it is gone, the caller hears the
  // result, and the key event that closed it ends with the flags checked.
  void Keyboard(void (*callback)(const char*, int), const char* text, int accepted = 1) {
    ASSERT_EQ(keyboardWindowShowing, 1);
    keyboardWindowShowing = 0;
    callback(text, accepted);
    CheckFlags();
  }
  void Rename(const char* text, int accepted = 1) {
    Keyboard(ReturnFromRenameKeyboard, text, accepted);
  }
  void White() { emu::PressKey(RKEY_Option); }
  // White on the selected entry and the text typed; the window closes after.
  void RenameSelected(const char* text) {
    White();
    Rename(text);
    if (infoWindowShowing) emu::PressKey(RKEY_Exit);
  }
  bool Has(const std::string& path) { return disk->Exists(path); }
  int Trio(const std::string& path) { return Has(path) + Has(path + ".inf") + Has(path + ".nav"); }
  void Played(const char* path, dword position) {
    const char* name = strrchr(path, '/') + 1;
    AppendPlayedFileEntry(Inode(path), name, position, 1000);
    SaveDatToFile();
  }
};

}  // namespace

TEST_F(RenameTest, ARenamedRecordingTakesItsCompanionsAndItsHistoryAlong) {
  Played("/DataFiles/Show 03.rec", 400);
  ASSERT_TRUE(disk->File("/DataFiles/Solo.2026.rec", 5 * 9024));  // no companions
  Played("/DataFiles/Solo.2026.rec", 3);
  OpenList();
  SelectByKeys("Show 03.rec");
  White();
  EXPECT_EQ(infoWindowShowing, 1);
  EXPECT_STREQ(renameString, "Show 03");
  EXPECT_STREQ(suffixRename, ".rec");
  int messages = messageCount;
  Rename("Show 03", 1);  // unchanged: nothing happens, nothing is said
  EXPECT_EQ(messageCount, messages);
  EXPECT_EQ(Trio("/DataFiles/Show 03.rec"), 3);

  emu::PressKey(RKEY_Ok);  // the window's own Rename button, highlighted now
  Rename("Evening News");
  EXPECT_EQ(Trio("/DataFiles/Show 03.rec"), 0);
  EXPECT_EQ(Trio("/DataFiles/Evening News.rec"), 3);
  EXPECT_STREQ(currentFile.name, "Evening News.rec");
  EXPECT_EQ(infoCommandOption, 0);
  ASSERT_NE(History("Evening News.rec"), nullptr);
  EXPECT_EQ(History("Evening News.rec")->positionBlock, 400u);
  EXPECT_EQ(History("Show 03.rec"), nullptr);
  EXPECT_NE(HistoryFile().find("\tEvening News.rec\r\n"), std::string::npos);
  emu::PressKey(RKEY_Ok);  // OK closes the window; the list shows the new name
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_STREQ(SelectedName(), "Evening News.rec");
  // A rescan finds the line again with its progress.
  loadSubsequentQuembryInfo(1);
  int entry = Find("Evening News.rec");
  ASSERT_GT(entry, 0);
  EXPECT_EQ(Line(entry)->hasHistory, 1u);
  EXPECT_EQ(Line(entry)->positionBlock, 400u);

  // Never over another recording, nor over its companions alone.
  ASSERT_TRUE(disk->File("/DataFiles/Lone.rec.nav", 10));
  for (const char* taken : {"Show 04", "Lone"}) {
    White();
    Rename(taken);
    EXPECT_STREQ(lastMessageTitle, "Rename Failed.");
    EXPECT_STREQ(lastMessageLine1, "Same file already exists.");
    EXPECT_EQ(infoCommandOption, 2);
    EXPECT_EQ(Trio("/DataFiles/Evening News.rec"), 3);
    emu::PressKey(RKEY_Exit);
  }
  EXPECT_EQ(Trio("/DataFiles/Show 04.rec"), 3);
  // Cancelled: nothing changes.
  White();
  Rename("Other", 0);
  EXPECT_EQ(infoCommandOption, 2);
  EXPECT_EQ(Trio("/DataFiles/Evening News.rec"), 3);
  emu::HoldKey(RKEY_Exit, 0);

  // A recording without companions keeps its history too; only the last
  // dot starts the extension.
  SelectByKeys("Solo.2026.rec");
  White();
  EXPECT_STREQ(renameString, "Solo.2026");
  EXPECT_STREQ(suffixRename, ".rec");
  Rename("Duet");
  emu::HoldKey(RKEY_Exit, 0);
  EXPECT_TRUE(Has("/DataFiles/Duet.rec"));
  ASSERT_NE(History("Duet.rec"), nullptr);
  EXPECT_EQ(History("Duet.rec")->positionBlock, 3u);
  EXPECT_EQ(History("Solo.2026.rec"), nullptr);
  EXPECT_NE(HistoryFile().find("\tDuet.rec\r\n"), std::string::npos);
}

TEST_F(RenameTest, HostileNamesComeOutLegalOrAreRefused) {
  Recording("/DataFiles/Gr\xC3\xBCn.rec", 100, testdisk::Stamp(2026, 11, 1, 20, 0));
  Recording("/DataFiles/Odd*Name.rec", 100, testdisk::Stamp(2026, 11, 1, 20, 0));
  ASSERT_TRUE(disk->Folder("/DataFiles/Saved.rec"));
  OpenList();
  // Characters a name may not hold never reach the keyboard.
  SelectByKeys("Odd*Name.rec");
  White();
  EXPECT_STREQ(renameString, "OddName");
  Rename("", 0);
  emu::PressKey(RKEY_Exit);
  // Latin-1 names are edited in the firmware's single-byte form and come
  // back as UTF-8.
  SelectByKeys("Gr\xC3\xBCn.rec");
  White();
  EXPECT_STREQ(renameString, "Gr\xFCn");
  Rename("Gr\xFCn 2");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(Trio("/DataFiles/Gr\xC3\xBCn 2.rec"), 3);

  SelectByKeys("Show 05.rec");
  RenameSelected("a/b:c*d?\x01 ");  // reserved and control characters, a trailing blank
  EXPECT_EQ(Trio("/DataFiles/abcd.rec"), 3);
  for (const char* bad : {"   ", "//", ""}) {
    RenameSelected(bad);
    EXPECT_STREQ(lastMessageTitle, "Rename Failed.");
    EXPECT_STREQ(lastMessageLine1, "Not a valid name:");
    EXPECT_EQ(lastMessageLine2, "'" + std::string(bad) + "'");
    EXPECT_EQ(Trio("/DataFiles/abcd.rec"), 3);
  }
  // Far too long: cut on a character, with room for the companions.
  std::string longName;
  for (int i = 0; i < 70; i++) longName += "\xC3\xA9";  // two bytes each
  RenameSelected(longName.c_str());
  std::string cut;
  for (int i = 0; i < 59; i++) cut += "\xC3\xA9";
  EXPECT_EQ(Trio("/DataFiles/" + cut + ".rec"), 3);
  EXPECT_EQ(strlen(SelectedName()), 122u);
  White();
  EXPECT_EQ(std::string(renameString), std::string(59, '\xE9'));
  // Characters beyond Latin-1 reach the keyboard as they are, and stay.
  Rename("Caf\xC3\xA9 \xE2\x98\x95");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(Trio("/DataFiles/Caf\xC3\xA9 \xE2\x98\x95.rec"), 3);
  White();
  EXPECT_STREQ(renameString, "Caf\xC3\xA9 \xE2\x98\x95");
  // A folder is never called "..".
  keyboardWindowShowing = 0;
  emu::PressKey(RKEY_Exit);
  // A folder has no companions to make room for, whatever its name.
  SelectByKeys("Saved.rec");
  RenameSelected(std::string(140, 'n').c_str());
  EXPECT_TRUE(Has("/DataFiles/" + std::string(126, 'n'))) << lastMessageLine1;
  SelectByKeys("Movies");
  RenameSelected("..");
  EXPECT_STREQ(lastMessageLine1, "Not a valid name:");
  EXPECT_TRUE(Has("/DataFiles/Movies/Alpha.rec"));
  // A firmware of single-byte names keeps the extension as it was taken.
  emu::RemoveSymbol("_Z26Appl_ConvertToValidUTF8StrPhi");
  UTFToppyMode = -1;
  SelectByKeys("Show 06.rec");
  RenameSelected("Plain");
  UTFToppyMode = -1;
  EXPECT_EQ(Trio("/DataFiles/Plain.rec"), 3);
}

TEST_F(RenameTest, AFolderRenameKeepsTheProgressOfTheRecordingsInside) {
  Played("/DataFiles/Series/Pilot.rec", 300);
  Played("/DataFiles/Series/Season 2/Finale.rec", 600);
  // A folder path of 195 characters below it.
  const std::string deep = std::string(126, 'P') + "/" + std::string(50, 'Q');
  ASSERT_TRUE(disk->File("/DataFiles/Series/" + deep + "/deep.rec", 10));
  // Not while something below it is being recorded.
  TYPE_RecInfo rec;
  memset(&rec, 0, sizeof rec);
  rec.recType = RECTYPE_Normal;
  strcpy(rec.fileName, "Finale.rec");
  ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/Series/Season 2/Finale.rec"));
  OpenList();
  SelectByKeys("Series");
  White();
  EXPECT_STREQ(renameString, "Series");
  Rename("My.Series");
  EXPECT_STREQ(lastMessageTitle, "File Rename Not Allowed");
  EXPECT_STREQ(lastMessageLine1, "It is being recorded, or holds");
  EXPECT_TRUE(Has("/DataFiles/Series/Pilot.rec"));
  emu::ClearRecording(0);
  emu::PressKey(RKEY_Ok);  // Rename again
  Rename("My.Series");
  EXPECT_TRUE(Has("/DataFiles/My.Series/Pilot.rec"));
  EXPECT_EQ(folderRenamed, 0);  // the catalogue was reloaded
  emu::PressKey(RKEY_Exit);
  // A folder's extension is not offered, and does not come back.
  SelectByKeys("My.Series");
  White();
  EXPECT_STREQ(renameString, "My");
  Rename("Shows");
  emu::PressKey(RKEY_Exit);
  EXPECT_TRUE(Has("/DataFiles/Shows/Pilot.rec.inf"));
  EXPECT_TRUE(Has("/DataFiles/Shows/Season 2/Finale.rec"));
  SelectByKeys("Shows");
  emu::PressKey(RKEY_Ok);
  ASSERT_STREQ(CurrentDir, "/DataFiles/Shows");
  int entry = Find("Pilot.rec");
  ASSERT_GT(entry, 0);
  EXPECT_EQ(Line(entry)->hasHistory, 1u);
  EXPECT_EQ(Line(entry)->positionBlock, 300u);
  ASSERT_NE(History("Pilot.rec"), nullptr);
  SelectByKeys("Season 2");
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Shows/Season 2");
  entry = Find("Finale.rec");
  ASSERT_GT(entry, 0);
  EXPECT_EQ(Line(entry)->positionBlock, 600u);
  ASSERT_NE(History("Finale.rec"), nullptr);
  // Not when a path below it would grow past 199 characters.
  SelectByKeys("..");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("..");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Shows");
  White();
  Rename("Shows and more");
  EXPECT_STREQ(lastMessageTitle, "Rename Failed.");
  EXPECT_STREQ(lastMessageLine1, "The folder path would be too long.");
  EXPECT_TRUE(Has("/DataFiles/Shows/" + deep + "/deep.rec"));
}

TEST_F(RenameTest, GreenMakesTheFolderNamedOnTheKeyboard) {
  ASSERT_TRUE(disk->Folder("/DataFiles/FOLDER 01"));
  ASSERT_TRUE(disk->Folder("/DataFiles/FOLDER 02"));
  for (int i = 1; i <= 98; i++) {
    char name[64];
    snprintf(name, sizeof name, "/DataFiles/Numbered/FOLDER %02d", i);
    ASSERT_TRUE(disk->Folder(name));
  }
  for (int i = 1; i <= 997; i++) {
    char name[64];
    snprintf(name, sizeof name, "/DataFiles/Full/Part %03d.rec", i);
    ASSERT_TRUE(disk->File(name, 1));
  }
  OpenList();
  int lines = maxShown;
  emu::PressKey(RKEY_Green);
  EXPECT_STREQ(renameString, "FOLDER 03");
  Keyboard(ReturnFromNewFolderKeyboard, "FOLDER 03", 0);  // cancelled
  EXPECT_FALSE(Has("/DataFiles/FOLDER 03"));
  emu::PressKey(RKEY_Green);
  Keyboard(ReturnFromNewFolderKeyboard, "FOLDER 03");
  EXPECT_TRUE(Has("/DataFiles/FOLDER 03"));
  EXPECT_EQ(maxShown, lines + 1);
  EXPECT_STREQ(SelectedName(), "FOLDER 03");
  emu::PressKey(RKEY_Green);
  Keyboard(ReturnFromNewFolderKeyboard, "Kids?");
  EXPECT_STREQ(SelectedName(), "Kids");
  emu::PressKey(RKEY_Green);
  Keyboard(ReturnFromNewFolderKeyboard, "Kids");
  EXPECT_STREQ(lastMessageTitle, "Folder Create Failed.");
  EXPECT_EQ(maxShown, lines + 2);
  // The new folder opens like any other, and a rescan keeps one line for it.
  emu::PressKey(RKEY_Ok);
  EXPECT_STREQ(CurrentDir, "/DataFiles/Kids");
  EXPECT_EQ(maxShown, 1);
  emu::PressKey(RKEY_Ok);
  loadSubsequentQuembryInfo(1);
  EXPECT_EQ(maxShown, lines + 2);
  // The last free number is found too.
  SelectByKeys("Numbered");
  emu::PressKey(RKEY_Ok);
  emu::PressKey(RKEY_Green);
  EXPECT_STREQ(renameString, "FOLDER 99");
  Keyboard(ReturnFromNewFolderKeyboard, "FOLDER 99", 0);
  SelectByKeys("..");
  emu::PressKey(RKEY_Ok);

  // A folder of 998 lines (997 recordings and its parent line) takes one
  // more folder; at 999 it is full.
  SelectByKeys("Full");
  emu::HoldKey(RKEY_Ok, 0);
  ASSERT_STREQ(CurrentDir, "/DataFiles/Full");
  ASSERT_EQ(maxShown, 998);
  emu::HoldKey(RKEY_Green, 0);
  Keyboard(ReturnFromNewFolderKeyboard, "FOLDER 01");
  EXPECT_TRUE(Has("/DataFiles/Full/FOLDER 01"));
  EXPECT_EQ(maxShown, 999);
  int shown = messageCount;
  emu::HoldKey(RKEY_Green, 0);
  EXPECT_EQ(keyboardWindowShowing, 0);
  EXPECT_EQ(messageCount, shown + 1);
  EXPECT_STREQ(lastMessageTitle, "Folder Create Failed.");
  EXPECT_STREQ(lastMessageLine1, "MAX_FILES exceeded.");
}

TEST_F(RenameTest, AutomaticRenamingPutsTheDateInThePlaceholder) {
  Recording("/DataFiles/Show MMDD.rec", 100, testdisk::Stamp(2026, 3, 3, 20, 0));
  // Bytes outside the printable set (a typographic apostrophe in
  // Windows-1252) go with the renaming.
  Recording("/DataFiles/Tom\x92s MMDD.rec", 100, testdisk::Stamp(2026, 3, 3, 20, 0));
  Recording("/DataFiles/News ##-##-##.rec", 100, testdisk::Stamp(2015, 1, 5, 20, 0));
  Recording("/DataFiles/Quiz ###.rec", 100, testdisk::Stamp(2026, 12, 4, 20, 0));  // a Friday
  Recording("/DataFiles/Film #.rec", 100, testdisk::Stamp(2026, 1, 1, 20, 0));
  Recording("/DataFiles/Film#.rec", 100, testdisk::Stamp(2026, 1, 1, 20, 0));
  Recording("/DataFiles/Busy MMDD.rec", 100, testdisk::Stamp(2026, 3, 3, 20, 0));
  Recording("/DataFiles/Early MMDD.rec", 100, testdisk::Stamp(1999, 3, 3, 20, 0));  // the clock's
  // A date of 2000 or before, or at the end of the date range, is no date: the clock's.
  Recording("/DataFiles/Y2K MMDD.rec", 100, testdisk::Stamp(2000, 3, 3, 20, 0));
  Recording("/DataFiles/Far MMDD.rec", 100, testdisk::Stamp(2038, 4, 22, 0, 0));
  Recording("/DataFiles/Y2K1 MMDD.rec", 100, testdisk::Stamp(2001, 3, 3, 20, 0));
  Recording("/DataFiles/Series/Deep MMDD.rec", 100, testdisk::Stamp(2026, 3, 3, 20, 0));
  ASSERT_TRUE(disk->File("/DataFiles/Old MMDD.rec.del", 10));
  Played("/DataFiles/Show MMDD.rec", 50);
  TYPE_RecInfo rec;
  memset(&rec, 0, sizeof rec);
  rec.recType = RECTYPE_Normal;
  rec.duration = 60;
  strcpy(rec.fileName, "Busy MMDD.rec");
  ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/Busy MMDD.rec"));
  AutoRenameCheckFreq = 100;
  emu::Wait(2);
  EXPECT_EQ(Trio("/DataFiles/Show 0303.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Toms 0303.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/News 15-01-05.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Quiz Fri.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Film.rec") + Trio("/DataFiles/Film-2.rec"), 6);
  EXPECT_EQ(Trio("/DataFiles/Busy MMDD.rec"), 3);
  int early = 0;
  for (const std::string& name : testenv::ListDir(HostPath("/DataFiles"))) {
    for (const char* start : {"Early 12", "Y2K 12", "Far 12"}) early += name.rfind(start, 0) == 0;
  }
  EXPECT_EQ(early, 9);
  EXPECT_EQ(Trio("/DataFiles/Y2K1 0303.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Series/Deep MMDD.rec"), 3);
  EXPECT_TRUE(Has("/DataFiles/Old MMDD.rec.del"));
  ASSERT_NE(History("Show 0303.rec"), nullptr);
  EXPECT_EQ(History("Show 0303.rec")->positionBlock, 50u);
  // Once the recording ends a later check renames it too, with the date
  // its file has now.
  emu::ClearRecording(0);
  emu::Wait(2);
  EXPECT_EQ(Trio("/DataFiles/Busy MMDD.rec"), 0);
  int busy = 0;
  for (const std::string& name : testenv::ListDir(HostPath("/DataFiles")))
    busy += name.rfind("Busy 12", 0) == 0;
  EXPECT_EQ(busy, 3);
  EXPECT_EQ(AutoRenameSearchFiles(), 0);
}

// The power goes after every number of disk changes in turn: at the next
// start each recording is whole under one name, with its viewing progress.
TEST_F(RenameTest, APowerCutWhileRenamingIsMendedAtTheNextStart) {
  int mended = 0;
  for (int changes = 0; changes < 12; changes++) {
    char oldName[32], newName[32];
    snprintf(oldName, sizeof oldName, "Show %02d.rec", changes + 1);
    snprintf(newName, sizeof newName, "Cut %02d", changes);
    std::string from = std::string("/DataFiles/") + oldName;
    std::string to = std::string("/DataFiles/") + newName + ".rec";
    Played(from.c_str(), 77);
    OpenList();
    SelectByKeys(oldName);
    White();
    emu::CutPowerAfter(changes);
    Rename(newName);
    bool cut = emu::PowerWasCut();
    if (changes == 0) {  // nothing could be written: refused, and both names said
      EXPECT_STREQ(lastMessageTitle, "Rename Failed.");
      EXPECT_STREQ(lastMessageLine1, "Error renaming: 'Show 01.rec'");
      EXPECT_STREQ(lastMessageLine2, "to: 'Cut 00.rec'");
    }
    bool split = Has(to) && Trio(to) < 3;
    emu::Shutdown(0);
    emu::RestorePower();
    ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
    index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
    ASSERT_GE(index_, 0);
    EXPECT_EQ(Trio(from) + Trio(to), 3) << changes;
    EXPECT_TRUE(Trio(from) == 3 || Trio(to) == 3) << changes;
    const char* now = Trio(to) == 3 ? strrchr(to.c_str(), '/') + 1 : oldName;
    ASSERT_NE(History(now), nullptr) << changes;
    EXPECT_EQ(History(now)->positionBlock, 77u);
    if (split) mended++;
    if (!cut) break;
  }
  EXPECT_GE(mended, 1);
}

// A rename record whose paths do not both lie below /DataFiles was not
// written here: the next start drops it, says so in the log, and renames
// nothing.
TEST_F(RenameTest, ARenameRecordOutsideTheDataFolderIsDropped) {
  const char* const records[][2] = {
      {"/mnt/hd/ProgramFiles/Victim", "/mnt/hd/MediaFiles"},
      {"/mnt/hd/DataFiles/../ProgramFiles/Victim", "/mnt/hd/DataFiles/Empty"},
      {"/mnt/hd/ProgramFiles/Victim", "/mnt/hd/DataFiles/Empty"},
  };
  const std::string record = "/ProgramFiles/Settings/Pavrolinex/SkerrowbyRename.dat";
  const std::string log = "/ProgramFiles/Settings/Pavrolinex/Logs/Pavrolinex.log";
  ASSERT_TRUE(disk->Folder("/MediaFiles"));
  for (const auto& paths : records) {
    SCOPED_TRACE(paths[0]);
    for (const char* companion : {".inf", ".nav"}) {
      ASSERT_TRUE(disk->File(std::string("/ProgramFiles/Victim") + companion, 5));
    }
    std::string data(2 * PATH_BUFFER_SIZE, '\0');
    data.replace(0, strlen(paths[0]), paths[0]);
    data.replace(PATH_BUFFER_SIZE, strlen(paths[1]), paths[1]);
    ASSERT_TRUE(testenv::WriteFile(HostPath(record), data));
    emu::Shutdown(0);
    ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
    index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
    ASSERT_GE(index_, 0);
    EXPECT_TRUE(Has("/ProgramFiles/Victim.inf"));
    EXPECT_TRUE(Has("/ProgramFiles/Victim.nav"));
    EXPECT_FALSE(Has("/MediaFiles.inf"));
    EXPECT_FALSE(Has("/DataFiles/Empty.inf"));
    EXPECT_FALSE(Has(record));
    EXPECT_NE(testenv::ReadFile(HostPath(log)).find("Dropped a rename record"), std::string::npos);
    unlink(HostPath(log).c_str());
  }
  // A record left by a cut before a rename that was to be refused, since
  // the new name was taken: both recordings keep what they had.
  ASSERT_TRUE(disk->File("/DataFiles/Bare.rec", 10));
  std::string data(2 * PATH_BUFFER_SIZE, '\0');
  data.replace(0, 29, "/mnt/hd/DataFiles/Show 01.rec");
  data.replace(PATH_BUFFER_SIZE, 26, "/mnt/hd/DataFiles/Bare.rec");
  ASSERT_TRUE(testenv::WriteFile(HostPath(record), data));
  emu::Shutdown(0);
  ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
  index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
  ASSERT_GE(index_, 0);
  EXPECT_EQ(Trio("/DataFiles/Show 01.rec"), 3);
  EXPECT_EQ(Trio("/DataFiles/Bare.rec"), 1);
  EXPECT_FALSE(Has(record));
}

// The whole way through the real keyboard: White, the name typed on an
// attached keyboard after End, Record saves.
TEST_F(RenameTest, TypedOnTheKeyboardAndSaved) {
  OpenList();
  SelectByKeys("Show 05.rec");
  White();
  ASSERT_EQ(keyboardWindowShowing, 1);
  emu::PressKey(RKEY_Next);  // End
  for (const char* c = " Final"; *c; c++) emu::PressKey(KEYBOARD_CHAR_PREFIX | (byte)*c);
  emu::PressKey(RKEY_Record);
  EXPECT_EQ(keyboardWindowShowing, 0);
  if (infoWindowShowing) emu::PressKey(RKEY_Exit);
  EXPECT_EQ(Trio("/DataFiles/Show 05.rec"), 0);
  EXPECT_EQ(Trio("/DataFiles/Show 05 Final.rec"), 3);
  EXPECT_EQ(Find("Show 05 Final.rec"), chosenLine);
}
