// Sort names, stamp patterns and file-name suffixes.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/catalogue.h"

namespace {

std::string SortNameOf(const char* name) {
  char out[127];
  FormatSortName(out, name);
  return out;
}

TEST(SortName, CutsSuffixCounterAndStamp) {
  TextLanguage = 0;
  EXPECT_EQ(SortNameOf("News 2013-05-12 20-15.rec"), "News");
  EXPECT_EQ(SortNameOf("Film~2.mpg"), "Film");
  EXPECT_EQ(SortNameOf("Film~12.mpg"), "Film");
  EXPECT_EQ(SortNameOf("Match Tue.ts"), "Match");
  EXPECT_EQ(SortNameOf("Match - Tue.ts"), "Match ");  // " - Tue" goes, the space stays
  EXPECT_EQ(SortNameOf("x.rec.del"), "x");
  EXPECT_STREQ(suffix, ".rec.del");
  EXPECT_EQ(SortNameOf("Show_20130512_2015.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show 20130512.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show 12.05.2013.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show 13-05-12.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show 120513.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show 12.05.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show 20-15 2013-05-12.rec"), "Show");
  // The soft hyphen stands for "-" in the first pattern.
  EXPECT_EQ(SortNameOf("Show \xAD 2013-05-12 20-15.rec"), "Show");
  EXPECT_EQ(SortNameOf("Show - 2013-05-12 20-15.rec"), "Show");
}

TEST(SortName, LeavesOtherNamesWhole) {
  TextLanguage = 0;
  EXPECT_EQ(SortNameOf("abc"), "abc");  // shorter than every pattern
  EXPECT_EQ(SortNameOf(".hidden"), ".hidden");
  EXPECT_STREQ(suffix, "");
  EXPECT_EQ(SortNameOf("Match Tux.ts"), "Match Tux");
  EXPECT_EQ(SortNameOf("x.del"), "x.del");  // no dot before the marker
  // A month above 12 is no "MMDD".
  EXPECT_EQ(SortNameOf("Show 1332.rec"), "Show 1332");
  EXPECT_EQ(SortNameOf("Show 0931.rec"), "Show");
  std::string longName(200, 'a');
  EXPECT_EQ(SortNameOf(longName.c_str()).size(), 126u);
}

TEST(SortName, WeekdaysFollowTheLanguage) {
  TextLanguage = 1;
  EXPECT_EQ(SortNameOf("Spiel Die.ts"), "Spiel");
  EXPECT_EQ(SortNameOf("Match Tue.ts"), "Match Tue");
  TextLanguage = 0;
}

TEST(StampPattern, CharacterRules) {
  EXPECT_TRUE(MatchFileStamp("*YYYY*MM*DD", "x_2013/05.12"));
  EXPECT_FALSE(MatchFileStamp("*YYYY*MM*DD", "x+2013/05.12"));
  EXPECT_TRUE(MatchFileStamp("*YYYY*MM*DD", "x 2013-05-12"));
  EXPECT_FALSE(MatchFileStamp("*YYYY*MM*DD", "x 2013+05+12"));
  EXPECT_TRUE(MatchFileStamp(" DDD", "x_123"));  // "_" is a space; D a digit
  EXPECT_FALSE(MatchFileStamp(" DDD", "x Tux"));
  EXPECT_TRUE(MatchFileStamp("~99", "a~42"));
  EXPECT_FALSE(MatchFileStamp("~99", "a-42"));
  EXPECT_FALSE(MatchFileStamp("*DDMMYY", "12345"));  // shorter than the pattern
  EXPECT_TRUE(MatchFileStamp("*MMDD", "x-1231"));
  EXPECT_FALSE(MatchFileStamp("*MMDD", "x-2231"));
  EXPECT_FALSE(MatchFileStamp("*MMDD", "x-1331"));
}

TEST(StripFileName, KeepsTheSuffix) {
  char name[127] = "a.b.rec";
  StripFileName(name);
  EXPECT_STREQ(name, "a.b");
  EXPECT_STREQ(suffix, ".rec");
  char del[127] = "a.b.rec.del";
  StripFileName(del);
  EXPECT_STREQ(del, "a.b");
  EXPECT_STREQ(suffix, ".rec.del");
}

TEST(WeekdayToAlpha, NamesAndBadValues) {
  char out[16];
  TextLanguage = 0;
  WeekdayToAlpha(0, out);
  EXPECT_STREQ(out, "Monday");
  WeekdayToAlpha(6, out);
  EXPECT_STREQ(out, "Sunday");
  WeekdayToAlpha(7, out);
  EXPECT_STREQ(out, "BAD");
  WeekdayToAlpha(-1, out);
  EXPECT_STREQ(out, "BAD");
  TextLanguage = 1;
  WeekdayToAlpha(3, out);
  EXPECT_STREQ(out, "Donnerstag");
  TextLanguage = 0;
}

}  // namespace
