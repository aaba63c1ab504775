// Display regions, composition of the frame, pictures in and out.
#include <png.h>
#include <stdio.h>
// jpeglib.h needs size_t and FILE declared first.

#include <string>
#include <vector>

#include "jpeg.h"
#include "tap.h"
#include "testenv.h"

namespace {

class OsdTest : public RecorderTest {
 protected:
  uint32_t At(int x, int y) { return emu::Frame()[y * OSD_WIDTH + x]; }
};

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

TEST_F(OsdTest, DrawingShowsOnlyAfterSync) {
  word rgn = TAP_Osd_Create(0, 0, 720, 576, 0, 0);
  ASSERT_NE(rgn, 0xFFFF);
  EXPECT_NE(rgn, 0);  // handle 0 is the firmware's own plane
  EXPECT_TRUE(emu::AnyRegionOpen());
  TAP_Osd_FillBox(rgn, 10, 20, 30, 40, 0xFF112233);
  EXPECT_NE(At(15, 25), 0xFF112233u);
  uint64_t frames = emu::FrameCount();
  TAP_Osd_Sync();
  EXPECT_EQ(emu::FrameCount(), frames + 1);
  EXPECT_EQ(At(10, 20), 0xFF112233u);
  EXPECT_EQ(At(39, 59), 0xFF112233u);
  EXPECT_NE(At(40, 60), 0xFF112233u);
  EXPECT_EQ(TAP_Osd_Delete(rgn), 0);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_EQ(TAP_Osd_Delete(rgn), -1);
  EXPECT_EQ(TAP_Osd_Delete(0), -1);
}

TEST_F(OsdTest, RegionsComposeOverPlaneZeroAndVideo) {
  emu::DrawFirmwareOsd(100, 100, 10, 10, 0xFF00FF00);
  word rgn = TAP_Osd_Create(200, 200, 50, 50, 0, 0);
  TAP_Osd_FillBox(rgn, 0, 0, 50, 50, 0x80FF0000);  // half-transparent red
  TAP_Osd_PutPixel(rgn, 49, 49, 0xFF0000FF);
  TAP_Osd_Sync();
  EXPECT_EQ(At(105, 105), 0xFF00FF00u);
  EXPECT_EQ(At(249, 249), 0xFF0000FFu);
  uint32_t mixed = At(210, 210);
  EXPECT_EQ(mixed >> 24, 0xFFu);
  EXPECT_GE(mixed >> 16 & 0xFF, 0x80u);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 49, 49), 0xFF0000FFu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 50, 50), 0u);  // outside
  EXPECT_EQ(TAP_Osd_GetPixel(0, 100, 100), 0xFF00FF00u);
  TYPE_OsdBaseInfo info;
  ASSERT_EQ(TAP_Osd_GetPlaneBaseInfo(&info, 0), 0);
  EXPECT_EQ(info.width, 720u);
  EXPECT_EQ(info.frameBuffer[100 * 720 + 100], 0xFF00FF00u);
  EXPECT_EQ(info.frameBuffer[0], 0u);
  emu::ClearFirmwareOsd();
  EXPECT_EQ(info.frameBuffer[100 * 720 + 100], 0u);
}

TEST_F(OsdTest, LaterRegionsLieOnTop) {
  word first = TAP_Osd_Create(0, 0, 10, 10, 0, 0);
  word second = TAP_Osd_Create(0, 0, 10, 10, 0, 0);
  TAP_Osd_Delete(first);
  word third = TAP_Osd_Create(0, 0, 10, 10, 0, 0);  // reuses the first handle
  EXPECT_EQ(third, first);
  TAP_Osd_FillBox(second, 0, 0, 10, 10, 0xFF00FF00);
  TAP_Osd_FillBox(third, 0, 0, 10, 10, 0xFFFF0000);
  TAP_Osd_Sync();
  EXPECT_EQ(At(5, 5), 0xFFFF0000u);
}

