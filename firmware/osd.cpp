// The on-screen display: ARGB regions that TAP_Osd_Sync composes, over the
// video picture and the firmware's own display (plane 0), into one frame.
// Region handle 0 is plane 0, so an application can read the firmware's
// pixels the way it does on the recorder.
#include <string.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "internal.h"

namespace fw {
namespace {

constexpr int kMaxRegions = 32;

struct Region {
  bool used = false;
  uint64_t order = 0;  // creation order: later regions lie on top
  int x = 0, y = 0, w = 0, h = 0;
  std::vector<uint32_t> pixels;
};

Region regions[kMaxRegions];
std::vector<uint32_t> frame(OSD_WIDTH* OSD_HEIGHT, 0xFF000000u);
uint64_t frameCount = 0;
uint64_t created = 0;

// What changed since the last composition, in frame coordinates. A sync
// composes these rectangles alone; past kMaxDirty they merge into one.
struct Rect {
  int x0, y0, x1, y1;  // x1, y1 exclusive
};
constexpr int kMaxDirty = 32;
Rect dirty[kMaxDirty];
int dirtyCount = 0;
// The video picture as last drawn (without live marks) and what it showed;
// plane 0 as last composed: its frame buffer is handed out, so writes to it
// are found by comparison.
std::vector<uint32_t> video;
std::string videoName;
bool videoValid = false;
std::vector<uint32_t> plane0Shown;

void MarkFrameDirty(int x0, int y0, int x1, int y1) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, OSD_WIDTH);
  y1 = std::min(y1, OSD_HEIGHT);
  if (x0 >= x1 || y0 >= y1) return;
  for (int i = 0; i < dirtyCount; i++) {
    Rect& d = dirty[i];
    if (x0 >= d.x0 && y0 >= d.y0 && x1 <= d.x1 && y1 <= d.y1) return;  // already inside
  }
  if (dirtyCount == kMaxDirty) {
    Rect& all = dirty[0];
    for (int i = 1; i < dirtyCount; i++) {
      all.x0 = std::min(all.x0, dirty[i].x0);
      all.y0 = std::min(all.y0, dirty[i].y0);
      all.x1 = std::max(all.x1, dirty[i].x1);
      all.y1 = std::max(all.y1, dirty[i].y1);
    }
    all = {std::min(all.x0, x0), std::min(all.y0, y0), std::max(all.x1, x1), std::max(all.y1, y1)};
    dirtyCount = 1;
    return;
  }
  dirty[dirtyCount++] = {x0, y0, x1, y1};
}

void MarkAllDirty() {
  dirty[0] = {0, 0, OSD_WIDTH, OSD_HEIGHT};
  dirtyCount = 1;
}

// A box of a region (region coordinates) changed.
void MarkDirty(const Region& r, int64_t x, int64_t y, int64_t w, int64_t h) {
  if (w <= 0 || h <= 0) return;
  int64_t x0 = std::max<int64_t>(0, x), y0 = std::max<int64_t>(0, y);
  int64_t x1 = std::min<int64_t>(x + w, r.w), y1 = std::min<int64_t>(y + h, r.h);
  if (x0 >= x1 || y0 >= y1) return;
  MarkFrameDirty(static_cast<int>(r.x + x0), static_cast<int>(r.y + y0), static_cast<int>(r.x + x1),
                 static_cast<int>(r.y + y1));
}

Region* Get(word rgn) {
  if (rgn >= kMaxRegions || !regions[rgn].used) return nullptr;
  return &regions[rgn];
}

// Clips a box to the region; false when nothing of it is inside.
bool Clip(const Region& r, dword x, dword y, dword& w, dword& h) {
  if (x >= static_cast<dword>(r.w) || y >= static_cast<dword>(r.h)) return false;
  w = std::min<dword>(w, static_cast<dword>(r.w) - x);
  h = std::min<dword>(h, static_cast<dword>(r.h) - y);
  return w > 0 && h > 0;
}

// Straight-alpha "over": the source pixel laid over the destination.
uint32_t Over(uint32_t src, uint32_t dst) {
  uint32_t sa = src >> 24;
  if (sa == 255) return src;
  if (sa == 0) return dst;
  uint32_t da = dst >> 24;
  uint32_t outA = sa + da * (255 - sa) / 255;
  if (outA == 0) return 0;
  uint32_t out = outA << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t s = src >> shift & 0xFF;
    uint32_t d = dst >> shift & 0xFF;
    uint32_t c = (s * sa + d * da * (255 - sa) / 255) / outA;
    out |= std::min<uint32_t>(c, 255) << shift;
  }
  return out;
}

