// Instructions spent on keys, idle events and screen syncs, counted by callgrind
// (deterministic, unlike time on a shared machine).
//
//   build/bench/bench_keys [--tap PATH]
//
// Started normally it runs itself under `valgrind --tool=callgrind`, which stops
// the counters at each phase below (a client request), then reads the counts back
// and prints one line per figure with its budget or ratio. The application is the
// real image (Pavrolinex.tap), loaded the way the recorder loads it, so "the
// application's instructions" are those executed inside that object's own code
// (not the C library or firmware it calls).
//
// The disk: /DataFiles holds 999 recordings with headers: a 999-line list.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>
#include <valgrind/callgrind.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "emu.h"
#include "testdisk.h"

namespace {

constexpr int kKeys = 8;   // Down presses; every page has at least 9 lines
constexpr int kIdle = 40;  // idle events (4 s of emulated time)
constexpr int kPages = 4;  // full-page moves
constexpr int kFrames = 8;

// What one phase cost (one dump of callgrind's counters).
struct Phase {
  unsigned long long app = 0;   // self cost of functions in the application image
  unsigned long long sync = 0;  // inclusive cost of the calls to TAP_Osd_Sync
  unsigned long long syncs = 0;
  unsigned long long total = 0;  // everything executed in the phase
};

// Reads one callgrind dump: the functions' self costs by object, and the
// inclusive cost of the calls made to TAP_Osd_Sync.
Phase ReadDump(const std::string& path, const std::string& appObject) {
  Phase phase;
  std::ifstream in(path);
  std::map<std::string, std::string> objects, functions;  // "(id)" -> name
  auto name = [](std::map<std::string, std::string>& table, const std::string& value) {
    // "(12) name" defines id 12; "(12)" refers to it; a bare name is itself.
    if (value.empty() || value[0] != '(') return value;
    size_t close = value.find(')');
    std::string id = value.substr(0, close + 1);
    if (close + 1 < value.size()) table[id] = value.substr(close + 2);
    return table[id];
  };
  bool inApp = false, afterCall = false, callToSync = false;
  std::string object, calleeObject;
  unsigned long long callCount = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line.rfind("summary:", 0) == 0) {
      phase.total = strtoull(line.c_str() + 8, nullptr, 10);
    } else if (line.rfind("ob=", 0) == 0) {
      object = name(objects, line.substr(3));
      inApp = object.find(appObject) != std::string::npos;
    } else if (line.rfind("cob=", 0) == 0) {
      calleeObject = name(objects, line.substr(4));
    } else if (line.rfind("fn=", 0) == 0) {
      name(functions, line.substr(3));
    } else if (line.rfind("cfn=", 0) == 0) {
      callToSync = name(functions, line.substr(4)) == "TAP_Osd_Sync";
    } else if (line.rfind("calls=", 0) == 0) {
      afterCall = true;
      callCount = strtoull(line.c_str() + 6, nullptr, 10);
    } else if (isdigit(static_cast<unsigned char>(line[0])) || line[0] == '+' || line[0] == '-' ||
               line[0] == '*') {
      size_t last = line.find_last_of(' ');
      unsigned long long cost = last == std::string::npos ? 0 : strtoull(&line[last + 1], 0, 10);
      if (afterCall) {
        if (callToSync) {
          phase.sync += cost;
          phase.syncs += callCount;
        }
        afterCall = false;
        callToSync = false;
      } else if (inApp) {
        phase.app += cost;
      }
    }
  }
  return phase;
}

std::string tapPath;

