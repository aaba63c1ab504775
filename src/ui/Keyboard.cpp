// The on-screen keyboard: the editing state, the window and its keys.
#include "ui/Keyboard.h"

#include <string.h>

#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

char currentString[KEYBOARD_TEXT_SIZE];
char originalString[KEYBOARD_TEXT_SIZE];
int currentIndex;
int glbMaxChars;
int insertMode;
int caseMode;
int bLowerCase;
int shiftOn;
int keyboardListType;
int currentRow, currentColumn;
dword remoteKeyPrevKey;
int remoteKeyPressCount, remoteKeyFirstPress, remoteKeyActive;
dword lastRemoteKeyDigit;
int keyboardHelpWindowShowing, keyboardQuickListWindowShowing;

namespace {

typedef const char KbText[2][96];

KbText text_Hint = {
    "Recall reloads the original text in case you mess it up. You can SMS chars as well.",
    "Recall l\xE4\x64t den urspr\xFCnglichen Text neu. Zeichen auch per SMS-Tasten."};
KbText text_LegendHelp = {"Help", "Hilfe"};
KbText text_LegendCursor = {"Move text cursor", "Textcursor bewegen"};
KbText text_LegendQuickList = {"Quicklist", "Schnellliste"};
KbText text_LegendSelect = {"Select character", "Zeichen w\xE4hlen"};
KbText text_Ins = {"[Ins]", "[Einf]"};
KbText text_Ovr = {"[Ovr]", "[\xDC\x62\x65r]"};
KbText text_Function[9] = {{"Shift", "Shift"},  {"Save", "Sich"}, {"Canc", "Abbr"},
                           {"Del", "L\xF6sch"}, {"", ""},         {"", ""},
                           {"Relo", "Neu"},     {"Home", "Anf"},  {"End", "Ende"}};
KbText text_HelpTitle = {"Keyboard Help", "Tastatur-Hilfe"};
KbText text_Help[14][2] = {
    {{"Up/Down :", "Auf/Ab :"}, {"Move highlight Up/Down", "Auswahl nach oben/unten"}},
    {{"Left/Right :", "Links/Rechts :"},
     {"Move highlight Left/Right", "Auswahl nach links/rechts"}},
    {{"OK :", "OK :"}, {"Enter selected character", "Gew\xE4hltes Zeichen eingeben"}},
    {{"Stop/Yellow", "Stop/Gelb"},
     {"Change Insert/Overwrite mode", "Einf\xFCgen/\xDC\x62\x65rschreiben"}},
    {{"Pause/Blue:", "Pause/Blau:"}, {"Change Upper/Lower Case mode", "Gro\xDF-/Kleinschreibung"}},
    {{"Green :", "Gr\xFCn :"}, {"Delete a character", "Zeichen l\xF6schen"}},
    {{"Play :", "Play :"}, {"Insert a space", "Leerzeichen einf\xFCgen"}},
    {{"List :", "Liste :"}, {"Shift character set", "Zeichensatz umschalten"}},
    {{"<< / >> :", "<< / >> :"}, {"Move text cursor Left/Right", "Textcursor links/rechts"}},
    {{"Record :", "Aufnahme :"}, {"Save and exit", "Speichern und beenden"}},
    {{"Exit :", "Exit :"}, {"Discard and exit", "Verwerfen und beenden"}},
    {{"Recall :", "Recall :"}, {"Reload original", "Original neu laden"}},
    {{"(Press EXIT or INFO", "(EXIT oder INFO"},
     {"to close this help window)", "schlie\xDFt diese Hilfe)"}},
    {{"", ""}, {"", ""}},
};

const char* T(KbText& text) { return text[TextLanguage == 1 ? 1 : 0]; }

const char* const kCaseModeStr[3] = {"[Abc]", "[ABC]", "[abc]"};

// Character grids by keyboard language (English, Finnish, German) and case.
const char* const kLayout[3][2] = {
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_+~&# ()",
     "abcdefghijklmnopqrstuvwxyz0123456789-_=~&# ()"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC5\xC4\xD6"
     "0123456789-_# ()",
     "abcdefghijklmnopqrstuvwxyz\xE5\xE4\xF6"
     "0123456789-_# ()"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDF\xDC"
     "0123456789-_ ()",
     "abcdefghijklmnopqrstuvwxyz\xE4\xF6\xDF\xFC"
     "0123456789-_ ()"},
};

