// Drawing the list: the title line, the rows with their icons, markers,
// progress bars and columns.
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"
#include "ui/UiTexts.h"
#include "ui/graphics/Graphics.h"

int scrollTextIndex;
int scrollFilenameEligible;
int recordingOnScreenEntry1, recordingOnScreenEntry2, recordingOnScreenEntry3,
    recordingOnScreenEntry4;
int recordingOnScreenLine1, recordingOnScreenLine2, recordingOnScreenLine3, recordingOnScreenLine4;
int playbackOnScreenEntry, playbackOnScreenLine;

namespace {

const dword kBackground = 0xFF101010;
const dword kRowBackground = 0xFF1E1E1E;
const dword kText = 0xFFFAFAFA;
const dword kTitle = 0xFFE6E6FA;

FileRecord* EntryAt(int entry) {
  if (CurrentDirNumber < 0 || CurrentDirNumber >= MAX_FOLDERS) return nullptr;
  if (entry < 1 || entry > MAX_FOLDER_LINES) return nullptr;
  return FileSlot(CurrentDirNumber, entry);
}

FolderRecord* FolderAt(int n) {
  if (n < 0 || n >= MAX_FOLDERS) return nullptr;
  return myfolders[n];
}

// Left edges and limits of the five fields of a row.
int Column1Limit() { return column1Width + 53; }
int Column2X() { return column1Width + 62; }
int Column3X() { return column1Width + column2Width + 60; }
int Column3Limit() { return column1Width + column2Width + column3Width + 53; }
int Column4X() { return column1Width + column2Width + column3Width + 61; }
int Column4Limit() { return column1Width + column2Width + column3Width + column4Width + 54; }
int Column5X() { return column1Width + column2Width + column3Width + column4Width + 62; }
int Column5Limit() {
  return column1Width + column2Width + column3Width + column4Width + column5Width + 55;
}

// Prints a text fitted to its column from `defaultSize`, with the column's
// font option and alignment.
void PrintField(const char* text, int x, int maxX, int top, int defaultSize, int columnWidth,
                int fontOption, int alignment, dword colour) {
  int size = FitFontSize(text, defaultSize, columnWidth);
  int offset = 0;
  CheckColumnFont(fontOption, &size, &offset);
  PrintAlign(alignment, rgn, x, top + 8 + offset, maxX, text, colour, 0, size);
}

// Two texts in one field: the first left-aligned, the second right-aligned.
void PrintSplitField(const char* left, const char* right, int x, int maxX, int top, int defaultSize,
                     int columnWidth, int fontOption, dword colour) {
  char both[256];
  snprintf(both, sizeof both, "%s   %s", left, right);
  int size = FitFontSize(both, defaultSize, columnWidth);
  int offset = 0;
  CheckColumnFont(fontOption, &size, &offset);
  PrintLeft(rgn, (dword)x, (dword)(top + 8 + offset), (dword)maxX, left, colour, 0, size);
  PrintRight(rgn, (dword)x, (dword)(top + 8 + offset), (dword)maxX, right, colour, 0, size);
}

void GigabytesText(uint64_t size, char* out) {
  FormatFileSize((dword)size, (dword)(size >> 32), out, 2);
}

int MultiSelectPosition(int entry, const FileRecord* r) {
  int position = 1;
  for (MultiSelectItem* item = MultiSelect; item; item = item->next, position++) {
    if (item->folderNumber == CurrentDirNumber && item->entryIndex == entry &&
        item->inode == r->inode) {
      return position;
    }
  }
  return 0;
}

void SetRecordingMarker(int slot, int entry, int line) {
  int* entries[4] = {&recordingOnScreenEntry1, &recordingOnScreenEntry2, &recordingOnScreenEntry3,
                     &recordingOnScreenEntry4};
  int* lines[4] = {&recordingOnScreenLine1, &recordingOnScreenLine2, &recordingOnScreenLine3,
                   &recordingOnScreenLine4};
  *entries[slot] = entry;
  *lines[slot] = line;
}

// The name of the file of recording slot `slot`, or "" when it records nothing.
bool RecordingSlotHolds(int slot, const char* name) {
  TYPE_RecInfo info;
  TAP_MemSet(&info, 0, sizeof info);
  if (!TAP_Hdd_GetRecInfo((byte)slot, &info)) return false;
  if (info.recType != RECTYPE_Normal && info.recType != RECTYPE_Copy) return false;
  info.fileName[sizeof info.fileName - 1] = 0;
  const char* base = strrchr(info.fileName, '/');
  base = base ? base + 1 : info.fileName;
  return strcmp(base, name) == 0;
}

dword ProgressMode(bool recording) {
  switch (progressBarOption) {
    case 0:
    case 1:
    case 2:
      return (dword)progressBarOption;
    case 3:
      return recording ? 0xFFFF0000 : 0xFF00FF00;
    case 4:
      return recording ? 0xFFFFFFFF : 0xFFFAFAFA;
    default:
      return 0xFFFFFFFFu;  // no bar
  }
}

// The bar and the minutes text of a watched or recording line.
void DrawRowProgress(int top, dword value, dword maximum, int doneMinutes, int totalMinutes,
                     bool recording) {
  bool narrow = NarrowSpacing();
  int barOffset = narrow ? 13 : 21, barHeight = narrow ? 4 : 8, minsOffset = narrow ? 1 : 13;
  dword mode = ProgressMode(recording);
  if (progressBarOption >= 0 && progressBarOption <= 4) {
    DisplayProgressBar(rgn, value, maximum, Column2X(), top + 8 + barOffset, column2Width - 96,
                       barHeight, kBackground, 1, kBackground, mode);
  }
  if (totalMinutes > 0 && (MinsOnProgressBar == 0 || MinsOnProgressBar == 2)) {
    int size = MinsOnProgressBar == 2 ? 12 : 10;
    int remaining = totalMinutes - doneMinutes;
    if (remaining < 0) remaining = 0;
    char text[64];
    snprintf(text, sizeof text, "+%d/-%d%.5s", doneMinutes, remaining, Lang(text_MinuteShort));
    int x = column1Width + column2Width - 28;
    int y = top + minsOffset + (size == 10 ? 12 : 8);
    int maxX = column1Width + column2Width + 52;
    PrintLeft(rgn, (dword)x, (dword)y, (dword)maxX, text, kRowBackground, 0, size);
    PrintLeft(rgn, (dword)(x - 1), (dword)(y - 1), (dword)maxX, text,
              SetClockColourValue(MinsColour), 0, size);
  }
}

}  // namespace