// Under callgrind: boots, opens the list and runs the phases, dumping the
// counters after each.
int RunPhases() {
  std::string root = testdisk::MakeTempDir("bench-keys");
  std::string hostDisk = root + "/disk";
  testdisk::Disk disk(hostDisk);
  testdisk::TreeSpec shape;
  shape.folders = 0;
  shape.recordings = 999;
  testdisk::GenerateTree(disk, shape);
  emu::Config config;
  config.diskDir = hostDisk;
  if (!emu::Boot(config)) {
    fprintf(stderr, "cannot boot the emulated recorder: %s\n", emu::LastError().c_str());
    return 1;
  }
  if (emu::LoadApplication(tapPath) < 0) {
    fprintf(stderr, "cannot load %s: %s\n", tapPath.c_str(), emu::LastError().c_str());
    return 1;
  }
  emu::Idle(5);
  emu::PressKey(emu::KeyByName("FileList"));
  emu::Idle(2);
  emu::PressKey(emu::KeyByName("Left"));  // a page up: the selection at the top of its page
  emu::Idle(2);
  CALLGRIND_DUMP_STATS_AT("setup");
  for (int i = 0; i < kKeys; i++) emu::PressKey(emu::KeyByName("Down"));
  CALLGRIND_DUMP_STATS_AT("keys");
  emu::Idle(kIdle);
  CALLGRIND_DUMP_STATS_AT("idle");
  for (int i = 0; i < kPages; i++) emu::PressKey(emu::KeyByName("Right"));
  CALLGRIND_DUMP_STATS_AT("pages");
  // One row of the list region changes before each sync.
  for (int i = 0; i < kFrames; i++) {
    TAP_Osd_FillBox(1, 53, 70 + 42 * i, 618, 40, 0xFF1E1E1E + i);
    TAP_Osd_Sync();
  }
  CALLGRIND_DUMP_STATS_AT("frames");
  for (int i = 0; i < kFrames; i++) emu::ComposeWholeFrame();
  CALLGRIND_DUMP_STATS_AT("full");
  emu::Shutdown(0);
  testdisk::RemoveTree(root);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  tapPath = BUILD_DIR "/Pavrolinex.tap";
  for (int i = 1; i + 1 < argc; i++) {
    if (!strcmp(argv[i], "--tap")) tapPath = argv[++i];
  }
  if (RUNNING_ON_VALGRIND) return RunPhases();

  std::string dir = testdisk::MakeTempDir("bench-keys-cg");
  std::string out = dir + "/cg.out";
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  self[length] = 0;
  pid_t child = fork();
  if (child == 0) {
    std::string file = "--callgrind-out-file=" + out;
    std::vector<const char*> args = {"valgrind",
                                     "--tool=callgrind",
                                     "-q",
                                     file.c_str(),
                                     "--dump-instr=no",
                                     "--compress-pos=no",
                                     self,
                                     "--tap",
                                     tapPath.c_str(),
                                     nullptr};
    execvp("valgrind", const_cast<char* const*>(args.data()));
    perror("valgrind");
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "bench_keys: the run under callgrind failed\n");
    return 1;
  }
  // Dumps are numbered from 1 in the order above; the last (end of program)
  // is the file without a number.
  const char* names[] = {"setup", "keys", "idle", "pages", "frames", "full"};
  std::map<std::string, Phase> phases;
  for (int i = 0; i < 6; i++) {
    phases[names[i]] = ReadDump(out + "." + std::to_string(i + 1), "Pavrolinex.tap");
  }
  // PVR_BENCH_KEEP=1 keeps the dumps (for callgrind_annotate) and names them.
  if (getenv("PVR_BENCH_KEEP") && !strcmp(getenv("PVR_BENCH_KEEP"), "1")) {
    fprintf(stderr, "callgrind dumps kept in %s\n", dir.c_str());
  } else {
    testdisk::RemoveTree(dir);
  }
  const Phase& keys = phases["keys"];
  const Phase& idle = phases["idle"];
  const Phase& pages = phases["pages"];
  const Phase& frames = phases["frames"];
  double perKey = keys.app / double(kKeys), perIdle = idle.app / double(kIdle);
  double perPage = pages.app / double(kPages);
  double perFrame = frames.syncs ? frames.sync / double(frames.syncs) : 0;
  // The whole-frame compositions are called directly: all the phase executed.
  double perFull = phases["full"].total / double(kFrames);
  printf("keys   Down key in the application %9.0f instructions, budget 500000\n", perKey);
  printf("idle   idle event in the application %7.0f instructions, budget 500000\n", perIdle);
  printf("page   full-page move in the application %3.0f instructions, budget 5000000\n", perPage);
  printf("frame  synced frame, one row changed %7.0f instructions, whole frame %.0f, ratio %.3f\n",
         perFrame, perFull, perFull > 0 ? perFrame / perFull : 0);
  printf("keysync synced frame after a Down key %6.0f instructions, ratio %.3f\n",
         keys.syncs ? keys.sync / double(keys.syncs) : 0,
         keys.syncs && perFull > 0 ? keys.sync / double(keys.syncs) / perFull : 0);
  return 0;
}
