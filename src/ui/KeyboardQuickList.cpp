// The keyboard's quick list: stored texts inserted at the cursor, kept in
// Keyboard_Quicklist.dat as 50-byte slots.
#include <string.h>

#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

char QuickList[QUICKLIST_SLOTS][QUICKLIST_ENTRY_SIZE];
int numberOfQuickListEntries, chosenQuickListLine, printQuickListLine, QuickListUpdated;

namespace {

typedef const char QlText[2][48];
QlText text_Title = {"Keyboard QuickList", "Tastatur-Schnellliste"};
QlText text_EnterText = {"Enter Text", "Text eingeben"};
QlText text_InsertName = {"Insert Filename in List", "Dateiname in Liste"};
QlText text_ExitCancel = {"Exit/Cancel", "Ende/Abbruch"};
QlText text_DeleteEntry = {"Delete Selected Entry", "Eintrag l\xF6schen"};
QlText text_FullA = {"The quick list is full (49 entries):", "Die Schnellliste ist voll (49):"};
QlText text_FullB = {"delete one to add another.", "erst einen Eintrag l\xF6schen."};

const char* T(QlText& text) { return text[TextLanguage == 1 ? 1 : 0]; }

const char* const kDefaults[7] = {" #", " ###", " ####", " ##-##", " ##-##-##", " DDD", " MMDD"};

constexpr int kBoxX = 122, kBoxY = 120, kBoxW = 476, kBoxH = 416;
constexpr int kPage = 9;
constexpr dword kTextColour = 0xFFFAFAFA;
byte* quickListCopy;

// Copies at most 49 bytes of `text` (up to `length` bytes, stopping at a zero
// or a line end) into the next slot, never cutting a character.
void AddEntry(const char* text, int length) {
  if (numberOfQuickListEntries >= QUICKLIST_FILE_ENTRIES) return;
  int n = 0;
  while (n < length && text[n] && text[n] != '\r' && text[n] != '\n') {
    byte bytes = 1;
    isUTF8Char(text + n, &bytes);
    if (n + bytes > QUICKLIST_ENTRY_SIZE - 1 || n + bytes > length) break;
    n += bytes;
  }
  if (n == 0) return;
  char* slot = QuickList[++numberOfQuickListEntries];
  memcpy(slot, text, (size_t)n);
  slot[n] = 0;
}

void UseDefaults() {
  numberOfQuickListEntries = 0;
  for (const char* entry : kDefaults) AddEntry(entry, (int)strlen(entry));
  QuickListUpdated = 1;
}

void KeepChosenVisible() {
  if (chosenQuickListLine > numberOfQuickListEntries)
    chosenQuickListLine = numberOfQuickListEntries;
  if (chosenQuickListLine < 1 && numberOfQuickListEntries > 0) chosenQuickListLine = 1;
  if (printQuickListLine > chosenQuickListLine) printQuickListLine = chosenQuickListLine;
  if (chosenQuickListLine >= printQuickListLine + kPage)
    printQuickListLine = chosenQuickListLine - kPage + 1;
  if (printQuickListLine < 1) printQuickListLine = 1;
}

void DrawQuickListEntries() {
  TAP_Osd_FillBox(rgn, kBoxX + 3, kBoxY + 44, kBoxW - 6, 30 * kPage + 24, 0xFF1E1E1E);
  if (printQuickListLine > 1)
    TAP_Osd_PutGd(rgn, kBoxX + kBoxW / 2 - 8, kBoxY + 46, &_ArrowUp_Gd, 1);
  for (int i = 0; i < kPage; i++) {
    int entry = printQuickListLine + i;
    if (entry > numberOfQuickListEntries) break;
    int y = kBoxY + 60 + 30 * i;
    if (entry == chosenQuickListLine)
      displayMenuBar(MenuBarColour, kBoxX + 12, y - 3, 26, kBoxW - 24);
    dword colour = entry == chosenQuickListLine ? resolvedMenuTextColour : kTextColour;
    // Leading blanks of the placeholders show as they are typed.
    PrintLeft(rgn, kBoxX + 24, (dword)y, kBoxX + kBoxW - 24, QuickList[entry], colour, 0, 18);
  }
  if (printQuickListLine + kPage <= numberOfQuickListEntries) {
    TAP_Osd_PutGd(rgn, kBoxX + kBoxW / 2 - 8, kBoxY + 60 + 30 * kPage - 4, &_ArrowDown_Gd, 1);
  }
}

void DrawQuickList() {
  dword border = BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF;
  TAP_Osd_FillBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH, border);
  TAP_Osd_FillBox(rgn, kBoxX + 3, kBoxY + 3, kBoxW - 6, kBoxH - 6, 0xFF1E1E1E);
  PrintCenter(rgn, kBoxX, kBoxY + 14, kBoxX + kBoxW, T(text_Title), kTextColour, 0, 18);
  int maxX = kBoxX + kBoxW - 6;
  int y1 = kBoxY + kBoxH - 58, y2 = kBoxY + kBoxH - 32;
  const TYPE_GrData* ok = ButtonGraphic(BUTTON_ok);
  const TYPE_GrData* red = ButtonGraphic(BUTTON_red);
  const TYPE_GrData* exit = ButtonGraphic(BUTTON_exit);
  const TYPE_GrData* green = ButtonGraphic(BUTTON_green);
  drawLegendElement(kBoxX + 16, y1, maxX, ok, ok->width, T(text_EnterText));
  drawLegendElement(kBoxX + 200, y1, maxX, red, red->width, T(text_InsertName));
  drawLegendElement(kBoxX + 16, y2, maxX, exit, exit->width, T(text_ExitCancel));
  drawLegendElement(kBoxX + 200, y2, maxX, green, green->width, T(text_DeleteEntry));
  DrawQuickListEntries();
}

