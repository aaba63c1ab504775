// Idle processing: the application's only clock. Playback tracking, history
// saving, periodic duties, one step of each long operation, requests posted
// from outside the key path, and keeping the visible list current.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/log.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "config/ConfigMenu.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"

byte oldSec, oldMin, oldHour;
int generateYoutubeKeys;
char youtubeSearchString[127];
int youtubeSearchStringLength;
int ScrollDelay_count, ScrollPause_count;
int MenuScrollDelay_count, MenuScrollPause_count;

namespace {

void GenerateKey(dword key) { TAP_GenerateEvent(EVT_KEY, KeyReverseTranslate(key), 0); }

// The firmware's search keyboard: three screens of five rows of ten
// characters (ISO 8859-1).
const char* const kKeyboard[3][5] = {
    {"abcdefghij", "klmnopqrst", "uvwxyz\xE4\xF6\xFC\xDF", ".-?+*'!&()", "0123456789"},
    {"ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ\xC4\xD6\xDC\xDF", ":/_~,%=@{}", "0123456789"},
    {"\xC0\xC1\xC2\xC5\xC6\xC7\xC8\xC9\xCA\xCC", "\xCD\xCE\xD1\xD2\xD3\xD4\xD8\xD9\xDA\xDB",
     "\xE0\xE1\xE2\xE5\xE6\xE7\xE8\xE9\xEA\xEC", "\xED\xEE\xF1\xF2\xF3\xF4\xF8\xF9\xFA\xFB",
     "0123456789"}};

// Where the firmware's keyboard cursor is, and how far the text is typed.
int kbScreen, kbRow, kbColumn, kbPosition;

bool FindCharacter(byte c, int* screen, int* row, int* column) {
  for (int s = 0; s < 3; s++) {
    for (int r = 0; r < 5; r++) {
      for (int k = 0; k < 10; k++) {
        if ((byte)kKeyboard[s][r][k] == c) {
          *screen = s;
          *row = r;
          *column = k;
          return true;
        }
      }
    }
  }
  return false;
}

// The firmware's search keyboard is in its start position.
bool YoutubeKeyboardShowing() {
  const dword grey = 0xFF464646;
  return TAP_Osd_GetPixel(0, 71, 133) == grey && TAP_Osd_GetPixel(0, 71, 153) == grey &&
         TAP_Osd_GetPixel(0, 71, 173) == grey && TAP_Osd_GetPixel(0, 71, 193) == grey &&
         TAP_Osd_GetPixel(0, 81, 133) == grey && TAP_Osd_GetPixel(0, 81, 153) == 0xFFFFAF0E &&
         TAP_Osd_GetPixel(0, 81, 173) == 0xFFFF901B && TAP_Osd_GetPixel(0, 81, 193) == 0xFF1E1E1E;
}

// Step 11: the list reopens; a stop-menu follow-up acts on the selected entry.
// Whether the list line is the very file the stop menu played: the same
// name in the same folder, and still on the disk. A namesake in another
// folder (the list's home after the played file's folder went) is not it.
bool IsPlayedFile(const FileRecord* line) {
  if (!line || line->attribute != ATTRIBUTE_FILE ||
      strncmp(line->name, filename_toProcess, sizeof filename_toProcess) != 0)
    return false;
  char played[PATH_BUFFER_SIZE];
  snprintf(played, sizeof played, "%s", CurrentPlayback_folderPath);
  if (StringEndsWith(played, ".inf") || StringEndsWith(played, ".nav"))
    played[strlen(played) - 4] = 0;
  char path[PATH_BUFFER_SIZE];
  snprintf(path, sizeof path, "%s%.200s/%.126s", SYSTEM_ROOT, line->folderPath, line->name);
  return strcmp(played, path) == 0 && HDD_Exist(path);
}

void ReturnToList() {
  int followUp = activateReturnToQuembryList_fromStopMenu;
  ActivationRoutine();
  if (followUp >= 2 && followUp <= 4 && filename_toProcess[0]) {
    FileRecord* line = chosenLine > 0 ? FileSlot(CurrentDirNumber, chosenLine) : nullptr;
    bool matches = IsPlayedFile(line);
    if (matches) {
      if (followUp == 2) {
        if (ForceDelPromptOnStopMenu) forceDeleteConfirmation = 1;
        repeat_AcceptBlueEnd = 1;
        GenerateKey(RKEY_FLAG_RELEASED | RKEY_Blue);
      } else if (followUp == 3) {
        GenerateKey(RKEY_Option);
      } else {
        GenerateKey(RKEY_Yellow);
      }
    } else {
      AppText& title = followUp == 2   ? text_DeleteFailedTitle
                       : followUp == 3 ? text_RenameFailedTitle
                                       : text_MoveFailedTitle;
      // The played file as the firmware named it, in the list's terms.
      char played[PATH_BUFFER_SIZE];
      snprintf(played, sizeof played, "%s", CurrentPlayback_folderPath);
      if (StringEndsWith(played, ".inf")) played[strlen(played) - 4] = 0;
      const char* shown = strncmp(played, SYSTEM_ROOT "/", 8) == 0 ? played + 7 : played;
      ShowMessageWinX(rgn, Text(title), Text(text_PlayedFileGone),
                      shown[0] ? shown : filename_toProcess, 300);
    }
    memset(filename_toProcess, 0, sizeof filename_toProcess);
  }
  activateReturnToQuembryList = 0;
  activateReturnToQuembryList_fromStopMenu = 0;
  activateReturnToQuembryList_fromTagsmith = 0;
}

// Step 19, on a new minute: the clock and the lines that change by themselves.
void RefreshChangingLines() {
  UpdateListClock(ClockColour);
  // Rows span the screen: redrawn now they would cross a pop-up, and not
  // every yes/no window is a delete confirmation.
  if (infoWindowShowing || moveWindowShowing || deleteWindowShowing || stopmenuWindowShowing ||
      MessageWindowShowing || yesnoWindowShowing) {
    return;
  }
  if (inPlaybackMode && playbackOnScreenEntry > 0) {
    SetPlaybackStatus(CurrentDirNumber, playbackOnScreenEntry);
    DisplayQuembryLine(playbackOnScreenEntry, playbackOnScreenLine);
  }
  const int entries[4] = {recordingOnScreenEntry1, recordingOnScreenEntry2, recordingOnScreenEntry3,
                          recordingOnScreenEntry4};
  const int lines[4] = {recordingOnScreenLine1, recordingOnScreenLine2, recordingOnScreenLine3,
                        recordingOnScreenLine4};
  if (entries[0] > 0 || entries[1] > 0 || entries[2] > 0 || entries[3] > 0) {
    GetRecordingInfo();
    for (int k = 0; k < 4; k++) {
      if (entries[k] <= 0) continue;
      LoadRecordingInfo(CurrentDirNumber, entries[k]);
      DisplayQuembryLine(entries[k], lines[k]);
    }
  }
}

// One step of a scrolling name; `delay` and `pause` are the caller's counters.
void ScrollStep(int* delay, int* pause, int reload, void (*redraw)()) {
  if (*delay > 0) {
    (*delay)--;
  } else if (scrollTextIndex == 1 && *pause < 50) {
    (*pause)++;
  } else {
    *pause = 0;
    redraw();
    *delay = reload;
  }
  TAP_Osd_Sync();
}

void RedrawSelectedLine() { DrawQuembryLine(chosenLine, printLine); }
void RedrawScrollDelayLine() { DisplayConfigLine(19); }

}  // namespace

