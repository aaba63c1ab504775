// The on-screen keyboard over the information window (as renaming opens
// it): typing by multi-tap, on the grid and with a keyboard's characters,
// editing UTF-8 text by characters, the pages drawn, the remote's direct
// mode, and the quick list's file in good and damaged shapes.
#include <string.h>

#include <string>
#include <vector>

#include "ListFixture.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "snapshot.h"
#include "ui/Keyboard.h"

namespace {

std::string result;
int results;
int accepted = -1;
void Returned(const char* text, int ok) {
  result = text;
  accepted = ok;
  results++;
}

class KeyboardTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    if (HasFatalFailure()) return;
    results = 0;
    accepted = -1;
    ASSERT_EQ(mkdir(HostPath("/ProgramFiles/AutoStart").c_str(), 0755), 0);
    ASSERT_TRUE(
        testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/RemoteControl.tap"),
                           testenv::ReadFile(std::string(PVR_PEER_DIR) + "/RemoteControl.tap")));
    ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();
    OpenList();
    emu::PressKey(RKEY_ChDown);
    emu::ReleaseKey(RKEY_Info);  // the info window opens as Info is let go
    ASSERT_EQ(infoWindowShowing, 1);
    under_ = emu::Frame();
  }
  void Open(const char* text, int maxChars = 122) {
    snprintf(text_, sizeof text_, "%s", text);
    ActivateKeyboard(text_, maxChars, Returned, 0);
    ASSERT_EQ(keyboardWindowShowing, 1);
  }
  void Press(dword key, int times = 1) {
    for (int i = 0; i < times; i++) EXPECT_EQ(emu::PressKey(key), 0u);
  }
  void Type(const char* text) {
    for (const char* p = text; *p; p++) Press(KEYBOARD_CHAR_PREFIX | (byte)*p);
  }
  void ExpectFrame(const char* reference) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(reference, &message)) << message;
  }
  std::string QuickListFile() {
    return testenv::ReadFile(HostPath("/ProgramFiles/Settings/Keyboard_Quicklist.dat"));
  }
  void WriteQuickList(const std::string& data) {
    ASSERT_TRUE(
        testenv::WriteFile(HostPath("/ProgramFiles/Settings/Keyboard_Quicklist.dat"), data));
  }
  static std::string Slot(const std::string& text) {
    std::string slot = text;
    slot.resize(QUICKLIST_ENTRY_SIZE, '\0');
    return slot;
  }
  std::vector<std::string> Entries() {
    std::vector<std::string> list;
    for (int i = 1; i <= numberOfQuickListEntries; i++) list.push_back(QuickList[i]);
    return list;
  }

  char text_[512];
  std::vector<uint32_t> under_;
};