// Multi-tap groups of the digit keys 0 to 9.
const char KeyCharArray[10][17] = {" 0",   "-_=~&#()1", "ABC2",  "DEF3", "GHI4",
                                   "JKL5", "MNO6",      "PQRS7", "TUV8", "WXYZ9"};

// Window geometry.
constexpr int kBoxX = 67, kBoxY = 66, kBoxW = 586, kBoxH = 480;
constexpr int kLineX = 97, kLineY = 81;
constexpr int kCellW = 57, kCellH = 39;
constexpr dword kPanel = 0xFF1E1E1E;
constexpr dword kTextColour = 0xFFFAFAFA;
constexpr dword kLineBlue = 0xFF5A68D5;
constexpr dword kCellGrey = 0xFF3C3C3C;

void (*keyboardCallback)(const char* text, int result);
byte* keyboardWindowCopy;
int blinkOn;
dword lastBlinkTick;

enum EntryKind { kMultiTap, kGrid, kTyped };

// Bytes of the character at p (1 for a plain byte or the terminator).
int CharBytes(const char* p) {
  byte length = 1;
  isUTF8Char(p, &length);
  return length;
}

int CountChars(const char* text) {
  int n = 0;
  for (const char* p = text; *p; p += CharBytes(p)) n++;
  return n;
}

// Start of the character before byte index `index`.
int PreviousBoundary(const char* text, int index) {
  int last = 0;
  for (int i = 0; i < index && text[i];) {
    last = i;
    i += CharBytes(text + i);
  }
  return last;
}

// The longest prefix of `text` of at most `bytes` bytes that ends on a
// character boundary.
int PrefixBytes(const char* text, int bytes) {
  int i = 0;
  while (text[i]) {
    int n = CharBytes(text + i);
    if (i + n > bytes) break;
    i += n;
  }
  return i;
}

dword BorderColourValue() { return BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF; }

const char* Layout() {
  int language = keyboardLanguage >= 0 && keyboardLanguage <= 2 ? keyboardLanguage : 0;
  return kLayout[language][bLowerCase ? 1 : 0];
}

byte GridCharacter(int row, int column) {
  const char* layout = Layout();
  int index = 9 * row + column;
  return index < (int)strlen(layout) ? (byte)layout[index] : ' ';
}

const char* FunctionLabel(int column) {
  if (column == 4) return insertMode ? T(text_Ovr) : T(text_Ins);
  if (column == 5) return kCaseModeStr[caseMode >= 0 && caseMode <= 2 ? caseMode : 0];
  return T(text_Function[column]);
}

int CellX(int column) { return 89 + 60 * column; }
int CellY(int row) { return row == 5 ? 411 : 137 + 51 * row; }

void DrawCell(int row, int column) {
  int x = CellX(column), y = CellY(row);
  bool highlighted = row == currentRow && column == currentColumn;
  if (highlighted) {
    for (int dx = 0; dx < kCellW; dx += 10) {
      TAP_Osd_PutGd(rgn, x + (dx + 10 > kCellW ? kCellW - 10 : dx), y, &_TMSHighlightCellBlue39_Gd,
                    0);
    }
  } else {
    TAP_Osd_FillBox(rgn, (dword)x, (dword)y, kCellW, kCellH, kCellGrey);
  }
  char label[8];
  if (row == 5) {
    strncpy(label, FunctionLabel(column), sizeof label - 1);
    label[sizeof label - 1] = 0;
  } else {
    label[0] = (char)GridCharacter(row, column);
    label[1] = 0;
  }
  dword colour = highlighted ? resolvedButtonTextColour : kTextColour;
  // A label too wide for the cell takes the next smaller font.
  int size = PrintWidth(label, 18) > kCellW - 2 ? 16 : 18;
  PrintCenter(rgn, (dword)x, (dword)(y + 9), (dword)(x + kCellW), label, colour, 0, size);
  if (row == 4 && column == 6 && !highlighted) {
    const TYPE_GrData* red = ButtonGraphic(BUTTON_red);
    TAP_Osd_PutGd(rgn, x + (kCellW - red->width) / 2, y + (kCellH - red->height) / 2, red, 1);
  }
}

void DrawGrid() {
  for (int row = 0; row <= 5; row++)
    for (int column = 0; column <= 8; column++) DrawCell(row, column);
}

