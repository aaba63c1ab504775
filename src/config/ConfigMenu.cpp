// The configuration window: a main menu that opens nine menus, each a page
// of lines that show one setting's shadow copy or run an action. Values
// change with Left, Right and Ok; nothing reaches the settings before
// "Save and Exit".
#include "config/ConfigMenu.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "app/keys.h"
#include "catalogue/History.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "config/texts.h"
#include "lib/lib.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/Dialogs.h"
#include "ui/FirmwareCheck.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

// The uptime check of the peripheral screens.
void CheckUptime();

int menuNumber = 1;
int menuOptions = 13;
int menuLength = 8;
int updateMenuLine;

namespace {

enum LineKind : byte {
  LINE_MENU,     // main menu: Ok acts
  LINE_NUMBER,   // 0 .. top, possibly scaled: value = index * step + offset
  LINE_BOOLEAN,  // 0 / 1
  LINE_KEY,      // a remote key of the key list
  LINE_FIXED,    // shown, never changed
  LINE_ACTION,   // Ok runs it
};

// One menu line: what it edits and how. `shown` turns the value into the
// number its format prints: > 1 multiplies, < -1 divides, else as it is.
struct LineDef {
  LineKind kind;
  int* value;
  int top;
  int step;
  int offset;
  int shown;
};

#define MENU_LINE \
  { LINE_MENU, nullptr, 0, 1, 0, 0 }
#define ACTION_LINE \
  { LINE_ACTION, nullptr, 0, 1, 0, 0 }
#define OPTION(v, top) \
  { LINE_NUMBER, &v, top, 1, 0, 0 }
#define SCALED(v, top, step, offset, shown) \
  { LINE_NUMBER, &v, top, step, offset, shown }
#define BOOL(v) \
  { LINE_BOOLEAN, &v, 1, 1, 0, 0 }
#define KEY(v) \
  { LINE_KEY, &v, 0, 1, 0, 0 }

const LineDef kMainLines[13] = {MENU_LINE, MENU_LINE, MENU_LINE, MENU_LINE, MENU_LINE,
                                MENU_LINE, MENU_LINE, MENU_LINE, MENU_LINE, MENU_LINE,
                                MENU_LINE, MENU_LINE, MENU_LINE};

const LineDef kFirstTimeLines[3] = {OPTION(currentTextLanguage, 1),
                                    OPTION(currentKeyboardLanguage, 2),
                                    SCALED(currentGMToffsetOption, 50, 30, -720, 0)};

const LineDef kGeneralLines[22] = {SCALED(currentRecordingRateOption, 50, 100, 1000, 0),
                                   OPTION(currentStopPlaybackOption, 2),
                                   SCALED(currentDelayBeforeStop, 20, 10, 0, 10),
                                   {LINE_FIXED, &currentMovieCutterOption, 0, 1, 0, 0},
                                   OPTION(currentRenameOnMoveOption, 3),
                                   SCALED(currentFreeSpaceThreshold, 100, 10, 0, 0),
                                   BOOL(currentActivateWithProgressBar),
                                   OPTION(currentDefaultRecursiveDepth, 10),
                                   BOOL(currentSkipPhotoAlbumSafetyCheck),
                                   SCALED(currentAutoRenameCheckFreq, 60, 100, 0, -100),
                                   OPTION(currentShowSubfoldersInMoveTo, 2),
                                   BOOL(currentPerformanceBoost),
                                   BOOL(currentInfPerformanceBoost),
                                   OPTION(currentMountMediaFiles, 1),
                                   OPTION(currentLinkMediaFiles, 1),
                                   OPTION(currentReplaceYoutubeKeyboard, 2),
                                   SCALED(currentAliveLoggingFreq, 60, 6000, 0, -6000),
                                   OPTION(currentMoveToMatchChars, 50),
                                   BOOL(currentBackgroundCopyOption),
                                   BOOL(currentBackgroundCopyNFSBypass),
                                   BOOL(currentbgcCopyOrMoveOption),
                                   BOOL(currentbgcConfirmSuppressOption)};

const LineDef kKeysLines[22] = {KEY(CurrentActivationKey),
                                BOOL(currentOkPlayOption),
                                OPTION(currentFileListKeyOption, 3),
                                OPTION(currentFileListLongKeyOption, 3),
                                KEY(currentMultiSelectKey),
                                KEY(currentOverrideParentKey),
                                KEY(currentOverrideRecycleKey),
                                KEY(currentRestartLastKey_internal),
                                KEY(currentRestartLastKey_external),
                                KEY(currentResetProgressKey),
                                KEY(currentUserExitKey1),
                                KEY(currentUserExitKey2),
                                KEY(currentUserExitKey3),
                                KEY(currentUserExitKey4),
                                KEY(currentClearDiskCacheKey),
                                KEY(currentOverrideDataFilesKey),
                                KEY(currentOverrideMenuExitKey),
                                KEY(currentTagsmithKey),
                                KEY(currentOverrideInfoKey),
                                KEY(currentTAPManagerKey),
                                KEY(currentFileSuffixKey),
                                KEY(currentAVModeKey)};

const LineDef kColumnsLines[16] = {OPTION(currentColumn1Option, 2),
                                   OPTION(currentColumn2Option, 2),
                                   OPTION(currentColumn3Option, 4),
                                   OPTION(currentColumn4Option, 7),
                                   OPTION(currentColumn5Option, 5),
                                   OPTION(currentColumn345LeftAlign, 2),
                                   OPTION(currentColumn4LeftAlign, 2),
                                   OPTION(currentColumn5LeftAlign, 2),
                                   OPTION(currentColumn5FolderSize, 1),
                                   OPTION(currentColumn1Font, 3),
                                   OPTION(currentColumn2Font, 3),
                                   OPTION(currentColumn3Font, 3),
                                   OPTION(currentColumn4Font, 3),
                                   OPTION(currentColumn5Font, 3),
                                   ACTION_LINE,
                                   ACTION_LINE};

const LineDef kDisplayLines[19] = {OPTION(currentInfoLineOption, 2),
                                   OPTION(currentProgressBarOption, 4),
                                   OPTION(currentMinsOnProgressBar, 2),
                                   OPTION(currentHDDBarOption, 5),
                                   OPTION(currentLineSpacingOption, 1),
                                   OPTION(currentExtraLineOption, 1),
                                   OPTION(currentExtInfoFontOption, 1),
                                   OPTION(currentBottomFontOption, 3),
                                   OPTION(currentLegendFontOption, 3),
                                   BOOL(currentSplashScreenOption),
                                   OPTION(currentNewIndicatorOption, 2),
                                   SCALED(currentCompletelyWatchedPercent, 20, 1, 80, 0),
                                   OPTION(currentStartInDatafiles, 2),
                                   OPTION(currentSelectFirstFile, 4),
                                   BOOL(currentClock12Hour),
                                   BOOL(currentInfoTime24Hour),
                                   BOOL(currentHideEmptyFolders),
                                   OPTION(currentFileSuffixOption, 2),
                                   OPTION(currentScrollDelay, 20)};

const LineDef kSortLines[8] = {
    OPTION(currentSortOrderOption, 5), OPTION(currentSortOrderTAPOption, 5),
    BOOL(currentHideSortOption0),      BOOL(currentHideSortOption1),
    BOOL(currentHideSortOption2),      BOOL(currentHideSortOption3),
    BOOL(currentHideSortOption4),      BOOL(currentHideSortOption5)};

const LineDef kColoursLines[8] = {
    OPTION(currentMenuBarColour, 4),   OPTION(currentMenuTextColour, 2),
    OPTION(currentButtonBarColour, 4), OPTION(currentButtonTextColour, 2),
    OPTION(currentClockColour, 3),     OPTION(currentMinsColour, 3),
    BOOL(currentRecycleDividerColour), OPTION(currentBorderColour, 1)};

const LineDef kRecycleLines[9] = {OPTION(currentRecycleBinOption, 2),
                                  OPTION(currentRecycleBinCleanoutOption, 3),
                                  BOOL(currentRecycleBinCleanExternal),
                                  OPTION(currentRecycleBinCleanoutTime, 23),
                                  SCALED(currentRecycleBinThresholdOption, 100, 10, 0, 0),
                                  OPTION(currentRecycleBinAfterXDays, 100),
                                  BOOL(currentDeleteConfirmDefault),
                                  BOOL(currentForceDelPromptOnStopMenu),
                                  OPTION(currentFolderDeleteOption, 2)};

const LineDef kActionsLines[5] = {ACTION_LINE, ACTION_LINE, ACTION_LINE, ACTION_LINE, ACTION_LINE};

// The menus in menuNumber order: lines, texts, line count, lines visible.
struct MenuDef {
  const LineDef* lines;
  const ConfigLineText* texts;
  int options;
  int visible;
};

const MenuDef kMenus[10] = {
    {kMainLines, text_MainMenuLines, 13, 8},   {kFirstTimeLines, text_FirstTimeLines, 3, 3},
    {kGeneralLines, text_GeneralLines, 22, 8}, {kKeysLines, text_KeysLines, 22, 8},
    {kColumnsLines, text_ColumnsLines, 16, 8}, {kDisplayLines, text_DisplayLines, 19, 8},
    {kSortLines, text_SortLines, 8, 8},        {kColoursLines, text_ColoursLines, 8, 8},
    {kRecycleLines, text_RecycleLines, 9, 8},  {kActionsLines, text_ActionsLines, 5, 5}};

constexpr int kBoxX = 53, kBoxWidth = 618, kBoxRight = kBoxX + kBoxWidth;
constexpr int kLabelX = 100, kValueX = 352;
constexpr dword kBackground = 0xFF101010, kLineBackground = 0xFF1E1E1E;
constexpr dword kTitleColour = 0xFFE6E6FA, kNumberColour = 0xFFE6E633;
constexpr dword kTextColour = 0xFFFAFAFA, kHelpColour = 0xFFC0C0C0;
constexpr int kScrollDelayMenu = 6, kScrollDelayLine = 19;

// The language of the menus' own texts: the saved one, so a new language
// shows once it is saved.
int Language() { return TextLanguage == 1 ? 1 : 0; }

const MenuDef& CurrentMenu() {
  int n = menuNumber >= 1 && menuNumber <= 10 ? menuNumber : 1;
  return kMenus[n - 1];
}

int RowY(int line) { return 42 * (line - configTopLine + 1) + 28; }

bool Visible(int line) {
  return line >= configTopLine && line < configTopLine + menuLength && line >= 1 &&
         line <= menuOptions;
}

// The n-th text of a '|'-separated list into out; false when there is none.
bool OptionText(const char* list, int n, char* out, int size) {
  if (!list || n < 0) return false;
  const char* start = list;
  for (int i = 0; i < n; i++) {
    start = strchr(start, '|');
    if (!start) return false;
    start++;
  }
  const char* end = strchr(start, '|');
  int length = end ? (int)(end - start) : (int)strlen(start);
  snprintf(out, (size_t)size, "%.*s", length, start);
  return true;
}

// The position of a scaled value among 0 .. top; values that are not on a
// step fall to the step below. Out of range for values below the offset.
int IndexOf(const LineDef& def, int value) {
  long long distance = (long long)value - def.offset;
  if (distance < 0) return -1;
  long long index = distance / def.step;
  return index > INT_MAX ? INT_MAX : (int)index;
}

int ValueOf(const LineDef& def, int index) {
  long long value = (long long)index * def.step + def.offset;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return (int)value;
}

// The text the line shows for the current value.
void ValueText(const LineDef& def, const ConfigLineText& text, char* out, int size) {
  out[0] = 0;
  int lang = Language();
  if (def.kind == LINE_KEY) {
    snprintf(out, (size_t)size, "%s", GetButtonText(&localKeyCodes, (dword)*def.value));
    return;
  }
  if (def.kind != LINE_NUMBER && def.kind != LINE_BOOLEAN && def.kind != LINE_FIXED) return;
  int value = *def.value;
  int index = IndexOf(def, value);
  const char* values = text.values[lang];
  bool valid = index >= 0 && index <= def.top && values;
  if (valid && strchr(values, '|'))
    valid = OptionText(values, index, out, size);
  else if (valid && def.kind == LINE_FIXED)
    valid = value == 0 && OptionText(values, 0, out, size);
  else if (valid && value == 0 && text.zero[lang])
    snprintf(out, (size_t)size, "%s", text.zero[lang]);
  else if (valid) {
    int shown = def.shown > 1 ? value * def.shown : def.shown < -1 ? value / -def.shown : value;
    snprintf(out, (size_t)size, values, shown);
  }
  if (!valid) snprintf(out, (size_t)size, "%s", Text(text_InvalidValue));
}

// Prints a value in the field, in a smaller size where 16 would not fit.
void PrintValue(int x, int y, int maxX, const char* text, dword colour) {
  int size = 16;
  while (size > 12 && (int)PrintWidth(text, size) > maxX - x) size -= 2;
  PrintLeft(rgn, (dword)x, (dword)(y + (16 - size) / 2), (dword)maxX, text, colour, 0, size);
}

// The sample that shows how fast a long name scrolls: from scrollTextIndex,
// which moves on by one character on every redraw of the selected line.
void PrintScrollSample(int x, int y, dword colour) {
  static const char* const kSample[2] = {"Long recording names scroll at this speed.   ",
                                         "Lange Aufnahmenamen laufen so schnell.   "};
  const char* sample = kSample[Language()];
  int length = (int)strlen(sample);
  if (scrollTextIndex < 0 || scrollTextIndex >= length) scrollTextIndex = 0;
  char text[128];
  snprintf(text, sizeof text, "%s%s", sample + scrollTextIndex, sample);
  scrollTextIndex++;
  if (scrollTextIndex >= length) scrollTextIndex = 0;
  PrintLeft(rgn, (dword)x, (dword)y, kBoxRight - 6, text, colour, 0, 14);
}

void DrawScrollArrows() {
  TAP_Osd_FillBox(rgn, kBoxRight + 4, 70, 40, 340, kBackground);
  if (configTopLine > 1) TAP_Osd_PutGd(rgn, kBoxRight + 12, 80, &_ArrowUp_Gd, 1);
  if (configTopLine + menuLength - 1 < menuOptions)
    TAP_Osd_PutGd(rgn, kBoxRight + 12, 390, &_ArrowDown_Gd, 1);
}

// Every visible line, the selected one last (it owns the help area).
void DrawConfigPage() {
  for (int line = configTopLine; line < configTopLine + menuLength; line++) {
    if (line != chosenConfigLine) DisplayConfigLine(line);
  }
  DisplayConfigLine(chosenConfigLine);
  DrawScrollArrows();
}

// Selects `line` and scrolls the page to show it; redraws what changed.
void SelectLine(int line) {
  if (line < 1) line = 1;
  if (line > menuOptions) line = menuOptions;
  int old = chosenConfigLine;
  int oldTop = configTopLine;
  chosenConfigLine = line;
  if (line < configTopLine) configTopLine = line;
  if (line >= configTopLine + menuLength) configTopLine = line - menuLength + 1;
  if (old != line) scrollTextIndex = 0;
  if (configTopLine != oldTop) {
    DrawConfigPage();
  } else {
    DisplayConfigLine(old);
    DisplayConfigLine(line);
  }
  TAP_Osd_Sync();
}

void OpenMenu(int number) {
  const MenuDef& menu = kMenus[number - 1];
  menuNumber = number;
  menuOptions = menu.options;
  menuLength = menu.visible;
  chosenConfigLine = 1;
  configTopLine = 1;
  scrollTextIndex = 0;
  RedrawConfigWindow(Text(text_MenuTitles[number - 1]));
  TAP_Osd_Sync();
}

// The common part of the setting menus: the selected line's value cycles.
void HandleSettingLine(dword key) {
  const MenuDef& menu = CurrentMenu();
  if (chosenConfigLine < 1 || chosenConfigLine > menu.options) return;
  const LineDef& def = menu.lines[chosenConfigLine - 1];
  switch (def.kind) {
    case LINE_NUMBER: {
      int index = IndexOf(def, *def.value);
      HandleIntegerSelection(key, &index, def.top);
      *def.value = ValueOf(def, index);
      break;
    }
    case LINE_BOOLEAN:
      HandleBooleanSelection(key, def.value);
      break;
    case LINE_KEY:
      HandleKeySelection(key, def.value);
      break;
    default:
      break;
  }
}

void SaveAndClose() {
  SaveConfiguration();
  CloseConfigWindow();
}

void StopTap() {
  CloseConfigWindow();
  terminateFlag = 1;
}

void DrawCredits() {
  TAP_Osd_FillBox(rgn, 0, 0, 720, 576, kBackground);
  PrintLeft(rgn, 53, 36, 300, PROGRAM_VERSION, kTitleColour, 0, 18);
  PrintCenter(rgn, 222, 40, 502, Text(text_CreditsTitle), kTitleColour, 0, 16);
  TAP_Osd_FillBox(rgn, kBoxX, 75, kBoxWidth, 2, 0xFF999999);
  int y = 88;
  for (const CreditLine* line = creditLines; line->name; line++) {
    PrintLeft(rgn, kBoxX + 10, (dword)y, 260, line->name, kNumberColour, 0, 16);
    PrintValue(265, y, kBoxRight, line->what[Language()], kTextColour);
    y += 32;
  }
  TAP_Osd_FillBox(rgn, kBoxX, 413, kBoxWidth, 2, 0xFF999999);
  WrapPutStr(rgn,
             Language() ? "Pavrolinex ist eigenst\xE4ndige Software f\xFC"
                          "r den Receiver. Danke allen, deren freie Arbeit sie m\xF6glich macht."
                        : "Pavrolinex is independent software for the recorder. Thanks to everyone "
                          "whose free work makes it possible.",
             kBoxX, 425, kBoxWidth, kHelpColour, kBackground, 3, 14, 2);
  drawLegendElement(kBoxX, 525, kBoxRight, &_Button_exit_Gd, (int)_Button_exit_Gd.width,
                    Text(text_CreditsReturn));
}

}  // namespace

