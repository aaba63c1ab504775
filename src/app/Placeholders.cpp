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

// ------------------------------------------------------------ windows and their keys

const char* lastKeyHandler = "";

// ------------------------------------------------------------ peripheral

void MediaFiles_Mount() {}
void MediaFiles_Unmount() {}
void MediaFiles_Link() {}
void MediaFiles_Unlink() {}