void ConvertStringIntoKeyboard(const char* text) {
  if (generateYoutubeKeys == 0) {
    kbScreen = kbRow = kbColumn = kbPosition = 0;
    generateYoutubeKeys = 1;
  }
  // The previous search text goes first, four characters a step.
  if (youtubeSearchStringLength > 0) {
    for (int sent = 0; sent < 4 && youtubeSearchStringLength > 0; sent++) {
      youtubeSearchStringLength--;
      GenerateKey(RKEY_Rewind);
    }
    return;
  }
  byte c = text ? (byte)text[kbPosition] : 0;
  if (c == 0 || kbPosition >= (int)sizeof youtubeSearchString - 1) {
    if (ReplaceYoutubeKeyboard < 2) GenerateKey(RKEY_Stop);
    youtubeSearchStringLength = kbPosition;
    generateYoutubeKeys = 0;
    return;
  }
  int screen, row, column;
  if (!FindCharacter(c, &screen, &row, &column)) {
    GenerateKey(RKEY_Forward);
    kbPosition++;
    return;
  }
  if (kbScreen != screen) {
    while (kbScreen != screen) {
      GenerateKey(RKEY_Play);
      kbScreen = (kbScreen + 1) % 3;
    }
    return;
  }
  if (kbRow != row) {
    while (kbRow != row) {
      GenerateKey(kbRow < row ? RKEY_ChDown : RKEY_ChUp);
      kbRow += kbRow < row ? 1 : -1;
    }
    return;
  }
  if (kbColumn != column) {
    for (int sent = 0; sent < 4 && kbColumn != column; sent++) {
      GenerateKey(kbColumn < column ? RKEY_VolUp : RKEY_VolDown);
      kbColumn += kbColumn < column ? 1 : -1;
    }
    if (kbColumn != column) return;
  }
  GenerateKey(RKEY_Ok);
  kbPosition++;
}

