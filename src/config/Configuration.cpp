// The settings at start-up and after the menus: loading with the fallback to
// the defaults, saving with the changes that must take effect at once, and the
// start and end of the configuration menus' state.
#include "config/Configuration.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

int configTopLine = 1;
int chosenConfigLine = 0;

void BackupConfigData() {
  CopySettingsFile(INI_FILE_NAME ".old", INI_FILE_NAME ".old2");
  CopySettingsFile(INI_FILE_NAME, INI_FILE_NAME ".old");
}

void LoadConfiguration() {
  bool read = ReadConfigurationFile();
  // A recording rate below 1000 never comes from the menus: the file is damaged
  // or someone else's, and none of its values can be trusted.
  if (!read || recordingRateOption < 1000) {
    ResetSettingsToDefaults();
    // A file that is there but could not be read (no memory, a disk error) is
    // left for the next start rather than replaced by the defaults.
    if (read || !SettingsFileExists(INI_FILE_NAME)) SaveConfigurationToFile();
  }
  CopyConfiguration();
}

namespace {

void ShowLoading() {
  PrintLoading();
  TAP_Osd_Sync();
}

// The media folder appeared in or vanished from /DataFiles: start again there.
void ReloadFromDataFiles() {
  ShowLoading();
  GotoDataFiles();
  snprintf(CurrentDir, sizeof CurrentDir, "%s", "/DataFiles");
  CurrentDirNumber = 0;
  loadInitialQuembryInfo(RecursiveDepth(), 0);
  RefreshQuembryList(1);
}

}  // namespace

void SaveConfiguration() {
  int oldHideEmptyFolders = HideEmptyFolders;
  int oldMountMediaFiles = MountMediaFiles;
  int oldLinkMediaFiles = LinkMediaFiles;
  int oldFileSuffixOption = FileSuffixOption;
  int oldTextLanguage = TextLanguage;
  CopyShadowsToSettings();
  // The key list carries the names in the language it was built in.
  if (TextLanguage != oldTextLanguage) CreateKeys(&localKeyCodes);
  ResetScreenColumns();
  if (HideEmptyFolders != oldHideEmptyFolders) printLine = chosenLine = 1;
  if (MountMediaFiles != oldMountMediaFiles) {
    if (MountMediaFiles) {
      MediaFiles_Mount();
    } else {
      MediaFiles_Unmount();
    }
    ReloadFromDataFiles();
  }
  if (LinkMediaFiles != oldLinkMediaFiles) {
    if (LinkMediaFiles) {
      MediaFiles_Link();
    } else {
      MediaFiles_Unlink();
    }
    ReloadFromDataFiles();
  }
  if (FileSuffixOption != oldFileSuffixOption) {
    // The scan filters with the working copy; without this the new filter
    // would show only after the list is next opened.
    tempFileSuffixOption = FileSuffixOption;
    ShowLoading();
    reloadInitialQuembryInfo(RecursiveDepth(), 0);
    if (CurrentDirNumber > 0 && DefaultRecursiveDepth > 0) {
      loadSubsequentQuembryInfo(DefaultRecursiveDepth);
    }
    RefreshQuembryList(1);
  }
  SaveConfigurationToFile();
}

void InitialiseConfigRoutines() {
  configTopLine = 1;
  configWindowShowing = 0;
  chosenConfigLine = 0;
  returnFromConfig = 0;
  CreateKeys(&localKeyCodes);
}

void TerminateConfigMenu() { KeyDestroy(&localKeyCodes); }