TEST_F(KeyboardTest, TypingByMultiTapGridAndKeyboardCharacters) {
  Open("");
  EXPECT_EQ(bLowerCase, 0);  // automatic case: upper at the start
  Press(RKEY_2, 3);
  EXPECT_EQ(std::string(currentString), "C");
  EXPECT_EQ(currentIndex, 0);  // pending: the cursor stays on it
  Press(RKEY_3);               // another key commits C; after a letter comes lower case
  EXPECT_EQ(std::string(currentString), "Cd");
  EXPECT_EQ(currentIndex, 1);
  emu::Wait(2.5);
  EXPECT_EQ(currentIndex, 1);  // not yet three seconds
  emu::Wait(1);
  EXPECT_EQ(currentIndex, 2);  // committed by the time-out
  Press(RKEY_7, 5);
  EXPECT_EQ(std::string(currentString), "Cd7");
  Press(RKEY_7);
  EXPECT_EQ(std::string(currentString), "Cdp");  // the run wraps to its first letter
  Press(RKEY_0);
  Press(RKEY_2);  // after a blank: upper case again
  EXPECT_EQ(std::string(currentString), "Cdp A");
  emu::Wait(3.5);
  Type("bc");                          // a keyboard's characters go in as typed
  Press(KEYBOARD_CHAR_PREFIX | 0x08);  // its backspace deletes
  Press(RKEY_ChDown);
  Press(RKEY_VolUp);
  Press(RKEY_Ok);  // row 1, column 1 of the grid: K, in lower case here
  EXPECT_EQ(std::string(currentString), "Cdp Abk");
  Press(RKEY_Rewind);
  Press(RKEY_Green);  // deletes the b before the cursor
  Press(RKEY_Play);   // a blank
  EXPECT_EQ(std::string(currentString), "Cdp A k");
  EXPECT_EQ(currentIndex, 6);
  Press(RKEY_Yellow);  // overwrite
  Type("x");
  EXPECT_EQ(std::string(currentString), "Cdp A x");
  ExpectFrame("keyboard");
  EXPECT_EQ(emu::PressKey(RKEY_Mute), RKEY_Mute);  // the firmware's

  // Help and back; the remote's direct mode follows what takes the keys.
  Press(RKEY_Info);
  EXPECT_EQ(keyboardHelpWindowShowing, 1);
  ExpectFrame("keyboard-help");
  Press(RKEY_2);  // the help takes no text
  Press(RKEY_Exit);
  EXPECT_EQ(keyboardHelpWindowShowing, 0);
  EXPECT_EQ(std::string(currentString), "Cdp A x");

  Press(RKEY_Record);
  EXPECT_EQ(keyboardWindowShowing, 0);
  EXPECT_EQ(results, 1);
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(result, "Cdp A x");
  EXPECT_EQ(emu::Frame(), under_);  // the information window as it was
  std::string net = emu::NetOutput();
  size_t on = net.find("direct mode on");
  size_t off = net.find("direct mode off", on);
  size_t again = net.find("direct mode on", off);
  size_t last = net.find("direct mode off", again);
  EXPECT_TRUE(on != std::string::npos && off != std::string::npos && again != std::string::npos &&
              last != std::string::npos)
      << net;

  // UTF-8 text is edited by characters; the limit counts characters.
  Open("Caf\xC3\xA9 \xE2\x82\xAC", 7);
  Press(RKEY_Green);  // the euro sign goes whole
  EXPECT_EQ(std::string(currentString), "Caf\xC3\xA9 ");
  Press(RKEY_Rewind, 2);
  EXPECT_EQ(currentIndex, 3);  // before the e acute, not inside it
  Press(RKEY_Yellow);          // overwrite: the two bytes give way to one
  Type("e");
  EXPECT_EQ(std::string(currentString), "Cafe ");
  Press(RKEY_Yellow);
  Press(RKEY_Next);
  Type("!xyz");  // 7 characters at most
  EXPECT_EQ(std::string(currentString), "Cafe !x");
  Press(RKEY_Recall);
  EXPECT_EQ(std::string(currentString), "Caf\xC3\xA9 \xE2\x82\xAC");
  Press(RKEY_Exit);
  EXPECT_EQ(accepted, 0);
  EXPECT_EQ(result, "Caf\xC3\xA9 \xE2\x82\xAC");

  // Ok on the grid follows the automatic case like any other entry.
  Open("");
  Press(RKEY_Ok, 2);
  EXPECT_EQ(std::string(currentString), "Aa");
  Press(RKEY_ChUp);  // up into the function row, to its Accept cell
  Press(RKEY_VolUp);
  Press(RKEY_Ok);
  EXPECT_EQ(keyboardWindowShowing, 0);
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(result, "Aa");

  // Home ends a multi-tap run: the same digit again starts a new character
  // there, and the time-out does not move the cursor off the start.
  Open("ab");
  Press(RKEY_Rewind, 3);  // to the start, and no further
  EXPECT_EQ(currentIndex, 0);
  bool afterShown = false;  // the b after the cursor's a
  for (int y = 81; y < 101; y++)
    for (int x = 97 + (int)PrintWidth("a", 18) + 1; x < 130; x++)
      afterShown = afterShown || emu::Frame()[y * OSD_WIDTH + x] != 0xFF5A68D5u;
  EXPECT_TRUE(afterShown);
  Press(RKEY_Next);
  Press(RKEY_3);
  Press(RKEY_Prev);
  Press(RKEY_3);
  EXPECT_EQ(std::string(currentString), "Dabd");
  emu::Wait(3.5);
  EXPECT_EQ(currentIndex, 1);
  Press(RKEY_Exit);

  // What stands before the cursor is at most 470 pixels wide: one pixel
  // more and the first character gives way to the marker at the left.
  auto marker = [] { return snapshot::Crop(77, 79, 20, 28); };
  std::string digits(38, '0');   // 456 pixels
  Open(("A" + digits).c_str());  // 470
  std::vector<uint32_t> none = marker();
  Press(RKEY_Exit);
  Open(("H" + digits).c_str());  // 471
  EXPECT_TRUE(marker() != none);
  Press(RKEY_Exit);

  // A text longer than the buffer is cut before a character, not inside.
  std::string longText(254, 'a');
  longText += "\xC3\xA9";
  Open(longText.c_str());
  EXPECT_EQ(strlen(currentString), 254u);
  Press(RKEY_Exit);

  // German texts on the German grid.
  TextLanguage = 1;
  keyboardLanguage = 2;
  Open("Tagesschau", 122);
  Press(RKEY_Blue, 2);  // lower case
  ExpectFrame("keyboard-german");
  Press(RKEY_0);
  Press(RKEY_2);  // lower case holds even after a blank
  EXPECT_EQ(std::string(currentString), "Tagesschau a");
  MenuBarColour = 4;  // the dark blue bar over the chosen entry
  Press(RKEY_Teletext);
  ExpectFrame("keyboard-quicklist-german");
  Press(RKEY_Exit);
  Press(RKEY_Exit);
  MenuBarColour = 0;
  TextLanguage = 0;
  keyboardLanguage = 0;
}

