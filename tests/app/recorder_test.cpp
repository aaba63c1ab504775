// The recorder program with the built application image: a scripted run on a
// new, empty disk.
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testenv.h"

namespace {

// Width and height from a PNG's header; 0 when the file is no PNG.
void PngSize(const std::string& png, unsigned* width, unsigned* height) {
  *width = *height = 0;
  if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return;
  auto word = [&](size_t at) {
    return (unsigned)(unsigned char)png[at] << 24 | (unsigned)(unsigned char)png[at + 1] << 16 |
           (unsigned)(unsigned char)png[at + 2] << 8 | (unsigned)(unsigned char)png[at + 3];
  };
  *width = word(16);
  *height = word(20);
}

std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start != text.size()) lines.push_back(text.substr(start));  // an unterminated rest
  return lines;
}

TEST(RecorderProgramTest, ScriptedRunOnAnEmptyDiskLogsAndSnapshots) {
  std::string work = testenv::MakeTempDir("pvr-recorder");
  ASSERT_FALSE(work.empty());
  std::string disk = work + "/D";
  std::string png = work + "/s.png";
  std::string command = std::string("cd '") + work + "' && '" + PVR_RECORDER_PATH + "' --tap '" +
                        PVR_TAP_PATH + "' --disk D --script " +
                        "'idle:5 FileList idle:5 snap:s.png Exit idle:5' >out.txt 2>&1";
  int status = system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0) << testenv::ReadFile(work + "/out.txt");

  unsigned width, height;
  PngSize(testenv::ReadFile(png), &width, &height);
  EXPECT_EQ(width, 720u);
  EXPECT_EQ(height, 576u);

  std::string log =
      testenv::ReadFile(disk + "/ProgramFiles/Settings/Pavrolinex/Logs/Pavrolinex.log");
  std::vector<std::string> lines = SplitCrLfLines(log);
  ASSERT_EQ(lines.size(), 3u) << log;
  const char* stamp = "dddd-dd-dd dd:dd:dd ";
  for (const std::string& line : lines) {
    ASSERT_GT(line.size(), 20u);
    for (size_t i = 0; i < 20; i++) {
      if (stamp[i] == 'd') {
        EXPECT_TRUE(line[i] >= '0' && line[i] <= '9') << line;
      } else {
        EXPECT_EQ(line[i], stamp[i]) << line;
      }
    }
  }
  EXPECT_EQ(lines[0].substr(20), "Start - Pavrolinex v5.1d    ");
  EXPECT_EQ(lines[1].substr(20), "Exit  - Pavrolinex - Power  ");
  EXPECT_EQ(lines[2].substr(20), "Exit  - Pavrolinex v5.1d    ");
  testenv::RemoveTree(work);
}

}  // namespace
