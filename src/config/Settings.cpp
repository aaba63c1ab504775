#include "config/Settings.h"

int mainActivationKey = 65602;  // File List
int GMToffsetOption = 600;
int recordingRateOption = 2900;
int column1Option = 1;
int column2Option = 0;
int column3Option = 0;
int column4Option = 7;
int column5Option = 0;
int infoLineOption = 0;
int sortOrderOption = 0;
int progressBarOption = 0;
int numberLinesOption = 9;
int borderOption = 1;
int recCheckOption = 0;
int okPlayOption = 0;
int folderDeleteOption = 0;
int extInfoFontOption = 0;
int recycleBinOption = 0;
int recycleBinCleanoutOption = 0;
int recycleBinThresholdOption = 0;
int fileListKeyOption = 2;
int splashScreenOption = 0;
int StopPlaybackOption = 0;
int NewIndicatorOption = 0;
int RenameOnMoveOption = 0;
int FreeSpaceThreshold = 100;
int MenuBarColour = 0;
int ButtonTextColour = 1;
int ButtonBarColour = 0;
int ClockColour = 0;
int RecycleDividerColour = 1;
int DelayBeforeStop = 0;
int SelectFirstFile = 0;
int RecycleBinCleanoutTime = 3;
int CompletelyWatchedPercent = 95;
int ActivateWithProgressBar = 0;
int Column1Font = 0;
int Column2Font = 0;
int Column3Font = 0;
int Column4Font = 0;
int Column5Font = 0;
int LineSpacingOption = 1;
int ExtraLineOption = 0;
int BottomFontOption = 0;
int RecordingSuffixOption = 0;
int Column5FolderSize = 0;
int Column345LeftAlign = 2;
int Clock12Hour = 0;
int DeleteConfirmDefault = 0;
int UserExitKey1 = 0;
int UserExitKey2 = 0;
int UserExitKey3 = 0;
int UserExitKey4 = 0;
int MenuTextColour = 0;
int HideEmptyFolders = 0;
int StartInDatafiles = 0;
int DefaultRecursiveDepth = 0;
int SkipPhotoAlbumSafetyCheck = 0;
int TextLanguage = 0;
int keyboardLanguage = 0;
int RestartLastKey_internal = 65595;  // Slow Motion
int RestartLastKey_external = 0;
int InfoTime24Hour = 0;
int HideSortOption0 = 0;
int HideSortOption1 = 0;
int HideSortOption2 = 0;
int HideSortOption3 = 0;
int HideSortOption4 = 0;
int HideSortOption5 = 0;
int BorderColour = 0;
int OverrideParentKey = 0;
int OverrideRecycleKey = 0;
int AutoRenameCheckFreq = 100;
int ShowSubfoldersInMoveTo = 0;
int PerformanceBoost = 0;
int MinsOnProgressBar = 0;
int HDDBarOption = 0;
int LegendFontOption = 0;
int ForceDelPromptOnStopMenu = 1;
int Column4LeftAlign = 2;
int Column5LeftAlign = 2;
int oldMountMediaFiles = 0;
int MinsColour = 3;
int MultiSelectKey = 65599;  // Red
int FileSuffixOption = 0;
int ResetProgressKey = 65601;  // Previous
int ScrollDelay = 10;
int ReplaceYoutubeKeyboard = 0;
int AliveLoggingFreq = 0;
int ClearDiskCacheKey = 0;
int InfPerformanceBoost = 0;
int MoveToMatchChars = 0;
int LinkMediaFiles = 0;
int OverrideDataFilesKey = 0;
int OverrideMenuExitKey = 65602;  // File List
int MountMediaFiles = 0;
int TagsmithKey = 65600;  // Sat
int OverrideInfoKey = 0;
int RecycleBinAfterXDays = 0;
int TAPManagerKey = 65569;  // Subtitle
int sortOrderTAPOption = 0;
int FileSuffixKey = 65560;  // TV/Radio
int fileListLongKeyOption = 0;
int AVModeKey = 0;
int bgcConfirmSuppressOption = 0;
int BackgroundCopyOption = 0;
int bgcCopyOrMoveOption = 0;
int BackgroundCopyNFSBypass = 0;
int RecycleBinCleanExternal = 0;
int StatusScreenKey = 65552;  // Sleep
int MovieCutterOption = 0;

