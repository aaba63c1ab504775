// The test-disk builder: host files laid out as the recorder writes them.
// Recordings are larger than 4 GiB; on a 32-bit host too.
#define _FILE_OFFSET_BITS 64

#include "testdisk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "firmware_dat.h"

namespace testdisk {

namespace fs = std::filesystem;

namespace {

const int kUnixEpochMjd = 40587;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Every family shares magic (0), version (4), start (8), duration (12) and flags (16).
const Layout kOldS = {29, 32, 40, 64, 68, 72, 77, 79, 352, 356, 1024, -1, 1400, 256, 1656, 1660};
const Layout kOldC = {29, 32, 36, 60, 64, 68, 73, 75, 348, 352, 1024, -1, 1396, 256, 1652, 1656};
const Layout kT5700 = {29, 32, 48, 72, 76, 80, 85, 87, 360, 364, 1024, -1, 1408, 256, 1664, 1668};
const Layout kT5800 = {29, 32, 44, 68, 72, 76, 81, 83, 356, 360, 1024, -1, 1404, 256, 1660, 1664};
const Layout kTMS = {29, 32, 42, 70, 76, 80, 85, 87, 362, 368, 1024, 1412, 1416, 708, 2124, 2128};
const Layout kTMSC = {29, 32, 42, 70, 76, 80, 85, 87, 362, 368, 1024, 1408, 1412, 708, 2120, 2124};
const Layout kTF7k7 = {29, 32, 42, 70, 76, 80, 85, 87, 362, 368, 2048, -1, 2636, 256, 2892, 2896};

class Writer {
 public:
  Writer(std::vector<uint8_t>& b, bool big) : b_(b), big_(big) {}
  void Word(int at, uint32_t v) {
    Put(at, big_ ? (v >> 8) & 255 : v & 255);
    Put(at + 1, big_ ? v & 255 : (v >> 8) & 255);
  }
  void Dword(int at, uint32_t v) {
    for (int i = 0; i < 4; i++) Put(at + i, (v >> (big_ ? 24 - 8 * i : 8 * i)) & 255);
  }
  void Byte(int at, uint32_t v) { Put(at, v & 255); }
  void Text(int at, const std::string& s, size_t max) {
    for (size_t i = 0; i < s.size() && i < max; i++) Put(at + (int)i, (uint8_t)s[i]);
  }

