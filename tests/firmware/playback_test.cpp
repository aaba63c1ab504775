// Channels, the playback model and the recording slots.
#include <string.h>

#include <string>

#include "lib/lib.h"
#include "tap.h"
#include "testenv.h"

namespace {

class PlaybackTest : public RecorderTest {};

TEST_F(PlaybackTest, BuiltInChannelList) {
  int tv = 0, radio = 0;
  TAP_Channel_GetTotalNum(&tv, &radio);
  EXPECT_EQ(tv, 5);
  EXPECT_EQ(radio, 3);
  TYPE_TapChInfo info;
  ASSERT_EQ(TAP_Channel_GetInfo(SVC_TYPE_Radio, 1, &info), 1);
  EXPECT_STREQ(info.chName, "Classic Radio");
  EXPECT_EQ(info.logicalChNum, 102);
  EXPECT_STREQ(info.satName, "Terrestrial");
  EXPECT_EQ(TAP_Channel_GetInfo(SVC_TYPE_Tv, 5, &info), 0);
  EXPECT_EQ(TAP_Channel_GetInfo(2, 0, &info), 0);
  EXPECT_EQ(TAP_Channel_GetInfo(-1, 0, &info), 0);
  EXPECT_EQ(TAP_Channel_Start(1, -1, 0), 0);
  EXPECT_EQ(TAP_Channel_IsStarted(2), 0);
  int type = -1, num = -1;
  TAP_Channel_GetCurrent(&type, &num);
  EXPECT_EQ(type, 0);
  EXPECT_EQ(num, 0);
  // The sub picture's number is taken too; no other.
  EXPECT_EQ(TAP_Channel_Start(2, SVC_TYPE_Tv, 1), 0);
  EXPECT_EQ(TAP_Channel_Start(0, SVC_TYPE_Tv, 1), 1);
  EXPECT_EQ(TAP_Channel_Start(1, SVC_TYPE_Radio, 2), 1);
  TAP_Channel_GetCurrent(&type, &num);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(num, 2);
  EXPECT_EQ(TAP_Channel_Start(1, SVC_TYPE_Radio, 3), 0);
  EXPECT_EQ(TAP_Channel_IsStarted(1), 1);
  EXPECT_EQ(TAP_Channel_IsStarted(0), 0);  // no picture-in-picture
}

TEST_F(PlaybackTest, ChannelListCanBeReplaced) {
  TYPE_TapChInfo one;
  memset(&one, 0, sizeof one);
  strcpy(one.chName, "Only TV");
  one.svcId = 77;
  emu::SetChannels({one}, {});
  int tv = 0, radio = 9;
  TAP_Channel_GetTotalNum(&tv, &radio);
  EXPECT_EQ(tv, 1);
  EXPECT_EQ(radio, 0);
  TYPE_TapChInfo info;
  ASSERT_EQ(TAP_Channel_GetInfo(0, 0, &info), 1);
  EXPECT_EQ(info.svcId, 77);
}

TEST_F(PlaybackTest, NothingPlaysAtFirst) {
  TYPE_PlayInfo info;
  memset(&info, 0xEE, sizeof info);
  ASSERT_EQ(TAP_Hdd_GetPlayInfo(&info), 1);
  EXPECT_EQ(info.playMode, PLAYMODE_None);
  EXPECT_EQ(info.file, nullptr);
  EXPECT_EQ(*static_cast<TYPE_File**>(TryResolve("_hddPlayFile")), nullptr);
  for (byte slot = 0; slot < 4; slot++) {
    TYPE_RecInfo rec;
    ASSERT_EQ(TAP_Hdd_GetRecInfo(slot, &rec), 1);
    EXPECT_EQ(rec.recType, RECTYPE_None);
  }
  TYPE_RecInfo rec;
  EXPECT_EQ(TAP_Hdd_GetRecInfo(4, &rec), 0);
}

TEST_F(PlaybackTest, PlayingARecordingReportsItsHeaderAndAdvances) {
  testenv::WriteFile(HostPath("/DataFiles/Movies/film.rec"), std::string(9024 * 100, 'x'));
  testenv::WriteFile(HostPath("/DataFiles/Movies/film.rec.inf"), "TFrc");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles/Movies"), 1);
  EXPECT_NE(TAP_Hdd_PlayTs("missing.rec"), 0);
  ASSERT_EQ(TAP_Hdd_PlayTs("film.rec"), 0);
  TYPE_PlayInfo info;
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.playMode, PLAYMODE_Playing);
  EXPECT_EQ(info.totalBlock, 100u);
  EXPECT_EQ(info.currentBlock, 0u);
  ASSERT_NE(info.file, nullptr);
  EXPECT_STREQ(info.file->name, "film.rec.inf");
  TYPE_File* playing = *static_cast<TYPE_File**>(TryResolve("_hddPlayFile"));
  ASSERT_NE(playing, nullptr);
  EXPECT_STREQ(playing->path, "/mnt/hd/DataFiles/Movies/film.rec.inf");
  emu::Idle(5);  // 50 ticks
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.currentBlock, 25u);
  EXPECT_EQ(TAP_Hdd_ChangePlaybackPos(90), 1);
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.currentBlock, 90u);
  emu::Idle(5);  // past the end: playback ends by itself
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.playMode, PLAYMODE_None);
}

