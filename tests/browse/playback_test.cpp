// Starting playback, resume positions, the history rules of tracking, media
// files, recordings in progress, and the multi-selection as a play list.
#include <stdio.h>

#include <algorithm>

#include "BrowseFixture.h"
#include "lib/lib.h"

namespace {

class PlaybackTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    BrowseTest::BuildDisk();
    Recording("/DataFiles/Resume.rec", 1000, testdisk::Stamp(2026, 8, 1, 20, 0), 400);
    Recording("/DataFiles/Resume Late.rec", 1000, testdisk::Stamp(2026, 8, 1, 21, 0), 2000);
    ASSERT_TRUE(disk->File("/DataFiles/clip.mp4", 500 * kBlock));
    ASSERT_TRUE(disk->File("/DataFiles/__temprec__.ts", 500 * kBlock));
  }
  // Plays an entry of the shown folder with the key, list open.
  void PlayWith(const char* name, dword key) {
    OpenList();
    SelectByKeys(name);
    emu::PressKey(key);
  }
  // The keys the firmware got, without the releases of the user's presses.
  std::vector<dword> Firmware() {
    std::vector<dword> keys;
    for (dword key : emu::KeysGivenToFirmware())
      if (!(key & RKEY_FLAG_RELEASED)) keys.push_back(key);
    return keys;
  }
};

TEST_F(PlaybackTest, ResumePositionRules) {
  PlayWith("Show 01.rec", RKEY_Play);
  ASSERT_TRUE(emu::IsPlaying());
  ASSERT_EQ(CompletelyWatchedPercent, 95);
  JumpToLastPosition(500, 1000);  // 50 %: 60 blocks before
  EXPECT_EQ(Play().currentBlock, 440u);
  JumpToLastPosition(960, 1000);  // 96 %: from the start
  EXPECT_EQ(Play().currentBlock, 0u);
  JumpToLastPosition(940, 1000);
  EXPECT_EQ(Play().currentBlock, 880u);
  JumpToLastPosition(950, 1000);  // exactly the watched percentage: watched
  EXPECT_EQ(Play().currentBlock, 0u);
  JumpToLastPosition(949, 1000);  // 94.9 % counts as 94
  EXPECT_EQ(Play().currentBlock, 889u);
  JumpToLastPosition(1200, 1000);  // beyond the total: from the start
  EXPECT_EQ(Play().currentBlock, 0u);
  JumpToLastPosition(50, 1000);  // less than 60 blocks in
  EXPECT_EQ(Play().currentBlock, 0u);
  JumpToLastPosition(0xFFFFFFFFu, 1000);
  EXPECT_EQ(Play().currentBlock, 0u);
  JumpToLastPosition(500, 0);  // no total: counts as 1 block long, so watched
  EXPECT_EQ(Play().currentBlock, 0u);
  JumpToLastPosition(500, 0xFFFFFFFFu);  // an unknown total likewise
  EXPECT_EQ(Play().currentBlock, 0u);
  // Long recordings: position x 100 does not fit 32 bits.
  JumpToLastPosition(50000000, 100000000);
  EXPECT_EQ(Play().currentBlock, 999u);  // the player clamps to its file
}

// Recorders of the three TMS families, each described in the firmware
// description file by its system id, with recordings in its own header layout.
struct Family {
  const char* name;
  uint16_t systemId;
  int family;
};

class HeaderResumeTest : public PlaybackTest, public ::testing::WithParamInterface<Family> {
 protected:
  void Configure(emu::Config& config) override { config.systemId = GetParam().systemId; }
  void BuildDisk() override {
    headerFamily = GetParam().family;
    PlaybackTest::BuildDisk();
  }
};

INSTANTIATE_TEST_SUITE_P(TmsFamilies, HeaderResumeTest,
                         ::testing::Values(Family{"Satellite", 22121, testdisk::FAMILY_TMSS},
                                           Family{"Terrestrial", 22122, testdisk::FAMILY_TMST},
                                           Family{"Cable", 42561, testdisk::FAMILY_TMSC}),
                         [](const ::testing::TestParamInfo<Family>& info) {
                           return std::string(info.param.name);
                         });

