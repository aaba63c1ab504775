// demodisk - makes a recorder disk worth browsing, for the demo and the
// browser test.
//   demodisk [--small] [--force] DIR
// DIR receives:
//   hd/           the internal disk (recorder --disk DIR/hd)
//   usb/          an external drive (recorder --usb DIR/usb), kept on disk in
//                 usb-drive/ while the recorder runs (--usb-on-disk)
//   channels.txt  the channel list the recordings were made from (--channels)
//   recorder.args further options for the recorder, one a line (the recording
//                 in progress: --recording SLOT:FILE)
// The full disk has a few hundred recordings in series, films, news, kids'
// and documentary folders, dated up to today; --small makes twenty
// recordings in /DataFiles alone (for the browser test). Both install the
// recorder's other applications: Tagsmith, BackgroundCopy, RemoteControl and
// TSR Commander in /ProgramFiles/AutoStart, MovieCutter in /ProgramFiles. A finished disk is
// marked and left alone unless --force is given.
#include <stdio.h>
// jpeglib.h needs FILE and size_t declared first.
#include <string.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/History.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "firmware_dat.h"
#include "jpeg.h"
#include "testdisk.h"
#include "ui/Text.h"

namespace {

using testdisk::Disk;
using testdisk::Header;

struct Channel {
  const char* name;
  uint16_t serviceId;
  int number;
  bool radio;
  uint32_t colour;  // logo background
};

// Service ids as broadcast; numbers as the recorder lists them.
const Channel kChannels[] = {
    {"Das Erste HD", 10301, 1, false, 0x003A8C},     {"ZDF HD", 11110, 2, false, 0xF07800},
    {"3sat HD", 11150, 3, false, 0xC8102E},          {"arte HD", 10302, 4, false, 0xF5A000},
    {"ZDFneo HD", 11130, 5, false, 0x0080C0},        {"KiKA HD", 11160, 6, false, 0x66B22E},
    {"tagesschau24 HD", 10375, 7, false, 0x0A3A6B},  {"phoenix HD", 10331, 8, false, 0x7A7A7A},
    {"ZDFinfo HD", 11170, 9, false, 0x005A9C},       {"BBC One HD", 17540, 101, false, 0xB40000},
    {"BBC Two HD", 17472, 102, false, 0x6B2C91},     {"BBC News", 4352, 103, false, 0xBB1919},
    {"CBeebies HD", 17920, 104, false, 0xFFCC00},    {"Film4", 8384, 105, false, 0x2E2E2E},
    {"Deutschlandfunk", 10380, 201, true, 0x003366}, {"BBC Radio 4", 6466, 202, true, 0x5C2D91},
};

const Channel& ChannelNamed(const char* name) {
  for (const Channel& c : kChannels) {
    if (strcmp(c.name, name) == 0) return c;
  }
  return kChannels[0];
}

// --- broadcast text encodings ----------------------------------------------------------

// German and French letters in ISO/IEC 6937, the broadcasters' default table:
// a non-spacing accent byte followed by the base letter.
std::string ToIso6937(const std::string& utf8) {
  struct Map {
    const char* from;
    const char* to;
  };
  static const Map map[] = {
      {"ä",
       "\xC8"
       "a"},
      {"ö",
       "\xC8"
       "o"},
      {"ü",
       "\xC8"
       "u"},
      {"Ä",
       "\xC8"
       "A"},
      {"Ö",
       "\xC8"
       "O"},
      {"Ü",
       "\xC8"
       "U"},
      {"ß", "\xFB"},
      {"é",
       "\xC2"
       "e"},
      {"è",
       "\xC1"
       "e"},
      {"à",
       "\xC1"
       "a"},
      {"ç",
       "\xCB"
       "c"},
      {"–", "-"},
      {"„", "\""},
      {"“", "\""},
      {"’", "'"},
  };
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    bool hit = false;
    for (const Map& m : map) {
      size_t n = strlen(m.from);
      if (utf8.compare(i, n, m.from) == 0) {
        out += m.to;
        i += n;
        hit = true;
        break;
      }
    }
    if (!hit) out += utf8[i++];
  }
  return out;
}

