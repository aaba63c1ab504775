// The information window: the details of one list entry over the list, its
// pages of extended text, its button row and the windows it hands over to.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "apps/texts.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

byte* infoWindowCopy;
int infoCommandOption;
int rememberLastExtInfoStr_Start;
int ExtInfoRows;

namespace {

constexpr int kBoxX = 67, kBoxY = 70, kBoxW = 586, kBoxH = 416;
constexpr dword kLabel = 0xFF0098C0, kValue = 0xFFFAFAFA, kInterior = 0xFF1E1E1E;
constexpr int kButtonX[5] = {97, 204, 311, 418, 525};
constexpr int kButtonY = 432, kButtonW = 97, kButtonH = 39;

// The extended text as the printing functions take it; the page offsets
// count in it.
char extInfoText[3 * 1024 + 4];

bool IsFolder() { return currentFile.attribute == ATTRIBUTE_FOLDER; }
bool RecycleView() { return recycleWindowMode != 0; }
bool ManagerView() { return TAPManagerMode != 0; }

bool ButtonShown(int button) {
  switch (button) {
    case 1:
      return !(IsFolder() && RecycleView());
    case 2:
      return !RecycleView();
    case 4:
      return !IsFolder() && !ManagerView();
  }
  return true;
}

// The labels may reach a little further left than the values' margin, so
// that the longest ("Date & Time:") keeps its colon.
void Label(int y, int right, const char* text, int size) {
  PrintRight(rgn, 71, (dword)y, (dword)right, text, kLabel, 0, size);
}

void Value(int x, int y, const char* text, int size) {
  PrintLeft(rgn, (dword)x, (dword)y, 645, text, kValue, 0, size);
}

// The event's start and end shifted by the GMT offset setting: the date
// follows the start hour over midnight; the end hour is only brought into
// 0..23.
void ShiftedEventTimes(word* mjd, int* startHour, int* startMinute, int* endHour, int* endMinute) {
  int offset = GMToffsetOption;
  int day = (int)currentFile.eventStartMjd;
  int sh = (int)currentFile.eventStartHour + offset / 60;
  int sm = (int)currentFile.eventStartMinute + offset % 60;
  int eh = (int)currentFile.eventEndHour + offset / 60;
  int em = (int)currentFile.eventEndMinute + offset % 60;
  if (sm < 0) sm += 60, sh--;
  if (sm >= 60) sm -= 60, sh++;
  if (em < 0) em += 60, eh--;
  if (em >= 60) em -= 60, eh++;
  if (sh < 0) sh += 24, day--;
  if (sh >= 24) sh -= 24, day++;
  if (eh < 0) eh += 24;
  if (eh >= 24) eh -= 24;
  *mjd = (word)day;
  *startHour = sh;
  *startMinute = sm;
  *endHour = eh;
  *endMinute = em;
}

void FormatClock(int hour, int minute, char* out, int size) {
  if (InfoTime24Hour) {
    snprintf(out, (size_t)size, "%02d:%02d", hour, minute);
  } else {
    int h = hour % 12 == 0 ? 12 : hour % 12;
    snprintf(out, (size_t)size, "%d:%02d%cm", h, minute, hour < 12 ? 'a' : 'p');
  }
}

void FormatInfoDate(word mjd, char* out, int size) {
  word year = 0;
  byte month = 0, day = 0, weekday = 0;
  TAP_ExtractMjd(mjd, &year, &month, &day, &weekday);
  char dayName[32], monthName[32];
  WeekdayToAlphaAbbr(weekday, dayName);
  MonthToAlpha(month, monthName);
  snprintf(out, (size_t)size, "%.5s, %d %.5s %4d", dayName, day, monthName, year);
}

void FormatDateAndTime(char* out, int size) {
  char date[64], time[64];
  if (ManagerView()) {
    FormatInfoDate((word)(currentFile.stamp >> 16), date, sizeof date);
    FormatClock((int)(currentFile.stamp >> 8 & 0xFF), (int)(currentFile.stamp & 0xFF), time,
                sizeof time);
  } else if (currentFile.eventStartMjd == 0) {
    // No event in the header: nothing to show.
    out[0] = 0;
    return;
  } else {
    word mjd;
    int sh, sm, eh, em;
    ShiftedEventTimes(&mjd, &sh, &sm, &eh, &em);
    FormatInfoDate(mjd, date, sizeof date);
    char start[24], end[24];
    FormatClock(sh, sm, start, sizeof start);
    FormatClock(eh, em, end, sizeof end);
    snprintf(time, sizeof time, "%s ~ %s", start, end);
  }
  snprintf(out, (size_t)size, "%.20s %.20s", date, time);
}

void DrawFolderDetails() {
  PrintCenter(rgn, 67, 84, 653, Text(text_FolderDetails), kValue, 0, 18);
  const FolderRecord* folder =
      currentFile.folderNumber >= 0 && currentFile.folderNumber < MAX_FOLDERS
          ? myfolders[currentFile.folderNumber]
          : nullptr;
  char text[64];
  Label(170, 247, Text(text_FolderName), 18);
  PrintLeft(rgn, 257, 170, 645, currentFile.name, kValue, 0, 18);
  Label(220, 247, Text(text_NumberOfFiles), 18);
  snprintf(text, sizeof text, "%d", folder ? folder->fileCount : 0);
  PrintLeft(rgn, 257, 220, 645, text, kValue, 0, 18);
  Label(270, 247, Text(text_Subfolders), 18);
  snprintf(text, sizeof text, "%d", folder ? folder->subfolderCount : 0);
  PrintLeft(rgn, 257, 270, 645, text, kValue, 0, 18);
}

dword InfoProgressMode() {
  switch (progressBarOption) {
    case 0:
    case 1:
    case 2:
      return (dword)progressBarOption;
    case 3:
      return 0xFF00FF00;
    case 4:
      return 0xFFFAFAFA;
  }
  return 0;
}

void DrawProgress() {
  Label(257, 377, Text(text_Progress), 12);
  dword total = currentFile.totalBlocks ? currentFile.totalBlocks : 1;
  if (progressBarOption >= 0 && progressBarOption <= 4) {
    DisplayProgressBar(rgn, currentFile.positionBlock, total, 387, 265, 180, 6, 0xFF101010, 1,
                       0xFF101010, InfoProgressMode());
  }
  int minutes = (int)currentFile.durationMinutes;
  if (minutes <= 0 || (MinsOnProgressBar != 0 && MinsOnProgressBar != 2)) return;
  dword position = currentFile.positionBlock > total ? total : currentFile.positionBlock;
  int watched = (int)((uint64_t)position * (dword)minutes / total);
  char text[64];
  snprintf(text, sizeof text, "+%d/-%d%.5s", watched, minutes - watched, Text(text_MinutesShort));
  int size = MinsOnProgressBar == 2 ? 12 : 10;
  int y = MinsOnProgressBar == 2 ? 257 : 260;
  PrintLeft(rgn, 573, (dword)(y + 1), 647, text, kInterior, 0, size);
  PrintLeft(rgn, 572, (dword)y, 647, text, SetClockColourValue(MinsColour), 0, size);
}

void DrawRecordingDetails(int nextPage) {
  PrintCenter(rgn, 67, 84, 653, Text(text_ProgramDetails), kValue, 0, 18);
  if (Tagsmith_infoMessage[0]) {
    char note[64];
    snprintf(note, sizeof note, "(%.20s)     ", Tagsmith_infoMessage);
    PrintRight(rgn, 77, 86, 645, note, kValue, 0, 14);
    Tagsmith_infoMessage[0] = '\0';
  }
  char text[256];
  Label(125, 187, Text(text_Program), 16);
  ConvertBroadcastText(currentFile.eventName, text, sizeof text);
  Value(197, 125, text, 16);

  if (ManagerView()) {
    Label(150, 187, Text(text_Author), 16);
    Value(197, 150, currentFile.appAuthor, 16);
  } else {
    Label(150, 187, Text(text_Channel), 16);
    snprintf(text, sizeof text, "%.22s", currentFile.serviceName);
    MakeValidFileName(text, LC_Control | LC_Reserved | LC_PrintableOnly);
    Value(197, 150, text, 16);
    const TYPE_GrData* audio = ButtonGraphic(BUTTON_audio);
    int buttonX = 638 - (int)audio->width;
    PrintRight(rgn, 387, 150, (dword)(buttonX - 2), Text(text_LogoInfo), kLabel, 0, 16);
    TAP_Osd_PutGd(rgn, buttonX, 154, audio, 1);
  }

  Label(175, 187, Text(text_DateTime), 16);
  FormatDateAndTime(text, sizeof text);
  Value(197, 175, text, 16);

  Label(212, 187, Text(text_FileName), 16);
  Value(197, 212, currentFile.name, 16);

  Label(237, 187, Text(text_FileSize), 16);
  FormatFileSize((dword)currentFile.size, (dword)(currentFile.size >> 32), text,
                 ManagerView() ? 6 : 1);
  PrintLeft(rgn, 197, 237, 377, text, kValue, 0, 16);
  if (ManagerView()) {
    PrintRight(rgn, 197, 237, 377, Text(text_TapId), kLabel, 0, 16);
    snprintf(text, sizeof text, "0x%X", (unsigned)currentFile.appId);
  } else {
    PrintRight(rgn, 197, 237, 377, Text(text_Duration), kLabel, 0, 16);
    FormatInfoDuration((int)currentFile.durationMinutes, text);
  }
  Value(387, 237, text, 16);

  if (!RecycleView() && !ManagerView()) DrawProgress();

  Label(270, 187, Text(text_Description), 16);
  if (!ManagerView()) {
    int x = 197;
    PrintLeft(rgn, (dword)x, 272, 645, "(", kValue, 0, 14);
    x += (int)PrintWidth("(", 14) + 2;
    const TYPE_GrData* start = ButtonGraphic(BUTTON_jumpstart);
    TAP_Osd_PutGd(rgn, x, 274, start, 1);
    x += (int)start->width + 2;
    PrintLeft(rgn, (dword)x, 272, 645, "/", kValue, 0, 14);
    x += (int)PrintWidth("/", 14) + 2;
    const TYPE_GrData* end = ButtonGraphic(BUTTON_jumpend);
    TAP_Osd_PutGd(rgn, x, 274, end, 1);
    x += (int)end->width + 2;
    snprintf(text, sizeof text, "= %s)", Text(text_Scroll));
    PrintLeft(rgn, (dword)x, 272, 645, text, kValue, 0, 14);
  }
  if (currentFile.encryption >= 1 && currentFile.encryption <= 3) {
    static const TYPE_GrData* const icons[3] = {&_crypt_icon_1_Gd, &_crypt_icon_2_Gd,
                                                &_crypt_icon_3_Gd};
    AppText* states[3] = {&text_Crypted, &text_Uncrypted, &text_PartlyCrypted};
    TAP_Osd_PutGd(rgn, 605, 274, icons[currentFile.encryption - 1], 1);
    PrintRight(rgn, 387, 270, 600, Text(*states[currentFile.encryption - 1]), kValue, 0, 16);
  }

  // The event texts.
  int large = extInfoFontOption == 1;
  int extSize = large ? 16 : 14, lineHeight = large ? 22 : 19;
  int y = 295;
  if (!nextPage) {
    rememberLastExtInfoStr_Start = 0;
    ConvertBroadcastText(currentFile.eventDescription, text, sizeof text);
    if (text[0]) {
      WrapPutStr_StartPos = 0;
      y = WrapPutStr(rgn, text, 77, 295, 571, kValue, 0, 4, 16, 0);
    }
  }
  ConvertBroadcastText(currentFile.extText, extInfoText, sizeof extInfoText);
  if (rememberLastExtInfoStr_Start >= (int)strlen(extInfoText)) rememberLastExtInfoStr_Start = 0;
  ExtInfoRows = (427 - y) / lineHeight;
  if (extInfoText[0] && ExtInfoRows > 0) {
    WrapPutStr_StartPos = rememberLastExtInfoStr_Start;
    WrapPutStr(rgn, extInfoText, 77, y, 571, kValue, 0, ExtInfoRows, extSize, 0);
    // The next page begins by repeating the last line of this one.
    rememberLastExtInfoStr_Start = LastWrapPutStr_Start;
  }
}

void ButtonLabel(int button, AppText& line1, AppText& line2, dword colour) {
  int x = kButtonX[button];
  if (Text(line2)[0]) {
    PrintCenter(rgn, (dword)x, 429, (dword)(x + kButtonW), Text(line1), colour, 0, 16);
    PrintCenter(rgn, (dword)x, 444, (dword)(x + kButtonW), Text(line2), colour, 0, 16);
  } else {
    PrintCenter(rgn, (dword)x, 436, (dword)(x + kButtonW), Text(line1), colour, 0, 18);
  }
}

// Moves the list selection to the previous or next entry that can be shown,
// wrapping at the ends; false when there is none other.
bool StepSelection(int direction) {
  const FolderRecord* folder = CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS
                                   ? myfolders[CurrentDirNumber]
                                   : nullptr;
  int count = folder ? folder->entryCount : 0;
  if (count <= 0) return false;
  int entry = chosenLine;
  for (int tries = 0; tries < count; tries++) {
    entry += direction;
    if (entry < 1) entry = count;
    if (entry > count) entry = 1;
    const FileRecord* line = myfiles[CurrentDirNumber * MAX_SLOTS + entry];
    if (!line || line->attribute == ATTRIBUTE_PARENT || line->recordingNow) continue;
    if (entry == chosenLine) return false;
    chosenLine = entry;
    DeterminePrintingLine(chosenLine);
    currentFile = *line;
    if (folder) currentFolder = *folder;
    return true;
  }
  return false;
}

bool PlayingNow() { return currentFile.playingNow && inPlaybackMode; }

void RememberAndCopy() {
  delete_CurrentDirNumber = CurrentDirNumber;
  delete_chosenLine = chosenLine;
  const FileRecord* line = myfiles[CurrentDirNumber * MAX_SLOTS + chosenLine];
  if (line) currentFile = *line;
  if (myfolders[CurrentDirNumber]) currentFolder = *myfolders[CurrentDirNumber];
}

bool IsParentEntry() {
  return currentFile.attribute == ATTRIBUTE_PARENT || currentFile.attribute == 240;
}

void OkAction() {
  switch (infoCommandOption) {
    case 0:
      CloseQuembryInfoWindow();
      returnFromInfo = 1;
      break;
    case 1:
      if (!processInBackground) MultiSelectClearAll();
      if (RecycleView()) {
        if (!IsFolder() && !IsParentEntry()) {
          RememberAndCopy();
          DeleteRecycledFile();
        }
      } else if (!IsParentEntry()) {
        RememberAndCopy();
        ActivateDeleteWindow(currentFile.name, currentFile.attribute);
      }
      break;
    case 2:
      if (PlayingNow()) {
        ShowMessageWinX(rgn, Text(text_RenameNotAllowed), Text(text_RenamingPlaying),
                        Text(text_IsNotAllowed), 300);
      } else {
        EditFileName();
      }
      break;
    case 3:
      if (processInBackground) {
        ShowMessageWinX(rgn, Text(text_MoveNotAllowed), Text(text_BackgroundCopyRunning),
                        Text(text_AnotherMoveNotAllowed), 300);
        break;
      }
      MultiSelectClearAll();
      if (PlayingNow()) {
        ShowMessageWinX(rgn, Text(text_MoveNotAllowed), Text(text_MovingPlaying),
                        Text(text_IsNotAllowed), 300);
      } else if (numberOfFolders == 0) {
        ShowMessageWinX(rgn, Text(text_MoveNotAllowed), Text(text_NoSubdirectories),
                        Text(text_AvailableToMove), 300);
      } else {
        ActivateMoveWindow();
        populateMoveFileList();
        DisplayQuembryMoveFolderList();
      }
      break;
    case 4:
      if (IsFolder() || IsParentEntry()) break;
      if (RecycleView()) {
        RememberAndCopy();
        RecycleRestoreAction();
        break;
      }
      DeleteProgressInfo(CurrentDirNumber, chosenLine, 1);
      fileReset = 1;
      {
        const FileRecord* line = myfiles[CurrentDirNumber * MAX_SLOTS + chosenLine];
        if (line) currentFile = *line;
      }
      infoCommandOption = 0;
      DisplayQuembryInfoWindow(0);
      break;
  }
}

}  // namespace