void DrawGraphicBorders() { TAP_Osd_FillBox(rgn, 0, 0, OSD_WIDTH, OSD_HEIGHT, kBackground); }

void PrintAlign(int alignment, word region, int x, int y, int maxX, const char* text, dword colour,
                dword background, int size) {
  if (alignment == 1) {
    PrintLeft(region, (dword)x, (dword)y, (dword)maxX, text, colour, background, size);
  } else if (alignment == 2) {
    PrintRight(region, (dword)x, (dword)y, (dword)maxX, text, colour, background, size);
  } else {
    PrintCenter(region, (dword)x, (dword)y, (dword)maxX, text, colour, background, size);
  }
}

void DrawColumnGap(int x, int y) {
  dword colour = (recycleWindowMode && RecycleDividerColour == 1) ? 0xFF999999 : kBackground;
  TAP_Osd_FillBox(rgn, (dword)x, (dword)y, 3, (dword)RowPitch(), colour);
}

void displayMenuBar(int colourOption, int x, int y, int height, int width) {
  static const TYPE_GrData* const cells[5][3] = {
      {&_TMSHighlightCellBlue20_Gd, &_TMSHighlightCellBlue26_Gd, &_TMSHighlightCellBlue39_Gd},
      {&_TMSHighlightCellGreen20_Gd, &_TMSHighlightCellGreen26_Gd, &_TMSHighlightCellGreen39_Gd},
      {&_TMSHighlightCellOldGreen20_Gd, &_TMSHighlightCellOldGreen26_Gd,
       &_TMSHighlightCellOldGreen39_Gd},
      {&_TMSHighlightCellYellow20_Gd, &_TMSHighlightCellYellow26_Gd, &_TMSHighlightCellYellow39_Gd},
      {&_TMSHighlightCellDarkBlue20_Gd, &_TMSHighlightCellDarkBlue26_Gd,
       &_TMSHighlightCellDarkBlue39_Gd}};
  if (width < 10) return;
  int which = height == 20 ? 0 : height == 26 ? 1 : 2;
  const TYPE_GrData* cell = nullptr;
  if (colourOption >= 0 && colourOption <= 4) {
    cell = cells[colourOption][which];
  } else if (colourOption == 5) {
    if (which != 2) {
      // Only a 39-pixel red cell exists: a lower bar is filled with its
      // middle colour rather than spilling over the row below.
      const TYPE_GrData& red = _TMSHighlightCellOldRed39_Gd;
      dword middle = red.argb[(red.height / 2) * red.width + red.width / 2] | 0xFF000000;
      TAP_Osd_FillBox(rgn, (dword)x, (dword)y, (dword)width, (dword)height, middle);
      return;
    }
    cell = &_TMSHighlightCellOldRed39_Gd;
  }
  if (!cell) return;
  for (int i = 0; i < width / 10; i++) TAP_Osd_PutGd(rgn, x + 10 * i, y, cell, 0);
  TAP_Osd_PutGd(rgn, x + width - 10, y, cell, 0);
}

