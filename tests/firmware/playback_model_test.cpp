// The playback model's reactions to keys, recordings that grow while they
// record, and a firmware whose play information is longer than the record.
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "tap.h"
#include "tap_keys.h"
#include "testenv.h"

namespace {

class PlaybackModelTest : public RecorderTest {
 protected:
  TYPE_PlayInfo Info() {
    TYPE_PlayInfo info;
    memset(&info, 0, sizeof info);
    TAP_Hdd_GetPlayInfo(&info);
    return info;
  }
  long long Size(const std::string& firmwarePath) {
    struct stat st;
    return stat(HostPath(firmwarePath).c_str(), &st) == 0 ? (long long)st.st_size : -1;
  }
};

TEST_F(PlaybackModelTest, PlayResumesAPauseAndPreviousGoesBackToTheStart) {
  testenv::WriteFile(HostPath("/DataFiles/a.rec"), std::string(9024 * 1000, 'x'));
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  ASSERT_EQ(TAP_Hdd_PlayTs("a.rec"), 0);
  emu::Idle(20);  // 200 ticks: 100 blocks
  EXPECT_EQ(Info().currentBlock, 100u);
  emu::PressKey(RKEY_Pause);
  EXPECT_TRUE(emu::PlaybackPaused());
  emu::Idle(10);
  EXPECT_EQ(Info().currentBlock, 100u);
  emu::PressKey(RKEY_Play);
  EXPECT_FALSE(emu::PlaybackPaused());
  emu::Idle(2);
  EXPECT_EQ(Info().currentBlock, 110u);
  // The banner Play shows closes by itself after five seconds.
  auto banner = [] {
    dword state = 0, subState = 0;
    TAP_GetState(&state, &subState);
    return subState == SUBSTATE_PvrTimeSearch;
  };
  EXPECT_TRUE(banner());
  emu::Idle(47);
  EXPECT_TRUE(banner());
  emu::Idle(1);
  EXPECT_FALSE(banner());
  emu::PressKey(RKEY_Play);
  emu::PressKey(RKEY_Prev);
  EXPECT_EQ(Info().currentBlock, 0u);
  // Exit only closes the banner: playback goes on.
  emu::PressKey(RKEY_Exit);
  EXPECT_FALSE(banner());
  EXPECT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Info().playMode, PLAYMODE_Playing);
}

TEST_F(PlaybackModelTest, RecordingsInProgressGrowAndPlayAtTheLiveEnd) {
  testenv::WriteFile(HostPath("/DataFiles/news.rec"), std::string(9024 * 50, 'x'));
  TYPE_RecInfo rec;
  memset(&rec, 0, sizeof rec);
  rec.recType = RECTYPE_Normal;
  rec.svcType = SVC_TYPE_Tv;
  rec.svcNum = 2;
  strcpy(rec.fileName, "news.rec");
  ASSERT_TRUE(emu::SetRecording(0, rec, "/mnt/hd/DataFiles/news.rec"));
  emu::Wait(2);
  TYPE_RecInfo got;
  ASSERT_EQ(TAP_Hdd_GetRecInfo(0, &got), 1);
  EXPECT_EQ(got.recordedSec, 2u);
  EXPECT_EQ(Size("/DataFiles/news.rec"), 9024LL * 150);  // 50 blocks a second

  // Play on another service does nothing; on the recorded service it plays the
  // recording where it is being written, and Previous goes to its start.
  emu::PressKey(RKEY_Play);
  EXPECT_FALSE(emu::IsPlaying());
  ASSERT_EQ(TAP_Channel_Start(1, SVC_TYPE_Tv, 2), 1);
  emu::PressKey(RKEY_Play);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/news.rec");
  EXPECT_EQ(Info().currentBlock, 149u);
  emu::PressKey(RKEY_Prev);
  EXPECT_EQ(Info().currentBlock, 0u);
  ASSERT_EQ(TAP_Hdd_ChangePlaybackPos(100), 1);
  emu::Wait(1);
  EXPECT_EQ(Info().totalBlock, 200u);
  EXPECT_EQ(Info().currentBlock, 150u);
  // The player never runs into the end of a file that is still growing: it
  // waits at the live end.
  emu::Wait(3);
  EXPECT_EQ(Info().totalBlock, 350u);
  EXPECT_EQ(Info().currentBlock, 300u);
  ASSERT_EQ(TAP_Hdd_ChangePlaybackPos(345), 1);
  emu::Idle(3);
  EXPECT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Info().currentBlock, 349u);
  // Once the recording stops, the end of the file ends playback again.
  emu::ClearRecording(0);
  emu::Wait(1);
  EXPECT_FALSE(emu::IsPlaying());
}

TEST_F(PlaybackModelTest, AnOverrunWritesBehindTheRecord) {
  struct {
    TYPE_PlayInfo info;
    dword guard;
  } area;
  area.guard = 1;
  TAP_Hdd_GetPlayInfo(&area.info);
  EXPECT_EQ(area.guard, 1u);
  emu::SetPlayInfoOverrun(true);
  TAP_Hdd_GetPlayInfo(&area.info);
  EXPECT_EQ(area.guard, 0u);
}

}  // namespace
