// Random byte sequences, up to the sizes of the fields and path buffers they
// come from, through every text and name function. Each input lies in a heap
// block of exactly its size, so the sanitizer build catches any read or write
// past it.
#include <sys/mount.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lib_test.h"

namespace {

class Fuzz : public LibTest {};

// A random text of 0..maxLength bytes (no zero inside) in a block of exactly
// its size.
std::vector<char> RandomText(std::mt19937& random, size_t maxLength, bool biased) {
  size_t length = random() % (maxLength + 1);
  std::vector<char> text;
  text.reserve(length + 3);
  // Biased texts draw from the bytes that matter: selectors, C1, Latin-1,
  // UTF-8 leads and continuations, path characters.
  static const char interesting[] =
      "\x01\x05\x10\x15\x1F\x80\x8A\x9F\xA0\xC2\xC3\xC5\xCF\xE2\x82"
      "\xAC\xF0\x9F\xBF\xFF/.-:?*\\|\"<>\n .recinfnavdel";
  for (size_t i = 0; i < length; i++) {
    char c;
    do {
      c = biased ? interesting[random() % (sizeof interesting - 1)] : (char)(random() & 0xFF);
    } while (c == 0);
    text.push_back(c);
  }
  text.push_back(0);
  text.shrink_to_fit();
  return text;
}

// A block of exactly `size` bytes holding `bytes` (zeros and all).
std::vector<char> Block(const char* bytes, size_t size) {
  std::vector<char> block(bytes, bytes + size);
  block.shrink_to_fit();
  return block;
}

TEST_F(Fuzz, TextFunctions) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 4000; round++) {
    std::vector<char> text = RandomText(random, round % 2 ? 128 : 512, round % 3 == 0);
    const char* source = text.data();
    size_t length = std::strlen(source);

    // StrToUTF8 reads a selector 0x10 0x00 <table> whole: a lone 0x10 then
    // needs its table byte behind the terminator.
    std::vector<char> dvb(text);
    if (length == 1 && source[0] == 0x10) dvb.push_back(0);
    std::vector<char> utf8(StrToUTF8Size(dvb.data()));
    StrToUTF8(dvb.data(), utf8.data(), (byte)(random() % 18));
    ASSERT_LE(std::strlen(utf8.data()), 3 * length);
    // The result is UTF-8 and converts back without growing.
    std::vector<char> iso(std::strlen(utf8.data()) + 1);
    StrToISO(utf8.data(), iso.data());
    std::vector<char> isoRaw(length + 1);
    StrToISO(source, isoRaw.data());
    char* allocated = nullptr;
    StrToISOAlloc(source, &allocated);
    ASSERT_NE(allocated, nullptr);
    TAP_MemFree(allocated);

    bool latin, hasUTF8;
    GetStringEncoding(source, &latin, &hasUTF8);
    dword characters = strlenUC(source);
    ASSERT_LE(characters, length);
    const char* end = GetUCPos(source, (int)characters + 5);
    ASSERT_EQ(*end, 0);

    std::vector<char> work(text);
    StrMkISO(work.data());
    work = text;
    LowerCase(work.data());
    ASSERT_EQ(std::strlen(work.data()), length);
    work = text;
    DeleteAt(work.data(), (int)(random() % 20) - 2, (int)(random() % 20));
    std::vector<char> grown(text.size() + 8);
    std::memcpy(grown.data(), text.data(), text.size());
    InsertAt(grown.data(), (int)(random() % 200) - 10, "\xC3\xA9xyz");
    ASSERT_EQ(std::strlen(grown.data()), length + 5);

    // Replacing a byte by three needs at most three times the room.
    std::vector<char> replaced(3 * length + 1);
    std::memcpy(replaced.data(), source, length + 1);
    StrReplace(replaced.data(), "a", "bcd");
    std::memcpy(replaced.data(), source, length + 1);
    StrReplace(replaced.data(), "\xC3", "");
    StrReplace(replaced.data(), ".r", "_");
  }
}