int CurrentActivationKey = 65602;
int currentGMToffsetOption = 600;
int currentRecordingRateOption = 2900;
int currentColumn1Option = 1;
int currentColumn2Option = 0;
int currentColumn3Option = 0;
int currentColumn4Option = 7;
int currentColumn5Option = 0;
int currentInfoLineOption = 0;
int currentSortOrderOption = 0;
int currentProgressBarOption = 0;
int currentNumberLinesOption = 9;
int currentBorderOption = 1;
int currentRecCheckOption = 0;
int currentOkPlayOption = 0;
int currentFolderDeleteOption = 0;
int currentExtInfoFontOption = 0;
int currentRecycleBinOption = 0;
int currentRecycleBinCleanoutOption = 0;
int currentRecycleBinThresholdOption = 0;
int currentFileListKeyOption = 2;
int currentSplashScreenOption = 0;
int currentStopPlaybackOption = 0;
int currentNewIndicatorOption = 0;
int currentRenameOnMoveOption = 0;
int currentFreeSpaceThreshold = 100;
int currentMenuBarColour = 0;
int currentButtonTextColour = 1;
int currentButtonBarColour = 0;
int currentClockColour = 0;
int currentRecycleDividerColour = 1;
int currentDelayBeforeStop = 0;
int currentSelectFirstFile = 0;
int currentRecycleBinCleanoutTime = 3;
int currentCompletelyWatchedPercent = 95;
int currentActivateWithProgressBar = 0;
int currentColumn1Font = 0;
int currentColumn2Font = 0;
int currentColumn3Font = 0;
int currentColumn4Font = 0;
int currentColumn5Font = 0;
int currentLineSpacingOption = 1;
int currentExtraLineOption = 0;
int currentBottomFontOption = 0;
int currentRecordingSuffixOption = 0;
int currentColumn5FolderSize = 0;
int currentColumn345LeftAlign = 2;
int currentClock12Hour = 0;
int currentDeleteConfirmDefault = 0;
int currentUserExitKey1 = 0;
int currentUserExitKey2 = 0;
int currentUserExitKey3 = 0;
int currentUserExitKey4 = 0;
int currentMenuTextColour = 0;
int currentHideEmptyFolders = 0;
int currentStartInDatafiles = 0;
int currentDefaultRecursiveDepth = 0;
int currentSkipPhotoAlbumSafetyCheck = 0;
int currentTextLanguage = 0;
int currentKeyboardLanguage = 0;
int currentRestartLastKey_internal = 65595;
int currentRestartLastKey_external = 0;
int currentInfoTime24Hour = 0;
int currentHideSortOption0 = 0;
int currentHideSortOption1 = 0;
int currentHideSortOption2 = 0;
int currentHideSortOption3 = 0;
int currentHideSortOption4 = 0;
int currentHideSortOption5 = 0;
int currentBorderColour = 0;
int currentOverrideParentKey = 0;
int currentOverrideRecycleKey = 0;
int currentAutoRenameCheckFreq = 100;
int currentShowSubfoldersInMoveTo = 0;
int currentPerformanceBoost = 0;
int currentMinsOnProgressBar = 0;
int currentHDDBarOption = 0;
int currentLegendFontOption = 0;
int currentForceDelPromptOnStopMenu = 1;
int currentColumn4LeftAlign = 2;
int currentColumn5LeftAlign = 2;
int currentoldMountMediaFiles = 0;
int currentMinsColour = 3;
int currentMultiSelectKey = 65599;
int currentFileSuffixOption = 0;
int currentResetProgressKey = 65601;
int currentScrollDelay = 10;
int currentReplaceYoutubeKeyboard = 0;
int currentAliveLoggingFreq = 0;
int currentClearDiskCacheKey = 0;
int currentInfPerformanceBoost = 0;
int currentMoveToMatchChars = 0;
int currentLinkMediaFiles = 0;
int currentOverrideDataFilesKey = 0;
int currentOverrideMenuExitKey = 65602;
int currentMountMediaFiles = 0;
int currentTagsmithKey = 65600;
int currentOverrideInfoKey = 0;
int currentRecycleBinAfterXDays = 0;
int currentTAPManagerKey = 65569;
int currentSortOrderTAPOption = 0;
int currentFileSuffixKey = 65560;
int currentFileListLongKeyOption = 0;
int currentAVModeKey = 0;
int currentbgcConfirmSuppressOption = 0;
int currentBackgroundCopyOption = 0;
int currentbgcCopyOrMoveOption = 0;
int currentBackgroundCopyNFSBypass = 0;
int currentRecycleBinCleanExternal = 0;
int currentStatusScreenKey = 65552;
int currentMovieCutterOption = 0;

