// recorder - runs the application in the emulated recorder, scripted.
//   recorder --disk DIR [--usb DIR]... [--script TEXT|FILE] [--tap PATH]
//            [--sysid N] [--net-output FILE] [--real-time]
// Boots, loads the application, plays the script, shuts down with a stop
// request (reason 0, power) and prints the network output to stderr.
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "emu.h"

#ifndef PVR_DEFAULT_TAP
#define PVR_DEFAULT_TAP "Pavrolinex.tap"
#endif

namespace {

int Usage(const char* why) {
  fprintf(stderr,
          "recorder: %s\n"
          "usage: recorder --disk DIR [--usb DIR]... [--script TEXT|FILE] [--tap PATH]\n"
          "                [--sysid N] [--net-output FILE] [--real-time]\n",
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

}  // namespace

int main(int argc, char** argv) {
  emu::Config config;
  std::string script;
  std::string tap;
  for (int i = 1; i < argc; i++) {
    std::string opt = argv[i];
    if (opt == "--real-time") {
      config.realTime = true;
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
    } else {
      return Usage(("unknown option " + opt).c_str());
    }
  }
  if (config.diskDir.empty()) return Usage("--disk is required");
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
  if (emu::LoadApplication(tap) < 0) {
    fprintf(stderr, "recorder: %s\n", emu::LastError().c_str());
    status = 1;
  } else if (!emu::RunScript(script)) {
    fprintf(stderr, "recorder: %s\n", emu::LastError().c_str());
    status = 1;
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
