// Reading and writing Skerrowby.ini: defaults, the special rules, damaged
// files of every kind, and round trips at the ends of the menu ranges.
#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>

#include "app/app.h"
#include "app/keys.h"
#include "catalogue/catalogue.h"
#include "config_test.h"
#include "ui/ListScreen.h"

namespace {

struct Range {
  int* setting;
  int low;
  int high;
};

// The ends of every setting's menu range; key settings from "none" to the
// highest key code, settings without a menu across a few values.
const int kHighKey = 0x1004A;
const Range kRanges[] = {
    {&mainActivationKey, 0, kHighKey},
    {&GMToffsetOption, -720, 780},
    {&recordingRateOption, 1000, 6000},
    {&column1Option, 0, 2},
    {&column2Option, 0, 2},
    {&column3Option, 0, 4},
    {&column4Option, 0, 7},
    {&column5Option, 0, 5},
    {&infoLineOption, 0, 2},
    {&sortOrderOption, 0, 5},
    {&progressBarOption, 0, 4},
    {&numberLinesOption, 0, 15},
    {&borderOption, 0, 1},
    {&recCheckOption, 0, 1},
    {&okPlayOption, 0, 1},
    {&folderDeleteOption, 0, 2},
    {&extInfoFontOption, 0, 1},
    {&recycleBinOption, 0, 2},
    {&recycleBinCleanoutOption, 0, 3},
    {&recycleBinThresholdOption, 0, 1000},
    {&fileListKeyOption, 0, 3},
    {&splashScreenOption, 0, 1},
    {&StopPlaybackOption, 0, 2},
    {&NewIndicatorOption, 0, 2},
    {&RenameOnMoveOption, 0, 3},
    {&FreeSpaceThreshold, 0, 1000},
    {&MenuBarColour, 0, 4},
    {&ButtonTextColour, 0, 2},
    {&ButtonBarColour, 0, 4},
    {&ClockColour, 0, 3},
    {&RecycleDividerColour, 0, 1},
    {&DelayBeforeStop, 0, 200},
    {&SelectFirstFile, 0, 4},
    {&RecycleBinCleanoutTime, 0, 23},
    {&CompletelyWatchedPercent, 80, 100},
    {&ActivateWithProgressBar, 0, 1},
    {&Column1Font, 0, 3},
    {&Column2Font, 0, 3},
    {&Column3Font, 0, 3},
    {&Column4Font, 0, 3},
    {&Column5Font, 0, 3},
    {&LineSpacingOption, 0, 1},
    {&ExtraLineOption, 0, 1},
    {&BottomFontOption, 0, 3},
    {&RecordingSuffixOption, 0, 1},
    {&Column5FolderSize, 0, 1},
    {&Column345LeftAlign, 0, 2},
    {&Clock12Hour, 0, 1},
    {&DeleteConfirmDefault, 0, 1},
    {&UserExitKey1, 0, kHighKey},
    {&UserExitKey2, 0, kHighKey},
    {&UserExitKey3, 0, kHighKey},
    {&UserExitKey4, 0, kHighKey},
    {&MenuTextColour, 0, 2},
    {&HideEmptyFolders, 0, 1},
    {&StartInDatafiles, 0, 2},
    {&DefaultRecursiveDepth, 0, 10},
    {&SkipPhotoAlbumSafetyCheck, 0, 1},
    {&TextLanguage, 0, 1},
    {&keyboardLanguage, 0, 2},
    {&RestartLastKey_internal, 0, kHighKey},
    {&RestartLastKey_external, 0, kHighKey},
    {&InfoTime24Hour, 0, 1},
    {&HideSortOption0, 0, 1},
    {&HideSortOption1, 0, 1},
    {&HideSortOption2, 0, 1},
    {&HideSortOption3, 0, 1},
    {&HideSortOption4, 0, 1},
    {&HideSortOption5, 0, 1},
    {&BorderColour, 0, 1},
    {&OverrideParentKey, 0, kHighKey},
    {&OverrideRecycleKey, 0, kHighKey},
    {&AutoRenameCheckFreq, 0, 6000},
    {&ShowSubfoldersInMoveTo, 0, 2},
    {&PerformanceBoost, 0, 1},
    {&MinsOnProgressBar, 0, 2},
    {&HDDBarOption, 0, 5},
    {&LegendFontOption, 0, 3},
    {&ForceDelPromptOnStopMenu, 0, 1},
    {&Column4LeftAlign, 0, 2},
    {&Column5LeftAlign, 0, 2},
    {&oldMountMediaFiles, 0, 0},
    {&MinsColour, 0, 3},
    {&MultiSelectKey, 0, kHighKey},
    {&FileSuffixOption, 0, 2},
    {&ResetProgressKey, 0, kHighKey},
    {&ScrollDelay, 0, 20},
    {&ReplaceYoutubeKeyboard, 0, 2},
    {&AliveLoggingFreq, 0, 60 * 6000},
    {&ClearDiskCacheKey, 0, kHighKey},
    {&InfPerformanceBoost, 0, 1},
    {&MoveToMatchChars, 0, 50},
    {&LinkMediaFiles, 0, 1},
    {&OverrideDataFilesKey, 0, kHighKey},
    {&OverrideMenuExitKey, 0, kHighKey},
    {&MountMediaFiles, 0, 1},
    {&TagsmithKey, 0, kHighKey},
    {&OverrideInfoKey, 0, kHighKey},
    {&RecycleBinAfterXDays, 0, 100},
    {&TAPManagerKey, 0, kHighKey},
    {&sortOrderTAPOption, 0, 5},
    {&FileSuffixKey, 0, kHighKey},
    {&fileListLongKeyOption, 0, 3},
    {&AVModeKey, 0, kHighKey},
    {&bgcConfirmSuppressOption, 0, 1},
    {&BackgroundCopyOption, 0, 1},
    {&bgcCopyOrMoveOption, 0, 1},
    {&BackgroundCopyNFSBypass, 0, 1},
    {&RecycleBinCleanExternal, 0, 1},
    {&StatusScreenKey, 0, kHighKey},
    {&MovieCutterOption, 0, 0},
};
static_assert(sizeof kRanges / sizeof kRanges[0] == kNumberOfSettings, "a range per setting");

uint32_t Fold(const std::string& digits) {
  uint32_t value = 0;
  for (char c : digits)
    value = value * 10 + static_cast<uint32_t>(static_cast<unsigned char>(c) - '0');
  return value;
}

}  // namespace

