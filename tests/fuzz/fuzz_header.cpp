// Recording headers of any content: the direct reader on a header file of
// any length, and the general decoder for every system type, in both byte
// orders (the version bytes of the input decide, as on the recorder), on a
// heap buffer of exactly the size it reads. The first input byte picks the
// system type.
#include <string.h>

#include "catalogue/catalogue.h"
#include "fuzz.h"
#include "lib/lib.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();
  FUZZ_CHECK(InitialiseCatalogue() == 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const int kTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 13, 0, 9, 10, 12, 200};
  int systemType = kTypes[data[0] % (sizeof kTypes / sizeof kTypes[0])];
  data++, size--;

  byte* buffer = (byte*)malloc(RECHEADER_BUFFER_SIZE);
  memset(buffer, 0, RECHEADER_BUFFER_SIZE);
  memcpy(buffer, data, size < RECHEADER_BUFFER_SIZE ? size : RECHEADER_BUFFER_SIZE);
  RECHeaderInfo* info = (RECHeaderInfo*)malloc(sizeof(RECHeaderInfo));
  int decoded = HDD_DecodeRECHeader(buffer, info, systemType);
  if (decoded) {
    FUZZ_CHECK(info->bookmarkCount <= 177);
    FUZZ_CHECK(info->extTextLength <= 2048);
    FUZZ_CHECK(memchr(info->extText, 0, sizeof info->extText));
    FUZZ_CHECK(memchr(info->serviceName, 0, sizeof info->serviceName));
    FUZZ_CHECK(memchr(info->eventName, 0, sizeof info->eventName));
  }
  FUZZ_CHECK(!decoded || memcmp(buffer, "TFrc", 4) == 0);
  free(info);
  free(buffer);

  // The direct reader, as the scan calls it for a line of the shown folder.
  fuzz::PutFile("/DataFiles/f.rec.inf", data, size);
  FUZZ_CHECK(HDD_ChangeDir("/DataFiles"));
  if (!FileSlot(0, 1)) FileSlot(0, 1) = (FileRecord*)TAP_MemAlloc(sizeof(FileRecord));
  FileRecord* line = FileSlot(0, 1);
  memset(line, 0x5A, sizeof *line);  // whatever was there before must not show through
  strcpy(line->name, "f.rec");
  strcpy(line->folderPath, "/DataFiles");
  LoadHeaderInfo("f.rec", 0, 1);
  FUZZ_CHECK(line->extTextLength <= 1024);
  FUZZ_CHECK(memchr(line->extText, 0, sizeof line->extText));
  FUZZ_CHECK(memchr(line->eventName, 0, sizeof line->eventName));
  FUZZ_CHECK(memchr(line->eventDescription, 0, sizeof line->eventDescription));
  FUZZ_CHECK(strnlen(line->serviceName, sizeof line->serviceName) <= 22);
  return 0;
}
