// Text encodings: DVB strings to UTF-8 and back to ISO 8859-1, character
// positions, case. The code tables are checked against the system's iconv.
#include <iconv.h>

#include <cstring>
#include <string>

#include "lib_test.h"

namespace {

class Encodings : public LibTest {};

std::string ToUTF8(const std::string& source, byte defaultTable = 0) {
  char out[3 * 512 + 1];
  StrToUTF8(source.c_str(), out, defaultTable);
  return out;
}

std::string ToISO(const std::string& source) {
  char out[512];
  StrToISO(source.c_str(), out);
  return out;
}

// Whether the C library can convert the ISO 8859 parts at all (a cross
// toolchain's C library under emulation comes without its conversion modules).
bool HaveIconvTables() {
  iconv_t cd = iconv_open("UTF-8", "ISO-8859-2");
  if (cd == (iconv_t)-1) return false;
  iconv_close(cd);
  return true;
}

#define REQUIRE_ICONV() \
  if (!HaveIconvTables()) GTEST_SKIP() << "the C library has no conversion modules here"

// The system's conversion of `bytes` from `charset` to UTF-8; "?" when iconv
// refuses it (an undefined or incomplete byte sequence).
std::string Iconv(const char* charset, const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-8", charset);
  if (cd == (iconv_t)-1) return "!";
  char out[64];
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = out;
  size_t outLeft = sizeof out;
  size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  if (r != (size_t)-1) r = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == (size_t)-1 || inLeft != 0) return "?";
  return std::string(out, outPtr);
}

TEST_F(Encodings, EveryIso8859PartAgreesWithIconv) {
  REQUIRE_ICONV();
  const int parts[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16};
  for (int part : parts) {
    std::string charset = "ISO-8859-" + std::to_string(part);
    for (int b = 0xA0; b <= 0xFF; b++) {
      // Selector 0x10 0x00 <part> picks the part whatever the default.
      std::string source = std::string("\x10\x00", 2) + char(part) + 'a' + char(b) + 'z';
      std::string got = ToUTF8(source, 0);
      std::string want = Iconv(charset.c_str(), std::string(1, char(b)));
      // The 1987 edition of part 7 has no euro, drachma or ypogegrammeni;
      // the system's table is the 2003 edition.
      bool undefined1987 = part == 7 && (b == 0xA4 || b == 0xA5 || b == 0xAA);
      if (want == "?" || undefined1987) {
        EXPECT_EQ(got, "az") << charset << " byte " << std::hex << b;
      } else {
        EXPECT_EQ(got, "a" + want + "z") << charset << " byte " << std::hex << b;
      }
      // The default table reaches the same part when the text has no selector.
      std::string plain = std::string("a") + char(b) + 'z';
      EXPECT_EQ(ToUTF8(plain, (byte)part), got) << charset << " byte " << std::hex << b;
    }
  }
}

TEST_F(Encodings, SelectorBytesChooseTheirParts) {
  REQUIRE_ICONV();
  // 0x01..0x0B select parts 5..15; byte 0xE9 differs between them.
  for (int selector = 1; selector <= 0x0B; selector++) {
    int part = selector + 4;
    if (part == 12) continue;
    std::string charset = "ISO-8859-" + std::to_string(part);
    std::string want = Iconv(charset.c_str(), "\xE9");
    if (want == "?") want = "";
    EXPECT_EQ(ToUTF8(std::string(1, char(selector)) + "\xE9"), want) << "selector " << selector;
  }
  EXPECT_EQ(ToUTF8("\x05"
                   "Ab\xE9"),
            "Ab\xC3\xA9");
  EXPECT_EQ(ToUTF8(std::string("\x10\x00\x02\xA1", 4)), "\xC4\x84");
  char out[64];
  EXPECT_FALSE(
      StrToUTF8("\x15"
                "caf\xC3\xA9",
                out, 0));
  EXPECT_STREQ(out, "caf\xC3\xA9");
  // 0x1F and other control selectors keep the default table.
  EXPECT_EQ(ToUTF8("\x1F\x01\xE9", 1), "\xC3\xA9");
  EXPECT_EQ(ToUTF8("\x13\xE9", 1), "\xC3\xA9");
}

