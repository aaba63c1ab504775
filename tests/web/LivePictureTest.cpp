// The live front end's picture: it moves with the clock, tells normal viewing
// from playback, and shows the display as the last sync left it.
#include <vector>

#include "emu.h"
#include "testdisk.h"
#include "testenv.h"

namespace {

class LivePictureTest : public RecorderTest {
 protected:
  void Configure(emu::Config& config) override { config.livePicture = true; }
};

// Pixels that differ between two frames in rows y0..y1-1.
int Changed(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int y0, int y1) {
  int n = 0;
  for (int i = y0 * OSD_WIDTH; i < y1 * OSD_WIDTH; i++) n += a[i] != b[i];
  return n;
}

TEST_F(LivePictureTest, MovesWithTheClockAndShowsWhatPlays) {
  emu::RefreshScreen();
  std::vector<uint32_t> live = emu::Frame();
  emu::Idle(5);
  emu::RefreshScreen();
  std::vector<uint32_t> later = emu::Frame();
  EXPECT_GT(Changed(live, later, 0, 400), 0) << "the picture moves";
  EXPECT_EQ(Changed(live, later, 400, OSD_HEIGHT), 0) << "the caption stays";
  EXPECT_EQ(emu::FrameCount(), 0u) << "refreshing is no sync";

  testdisk::Disk disk(disk_);
  ASSERT_TRUE(disk.File("/DataFiles/Film.rec", 90ull << 20));
  ASSERT_EQ(TAP_Hdd_PlayTs("/DataFiles/Film.rec"), 0);
  emu::RefreshScreen();
  std::vector<uint32_t> playing = emu::Frame();
  EXPECT_GT(Changed(later, playing, 400, OSD_HEIGHT), 1000) << "name, mark and position bar";
  // The bars are dimmed during playback.
  EXPECT_EQ(playing[10 * OSD_WIDTH + 10], 0xFF606060u);
  EXPECT_EQ(later[10 * OSD_WIDTH + 10], 0xFFC0C0C0u);
  emu::Wait(20);
  emu::RefreshScreen();
  EXPECT_GT(Changed(playing, emu::Frame(), 520, 532), 0) << "the position bar grows";
  TAP_Hdd_StopTs();
  emu::RefreshScreen();
  EXPECT_EQ(Changed(emu::Frame(), later, 400, OSD_HEIGHT), 0) << "live viewing again";
}

TEST_F(LivePictureTest, ShowsTheDisplayAsTheLastSyncLeftIt) {
  word rgn = TAP_Osd_Create(0, 0, OSD_WIDTH, OSD_HEIGHT, 0, 0);
  ASSERT_NE(rgn, 0xFFFF);
  TAP_Osd_FillBox(rgn, 100, 100, 50, 50, 0xFFFF0000);
  emu::RefreshScreen();
  EXPECT_NE(emu::Frame()[120 * OSD_WIDTH + 120], 0xFFFF0000u) << "not synced yet";
  TAP_Osd_Sync();
  TAP_Osd_FillBox(rgn, 100, 100, 50, 50, 0xFF00FF00);  // drawn after the sync
  emu::Idle(3);
  emu::RefreshScreen();
  EXPECT_EQ(emu::Frame()[120 * OSD_WIDTH + 120], 0xFFFF0000u);
  TAP_Osd_Delete(rgn);
}

class StillPictureTest : public RecorderTest {};

TEST_F(StillPictureTest, WithoutTheLiveFrontEndFramesComeFromSyncsOnly) {
  std::vector<uint32_t> first = emu::Frame();
  emu::Idle(5);
  emu::RefreshScreen();
  EXPECT_EQ(Changed(first, emu::Frame(), 0, OSD_HEIGHT), 0);
}

}  // namespace
