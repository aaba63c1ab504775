// The recorder's side of the image host (tools/image/taphost.c): release
// images for the recorder's CPU run in that host, under qemu-mipsel on
// uClibc-ng, and their firmware calls come here over a stream, where the
// same emulated firmware answers them as it answers a native application.
// Their table slots hold handlers that forward each event to the host and
// serve the calls the image makes meanwhile (firmware/relay.h).
#include "relay.h"

#include <elf.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "internal.h"

// The firmware internals, under the names the host offers them by.
byte RelayGetAnalogEncoderState() __asm__("_Z26Appl_GetAnalogEncoderStatev");
void RelayAnalogChangeAction() __asm__("_Z23Appl_AnalogChangeActionv");
void RelaySetAnalogEncoderMode(byte mode) __asm__("_Z25Appl_SetAnalogEncoderModeh");
bool RelayStartPlaybackMedia(const char* name, dword, bool,
                             bool) __asm__("_Z23Appl_StartPlaybackMediaPKcjbb");
bool RelayExecProgram(char* name) __asm__("_Z16Appl_ExecProgramPc");
void RelaySaveWorkFolder() __asm__("_Z22ApplHdd_SaveWorkFolderv");
void RelayRestoreWorkFolder() __asm__("_Z25ApplHdd_RestoreWorkFolderv");
void RelaySetWorkFolder(void* record) __asm__("_Z21ApplHdd_SetWorkFolderPv");
dword RelaySelectFolder(void* record, const char* path) __asm__("_Z20ApplHdd_SelectFolderPvPKc");
void RelayConvertToValidUTF8Str(unsigned char* text,
                                int) __asm__("_Z26Appl_ConvertToValidUTF8StrPhi");
extern dword relayDivxFolder[4] __asm__("_hddDivxFolder");

namespace fw {
namespace {

static_assert(sizeof(TYPE_DirEntry) == 152 && sizeof(TYPE_RecInfo) == 148 &&
                  sizeof(TYPE_TapChInfo) == 72 && sizeof(TYPE_TimerInfo) == 144 &&
                  sizeof(TYPE_File) == 524 && sizeof(TYPE_TapHeader) == 352,
              "records without pointers have the recorder's layout here too");

int stream = -1;
pid_t hostPid = -1;
uint32_t* plane0 = nullptr;
bool hosted[TAP_MAX_TASKS];
TYPE_TapHeader hostedHeaders[TAP_MAX_TASKS];
std::string sentState;

struct Msg {
  RelayHead head{};
  std::vector<uint8_t> data;
  size_t at = 0;