int* const settingsInFileOrder[kNumberOfSettings] = {
    &mainActivationKey,
    &GMToffsetOption,
    &recordingRateOption,
    &column1Option,
    &column2Option,
    &column3Option,
    &column4Option,
    &column5Option,
    &infoLineOption,
    &sortOrderOption,
    &progressBarOption,
    &numberLinesOption,
    &borderOption,
    &recCheckOption,
    &okPlayOption,
    &folderDeleteOption,
    &extInfoFontOption,
    &recycleBinOption,
    &recycleBinCleanoutOption,
    &recycleBinThresholdOption,
    &fileListKeyOption,
    &splashScreenOption,
    &StopPlaybackOption,
    &NewIndicatorOption,
    &RenameOnMoveOption,
    &FreeSpaceThreshold,
    &MenuBarColour,
    &ButtonTextColour,
    &ButtonBarColour,
    &ClockColour,
    &RecycleDividerColour,
    &DelayBeforeStop,
    &SelectFirstFile,
    &RecycleBinCleanoutTime,
    &CompletelyWatchedPercent,
    &ActivateWithProgressBar,
    &Column1Font,
    &Column2Font,
    &Column3Font,
    &Column4Font,
    &Column5Font,
    &LineSpacingOption,
    &ExtraLineOption,
    &BottomFontOption,
    &RecordingSuffixOption,
    &Column5FolderSize,
    &Column345LeftAlign,
    &Clock12Hour,
    &DeleteConfirmDefault,
    &UserExitKey1,
    &UserExitKey2,
    &UserExitKey3,
    &UserExitKey4,
    &MenuTextColour,
    &HideEmptyFolders,
    &StartInDatafiles,
    &DefaultRecursiveDepth,
    &SkipPhotoAlbumSafetyCheck,
    &TextLanguage,
    &keyboardLanguage,
    &RestartLastKey_internal,
    &RestartLastKey_external,
    &InfoTime24Hour,
    &HideSortOption0,
    &HideSortOption1,
    &HideSortOption2,
    &HideSortOption3,
    &HideSortOption4,
    &HideSortOption5,
    &BorderColour,
    &OverrideParentKey,
    &OverrideRecycleKey,
    &AutoRenameCheckFreq,
    &ShowSubfoldersInMoveTo,
    &PerformanceBoost,
    &MinsOnProgressBar,
    &HDDBarOption,
    &LegendFontOption,
    &ForceDelPromptOnStopMenu,
    &Column4LeftAlign,
    &Column5LeftAlign,
    &oldMountMediaFiles,
    &MinsColour,
    &MultiSelectKey,
    &FileSuffixOption,
    &ResetProgressKey,
    &ScrollDelay,
    &ReplaceYoutubeKeyboard,
    &AliveLoggingFreq,
    &ClearDiskCacheKey,
    &InfPerformanceBoost,
    &MoveToMatchChars,
    &LinkMediaFiles,
    &OverrideDataFilesKey,
    &OverrideMenuExitKey,
    &MountMediaFiles,
    &TagsmithKey,
    &OverrideInfoKey,
    &RecycleBinAfterXDays,
    &TAPManagerKey,
    &sortOrderTAPOption,
    &FileSuffixKey,
    &fileListLongKeyOption,
    &AVModeKey,
    &bgcConfirmSuppressOption,
    &BackgroundCopyOption,
    &bgcCopyOrMoveOption,
    &BackgroundCopyNFSBypass,
    &RecycleBinCleanExternal,
    &StatusScreenKey,
    &MovieCutterOption,
};