// Inputs that once read or wrote past their blocks.
TEST_F(Fuzz, FoundTexts) {
  // The first byte of a three-byte selector and nothing behind it.
  std::vector<char> alone = Block("\x10", 2);
  EXPECT_EQ(SkipCharTableBytes(alone.data()), alone.data() + 1);
  EXPECT_EQ(strlenUC(alone.data()), 0u);
  EXPECT_EQ(GetUCPos(alone.data(), 2), alone.data() + 1);
  bool latin = true, hasUTF8 = true;
  GetStringEncoding(alone.data(), &latin, &hasUTF8);
  EXPECT_FALSE(latin || hasUTF8);
  std::vector<char> iso(2);
  StrToISO(alone.data(), iso.data());
  EXPECT_STREQ(iso.data(), "\x10");
  char* allocated = nullptr;
  StrToISOAlloc(alone.data(), &allocated);
  ASSERT_NE(allocated, nullptr);
  EXPECT_STREQ(allocated, "\x10");
  TAP_MemFree(allocated);
  std::vector<char> work(alone);
  EXPECT_TRUE(StrMkISO(work.data()));
  DeleteAt(work.data(), 0, 1);
  EXPECT_STREQ(work.data(), "\x10");
  std::vector<char> grown = Block("\x10\0\0\0", 4);
  InsertAt(grown.data(), 0, "ab");
  EXPECT_STREQ(grown.data(),
               "\x10"
               "ab");

  // StrToUTF8 makes that text itself when it drops the undefined byte 0xB4 of
  // ISO 8859-6 on both sides of a 0x10.
  std::vector<char> source = Block("\xB4\x10\xB4", 4);
  std::vector<char> converted(StrToUTF8Size(source.data()));
  EXPECT_TRUE(StrToUTF8(source.data(), converted.data(), 6));
  std::vector<char> made = Block(converted.data(), std::strlen(converted.data()) + 1);
  EXPECT_STREQ(made.data(), "\x10");
  EXPECT_EQ(strlenUC(made.data()), 0u);
  EXPECT_EQ(*GetUCPos(made.data(), 1), 0);

  // The zero of the selector 0x10 0x00 <table> does not end the text
  // StrToUTF8 converts, and the size it asks for holds all of it.
  std::string longer = std::string("\x10\x00\x02", 3) + std::string(40, 'A');
  std::vector<char> dvb = Block(longer.c_str(), longer.size() + 1);
  EXPECT_EQ(StrToUTF8Size(dvb.data()), 121u);
  std::vector<char> wide(StrToUTF8Size(dvb.data()));
  EXPECT_FALSE(StrToUTF8(dvb.data(), wide.data(), 0));
  EXPECT_EQ(std::string(wide.data()), std::string(40, 'A'));
  std::vector<char> table = Block("\x10\x00\x02\xA1", 5);
  std::vector<char> one(StrToUTF8Size(table.data()));
  EXPECT_TRUE(StrToUTF8(table.data(), one.data(), 0));
  EXPECT_STREQ(one.data(), "\xC4\x84");
}

