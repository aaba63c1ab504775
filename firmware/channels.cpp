// Channels, playback and recording slots, as a simple model: a channel list, a
// player that walks through a file in blocks as emulated time passes, and four
// recording slots that tests fill and whose files grow while they record. The
// README ("The playback model") describes what the model does and leaves out.
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "internal.h"

namespace fw {

TYPE_File* hddRecFiles[4][3];
TYPE_File* hddPlayFile;

namespace {

constexpr int kRecSlots = 4;
constexpr dword kBlockBytes = 9024;  // bytes of one playback block
constexpr dword kTicksPerBlock = 2;  // playback speed in emulated time

std::vector<TYPE_TapChInfo> channels[2];  // TV, radio
int currentType = SVC_TYPE_Tv;
int currentNum = 0;
bool channelStarted = true;
// The picture-in-picture: the firmware reports it as channel 0 started.
bool pipShown = false;

TYPE_File playFile;

struct Playback {
  bool active = false;
  TYPE_PlayInfo info;
  TYPE_DirEntry entry;  // what info.file points to
  std::string path;     // system path of the played file
  dword tickRemainder = 0;
};
Playback playback;

TYPE_RecInfo recordings[kRecSlots];
TYPE_File recFiles[kRecSlots][3];
std::string recPaths[kRecSlots];  // system path each recording slot writes
dword recTickRemainder[kRecSlots];
bool playInfoOverrun = false;

// Bytes a recording grows by each second: one second of playback.
constexpr uint64_t kRecordBytesPerSecond =
    static_cast<uint64_t>(kBlockBytes) * 100 / kTicksPerBlock;

bool BeingRecorded(const std::string& path) {
  for (int i = 0; i < kRecSlots; i++) {
    if (recordings[i].recType != RECTYPE_None && !recPaths[i].empty() && recPaths[i] == path) {
      return true;
    }
  }
  return false;
}

dword BlocksOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 1;
  uint64_t blocks = static_cast<uint64_t>(st.st_size) / kBlockBytes;
  return blocks == 0 ? 1 : static_cast<dword>(blocks);
}

// Recordings in progress: the seconds count up and the file grows (sparse).
void AdvanceRecordings(dword ticks) {
  for (int i = 0; i < kRecSlots; i++) {
    if (recordings[i].recType == RECTYPE_None) continue;
    recTickRemainder[i] += ticks;
    dword seconds = recTickRemainder[i] / 100;
    recTickRemainder[i] %= 100;
    if (seconds == 0) continue;
    recordings[i].recordedSec += seconds;
    if (recPaths[i].empty()) continue;
    struct stat st;
    if (stat(recPaths[i].c_str(), &st) != 0) continue;
    off_t grown = st.st_size + static_cast<off_t>(seconds * kRecordBytesPerSecond);
    if (truncate(recPaths[i].c_str(), grown) != 0) continue;
  }
}
std::vector<TYPE_TimerInfo> timers;

std::string playingLabel;
bool muted = false;
constexpr dword kBannerTicks = 500;  // the banner closes by itself after five seconds
dword bannerTicksLeft = 0;

// The playback banner is the firmware's sub-state 50 in normal viewing.
void ShowBanner(bool on) {
  dword state = 0, subState = 0;
  TAP_GetState(&state, &subState);
  bannerTicksLeft = on ? kBannerTicks : 0;
  if (state != STATE_Normal) return;
  if (on) {
    emu::SetState(STATE_Normal, SUBSTATE_PvrTimeSearch);
  } else if (subState == SUBSTATE_PvrTimeSearch) {
    emu::SetState(STATE_Normal, SUBSTATE_Normal);
  }
}

TYPE_TapChInfo Channel(const char* name, word svcType, word svcId, word lcn) {
  TYPE_TapChInfo ch;
  memset(&ch, 0, sizeof ch);
  snprintf(ch.chName, sizeof ch.chName, "%s", name);
  ch.svcType = svcType;
  ch.svcId = svcId;
  ch.pmtPid = static_cast<word>(0x100 + svcId);
  ch.videoPid = svcType == SVC_TYPE_Tv ? static_cast<word>(0x200 + svcId) : 0;
  ch.audioPid = static_cast<word>(0x300 + svcId);
  ch.pcrPid = ch.videoPid ? ch.videoPid : ch.audioPid;
  ch.tsId = 1;
  ch.orgNetId = 1;
  snprintf(ch.satName, sizeof ch.satName, "%s", "Terrestrial");
  ch.logicalChNum = lcn;
  return ch;
}

void BuiltInChannels() {
  channels[0] = {
      Channel("Channel One", SVC_TYPE_Tv, 4101, 1), Channel("Channel Two", SVC_TYPE_Tv, 4102, 2),
      Channel("News 24", SVC_TYPE_Tv, 4103, 3), Channel("Sport Live", SVC_TYPE_Tv, 4104, 4),
      Channel("Kids Club", SVC_TYPE_Tv, 4105, 5)};
  channels[1] = {Channel("Radio One", SVC_TYPE_Radio, 5101, 101),
                 Channel("Classic Radio", SVC_TYPE_Radio, 5102, 102),
                 Channel("Talk Radio", SVC_TYPE_Radio, 5103, 103)};
}

void UpdateLabel() {
  if (!playback.active) hddPlayFile = nullptr;
  if (playback.active) {
    playingLabel = playback.entry.name;
  } else if (channelStarted && currentNum < static_cast<int>(channels[currentType].size())) {
    playingLabel = channels[currentType][currentNum].chName;
  } else {
    playingLabel.clear();
  }
}

int StartPlayback(const std::string& path, byte mode) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 1;
  playback = Playback();
  playback.active = true;
  playback.path = path;
  memset(&playback.info, 0, sizeof playback.info);
  memset(&playback.entry, 0, sizeof playback.entry);
  size_t slash = path.rfind('/');
  std::string name = path.substr(slash + 1);
  std::string folder = path.substr(0, slash);
  // For a recording the firmware reports the entry of its header file.
  std::string reported = name;
  struct stat inf;
  if (mode == PLAYMODE_Playing && stat((path + ".inf").c_str(), &inf) == 0) reported += ".inf";
  snprintf(playback.entry.name, sizeof playback.entry.name, "%s", reported.c_str());
  playback.entry.attr = ATTR_NORMAL;
  playback.entry.stamp = PackStamp(st.st_mtime);
  playback.entry.sizeLow = static_cast<dword>(static_cast<uint64_t>(st.st_size));
  playback.entry.sizeHigh = static_cast<dword>(static_cast<uint64_t>(st.st_size) >> 32);
  playback.info.playMode = mode;
  playback.info.trickMode = TRICKMODE_Normal;
  playback.info.speed = 1;
  playback.info.svcType = static_cast<byte>(currentType);
  playback.info.svcNum = static_cast<word>(currentNum);
  playback.info.totalBlock = BlocksOf(path);
  uint64_t seconds = static_cast<uint64_t>(playback.info.totalBlock) * kTicksPerBlock / 100;
  playback.info.duration = static_cast<word>(seconds / 60);
  playback.info.durationSec = static_cast<word>(seconds % 60);
  playback.info.file = &playback.entry;
  snprintf(playback.info.evtInfo.eventName, sizeof playback.info.evtInfo.eventName, "%s",
           name.c_str());
  memset(&playFile, 0, sizeof playFile);
  playFile.magic = TAP_FILE_MAGIC;
  playFile.mode = TAP_FILE_READ;
  playFile.handle = -1;
  snprintf(playFile.path, sizeof playFile.path, "%s/%s", folder.c_str(), reported.c_str());
  hddPlayFile = &playFile;
  UpdateLabel();
  return 0;
}

}  // namespace

