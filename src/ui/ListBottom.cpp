// The bottom area of the list (description of the selection, key legend,
// disk usage) and the clock in the title line.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/UiTexts.h"
#include "ui/graphics/Graphics.h"

namespace {

const dword kBackground = 0xFF101010;
const dword kBottomText = 0xFFC0C0C0;

FileRecord* EntryAt(int entry) {
  if (CurrentDirNumber < 0 || CurrentDirNumber >= MAX_FOLDERS) return nullptr;
  if (entry < 1 || entry > MAX_FOLDER_LINES) return nullptr;
  return FileSlot(CurrentDirNumber, entry);
}

int BottomFontSize() {
  int size = 16, offset = 0;
  CheckColumnFont(BottomFontOption, &size, &offset);
  // The bottom area has room for 16 in either spacing.
  if (BottomFontOption == 0) size = 16;
  return size;
}

// One button of the legend centred in its 40-pixel slot, and its text.
void LegendLine(const TYPE_GrData* button, int y, const char* text, int size) {
  int x = button->width > 39 ? 521 : 521 + (40 - button->width) / 2;
  TAP_Osd_PutGd(rgn, x, y, button, 1);
  PrintLeft(rgn, 561, (dword)(y + 2 + (16 - size)), 671, text, kBottomText, kBackground, size);
}

// "Recording...", the bar and the recorded time of a recording in progress.
void DrawRecordingSelectionText(const FileRecord* r) {
  int bottom = BottomAreaY();
  PrintLeft(rgn, 58, (dword)(bottom + 37), 518, Lang(text_RecordingNow), kBottomText, kBackground,
            16);
  DisplayProgressBar(rgn, r->recordedSeconds, r->durationMinutes * 60, 58, bottom + 64, 200, 10,
                     kBackground, 1, 0xFF808080, 0);
  char text[128];
  dword seconds = r->recordedSeconds;
  snprintf(text, sizeof text, "%02u:%02u:%02u %.80s ", seconds / 3600, seconds / 60 % 60,
           seconds % 60, Lang(text_Recorded));
  PrintLeft(rgn, 263, (dword)(bottom + 58), 526, text, kBottomText, kBackground, 16);
}

int CountMultiSelect() {
  int count = 0;
  for (MultiSelectItem* item = MultiSelect; item; item = item->next) count++;
  return count;
}

}  // namespace

dword SetClockColourValue(int colourOption) {
  switch (colourOption) {
    case 0:
      return 0xFF666666;
    case 1:
      return 0xFF969696;
    case 2:
      return 0xFFC8C8C8;
    case 3:
      return 0xFFFAFAFA;
    default:
      return 0;
  }
}

void UpdateSelectionNumber() {
  int bottom = BottomAreaY();
  TAP_Osd_FillBox(rgn, 53, (dword)(bottom + 34), 618, 83, kBackground);
  TAP_Osd_FillBox(rgn, 53, (dword)(bottom + 34), 618, 2, 0xFF999999);
  FileRecord* r = chosenLine > 0 ? EntryAt(chosenLine) : nullptr;
  if (r) {
    if (TAPManagerMode) {
      UpdateTAPManagerText();
    } else if (r->attribute == ATTRIBUTE_FOLDER || r->attribute == 240 ||
               r->attribute == ATTRIBUTE_PARENT) {
      UpdateFolderSelectionText(chosenLine);
    } else if (r->recordingNow) {
      DrawRecordingSelectionText(r);
    } else {
      UpdateFileSelectionText(chosenLine);
    }
  }
  if (!DisplayBackgroundStatus()) DisplayInstructions();
  DrawFreeSpaceBar();
}

void UpdateFileSelectionText(int entry) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  int bottom = BottomAreaY();
  int size = BottomFontSize();
  char text[600];
  // The header's texts are in the broadcast's character tables.
  char name[257], description[257];
  ConvertBroadcastText(r->eventName, name, sizeof name);
  ConvertBroadcastText(r->eventDescription, description, sizeof description);
  if (r->eventName[0]) {
    snprintf(text, sizeof text, "%s. %s", name, description);
  } else {
    const char* dot = strchr(r->name, '.');
    snprintf(text, sizeof text, "%.256s  %s", dot ? dot : "", description);
  }
  if (infoLineOption == 0) {
    WrapPutStr(rgn, text, 58, bottom + 37, 460, kBottomText, kBackground, 2, size, 3);
    return;
  }
  if (infoLineOption != 1 && infoLineOption != 2) return;
  WrapPutStr(rgn, text, 58, bottom + 37, 460, kBottomText, kBackground, 1, size, 3);
  char date[64], sizeText[128], detail[160];
  int dateSize = 16;
  FormatDate(r, date, 9, &dateSize);
  FormatFileSize((dword)r->size, (dword)(r->size >> 32), sizeText, 5);
  if (infoLineOption == 1) {
    if (r->serviceName[0]) {
      snprintf(detail, sizeof detail, "%.25s.   %.25s    %.10s", r->serviceName, date, sizeText);
    } else {
      snprintf(detail, sizeof detail, "%.25s    %.10s", date, sizeText);
    }
  } else {
    char time[16];
    snprintf(time, sizeof time, "%02d:%02d", (int)((r->stamp >> 8) & 0xFF), (int)(r->stamp & 0xFF));
    if (r->serviceName[0]) {
      snprintf(detail, sizeof detail, "%.25s.   %.5s %.25s    %.10s", r->serviceName, time, date,
               sizeText);
    } else {
      snprintf(detail, sizeof detail, "%.5s %.25s    %.10s", time, date, sizeText);
    }
  }
  PrintLeft(rgn, 58, (dword)(bottom + 62), 518, detail, kBottomText, 0, size);
}