void DrawLiveMarks(std::vector<uint32_t>& out);

// A test picture: eight colour bars, with the name of what plays below.
void DrawVideoPicture(std::vector<uint32_t>& out) {
  static const uint32_t bars[8] = {0xFFC0C0C0, 0xFFC0C000, 0xFF00C0C0, 0xFF00C000,
                                   0xFFC000C0, 0xFFC00000, 0xFF0000C0, 0xFF101010};
  out.resize(OSD_WIDTH * OSD_HEIGHT);
  for (int y = 0; y < OSD_HEIGHT; y++) {
    for (int x = 0; x < OSD_WIDTH; x++) {
      out[y * OSD_WIDTH + x] = y < 400 ? bars[x * 8 / OSD_WIDTH] : 0xFF202020;
    }
  }
  DrawText(out.data(), OSD_WIDTH, OSD_WIDTH, OSD_HEIGHT, 40, 440, PlayingName(), 0xFFFFFFFF, 3);
}

void DrawVideoLayer(std::vector<uint32_t>& out) {
  DrawVideoPicture(out);
  if (config.livePicture) DrawLiveMarks(out);
}

// What makes the live picture move and tells live viewing from playback: a
// white line sweeping across the bars once every four seconds; during
// playback the bars are dimmed and a bar below the name shows the position.
void DrawLiveMarks(std::vector<uint32_t>& out) {
  TYPE_PlayInfo play;
  TAP_Hdd_GetPlayInfo(&play);
  bool playing = play.playMode == PLAYMODE_Playing || play.playMode == PLAYMODE_Media;
  if (playing) {
    for (int y = 0; y < 400; y++) {
      for (int x = 0; x < OSD_WIDTH; x++) {
        uint32_t& p = out[y * OSD_WIDTH + x];
        p = 0xFF000000u | (p >> 1 & 0x7F7F7F);
      }
    }
    DrawText(out.data(), OSD_WIDTH, OSD_WIDTH, OSD_HEIGHT, 40, 410,
             play.trickMode == TRICKMODE_Pause ? "PAUSE" : "PLAY", 0xFF40FF40, 2);
    dword total = play.totalBlock ? play.totalBlock : 1;
    int filled = static_cast<int>(static_cast<uint64_t>(play.currentBlock) * 640 / total);
    for (int y = 520; y < 532; y++) {
      for (int x = 40; x < 680; x++) {
        out[y * OSD_WIDTH + x] = x - 40 < filled ? 0xFF40C040 : 0xFF505050;
      }
    }
  } else {
    DrawText(out.data(), OSD_WIDTH, OSD_WIDTH, OSD_HEIGHT, 40, 410, "LIVE", 0xFFFF4040, 2);
  }
  int sweep = static_cast<int>(emu::Ticks() % 400) * OSD_WIDTH / 400;
  for (int y = 0; y < 400; y++) {
    for (int x = sweep; x < sweep + 6 && x < OSD_WIDTH; x++) out[y * OSD_WIDTH + x] = 0xFFFFFFFF;
  }
}

}  // namespace

// The display as the last sync left it, kept for RefreshScreen.
std::vector<Region> shown;

emu::DelayObserver delayObserver;
std::string heldSnapPath;   // snapnext: waiting for a delay
std::string heldSnapError;  // what went wrong writing it

void HoldFrame(dword ticks) {
  if (!heldSnapPath.empty()) {
    std::string path;
    path.swap(heldSnapPath);
    if (!emu::WritePng(path)) heldSnapError = "snapnext:" + path + ": cannot write it";
  }
  if (delayObserver) {
    delayObserver(ticks);
  } else if (config.realTime) {
    timespec pause = {static_cast<time_t>(ticks / 100), static_cast<long>(ticks % 100) * 10000000L};
    nanosleep(&pause, nullptr);
  }
}

bool SnapNextHeldFrame(const std::string& path) {
  if (!heldSnapPath.empty()) {
    SetError("snapnext:" + path + ": snapnext:" + heldSnapPath +
             " still waits for a frame held on screen");
    return false;
  }
  heldSnapPath = path;
  return true;
}

