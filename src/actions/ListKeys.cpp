// The keys of the Quembry list: moving the selection, paging, the release
// keys with their long presses, sort orders, and the hand-over to the
// actions (playback, delete, move, rename, info, stop menu, menus).
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "config/ConfigMenu.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

int repeating_key;
int repeat_AcceptBlueEnd;
int repeat_AcceptPlayListEnd;
int repeat_DropInfoEnd;
int forceDeleteNotRecycle;
int TAPManager_closeFirst;

// The lines of a page as the list draws them: a spacing or extra-line value
// from outside the menus counts as the nearest menu choice the drawing takes.
int ListLinesPerPage() { return (LineSpacingOption == 1 ? 14 : 9) + (ExtraLineOption ? 1 : 0); }

namespace {

constexpr dword kBackground = 0xFF101010;
constexpr dword kTextColour = 0xFFFAFAFA;

// Keys whose setting may also read "Undefined".
bool Assigned(int setting) { return setting != 0 && setting != (int)RKEY_Undefined; }
bool Is(dword key, int setting) { return Assigned(setting) && key == (dword)setting; }

bool Released(dword key) { return (key & RKEY_FLAG_RELEASED) != 0; }
bool Held(dword key) { return (key & RKEY_FLAG_HELD) != 0; }
dword Base(dword key) { return key & RKEY_MASK; }

bool ManagerView() { return TAPManagerMode != 0; }
bool RecycleView() { return recycleWindowMode != 0; }

FileRecord* Selected() {
  if (chosenLine < 1 || chosenLine >= MAX_SLOTS) return nullptr;
  return FileSlot(CurrentDirNumber, chosenLine);
}

bool IsParentLine(const FileRecord* line) {
  return line && (line->attribute == ATTRIBUTE_PARENT || line->attribute == 240);
}

void Message(AppText& title, AppText& line1, const char* line2) {
  ShowMessageWinX(rgn, Text(title), Text(line1), line2, 300);
}

void BackgroundMessage(AppText& line1) {
  Message(text_BackgroundTitle, line1, Text(text_DuringBackground));
}

void CopySelection() {
  FileRecord* line = Selected();
  if (line) currentFile = *line;
  if (myfolders[CurrentDirNumber]) currentFolder = *myfolders[CurrentDirNumber];
}

void OpenInfoWindow() {
  FileRecord* line = Selected();
  if (!line || line->attribute == ATTRIBUTE_PARENT || line->recordingNow) return;
  CopySelection();
  ActivateInfoWindow(0);
}

void RememberForDelete() {
  delete_CurrentDirNumber = CurrentDirNumber;
  delete_chosenLine = chosenLine;
  CopySelection();
}

void OpenDeleteWindow() {
  FileRecord* line = Selected();
  if (!line || IsParentLine(line)) return;
  RememberForDelete();
  ActivateDeleteWindow(line->name, line->attribute);
}

void AskMultiDelete(bool forDelete) {
  char line2[128];
  const char* verb = forDelete ? Text(text_WantToDelete) : Text(text_WantToRecycle);
  snprintf(line2, sizeof line2, "%.45s %d %.45s", verb, MultiSelectCount(), Text(text_Files));
  DisplayYesNoWindow(Text(text_DeleteConfirmTitle), Text(text_MultipleSelected), line2,
                     Text(text_Yes), Text(text_No), DeleteConfirmDefault == 1 ? 0 : 1,
                     ReturnFromMultiSelectDeleteYesNo);
}

// Full-screen reload after a change of view or file filter.
void ReloadCatalogue() {
  int depth = DefaultRecursiveDepth == 0 ? 99 : DefaultRecursiveDepth;
  reloadInitialQuembryInfo(depth, 0);
  if (CurrentDirNumber > 0) loadSubsequentQuembryInfo(depth);
}

void ShowLoading() {
  PrintLoading();
  TAP_Osd_Sync();
}

// ------------------------------------------------------------ navigation

bool EmptyFolder(const FileRecord* line) {
  if (!line || line->attribute != ATTRIBUTE_FOLDER) return false;
  int n = line->folderNumber;
  if (n < 0 || n >= MAX_FOLDERS || !myfolders[n]) return true;
  return myfolders[n]->subfolderCount == 0 && myfolders[n]->fileCount == 0;
}

// Redraws after a move: the rows alone when the selection stayed on its page.
void AfterMove(int oldLine, int oldPrint, bool full, int forward) {
  int L = ListLinesPerPage();
  if (HideEmptyFolders) {
    int redraw = 0;
    FindNextFolder(forward, &redraw);
    if (redraw) full = true;
    if (EmptyFolder(Selected())) chosenLine = 0;
  }
  page = chosenLine > 0 ? (chosenLine - 1) / L : 0;
  // The window of visible entries starts at chosenLine - printLine + 1.
  if (full || chosenLine - printLine != oldLine - oldPrint) {
    RefreshQuembryList(0);
  } else {
    if (oldLine > 0) DisplayQuembryLine(oldLine, oldPrint);
    if (chosenLine > 0) DisplayQuembryLine(chosenLine, printLine);
    DrawBackground();  // the title counts the selection
    UpdateListClock(ClockColour);
    UpdateSelectionNumber();
  }
  TAP_Osd_Sync();
}

void MoveDown() {
  int L = ListLinesPerPage();
  int oldLine = chosenLine, oldPrint = printLine;
  bool full = false;
  if (chosenLine < maxShown) {
    chosenLine++;
    printLine++;
    if (printLine > L) {
      printLine = 1;
      full = true;
    }
  } else {
    chosenLine = printLine = maxShown > 0 ? 1 : 0;
    full = true;
  }
  AfterMove(oldLine, oldPrint, full, 1);
}

void MoveUp() {
  int L = ListLinesPerPage();
  int oldLine = chosenLine, oldPrint = printLine;
  bool full = false;
  if (chosenLine >= 2) {
    chosenLine--;
    printLine--;
    if (printLine < 1) {
      printLine = L;
      full = true;
    }
  } else {
    chosenLine = maxShown;
    printLine = L;
    full = true;
  }
  if (full && chosenLine < L) printLine = chosenLine;
  AfterMove(oldLine, oldPrint, full, 0);
}

// Steps one visible entry at a time (empty folders hidden) at most `steps`
// times; hidden folders take no screen line.
void StepVisible(int steps, bool forward) {
  int L = ListLinesPerPage();
  for (int k = 0; k < steps; k++) {
    int next = chosenLine;
    do {
      next += forward ? 1 : -1;
    } while (next >= 1 && next <= maxShown && EmptyFolder(FileSlot(CurrentDirNumber, next)));
    if (next < 1 || next > maxShown) break;
    printLine += forward ? 1 : -1;
    chosenLine = next;
  }
  if (printLine < 1) printLine = 1;
  if (printLine > L) printLine = L;
}

void PageDown() {
  int L = ListLinesPerPage();
  int oldLine = chosenLine, oldPrint = printLine;
  if (printLine < L && chosenLine < maxShown) {
    if (HideEmptyFolders) {
      StepVisible(L - printLine, true);
    } else {
      chosenLine += L - printLine;
      printLine = L;
    }
  } else if (chosenLine >= maxShown) {
    chosenLine = printLine = maxShown > 0 ? 1 : 0;
  } else {
    chosenLine += L - 1;
    printLine = L;
  }
  if (chosenLine > maxShown) {
    chosenLine = maxShown;
    printLine = maxShown < L ? maxShown : L;
  }
  AfterMove(oldLine, oldPrint, true, 1);
}

void PageUp() {
  int L = ListLinesPerPage();
  int oldLine = chosenLine, oldPrint = printLine;
  if (printLine >= 2) {
    if (HideEmptyFolders) {
      StepVisible(printLine - 1, false);
    } else {
      chosenLine -= printLine - 1;
      printLine = 1;
    }
  } else if (chosenLine <= 1) {
    chosenLine = maxShown;
    printLine = maxShown < L ? maxShown : L;
  } else if (chosenLine > L) {
    chosenLine -= L;
    printLine = 1;
  } else {
    chosenLine = printLine = 1;
  }
  AfterMove(oldLine, oldPrint, true, 0);
}

void SelectScreenLine(int d) {
  if (HideEmptyFolders) return;
  int L = ListLinesPerPage();
  if (d > L) return;
  int target = chosenLine - printLine + d;
  if (target < 1 || target > maxShown) return;
  int oldLine = chosenLine, oldPrint = printLine;
  chosenLine = target;
  printLine = d;
  AfterMove(oldLine, oldPrint, false, 1);
}

void NextSortOrder() {
  const int* hidden[6] = {&HideSortOption0, &HideSortOption1, &HideSortOption2,
                          &HideSortOption3, &HideSortOption4, &HideSortOption5};
  // An order from outside the six (a hand-edited settings file) steps to the first.
  int order = sortOrder < 0 || sortOrder > 5 ? -1 : sortOrder;
  for (int tries = 0; tries < 7; tries++) {
    order = order >= 5 ? 0 : order + 1;
    if (!*hidden[order]) break;
  }
  sortOrder = order;
  char name[NAME_FIELD] = "";
  FileRecord* line = Selected();
  if (line) snprintf(name, sizeof name, "%s", line->name);
  SortList(sortOrder);
  chosenLine = 0;
  int count = myfolders[CurrentDirNumber] ? myfolders[CurrentDirNumber]->entryCount : 0;
  for (int j = 1; name[0] && j <= count && j < MAX_SLOTS; j++) {
    FileRecord* candidate = FileSlot(CurrentDirNumber, j);
    if (candidate && strncmp(candidate->name, name, NAME_FIELD) == 0) {
      chosenLine = j;
      break;
    }
  }
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}

// ------------------------------------------------------------ rules

void GoToTopFolder() {
  if (CurrentDirNumber == 0) return;
  const char* top = ManagerView() ? "/ProgramFiles" : "/DataFiles";
  GotoPath(top);
  SetCurrentDir(top);
  CurrentDirNumber = 0;
  maxShown = numberOfFiles = myfolders[0] ? myfolders[0]->entryCount : 0;
  chosenLine = maxShown > 0 ? 1 : 0;
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}

void RestartLastKey() {
  PlayedFileEntry* last = playedFiles[0];
  if (last && last->totalBlocks > 1) {
    if (RestartLastPlayback() == 0) exitFlag = 1;
  } else {
    ShowMessageWinX(rgn, Text(text_NoLastPlaybackTitle), Text(text_NoLastPlaybackLine1),
                    Text(text_NoLastPlaybackLine2), 300);
  }
}

void ResetProgress() {
  if (chosenLine < 1) return;
  DeleteProgressInfo(CurrentDirNumber, chosenLine, 1);
  DisplayQuembryLine(chosenLine, printLine);
  TAP_Osd_Sync();
}

void ManagerKey() {
  if (processInBackground) {
    BackgroundMessage(text_TapManagerDisabled);
  } else {
    InvokeTAPManager();
  }
}

void FileSuffix() {
  if (MultiSelect) {
    Message(text_MultiNotAvailable, text_MultiCannotBeUsed, Text(text_WhenChangingSuffix));
    return;
  }
  ShowLoading();
  if (ManagerView()) {
    TAPManagerMode = TAPManagerMode == 1 ? 2 : 1;
  } else {
    tempFileSuffixOption = tempFileSuffixOption >= 2 ? 0 : tempFileSuffixOption + 1;
  }
  ReloadCatalogue();
  DetermineStartingLine(&chosenLine);
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}

void GiveFileListToFirmware() {
  generatedPlayList = 1;
  exitFlag = 1;
  TAP_GenerateEvent(EVT_KEY, KeyReverseTranslate(RKEY_PlayList), 0);
}

void ClearTitleArea() {
  PrintCenter(rgn, 53, (dword)yOffsetOption, 501, "", kTextColour, kBackground, 18);
  TAP_Osd_Sync();
}

void ClearDiskUsageArea() {
  int L = ListLinesPerPage();
  int P = LineSpacingOption == 1 ? 29 : 42;
  dword B = (dword)(L * P + yOffsetOption);
  PrintCenter(rgn, 263, B + 89, 521, "", kTextColour, kBackground, 14);
  TAP_Osd_Sync();
}

void LongPressAction(dword base) {
  if (base == RKEY_PlayList) {
    switch (fileListLongKeyOption) {
      case 0:
        GiveFileListToFirmware();
        break;
      case 1:
        if (!ManagerView() && !RecycleView()) {
          InvokeTAPManager_AutoStart();
        } else {
          RefreshQuembryList(0);
        }
        break;
      case 2:
        if (!ManagerView() && !RecycleView()) {
          InvokeTAPManager();
        } else {
          RefreshQuembryList(0);
        }
        break;
      default:
        RefreshQuembryList(0);
        break;
    }
  } else if (base == (dword)TAPManagerKey && Assigned(TAPManagerKey)) {
    if (!ManagerView() && !RecycleView()) {
      InvokeTAPManager_AutoStart();
    } else {
      RefreshQuembryList(0);
    }
  } else if (base == (dword)MultiSelectKey && MultiSelectKey != 0) {
    if (RecycleView()) return;
    if (MultiSelect) {
      if (processInBackground) {
        BackgroundMessage(text_MultiDisabled);
      } else {
        MultiSelectClearAll();
        ShowMessageWinX(rgn, Text(text_MultiClearedTitle), Text(text_MultiClearedLine1), "", 300);
        RefreshQuembryList(0);
      }
    } else {
      DisplayYesNoWindow(Text(text_MultiAllTitle), Text(text_MultiAllLine1),
                         Text(text_MultiAllLine2), Text(text_Yes), Text(text_No), 0,
                         ReturnFromMultiSelectAllYesNo);
    }
  } else if (base == RKEY_Info) {
    RefreshQuembryList(0);
    if (TagsmithKey == (int)RKEY_Info || ManagerView()) {
      OpenInfoWindow();
    } else {
      InvokeTagsmith();
    }
  } else if (base == RKEYN_Blue) {
    RefreshQuembryList(0);
    FileRecord* line = Selected();
    if (RecycleView() || !line) return;
    forceDeleteNotRecycle = 1;
    if (MultiSelect && !processInBackground) {
      if (recycleBinOption < 3) AskMultiDelete(true);
    } else {
      OpenDeleteWindow();
    }
  }
}

bool StartsLongPress(dword base) {
  return base == RKEY_PlayList || base == RKEY_Info || base == RKEYN_Blue ||
         (MultiSelectKey != 0 && base == (dword)MultiSelectKey) ||
         (Assigned(TAPManagerKey) && base == (dword)TAPManagerKey);
}

void BlueRelease() {
  if (!repeat_AcceptBlueEnd) return;
  repeat_AcceptBlueEnd = 0;
  forceDeleteNotRecycle = 0;
  FileRecord* line = Selected();
  if (RecycleView()) {
    if (line && line->attribute == ATTRIBUTE_FILE) {
      RememberForDelete();
      DeleteRecycledFile();
    }
    return;
  }
  if (!line) return;
  if (MultiSelect && !processInBackground) {
    if (recycleBinOption == 0) {
      AskMultiDelete(true);
    } else if (recycleBinOption == 1 || recycleBinOption == 2) {
      AskMultiDelete(false);
    }
    return;
  }
  OpenDeleteWindow();
}

void FileListRelease() {
  if (!repeat_AcceptPlayListEnd) return;
  repeat_AcceptPlayListEnd = 0;
  switch (fileListKeyOption) {
    case 0:
      GiveFileListToFirmware();
      break;
    case 2:
      exitFlag = 1;
      break;
    case 3:
      if (!RecycleView()) ManagerKey();
      break;
    default:
      break;
  }
}

void InfoRelease() {
  if (repeat_DropInfoEnd) {
    repeat_DropInfoEnd = 0;
    TAP_Osd_Sync();
    return;
  }
  OpenInfoWindow();
}

bool ManagerMultiRefusal() {
  if (ManagerView() && MultiSelect) {
    Message(text_MultiNotAvailable, text_MultiCannotBeUsed, Text(text_WhenStoppingStarting));
    return true;
  }
  return false;
}

void OkKey() {
  FileRecord* line = Selected();
  if (RecycleView()) {
    if (line && line->attribute != ATTRIBUTE_FILE) QuembryAction(chosenLine);
    return;
  }
  if (ManagerView()) {
    if (ManagerMultiRefusal()) return;
    if (line && line->attribute == ATTRIBUTE_FILE &&
        IsFileTAP_Active(line->name, line->folderPath)) {
      ActivateStopWindow(line->name);
      return;
    }
    TAPManager_closeFirst = 0;
  }
  bool file = line && line->attribute == ATTRIBUTE_FILE;
  if (okPlayOption == 0) {
    if (file && MultiSelect && !processInBackground) {
      MultiSelectStartPlayback(0, 0);
    } else if (line) {
      QuembryAction(chosenLine);
    }
  } else if (okPlayOption == 1) {
    if (file && MultiSelect) {
      MultiSelectStartPlayback(0, 0);
    } else if (file) {
      RestartPlayback(chosenLine, 0);
    } else if (line) {
      QuembryAction(chosenLine);
    }
  }
}

void PlayKey() {
  if (RecycleView()) return;
  if (ManagerMultiRefusal()) return;
  if (MultiSelect && !processInBackground) {
    MultiSelectStartPlayback(0, 0);
    return;
  }
  FileRecord* line = Selected();
  if (!line || line->attribute != ATTRIBUTE_FILE) return;
  if (ManagerView()) TAPManager_closeFirst = 1;
  if (okPlayOption == 0) {
    RestartPlayback(chosenLine, 0);
  } else if (okPlayOption == 1) {
    RestartPlayback(chosenLine, 1);
  }
}

void StopKey() {
  if (RecycleView()) return;
  if (ManagerMultiRefusal()) return;
  FileRecord* line = Selected();
  // In the manager view "playing now" is an application that runs.
  bool running = line && line->playingNow && (inPlaybackMode || ManagerView());
  if (line && (line->recordingNow || running)) ActivateStopWindow(line->name);
}

void YellowKey() {
  if (processInBackground == 1) {
    DisplayYesNoWindow(Text(text_CancelCopyTitle), Text(text_CancelCopyLine1), "", Text(text_Yes),
                       Text(text_No), 0, ReturnFromCancelBackgroundMoveYesNo);
    return;
  }
  if (processInBackground) {
    BackgroundMessage(text_MultiDisabled);
    return;
  }
  if (RecycleView()) {
    DeleteDirRecycleBinWindow();
    return;
  }
  FileRecord* line = Selected();
  if (MultiSelect) {
    ActivateMoveWindow();
    populateMoveFileList();
    DisplayQuembryMoveFolderList();
    return;
  }
  if (!line) return;
  if (line->playingNow && inPlaybackMode) {
    Message(text_MoveNotAllowed, text_MovingPlaying, Text(text_IsNotAllowed));
    return;
  }
  if (numberOfFolders == 0) {
    Message(text_MoveNotAllowed, text_NoSubdirectories, Text(text_AvailableToMove));
    return;
  }
  if (IsParentLine(line) || line->recordingNow) return;
  CopySelection();
  ActivateMoveWindow();
  populateMoveFileList();
  DisplayQuembryMoveFolderList();
}

void RenameKey() {
  if (RecycleView()) {
    ActivateAllRecycleWindow();
    return;
  }
  FileRecord* line = Selected();
  if (!line || IsParentLine(line)) return;
  if (line->recordingNow) {
    Message(text_RenameNotAllowed, text_RenamingRecording, Text(text_IsNotAllowed));
  } else if (line->playingNow && inPlaybackMode) {
    Message(text_RenameNotAllowed, text_RenamingPlaying, Text(text_IsNotAllowed));
  } else {
    CopySelection();
    ActivateInfoWindow(1);
  }
}

void HelpKey() {
  if (RecycleView()) {
    DisplayQuembryRecycleHelp();
  } else if (ManagerView()) {
    DisplayQuembryTAPManagerHelp();
  } else {
    DisplayQuembryHelp();
  }
}

// Step 15: the fixed keys. False when the key is none of them.
bool FixedKey(dword key) {
  dword base = Base(key);
  bool plain = key == base;
  if (Released(key)) {
    if (base == RKEYN_Blue) {
      BlueRelease();
    } else if (base == RKEY_PlayList) {
      FileListRelease();
    } else if (base == RKEY_Info) {
      InfoRelease();
    }
    return true;  // releases of all other keys are consumed
  }
  if (!plain) return false;
  if (key >= RKEY_1 && key <= RKEY_9) {
    SelectScreenLine((int)(key - RKEY_0));
    return true;
  }
  if (key == RKEY_0) {
    SelectScreenLine(10);
    return true;
  }
  if (key == RKEYN_Red) {
    if (RecycleView()) {
      FileRecord* line = Selected();
      if (line && line->attribute == ATTRIBUTE_FILE) {
        RememberForDelete();
        RecycleRestoreAction();
      }
    }
    return true;
  }
  if (key == RKEYN_Green) {
    if (RecycleView()) {
      DeleteAllRecycleBinWindow();
    } else {
      // Empty folders show again before the keyboard covers the list.
      HideEmptyFolders = 0;
      RefreshQuembryList(1);
      CreateNewFolder();
    }
    return true;
  }
  if (key == RKEYN_Yellow) {
    YellowKey();
    return true;
  }
  if (key == RKEYN_Blue) {
    repeat_AcceptBlueEnd = 1;
    TAP_Osd_Sync();
    return true;
  }
  if (key == RKEY_Ab || key == RKEY_Option || key == RKEYN_White) {
    RenameKey();
    return true;
  }
  switch (key) {
    case RKEY_ChUp:
      MoveUp();
      return true;
    case RKEY_ChDown:
      MoveDown();
      return true;
    case RKEY_VolDown:
    case RKEY_Rewind:
      PageUp();
      return true;
    case RKEY_VolUp:
    case RKEY_Forward:
      PageDown();
      return true;
    case RKEY_Ok:
      OkKey();
      return true;
    case RKEY_Play:
      PlayKey();
      return true;
    case RKEY_Stop:
      StopKey();
      return true;
    case RKEY_Pause:
      NextSortOrder();
      return true;
    case RKEY_Menu:
      CalledByTSRCommander = 0;
      ActivateConfigWindow(1);
      return true;
    case RKEY_AudioTrk:
      HelpKey();
      return true;
    case RKEY_Exit:
      exitFlag = 1;
      return true;
    case RKEY_Recall:
      if (!Assigned(OverrideRecycleKey)) InvokeRecycle();
      return true;
    case RKEY_PlayList:
      repeat_AcceptPlayListEnd = 1;
      TAP_Osd_Sync();
      return true;
    default:
      return false;
  }
}

}  // namespace

