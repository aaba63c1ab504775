// Drives seeded with recordings of gigabytes: the drive lives in memory, so
// holes in the seeded folder must stay holes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "testenv.h"

namespace {

constexpr off_t kSize = 4ll << 30;  // a 4 GB recording, almost all of it a hole
constexpr off_t kDataAt = 1ll << 30;

class SparseSeedTest : public ExternalDriveTest {
 protected:
  void Seed(const std::string& dir) override {
    int fd = open((dir + "/film.rec").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, "head", 4, 0), 4);
    ASSERT_EQ(pwrite(fd, "middle", 6, kDataAt), 6);
    ASSERT_EQ(ftruncate(fd, kSize), 0);
    close(fd);
    testenv::WriteFile(dir + "/empty.rec", "");
  }
};

TEST_F(SparseSeedTest, HolesStayHolesAndDataArrives) {
  struct stat st;
  ASSERT_EQ(stat("/mnt/sdb1/film.rec", &st), 0);
  EXPECT_EQ(st.st_size, kSize);
  EXPECT_LT(st.st_blocks * 512, 1 << 20) << "the copy takes memory for its data only";
  int fd = open("/mnt/sdb1/film.rec", O_RDONLY);
  ASSERT_GE(fd, 0);
  char buf[8] = {};
  EXPECT_EQ(pread(fd, buf, 4, 0), 4);
  EXPECT_EQ(std::string(buf, 4), "head");
  EXPECT_EQ(pread(fd, buf, 6, kDataAt), 6);
  EXPECT_EQ(std::string(buf, 6), "middle");
  EXPECT_EQ(pread(fd, buf, 4, kDataAt + 4096), 4);
  EXPECT_EQ(std::string(buf, 4), std::string(4, '\0'));
  close(fd);
  ASSERT_EQ(stat("/mnt/sdb1/empty.rec", &st), 0);
  EXPECT_EQ(st.st_size, 0);
}

}  // namespace