// ------------------------------------------------------------ opening

void ActivateConfigWindow(int line) {
  if (!configWindowShowing) CopyConfiguration();
  menuNumber = 1;
  menuOptions = kMenus[0].options;
  menuLength = kMenus[0].visible;
  if (line < 1) line = 1;
  if (line > menuOptions) line = menuOptions;
  chosenConfigLine = line;
  configTopLine = line > menuLength ? line - menuLength + 1 : 1;
  RedrawConfigWindow(Text(text_MenuTitles[0]));
  TAP_Osd_Sync();
}

void ActivateFirstTimeMenu() { OpenMenu(2); }
void ActivateGeneralMenu() { OpenMenu(3); }
void ActivateKeysMenu() { OpenMenu(4); }
void ActivateColumnsMenu() { OpenMenu(5); }
void ActivateDisplayMenu() { OpenMenu(6); }
void ActivateSortMenu() { OpenMenu(7); }
void ActivateColoursMenu() { OpenMenu(8); }
void ActivateRecycleMenu() { OpenMenu(9); }
void ActivateActionsMenu() { OpenMenu(10); }

void ReturnToConfigWindow() {
  if (!configWindowShowing || rgn == NO_REGION) return;
  ActivateConfigWindow(menuNumber > 1 ? menuNumber - 1 : chosenConfigLine);
}

