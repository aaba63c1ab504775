// Where things sit on the list: spacing, rows, column widths and fonts.
#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

int chosenLine;
int printLine;
int page;
int yOffsetOption = 36;
int column1Width = 35, column2Width = 336, column3Width = 107, column4Width = 73, column5Width = 63;
dword resolvedMenuTextColour = 0xFFFFFFFF;
dword resolvedButtonTextColour = 0xFFFFFFFF;

bool NarrowSpacing() { return LineSpacingOption == 1; }

int LinesPerPage() { return (NarrowSpacing() ? 14 : 9) + (ExtraLineOption ? 1 : 0); }

int RowPitch() { return NarrowSpacing() ? 29 : 42; }

int RowTop(int line) { return yOffsetOption + 34 + (line - 1) * RowPitch(); }

int BottomAreaY() { return LinesPerPage() * RowPitch() + yOffsetOption; }

bool IsEmptyFolderLine(int entry) {
  if (CurrentDirNumber < 0 || CurrentDirNumber >= MAX_FOLDERS) return false;
  if (entry < 1 || entry > MAX_FOLDER_LINES) return false;
  FileRecord* r = FileSlot(CurrentDirNumber, entry);
  if (!r || r->attribute != ATTRIBUTE_FOLDER) return false;
  int n = r->folderNumber;
  if (n < 0 || n >= MAX_FOLDERS || !myfolders[n]) return false;
  return myfolders[n]->subfolderCount == 0 && myfolders[n]->fileCount == 0;
}

dword TextColourOf(int option) {
  if (option == 0) return 0xFFFFFFFF;
  if (option == 2) return 0xFFFFFF00;
  return 0xFF101010;
}

void ResetScreenColumns() {
  bool narrow = NarrowSpacing();
  resolvedMenuTextColour = TextColourOf(MenuTextColour);
  resolvedButtonTextColour = TextColourOf(ButtonTextColour);
  yOffsetOption = ExtraLineOption ? 18 : 36;
  if (TAPManagerMode) {
    sortOrder = sortOrderTAPOption;
    column1Width = 55;
    column2Width = 316;
    column3Width = 107;
    column4Width = 73;
    column5Width = 63;
    return;
  }
  sortOrder = sortOrderOption;
  column1Width = narrow ? 55 : 35;
  column2Width = 336;
  column3Width = 107;
  column4Width = 73;
  column5Width = narrow ? 43 : 63;
  if (column4Option == 2 || column4Option == 3 || column4Option == 5) {
    column4Width = 73;
  } else {
    column4Width = 123;
    column2Width = 286;
  }
  if (column5Option == 1 || column5Option == 2 || column5Option == 5) {
    column5Width = narrow ? 63 : 83;
    column2Width -= 20;
  }
  if (column3Option == 2 || column3Option == 3) {
    column3Width = 57;
    column2Width += 50;
  }
}

void CheckColumnFont(int fontOption, int* size, int* yOffset) {
  bool narrow = NarrowSpacing();
  if (fontOption == 1) {
    *size = 12;
  } else if (fontOption == 2) {
    *size = 14;
  } else if (fontOption == 3) {
    *size = 16;
  } else if (narrow && *size == 16) {
    *size = 14;
  }
  int offset = *size == 12 ? 3 : *size == 14 ? 1 : 0;
  *yOffset = offset - (narrow ? 8 : 0);
}

int FitFontSize(const char* text, int size, int columnWidth) {
  while (size > 10 && (int)PrintWidth(text, size) >= columnWidth - 7) size -= 2;
  return size < 10 ? 10 : size;
}
