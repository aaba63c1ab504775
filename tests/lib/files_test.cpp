// File operations of the library on the emulated disk: unique names, renaming
// with companions, the in-use test, locating settings files.
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "firmware_dat.h"
#include "lib_test.h"

namespace {

class Files : public LibTest {
 protected:
  static std::string Unique(const std::string& path) {
    char buffer[PATH_BUFFER_SIZE];
    strcpy(buffer, path.c_str());
    MakeUniqueFileName(buffer);
    return buffer;
  }
  static std::vector<std::string> Folder(const std::string& path) { return testenv::ListDir(path); }
};

const std::string kMovies = "/mnt/hd/DataFiles/Movies/";

TEST_F(Files, UniqueNames) {
  EXPECT_EQ(Unique(kMovies + "x.rec"), kMovies + "x.rec");
  Make(kMovies + "x.rec");
  EXPECT_EQ(Unique(kMovies + "x.rec"), kMovies + "x-2.rec");
  Make(kMovies + "x-2.rec");
  EXPECT_EQ(Unique(kMovies + "x.rec"), kMovies + "x-3.rec");
  // An index is dropped first, then counting goes on from it.
  EXPECT_EQ(Unique(kMovies + "x-5.rec"), kMovies + "x-5.rec");
  Make(kMovies + "y.rec");
  EXPECT_EQ(Unique(kMovies + "y-5.rec"), kMovies + "y-5.rec");
  Make(kMovies + "y-5.rec");
  EXPECT_EQ(Unique(kMovies + "y-5.rec"), kMovies + "y-6.rec");
  // Recycled names keep their marker at the end.
  Make(kMovies + "z.rec.del");
  EXPECT_EQ(Unique(kMovies + "z.rec.del"), kMovies + "z-2.rec.del");
  // Beyond nine the index is part of the name.
  for (int i = 2; i <= 9; i++) Make(kMovies + "x-" + std::to_string(i) + ".rec");
  EXPECT_EQ(Unique(kMovies + "x.rec"), kMovies + "x-10.rec");
  Make(kMovies + "x-12.rec");
  EXPECT_EQ(Unique(kMovies + "x-12.rec"), kMovies + "x-12-2.rec");
  // At the longest path the search goes on while the names fit.
  const std::string deep = kMovies + std::string(200, 'd') + "/" + std::string(200, 'e') + "/";
  const std::string longest = deep + std::string(PATH_BUFFER_SIZE - 8 - deep.size(), 'n');
  Make(longest + ".jpg");
  Make(longest + "-2.jpg");
  ASSERT_EQ((longest + "-3.jpg").size(), size_t{PATH_BUFFER_SIZE - 2});
  EXPECT_EQ(Unique(longest + ".jpg"), longest + "-3.jpg");
}

TEST_F(Files, UniqueNamesAvoidOrphanedCompanions) {
  // A leftover header would otherwise be taken over by the renamed recording.
  Make(kMovies + "x.rec.inf");
  EXPECT_EQ(Unique(kMovies + "x.rec"), kMovies + "x-2.rec");
  Make(kMovies + "x-2.rec.nav");
  EXPECT_EQ(Unique(kMovies + "x.rec"), kMovies + "x-3.rec");
  // Other files have no companions to care about.
  Make(kMovies + "photo.jpg.inf");
  EXPECT_EQ(Unique(kMovies + "photo.jpg"), kMovies + "photo.jpg");
}

TEST_F(Files, RenameTakesCompanionsAlong) {
  Make(kMovies + "a.rec", "rec");
  Make(kMovies + "a.rec.inf", "inf");
  Make(kMovies + "a.rec.nav", "nav");
  EXPECT_EQ(HDD_Rename("/DataFiles/Movies/a.rec", "/DataFiles/Movies/b.rec"), 1);
  EXPECT_EQ(Folder(kMovies), (std::vector<std::string>{"b.rec", "b.rec.inf", "b.rec.nav"}));
  EXPECT_EQ(testenv::ReadFile(kMovies + "b.rec.inf"), "inf");

  // An existing target is never replaced: the recording gets the next free
  // name, and so do its companions.
  Make(kMovies + "c.rec", "other");
  Make(kMovies + "c.rec.inf", "other inf");
  EXPECT_EQ(HDD_Rename((kMovies + "b.rec").c_str(), (kMovies + "c.rec").c_str()), 1);
  EXPECT_EQ(testenv::ReadFile(kMovies + "c.rec"), "other");
  EXPECT_EQ(testenv::ReadFile(kMovies + "c.rec.inf"), "other inf");
  EXPECT_EQ(testenv::ReadFile(kMovies + "c-2.rec"), "rec");
  EXPECT_EQ(testenv::ReadFile(kMovies + "c-2.rec.inf"), "inf");
  EXPECT_EQ(testenv::ReadFile(kMovies + "c-2.rec.nav"), "nav");
}

TEST_F(Files, RenameWithoutNavAndOfRecycledRecordings) {
  Make(kMovies + "a.rec", "rec");
  Make(kMovies + "a.rec.inf", "inf");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  EXPECT_EQ(HDD_Rename("a.rec", "b.rec"), 1);
  EXPECT_EQ(Folder(kMovies), (std::vector<std::string>{"b.rec", "b.rec.inf"}));

  Make(kMovies + "old-3.rec.del", "rec");
  Make(kMovies + "old-3.rec.inf.del", "inf");
  Make(kMovies + "old-3.rec.nav.del", "nav");
  EXPECT_EQ(HDD_Rename("old-3.rec.del", "new.rec.del"), 1);
  EXPECT_EQ(testenv::ReadFile(kMovies + "new.rec.inf.del"), "inf");
  EXPECT_EQ(testenv::ReadFile(kMovies + "new.rec.nav.del"), "nav");
  EXPECT_FALSE(testenv::Exists(kMovies + "old-3.rec.inf.del"));
}

TEST_F(Files, RenameRefusals) {
  Make(kMovies + "a.rec");
  EXPECT_EQ(HDD_Rename("/DataFiles/Movies/none.rec", "/DataFiles/Movies/b.rec"), 0);
  EXPECT_EQ(HDD_Rename("", "/DataFiles/Movies/b.rec"), 0);
  EXPECT_EQ(HDD_Rename("/DataFiles/Movies/a.rec", ""), 0);
  EXPECT_EQ(HDD_Rename(nullptr, nullptr), 0);
  // The same name: nothing to do, and no "-2".
  EXPECT_EQ(HDD_Rename("/DataFiles/Movies/a.rec", "/mnt/hd/DataFiles/Movies/a.rec"), 1);
  EXPECT_EQ(Folder(kMovies), (std::vector<std::string>{"a.rec"}));
  // Into a folder that does not exist: nothing moves.
  EXPECT_EQ(HDD_Rename("/DataFiles/Movies/a.rec", "/DataFiles/Gone/a.rec"), 0);
  EXPECT_TRUE(testenv::Exists(kMovies + "a.rec"));
}

TEST_F(Files, InUseByPlaybackAndRecording) {
  Make(kMovies + "p.rec");
  Make(kMovies + "p.rec.inf");
  Make(kMovies + "r.rec");
  Make(kMovies + "idle.rec");
  ASSERT_TRUE(testdisk::WriteFirmwareDat("/mnt/hd/ProgramFiles/Settings/FirmwareTMS.dat",
                                         testdisk::DefaultFirmwareDat(config_.systemId)));
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/p.rec"), 0);

  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  ASSERT_EQ(TAP_Hdd_PlayTs("p.rec"), 0);
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/p.rec"), 1);
  EXPECT_EQ(HDD_isFileInUse("/mnt/hd/DataFiles/Movies/p.rec.inf"), 1);
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/idle.rec"), 0);
  // A file of the same name elsewhere is not the one playing.
  Make("/mnt/hd/DataFiles/p.rec");
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/p.rec"), 0);

  TYPE_RecInfo info = {};
  info.recType = RECTYPE_Normal;
  strcpy(info.fileName, "r.rec");
  ASSERT_TRUE(emu::SetRecording(3, info, kMovies + "r.rec"));
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/r.rec"), 3 + 3);
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/r.rec.inf"), 3 + 3);
  emu::ClearRecording(3);
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/r.rec"), 0);
  EXPECT_EQ(HDD_isFileInUse(""), 0);
}

TEST_F(Files, InUseByNameWhenTheFirmwareHidesThePlayedFile) {
  Make(kMovies + "p.rec");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  ASSERT_EQ(TAP_Hdd_PlayTs("p.rec"), 0);
  emu::RemoveSymbol("_hddPlayFile");
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/p.rec"), 1);
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/q.rec"), 0);
  TAP_Hdd_StopTs();
  EXPECT_EQ(HDD_isFileInUse("/DataFiles/Movies/p.rec"), 0);
}

TEST_F(Files, RecordingSlotsWithoutDescriptionFile) {
  // Two slots by default; slots count from 0, so slot 2 is beyond them.
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);
  TYPE_File *a, *b, *c;
  EXPECT_TRUE(HDD_GetRecSlotFiles(1, &a, &b, &c));
  EXPECT_FALSE(HDD_GetRecSlotFiles(2, &a, &b, &c));
  EXPECT_EQ(a, nullptr);
  emu::RemoveSymbol("_hddRecFiles");
  EXPECT_FALSE(HDD_GetRecSlotFiles(0, &a, &b, &c));
}