// ------------------------------------------------------------ keys

dword ConfigKeyHandler(dword key) {
  lastKeyHandler = "ConfigKeyHandler";
  dword base = key & RKEY_MASK;
  // 1.
  if (OverrideMenuExitKey != 0 && key == (dword)OverrideMenuExitKey) {
    CloseConfigWindow();
    return 0;
  }
  // 4. Keys that belong to the firmware, whatever their report.
  if (base == RKEY_Mute || base == RKEY_Option5 || base == RKEY_Option6) return key;
  // 2. Digits pick a line of the page.
  if (key >= RKEY_1 && key <= RKEY_9) {
    int digit = (int)(key - RKEY_0);
    if (digit > menuLength) digit = menuLength;
    SelectLine(configTopLine + digit - 1);
    return 0;
  }
  // 3.
  if (key == RKEY_0) {
    if (menuNumber == 1) {
      SelectLine(9);
      ConfigActionHandler(RKEY_Ok);
    } else if (menuNumber == 10) {
      SelectLine(5);
      ConfigActionHandler(RKEY_Ok);
    }
    return 0;
  }
  if (key == (dword)RKEYN_Red) {
    SaveAndClose();
    return 0;
  }
  switch (key) {
    case RKEY_VolDown:
    case RKEY_VolUp:
    case RKEY_TvRadio:
    case RKEY_Ok:
      ConfigActionHandler(key);
      break;
    case RKEY_ChUp:
      SelectLine(chosenConfigLine > 1 ? chosenConfigLine - 1 : menuOptions);
      break;
    case RKEY_ChDown:
      SelectLine(chosenConfigLine < menuOptions ? chosenConfigLine + 1 : 1);
      break;
    case RKEY_Rewind:
      SelectLine(chosenConfigLine - menuLength);
      break;
    case RKEY_Forward:
      SelectLine(chosenConfigLine + menuLength);
      break;
    case RKEY_Info:
      ActivateCreditsWindow();
      break;
    case RKEY_Exit:
    case RKEY_Menu:
      if (menuNumber != 1) {
        ActivateConfigWindow(menuNumber - 1);
        TAP_Osd_Sync();
      } else if (key == RKEY_Menu) {
        SaveAndClose();
      } else {
        CloseConfigWindow();
      }
      break;
    case RKEY_Stop:
      StopTap();
      break;
    case RKEY_Record:
      SaveAndClose();
      break;
    default:
      break;
  }
  return 0;
}