// A description file whose model has more recording streams than the
// firmware's tables have rows: the slots stop at the firmware's four.
TEST_F(Fuzz, FoundDescriptionFiles) {
  Make("/mnt/hd/DataFiles/r.rec");
  Make("/mnt/hd/DataFiles/other.rec");
  TYPE_RecInfo info = {};
  info.recType = RECTYPE_Normal;
  std::strcpy(info.fileName, "r.rec");
  ASSERT_TRUE(emu::SetRecording(3, info, "/mnt/hd/DataFiles/r.rec"));
  const struct {
    byte streams;
    byte slots;
  } cases[] = {{0, 2}, {4, 4}, {5, 4}, {255, 4}};
  ASSERT_EQ(config_.systemId, 22010);
  for (const auto& c : cases) {
    std::string dat(370, '\0');
    dat[0] = 0x78, dat[1] = 0x56, dat[2] = 0x34, dat[3] = 0x12;
    dat[12] = 1;
    dat[20] = (char)0xFA, dat[21] = 0x55;  // 22010, this recorder's system id
    dat[344] = (char)c.streams;
    ASSERT_TRUE(testenv::WriteFile("/mnt/hd/ProgramFiles/Settings/FirmwareTMS.dat", dat));
    TAP_MemFree(FWDATBin);
    FWDATBin = nullptr;
    FWDATSize = 0;
    RecSlots = 0;
    SCOPED_TRACE(c.streams);
    EXPECT_EQ(HDD_NumberOfRECSlots(), c.slots);
    TYPE_File *a = nullptr, *b, *d;
    EXPECT_EQ(HDD_GetRecSlotFiles(3, &a, &b, &d), c.slots == 4);
    EXPECT_FALSE(HDD_GetRecSlotFiles(4, &a, &b, &d));
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(HDD_isFileInUse("/DataFiles/r.rec"), c.slots == 4 ? 3 + 3 : 0);
    EXPECT_EQ(HDD_isFileInUse("/DataFiles/other.rec"), 0);
  }
}

