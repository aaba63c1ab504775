// Shared fixture of the settings-file tests: a booted recorder with the
// settings folder located and every setting at its default.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config/Configuration.h"
#include "config/Settings.h"
#include "appenv.h"
#include "testenv.h"

class SettingsFileTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ResetSettingsToDefaults();
    CopyConfiguration();
    // A test may have pointed the settings folder elsewhere.
    appenv::LocateSettingsFolderAfresh();
    ASSERT_NE(TAPIniDir, nullptr);
  }

  std::string IniPath(const std::string& name = INI_FILE_NAME) const {
    return HostPath(std::string(INI_FOLDER) + "/" + name);
  }
  // A file as the application writes it: the text padded with zeros to 1024.
  static std::string Padded(const std::string& text) {
    std::string file = text;
    file.resize(INI_FILE_SIZE, '\0');
    return file;
  }
  // The text of a file holding the given values of lines 2, 3, ...
  static std::string IniText(const std::vector<std::string>& lines,
                             const std::string& end = "\r\n") {
    std::string text = std::string(INI_FILE_HEADER) + end;
    for (const std::string& line : lines) text += line + end;
    return text;
  }
  // Values of every setting in file order, line 3 stored shifted.
  static std::vector<std::string> DefaultLines() {
    std::vector<std::string> lines;
    for (const SettingDefinition& d : settingDefinitions) {
      int value = d.setting == &GMToffsetOption ? d.defaultValue + 720 : d.defaultValue;
      lines.push_back(std::to_string(value));
    }
    return lines;
  }
  static void ExpectAllDefaults() {
    for (int i = 0; i < kNumberOfSettings; i++) {
      EXPECT_EQ(settingDefinitions[i].defaultValue, *settingDefinitions[i].setting)
          << "line " << i + 2;
    }
  }
};