dword DrawLineColour(int percent) {
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  int red = percent < 50 ? percent * 255 / 50 : 255;
  int green = percent <= 50 ? 255 : 255 - (percent * 255 - 12750) / 50;
  return 0xFF000000u | (dword)red << 16 | (dword)green << 8;
}

void DrawLine(word region, int x, int y, int length, dword colour) {
  if (length <= 0) return;
  TAP_Osd_FillBox(region, (dword)x, (dword)y, 1, (dword)length, colour);
}

void DisplayProgressBar(word region, dword value, dword maximum, int x, int y, int width,
                        int height, dword fillColour, int border, dword borderColour, dword mode) {
  if (width <= 0 || height <= 0) return;
  if (maximum == 0) maximum = 1;
  if (value > maximum) value = maximum;
  int percent = (int)((uint64_t)value * 100 / maximum);
  TAP_Osd_FillBox(region, (dword)x, (dword)y, (dword)width, (dword)height, fillColour);
  int length =
      mode == 2 ? width - 2 * border : (int)((uint64_t)width * value / maximum) - 2 * border;
  for (int i = 0; i < length; i++) {
    dword colour;
    if (mode == 0) {
      colour = DrawLineColour(i * 100 / width);
    } else if (mode <= 2) {
      colour = DrawLineColour(percent);
    } else {
      colour = mode;
    }
    DrawLine(region, x + border + i, y, height, colour);
  }
  if (border > 0) {
    TAP_Osd_DrawRectangle(region, (dword)x, (dword)y, (dword)width, (dword)height, (dword)border,
                          borderColour);
  }
}

void DrawBackground() {
  int top = yOffsetOption;
  TAP_Osd_FillBox(rgn, 53, (dword)top, 448, 30, kBackground);
  PrintLeft(rgn, 53, (dword)top, 501, PROGRAM_VERSION, kTitle, kBackground, 18);
  int titleWidth = (int)PrintWidth(PROGRAM_VERSION, 18);

  char folderName[200];
  FolderRecord* folder = FolderAt(CurrentDirNumber);
  if (strcmp(CurrentDir, "/DataFiles") == 0) {
    snprintf(folderName, sizeof folderName, "%s", Lang(text_DataFiles));
  } else {
    snprintf(folderName, sizeof folderName, "%.199s", folder ? folder->name : "");
  }
  int count = folder ? folder->entryCount : 0;
  char heading[128];
  snprintf(heading, sizeof heading, "%.50s %.20s (%d/%d)", folderName, sortTitle, chosenLine,
           count);
  int x = titleWidth + 68;
  if ((int)PrintWidth(heading, 14) <= 433 - titleWidth) {
    PrintLeft(rgn, (dword)x, (dword)(top + 5), 501, heading, kTitle, kBackground, 14);
  } else {
    PrintLeft(rgn, (dword)x, (dword)(top + 5), 501, folderName, kTitle, kBackground, 14);
    char tail[64];
    snprintf(tail, sizeof tail, "... %.20s (%d/%d)", sortTitle, chosenLine, count);
    int tailX = 501 - (int)PrintWidth(tail, 14);
    if (tailX < x) tailX = x;
    PrintLeft(rgn, (dword)tailX, (dword)(top + 5), 501, tail, kTitle, kBackground, 14);
  }
}

