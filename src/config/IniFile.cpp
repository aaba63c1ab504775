// Reading and writing the settings file Skerrowby.ini: a header line, then one
// decimal number per line in the fixed order of the settings, padded with
// zero bytes to 1024 bytes.
#include <stdio.h>
#include <string.h>

#include "apps/apps.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"

char* dataBuffer_ini = nullptr;
int dataBufferPtr_ini = 0;

namespace {

// The work buffer holds the block and one more zero byte, so that a field
// running up to the end of the block is still terminated.
bool AllocateIniBuffer() {
  return AllocateFileBuffer(&dataBuffer_ini, &dataBufferPtr_ini, INI_FILE_SIZE);
}

void ReleaseIniBuffer() { ReleaseFileBuffer(&dataBuffer_ini, &dataBufferPtr_ini); }

// GMToffsetOption is stored shifted by this much, so that the file holds no sign.
const int kGmtOffsetShift = 720;

// Rules applied after reading: the restart key gives way to the multi-select
// key when both are Red, and the retired request to mount the media folder
// becomes a link to it.
void ApplyReadRules() {
  if (RestartLastKey_internal == RKEY_Red && MultiSelectKey == RKEY_Red) {
    RestartLastKey_internal = RKEY_Slow;
  }
  if (oldMountMediaFiles != 0) {
    if (LinkMediaFiles == 0) {
      LinkMediaFiles = 1;
      MediaFiles_Link();
    }
    MountMediaFiles = 0;
    oldMountMediaFiles = 0;
    MediaFiles_Unmount();
  }
}

}  // namespace

int ReadConfigurationFile() {
  if (!AllocateIniBuffer()) return 0;
  int result = ReadSettingsFile(INI_FILE_NAME, dataBuffer_ini, INI_FILE_SIZE) ? 1 : 0;
  if (result) SetConfigurationVariables();
  ReleaseIniBuffer();
  return result;
}

char* ReadIniField() {
  static char empty[1] = "";
  if (!dataBuffer_ini) return empty;
  return ReadSettingsField(dataBuffer_ini, INI_FILE_SIZE, &dataBufferPtr_ini);
}

int ReadIniDecimal(int defaultValue) {
  const char* field = ReadIniField();
  if (field[0] == '\0') return defaultValue;
  return static_cast<int>(FoldDecimalField(field));
}

void SetConfigurationVariables() {
  dataBufferPtr_ini = 0;
  ReadIniField();  // the program name and version
  for (const SettingDefinition& definition : settingDefinitions) {
    int* setting = definition.setting;
    if (setting == &GMToffsetOption) {
      dword stored = static_cast<dword>(ReadIniDecimal(definition.defaultValue + kGmtOffsetShift));
      GMToffsetOption = static_cast<int>(stored - kGmtOffsetShift);
    } else if (setting == &Column4LeftAlign || setting == &Column5LeftAlign) {
      // Files older than these two settings take the alignment of column 3.
      *setting = ReadIniDecimal(Column345LeftAlign);
    } else {
      *setting = ReadIniDecimal(definition.defaultValue);
    }
  }
  ApplyReadRules();
}

bool WriteStrToIniBuf(const char* text) {
  return AppendToFileBuffer(dataBuffer_ini, &dataBufferPtr_ini, INI_FILE_SIZE, text);
}

bool WriteIniFile() { return WriteSettingsFile(INI_FILE_NAME, dataBuffer_ini, INI_FILE_SIZE); }

void SaveConfigurationToFile() {
  if (!AllocateIniBuffer()) return;
  char line[32];
  snprintf(line, sizeof line, "%s\r\n", INI_FILE_HEADER);
  WriteStrToIniBuf(line);
  for (const SettingDefinition& definition : settingDefinitions) {
    dword value = static_cast<dword>(*definition.setting);
    if (definition.setting == &GMToffsetOption) value += kGmtOffsetShift;
    snprintf(line, sizeof line, "%d\r\n", static_cast<int>(value));
    // Values far outside the menu ranges can make the text longer than the
    // block; the file then ends with the last whole line that fits, and the
    // settings after it read back as their defaults.
    if (!WriteStrToIniBuf(line)) break;
  }
  WriteIniFile();
  ReleaseIniBuffer();
}
