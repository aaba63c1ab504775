// Shared set-up of the support-library tests: every test runs against a
// freshly booted emulated recorder, so that file calls, the current folder
// and the network output (where the library logs) belong to the test. Test
// code acts as the application in slot 0 of the firmware's table.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "emu.h"
#include "lib/lib.h"
#include "testenv.h"

class LibTest : public RecorderTest {
 protected:
  // The library keeps first answers about the firmware for the life of the
  // application; each test is a new application on a new recorder.
  void SetUp() override {
    FWDATBin = nullptr;
    FWDATSize = 0;
    SystemType = ST_UNKNOWN;
    GlobalRemoteType = 1;
    RecSlots = 0;
    UTFToppyMode = -1;
    RecorderTest::SetUp();
  }
  // The application's current firmware folder, "" when unknown.
  static std::string CurrentDir() {
    char folder[PATH_BUFFER_SIZE];
    return HDD_TAP_GetCurrentDir(folder) ? folder : "";
  }
  static std::string Convert(const std::string& path, int form) {
    char out[PATH_BUFFER_SIZE];
    ConvertPathType(path.c_str(), out, form);
    return out;
  }
  // Files are made through the namespace's own /mnt/hd.
  static void Make(const std::string& systemPath, const std::string& data = "x") {
    ASSERT_TRUE(testenv::WriteFile(systemPath, data)) << systemPath;
  }
};
