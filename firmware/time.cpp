// The recorder's virtual time: ticks of 1/100 s that only events and
// TAP_Delay advance, and a local wall clock that runs with them.
#include <time.h>

#include "internal.h"

namespace fw {
namespace {

constexpr int64_t kMjdOfUnixEpoch = 40587;     // 1970-01-01
constexpr int64_t kDefaultClock = 1748808000;  // 2025-06-01 20:00:00

dword ticks = 0;
int64_t clockBase = kDefaultClock;  // local seconds at tick `clockBaseTicks`
dword clockBaseTicks = 0;
bool clockValid = true;

// Days since 1970-01-01 of a proleptic Gregorian date (valid for any year).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

void ResetClock() {
  ticks = 0;
  clockBase = kDefaultClock;
  clockBaseTicks = 0;
  clockValid = true;
  PublishUptime(0);
}

void AdvanceTicks(dword n) {
  ticks += n;
  PublishUptime(ticks / 100);
  AdvancePlayback(n);
}

int64_t LocalNow() { return clockBase + static_cast<int64_t>(ticks - clockBaseTicks) / 100; }

dword PackStamp(int64_t seconds) {
  int64_t days = FloorDiv(seconds, 86400);
  int64_t rest = seconds - days * 86400;
  int64_t mjd = days + kMjdOfUnixEpoch;
  if (mjd < 0) mjd = 0;
  if (mjd > 0xFFFF) mjd = 0xFFFF;
  return static_cast<dword>(mjd) << 16 | static_cast<dword>(rest / 3600) << 8 |
         static_cast<dword>(rest % 3600 / 60);
}

int64_t UnpackStamp(dword stamp) {
  int64_t mjd = stamp >> 16;
  return (mjd - kMjdOfUnixEpoch) * 86400 + ((stamp >> 8) & 0xFF) * 3600 + (stamp & 0xFF) * 60;
}

// The firmware's conversion of a packed local stamp into system time; local
// time is UTC on the emulated recorder.
dword PvrTimeToLinux(dword stamp) { return static_cast<dword>(UnpackStamp(stamp)); }

}  // namespace fw

extern "C" {

dword TAP_GetTick(void) { return fw::ticks; }

void TAP_Delay(dword n) {
  fw::HoldFrame(n);
  fw::AdvanceTicks(n);
  fw::IdleInsideDelay();
}

word TAP_MakeMjd(word year, byte month, byte day) {
  int64_t mjd = fw::DaysFromCivil(year, month, day) + fw::kMjdOfUnixEpoch;
  return mjd < 0 || mjd > 0xFFFF ? 0 : static_cast<word>(mjd);
}

int TAP_ExtractMjd(word mjd, word* year, byte* month, byte* day, byte* weekDay) {
  int64_t y;
  unsigned m, d;
  fw::CivilFromDays(static_cast<int64_t>(mjd) - fw::kMjdOfUnixEpoch, y, m, d);
  if (year) *year = static_cast<word>(y);
  if (month) *month = static_cast<byte>(m);
  if (day) *day = static_cast<byte>(d);
  // MJD 0 (1858-11-17) was a Wednesday.
  if (weekDay) *weekDay = static_cast<byte>((mjd + 2) % 7);
  return 1;
}

int TAP_GetTime(word* mjd, byte* hour, byte* min, byte* sec) {
  if (!fw::clockValid) return 0;
  int64_t now = fw::LocalNow();
  int64_t days = fw::FloorDiv(now, 86400);
  int64_t rest = now - days * 86400;
  if (mjd) *mjd = static_cast<word>(days + fw::kMjdOfUnixEpoch);
  if (hour) *hour = static_cast<byte>(rest / 3600);
  if (min) *min = static_cast<byte>(rest % 3600 / 60);
  if (sec) *sec = static_cast<byte>(rest % 60);
  return 1;
}

}  // extern "C"

namespace emu {

void SetClock(int year, int month, int day, int hour, int minute, int second) {
  fw::clockBase = fw::DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  fw::clockBaseTicks = fw::ticks;
  fw::clockValid = true;
}

void InvalidateClock() { fw::clockValid = false; }

dword Ticks() { return fw::ticks; }

}  // namespace emu