void DrawKeyboard() {
  TAP_Osd_FillBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH, BorderColourValue());
  TAP_Osd_FillBox(rgn, kBoxX + 3, kBoxY + 3, kBoxW - 6, kBoxH - 6, kPanel);
  DrawGrid();
  static const int images[9] = {BUTTON_white,  BUTTON_record,    BUTTON_exit,
                                BUTTON_green,  BUTTON_yellow,    BUTTON_blue,
                                BUTTON_recall, BUTTON_jumpstart, BUTTON_jumpend};
  for (int column = 0; column <= 8; column++) {
    const TYPE_GrData* gd = ButtonGraphic(images[column]);
    TAP_Osd_PutGd(rgn, CellX(column) + (kCellW - gd->width) / 2, 456, gd, 1);
  }
  PrintCenter(rgn, kBoxX + 10, 493, kBoxX + kBoxW - 10, T(text_Hint), kTextColour, 0, 12);
  int x = kBoxX + 14, maxX = kBoxX + kBoxW - 6;
  const TYPE_GrData* info = ButtonGraphic(BUTTON_info);
  x = drawLegendElement(x, 518, maxX, info, info->width, T(text_LegendHelp));
  const TYPE_GrData* rwd = ButtonGraphic(BUTTON_rwd);
  const TYPE_GrData* ffwd = ButtonGraphic(BUTTON_ffwd);
  x = drawLegendElement(x, 518, maxX, rwd, rwd->width, "");
  x = drawLegendElement(x - 6, 518, maxX, ffwd, ffwd->width, T(text_LegendCursor));
  const TYPE_GrData* ttx = ButtonGraphic(BUTTON_ttx);
  x = drawLegendElement(x, 518, maxX, ttx, ttx->width, T(text_LegendQuickList));
  const TYPE_GrData* ok = ButtonGraphic(BUTTON_ok);
  drawLegendElement(x, 518, maxX, ok, ok->width, T(text_LegendSelect));
  DrawKeyboardTextLine();
}

// Upper or lower case for the next character (automatic mode looks at the
// character before the cursor); the grid is redrawn when that changes.
void CheckCase() {
  int lower;
  if (caseMode == 1) {
    lower = 0;
  } else if (caseMode == 2) {
    lower = 1;
  } else {
    lower = 1;
    if (currentIndex == 0) {
      lower = 0;
    } else {
      int before = PreviousBoundary(currentString, currentIndex);
      if (CharBytes(currentString + before) == 1 &&
          strchr(" (+/|\")~", currentString[before]) != nullptr) {
        lower = 0;
      }
    }
  }
  if (shiftOn) lower = !lower;
  if (lower != bLowerCase) {
    bLowerCase = lower;
    DrawGrid();
  }
}

byte LowerCaseOf(byte c) {
  if (c >= 'A' && c <= 'Z') return (byte)(c + 32);
  if (c == 0xC5 || c == 0xC4 || c == 0xD6 || c == 0xDC) return (byte)(c + 32);
  return c;
}

// Puts one single-byte character at the cursor.
void AppendCharacter(byte character, EntryKind kind, bool repeatedTap) {
  bool overwrite = kind == kMultiTap ? repeatedTap || insertMode : remoteKeyActive || insertMode;
  char* at = currentString + currentIndex;
  // A full text takes no more characters, but one may still replace another
  // (so the last character can be tapped through its group).
  bool grows = !(overwrite && *at);
  if (grows && ((int)strlen(currentString) >= KEYBOARD_TEXT_SIZE - 1 ||
                CountChars(currentString) >= glbMaxChars)) {
    remoteKeyActive = 0;
    return;
  }
  if (kind != kTyped && bLowerCase) character = LowerCaseOf(character);
  if (kind != kMultiTap) {
    remoteKeyActive = 0;
    remoteKeyPrevKey = 0;
  }
  if (!grows) {
    // The whole character under the cursor goes, however many bytes it has.
    int old = CharBytes(at);
    memmove(at + 1, at + old, strlen(at + old) + 1);
  } else {
    memmove(at + 1, at, strlen(at) + 1);
  }
  *at = (char)character;
  if (kind != kMultiTap) currentIndex++;
  DrawKeyboardTextLine();
  if (shiftOn) {
    shiftOn = 0;
    CheckCase();
  }
}

