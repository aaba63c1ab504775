// Stand-ins for the functions of other areas that the spine calls (see
// Placeholders.h). Each does the least that keeps the spine working and
// testable; the owning area replaces it.
#include "app/Placeholders.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/keys.h"
#include "app/log.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"

// ------------------------------------------------------------ configuration menus

void ActivateConfigWindow(int) {
  if (!configWindowShowing) CopyConfiguration();
  configWindowShowing = 1;
}

void ReturnToConfigWindow() {}

dword ConfigKeyHandler(dword key) {
  lastKeyHandler = "ConfigKeyHandler";
  if ((key & RKEY_MASK) == RKEY_Exit) {
    configWindowShowing = 0;
    if (CalledByTSRCommander) {
      CalledByTSRCommander = 0;
      DeleteFullScreenRegion();
      TAP_EnterNormal();
    } else {
      returnFromConfig = 1;
    }
  }
  return 0;
}

int tempFileSuffixOption;

// ------------------------------------------------------------ windows and their keys

const char* lastKeyHandler = "";

dword CreditsKeyHandler(dword) {
  lastKeyHandler = "CreditsKeyHandler";
  return 0;
}

// ------------------------------------------------------------ called by browsing and idle work

int configMenuNumber;
int configLine;

void DisplayConfigLine(int) {}
