// The on-screen keyboard's quick list (Keyboard_Quicklist.dat) of any
// content, as slots or as lines typed by hand: every entry a terminated text
// of its slot, and what was read comes back after saving.
#include <string.h>

#include "fuzz.h"
#include "ui/Keyboard.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile(std::string(QUICKLIST_FOLDER) + "/" + QUICKLIST_FILE, data, size);
  populateKeyBoardQuickList();
  FUZZ_CHECK(numberOfQuickListEntries >= 1 && numberOfQuickListEntries < QUICKLIST_SLOTS);
  static char before[QUICKLIST_SLOTS][QUICKLIST_ENTRY_SIZE];
  int count = numberOfQuickListEntries;
  for (int i = 0; i < QUICKLIST_SLOTS; i++) {
    FUZZ_CHECK(memchr(QuickList[i], 0, QUICKLIST_ENTRY_SIZE));
    memcpy(before[i], QuickList[i], QUICKLIST_ENTRY_SIZE);
  }
  saveKeyBoardQuickList();
  populateKeyBoardQuickList();
  FUZZ_CHECK(numberOfQuickListEntries == count);
  for (int i = 1; i <= count; i++) FUZZ_CHECK(strcmp(before[i], QuickList[i]) == 0);
  return 0;
}
