// The settings and their shadow copies, defined from one list in file order:
// setting, shadow copy, default.
#include "config/Settings.h"

#define PVR_SETTINGS(X)                                                               \
  X(mainActivationKey, CurrentActivationKey, 65602 /* File List */)                   \
  X(GMToffsetOption, currentGMToffsetOption, 600)                                     \
  X(recordingRateOption, currentRecordingRateOption, 2900)                            \
  X(column1Option, currentColumn1Option, 1)                                           \
  X(column2Option, currentColumn2Option, 0)                                           \
  X(column3Option, currentColumn3Option, 0)                                           \
  X(column4Option, currentColumn4Option, 7)                                           \
  X(column5Option, currentColumn5Option, 0)                                           \
  X(infoLineOption, currentInfoLineOption, 0)                                         \
  X(sortOrderOption, currentSortOrderOption, 0)                                       \
  X(progressBarOption, currentProgressBarOption, 0)                                   \
  X(numberLinesOption, currentNumberLinesOption, 9)                                   \
  X(borderOption, currentBorderOption, 1)                                             \
  X(recCheckOption, currentRecCheckOption, 0)                                         \
  X(okPlayOption, currentOkPlayOption, 0)                                             \
  X(folderDeleteOption, currentFolderDeleteOption, 0)                                 \
  X(extInfoFontOption, currentExtInfoFontOption, 0)                                   \
  X(recycleBinOption, currentRecycleBinOption, 0)                                     \
  X(recycleBinCleanoutOption, currentRecycleBinCleanoutOption, 0)                     \
  X(recycleBinThresholdOption, currentRecycleBinThresholdOption, 0)                   \
  X(fileListKeyOption, currentFileListKeyOption, 2)                                   \
  X(splashScreenOption, currentSplashScreenOption, 0)                                 \
  X(StopPlaybackOption, currentStopPlaybackOption, 0)                                 \
  X(NewIndicatorOption, currentNewIndicatorOption, 0)                                 \
  X(RenameOnMoveOption, currentRenameOnMoveOption, 0)                                 \
  X(FreeSpaceThreshold, currentFreeSpaceThreshold, 100)                               \
  X(MenuBarColour, currentMenuBarColour, 0)                                           \
  X(ButtonTextColour, currentButtonTextColour, 1)                                     \
  X(ButtonBarColour, currentButtonBarColour, 0)                                       \
  X(ClockColour, currentClockColour, 0)                                               \
  X(RecycleDividerColour, currentRecycleDividerColour, 1)                             \
  X(DelayBeforeStop, currentDelayBeforeStop, 0)                                       \
  X(SelectFirstFile, currentSelectFirstFile, 0)                                       \
  X(RecycleBinCleanoutTime, currentRecycleBinCleanoutTime, 3)                         \
  X(CompletelyWatchedPercent, currentCompletelyWatchedPercent, 95)                    \
  X(ActivateWithProgressBar, currentActivateWithProgressBar, 0)                       \
  X(Column1Font, currentColumn1Font, 0)                                               \
  X(Column2Font, currentColumn2Font, 0)                                               \
  X(Column3Font, currentColumn3Font, 0)                                               \
  X(Column4Font, currentColumn4Font, 0)                                               \
  X(Column5Font, currentColumn5Font, 0)                                               \
  X(LineSpacingOption, currentLineSpacingOption, 1)                                   \
  X(ExtraLineOption, currentExtraLineOption, 0)                                       \
  X(BottomFontOption, currentBottomFontOption, 0)                                     \
  X(RecordingSuffixOption, currentRecordingSuffixOption, 0)                           \
  X(Column5FolderSize, currentColumn5FolderSize, 0)                                   \
  X(Column345LeftAlign, currentColumn345LeftAlign, 2)                                 \
  X(Clock12Hour, currentClock12Hour, 0)                                               \
  X(DeleteConfirmDefault, currentDeleteConfirmDefault, 0)                             \
  X(UserExitKey1, currentUserExitKey1, 0)                                             \
  X(UserExitKey2, currentUserExitKey2, 0)                                             \
  X(UserExitKey3, currentUserExitKey3, 0)                                             \
  X(UserExitKey4, currentUserExitKey4, 0)                                             \
  X(MenuTextColour, currentMenuTextColour, 0)                                         \
  X(HideEmptyFolders, currentHideEmptyFolders, 0)                                     \
  X(StartInDatafiles, currentStartInDatafiles, 0)                                     \
  X(DefaultRecursiveDepth, currentDefaultRecursiveDepth, 0)                           \
  X(SkipPhotoAlbumSafetyCheck, currentSkipPhotoAlbumSafetyCheck, 0)                   \
  X(TextLanguage, currentTextLanguage, 0)                                             \
  X(keyboardLanguage, currentKeyboardLanguage, 0)                                     \
  X(RestartLastKey_internal, currentRestartLastKey_internal, 65595 /* Slow Motion */) \
  X(RestartLastKey_external, currentRestartLastKey_external, 0)                       \
  X(InfoTime24Hour, currentInfoTime24Hour, 0)                                         \
  X(HideSortOption0, currentHideSortOption0, 0)                                       \
  X(HideSortOption1, currentHideSortOption1, 0)                                       \
  X(HideSortOption2, currentHideSortOption2, 0)                                       \
  X(HideSortOption3, currentHideSortOption3, 0)                                       \
  X(HideSortOption4, currentHideSortOption4, 0)                                       \
  X(HideSortOption5, currentHideSortOption5, 0)                                       \
  X(BorderColour, currentBorderColour, 0)                                             \
  X(OverrideParentKey, currentOverrideParentKey, 0)                                   \
  X(OverrideRecycleKey, currentOverrideRecycleKey, 0)                                 \
  X(AutoRenameCheckFreq, currentAutoRenameCheckFreq, 100)                             \
  X(ShowSubfoldersInMoveTo, currentShowSubfoldersInMoveTo, 0)                         \
  X(PerformanceBoost, currentPerformanceBoost, 0)                                     \
  X(MinsOnProgressBar, currentMinsOnProgressBar, 0)                                   \
  X(HDDBarOption, currentHDDBarOption, 0)                                             \
  X(LegendFontOption, currentLegendFontOption, 0)                                     \
  X(ForceDelPromptOnStopMenu, currentForceDelPromptOnStopMenu, 1)                     \
  X(Column4LeftAlign, currentColumn4LeftAlign, 2)                                     \
  X(Column5LeftAlign, currentColumn5LeftAlign, 2)                                     \
  X(oldMountMediaFiles, currentoldMountMediaFiles, 0)                                 \
  X(MinsColour, currentMinsColour, 3)                                                 \
  X(MultiSelectKey, currentMultiSelectKey, 65599 /* Red */)                           \
  X(FileSuffixOption, currentFileSuffixOption, 0)                                     \
  X(ResetProgressKey, currentResetProgressKey, 65601 /* Previous */)                  \
  X(ScrollDelay, currentScrollDelay, 10)                                              \
  X(ReplaceYoutubeKeyboard, currentReplaceYoutubeKeyboard, 0)                         \
  X(AliveLoggingFreq, currentAliveLoggingFreq, 0)                                     \
  X(ClearDiskCacheKey, currentClearDiskCacheKey, 0)                                   \
  X(InfPerformanceBoost, currentInfPerformanceBoost, 0)                               \
  X(MoveToMatchChars, currentMoveToMatchChars, 0)                                     \
  X(LinkMediaFiles, currentLinkMediaFiles, 0)                                         \
  X(OverrideDataFilesKey, currentOverrideDataFilesKey, 0)                             \
  X(OverrideMenuExitKey, currentOverrideMenuExitKey, 65602 /* File List */)           \
  X(MountMediaFiles, currentMountMediaFiles, 0)                                       \
  X(TagsmithKey, currentTagsmithKey, 65600 /* Sat */)                                 \
  X(OverrideInfoKey, currentOverrideInfoKey, 0)                                       \
  X(RecycleBinAfterXDays, currentRecycleBinAfterXDays, 0)                             \
  X(TAPManagerKey, currentTAPManagerKey, 65569 /* Subtitle */)                        \
  X(sortOrderTAPOption, currentSortOrderTAPOption, 0)                                 \
  X(FileSuffixKey, currentFileSuffixKey, 65560 /* TV/Radio */)                        \
  X(fileListLongKeyOption, currentFileListLongKeyOption, 0)                           \
  X(AVModeKey, currentAVModeKey, 0)                                                   \
  X(bgcConfirmSuppressOption, currentbgcConfirmSuppressOption, 0)                     \
  X(BackgroundCopyOption, currentBackgroundCopyOption, 0)                             \
  X(bgcCopyOrMoveOption, currentbgcCopyOrMoveOption, 0)                               \
  X(BackgroundCopyNFSBypass, currentBackgroundCopyNFSBypass, 0)                       \
  X(RecycleBinCleanExternal, currentRecycleBinCleanExternal, 0)                       \
  X(StatusScreenKey, currentStatusScreenKey, 65552 /* Sleep */)                       \
  X(MovieCutterOption, currentMovieCutterOption, 0)

#define PVR_DEFINE_SETTING(setting, shadow, value) \
  int setting = value;                             \
  int shadow = value;
PVR_SETTINGS(PVR_DEFINE_SETTING)

int tempFileSuffixOption;

#define PVR_DESCRIBE_SETTING(setting, shadow, value) {&setting, &shadow, value},
const SettingDefinition settingDefinitions[kNumberOfSettings] = {
    PVR_SETTINGS(PVR_DESCRIBE_SETTING)};

#define PVR_POINT_TO_SETTING(setting, shadow, value) &setting,
int* const settingsInFileOrder[kNumberOfSettings] = {PVR_SETTINGS(PVR_POINT_TO_SETTING)};

void ResetSettingsToDefaults() {
  for (const SettingDefinition& definition : settingDefinitions) {
    *definition.setting = definition.defaultValue;
  }
}

void CopyConfiguration() {
  for (const SettingDefinition& definition : settingDefinitions) {
    *definition.shadow = *definition.setting;
  }
}

void CopyShadowsToSettings() {
  for (const SettingDefinition& definition : settingDefinitions) {
    *definition.setting = *definition.shadow;
  }
}
