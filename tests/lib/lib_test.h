// Shared set-up of the support-library tests: every test runs against a
// freshly booted emulated recorder, so that file calls, the current folder and
// the network output (where the library logs) belong to the test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "emu.h"
#include "lib/lib.h"

class LibTest : public ::testing::Test {
 protected:
  void SetUp() override { Boot(); }
  void TearDown() override { emu::Shutdown(); }

  // Boots with a fresh disk below the test's own temporary folder; `adjust`
  // may change the configuration first.
  void Boot(void (*adjust)(emu::Config&) = nullptr);
  // Creates a file (and its folders) with the given contents; system path.
  static void MakeFile(const std::string& systemPath, const std::string& contents = "x");
  static void MakeFolder(const std::string& systemPath);
  static bool Exists(const std::string& systemPath);
  static std::string Read(const std::string& systemPath);
  // The application's current firmware folder, "" when unknown.
  static std::string CurrentDir();

  emu::Config config;
  std::string disk;
};
