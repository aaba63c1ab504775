// The recorder in the browser. One thread, the one that booted the recorder,
// delivers every event: it runs the idle events in step with real time, takes
// the keys and commands that the HTTP threads queued, and publishes frames and
// state; an encoder thread turns the frames it hands over into PNG, so that
// the events do not wait for that. The HTTP threads touch nothing of the
// recorder; they only queue and pass on what was published.
#include "web.h"

#include <arpa/inet.h>
#include <ctype.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "emu.h"

namespace web {

dword RemoteCode(int remoteType, dword key) { return emu::RemoteCode(remoteType, key); }

int RemoteTypeFromFile(const std::string& hostPath, uint16_t systemId) {
  std::ifstream in(hostPath, std::ios::binary);
  std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&image](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; i--) v = v << 8 | static_cast<uint8_t>(image[at + i]);
    return v;
  };
  constexpr size_t kHeader = 20, kModel = 348;
  if (image.size() < kHeader) return 1;
  uint32_t models = u32(12);
  for (uint32_t i = 0; i < models && kHeader + (i + 1) * kModel <= image.size(); i++) {
    size_t at = kHeader + i * kModel;
    uint16_t id = static_cast<uint16_t>(static_cast<uint8_t>(image[at]) |
                                        static_cast<uint8_t>(image[at + 1]) << 8);
    if (id == systemId) return static_cast<int>(u32(at + 320));
  }
  return 1;
}

bool ParseListen(const std::string& text, Options& options) {
  std::string address = options.address;
  std::string port = text;
  size_t colon = text.rfind(':');
  if (colon != std::string::npos) {
    address = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (address.size() > 2 && address.front() == '[' && address.back() == ']') {
      address = address.substr(1, address.size() - 2);
    }
    if (address.empty()) return false;
  }
  if (port.empty() || port.size() > 5 ||
      port.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  int number = std::stoi(port);
  if (number > 65535) return false;
  options.address = address;
  options.port = number;
  return true;
}

}  // namespace web

#if PVR_HAVE_WEB

#include <httplib.h>
#include <png.h>

#include "web_assets.h"