// A PC keyboard's letters beyond ASCII arrive in its code page (437): the
// umlauts and the sharp s go in as the grid's letters. A descender typed and
// deleted again leaves nothing under the text line.
TEST_F(KeyboardTest, TypedUmlautsArriveAndDescendersLeaveNoTrace) {
  Open("");
  // 0xA8, 0x9E and 0x1F are no letters; 0x7F deletes.
  Type("M\x81ller \x8E\x94\x9A \xE1 \xA4\x80\xA7\xA8\x9E!\x7F~\x1F");
  EXPECT_EQ(std::string(currentString), "M\xFCller \xC4\xF6\xDC \xDF \xF1\xC7\xBA~");
  Press(RKEY_Exit);
  Open("");
  Type("gypq");
  for (int i = 0; i < 4; i++) Press(KEYBOARD_CHAR_PREFIX | 0x08);
  EXPECT_EQ(std::string(currentString), "");
  const std::vector<uint32_t>& frame = emu::Frame();
  for (int y = 105; y < 110; y++)
    for (int x = 77; x < 617; x++)
      ASSERT_EQ(frame[y * OSD_WIDTH + x], frame[y * OSD_WIDTH + 77]) << x << "," << y;
  Press(RKEY_Exit);
}

TEST_F(KeyboardTest, QuickListRoundTripAndDamagedFiles) {
  // At the limit a multi-tap run still cycles through the last character,
  // but nothing more is added.
  Open("Zet", 4);
  Press(RKEY_2, 4);
  EXPECT_EQ(std::string(currentString), "Zet2");
  Press(RKEY_2);
  emu::Wait(3.5);
  Type("x");
  EXPECT_EQ(std::string(currentString), "Zeta");

  // No file: the placeholders, written when the list closes.
  Press(RKEY_Teletext);
  ASSERT_EQ(keyboardQuickListWindowShowing, 1);
  EXPECT_EQ(Entries(), (std::vector<std::string>{" #", " ###", " ####", " ##-##", " ##-##-##",
                                                 " DDD", " MMDD"}));
  ExpectFrame("keyboard-quicklist");
  Press(RKEY_Red);  // the text being edited joins the list in order
  EXPECT_EQ(numberOfQuickListEntries, 8);
  EXPECT_EQ(std::string(QuickList[8]), "Zeta");
  EXPECT_EQ(chosenQuickListLine, 8);
  EXPECT_EQ(printQuickListLine, 1);
  Press(RKEY_ChDown);  // wraps to the first
  EXPECT_EQ(chosenQuickListLine, 1);
  Press(RKEY_Green);  // " #" goes
  Press(RKEY_ChDown, 5);
  EXPECT_EQ(std::string(QuickList[chosenQuickListLine]), " MMDD");
  Press(RKEY_Ok);  // inserted at the cursor although the text is at its limit
  EXPECT_EQ(keyboardQuickListWindowShowing, 0);
  EXPECT_EQ(std::string(currentString), "Zeta MMDD");
  EXPECT_EQ(currentIndex, 9);
  std::string file = QuickListFile();
  EXPECT_EQ(file, Slot(" ###") + Slot(" ####") + Slot(" ##-##") + Slot(" ##-##-##") + Slot(" DDD") +
                      Slot(" MMDD") + Slot("Zeta"));

  // Read back as written; deleting all writes an empty file, which gives
  // the placeholders again.
  Press(RKEY_Teletext);
  EXPECT_EQ(numberOfQuickListEntries, 7);
  EXPECT_EQ(std::string(QuickList[7]), "Zeta");
  Press(RKEY_ChUp);  // wraps to the last; Ok inserts it, as the first
  Press(RKEY_Ok);
  Press(RKEY_Rewind, 4);  // inserted before the cursor's text, which moves on
  Press(RKEY_Teletext);
  Press(RKEY_Ok);
  EXPECT_EQ(std::string(currentString), "Zeta MMDD ###Zeta");
  Press(RKEY_Teletext);
  Press(RKEY_Green, 8);
  EXPECT_EQ(numberOfQuickListEntries, 0);
  Press(RKEY_Red);  // an entry added to the emptied list shows on its first row
  EXPECT_EQ(printQuickListLine, 1);
  Press(RKEY_Green);
  Press(RKEY_Ok);  // nothing to insert
  EXPECT_EQ(QuickListFile(), "");
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/Settings/Keyboard_Quicklist.dat")));
  std::vector<uint32_t> keyboard = emu::Frame();
  Press(RKEY_Teletext);
  EXPECT_EQ(numberOfQuickListEntries, 7);
  Press(RKEY_Exit);
  EXPECT_TRUE(emu::Frame() == keyboard);  // the keyboard as it was
  Press(RKEY_Exit);
  EXPECT_EQ(result, "Zeta MMDD ###Zeta");
  // A list of one entry opens on it.
  WriteQuickList(Slot("Solo"));
  Open("");
  Press(RKEY_Teletext);
  Press(RKEY_Ok);
  EXPECT_EQ(std::string(currentString), "Solo");
  Press(RKEY_Exit);

  // 60 slots: the first 49; a short last slot still counts.
  std::string sixty;
  for (int i = 1; i <= 60; i++) sixty += Slot("Entry " + std::to_string(i));
  WriteQuickList(sixty);
  populateKeyBoardQuickList();
  EXPECT_EQ(numberOfQuickListEntries, 49);
  EXPECT_EQ(std::string(QuickList[49]), "Entry 49");
  EXPECT_EQ(QuickListUpdated, 0);
  WriteQuickList(Slot("One") + std::string("Tw\0", 3));
  populateKeyBoardQuickList();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"One", "Tw"}));
  // A slot without its zero byte is cut at 49 bytes, before a character.
  WriteQuickList(std::string(48, 'x') + "\xC3\xA9" + Slot("Next"));
  populateKeyBoardQuickList();
  EXPECT_EQ(Entries(), (std::vector<std::string>{std::string(48, 'x'), "Next"}));
  // Text written by hand: any line end, none at the end, blank lines skipped,
  // long lines cut.
  WriteQuickList("Alpha\r\nBeta\rGamma\n\n" + std::string(70, 'L') + "\nOmega");
  populateKeyBoardQuickList();
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"Alpha", "Beta", "Gamma", std::string(49, 'L'), "Omega"}));
  // Over the size limit: nothing past the 49 slots is read.
  WriteQuickList(std::string(200000, 'y'));
  populateKeyBoardQuickList();
  EXPECT_EQ(numberOfQuickListEntries, 1);
  EXPECT_EQ(strlen(QuickList[1]), 49u);
  WriteQuickList(std::string("\r\n\n\0", 4));
  populateKeyBoardQuickList();
  EXPECT_EQ(numberOfQuickListEntries, 7);
  EXPECT_EQ(QuickListUpdated, 1);
}