 private:
  void Put(int at, uint32_t v) {
    if (at >= 0 && (size_t)at < b_.size()) b_[at] = (uint8_t)v;
  }
  std::vector<uint8_t>& b_;
  bool big_;
};

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

uint32_t Stamp(int year, int month, int day, int hour, int minute) {
  uint32_t mjd = (uint32_t)(DaysFromCivil(year, month, day) + kUnixEpochMjd);
  return mjd << 16 | (uint32_t)hour << 8 | (uint32_t)minute;
}

int64_t StampToUnix(uint32_t stamp) {
  return ((int64_t)(stamp >> 16) - kUnixEpochMjd) * 86400 + ((stamp >> 8) & 255) * 3600 +
         (stamp & 255) * 60;
}

uint32_t UnixToStamp(int64_t seconds) {
  int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) rest += 86400, days--;
  return (uint32_t)(days + kUnixEpochMjd) << 16 | (uint32_t)(rest / 3600) << 8 |
         (uint32_t)(rest % 3600 / 60);
}

const Layout* LayoutOf(int family) {
  switch (family) {
    case FAMILY_S:
    case FAMILY_T:
      return &kOldS;
    case FAMILY_C:
      return &kOldC;
    case FAMILY_T5700:
      return &kT5700;
    case FAMILY_TMSS:
    case FAMILY_TMST:
      return &kTMS;
    case FAMILY_TMSC:
      return &kTMSC;
    case FAMILY_T5800:
      return &kT5800;
    case FAMILY_TF7k7HDPVR:
      return &kTF7k7;
    default:
      return nullptr;
  }
}

std::vector<uint8_t> EncodeHeader(const Header& h) {
  const Layout* l = LayoutOf(h.family);
  const Layout& layout = l ? *l : kTMS;
  int size = h.fileSize >= 0 ? h.fileSize : layout.size;
  std::vector<uint8_t> b(std::max(size, layout.size), 0);
  Writer w(b, h.bigEndian);
  w.Text(0, h.magic, 4);
  w.Word(4, h.version >= 0 ? (uint32_t)h.version : h.bigEndian ? 0x5000 : 0x8000);
  w.Dword(8, h.recordingStart);
  w.Word(12, h.durationMinutes);
  w.Byte(16, h.flags);
  w.Byte(layout.serviceType, h.serviceType);
  w.Word(layout.serviceId, h.serviceId);
  w.Text(layout.serviceName, h.serviceName, 24);
  w.Byte(layout.eventDuration, h.eventMinutes);
  w.Byte(layout.eventDuration + 1, h.eventHours);
  w.Dword(layout.eventStart, h.eventStart);
  w.Dword(layout.eventEnd, h.eventEnd);
  w.Byte(layout.eventNameLength, h.nameLength >= 0 ? h.nameLength : (int)h.eventName.size());
  w.Byte(layout.eventNameLength + 1, h.eventByte);
  std::string event = h.eventName + h.eventText;
  w.Text(layout.eventText, event, 273);
  w.Word(layout.extTextLength, h.extTextLength >= 0 ? h.extTextLength : (int)h.extText.size());
  w.Text(layout.extText, h.extText, layout.extTextMax);
  if (layout.bookmarkCount >= 0) w.Dword(layout.bookmarkCount, (uint32_t)h.bookmarks.size());
  for (size_t i = 0; i < h.bookmarks.size() && (int)i < layout.bookmarkBytes / 4; i++)
    w.Dword(layout.bookmarks + 4 * (int)i, h.bookmarks[i]);
  w.Dword(layout.resume, h.resumeBlock);
  b.resize(size);
  return b;
}

Disk::Disk(std::string root) : root_(std::move(root)) {
  std::error_code ec;
  fs::create_directories(root_ + "/DataFiles", ec);
  fs::create_directories(root_ + "/ProgramFiles/Settings", ec);
  if (!Exists(kFirmwareDat)) WriteFirmwareDat(HostPath(kFirmwareDat), TestDiskFirmwareDat());
}

std::string Disk::HostPath(const std::string& path) const {
  return root_ + (path.empty() || path[0] != '/' ? "/" : "") + path;
}

bool Disk::Folder(const std::string& path) {
  std::error_code ec;
  fs::create_directories(HostPath(path), ec);
  return fs::is_directory(HostPath(path), ec);
}

bool Disk::File(const std::string& path, uint64_t size, uint32_t stamp) {
  std::string host = HostPath(path);
  std::error_code ec;
  fs::create_directories(fs::path(host).parent_path(), ec);
  int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = ftruncate(fd, (off_t)size) == 0;
  close(fd);
  return ok && (stamp == 0 || SetStamp(path, stamp));
}

bool Disk::Bytes(const std::string& path, const std::vector<uint8_t>& content) {
  std::string host = HostPath(path);
  std::error_code ec;
  fs::create_directories(fs::path(host).parent_path(), ec);
  FILE* f = fopen(host.c_str(), "wb");
  if (!f) return false;
  bool ok = content.empty() || fwrite(content.data(), content.size(), 1, f) == 1;
  return fclose(f) == 0 && ok;
}

bool Disk::Text(const std::string& path, const std::string& content) {
  return Bytes(path, std::vector<uint8_t>(content.begin(), content.end()));
}

std::string Disk::InfPath(const std::string& recordingPath) {
  if (EndsWith(recordingPath, ".del"))
    return recordingPath.substr(0, recordingPath.size() - 4) + ".inf.del";
  return recordingPath + ".inf";
}

std::string Disk::NavPath(const std::string& recordingPath) {
  if (EndsWith(recordingPath, ".del"))
    return recordingPath.substr(0, recordingPath.size() - 4) + ".nav.del";
  return recordingPath + ".nav";
}

bool Disk::Inf(const std::string& recordingPath, const Header& header) {
  return Bytes(InfPath(recordingPath), EncodeHeader(header));
}

bool Disk::Recording(const std::string& path, uint64_t size, const Header& header, bool nav,
                     uint32_t stamp) {
  if (!File(path, size, stamp ? stamp : header.recordingStart)) return false;
  if (!Inf(path, header)) return false;
  return !nav || File(NavPath(path), size / 4096 * 8);
}

bool Disk::Recycle(const std::string& path) {
  if (rename(HostPath(path).c_str(), HostPath(path + ".del").c_str()) != 0) return false;
  for (const std::string& companion : {InfPath(path), NavPath(path)})
    if (Exists(companion))
      rename(HostPath(companion).c_str(), HostPath(companion + ".del").c_str());
  return true;
}

bool Disk::Remove(const std::string& path) {
  std::error_code ec;
  return fs::remove_all(HostPath(path), ec) > 0;
}

bool Disk::Replace(const std::string& path, uint64_t size) {
  struct stat st;
  uint32_t stamp = stat(HostPath(path).c_str(), &st) == 0 ? UnixToStamp(st.st_mtime) : 0;
  // Written beside and renamed over the old one, so that the inode surely changes.
  std::string fresh = path + ".replacing";
  if (!File(fresh, size, stamp)) return false;
  return rename(HostPath(fresh).c_str(), HostPath(path).c_str()) == 0;
}

bool Disk::SetStamp(const std::string& path, uint32_t stamp) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = (time_t)StampToUnix(stamp);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, HostPath(path).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool Disk::Exists(const std::string& path) const {
  struct stat st;
  return lstat(HostPath(path).c_str(), &st) == 0;
}

std::vector<std::string> GenerateTree(Disk& disk, const TreeSpec& shape) {
  std::mt19937 random(shape.seed);
  std::vector<std::string> folders = {shape.base};
  disk.Folder(shape.base);
  std::vector<int> depth = {0};
  static const char* const kTitles[] = {"News",        "Film",       "Match",     "Weather",
                                        "Documentary", "Quiz Night", "Late Show", "Cartoons"};
  for (int i = 0; i < shape.folders; i++) {
    int parent;
    do {
      parent = (int)(random() % folders.size());
    } while (depth[parent] >= shape.maxDepth);
    char name[32];
    snprintf(name, sizeof name, "Folder %03d", i);
    folders.push_back(folders[parent] + "/" + name);
    depth.push_back(depth[parent] + 1);
    disk.Folder(folders.back());
  }
  uint32_t base = Stamp(2024, 1, 1, 20, 15);
  for (int i = 0; i < shape.recordings; i++) {
    const std::string& folder = folders[i % folders.size()];
    const char* title = kTitles[random() % 8];
    uint32_t start = base + (uint32_t)(i / 8) * 65536u + (uint32_t)(random() % 4) * 256u;
    char name[96];
    snprintf(name, sizeof name, "%s %04d-%02d-%02d %02d-%02d.rec", title, 2024 + i / 3000,
             1 + i % 12, 1 + i % 28, (start >> 8) & 255, start & 255);
    std::string path = folder + "/" + std::to_string(i) + " " + name;
    if (shape.headers) {
      Header h;
      h.recordingStart = start;
      h.durationMinutes = (uint16_t)(30 + random() % 120);
      h.serviceId = (uint16_t)(100 + random() % 20);
      h.serviceName = "Channel " + std::to_string(h.serviceId - 100);
      h.eventName = title;
      h.eventText = "An episode";
      h.extText = "A longer description of the programme.";
      h.eventStart = start;
      h.eventEnd = start + 256;
      h.eventHours = 1;
      disk.Recording(path, shape.recordingSize, h, true, start);
    } else {
      disk.File(path, shape.recordingSize, start);
    }
  }
  return folders;
}

std::string MakeTempDir(const std::string& tag) {
  std::string pattern = (fs::temp_directory_path() / ("pvr-" + tag + "-XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

bool RemoveTree(const std::string& hostPath) {
  std::error_code ec;
  fs::remove_all(hostPath, ec);
  return !ec;
}

}  // namespace testdisk