// A pending multi-tap character stays: the cursor moves past it.
void CommitPendingCharacter() {
  if (remoteKeyActive && currentString[currentIndex]) {
    currentIndex += CharBytes(currentString + currentIndex);
  }
  remoteKeyActive = 0;
  remoteKeyPrevKey = 0;
}

// The run ends with the character left where it is, under the cursor.
void EndRemoteKeyRun() {
  remoteKeyActive = 0;
  remoteKeyPrevKey = 0;
}

void AppendRemoteKeyCharacter(dword digitKey) {
  int digit = (int)(digitKey - RKEY_0);
  if (digitKey == remoteKeyPrevKey && remoteKeyActive) {
    remoteKeyFirstPress = 0;
  } else {
    CommitPendingCharacter();
    remoteKeyPrevKey = digitKey;
    remoteKeyPressCount = 0;
    remoteKeyFirstPress = 1;
    CheckCase();
  }
  const char* group = KeyCharArray[digit];
  byte character = (byte)group[remoteKeyPressCount];
  bool repeated = !remoteKeyFirstPress;
  remoteKeyActive = 1;
  AppendCharacter(character, kMultiTap, repeated);
  remoteKeyPressCount++;
  if (group[remoteKeyPressCount] == 0) remoteKeyPressCount = 0;
  lastRemoteKeyDigit = TAP_GetTick();
  remoteKeyFirstPress = 0;
}

void DeleteCharacter() {
  if (currentIndex == 0) return;
  int start = PreviousBoundary(currentString, currentIndex);
  memmove(currentString + start, currentString + currentIndex,
          strlen(currentString + currentIndex) + 1);
  currentIndex = start;
  DrawKeyboardTextLine();
}

void CursorLeft() {
  if (currentIndex > 0) currentIndex = PreviousBoundary(currentString, currentIndex);
}
void CursorRight() {
  if (currentString[currentIndex]) currentIndex += CharBytes(currentString + currentIndex);
}

void ToggleInsertMode() {
  insertMode = !insertMode;
  DrawCell(5, 4);
}

void NextCaseMode() {
  caseMode = (caseMode + 1) % 3;
  DrawCell(5, 5);
}

void Reload() {
  strcpy(currentString, originalString);
  currentIndex = (int)strlen(currentString);
}

void ShiftCharacterSet() {
  keyboardListType = !keyboardListType;
  DrawGrid();
}

void OkOnCell() {
  if (currentRow < 5) {
    AppendCharacter(GridCharacter(currentRow, currentColumn), kGrid, false);
    return;
  }
  switch (currentColumn) {
    case 0:
      ShiftCharacterSet();
      break;
    case 1:
      CloseKeyboard(1);
      return;
    case 2:
      CloseKeyboard(0);
      return;
    case 3:
      DeleteCharacter();
      break;
    case 4:
      ToggleInsertMode();
      break;
    case 5:
      NextCaseMode();
      break;
    case 6:
      EndRemoteKeyRun();
      Reload();
      break;
    case 7:
      EndRemoteKeyRun();
      currentIndex = 0;
      break;
    case 8:
      EndRemoteKeyRun();
      currentIndex = (int)strlen(currentString);
      break;
  }
}

void MoveHighlight(int rows, int columns) {
  int oldRow = currentRow, oldColumn = currentColumn;
  currentRow = (currentRow + rows + 6) % 6;
  currentColumn = (currentColumn + columns + 9) % 9;
  DrawCell(oldRow, oldColumn);
  DrawCell(currentRow, currentColumn);
}

// An attached keyboard's characters beyond ASCII come in its code page
// (437): 0x80 to 0xA7 are its accented letters, 0xE1 its sharp s. The text
// holds ISO 8859-1, as the grid's letters; 0 where that has no letter.
byte TypedCharacter(dword code) {
  static const byte kLatin1[0x28] = {0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB,
                                     0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5, 0xC9, 0xE6, 0xC6, 0xF4,
                                     0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5,
                                     0,    0,    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA};
  if (code >= 0x80 && code <= 0xA7) return kLatin1[code - 0x80];
  if (code == 0xE1) return 0xDF;
  return (byte)code;
}