// The power goes, or the disk fills up, after every number of writes in
// turn while the changed list is saved: the file is the old list or the new
// one, whole, and the next opening reads one of them.
// The list holds what the file gives back: at 49 entries Red adds nothing
// more and says so, and every entry comes back after the save.
TEST_F(KeyboardTest, AFullQuickListLosesNoEntry) {
  std::string full;
  for (int i = 1; i <= 48; i++) full += Slot("Entry " + std::to_string(100 + i));
  WriteQuickList(full);
  Open("Zulu");
  emu::HoldKey(RKEY_Teletext, 0);
  ASSERT_EQ(numberOfQuickListEntries, 48);
  // A page shows nine entries; below them only the arrow to the next page.
  const std::vector<uint32_t>& frame = emu::Frame();
  for (int y = 450; y < 476; y++)
    for (int x = 146; x < 340; x++)
      ASSERT_EQ(frame[y * OSD_WIDTH + x], 0xFF1E1E1Eu) << x << "," << y;
  emu::HoldKey(RKEY_Red, 0);
  EXPECT_EQ(numberOfQuickListEntries, 49);
  int shown = messageCount;
  emu::HoldKey(RKEY_Red, 0);
  EXPECT_EQ(numberOfQuickListEntries, 49);
  EXPECT_GT(messageCount, shown);
  EXPECT_STREQ(lastMessageLine1, "The quick list is full (49 entries):");
  std::vector<std::string> kept = Entries();
  emu::HoldKey(RKEY_Exit, 0);  // closes the list, which saves it
  ASSERT_EQ(keyboardQuickListWindowShowing, 0);
  emu::HoldKey(RKEY_Teletext, 0);
  EXPECT_EQ(Entries(), kept);
  EXPECT_EQ(std::string(QuickList[49]), "Zulu");
}