// The files a recording slot writes (the recording, its ".inf" and ".nav"),
// as the firmware's table `_hddRecFiles` shows them; closed when empty.
void SetRecordingFiles(int slot, const std::string& systemPath) {
  static const char* suffixes[3] = {"", ".inf", ".nav"};
  recPaths[slot] = systemPath;
  recTickRemainder[slot] = 0;
  for (int k = 0; k < 3; k++) {
    TYPE_File& f = recFiles[slot][k];
    memset(&f, 0, sizeof f);
    f.handle = -1;
    if (systemPath.empty()) {
      hddRecFiles[slot][k] = nullptr;
      continue;
    }
    f.magic = TAP_FILE_MAGIC;
    f.mode = TAP_FILE_WRITE;
    snprintf(f.path, sizeof f.path, "%s%s", systemPath.c_str(), suffixes[k]);
    hddRecFiles[slot][k] = &f;
  }
}

void ResetChannels() {
  BuiltInChannels();
  currentType = SVC_TYPE_Tv;
  currentNum = 0;
  channelStarted = true;
  pipShown = false;
  playback = Playback();
  playInfoOverrun = false;
  muted = false;
  bannerTicksLeft = 0;
  memset(recordings, 0, sizeof recordings);
  for (int i = 0; i < kRecSlots; i++) SetRecordingFiles(i, "");
  timers.clear();
  UpdateLabel();
}

