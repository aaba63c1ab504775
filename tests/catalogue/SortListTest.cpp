// The six orders of the list.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
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
  // A multi-selection follows its lines.
  MultiSelectItem item = {};
  strcpy(item.name, "b.rec");
  item.entryIndex = 1;
  MultiSelect = &item;
  SortList(0);
  MultiSelect = nullptr;
  EXPECT_EQ(item.entryIndex, 6);
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
  Fill({{"News 2013-05-12 20-15.rec", F, 5, 0, 0},
        {"News~2.rec", F, 3, 0, 0},
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

namespace {

// The orders as repeated sweeps over neighbours, written from their rules.
bool RefSwap(int pass, const FileRecord* a, const FileRecord* b) {
  auto key = [&](const FileRecord* r) {
    const char* k = pass == 4 ? r->sortName : r->name;
    return k[0] == '[' ? k + 1 : k;
  };
  bool fileA = a->attribute == ATTRIBUTE_FILE, fileB = b->attribute == ATTRIBUTE_FILE;
  switch (pass) {
    case 1:
    case 4: {
      int c = strcmp(key(a), key(b));
      return c > 0 || (c == 0 && b->stamp < a->stamp);
    }
    case 0:
      return fileA && (!fileB || b->stamp < a->stamp);
    case 5:
      return fileA && (!fileB || b->stamp > a->stamp);
    case 2:
      return b->serviceNumber < a->serviceNumber;
    case 3:
      return a->size > b->size;
    default:
      return b->attribute > a->attribute;
  }
}

void RefSort(std::vector<FileRecord*>& v, int order) {
  std::vector<int> passes = {order == 4 ? 4 : 1};
  if (order == 0 || order == 2 || order == 3 || order == 5) passes.push_back(order);
  passes.push_back(9);
  for (int pass : passes) {
    for (bool swapped = true; swapped;) {
      swapped = false;
      for (size_t j = 0; j + 1 < v.size(); j++)  // an empty slot is a barrier
        if (v[j] && v[j + 1] && RefSwap(pass, v[j], v[j + 1]))
          std::swap(v[j], v[j + 1]), swapped = true;
    }
  }
}

TEST_F(SortListTest, EveryOrderAsTheSweepsOfNeighbours) {
  std::mt19937 random(11);
  for (int round = 0; round < 60; round++) {
    int n = 1 + random() % 200;
    std::vector<Line> lines;
    static const char* const kNames[] = {
        "a.rec", "b.rec", "[a.rec", "A~2.rec", "c 2013-05-12.rec", "c~3.rec", "dir", ".."};
    static const dword kKinds[] = {ATTRIBUTE_FILE, ATTRIBUTE_FILE, ATTRIBUTE_FOLDER,
                                   ATTRIBUTE_PARENT};
    for (int i = 0; i < n; i++)
      lines.push_back({kNames[random() % 8], kKinds[random() % 4], (dword)(random() % 5),
                       (int)(random() % 5) - 1, (uint64_t)(random() % 3) << (random() % 40)});
    Fill(lines);
    // Every third round has empty slots (a record that could not be allocated).
    for (int holes = round % 3 == 2 ? 1 + random() % 3 : 0; holes > 0; holes--) {
      FileRecord*& r = FileSlot(0, 1 + random() % n);
      TAP_MemFree(r);
      r = nullptr;
    }
    int order = random() % 7;
    std::vector<FileRecord*> expected(&FileSlot(0, 1), &FileSlot(0, 1) + n);
    RefSort(expected, order);
    SortList(order);
    for (int j = 0; j < n; j++) ASSERT_EQ(FileSlot(0, j + 1), expected[j]) << "order " << order;
  }
}

}  // namespace