namespace web {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> stopRequested{false};

void OnSignal(int) { stopRequested = true; }

// --- what the HTTP threads hand to the event thread ----------------------------

struct Command {
  enum Kind { kDown, kUp, kPress, kPause, kRun, kStep } kind;
  dword code = 0;
};

std::mutex commandMutex;
std::condition_variable commandReady;
std::deque<Command> commands;

void Queue(const Command& command) {
  {
    std::lock_guard<std::mutex> lock(commandMutex);
    if (commands.size() > 1000) return;  // a runaway client cannot exhaust memory
    commands.push_back(command);
  }
  commandReady.notify_one();
}

// --- what the event thread publishes -------------------------------------------

struct Published {
  std::mutex mutex;
  std::condition_variable changed;
  uint64_t frameSeq = 0;
  std::string framePng;     // the latest frame
  std::string frameBase64;  // the same, for the event stream
  uint64_t stateSeq = 0;
  std::string stateJson;
  std::string console;       // network and console output, newest at the end
  uint64_t consoleBase = 0;  // absolute offset of console[0] (older text was dropped)
  bool closing = false;
};
Published published;

constexpr size_t kConsoleKeep = 256 * 1024;

// --- encoding --------------------------------------------------------------------

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void PngFlush(png_structp) {}

// The frame as PNG (RGB, fast compression: it travels over loopback).
bool EncodePng(const std::vector<uint32_t>& frame, std::string& out) {
  out.clear();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(OSD_WIDTH * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, OSD_WIDTH, OSD_HEIGHT, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < OSD_HEIGHT; y++) {
    for (int x = 0; x < OSD_WIDTH; x++) {
      uint32_t p = frame[y * OSD_WIDTH + x];
      row[x * 3] = static_cast<png_byte>(p >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(p >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

std::string Base64(const std::string& in) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((in.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    uint32_t v = static_cast<uint8_t>(in[i]) << 16 | static_cast<uint8_t>(in[i + 1]) << 8 |
                 static_cast<uint8_t>(in[i + 2]);
    out += digits[v >> 18];
    out += digits[v >> 12 & 63];
    out += digits[v >> 6 & 63];
    out += digits[v & 63];
  }
  if (i < in.size()) {
    uint32_t v = static_cast<uint8_t>(in[i]) << 16;
    if (i + 1 < in.size()) v |= static_cast<uint8_t>(in[i + 1]) << 8;
    out += digits[v >> 18];
    out += digits[v >> 12 & 63];
    out += i + 1 < in.size() ? digits[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

// A JSON string literal; bytes that are not valid UTF-8 (names in the
// broadcasters' 8-bit encoding) become U+FFFD so that the page always parses.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
      i++;
    } else if (c < 0x20) {
      char buf[8];
      snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
      i++;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      i++;
    } else {
      int extra = c >= 0xC2 && c < 0xE0   ? 1
                  : c >= 0xE0 && c < 0xF0 ? 2
                  : c >= 0xF0 && c < 0xF5 ? 3
                                          : -1;
      bool valid = extra > 0;
      for (int k = 1; valid && k <= extra; k++) {
        valid = i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
      }
      if (valid) {
        out.append(text, i, extra + 1);
        i += extra + 1;
      } else {
        out += "\xEF\xBF\xBD";
        i++;
      }
    }
  }
  return out + "\"";
}

std::string Number(double value, int decimals = 0) {
  char buf[32];
  snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

// --- the firmware's state as the page shows it ------------------------------------

std::string ClockText() {
  word mjd = 0;
  byte hour = 0, minute = 0, second = 0;
  if (!TAP_GetTime(&mjd, &hour, &minute, &second) || mjd == 0) return "no time";
  word year = 0;
  byte month = 0, day = 0, weekDay = 0;
  TAP_ExtractMjd(mjd, &year, &month, &day, &weekDay);
  static const char* days[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  char buf[64];
  snprintf(buf, sizeof buf, "%s %04d-%02d-%02d %02d:%02d:%02d", days[weekDay % 7], year, month, day,
           hour, minute, second);
  return buf;
}

std::string Duration(dword seconds) {
  char buf[32];
  snprintf(buf, sizeof buf, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StateJson(bool running, bool directMode) {
  std::string json = "{";
  dword state = 0, subState = 0;
  TAP_GetState(&state, &subState);
  json += "\"firmwareState\":" + JsonString(std::to_string(state) + "/" + std::to_string(subState));
  json += ",\"osd\":" + std::string(emu::InNormalMode() ? "false" : "true");
  json += ",\"clock\":" + JsonString(ClockText());
  json += ",\"clockRunning\":" + std::string(running ? "true" : "false");
  json += ",\"directMode\":" + std::string(directMode ? "true" : "false");
  json += ",\"ticks\":" + std::to_string(emu::Ticks());
  json += ",\"frames\":" + std::to_string(emu::FrameCount());
  json += ",\"apps\":" + std::to_string(emu::RunningCount());
  json += ",\"running\":[";
  bool firstApp = true;
  for (const emu::RunningApplication& app : emu::RunningApplications()) {
    char id[16];
    snprintf(id, sizeof id, "0x%08X", app.id);
    json += std::string(firstApp ? "" : ",") + "{\"slot\":" + std::to_string(app.index) +
            ",\"id\":" + JsonString(id) + ",\"name\":" + JsonString(app.name) +
            ",\"file\":" + JsonString(BaseName(app.path)) + "}";
    firstApp = false;
  }
  json += "]";

  TYPE_PlayInfo play;
  TAP_Hdd_GetPlayInfo(&play);
  bool playing = play.playMode == PLAYMODE_Playing || play.playMode == PLAYMODE_Media;
  if (playing) {
    dword total = play.duration * 60u + play.durationSec;
    dword blocks = play.totalBlock ? play.totalBlock : 1;
    dword at = static_cast<dword>(static_cast<uint64_t>(play.currentBlock) * total / blocks);
    json += ",\"playback\":{\"name\":" + JsonString(BaseName(emu::PlayingPath()));
    json += ",\"position\":" + JsonString(Duration(at));
    json += ",\"length\":" + JsonString(Duration(total));
    json += ",\"block\":" + std::to_string(play.currentBlock);
    json += ",\"blocks\":" + std::to_string(play.totalBlock);
    json += ",\"percent\":" + Number(100.0 * play.currentBlock / blocks, 1);
    json += ",\"paused\":" + std::string(play.trickMode == TRICKMODE_Pause ? "true" : "false");
    json += "}";
  } else {
    int type = 0, num = 0;
    TYPE_TapChInfo channel;
    std::string name;
    if (TAP_Channel_GetCurrent(&type, &num) && TAP_Channel_GetInfo(type, num, &channel)) {
      name = std::string(channel.chName, strnlen(channel.chName, sizeof channel.chName));
      json += ",\"channel\":{\"name\":" + JsonString(name);
      json += ",\"number\":" + std::to_string(channel.logicalChNum) + "}";
    }
  }
  json += ",\"slots\":[";
  bool first = true;
  for (int slot = 0; slot < 4; slot++) {
    TYPE_RecInfo rec;
    if (!TAP_Hdd_GetRecInfo(static_cast<byte>(slot), &rec) || rec.recType == RECTYPE_None) continue;
    if (!first) json += ",";
    first = false;
    json += "{\"slot\":" + std::to_string(slot);
    json += ",\"name\":" + JsonString(std::string(rec.fileName, strnlen(rec.fileName, 128)));
    json += ",\"recorded\":" + JsonString(Duration(rec.recordedSec));
    json += ",\"length\":" + JsonString(Duration(rec.duration * 60u)) + "}";
  }
  json += "]}";
  return json;
}

// --- the encoder thread -------------------------------------------------------------

void EncodeAndPublish(const std::vector<uint32_t>& frame) {
  std::string png;
  if (!EncodePng(frame, png)) return;
  std::string base64 = Base64(png);
  {
    std::lock_guard<std::mutex> lock(published.mutex);
    published.framePng.swap(png);
    published.frameBase64.swap(base64);
    published.frameSeq++;
  }
  published.changed.notify_all();
}

// A state for the page: the recorder's state when it changed, and output
// that arrived.
struct StateUpdate {
  bool stateChanged;
  std::string json;
  std::string fresh;
};

void PublishStateUpdate(const StateUpdate& update) {
  {
    std::lock_guard<std::mutex> lock(published.mutex);
    if (update.stateChanged) {
      published.stateJson = update.json;
      published.stateSeq++;
    }
    published.console += update.fresh;
    if (published.console.size() > kConsoleKeep) {
      size_t drop = published.console.size() - kConsoleKeep / 2;
      published.console.erase(0, drop);
      published.consoleBase += drop;
    }
  }
  published.changed.notify_all();
}

// What the event thread handed over: the frame waiting for its PNG, and the
// states that follow it.
struct Encoding {
  std::mutex mutex;
  std::condition_variable ready;
  std::vector<uint32_t> frame;
  bool waiting = false;
  std::vector<StateUpdate> states;
  bool stop = false;
};
Encoding encoding;

// Publishes what is handed over until told to stop, and what still waits
// then.
void RunEncoder() {
  std::vector<uint32_t> frame;
  std::vector<StateUpdate> states;
  for (;;) {
    bool haveFrame;
    {
      std::unique_lock<std::mutex> lock(encoding.mutex);
      encoding.ready.wait(
          lock, [] { return encoding.waiting || !encoding.states.empty() || encoding.stop; });
      if (!encoding.waiting && encoding.states.empty()) return;
      haveFrame = encoding.waiting;
      if (haveFrame) frame.swap(encoding.frame);
      encoding.waiting = false;
      states.swap(encoding.states);
    }
    if (haveFrame) EncodeAndPublish(frame);
    for (const StateUpdate& update : states) PublishStateUpdate(update);
    states.clear();
  }
}

// --- the event thread ---------------------------------------------------------------

class EventLoop {
 public:
  explicit EventLoop(const Options& options)
      : idleTicks_(std::max(1, options.idleTicks)), remoteType_(options.remoteType) {}

  // The first frame and state, before anybody can ask for them.
  void PublishFirst() {
    PublishFrame();
    PublishState();
  }

  // A frame that the application holds on screen with TAP_Delay (a timed
  // message) is seen for the delay, in real time: the event thread is inside
  // the application meanwhile, as the recorder's would be.
  void HoldFrame(dword ticks) {
    PublishFrame();
    PublishState();
    Clock::time_point until = Clock::now() + std::chrono::milliseconds(ticks * 10);
    while (!stopRequested && Clock::now() < until) {
      std::this_thread::sleep_for(
          std::min<Clock::duration>(until - Clock::now(), std::chrono::milliseconds(20)));
    }
    // TAP_Delay advances the recorder's clock itself: the time slept here
    // owes no idle events.
    last_ = Clock::now();
  }

  void Run() {
    emu::SetDelayObserver([this](dword ticks) { HoldFrame(ticks); });
    last_ = Clock::now();
    Clock::time_point nextPublish = last_;
    Clock::time_point nextState = last_;
    while (!stopRequested) {
      std::deque<Command> work;
      {
        std::unique_lock<std::mutex> lock(commandMutex);
        commandReady.wait_for(lock, std::chrono::milliseconds(10),
                              [] { return !commands.empty() || stopRequested; });
        work.swap(commands);
      }
      bool acted = false;
      for (const Command& command : work) acted |= Apply(command);

      Clock::time_point now = Clock::now();
      double elapsed = std::chrono::duration<double>(now - last_).count();
      last_ = now;
      if (running_) {
        // The emulated clock follows the real one in idle events; after a
        // stall (a long application call) it does not race to catch up.
        debtTicks_ = std::min(debtTicks_ + elapsed * 100, 100.0);
        while (debtTicks_ >= idleTicks_) {
          emu::Idle(1);
          debtTicks_ -= idleTicks_;
        }
      }
      if (heldCode_ && now >= nextHeld_) {
        emu::SendKey(heldCode_ | RKEY_FLAG_HELD);
        nextHeld_ = now + std::chrono::milliseconds(100);
        acted = true;
        // A key that stays down for minutes was lost by the browser.
        if (now - heldSince_ > std::chrono::seconds(30)) Release();
      }
      if (acted || now >= nextPublish) {
        PublishFrame();
        nextPublish = now + std::chrono::milliseconds(100);
      }
      if (acted || now >= nextState) {
        PublishState();
        nextState = now + std::chrono::milliseconds(250);
      }
    }
    if (heldCode_) Release();
    emu::SetDelayObserver(nullptr);
  }

 private:
  bool Apply(Command command) {
    command.code = RemoteCode(remoteType_, command.code);
    switch (command.kind) {
      case Command::kDown:
        // One key at a time, as a remote control sends them.
        if (heldCode_) Release();
        emu::SendKey(command.code);
        heldCode_ = command.code;
        heldSince_ = Clock::now();
        nextHeld_ = heldSince_ + std::chrono::milliseconds(500);
        return true;
      case Command::kUp:
        if (heldCode_ == command.code) Release();
        return true;
      case Command::kPress:
        if (heldCode_) Release();
        // A whole press; an attached keyboard's character comes once, without
        // a release (the release flag is one of its prefix's bits).
        emu::PressKey(command.code);
        return true;
      case Command::kPause:
        running_ = false;
        return true;
      case Command::kRun:
        running_ = true;
        debtTicks_ = 0;
        return true;
      case Command::kStep:
        emu::Idle(1);
        return true;
    }
    return false;
  }

  void Release() {
    dword code = heldCode_;
    heldCode_ = 0;
    emu::ReleaseKey(code);
  }

  // A changed frame goes to the encoder thread: the event thread does not
  // wait for its PNG. Frames that come faster than they encode replace the
  // one still waiting.
  void PublishFrame() {
    emu::RefreshScreen();
    const std::vector<uint32_t>& frame = emu::Frame();
    if (frame == lastFrame_) return;
    lastFrame_ = frame;
    if (!encoderRunning_) {
      EncodeAndPublish(frame);
      return;
    }
    {
      std::lock_guard<std::mutex> lock(encoding.mutex);
      encoding.frame = frame;
      encoding.waiting = true;
    }
    encoding.ready.notify_one();
  }

  void PublishState() {
    std::string net = emu::NetOutput();
    std::string console = emu::ConsoleOutput();
    std::string fresh;
    if (net.size() > netSent_) fresh += net.substr(netSent_);
    NoteDirectMode(fresh);
    std::string json = StateJson(running_, directMode_);
    netSent_ = net.size();
    if (console.size() > consoleSent_) {
      std::string text = console.substr(consoleSent_);
      consoleSent_ = console.size();
      // TAP_Print output, marked as such line by line.
      size_t start = 0;
      while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size() - 1;
        fresh += "console| " + text.substr(start, end - start + 1);
        start = end + 1;
      }
    }
    bool stateChanged = json != lastState_;
    if (!stateChanged && fresh.empty()) return;
    lastState_ = json;
    StateUpdate update{stateChanged, std::move(json), std::move(fresh)};
    if (!encoderRunning_) {
      PublishStateUpdate(update);
      return;
    }
    // Behind the frames handed over before it, so that a state never tells
    // of a screen the page cannot have yet.
    {
      std::lock_guard<std::mutex> lock(encoding.mutex);
      encoding.states.push_back(std::move(update));
    }
    encoding.ready.notify_one();
  }

 public:
  void StartEncoder() { encoderRunning_ = true; }

 private:
  int idleTicks_;
  int remoteType_;
  bool running_ = true;
  double debtTicks_ = 0;
  Clock::time_point last_;  // when idle time was last accounted
  dword heldCode_ = 0;
  Clock::time_point heldSince_, nextHeld_;
  std::vector<uint32_t> lastFrame_;
  bool encoderRunning_ = false;
  std::string lastState_;
  size_t netSent_ = 0;
  size_t consoleSent_ = 0;
  bool directMode_ = false;

  // The remote-control application reports each switch of its direct mode
  // (characters of a keyboard go to the application as they are) on the
  // network output; the page types letters as characters while it is on.
  void NoteDirectMode(const std::string& text) {
    size_t on = text.rfind("RemoteControl: direct mode on");
    size_t off = text.rfind("RemoteControl: direct mode off");
    if (on != std::string::npos && (off == std::string::npos || on > off)) directMode_ = true;
    if (off != std::string::npos && (on == std::string::npos || off > on)) directMode_ = false;
  }
};

// --- HTTP ----------------------------------------------------------------------------

// One server-sent event; every line of `data` becomes a "data:" line.
std::string Event(const char* name, const std::string& data) {
  std::string out = "event: ";
  out += name;
  out += "\n";
  size_t start = 0;
  do {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    out += "data: " + data.substr(start, end - start) + "\n";
    start = end + 1;
  } while (start < data.size());
  return out + "\n";
}

// The stream of one page: the latest frame and state at once, then every
// change, and the console text from where this page started.
struct StreamPosition {
  uint64_t frameSeq = 0;
  uint64_t stateSeq = 0;
  uint64_t console = 0;
  bool started = false;
};

bool StreamNext(StreamPosition& at, httplib::DataSink& sink) {
  std::string out;
  {
    std::unique_lock<std::mutex> lock(published.mutex);
    if (!at.started) {
      at.started = true;
      // A new page sees what is kept of the console so far.
      at.console = published.consoleBase;
    }
    auto ready = [&] {
      return published.closing || published.frameSeq != at.frameSeq ||
             published.stateSeq != at.stateSeq ||
             published.consoleBase + published.console.size() > at.console;
    };
    if (!published.changed.wait_for(lock, std::chrono::seconds(10), ready)) {
      lock.unlock();
      static const char keepAlive[] = ": keep-alive\n\n";
      return sink.write(keepAlive, sizeof keepAlive - 1);
    }
    if (published.closing) return false;
    if (published.frameSeq != at.frameSeq) {
      at.frameSeq = published.frameSeq;
      out += Event("frame", published.frameBase64);
    }
    if (published.stateSeq != at.stateSeq) {
      at.stateSeq = published.stateSeq;
      out += Event("state", published.stateJson);
    }
    uint64_t end = published.consoleBase + published.console.size();
    if (end > at.console) {
      uint64_t from = std::max(at.console, published.consoleBase);
      out += Event("console", JsonString(published.console.substr(from - published.consoleBase)));
      at.console = end;
    }
  }
  return sink.write(out.data(), out.size());
}

bool ParseCode(const std::string& text, dword& code) {
  if (text.empty() || text.size() > 12) return false;
  char* end = nullptr;
  unsigned long value = strtoul(text.c_str(), &end, 0);
  if (*end || value == 0 || value > 0xFFFFFFFFul) return false;
  // A keyboard's characters in direct mode: 0xEE000000 plus the character.
  if ((value & 0xFF000000ul) == 0xEE000000ul && (value & 0xFFFFFFul) <= 0x1FF) {
    code = static_cast<dword>(value);
    return true;
  }
  // Flags are the remote's business: the page sends plain key codes.
  if (value & ~static_cast<unsigned long>(RKEY_MASK)) return false;
  code = static_cast<dword>(value);
  return true;
}

// Who may talk to the recorder. A page of another site must not press keys
// (its form or script would carry its own Origin), and a name of another site
// that resolves to this machine (DNS rebinding) must not reach anything: the
// Host must name the address listened on, "localhost" on loopback, or, when
// listening on every address, a numeric address.
class Gate {
 public:
  Gate(const std::string& address, int port) : address_(address), port_(port) {}

  // True when `host` (a Host header) names this server.
  bool HostAllowed(const std::string& host) const {
    std::string name = host, port;
    size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']', colon) == std::string::npos) {
      name = host.substr(0, colon);
      port = host.substr(colon + 1);
    }
    if (port.empty() ? port_ != 80 : port != std::to_string(port_)) return false;
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
      name = name.substr(1, name.size() - 2);
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    if (name.empty()) return false;
    if (name == address_) return true;
    bool loopback = address_ == "127.0.0.1" || address_ == "::1" || address_ == "localhost";
    if (loopback && name == "localhost") return true;
    if (address_ == "0.0.0.0" || address_ == "::") {
      unsigned char buffer[sizeof(in6_addr)];
      return inet_pton(AF_INET, name.c_str(), buffer) == 1 ||
             inet_pton(AF_INET6, name.c_str(), buffer) == 1;
    }
    return false;
  }

  // Empty when the request may go on; otherwise why it is refused.
  std::string Check(const httplib::Request& req) const {
    std::string host = req.get_header_value("Host");
    if (!HostAllowed(host)) return "refused: this recorder is not that host\n";
    if (req.method == "GET" || req.method == "HEAD") return "";
    // A browser names the page that sends a request with Origin, or at least
    // with Referer; a client without either is not a page of another site.
    std::string own = "http://" + host;
    if (req.has_header("Origin")) {
      if (req.get_header_value("Origin") != own) return "refused: foreign origin\n";
    } else if (req.has_header("Referer")) {
      std::string referer = req.get_header_value("Referer");
      if (referer.compare(0, own.size() + 1, own + "/") != 0) return "refused: foreign referer\n";
    }
    return "";
  }

 private:
  std::string address_;
  int port_;
};

void SetUpRoutes(httplib::Server& server) {
  for (size_t i = 0; i < kWebAssetCount; i++) {
    const WebAsset& asset = kWebAssets[i];
    auto handler = [&asset](const httplib::Request&, httplib::Response& res) {
      res.set_content(reinterpret_cast<const char*>(asset.data), asset.size, asset.type);
      res.set_header("Cache-Control", "no-cache");
    };
    server.Get(asset.path, handler);
    if (strcmp(asset.path, "/index.html") == 0) server.Get("/", handler);
  }
  server.Get("/events", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "no-cache");
    auto position = std::make_shared<StreamPosition>();
    res.set_chunked_content_provider("text/event-stream",
                                     [position](size_t, httplib::DataSink& sink) {
                                       if (stopRequested) return false;
                                       return StreamNext(*position, sink);
                                     });
  });
  server.Get("/frame.png", [](const httplib::Request&, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(published.mutex);
    res.set_content(published.framePng, "image/png");
  });
  server.Get("/state", [](const httplib::Request&, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(published.mutex);
    res.set_content(published.stateJson, "application/json");
  });
  // Keys: action "down" (pressed, held reports follow while it stays down),
  // "up" (released) or "press" (pressed and released at once).
  server.Post("/key", [](const httplib::Request& req, httplib::Response& res) {
    dword code = 0;
    if (!ParseCode(req.get_param_value("code"), code)) {
      res.status = 400;
      res.set_content("bad key code\n", "text/plain");
      return;
    }
    std::string action = req.get_param_value("action");
    Command command{Command::kPress, code};
    if (action == "down") {
      command.kind = Command::kDown;
    } else if (action == "up") {
      command.kind = Command::kUp;
    } else if (action != "press" && !action.empty()) {
      res.status = 400;
      res.set_content("action: down, up or press\n", "text/plain");
      return;
    }
    Queue(command);
    res.status = 204;
  });
  server.Post("/clock", [](const httplib::Request& req, httplib::Response& res) {
    std::string action = req.get_param_value("action");
    if (action == "pause") {
      Queue({Command::kPause});
    } else if (action == "run") {
      Queue({Command::kRun});
    } else if (action == "step") {
      Queue({Command::kStep});
    } else {
      res.status = 400;
      res.set_content("action: pause, run or step\n", "text/plain");
      return;
    }
    res.status = 204;
  });
}

}  // namespace

bool Serve(const Options& options) {
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = OnSignal;
  // A second Ctrl+C ends the program at once, should shutting down hang.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  EventLoop loop(options);
  loop.PublishFirst();
  httplib::Server server;
  // Each open page holds one thread for its event stream.
  server.new_task_queue = [] { return new httplib::ThreadPool(16); };
  SetUpRoutes(server);
  // Port 0: any free port (the address printed below names it).
  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(options.address.c_str());
  } else if (!server.bind_to_port(options.address.c_str(), port)) {
    port = -1;
  }
  if (port <= 0) {
    fprintf(stderr, "recorder: cannot listen on %s:%d\n", options.address.c_str(), options.port);
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(encoding.mutex);
    encoding.stop = encoding.waiting = false;
    encoding.states.clear();
  }
  std::thread encoder(RunEncoder);
  loop.StartEncoder();
  std::string listened = options.address;
  std::transform(listened.begin(), listened.end(), listened.begin(),
                 [](unsigned char c) { return static_cast<char>(tolower(c)); });
  Gate gate(listened, port);
  server.set_pre_routing_handler([&gate](const httplib::Request& req, httplib::Response& res) {
    std::string refusal = gate.Check(req);
    if (refusal.empty()) return httplib::Server::HandlerResponse::Unhandled;
    res.status = 403;
    res.set_content(refusal, "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  });
  std::thread listener([&server] { server.listen_after_bind(); });
  bool v6 = options.address.find(':') != std::string::npos;
  printf("recorder: the recorder is at http://%s%s%s:%d/ (Ctrl+C stops it)\n", v6 ? "[" : "",
         options.address.c_str(), v6 ? "]" : "", port);
  fflush(stdout);

  loop.Run();

  {
    std::lock_guard<std::mutex> lock(encoding.mutex);
    encoding.stop = true;
  }
  encoding.ready.notify_one();
  encoder.join();
  {
    std::lock_guard<std::mutex> lock(published.mutex);
    published.closing = true;
  }
  published.changed.notify_all();
  server.stop();
  listener.join();
  return true;
}

}  // namespace web

#else  // no HTTP library in this build

namespace web {

bool Serve(const Options&) {
  fprintf(stderr, "recorder: this build has no web front end\n");
  return false;
}

}  // namespace web

#endif
