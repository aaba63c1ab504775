// The recorder program with the built application image, driven by a script:
// play a recording from the list, stop it, resume it.
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <string>

#include "gtest/gtest.h"
#include "testdisk.h"
#include "testenv.h"

namespace {

TEST(RecorderRunTest, PlayStopAndResumeLeaveTheirPositionsInTheHistory) {
  std::string work = testenv::MakeTempDir("pvr-browse-run");
  ASSERT_FALSE(work.empty());
  testdisk::Disk disk(work + "/D");
  testdisk::Header header;
  header.eventName = "Film";
  header.resumeBlock = 1000;  // where the recorder itself stopped last time
  ASSERT_TRUE(disk.Recording("/DataFiles/Film.rec", 3000ull * 9024, header));
  struct stat st;
  ASSERT_EQ(stat(disk.HostPath("/DataFiles/Film.rec").c_str(), &st), 0);

  // Opened, played for 20 s, stopped; opened again, resumed, played 2 s, stopped.
  std::string script =
      "idle:5 FileList idle:2 Ok wait:20 Stop idle:3 "
      "FileList idle:2 Ok wait:2 Stop idle:3";
  std::string command = std::string("cd '") + work + "' && " PVR_EXEC_PREFIX "'" +
                        PVR_RECORDER_PATH + "' --tap '" + PVR_TAP_PATH + "' --disk D --script '" +
                        script + "' >out.txt 2>&1";
  int status = system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << status;
  ASSERT_EQ(WEXITSTATUS(status), 0) << testenv::ReadFile(work + "/out.txt");

  std::string history =
      testenv::ReadFile(disk.HostPath("/ProgramFiles/Settings/Pavrolinex/SkerrowbyPlayback.dat"));
  // The disk describes the recorder, so the header's resume block counts: the
  // first run started at 1000 less 60 and played 20 s to block 1940; the second
  // went back 60 blocks and played 100 more.
  char line[160];
  snprintf(line, sizeof line, "%u\t1980\t3000\tFilm.rec\r\n", (unsigned)st.st_ino);
  EXPECT_NE(history.find(line), std::string::npos) << history.substr(0, 200);
  testenv::RemoveTree(work);
}

}  // namespace