TEST_P(HeaderResumeTest, WithoutHistoryTheHeaderResumePositionIsUsed) {
  ASSERT_EQ(GetSystemType(), (SYSTEM_TYPE)GetParam().family);
  PlayWith("Resume.rec", RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Play().currentBlock, 340u);  // 400 less 60
  TAP_Hdd_StopTs();
  emu::Idle(1);
  // A header position beyond the length is ignored.
  PlayWith("Resume Late.rec", RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Play().currentBlock, 25u);  // only the half second the header wait took
  TAP_Hdd_StopTs();
  emu::Idle(1);
  // Play starts from the beginning whatever the header says.
  PlayWith("Resume.rec", RKEY_Play);
  EXPECT_EQ(Play().currentBlock, 0u);
  // okPlayOption 1 swaps the keys.
  TAP_Hdd_StopTs();
  emu::Idle(1);
  okPlayOption = 1;
  PlayWith("Show 02.rec", RKEY_Ok);
  EXPECT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Play().currentBlock, 0u);
}

TEST_F(PlaybackTest, FilesWithoutHeaderPlayAsMedia) {
  PlayWith("clip.mp4", RKEY_Ok);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(Play().playMode, PLAYMODE_Media);
  emu::Wait(2);
  // Tracked by the inode of the file itself.
  PlayedFileEntry* entry = History("clip.mp4");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->inode, Inode("/DataFiles/clip.mp4"));
  EXPECT_EQ(entry->totalBlocks, 500u);
  TAP_Hdd_StopTs();
  emu::Idle(1);
}

TEST_F(PlaybackTest, WhenBothPlayersFailTheListStays) {
  emu::RemoveSymbol("_Z23Appl_StartPlaybackMediaPKcjbb");
  PlayWith("Show 03.rec", RKEY_Ok);  // has a header: the recording path works
  EXPECT_TRUE(emu::IsPlaying());
  TAP_Hdd_StopTs();
  emu::Idle(1);
  PlayWith("clip.mp4", RKEY_Ok);
  EXPECT_FALSE(emu::IsPlaying());
  EXPECT_EQ(windowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "Starting Playback Failed.");
  EXPECT_STREQ(lastMessageLine1, "Return code #-9/#2 when trying to play");
  EXPECT_STREQ(lastMessageLine2, "File: clip.mp4");
}

TEST_F(PlaybackTest, MissingWorkFolderFunctionsAreNumbered) {
  ASSERT_TRUE(GotoPath("/DataFiles"));
  emu::RemoveSymbol("_hddDivxFolder");
  EXPECT_EQ(PlayMediafile("clip.mp4"), 7);
  emu::RemoveSymbol("_Z21ApplHdd_SetWorkFolderPv");
  EXPECT_EQ(PlayMediafile("clip.mp4"), 7);  // resolved once and cached
  EXPECT_FALSE(emu::IsPlaying());
}

TEST_F(PlaybackTest, HistoryEntriesMoveToTheEndWhenPlayedAgain) {
  PlayWith("Show 01.rec", RKEY_Play);
  emu::Wait(1);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  PlayWith("Show 02.rec", RKEY_Play);
  emu::Wait(1);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  int count = numberOfPlayedFiles;
  ASSERT_STREQ(playedFiles[count]->name, "Show 02.rec");
  ASSERT_STREQ(playedFiles[count - 1]->name, "Show 01.rec");
  // The most recent one again: updated in place.
  PlayWith("Show 02.rec", RKEY_Play);
  emu::Wait(2);
  EXPECT_EQ(numberOfPlayedFiles, count);
  EXPECT_EQ(playedFiles[count]->positionBlock, Play().currentBlock);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  // An older one: a new entry at the end, an empty hole where it was.
  PlayWith("Show 01.rec", RKEY_Play);
  emu::Idle(1);
  EXPECT_EQ(numberOfPlayedFiles, count + 1);
  EXPECT_STREQ(playedFiles[count + 1]->name, "Show 01.rec");
  EXPECT_EQ(playedFiles[count - 1]->inode, 0u);
  EXPECT_EQ(playinfoChanged, 1);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  // The next save drops the hole: the name is there as the last played file
  // (line 2) and once in the history.
  std::string history = HistoryFile();
  size_t count01 = 0;
  for (size_t at = history.find("Show 01.rec"); at != std::string::npos;
       at = history.find("Show 01.rec", at + 1)) {
    count01++;
  }
  EXPECT_EQ(count01, 2u);
  // Entry 0 is the last played file.
  EXPECT_STREQ(playedFiles[0]->name, "Show 01.rec");
}

