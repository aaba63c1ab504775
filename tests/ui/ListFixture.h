// A recorder whose disk holds a folder of recordings (headers, sizes, dates,
// encryption states, subfolders with a long name), with Pavrolinex started,
// for the list screen's and the dialogs' tests.
#pragma once

#include <sys/stat.h>

#include <string>

#include "actions/actions.h"
#include "app/app.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "emu.h"
#include "snapshot.h"
#include "tap.h"
#include "testdisk.h"
#include "testenv.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"

extern "C" const TYPE_TapHeader _tap_header;

extern const char* const kLongFolder;

class ListTest : public RecorderTest {
 protected:
  void Configure(emu::Config& config) override { config.diskCapacityMB = 100000; }
  void SetUp() override;
  void TearDown() override;

  // Builds the disk before the application starts.
  virtual void BuildDisk(testdisk::Disk& disk);

  // Opens the list with the File List key (settings apply on opening).
  void OpenList();
  // The line of the current folder with this name (0 when missing).
  int EntryNamed(const char* name);
  FileRecord* Record(const char* name);
  // Enters the folder of this name as the key handler would.
  void EnterFolder(const char* name);
  // Writes the last frame to <build>/snapshots/<name>.png for a person to look at.
  void Save(const std::string& name);

  int index_ = -1;
};
