// The direct header reader: the ".inf" companion of a recording, in the layout of the
// recorder family the program runs on, read into the recording's list line.
#include <stdio.h>
#include <string.h>

#include "catalogue/catalogue.h"

namespace {
// At most `room` characters of `from`, up to its first zero, and a zero.
void CopyText(char* to, const byte* from, int room) {
  size_t length = strnlen((const char*)from, (size_t)room);
  memcpy(to, from, length);
  to[length] = 0;
}
}  // namespace

void MakeInfNavNames(const char* name, char* infName, char* navName) {
  infName[0] = navName[0] = 0;
  if (!name) return;
  size_t length = strlen(name);
  if (length + 4 >= NAME_FIELD) return;
  // x.rec.del: the recycle marker stays last (x.rec.inf.del). Both fit: the
  // name is at least 4 characters short of the field.
  bool recycled = IsFileRec(name) == 2;
  size_t base = recycled ? length - 4 : length;
  memcpy(infName, name, base);
  memcpy(navName, name, base);
  memcpy(infName + base, recycled ? ".inf.del" : ".inf", recycled ? 9 : 5);
  memcpy(navName + base, recycled ? ".nav.del" : ".nav", recycled ? 9 : 5);
}

void ClearHeaderFields(FileRecord* r) {
  r->serviceNumber = -1;
  r->serviceType = 0;
  r->durationMinutes = 0;
  r->appId = 0;
  r->eventByte = 0;
  r->eventNameLength = 0;
  r->extTextLength = 0;
  r->encryption = 0;
  r->eventDurationMinutes = 0;
  r->eventStartMjd = r->eventStartHour = r->eventStartMinute = 0;
  r->eventEndMjd = r->eventEndHour = r->eventEndMinute = 0;
  r->serviceName[0] = 0;
  r->appAuthor[0] = 0;
  r->eventName[0] = 0;
  r->eventDescription[0] = 0;
  r->extText[0] = 0;
}

namespace {

void LoadApplicationHeader(const char* name, FileRecord* r) {
  ClearHeaderFields(r);
  r->playingNow = 0;
  if (!IsFileTAP(name)) return;
  r->playingNow = IsFileTAP_Active(name, r->folderPath) ? 1 : 0;
  TYPE_TapHeader header;
  memset(&header, 0, sizeof header);
  if (!HDD_TAP_GetInfo(name, &header)) return;
  r->appId = header.id;
  snprintf(r->appAuthor, sizeof r->appAuthor, "%.*s", 63, header.authorName);
  snprintf(r->eventName, sizeof r->eventName, "%.*s", 64, header.programName);
  r->eventNameLength = 64;
  snprintf(r->eventDescription, sizeof r->eventDescription, "%.*s", 128, header.description);
  snprintf(r->extText, sizeof r->extText, "%.*s (%.*s)", 64, header.programName, 128,
           header.description);
  r->extTextLength = 197;
}

void Unpack(dword stamp, dword* mjd, dword* hour, dword* minute) {
  *mjd = stamp >> 16;
  *hour = (stamp >> 8) & 255;
  *minute = stamp & 255;
}

}  // namespace

void LoadHeaderInfo(const char* name, int folderNumber, int slot) {
  if (folderNumber < 0 || folderNumber >= MAX_FOLDERS || slot < 0 || slot >= MAX_SLOTS) return;
  FileRecord* r = FileSlot(folderNumber, slot);
  if (!r || !name) return;
  if (TAPManagerMode) {
    LoadApplicationHeader(name, r);
    return;
  }
  char infName[NAME_FIELD], navName[NAME_FIELD];
  MakeInfNavNames(name, infName, navName);
  TYPE_File* f = infName[0] ? TAP_Hdd_Fopen(infName) : nullptr;
  if (!f) {
    ClearHeaderFields(r);
    return;
  }
  // Zeroed so that a short header reads as zeros beyond its end.
  static byte b[INF_READ_SIZE];
  memset(b, 0, sizeof b);
  memcpy(b, "    ", 4);
  if (!InfPerformanceBoost) TAP_Hdd_Fread(b, 1, INF_READ_SIZE, f);
  TAP_Hdd_Fclose(f);
  if (memcmp(b, "TFrc", 4) != 0) {
    ClearHeaderFields(r);
    return;
  }
  r->stamp = getDword(b + 8, 0);
  r->durationMinutes = getWord(b + 12, 0);
  r->encryption = b[16];
  r->serviceType = b[29];
  r->serviceNumber = GetSvcNumBySvcId(getWord(b + 32, 0), b[29]);
  CopyText(r->serviceName, b + 42, 22);
  r->appAuthor[0] = 0;
  r->appId = 0;
  r->eventNameLength = b[85];
  r->eventByte = b[86];
  int titleLength = b[85];
  memcpy(r->eventName, b + 87, titleLength);
  r->eventName[titleLength] = 0;
  // The short text follows the title inside the 273 bytes both share.
  int textRoom = 273 - titleLength;
  if (textRoom > (int)sizeof r->eventDescription - 1) textRoom = sizeof r->eventDescription - 1;
  CopyText(r->eventDescription, b + 87 + titleLength, textRoom);
  dword extLength = getWord(b + 362, 0);
  if (extLength > 1024) extLength = 1024;
  r->extTextLength = extLength;
  // The field keeps its terminating zero: a 1024-byte text keeps 1023 of them.
  dword kept = extLength < sizeof r->extText ? extLength : sizeof r->extText - 1;
  memcpy(r->extText, b + 368, kept);
  r->extText[kept] = 0;
  r->eventDurationMinutes = b[71] * 60 + b[70];
  Unpack(getDword(b + 76, 0), &r->eventStartMjd, &r->eventStartHour, &r->eventStartMinute);
  Unpack(getDword(b + 80, 0), &r->eventEndMjd, &r->eventEndHour, &r->eventEndMinute);
}

void ResetInfStartPosition(const char* name) {
  char infName[NAME_FIELD], navName[NAME_FIELD];
  MakeInfNavNames(name, infName, navName);
  if (!infName[0]) return;
  TYPE_File* f = TAP_Hdd_Fopen(infName);
  if (!f) return;
  static byte b[INF_READ_SIZE];
  memset(b, 0, sizeof b);
  // A header too short to hold the position is left as it is rather than padded.
  if (TAP_Hdd_Fread(b, 1, INF_READ_SIZE, f) >= INF_READ_SIZE) {
    memset(b + 2124, 0, 4);
    TAP_Hdd_Fseek(f, 0, SEEK_SET);
    TAP_Hdd_Fwrite(b, 1, INF_READ_SIZE, f);
  }
  TAP_Hdd_Fclose(f);
}