TEST_F(PlaybackTest, TheTimeShiftBufferIsNeverKept) {
  // Not a line of the list: played as the firmware would.
  ASSERT_TRUE(GotoPath("/DataFiles"));
  ASSERT_EQ(TAP_Hdd_PlayTs("__temprec__.ts"), 0);
  emu::Wait(1);
  EXPECT_EQ(History("__temprec__.ts"), nullptr);
  EXPECT_STREQ(playedFiles[0]->name, "__temprec__.ts");  // still the last played
}

TEST_F(PlaybackTest, TheListMarksWhatPlays) {
  PlayWith("Show 04.rec", RKEY_Play);
  OpenList();
  EXPECT_EQ(Line(Find("Show 04.rec"))->playingNow, 1u);
  EXPECT_EQ(Line(Find("Show 05.rec"))->playingNow, 0u);
  EXPECT_EQ(inPlaybackMode, 1);
  EXPECT_STREQ(CurrentPlaybackFile.name, "Show 04.rec.inf");
  dword inode = 0;
  char name[NAME_FIELD];
  FindPlaybackNodeName(&inode, name);
  EXPECT_STREQ(name, "Show 04.rec");
  EXPECT_EQ(inode, Inode("/DataFiles/Show 04.rec"));
}

TEST_F(PlaybackTest, AnOverrunOfThePlayInformationIsReported) {
  PlayWith("Show 01.rec", RKEY_Play);
  emu::Idle(1);
  ASSERT_EQ(inPlaybackMode, 1);
  int before = numberOfPlayedFiles;
  emu::SetPlayInfoOverrun(true);
  emu::Idle(1);
  EXPECT_STREQ(lastMessageTitle, "Quembry:  Error retrieving Playback Info");
  EXPECT_STREQ(lastMessageLine1, "TAP_Hdd_GetPlayInfo buffer overrun");
  EXPECT_STREQ(lastMessageLine2, "in 'CheckPlaybackStatus'.");
  EXPECT_EQ(numberOfPlayedFiles, before);  // the information is not used
  // Reported once while the overruns go on, again after a good read.
  int messages = messageCount;
  emu::Idle(5);
  GetPlaybackInfo();
  EXPECT_EQ(messageCount, messages);
  emu::SetPlayInfoOverrun(false);
  emu::Idle(1);
  emu::SetPlayInfoOverrun(true);
  GetPlaybackInfo();
  EXPECT_EQ(messageCount, messages + 1);
  EXPECT_STREQ(lastMessageLine2, "in 'GetPlaybackInfo'.");
}

TEST_F(PlaybackTest, ARecordingInProgressPlaysFromItsStart) {
  RecordInto("/DataFiles/Show 09.rec", 0, 0, 2);
  OpenList();
  SelectByKeys("Show 09.rec");
  FileRecord* line = Line(chosenLine);
  ASSERT_EQ(line->recordingNow, 1u);
  line->serviceNumber = 2;  // as the header of a real recording of that service says
  line->serviceType = 0;
  emu::Wait(1);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(windowShowing, 0);
  int type = -1, num = -1;
  TAP_Channel_GetCurrent(&type, &num);
  EXPECT_EQ(num, 2);
  // The firmware got Play, Previous, Play and plays the recording from its start.
  std::vector<dword> keys = Firmware();
  ASSERT_GE(keys.size(), 3u);
  EXPECT_EQ(std::vector<dword>(keys.end() - 3, keys.end()),
            (std::vector<dword>{RKEY_Play, RKEY_Prev, RKEY_Play}));
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Show 09.rec");
  EXPECT_LT(Play().currentBlock, 10u);
}

TEST_F(PlaybackTest, ARecordingInProgressThatCannotBeReached) {
  OpenList();
  SelectByKeys("Show 10.rec");
  FileRecord* line = Line(chosenLine);
  line->recordingNow = 1;
  line->serviceNumber = 9;  // no such service
  RestartPlayback(chosenLine, 1);
  EXPECT_STREQ(lastMessageTitle, "Cannot Jump to Start");
  EXPECT_STREQ(lastMessageLine1, "Unable to change channels");
  EXPECT_STREQ(lastMessageLine2, "Cannot jump to start of recording. (A)");
  EXPECT_EQ(exitFlag, 1);
  exitFlag = 0;
  line->serviceNumber = 3;  // a service, but no slot records it
  RestartPlayback(chosenLine, 1);
  EXPECT_STREQ(lastMessageLine1, "No recording found on this channel");
  EXPECT_STREQ(lastMessageLine2, "Cannot jump to start of recording. (B)");
  EXPECT_FALSE(emu::IsPlaying());
  exitFlag = 0;
  // The analogue input without the encoder functions.
  line->serviceNumber = -1;
  Appl_GetAnalogEncoderState = nullptr;
  RestartPlayback(chosenLine, 1);
  EXPECT_STREQ(lastMessageLine2, "Cannot jump to start of recording. (B)");
  exitFlag = 0;
}