TEST_F(SettingsFileTest, RangesListEverySettingInFileOrder) {
  for (int i = 0; i < kNumberOfSettings; i++) {
    EXPECT_EQ(settingDefinitions[i].setting, kRanges[i].setting) << "line " << i + 2;
  }
  // The shadow copies the menus edit are distinct from the settings.
  for (const SettingDefinition& d : settingDefinitions) EXPECT_NE(d.setting, d.shadow);
  EXPECT_EQ(&CurrentActivationKey, settingDefinitions[0].shadow);
  EXPECT_EQ(&currentbgcCopyOrMoveOption, settingDefinitions[106].shadow);
}

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndWritesThemByteForByte) {
  recordingRateOption = 1234;
  LoadConfiguration();
  ExpectAllDefaults();
  EXPECT_EQ(2900, currentRecordingRateOption);
  EXPECT_EQ(65602, CurrentActivationKey);
  std::string file = testenv::ReadFile(IniPath());
  EXPECT_EQ(Padded(IniText(DefaultLines())), file);
  std::string start = "Pavrolinex v5.1d\r\n65602\r\n1320\r\n2900\r\n1\r\n0\r\n";
  EXPECT_EQ(start, file.substr(0, start.size()));
  EXPECT_LT(IniText(DefaultLines()).size(), 700u);
  EXPECT_FALSE(testenv::Exists(IniPath("Skerrowby.ini.new")));
}