void ConfigActionHandler(dword key) {
  updateMenuLine = 0;
  switch (menuNumber) {
    case 1:
      if (key != RKEY_Ok) return;
      switch (chosenConfigLine) {
        case 1:
          ActivateFirstTimeMenu();
          break;
        case 2:
          ActivateGeneralMenu();
          break;
        case 3:
          ActivateKeysMenu();
          break;
        case 4:
          ActivateColumnsMenu();
          break;
        case 5:
          ActivateDisplayMenu();
          break;
        case 6:
          ActivateSortMenu();
          break;
        case 7:
          ActivateColoursMenu();
          break;
        case 8:
          ActivateRecycleMenu();
          break;
        case 9:
          ActivateActionsMenu();
          break;
        case 10:
          ActivateCreditsWindow();
          break;
        case 11:
          StopTap();
          break;
        case 12:
          CloseConfigWindow();
          break;
        case 13:
          SaveAndClose();
          break;
        default:
          break;
      }
      return;
    case 2:
      HandleFirstTimeMenu(key);
      break;
    case 3:
      HandleGeneralMenu(key);
      break;
    case 4:
      HandleKeysMenu(key);
      break;
    case 5:
      HandleColumnsMenu(key);
      break;
    case 6:
      HandleDisplayMenu(key);
      break;
    case 7:
      HandleSortMenu(key);
      break;
    case 8:
      HandleColoursMenu(key);
      break;
    case 9:
      HandleRecycleMenu(key);
      break;
    case 10:
      HandleActionsMenu(key);
      break;
    default:
      break;
  }
  if (updateMenuLine && configWindowShowing && rgn != NO_REGION) {
    DisplayConfigLine(chosenConfigLine);
    TAP_Osd_Sync();
  }
}