TEST_F(PlaybackTest, StopKeyAndPauseReachTheFirmware) {
  testenv::WriteFile(HostPath("/DataFiles/a.rec"), std::string(9024 * 100, 'x'));
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  ASSERT_EQ(TAP_Hdd_PlayTs("a.rec"), 0);
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/a.rec");
  emu::PressKey(RKEY_Pause);
  TYPE_PlayInfo info;
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.trickMode, TRICKMODE_Pause);
  emu::Idle(10);
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.currentBlock, 0u);
  emu::PressKey(RKEY_Stop);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(TAP_Hdd_StopTs(), 0);
}

TEST_F(PlaybackTest, MediaPlaysThroughTheWorkFolderFunctions) {
  testenv::WriteFile(HostPath("/MediaFiles/clip.mp4"), std::string(9024 * 10, 'm'));
  auto save = reinterpret_cast<void (*)()>(TryResolve("_Z22ApplHdd_SaveWorkFolderv"));
  auto restore = reinterpret_cast<void (*)()>(TryResolve("_Z25ApplHdd_RestoreWorkFolderv"));
  auto setWork = reinterpret_cast<void (*)(void*)>(TryResolve("_Z21ApplHdd_SetWorkFolderPv"));
  auto select =
      reinterpret_cast<dword (*)(void*, const char*)>(TryResolve("_Z20ApplHdd_SelectFolderPvPKc"));
  auto start = reinterpret_cast<bool (*)(const char*, dword, bool, bool)>(
      TryResolve("_Z23Appl_StartPlaybackMediaPKcjbb"));
  dword* divx = static_cast<dword*>(TryResolve("_hddDivxFolder"));
  ASSERT_TRUE(save && restore && setWork && select && start && divx);
  save();
  dword folder[4] = {0xBACAED31u, 0, 0, 0};
  ASSERT_EQ(select(folder, "mnt/hd/MediaFiles"), 0u);
  setWork(folder);
  memcpy(divx, folder, 16);
  EXPECT_TRUE(start("missing.mp4", 0, true, false));  // non-zero: failed
  EXPECT_TRUE(start("../MediaFiles/clip.mp4", 0, true, false));
  EXPECT_TRUE(start("", 0, true, false));
  EXPECT_FALSE(start("clip.mp4", 0, true, false));
  restore();
  TYPE_PlayInfo info;
  TAP_Hdd_GetPlayInfo(&info);
  EXPECT_EQ(info.playMode, PLAYMODE_Media);
  EXPECT_STREQ(info.file->name, "clip.mp4");
}

TEST_F(PlaybackTest, RecordingSlotsAndTheirFiles) {
  TYPE_RecInfo rec;
  memset(&rec, 0, sizeof rec);
  rec.recType = RECTYPE_Normal;
  rec.svcNum = 2;
  strcpy(rec.fileName, "news.rec");
  ASSERT_TRUE(emu::SetRecording(1, rec, "/mnt/hd/DataFiles/news.rec"));
  TYPE_RecInfo got;
  ASSERT_EQ(TAP_Hdd_GetRecInfo(1, &got), 1);
  EXPECT_EQ(got.recType, RECTYPE_Normal);
  EXPECT_STREQ(got.fileName, "news.rec");
  auto files = static_cast<TYPE_File*(*)[3]>(TryResolve("_hddRecFiles"));
  ASSERT_NE(files[1][0], nullptr);
  EXPECT_STREQ(files[1][0]->path, "/mnt/hd/DataFiles/news.rec");
  EXPECT_STREQ(files[1][1]->path, "/mnt/hd/DataFiles/news.rec.inf");
  ASSERT_NE(files[1][2], nullptr);
  EXPECT_STREQ(files[1][2]->path, "/mnt/hd/DataFiles/news.rec.nav");
  EXPECT_EQ(files[0][0], nullptr);
  EXPECT_EQ(TAP_Hdd_StopRecord(0), 0);
  EXPECT_EQ(TAP_Hdd_StopRecord(4), 0);  // no such slot
  EXPECT_EQ(TAP_Hdd_StopRecord(1), 1);
  EXPECT_EQ(files[1][0], nullptr);
  TAP_Hdd_GetRecInfo(1, &got);
  EXPECT_EQ(got.recType, RECTYPE_None);
}

TEST_F(PlaybackTest, Timers) {
  EXPECT_EQ(TAP_Timer_GetTotalNum(), 0);
  TYPE_TimerInfo timer;
  memset(&timer, 0, sizeof timer);
  timer.duration = 90;
  emu::SetTimers({timer});
  EXPECT_EQ(TAP_Timer_GetTotalNum(), 1);
  TYPE_TimerInfo got;
  ASSERT_EQ(TAP_Timer_GetInfo(0, &got), 1);
  EXPECT_EQ(got.duration, 90);
  EXPECT_EQ(TAP_Timer_GetInfo(1, &got), 0);
}

}  // namespace