void UpdateFolderSelectionText(int entry) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  char text[200];
  if (r->attribute == ATTRIBUTE_FOLDER) {
    snprintf(text, sizeof text, "%.20s: %.127s", Lang(text_FolderLabel), r->name);
  } else {
    snprintf(text, sizeof text, "%s", Lang(text_ParentLine));
  }
  PrintLeft(rgn, 58, (dword)(BottomAreaY() + 37), 518, text, kBottomText, kBackground,
            BottomFontSize());
}

void UpdateRecordingSelectionText(int entry) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  DrawRecordingSelectionText(r);
  TAP_Osd_Sync();
}

void UpdateTAPManagerText() {
  int bottom = BottomAreaY();
  int size = BottomFontSize();
  char text[160];
  snprintf(text, sizeof text,
           TAPManagerMode == 2 ? ">>>>>     %.5s %.50s  (*.*)     <<<<<"
                               : ">>>>>     %.5s %.50s  (*.tap)     <<<<<",
           Lang(text_Taps), "/ProgramFiles");
  PrintLeft(rgn, 58, (dword)(bottom + 37), 518, text, kBottomText, kBackground, size);
  FileRecord* r = EntryAt(chosenLine);
  if (!r) return;
  char ext[512];
  snprintf(ext, sizeof ext, "%.499s", r->extText);
  PrintLeft(rgn, 58, (dword)(bottom + 47 + size), 518, ext, kBottomText, kBackground, size);
}

void DisplayInstructions() {
  int bottom = BottomAreaY();
  TAP_Osd_FillBox(rgn, 521, (dword)(bottom + 36), 150, 81, kBackground);
  int size = 16, offset = 0;
  CheckColumnFont(LegendFontOption, &size, &offset);
  if (LegendFontOption == 0) size = 16;
  LegendLine(&_Button_blue_Gd, bottom + 42, Lang(text_DeleteFile), size);
  if (recycleWindowMode) {
    LegendLine(&_Button_red_Gd, bottom + 66, Lang(text_RestoreFile), size);
  } else {
    LegendLine(&_Button_info_Gd, bottom + 66, Lang(text_Information), size);
  }
  LegendLine(&_Button_audio_T_Gd, bottom + 90, Lang(text_Help), size);
}

void DrawFreeSpaceBar() {
  int bottom = BottomAreaY();
  dword total = TAP_Hdd_TotalSize();
  dword free = TAP_Hdd_FreeSize();
  // A disk that reports no size has nothing to show: no bar, no figures.
  if (total == 0) return;
  if (free > total) free = total;
  static const dword colours[6] = {0, 0xFF00FF00, 0xFFFF0000, 0xFFFFFF00, 0xFFFFFFFF, 0xFF808080};
  if (HDDBarOption >= 0 && HDDBarOption <= 5) {
    DisplayProgressBar(rgn, total - free, total, 58, bottom + 93, 200, 14, kBackground, 1,
                       0xFF808080, colours[HDDBarOption]);
  }
  if (repeating_key) return;
  char text[128];
  int count = CountMultiSelect();
  if (count > 0) {
    snprintf(text, sizeof text, " %.40s: +%d ", Lang(text_MultiSelectActive), count);
    PrintLeft(rgn, 263, (dword)(bottom + 89), 521, text, 0xFFFFFF00, kBackground, 14);
    return;
  }
  int percent = (int)((uint64_t)free * 100 / total);
  int gigabytes = (int)(free / 1024);
  bool low = gigabytes < FreeSpaceThreshold;
  if (recordingRateOption > 0) {
    snprintf(text, sizeof text, "%01d%% %dGB %.20s:  ~%01d%.3s", percent, gigabytes,
             Lang(text_Remaining), (int)(free / (dword)recordingRateOption), Lang(text_HoursShort));
  } else {
    // Without a recording rate the hours cannot be estimated: leave them out.
    snprintf(text, sizeof text, "%01d%% %dGB %.20s", percent, gigabytes, Lang(text_Remaining));
  }
  PrintLeft(rgn, 263, (dword)(bottom + 89), 521, text, low ? 0xFFFF0000 : 0xFFC0C0C0, kBackground,
            low ? 14 : 12);
}

void UpdateListClock(int colourOption) {
  word mjd = 0;
  byte hour = 0, minute = 0, second = 0;
  if (!TAP_GetTime(&mjd, &hour, &minute, &second)) return;
  word year = 0;
  byte month = 0, day = 0, weekday = 0;
  TAP_ExtractMjd(mjd, &year, &month, &day, &weekday);
  char dayName[8], monthName[8], text[64];
  WeekdayToAlphaAbbr(weekday, dayName);
  MonthToAlpha(month, monthName);
  int shownHour = hour;
  if (Clock12Hour) {
    if (hour == 0)
      shownHour = 12;
    else if (hour > 12)
      shownHour = hour - 12;
  }
  snprintf(text, sizeof text, "%s %d %s %02d:%02d", dayName, day, monthName, shownHour, minute);
  int y = configWindowShowing ? 40 : yOffsetOption + 4;
  // The clock's field starts after the title's heading (which ends at 501).
  PrintRight(rgn, 502, (dword)y, 668, text, SetClockColourValue(colourOption), kBackground, 16);
}