void DrawQuembryList() {
  int lines = LinesPerPage();
  if (printLine > lines) printLine = lines;
  if (printLine < 1 && chosenLine > 0) printLine = 1;
  int start = chosenLine - printLine + 1;
  if (HideEmptyFolders && printLine != 1) {
    // Start so that printLine - 1 shown (non-empty) entries precede the
    // selection, which then stays on its line.
    int shown = 0;
    start = chosenLine;
    while (start > 1 && shown < printLine - 1) {
      start--;
      if (!IsEmptyFolderLine(start)) shown++;
    }
  }
  if (start < 1) {
    start = 1;
    printLine = 1;
  }

  DrawBackground();
  recordingOnScreenEntry1 = recordingOnScreenEntry2 = recordingOnScreenEntry3 =
      recordingOnScreenEntry4 = 0;
  recordingOnScreenLine1 = recordingOnScreenLine2 = recordingOnScreenLine3 =
      recordingOnScreenLine4 = 0;
  playbackOnScreenEntry = playbackOnScreenLine = 0;
  if (FolderRecord* folder = FolderAt(CurrentDirNumber)) folder->newFileCount = 0;

  int entry = start;
  for (int line = 1; line <= lines; line++) {
    if (HideEmptyFolders) {
      while (entry <= maxShown && IsEmptyFolderLine(entry)) entry++;
    }
    DisplayQuembryLine(entry, line);
    entry++;
  }
}

void DisplayQuembryLine(int entry, int line) {
  scrollTextIndex = 0;
  DrawQuembryLine(entry, line);
}

void DrawQuembryLine(int entry, int line) {
  if (entry == 0) return;
  bool narrow = NarrowSpacing();
  int top = RowTop(line);
  dword colour;
  if (entry == chosenLine) {
    TAP_Osd_FillBox(rgn, 53, (dword)top, 618, narrow ? 27 : 40, kBackground);
    displayMenuBar(MenuBarColour, 53, top, narrow ? 26 : 39, 618);
    colour = resolvedMenuTextColour;
    printLine = line;
  } else {
    TAP_Osd_FillBox(rgn, 53, (dword)top, 618, narrow ? 27 : 40, kRowBackground);
    colour = kText;
  }
  if (entry <= maxShown) DisplayQuembryText(entry, line, colour);
  DrawColumnGap(column1Width + 54, top);
  DrawColumnGap(column1Width + column2Width + 55, top);
  DrawColumnGap(column1Width + column2Width + column3Width + 56, top);
  DrawColumnGap(column1Width + column2Width + column3Width + column4Width + 57, top);
}

void DisplayQuembryText(int entry, int line, dword colour) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  if (r->attribute == ATTRIBUTE_FOLDER || r->attribute == 240 || r->attribute == ATTRIBUTE_PARENT) {
    DisplayFolderText(entry, line, colour);
  } else {
    DisplayFileText(entry, line, colour);
  }
}