void HandleFirstTimeMenu(dword key) { HandleSettingLine(key); }
void HandleGeneralMenu(dword key) { HandleSettingLine(key); }
void HandleKeysMenu(dword key) { HandleSettingLine(key); }

void HandleColumnsMenu(dword key) {
  if (chosenConfigLine == 15 || chosenConfigLine == 16) {
    if (key == RKEY_Ok) ResetColumnDefault(chosenConfigLine == 16);
    return;
  }
  HandleSettingLine(key);
}

void HandleDisplayMenu(dword key) { HandleSettingLine(key); }
void HandleSortMenu(dword key) { HandleSettingLine(key); }

void HandleColoursMenu(dword key) {
  HandleSettingLine(key);
  // The clock shows its new colour at once, in the window's title line.
  if (chosenConfigLine == 5 && rgn != NO_REGION) UpdateListClock(currentClockColour);
}

void HandleRecycleMenu(dword key) { HandleSettingLine(key); }

void HandleActionsMenu(dword key) {
  if (key != RKEY_Ok) return;
  switch (chosenConfigLine) {
    case 1:
      // The emptying walks the firmware's current folder as CurrentDir.
      HDD_ChangeDir(CurrentDir);
      EmptyRecycleBin();
      break;
    case 2:
      ClearLastViewFlags();
      break;
    case 3:
      DeletePlayData();
      break;
    case 4:
      CheckFirmwareDat();
      break;
    case 5:
      CheckUptime();
      break;
    default:
      break;
  }
  TAP_Osd_Sync();
}

