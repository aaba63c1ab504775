// testdisk.h - builds recorder disks on the host: the folder that the emulated
// recorder mounts as /mnt/hd, with folders, recordings of any apparent size (sparse),
// their ".inf" headers in the recorder's layouts (any family, either byte order),
// ".nav" files and recycled names. Shared by tests, benchmarks and the demo disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testdisk {

// Packed stamp (MJD << 16 | hour << 8 | minute) of a calendar date and time.
uint32_t Stamp(int year, int month, int day, int hour = 0, int minute = 0);
// Seconds since 1970 (UTC) of a packed stamp, and back.
int64_t StampToUnix(uint32_t stamp);
uint32_t UnixToStamp(int64_t seconds);

// Recorder families, numbered as the firmware description file numbers them.
enum Family {
  FAMILY_S = 1,
  FAMILY_T = 2,
  FAMILY_C = 3,
  FAMILY_T5700 = 4,
  FAMILY_TMSS = 5,
  FAMILY_TMST = 6,
  FAMILY_TMSC = 7,
  FAMILY_T5800 = 8,
  FAMILY_TF7k7HDPVR = 11,
};

// The contents of a recording header.
struct Header {
  int family = FAMILY_TMSS;
  bool bigEndian = false;
  int version = -1;  // -1: 0x8000, or 0x5000 written big-endian (reads 80 little-endian)
  std::string magic = "TFrc";
  uint32_t recordingStart = 0;  // packed stamp
  uint16_t durationMinutes = 0;
  uint8_t flags = 2;  // bits 0-1: 1 crypted, 2 uncrypted, 3 partly crypted
  uint8_t serviceType = 0;
  uint16_t serviceId = 0;
  std::string serviceName;
  uint8_t eventHours = 0, eventMinutes = 0;
  uint32_t eventStart = 0, eventEnd = 0;  // packed stamps
  std::string eventName;                  // the title; its length is written unless nameLength >= 0
  std::string eventText;                  // short text, written right after the title
  int nameLength = -1;                    // title length as written (any 0..255)
  uint8_t eventByte = 0;
  std::string extText;     // written as is (zero bytes and "\\n" included)
  int extTextLength = -1;  // length as written; -1: extText's length
  std::vector<uint32_t> bookmarks;
  uint32_t resumeBlock = 0;
  int fileSize = -1;  // bytes written; -1: the family's header size
};

// Where a family keeps its fields (the same layouts the recorder's readers use).
struct Layout {
  int serviceType, serviceId, serviceName;
  int eventDuration, eventStart, eventEnd, eventNameLength, eventText;
  int extTextLength, extText, extTextMax;
  int bookmarkCount;  // -1: no count field
  int bookmarks, bookmarkBytes, resume, size;
};
const Layout* LayoutOf(int family);  // null for families without a layout

std::vector<uint8_t> EncodeHeader(const Header& header);

// A disk below a host folder. Paths are firmware paths ("/DataFiles/Movies/x.rec").
// A new disk describes its recorder as the emulated one (system id 22010) in
// /ProgramFiles/Settings/FirmwareTMS.dat, unless the disk already has that file;
// remove or rewrite it for another recorder.
class Disk {
 public:
  static constexpr const char* kFirmwareDat = "/ProgramFiles/Settings/FirmwareTMS.dat";
  explicit Disk(std::string root);
  const std::string& Root() const { return root_; }
  std::string HostPath(const std::string& path) const;

  bool Folder(const std::string& path);  // with all missing parents
  // A file of `size` apparent bytes (sparse), dated `stamp` when non-zero.
  bool File(const std::string& path, uint64_t size = 0, uint32_t stamp = 0);
  bool Text(const std::string& path, const std::string& content);
  bool Bytes(const std::string& path, const std::vector<uint8_t>& content);
  // A recording with its header (path + ".inf", or x.rec.inf.del for x.rec.del) and,
  // when `nav`, its ".nav".
  bool Recording(const std::string& path, uint64_t size, const Header& header, bool nav = true,
                 uint32_t stamp = 0);
  bool Inf(const std::string& recordingPath, const Header& header);
  static std::string InfPath(const std::string& recordingPath);
  static std::string NavPath(const std::string& recordingPath);
  // Moves a recording and its companions to their recycled names (".del").
  bool Recycle(const std::string& path);
  bool Remove(const std::string& path);                  // file or whole folder
  bool Replace(const std::string& path, uint64_t size);  // new file (new inode), same name
  bool SetStamp(const std::string& path, uint32_t stamp);
  bool Exists(const std::string& path) const;

 private:
  std::string root_;
};

// A generated tree for benchmarks, demos and randomised tests.
struct TreeSpec {
  std::string base = "/DataFiles";  // where the tree grows
  int folders = 100;                // below `base`
  int recordings = 10000;           // spread over the root and the folders
  int maxDepth = 3;
  bool headers = true;
  uint64_t recordingSize = 1ull << 30;  // apparent size (sparse)
  uint32_t seed = 1;
};
// Returns the firmware paths of the folders made (`base` first).
std::vector<std::string> GenerateTree(Disk& disk, const TreeSpec& shape);

// A fresh empty folder below the system's temporary folder, and its removal.
std::string MakeTempDir(const std::string& tag);
bool RemoveTree(const std::string& hostPath);

}  // namespace testdisk
