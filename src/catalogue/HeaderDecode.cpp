// The general recording-header decoder: every recorder family's layout, in either
// byte order. The program needs only its success and the resume position; the rest
// of the decoded record is filled for completeness.
#include <string.h>

#include "catalogue/catalogue.h"

int WrongEndian;

word getWord(const void* p, int swap) {
  const byte* b = (const byte*)p;
  return swap ? (word)(b[0] << 8 | b[1]) : (word)(b[1] << 8 | b[0]);
}

dword getDword(const void* p, int swap) {
  const byte* b = (const byte*)p;
  if (swap) return (dword)b[0] << 24 | (dword)b[1] << 16 | (dword)b[2] << 8 | b[3];
  return (dword)b[3] << 24 | (dword)b[2] << 16 | (dword)b[1] << 8 | b[0];
}

int CleanExtendedText(char* text, int length) {
  int out = 0;
  for (int i = 0; i < length; i++) {
    char c = text[i];
    if (c == '\\' && i + 1 < length && text[i + 1] == 'n') {
      text[out++] = (char)0x8A;
      i++;
      continue;
    }
    if (c == 0 && i != length - 1) c = ' ';
    text[out++] = c;
  }
  text[out] = 0;
  return out;
}

namespace {

// Where a family keeps its fields. Every offset lies below RECHEADER_BUFFER_SIZE, and
// so does every field read with its longest length.
struct FamilyLayout {
  int serviceType, serviceId, serviceName;
  int eventDuration, eventStart, eventEnd, eventNameLength, eventText;
  int extTextLength, extText, extTextMax;
  int bookmarkCount;  // -1: the family has a fixed table without count
  int bookmarks, bookmarkBytes;
  int resume;
};

const FamilyLayout kOldS = {29, 32, 40, 64, 68, 72, 77, 79, 352, 356, 1024, -1, 1400, 256, 1656};
const FamilyLayout kOldC = {29, 32, 36, 60, 64, 68, 73, 75, 348, 352, 1024, -1, 1396, 256, 1652};
const FamilyLayout kT5700 = {29, 32, 48, 72, 76, 80, 85, 87, 360, 364, 1024, -1, 1408, 256, 1664};
const FamilyLayout kT5800 = {29, 32, 44, 68, 72, 76, 81, 83, 356, 360, 1024, -1, 1404, 256, 1660};
const FamilyLayout kTMS = {29, 32, 42, 70, 76, 80, 85, 87, 362, 368, 1024, 1412, 1416, 708, 2124};
// The cable family keeps the satellite family's service and event fields; only its
// bookmarks and resume position sit four bytes earlier.
const FamilyLayout kTMSC = {29, 32, 42, 70, 76, 80, 85, 87, 362, 368, 1024, 1408, 1412, 708, 2120};
const FamilyLayout kTF7k7 = {29, 32, 42, 70, 76, 80, 85, 87, 362, 368, 2048, -1, 2636, 256, 2892};

// Title and short text share this many bytes in every family.
const int kEventTextBytes = 273;

int Decode(const byte* b, RECHeaderInfo* info, const FamilyLayout& l) {
  int sw = WrongEndian;
  info->recordingStart = getDword(b + 8, sw);
  info->recordingDuration = getWord(b + 12, sw);
  info->crypt = b[16];
  info->serviceType = b[l.serviceType];
  info->serviceId = getWord(b + l.serviceId, sw);
  memcpy(info->serviceName, b + l.serviceName, 24);
  info->serviceName[24] = 0;
  // Minutes first, then hours, whatever the byte order of the words.
  info->eventDuration = (word)(b[l.eventDuration + 1] << 8 | b[l.eventDuration]);
  info->eventStart = getDword(b + l.eventStart, sw);
  info->eventEnd = getDword(b + l.eventEnd, sw);
  info->eventNameLength = b[l.eventNameLength];
  memcpy(info->eventName, b + l.eventText, kEventTextBytes);
  info->eventName[kEventTextBytes] = 0;

  int ext = getWord(b + l.extTextLength, sw);
  if (ext > l.extTextMax) ext = l.extTextMax;
  memcpy(info->extText, b + l.extText, ext);
  info->extTextLength = (word)CleanExtendedText(info->extText, ext);

  int slots = l.bookmarkBytes / 4;
  dword count = 0;
  for (int i = 0; i < slots; i++) {
    info->bookmarks[i] = getDword(b + l.bookmarks + 4 * i, sw);
    if (info->bookmarks[i]) count = i + 1;
  }
  if (l.bookmarkCount >= 0) {
    count = getDword(b + l.bookmarkCount, sw);
    if (count > (dword)slots) count = slots;
  }
  info->bookmarkCount = count;
  info->resumeBlock = getDword(b + l.resume, sw);
  return 1;
}

}  // namespace

int HDD_DecodeRECHeader_ST_S(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kOldS); }
int HDD_DecodeRECHeader_ST_T(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kOldS); }
int HDD_DecodeRECHeader_ST_C(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kOldC); }
int HDD_DecodeRECHeader_ST_T5700(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kT5700); }
int HDD_DecodeRECHeader_ST_TMSS(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kTMS); }
int HDD_DecodeRECHeader_ST_TMST(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kTMS); }
int HDD_DecodeRECHeader_ST_TMSC(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kTMSC); }
int HDD_DecodeRECHeader_ST_T5800(const byte* b, RECHeaderInfo* i) { return Decode(b, i, kT5800); }
int HDD_DecodeRECHeader_ST_TF7k7HDPVR(const byte* b, RECHeaderInfo* i) {
  return Decode(b, i, kTF7k7);
}

int HDD_DecodeRECHeader(const byte* buffer, RECHeaderInfo* info, int systemType) {
  if (!buffer || !info) return 0;
  memset(info, 0, sizeof *info);
  info->magic = getDword(buffer, 1);
  if (info->magic != 0x54467263u) return 0;  // "TFrc"
  word version = getWord(buffer + 4, 0);
  // Versions a big-endian recorder writes, as they read little-endian.
  WrongEndian = (version == 80 || version == 128 || version == 4176) ? 1 : 0;
  info->version = WrongEndian ? getWord(buffer + 4, 1) : version;
  if (systemType == 0) systemType = GetSystemType();
  switch (systemType) {
    case 1:
      return HDD_DecodeRECHeader_ST_S(buffer, info);
    case 2:
      return HDD_DecodeRECHeader_ST_T(buffer, info);
    case 3:
      return HDD_DecodeRECHeader_ST_C(buffer, info);
    case 4:
      return HDD_DecodeRECHeader_ST_T5700(buffer, info);
    case 5:
      return HDD_DecodeRECHeader_ST_TMSS(buffer, info);
    case 6:
      return HDD_DecodeRECHeader_ST_TMST(buffer, info);
    case 7:
      return HDD_DecodeRECHeader_ST_TMSC(buffer, info);
    case 8:
      return HDD_DecodeRECHeader_ST_T5800(buffer, info);
    case 11:
      return HDD_DecodeRECHeader_ST_TF7k7HDPVR(buffer, info);
    default:
      return systemType >= 13 ? 1 : 0;
  }
}
