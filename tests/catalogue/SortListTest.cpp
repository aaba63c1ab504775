// The six orders of the list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace {

struct Line {
  const char* name;
  dword attribute;
  dword stamp;
  int service;
  uint64_t size;
};

class SortListTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(InitialiseCatalogue(), 0); }
  void TearDown() override { ReleaseCatalogue(); }

  void Fill(const std::vector<Line>& lines) {
    CurrentDirNumber = 0;
    int slot = 1;
    for (const Line& l : lines) {
      FileRecord*& r = FileSlot(0, slot++);
      if (!r) r = (FileRecord*)TAP_MemAlloc(sizeof(FileRecord));
      memset(r, 0, sizeof *r);
      strcpy(r->name, l.name);
      FormatSortName(r->sortName, l.name);
      if (l.attribute != ATTRIBUTE_FILE) strcpy(r->sortName, l.name);
      r->attribute = l.attribute;
      r->stamp = l.stamp;
      r->serviceNumber = l.service;
      r->size = l.size;
    }
    myfolders[0]->entryCount = (int)lines.size();
  }

  std::string Order() {
    std::string out;
    for (int j = 1; j <= myfolders[0]->entryCount; j++) {
      if (!out.empty()) out += ",";
      out += FileSlot(0, j)->name;
    }
    return out;
  }
};

const dword F = ATTRIBUTE_FILE, D = ATTRIBUTE_FOLDER, P = ATTRIBUTE_PARENT;

TEST_F(SortListTest, DateKeepsOldestFirstAndFoldersOnTop) {
  Fill({{"b.rec", F, 30, 0, 0},
        {"zeta", D, 1, 0, 0},
        {"a.rec", F, 20, 0, 0},
        {"a.rec", F, 10, 0, 0},
        {"..", P, 0, 0, 0},
        {"alpha", D, 99, 0, 0}});
  SortList(0);
  EXPECT_EQ(Order(), "..,alpha,zeta,a.rec,a.rec,b.rec");
  EXPECT_EQ(FileSlot(0, 4)->stamp, 10u);
  EXPECT_STREQ(sortTitle, "[by date]");
  SortList(5);
  EXPECT_EQ(Order(), "..,alpha,zeta,b.rec,a.rec,a.rec");
  EXPECT_EQ(FileSlot(0, 5)->stamp, 20u);
  EXPECT_STREQ(sortTitle, "[by reverse]");
}

TEST_F(SortListTest, NameSkipsALeadingBracket) {
  Fill({{"c.rec", F, 1, 0, 0}, {"[b.rec", F, 1, 0, 0}, {"a.rec", F, 1, 0, 0}});
  SortList(1);
  EXPECT_EQ(Order(), "a.rec,[b.rec,c.rec");
  EXPECT_STREQ(sortTitle, "[by name]");
}

TEST_F(SortListTest, TrimSortsBySortName) {
  Fill({{"News 2013-05-12 20-15.rec", F, 5, 0, 0}, {"News~2.rec", F, 3, 0, 0},
        {"Apple.rec", F, 9, 0, 0}});
  SortList(4);
  EXPECT_EQ(Order(), "Apple.rec,News~2.rec,News 2013-05-12 20-15.rec");
  EXPECT_STREQ(sortTitle, "[by trim]");
}

TEST_F(SortListTest, ChannelPutsUnknownServicesFirst) {
  Fill({{"a.rec", F, 1, 7, 0},
        {"b.rec", F, 1, 0, 0},
        {"c.rec", F, 1, -1, 0},
        {"dir", D, 1, 0, 0},
        {"..", P, 0, 0, 0},
        {"d.rec", F, 1, 2, 0}});
  SortList(2);
  EXPECT_EQ(Order(), "..,dir,c.rec,b.rec,d.rec,a.rec");
  EXPECT_STREQ(sortTitle, "[by channel]");
}

TEST_F(SortListTest, SizeComparesAll64Bits) {
  Fill({{"a.rec", F, 1, 0, 5ull << 32}, {"b.rec", F, 1, 0, 7}, {"c.rec", F, 1, 0, 1ull << 32}});
  SortList(3);
  EXPECT_EQ(Order(), "b.rec,c.rec,a.rec");
  EXPECT_STREQ(sortTitle, "[by size]");
}

TEST_F(SortListTest, InvalidOrderSortsByName) {
  Fill({{"b.rec", F, 1, 0, 0}, {"a.rec", F, 2, 0, 0}});
  SortList(9);
  EXPECT_EQ(Order(), "a.rec,b.rec");
  EXPECT_STREQ(sortTitle, "[by name]");
}

}  // namespace
