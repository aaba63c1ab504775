// fuzzseeds DIR - fills DIR/<target>/ with the starting inputs the fuzz
// harnesses mutate (committed as tests/fuzz/corpus/): a few files per target,
// written by the application's own savers, the test-disk builder and the
// formats of the other applications.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "catalogue/History.h"
#include "config/Configuration.h"
#include "emu.h"
#include "firmware_dat.h"
#include "testdisk.h"
#include "ui/Keyboard.h"
#include "ui/Logos.h"

namespace {

std::string out;
bool failed = false;

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
  std::string dir = out + "/" + target;
  std::string command = "mkdir -p '" + dir + "'";
  if (system(command.c_str()) != 0) failed = true;
  FILE* f = fopen((dir + "/" + name).c_str(), "wb");
  if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) failed = true;
  if (f) fclose(f);
}

std::string Read(const std::string& path) {
  std::string data;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    fclose(f);
  }
  return data;
}

// The file without its zero padding: the reader pads a short file itself.
std::string Trimmed(std::string data) {
  while (!data.empty() && data.back() == 0) data.pop_back();
  return data;
}

testdisk::Header Sample(int family, bool big) {
  testdisk::Header h;
  h.family = family;
  h.bigEndian = big;
  h.recordingStart = testdisk::Stamp(2026, 3, 4, 20, 15);
  h.durationMinutes = 95;
  h.serviceId = 4101;
  h.serviceName = "Channel One";
  h.eventHours = 1;
  h.eventMinutes = 30;
  h.eventStart = testdisk::Stamp(2026, 3, 4, 20, 15);
  h.eventEnd = testdisk::Stamp(2026, 3, 4, 21, 45);
  h.eventName = "Der Titel \xc3\xa4";
  h.eventText = "Kurztext";
  h.extText = "line\\nnext";
  h.bookmarks = {100, 2000};
  h.resumeBlock = 4321;
  return h;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: fuzzseeds DIR\n");
    return 2;
  }
  out = argv[1];
  std::string disk = testdisk::MakeTempDir("pvr-seeds");
  testdisk::Disk builder(disk);
  emu::Config config;
  config.diskDir = disk;
  if (!emu::Boot(config)) {
    fprintf(stderr, "fuzzseeds: %s\n", emu::LastError().c_str());
    return 1;
  }

  // The application's own files, as it writes them afresh.
  locateIniDirectory();
  LoadConfiguration();
  LoadLastViewData();
  LoadPlayData();
  std::string settings = disk + INI_FOLDER + "/";
  Seed("ini", "defaults", Trimmed(Read(settings + INI_FILE_NAME)));
  Seed("lastview", "empty", Trimmed(Read(settings + LASTVIEW_FILE_NAME)));
  Seed("lastview", "folders",
       "3\r\n/DataFiles\r\n1000\r\n/DataFiles/Serien\r\n2000\r\n/DataFiles/Filme A-Z\r\n3000\r\n"
       "/DataFiles/USB/Kinder\r\n4000\r\n");
  Seed("playback", "defaults", Trimmed(Read(settings + PLAYBACK_FILE_NAME)));
  Seed("playback", "history",
       "3\r\n77\t10\t500\tLast.rec\r\n12\t100\t9000\tTatort.rec\r\n13\t9000\t9000\t"
       "Film \xc3\xa4.rec\r\n14\t0\t1\tclip_h264\r\n");
  populateKeyBoardQuickList();
  saveKeyBoardQuickList();
  Seed("quicklist", "defaults", Read(disk + QUICKLIST_FOLDER + "/" + QUICKLIST_FILE));
  Seed("quicklist", "lines", "Tatort\r\nDie Sendung mit der Maus\n\xc3\x84rger\r\n ##-##\n");

  // Recording headers of every family in both byte orders; the first byte
  // picks the system type the harness decodes with (its table's order).
  const int families[] = {1, 2, 3, 4, 5, 6, 7, 8, 11};
  for (int i = 0; i < 9; i++) {
    for (bool big : {false, true}) {
      if (big && i % 3) continue;  // a few big-endian ones are enough
      std::vector<uint8_t> h = testdisk::EncodeHeader(Sample(families[i], big));
      Seed("header", "family" + std::to_string(families[i]) + (big ? "-big" : ""),
           std::string(1, (char)i) + std::string(h.begin(), h.end()));
    }
  }

  // The firmware description file as test disks carry it, and one with an
  // old date and a single foreign model.
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat();
  testdisk::WriteFirmwareDat(disk + "/seed.dat", dat);
  Seed("firmwaredat", "default", Read(disk + "/seed.dat"));
  dat.year = 2009;
  dat.models.resize(1);
  dat.models[0].sysId = 1234;
  testdisk::WriteFirmwareDat(disk + "/seed.dat", dat);
  Seed("firmwaredat", "old-foreign", Read(disk + "/seed.dat"));

  // Job files as the application writes them, for the recording the harness
  // puts on its disk.
  Seed(
      "bgcjob", "copy",
      "SDir=/mnt/hd/DataFiles\r\nDDir=/mnt/hd/DataFiles/Archive\r\nFileName=Film.rec\r\nCoM=0\r\n");
  Seed(
      "bgcjob", "move",
      "SDir=/mnt/hd/DataFiles/\nDDir=/mnt/hd/DataFiles/USB/../Archive\nFileName=Film.rec\nCoM=1\n");
  Seed("bgcjob", "refused",
       "SDir=/tmp\r\nDDir=/mnt/hd/DataFiles\r\nFileName=$(x).rec\r\nCoM=1\r\n");

  // logo.dat: a record for a channel by name, by compact name and by number.
  for (const char* name : {"Channel One", "NewsXYZ", "2"}) {
    std::string record(LOGO_NAME_SIZE + LOGO_BITMAP_SIZE, '\x40');
    memset(&record[0], 0, LOGO_NAME_SIZE);
    memcpy(&record[0], name, strlen(name));
    Seed("logodat",
         std::string("record-") + (name[0] == '2'   ? "number"
                                   : name[0] == 'N' ? "other"
                                                    : "name"),
         record + (name[0] == '2' ? record.substr(0, 100) : std::string()));
  }

  // Mount tables: the path looked up, then the lines.
  Seed("mounts", "drives",
       "/DataFiles/USB/x.rec\n/dev/sda2 /mnt/hd ext3 rw 0 0\n/dev/sdb1 /mnt/sdb1 vfat rw 0 0\n"
       "/dev/sdb1 /mnt/hd/DataFiles/USB none rw,bind 0 0\n");
  Seed("mounts", "escaped",
       "/mnt/hd/DataFiles/My Films/a.rec\n/dev/sda2 /mnt/hd ext3 rw 0 0\n"
       "/dev/sdc\\0401 /mnt/hd/DataFiles/My\\040Films fuse rw 0 0\nbad\\\\line\n");

  // Messages: ask alive, show info with its record, pop-down, prepare answers.
  std::string record(520, 0);
  memcpy(&record[0], "\x0a\x43\x4d\x44", 4);
  memcpy(&record[8], "Film.rec.inf", 12);
  memcpy(&record[264], "/mnt/hd/DataFiles", 17);
  auto message = [](int command, uint32_t argument, int flags) {
    std::string m(6, 0);
    m[0] = (char)command;
    memcpy(&m[1], &argument, 4);
    m[5] = (char)flags;
    return m;
  };
  Seed("messages", "alive", message(0, 0x444D430A, 2) + message(1, 0x444D430A, 2));
  Seed("messages", "showinfo", message(2, 0, 3) + record + message(4, 0x444D430A, 2));
  Seed("messages", "phases",
       message(6, 0x444D430A, 0x12) + message(7, 1, 2) + message(8, 0, 2) + message(18, 0, 2) +
           message(19, 0, 2) + message(20, 0, 0x32) + message(17, 0, 1) + record);

  // Texts: the first byte picks flags and tables, the rest is the text.
  Seed("text", "latin",
       std::string("\x05") +
           "Die Sendung mit der Maus: \xc4rger \xfc"
           "ber alles?.rec");
  Seed("text", "utf8",
       std::string("\x0f") + "/DataFiles/Filme/\xc3\x84rger \xe2\x82\xac-2.rec.del");
  static const char kSelector[] = "\x02\x10\x00\x02Text \xe4 nach Tabelle";
  Seed("text", "selector", std::string(kSelector, sizeof kSelector - 1));
  Seed("text", "table",
       std::string("\x01") +
           "\x05"
           "Tabelle 5: \xde\xfe");

  emu::Shutdown(0);
  testdisk::RemoveTree(disk);
  if (failed) fprintf(stderr, "fuzzseeds: could not write every seed\n");
  return failed ? 1 : 0;
}