TEST_F(OsdTest, RectanglesClipAndBadRegionsFail) {
  word rgn = TAP_Osd_Create(0, 0, 100, 100, 0, 0);
  TAP_Osd_DrawRectangle(rgn, 10, 10, 20, 20, 2, 0xFFFFFFFF);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 10, 10), 0xFFFFFFFFu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 11, 20), 0xFFFFFFFFu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 29, 29), 0xFFFFFFFFu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 15, 15), 0u);
  EXPECT_EQ(TAP_Osd_FillBox(rgn, 90, 90, 1000, 1000, 0xFF010203), 0);  // clipped
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 99, 99), 0xFF010203u);
  EXPECT_EQ(TAP_Osd_FillBox(77, 0, 0, 1, 1, 0), -1);
  EXPECT_EQ(TAP_Osd_SaveBox(rgn, 0, 0, 0x10000, 0x10001), nullptr);  // w * h * 4 overflows
  EXPECT_EQ(TAP_Osd_Copy(rgn, rgn, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 1, 1, 0), 0);
  EXPECT_EQ(TAP_Osd_Copy(rgn, 77, 0, 0, 1, 1, 0, 0, 0), -1);
  EXPECT_EQ(TAP_Osd_DrawRectangle(rgn, 0, 0, 100, 100, 0x80000000, 0xFF000000), 0);
  EXPECT_EQ(TAP_Osd_Create(0, 0, 0, 10, 0, 0), 0xFFFF);
  EXPECT_EQ(TAP_Osd_Create(800, 0, 10, 10, 0, 0), 0xFFFF);
}

TEST_F(OsdTest, TheBuiltInFontLeavesBlanksBlankAndShowsOthersAsQuestionMarks) {
  word rgn = TAP_Osd_Create(0, 0, 200, 30, 0, 0);
  // The pixels of the n-th character cell (18 pixels wide in size 2).
  auto cell = [&](int n) {
    std::string lit;
    for (int y = 0; y < 30; y++)
      for (int x = n * 18; x < n * 18 + 18; x++) lit += TAP_Osd_GetPixel(rgn, x, y) ? '#' : '.';
    return lit;
  };
  ASSERT_EQ(TAP_Osd_PutS(rgn, 0, 0, 200, " ?~\xE9\x1F\x7F", 0xFFFFFFFF, 0, 0, 2, 0, 0), 0);
  EXPECT_EQ(cell(0).find('#'), std::string::npos);  // the blank
  EXPECT_NE(cell(1).find('#'), std::string::npos);
  EXPECT_NE(cell(2), cell(1));  // '~' is the last character of the font
  for (int n = 3; n < 6; n++) EXPECT_EQ(cell(n), cell(1)) << n;  // outside: '?'
  // A letter is seven font pixels high; one begun left of the region is cut
  // at its edge, not wrapped onto the row above.
  word left = TAP_Osd_Create(0, 100, 40, 30, 0, 0);
  ASSERT_EQ(TAP_Osd_PutS(left, static_cast<dword>(-1), 5, 40, "H", 0xFFFFFFFF, 0, 0, 1, 0, 0), 0);
  EXPECT_NE(TAP_Osd_GetPixel(left, 0, 5), 0u);
  EXPECT_NE(TAP_Osd_GetPixel(left, 0, 18), 0u);
  EXPECT_EQ(TAP_Osd_GetPixel(left, 0, 19), 0u);
  ASSERT_EQ(TAP_Osd_PutS(left, 20, 0, 40, "H", 0xFFFFFFFF, 0, 0, 1, 0, 0), 0);
  EXPECT_NE(TAP_Osd_GetPixel(left, 20, 0), 0u);  // its top row at the region's top
  for (int y = 0; y < 30; y++) EXPECT_EQ(TAP_Osd_GetPixel(left, 39, y), 0u) << y;
}

class LiveOsdTest : public OsdTest {
 protected:
  void Configure(emu::Config& config) override { config.livePicture = true; }
};

