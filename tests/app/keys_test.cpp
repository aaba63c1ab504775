// The key list, key names and button images; the settings table.
#include "app/keys.h"

#include <string.h>

#include <set>

#include "config/Settings.h"
#include "emu.h"
#include "gtest/gtest.h"
#include "tap.h"

namespace {

class KeyListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TextLanguage = 0;
    memset(&list_, 0, sizeof list_);
    CreateKeys(&list_);
  }
  void TearDown() override { KeyDestroy(&list_); }
  KeyList list_;
};

TEST_F(KeyListTest, HoldsEveryKnownKeyInMenuOrderUndefinedLast) {
  EXPECT_EQ(GetNumberOfKeys(&list_), 48);
  EXPECT_EQ(list_.entry[1]->code, (dword)RKEY_Mute);
  EXPECT_STREQ(list_.entry[1]->name, "Mute");
  EXPECT_EQ(list_.entry[6]->code, (dword)RKEY_1);
  EXPECT_EQ(list_.entry[15]->code, (dword)RKEY_0);
  EXPECT_EQ(list_.entry[48]->code, (dword)RKEY_Undefined);
  EXPECT_STREQ(GetButtonText(&list_, RKEY_Undefined), "Undefined");
  std::set<dword> codes;
  for (int i = 1; i <= list_.count; i++) codes.insert(list_.entry[i]->code);
  EXPECT_EQ(codes.size(), 48u);  // no key twice
}

TEST_F(KeyListTest, NamesFollowTheTable) {
  EXPECT_STREQ(GetButtonText(&list_, 0x10049), "Option (White)");
  EXPECT_STREQ(GetButtonText(&list_, 0x1003E), "Ab (White)");
  EXPECT_STREQ(GetButtonText(&list_, 0x10042), "File List");
  EXPECT_STREQ(GetButtonText(&list_, 0x1003B), "Slow Motion");
  EXPECT_STREQ(GetButtonText(&list_, 0x10018), "TV/Radio");
}

TEST_F(KeyListTest, NextAndPreviousWrapAtBothEnds) {
  EXPECT_EQ(GetNextKey(&list_, RKEY_Undefined), (dword)RKEY_Mute);
  EXPECT_EQ(GetPreviousKey(&list_, RKEY_Mute), (dword)RKEY_Undefined);
  EXPECT_EQ(GetNextKey(&list_, RKEY_Mute), (dword)RKEY_Uhf);
  EXPECT_EQ(GetPreviousKey(&list_, RKEY_Uhf), (dword)RKEY_Mute);
  EXPECT_EQ(GetNextKey(&list_, RKEY_9), (dword)RKEY_0);
  // A code not in the list starts over at the ends.
  EXPECT_EQ(GetNextKey(&list_, 0x1000A), (dword)RKEY_Mute);
  EXPECT_EQ(GetPreviousKey(&list_, 0x1000A), (dword)RKEY_Undefined);
  // Stepping through all keys comes back to the start.
  dword code = RKEY_Mute;
  for (int i = 0; i < 48; i++) code = GetNextKey(&list_, code);
  EXPECT_EQ(code, (dword)RKEY_Mute);
}

TEST_F(KeyListTest, EmptyListGivesTheCodeBack) {
  KeyDestroy(&list_);
  EXPECT_EQ(GetNumberOfKeys(&list_), 0);
  EXPECT_EQ(GetNextKey(&list_, RKEY_Ok), (dword)RKEY_Ok);
  EXPECT_EQ(GetPreviousKey(&list_, RKEY_Ok), (dword)RKEY_Ok);
  EXPECT_FALSE(IsKeyValid(&list_, RKEY_Ok));
  EXPECT_STREQ(GetButtonText(&list_, RKEY_Ok), "Undefined");
}

TEST_F(KeyListTest, UnknownCodeIsUndefinedInTheCurrentLanguage) {
  EXPECT_FALSE(IsKeyValid(&list_, 0x1000A));
  EXPECT_TRUE(IsKeyValid(&list_, RKEY_Ok));
  EXPECT_STREQ(GetButtonText(&list_, 0x1000A), "Undefined");
  TextLanguage = 1;
  EXPECT_STREQ(GetButtonText(&list_, 0x1000A), "Undefiniert");
  // Names were taken when the list was built; a rebuilt list speaks German.
  EXPECT_STREQ(GetButtonText(&list_, RKEY_Red), "Red");
  CreateKeys(&list_);
  EXPECT_STREQ(GetButtonText(&list_, RKEY_Red), "Rot");
  EXPECT_EQ(GetNumberOfKeys(&list_), 48);
}

TEST_F(KeyListTest, ListHoldsAtMost256Entries) {
  size_t before = emu::AllocatedBlocks();
  for (int i = GetNumberOfKeys(&list_); i < 256; i++) KeyAdd(&list_, 0x30000 + i, "x");
  ASSERT_EQ(GetNumberOfKeys(&list_), 256);
  KeyAdd(&list_, 0x40000, "257th");
  EXPECT_EQ(GetNumberOfKeys(&list_), 256);
  EXPECT_FALSE(IsKeyValid(&list_, 0x40000));
  EXPECT_EQ(list_.entry[256]->code, 0x30000u + 255);
  EXPECT_EQ(emu::AllocatedBlocks(), before + 256 - 48);
  KeyDestroy(&list_);
  EXPECT_EQ(emu::AllocatedBlocks(), before - 48);
}

