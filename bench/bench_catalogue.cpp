// Scanning speed of the catalogue, each next to its floor: the cost of merely listing,
// lstat-ing and reading the same files with the system library.
//
//   build/bench/bench_catalogue [--benchmark_filter=...]
//
// The tree: 100 folders and 10 000 recordings with headers (sparse, 1 GiB each), plus
// one folder of 998 recordings, which with its parent line makes 999 lines.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "catalogue/catalogue.h"
#include "emu.h"
#include "testdisk.h"

namespace {

std::string hostDisk;

void ResetTables() {
  InitialiseCatalogue();
  strcpy(myfolders[0]->name, "/DataFiles");
  strcpy(FileSlot(0, 1)->folderPath, "/DataFiles");
  CurrentDirNumber = 0;
  SetCurrentDir("/DataFiles");
}

// Lists a folder and lstat-s every entry; reads the header of every recording when
// `headers`; descends when `recurse`. Returns the number of entries seen.
long Floor(const std::string& folder, bool headers, bool recurse) {
  long seen = 0;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  static char buffer[INF_READ_SIZE];
  while (dirent* e = readdir(dir)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    std::string path = folder + "/" + e->d_name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) continue;
    seen++;
    if (S_ISDIR(st.st_mode)) {
      if (recurse) seen += Floor(path, false, true);
    } else if (headers && path.size() > 4 && path.compare(path.size() - 4, 4, ".rec") == 0) {
      int fd = open((path + ".inf").c_str(), O_RDONLY);
      if (fd >= 0) {
        seen += read(fd, buffer, sizeof buffer) > 0;
        close(fd);
      }
    }
  }
  closedir(dir);
  return seen;
}

void BM_FullScan(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    ResetTables();
    state.ResumeTiming();
    loadInitialQuembryInfo(99, 0);
  }
  state.counters["folders"] = numberOfFolders + 1;
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond);

// The full scan reads the headers of the root only.
void BM_FullScanFloor(benchmark::State& state) {
  for (auto _ : state) {
    long seen = Floor(hostDisk + "/DataFiles", false, true);
    seen += Floor(hostDisk + "/DataFiles", true, false);
    benchmark::DoNotOptimize(seen);
  }
}
BENCHMARK(BM_FullScanFloor)->Unit(benchmark::kMillisecond);

void BM_OpenFolder999(benchmark::State& state) {
  ResetTables();
  loadInitialQuembryInfo(99, 0);
  int n = -1;
  for (int j = 1; j <= myfolders[0]->entryCount; j++)
    if (!strcmp(FileSlot(0, j)->name, "Big")) n = FileSlot(0, j)->folderNumber;
  CurrentDirNumber = n;
  SetCurrentDir("/DataFiles/Big");
  for (auto _ : state) loadSubsequentQuembryInfo(0);
  state.counters["lines"] = n >= 0 ? myfolders[n]->entryCount : 0;
  CurrentDirNumber = 0;
  SetCurrentDir("/DataFiles");
}
BENCHMARK(BM_OpenFolder999)->Unit(benchmark::kMillisecond);

void BM_OpenFolder999Floor(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Floor(hostDisk + "/DataFiles/Big", true, false));
}
BENCHMARK(BM_OpenFolder999Floor)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      times[run.benchmark_name()] = run.GetAdjustedRealTime();
      cpu[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
  }
  std::map<std::string, double> times, cpu;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string root = testdisk::MakeTempDir("bench");
  hostDisk = root + "/disk";
  testdisk::Disk disk(hostDisk);
  testdisk::TreeSpec shape;  // 100 folders, 10 000 recordings with headers
  testdisk::GenerateTree(disk, shape);
  testdisk::TreeSpec big;
  big.base = "/DataFiles/Big";
  big.folders = 0;
  big.recordings = 998;
  big.seed = 2;
  testdisk::GenerateTree(disk, big);

  emu::Config config;
  config.diskDir = hostDisk;
  if (!emu::Boot(config)) {
    fprintf(stderr, "cannot boot the emulated recorder: %s\n", emu::LastError().c_str());
    return 1;
  }
  // A channel list of a real recorder's size: every header looks its service up.
  std::vector<TYPE_TapChInfo> tv(1000), radio(200);
  for (size_t i = 0; i < tv.size(); i++) {
    snprintf(tv[i].chName, sizeof tv[i].chName, "Channel %d", (int)i % 10000);
    tv[i].svcId = (word)(1000 + i);  // the generated headers name services 100..119
  }
  for (size_t i = 0; i < radio.size(); i++) radio[i].svcId = (word)(5000 + i);
  tv[900].svcId = 110;
  emu::SetChannels(tv, radio);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // Real time is what the user waits for; CPU time (user and system) is steadier on
  // a machine that runs other work meanwhile.
  auto ratio = [&](const char* what, const char* floor) {
    if (!reporter.times.count(what) || !reporter.times.count(floor)) return;
    printf(
        "%-18s real %7.2f ms, floor %7.2f ms, ratio %.2f;  cpu %7.2f ms, floor %7.2f ms, ratio "
        "%.2f\n",
        what, reporter.times[what], reporter.times[floor],
        reporter.times[what] / reporter.times[floor], reporter.cpu[what], reporter.cpu[floor],
        reporter.cpu[what] / reporter.cpu[floor]);
  };
  ratio("BM_FullScan", "BM_FullScanFloor");
  ratio("BM_OpenFolder999", "BM_OpenFolder999Floor");
  // The catalogue's heap per line after a full scan, against the record itself.
  ReleaseCatalogue();
  size_t before = emu::AllocatedBytes();
  ResetTables();
  loadInitialQuembryInfo(99, 0);
  long lines = 0;
  for (int n = 0; n < MAX_FOLDERS; n++)
    if (myfolders[n]) lines += myfolders[n]->entryCount;
  double perLine = lines ? double(emu::AllocatedBytes() - before) / lines : 0;
  printf("memory per line    %7.0f bytes, record %zu bytes, ratio %.3f (%ld lines)\n", perLine,
         sizeof(FileRecord), perLine / sizeof(FileRecord), lines);
  ReleaseCatalogue();
  emu::Shutdown(0);
  testdisk::RemoveTree(root);
  return 0;
}