// The moving picture's sweep crosses the picture, never the band below it.
TEST_F(LiveOsdTest, TheSweepStaysInThePicture) {
  TAP_Osd_Sync();
  int x = 0;
  while (x < OSD_WIDTH && At(x, 399) != 0xFFFFFFFFu) x++;
  ASSERT_LT(x, OSD_WIDTH);
  EXPECT_EQ(At(x, 0), 0xFFFFFFFFu);
  EXPECT_NE(At(x, 400), 0xFFFFFFFFu);
}

TEST_F(OsdTest, GraphicsBlendWithStraightAlpha) {
  word rgn = TAP_Osd_Create(0, 0, 10, 10, 0, 0);
  TAP_Osd_FillBox(rgn, 0, 0, 10, 10, 0xFF0000FF);
  const dword pixels[4] = {0xFFFF0000, 0x00FF0000, 0x80FF0000, 0xFF00FF00};
  TYPE_GrData gd = {TAP_GRDATA_VERSION, 2, 2, pixels};
  ASSERT_EQ(TAP_Osd_PutGd(rgn, 1, 1, &gd, 1), 0);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 2, 1), 0xFF0000FFu);  // clear pixel keeps the background
  EXPECT_TRUE(Near(TAP_Osd_GetPixel(rgn, 1, 2), 0xFF80007F, 2))
      << std::hex << TAP_Osd_GetPixel(rgn, 1, 2);
  ASSERT_EQ(TAP_Osd_PutGd(rgn, 8, 8, &gd, 0), 0);  // copied, clipped at the edge
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 9, 8), 0x00FF0000u);
  EXPECT_EQ(TAP_Osd_PutGd(rgn, 0, 0, nullptr, 0), -1);
}

TEST_F(OsdTest, SaveRestoreAndCopy) {
  word rgn = TAP_Osd_Create(0, 0, 100, 100, 0, 0);
  TAP_Osd_FillBox(rgn, 0, 0, 10, 10, 0xFF123456);
  size_t blocks = emu::AllocatedBlocks();
  byte* saved = TAP_Osd_SaveBox(rgn, 0, 0, 10, 10);
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(emu::AllocatedBlocks(), blocks + 1);
  TAP_Osd_FillBox(rgn, 0, 0, 10, 10, 0xFF000000);
  TAP_Osd_RestoreBox(rgn, 0, 0, 10, 10, saved);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 9, 9), 0xFF123456u);
  TAP_MemFree(saved);
  // Overlapping copy within one region.
  TAP_Osd_PutPixel(rgn, 0, 0, 0xFFAAAAAA);
  ASSERT_EQ(TAP_Osd_Copy(rgn, rgn, 0, 0, 10, 10, 5, 5, 0), 0);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 5, 5), 0xFFAAAAAAu);
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 14, 14), 0xFF123456u);
  // A sprite copy skips clear pixels.
  word other = TAP_Osd_Create(0, 0, 20, 20, 0, 0);
  TAP_Osd_FillBox(other, 0, 0, 20, 20, 0xFF777777);
  TAP_Osd_FillBox(rgn, 50, 50, 2, 1, 0);
  TAP_Osd_PutPixel(rgn, 51, 50, 0xFF010101);
  TAP_Osd_Copy(rgn, other, 50, 50, 2, 1, 0, 0, 1);
  EXPECT_EQ(TAP_Osd_GetPixel(other, 0, 0), 0xFF777777u);
  EXPECT_EQ(TAP_Osd_GetPixel(other, 1, 0), 0xFF010101u);
}