TEST_F(Encodings, Iso6937CompositionPairsAgreeWithIconv) {
  REQUIRE_ICONV();
  int checked = 0;
  for (int i = 0; i < ISO6937_COMPOSITIONS; i++) {
    std::string pair(ISO6937DiacriticalPairs + 3 * i, 2);
    std::string composed(ISO6937DiacriticalUTF8 + 3 * i, 2);
    EXPECT_EQ(Iconv("ISO_6937", pair), composed) << "entry " << i;
    EXPECT_EQ(ToUTF8("<" + pair + ">", 0), "<" + composed + ">") << "entry " << i;
    checked++;
  }
  EXPECT_EQ(checked, 53);
  EXPECT_EQ(std::strlen(ISO6937DiacriticalPairs), 3u * 53);
  EXPECT_EQ(std::strlen(ISO6937DiacriticalUTF8), 3u * 53);
}

TEST_F(Encodings, Iso6937SingleBytesAgreeWithIconvWhereTheStandardsAgree) {
  REQUIRE_ICONV();
  for (int b = 0xA0; b <= 0xFF; b++) {
    if (b >= 0xC1 && b <= 0xCF) continue;  // diacritical marks, composed above
    std::string want = Iconv("ISO_6937", std::string(1, char(b)));
    std::string got = ToUTF8(std::string("a") + char(b), 0);
    // 0xD0 is the horizontal bar in ISO 6937 and in the DVB table; glibc
    // maps it to the em dash.
    if (b == 0xD0) {
      EXPECT_EQ(got, "a\xE2\x80\x95");
      continue;
    }
    // 0xE2 is D with stroke (U+0110); glibc maps it to Eth (U+00D0), which
    // looks the same.
    if (b == 0xE2) {
      EXPECT_EQ(got, "a\xC4\x90");
      continue;
    }
    if (want == "?") want = "";
    EXPECT_EQ(got, "a" + want) << "byte " << std::hex << b;
  }
}

TEST_F(Encodings, Iso6937UnknownDiacriticalIsDroppedAndLogged) {
  // The ends of the marks' range, 0xC0 and the caron, have no pair in the
  // table: each goes with its letter.
  EXPECT_EQ(ToUTF8("x\xC0"
                   "ay\xCF"
                   "cz",
                   0),
            "xyz");
  EXPECT_EQ(ToUTF8("\xC2"
                   "e",
                   0),
            "\xC3\xA9");
  EXPECT_EQ(ToUTF8("x\xC5"
                   "ay",
                   0),
            "xy");
  EXPECT_NE(emu::NetOutput().find("StrToUTF8: ISO6937 diacritical char c5 61 has been ignored"),
            std::string::npos)
      << emu::NetOutput();
  EXPECT_NE(emu::NetOutput().find("diacritical char c0 61 has been ignored"), std::string::npos);
  // A mark at the end of the text takes no terminator along.
  char buffer[8] = "ab\xC2";
  char out[32];
  StrToUTF8(buffer, out, 0);
  EXPECT_STREQ(out, "ab");
}

TEST_F(Encodings, Utf8PassesThroughAndC1BytesStandForThemselves) {
  const char* utf8 =
      "Stra\xC3\x9F"
      "e \xE2\x82\xAC \xF0\x9F\x8E\xA5";
  char out[128];
  EXPECT_FALSE(StrToUTF8(utf8, out, 1));
  EXPECT_STREQ(out, utf8);
  EXPECT_TRUE(StrToUTF8("\x8A", out, 1));
  EXPECT_STREQ(out, "\xC2\x8A");
  EXPECT_FALSE(StrToUTF8("", out, 1));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(StrToUTF8(nullptr, out, 1));
}

TEST_F(Encodings, Utf8Sequences) {
  byte length = 0;
  EXPECT_FALSE(isUTF8Char("a", &length));
  EXPECT_EQ(length, 1);
  EXPECT_TRUE(isUTF8Char("\xC3\xA9", &length));
  EXPECT_EQ(length, 2);
  EXPECT_TRUE(isUTF8Char("\xE2\x82\xAC", &length));
  EXPECT_EQ(length, 3);
  EXPECT_TRUE(isUTF8Char("\xF0\x9F\x8E\xA5", &length));
  EXPECT_EQ(length, 4);
  EXPECT_FALSE(isUTF8Char("\xE2\x82", &length));  // cut short by the terminator
  EXPECT_EQ(length, 1);
  EXPECT_FALSE(isUTF8Char("\xA9", &length));
  EXPECT_FALSE(isUTF8Char("\xF8\x80\x80\x80\x80", &length));

  EXPECT_EQ(UTF8ToUTF32("\xE2\x82\xAC", &length), 0x20ACu);
  EXPECT_EQ(length, 3);
  EXPECT_EQ(UTF8ToUTF32("\xE9x", &length), 0xE9u);
  EXPECT_EQ(length, 1);

  // Every code point survives the round trip; the lengths follow UTF-8.
  const dword points[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF};
  const byte lengths[] = {1, 1, 2, 2, 3, 3, 4, 4};
  for (int i = 0; i < 8; i++) {
    char buffer[5] = {};
    UTF32ToUTF8(points[i], nullptr, &length);
    EXPECT_EQ(length, lengths[i]);
    UTF32ToUTF8(points[i], buffer, &length);
    byte back;
    EXPECT_EQ(UTF8ToUTF32(buffer, &back), points[i]);
    EXPECT_EQ(back, lengths[i]);
  }
}