void HandleIntegerSelection(dword key, int* value, int top) {
  if (key == RKEY_VolDown) {
    if (*value <= 0) {
      *value = top;
    } else {
      (*value)--;
    }
  } else if (key == RKEY_VolUp || key == RKEY_Ok) {
    if (*value == top || *value < 0) {
      *value = 0;
    } else if (*value < INT_MAX) {
      (*value)++;
    }
  }
  updateMenuLine = 1;
}

void HandleBooleanSelection(dword key, int* value) {
  if (key == RKEY_VolDown || key == RKEY_VolUp || key == RKEY_Ok) *value = *value == 0 ? 1 : 0;
  updateMenuLine = 1;
}

void HandleKeySelection(dword key, int* value) {
  if (key == RKEY_VolDown) {
    *value = (int)GetPreviousKey(&localKeyCodes, (dword)*value);
  } else if (key == RKEY_VolUp || key == RKEY_Ok) {
    *value = (int)GetNextKey(&localKeyCodes, (dword)*value);
  }
  updateMenuLine = 1;
}

void ResetColumnDefault(int small) {
  currentColumn1Font = currentColumn2Font = currentColumn3Font = currentColumn4Font =
      currentColumn5Font = 0;
  currentColumn2Option = currentColumn3Option = currentColumn5Option = 0;
  if (small) {
    currentColumn1Option = 1;
    currentColumn4Option = 7;
    currentColumn345LeftAlign = currentColumn4LeftAlign = currentColumn5LeftAlign = 2;
    currentLineSpacingOption = 1;
  } else {
    currentColumn1Option = currentColumn4Option = 0;
    currentColumn345LeftAlign = currentColumn4LeftAlign = currentColumn5LeftAlign = 0;
    currentLineSpacingOption = 0;
  }
  ShowMessageWinX(rgn, Text(text_ColumnDefaultsTitle), Text(text_ColumnDefaultsLine1),
                  Text(text_ColumnDefaultsLine2), 300);
  RedrawConfigWindow(Text(text_MenuTitles[4]));
  TAP_Osd_Sync();
}