void ResetSettingsToDefaults() {
  mainActivationKey = 65602;
  GMToffsetOption = 600;
  recordingRateOption = 2900;
  column1Option = 1;
  column2Option = 0;
  column3Option = 0;
  column4Option = 7;
  column5Option = 0;
  infoLineOption = 0;
  sortOrderOption = 0;
  progressBarOption = 0;
  numberLinesOption = 9;
  borderOption = 1;
  recCheckOption = 0;
  okPlayOption = 0;
  folderDeleteOption = 0;
  extInfoFontOption = 0;
  recycleBinOption = 0;
  recycleBinCleanoutOption = 0;
  recycleBinThresholdOption = 0;
  fileListKeyOption = 2;
  splashScreenOption = 0;
  StopPlaybackOption = 0;
  NewIndicatorOption = 0;
  RenameOnMoveOption = 0;
  FreeSpaceThreshold = 100;
  MenuBarColour = 0;
  ButtonTextColour = 1;
  ButtonBarColour = 0;
  ClockColour = 0;
  RecycleDividerColour = 1;
  DelayBeforeStop = 0;
  SelectFirstFile = 0;
  RecycleBinCleanoutTime = 3;
  CompletelyWatchedPercent = 95;
  ActivateWithProgressBar = 0;
  Column1Font = 0;
  Column2Font = 0;
  Column3Font = 0;
  Column4Font = 0;
  Column5Font = 0;
  LineSpacingOption = 1;
  ExtraLineOption = 0;
  BottomFontOption = 0;
  RecordingSuffixOption = 0;
  Column5FolderSize = 0;
  Column345LeftAlign = 2;
  Clock12Hour = 0;
  DeleteConfirmDefault = 0;
  UserExitKey1 = 0;
  UserExitKey2 = 0;
  UserExitKey3 = 0;
  UserExitKey4 = 0;
  MenuTextColour = 0;
  HideEmptyFolders = 0;
  StartInDatafiles = 0;
  DefaultRecursiveDepth = 0;
  SkipPhotoAlbumSafetyCheck = 0;
  TextLanguage = 0;
  keyboardLanguage = 0;
  RestartLastKey_internal = 65595;
  RestartLastKey_external = 0;
  InfoTime24Hour = 0;
  HideSortOption0 = 0;
  HideSortOption1 = 0;
  HideSortOption2 = 0;
  HideSortOption3 = 0;
  HideSortOption4 = 0;
  HideSortOption5 = 0;
  BorderColour = 0;
  OverrideParentKey = 0;
  OverrideRecycleKey = 0;
  AutoRenameCheckFreq = 100;
  ShowSubfoldersInMoveTo = 0;
  PerformanceBoost = 0;
  MinsOnProgressBar = 0;
  HDDBarOption = 0;
  LegendFontOption = 0;
  ForceDelPromptOnStopMenu = 1;
  Column4LeftAlign = 2;
  Column5LeftAlign = 2;
  oldMountMediaFiles = 0;
  MinsColour = 3;
  MultiSelectKey = 65599;
  FileSuffixOption = 0;
  ResetProgressKey = 65601;
  ScrollDelay = 10;
  ReplaceYoutubeKeyboard = 0;
  AliveLoggingFreq = 0;
  ClearDiskCacheKey = 0;
  InfPerformanceBoost = 0;
  MoveToMatchChars = 0;
  LinkMediaFiles = 0;
  OverrideDataFilesKey = 0;
  OverrideMenuExitKey = 65602;
  MountMediaFiles = 0;
  TagsmithKey = 65600;
  OverrideInfoKey = 0;
  RecycleBinAfterXDays = 0;
  TAPManagerKey = 65569;
  sortOrderTAPOption = 0;
  FileSuffixKey = 65560;
  fileListLongKeyOption = 0;
  AVModeKey = 0;
  bgcConfirmSuppressOption = 0;
  BackgroundCopyOption = 0;
  bgcCopyOrMoveOption = 0;
  BackgroundCopyNFSBypass = 0;
  RecycleBinCleanExternal = 0;
  StatusScreenKey = 65552;
  MovieCutterOption = 0;
}