// Some broadcasters announce UTF-8 with the selector byte 0x15.
std::string Encode(const std::string& utf8, bool asUtf8) {
  return asUtf8 ? "\x15" + utf8 : ToIso6937(utf8);
}

// --- the disk -----------------------------------------------------------------------------

struct Made {
  std::string path;  // firmware path
  uint64_t size;
  int minutes;
};

struct Builder {
  Disk& disk;
  time_t today;  // local midnight of the day the disk is made
  std::vector<Made> made;
  unsigned seed = 12345;

  unsigned Random(unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  }

  // A stamp `daysAgo` days before today at hh:mm.
  uint32_t Stamp(int daysAgo, int hour, int minute) {
    time_t t = today - static_cast<time_t>(daysAgo) * 86400;
    struct tm tm;
    localtime_r(&t, &tm);
    return testdisk::Stamp(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, hour, minute);
  }

  static std::string DateName(uint32_t stamp) {
    int64_t unix = testdisk::StampToUnix(stamp);
    time_t t = static_cast<time_t>(unix);
    struct tm tm;
    gmtime_r(&t, &tm);
    char buf[64];
    snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
             tm.tm_mday, tm.tm_hour, tm.tm_min);
    return buf;
  }

  // One recording with its header.
  bool Record(const std::string& folder, const std::string& fileName, const char* channel,
              uint32_t start, int minutes, const std::string& title, const std::string& subtitle,
              const std::string& description, bool utf8) {
    const Channel& ch = ChannelNamed(channel);
    Header h;
    h.recordingStart = start;
    h.durationMinutes = static_cast<uint16_t>(minutes);
    h.serviceType = ch.radio ? 1 : 0;
    h.serviceId = ch.serviceId;
    h.serviceName = ch.name;
    h.eventHours = static_cast<uint8_t>(minutes / 60);
    h.eventMinutes = static_cast<uint8_t>(minutes % 60);
    h.eventStart = start;
    h.eventEnd = testdisk::UnixToStamp(testdisk::StampToUnix(start) + minutes * 60);
    h.eventName = Encode(title, utf8);
    h.eventText = Encode(subtitle, utf8);
    h.extText = Encode(description, utf8);
    // The emulated recorder plays 50 blocks of 9024 bytes a second: sizes at
    // that rate (about 1.6 GB an hour, as a standard-definition service
    // records) make the playback as long as the programme.
    uint64_t perMinute = 60ull * 50 * 9024;
    uint64_t size = perMinute * minutes + Random(1 << 20);
    // Every fourth recording was left a third of the way through on the
    // recorder itself: its header holds the position, the history nothing.
    if (made.size() % 4 == 1) h.resumeBlock = static_cast<uint32_t>(size / 9024 / 3);
    std::string path = folder + "/" + fileName + ".rec";
    if (!disk.Recording(path, size, h)) {
      fprintf(stderr, "demodisk: cannot write %s\n", disk.HostPath(path).c_str());
      return false;
    }
    made.push_back({path, size, minutes});
    return true;
  }
};

struct Episode {
  const char* title;
  const char* text;
};

