// SkerrowbyLastView.dat of any content, read as start-up reads it; what was
// read survives being written and read again.
#include <string.h>

#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootWithSettingsFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile(std::string(INI_FOLDER) + "/" + LASTVIEW_FILE_NAME, data, size);
  memset(folderLastViewInfo, 0, sizeof folderLastViewInfo);
  numberOfFolderLastViewInfo = 0;
  LoadLastViewData();
  FUZZ_CHECK(numberOfFolderLastViewInfo >= 0 && numberOfFolderLastViewInfo < MAX_FOLDERS);
  for (int i = 0; i < MAX_FOLDERS; i++) {
    FUZZ_CHECK(memchr(folderLastViewInfo[i].path, 0, sizeof folderLastViewInfo[i].path));
  }
  return 0;
}