void DisplayFolderText(int entry, int line, dword colour) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  bool narrow = NarrowSpacing();
  int top = RowTop(line);
  int iconY = top + 8 - (narrow ? 8 : 0);
  bool parent = r->attribute != ATTRIBUTE_FOLDER;
  TAP_Osd_PutGd(rgn, 53, iconY, parent ? &_folder_yellow_parent_Gd : &_folder_yellow_Gd, 1);

  FolderRecord* folder = parent ? nullptr : FolderAt(r->folderNumber);
  int countSize = narrow ? 14 : 16;
  char text[128];
  if (folder && folder->subfolderCount > 0) {
    snprintf(text, sizeof text, "%d %.20s", folder->subfolderCount,
             Lang(folder->subfolderCount == 1 ? text_Folder : text_Folders));
    PrintField(text, Column3X(), Column3Limit(), top, countSize, column3Width, Column3Font,
               Column345LeftAlign, colour);
  }
  if (folder && folder->fileCount > 0 && !TAPManagerMode) {
    bool shortWord = column4Option >= 2 && column4Option <= 5;
    UiText& word = folder->fileCount == 1 ? (shortWord ? text_Rec : text_Recording)
                                          : (shortWord ? text_Recs : text_Recordings);
    snprintf(text, sizeof text, "%d %.20s", folder->fileCount, Lang(word));
    if (column4Option == 4) {
      char size[128];
      GigabytesText(folder->totalSize, size);
      PrintSplitField(text, size, Column4X(), Column4Limit(), top, countSize, column4Width,
                      Column4Font, colour);
    } else {
      PrintField(text, Column4X(), Column4Limit(), top, countSize, column4Width, Column4Font,
                 Column4LeftAlign, colour);
    }
  }

  int size = 16, offset = 0;
  CheckColumnFont(Column2Font, &size, &offset);
  snprintf(text, sizeof text, "%.79s", r->name);
  PrintLeft(rgn, (dword)Column2X(), (dword)(top + 8 + offset),
            (dword)(column1Width + column2Width + 54), text, colour, 0, size);

  if (!recycleWindowMode && NewIndicatorOption < 2 && folder) {
    if ((folder->newFileCount > 0 || folder->newFolderCount > 0) && strcmp(r->name, "..") != 0) {
      TAP_Osd_PutGd(rgn, 57, iconY, &_newstar_Gd, 1);
    }
    if (folder->newFileCount > 0 && NewIndicatorOption == 0 && !Column5FolderSize) {
      int fieldSize = 16, fieldOffset = 0;
      if (narrow) {
        snprintf(text, sizeof text, "%d*", folder->newFileCount);
        fieldSize = FitFontSize(text, 16, column5Width);
        CheckColumnFont(Column5Font, &fieldSize, &fieldOffset);
        PrintCenter(rgn, (dword)Column5X(), (dword)(top + 8 + fieldOffset), (dword)Column5Limit(),
                    text, colour, 0, fieldSize);
      } else {
        snprintf(text, sizeof text, "%d", folder->newFileCount);
        fieldSize = FitFontSize(text, 16, column5Width);
        CheckColumnFont(Column5Font, &fieldSize, &fieldOffset);
        PrintCenter(rgn, (dword)Column5X(), (dword)(top + 1 + fieldOffset), (dword)Column5Limit(),
                    text, colour, 0, fieldSize);
        PrintCenter(rgn, (dword)Column5X(), (dword)(top + 18 + fieldOffset), (dword)Column5Limit(),
                    Lang(text_New), colour, 0, 14);
      }
    }
  }
  if (Column5FolderSize && folder && folder->fileCount > 0 && !TAPManagerMode) {
    FormatFileSize((dword)folder->totalSize, (dword)(folder->totalSize >> 32), text,
                   column5Width > 62 ? 2 : 4);
    PrintField(text, Column5X(), Column5Limit(), top, 16, column5Width, Column5Font,
               Column5LeftAlign, kText);
  }
}

