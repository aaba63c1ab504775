// Settings: every user setting is one plain 32-bit global, listed here in the
// order of the settings file, each with the shadow copy the configuration
// menus edit. Key settings hold remote key codes (0: no key).
#pragma once

extern int mainActivationKey;
extern int GMToffsetOption;
extern int recordingRateOption;
extern int column1Option;
extern int column2Option;
extern int column3Option;
extern int column4Option;
extern int column5Option;
extern int infoLineOption;
extern int sortOrderOption;
extern int progressBarOption;
extern int numberLinesOption;
extern int borderOption;
extern int recCheckOption;
extern int okPlayOption;
extern int folderDeleteOption;
extern int extInfoFontOption;
extern int recycleBinOption;
extern int recycleBinCleanoutOption;
extern int recycleBinThresholdOption;
extern int fileListKeyOption;
extern int splashScreenOption;
extern int StopPlaybackOption;
extern int NewIndicatorOption;
extern int RenameOnMoveOption;
extern int FreeSpaceThreshold;
extern int MenuBarColour;
extern int ButtonTextColour;
extern int ButtonBarColour;
extern int ClockColour;
extern int RecycleDividerColour;
extern int DelayBeforeStop;
extern int SelectFirstFile;
extern int RecycleBinCleanoutTime;
extern int CompletelyWatchedPercent;
extern int ActivateWithProgressBar;
extern int Column1Font;
extern int Column2Font;
extern int Column3Font;
extern int Column4Font;
extern int Column5Font;
extern int LineSpacingOption;
extern int ExtraLineOption;
extern int BottomFontOption;
extern int RecordingSuffixOption;
extern int Column5FolderSize;
extern int Column345LeftAlign;
extern int Clock12Hour;
extern int DeleteConfirmDefault;
extern int UserExitKey1;
extern int UserExitKey2;
extern int UserExitKey3;
extern int UserExitKey4;
extern int MenuTextColour;
extern int HideEmptyFolders;
extern int StartInDatafiles;
extern int DefaultRecursiveDepth;
extern int SkipPhotoAlbumSafetyCheck;
extern int TextLanguage;
extern int keyboardLanguage;
extern int RestartLastKey_internal;
extern int RestartLastKey_external;
extern int InfoTime24Hour;
extern int HideSortOption0;
extern int HideSortOption1;
extern int HideSortOption2;
extern int HideSortOption3;
extern int HideSortOption4;
extern int HideSortOption5;
extern int BorderColour;
extern int OverrideParentKey;
extern int OverrideRecycleKey;
extern int AutoRenameCheckFreq;
extern int ShowSubfoldersInMoveTo;
extern int PerformanceBoost;
extern int MinsOnProgressBar;
extern int HDDBarOption;
extern int LegendFontOption;
extern int ForceDelPromptOnStopMenu;
extern int Column4LeftAlign;
extern int Column5LeftAlign;
extern int oldMountMediaFiles;
extern int MinsColour;
extern int MultiSelectKey;
extern int FileSuffixOption;
extern int ResetProgressKey;
extern int ScrollDelay;
extern int ReplaceYoutubeKeyboard;
extern int AliveLoggingFreq;
extern int ClearDiskCacheKey;
extern int InfPerformanceBoost;
extern int MoveToMatchChars;
extern int LinkMediaFiles;
extern int OverrideDataFilesKey;
extern int OverrideMenuExitKey;
extern int MountMediaFiles;
extern int TagsmithKey;
extern int OverrideInfoKey;
extern int RecycleBinAfterXDays;
extern int TAPManagerKey;
extern int sortOrderTAPOption;
extern int FileSuffixKey;
extern int fileListLongKeyOption;
extern int AVModeKey;
extern int bgcConfirmSuppressOption;
extern int BackgroundCopyOption;
extern int bgcCopyOrMoveOption;
extern int BackgroundCopyNFSBypass;
extern int RecycleBinCleanExternal;
extern int StatusScreenKey;
extern int MovieCutterOption;

