// make_demo_disk - fills a folder with a recorder disk to show the list with:
// folders, recordings with headers of the emulated recorder's channels, duplicates,
// a recycled recording, media files and the firmware description file.
//   make_demo_disk DIR
// DIR becomes /mnt/hd of the emulated recorder (recorder --disk DIR).
#include <cstdio>
#include <string>

#include "firmware_dat.h"
#include "testdisk.h"

namespace {

struct Show {
  const char* folder;  // below /DataFiles; "" for the root
  const char* title;
  const char* text;
  int serviceId;  // of the recorder's built-in channel lists
  int day, hour, minute, minutes;
  const char* name;  // file name as the recorder writes it
};

const Show kShows[] = {
    {"", "Evening News", "Headlines of the day", 4103, 6, 19, 0, 30,
     "Evening News 2026-12-06 19-00.rec"},
    {"", "Evening News", "Headlines of the day", 4103, 7, 19, 0, 30,
     "Evening News 2026-12-07 19-00.rec"},
    {"", "Cup Final", "Live from the stadium", 4104, 5, 20, 15, 120, "Cup Final Sat.rec"},
    {"", "Morning Concert", "Music for the morning", 5102, 4, 9, 0, 60, "Morning Concert.rec"},
    {"Movies", "The Long Road", "Drama, 2019", 4101, 1, 21, 45, 110, "The Long Road.rec"},
    {"Movies", "The Long Road", "Drama, 2019", 4101, 2, 23, 50, 110, "The Long Road~2.rec"},
    {"Movies", "Harbour Lights", "Thriller, 2021", 4102, 3, 20, 15, 95,
     "Harbour Lights 2026-12-03 20-15.rec"},
    {"Series/Garden Stories", "Garden Stories", "Episode 1: Spring", 4102, 1, 18, 0, 45,
     "Garden Stories 20261201.rec"},
    {"Series/Garden Stories", "Garden Stories", "Episode 2: Summer", 4102, 2, 18, 0, 45,
     "Garden Stories 20261202.rec"},
    {"Series/Garden Stories", "Garden Stories", "Episode 3: Autumn", 4102, 3, 18, 0, 45,
     "Garden Stories 20261203.rec"},
    {"Series/Space Kids", "Space Kids", "The red planet", 4105, 6, 8, 30, 25,
     "Space Kids - Sun.rec"},
    {"Documentaries", "Deep Sea", "Life below 1000 metres", 4101, 4, 22, 0, 50,
     "Deep Sea 04.12.2026.rec"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  testdisk::Disk disk(argv[1]);
  bool ok = true;
  for (const Show& show : kShows) {
    testdisk::Header h;
    h.recordingStart = testdisk::Stamp(2026, 12, show.day, show.hour, show.minute);
    h.durationMinutes = (uint16_t)show.minutes;
    h.serviceId = (uint16_t)show.serviceId;
    h.serviceType = show.serviceId >= 5000 ? 1 : 0;
    h.eventName = show.title;
    h.eventText = show.text;
    h.extText = std::string(show.text) + ".\\nRecorded for the demonstration disk.";
    h.eventStart = h.recordingStart;
    h.eventEnd = h.recordingStart + (uint32_t)((show.minutes / 60) << 8) + show.minutes % 60;
    h.eventHours = (uint8_t)(show.minutes / 60);
    h.eventMinutes = (uint8_t)(show.minutes % 60);
    h.resumeBlock = show.day % 2 ? 12000 : 0;
    std::string folder = std::string("/DataFiles") + (show.folder[0] ? "/" : "") + show.folder;
    uint64_t size = (uint64_t)show.minutes * 60 * 1000000;  // about 8 Mbit/s
    ok = disk.Recording(folder + "/" + show.name, size, h) && ok;
  }
  // A recording in the recycle bin, an empty folder and other media.
  testdisk::Header old;
  old.eventName = "Old Quiz";
  old.recordingStart = testdisk::Stamp(2026, 11, 20, 18, 0);
  ok = disk.Recording("/DataFiles/Old Quiz.rec", 800000000ull, old) && ok;
  ok = disk.Recycle("/DataFiles/Old Quiz.rec") && ok;
  ok = disk.Folder("/DataFiles/Empty Folder") && ok;
  ok = disk.File("/DataFiles/Holiday.mp4", 350000000ull, testdisk::Stamp(2026, 8, 14, 12, 0)) && ok;
  ok = testdisk::WriteFirmwareDat(disk.HostPath("/ProgramFiles/Settings/FirmwareTMS.dat"),
                                  testdisk::DefaultFirmwareDat()) &&
       ok;
  if (!ok) {
    std::fprintf(stderr, "%s: cannot write the whole disk below %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