void FormatFilename(int x, int y, int maxX, int yDelta, int entry, const char* name, int nameMode,
                    dword colour) {
  FileRecord* r = EntryAt(entry);
  char shown[128];
  if (name) {
    snprintf(shown, sizeof shown, "%.127s", name);
  } else if (!r) {
    return;
  } else if (TAPManagerMode || tempFileSuffixOption == 2 || nameMode == 2) {
    snprintf(shown, sizeof shown, "%.127s", r->name);
  } else if (nameMode == 1) {
    snprintf(shown, sizeof shown, "%.127s", r->sortName[0] ? r->sortName : r->name);
  } else {
    char saved[sizeof suffix];
    memcpy(saved, suffix, sizeof saved);  // StripFileName leaves the cut extension here
    snprintf(shown, sizeof shown, "%.127s", r->name);
    StripFileName(shown);
    memcpy(suffix, saved, sizeof saved);
  }
  int size = 16, offset = 0;
  CheckColumnFont(Column2Font, &size, &offset);
  int top = y - 8 - offset - yDelta;  // the row's top
  int state = r ? (r->encryption & 3) : 0;
  if (state != 0) {
    static const TYPE_GrData* const icons[3] = {&_crypt_icon_1_Gd, &_crypt_icon_2_Gd,
                                                &_crypt_icon_3_Gd};
    // A raised name lifts the icon too, but never above its row: what lies
    // in the gap between rows is not redrawn when the rows scroll.
    int iconY = top + 3 + yDelta + (NarrowSpacing() ? 0 : 8);
    TAP_Osd_PutGd(rgn, maxX - 20, iconY < top ? top : iconY, icons[state - 1], 1);
    maxX -= 18;
  }
  const char* text = shown;
  if (entry == chosenLine) {
    scrollFilenameEligible = (int)PrintWidth(shown, size) > maxX - x;
    if (ScrollDelay != 0 && scrollFilenameEligible) {
      int length = (int)strlen(shown);
      if (scrollTextIndex >= length || scrollTextIndex < 0) scrollTextIndex = 0;
      text = shown + scrollTextIndex;
      scrollTextIndex++;
      if (scrollTextIndex >= length) scrollTextIndex = 0;
    }
  }
  PrintLeft(rgn, (dword)x, (dword)y, (dword)maxX, text, colour, 0, size);
}

void PrintListFileSize(int entry, int line, int mode) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  char text[128];
  FormatFileSize((dword)r->size, (dword)(r->size >> 32), text, mode);
  PrintField(text, Column5X(), Column5Limit(), RowTop(line), 16, column5Width, Column5Font,
             Column5LeftAlign, kText);
}

