// Random byte sequences, up to the sizes of the fields and path buffers they
// come from, through every text and name function. Each input lies in a heap
// block of exactly its size, so the sanitizer build catches any read or write
// past it.
#include <cstring>
#include <random>
#include <vector>

#include "lib_test.h"

namespace {

class Fuzz : public LibTest {};

// A random text of 0..maxLength bytes (no zero inside) in a block of exactly
// its size. A DVB selector 0x10 promises two more bytes, which the block then
// holds.
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
  if (length > 0 && text[0] == 0x10) {
    text.push_back(0);
    text.push_back(0);
  }
  text.shrink_to_fit();
  return text;
}

TEST_F(Fuzz, TextFunctions) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 4000; round++) {
    std::vector<char> text = RandomText(random, round % 2 ? 128 : 512, round % 3 == 0);
    const char* source = text.data();
    size_t length = std::strlen(source);

    std::vector<char> utf8(3 * length + 1);
    StrToUTF8(source, utf8.data(), (byte)(random() % 18));
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