// The remote key that a character of an attached keyboard stands for; 0 for
// a character that is typed, RKEY_Undefined for one that does nothing.
dword KeyOfTypedCode(dword code) {
  if ((code >= 0x20 && code <= 0x7E) || (code >= 0x80 && code <= 0xA7) || code == 0xE1) return 0;
  switch (code) {
    case 0x08:
    case 0x7F:
    case 0x171:
      return RKEY_Green;
    case 0x12D:
    case 0x172:
      return RKEY_Yellow;
    case 0x170:
      return RKEY_Red;
    case 0x0D:
    case 0x177:
      return RKEY_Record;
    case 0x1B:
      return RKEY_Exit;
    case 0x122:
    case 0x176:
      return RKEY_Info;
    case 0x121:
    case 0x175:
      return RKEY_Teletext;
    case 0x125:
      return RKEY_Rewind;
    case 0x127:
      return RKEY_Forward;
    case 0x124:
      return RKEY_Prev;
    case 0x123:
      return RKEY_Next;
    case 0x173:
      return RKEY_Blue;
    case 0x174:
      return RKEY_Option;
  }
  return RKEY_Undefined;
}

dword KeyboardWindowKey(dword key) {
  if (key >= RKEY_0 && key <= RKEY_9) {
    AppendRemoteKeyCharacter(key);
    TAP_Osd_Sync();
    return 0;
  }
  // Keys that act on the text end a multi-tap run first, leaving its
  // character where it is; grid moves keep it pending.
  switch (key) {
    case RKEY_Recall:
    case RKEY_Pause:
    case RKEY_Rewind:
    case RKEY_Play:
    case RKEY_Forward:
      EndRemoteKeyRun();
      break;
  }
  if (key == RKEYN_Red) key = RKEY_Red;
  if (key == RKEYN_Green) key = RKEY_Green;
  if (key == RKEYN_Yellow) key = RKEY_Yellow;
  if (key == RKEYN_Blue) key = RKEY_Blue;
  switch (key) {
    case RKEY_ChUp:
      MoveHighlight(-1, 0);
      break;
    case RKEY_ChDown:
      MoveHighlight(1, 0);
      break;
    case RKEY_VolDown:
      MoveHighlight(0, -1);
      break;
    case RKEY_VolUp:
      MoveHighlight(0, 1);
      break;
    case RKEY_Ok:
      OkOnCell();
      if (!keyboardWindowShowing) return 0;
      break;
    case RKEY_Rewind:
      CursorLeft();
      break;
    case RKEY_Forward:
      CursorRight();
      break;
    case RKEY_Prev:
      EndRemoteKeyRun();
      currentIndex = 0;
      break;
    case RKEY_Next:
      EndRemoteKeyRun();
      currentIndex = (int)strlen(currentString);
      break;
    case RKEY_Play:
    case RKEY_Red:
      AppendCharacter(' ', kTyped, false);
      break;
    case RKEY_Green:
      DeleteCharacter();
      break;
    case RKEY_Stop:
    case RKEY_Yellow:
      ToggleInsertMode();
      break;
    case RKEY_Pause:
    case RKEY_Blue:
      NextCaseMode();
      break;
    case RKEY_Option:
    case RKEY_Ab:
      keyboardListType = !keyboardListType;
      shiftOn = !shiftOn;
      break;
    case RKEY_PlayList:
      ShiftCharacterSet();
      break;
    case RKEY_Recall:
      Reload();
      break;
    case RKEY_Record:
      CloseKeyboard(1);
      return 0;
    case RKEY_Exit:
      CloseKeyboard(0);
      return 0;
    case RKEY_Info:
      DisplayKeyBoardHelp();
      return 0;
    case RKEY_Teletext:
      DisplayKeyBoardQuickList();
      return 0;
    default:
      return 0;
  }
  CheckCase();
  DrawKeyboardTextLine();
  TAP_Osd_Sync();
  return 0;
}

dword KeyboardHelpKeyHandler(dword key) {
  if (key == RKEY_Exit || key == RKEY_Info) CloseKeyboardHelp();
  return 0;
}

}  // namespace

void InitialiseKeyboard() {
  keyboardWindowShowing = 0;
  keyboardHelpWindowShowing = 0;
  keyboardQuickListWindowShowing = 0;
  remoteKeyPrevKey = 0;
  remoteKeyPressCount = 0;
  remoteKeyFirstPress = 0;
  remoteKeyActive = 0;
  lastRemoteKeyDigit = 0;
}

