// Shared fixture of the viewing-history tests: a booted recorder with the
// settings folder located, an empty history and an empty catalogue.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "actions/actions.h"
#include "app/app.h"
#include "appenv.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "testenv.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"

class HistoryTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    appenv::LocateSettingsFolderAfresh();
    ASSERT_NE(TAPIniDir, nullptr);
    ReleasePlayedFiles();
    memset(folderLastViewInfo, 0, sizeof folderLastViewInfo);
    numberOfFolderLastViewInfo = 0;
    ASSERT_EQ(0, InitialiseCatalogue());
    numberOfFolders = 0;
    numberOfFiles = 0;
    CurrentDirNumber = 0;
    emu::SetClock(2026, 12, 7, 20, 15);
  }
  void TearDown() override {
    ReleasePlayedFiles();
    ReleaseCatalogue();
    RecorderTest::TearDown();
  }

  std::string SettingsPath(const std::string& name) const {
    return HostPath(std::string(INI_FOLDER) + "/" + name);
  }
  static std::string Padded(const std::string& text) {
    std::string file = text;
    file.resize(HISTORY_FILE_SIZE, '\0');
    return file;
  }
  // The file holds `text` padded with zero bytes to the full size.
  void ExpectFile(const std::string& name, const std::string& text) const {
    std::string file = testenv::ReadFile(SettingsPath(name));
    EXPECT_EQ(static_cast<size_t>(HISTORY_FILE_SIZE), file.size()) << name;
    EXPECT_EQ(text, TextOf(file)) << name;
    EXPECT_EQ(Padded(text), file) << name << " is not zero-filled";
  }
  // The text of a file: everything before the first zero byte.
  static std::string TextOf(const std::string& file) { return file.substr(0, file.find('\0')); }

  // Catalogue folder n with its anchor line (slot 1) in folderPath.
  static FolderRecord* AddFolder(int n, const char* name, const char* path, dword lastViewed) {
    if (!myfolders[n])
      myfolders[n] = static_cast<FolderRecord*>(TAP_MemAlloc(sizeof(FolderRecord)));
    memset(myfolders[n], 0, sizeof(FolderRecord));
    snprintf(myfolders[n]->name, sizeof myfolders[n]->name, "%s", name);
    myfolders[n]->folderNumber = n;
    myfolders[n]->lastViewed = lastViewed;
    for (int slot = 0; slot <= 1; slot++) {
      if (!FileSlot(n, slot))
        FileSlot(n, slot) = static_cast<FileRecord*>(TAP_MemAlloc(sizeof(FileRecord)));
      memset(FileSlot(n, slot), 0, sizeof(FileRecord));
    }
    snprintf(FileSlot(n, 1)->folderPath, sizeof FileSlot(n, 1)->folderPath, "%s", path);
    if (n > numberOfFolders) numberOfFolders = n;
    return myfolders[n];
  }
  // A file line in slot `slot` of folder n.
  static FileRecord* AddLine(int n, int slot, const char* name) {
    if (!FileSlot(n, slot))
      FileSlot(n, slot) = static_cast<FileRecord*>(TAP_MemAlloc(sizeof(FileRecord)));
    FileRecord* line = FileSlot(n, slot);
    if (slot > 1) memset(line, 0, sizeof(FileRecord));
    line->attribute = 208;
    snprintf(line->name, sizeof line->name, "%s", name);
    if (myfolders[n]->entryCount < slot) myfolders[n]->entryCount = slot;
    return line;
  }
};