TEST_F(Files, LocatingSettingsFiles) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  EXPECT_EQ(INILocateFile("s.ini", "Pavrolinex"), INILOCATION_NotFound);
  EXPECT_EQ(CurrentDir(), "/DataFiles");
  Make("/mnt/hd/ProgramFiles/s.ini");
  EXPECT_EQ(INILocateFile("s.ini", "Pavrolinex"), INILOCATION_AtProgramFiles);
  EXPECT_EQ(CurrentDir(), "/ProgramFiles");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  Make("/mnt/hd/ProgramFiles/Settings/s.ini");
  EXPECT_EQ(INILocateFile("s.ini", "Pavrolinex"), INILOCATION_AtSettingsDir);
  EXPECT_EQ(CurrentDir(), "/ProgramFiles/Settings");
  // Without a folder of its own an application looks no further.
  for (const char* none : {static_cast<const char*>(nullptr), ""}) {
    ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
    EXPECT_EQ(INILocateFile("s.ini", none), INILOCATION_AtSettingsDir);
  }
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  Make("/mnt/hd/ProgramFiles/Settings/Pavrolinex/s.ini");
  EXPECT_EQ(INILocateFile("s.ini", "Pavrolinex"), INILOCATION_AtAppDir);
  EXPECT_EQ(CurrentDir(), "/ProgramFiles/Settings/Pavrolinex");
  // Found where the firmware stands.
  EXPECT_EQ(INILocateFile("s.ini", "Pavrolinex"), INILOCATION_AtCurrentDir);
  EXPECT_EQ(INILocateFile("", "Pavrolinex"), INILOCATION_NotFound);
}

}  // namespace
