// recorder - runs the application in the emulated recorder, scripted or live
// in the browser.
//   recorder --disk DIR [--usb DIR]... [--script TEXT|FILE] [--tap PATH]
//            [--sysid N] [--net-output FILE] [--real-time]
//            [--disk-size MB] [--channels FILE] [--recording SLOT:FILE]...
//            [--web [ADDRESS:]PORT]
// Boots, loads the application, plays the script (then, with --web, serves
// the page until interrupted), shuts down with a stop request (reason 0,
// power) and prints the network output to stderr.
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "emu.h"
#include "web.h"

// The image host for release images (./pvr tap builds both).
#ifndef PVR_IMAGE_HOST
#define PVR_IMAGE_HOST "build-tap/taphost"
#endif
#ifndef PVR_IMAGE_SYSROOT
#define PVR_IMAGE_SYSROOT "build-tap/uclibc/sysroot"
#endif
#ifndef PVR_DEFAULT_TAP
#define PVR_DEFAULT_TAP "Pavrolinex.tap"
#endif

namespace {

int Usage(const char* why) {
  fprintf(
      stderr,
      "recorder: %s\n"
      "usage: recorder --disk DIR [--usb DIR [--usb-size MB | --usb-on-disk DIR] [--usb-nfs]]...\n"
      "                [--script TEXT|FILE] [--tap PATH] [--sysid N] [--net-output FILE] "
      "[--real-time]\n"
      "                [--disk-size MB] [--channels FILE] [--recording SLOT:FILE]...\n"
      "                [--web [ADDRESS:]PORT]\n",
      why);
  return 2;
}

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Absolute(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

// The channel list: one service a line, "TV" or "Radio", service id, channel
// number and name, separated by tabs; "#" lines are comments.
bool ReadChannels(const std::string& path, std::vector<TYPE_TapChInfo>& tv,
                  std::vector<TYPE_TapChInfo>& radio, std::string& why) {
  std::ifstream in(path);
  if (!in) {
    why = "cannot read " + path;
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    number++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    char* end1 = nullptr;
    char* end2 = nullptr;
    long id = fields.size() == 4 ? strtol(fields[1].c_str(), &end1, 0) : -1;
    long lcn = fields.size() == 4 ? strtol(fields[2].c_str(), &end2, 10) : -1;
    bool isTv = fields.size() == 4 && fields[0] == "TV";
    bool isRadio = fields.size() == 4 && fields[0] == "Radio";
    if ((!isTv && !isRadio) || *end1 || *end2 || id < 0 || id > 0xFFFF || lcn < 0 || lcn > 0xFFFF ||
        fields[3].empty()) {
      why = path + ":" + std::to_string(number) + ": want TV|Radio<TAB>ID<TAB>NUMBER<TAB>NAME";
      return false;
    }
    TYPE_TapChInfo ch;
    memset(&ch, 0, sizeof ch);
    snprintf(ch.chName, sizeof ch.chName, "%s", fields[3].c_str());
    ch.svcType = isTv ? SVC_TYPE_Tv : SVC_TYPE_Radio;
    ch.svcId = static_cast<word>(id);
    ch.pmtPid = static_cast<word>(0x100 + (id & 0xFFF));
    ch.videoPid = isTv ? static_cast<word>(0x1000 + (id & 0xFFF)) : 0;
    ch.audioPid = static_cast<word>(0x1100 + (id & 0xFFF));
    ch.pcrPid = isTv ? ch.videoPid : ch.audioPid;
    ch.tsId = 1;
    ch.orgNetId = 1;
    snprintf(ch.satName, sizeof ch.satName, "%s", "Terrestrial");
    ch.logicalChNum = static_cast<word>(lcn);
    (isTv ? tv : radio).push_back(ch);
  }
  if (tv.empty()) {
    why = path + ": no TV service";
    return false;
  }
  return true;
}

// Puts a recording in progress into a slot: started 20 minutes ago (by the
// recorder's clock), planned for 90 minutes, written to `file` (a firmware
// path below /DataFiles).
bool StartRecording(int slot, const std::string& file) {
  TYPE_RecInfo info;
  memset(&info, 0, sizeof info);
  info.recType = RECTYPE_Normal;
  info.duration = 90;
  info.recordedSec = 20 * 60;
  word mjd = 0;
  byte hour = 0, minute = 0, second = 0;
  TAP_GetTime(&mjd, &hour, &minute, &second);
  int start = hour * 60 + minute - 20;
  int startMjd = mjd;
  if (start < 0) {
    start += 24 * 60;
    startMjd--;
  }
  int end = start + info.duration;
  int endMjd = startMjd + end / (24 * 60);
  end %= 24 * 60;
  info.startTime = static_cast<dword>(startMjd) << 16 | (start / 60) << 8 | (start % 60);
  info.endTime = static_cast<dword>(endMjd) << 16 | (end / 60) << 8 | (end % 60);
  size_t slash = file.rfind('/');
  snprintf(info.fileName, sizeof info.fileName, "%s", file.substr(slash + 1).c_str());
  std::string systemPath = "/mnt/hd" + file;
  if (!IsFile(systemPath)) return false;
  return emu::SetRecording(slot, info, systemPath);
}

}  // namespace

int main(int argc, char** argv) {
  emu::Config config;
  std::string script;
  std::string tap;
  std::string channels;
  std::vector<std::pair<int, std::string>> recordings;
  bool serve = false;
  web::Options webOptions;
  for (int i = 1; i < argc; i++) {
    std::string opt = argv[i];
    if (opt == "--real-time") {
      config.realTime = true;
      continue;
    }
    if (opt == "--usb-nfs") {
      if (config.drives.empty()) return Usage("--usb-nfs follows the --usb it is about");
      config.drives.back().nfs = true;
      continue;
    }
    if (i + 1 >= argc) return Usage(("missing value for " + opt).c_str());
    std::string value = argv[++i];
    if (opt == "--disk") {
      config.diskDir = Absolute(value);
    } else if (opt == "--usb") {
      // External drives: /dev/sdb1 at /mnt/sdb1 as /DataFiles/USB, then sdc1 as USB2...
      size_t n = config.drives.size();
      emu::ExternalDrive drive;
      std::string letter(1, static_cast<char>('b' + n));
      drive.seedDir = Absolute(value);
      drive.device = "/dev/sd" + letter + "1";
      drive.mountPoint = "/mnt/sd" + letter + "1";
      drive.dataFilesName = n == 0 ? "USB" : "USB" + std::to_string(n + 1);
      config.drives.push_back(drive);
    } else if (opt == "--usb-on-disk") {
      if (config.drives.empty()) return Usage("--usb-on-disk follows the --usb it is about");
      config.drives.back().onDiskDir = Absolute(value);
    } else if (opt == "--usb-size") {
      char* end = nullptr;
      long long size = strtoll(value.c_str(), &end, 10);
      if (config.drives.empty()) return Usage("--usb-size follows the --usb it is about");
      if (*end || size < 1) return Usage("--usb-size wants a number of MB above 0");
      config.drives.back().sizeMB = static_cast<uint64_t>(size);
    } else if (opt == "--script") {
      script = value;
    } else if (opt == "--tap") {
      tap = Absolute(value);
    } else if (opt == "--sysid") {
      char* end = nullptr;
      long id = strtol(value.c_str(), &end, 0);
      if (*end || id < 0 || id > 0xFFFF) return Usage("--sysid wants a number 0..65535");
      config.systemId = static_cast<uint16_t>(id);
    } else if (opt == "--net-output") {
      config.netOutputFile = Absolute(value);
    } else if (opt == "--web") {
      if (!web::ParseListen(value, webOptions)) return Usage("--web wants [ADDRESS:]PORT");
      serve = true;
    } else if (opt == "--disk-size") {
      char* end = nullptr;
      unsigned long long mb = strtoull(value.c_str(), &end, 10);
      if (value.empty() || *end || mb == 0 || mb > 0xFFFFFFFFull) {
        return Usage("--disk-size wants the disk's capacity in megabytes");
      }
      config.diskCapacityMB = mb;
    } else if (opt == "--channels") {
      channels = Absolute(value);
    } else if (opt == "--recording") {
      size_t colon = value.find(':');
      bool ok =
          colon == 1 && value[0] >= '0' && value[0] <= '3' && value.size() > 3 && value[2] == '/';
      if (!ok) return Usage("--recording wants SLOT:FILE (slot 0..3, FILE a firmware path)");
      recordings.emplace_back(value[0] - '0', value.substr(2));
    } else {
      return Usage(("unknown option " + opt).c_str());
    }
  }
  if (config.diskDir.empty()) return Usage("--disk is required");
  std::vector<TYPE_TapChInfo> tv, radio;
  if (!channels.empty()) {
    std::string why;
    if (!ReadChannels(channels, tv, radio, why)) return Usage(why.c_str());
  }
  // The model's remote, as the application will find it described: script
  // words and the page's remote send its codes.
  for (const char* at : {"/ProgramFiles/Settings/", "/ProgramFiles/"}) {
    std::string file = config.diskDir + at + "FirmwareTMS.dat";
    if (!IsFile(file)) continue;
    webOptions.remoteType = web::RemoteTypeFromFile(file, config.systemId);
    break;
  }
  emu::SetScriptRemoteType(webOptions.remoteType);
  if (serve) {
    // The live front end: time runs with the real clock in the event loop,
    // never inside a script's waits, and the picture moves.
    config.livePicture = true;
    webOptions.idleTicks = config.idleTicks;
  }
  if (config.drives.size() > 24) return Usage("too many --usb drives");
  if (IsFile(script)) {
    std::ifstream in(script);
    std::stringstream text;
    text << in.rdbuf();
    script = text.str();
  }
  // The application: as given, else the disk's own copy, else the build's.
  if (tap.empty()) {
    std::string onDisk = config.diskDir + "/ProgramFiles/Pavrolinex.tap";
    tap = IsFile(onDisk) ? "/mnt/hd/ProgramFiles/Pavrolinex.tap" : PVR_DEFAULT_TAP;
  }

  if (!emu::Boot(config)) {
    fprintf(stderr, "recorder: cannot boot: %s\n", emu::LastError().c_str());
    return 1;
  }
  int status = 0;
  if (serve) {
    // Live, the recorder's clock starts at the machine's local time.
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    emu::SetClock(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec);
  }
  if (!tv.empty()) emu::SetChannels(tv, radio);
  for (const auto& [slot, file] : recordings) {
    if (!StartRecording(slot, file)) {
      fprintf(stderr, "recorder: cannot record to %s (no such file on the disk)\n", file.c_str());
      emu::Shutdown(0);
      return 2;
    }
  }
  // A release image runs as it is, on the recorder's C library and CPU.
  if (emu::IsRecorderImage(tap)) {
    fprintf(stderr,
            "recorder: %s is an image for the recorder's CPU: running it under qemu-mipsel "
            "with uClibc-ng (%s) in the image host %s\n",
            tap.c_str(), PVR_IMAGE_SYSROOT, PVR_IMAGE_HOST);
    if (!emu::StartImageHost(PVR_IMAGE_HOST, PVR_IMAGE_SYSROOT)) {
      fprintf(stderr, "recorder: %s (./pvr tap builds it)\n", emu::LastError().c_str());
      emu::Shutdown(0);
      return 1;
    }
  }
  if (emu::LoadApplication(tap) < 0) {
    fprintf(stderr, "recorder: %s\n", emu::LastError().c_str());
    status = 1;
  } else {
    // A refused AutoStart file leaves the others and the application running.
    emu::LoadAutoStart();
    if (!emu::LastError().empty()) {
      fprintf(stderr, "recorder: AutoStart: %s\n", emu::LastError().c_str());
    }
    if (!emu::RunScript(script)) {
      fprintf(stderr, "recorder: %s\n", emu::LastError().c_str());
      status = 1;
    } else if (serve && !web::Serve(webOptions)) {
      status = 1;
    }
  }
  emu::Shutdown(0);

  std::istringstream net(emu::NetOutput());
  std::string line;
  while (std::getline(net, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    fprintf(stderr, "net| %s\n", line.c_str());
  }
  std::istringstream console(emu::ConsoleOutput());
  while (std::getline(console, line)) fprintf(stderr, "console| %s\n", line.c_str());
  return status;
}