void ReturnFromYoutubeKeyboard(const char* text, int result) {
  DeleteFullScreenRegion();
  if (result == 1 && text && text[0]) {
    snprintf(youtubeSearchString, sizeof youtubeSearchString, "%.126s", text);
    ConvertStringIntoKeyboard(youtubeSearchString);
  } else {
    GenerateKey(RKEY_Exit);
    GenerateKey(RKEY_Mute);
    GenerateKey(RKEY_Mute);
  }
}

void My_IdleHandler() {
  static byte oldMin_lastActionTick = 0;
  static dword NextCheck_AliveLogging = 0;
  static dword NextCheck_AutoRename = 0;
  static dword prevTickTime_moveBackground = 0;

  // 1. Typing into the firmware's search screen, one step every third event.
  if (generateYoutubeKeys) {
    if (generateYoutubeKeys < 3) {
      generateYoutubeKeys++;
    } else {
      generateYoutubeKeys = 1;
      ConvertStringIntoKeyboard(youtubeSearchString);
    }
    return;
  }
  // 2.
  if (resetYoutubeSearchString) {
    resetYoutubeSearchString = 0;
    dword state = 0, subState = 0;
    TAP_GetState(&state, &subState);
    if (!(state == 1 && subState == 101)) {
      youtubeSearchStringLength = 0;
      youtubeSearchString[0] = 0;
    }
  }
  // 3. Playback tracking; a finished playback starts the next selected file.
  int inPlaybackMode_prev = inPlaybackMode;
  CheckPlaybackStatus();
  if (inPlaybackMode_prev && !inPlaybackMode && !processInBackground && MultiSelect) {
    MultiSelectStartPlayback(0, 0);
    // Started from idle while the list is hidden: there is no list to close.
    if (exitFlag && !windowShowing) exitFlag = 0;
    if (exitFlag) {
      ExitRoutine();
      exitFlag = 0;
    }
  }
  // 4. The history is saved at most every two minutes.
  currentTickTime = TAP_GetTick();
  if (currentTickTime - playbackInfoTick > 12000 && playinfoChanged) {
    SaveDatToFile();
    playbackInfoTick = currentTickTime;
    playinfoChanged = 0;
  }
  // 5.
  word mjd = 0;
  byte hour = 0, min = 0, sec = 0;
  TAP_GetTime(&mjd, &hour, &min, &sec);
  if (stopmenuWindowShowing && sec != oldSec) {
    oldSec = sec;
    DisplayStopMenuProgress();
    TAP_Osd_Sync();
  }
  // 6. Multistep actions.
  if (STOP_MENU_multistep) {
    StopMenuMultistepAction();
    return;
  }
  if (Tagsmith_multistep) {
    TagsmithMultistepAction();
    if (exitFlag == 1) {
      ExitRoutine();
      exitFlag = 0;
    }
    return;
  }
  if (TAPManager_multistep) {
    TAPManagerMultistepAction();
    if (exitFlag == 1) {
      ExitRoutine();
      exitFlag = 0;
      exitFlagTAPManager = 0;
    }
    return;
  }
  // 7. Once a minute.
  if (min != oldMin_lastActionTick) {
    oldMin_lastActionTick = min;
    if (inPlaybackMode && currentTickTime - lastActionTick <= 59999) {
      lastActionTick = currentTickTime;
      lastActionTickPrev = currentTickTime;
    }
    if (AliveLoggingFreq != 0 && currentTickTime >= NextCheck_AliveLogging) {
      WriteLog_Alive(LOG_ALIVE);
      NextCheck_AliveLogging = currentTickTime + (dword)AliveLoggingFreq - 5;
    }
  }
  // 8. Once an hour (and on the first event after start-up).
  if (hour != oldHour) {
    oldHour = hour;
    if (recycleBinCleanoutOption == 2 && hour == RecycleBinCleanoutTime) {
      GotoDataFiles();
      DeleteDirRecycleFiles("/DataFiles", 1);
      GotoPath(CurrentDir);
    }
    if (recycleBinCleanoutOption != 0 && recycleBinThresholdOption != 0 &&
        TAP_Hdd_FreeSize() / 1024 < (dword)recycleBinThresholdOption) {
      EmptyOldestRecycleBin();
    }
    if (recycleBinCleanoutOption != 0 && RecycleBinAfterXDays != 0) {
      EmptyRecycleBinAfterXDays(mjd, hour);
    }
  }
  // 9. Moves.
  if (processInBackground == 1 && !yesnoWindowShowing) {
    if (currentTickTime - prevTickTime_moveBackground >= 101) {
      prevTickTime_moveBackground = currentTickTime;
      BackgroundMove();
      if (returnFromMove) {
        processInBackground = 0;
        moveAcrossMount = 0;
        moveInBackgroundPID = 0;
        if (moveWindowShowing) CloseQuembryMoveWindow();
        CheckFlags();
      }
    }
  } else if (moveWindowShowing && fileMoved && MultiSelect) {
    CommenceMoveProcess();
    CheckFlags();
  }
  if (processInBackground == 2) CheckTagsmithPrepare();
  // 10. The next delete of a multi-selection.
  if (fileDeleted_MultiSelect && MultiSelect && !deleteWindowShowing) {
    MultiSelectItem* item = MultiSelect;
    MultiSelect_CheckFileNumber(item);
    FileRecord* line = item->folderNumber >= 0 && item->folderNumber < MAX_FOLDERS &&
                               item->entryIndex > 0 && item->entryIndex < MAX_SLOTS
                           ? FileSlot(item->folderNumber, item->entryIndex)
                           : nullptr;
    delete_CurrentDirNumber = item->folderNumber;
    delete_chosenLine = item->entryIndex;
    if (line) {
      currentFile = *line;
      if (myfolders[item->folderNumber]) currentFolder = *myfolders[item->folderNumber];
      ActivateDeleteWindow(line->name, line->attribute);
    } else {
      fileDeleted_MultiSelect = 0;  // the item is gone: no window to chain
    }
    CheckFlags();
  }
  // 11 .. 14. Requests posted from outside the key path.
  if (activateReturnToQuembryList || activateReturnToQuembryList_fromStopMenu ||
      activateReturnToQuembryList_fromTagsmith) {
    ReturnToList();
    return;
  }
  if (activateStopMenu) {
    ActivateStopMenuWindow();
    activateStopMenu = 0;
    return;
  }
  if (activateTagsmithPrepareQuembry) {
    TagsmithPrepareQuembry();
    activateTagsmithPrepareQuembry = 0;
    return;
  }
  if (activateYoutubeKeyboard) {
    activateYoutubeKeyboard = 0;
    if (YoutubeKeyboardShowing()) {
      CreateFullScreenRegion();
      ActivateKeyboard(youtubeSearchString, 127, ReturnFromYoutubeKeyboard, 1);
    }
  }
  // 15. Automatic renaming.
  if (AutoRenameCheckFreq != 0 && NextCheck_AutoRename < currentTickTime) {
    AutoRenameSearchFiles();
    NextCheck_AutoRename = currentTickTime + (dword)AutoRenameCheckFreq;
  }
  // 16.
  if (keyboardWindowShowing && !keyboardHelpWindowShowing) KeyboardCursorBlink();
  // 17 .. 19. The visible list.
  if (!windowShowing) return;
  if (configWindowShowing) {
    if (currentScrollDelay != 0 && menuNumber == 6 && chosenConfigLine == 19) {
      ScrollStep(&MenuScrollDelay_count, &MenuScrollPause_count, currentScrollDelay,
                 RedrawScrollDelayLine);
      return;
    }
    TAP_Osd_Sync();
    return;
  }
  if (min != oldMin) {
    if (quembryHelpWindowShowing || keyboardHelpWindowShowing || keyboardWindowShowing) return;
    oldMin = min;
    RefreshChangingLines();
  }
  if (infoWindowShowing || moveWindowShowing || deleteWindowShowing || stopmenuWindowShowing ||
      quembryHelpWindowShowing || MessageWindowShowing || allrecycleWindowShowing ||
      yesnoWindowShowing || keyboardWindowShowing) {
    return;
  }
  if (sec != oldSec) {
    oldSec = sec;
    FileRecord* line = chosenLine > 0 ? FileSlot(CurrentDirNumber, chosenLine) : nullptr;
    bool recording = line && line->recordingNow;
    if (recording) {
      GetRecordingInfo();
      LoadRecordingInfo(CurrentDirNumber, chosenLine);
    }
    // A recording that goes on has only its progress redrawn; one that has
    // just ended gets its whole description back.
    if (recording && line->recordingNow) {
      UpdateRecordingSelectionText(chosenLine);
    } else {
      UpdateSelectionNumber();
    }
  }
  // 20. A long selected name scrolls.
  FileRecord* line = chosenLine > 0 ? FileSlot(CurrentDirNumber, chosenLine) : nullptr;
  if (ScrollDelay != 0 && line && line->attribute == ATTRIBUTE_FILE && scrollFilenameEligible) {
    ScrollStep(&ScrollDelay_count, &ScrollPause_count, ScrollDelay, RedrawSelectedLine);
    return;
  }
  // 21.
  TAP_Osd_Sync();
}