void AdvancePlayback(dword ticks) {
  AdvanceRecordings(ticks);
  if (bannerTicksLeft > 0) {
    bannerTicksLeft = ticks < bannerTicksLeft ? bannerTicksLeft - ticks : 0;
    if (bannerTicksLeft == 0) ShowBanner(false);
  }
  if (!playback.active || playback.info.trickMode == TRICKMODE_Pause) return;
  playback.tickRemainder += ticks;
  dword blocks = playback.tickRemainder / kTicksPerBlock;
  playback.tickRemainder %= kTicksPerBlock;
  dword& at = playback.info.currentBlock;
  if (BeingRecorded(playback.path)) {
    // A recording in progress: the length follows the file, and playback
    // waits at the live end instead of ending there.
    playback.info.totalBlock = BlocksOf(playback.path);
    dword last = playback.info.totalBlock - 1;
    at = at + blocks < last ? at + blocks : last;
    return;
  }
  if (at + blocks >= playback.info.totalBlock) {
    // The end of the file ends the playback, as on the recorder.
    playback = Playback();
    ShowBanner(false);
    UpdateLabel();
    return;
  }
  at += blocks;
}

const char* PlayingName() { return playingLabel.c_str(); }

bool PlayMedia(const std::string& systemPath) {
  return StartPlayback(systemPath, PLAYMODE_Media) == 0;
}

// The slot recording the service shown live, or -1.
int SlotRecordingCurrentService() {
  for (int i = 0; i < kRecSlots; i++) {
    const TYPE_RecInfo& r = recordings[i];
    if (r.recType == RECTYPE_None || recPaths[i].empty()) continue;
    if (r.svcType == currentType && r.svcNum == currentNum) return i;
  }
  return -1;
}

void FirmwareKey(dword key) {
  dword plain = key & RKEY_MASK;
  if (key != plain) return;  // held and released reports
  if (plain == RKEY_Stop && playback.active) {
    TAP_Hdd_StopTs();
  } else if (plain == RKEY_Pause && playback.active) {
    playback.info.trickMode =
        playback.info.trickMode == TRICKMODE_Pause ? TRICKMODE_Normal : TRICKMODE_Pause;
  } else if (plain == RKEY_Play) {
    if (playback.active) {
      playback.info.trickMode = TRICKMODE_Normal;  // paused or winding: normal speed again
      ShowBanner(true);
      return;
    }
    // Watching a service that is being recorded: Play plays the recording,
    // at the live end.
    int slot = SlotRecordingCurrentService();
    if (slot < 0) return;
    if (StartPlayback(recPaths[slot], PLAYMODE_Playing) == 0) {
      playback.info.currentBlock = playback.info.totalBlock - 1;
    }
  } else if (plain == RKEY_Prev && playback.active) {
    playback.info.currentBlock = 0;  // back to the start of the file
    playback.tickRemainder = 0;
  } else if (plain == RKEY_Exit) {
    ShowBanner(false);
  } else if (plain == RKEY_Mute) {
    muted = !muted;
  }
}

}  // namespace fw