// Adds the text being edited (its first 49 bytes) in sorted position. The
// list never holds more than the file gives back: an entry beyond would be
// lost at the next save.
void AddCurrentText() {
  if (numberOfQuickListEntries >= QUICKLIST_FILE_ENTRIES) {
    ShowMessageWinX(rgn, T(text_Title), T(text_FullA), T(text_FullB), 300);
    return;
  }
  char entry[QUICKLIST_ENTRY_SIZE];
  int saved = numberOfQuickListEntries;
  // AddEntry cuts on a character boundary; borrow the free slot for that.
  numberOfQuickListEntries = 0;
  AddEntry(currentString, (int)strlen(currentString));
  bool added = numberOfQuickListEntries == 1;
  if (added) strcpy(entry, QuickList[1]);
  numberOfQuickListEntries = saved;
  if (!added) return;
  int at = numberOfQuickListEntries + 1;
  for (int i = 1; i <= numberOfQuickListEntries; i++) {
    if (strcmp(QuickList[i], entry) > 0) {
      at = i;
      break;
    }
  }
  for (int i = numberOfQuickListEntries; i >= at; i--) strcpy(QuickList[i + 1], QuickList[i]);
  strcpy(QuickList[at], entry);
  numberOfQuickListEntries++;
  chosenQuickListLine = at;
  QuickListUpdated = 1;
  KeepChosenVisible();
}

void DeleteChosenEntry() {
  if (chosenQuickListLine < 1 || chosenQuickListLine > numberOfQuickListEntries) return;
  for (int i = chosenQuickListLine; i < numberOfQuickListEntries; i++)
    strcpy(QuickList[i], QuickList[i + 1]);
  QuickList[numberOfQuickListEntries][0] = 0;
  numberOfQuickListEntries--;
  QuickListUpdated = 1;
  KeepChosenVisible();
}

bool EnterQuickListFolder() { return HDD_ChangeDir(QUICKLIST_FOLDER) == 1; }

// The file is there but could not be read: saving would put the defaults
// in place of the user's list.
bool quickListUnread = false;

}  // namespace

void populateKeyBoardQuickList() {
  numberOfQuickListEntries = 0;
  memset(QuickList, 0, sizeof QuickList);
  QuickListUpdated = 0;
  // Only what 49 slots can hold is read; anything beyond is ignored. A zero
  // byte follows what was read: a character cut short at the end of the file
  // must not make the UTF-8 test look past the buffer.
  static char buffer[QUICKLIST_FILE_ENTRIES * QUICKLIST_ENTRY_SIZE + 1];
  dword length = 0;
  quickListUnread = false;
  int pushed = HDD_TAP_PushDir();
  if (EnterQuickListFolder() && TAP_Hdd_Exist(QUICKLIST_FILE)) {
    TYPE_File* file = TAP_Hdd_Fopen(QUICKLIST_FILE);
    quickListUnread = !file;
    if (file) {
      length = TAP_Hdd_Flen(file);
      if (length > sizeof buffer - 1) length = sizeof buffer - 1;
      if (length > 0 && TAP_Hdd_Fread(buffer, length, 1, file) != 1) {
        length = 0;
        quickListUnread = true;
      }
      TAP_Hdd_Fclose(file);
    }
  }
  if (pushed) HDD_TAP_PopDir();
  buffer[length] = 0;
  int size = (int)length;
  if (memchr(buffer, 0, (size_t)size) != nullptr) {
    // Slots of 50 bytes; a short last slot still counts.
    for (int at = 0; at < size; at += QUICKLIST_ENTRY_SIZE) {
      int n = size - at < QUICKLIST_ENTRY_SIZE ? size - at : QUICKLIST_ENTRY_SIZE;
      AddEntry(buffer + at, n);
    }
  } else {
    // A file written by hand: one entry a line, with any line ends.
    for (int at = 0; at < size;) {
      int end = at;
      while (end < size && buffer[end] != '\r' && buffer[end] != '\n') end++;
      AddEntry(buffer + at, end - at);
      at = end + 1;
    }
  }
  if (numberOfQuickListEntries == 0) UseDefaults();
}

