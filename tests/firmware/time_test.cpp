// Virtual time, the local clock and the Modified Julian Date.
#include "lib/lib.h"
#include "tap.h"
#include "testenv.h"

namespace {

struct KnownDate {
  int year, month, day;
  word mjd;
  byte weekDay;  // 0 = Monday
};

// Dates whose MJD and weekday are known independently.
const KnownDate kDates[] = {
    {1858, 11, 17, 0, 2},    {1900, 1, 1, 15020, 0},   {1900, 2, 28, 15078, 2},
    {1900, 3, 1, 15079, 3},  {1970, 1, 1, 40587, 3},   {2000, 1, 1, 51544, 5},
    {2000, 2, 29, 51603, 1}, {2000, 3, 1, 51604, 2},   {2011, 2, 1, 55593, 1},
    {2024, 2, 29, 60369, 3}, {2025, 6, 1, 60827, 6},   {2038, 1, 19, 65442, 1},
    {2037, 3, 1, 65118, 6},  {2037, 12, 31, 65423, 3},
};

TEST(MjdTest, KnownDatesBothWays) {
  for (const KnownDate& d : kDates) {
    SCOPED_TRACE(testing::Message() << d.year << "-" << d.month << "-" << d.day);
    EXPECT_EQ(TAP_MakeMjd(static_cast<word>(d.year), static_cast<byte>(d.month),
                          static_cast<byte>(d.day)),
              d.mjd);
    word y = 0;
    byte m = 0, day = 0, wd = 9;
    EXPECT_EQ(TAP_ExtractMjd(d.mjd, &y, &m, &day, &wd), 1);
    EXPECT_EQ(y, d.year);
    EXPECT_EQ(m, d.month);
    EXPECT_EQ(day, d.day);
    EXPECT_EQ(wd, d.weekDay);
  }
}

TEST(MjdTest, EveryDayRoundTrips) {
  byte previous = 2;  // MJD 0 was a Wednesday
  for (dword mjd = 1; mjd <= 0xFFFF; mjd++) {
    word y;
    byte m, d, wd;
    TAP_ExtractMjd(static_cast<word>(mjd), &y, &m, &d, &wd);
    ASSERT_EQ(TAP_MakeMjd(y, m, d), mjd);
    ASSERT_EQ(wd, (previous + 1) % 7) << mjd;
    previous = wd;
  }
}

class ClockTest : public RecorderTest {};

TEST_F(ClockTest, TicksAdvanceOnlyWithEmulatedTime) {
  dword start = TAP_GetTick();
  EXPECT_EQ(TAP_GetTick(), start);
  TAP_Delay(250);
  EXPECT_EQ(TAP_GetTick(), start + 250);
  emu::Idle(3);
  EXPECT_EQ(TAP_GetTick(), start + 250 + 3 * 10);
  emu::Wait(2.0);
  EXPECT_EQ(emu::Ticks(), start + 250 + 30 + 200);
}

TEST_F(ClockTest, LocalClockRunsWithTheTicks) {
  emu::SetClock(2024, 12, 31, 23, 59, 58);
  word mjd;
  byte h, m, s;
  ASSERT_EQ(TAP_GetTime(&mjd, &h, &m, &s), 1);
  EXPECT_EQ(mjd, TAP_MakeMjd(2024, 12, 31));
  EXPECT_EQ(h, 23);
  EXPECT_EQ(m, 59);
  EXPECT_EQ(s, 58);
  TAP_Delay(300);
  ASSERT_EQ(TAP_GetTime(&mjd, &h, &m, &s), 1);
  EXPECT_EQ(mjd, TAP_MakeMjd(2025, 1, 1));
  EXPECT_EQ(h, 0);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 1);
}

TEST_F(ClockTest, ClockWithoutValidTime) {
  emu::InvalidateClock();
  word mjd = 1;
  EXPECT_EQ(TAP_GetTime(&mjd, nullptr, nullptr, nullptr), 0);
  emu::SetClock(2020, 1, 1, 0, 0);
  EXPECT_EQ(TAP_GetTime(&mjd, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(mjd, TAP_MakeMjd(2020, 1, 1));
}

TEST_F(ClockTest, PvrTimeToLinuxTreatsLocalAsUtc) {
  auto convert = reinterpret_cast<dword (*)(dword)>(TryResolve("PvrTimeToLinux"));
  ASSERT_NE(convert, nullptr);
  dword stamp = static_cast<dword>(TAP_MakeMjd(2024, 3, 5)) << 16 | 21 << 8 | 7;
  EXPECT_EQ(convert(stamp), 1709672820u);  // 2024-03-05 21:07:00 UTC
  EXPECT_EQ(convert(static_cast<dword>(40587) << 16), 0u);
}

}  // namespace
