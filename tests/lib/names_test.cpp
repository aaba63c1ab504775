// File-name utilities that need no disk: components, suffixes, legal
// characters and cleaning, folder tests.
#include <cstring>
#include <string>

#include "lib_test.h"

namespace {

class Names : public LibTest {};

struct Components {
  char folder[512], name[512], extension[512];
  int index = -1;
  bool recording = false, recycled = false;
  explicit Components(const char* path) {
    SeparateFileNameComponents(path, folder, name, extension, &index, &recording, &recycled);
  }
};

TEST_F(Names, ComponentsOfRecordingsAndCompanions) {
  Components a("/mnt/hd/DataFiles/Movies/x.rec");
  EXPECT_STREQ(a.folder, "/mnt/hd/DataFiles/Movies/");
  EXPECT_STREQ(a.name, "x");
  EXPECT_STREQ(a.extension, ".rec");
  EXPECT_EQ(a.index, 0);
  EXPECT_TRUE(a.recording);
  EXPECT_FALSE(a.recycled);

  // A companion splits like its recording.
  for (const char* companion : {"/f/x-3.rec.inf", "/f/x-3.rec.nav", "/f/x-3.rec"}) {
    Components c(companion);
    EXPECT_STREQ(c.folder, "/f/") << companion;
    EXPECT_STREQ(c.name, "x") << companion;
    EXPECT_STREQ(c.extension, ".rec") << companion;
    EXPECT_EQ(c.index, 3) << companion;
    EXPECT_TRUE(c.recording) << companion;
  }

  Components recycled("x-2.mpg.nav.del");
  EXPECT_STREQ(recycled.folder, "");
  EXPECT_STREQ(recycled.name, "x");
  EXPECT_STREQ(recycled.extension, ".mpg");
  EXPECT_EQ(recycled.index, 2);
  EXPECT_TRUE(recycled.recording);
  EXPECT_TRUE(recycled.recycled);

  // Only a single digit 1..9 is an index.
  Components twelve("x-12.rec");
  EXPECT_STREQ(twelve.name, "x-12");
  EXPECT_EQ(twelve.index, 0);
  Components zero("x-0.rec");
  EXPECT_STREQ(zero.name, "x-0");
  EXPECT_EQ(zero.index, 0);

  Components plain("/a.b/readme");
  EXPECT_STREQ(plain.name, "readme");
  EXPECT_STREQ(plain.extension, "");
  EXPECT_FALSE(plain.recording);
  Components photo("/p/holiday-1.jpg.inf");  // not a recording's companion
  EXPECT_STREQ(photo.name, "holiday-1.jpg");
  EXPECT_STREQ(photo.extension, ".inf");
  EXPECT_FALSE(photo.recording);

  // Only `name` is required.
  char name[512];
  SeparateFileNameComponents("/x/y.rec", nullptr, name, nullptr, nullptr, nullptr, nullptr);
  EXPECT_STREQ(name, "y");
  // Without it nothing is taken apart, not even the folder.
  char folder[512];
  SeparateFileNameComponents("/x/y.rec", folder, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_STREQ(folder, "");
}

TEST_F(Names, SuffixesAndRecordingNames) {
  EXPECT_TRUE(StringEndsWith("x.rec", ".rec"));
  EXPECT_TRUE(StringEndsWith("x.rec", "x.rec"));
  EXPECT_FALSE(StringEndsWith("rec", ".rec"));
  EXPECT_FALSE(StringEndsWith("x.rec", ""));
  EXPECT_FALSE(StringEndsWith("", ".rec"));
  EXPECT_FALSE(StringEndsWith(nullptr, ".rec"));
  EXPECT_TRUE(HDD_isRecFileName("a.mpg"));
  EXPECT_FALSE(HDD_isRecFileName("a.rec.inf"));
  EXPECT_FALSE(HDD_isRecFileName(nullptr));
}

TEST_F(Names, LegalCharacters) {
  auto legal = [](int c, int flags) {
    char text[2] = {(char)c, 0};
    return isLegalChar(text, flags);
  };
  EXPECT_FALSE(isLegalChar(nullptr, 0));
  EXPECT_TRUE(legal('a', 15));
  // Flag 1: control bytes (line feed passes) and the C1 bytes but 128, 138,
  // 145, 146.
  EXPECT_FALSE(legal(1, 1));
  EXPECT_TRUE(legal(10, 1));
  for (int c : {127, 129, 137, 139, 144, 147, 159}) EXPECT_FALSE(legal(c, 1)) << c;
  for (int c : {128, 138, 145, 146, 160, 0xE9}) EXPECT_TRUE(legal(c, 1)) << c;
  EXPECT_TRUE(isLegalChar("\xC3\xA9", 1));
  // Flag 2: line feed and 138.
  EXPECT_FALSE(legal(10, 2));
  EXPECT_FALSE(legal(138, 2));
  EXPECT_TRUE(legal(1, 2));
  // Flag 4: characters reserved in file names.
  for (char c : std::string("\"*/:<>?\\|")) EXPECT_FALSE(legal((byte)c, 4)) << c;
  EXPECT_TRUE(legal('-', 4));
  // Flag 8: printable ASCII only.
  EXPECT_FALSE(isLegalChar("\xC3\xA9", 8));
  EXPECT_FALSE(legal(127, 8));
  EXPECT_TRUE(legal('~', 8));
}

TEST_F(Names, CleaningNames) {
  char out[512];
  ValidFileName(
      "a:b?c\x01"
      "d\xC3\xA9.rec",
      1 | 4, out, sizeof out);
  EXPECT_STREQ(out, "abcd\xC3\xA9.rec");
  ValidFileName("a\xC3\xA9z", 8, out, sizeof out);
  EXPECT_STREQ(out, "az");
  // Too long a source, no source, no room: empty.
  strcpy(out, "old");
  ValidFileName("abcdef", 1, out, 6);
  EXPECT_STREQ(out, "");
  strcpy(out, "old");
  ValidFileName("", 1, out, sizeof out);
  EXPECT_STREQ(out, "");
  ValidFileName("abc", 1, nullptr, 10);
  strcpy(out, "old");
  ValidFileName("abc", 1, out, 1);  // room for the terminator only
  EXPECT_STREQ(out, "");
  strcpy(out, "old");
  ValidFileName("abc", 1, out, 0);  // a buffer of no bytes is not written
  EXPECT_STREQ(out, "old");
  // The output stops at 126 bytes, with multi-byte characters whole.
  std::string longName(125, 'a');
  longName +=
      "\xE2\x82\xAC"
      "bcd";
  ValidFileName(longName.c_str(), 1, out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(125, 'a') + "\xE2\x82\xAC");
  ValidFileName(std::string(130, 'a').c_str(), 1, out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(126, 'a'));

  char name[512] =
      "Tatort: Mord?  \x7F"
      "im\n Zug|";
  MakeValidFileName(name, 1);
  MakeValidFileName(name, 4);
  EXPECT_STREQ(name, "Tatort Mord  im\n Zug");
  MakeValidFileName(name, 8);
  EXPECT_STREQ(name, "Tatort Mord  im Zug");
}

TEST_F(Names, FolderTests) {
  EXPECT_TRUE(InDataFilesFolder("/DataFiles"));
  EXPECT_FALSE(InDataFilesFolder("/DataFiles/"));
  EXPECT_FALSE(InDataFilesFolder(nullptr));
  EXPECT_TRUE(InDataFilesSubFolder("/DataFiles/Movies"));
  EXPECT_FALSE(InDataFilesSubFolder("/DataFiles"));
  EXPECT_FALSE(InDataFilesSubFolder("/DataFilesX/a"));
  EXPECT_TRUE(InProgramFilesFolder("/ProgramFiles"));
  EXPECT_FALSE(InProgramFilesFolder("/ProgramFiles/Settings"));
}

// The logo of a service is found by its identifier, the first service's too.
TEST_F(Names, EveryServiceHasItsChannelIdentifier) {
  TYPE_TapChInfo info;
  ASSERT_EQ(TAP_Channel_GetInfo(SVC_TYPE_Tv, 0, &info), 1);
  EXPECT_EQ(LogoManager_GetChannelID(SVC_TYPE_Tv, 0),
            LogoManager_CalculateChannelID(info.satIdx, info.orgNetId, info.tsId, info.svcId));
  EXPECT_NE(LogoManager_GetChannelID(SVC_TYPE_Tv, 0), 0u);
  EXPECT_EQ(LogoManager_GetChannelID(SVC_TYPE_Tv, -1), 0u);
}

}  // namespace

TEST(LogoNames, ChannelNamesAndIdentifiers) {
  char name[23];
  LogoManager_ChannelNameToLogoName("Das Erste HD", name, sizeof name);
  EXPECT_STREQ(name, "daserstehd");
  LogoManager_ChannelNameToLogoName("ZDFneo+", name, sizeof name);
  EXPECT_STREQ(name, "zdfneo+");
  // A character-table selector is skipped; umlauts are spelled out, also
  // when the name comes in UTF-8; the result is cut to the buffer.
  LogoManager_ChannelNameToLogoName("\x05M\xDCnchen TV", name, sizeof name);
  EXPECT_STREQ(name, "muenchentv");
  LogoManager_ChannelNameToLogoName(
      "S\xC3\xBC"
      "d/West: \"\xC3\xA4\xC3\xB6\"",
      name, sizeof name);
  EXPECT_STREQ(name, "suedwestaeoe");
  LogoManager_ChannelNameToLogoName("Sehr lange Kanalbezeichnung HD", name, 8);
  EXPECT_STREQ(name, "sehrlan");
  EXPECT_EQ(LogoManager_CalculateChannelID(0x00C0, 0x0001, 0x0451, 0x6D66), 0x00C0000104516D66ull);
  EXPECT_EQ(LogoManager_CalculateChannelID(0x00C0, 0x0001, 0x8000, 0x0001), 0xFFFFFFFF80000001ull);
}
