// Key translation through the firmware's application table.
#include "AppFixture.h"
#include "lib/lib.h"

namespace {

class TranslateTest : public AppTest {
 protected:
  TYPE_TapTask& OwnRecord() { return static_cast<TYPE_TapTask*>(TryResolve("_tapTask"))[index_]; }
};

TEST_F(TranslateTest, StartInstallsTheHookInOwnSlot) {
  EXPECT_EQ(TAP_TableIndex, index_);
  EXPECT_EQ(OwnRecord().TAP_EventHandler, KeyTranslateHook);
  EXPECT_EQ(Original_TAP_EventHandler, TAP_EventHandler);
  EXPECT_EQ(RemoteType, 1u);  // no description file: the default
}

TEST_F(TranslateTest, RemoteTypeTwoTranslatesIncomingKeys) {
  RemoteType = 2;
  mainActivationKey = 0x10048;
  // Green of this remote arrives as 0x10024 and means 0x10048.
  EXPECT_EQ(emu::PressKey(0x10024), 0u);
  EXPECT_EQ(windowShowing, 1);
}

TEST_F(TranslateTest, HookHandsBackTheUntranslatedKey) {
  RemoteType = 2;
  // 0x1003E becomes 0x10049, which nobody takes: the firmware gets 0x1003E.
  EXPECT_EQ(emu::PressKey(0x1003E), 0x1003Eu);
  // Flags above the key survive.
  EXPECT_EQ(emu::PressKey(0x1003E | RKEY_FLAG_HELD), 0x1003Eu | RKEY_FLAG_HELD);
}

TEST_F(TranslateTest, TranslationTables) {
  const dword type2[][2] = {{0x10024, 0x10048}, {0x10025, 0x10045}, {0x10026, 0x10046},
                            {0x1003E, 0x10049}, {0x1003F, 0x10047}, {0x10045, 0x10044},
                            {0x10047, 0x1003F}, {0x10048, 0x10024}, {0x10049, 0x10025},
                            {0x1004A, 0x10026}, {0x10023, 0x10023}, {0x1001E, 0x1001E}};
  for (const auto& pair : type2) {
    EXPECT_EQ(TranslateKeyForRemote(pair[0], 2), pair[1]) << std::hex << pair[0];
    EXPECT_EQ(TranslateKeyForRemote(pair[0] | RKEY_FLAG_RELEASED, 2), pair[1] | RKEY_FLAG_RELEASED);
  }
  EXPECT_EQ(TranslateKeyForRemote(0x10023, 3), 0x1003Fu);
  EXPECT_EQ(TranslateKeyForRemote(0x10024, 3), 0x10024u);
  EXPECT_EQ(TranslateKeyForRemote(0x10024, 1), 0x10024u);
  EXPECT_EQ(TranslateKeyForRemote(0x10023, 0), 0x10023u);
}

TEST_F(TranslateTest, ReverseTranslationForGeneratedKeys) {
  const dword type2[][2] = {{0x10024, 0x10048}, {0x10025, 0x10049}, {0x10026, 0x1004A},
                            {0x1003F, 0x10047}, {0x10044, 0x10045}, {0x10045, 0x10025},
                            {0x10046, 0x10026}, {0x10047, 0x1003F}, {0x10048, 0x10024},
                            {0x10049, 0x1003E}, {0x1001E, 0x1001E}};
  GlobalRemoteType = 2;
  for (const auto& pair : type2) {
    EXPECT_EQ(KeyReverseTranslate(pair[0]), pair[1]) << std::hex << pair[0];
  }
  EXPECT_EQ(KeyReverseTranslate(0x2010026), 0x201004Au);
  GlobalRemoteType = 3;
  EXPECT_EQ(KeyReverseTranslate(0x10024), 0x10024u);
  GlobalRemoteType = 1;
  EXPECT_EQ(KeyReverseTranslate(0x10049), 0x10049u);
}

TEST_F(TranslateTest, RemovingRestoresTheHandler) {
  EXPECT_EQ(KeyTranslate(0, TAP_EventHandler), 1);
  EXPECT_EQ(OwnRecord().TAP_EventHandler, TAP_EventHandler);
  RemoteType = 2;
  mainActivationKey = 0x10048;
  EXPECT_EQ(emu::PressKey(0x10024), 0x10024u);  // no translation any more
  EXPECT_EQ(windowShowing, 0);
}

dword OtherHook(word, dword param1, dword) { return param1; }

TEST_F(TranslateTest, ForeignHookIsLeftAlone) {
  KeyTranslate(0, TAP_EventHandler);
  OwnRecord().TAP_EventHandler = OtherHook;
  EXPECT_EQ(KeyTranslate(1, TAP_EventHandler), 0);
  EXPECT_EQ(OwnRecord().TAP_EventHandler, OtherHook);
  // Removing does not take someone else's hook out either.
  EXPECT_EQ(KeyTranslate(0, TAP_EventHandler), 1);
  EXPECT_EQ(OwnRecord().TAP_EventHandler, OtherHook);
  OwnRecord().TAP_EventHandler = TAP_EventHandler;
}

TEST_F(TranslateTest, MissingFirmwareTablesAreReported) {
  TYPE_TapTask& record = OwnRecord();
  KeyTranslate(0, TAP_EventHandler);
  // A current task number past the table is no slot of ours.
  dword* current = static_cast<dword*>(TryResolve("_curTapTask"));
  ASSERT_NE(current, nullptr);
  dword own = *current;
  *current = TAP_MAX_TASKS;
  TAP_TableIndex = -1;
  EXPECT_EQ(KeyTranslate(1, TAP_EventHandler), -3);
  *current = own;
  emu::RemoveSymbol("_curTapTask");
  EXPECT_EQ(KeyTranslate(1, TAP_EventHandler), -3);
  emu::RemoveSymbol("_tapTask");
  EXPECT_EQ(KeyTranslate(1, TAP_EventHandler), 0);
  EXPECT_EQ(record.TAP_EventHandler, TAP_EventHandler);
}

}  // namespace