TEST_F(PlaybackTest, TheMultiSelectionPlaysOneFileAfterAnother) {
  OpenList();
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Gamma.rec");
  emu::ReleaseKey(RKEY_Red);
  SelectByKeys("Beta.rec");
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 2);
  emu::PressKey(RKEY_Exit);
  // From the top folder: the first item's folder becomes the shown one.
  emu::PressKey(RKEY_PlayList);
  emu::PressKey(RKEY_Guide);
  CurrentDirNumber = 0;
  SetCurrentDir("/DataFiles");
  SelectByKeys("Show 01.rec");
  emu::PressKey(RKEY_Play);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Movies/Gamma.rec");
  EXPECT_STREQ(CurrentDir, "/DataFiles/Movies");
  EXPECT_EQ(MultiSelectCount(), 1);
  EXPECT_EQ(windowShowing, 0);
  // Gamma is 1000 blocks: 20 s. The end starts the next one and closes the
  // list, with the keyboard the user had opened on it: the next list takes
  // its keys itself.
  emu::PressKey(RKEY_PlayList);
  emu::PressKey(RKEY_Green);
  ASSERT_EQ(keyboardWindowShowing, 1);
  emu::Wait(21);
  ASSERT_TRUE(emu::IsPlaying());
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Movies/Beta.rec");
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_EQ(exitFlag, 0);
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(keyboardWindowShowing, 0);
  emu::PressKey(RKEY_PlayList);
  int line = chosenLine;
  emu::PressKey(RKEY_ChDown);
  EXPECT_NE(chosenLine, line);
  // A question or the move window open on the list go the same way; the
  // question is answered No.
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Blue);
  ASSERT_EQ(yesnoWindowShowing, 1);
  ExitRoutine();
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_TRUE(testenv::Exists(HostPath("/DataFiles/Movies/Alpha.rec")));
  emu::PressKey(RKEY_PlayList);
  ASSERT_EQ(windowShowing, 1);
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Yellow);
  ASSERT_EQ(moveWindowShowing, 1);
  ExitRoutine();
  EXPECT_EQ(moveWindowShowing, 0);
}

TEST_F(PlaybackTest, AMultiSelectionItemThatIsGoneClearsTheList) {
  OpenList();
  SelectByKeys("Show 01.rec");
  emu::ReleaseKey(RKEY_Red);
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 2);
  snprintf(MultiSelect->name, sizeof MultiSelect->name, "%s", "Elsewhere.rec");
  emu::PressKey(RKEY_Play);
  EXPECT_STREQ(lastMessageTitle, "Multi-Select Not Found");
  EXPECT_STREQ(lastMessageLine1, "Multi-select file not found (B)");
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_FALSE(emu::IsPlaying());
}

TEST_F(PlaybackTest, RestartLastPlaybackSearchesTheTreeByInode) {
  PlayWith("Series", RKEY_Ok);
  SelectByKeys("Season 2");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Finale.rec");
  emu::PressKey(RKEY_Play);
  emu::Wait(8);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  ASSERT_EQ(playedFiles[0]->positionBlock, 400u);
  // A file of the same name elsewhere is not the one.
  Recording("/DataFiles/Finale.rec", 1000, testdisk::Stamp(2026, 9, 9, 20, 0));
  EXPECT_EQ(RestartLastPlayback(), 0);
  EXPECT_EQ(emu::PlayingPath(), "/mnt/hd/DataFiles/Series/Season 2/Finale.rec");
  EXPECT_EQ(Play().currentBlock, 340u);
  // Gone: the message, and the folder shown before.
  TAP_Hdd_StopTs();
  emu::Idle(1);
  playedFiles[0]->inode = 1;
  EXPECT_EQ(RestartLastPlayback(), -1);
  EXPECT_STREQ(lastMessageTitle, "Restarting Last Playback Failed.");
  EXPECT_STREQ(lastMessageLine1, "Return code #-1 when trying to play");
  EXPECT_STREQ(lastMessageLine2, "File: Finale.rec");
}

