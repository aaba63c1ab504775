// Skerrowby.ini as another version, a hand or a damaged disk leaves it, read
// the way start-up reads it.
#include "config/Configuration.h"
#include "config/Settings.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootWithSettingsFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile(std::string(INI_FOLDER) + "/" + INI_FILE_NAME, data, size);
  ResetSettingsToDefaults();
  LoadConfiguration();
  // What was read is what a later start reads again.
  int values[kNumberOfSettings];
  for (int i = 0; i < kNumberOfSettings; i++) values[i] = *settingsInFileOrder[i];
  SaveConfigurationToFile();
  ResetSettingsToDefaults();
  LoadConfiguration();
  for (int i = 0; i < kNumberOfSettings; i++) FUZZ_CHECK(values[i] == *settingsInFileOrder[i]);
  return 0;
}