TEST_F(SettingsFileTest, RoundTripAtBothEndsOfEveryRange) {
  for (bool high : {false, true}) {
    for (const Range& r : kRanges) *r.setting = high ? r.high : r.low;
    SaveConfigurationToFile();
    std::string written = testenv::ReadFile(IniPath());
    ASSERT_EQ(static_cast<size_t>(INI_FILE_SIZE), written.size());
    EXPECT_LT(written.find('\0'), 700u);
    ResetSettingsToDefaults();
    LoadConfiguration();
    for (int i = 0; i < kNumberOfSettings; i++) {
      EXPECT_EQ(high ? kRanges[i].high : kRanges[i].low, *kRanges[i].setting) << "line " << i + 2;
    }
    // Loading read the file and did not rewrite it.
    EXPECT_EQ(written, testenv::ReadFile(IniPath()));
    EXPECT_EQ(GMToffsetOption, currentGMToffsetOption);
  }
}

TEST_F(SettingsFileTest, HeaderOnlyFileGivesDefaultsAndIsKept) {
  std::string text = "Pavrolinex v5.1d\r\n";
  ASSERT_TRUE(testenv::WriteFile(IniPath(), text));
  GMToffsetOption = 0;
  LoadConfiguration();
  ExpectAllDefaults();  // an empty line 3 gives the default 600, not 600 - 720
  EXPECT_EQ(text, testenv::ReadFile(IniPath()));
}

TEST_F(SettingsFileTest, LowRecordingRateMeansAForeignFileAndResetsEverything) {
  std::vector<std::string> lines = DefaultLines();
  lines[0] = "65536";  // activation key
  lines[2] = "999";    // recording rate, one below the lowest the menus offer
  lines[10] = "4";     // sort order
  ASSERT_TRUE(testenv::WriteFile(IniPath(), Padded(IniText(lines))));
  LoadConfiguration();
  ExpectAllDefaults();
  EXPECT_EQ(Padded(IniText(DefaultLines())), testenv::ReadFile(IniPath()));
}

TEST_F(SettingsFileTest, AllThreeLineEndsReadAlike) {
  std::vector<std::string> lines = DefaultLines();
  lines[1] = "720";   // GMT offset 0
  lines[2] = "4100";  // recording rate
  lines[9] = "3";     // sort order
  lines[34] = "88";   // completely watched
  lines[110] = "0";   // last line
  for (const char* end : {"\r\n", "\n", "\r"}) {
    ASSERT_TRUE(testenv::WriteFile(IniPath(), IniText(lines, end)));
    ResetSettingsToDefaults();
    LoadConfiguration();
    EXPECT_EQ(0, GMToffsetOption) << "line end " << (end[0] == '\r' ? "CR" : "LF") << end[1];
    EXPECT_EQ(4100, recordingRateOption);
    EXPECT_EQ(3, sortOrderOption);
    EXPECT_EQ(88, CompletelyWatchedPercent);
    EXPECT_EQ(0, MovieCutterOption);
    EXPECT_EQ(65552, StatusScreenKey);
  }
}

TEST_F(SettingsFileTest, ShortFileTakesDefaultsAndColumnAlignmentFromLine48) {
  std::vector<std::string> lines = DefaultLines();
  lines[46] = "1";   // line 48: column 3 alignment
  lines.resize(79);  // up to line 80
  ASSERT_TRUE(testenv::WriteFile(IniPath(), IniText(lines)));
  LoadConfiguration();
  EXPECT_EQ(1, Column345LeftAlign);
  EXPECT_EQ(1, Column4LeftAlign);
  EXPECT_EQ(1, Column5LeftAlign);
  EXPECT_EQ(3, MinsColour);
  EXPECT_EQ(65599, MultiSelectKey);
  // A later save completes the file.
  SaveConfigurationToFile();
  lines = DefaultLines();
  lines[46] = lines[79] = lines[80] = "1";
  EXPECT_EQ(Padded(IniText(lines)), testenv::ReadFile(IniPath()));
}

TEST_F(SettingsFileTest, RestartKeyGivesWayWhenBothAreRed) {
  std::vector<std::string> lines = DefaultLines();
  lines[60] = "65599";  // line 62: restart key (internal)
  lines[83] = "65599";  // line 85: multi-select key
  ASSERT_TRUE(testenv::WriteFile(IniPath(), IniText(lines)));
  LoadConfiguration();
  EXPECT_EQ(65595, RestartLastKey_internal);
  EXPECT_EQ(65599, MultiSelectKey);
  EXPECT_EQ(65595, currentRestartLastKey_internal);
  // Red alone stays Red.
  lines[83] = "65600";
  ASSERT_TRUE(testenv::WriteFile(IniPath(), IniText(lines)));
  LoadConfiguration();
  EXPECT_EQ(65599, RestartLastKey_internal);
}