void FormatInfoDuration(int minutes, char* out) {
  out[0] = 0;
  if (minutes <= 0) return;
  int hours = minutes / 60, rest = minutes % 60;
  int n = 0;
  if (hours > 0) {
    n = snprintf(out, 64, "%d %s", hours, Text(hours == 1 ? text_HourWord : text_HoursWord));
  }
  if (rest > 0) {
    snprintf(out + n, (size_t)(64 - n), "%s%d %s", hours > 0 ? " " : "", rest,
             Text(rest == 1 ? text_MinuteWord : text_MinutesWord));
  }
}

void initialiseQuembryInfo() {
  infoWindowShowing = 0;
  infoCommandOption = 0;
  returnFromInfo = 0;
  infoLogoWindowShowing = 0;
}

void ActivateInfoWindow(int rename) {
  infoWindowShowing = 1;
  infoCommandOption = 0;
  infoLogoWindowShowing = 0;
  fileRenamed = 0;
  listMoved = 0;
  // A copy left from a window that never closed shows an older screen.
  if (infoWindowCopy) TAP_MemFree(infoWindowCopy);
  infoWindowCopy = TAP_Osd_SaveBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH);
  DisplayQuembryInfoWindow(0);
  if (rename) EditFileName();
}

void DisplayQuembryInfoWindow(int nextPage) {
  dword border = BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF;
  TAP_Osd_FillBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH, border);
  TAP_Osd_FillBox(rgn, 70, 73, 580, 410, kInterior);
  if (IsFolder()) {
    DrawFolderDetails();
  } else {
    DrawRecordingDetails(nextPage);
  }
  DisplayInfoLine();
}

