// Recording headers: the direct reader, the general decoder of every family in both
// byte orders, and damaged or hostile headers.
#include <cstring>
#include <random>

#include "catalogue_test.h"
#include "firmware_dat.h"

namespace {

using testdisk::Header;
using testdisk::Stamp;

Header Sample() {
  Header h;
  h.recordingStart = Stamp(2026, 3, 4, 20, 15);
  h.durationMinutes = 95;
  h.flags = 0x06;  // uncrypted, plus another flag bit
  h.serviceType = 0;
  h.serviceId = 200;
  h.serviceName = "A Service Name Too Long For It";
  h.eventHours = 1;
  h.eventMinutes = 30;
  h.eventStart = Stamp(2026, 3, 4, 20, 15);
  h.eventEnd = Stamp(2026, 3, 4, 21, 45);
  h.eventName = "The Title";
  h.eventText = "Short text";
  h.eventByte = 7;
  h.extText = "Extended";
  h.bookmarks = {100, 2000, 30000};
  h.resumeBlock = 4321;
  return h;
}

class HeaderTest : public CatalogueTest {
 protected:
  // The line of `name` in the root, with its header read.
  FileRecord* Read(const std::string& name) {
    ClaimLine(name);
    GotoPath("/DataFiles");
    LoadHeaderInfo(name.c_str(), 0, 1);
    return FileSlot(0, 1);
  }
  void ClaimLine(const std::string& name) {
    FileRecord* r = FileSlot(0, 1);
    memset(r, 0x5A, sizeof *r);  // stale contents must all be overwritten or cleared
    snprintf(r->name, sizeof r->name, "%s", name.c_str());
    strcpy(r->folderPath, "/DataFiles");
    r->stamp = 77;
  }
};

TEST_F(HeaderTest, ReadsTheFieldsOfTheRecorderFamily) {
  TYPE_TapChInfo a = {}, b = {};
  a.svcId = 100;
  b.svcId = 200;
  emu::SetChannels({a, b}, {});
  disk->Recording("/DataFiles/x.rec", 10, Sample());
  FileRecord* r = Read("x.rec");
  EXPECT_EQ(r->stamp, Stamp(2026, 3, 4, 20, 15));
  EXPECT_EQ(r->durationMinutes, 95u);
  EXPECT_EQ(r->encryption, 0x06);
  EXPECT_EQ(r->serviceNumber, 1);
  EXPECT_EQ(r->serviceType, 0u);
  EXPECT_STREQ(r->serviceName, "A Service Name Too Lon");
  EXPECT_STREQ(r->appAuthor, "");
  EXPECT_EQ(r->appId, 0u);
  EXPECT_EQ(r->eventNameLength, 9u);
  EXPECT_EQ(r->eventByte, 7u);
  EXPECT_STREQ(r->eventName, "The Title");
  EXPECT_STREQ(r->eventDescription, "Short text");
  EXPECT_EQ(r->extTextLength, 8u);
  EXPECT_STREQ(r->extText, "Extended");
  EXPECT_EQ(r->eventDurationMinutes, 90);
  EXPECT_EQ(r->eventStartMjd, Stamp(2026, 3, 4) >> 16);
  EXPECT_EQ(r->eventStartHour, 20u);
  EXPECT_EQ(r->eventStartMinute, 15u);
  EXPECT_EQ(r->eventEndHour, 21u);
  EXPECT_EQ(r->eventEndMinute, 45u);
}

TEST_F(HeaderTest, MissingForeignOrSkippedHeadersLeaveTheDirectoryData) {
  disk->File("/DataFiles/none.rec", 10);
  FileRecord* r = Read("none.rec");
  EXPECT_EQ(r->stamp, 77u);
  EXPECT_EQ(r->serviceNumber, -1);
  EXPECT_STREQ(r->eventName, "");
  EXPECT_STREQ(r->serviceName, "");
  EXPECT_EQ(r->extTextLength, 0u);
  // A slot outside the folder's lines is not read into the next folder's.
  FileRecord outside;
  memset(&outside, 0, sizeof outside);
  FileRecord* kept[2] = {FileSlot(1, 0), FileSlot(0, MAX_SLOTS - 1)};
  FileSlot(1, 0) = FileSlot(0, MAX_SLOTS - 1) = &outside;
  LoadHeaderInfo("none.rec", 0, MAX_SLOTS);
  LoadHeaderInfo("none.rec", 1, -1);
  FileSlot(1, 0) = kept[0];
  FileSlot(0, MAX_SLOTS - 1) = kept[1];
  EXPECT_EQ(outside.serviceNumber, 0);

  Header foreign = Sample();
  foreign.magic = "XXXX";
  disk->Recording("/DataFiles/foreign.rec", 10, foreign);
  r = Read("foreign.rec");
  EXPECT_EQ(r->stamp, 77u);
  EXPECT_STREQ(r->eventName, "");

  disk->Recording("/DataFiles/boost.rec", 10, Sample());
  InfPerformanceBoost = 1;
  r = Read("boost.rec");
  InfPerformanceBoost = 0;
  EXPECT_EQ(r->stamp, 77u);
  EXPECT_EQ(r->serviceNumber, -1);
}

TEST_F(HeaderTest, TitleLengthsAndExtendedTextAreClamped) {
  Header h = Sample();
  h.eventName = "";
  h.eventText = "Only text";
  disk->Recording("/DataFiles/a.rec", 10, h);
  FileRecord* r = Read("a.rec");
  EXPECT_STREQ(r->eventName, "");
  EXPECT_STREQ(r->eventDescription, "Only text");

  h = Sample();
  h.extText = std::string(1024, 'e');
  h.extTextLength = 5000;
  disk->Recording("/DataFiles/b.rec", 10, h);
  r = Read("b.rec");
  EXPECT_EQ(r->extTextLength, 1024u);
  EXPECT_EQ(strlen(r->extText), 1023u);  // the field keeps its terminator
  // A header that ends before the extended text has none, whatever was read before.
  h = Sample();
  h.fileSize = 300;
  disk->Recording("/DataFiles/short.rec", 10, h);
  r = Read("short.rec");
  EXPECT_STREQ(r->eventName, "The Title");
  EXPECT_EQ(r->extTextLength, 0u);
  EXPECT_STREQ(r->extText, "");

  h = Sample();
  h.eventName = std::string(255, 't');
  h.eventText = std::string(100, 'd');
  disk->Recording("/DataFiles/c.rec", 10, h);
  r = Read("c.rec");
  EXPECT_EQ(strlen(r->eventName), 255u);
  EXPECT_EQ(strlen(r->eventDescription), 18u);  // what is left of the 273 shared bytes
}

TEST_F(HeaderTest, RecycledRecordingsKeepTheirMarkerLast) {
  char inf[127], nav[127];
  MakeInfNavNames("x.rec.del", inf, nav);
  EXPECT_STREQ(inf, "x.rec.inf.del");
  EXPECT_STREQ(nav, "x.rec.nav.del");
  MakeInfNavNames("x.rec", inf, nav);
  EXPECT_STREQ(inf, "x.rec.inf");
  EXPECT_STREQ(nav, "x.rec.nav");
  std::string name(122, 'n');  // + ".inf" is 126: fits
  MakeInfNavNames(name.c_str(), inf, nav);
  EXPECT_EQ(strlen(inf), 126u);
  name += "n";  // 127 would not fit
  MakeInfNavNames(name.c_str(), inf, nav);
  EXPECT_STREQ(inf, "");
  EXPECT_STREQ(nav, "");

  disk->Recording("/DataFiles/y.rec.del", 10, Sample());
  EXPECT_TRUE(disk->Exists("/DataFiles/y.rec.inf.del"));
  FileRecord* r = Read("y.rec.del");
  EXPECT_STREQ(r->eventName, "The Title");
}

TEST_F(HeaderTest, ResetClearsOnlyTheResumePosition) {
  disk->Recording("/DataFiles/r.rec", 10, Sample());
  GotoPath("/DataFiles");
  ResetInfStartPosition("r.rec");
  std::string bytes = testenv::ReadFile(disk->HostPath("/DataFiles/r.rec.inf"));
  std::vector<uint8_t> expected = testdisk::EncodeHeader(Sample());
  memset(expected.data() + 2124, 0, 4);
  ASSERT_EQ(bytes.size(), expected.size());
  EXPECT_EQ(memcmp(bytes.data(), expected.data(), expected.size()), 0);

  // A short header is not padded out.
  Header shortOne = Sample();
  shortOne.fileSize = 400;
  disk->Recording("/DataFiles/s.rec", 10, shortOne);
  ResetInfStartPosition("s.rec");
  EXPECT_EQ(testenv::ReadFile(disk->HostPath("/DataFiles/s.rec.inf")).size(), 400u);
  ResetInfStartPosition("missing.rec");  // nothing happens
}

std::vector<uint8_t> Buffer(const Header& h) {
  std::vector<uint8_t> b = testdisk::EncodeHeader(h);
  b.resize(RECHEADER_BUFFER_SIZE, 0);
  return b;
}

TEST(HeaderDecode, EveryFamilyInBothByteOrders) {
  for (int family : {1, 2, 3, 4, 5, 6, 7, 8, 11}) {
    for (bool big : {false, true}) {
      SCOPED_TRACE(testing::Message() << "family " << family << (big ? " big" : " little"));
      Header h = Sample();
      h.family = family;
      h.bigEndian = big;
      h.extText = "line\\nnext";
      h.extText.push_back('\0');
      h.extText += "tail";
      std::vector<uint8_t> b = Buffer(h);
      RECHeaderInfo info;
      ASSERT_EQ(HDD_DecodeRECHeader(b.data(), &info, family), 1);
      EXPECT_EQ(WrongEndian, big ? 1 : 0);
      EXPECT_EQ(info.version, big ? 0x5000 : 0x8000);
      EXPECT_EQ(info.resumeBlock, 4321u);
      EXPECT_EQ(info.recordingStart, h.recordingStart);
      EXPECT_EQ(info.recordingDuration, 95);
      EXPECT_EQ(info.serviceId, 200);
      EXPECT_EQ(info.eventEnd, h.eventEnd);
      EXPECT_EQ(info.eventNameLength, 9);
      EXPECT_EQ(info.bookmarkCount, 3u);
      EXPECT_EQ(info.bookmarks[2], 30000u);
      EXPECT_EQ(std::string(info.extText), "line\x8Anext tail");
    }
  }
  // The other versions a big-endian recorder writes are told apart as well.
  for (int version : {0x8000, 0x5010}) {
    Header h = Sample();
    h.bigEndian = true;
    h.version = version;
    std::vector<uint8_t> b = Buffer(h);
    RECHeaderInfo info;
    ASSERT_EQ(HDD_DecodeRECHeader(b.data(), &info, h.family), 1);
    EXPECT_EQ(WrongEndian, 1) << version;
    EXPECT_EQ(info.version, version);
    EXPECT_EQ(info.resumeBlock, 4321u);
  }
}

TEST(HeaderDecode, MagicFamiliesAndSystemType) {
  std::vector<uint8_t> b = Buffer(Sample());
  RECHeaderInfo info;
  for (int family : {9, 10, 12, -1}) EXPECT_EQ(HDD_DecodeRECHeader(b.data(), &info, family), 0);
  EXPECT_EQ(HDD_DecodeRECHeader(b.data(), &info, 13), 1);
  EXPECT_EQ(info.magic, 0x54467263u);
  EXPECT_EQ(info.resumeBlock, 0u);  // only magic and version
  // Without a firmware description file the system type is unknown: no decoding.
  // (A test before this one in the same process may have left one loaded.)
  if (FWDATBin) TAP_MemFree(FWDATBin);
  FWDATBin = nullptr;
  SystemType = ST_UNKNOWN;
  EXPECT_EQ(HDD_DecodeRECHeader(b.data(), &info, 0), 0);
  b[0] = 'X';
  EXPECT_EQ(HDD_DecodeRECHeader(b.data(), &info, 5), 0);
  EXPECT_EQ(HDD_DecodeRECHeader(nullptr, &info, 5), 0);
}

TEST(HeaderDecode, WordsInBothOrders) {
  const uint8_t bytes[4] = {0x12, 0x34, 0x56, 0x78};
  EXPECT_EQ(getWord(bytes, 0), 0x3412);
  EXPECT_EQ(getWord(bytes, 1), 0x1234);
  EXPECT_EQ(getDword(bytes, 0), 0x78563412u);
  EXPECT_EQ(getDword(bytes, 1), 0x12345678u);
  char text[] = {'a', 0, '\\', 'n', 'b', 0};
  EXPECT_EQ(CleanExtendedText(text, 6), 5);
  EXPECT_EQ(std::string(text),
            "a \x8A"
            "b");
}

// Any bytes in a 5000-byte buffer, any family: the decoder stays inside it (checked by
// the sanitizers) and keeps its counts within its tables.
TEST(HeaderDecode, RandomBuffers) {
  std::mt19937 random(4);
  std::vector<uint8_t> b(RECHEADER_BUFFER_SIZE);
  for (int round = 0; round < 3000; round++) {
    for (uint8_t& c : b) c = (uint8_t)random();
    memcpy(b.data(), "TFrc", 4);
    if (round % 2) b[4] = 80, b[5] = 0;
    RECHeaderInfo info;
    int family = (int)(random() % 15);
    HDD_DecodeRECHeader(b.data(), &info, family);
    EXPECT_LE(info.bookmarkCount, 177u);
    EXPECT_LE(info.extTextLength, 2048);
    EXPECT_LT(strlen(info.extText), sizeof info.extText);
  }
}

// Damaged and hostile header files of any length: the reader clamps every length.
TEST_F(HeaderTest, RandomHeaderFiles) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; round++) {
    size_t length = random() % 3000;
    std::vector<uint8_t> bytes(length);
    for (uint8_t& c : bytes) c = (uint8_t)random();
    if (length >= 4 && round % 3) memcpy(bytes.data(), "TFrc", 4);
    disk->Bytes("/DataFiles/f.rec.inf", bytes);
    FileRecord* r = Read("f.rec");
    ASSERT_LE(r->extTextLength, 1024u);
    ASSERT_LT(strlen(r->extText), sizeof r->extText);
    ASSERT_LT(strlen(r->eventName), sizeof r->eventName);
    ASSERT_LT(strlen(r->eventDescription), sizeof r->eventDescription);
    ASSERT_LE(strlen(r->serviceName), 22u);
    if (length < 4 || memcmp(bytes.data(), "TFrc", 4) != 0) {
      ASSERT_EQ(r->stamp, 77u);
    }
  }
}

}  // namespace