bool Series(Builder& b, const std::string& folder, const char* show, const char* channel,
            int seasons, int perSeason, const char* seasonWord, int minutes, int hour, bool german,
            int startDaysAgo) {
  static const Episode german_texts[] = {
      {"Der letzte Zeuge", "Ein Mord im Morgengrauen stellt das Team vor ein Rätsel."},
      {"Schatten über dem Tal", "Eine alte Familienfehde bricht wieder auf."},
      {"Falsches Spiel", "Ein Geständnis, das niemand glauben will."},
      {"Die Brücke", "Nach einem Unfall auf der Brücke beginnt die Suche nach der Wahrheit."},
      {"Grenzgänger", "Ein Fall führt über die Grenze nach Österreich."},
      {"Späte Rache", "Zwanzig Jahre nach der Tat kehrt ein Verdächtiger zurück."},
  };
  static const Episode english_texts[] = {
      {"The Silent Witness", "A body on the moors leads to a decades-old secret."},
      {"Lost Signal", "A message from the past changes everything."},
      {"The Long Night", "Trapped in a storm, nobody can be trusted."},
      {"Paper Trail", "A forged will and a family at war."},
      {"Crossing Over", "An unexpected visitor brings dangerous news."},
      {"Endgame", "The final piece of the puzzle falls into place."},
  };
  int day = startDaysAgo;
  for (int s = 1; s <= seasons; s++) {
    std::string dir = folder + "/" + show;
    if (seasons > 1) dir += std::string("/") + seasonWord + " " + std::to_string(s);
    for (int e = 1; e <= perSeason; e++) {
      const Episode& ep = german ? german_texts[(s * 7 + e) % 6] : english_texts[(s * 5 + e) % 6];
      char name[200];
      snprintf(name, sizeof name, "%s S%02dE%02d - %s", show, s, e, ep.title);
      uint32_t start = b.Stamp(day, hour, 15);
      day = day > 7 ? day - 7 : day;
      std::string sub = std::string(german ? "Folge " : "Episode ") + std::to_string(e);
      // Every third German episode comes from a broadcaster that sends UTF-8.
      if (!b.Record(dir, name, channel, start, minutes, std::string(show) + ": " + ep.title, sub,
                    ep.text, german && e % 3 == 0)) {
        return false;
      }
    }
  }
  return true;
}

bool Films(Builder& b, const std::string& folder, bool german) {
  struct Film {
    const char* title;
    const char* channel;
    int minutes;
    const char* text;
  };
  static const Film de[] = {
      {"Das Boot", "arte HD", 149,
       "U 96 im Herbst 1941: Die Besatzung eines U-Boots zwischen Langeweile und Todesangst."},
      {"Lola rennt", "ZDFneo HD", 81,
       "Zwanzig Minuten, 100.000 Mark und drei Anläufe, Mannis Leben zu retten."},
      {"Good Bye, Lenin!", "Das Erste HD", 121,
       "Ein Sohn lässt die DDR in der Wohnung seiner Mutter weiterleben."},
      {"Das Leben der Anderen", "3sat HD", 137,
       "Ein Stasi-Hauptmann hört einen Schriftsteller ab – und ändert sich."},
      {"Der Himmel über Berlin", "arte HD", 128,
       "Zwei Engel wachen über Berlin; einer möchte Mensch werden."},
      {"Im Westen nichts Neues", "ZDF HD", 147,
       "Der Erste Weltkrieg aus der Sicht eines jungen Soldaten."},
      {"Die fetten Jahre sind vorbei", "ZDFneo HD", 127,
       "Drei junge Leute brechen in Villen ein – und nehmen nichts mit."},
      {"Toni Erdmann", "arte HD", 162,
       "Ein Vater mit falschen Zähnen besucht seine Tochter in Bukarest."},
      {"Victoria", "3sat HD", 138, "Eine Nacht in Berlin, gedreht in einer einzigen Einstellung."},
      {"Systemsprenger", "Das Erste HD", 118, "Die neunjährige Benni sprengt jede Einrichtung."},
      {"Almanya – Willkommen in Deutschland", "ZDF HD", 97,
       "Drei Generationen einer türkischen Familie reisen nach Anatolien."},
      {"Die Welle", "ZDFneo HD", 104,
       "Ein Lehrer zeigt in einer Projektwoche, wie schnell Autokratie entsteht."},
  };
  static const Film en[] = {
      {"Brief Encounter", "Film4", 86,
       "A chance meeting in a railway station café changes two lives."},
      {"The Third Man", "BBC Two HD", 104, "Pulp writer Holly Martins arrives in post-war Vienna."},
      {"Lawrence of Arabia", "BBC Two HD", 218, "The story of T. E. Lawrence and the Arab revolt."},
      {"Paddington 2", "BBC One HD", 103,
       "Paddington takes on odd jobs to buy a present for Aunt Lucy."},
      {"The Lady Vanishes", "Film4", 96,
       "An elderly governess disappears from a train crossing Europe."},
      {"Kind Hearts and Coronets", "Film4", 106,
       "A disinherited heir removes eight relatives standing in his way."},
      {"Trainspotting", "Film4", 94, "Renton and his friends in Edinburgh's drug scene."},
      {"Billy Elliot", "BBC One HD", 110, "A miner's son in County Durham wants to dance."},
      {"The Remains of the Day", "BBC Two HD", 134,
       "A butler looks back on decades of devoted service."},
      {"Four Weddings and a Funeral", "BBC One HD", 117,
       "Charles keeps meeting Carrie at other people's weddings."},
      {"Local Hero", "Film4", 111, "An oil executive is sent to buy a Scottish fishing village."},
      {"Pride", "BBC Two HD", 119, "London activists support striking Welsh miners in 1984."},
  };
  const Film* list = german ? de : en;
  for (int i = 0; i < 12; i++) {
    const Film& f = list[i];
    uint32_t start = b.Stamp(3 + i * 9 + static_cast<int>(b.Random(5)), 20, 15);
    if (!b.Record(folder, f.title, f.channel, start, f.minutes, f.title,
                  german ? "Spielfilm" : "Feature film", f.text, german && i % 4 == 1)) {
      return false;
    }
  }
  return true;
}