void InvokeRecycle() {
  if (!processInBackground) MultiSelectClearAll();
  if (recycleWindowMode) {
    recycleWindowMode = 0;
  } else {
    SetDirectoryLastViewed(CurrentDirNumber);
    ReloadLastViewDatVariables();
    recycleWindowMode = 1;
  }
  ShowLoading();
  ReloadCatalogue();
  RefreshQuembryList(1);
  TAP_Osd_Sync();
}

void FindNextFolder(int forward, int* redraw) {
  int L = ListLinesPerPage();
  bool wrapped = false;
  int guard = maxShown + 1;
  // Hidden folders take no screen line: the selection keeps its line unless
  // it wraps.
  while (guard-- > 0 && chosenLine >= 1 && EmptyFolder(Selected())) {
    if (forward) {
      if (chosenLine < maxShown) {
        chosenLine++;
      } else {
        if (wrapped) break;
        wrapped = true;
        chosenLine = printLine = 1;
        if (redraw) *redraw = 1;
      }
    } else {
      if (chosenLine > 1) {
        chosenLine--;
      } else {
        if (wrapped) break;
        wrapped = true;
        chosenLine = maxShown;
        printLine = maxShown < L ? maxShown : L;
        if (redraw) *redraw = 1;
      }
    }
  }
}

