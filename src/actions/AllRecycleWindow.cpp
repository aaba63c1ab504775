// The window that lists every recycled file of the tree, oldest first, a
// page of 14 at a time, with the bin's size and the free-space cleanout.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/keys.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

constexpr int kX = 122, kY = 80, kW = 476, kH = 416;
constexpr int kLines = 14;
constexpr int kLineTop = 134, kLinePitch = 20;
constexpr int kTextLeft = 135, kTextRight = 585;
constexpr dword kPanel = 0xFF1E1E1E, kText = 0xFFFAFAFA, kDim = 0xFFC0C0C0;

byte* allRecycleCopy;

// The folder below the top folder and the name without its extension and
// recycle marker: "/Movies/Alpha" for /DataFiles/Movies/Alpha.rec.del.
void FormatRecordPath(const AllRecycleEntry* record, char* out, int size) {
  const char* top = TAPManagerMode ? "/ProgramFiles" : "/DataFiles";
  const char* below = record->folder;
  size_t topLength = strlen(top);
  if (strncmp(below, top, topLength) == 0) below += topLength;
  char name[128];
  snprintf(name, sizeof name, "%s", record->name);
  StripFileName(name);
  snprintf(out, (size_t)size, "%.*s/%.*s", 200, below, 127, name);
}

// A text that does not fit is shown from its end, with "..." in front.
void PrintFitted(int y, const char* text) {
  int width = kTextRight - kTextLeft;
  const char* shown = text;
  char cut[600];
  if ((int)PrintWidth(text, 12) > width) {
    for (const char* p = text; *p; p++) {
      snprintf(cut, sizeof cut, "...%s", p);
      if ((int)PrintWidth(cut, 12) <= width) break;
    }
    shown = cut;
  }
  PrintLeft(rgn, kTextLeft, (dword)y, kTextRight, shown, kText, 0, 12);
}

void DisplayLines() {
  TAP_Osd_FillBox(rgn, kX + 3, 118, kW - 6, 350, kPanel);
  int first = printAllRecycleLine;
  int last = first + kLines - 1;
  if (last > numberOfAllRecycleEntries) last = numberOfAllRecycleEntries;
  for (int i = first; i >= 1 && i <= last; i++) {
    const AllRecycleEntry* record = allrecycleFiles[i];
    if (!record) continue;
    word year = 0;
    byte month = 0, day = 0, weekday = 0;
    TAP_ExtractMjd((word)(record->stamp >> 16), &year, &month, &day, &weekday);
    char path[400], line[500];
    FormatRecordPath(record, path, sizeof path);
    snprintf(line, sizeof line, "%4.4d-%2.2d-%2.2d %2.2d:%2.2d - %s", year, month, day,
             (int)((record->stamp >> 8) & 0xFF), (int)(record->stamp & 0xFF), path);
    PrintFitted(kLineTop + (i - first) * kLinePitch, line);
  }
  int arrowX = kX + (kW - 16) / 2;
  if (first > 1) TAP_Osd_PutGd(rgn, arrowX, 121, &_ArrowUp_Gd, 1);
  if (last < numberOfAllRecycleEntries) TAP_Osd_PutGd(rgn, arrowX, 416, &_ArrowDown_Gd, 1);

  char text[200];
  snprintf(text, sizeof text, "%.20s %d-%d %.10s %d", Text(text_Showing), first < 1 ? 0 : first,
           first < 1 ? 0 : last, Text(text_Of), numberOfAllRecycleEntries);
  PrintLeft(rgn, kTextLeft, 430, kTextRight, text, kDim, 0, 12);
  FormatRecycleBinTotal(text, sizeof text);
  PrintRight(rgn, kTextLeft, 430, kTextRight, text, kDim, 0, 12);
  if (numberOfAllRecycleBin > MAX_ALL_RECYCLE) {
    snprintf(text, sizeof text, "(%.20s %d %.20s %d %.20s)", Text(text_OnlyDisplaying),
             numberOfAllRecycleEntries, Text(text_OfThe), numberOfAllRecycleBin,
             Text(text_FilesFound));
    PrintCenter(rgn, kTextLeft, 448, kTextRight, text, kDim, 0, 12);
  }
}