// ------------------------------------------------------------ drawing

void RedrawConfigWindow(const char* title) {
  configWindowShowing = 1;
  if (rgn == NO_REGION) return;
  TAP_Osd_FillBox(rgn, 0, 0, 720, 576, kBackground);
  PrintLeft(rgn, 53, 36, 222, PROGRAM_VERSION, kTitleColour, 0, 18);
  PrintCenter(rgn, 222, 40, 502, title, kTitleColour, 0, 16);
  UpdateListClock(currentClockColour);
  DrawConfigPage();
  configDrawLegend();
}

void DisplayConfigLine(int line) {
  if (rgn == NO_REGION || !Visible(line)) return;
  const MenuDef& menu = CurrentMenu();
  const LineDef& def = menu.lines[line - 1];
  const ConfigLineText& text = menu.texts[line - 1];
  int lang = Language();
  int y = RowY(line);
  bool selected = line == chosenConfigLine;
  TAP_Osd_FillBox(rgn, kBoxX, (dword)y, kBoxWidth, 39, kLineBackground);
  dword colour = kTextColour;
  if (selected) {
    displayMenuBar(currentMenuBarColour, kBoxX, y, 39, kBoxWidth);
    colour = TextColourOf(currentMenuTextColour);
  }
  char number[16];
  snprintf(number, sizeof number, "%d", line);
  PrintCenter(rgn, kBoxX, (dword)(y + 8), kLabelX - 4, number, kNumberColour, 0, 16);
  int labelRight = def.kind == LINE_MENU || def.kind == LINE_ACTION ? kBoxRight - 6 : kValueX - 8;
  PrintValue(kLabelX, y + 8, labelRight, text.label[lang], colour);
  char value[128];
  ValueText(def, text, value, sizeof value);
  if (value[0]) PrintValue(kValueX, y + 8, kBoxRight - 6, value, colour);
  if (selected && menuNumber == kScrollDelayMenu && line == kScrollDelayLine &&
      currentScrollDelay != 0 && IndexOf(def, *def.value) <= def.top) {
    int x = kValueX + (int)PrintWidth(value, 16) + 24;
    PrintScrollSample(x, y + 10, colour);
  }
  TAP_Osd_FillBox(rgn, 0, 418, 720, 105, kBackground);
  if (selected) {
    WrapPutStr(rgn, text.help[lang], kBoxX, 420, kBoxWidth, kHelpColour, kBackground, 5, 12, 3);
  }
}