TEST_F(Encodings, SelectorSkipping) {
  const char plain[] = "abc";
  EXPECT_EQ(SkipCharTableBytes(plain), plain);
  const char one[] =
      "\x05"
      "abc";
  EXPECT_EQ(SkipCharTableBytes(one), one + 1);
  const char three[] =
      "\x10\x01\x02"
      "abc";
  EXPECT_EQ(SkipCharTableBytes(three), three + 3);
  // The zero of 0x10 0x00 <table> ends a text (StrToUTF8 alone reads on).
  const char dvb[] =
      "\x10\x00\x02"
      "abc";
  EXPECT_EQ(SkipCharTableBytes(dvb), dvb + 1);
  const char two[] =
      "\x1F\x01"
      "abc";
  EXPECT_EQ(SkipCharTableBytes(two), two + 2);
  EXPECT_EQ(SkipCharTableBytes((const char*)nullptr), nullptr);
  // A selector cut short stops at the terminator.
  const char shortTwo[] = "\x1F";
  EXPECT_EQ(SkipCharTableBytes(shortTwo), shortTwo + 1);
  const char shortThree[] = "\x10\x00\x00";
  EXPECT_EQ(*SkipCharTableBytes(shortThree), 0);
  EXPECT_LE(SkipCharTableBytes(shortThree), shortThree + 3);
}

TEST_F(Encodings, EncodingDetection) {
  bool latin = true, utf8 = true;
  GetStringEncoding("", &latin, &utf8);
  EXPECT_FALSE(latin);
  EXPECT_FALSE(utf8);
  GetStringEncoding("caf\xC3\xA9", &latin, &utf8);
  EXPECT_FALSE(latin);
  EXPECT_TRUE(utf8);
  GetStringEncoding("caf\xE9", &latin, &utf8);
  EXPECT_TRUE(latin);
  EXPECT_FALSE(utf8);
  GetStringEncoding("\xE9 \xC3\xA9", &latin, &utf8);
  EXPECT_TRUE(latin);
  EXPECT_TRUE(utf8);
  GetStringEncoding("\x85", &latin, &utf8);  // C1 bytes count as neither
  EXPECT_FALSE(latin);
  EXPECT_FALSE(utf8);
}

TEST_F(Encodings, CharacterPositions) {
  EXPECT_EQ(strlenUC("\x05"
                     "abc"),
            3u);
  EXPECT_EQ(strlenUC(""), 0u);
  EXPECT_EQ(strlenUC("\xC3\x84rger\xE2\x82\xAC\xE9"), 7u);
  const char text[] =
      "\xC3\x84"
      "b\xE2\x82\xAC"
      "d";
  EXPECT_EQ(GetUCPos(text, 0), text);
  EXPECT_EQ(GetUCPos(text, 2), text + 3);
  EXPECT_EQ(GetUCPos(text, 3), text + 6);
  EXPECT_EQ(GetUCPos(text, 99), text + 7);

  char buffer[64] = "abc";
  InsertAt(buffer, 99, "X");
  EXPECT_STREQ(buffer, "abcX");
  InsertAt(buffer, -4, "\xC3\x84");
  EXPECT_STREQ(buffer,
               "\xC3\x84"
               "abcX");
  InsertAt(buffer, 2, "--");
  EXPECT_STREQ(buffer,
               "\xC3\x84"
               "a--bcX");
  InsertAt(buffer, 0, nullptr);  // nothing to insert: the text stays
  InsertAt(nullptr, 0, "X");
  EXPECT_STREQ(buffer,
               "\xC3\x84"
               "a--bcX");

  strcpy(buffer, "abcdef");
  DeleteAt(buffer, 4, 10);
  EXPECT_STREQ(buffer, "abcd");
  DeleteAt(buffer, 4, 1);
  EXPECT_STREQ(buffer, "abcd");
  DeleteAt(buffer, 0, 0);
  EXPECT_STREQ(buffer, "abcd");
  DeleteAt(buffer, -1, 1);
  EXPECT_STREQ(buffer, "bcd");
  strcpy(buffer, "x\xE2\x82\xAC\xC3\xA9y");
  DeleteAt(buffer, 1, 2);
  EXPECT_STREQ(buffer, "xy");
  // A control byte inside the text is a character, not a selector.
  strcpy(buffer,
         "ab\x05"
         "cd");
  DeleteAt(buffer, 2, 1);
  EXPECT_STREQ(buffer, "abcd");
}

