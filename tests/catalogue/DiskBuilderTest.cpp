// The test-disk builder itself: what tests and benchmarks rely on.
#include <sys/stat.h>

#include "catalogue_test.h"

namespace {

using testdisk::Stamp;

TEST(DiskBuilder, StampsRoundTrip) {
  EXPECT_EQ(Stamp(1970, 1, 1) >> 16, 40587u);  // MJD of the Unix epoch
  EXPECT_EQ(Stamp(2026, 12, 7, 20, 15) & 0xFFFF, (20u << 8) | 15u);
  uint32_t s = Stamp(2024, 2, 29, 23, 59);
  EXPECT_EQ(testdisk::UnixToStamp(testdisk::StampToUnix(s)), s);
}

TEST(DiskBuilder, LayoutsOfEveryFamily) {
  for (int family : {1, 2, 3, 4, 5, 6, 7, 8, 11}) {
    const testdisk::Layout* l = testdisk::LayoutOf(family);
    ASSERT_TRUE(l);
    testdisk::Header h;
    h.family = family;
    EXPECT_EQ(testdisk::EncodeHeader(h).size(), (size_t)l->size);
    EXPECT_LE(l->extText + l->extTextMax, l->bookmarks);
    EXPECT_EQ(l->bookmarks + l->bookmarkBytes, l->resume);
  }
  EXPECT_FALSE(testdisk::LayoutOf(9));
}

class DiskBuilderTest : public CatalogueTest {};

TEST_F(DiskBuilderTest, RecordingsCompanionsAndRecycling) {
  testdisk::Header h;
  h.recordingStart = Stamp(2025, 5, 6, 7, 8);
  ASSERT_TRUE(disk->Recording("/DataFiles/M/x.rec", 3ull << 32, h));
  struct stat st;
  ASSERT_EQ(stat(disk->HostPath("/DataFiles/M/x.rec").c_str(), &st), 0);
  EXPECT_EQ((uint64_t)st.st_size, 3ull << 32);
  EXPECT_LT(st.st_blocks, 64);  // sparse
  EXPECT_EQ(testdisk::UnixToStamp(st.st_mtime), h.recordingStart);
  EXPECT_TRUE(disk->Exists("/DataFiles/M/x.rec.inf"));
  EXPECT_TRUE(disk->Exists("/DataFiles/M/x.rec.nav"));
  ASSERT_TRUE(disk->Recycle("/DataFiles/M/x.rec"));
  EXPECT_TRUE(disk->Exists("/DataFiles/M/x.rec.del"));
  EXPECT_TRUE(disk->Exists("/DataFiles/M/x.rec.inf.del"));
  EXPECT_TRUE(disk->Exists("/DataFiles/M/x.rec.nav.del"));
  EXPECT_FALSE(disk->Exists("/DataFiles/M/x.rec"));

  ASSERT_TRUE(disk->File("/DataFiles/r.ts", 10));
  ASSERT_EQ(stat(disk->HostPath("/DataFiles/r.ts").c_str(), &st), 0);
  ino_t inode = st.st_ino;
  ASSERT_TRUE(disk->Replace("/DataFiles/r.ts", 20));
  ASSERT_EQ(stat(disk->HostPath("/DataFiles/r.ts").c_str(), &st), 0);
  EXPECT_NE(st.st_ino, inode);
  EXPECT_EQ(st.st_size, 20);
}

TEST_F(DiskBuilderTest, GeneratedTreesAreScannedWhole) {
  testdisk::TreeSpec shape;
  shape.folders = 12;
  shape.recordings = 150;
  shape.maxDepth = 2;
  std::vector<std::string> folders = testdisk::GenerateTree(*disk, shape);
  EXPECT_EQ(folders.size(), 13u);
  FullScan();
  EXPECT_EQ(numberOfFolders, 12);
  int files = 0;
  for (int n = 0; n <= numberOfFolders; n++) files += myfolders[n]->fileCount;
  EXPECT_EQ(files, 150);
  EXPECT_EQ(Invariants(), "");
}

}  // namespace
