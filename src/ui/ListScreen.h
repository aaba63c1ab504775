// ListScreen.h - the Quembry list: its geometry, the drawing of its rows,
// title and bottom area, the text formatters of its columns, and the window's
// lifecycle. Everything draws into rgn and leaves the screen sync to the
// caller unless a function says otherwise.
#pragma once

#include "catalogue/catalogue.h"
#include "tap.h"

// ------------------------------------------------------------ state
extern int chosenLine;  // selected entry (1-based), 0 in an empty folder
extern int printLine;   // screen line of the selected entry
extern int page;        // (chosenLine - 1) / lines per page
extern int yOffsetOption;
extern int column1Width, column2Width, column3Width, column4Width, column5Width;
extern dword resolvedMenuTextColour;
// The colour a menu or button text option (0 white, 1 dark, 2 yellow) stands for.
dword TextColourOf(int option);
extern dword resolvedButtonTextColour;
extern int helpWindowShowing;
extern int scrollTextIndex;         // first character shown of the scrolling name
extern int scrollFilenameEligible;  // the selected name is wider than its field
extern int recordingOnScreenEntry1, recordingOnScreenEntry2, recordingOnScreenEntry3,
    recordingOnScreenEntry4;
extern int recordingOnScreenLine1, recordingOnScreenLine2, recordingOnScreenLine3,
    recordingOnScreenLine4;
extern int playbackOnScreenEntry, playbackOnScreenLine;

// ------------------------------------------------------------ geometry
bool NarrowSpacing();
int LinesPerPage();                 // 9, 10, 14 or 15
int RowPitch();                     // 29 or 42
int RowTop(int line);               // top of screen line `line` (1-based)
int BottomAreaY();                  // B: the bottom area starts at B + 34
bool IsEmptyFolderLine(int entry);  // a folder line whose folder holds nothing

// ------------------------------------------------------------ window lifecycle
void ResetScreenColumns();
void initialiseQuembryWindow();
void CreateQuembryWindow();
void ActivateQuembryWindow();
void CloseQuembryWindow();
void RefreshQuembryList(int recompute);
void RefreshQuembryWindow();
void DetermineStartingLine(int* entry);
void DeterminePrintingLine(int entry);

// ------------------------------------------------------------ drawing
void DrawGraphicBorders();
void DrawBackground();
void DrawQuembryList();
void DisplayQuembryLine(int entry, int line);
void DrawQuembryLine(int entry, int line);
void DisplayQuembryText(int entry, int line, dword colour);
void DisplayFolderText(int entry, int line, dword colour);
void DisplayFileText(int entry, int line, dword colour);
void FormatFilename(int x, int y, int maxX, int yDelta, int entry, const char* name, int nameMode,
                    dword colour);
void PrintListFileSize(int entry, int line, int mode);
void PrintAlign(int alignment, word region, int x, int y, int maxX, const char* text, dword colour,
                dword background, int size);
void CheckColumnFont(int fontOption, int* size, int* yOffset);
// The size, from `size` down in steps of 2 (10 at the least), at which `text`
// is narrower than columnWidth - 7.
int FitFontSize(const char* text, int size, int columnWidth);
void DrawColumnGap(int x, int y);
void displayMenuBar(int colourOption, int x, int y, int height, int width);
void DisplayProgressBar(word region, dword value, dword maximum, int x, int y, int width,
                        int height, dword fillColour, int border, dword borderColour, dword mode);
dword DrawLineColour(int percent);
void DrawLine(word region, int x, int y, int length, dword colour);

// ------------------------------------------------------------ bottom area
void UpdateSelectionNumber();
void UpdateFileSelectionText(int entry);
void UpdateFolderSelectionText(int entry);
void UpdateRecordingSelectionText(int entry);
void UpdateTAPManagerText();
void DisplayInstructions();
void DrawFreeSpaceBar();
void UpdateListClock(int colourOption);
dword SetClockColourValue(int colourOption);

// ------------------------------------------------------------ formatters
// Each writes into `out`, which must hold 128 bytes (FormatDate: 64).
void FormatDate(const FileRecord* entry, char* out, int mode, int* fontSize);
void FormatTimeAndDuration(const FileRecord* entry, char* out, int mode);
void FormatListDuration(int minutes, char* out);
void FormatList2Duration(int minutes, char* out);
void FormatList3Duration(int minutes, char* out);
void FormatFileSize(dword sizeLow, dword sizeHigh, char* out, int mode);
void WeekdayToAlphaAbbr(int weekday, char* out);  // 0 = Monday
void MonthToAlpha(int month, char* out);          // 1 = January

// Takes from `text` at *position the words that fit `width` pixels in font
// size `font`, writes them to `out` (at least 256 bytes) and moves *position
// to where the next line starts.
void FormatNameString(const char* text, int* position, char* out, int width, int font);