TEST_F(OsdTest, JpegIsScaledIntoTheBox) {
  std::vector<unsigned char> jpeg = testdisk::EncodeJpeg(64, 32, 0xC82828, {100});
  word rgn = TAP_Osd_Create(0, 0, 200, 200, 0, 0);
  ASSERT_EQ(TAP_Osd_DrawJpeg(rgn, 10, 10, 30, 20, jpeg.data(), static_cast<dword>(jpeg.size())), 0);
  EXPECT_TRUE(Near(TAP_Osd_GetPixel(rgn, 10, 10), 0xFFC82828, 6));
  EXPECT_TRUE(Near(TAP_Osd_GetPixel(rgn, 39, 29), 0xFFC82828, 6));
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 40, 30), 0u);
  // A single pixel is a picture too.
  std::vector<unsigned char> dot = testdisk::EncodeJpeg(1, 1, 0x28C828, {100});
  ASSERT_EQ(TAP_Osd_DrawJpeg(rgn, 100, 100, 4, 4, dot.data(), static_cast<dword>(dot.size())), 0);
  EXPECT_TRUE(Near(TAP_Osd_GetPixel(rgn, 103, 103), 0xFF28C828, 6));
  ASSERT_EQ(TAP_Osd_DrawJpeg(rgn, 100, 120, 4, 1, dot.data(), static_cast<dword>(dot.size())), 0);
  EXPECT_TRUE(Near(TAP_Osd_GetPixel(rgn, 103, 120), 0xFF28C828, 6));  // a box one row high
  EXPECT_EQ(TAP_Osd_GetPixel(rgn, 103, 121), 0u);
  ASSERT_EQ(TAP_Osd_DrawJpeg(rgn, 130, 100, 1, 4, dot.data(), static_cast<dword>(dot.size())), 0);
  EXPECT_TRUE(Near(TAP_Osd_GetPixel(rgn, 130, 103), 0xFF28C828, 6));  // one column wide
  EXPECT_EQ(TAP_Osd_DrawJpeg(rgn, 0, 0, 0, 10, dot.data(), static_cast<dword>(dot.size())), -1);
  const char junk[] = "no picture at all";
  EXPECT_EQ(TAP_Osd_DrawJpeg(rgn, 0, 0, 10, 10, junk, sizeof junk), -1);
  std::vector<unsigned char> cut(jpeg.begin(), jpeg.begin() + jpeg.size() / 3);
  EXPECT_EQ(TAP_Osd_DrawJpeg(rgn, 0, 0, 10, 10, cut.data(), static_cast<dword>(cut.size())), -1);
  // A picture cut inside its image data is refused, not drawn with grey rows.
  size_t scan = 0;
  while (scan + 1 < jpeg.size() && !(jpeg[scan] == 0xFF && jpeg[scan + 1] == 0xDA)) scan++;
  cut.assign(jpeg.begin(), jpeg.begin() + (scan + jpeg.size()) / 2);
  EXPECT_EQ(TAP_Osd_DrawJpeg(rgn, 0, 0, 10, 10, cut.data(), static_cast<dword>(cut.size())), -1);
  // So is one whose end marker is missing.
  cut.assign(jpeg.begin(), jpeg.end() - 2);
  EXPECT_EQ(TAP_Osd_DrawJpeg(rgn, 0, 0, 10, 10, cut.data(), static_cast<dword>(cut.size())), -1);
  // A picture that claims to be larger than the recorder's decoder takes.
  std::vector<unsigned char> huge = jpeg;
  size_t sof = 0;
  while (sof + 8 < huge.size() && !(huge[sof] == 0xFF && huge[sof + 1] == 0xC0)) sof++;
  ASSERT_LT(sof + 8, huge.size());
  huge[sof + 5] = huge[sof + 7] = 0x0F;  // 4000 x 4000
  huge[sof + 6] = huge[sof + 8] = 0xA0;
  EXPECT_EQ(TAP_Osd_DrawJpeg(rgn, 0, 0, 10, 10, huge.data(), static_cast<dword>(huge.size())), -1);
}