TEST_F(Encodings, Replacing) {
  char buffer[64] = "a--b--c";
  EXPECT_TRUE(StrReplace(buffer, "--", "+"));
  EXPECT_STREQ(buffer, "a+b+c");
  EXPECT_TRUE(StrReplace(buffer, "+", "<=>"));
  EXPECT_STREQ(buffer, "a<=>b<=>c");
  EXPECT_FALSE(StrReplace(buffer, "zz", "y"));
  EXPECT_STREQ(buffer, "a<=>b<=>c");
  EXPECT_FALSE(StrReplace(buffer, "", "y"));
  EXPECT_FALSE(StrReplace(buffer, "b", ""));
  EXPECT_FALSE(StrReplace(nullptr, "b", "c"));
  strcpy(buffer, "aaaa");
  EXPECT_TRUE(StrReplace(buffer, "aa", "aaa"));  // no re-scan of the replacement
  EXPECT_STREQ(buffer, "aaaaaa");
}

TEST_F(Encodings, ToIso8859_1) {
  char untouched[8] = "keep";
  StrToISO("\xC3\x84", nullptr);  // nowhere to write: nothing happens
  StrToISO(nullptr, untouched);
  EXPECT_STREQ(untouched, "keep");
  EXPECT_EQ(ToISO("Stra\xC3\x9F"
                  "e \xC3\xBF"),
            "Stra\xDF"
            "e \xFF");  // up to the last character of the set
  EXPECT_EQ(ToISO("\xE2\x82\xAC\xC4\x80"
                  "5"),
            "5");  // the euro sign and U+0100, the first beyond the set
  EXPECT_NE(emu::NetOutput().find("StrToISO: character 0x20ac ignored"), std::string::npos)
      << emu::NetOutput();
  // Text that is not purely UTF-8 is left alone.
  EXPECT_EQ(ToISO("\xE9 \xC3\xA9"), "\xE9 \xC3\xA9");
  EXPECT_EQ(ToISO("plain"), "plain");
  EXPECT_EQ(ToISO(""), "");

  char* result = (char*)1;
  StrToISOAlloc(nullptr, &result);
  EXPECT_EQ(result, nullptr);
  // The unchanged copy of 8-bit text is longer than its character count.
  StrToISOAlloc("\x10\x00\x02\xE9\xC3\xA9\xC3\xA9", &result);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "\x10");
  TAP_MemFree(result);
  StrToISOAlloc("\x05\xE9\xC3\xA9\xC3\xA9\xC3\xA9", &result);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "\x05\xE9\xC3\xA9\xC3\xA9\xC3\xA9");
  TAP_MemFree(result);

  char text[32] = "\xC3\x84rger";
  EXPECT_TRUE(StrMkISO(text));
  EXPECT_STREQ(text, "\xC4rger");
}

TEST_F(Encodings, LowerCasing) {
  char text[64] = "\xC3\x84RGER.REC";
  LowerCase(text);
  EXPECT_STREQ(text, "\xC3\xA4rger.rec");
  strcpy(text, "\xC3\x9E\xC3\x97\xC3\x9F\xC4\x80");  // Thorn; times, sharp s, A macron stay
  LowerCase(text);
  EXPECT_STREQ(text, "\xC3\xBE\xC3\x97\xC3\x9F\xC4\x80");
  strcpy(text, "\xC4\xD6\xDD\xDE\xD7Z");  // ISO 8859-1: Thorn and times stay
  LowerCase(text);
  EXPECT_STREQ(text, "\xE4\xF6\xFD\xDE\xD7z");
  EXPECT_EQ(std::strlen(UTF8Upper), 60u);
  EXPECT_EQ(std::strlen(AnsiUpper), 29u);
}

}  // namespace