TEST_F(SettingsFileTest, RetiredMediaMountBecomesALink) {
  std::vector<std::string> lines = DefaultLines();
  lines[81] = "1";  // line 83: the old mount request
  lines[95] = "1";  // line 97: mount
  ASSERT_TRUE(testenv::WriteFile(IniPath(), IniText(lines)));
  LoadConfiguration();
  EXPECT_EQ(1, LinkMediaFiles);
  EXPECT_EQ(0, MountMediaFiles);
  EXPECT_EQ(0, oldMountMediaFiles);
  EXPECT_EQ(1, currentLinkMediaFiles);
}

TEST_F(SettingsFileTest, NumbersFoldWithoutChecksAndWrapAt32Bits) {
  std::vector<std::string> lines = DefaultLines();
  lines[2] = "99999999999999999999";  // recording rate
  lines[3] = "1x";                    // column 1
  lines[4] = "-7";                    // column 2: a sign, as the writer writes it
  lines[5] = std::string(300, '1');   // column 3: only 255 characters count
  ASSERT_TRUE(testenv::WriteFile(IniPath(), IniText(lines)));
  LoadConfiguration();
  EXPECT_EQ(1661992959, recordingRateOption);  // 10^20 - 1 modulo 2^32
  EXPECT_EQ(static_cast<int>(Fold("1x")), column1Option);
  EXPECT_EQ(-7, column2Option);
  EXPECT_EQ(static_cast<int>(Fold(std::string(255, '1'))), column3Option);
}

TEST_F(SettingsFileTest, ValuesOutsideTheRangesAreKeptAndCutAtTheBlockEnd) {
  for (const SettingDefinition& d : settingDefinitions) *d.setting = INT_MIN;
  recordingRateOption = INT_MAX;
  GMToffsetOption = -5000;
  SaveConfigurationToFile();
  std::string file = testenv::ReadFile(IniPath());
  ASSERT_EQ(static_cast<size_t>(INI_FILE_SIZE), file.size());
  size_t text = file.find('\0');
  if (text == std::string::npos) text = file.size();
  ASSERT_GE(text, 2u);
  EXPECT_EQ("\r\n", file.substr(text - 2, 2));  // whole lines only
  EXPECT_EQ(std::string(file.size() - text, '\0'), file.substr(text));
  int whole = 0;
  for (size_t i = 0; i < text; i++) whole += file[i] == '\n';
  int kept = whole - 1;
  ASSERT_GT(kept, 50);
  ASSERT_LT(kept, kNumberOfSettings);
  std::vector<int> expected(kNumberOfSettings);
  for (int i = 0; i < kNumberOfSettings; i++) {
    expected[i] = i < kept ? *settingDefinitions[i].setting : settingDefinitions[i].defaultValue;
  }
  if (kept <= 79) expected[79] = expected[46];  // lines 81, 82 follow line 48
  if (kept <= 80) expected[80] = expected[46];
  if (expected[81] != 0) {  // the retired mount request
    if (expected[92] == 0) expected[92] = 1;
    expected[95] = expected[81] = 0;
  }
  LoadConfiguration();
  EXPECT_EQ(-5000, GMToffsetOption);
  EXPECT_EQ(INT_MAX, recordingRateOption);
  for (int i = 0; i < kNumberOfSettings; i++) {
    EXPECT_EQ(expected[i], *settingDefinitions[i].setting) << "line " << i + 2;
  }
}

TEST_F(SettingsFileTest, AnyBytesAreReadWithinTheBlock) {
  std::mt19937 random(5);
  const char alphabet[] = "0123456789\r\n\t\0-x";
  for (int round = 0; round < 200; round++) {
    size_t length = random() % 3000;
    std::string bytes(length, '\0');
    for (char& c : bytes) {
      c = round % 2 ? static_cast<char>(random()) : alphabet[random() % (sizeof alphabet - 1)];
    }
    ASSERT_TRUE(testenv::WriteFile(IniPath(), bytes));
    LoadConfiguration();
    if (recordingRateOption < 1000) ADD_FAILURE() << "a damaged file was kept";
    std::string after = testenv::ReadFile(IniPath());
    EXPECT_TRUE(after == bytes || after.size() == static_cast<size_t>(INI_FILE_SIZE));
  }
}