bool News(Builder& b, const std::string& folder, const char* show, const char* channel, int hour,
          int minute, int minutes, int days, bool german) {
  for (int d = days; d >= 1; d--) {
    uint32_t start = b.Stamp(d, hour, minute);
    std::string name = std::string(show) + " " + Builder::DateName(start);
    std::string text =
        german ? "Die Nachrichten des Tages aus Deutschland und der Welt. Mit dem Wetter."
               : "The latest national and international news, with sport and weather.";
    if (!b.Record(folder, name, channel, start, minutes, show, german ? "Nachrichten" : "News",
                  text, !german ? false : d % 2 == 0)) {
      return false;
    }
  }
  return true;
}

// --- files of the settings folder ----------------------------------------------------------

// The settings file with the demo's choices: deleting recycles, with a prompt.
std::string SettingsFile() {
  std::string text = std::string(INI_FILE_HEADER) + "\r\n";
  for (const SettingDefinition& d : settingDefinitions) {
    int value = d.defaultValue;
    if (d.setting == &recycleBinOption) value = 1;
    // The demo's headers carry local times.
    if (d.setting == &GMToffsetOption) value = 0 + 720;  // stored shifted
    text += std::to_string(value) + "\r\n";
  }
  text.resize(INI_FILE_SIZE, '\0');
  return text;
}

