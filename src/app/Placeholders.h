// Stand-ins for functions and globals that belong to other areas (catalogue,
// screens, dialogs, actions, cooperating applications, configuration menus).
// Each carries its final name and signature and only the behaviour the spine
// needs; the area that owns it replaces it by moving it to its real file.
#pragma once

#include <stdint.h>

#include "actions/actions.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"

// ------------------------------------------------------------ catalogue
// The records, tables and scans are the catalogue's (catalogue.h); it also
// declares what it expects from elsewhere (elsewhere.h).

// ------------------------------------------------------------ viewing history, settings file
// (catalogue/History.h, config/Configuration.h); the menus are still stand-ins.

void ActivateConfigWindow(int line);
void ReturnToConfigWindow();
dword ConfigKeyHandler(dword key);

// ------------------------------------------------------------ list screen, dialogs
// (ui/ListScreen.h, ui/Dialogs.h)

// ------------------------------------------------------------ windows and their keys

// Name of the window key handler that received the last key.
extern const char* lastKeyHandler;

dword CreditsKeyHandler(dword key);

// ------------------------------------------------------------ actions


// ------------------------------------------------------------ idle processing

extern byte oldSec, oldMin, oldHour;
extern int generateYoutubeKeys;
extern char youtubeSearchString[127];
extern int youtubeSearchStringLength;
extern int ScrollDelay_count, ScrollPause_count;  // the list's scrolling name
void My_IdleHandler();
void ConvertStringIntoKeyboard(const char* text);
void ReturnFromYoutubeKeyboard(const char* text, int result);

// ------------------------------------------------------------ called by browsing and idle work
// Entry points of the list drawing, the dialogs of later areas and the
// periodic duties, with the state they share.

extern int configMenuNumber;
extern int configLine;

void DisplayConfigLine(int line);