void configDrawLegend() {
  TAP_Osd_FillBox(rgn, kBoxX, 413, kBoxWidth, 2, 0xFF999999);
  // Two rows: one does not hold the six elements in either language.
  int x = kBoxX;
  x = drawLegendElement(x, 525, kBoxRight, &_Button_record_Gd, (int)_Button_record_Gd.width,
                        Text(text_LegendSave));
  x = drawLegendElement(x, 525, kBoxRight, &_Button_exit_Gd, (int)_Button_exit_Gd.width,
                        Text(text_LegendDiscard));
  drawLegendElement(x, 525, kBoxRight, &_Button_stop_Gd, (int)_Button_stop_Gd.width,
                    Text(text_LegendStop));
  x = kBoxX;
  x = drawLegendElement(x, 549, kBoxRight, &_Button_ok_Gd, (int)_Button_ok_Gd.width,
                        Text(text_LegendChange));
  TAP_Osd_PutGd(rgn, x, 549, &_Button_left_Gd, 1);
  x = drawLegendElement(x + (int)_Button_left_Gd.width + 2, 549, kBoxRight, &_Button_right_Gd,
                        (int)_Button_right_Gd.width, Text(text_LegendCycle));
  drawLegendElement(x, 549, kBoxRight, &_Button_info_Gd, (int)_Button_info_Gd.width,
                    Text(text_LegendCredits));
}

void CloseConfigWindow() {
  configWindowShowing = 0;
  if (CalledByTSRCommander) {
    CalledByTSRCommander = 0;
    if (rgn != NO_REGION) TAP_Osd_FillBox(rgn, 0, 0, 720, 576, 0);
    DeleteFullScreenRegion();
    TAP_Osd_Sync();
    TAP_EnterNormal();
  } else {
    returnFromConfig = 1;
  }
}

// ------------------------------------------------------------ credits

void ActivateCreditsWindow() {
  if (rgn == NO_REGION) return;
  creditsShowing = 1;
  DrawCredits();
  TAP_Osd_Sync();
}

dword CreditsKeyHandler(dword key) {
  lastKeyHandler = "CreditsKeyHandler";
  if (key == RKEY_Exit) {
    creditsShowing = 0;
    returnFromCredits = 1;
  }
  return 0;
}
