// Shared test helpers.
#include "testenv.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

namespace testenv {

std::string MakeTempDir(const std::string& prefix) {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "-XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) return "";
  return buf.data();
}

void RemoveTree(const std::string& path) {
  if (path.size() < 5) return;  // never "/" or similar
  nftw(
      path.c_str(),
      [](const char* p, const struct stat*, int, struct FTW*) { return remove(p) == 0 ? 0 : 0; },
      32, FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
}

bool WriteFile(const std::string& path, const std::string& data) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0777);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
  return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool SetFileTime(const std::string& path, int year, int month, int day, int hour, int minute) {
  struct tm t = {};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  time_t when = timegm(&t);
  struct timespec times[2] = {{when, 0}, {when, 0}};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.c_str());
  if (!dir) return names;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testenv

void ExternalDriveTest::Configure(emu::Config& config) {
  seed_ = testenv::MakeTempDir("pvr-seed");
  Seed(seed_);
  emu::ExternalDrive drive;
  drive.seedDir = seed_;
  config.drives.push_back(drive);
}

void ExternalDriveTest::TearDown() {
  RecorderTest::TearDown();
  testenv::RemoveTree(seed_);
}

void RecorderTest::SetUp() {
  disk_ = testenv::MakeTempDir("pvr-disk");
  ASSERT_FALSE(disk_.empty());
  config_ = emu::Config();
  config_.diskDir = disk_;
  Configure(config_);
  ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
}

void RecorderTest::TearDown() {
  emu::Shutdown(0);
  testenv::RemoveTree(disk_);
}
