// Keyboard.h - the on-screen keyboard: text entry with the remote control
// (a character grid, multi-tap digits, a keyboard's characters in direct
// mode) and the quick list of stored texts.
//
// Text is edited by characters: a valid multi-byte UTF-8 sequence counts as
// one character and is never split; every other byte is one character.
#pragma once

#include "tap.h"

#define KEYBOARD_TEXT_SIZE 256
#define QUICKLIST_SLOTS 100
#define QUICKLIST_ENTRY_SIZE 50
#define QUICKLIST_FILE_ENTRIES 49
#define QUICKLIST_FILE "Keyboard_Quicklist.dat"
#define QUICKLIST_FOLDER "/ProgramFiles/Settings"

extern char currentString[KEYBOARD_TEXT_SIZE];
extern char originalString[KEYBOARD_TEXT_SIZE];
extern int currentIndex;  // byte index of the cursor, always on a character boundary
extern int glbMaxChars;
extern int insertMode;  // 0 insert, 1 overwrite
extern int caseMode;    // 0 automatic, 1 upper, 2 lower
extern int bLowerCase;
extern int shiftOn;
extern int keyboardListType;
extern int currentRow, currentColumn;
extern dword remoteKeyPrevKey;
extern int remoteKeyPressCount, remoteKeyFirstPress, remoteKeyActive;
extern dword lastRemoteKeyDigit;
extern int keyboardHelpWindowShowing, keyboardQuickListWindowShowing;

extern char QuickList[QUICKLIST_SLOTS][QUICKLIST_ENTRY_SIZE];
extern int numberOfQuickListEntries, chosenQuickListLine, printQuickListLine, QuickListUpdated;

void InitialiseKeyboard();
// Opens the keyboard on `text` (at most 255 bytes, never cut inside a
// character). `callback(text, accepted)` gets the edited text when it closes:
// accepted 1 for save, 0 for cancel. Mode 1 starts in lower case.
void ActivateKeyboard(char* text, int maxChars, void (*callback)(const char* text, int result),
                      int searchMode);
dword KeyboardKeyHandler(dword key);
void KeyboardCursorBlink();
void CloseKeyboard(int accepted);
void DisplayKeyBoardHelp();
void CloseKeyboardHelp();
void DisplayKeyBoardQuickList();
void CloseKeyboardQuickList();

// Gives back the saved screen areas of an open keyboard (termination).
void ReleaseKeyboardMemory();
void ReleaseQuickListMemory();

// Reads the quick list file into QuickList (the default list when it is
// missing or holds nothing); a text file of lines is read as well.
void populateKeyBoardQuickList();
// Writes the list (delete, create, one 50-byte slot per entry).
void saveKeyBoardQuickList();

// Key codes of an attached keyboard's characters: this prefix plus the code.
#define KEYBOARD_CHAR_PREFIX 0xEE000000u

// Inside the keyboard, shared by its files.
void DrawKeyboardTextLine();
void InsertQuickListText(const char* text);
dword KeyboardQuickListKeyHandler(dword key);