void saveKeyBoardQuickList() {
  if (quickListUnread) return;
  // The new list goes beside the old one and replaces it in one step, so that
  // a power cut or a full disk leaves the old list whole.
  static char buffer[(QUICKLIST_SLOTS - 1) * QUICKLIST_ENTRY_SIZE];
  memset(buffer, 0, sizeof buffer);
  int count = numberOfQuickListEntries < QUICKLIST_SLOTS - 1 ? numberOfQuickListEntries
                                                             : QUICKLIST_SLOTS - 1;
  for (int i = 1; i <= count; i++) {
    strncpy(buffer + (i - 1) * QUICKLIST_ENTRY_SIZE, QuickList[i], QUICKLIST_ENTRY_SIZE - 1);
  }
  int pushed = HDD_TAP_PushDir();
  if (EnterQuickListFolder() && ReplaceFileInFolder(SYSTEM_ROOT QUICKLIST_FOLDER, QUICKLIST_FILE,
                                                    buffer, (dword)count * QUICKLIST_ENTRY_SIZE)) {
    QuickListUpdated = 0;
  }
  if (pushed) HDD_TAP_PopDir();
}

void ReleaseQuickListMemory() {
  if (quickListCopy) TAP_MemFree(quickListCopy);
  quickListCopy = nullptr;
}

void DisplayKeyBoardQuickList() {
  keyboardQuickListWindowShowing = 1;
  TMSRemoteDirectMode(false);
  if (quickListCopy) TAP_MemFree(quickListCopy);
  quickListCopy = TAP_Osd_SaveBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH);
  populateKeyBoardQuickList();
  chosenQuickListLine = numberOfQuickListEntries > 0 ? 1 : 0;
  printQuickListLine = 1;
  DrawQuickList();
  TAP_Osd_Sync();
}

void CloseKeyboardQuickList() {
  keyboardQuickListWindowShowing = 0;
  if (QuickListUpdated) saveKeyBoardQuickList();
  RestoreWindowCopy(rgn, &quickListCopy, kBoxX, kBoxY, kBoxW, kBoxH);
  DrawKeyboardTextLine();
  TAP_Osd_Sync();
  TMSRemoteDirectMode(true);
}

dword KeyboardQuickListKeyHandler(dword key) {
  if (key & 0xFF000000u) return 0;
  switch (key) {
    case RKEY_ChUp:
      if (numberOfQuickListEntries > 0) {
        chosenQuickListLine =
            chosenQuickListLine > 1 ? chosenQuickListLine - 1 : numberOfQuickListEntries;
      }
      break;
    case RKEY_ChDown:
      if (numberOfQuickListEntries > 0) {
        chosenQuickListLine =
            chosenQuickListLine < numberOfQuickListEntries ? chosenQuickListLine + 1 : 1;
      }
      break;
    case RKEY_VolDown:
    case RKEY_Rewind:
      chosenQuickListLine -= kPage;
      printQuickListLine -= kPage;
      break;
    case RKEY_VolUp:
    case RKEY_Forward:
      if (chosenQuickListLine + kPage <= numberOfQuickListEntries) {
        chosenQuickListLine += kPage;
        printQuickListLine += kPage;
      } else {
        chosenQuickListLine = numberOfQuickListEntries;
      }
      break;
    case RKEY_Ok:
      if (chosenQuickListLine >= 1 && chosenQuickListLine <= numberOfQuickListEntries) {
        InsertQuickListText(QuickList[chosenQuickListLine]);
      }
      CloseKeyboardQuickList();
      return 0;
    case RKEY_Exit:
    case RKEY_Info:
      CloseKeyboardQuickList();
      return 0;
    default:
      if (key == RKEYN_Red || key == RKEY_Red) {
        AddCurrentText();
      } else if (key == RKEYN_Green || key == RKEY_Green) {
        DeleteChosenEntry();
      } else {
        return 0;
      }
  }
  KeepChosenVisible();
  DrawQuickListEntries();
  TAP_Osd_Sync();
  return 0;
}
