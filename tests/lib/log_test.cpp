// Logging: the common log writer, the library's own log, the network output
// and the time helpers.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "lib_test.h"

namespace {

class Logging : public LibTest {
 protected:
  void SetUp() override {
    LibTest::SetUp();
    emu::SetClock(2026, 12, 7, 20, 15, 30);
  }
};

TEST_F(Logging, TimeHelpers) {
  byte second = 0;
  dword stamp = Now(&second);
  EXPECT_EQ(stamp, (dword)TAP_MakeMjd(2026, 12, 7) << 16 | 20 << 8 | 15);
  EXPECT_EQ(second, 30);
  EXPECT_STREQ(TimeFormat(stamp, second, TIMESTAMP_YMDHMS), "2026-12-07 20:15:30");
  EXPECT_STREQ(TimeFormat(stamp, second, TIMESTAMP_NONE), "");
  DebugPrintTextAndTime("Started", stamp);
  EXPECT_NE(emu::ConsoleOutput().find("Started 20261207 20:15\n"), std::string::npos)
      << emu::ConsoleOutput();
}

TEST_F(Logging, LogLineInTheCurrentFolderWithEcho) {
  ASSERT_EQ(TAP_Hdd_ChangeDir("/ProgramFiles"), 1);
  LogEntry("Test.log", "Pavrolinex", true, TIMESTAMP_YMDHMS, "Start - Pavrolinex v5.1d    ");
  LogEntry("Test.log", "Pavrolinex", false, TIMESTAMP_NONE, "plain");
  LogEntry("Test.log", "Pavrolinex", true, TIMESTAMP_NONE, nullptr);
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/ProgramFiles/Test.log"),
            "2026-12-07 20:15:30 Start - Pavrolinex v5.1d    \r\nplain\r\n");
  EXPECT_EQ(emu::NetOutput(), "2026-12-07 20:15:30 Pavrolinex: Start - Pavrolinex v5.1d    \n");
  // The file carries the recorder's time.
  struct stat st;
  ASSERT_EQ(stat("/mnt/hd/ProgramFiles/Test.log", &st), 0);
  typedef dword (*ToLinux)(dword);
  ToLinux toLinux = (ToLinux)TryResolve("PvrTimeToLinux");
  ASSERT_NE(toLinux, nullptr);
  EXPECT_EQ(st.st_mtime, (time_t)toLinux(Now(nullptr)) + 30);
}

TEST_F(Logging, EchoIsIso8859AndLongMessagesArriveWhole) {
  LogEntry("/ProgramFiles/Test.log", "X", true, TIMESTAMP_NONE, "K\xC3\xA4se");
  EXPECT_EQ(emu::NetOutput(), "X: K\xE4se\n");
  std::string longMessage;
  for (int i = 0; i < 1200; i++) longMessage += char('a' + i % 26);
  LogEntry("/ProgramFiles/Test.log", "X", true, TIMESTAMP_NONE, longMessage.c_str());
  EXPECT_EQ(emu::NetOutput(), "X: K\xE4se\nX: " + longMessage + "\n");
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/ProgramFiles/Test.log"),
            "K\xC3\xA4se\r\n" + longMessage + "\r\n");
}

TEST_F(Logging, LibraryLogOnlyWhenItsFileExists) {
  LogEntryVexLibPrintf(true, "first %d", 1);
  EXPECT_FALSE(testenv::Exists("/mnt/hd/ProgramFiles/Settings/VexLib.log"));
  EXPECT_EQ(emu::NetOutput(), "2026-12-07 20:15:30 VEXLIB - first 1\n");
  ASSERT_TRUE(testenv::WriteFile("/mnt/hd/ProgramFiles/Settings/VexLib.log", "old\r\n"));
  LogEntryVexLibPrintf(false, "second %s", "line");
  EXPECT_EQ(testenv::ReadFile("/mnt/hd/ProgramFiles/Settings/VexLib.log"),
            "old\r\n2026-12-07 20:15:30 second line\r\n");
  EXPECT_EQ(emu::NetOutput(), "2026-12-07 20:15:30 VEXLIB - first 1\n");
  // Messages are cut at 511 characters.
  std::string huge(2000, 'h');
  LogEntryVexLibPrintf(false, "%s", huge.c_str());
  std::string log = testenv::ReadFile("/mnt/hd/ProgramFiles/Settings/VexLib.log");
  EXPECT_NE(log.find(" " + std::string(511, 'h') + "\r\n"), std::string::npos);
}

TEST_F(Logging, LibraryLogMakesItsFolder) {
  ASSERT_EQ(rmdir("/mnt/hd/ProgramFiles/Settings"), 0);
  LogEntryVexLibPrintf(false, "x");
  struct stat st;
  EXPECT_EQ(stat("/mnt/hd/ProgramFiles/Settings", &st), 0);
}

TEST_F(Logging, NetworkOutput) {
  PrintNet("hello ");
  PrintNet("world\n");
  PrintNet(nullptr);
  EXPECT_EQ(emu::NetOutput(), "hello world\n");
}

}  // namespace