void ActivateKeyboard(char* text, int maxChars, void (*callback)(const char* text, int result),
                      int searchMode) {
  keyboardCallback = callback;
  glbMaxChars = maxChars;
  keyboardWindowShowing = 1;
  keyboardHelpWindowShowing = 0;
  keyboardQuickListWindowShowing = 0;
  keyboardListType = 0;
  currentRow = 0;
  currentColumn = 0;
  const char* initial = text ? text : "";
  int bytes = PrefixBytes(initial, KEYBOARD_TEXT_SIZE - 1);
  memcpy(originalString, initial, (size_t)bytes);
  originalString[bytes] = 0;
  strcpy(currentString, originalString);
  currentIndex = bytes;
  insertMode = 0;
  caseMode = searchMode == 1 ? 2 : 0;
  shiftOn = 0;
  InitialiseKeyboard();
  keyboardWindowShowing = 1;
  blinkOn = 1;
  lastBlinkTick = TAP_GetTick();
  if (rgn == NO_REGION) CreateFullScreenRegion();
  if (keyboardWindowCopy) TAP_MemFree(keyboardWindowCopy);
  keyboardWindowCopy = TAP_Osd_SaveBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH);
  // The case for the cursor position decides the first grid drawn.
  bLowerCase = -1;
  CheckCase();
  DrawKeyboard();
  TAP_Osd_Sync();
  TMSRemoteDirectMode(true);
}

void DrawKeyboardTextLine() {
  if (!keyboardWindowShowing || rgn == NO_REGION) return;
  // Tall enough for the descenders of size 18: what a glyph draws below the
  // box would stay when the text changes.
  TAP_Osd_FillBox(rgn, kLineX - 20, kLineY - 2, 540, 30, kLineBlue);
  // The part before the cursor, shown from its end.
  char before[KEYBOARD_TEXT_SIZE];
  memcpy(before, currentString, (size_t)currentIndex);
  before[currentIndex] = 0;
  const char* shown = before;
  bool dropped = false;
  while (*shown && (int)PrintWidth(shown, 18) > 470) {
    shown += CharBytes(shown);
    dropped = true;
  }
  PrintLeft(rgn, kLineX - 20, kLineY, kLineX, dropped ? "\xAB" : "  ", kTextColour, 0, 18);
  int x = kLineX;
  PrintLeft(rgn, (dword)x, kLineY, kLineX + 500, shown, kTextColour, 0, 18);
  x += (int)PrintWidth(shown, 18);
  char atCursor[8] = " ";
  const char* cursor = currentString + currentIndex;
  if (*cursor) {
    int n = CharBytes(cursor);
    memcpy(atCursor, cursor, (size_t)n);
    atCursor[n] = 0;
  }
  int cursorWidth = (int)PrintWidth(atCursor, 18);
  if (cursorWidth < 9) cursorWidth = 9;  // a blank cursor must still show
  if (blinkOn) {
    TAP_Osd_FillBox(rgn, (dword)x, kLineY - 1, (dword)cursorWidth, 22, 0xFFFFFFFF);
    PrintLeft(rgn, (dword)x, kLineY, (dword)(x + cursorWidth), atCursor, 0xFF101010, 0, 18);
  } else {
    PrintLeft(rgn, (dword)x, kLineY, (dword)(x + cursorWidth), atCursor, kTextColour, 0, 18);
  }
  x += cursorWidth;
  // The part after it, cut at its end to stay within the line.
  char after[KEYBOARD_TEXT_SIZE];
  strcpy(after, *cursor ? cursor + CharBytes(cursor) : "");
  bool shortened = false;
  while (after[0] && x - kLineX + (int)PrintWidth(after, 18) > 500) {
    after[PreviousBoundary(after, (int)strlen(after))] = 0;
    shortened = true;
  }
  PrintLeft(rgn, (dword)x, kLineY, kLineX + 500, after, kTextColour, 0, 18);
  PrintLeft(rgn, kLineX + 500, kLineY, kLineX + 520, shortened ? "\xBB" : "  ", kTextColour, 0, 18);
}