namespace {

// Without a system type the decoder asks the firmware description file for it.
TEST_F(HeaderTest, SystemTypeFromTheFirmwareDescription) {
  testdisk::FirmwareDat dat;
  testdisk::FirmwareDatModel model;
  model.sysId = 22010;
  model.systemType = 7;  // the cable layout
  dat.models.push_back(model);
  ASSERT_TRUE(
      testdisk::WriteFirmwareDat(disk->HostPath("/ProgramFiles/Settings/FirmwareTMS.dat"), dat));
  Header h = Sample();
  h.family = testdisk::FAMILY_TMSC;
  std::vector<uint8_t> b = Buffer(h);
  RECHeaderInfo info;
  // A real cable recorder's header: service and event where the satellite family
  // keeps them, bookmarks and resume position four bytes earlier.
  ASSERT_EQ(memcmp(b.data() + 42, "A Service", 9), 0);
  ASSERT_EQ(b[70], 30);
  ASSERT_EQ(b[85], 9);
  ASSERT_EQ(memcmp(b.data() + 87, "The Title", 9), 0);
  ASSERT_EQ(b[2120], 4321 & 255);
  ASSERT_EQ(HDD_DecodeRECHeader(b.data(), &info, 0), 1);
  EXPECT_EQ(info.resumeBlock, 4321u);
  EXPECT_EQ(info.bookmarkCount, 3u);
  EXPECT_EQ(info.bookmarks[1], 2000u);
  EXPECT_EQ(std::string(info.serviceName), "A Service Name Too Long ");
  EXPECT_EQ(info.serviceId, 200);
  EXPECT_EQ(info.eventDuration, 0x011E);
  EXPECT_EQ(info.eventNameLength, 9);
  EXPECT_EQ(std::string(info.eventName, 19), "The TitleShort text");
}

}  // namespace