uint32_t Inode(const Disk& disk, const std::string& path) {
  struct stat st;
  return stat(disk.HostPath(path).c_str(), &st) == 0 ? static_cast<uint32_t>(st.st_ino) : 0;
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The viewing history: `watched` recordings, the last fully, the others to
// various points; the most recent is entry 0.
std::string PlaybackFile(const Disk& disk, const std::vector<Made>& watched) {
  constexpr uint64_t kBlock = 9024;  // bytes of a playback block
  std::vector<std::string> lines;
  for (size_t i = 0; i < watched.size(); i++) {
    const Made& m = watched[i];
    uint32_t total = static_cast<uint32_t>(m.size / kBlock);
    uint32_t at = i % 3 == 0 ? total - total / 100 : total * (20 + 25 * (i % 3)) / 100;
    char line[300];
    snprintf(line, sizeof line, "%u\t%u\t%u\t%.200s\r\n", Inode(disk, m.path), at, total,
             BaseName(m.path).c_str());
    lines.push_back(line);
  }
  std::string text = std::to_string(watched.size()) + "\r\n";
  text += lines.back();  // entry 0: the last played
  for (size_t i = lines.size(); i-- > 0;) text += lines[i];
  text.resize(HISTORY_FILE_SIZE, '\0');
  return text;
}

// Folders last looked at a few days ago, so that newer recordings count as new.
std::string LastViewFile(Builder& b, const std::vector<std::string>& folders) {
  std::string text = std::to_string(folders.size()) + "\r\n";
  uint32_t seen = b.Stamp(4, 21, 0);
  text += "/DataFiles\t" + std::to_string(seen) + "\r\n";
  for (const std::string& f : folders) text += f + "\t" + std::to_string(seen) + "\r\n";
  text.resize(HISTORY_FILE_SIZE, '\0');
  return text;
}

// A channel logo tile, 60 x 39 (the list's logo box): the channel's colour in
// a light frame with the channel's name in white, in the application's own
// 12-point font, on one line or split at a blank over two.
constexpr int kLogoWidth = 60, kLogoHeight = 39;

int TextWidth(const std::string& text, const FontDef* font) {
  return static_cast<int>(FM_GetStringWidth(text.c_str(), font));
}

void DrawName(std::vector<uint32_t>& tile, const std::string& text, int top, const FontDef* font) {
  int x = (kLogoWidth - TextWidth(text, font)) / 2;
  if (x < 3) x = 3;
  for (unsigned char c : text) {
    if (!FM_isValidCharacter(c)) continue;
    const GlyphDef& g = font->glyph[FM_CharToIndex(c)];
    for (dword gy = 0; gy < g.height; gy++) {
      for (dword gx = 0; gx < g.width; gx++) {
        int px = x + static_cast<int>(gx), py = top + static_cast<int>(gy);
        if (px < 2 || px >= kLogoWidth - 2 || py < 2 || py >= kLogoHeight - 2) continue;
        uint32_t a = font->bitmap[g.offset + gy * g.width + gx];
        uint32_t& p = tile[py * kLogoWidth + px];
        uint32_t mixed = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
          uint32_t bg = p >> shift & 0xFF;
          mixed |= ((bg * (255 - a) + 255 * a) / 255) << shift;
        }
        p = mixed;
      }
    }
    x += static_cast<int>(g.width);
  }
}

bool WriteLogo(const std::string& hostPath, const char* name, uint32_t colour) {
  std::vector<uint32_t> tile(kLogoWidth * kLogoHeight);
  for (int y = 0; y < kLogoHeight; y++) {
    for (int x = 0; x < kLogoWidth; x++) {
      bool frame = y < 2 || y >= kLogoHeight - 2 || x < 2 || x >= kLogoWidth - 2;
      tile[y * kLogoWidth + x] = frame ? 0xFFFFFF : colour;
    }
  }
  // One line when it fits, else the split at the blank that gives the
  // shorter longer line; the smaller font when even that is too wide.
  std::string text = name, first = name, second;
  const int room = kLogoWidth - 6;
  for (size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at + 1)) {
    const FontDef* f = FontOfSize(12);
    if (TextWidth(text, f) <= room) break;
    std::string a = text.substr(0, at), b = text.substr(at + 1);
    int widest = std::max(TextWidth(a, f), TextWidth(b, f));
    if (second.empty() || widest < std::max(TextWidth(first, f), TextWidth(second, f))) {
      first = a;
      second = b;
    }
  }
  bool fits = TextWidth(first, FontOfSize(12)) <= room && TextWidth(second, FontOfSize(12)) <= room;
  const FontDef* font = FontOfSize(fits ? 12 : 10);
  if (second.empty()) {
    DrawName(tile, first, fits ? 11 : 13, font);
  } else {
    DrawName(tile, first, fits ? 3 : 5, font);
    DrawName(tile, second, fits ? 19 : 20, font);
  }
  testdisk::JpegOptions options;
  options.quality = 95;
  std::vector<unsigned char> jpeg = testdisk::EncodeJpeg(kLogoWidth, kLogoHeight, tile, options);
  FILE* out = fopen(hostPath.c_str(), "wb");
  if (!out) return false;
  bool written = !jpeg.empty() && fwrite(jpeg.data(), 1, jpeg.size(), out) == jpeg.size();
  return fclose(out) == 0 && written;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}