void CopyConfiguration() {
  CurrentActivationKey = mainActivationKey;
  currentGMToffsetOption = GMToffsetOption;
  currentRecordingRateOption = recordingRateOption;
  currentColumn1Option = column1Option;
  currentColumn2Option = column2Option;
  currentColumn3Option = column3Option;
  currentColumn4Option = column4Option;
  currentColumn5Option = column5Option;
  currentInfoLineOption = infoLineOption;
  currentSortOrderOption = sortOrderOption;
  currentProgressBarOption = progressBarOption;
  currentNumberLinesOption = numberLinesOption;
  currentBorderOption = borderOption;
  currentRecCheckOption = recCheckOption;
  currentOkPlayOption = okPlayOption;
  currentFolderDeleteOption = folderDeleteOption;
  currentExtInfoFontOption = extInfoFontOption;
  currentRecycleBinOption = recycleBinOption;
  currentRecycleBinCleanoutOption = recycleBinCleanoutOption;
  currentRecycleBinThresholdOption = recycleBinThresholdOption;
  currentFileListKeyOption = fileListKeyOption;
  currentSplashScreenOption = splashScreenOption;
  currentStopPlaybackOption = StopPlaybackOption;
  currentNewIndicatorOption = NewIndicatorOption;
  currentRenameOnMoveOption = RenameOnMoveOption;
  currentFreeSpaceThreshold = FreeSpaceThreshold;
  currentMenuBarColour = MenuBarColour;
  currentButtonTextColour = ButtonTextColour;
  currentButtonBarColour = ButtonBarColour;
  currentClockColour = ClockColour;
  currentRecycleDividerColour = RecycleDividerColour;
  currentDelayBeforeStop = DelayBeforeStop;
  currentSelectFirstFile = SelectFirstFile;
  currentRecycleBinCleanoutTime = RecycleBinCleanoutTime;
  currentCompletelyWatchedPercent = CompletelyWatchedPercent;
  currentActivateWithProgressBar = ActivateWithProgressBar;
  currentColumn1Font = Column1Font;
  currentColumn2Font = Column2Font;
  currentColumn3Font = Column3Font;
  currentColumn4Font = Column4Font;
  currentColumn5Font = Column5Font;
  currentLineSpacingOption = LineSpacingOption;
  currentExtraLineOption = ExtraLineOption;
  currentBottomFontOption = BottomFontOption;
  currentRecordingSuffixOption = RecordingSuffixOption;
  currentColumn5FolderSize = Column5FolderSize;
  currentColumn345LeftAlign = Column345LeftAlign;
  currentClock12Hour = Clock12Hour;
  currentDeleteConfirmDefault = DeleteConfirmDefault;
  currentUserExitKey1 = UserExitKey1;
  currentUserExitKey2 = UserExitKey2;
  currentUserExitKey3 = UserExitKey3;
  currentUserExitKey4 = UserExitKey4;
  currentMenuTextColour = MenuTextColour;
  currentHideEmptyFolders = HideEmptyFolders;
  currentStartInDatafiles = StartInDatafiles;
  currentDefaultRecursiveDepth = DefaultRecursiveDepth;
  currentSkipPhotoAlbumSafetyCheck = SkipPhotoAlbumSafetyCheck;
  currentTextLanguage = TextLanguage;
  currentKeyboardLanguage = keyboardLanguage;
  currentRestartLastKey_internal = RestartLastKey_internal;
  currentRestartLastKey_external = RestartLastKey_external;
  currentInfoTime24Hour = InfoTime24Hour;
  currentHideSortOption0 = HideSortOption0;
  currentHideSortOption1 = HideSortOption1;
  currentHideSortOption2 = HideSortOption2;
  currentHideSortOption3 = HideSortOption3;
  currentHideSortOption4 = HideSortOption4;
  currentHideSortOption5 = HideSortOption5;
  currentBorderColour = BorderColour;
  currentOverrideParentKey = OverrideParentKey;
  currentOverrideRecycleKey = OverrideRecycleKey;
  currentAutoRenameCheckFreq = AutoRenameCheckFreq;
  currentShowSubfoldersInMoveTo = ShowSubfoldersInMoveTo;
  currentPerformanceBoost = PerformanceBoost;
  currentMinsOnProgressBar = MinsOnProgressBar;
  currentHDDBarOption = HDDBarOption;
  currentLegendFontOption = LegendFontOption;
  currentForceDelPromptOnStopMenu = ForceDelPromptOnStopMenu;
  currentColumn4LeftAlign = Column4LeftAlign;
  currentColumn5LeftAlign = Column5LeftAlign;
  currentoldMountMediaFiles = oldMountMediaFiles;
  currentMinsColour = MinsColour;
  currentMultiSelectKey = MultiSelectKey;
  currentFileSuffixOption = FileSuffixOption;
  currentResetProgressKey = ResetProgressKey;
  currentScrollDelay = ScrollDelay;
  currentReplaceYoutubeKeyboard = ReplaceYoutubeKeyboard;
  currentAliveLoggingFreq = AliveLoggingFreq;
  currentClearDiskCacheKey = ClearDiskCacheKey;
  currentInfPerformanceBoost = InfPerformanceBoost;
  currentMoveToMatchChars = MoveToMatchChars;
  currentLinkMediaFiles = LinkMediaFiles;
  currentOverrideDataFilesKey = OverrideDataFilesKey;
  currentOverrideMenuExitKey = OverrideMenuExitKey;
  currentMountMediaFiles = MountMediaFiles;
  currentTagsmithKey = TagsmithKey;
  currentOverrideInfoKey = OverrideInfoKey;
  currentRecycleBinAfterXDays = RecycleBinAfterXDays;
  currentTAPManagerKey = TAPManagerKey;
  currentSortOrderTAPOption = sortOrderTAPOption;
  currentFileSuffixKey = FileSuffixKey;
  currentFileListLongKeyOption = fileListLongKeyOption;
  currentAVModeKey = AVModeKey;
  currentbgcConfirmSuppressOption = bgcConfirmSuppressOption;
  currentBackgroundCopyOption = BackgroundCopyOption;
  currentbgcCopyOrMoveOption = bgcCopyOrMoveOption;
  currentBackgroundCopyNFSBypass = BackgroundCopyNFSBypass;
  currentRecycleBinCleanExternal = RecycleBinCleanExternal;
  currentStatusScreenKey = StatusScreenKey;
  currentMovieCutterOption = MovieCutterOption;
}