TEST(ButtonImageTest, KeysMapToTheirButtons) {
  EXPECT_EQ(GetButtonImage(RKEY_0), BUTTON_0);
  EXPECT_EQ(GetButtonImage(RKEY_7), BUTTON_7);
  EXPECT_EQ(GetButtonImage(RKEY_ChUp), BUTTON_up_T);
  EXPECT_EQ(GetButtonImage(RKEY_ChDown), BUTTON_down_T);
  EXPECT_EQ(GetButtonImage(RKEY_AudioTrk), BUTTON_audio_T);
  EXPECT_EQ(GetButtonImage(RKEY_Uhf), BUTTON_blank_T);
  EXPECT_EQ(GetButtonImage(RKEY_TvSat), BUTTON_blank_T);
  EXPECT_EQ(GetButtonImage(RKEY_Prev), BUTTON_jumpstart);
  EXPECT_EQ(GetButtonImage(RKEY_Next), BUTTON_jumpend);
  EXPECT_EQ(GetButtonImage(RKEY_PlayList), BUTTON_filelist);
  EXPECT_EQ(GetButtonImage(RKEY_Slow), BUTTON_step);
  EXPECT_EQ(GetButtonImage(RKEY_Ab), BUTTON_white);
  EXPECT_EQ(GetButtonImage(RKEY_Option), BUTTON_option);
  EXPECT_EQ(GetButtonImage(RKEY_VolUp), BUTTON_right);
  EXPECT_EQ(GetButtonImage(RKEY_Teletext), BUTTON_ttx);
  EXPECT_EQ(GetButtonImage(RKEY_Red), BUTTON_red);
  EXPECT_EQ(GetButtonImage(0x1000A), BUTTON_blank_T);
  EXPECT_EQ(GetButtonImage(RKEY_Ok | RKEY_FLAG_HELD), BUTTON_blank_T);
}

TEST(ColourKeyTest, GlobalsHoldTheColourCodes) {
  EXPECT_EQ(RKEYN_Red, 0x1003Fu);
  EXPECT_EQ(RKEYN_Green, 0x10024u);
  EXPECT_EQ(RKEYN_Yellow, 0x10025u);
  EXPECT_EQ(RKEYN_Blue, 0x10026u);
  EXPECT_EQ(RKEYN_White, 0x10049u);
}

TEST(SettingsTest, TableHoldsAllSettingsInFileOrder) {
  EXPECT_EQ(kNumberOfSettings, 111);
  EXPECT_EQ(settingsInFileOrder[0], &mainActivationKey);    // line 2
  EXPECT_EQ(settingsInFileOrder[1], &GMToffsetOption);      // line 3
  EXPECT_EQ(settingsInFileOrder[36], &Column1Font);         // line 38
  EXPECT_EQ(settingsInFileOrder[55], &StartInDatafiles);    // line 57
  EXPECT_EQ(settingsInFileOrder[63], &HideSortOption0);     // line 65
  EXPECT_EQ(settingsInFileOrder[88], &AliveLoggingFreq);    // line 90
  EXPECT_EQ(settingsInFileOrder[109], &StatusScreenKey);    // line 111
  EXPECT_EQ(settingsInFileOrder[110], &MovieCutterOption);  // line 112
  std::set<int*> distinct(settingsInFileOrder, settingsInFileOrder + kNumberOfSettings);
  EXPECT_EQ(distinct.size(), 111u);
}

TEST(SettingsTest, ResetRestoresTheDefaultsAndCopiesFollow) {
  for (int* setting : settingsInFileOrder) *setting = -7;
  ResetSettingsToDefaults();
  EXPECT_EQ(mainActivationKey, 65602);
  EXPECT_EQ(GMToffsetOption, 600);
  EXPECT_EQ(recordingRateOption, 2900);
  EXPECT_EQ(numberLinesOption, 9);
  EXPECT_EQ(fileListKeyOption, 2);
  EXPECT_EQ(RestartLastKey_internal, 65595);
  EXPECT_EQ(Column4LeftAlign, 2);
  EXPECT_EQ(MinsColour, 3);
  EXPECT_EQ(MultiSelectKey, 65599);
  EXPECT_EQ(ScrollDelay, 10);
  EXPECT_EQ(TAPManagerKey, 65569);
  EXPECT_EQ(StatusScreenKey, 65552);
  EXPECT_EQ(AutoRenameCheckFreq, 100);
  EXPECT_EQ(MovieCutterOption, 0);
  for (int* setting : settingsInFileOrder) EXPECT_NE(*setting, -7);
  CopyConfiguration();
  EXPECT_EQ(CurrentActivationKey, 65602);
  EXPECT_EQ(currentGMToffsetOption, 600);
  EXPECT_EQ(currentbgcCopyOrMoveOption, 0);
  EXPECT_EQ(currentStatusScreenKey, 65552);
  currentScrollDelay = 3;
  CopyShadowsToSettings();
  EXPECT_EQ(ScrollDelay, 3);
}

}  // namespace
