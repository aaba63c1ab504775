#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

void LogoManager_ChannelNameToLogoName(const char* channelName, char* logoName, int size) {
  if (!logoName || size <= 0) return;
  logoName[0] = 0;
  if (!channelName) return;
  char text[128];
  snprintf(text, sizeof text, "%s", SkipCharTableBytes(channelName));
  StrMkISO(text);
  MakeValidFileName(text, LC_Control | LC_LineFeed);
  LowerCase(text);
  static const char kKept[] = "abcdefghijklmnoprqstuvwxyz0123456789+";
  int out = 0;
  for (const char* p = text; *p && out < size - 1; p++) {
    byte c = (byte)*p;
    const char* spelled = nullptr;
    char single[2] = {(char)c, 0};
    if (c == 0xE4) {
      spelled = "ae";
    } else if (c == 0xF6) {
      spelled = "oe";
    } else if (c == 0xFC) {
      spelled = "ue";
    } else if (c != 0 && strchr(kKept, c)) {
      spelled = single;
    }
    // A spelled-out umlaut that does not fit whole is left out.
    if (!spelled || out + (int)strlen(spelled) > size - 1) continue;
    memcpy(logoName + out, spelled, strlen(spelled));
    out += (int)strlen(spelled);
  }
  logoName[out] = 0;
}