TEST_F(SettingsFileTest, FieldsNeverRunPastTheBlock) {
  // A block of digits without any terminator: the field ends at the block's end.
  dataBuffer_ini = static_cast<char*>(TAP_MemAlloc(INI_FILE_SIZE + 1));
  memset(dataBuffer_ini, '7', INI_FILE_SIZE);
  dataBuffer_ini[INI_FILE_SIZE] = '\0';
  dataBufferPtr_ini = 1000;
  EXPECT_EQ(24u, strlen(ReadIniField()));
  EXPECT_EQ(INI_FILE_SIZE, dataBufferPtr_ini);
  EXPECT_STREQ("", ReadIniField());
  EXPECT_EQ(42, ReadIniDecimal(42));
  // A position outside the block reads an empty field at the block's end.
  for (int position : {INI_FILE_SIZE + 5, -1}) {
    dataBufferPtr_ini = position;
    EXPECT_EQ(dataBuffer_ini + INI_FILE_SIZE, ReadIniField()) << position;
    EXPECT_EQ(INI_FILE_SIZE, dataBufferPtr_ini);
  }
  // A CR at the very end does not look past the block for its LF.
  dataBuffer_ini[INI_FILE_SIZE - 1] = '\r';
  dataBufferPtr_ini = INI_FILE_SIZE - 3;
  EXPECT_STREQ("77", ReadIniField());
  EXPECT_EQ(INI_FILE_SIZE, dataBufferPtr_ini);
  TAP_MemFree(dataBuffer_ini);
  dataBuffer_ini = nullptr;
}

TEST_F(SettingsFileTest, UnreadableFileGivesDefaultsAndNothingBreaks) {
  ASSERT_EQ(0, mkdir(IniPath().c_str(), 0777));  // a folder where the file belongs
  sortOrderOption = 3;
  LoadConfiguration();
  ExpectAllDefaults();
  EXPECT_EQ(0, currentSortOrderOption);
}

TEST_F(SettingsFileTest, MenuStateStartsAndEnds) {
  configTopLine = 7;
  chosenConfigLine = 3;
  InitialiseConfigRoutines();
  EXPECT_EQ(1, configTopLine);
  EXPECT_EQ(0, chosenConfigLine);
  EXPECT_GT(GetNumberOfKeys(&localKeyCodes), 40);
  TerminateConfigMenu();
  EXPECT_EQ(0, GetNumberOfKeys(&localKeyCodes));
}

TEST_F(SettingsFileTest, SavingFromTheMenusAppliesTheShadowCopiesAndWritesThem) {
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/notes.txt"), "text"));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/film.rec"), "rec"));
  ASSERT_EQ(0, InitialiseCatalogue());
  snprintf(CurrentDir, sizeof CurrentDir, "/DataFiles");
  CurrentDirNumber = 0;
  tempFileSuffixOption = FileSuffixOption;
  loadInitialQuembryInfo(99, 0);
  ASSERT_EQ(1, myfolders[0]->entryCount);

  printLine = chosenLine = 5;
  currentHideEmptyFolders = 1;
  currentSortOrderOption = 4;
  currentFileSuffixOption = 2;  // every file
  SaveConfiguration();
  EXPECT_EQ(1, HideEmptyFolders);
  EXPECT_EQ(4, sortOrderOption);
  EXPECT_EQ(1, printLine);
  EXPECT_EQ(1, chosenLine);
  // The new filter shows at once.
  EXPECT_EQ(2, tempFileSuffixOption);
  EXPECT_EQ(2, myfolders[0]->entryCount);

  std::vector<std::string> lines = DefaultLines();
  lines[9] = "4";
  lines[54] = "1";
  lines[84] = "2";
  EXPECT_EQ(Padded(IniText(lines)), testenv::ReadFile(IniPath()));
  ReleaseCatalogue();
}
