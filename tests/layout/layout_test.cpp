// The records the firmware exchanges keep the recorder's layout on every
// target; on 32-bit targets tap.h asserts the offsets at compile time.
#include <gtest/gtest.h>

#include <cstring>

#include "tap.h"

extern "C" const TYPE_TapHeader _tap_header;

TEST(Layout, ApplicationHeaderIdentifiesTheImage) {
  EXPECT_EQ(0, std::memcmp(_tap_header.magic, "TFAPMIPS", 8));
  EXPECT_EQ(0x800440FAu, _tap_header.id);
  EXPECT_STREQ("Pavrolinex v5.1d", _tap_header.programName);
  EXPECT_STREQ("View and monitor recordings", _tap_header.description);
}

TEST(Layout, RecordsHaveTheRecorderSizesWherePointersAre32Bits) {
  EXPECT_EQ(152u, sizeof(TYPE_DirEntry));
  EXPECT_EQ(280u, sizeof(TYPE_TapEvent));
  EXPECT_EQ(148u, sizeof(TYPE_RecInfo));
  EXPECT_EQ(72u, sizeof(TYPE_TapChInfo));
  if (sizeof(void*) == 4) {
    EXPECT_EQ(308u, sizeof(TYPE_PlayInfo));
    EXPECT_EQ(44u, sizeof(TYPE_TapTask));
  }
}

TEST(Layout, ByteOrderIsLittleEndian) {
  const uint32_t word = 0x11223344;
  unsigned char bytes[4];
  std::memcpy(bytes, &word, 4);
  EXPECT_EQ(0x44, bytes[0]);
}