TEST_F(KeyboardTest, QuickListSavedThroughPowerCutsAFullDiskAndReadErrors) {
  const std::string before = Slot("Old one") + Slot("Old two");
  for (bool power : {true, false}) {
    int faults = 0;
    for (int n = 0; n < 12; n++) {
      WriteQuickList(before);
      populateKeyBoardQuickList();
      snprintf(QuickList[++numberOfQuickListEntries], QUICKLIST_ENTRY_SIZE, "New three");
      if (power)
        emu::CutPowerAfter(n);
      else
        emu::FillDiskAfter(n);
      saveKeyBoardQuickList();
      bool fault = power ? emu::PowerWasCut() : emu::DiskWasFull();
      emu::RestorePower();
      std::string after = QuickListFile();
      if (!fault) {
        EXPECT_EQ(after, before + Slot("New three"));
        break;
      }
      faults++;
      EXPECT_EQ(after, before) << (power ? "power cut" : "full disk") << " after " << n;
      populateKeyBoardQuickList();
      EXPECT_EQ(Entries(), (std::vector<std::string>{"Old one", "Old two"})) << n;
    }
    EXPECT_GE(faults, 1);
  }
  // A list that cannot be read is not written over with the defaults and
  // what was added since; once it reads again it is kept and saved.
  WriteQuickList(before);
  emu::FailReadsAfter(0);
  populateKeyBoardQuickList();
  emu::RestorePower();
  snprintf(QuickList[++numberOfQuickListEntries], QUICKLIST_ENTRY_SIZE, "New three");
  saveKeyBoardQuickList();
  EXPECT_EQ(QuickListFile(), before);
  populateKeyBoardQuickList();
  snprintf(QuickList[++numberOfQuickListEntries], QUICKLIST_ENTRY_SIZE, "New three");
  saveKeyBoardQuickList();
  EXPECT_EQ(QuickListFile(), before + Slot("New three"));
}

}  // namespace