bool HeldSnapDone() {
  std::string waiting, error;
  waiting.swap(heldSnapPath);
  error.swap(heldSnapError);
  if (!error.empty()) {
    SetError(error);
    return false;
  }
  if (!waiting.empty()) {
    SetError("snapnext:" + waiting +
             ": no frame was held on screen (no TAP_Delay) before the script ended");
    return false;
  }
  return true;
}

// The used regions of `list`, bottom first.
int Stack(const Region* list, size_t count, const Region* (&stack)[kMaxRegions]) {
  int n = 0;
  for (size_t i = 0; i < count && n < kMaxRegions; i++) {
    if (list[i].used) stack[n++] = &list[i];
  }
  std::sort(stack, stack + n, [](const Region* a, const Region* b) { return a->order < b->order; });
  return n;
}

// Lays the regions over the frame within one rectangle of it.
void LayRegions(const Region* const* stack, int n, const Rect& box) {
  for (int i = 0; i < n; i++) {
    const Region& r = *stack[i];
    int x0 = std::max(box.x0, r.x), x1 = std::min(box.x1, r.x + r.w);
    int y0 = std::max(box.y0, r.y), y1 = std::min(box.y1, r.y + r.h);
    for (int fy = y0; fy < y1; fy++) {
      const uint32_t* src = &r.pixels[(fy - r.y) * r.w + (x0 - r.x)];
      uint32_t* dst = &frame[fy * OSD_WIDTH];
      for (int fx = x0; fx < x1; fx++, src++) {
        uint32_t sa = *src >> 24;
        if (sa == 255) {
          dst[fx] = *src;
        } else if (sa != 0) {
          dst[fx] = Over(*src, dst[fx]) | 0xFF000000u;
        }
      }
    }
  }
}

void ComposeFrom(const Region* list, size_t count) {
  DrawVideoLayer(frame);
  const Region* stack[kMaxRegions];
  int n = Stack(list, count, stack);
  LayRegions(stack, n, {0, 0, OSD_WIDTH, OSD_HEIGHT});
}

// Finds the rows of plane 0 written through its frame buffer since the last
// composition.
void FindPlane0Changes() {
  const std::vector<uint32_t>& now = regions[0].pixels;
  if (plane0Shown.size() != now.size()) {
    plane0Shown = now;
    MarkAllDirty();
    return;
  }
  int first = -1, last = -1;
  for (int y = 0; y < OSD_HEIGHT; y++) {
    size_t at = static_cast<size_t>(y) * OSD_WIDTH;
    if (memcmp(&now[at], &plane0Shown[at], OSD_WIDTH * sizeof(uint32_t)) != 0) {
      if (first < 0) first = y;
      last = y;
    }
  }
  if (first < 0) return;
  std::copy(now.begin() + first * OSD_WIDTH, now.begin() + (last + 1) * OSD_WIDTH,
            plane0Shown.begin() + first * OSD_WIDTH);
  MarkFrameDirty(0, first, OSD_WIDTH, last + 1);
}

// Composes what changed since the last composition: the video picture
// under the regions, within the dirty rectangles alone.
void ComposeChanged() {
  if (!videoValid || videoName != PlayingName()) {
    videoName = PlayingName();
    DrawVideoPicture(video);
    videoValid = true;
    MarkAllDirty();
  }
  FindPlane0Changes();
  const Region* stack[kMaxRegions];
  int n = Stack(regions, kMaxRegions, stack);
  for (int i = 0; i < dirtyCount; i++) {
    const Rect& box = dirty[i];
    for (int y = box.y0; y < box.y1; y++) {
      std::copy(&video[y * OSD_WIDTH + box.x0], &video[y * OSD_WIDTH + box.x1],
                &frame[y * OSD_WIDTH + box.x0]);
    }
    LayRegions(stack, n, box);
  }
  dirtyCount = 0;
}

void Compose() {
  if (config.livePicture) {
    // The picture moves between syncs: every frame is new.
    shown.clear();
    for (const Region& r : regions) {
      if (r.used) shown.push_back(r);
    }
    ComposeFrom(shown.data(), shown.size());
  } else {
    ComposeChanged();
  }
}