dword QuembryWindowKeyHandler(dword key) {
  lastKeyHandler = "QuembryWindowKeyHandler";
  // The keyboard of a new folder takes every key while it shows.
  if (keyboardWindowShowing) return KeyboardKeyHandler(key);
  dword base = Base(key);
  // 1. The help page takes every key while it shows.
  if (quembryHelpWindowShowing && !helpWindowShowing) DropQuembryHelp();
  if (quembryHelpWindowShowing) return QuembryHelpKeyHandler(key);
  // 2. User exit keys hide the list and are replayed to the firmware.
  const int exitKeys[4] = {UserExitKey1, UserExitKey2, UserExitKey3, UserExitKey4};
  for (int k : exitKeys) {
    if (k != 0 && key == (dword)k) {
      GenerateKeyOnExit = key;
      exitFlag = 1;
      return 0;
    }
  }
  // 3. A long press in progress.
  if (repeating_key) {
    if (Released(key)) {
      repeating_key = 0;
      LongPressAction(base);
      TAP_Osd_Sync();
      return 0;
    }
    if (key == base && MultiSelectKey != 0 && base == (dword)MultiSelectKey) {
      ClearDiskUsageArea();
      return 0;
    }
    if (key == base && StartsLongPress(base)) {
      ClearTitleArea();
      return 0;
    }
  }
  // 4. A held report of a release key starts a long press; held reports of
  // other keys go on (and, matching no rule, are consumed at the end).
  if (Held(key) && StartsLongPress(base)) {
    repeating_key = 1;
    repeat_AcceptPlayListEnd = 0;
    repeat_AcceptBlueEnd = 0;
    return 0;
  }
  // 5. Selecting with the multi-select key.
  if (Released(key) && MultiSelectKey != 0 && base == (dword)MultiSelectKey && !RecycleView()) {
    if (processInBackground) {
      BackgroundMessage(text_MultiDisabled);
    } else {
      MultiSelectToggle();
    }
    return 0;
  }
  if (!Released(key)) {
    // 6 .. 10: the override keys.
    if (OverrideDataFilesKey != 0 && key == (dword)OverrideDataFilesKey) {
      GoToTopFolder();
      return 0;
    }
    if (OverrideParentKey != 0 && key == (dword)OverrideParentKey) {
      FileRecord* first = FileSlot(CurrentDirNumber, 1);
      if (IsParentLine(first)) QuembryAction(1);
      return 0;
    }
    if (Is(key, OverrideRecycleKey)) {
      InvokeRecycle();
      return 0;
    }
    if (RestartLastKey_internal != 0 && key == (dword)RestartLastKey_internal) {
      if (!RecycleView() && !ManagerView()) RestartLastKey();
      return 0;
    }
    if (Is(key, ResetProgressKey)) {
      if (!ManagerView()) ResetProgress();
      return 0;
    }
  } else {
    // 11 .. 13: keys acting on release.
    if (Assigned(TagsmithKey) && base == (dword)TagsmithKey) {
      if (base == RKEY_Info && repeat_DropInfoEnd) {
        repeat_DropInfoEnd = 0;
      } else if (ManagerView()) {
        OpenInfoWindow();
      } else {
        InvokeTagsmith();
      }
      return 0;
    }
    if (Assigned(OverrideInfoKey) && base == (dword)OverrideInfoKey) {
      if (repeat_DropInfoEnd) {
        repeat_DropInfoEnd = 0;
      } else {
        OpenInfoWindow();
      }
      return 0;
    }
    if (Assigned(TAPManagerKey) && base == (dword)TAPManagerKey) {
      if (!RecycleView()) ManagerKey();
      return 0;
    }
    // On its release: the release that follows closes the screen again.
    if (Assigned(StatusScreenKey) && base == (dword)StatusScreenKey) {
      DisplayStatusScreen();
      return 0;
    }
  }
  // 14. The file filter.
  if (Is(key, FileSuffixKey)) {
    FileSuffix();
    return 0;
  }
  // 15. The fixed keys; the firmware's own.
  if (key == RKEY_Mute || key == RKEY_Option5 || key == RKEY_Option6) return key;
  if (FixedKey(key)) return 0;
  // 16. The activation key hides the list.
  if (mainActivationKey != 0 && key == (dword)mainActivationKey) exitFlag = 1;
  // 17. Everything else is consumed.
  return 0;
}