dword KeyboardKeyHandler(dword key) {
  lastKeyHandler = "KeyboardKeyHandler";
  if (keyboardHelpWindowShowing) return KeyboardHelpKeyHandler(key);
  if (keyboardQuickListWindowShowing) return KeyboardQuickListKeyHandler(key);
  if ((key & 0xFF000000u) == KEYBOARD_CHAR_PREFIX) {
    dword code = key & 0xFFFFFFu;
    dword remoteKey = KeyOfTypedCode(code);
    if (remoteKey == RKEY_Undefined) return 0;
    if (remoteKey != 0) return KeyboardWindowKey(remoteKey);
    byte character = TypedCharacter(code);
    if (character == 0) return 0;
    AppendCharacter(character, kTyped, false);
    CheckCase();
    TAP_Osd_Sync();
    return 0;
  }
  dword plain = key & RKEY_MASK;
  if (plain == RKEY_Mute || plain == RKEY_Option5 || plain == RKEY_Option6) return key;
  // Held and release reports do nothing here.
  if (key & (RKEY_FLAG_HELD | RKEY_FLAG_RELEASED)) return 0;
  return KeyboardWindowKey(key);
}

void KeyboardCursorBlink() {
  if (!keyboardWindowShowing) return;
  dword now = TAP_GetTick();
  bool redraw = false;
  if (remoteKeyActive && now - lastRemoteKeyDigit > 300) {
    CommitPendingCharacter();
    CheckCase();
    redraw = true;
  }
  if (now - lastBlinkTick >= 50 || now < lastBlinkTick) {
    blinkOn = !blinkOn;
    lastBlinkTick = now;
    redraw = true;
  }
  if (redraw && !keyboardQuickListWindowShowing) {
    DrawKeyboardTextLine();
    osdDirtyFlag = 1;
  }
}

void CloseKeyboard(int accepted) {
  keyboardWindowShowing = 0;
  keyboardHelpWindowShowing = 0;
  keyboardQuickListWindowShowing = 0;
  remoteKeyActive = 0;
  remoteKeyPrevKey = 0;
  RestoreWindowCopy(rgn, &keyboardWindowCopy, kBoxX, kBoxY, kBoxW, kBoxH);
  TAP_Osd_Sync();
  TMSRemoteDirectMode(false);
  if (keyboardCallback) keyboardCallback(currentString, accepted);
}

void DisplayKeyBoardHelp() {
  keyboardHelpWindowShowing = 1;
  TMSRemoteDirectMode(false);
  TAP_Osd_FillBox(rgn, kBoxX, kBoxY, kBoxW, kBoxH, BorderColourValue());
  TAP_Osd_FillBox(rgn, kBoxX + 3, kBoxY + 3, kBoxW - 6, kBoxH - 6, kPanel);
  PrintCenter(rgn, kBoxX, kBoxY + 14, kBoxX + kBoxW, T(text_HelpTitle), kTextColour, 0, 18);
  for (int i = 0; i < 13; i++) {
    int y = kBoxY + 56 + 30 * i;
    PrintLeft(rgn, kBoxX + 40, (dword)y, kBoxX + 230, T(text_Help[i][0]), kTextColour, 0, 16);
    PrintLeft(rgn, kBoxX + 240, (dword)y, kBoxX + kBoxW - 20, T(text_Help[i][1]), kTextColour, 0,
              16);
  }
  TAP_Osd_Sync();
}

void CloseKeyboardHelp() {
  keyboardHelpWindowShowing = 0;
  DrawKeyboard();
  TAP_Osd_Sync();
  TMSRemoteDirectMode(true);
}

// Inserts a quick-list text at the cursor (the keyboard's maximum length does
// not apply; the 255 bytes do).
void InsertQuickListText(const char* text) {
  int length = (int)strlen(currentString);
  int add = (int)strlen(text);
  EndRemoteKeyRun();
  if (!insertMode) {
    if (length + add >= KEYBOARD_TEXT_SIZE - 1) return;
    char* at = currentString + currentIndex;
    memmove(at + add, at, strlen(at) + 1);
    memcpy(at, text, (size_t)add);
  } else {
    if (currentIndex + add >= KEYBOARD_TEXT_SIZE - 1) return;
    // Whole characters give way until the entry has room.
    char* at = currentString + currentIndex;
    int covered = 0;
    while (at[covered] && covered < add) covered += CharBytes(at + covered);
    if (length - covered + add >= KEYBOARD_TEXT_SIZE) return;
    memmove(at + add, at + covered, strlen(at + covered) + 1);
    memcpy(at, text, (size_t)add);
  }
  currentIndex += add;
}

void ReleaseKeyboardMemory() {
  if (keyboardWindowCopy) TAP_MemFree(keyboardWindowCopy);
  keyboardWindowCopy = nullptr;
  ReleaseQuickListMemory();
}