void DisplayInfoLine() {
  static AppText* const labels[5][2] = {{&text_ButtonOk, &text_ButtonEmpty},
                                        {&text_ButtonDelete, &text_ButtonDelete2},
                                        {&text_ButtonRename, &text_ButtonRename2},
                                        {&text_ButtonMove, &text_ButtonMove2},
                                        {&text_ButtonProgress, &text_ButtonProgress2}};
  for (int button = 0; button < 5; button++) {
    int x = kButtonX[button];
    TAP_Osd_FillBox(rgn, (dword)x, kButtonY, kButtonW, kButtonH, 0xFF101010);
    if (!ButtonShown(button)) continue;
    dword colour = kValue;
    if (button == infoCommandOption) {
      displayMenuBar(ButtonBarColour, x, kButtonY, kButtonH, kButtonW);
      colour = resolvedButtonTextColour;
    }
    if (button == 4 && RecycleView()) {
      ButtonLabel(button, text_ButtonRestore, text_ButtonRestore2, colour);
    } else {
      ButtonLabel(button, *labels[button][0], *labels[button][1], colour);
    }
  }
  TAP_Osd_Sync();
}

void CloseQuembryInfoWindow() {
  infoWindowShowing = 0;
  infoLogoWindowShowing = 0;
  RestoreWindowCopy(rgn, &infoWindowCopy, kBoxX, kBoxY, kBoxW, kBoxH);
  TAP_Osd_Sync();
}