TEST_F(OsdTest, FrameIsWrittenAsPng) {
  word rgn = TAP_Osd_Create(0, 0, 720, 576, 0, 0);
  TAP_Osd_FillBox(rgn, 0, 0, 720, 576, 0xFF204060);
  TAP_Osd_PutS(rgn, 10, 10, 700, "Hello", 0xFFFFFFFF, 0, 0, 1, 0, 0);
  TAP_Osd_Sync();
  std::string dir = testenv::MakeTempDir("pvr-png");
  std::string path = dir + "/frame.png";
  ASSERT_TRUE(emu::WritePng(path));
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  EXPECT_EQ(image.width, 720u);
  EXPECT_EQ(image.height, 576u);
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  // The file is whole: it ends with the image end chunk.
  std::string bytes = testenv::ReadFile(path);
  ASSERT_GE(bytes.size(), 12u);
  EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND");
  size_t at = (300 * 720 + 300) * 3;
  EXPECT_EQ(rgb[at], 0x20);
  EXPECT_EQ(rgb[at + 1], 0x40);
  EXPECT_EQ(rgb[at + 2], 0x60);
  bool text = false;
  for (int y = 10; y < 30; y++) {
    for (int x = 10; x < 70; x++) text = text || rgb[(y * 720 + x) * 3] == 0xFF;
  }
  EXPECT_TRUE(text);
  EXPECT_FALSE(emu::WritePng(dir + "/missing/frame.png"));
  testenv::RemoveTree(dir);
}

}  // namespace

// A sync composes only the rectangles that changed; whatever the drawing, the
// frame must equal one composed anew from every pixel.
TEST_F(OsdTest, ComposingWhatChangedEqualsComposingEverything) {
  uint32_t seed = 12345;
  auto next = [&](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % range;
  };
  auto colour = [&]() {
    static const uint32_t alphas[4] = {0x00, 0x80, 0xFF, 0x30};
    return alphas[next(4)] << 24 | next(0x1000000);
  };
  std::vector<word> open;
  dword gdPixels[12 * 9];
  for (dword& p : gdPixels) p = colour();
  TYPE_GrData gd = {TAP_GRDATA_VERSION, 12, 9, gdPixels};
  TYPE_OsdBaseInfo plane;
  ASSERT_EQ(TAP_Osd_GetPlaneBaseInfo(&plane, 0), 0);
  int checked = 0;
  for (int step = 0; step < 600; step++) {
    word rgn = open.empty() || next(8) == 0 ? 0 : open[next(open.size())];
    dword x = next(760), y = next(600), w = next(300), h = next(120);
    switch (next(11)) {
      case 0:
        if (open.size() < 6) {
          word made = TAP_Osd_Create(next(600), next(500), 1 + next(400), 1 + next(300), 0, 0);
          if (made != 0xFFFF) open.push_back(made);
        }
        break;
      case 1:
        if (!open.empty()) {
          size_t i = next(open.size());
          TAP_Osd_Delete(open[i]);
          open.erase(open.begin() + i);
        }
        break;
      case 2:
        TAP_Osd_PutPixel(rgn, x, y, colour());
        break;
      case 3:
        TAP_Osd_PutGd(rgn, static_cast<int>(x) - 20, static_cast<int>(y) - 20, &gd, next(2));
        break;
      case 4:
        TAP_Osd_DrawRectangle(rgn, x, y, w, h, 1 + next(4), colour());
        break;
      case 5:
        if (byte* box = TAP_Osd_SaveBox(rgn, x, y, w + 1, h + 1)) {
          TAP_Osd_RestoreBox(rgn, next(700), next(560), w + 1, h + 1, box);
          TAP_MemFree(box);
        }
        break;
      case 6:
        TAP_Osd_Copy(rgn, open.empty() ? 0 : open[next(open.size())], x / 4, y / 4, w, h, next(200),
                     next(200), next(2));
        break;
      case 7:
        TAP_Osd_PutS(rgn, x, y, x + w, "Ag", colour(), next(2) ? colour() : 0, 0, next(3), 0, 0);
        break;
      case 8:  // the firmware's own display, written through its frame buffer
        plane.frameBuffer[next(OSD_HEIGHT) * OSD_WIDTH + next(OSD_WIDTH)] = colour();
        break;
      default:
        TAP_Osd_FillBox(rgn, x, y, w, h, colour());
    }
    if (next(3) == 0) {
      TAP_Osd_Sync();
      std::vector<uint32_t> synced = emu::Frame();
      emu::ComposeWholeFrame();
      ASSERT_EQ(synced, emu::Frame()) << "at step " << step;
      checked++;
    }
  }
  EXPECT_GT(checked, 100);
}