void CopyShadowsToSettings() {
  mainActivationKey = CurrentActivationKey;
  GMToffsetOption = currentGMToffsetOption;
  recordingRateOption = currentRecordingRateOption;
  column1Option = currentColumn1Option;
  column2Option = currentColumn2Option;
  column3Option = currentColumn3Option;
  column4Option = currentColumn4Option;
  column5Option = currentColumn5Option;
  infoLineOption = currentInfoLineOption;
  sortOrderOption = currentSortOrderOption;
  progressBarOption = currentProgressBarOption;
  numberLinesOption = currentNumberLinesOption;
  borderOption = currentBorderOption;
  recCheckOption = currentRecCheckOption;
  okPlayOption = currentOkPlayOption;
  folderDeleteOption = currentFolderDeleteOption;
  extInfoFontOption = currentExtInfoFontOption;
  recycleBinOption = currentRecycleBinOption;
  recycleBinCleanoutOption = currentRecycleBinCleanoutOption;
  recycleBinThresholdOption = currentRecycleBinThresholdOption;
  fileListKeyOption = currentFileListKeyOption;
  splashScreenOption = currentSplashScreenOption;
  StopPlaybackOption = currentStopPlaybackOption;
  NewIndicatorOption = currentNewIndicatorOption;
  RenameOnMoveOption = currentRenameOnMoveOption;
  FreeSpaceThreshold = currentFreeSpaceThreshold;
  MenuBarColour = currentMenuBarColour;
  ButtonTextColour = currentButtonTextColour;
  ButtonBarColour = currentButtonBarColour;
  ClockColour = currentClockColour;
  RecycleDividerColour = currentRecycleDividerColour;
  DelayBeforeStop = currentDelayBeforeStop;
  SelectFirstFile = currentSelectFirstFile;
  RecycleBinCleanoutTime = currentRecycleBinCleanoutTime;
  CompletelyWatchedPercent = currentCompletelyWatchedPercent;
  ActivateWithProgressBar = currentActivateWithProgressBar;
  Column1Font = currentColumn1Font;
  Column2Font = currentColumn2Font;
  Column3Font = currentColumn3Font;
  Column4Font = currentColumn4Font;
  Column5Font = currentColumn5Font;
  LineSpacingOption = currentLineSpacingOption;
  ExtraLineOption = currentExtraLineOption;
  BottomFontOption = currentBottomFontOption;
  RecordingSuffixOption = currentRecordingSuffixOption;
  Column5FolderSize = currentColumn5FolderSize;
  Column345LeftAlign = currentColumn345LeftAlign;
  Clock12Hour = currentClock12Hour;
  DeleteConfirmDefault = currentDeleteConfirmDefault;
  UserExitKey1 = currentUserExitKey1;
  UserExitKey2 = currentUserExitKey2;
  UserExitKey3 = currentUserExitKey3;
  UserExitKey4 = currentUserExitKey4;
  MenuTextColour = currentMenuTextColour;
  HideEmptyFolders = currentHideEmptyFolders;
  StartInDatafiles = currentStartInDatafiles;
  DefaultRecursiveDepth = currentDefaultRecursiveDepth;
  SkipPhotoAlbumSafetyCheck = currentSkipPhotoAlbumSafetyCheck;
  TextLanguage = currentTextLanguage;
  keyboardLanguage = currentKeyboardLanguage;
  RestartLastKey_internal = currentRestartLastKey_internal;
  RestartLastKey_external = currentRestartLastKey_external;
  InfoTime24Hour = currentInfoTime24Hour;
  HideSortOption0 = currentHideSortOption0;
  HideSortOption1 = currentHideSortOption1;
  HideSortOption2 = currentHideSortOption2;
  HideSortOption3 = currentHideSortOption3;
  HideSortOption4 = currentHideSortOption4;
  HideSortOption5 = currentHideSortOption5;
  BorderColour = currentBorderColour;
  OverrideParentKey = currentOverrideParentKey;
  OverrideRecycleKey = currentOverrideRecycleKey;
  AutoRenameCheckFreq = currentAutoRenameCheckFreq;
  ShowSubfoldersInMoveTo = currentShowSubfoldersInMoveTo;
  PerformanceBoost = currentPerformanceBoost;
  MinsOnProgressBar = currentMinsOnProgressBar;
  HDDBarOption = currentHDDBarOption;
  LegendFontOption = currentLegendFontOption;
  ForceDelPromptOnStopMenu = currentForceDelPromptOnStopMenu;
  Column4LeftAlign = currentColumn4LeftAlign;
  Column5LeftAlign = currentColumn5LeftAlign;
  oldMountMediaFiles = currentoldMountMediaFiles;
  MinsColour = currentMinsColour;
  MultiSelectKey = currentMultiSelectKey;
  FileSuffixOption = currentFileSuffixOption;
  ResetProgressKey = currentResetProgressKey;
  ScrollDelay = currentScrollDelay;
  ReplaceYoutubeKeyboard = currentReplaceYoutubeKeyboard;
  AliveLoggingFreq = currentAliveLoggingFreq;
  ClearDiskCacheKey = currentClearDiskCacheKey;
  InfPerformanceBoost = currentInfPerformanceBoost;
  MoveToMatchChars = currentMoveToMatchChars;
  LinkMediaFiles = currentLinkMediaFiles;
  OverrideDataFilesKey = currentOverrideDataFilesKey;
  OverrideMenuExitKey = currentOverrideMenuExitKey;
  MountMediaFiles = currentMountMediaFiles;
  TagsmithKey = currentTagsmithKey;
  OverrideInfoKey = currentOverrideInfoKey;
  RecycleBinAfterXDays = currentRecycleBinAfterXDays;
  TAPManagerKey = currentTAPManagerKey;
  sortOrderTAPOption = currentSortOrderTAPOption;
  FileSuffixKey = currentFileSuffixKey;
  fileListLongKeyOption = currentFileListLongKeyOption;
  AVModeKey = currentAVModeKey;
  bgcConfirmSuppressOption = currentbgcConfirmSuppressOption;
  BackgroundCopyOption = currentBackgroundCopyOption;
  bgcCopyOrMoveOption = currentbgcCopyOrMoveOption;
  BackgroundCopyNFSBypass = currentBackgroundCopyNFSBypass;
  RecycleBinCleanExternal = currentRecycleBinCleanExternal;
  StatusScreenKey = currentStatusScreenKey;
  MovieCutterOption = currentMovieCutterOption;
}
