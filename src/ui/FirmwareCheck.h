// FirmwareCheck.h - the diagnostic screen over the firmware description
// file, opened from the actions menu of the configuration.
#pragma once

#include "tap.h"

// Draws the screen (making the display region when there is none) and sets
// checkFirmwareDatShowing.
void CheckFirmwareDat();
// Echoes plain keys, toggles the text test on 0; Exit closes the screen and
// sets returnFromFirmwareDat. Every key is consumed.
dword FirmwareDatKeyHandler(dword key);
