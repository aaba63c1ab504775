#include "ListFixture.h"

#include <string.h>

#include "app/keys.h"

const char* const kLongFolder =
    "Documentaries about the Oceans, the Mountains and Everything in Between";

namespace {

testdisk::Header Programme(const char* title, const char* text, const char* service, uint32_t start,
                           int minutes, int crypt) {
  testdisk::Header h;
  h.recordingStart = start;
  h.durationMinutes = (uint16_t)minutes;
  h.flags = (uint8_t)crypt;
  h.serviceName = service;
  h.eventName = title;
  h.eventText = text;
  h.eventHours = (uint8_t)(minutes / 60);
  h.eventMinutes = (uint8_t)(minutes % 60);
  return h;
}

}  // namespace

void ListTest::BuildDisk(testdisk::Disk& disk) {
  using testdisk::Stamp;
  const uint64_t GB = 1ull << 30, MB = 1ull << 20;
  struct Rec {
    const char* path;
    uint64_t size;
    const char* title;
    const char* text;
    const char* service;
    uint32_t start;
    int minutes, crypt;
  } recs[] = {
      {"/DataFiles/News at Ten.rec", 900 * MB, "News at Ten",
       "The latest national and international news.", "BBC One", Stamp(2026, 12, 6, 22, 0), 30, 2},
      {"/DataFiles/Der Bergdoktor.rec", 3 * GB + 300 * MB, "Der Bergdoktor",
       "Martin Gruber hat alle H\xC3\xA4nde voll zu tun.", "ZDF", Stamp(2026, 11, 26, 20, 15), 90,
       1},
      {"/DataFiles/Tagesschau.rec", 400 * MB, "Tagesschau", "Nachrichten aus aller Welt.",
       "Das Erste", Stamp(2026, 12, 7, 20, 0), 15, 3},
      {"/DataFiles/Planet Earth II - Islands.rec", 5 * GB + 700 * MB, "Planet Earth II",
       "Islands: remote worlds where animals live by their own rules.", "BBC Two",
       Stamp(2026, 10, 4, 19, 0), 60, 2},
      {"/DataFiles/Match of the Day.rec", 2 * GB, "Match of the Day",
       "Highlights of the day's Premier League matches.", "BBC One", Stamp(2026, 11, 1, 22, 30), 80,
       2},
      {"/DataFiles/Tatort.rec", 4 * GB, "Tatort", "Der Fall im Hafen.", "Das Erste",
       Stamp(2026, 9, 20, 20, 15), 88, 2},
      {"/DataFiles/The Great British Bake Off.rec", 2 * GB + 512 * MB, "The Great British Bake Off",
       "Bread week.", "Channel 4", Stamp(2026, 12, 2, 20, 0), 75, 2},
      {"/DataFiles/Weather.rec", 20 * MB, "", "", "BBC One", Stamp(2026, 12, 7, 18, 55), 5, 0},
      {"/DataFiles/Sherlock - A Study in Pink with a very long title indeed.rec", 6 * GB,
       "Sherlock", "A Study in Pink.", "BBC One", Stamp(2026, 8, 15, 21, 0), 88, 2},
      {"/DataFiles/Movies/Casablanca.rec", 7 * GB, "Casablanca", "Classic.", "Film4",
       Stamp(2026, 11, 30, 21, 0), 102, 2},
      {"/DataFiles/Movies/Vertigo.rec", 6 * GB, "Vertigo", "Hitchcock.", "Film4",
       Stamp(2026, 12, 5, 21, 0), 128, 2},
  };
  for (const Rec& r : recs) {
    disk.Recording(r.path, r.size,
                   Programme(r.title, r.text, r.service, r.start, r.minutes, r.crypt), true,
                   r.start);
  }
  disk.Folder("/DataFiles/Empty");
  std::string longFolder = std::string("/DataFiles/") + kLongFolder;
  disk.Recording(
      longFolder + "/Blue Planet.rec", 3 * GB,
      Programme("Blue Planet", "The deep.", "BBC One", Stamp(2026, 11, 20, 20, 0), 60, 2), true,
      Stamp(2026, 11, 20, 20, 0));
  disk.Folder(longFolder + "/Deep Sea");
  disk.Recording(longFolder + "/Deep Sea/Abyss.rec", GB,
                 Programme("Abyss", "", "BBC Two", Stamp(2026, 11, 21, 20, 0), 50, 2), true,
                 Stamp(2026, 11, 21, 20, 0));
}

void ListTest::SetUp() {
  RecorderTest::SetUp();
  if (HasFatalFailure()) return;
  emu::SetClock(2026, 12, 7, 20, 15, 30);
  testdisk::Disk disk(disk_);
  BuildDisk(disk);
  index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
  ASSERT_GE(index_, 0) << emu::LastError();
}

void ListTest::TearDown() {
  while (MultiSelect) MultiSelectClearFirst();
  RecorderTest::TearDown();
}

void ListTest::OpenList() {
  ASSERT_EQ(emu::PressKey(RKEY_PlayList), 0u);
  ASSERT_EQ(windowShowing, 1);
}

int ListTest::EntryNamed(const char* name) {
  if (!myfolders[CurrentDirNumber]) return 0;
  for (int j = 1; j <= myfolders[CurrentDirNumber]->entryCount; j++) {
    FileRecord* r = FileSlot(CurrentDirNumber, j);
    if (r && strcmp(r->name, name) == 0) return j;
  }
  return 0;
}

FileRecord* ListTest::Record(const char* name) {
  int j = EntryNamed(name);
  return j ? FileSlot(CurrentDirNumber, j) : nullptr;
}

void ListTest::EnterFolder(const char* name) {
  FileRecord* r = Record(name);
  ASSERT_NE(r, nullptr) << name;
  int n = r->folderNumber;
  ASSERT_TRUE(myfolders[n]);
  CurrentDirNumber = n;
  SetCurrentDir((std::string(CurrentDir) + "/" + name).c_str());
  loadSubsequentQuembryInfo(1);  // the folder's headers, as on entering it
  chosenLine = 1;
  printLine = 1;
}

void ListTest::Save(const std::string& name) {
  std::string dir = std::string(PVR_BINARY_DIR) + "/snapshots";
  mkdir(dir.c_str(), 0755);
  EXPECT_TRUE(emu::WritePng(dir + "/" + name + ".png"));
}
