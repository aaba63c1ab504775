// The main and alive logs: format, cut to 2000 bytes, rotation, network echo.
#include "app/log.h"

#include <string>

#include "AppFixture.h"
#include "lib/lib.h"

namespace {

class LogTest : public AppTest {};

// The recorder has no FirmwareTMS.dat: its start-up notice stays up for 10
// seconds, so lines written after the start carry 20:15:40.

TEST_F(LogTest, StartLineCarriesTheRecorderTimeAndEndsInCrLf) {
  std::string log = testenv::ReadFile(LogPath());
  EXPECT_EQ(log, "2026-12-07 20:15:30 Start - Pavrolinex v5.1d    \r\n");
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/Settings/Pavrolinex")));
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/Settings/Logos")));
  // Alive logging is off by default.
  EXPECT_FALSE(testenv::Exists(LogPath("Pavrolinex_alive.log")));
}

TEST_F(LogTest, StartLineIsEchoedToTheNetworkOutput) {
  EXPECT_EQ(emu::NetOutput(), "2026-12-07 20:15:30 Pavrolinex: Start - Pavrolinex v5.1d    \n");
}

// The network output sees the text only (the recorder drops the zero byte
// that ends each write), so the 510-character pieces show as one line.
TEST_F(LogTest, LongMessageReachesTheNetworkWhole) {
  std::string message(1200, 'x');
  message[509] = 'a';
  message[510] = 'b';
  message[1199] = 'z';
  std::string before = emu::NetOutput();
  WriteLog(message.c_str());
  EXPECT_EQ(emu::NetOutput().substr(before.size()),
            "2026-12-07 20:15:40 Pavrolinex: " + message + "\n");
  std::string log = testenv::ReadFile(LogPath());
  EXPECT_NE(log.find(message + "\r\n"), std::string::npos);
}

TEST_F(LogTest, LogOfExactly2000BytesIsNotCut) {
  std::string old(2000, '.');
  old[0] = 'A';
  ASSERT_TRUE(testenv::WriteFile(LogPath(), old));
  WriteLog(LOG_EXIT_OTHER);
  std::string log = testenv::ReadFile(LogPath());
  EXPECT_EQ(log.substr(0, 2000), old);
  EXPECT_EQ(log.substr(2000), "2026-12-07 20:15:40 Exit  - Pavrolinex - Other  \r\n");
}

TEST_F(LogTest, LogOf2001BytesKeepsItsLast2000) {
  std::string old(2001, '.');
  old[0] = 'A';
  old[1] = 'B';
  ASSERT_TRUE(testenv::WriteFile(LogPath(), old));
  WriteLog(LOG_EXIT_OTHER);
  std::string log = testenv::ReadFile(LogPath());
  EXPECT_EQ(log.substr(0, 2000), old.substr(1));
  EXPECT_EQ(log[0], 'B');
  EXPECT_EQ(log.size(), 2000u + 50u);
}

// The power goes, or the disk fills up, after every number of changes while
// a long log is cut and its line added: the log is the long one or the cut
// one, each with or without the line, never less.
TEST_F(LogTest, APowerCutOrAFullDiskWhileCuttingLeavesAWholeLog) {
  std::string old(2100, '.');
  for (int i = 0; i < 2100; i += 100) old[i] = (char)('a' + i / 100);
  const std::string cut = old.substr(100);
  const std::string line = "2026-12-07 20:15:40 Exit  - Pavrolinex - Other  \r\n";
  for (bool power : {true, false}) {
    for (int n = 0;; n++) {
      SCOPED_TRACE((power ? "power cut after " : "full disk after ") + std::to_string(n));
      ASSERT_TRUE(testenv::WriteFile(LogPath(), old));
      if (power) {
        emu::CutPowerAfter(n);
      } else {
        emu::FillDiskAfter(n);
      }
      WriteLog(LOG_EXIT_OTHER);
      bool fault = power ? emu::PowerWasCut() : emu::DiskWasFull();
      emu::RestorePower();
      std::string log = testenv::ReadFile(LogPath());
      EXPECT_TRUE(log == old || log == old + line || log == cut || log == cut + line) << log.size();
      if (!fault) {
        EXPECT_EQ(log, cut + line);
        break;
      }
      ASSERT_LT(n, 20);
    }
  }
}

TEST_F(LogTest, LogNeverGrowsMuchBeyond2000Bytes) {
  for (int i = 0; i < 100; i++) WriteLog(LOG_ALIVE);
  std::string log = testenv::ReadFile(LogPath());
  EXPECT_LE(log.size(), 2050u);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST_F(LogTest, AliveLogRotatesOnceEachStart) {
  // Three starts of the application, each writing its start line and one alive line.
  for (int start = 1; start <= 3; start++) {
    WriteLog_Alive_FirstCall = 1;
    emu::SetClock(2026, 12, 7, 20, start, 0);
    WriteLog_Alive(LOG_START);
    WriteLog_Alive(LOG_ALIVE);
  }
  std::string current = testenv::ReadFile(LogPath("Pavrolinex_alive.log"));
  std::string old = testenv::ReadFile(LogPath("Pavrolinex_alive.log.old"));
  std::string old2 = testenv::ReadFile(LogPath("Pavrolinex_alive.log.old2"));
  EXPECT_EQ(current,
            "2026-12-07 20:03:00 Start - Pavrolinex v5.1d    \r\n"
            "2026-12-07 20:03:00 Alive - Pavrolinex -        \r\n");
  EXPECT_EQ(old.substr(0, 19), "2026-12-07 20:02:00");
  EXPECT_EQ(old2.substr(0, 19), "2026-12-07 20:01:00");
  // A fourth start drops the first run.
  WriteLog_Alive_FirstCall = 1;
  WriteLog_Alive(LOG_START);
  EXPECT_EQ(testenv::ReadFile(LogPath("Pavrolinex_alive.log.old2")).substr(0, 19),
            "2026-12-07 20:02:00");
  // The alive log is not echoed.
  EXPECT_EQ(emu::NetOutput().find("Alive"), std::string::npos);
}

TEST_F(LogTest, MissingFoldersAreCreatedAgain) {
  testenv::RemoveTree(HostPath("/ProgramFiles/Settings"));
  WriteLog_FirstCall = 1;
  WriteLog(LOG_EXIT_POWER);
  EXPECT_EQ(testenv::ReadFile(LogPath()), "2026-12-07 20:15:40 Exit  - Pavrolinex - Power  \r\n");
}

TEST_F(LogTest, WritingKeepsTheCurrentFolder) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  WriteLog(LOG_ALIVE);
  WriteLog_Alive(LOG_ALIVE);
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[index_], "/mnt/hd/DataFiles");
}

TEST_F(LogTest, AliveLinesFollowTheInterval) {
  AliveLoggingFreq = 6000;
  emu::Wait(185);  // three minute changes
  std::string alive = testenv::ReadFile(LogPath("Pavrolinex_alive.log"));
  size_t lines = 0;
  for (size_t at = alive.find("Alive - "); at != std::string::npos;
       at = alive.find("Alive - ", at + 1)) {
    lines++;
  }
  // The first idle event logs; 20:16 comes only 30 s later and is skipped;
  // 20:17 and 20:18 log.
  EXPECT_EQ(lines, 3u) << alive;
}

}  // namespace
