// Logos.h - channel logos: the channel tables built from the firmware's
// channel lists, the logo cache file, drawing a recording's logo (or its
// channel name) into a box of the list, and the diagnostic window that shows
// where the logo was looked for.
#pragma once

#include "tap.h"

#define LOGO_TABLE_SIZE 1000
#define LOGO_NAME_SIZE 23
#define LOGO_BITMAP_SIZE 4680
#define LOGO_CACHE_FILE "logo.dat"
#define LOGO_FOLDER_COUNT 3

struct LogoEntry {
  char name[LOGO_NAME_SIZE];         // channel name cleaned as a file name
  char compactName[LOGO_NAME_SIZE];  // the same without whitespace
  word channelNumber;                // the number the recorder shows
  short index;                       // service number
  byte type;                         // 0 TV, 1 radio
  int loaded;                        // the bitmap came from the logo cache
  byte* bitmap;                      // LOGO_BITMAP_SIZE bytes, or null
};

extern LogoEntry logoArrayTv[LOGO_TABLE_SIZE];
extern LogoEntry logoArrayRadio[LOGO_TABLE_SIZE];
extern int maxTvSvc, maxRadioSvc;  // highest filled index, -1 for none
extern int infoLogoWindowShowing;

// The logo folders, in the order they are searched.
extern const char* const logoFolders[LOGO_FOLDER_COUNT];

// Start-up: fills the channel tables and reads the logo cache if present.
void CacheLogos();
void InitLogoMemory();
void ReadLogoFile();
// Termination: frees the bitmaps.
void ReleaseLogoMemory();

// The logo of a recording's channel in the box (x, y, width, height); the
// channel's name where no logo file is found or the one found cannot be
// drawn. A service number of -1 (or one the firmware does not know) with no
// file under the channel's name leaves the box empty.
void DisplayLogo(word region, int x, int y, int width, int height, int serviceNumber, int type,
                 const char* serviceName);

// The four file names tried for a channel, each at most 63 characters:
// the cleaned service name, the channel number (empty when the firmware does
// not know the service), the channel identifier and the logo name.
void LogoCandidateNames(int serviceNumber, int type, const char* serviceName, char names[4][64]);

// The diagnostic window over the information window, for currentFile.
void DisplayLogoInfoWindow();

// The diagnostic window's texts (English, German).
typedef const char LogoText[2][72];
extern LogoText text_LogoFilenames, text_LogoSearchFolders, text_LogoForFilenames,
    text_LogoCloseBefore, text_LogoCloseBetween, text_LogoCloseAfter;
