// A recorder with Pavrolinex running over a disk of recordings, for the tests
// of browsing and playback.
#pragma once

#include <string.h>
#include <sys/stat.h>

#include <initializer_list>
#include <string>

#include "actions/actions.h"
#include "app/app.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "emu.h"
#include "firmware_dat.h"
#include "tap.h"
#include "tap_keys.h"
#include "testdisk.h"
#include "testenv.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"

extern "C" const TYPE_TapHeader _tap_header;

// Blocks of 9024 bytes: the emulated player's unit.
constexpr uint64_t kBlock = 9024;

class BrowseTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    if (HasFatalFailure()) return;
    emu::SetClock(2026, 12, 7, 20, 15, 30);
    disk = new testdisk::Disk(disk_);
    // The firmware description tells the recorder family, so that headers decode,
    // and gives the keys the tests press to the list untranslated.
    ASSERT_TRUE(testdisk::WriteFirmwareDat(HostPath(testdisk::Disk::kFirmwareDat),
                                           testdisk::TestDiskFirmwareDat(config_.systemId)));
    BuildDisk();
    if (HasFatalFailure()) return;
    index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
    ASSERT_GE(index_, 0) << emu::LastError();
    emu::Idle(2);
  }
  void TearDown() override {
    RecorderTest::TearDown();
    delete disk;
  }

  // The default disk: recordings in the root (more than a page), a folder of
  // films, a folder of series with a subfolder, an empty folder.
  virtual void BuildDisk() {
    for (int i = 1; i <= 20; i++) {
      char name[64];
      snprintf(name, sizeof name, "/DataFiles/Show %02d.rec", i);
      Recording(name, 1000, testdisk::Stamp(2026, 11, i, 20, 0));
    }
    Recording("/DataFiles/Movies/Alpha.rec", 3000, testdisk::Stamp(2026, 10, 1, 20, 0));
    Recording("/DataFiles/Movies/Beta.rec", 2000, testdisk::Stamp(2026, 10, 3, 20, 0));
    Recording("/DataFiles/Movies/Gamma.rec", 1000, testdisk::Stamp(2026, 10, 2, 20, 0));
    Recording("/DataFiles/Series/Pilot.rec", 1000, testdisk::Stamp(2026, 9, 1, 20, 0));
    ASSERT_TRUE(disk->Folder("/DataFiles/Series/Season 2"));
    Recording("/DataFiles/Series/Season 2/Finale.rec", 1000, testdisk::Stamp(2026, 9, 9, 20, 0));
    ASSERT_TRUE(disk->Folder("/DataFiles/Empty"));
  }

  void Recording(const std::string& path, uint64_t blocks, uint32_t stamp,
                 uint32_t resumeBlock = 0) {
    testdisk::Header header;
    header.family = headerFamily;
    header.recordingStart = stamp;
    header.durationMinutes = 30;
    header.serviceName = "Channel One";
    header.eventName = path.substr(path.rfind('/') + 1);
    header.resumeBlock = resumeBlock;
    ASSERT_TRUE(disk->Recording(path, blocks * kBlock, header, true, stamp));
  }

  // Opens the list with File List (a whole press), unless it shows already:
  // on the list, File List hands over to the firmware's own list.
  void OpenList() {
    if (!windowShowing) emu::PressKey(RKEY_PlayList);
    ASSERT_EQ(windowShowing, 1);
  }

  FileRecord* Line(int entry) { return FileSlot(CurrentDirNumber, entry); }
  // Entry index of a name in the shown folder, 0 when absent.
  int Find(const char* name) {
    for (int j = 1; j <= maxShown; j++) {
      if (Line(j) && strcmp(Line(j)->name, name) == 0) return j;
    }
    return 0;
  }
  // Moves the selection down with the key until it is on `name`.
  void SelectByKeys(const char* name) {
    for (int n = 0; n <= maxShown && !(Line(chosenLine) && !strcmp(Line(chosenLine)->name, name));
         n++) {
      emu::PressKey(RKEY_ChDown);
    }
    ASSERT_TRUE(Line(chosenLine) && strcmp(Line(chosenLine)->name, name) == 0) << name;
  }
  // Adds entries to the multi-selection, as Red and its release on each do.
  void Mark(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      SelectByKeys(name);
      emu::PressKey(RKEY_Red);
    }
  }
  const char* SelectedName() { return Line(chosenLine) ? Line(chosenLine)->name : ""; }

  TYPE_PlayInfo Play() {
    TYPE_PlayInfo info;
    memset(&info, 0, sizeof info);
    TAP_Hdd_GetPlayInfo(&info);
    return info;
  }
  int L() const { return 9 + 5 * LineSpacingOption + ExtraLineOption; }

  std::string HistoryFile() {
    return testenv::ReadFile(HostPath("/ProgramFiles/Settings/Pavrolinex/SkerrowbyPlayback.dat"));
  }
  dword Inode(const std::string& firmwarePath) {
    struct stat st;
    return stat(HostPath(firmwarePath).c_str(), &st) == 0 ? (dword)st.st_ino : 0;
  }
  // History entry 1 .. for a name, or null.
  PlayedFileEntry* History(const char* name) {
    for (int i = 1; i <= numberOfPlayedFiles; i++) {
      if (playedFiles[i] && strcmp(playedFiles[i]->name, name) == 0) return playedFiles[i];
    }
    return nullptr;
  }

  testdisk::Disk* disk = nullptr;
  int headerFamily = testdisk::FAMILY_TMSS;  // the layout Recording writes
  int index_ = -1;
};