extern "C" {

int TAP_Hdd_PlayTs(const char* name) {
  return fw::StartPlayback(fw::ResolveName(name), PLAYMODE_Playing);
}

int TAP_Hdd_StopTs(void) {
  bool was = fw::playback.active;
  fw::playback = fw::Playback();
  fw::ShowBanner(false);
  fw::UpdateLabel();
  return was ? 1 : 0;
}

int TAP_Hdd_GetPlayInfo(TYPE_PlayInfo* info) {
  if (!info) return 0;
  if (fw::playback.active) {
    *info = fw::playback.info;
  } else {
    memset(info, 0, sizeof *info);
  }
  // A firmware whose record is longer than the one the application knows
  // writes past its end.
  if (fw::playInfoOverrun) memset(reinterpret_cast<byte*>(info) + sizeof *info, 0, 4);
  return 1;
}

int TAP_Hdd_ChangePlaybackPos(dword block) {
  if (!fw::playback.active) return 0;
  fw::playback.info.currentBlock =
      block < fw::playback.info.totalBlock ? block : fw::playback.info.totalBlock - 1;
  return 1;
}

int TAP_Hdd_GetRecInfo(byte slot, TYPE_RecInfo* info) {
  if (slot >= fw::kRecSlots || !info) return 0;
  *info = fw::recordings[slot];
  return 1;
}

int TAP_Hdd_StopRecord(byte slot) {
  if (slot >= fw::kRecSlots || fw::recordings[slot].recType == RECTYPE_None) return 0;
  memset(&fw::recordings[slot], 0, sizeof fw::recordings[slot]);
  fw::SetRecordingFiles(slot, "");
  return 1;
}

// The position goes into the played recording's header, as this model's
// firmware keeps bookmarks: the count at byte 1412 and a table of 177 block
// numbers from 1416, little-endian. 0 without playback, header or room.
int TAP_Hdd_SetBookmark(void) {
  if (!fw::playback.active || !fw::DiskChangeAllowed()) return 0;
  std::string header = fw::playback.path + ".inf";
  int fd = open(header.c_str(), O_RDWR);
  if (fd < 0) return 0;
  constexpr off_t kCount = 1412, kTable = 1416;
  constexpr uint32_t kSlots = 177;
  uint32_t count = 0;
  int result = 0;
  if (pread(fd, &count, 4, kCount) == 4 && count < kSlots) {
    uint32_t block = fw::playback.info.currentBlock;
    uint32_t next = count + 1;
    if (pwrite(fd, &block, 4, kTable + 4 * static_cast<off_t>(count)) == 4 &&
        pwrite(fd, &next, 4, kCount) == 4) {
      result = 1;
    }
  }
  close(fd);
  return result;
}

void TAP_Channel_GetTotalNum(int* nTvSvc, int* nRadioSvc) {
  if (nTvSvc) *nTvSvc = static_cast<int>(fw::channels[0].size());
  if (nRadioSvc) *nRadioSvc = static_cast<int>(fw::channels[1].size());
}

int TAP_Channel_GetInfo(int svcType, int svcNum, TYPE_TapChInfo* info) {
  if (!info || svcType < 0 || svcType > 1 || svcNum < 0 ||
      svcNum >= static_cast<int>(fw::channels[svcType].size())) {
    return 0;
  }
  *info = fw::channels[svcType][svcNum];
  return 1;
}

int TAP_Channel_GetCurrent(int* svcType, int* svcNum) {
  if (svcType) *svcType = fw::currentType;
  if (svcNum) *svcNum = fw::currentNum;
  return 1;
}

int TAP_Channel_Start(int mainSub, int svcType, int svcNum) {
  if (mainSub != 1 && mainSub != 0) return 0;
  if (svcType < 0 || svcType > 1 || svcNum < 0 ||
      svcNum >= static_cast<int>(fw::channels[svcType].size())) {
    return 0;
  }
  fw::currentType = svcType;
  fw::currentNum = svcNum;
  fw::channelStarted = true;
  fw::UpdateLabel();
  return 1;
}

// As the recorder answers: 1 (the main picture) while a service shows, 0
// (the sub picture) only while the picture-in-picture shows. Applications ask
// for 0 to leave keys alone during the picture-in-picture.
int TAP_Channel_IsStarted(int mainSub) {
  if (mainSub == 1) return fw::channelStarted ? 1 : 0;
  if (mainSub == 0) return fw::pipShown ? 1 : 0;
  return 0;
}

int TAP_Timer_GetTotalNum(void) { return static_cast<int>(fw::timers.size()); }

int TAP_Timer_GetInfo(int entryNum, TYPE_TimerInfo* info) {
  if (!info || entryNum < 0 || entryNum >= static_cast<int>(fw::timers.size())) return 0;
  *info = fw::timers[entryNum];
  return 1;
}

}  // extern "C"

namespace emu {

void SetChannels(const std::vector<TYPE_TapChInfo>& tv, const std::vector<TYPE_TapChInfo>& radio) {
  fw::channels[0] = tv;
  fw::channels[1] = radio;
  fw::currentType = SVC_TYPE_Tv;
  fw::currentNum = 0;
  fw::UpdateLabel();
}

bool SetRecording(int slot, const TYPE_RecInfo& info, const std::string& systemPath) {
  if (slot < 0 || slot >= fw::kRecSlots) return false;
  fw::recordings[slot] = info;
  fw::SetRecordingFiles(slot, systemPath);
  return true;
}

void ClearRecording(int slot) {
  if (slot < 0 || slot >= fw::kRecSlots) return;
  memset(&fw::recordings[slot], 0, sizeof(TYPE_RecInfo));
  fw::SetRecordingFiles(slot, "");
}

void SetTimers(const std::vector<TYPE_TimerInfo>& list) { fw::timers = list; }

bool IsPlaying() { return fw::playback.active; }

bool Muted() { return fw::muted; }

void SetPlayInfoOverrun(bool on) { fw::playInfoOverrun = on; }

bool PlaybackPaused() {
  return fw::playback.active && fw::playback.info.trickMode == TRICKMODE_Pause;
}

void SetPictureInPicture(bool shown) { fw::pipShown = shown; }

std::string PlayingPath() { return fw::playback.active ? fw::playback.path : ""; }

}  // namespace emu