// Mount tables the kernel would not write: a zero byte inside a line, a
// device name longer than a path buffer, no line feed at the end. Each entry
// counts on its own.
TEST_F(Fuzz, FoundMountTables) {
  const std::string table = "/dev/hd /mnt/hd ext3 rw 0 0\n" + std::string("odd\0dev", 7) +
                            " /mnt/odd tmpfs rw 0 0\n"
                            "/dev/next /mnt/next tmpfs rw 0 0\n" +
                            std::string(600, 'd') +
                            " /mnt/long tmpfs rw 0 0\n"
                            "/dev/last /mnt/last tmpfs rw 0 0";
  ASSERT_TRUE(testenv::WriteFile("/mnt/hd/mounts", table));
  const std::string own = "/proc/" + std::to_string(getpid()) + "/mounts";
  ASSERT_EQ(mount("/mnt/hd/mounts", own.c_str(), nullptr, MS_BIND, nullptr), 0) << own;
  char mountPoint[PATH_BUFFER_SIZE], device[PATH_BUFFER_SIZE];
  const struct {
    const char *path, *mountPoint, *device;
  } cases[] = {{"/DataFiles/a.rec", "/mnt/hd/", "/dev/hd/"},
               {"/mnt/odd/a.rec", "/mnt/odd/", ""},
               {"/mnt/next/a.rec", "/mnt/next/", "/dev/next/"},
               {"/mnt/long/a.rec", "/mnt/long/", ""},
               {"/mnt/last/a.rec", "/mnt/last/", "/dev/last/"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(HDD_FindMountPointDevice(c.path, mountPoint, device)) << c.path;
    EXPECT_STREQ(mountPoint, c.mountPoint);
    EXPECT_STREQ(device, c.device);
  }
  umount2(own.c_str(), MNT_DETACH);
}

TEST_F(Fuzz, NameAndPathFunctions) {
  std::mt19937 random(7122026);
  for (int round = 0; round < 3000; round++) {
    std::vector<char> text = RandomText(random, 511, round % 2 == 0);
    const char* source = text.data();
    size_t length = std::strlen(source);
    int flags = (int)(random() % 16);

    for (size_t i = 0; i < length; i++) isLegalChar(source + i, flags);
    char cleaned[512];
    ValidFileName(source, flags, cleaned, sizeof cleaned);
    ASSERT_LT(std::strlen(cleaned), 130u);
    std::vector<char> work(text);
    MakeValidFileName(work.data(), flags);

    char folder[512], name[512], extension[512];
    int index;
    bool recording, recycled;
    SeparateFileNameComponents(source, folder, name, extension, &index, &recording, &recycled);
    ASSERT_GE(index, 0);
    ASSERT_LE(index, 9);

    char converted[512];
    for (int form = 0; form <= 4; form++) {
      ConvertPathType(source, converted, form);
      ASSERT_LT(std::strlen(converted), 512u);
    }
    GetPathType(source);
    HDD_Exist(source);
    StringEndsWith(source, ".rec");
    char mount[512], device[512];
    HDD_FindMountPointDevice(source, mount, device);
    uint64_t inode, size;
    HDD_GetFileSizeAndInode(source, &inode, &size);
    HDD_isFileInUse(source);
    CheckSameMount(source, "/mnt/hd/");
    HDD_GetInodeByFolderAndFile("/DataFiles", source);
    if (HDD_ChangeDir(source)) {
      ASSERT_EQ(HDD_ChangeDir("/"), 1);
    }
    if (length > 0 && source[0] == '/') {
      char unique[512];
      std::memcpy(unique, source, length + 1);
      MakeUniqueFileName(unique);
      ASSERT_LT(std::strlen(unique), 512u);
    }
  }
}

TEST_F(Fuzz, RenamingToRandomNamesKeepsTheRecordingWhole) {
  const std::string folder = "/mnt/hd/DataFiles/";
  ASSERT_TRUE(testenv::WriteFile(folder + "f.rec", "rec"));
  ASSERT_TRUE(testenv::WriteFile(folder + "f.rec.inf", "inf"));
  ASSERT_TRUE(testenv::WriteFile(folder + "f.rec.nav", "nav"));
  ASSERT_TRUE(testenv::WriteFile(folder + "taken.rec", "other"));
  std::string current = "f.rec";
  int renames = 0;
  std::mt19937 random(1965);
  for (int round = 0; round < 400; round++) {
    std::vector<char> text = RandomText(random, 120, round % 2 == 0);
    std::string name = text.data();
    if (name.find('/') != std::string::npos) continue;
    if (round % 5 == 0) name += ".rec";
    if (round % 7 == 0) name = "taken.rec";
    std::string from = "/DataFiles/" + current;
    std::string to = "/DataFiles/" + name;
    int renamed = HDD_Rename(from.c_str(), to.c_str());
    // Whatever happened, nothing was lost or replaced.
    std::vector<std::string> names = testenv::ListDir(folder);
    ASSERT_EQ(names.size(), 4u) << "round " << round;
    ASSERT_EQ(testenv::ReadFile(folder + "taken.rec"), "other");
    if (!renamed) {
      ASSERT_EQ(testenv::ReadFile(folder + current), "rec");
      continue;
    }
    // The recording is the one file holding "rec"; its companions follow it
    // unless it lost its recording suffix.
    std::string moved;
    for (const std::string& n : names)
      if (testenv::ReadFile(folder + n) == "rec") moved = n;
    ASSERT_FALSE(moved.empty());
    renames++;
    if (HDD_isRecFileName(moved.c_str()) && HDD_isRecFileName(current.c_str())) {
      ASSERT_EQ(testenv::ReadFile(folder + moved + ".inf"), "inf") << moved;
      ASSERT_EQ(testenv::ReadFile(folder + moved + ".nav"), "nav") << moved;
    }
    current = moved;
  }
  EXPECT_GT(renames, 100);
}

TEST_F(Fuzz, LoggingRandomMessages) {
  std::mt19937 random(2000);
  for (int round = 0; round < 200; round++) {
    std::vector<char> text = RandomText(random, 1200, round % 2 == 0);
    LogEntry("/ProgramFiles/fuzz.log", "F", true, TIMESTAMP_YMDHMS, text.data());
    LogEntryVexLibPrintf(true, "%s", text.data());
  }
  EXPECT_FALSE(emu::NetOutput().empty());
}

}  // namespace
