#include "lib_test.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

int DummyMain(void) { return 1; }
dword DummyHandler(word, dword param1, dword) { return param1; }

TAP_APPLICATION_HEADER_OBJECT(testHeader);

}  // namespace

void LibTest::Boot(void (*adjust)(emu::Config&)) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  char base[] = "/tmp/pvr-lib-XXXXXX";
  ASSERT_NE(mkdtemp(base), nullptr);
  disk = std::string(base) + "/disk";
  config = emu::Config();
  config.diskDir = disk;
  if (adjust) adjust(config);
  ASSERT_TRUE(emu::Boot(config)) << info->name() << ": " << emu::LastError();
}