TEST_F(PlaybackTest, ClearingProgressAlsoClearsTheHeaderResumePosition) {
  PlayWith("Resume.rec", RKEY_Ok);
  emu::Wait(1);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  OpenList();
  int entry = Find("Resume.rec");
  ASSERT_EQ(Line(entry)->hasHistory, 1u);
  DeleteProgressInfo(CurrentDirNumber, entry, 1);
  EXPECT_EQ(Line(entry)->hasHistory, 0u);
  EXPECT_EQ(Line(entry)->totalBlocks, 1u);
  EXPECT_EQ(History("Resume.rec"), nullptr);
  std::string inf = testenv::ReadFile(HostPath("/DataFiles/Resume.rec.inf"));
  ASSERT_GE(inf.size(), 2128u);
  EXPECT_EQ(inf.substr(2124, 4), std::string(4, '\0'));
  // With markIfNone 0 (a dropped line) entry 0 is cleared too.
  PlayWith("Show 06.rec", RKEY_Play);
  emu::Wait(1);
  TAP_Hdd_StopTs();
  emu::Idle(1);
  OpenList();
  DeleteProgressInfo(CurrentDirNumber, Find("Show 06.rec"), 0);
  EXPECT_EQ(playedFiles[0]->inode, 0u);
  EXPECT_EQ(playedFiles[0]->totalBlocks, 1u);
  EXPECT_EQ(History("Show 06.rec"), nullptr);
}

}  // namespace

namespace {

class TrackingLimitsTest : public PlaybackTest {
 protected:
  void BuildDisk() override {
    PlaybackTest::BuildDisk();
    ASSERT_TRUE(disk->File("/DataFiles/stream_h264", 500 * kBlock));
  }
};

TEST_F(TrackingLimitsTest, StreamsAreNotTrackedAndTheLastEntryStaysUnmarked) {
  ASSERT_TRUE(GotoPath("/DataFiles"));
  ASSERT_EQ(PlayMediafile("stream_h264"), 0);
  emu::Wait(1);
  EXPECT_EQ(inPlaybackMode, 1);
  EXPECT_EQ(History("stream_h264"), nullptr);
  EXPECT_STRNE(playedFiles[0]->name, "stream_h264");
  TAP_Hdd_StopTs();
  emu::Idle(1);
  EXPECT_EQ(inPlaybackMode, 0);
  EXPECT_STREQ(CurrentPlaybackFile.name, "stream_h264");  // as last seen
  GetPlaybackInfo();
  EXPECT_STREQ(CurrentPlaybackFile.name, "");
  // Updating the most recent entry in place does not mark the history changed.
  PlayWith("Show 01.rec", RKEY_Play);
  emu::Idle(1);
  playinfoChanged = 0;
  emu::Wait(1);
  EXPECT_EQ(playinfoChanged, 0);
}

TEST_F(TrackingLimitsTest, TheListLineOfThePlayingFileFollowsOnEveryMinute) {
  OpenList();
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Alpha.rec");
  emu::PressKey(RKEY_Play);
  emu::Wait(2);
  OpenList();
  int entry = Find("Alpha.rec");
  ASSERT_EQ(Line(entry)->playingNow, 1u);
  dword before = Line(entry)->positionBlock;
  playbackOnScreenEntry = entry;  // as the list drawing records it
  playbackOnScreenLine = 2;
  emu::SetClock(2026, 12, 7, 20, 15, 58);
  emu::Wait(3);
  // Refreshed once, at the new minute; the history runs on meanwhile.
  EXPECT_GT(Line(entry)->positionBlock, before);
  EXPECT_LT(Line(entry)->positionBlock, History("Alpha.rec")->positionBlock);
}

TEST_F(PlaybackTest, AMultiSelectionFolderThatIsGoneClearsTheList) {
  OpenList();
  SelectByKeys("Movies");
  emu::PressKey(RKEY_Ok);
  SelectByKeys("Beta.rec");
  emu::ReleaseKey(RKEY_Red);
  ASSERT_EQ(MultiSelectCount(), 1);
  emu::PressKey(RKEY_Exit);
  ASSERT_TRUE(disk->Remove("/DataFiles/Movies"));
  GotoPath("/DataFiles");
  SetCurrentDir("/DataFiles");
  CurrentDirNumber = 0;
  MultiSelectStartPlayback(0, 0);
  EXPECT_STREQ(lastMessageLine1, "Multi-select file not found (A)");
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_FALSE(emu::IsPlaying());
}

}  // namespace
