// The application's own start-up and shutdown leave the settings file and the
// playback history in the settings folder, byte for byte, with their backups
// rotating from one start to the next.
#include "config/Settings.h"
#include "history_test.h"

extern "C" const TYPE_TapHeader _tap_header;

namespace {

class StartUpTest : public HistoryTest {
 protected:
  void Start() {
    emu::LinkedApplication app{&_tap_header, TAP_Main, TAP_EventHandler};
    ASSERT_GE(emu::StartLinkedApplication(app), 0);
  }
  void Restart() {
    emu::Shutdown(1);
    ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
    Start();
  }
  std::string Read(const std::string& name) { return testenv::ReadFile(SettingsPath(name)); }
};

}  // namespace

TEST_F(StartUpTest, FirstStartWritesDefaultsAndAFreshHistory) {
  Start();
  std::string ini = Read(INI_FILE_NAME);
  ASSERT_EQ(static_cast<size_t>(INI_FILE_SIZE), ini.size());
  EXPECT_EQ(0u, ini.find("Pavrolinex v5.1d\r\n65602\r\n1320\r\n2900\r\n"));
  std::string play = Read(PLAYBACK_FILE_NAME);
  ASSERT_EQ(static_cast<size_t>(HISTORY_FILE_SIZE), play.size());
  EXPECT_EQ(0u, play.find("1\r\n0\t0\t1\tPlaceholder for last played file.mpg\r\n"
                          "12345678\t9876543\t9999999\tThis is a dummy filename.mpg\r\n"));
  EXPECT_FALSE(testenv::Exists(SettingsPath(INI_FILE_NAME ".old")));
  EXPECT_FALSE(testenv::Exists(SettingsPath(LASTVIEW_FILE_NAME)));
}

TEST_F(StartUpTest, LaterStartsReadTheFilesAndRotateTheBackups) {
  Start();
  std::string ini = Read(INI_FILE_NAME);
  std::string play = Read(PLAYBACK_FILE_NAME);
  Restart();
  Restart();
  EXPECT_EQ(ini, Read(INI_FILE_NAME));
  EXPECT_EQ(ini, Read(INI_FILE_NAME ".old"));
  EXPECT_EQ(ini, Read(INI_FILE_NAME ".old2"));
  EXPECT_EQ(play, Read(PLAYBACK_FILE_NAME));
  EXPECT_EQ(play, Read(PLAYBACK_FILE_NAME ".old"));
  EXPECT_EQ(play, Read(PLAYBACK_FILE_NAME ".old2"));
}

TEST_F(StartUpTest, SettingsFromTheFileTakeEffect) {
  std::string text = "Pavrolinex v5.1d\r\n65602\r\n720\r\n3500\r\n";
  ASSERT_TRUE(testenv::WriteFile(SettingsPath(INI_FILE_NAME), text));
  Start();
  EXPECT_EQ(0, GMToffsetOption);
  EXPECT_EQ(3500, recordingRateOption);
  EXPECT_EQ(3500, currentRecordingRateOption);
  EXPECT_EQ(text, Read(INI_FILE_NAME));  // an older, shorter file is kept until a save
}