  uint32_t Word() {
    uint32_t w = 0;
    if (data.size() - at >= 4) {
      memcpy(&w, &data[at], 4);
      at += 4;
    }
    return w;
  }
  // The next blob; null for a null string or a short message.
  const uint8_t* Blob(uint32_t* n) {
    uint32_t len = Word();
    *n = 0;
    if (len == 0xFFFFFFFFu || data.size() - at < len) return nullptr;
    const uint8_t* p = data.data() + at;
    *n = len;
    at = std::min(data.size(), at + ((len + 3) & ~3u));
    return p;
  }
  // A string; null when it crossed as null. Strings end in a zero byte.
  const char* String() {
    uint32_t n;
    const uint8_t* p = Blob(&n);
    if (!p || n == 0 || p[n - 1] != 0) return nullptr;
    return reinterpret_cast<const char*>(p);
  }
};

struct Out {
  std::string bytes;
  void Word(uint32_t w) { bytes.append(reinterpret_cast<const char*>(&w), 4); }
  void Blob(const void* p, uint32_t n) {
    Word(n);
    if (n) bytes.append(static_cast<const char*>(p), n);
    bytes.append((4 - n % 4) % 4, '\0');
  }
};

[[noreturn]] void Fail(const char* what) {
  fprintf(stderr, "recorder: the image host %s\n", what);
  _exit(1);
}

void WriteAll(const void* p, size_t n) {
  const char* q = static_cast<const char*>(p);
  while (n) {
    ssize_t w = write(stream, q, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) Fail("went away");
    q += w;
    n -= static_cast<size_t>(w);
  }
}

bool ReadAll(void* p, size_t n) {
  char* q = static_cast<char*>(p);
  while (n) {
    ssize_t r = read(stream, q, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    q += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

void Receive(Msg& m) {
  if (!ReadAll(&m.head, sizeof m.head)) Fail("ended");
  m.data.resize(m.head.size);
  m.at = 0;
  if (!ReadAll(m.data.data(), m.data.size())) Fail("ended");
}

void PutFileState(Out& o, const TYPE_File* f) {
  o.Word(f != nullptr);
  if (f) o.Blob(f, sizeof *f);
}

// The firmware's data that applications read directly, as the host keeps it.
std::string State() {
  Out o;
  o.Word(AnalogModeFlag());
  PutFileState(o, hddPlayFile);
  for (auto& slot : hddRecFiles) {
    for (TYPE_File* f : slot) PutFileState(o, f);
  }
  for (char* folder : hddTapFolder) o.Blob(folder, folder ? strlen(folder) + 1 : 0);
  return o.bytes;
}

void Send(uint32_t kind, uint32_t op, const std::string& payload) {
  std::string state = State();
  bool changed = state != sentState;
  RelayHead h = {kind, op, curTapTask, changed ? uint32_t{RELAY_FLAG_STATE} : 0u,
                 static_cast<uint32_t>(payload.size() + (changed ? state.size() : 0))};
  WriteAll(&h, sizeof h);
  if (changed) {
    WriteAll(state.data(), state.size());
    sentState = state;
  }
  WriteAll(payload.data(), payload.size());
}

TYPE_File* FileOf(Msg& m) {
  uint64_t low = m.Word(), high = m.Word();
  return reinterpret_cast<TYPE_File*>(static_cast<uintptr_t>(high << 32 | low));
}

// The play information in the recorder's layout: its file pointer (at 20)
// is the host's to fill.
void PutPlayInfo(Out& o, const TYPE_PlayInfo& info) {
  uint8_t raw[308] = {};
  memcpy(raw, &info, 20);
  memcpy(raw + 24, &info.evtInfo, sizeof info.evtInfo);
  memcpy(raw + 304, &info.repeatStatus, 4);
  o.Blob(raw, sizeof raw);
  o.Word(info.file != nullptr);
  if (info.file) o.Blob(info.file, sizeof *info.file);
}

// Carries out one firmware call of the image; its results go into `o`.
void Execute(uint32_t op, Msg& m, Out& o) {
  uint32_t n;
  switch (op) {
    case RELAY_OP_Exit:
      TAP_Exit();
      o.Word(0);
      break;
    case RELAY_OP_ExitNormal:
      TAP_ExitNormal();
      o.Word(0);
      break;
    case RELAY_OP_EnterNormal:
      TAP_EnterNormal();
      o.Word(0);
      break;
    case RELAY_OP_GenerateEvent: {
      word e = static_cast<word>(m.Word());
      dword p1 = m.Word(), p2 = m.Word();
      o.Word(static_cast<uint32_t>(TAP_GenerateEvent(e, p1, p2)));
      break;
    }
    case RELAY_OP_GetState: {
      dword s = 0, sub = 0;
      TAP_GetState(&s, &sub);
      o.Word(s);
      o.Word(sub);
      break;
    }
    case RELAY_OP_GetSystemId:
      o.Word(TAP_GetSystemId());
      break;
    case RELAY_OP_GetTick:
      o.Word(TAP_GetTick());
      break;
    case RELAY_OP_Delay:
      TAP_Delay(m.Word());
      o.Word(0);
      break;
    case RELAY_OP_Print: {
      const char* text = m.String();
      o.Word(static_cast<uint32_t>(TAP_Print("%s", text ? text : "")));
      break;
    }
    case RELAY_OP_MakeMjd: {
      word y = static_cast<word>(m.Word());
      byte mo = static_cast<byte>(m.Word()), d = static_cast<byte>(m.Word());
      o.Word(TAP_MakeMjd(y, mo, d));
      break;
    }
    case RELAY_OP_ExtractMjd: {
      word y = 0;
      byte mo = 0, d = 0, w = 0;
      o.Word(static_cast<uint32_t>(TAP_ExtractMjd(static_cast<word>(m.Word()), &y, &mo, &d, &w)));
      o.Word(y), o.Word(mo), o.Word(d), o.Word(w);
      break;
    }
    case RELAY_OP_GetTime: {
      word mjd = 0;
      byte h = 0, mi = 0, s = 0;
      o.Word(static_cast<uint32_t>(TAP_GetTime(&mjd, &h, &mi, &s)));
      o.Word(mjd), o.Word(h), o.Word(mi), o.Word(s);
      break;
    }
    case RELAY_OP_Osd_Create: {
      dword a[6];
      for (dword& w : a) w = m.Word();
      o.Word(
          TAP_Osd_Create(a[0], a[1], a[2], a[3], static_cast<byte>(a[4]), static_cast<int>(a[5])));
      break;
    }
    case RELAY_OP_Osd_Delete:
      o.Word(static_cast<uint32_t>(TAP_Osd_Delete(static_cast<word>(m.Word()))));
      break;
    case RELAY_OP_Osd_Sync:
      TAP_Osd_Sync();
      o.Word(0);
      break;
    case RELAY_OP_Osd_FillBox: {
      dword a[6];
      for (dword& w : a) w = m.Word();
      o.Word(static_cast<uint32_t>(
          TAP_Osd_FillBox(static_cast<word>(a[0]), a[1], a[2], a[3], a[4], a[5])));
      break;
    }
    case RELAY_OP_Osd_DrawRectangle: {
      dword a[7];
      for (dword& w : a) w = m.Word();
      o.Word(static_cast<uint32_t>(
          TAP_Osd_DrawRectangle(static_cast<word>(a[0]), a[1], a[2], a[3], a[4], a[5], a[6])));
      break;
    }
    case RELAY_OP_Osd_PutPixel: {
      dword a[4];
      for (dword& w : a) w = m.Word();
      o.Word(static_cast<uint32_t>(TAP_Osd_PutPixel(static_cast<word>(a[0]), a[1], a[2], a[3])));
      break;
    }
    case RELAY_OP_Osd_GetPixel: {
      dword a[3];
      for (dword& w : a) w = m.Word();
      o.Word(TAP_Osd_GetPixel(static_cast<word>(a[0]), a[1], a[2]));
      break;
    }
    case RELAY_OP_Osd_PutGd: {
      word rgn = static_cast<word>(m.Word());
      int x = static_cast<int>(m.Word()), y = static_cast<int>(m.Word());
      int blend = static_cast<int>(m.Word());
      TYPE_GrData gd{};
      bool has = m.Word();
      std::vector<dword> pixels;
      if (has) {
        gd.version = m.Word();
        gd.width = static_cast<word>(m.Word());
        gd.height = static_cast<word>(m.Word());
        bool hasPixels = m.Word();
        const uint8_t* p = m.Blob(&n);
        pixels.resize(n / 4);
        if (n) memcpy(pixels.data(), p, pixels.size() * 4);
        gd.argb = hasPixels ? pixels.data() : nullptr;
        if (hasPixels && pixels.empty()) gd.argb = reinterpret_cast<const dword*>(&gd);
      }
      o.Word(static_cast<uint32_t>(TAP_Osd_PutGd(rgn, x, y, has ? &gd : nullptr, blend)));
      break;
    }
    case RELAY_OP_Osd_DrawJpeg: {
      dword a[5];
      for (dword& w : a) w = m.Word();
      bool has = m.Word();
      const uint8_t* p = m.Blob(&n);
      dword size = m.Word();
      std::vector<uint8_t> jpeg(p, p + n);
      o.Word(static_cast<uint32_t>(TAP_Osd_DrawJpeg(static_cast<word>(a[0]), a[1], a[2], a[3], a[4],
                                                    has ? jpeg.data() : nullptr, size)));
      break;
    }
    case RELAY_OP_Osd_SaveBox: {
      dword a[5];
      for (dword& w : a) w = m.Word();
      byte* box = TAP_Osd_SaveBox(static_cast<word>(a[0]), a[1], a[2], a[3], a[4]);
      o.Word(box != nullptr);
      if (box) {
        o.Blob(box, a[3] * a[4] * 4);
        TAP_MemFree(box);
      }
      break;
    }
    case RELAY_OP_Osd_RestoreBox: {
      dword a[5];
      for (dword& w : a) w = m.Word();
      bool has = m.Word();
      const uint8_t* p = m.Blob(&n);
      std::vector<uint8_t> data(p, p + n);
      // A box the host could not carry (larger than the screen) is refused
      // by the firmware before it reads any pixel.
      if (has && data.size() < static_cast<uint64_t>(a[3]) * a[4] * 4) {
        data.assign(std::min<uint64_t>(static_cast<uint64_t>(a[3]) * a[4] * 4, 1u << 24), 0);
      }
      TAP_Osd_RestoreBox(static_cast<word>(a[0]), a[1], a[2], a[3], a[4],
                         has ? data.data() : nullptr);
      o.Word(0);
      break;
    }
    case RELAY_OP_Osd_Copy: {
      dword a[9];
      for (dword& w : a) w = m.Word();
      o.Word(static_cast<uint32_t>(TAP_Osd_Copy(static_cast<word>(a[0]), static_cast<word>(a[1]),
                                                a[2], a[3], a[4], a[5], a[6], a[7],
                                                static_cast<int>(a[8]))));
      break;
    }
    case RELAY_OP_Osd_PutS: {
      word rgn = static_cast<word>(m.Word());
      dword x = m.Word(), y = m.Word(), maxX = m.Word();
      const char* str = m.String();
      dword fc = m.Word(), bc = m.Word();
      byte type = static_cast<byte>(m.Word()), size = static_cast<byte>(m.Word());
      byte dot = static_cast<byte>(m.Word()), align = static_cast<byte>(m.Word());
      o.Word(static_cast<uint32_t>(
          TAP_Osd_PutS(rgn, x, y, maxX, str, fc, bc, type, size, dot, align)));
      break;
    }
    case RELAY_OP_Osd_GetPlaneBaseInfo: {
      bool has = m.Word();
      int plane = static_cast<int>(m.Word());
      TYPE_OsdBaseInfo info{};
      int result = TAP_Osd_GetPlaneBaseInfo(has ? &info : nullptr, plane);
      // The host's frame buffer is the shared copy, as the plane is now.
      if (info.frameBuffer) memcpy(plane0, info.frameBuffer, OSD_WIDTH * OSD_HEIGHT * 4);
      o.Word(static_cast<uint32_t>(result));
      o.Word(info.frameBuffer != nullptr);
      o.Word(info.width);
      o.Word(info.height);
      break;
    }
    case RELAY_OP_Hdd_ChangeDir:
      o.Word(static_cast<uint32_t>(TAP_Hdd_ChangeDir(m.String())));
      break;
    case RELAY_OP_Hdd_Fopen: {
      TYPE_File* f = TAP_Hdd_Fopen(m.String());
      uint64_t handle = reinterpret_cast<uintptr_t>(f);
      o.Word(static_cast<uint32_t>(handle));
      o.Word(static_cast<uint32_t>(handle >> 32));
      if (f) o.Blob(f, sizeof *f);
      break;
    }
    case RELAY_OP_Hdd_Fread: {
      TYPE_File* f = FileOf(m);
      bool has = m.Word();
      dword size = m.Word(), count = m.Word();
      // What a read placed into the buffer is what it moved the position by.
      uint64_t want = static_cast<uint64_t>(size) * count;
      std::vector<uint8_t> buf(has ? std::min<uint64_t>(want, 1u << 30) : 0);
      dword before = TAP_Hdd_Ftell(f);
      dword result = TAP_Hdd_Fread(has ? buf.data() : nullptr, size, count, f);
      dword moved = TAP_Hdd_Ftell(f) - before;
      o.Word(result);
      o.Blob(buf.data(), has ? static_cast<uint32_t>(std::min<uint64_t>(moved, buf.size())) : 0);
      break;
    }
    case RELAY_OP_Hdd_Fwrite: {
      TYPE_File* f = FileOf(m);
      bool has = m.Word();
      dword size = m.Word(), count = m.Word();
      const uint8_t* p = m.Blob(&n);
      std::vector<uint8_t> buf(p, p + n);
      o.Word(TAP_Hdd_Fwrite(has ? buf.data() : nullptr, size, count, f));
      break;
    }
    case RELAY_OP_Hdd_Fseek: {
      TYPE_File* f = FileOf(m);
      long pos = static_cast<int32_t>(m.Word());  // a long of the recorder: 32 bits
      o.Word(TAP_Hdd_Fseek(f, pos, m.Word()));
      break;
    }
    case RELAY_OP_Hdd_Ftell:
      o.Word(TAP_Hdd_Ftell(FileOf(m)));
      break;
    case RELAY_OP_Hdd_Flen:
      o.Word(TAP_Hdd_Flen(FileOf(m)));
      break;
    case RELAY_OP_Hdd_Fclose:
      TAP_Hdd_Fclose(FileOf(m));
      o.Word(0);
      break;
    case RELAY_OP_Hdd_Create: {
      const char* name = m.String();
      o.Word(TAP_Hdd_Create(name, static_cast<byte>(m.Word())));
      break;
    }
    case RELAY_OP_Hdd_Delete:
      o.Word(static_cast<uint32_t>(TAP_Hdd_Delete(m.String())));
      break;
    case RELAY_OP_Hdd_Exist:
      o.Word(static_cast<uint32_t>(TAP_Hdd_Exist(m.String())));
      break;
    case RELAY_OP_Hdd_Rename: {
      const char* from = m.String();
      const char* to = m.String();
      o.Word(static_cast<uint32_t>(TAP_Hdd_Rename(from, to)));
      break;
    }
    case RELAY_OP_Hdd_FindFirst:
    case RELAY_OP_Hdd_FindNext: {
      bool has = m.Word();
      TYPE_DirEntry entry{};
      dword result = op == RELAY_OP_Hdd_FindFirst
                         ? TAP_Hdd_FindFirst(has ? &entry : nullptr, m.String())
                         : TAP_Hdd_FindNext(has ? &entry : nullptr);
      o.Word(result);
      o.Blob(&entry, has ? sizeof entry : 0);
      break;
    }
    case RELAY_OP_Hdd_FreeSize:
      o.Word(TAP_Hdd_FreeSize());
      break;
    case RELAY_OP_Hdd_TotalSize:
      o.Word(TAP_Hdd_TotalSize());
      break;
    case RELAY_OP_Hdd_PlayTs:
      o.Word(static_cast<uint32_t>(TAP_Hdd_PlayTs(m.String())));
      break;
    case RELAY_OP_Hdd_StopTs:
      o.Word(static_cast<uint32_t>(TAP_Hdd_StopTs()));
      break;
    case RELAY_OP_Hdd_GetPlayInfo: {
      bool has = m.Word();
      TYPE_PlayInfo info{};
      o.Word(static_cast<uint32_t>(TAP_Hdd_GetPlayInfo(has ? &info : nullptr)));
      PutPlayInfo(o, info);
      break;
    }
    case RELAY_OP_Hdd_ChangePlaybackPos:
      o.Word(static_cast<uint32_t>(TAP_Hdd_ChangePlaybackPos(m.Word())));
      break;
    case RELAY_OP_Hdd_GetRecInfo: {
      byte slot = static_cast<byte>(m.Word());
      bool has = m.Word();
      TYPE_RecInfo info{};
      o.Word(static_cast<uint32_t>(TAP_Hdd_GetRecInfo(slot, has ? &info : nullptr)));
      o.Blob(&info, has ? sizeof info : 0);
      break;
    }
    case RELAY_OP_Hdd_StopRecord:
      o.Word(static_cast<uint32_t>(TAP_Hdd_StopRecord(static_cast<byte>(m.Word()))));
      break;
    case RELAY_OP_Hdd_SetBookmark:
      o.Word(static_cast<uint32_t>(TAP_Hdd_SetBookmark()));
      break;
    case RELAY_OP_Channel_GetTotalNum: {
      int tv = 0, radio = 0;
      TAP_Channel_GetTotalNum(&tv, &radio);
      o.Word(0), o.Word(static_cast<uint32_t>(tv)), o.Word(static_cast<uint32_t>(radio));
      break;
    }
    case RELAY_OP_Channel_GetInfo: {
      int type = static_cast<int>(m.Word()), num = static_cast<int>(m.Word());
      bool has = m.Word();
      TYPE_TapChInfo info{};
      o.Word(static_cast<uint32_t>(TAP_Channel_GetInfo(type, num, has ? &info : nullptr)));
      o.Blob(&info, has ? sizeof info : 0);
      break;
    }
    case RELAY_OP_Channel_GetCurrent: {
      int type = 0, num = 0;
      o.Word(static_cast<uint32_t>(TAP_Channel_GetCurrent(&type, &num)));
      o.Word(static_cast<uint32_t>(type)), o.Word(static_cast<uint32_t>(num));
      break;
    }
    case RELAY_OP_Channel_Start: {
      int a = static_cast<int>(m.Word()), b = static_cast<int>(m.Word());
      int c = static_cast<int>(m.Word());
      o.Word(static_cast<uint32_t>(TAP_Channel_Start(a, b, c)));
      break;
    }
    case RELAY_OP_Channel_IsStarted:
      o.Word(static_cast<uint32_t>(TAP_Channel_IsStarted(static_cast<int>(m.Word()))));
      break;
    case RELAY_OP_Timer_GetTotalNum:
      o.Word(static_cast<uint32_t>(TAP_Timer_GetTotalNum()));
      break;
    case RELAY_OP_Timer_GetInfo: {
      int entry = static_cast<int>(m.Word());
      bool has = m.Word();
      TYPE_TimerInfo info{};
      o.Word(static_cast<uint32_t>(TAP_Timer_GetInfo(entry, has ? &info : nullptr)));
      o.Blob(&info, has ? sizeof info : 0);
      break;
    }
    case RELAY_OP_StartApplication:
      o.Word(static_cast<uint32_t>(TAP_StartApplication(m.String())));
      break;
    case RELAY_OP_GetAnalogEncoderState:
      o.Word(RelayGetAnalogEncoderState());
      break;
    case RELAY_OP_AnalogChangeAction:
      RelayAnalogChangeAction();
      o.Word(0);
      break;
    case RELAY_OP_SetAnalogEncoderMode:
      RelaySetAnalogEncoderMode(static_cast<byte>(m.Word()));
      o.Word(0);
      break;
    case RELAY_OP_StartPlaybackMedia: {
      const char* name = m.String();
      dword a = m.Word();
      bool b = m.Word(), c = m.Word();
      const uint8_t* p = m.Blob(&n);
      if (p && n == sizeof relayDivxFolder) memcpy(relayDivxFolder, p, n);
      o.Word(RelayStartPlaybackMedia(name, a, b, c));
      break;
    }
    case RELAY_OP_ExecProgram: {
      const char* name = m.String();
      std::string copy = name ? name : "";
      o.Word(RelayExecProgram(name ? copy.data() : nullptr));
      break;
    }
    case RELAY_OP_SaveWorkFolder:
      RelaySaveWorkFolder();
      o.Word(0);
      break;
    case RELAY_OP_RestoreWorkFolder:
      RelayRestoreWorkFolder();
      o.Word(0);
      break;
    case RELAY_OP_SetWorkFolder: {
      bool has = m.Word();
      const uint8_t* p = m.Blob(&n);
      uint8_t record[16] = {};
      if (p) memcpy(record, p, std::min<uint32_t>(n, 16));
      RelaySetWorkFolder(has ? record : nullptr);
      o.Word(0);
      break;
    }
    case RELAY_OP_SelectFolder: {
      bool has = m.Word();
      const uint8_t* p = m.Blob(&n);
      uint8_t record[16] = {};
      if (p) memcpy(record, p, std::min<uint32_t>(n, 16));
      o.Word(RelaySelectFolder(has ? record : nullptr, m.String()));
      o.Blob(record, has ? 16 : 0);
      break;
    }
    case RELAY_OP_ConvertToValidUTF8Str: {
      const char* text = m.String();
      int limit = static_cast<int>(m.Word());
      std::string copy = text ? text : "";
      RelayConvertToValidUTF8Str(text ? reinterpret_cast<unsigned char*>(copy.data()) : nullptr,
                                 limit);
      o.Blob(copy.c_str(), text ? static_cast<uint32_t>(copy.size() + 1) : 0);
      break;
    }
    case RELAY_OP_PvrTimeToLinux:
      o.Word(PvrTimeToLinux(m.Word()));
      break;
    default:
      Fail("made an unknown call");
  }
}

// Sends an event to the host and serves its calls until its answer comes.
void Exchange(uint32_t op, const Out& args, Msg& answer) {
  Send(RELAY_EVENT, op, args.bytes);
  for (;;) {
    Receive(answer);
    if (answer.head.kind == RELAY_DONE) return;
    if (answer.head.kind != RELAY_CALL) Fail("sent an unexpected message");
    // The call is made as the application the host names (a direct call
    // between applications switches it there).
    dword saved = curTapTask;
    curTapTask = answer.head.task < TAP_MAX_TASKS ? answer.head.task : saved;
    Out results;
    Execute(answer.head.op, answer, results);
    curTapTask = saved;
    Send(RELAY_RETURN, answer.head.op, results.bytes);
  }
}

uint32_t ExchangeWord(uint32_t op, const Out& args) {
  Msg answer;
  Exchange(op, args, answer);
  return answer.Word();
}

int HostedMain() {
  Out args;
  args.Word(curTapTask);
  return static_cast<int>(ExchangeWord(RELAY_EV_MAIN, args));
}

dword HostedHandler(word event, dword param1, dword param2) {
  Out args;
  args.Word(curTapTask);
  args.Word(event);
  args.Word(param1);
  args.Word(param2);
  return ExchangeWord(RELAY_EV_HANDLER, args);
}

}  // namespace

bool HostRunning() { return stream >= 0; }

pid_t HostPid() { return hostPid; }

bool IsHostImage(const std::string& path) { return stream >= 0 && emu::IsRecorderImage(path); }

bool HostHasChildren() {
  std::string name =
      "/proc/" + std::to_string(hostPid) + "/task/" + std::to_string(hostPid) + "/children";
  int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  char c;
  bool any = fd >= 0 && read(fd, &c, 1) == 1;
  if (fd >= 0) close(fd);
  return any;
}

}  // namespace fw

namespace emu {

bool IsRecorderImage(const std::string& path) {
  unsigned char ident[EI_NIDENT + 4] = {};
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ssize_t n = fd < 0 ? -1 : read(fd, ident, sizeof ident);
  if (fd >= 0) close(fd);
  uint16_t machine;
  memcpy(&machine, ident + EI_NIDENT + 2, 2);
  // A recorder built for the recorder's CPU (the tests under qemu-mipsel)
  // loads such an image itself, as any image of its own machine.
  bool ownMachine = fw::RunsImagesOf(EM_MIPS, ELFCLASS32);
  return !ownMachine && n == static_cast<ssize_t>(sizeof ident) &&
         memcmp(ident, ELFMAG, SELFMAG) == 0 && ident[EI_CLASS] == ELFCLASS32 &&
         ident[EI_DATA] == ELFDATA2LSB && machine == EM_MIPS;
}

}  // namespace emu

namespace fw {

bool LoadHosted(int slot, const std::string& path, HostedImage& image) {
  Out args;
  args.Word(static_cast<uint32_t>(slot));
  args.Blob(path.c_str(), static_cast<uint32_t>(path.size() + 1));
  Msg answer;
  Exchange(RELAY_EV_LOAD, args, answer);
  uint32_t n;
  if (answer.Word() != 0) {
    const char* why = answer.String();
    SetError(why ? why : "cannot load " + path);
    return false;
  }
  const uint8_t* p = answer.Blob(&n);
  memset(&hostedHeaders[slot], 0, sizeof hostedHeaders[slot]);
  if (p) memcpy(&hostedHeaders[slot], p, std::min<size_t>(n, sizeof hostedHeaders[slot]));
  hosted[slot] = true;
  image.header = &hostedHeaders[slot];
  image.main = HostedMain;
  image.handler = HostedHandler;
  return true;
}

void UnloadHosted(int slot) {
  if (slot < 0 || slot >= TAP_MAX_TASKS || !hosted[slot]) return;
  hosted[slot] = false;
  if (stream < 0) return;
  Out args;
  args.Word(static_cast<uint32_t>(slot));
  Msg answer;
  Exchange(RELAY_EV_UNLOAD, args, answer);
}

void StopImageHost() {
  if (stream < 0) return;
  close(stream);
  stream = -1;
  int status;
  while (waitpid(hostPid, &status, 0) < 0 && errno == EINTR) {
  }
  hostPid = -1;
  munmap(plane0, OSD_WIDTH * OSD_HEIGHT * 4);
  plane0 = nullptr;
  sentState.clear();
}

}  // namespace fw

namespace emu {

bool StartImageHost(const std::string& program, const std::string& sysroot) {
  using namespace fw;
  if (stream >= 0) return true;
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
    SetError(std::string("image host: socketpair: ") + strerror(errno));
    return false;
  }
  int plane = memfd_create("plane0", MFD_CLOEXEC);
  if (plane < 0 || ftruncate(plane, OSD_WIDTH * OSD_HEIGHT * 4) != 0) {
    SetError(std::string("image host: plane memory: ") + strerror(errno));
    return false;
  }
  void* map =
      mmap(nullptr, OSD_WIDTH * OSD_HEIGHT * 4, PROT_READ | PROT_WRITE, MAP_SHARED, plane, 0);
  if (map == MAP_FAILED) {
    SetError(std::string("image host: plane memory: ") + strerror(errno));
    return false;
  }
  pid_t pid = fork();
  if (pid == 0) {
    // The host inherits the namespace, the disks and the terminals.
    dup2(fds[1], RELAY_FD_STREAM);
    dup2(plane, RELAY_FD_PLANE0);
    const char* argv[] = {"qemu-mipsel", "-L", sysroot.c_str(), program.c_str(), nullptr};
    execvp(argv[0], const_cast<char* const*>(argv));
    fprintf(stderr, "recorder: cannot run qemu-mipsel: %s\n", strerror(errno));
    _exit(127);
  }
  close(fds[1]);
  close(plane);
  if (pid < 0) {
    close(fds[0]);
    SetError(std::string("image host: fork: ") + strerror(errno));
    return false;
  }
  stream = fds[0];
  hostPid = pid;
  plane0 = static_cast<uint32_t*>(map);
  RelayHead hello;
  if (!ReadAll(&hello, sizeof hello) || hello.kind != RELAY_HELLO) {
    StopImageHost();
    SetError("the image host did not start (" + program + " under qemu-mipsel -L " + sysroot + ")");
    return false;
  }
  return true;
}

}  // namespace emu