// Every pixel anew, and nothing left to do for the next sync.
void ComposeWhole() {
  ComposeFrom(regions, kMaxRegions);
  plane0Shown = regions[0].pixels;
  dirtyCount = 0;
}

void ResetOsd() {
  for (Region& r : regions) r = Region();
  regions[0].used = true;
  regions[0].w = OSD_WIDTH;
  regions[0].h = OSD_HEIGHT;
  regions[0].pixels.assign(OSD_WIDTH * OSD_HEIGHT, 0);
  frame.assign(OSD_WIDTH * OSD_HEIGHT, 0xFF000000u);
  frameCount = 0;
  shown.clear();
  videoValid = false;
  plane0Shown.clear();
  MarkAllDirty();
  delayObserver = nullptr;
  heldSnapPath.clear();
  heldSnapError.clear();
  Compose();  // until the first sync the screen shows the picture alone
}

}  // namespace fw

using fw::Get;
using fw::Region;

extern "C" {

word TAP_Osd_Create(dword x, dword y, dword w, dword h, byte, int) {
  if (w == 0 || h == 0 || x >= OSD_WIDTH || y >= OSD_HEIGHT || w > OSD_WIDTH || h > OSD_HEIGHT) {
    return 0xFFFF;
  }
  for (int i = 1; i < fw::kMaxRegions; i++) {
    Region& r = fw::regions[i];
    if (r.used) continue;
    r.used = true;
    r.order = ++fw::created;
    r.x = static_cast<int>(x);
    r.y = static_cast<int>(y);
    r.w = static_cast<int>(w);
    r.h = static_cast<int>(h);
    r.pixels.assign(static_cast<size_t>(w) * h, 0);
    fw::MarkDirty(r, 0, 0, r.w, r.h);
    return static_cast<word>(i);
  }
  return 0xFFFF;
}

int TAP_Osd_Delete(word rgn) {
  if (rgn == 0 || !Get(rgn)) return -1;
  Region& r = fw::regions[rgn];
  fw::MarkDirty(r, 0, 0, r.w, r.h);
  // The pixel storage stays with the slot: applications delete and create
  // their full-screen region at every change of screen.
  std::vector<uint32_t> storage = std::move(r.pixels);
  storage.clear();
  r = Region();
  r.pixels = std::move(storage);
  return 0;
}

void TAP_Osd_Sync(void) {
  if (fw::config.screen) fw::Compose();
  fw::frameCount++;
}

int TAP_Osd_FillBox(word rgn, dword x, dword y, dword w, dword h, dword color) {
  Region* r = Get(rgn);
  if (!r) return -1;
  if (!fw::Clip(*r, x, y, w, h)) return 0;
  for (dword j = 0; j < h; j++) {
    std::fill_n(&r->pixels[(y + j) * r->w + x], w, color);
  }
  fw::MarkDirty(*r, x, y, w, h);
  return 0;
}

int TAP_Osd_DrawRectangle(word rgn, dword x, dword y, dword w, dword h, dword thick, dword color) {
  if (!Get(rgn)) return -1;
  if (thick == 0 || w == 0 || h == 0) return 0;
  if (thick * 2 >= w || thick * 2 >= h) return TAP_Osd_FillBox(rgn, x, y, w, h, color);
  TAP_Osd_FillBox(rgn, x, y, w, thick, color);
  TAP_Osd_FillBox(rgn, x, y + h - thick, w, thick, color);
  TAP_Osd_FillBox(rgn, x, y + thick, thick, h - 2 * thick, color);
  TAP_Osd_FillBox(rgn, x + w - thick, y + thick, thick, h - 2 * thick, color);
  return 0;
}

int TAP_Osd_PutPixel(word rgn, dword x, dword y, dword pix) {
  Region* r = Get(rgn);
  if (!r) return -1;
  if (x >= static_cast<dword>(r->w) || y >= static_cast<dword>(r->h)) return -1;
  r->pixels[y * r->w + x] = pix;
  fw::MarkDirty(*r, x, y, 1, 1);
  return 0;
}

dword TAP_Osd_GetPixel(word rgn, dword x, dword y) {
  Region* r = Get(rgn);
  if (!r || x >= static_cast<dword>(r->w) || y >= static_cast<dword>(r->h)) return 0;
  return r->pixels[y * r->w + x];
}

int TAP_Osd_PutGd(word rgn, int x, int y, const TYPE_GrData* gd, int blend) {
  Region* r = Get(rgn);
  if (!r || !gd || !gd->argb) return -1;
  fw::MarkDirty(*r, x, y, gd->width, gd->height);
  // The part of the picture that lies within the region.
  const int i0 = std::max(0, -x), i1 = std::min<int>(gd->width, r->w - x);
  const int j0 = std::max(0, -y), j1 = std::min<int>(gd->height, r->h - y);
  for (int j = j0; j < j1 && i0 < i1; j++) {
    const uint32_t* src = gd->argb + j * gd->width + i0;
    uint32_t* dst = r->pixels.data() + (y + j) * r->w + x + i0;
    if (!blend) {
      std::copy(src, src + (i1 - i0), dst);
      continue;
    }
    for (int i = 0; i < i1 - i0; i++) dst[i] = fw::Over(src[i], dst[i]);
  }
  return 0;
}

int TAP_Osd_DrawJpeg(word rgn, dword x, dword y, dword w, dword h, const void* jpeg, dword size) {
  Region* r = Get(rgn);
  if (!r || !jpeg || size == 0 || w == 0 || h == 0) return -1;
  std::vector<uint32_t> image;
  int iw = 0, ih = 0;
  if (!fw::DecodeJpeg(jpeg, size, image, iw, ih)) return -1;
  fw::MarkDirty(*r, x, y, w, h);
  // Each box pixel takes the average of the image pixels it covers.
  for (dword j = 0; j < h; j++) {
    if (y + j >= static_cast<dword>(r->h)) break;
    int y0 = static_cast<int>(static_cast<uint64_t>(j) * ih / h);
    int y1 = std::max(y0 + 1, static_cast<int>(static_cast<uint64_t>(j + 1) * ih / h));
    for (dword i = 0; i < w; i++) {
      if (x + i >= static_cast<dword>(r->w)) break;
      int x0 = static_cast<int>(static_cast<uint64_t>(i) * iw / w);
      int x1 = std::max(x0 + 1, static_cast<int>(static_cast<uint64_t>(i + 1) * iw / w));
      uint32_t sum[3] = {0, 0, 0}, n = 0;
      for (int sy = y0; sy < y1 && sy < ih; sy++) {
        for (int sx = x0; sx < x1 && sx < iw; sx++) {
          uint32_t p = image[sy * iw + sx];
          sum[0] += p >> 16 & 0xFF;
          sum[1] += p >> 8 & 0xFF;
          sum[2] += p & 0xFF;
          n++;
        }
      }
      if (n == 0) continue;
      r->pixels[(y + j) * r->w + x + i] =
          0xFF000000u | (sum[0] / n) << 16 | (sum[1] / n) << 8 | (sum[2] / n);
    }
  }
  return 0;
}

byte* TAP_Osd_SaveBox(word rgn, dword x, dword y, dword w, dword h) {
  Region* r = Get(rgn);
  // A box larger than any region is refused before its size can overflow.
  if (!r || w == 0 || h == 0 || w > OSD_WIDTH || h > OSD_HEIGHT) return nullptr;
  uint32_t* data = static_cast<uint32_t*>(TAP_MemAlloc(w * h * 4));
  if (!data) return nullptr;
  // Pixels outside the region read as 0.
  const dword inside = x < static_cast<dword>(r->w) ? std::min<dword>(w, r->w - x) : 0;
  for (dword j = 0; j < h; j++) {
    uint32_t* row = data + j * w;
    dword copied = y + j < static_cast<dword>(r->h) ? inside : 0;
    if (copied) std::copy_n(&r->pixels[(y + j) * r->w + x], copied, row);
    std::fill(row + copied, row + w, 0u);
  }
  return reinterpret_cast<byte*>(data);
}

void TAP_Osd_RestoreBox(word rgn, dword x, dword y, dword w, dword h, const void* data) {
  Region* r = Get(rgn);
  if (!r || !data) return;
  fw::MarkDirty(*r, x, y, w, h);
  const uint32_t* pixels = static_cast<const uint32_t*>(data);
  if (x >= static_cast<dword>(r->w)) return;
  const dword inside = std::min<dword>(w, r->w - x);
  for (dword j = 0; j < h && y + j < static_cast<dword>(r->h); j++) {
    std::copy_n(pixels + j * w, inside, &r->pixels[(y + j) * r->w + x]);
  }
}

int TAP_Osd_Copy(word srcRgn, word dstRgn, dword srcX, dword srcY, dword w, dword h, dword dstX,
                 dword dstY, int sprite) {
  Region* src = Get(srcRgn);
  Region* dst = Get(dstRgn);
  if (!src || !dst) return -1;
  w = std::min<dword>(w, OSD_WIDTH);
  h = std::min<dword>(h, OSD_HEIGHT);
  fw::MarkDirty(*dst, dstX, dstY, w, h);
  // Through a copy, so that overlapping boxes of one region come out right.
  std::vector<uint32_t> box(static_cast<size_t>(w) * h, 0);
  std::vector<bool> inside(box.size(), false);
  for (dword j = 0; j < h; j++) {
    for (dword i = 0; i < w; i++) {
      if (srcX + i < static_cast<dword>(src->w) && srcY + j < static_cast<dword>(src->h)) {
        box[j * w + i] = src->pixels[(srcY + j) * src->w + srcX + i];
        inside[j * w + i] = true;
      }
    }
  }
  for (dword j = 0; j < h; j++) {
    for (dword i = 0; i < w; i++) {
      if (!inside[j * w + i]) continue;
      if (dstX + i >= static_cast<dword>(dst->w) || dstY + j >= static_cast<dword>(dst->h)) {
        continue;
      }
      uint32_t p = box[j * w + i];
      if (sprite && (p >> 24) == 0) continue;  // sprites keep what lies under clear pixels
      dst->pixels[(dstY + j) * dst->w + dstX + i] = p;
    }
  }
  return 0;
}

int TAP_Osd_PutS(word rgn, dword x, dword y, dword maxX, const char* str, dword fcolor,
                 dword bcolor, byte, byte fntSize, byte, byte) {
  Region* r = Get(rgn);
  if (!r || !str) return -1;
  int scale = fntSize >= 2 ? 3 : fntSize == 1 ? 2 : 2;
  int width = std::min<int>(static_cast<int>(maxX), r->w);
  int textW = static_cast<int>(strlen(str)) * 6 * scale;
  if (bcolor) {
    TAP_Osd_FillBox(rgn, x, y, static_cast<dword>(std::max(0, std::min(textW, width - (int)x))),
                    static_cast<dword>(8 * scale), bcolor);
  }
  fw::DrawText(r->pixels.data(), r->w, width, r->h, static_cast<int>(x), static_cast<int>(y), str,
               fcolor, scale);
  fw::MarkDirty(*r, x, y, width - static_cast<int64_t>(x), 8 * scale);
  return 0;
}

int TAP_Osd_GetPlaneBaseInfo(TYPE_OsdBaseInfo* info, int plane) {
  if (!info) return -1;
  if (plane != 0) {
    memset(info, 0, sizeof *info);
    return -1;
  }
  info->frameBuffer = fw::regions[0].pixels.data();
  info->width = OSD_WIDTH;
  info->height = OSD_HEIGHT;
  return 0;
}

}  // extern "C"

namespace emu {

const std::vector<uint32_t>& Frame() { return fw::frame; }

uint64_t FrameCount() { return fw::frameCount; }

void RefreshScreen() {
  if (fw::config.livePicture) fw::ComposeFrom(fw::shown.data(), fw::shown.size());
}

void ComposeWholeFrame() { fw::ComposeWhole(); }

bool AnyRegionOpen() {
  for (int i = 1; i < fw::kMaxRegions; i++) {
    if (fw::regions[i].used) return true;
  }
  return false;
}

void SetDelayObserver(DelayObserver observer) { fw::delayObserver = std::move(observer); }

void DrawFirmwareOsd(int x, int y, int w, int h, uint32_t argb) {
  if (x < 0 || y < 0 || w <= 0 || h <= 0) return;
  TAP_Osd_FillBox(0, static_cast<dword>(x), static_cast<dword>(y), static_cast<dword>(w),
                  static_cast<dword>(h), argb);
}

void ClearFirmwareOsd() {
  std::fill(fw::regions[0].pixels.begin(), fw::regions[0].pixels.end(), 0u);
}

}  // namespace emu
