// ConfigMenu.h - the configuration window: the main menu, nine menus of
// settings and actions, and the credits screen. Every change goes to the
// shadow copies of config/Settings.h until the user saves.
#pragma once

#include "tap.h"

// Menu state. menuNumber: 1 main menu, 2 first time, 3 general, 4 keys,
// 5 columns, 6 display, 7 sort, 8 colours, 9 recycle, 10 actions.
// chosenConfigLine and configTopLine are in config/Configuration.h.
extern int menuNumber;
extern int menuOptions;     // lines of the open menu
extern int menuLength;      // lines visible at once
extern int updateMenuLine;  // the selected line's value changed: redraw it

// Opens the main menu with `line` selected (1 when not positive); the
// settings are copied into the shadow copies unless the window already shows.
void ActivateConfigWindow(int line);
void ActivateFirstTimeMenu();
void ActivateGeneralMenu();
void ActivateKeysMenu();
void ActivateColumnsMenu();
void ActivateDisplayMenu();
void ActivateSortMenu();
void ActivateColoursMenu();
void ActivateRecycleMenu();
void ActivateActionsMenu();

// Keys while the window shows: 0 when consumed, else the key for the firmware.
dword ConfigKeyHandler(dword key);
void ConfigActionHandler(dword key);
void HandleFirstTimeMenu(dword key);
void HandleGeneralMenu(dword key);
void HandleKeysMenu(dword key);
void HandleColumnsMenu(dword key);
void HandleDisplayMenu(dword key);
void HandleSortMenu(dword key);
void HandleColoursMenu(dword key);
void HandleRecycleMenu(dword key);
void HandleActionsMenu(dword key);

// Value cycling: Left steps down, Right and Ok up, wrapping between 0 and
// top; every call sets updateMenuLine.
void HandleIntegerSelection(dword key, int* value, int top);
void HandleBooleanSelection(dword key, int* value);
void HandleKeySelection(dword key, int* value);

void RedrawConfigWindow(const char* title);
void DisplayConfigLine(int line);
void configDrawLegend();
// Closes the window: back to the list, or to normal viewing when TSR
// Commander opened it. Nothing is saved here.
void CloseConfigWindow();
// Draws the main menu again after the credits or the firmware-file screen,
// with the line of the menu they were opened from selected.
void ReturnToConfigWindow();
// Column settings back to the defaults of small (1) or large (0) spacing.
void ResetColumnDefault(int small);

// The credits screen, opened from the configuration window.
void ActivateCreditsWindow();
// Consumes every key; Exit closes the screen and sets returnFromCredits.
dword CreditsKeyHandler(dword key);