// Shadow copies, edited by the configuration menus and copied back on saving.
extern int CurrentActivationKey;
extern int currentGMToffsetOption;
extern int currentRecordingRateOption;
extern int currentColumn1Option;
extern int currentColumn2Option;
extern int currentColumn3Option;
extern int currentColumn4Option;
extern int currentColumn5Option;
extern int currentInfoLineOption;
extern int currentSortOrderOption;
extern int currentProgressBarOption;
extern int currentNumberLinesOption;
extern int currentBorderOption;
extern int currentRecCheckOption;
extern int currentOkPlayOption;
extern int currentFolderDeleteOption;
extern int currentExtInfoFontOption;
extern int currentRecycleBinOption;
extern int currentRecycleBinCleanoutOption;
extern int currentRecycleBinThresholdOption;
extern int currentFileListKeyOption;
extern int currentSplashScreenOption;
extern int currentStopPlaybackOption;
extern int currentNewIndicatorOption;
extern int currentRenameOnMoveOption;
extern int currentFreeSpaceThreshold;
extern int currentMenuBarColour;
extern int currentButtonTextColour;
extern int currentButtonBarColour;
extern int currentClockColour;
extern int currentRecycleDividerColour;
extern int currentDelayBeforeStop;
extern int currentSelectFirstFile;
extern int currentRecycleBinCleanoutTime;
extern int currentCompletelyWatchedPercent;
extern int currentActivateWithProgressBar;
extern int currentColumn1Font;
extern int currentColumn2Font;
extern int currentColumn3Font;
extern int currentColumn4Font;
extern int currentColumn5Font;
extern int currentLineSpacingOption;
extern int currentExtraLineOption;
extern int currentBottomFontOption;
extern int currentRecordingSuffixOption;
extern int currentColumn5FolderSize;
extern int currentColumn345LeftAlign;
extern int currentClock12Hour;
extern int currentDeleteConfirmDefault;
extern int currentUserExitKey1;
extern int currentUserExitKey2;
extern int currentUserExitKey3;
extern int currentUserExitKey4;
extern int currentMenuTextColour;
extern int currentHideEmptyFolders;
extern int currentStartInDatafiles;
extern int currentDefaultRecursiveDepth;
extern int currentSkipPhotoAlbumSafetyCheck;
extern int currentTextLanguage;
extern int currentKeyboardLanguage;
extern int currentRestartLastKey_internal;
extern int currentRestartLastKey_external;
extern int currentInfoTime24Hour;
extern int currentHideSortOption0;
extern int currentHideSortOption1;
extern int currentHideSortOption2;
extern int currentHideSortOption3;
extern int currentHideSortOption4;
extern int currentHideSortOption5;
extern int currentBorderColour;
extern int currentOverrideParentKey;
extern int currentOverrideRecycleKey;
extern int currentAutoRenameCheckFreq;
extern int currentShowSubfoldersInMoveTo;
extern int currentPerformanceBoost;
extern int currentMinsOnProgressBar;
extern int currentHDDBarOption;
extern int currentLegendFontOption;
extern int currentForceDelPromptOnStopMenu;
extern int currentColumn4LeftAlign;
extern int currentColumn5LeftAlign;
extern int currentoldMountMediaFiles;
extern int currentMinsColour;
extern int currentMultiSelectKey;
extern int currentFileSuffixOption;
extern int currentResetProgressKey;
extern int currentScrollDelay;
extern int currentReplaceYoutubeKeyboard;
extern int currentAliveLoggingFreq;
extern int currentClearDiskCacheKey;
extern int currentInfPerformanceBoost;
extern int currentMoveToMatchChars;
extern int currentLinkMediaFiles;
extern int currentOverrideDataFilesKey;
extern int currentOverrideMenuExitKey;
extern int currentMountMediaFiles;
extern int currentTagsmithKey;
extern int currentOverrideInfoKey;
extern int currentRecycleBinAfterXDays;
extern int currentTAPManagerKey;
extern int currentSortOrderTAPOption;
extern int currentFileSuffixKey;
extern int currentFileListLongKeyOption;
extern int currentAVModeKey;
extern int currentbgcConfirmSuppressOption;
extern int currentBackgroundCopyOption;
extern int currentbgcCopyOrMoveOption;
extern int currentBackgroundCopyNFSBypass;
extern int currentRecycleBinCleanExternal;
extern int currentStatusScreenKey;
extern int currentMovieCutterOption;

// The file filter in force while the list shows: FileSuffixOption when the
// list opens, cycled by the file-filter key, and the new setting after a save.
extern int tempFileSuffixOption;

// Number of settings in the settings file (lines 2 to 112).
constexpr int kNumberOfSettings = 111;

// One setting of the settings file: the setting, its shadow copy and its default.
struct SettingDefinition {
  int* setting;
  int* shadow;
  int defaultValue;
};

// The settings in file order (line 2 of the file is element 0).
extern const SettingDefinition settingDefinitions[kNumberOfSettings];
// The settings alone, in the same order.
extern int* const settingsInFileOrder[kNumberOfSettings];

// Puts every setting back to its factory default. The shadow copies are left
// alone; CopyConfiguration refreshes them.
void ResetSettingsToDefaults();

// Copies every setting into its shadow copy.
void CopyConfiguration();

// Copies every shadow copy back into its setting.
void CopyShadowsToSettings();