void DisplayFileText(int entry, int line, dword colour) {
  FileRecord* r = EntryAt(entry);
  if (!r) return;
  bool narrow = NarrowSpacing();
  int top = RowTop(line);
  int column4Size = narrow ? 14 : 16;
  int nameRaise = narrow ? -4 : -7;
  int iconOffset = narrow ? -8 : 0;

  // 1. Multi-selection order.
  int marked = r->attribute == ATTRIBUTE_FILE ? MultiSelectPosition(entry, r) : 0;
  int column1Size = 16, column1Offset = 0;
  CheckColumnFont(Column1Font, &column1Size, &column1Offset);
  if (marked) {
    char text[32];
    snprintf(text, sizeof text, "+%d ", marked);
    PrintCenter(rgn, 54, (dword)(top + 9 + column1Offset), (dword)Column1Limit() + 1, text,
                kBackground, 0, column1Size);
    PrintCenter(rgn, 53, (dword)(top + 8 + column1Offset), (dword)Column1Limit(), text, 0xFFFFFF00,
                0, column1Size);
  }

  // 2. Status icon.
  bool icon = false;
  if (!recycleWindowMode) {
    if (r->recordingNow) {
      if (!marked) TAP_Osd_PutGd(rgn, 56, top + 12 + iconOffset, &_RedCircleRecord_Gd, 1);
      icon = true;
      for (int slot = 0; slot < 4; slot++) {
        if (RecordingSlotHolds(slot, r->name)) SetRecordingMarker(slot, entry, line);
      }
    } else if (r->playingNow) {
      if (!marked) TAP_Osd_PutGd(rgn, 56, top + 12 + iconOffset, &_GreenCirclePlay_Gd, 1);
      icon = true;
      playbackOnScreenEntry = entry;
      playbackOnScreenLine = line;
    }
  } else if (!marked) {
    TAP_Osd_PutGd(rgn, 53, top + 8 + iconOffset, &_trash_bin_Gd, 1);
  }

  // 3.-6. Progress and the name.
  int raise = 0;
  if (r->hasHistory) {
    int percent = 0, watched = 0;
    if (r->totalBlocks) {
      percent = (int)((uint64_t)r->positionBlock * 100 / r->totalBlocks);
      watched = (int)((uint64_t)r->positionBlock * r->durationMinutes / r->totalBlocks);
    }
    if (percent < CompletelyWatchedPercent || r->playingNow) {
      DrawRowProgress(top, r->positionBlock, r->totalBlocks, watched, (int)r->durationMinutes,
                      false);
      raise = nameRaise;
    } else if (!r->recordingNow && !recycleWindowMode) {
      // In the recycle view the bin stays the line's only icon.
      if (!marked) TAP_Osd_PutGd(rgn, 56, top + 12 + iconOffset, &_BlueCircleTick_Gd, 1);
      icon = true;
    }
  } else if (r->recordingNow) {
    DrawRowProgress(top, r->recordedSeconds, r->durationMinutes * 60,
                    (int)(r->recordedSeconds / 60), (int)r->durationMinutes, true);
    raise = nameRaise;
  } else if (r->isNew && !recycleWindowMode && NewIndicatorOption < 2 && !marked) {
    TAP_Osd_PutGd(rgn, 57, top + 8 + iconOffset, &_newstar_Gd, 1);
    icon = true;
  }
  int nameSize = 16, nameOffset = 0;
  CheckColumnFont(Column2Font, &nameSize, &nameOffset);
  FormatFilename(Column2X(), top + 8 + nameOffset + raise, column1Width + column2Width + 52, raise,
                 entry, nullptr, column2Option, colour);

  char text[128];
  // 7. Date.
  if (!TAPManagerMode || r->attribute == ATTRIBUTE_FILE) {
    int size = 16;
    FormatDate(r, text, column3Option, &size);
    PrintField(text, Column3X(), Column3Limit(), top, size, column3Width, Column3Font,
               Column345LeftAlign, colour);
  }

  // 8. Time and duration.
  if (TAPManagerMode) {
    snprintf(text, sizeof text, "%02d:%02d", (int)((r->stamp >> 8) & 0xFF), (int)(r->stamp & 0xFF));
    PrintField(text, Column4X(), Column4Limit(), top, column4Size, column4Width, Column4Font,
               Column4LeftAlign, colour);
  } else if (column4Option == 4 || column4Option == 7) {
    char time[32], right[128];
    FormatTimeAndDuration(r, text, column4Option);
    snprintf(time, sizeof time, "%.20s", text);
    if (column4Option == 4) {
      GigabytesText(r->size, right);
    } else {
      FormatList3Duration((int)r->durationMinutes, right);
    }
    PrintSplitField(time, right, Column4X(), Column4Limit(), top, column4Size, column4Width,
                    Column4Font, colour);
  } else {
    FormatTimeAndDuration(r, text, column4Option);
    PrintField(text, Column4X(), Column4Limit(), top, column4Size, column4Width, Column4Font,
               Column4LeftAlign, colour);
  }

  // 9. Size or channel logo.
  if (TAPManagerMode) {
    PrintListFileSize(entry, line, 6);
  } else if (column5Option != 0) {
    PrintListFileSize(entry, line, column5Option);
  } else if (sortOrder == 3) {
    PrintListFileSize(entry, line, narrow ? 4 : 2);
  } else {
    DisplayLogo(rgn, column1Width + column2Width + column3Width + column4Width + 60, top,
                narrow ? 40 : 60, narrow ? 26 : 39, r->serviceNumber, (int)r->serviceType,
                r->serviceName);
  }

  // 10. Number.
  if (column1Option != 0 && !marked && (narrow || (!recycleWindowMode && !icon))) {
    int number = entry;
    if (column1Option == 1) {
      FolderRecord* folder = FolderAt(CurrentDirNumber);
      number = entry - (folder ? folder->subfolderCount : 0) - (CurrentDirNumber != 0 ? 1 : 0);
    }
    snprintf(text, sizeof text, "%d", number);
    PrintCenter(rgn, narrow ? 73 : 53, (dword)(top + 8 + column1Offset), (dword)Column1Limit(),
                text, colour, 0, column1Size);
  }
}