dword QuembryInfoKeyHandler(dword key) {
  lastKeyHandler = "QuembryInfoKeyHandler";
  if (keyboardWindowShowing) return KeyboardKeyHandler(key);
  // Only plain presses act; held and release reports are consumed.
  bool firmwareKey = key == RKEY_Mute || key == RKEY_Option5 || key == RKEY_Option6;
  if (infoLogoWindowShowing) {
    if (firmwareKey) return key;
    if (key == RKEY_AudioTrk || key == RKEY_Exit) {
      infoLogoWindowShowing = 0;
      DisplayQuembryInfoWindow(0);
    }
    TAP_Osd_Sync();
    return 0;
  }
  if (OverrideInfoKey != 0 && OverrideInfoKey != (int)RKEY_Undefined &&
      key == (dword)OverrideInfoKey) {
    repeat_DropInfoEnd = 1;
    CloseQuembryInfoWindow();
    returnFromInfo = 1;
    return 0;
  }
  if (firmwareKey) return key;
  int last = 4;
  while (last > 0 && !ButtonShown(last)) last--;
  switch (key) {
    case RKEY_VolDown:  // Left Arrow
      do {
        infoCommandOption = infoCommandOption == 0 ? last : infoCommandOption - 1;
      } while (!ButtonShown(infoCommandOption));
      DisplayInfoLine();
      break;
    case RKEY_VolUp:  // Right Arrow
      do {
        infoCommandOption = infoCommandOption >= last ? 0 : infoCommandOption + 1;
      } while (!ButtonShown(infoCommandOption));
      DisplayInfoLine();
      break;
    case RKEY_ChUp:    // Up Arrow
    case RKEY_ChDown:  // Down Arrow
      if (StepSelection(key == RKEY_ChUp ? -1 : 1)) {
        listMoved = 1;
        if (!ButtonShown(infoCommandOption)) infoCommandOption = 0;
        DisplayQuembryInfoWindow(0);
      }
      break;
    case RKEY_AudioTrk:
      if (!ManagerView()) DisplayLogoInfoWindow();
      break;
    case RKEY_Info:
      repeat_DropInfoEnd = 1;
      CloseQuembryInfoWindow();
      returnFromInfo = 1;
      break;
    case RKEY_Exit:
    case RKEY_Record:
      CloseQuembryInfoWindow();
      returnFromInfo = 1;
      break;
    case RKEY_Prev:
      DisplayQuembryInfoWindow(0);
      break;
    case RKEY_Next:
      if (!IsFolder()) DisplayQuembryInfoWindow(1);
      break;
    case RKEY_Ok:
      OkAction();
      break;
  }
  TAP_Osd_Sync();
  return 0;
}