void DisplayFooter() {
  int y = 470, maxX = kX + kW - 6;
  int x = kTextLeft;
  TAP_Osd_PutGd(rgn, x, y, &_Button_left_Gd, 1);
  x = drawLegendElement(x + 32, y, maxX, &_Button_right_Gd, 30, Text(text_PageUpDown)) + 6;
  TAP_Osd_PutGd(rgn, x, y, &_Button_exit_Gd, 1);
  PrintLeft(rgn, (dword)(x + 34), (dword)(y - 1), (dword)maxX, " / ", kDim, 0, 12);
  x += 34 + (int)PrintWidth(" / ", 12);
  x = drawLegendElement(x, y, maxX, &_Button_white_Gd, 30, Text(text_ExitWord)) + 6;
  drawLegendElement(x, y, maxX, &_Button_blue_Gd, 30, Text(text_ThresholdCheck));
}

}  // namespace

void FormatRecycleBinTotal(char* out, int size) {
  dword tenthsGB = (dword)(((sizeOfRecycleBin + (1u << 19)) >> 20) * 10 / 1024);
  char total[40];
  snprintf(total, sizeof total, "%01d.%01dGB", (int)(tenthsGB / 10), (int)(tenthsGB % 10));
  snprintf(out, (size_t)size, "%d %.20s = %.20s", numberOfAllRecycleBin, Text(text_Found), total);
}

void DisplayAllRecycleWindow() {
  TAP_Osd_FillBox(rgn, kX, kY, kW, kH, BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF);
  TAP_Osd_FillBox(rgn, kX + 3, kY + 3, kW - 6, kH - 6, kPanel);
  char title[100];
  snprintf(title, sizeof title, "%.20s - %.70s", PROGRAM_NAME, Text(text_AllRecycleTitle));
  PrintCenter(rgn, kX + 5, 92, kX + kW - 5, title, kText, 0, 18);
  DisplayLines();
  DisplayFooter();
}

void ActivateAllRecycleWindow() {
  if (allrecycleWindowShowing || rgn == NO_REGION) return;
  allrecycleWindowShowing = 1;
  if (!allRecycleCopy) allRecycleCopy = TAP_Osd_SaveBox(rgn, kX, kY, kW, kH);
  PopulateAllRecycleEntries();
  printAllRecycleLine = chosenAllRecycleLine = numberOfAllRecycleEntries > 0 ? 1 : 0;
  DisplayAllRecycleWindow();
  TAP_Osd_Sync();
}

void CloseAllRecycleWindow() {
  allrecycleWindowShowing = 0;
  RestoreWindowCopy(rgn, &allRecycleCopy, kX, kY, kW, kH);
  ReleaseAllRecycleEntries();
  TAP_Osd_Sync();
}

dword AllRecycleKeyHandler(dword key) {
  lastKeyHandler = "AllRecycleKeyHandler";
  dword base = key & RKEY_MASK;
  if (base == RKEY_Mute || base == RKEY_Option5 || base == RKEY_Option6) return key;
  int count = numberOfAllRecycleEntries;
  if (key == RKEY_VolDown || key == RKEY_Rewind) {
    if (count > 0) {
      if (printAllRecycleLine > kLines) {
        printAllRecycleLine -= kLines;
      } else {
        printAllRecycleLine = count > kLines ? count - (kLines - 1) : 1;
      }
    }
  } else if (key == RKEY_VolUp || key == RKEY_Forward) {
    if (count > 0) {
      printAllRecycleLine += kLines;
      if (printAllRecycleLine > count) printAllRecycleLine = 1;
    }
  } else if (key == RKEY_Exit || key == RKEY_Ab || key == RKEY_Option || key == RKEYN_White) {
    CloseAllRecycleWindow();
    return 0;
  } else if (key == RKEY_Blue || key == RKEYN_Blue) {
    bool complete = DeleteOldestRecycled();
    TAP_Delay(100);
    CloseAllRecycleWindow();
    reloadInitialQuembryInfo(0, CurrentDirNumber);
    RefreshQuembryList(1);
    ActivateAllRecycleWindow();
    // Over the window read anew: closing the message then uncovers that one.
    if (!complete) ShowCleanoutFailure();
    return 0;
  } else {
    return 0;
  }
  chosenAllRecycleLine = printAllRecycleLine;
  DisplayLines();
  TAP_Osd_Sync();
  return 0;
}
