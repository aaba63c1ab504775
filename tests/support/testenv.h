// testenv.h - helpers shared by the test programs: temporary folders, small
// file utilities, and a fixture that boots the emulated recorder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emu.h"

namespace testenv {

// A new empty folder below $TMPDIR (or /tmp), named after `prefix`.
std::string MakeTempDir(const std::string& prefix = "pvr-test");
// Removes a folder and everything below it (not crossing into other mounts).
void RemoveTree(const std::string& path);
// Writes `data` to `path`, creating the folders above it.
bool WriteFile(const std::string& path, const std::string& data);
// The whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// Sets a file's modification time to a calendar time of the recorder's clock.
bool SetFileTime(const std::string& path, int year, int month, int day, int hour, int minute);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> ListDir(const std::string& path);

}  // namespace testenv

// Boots the emulated recorder on a fresh temporary disk for every test and
// shuts it down afterwards. Override Configure to change the configuration
// (external drives, capacity, system id) before the boot.
class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  virtual void Configure(emu::Config& /*config*/) {}

  // The host path of a firmware path ("/DataFiles/x.rec") on the disk.
  std::string HostPath(const std::string& firmwarePath) const { return disk_ + firmwarePath; }

  std::string disk_;  // the host folder that is /mnt/hd
  emu::Config config_;
};

// A recorder with one external drive, seeded from a temporary folder that
// Seed fills before the boot; the folder is removed afterwards.
class ExternalDriveTest : public RecorderTest {
 protected:
  virtual void Seed(const std::string& dir) = 0;
  void Configure(emu::Config& config) override;
  void TearDown() override;

  std::string seed_;  // the seeded host folder
};
