// The column texts of the list: durations, times, sizes, dates, and the
// word-wise cut of FormatNameString.
#include <string.h>

#include <string>

#include "ListFixture.h"
#include "ui/Text.h"

namespace {

class FormatTest : public ListTest {
 protected:
  FileRecord Recording(int year, int month, int day, int hour, int minute, int duration) {
    FileRecord r;
    memset(&r, 0, sizeof r);
    r.attribute = ATTRIBUTE_FILE;
    r.stamp = (dword)TAP_MakeMjd((word)year, (byte)month, (byte)day) << 16 | hour << 8 | minute;
    r.durationMinutes = (dword)duration;
    return r;
  }
  // The date of `days` before the recorder's today (7 Dec 2026) in mode 1.
  std::string Relative(int days) {
    word today = TAP_MakeMjd(2026, 12, 7);
    FileRecord r = Recording(2026, 12, 7, 20, 0, 0);
    r.stamp = (dword)(today - days) << 16;
    char out[64];
    int size = 0;
    FormatDate(&r, out, 1, &size);
    return out;
  }
};

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(FormatTest, Durations) {
  char out[128];
  const struct {
    int minutes;
    const char* text;
  } cases[] = {{60, "1hour"}, {120, "2hours"}, {90, "1h 30m"}, {45, "45min"},
               {0, "0min"},   {61, "1h 1m"},   {-5, "0min"}};
  for (const auto& c : cases) {
    FormatListDuration(c.minutes, out);
    EXPECT_STREQ(out, c.text) << c.minutes;
  }
  FormatList2Duration(90, out);
  EXPECT_STREQ(out, "1:30");
  FormatList2Duration(5, out);
  EXPECT_STREQ(out, "0:05");
  FormatList3Duration(65, out);
  EXPECT_STREQ(out, "1h 05m");
  TextLanguage = 1;
  FormatListDuration(120, out);
  EXPECT_STREQ(out, "2Std");
}

TEST_F(FormatTest, TimeAndDurationInEveryMode) {
  char out[128];
  FileRecord late = Recording(2026, 12, 6, 23, 30, 45);
  FormatTimeAndDuration(&late, out, 1);
  EXPECT_STREQ(out, "23:30 ~ 00:15");
  // More than a day still ends on a clock time.
  late.durationMinutes = 24 * 60 + 50;
  FormatTimeAndDuration(&late, out, 1);
  EXPECT_STREQ(out, "23:30 ~ 00:20");

  FileRecord r = Recording(2026, 12, 6, 20, 15, 90);
  const char* expected[] = {"20:15 (1h 30m)", "20:15 ~ 21:45", "1h 30m",        "90", "90m", "1:30",
                            "20:15 (1h 30m)", "20:15",         "20:15 (1h 30m)"};
  for (int mode = 0; mode <= 8; mode++) {
    FormatTimeAndDuration(&r, out, mode);
    EXPECT_STREQ(out, expected[mode]) << mode;
  }
  r.durationMinutes = 45;
  FormatTimeAndDuration(&r, out, 6);
  EXPECT_STREQ(out, "20:15 (0h 45m)");
}

TEST_F(FormatTest, FileSizes) {
  char out[128];
  FormatFileSize(1048576, 0, out, 1);
  EXPECT_STREQ(out, "1MB");
  const uint64_t mb1536 = 1610612736ull;
  FormatFileSize((dword)mb1536, 0, out, 2);
  EXPECT_STREQ(out, "1.5GB");
  FormatFileSize((dword)mb1536, 0, out, 5);
  EXPECT_STREQ(out, "1.5GB");
  FormatFileSize((dword)mb1536, 0, out, 6);
  EXPECT_STREQ(out, "1GB");
  FormatFileSize((dword)mb1536, 0, out, 4);
  EXPECT_STREQ(out, "1.5");
  FormatFileSize((dword)mb1536, 0, out, 3);
  EXPECT_STREQ(out, "1536");
  FormatFileSize(512000, 0, out, 6);
  EXPECT_STREQ(out, "500kB");
  FormatFileSize(999u << 20, 0, out, 5);
  EXPECT_STREQ(out, "999MB");
  FormatFileSize(1000u << 20, 0, out, 5);
  EXPECT_STREQ(out, "0.9GB");
  FormatFileSize(999u << 10, 0, out, 6);
  EXPECT_STREQ(out, "999kB");
  FormatFileSize(1000u << 10, 0, out, 6);
  EXPECT_STREQ(out, "1MB");
  FormatFileSize(2000u << 10, 0, out, 6);  // 2000 kB: neither kB nor a whole GB
  EXPECT_STREQ(out, "2MB");
  // Rounded to whole megabytes from half a megabyte on.
  FormatFileSize((1u << 20) + 0x80000 - 1, 0, out, 0);
  EXPECT_STREQ(out, "1MB");
  FormatFileSize((1u << 20) + 0x80000, 0, out, 7);
  EXPECT_STREQ(out, "2MB");
  // Sizes beyond 4 GB come through the high word.
  FormatFileSize(0x80000000u, 1, out, 2);  // 6 GB
  EXPECT_STREQ(out, "6.0GB");
  FormatFileSize(0, 1000, out, 2);  // about 4 TB: no overflow of the tenths
  EXPECT_STREQ(out, "4000.0GB");
  FormatFileSize(0, 0, out, 6);
  EXPECT_STREQ(out, "0kB");
}

TEST_F(FormatTest, DatesInEveryMode) {
  char out[64];
  int size = 0;
  FileRecord r = Recording(2026, 12, 7, 20, 0, 0);  // a Monday
  const char* expected[] = {"Mon 7 Dec", "Monday", "07/12", "07.12", "Mon 07 Dec"};
  for (int mode = 0; mode <= 4; mode++) {
    FormatDate(&r, out, mode, &size);
    EXPECT_STREQ(out, expected[mode]) << mode;
  }
  FormatDate(&r, out, 9, &size);
  EXPECT_STREQ(out, "Mon 7 Dec 2026");
  FormatDate(&r, out, 7, &size);
  EXPECT_STREQ(out, "Mon 7 Dec");
  EXPECT_EQ(size, 16);
  TextLanguage = 1;
  FileRecord march = Recording(2026, 3, 4, 20, 0, 0);
  FormatDate(&march, out, 0, &size);
  EXPECT_STREQ(out, "Mi 4 M\xE4r");
  MonthToAlpha(13, out);
  EXPECT_STREQ(out, "BAD");
  WeekdayToAlphaAbbr(7, out);
  EXPECT_STREQ(out, "BAD");
}

TEST_F(FormatTest, RelativeDates) {
  EXPECT_EQ(Relative(0), "Monday");
  EXPECT_EQ(Relative(3), "Friday");  // earlier this week: the full weekday name
  EXPECT_EQ(Relative(10), "Fri last week");
  EXPECT_EQ(Relative(14), "Mon 2wks ago");
  EXPECT_TRUE(EndsWith(Relative(30), " 4wks ago")) << Relative(30);
  EXPECT_TRUE(EndsWith(Relative(35), " 5wks ago")) << Relative(35);
  EXPECT_TRUE(EndsWith(Relative(42), " 1mth ago")) << Relative(42);
  EXPECT_TRUE(EndsWith(Relative(60), " 2mths ago")) << Relative(60);
  EXPECT_TRUE(EndsWith(Relative(400), " 14mths ago")) << Relative(400);
  // A date ahead of the clock counts as this week.
  EXPECT_EQ(Relative(-20), "Sunday");
}

TEST_F(FormatTest, DateSizeFitsTheColumn) {
  char out[64];
  int size = 0;
  FileRecord r = Recording(2026, 12, 7, 20, 0, 0);
  column3Width = 57;
  FormatDate(&r, out, 9, &size);
  EXPECT_LT(size, 16);
  EXPECT_TRUE(size == 10 || (int)PrintWidth(out, size) < 57 - 7);
  column3Width = 400;
  FormatDate(&r, out, 9, &size);
  EXPECT_EQ(size, 16);
  // Seven pixels of the column stay free: one fewer and the date is smaller.
  column3Width = (int)PrintWidth(out, 16) + 8;
  FormatDate(&r, out, 9, &size);
  EXPECT_EQ(size, 16);
  column3Width--;
  FormatDate(&r, out, 9, &size);
  EXPECT_EQ(size, 14);
  // Nothing fits: the smallest size.
  EXPECT_EQ(FitFontSize("a very long text indeed", 16, 8), 10);
}

TEST_F(FormatTest, NameStringCutsAtWordsAndMovesOn) {
  const char* text = "Das Erste HD Channel";
  int width = (int)PrintWidth("Das Erste", 14) + 2;
  int position = 0;
  char out[256];
  FormatNameString(text, &position, out, width, 14);
  EXPECT_STREQ(out, "Das Erste");
  EXPECT_EQ(text[position], 'H');
  // "HD Channel" is wider than "Das Erste": the line ends at the last space.
  ASSERT_GT(PrintWidth("HD Channel", 14), PrintWidth("Das Erste", 14));
  FormatNameString(text, &position, out, width, 14);
  EXPECT_STREQ(out, "HD");
  FormatNameString(text, &position, out, width, 14);
  EXPECT_STREQ(out, "Channel");
  EXPECT_EQ(position, (int)strlen(text));
  FormatNameString(text, &position, out, width, 14);
  EXPECT_STREQ(out, "");

  // One word longer than the line: cut, the rest of the word skipped.
  const char* longWord = "Supercalifragilistic next";
  position = 0;
  FormatNameString(longWord, &position, out, (int)PrintWidth("Super", 14), 14);
  EXPECT_LT((int)PrintWidth(out, 14), (int)PrintWidth("Super", 14));
  EXPECT_EQ(strncmp(out, "Supe", strlen(out)), 0);
  EXPECT_STREQ(longWord + position, "next");

  // Every call moves on, even with a width smaller than one character.
  position = 0;
  for (int i = 0; i < 30 && position < (int)strlen(text); i++)
    FormatNameString(text, &position, out, 1, 14);
  EXPECT_EQ(position, (int)strlen(text));
  position = 100;
  FormatNameString(text, &position, out, 100, 14);
  EXPECT_STREQ(out, "");
  FormatNameString(nullptr, &position, out, 100, 14);
  EXPECT_STREQ(out, "");
}

}  // namespace