int Usage() {
  fprintf(stderr, "usage: demodisk [--small] [--force] DIR\n");
  return 2;
}

}  // namespace

#ifndef PVR_PEER_DIR
#define PVR_PEER_DIR "peers"
#endif

// Copies the build's image of a peer application onto the disk.
bool InstallPeer(Disk& disk, const std::string& name, const std::string& folder) {
  std::ifstream in(std::string(PVR_PEER_DIR) + "/" + name + ".tap", std::ios::binary);
  if (!in) {
    fprintf(stderr, "demodisk: no %s/%s.tap (build the peers first)\n", PVR_PEER_DIR, name.c_str());
    return false;
  }
  std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<uint8_t> bytes(image.begin(), image.end());
  return disk.Bytes(folder + "/" + name + ".tap", bytes);
}

int main(int argc, char** argv) {
  bool small = false;
  bool force = false;
  std::string dir;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    if (a == "--small") {
      small = true;
    } else if (a == "--force") {
      force = true;
    } else if (a.empty() || a[0] == '-' || !dir.empty()) {
      return Usage();
    } else {
      dir = a;
    }
  }
  if (dir.empty()) return Usage();
  std::string done = dir + "/.complete";
  struct stat st;
  if (!force && stat(done.c_str(), &st) == 0) {
    printf("demodisk: %s is ready\n", dir.c_str());
    return 0;
  }
  // Start afresh: a half-made disk from an interrupted run is not reused.
  testdisk::RemoveTree(dir + "/hd");
  testdisk::RemoveTree(dir + "/usb");
  Disk disk(dir + "/hd");
  Disk usb(dir + "/usb");
  for (const char* f : {"/DataFiles", "/ProgramFiles/Settings/Pavrolinex",
                        "/ProgramFiles/Settings/Logos", "/MediaFiles"}) {
    if (!disk.Folder(f)) {
      fprintf(stderr, "demodisk: cannot make %s\n", disk.HostPath(f).c_str());
      return 1;
    }
  }
  usb.Folder("/");

  time_t now = time(nullptr);
  struct tm tm;
  localtime_r(&now, &tm);
  tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
  Builder b{disk, mktime(&tm), {}, 12345};
  Builder onUsb{usb, b.today, {}, 777};
  std::vector<std::string> folders;
  std::vector<std::string> args;
  bool ok = true;

  if (small) {
    // Twenty recordings in /DataFiles itself: every line is a file.
    ok = News(b, "/DataFiles", "Tagesschau", "Das Erste HD", 20, 0, 15, 8, true) &&
         Films(b, "/DataFiles", false);
  } else {
    const std::string D = "/DataFiles";
    ok =
        Series(b, D + "/Serien", "Der Bergdoktor", "ZDF HD", 3, 8, "Staffel", 45, 20, true, 300) &&
        Series(b, D + "/Serien", "Tatort", "Das Erste HD", 1, 14, "Staffel", 90, 20, true, 200) &&
        Series(b, D + "/Serien", "SOKO Leipzig", "ZDF HD", 2, 10, "Staffel", 45, 21, true, 150) &&
        Series(b, D + "/Series", "Doctor Who", "BBC One HD", 2, 8, "Season", 50, 19, false, 250) &&
        Series(b, D + "/Series", "Sherlock", "BBC One HD", 4, 3, "Series", 88, 21, false, 400) &&
        Series(b, D + "/Series", "Call the Midwife", "BBC One HD", 2, 8, "Series", 60, 20, false,
               180) &&
        Films(b, D + "/Filme", true) && Films(b, D + "/Films", false) &&
        News(b, D + "/Nachrichten/Tagesschau", "Tagesschau", "Das Erste HD", 20, 0, 15, 30, true) &&
        News(b, D + "/Nachrichten/heute journal", "heute journal", "ZDF HD", 21, 45, 30, 14,
             true) &&
        News(b, D + "/News/BBC News at Six", "BBC News at Six", "BBC One HD", 18, 0, 30, 21,
             false) &&
        Series(b, D + "/Kinder", "Die Sendung mit der Maus", "KiKA HD", 1, 12, "Staffel", 30, 9,
               true, 90) &&
        Series(b, D + "/Kinder", "Löwenzahn", "KiKA HD", 1, 8, "Staffel", 25, 8, true, 60) &&
        Series(b, D + "/Kids", "Hey Duggee", "CBeebies HD", 1, 10, "Series", 7, 7, false, 40) &&
        Series(b, D + "/Dokumentationen", "Terra X", "ZDF HD", 1, 10, "Staffel", 45, 19, true,
               120) &&
        Series(b, D + "/Dokumentationen", "Planet Earth III", "BBC One HD", 1, 8, "Series", 60, 18,
               false, 160);
    // New recordings, after the folders were last looked at.
    ok = ok &&
         b.Record(D + "/Neu", "Tatort - Borowski und der Schatten", "Das Erste HD",
                  b.Stamp(1, 20, 15), 90, "Tatort: Borowski und der Schatten", "Kriminalfilm",
                  "Kommissar Borowski ermittelt in Kiel.", true) &&
         b.Record(D + "/Neu", "Terra X - Eine kurze Geschichte der Zeit", "ZDF HD",
                  b.Stamp(2, 19, 30), 45, "Terra X: Eine kurze Geschichte der Zeit",
                  "Dokumentation", "Vom Urknall bis heute in 45 Minuten.", false) &&
         b.Record(D + "/Neu", "The Great British Bake Off", "BBC One HD", b.Stamp(1, 20, 0), 75,
                  "The Great British Bake Off", "Bread Week",
                  "The bakers face three challenges with yeast.", false) &&
         b.Record(D + "/Neu", "Deutschlandfunk - Das Feature", "Deutschlandfunk", b.Stamp(0, 11, 5),
                  55, "Das Feature", "Radio", "Eine Reise durch die Geschichte des Rundfunks.",
                  true);
    ok = ok && disk.Folder(D + "/Archiv");  // empty
    // Loose recordings in /DataFiles itself.
    ok = ok &&
         b.Record(D, "Wetten dass", "ZDF HD", b.Stamp(35, 20, 15), 180, "Wetten, dass..?", "Show",
                  "Die große Samstagabendshow.", false) &&
         b.Record(D, "Eurovision Song Contest", "Das Erste HD", b.Stamp(60, 21, 0), 240,
                  "Eurovision Song Contest", "Finale", "Live aus der Halle – mit allen Finalisten.",
                  true);
    // The recording in progress, in slot 0.
    time_t rs = now - 20 * 60;
    struct tm rt;
    localtime_r(&rs, &rt);
    uint32_t recStart =
        testdisk::Stamp(rt.tm_year + 1900, rt.tm_mon + 1, rt.tm_mday, rt.tm_hour, rt.tm_min);
    std::string live = "Tatort " + Builder::DateName(recStart);
    ok = ok && b.Record(D + "/Neu", live, "Das Erste HD", recStart, 90, "Tatort", "Kriminalfilm",
                        "Ein neuer Fall – läuft gerade.", false);
    args.push_back("--recording");
    args.push_back("0:" + D + "/Neu/" + live + ".rec");

    // The external drive.
    ok = ok && Films(onUsb, "/Filmarchiv", true) &&
         Series(onUsb, "/Serienarchiv", "Babylon Berlin", "Das Erste HD", 2, 8, "Staffel", 45, 20,
                true, 500);
    args.push_back("--usb");
    args.push_back(dir + "/usb");
    // On disk, not in memory: what is copied to the drive takes its whole
    // size (a copy fills the holes of the sparse recordings).
    args.push_back("--usb-on-disk");
    args.push_back(dir + "/usb-drive");
    // A 1 TB disk, about a third full with these recordings.
    args.push_back("--disk-size");
    args.push_back("1000000");

    for (const char* f : {"/Serien", "/Series", "/Filme", "/Films", "/Nachrichten", "/News",
                          "/Kinder", "/Kids", "/Dokumentationen", "/Neu", "/Archiv"}) {
      folders.push_back(D + f);
    }
  }
  if (!ok) return 1;

  // A few recordings in the recycle bin.
  size_t recycled = 0;
  for (size_t i = 5; i < b.made.size() && recycled < (small ? 1u : 5u); i += 37) {
    if (disk.Recycle(b.made[i].path)) recycled++;
  }
  std::vector<Made> watched;
  for (size_t i = 0; i < b.made.size() && watched.size() < (small ? 3u : 40u); i += 3) {
    if (disk.Exists(b.made[i].path)) watched.push_back(b.made[i]);
  }

  std::string settings = disk.HostPath(INI_FOLDER);
  ok = WriteText(settings + "/" + INI_FILE_NAME, SettingsFile()) &&
       WriteText(settings + "/" + PLAYBACK_FILE_NAME, PlaybackFile(disk, watched)) &&
       WriteText(settings + "/" + LASTVIEW_FILE_NAME, LastViewFile(b, folders)) &&
       testdisk::WriteFirmwareDat(disk.HostPath("/ProgramFiles/Settings/FirmwareTMS.dat"),
                                  testdisk::DefaultFirmwareDat());
  // Logos for most channels; the rest show their names.
  std::string channels = "# type\tservice id\tnumber\tname\n";
  int index = 0;
  for (const Channel& c : kChannels) {
    channels += std::string(c.radio ? "Radio" : "TV") + "\t" + std::to_string(c.serviceId) + "\t" +
                std::to_string(c.number) + "\t" + c.name + "\n";
    // Every fifth channel goes without.
    if (index++ % 5 != 4) {
      ok = ok && WriteLogo(disk.HostPath(std::string(LOGO_FOLDER) + "/" + c.name + ".jpg"), c.name,
                           c.colour);
    }
  }
  for (const char* name : {"Tagsmith", "BackgroundCopy", "RemoteControl", "TSRCommander"}) {
    ok = ok && InstallPeer(disk, name, "/ProgramFiles/AutoStart");
  }
  ok = ok && InstallPeer(disk, "MovieCutter", "/ProgramFiles") &&
       disk.Folder("/ProgramFiles/Settings/BackgroundCopy/JobFiles") &&
       disk.Folder("/ProgramFiles/Settings/BackgroundCopy/JobFail");
  std::string argText;
  for (const std::string& a : args) argText += a + "\n";
  ok = ok && WriteText(dir + "/channels.txt", channels) &&
       WriteText(dir + "/recorder.args", argText) && WriteText(done, "");
  if (!ok) {
    fprintf(stderr, "demodisk: cannot write the files of %s\n", dir.c_str());
    return 1;
  }
  printf("demodisk: %zu recordings on %s/hd, %zu on the external drive\n", b.made.size(),
         dir.c_str(), onUsb.made.size());
  return 0;
}
