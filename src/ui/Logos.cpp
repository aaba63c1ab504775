// Channel logos: the channel tables, the logo cache, the logo (or the
// channel's name) in the list's fifth column and the diagnostic window.
#include "ui/Logos.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/keys.h"
#include "app/log.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

LogoEntry logoArrayTv[LOGO_TABLE_SIZE];
LogoEntry logoArrayRadio[LOGO_TABLE_SIZE];
int maxTvSvc = -1, maxRadioSvc = -1;
int infoLogoWindowShowing;

const char* const logoFolders[LOGO_FOLDER_COUNT] = {LOGO_FOLDER, "/PhotoFiles/Logos",
                                                    "/PhotoFiles/Settings/Logos"};

namespace {

const char* LogoLang(LogoText& text) { return text[TextLanguage == 1 ? 1 : 0]; }

// A logo file larger than this is no logo: it is not read.
constexpr dword kMaxLogoFileSize = 512 * 1024;

// The last logo files that could not be drawn and were logged, so that a
// damaged file is reported once, not at every drawing of the list.
constexpr int kReportedSize = 32;
char reportedLogos[kReportedSize][96];
int reportedCount;

void ReportBadLogo(const char* folder, const char* name) {
  char path[96];
  snprintf(path, sizeof path, "%.50s/%.40s", folder, name);
  for (int i = 0; i < reportedCount && i < kReportedSize; i++) {
    if (strcmp(reportedLogos[i], path) == 0) return;
  }
  snprintf(reportedLogos[reportedCount % kReportedSize], sizeof reportedLogos[0], "%s", path);
  reportedCount++;
  char message[160];
  snprintf(message, sizeof message, "Logo not drawn, not a usable JPEG: %s", path);
  WriteLog(message);
}

LogoEntry* TableEntry(int type, int serviceNumber) {
  if (serviceNumber < 0 || serviceNumber >= LOGO_TABLE_SIZE) return nullptr;
  if (type == SVC_TYPE_Radio)
    return serviceNumber <= maxRadioSvc ? &logoArrayRadio[serviceNumber] : nullptr;
  return serviceNumber <= maxTvSvc ? &logoArrayTv[serviceNumber] : nullptr;
}

bool ServiceKnown(int type, int serviceNumber) {
  TYPE_TapChInfo info;
  return serviceNumber >= 0 && TAP_Channel_GetInfo(type, serviceNumber, &info) != 0;
}

void FillTable(LogoEntry* table, int type, int count, int* highest) {
  *highest = -1;
  if (count > LOGO_TABLE_SIZE) count = LOGO_TABLE_SIZE;
  for (int i = 0; i < count; i++) {
    TYPE_TapChInfo info;
    memset(&info, 0, sizeof info);
    if (!TAP_Channel_GetInfo(type, i, &info)) continue;
    LogoEntry* entry = &table[i];
    info.chName[sizeof info.chName - 1] = 0;
    snprintf(entry->name, sizeof entry->name, "%.22s", info.chName);
    MakeValidFileName(entry->name, LC_Control | LC_Reserved | LC_PrintableOnly);
    int out = 0;
    for (const char* p = entry->name; *p; p++) {
      if (*p != ' ' && *p != '\t') entry->compactName[out++] = *p;
    }
    entry->compactName[out] = 0;
    entry->channelNumber = info.logicalChNum;
    entry->index = (short)i;
    entry->type = (byte)type;
    entry->loaded = 0;
    if (!entry->bitmap) entry->bitmap = (byte*)TAP_MemAlloc(LOGO_BITMAP_SIZE);
    *highest = i;
  }
}

LogoEntry* CacheRecordOwner(const char* name) {
  LogoEntry* tables[2] = {logoArrayTv, logoArrayRadio};
  int highest[2] = {maxTvSvc, maxRadioSvc};
  for (int t = 0; t < 2; t++) {
    for (int i = 0; i <= highest[t]; i++) {
      LogoEntry* entry = &tables[t][i];
      char number[16];
      snprintf(number, sizeof number, "%d", entry->channelNumber);
      if (entry->bitmap && (strcmp(entry->name, name) == 0 ||
                            strcmp(entry->compactName, name) == 0 || strcmp(number, name) == 0)) {
        return entry;
      }
    }
  }
  return nullptr;
}

// Reads the named file of the current folder and draws it into the box.
// 1 drawn; -1 the file is there but is no picture the firmware can draw; 0 no
// such file.
int DrawLogoFile(word region, int x, int y, int width, int height, const char* folder,
                 const char* name) {
  if (!name[0] || !TAP_Hdd_Exist(name)) return 0;
  TYPE_File* file = TAP_Hdd_Fopen(name);
  if (!file) return 0;
  dword size = TAP_Hdd_Flen(file);
  int result = -1;
  if (size > 0 && size <= kMaxLogoFileSize) {
    byte* data = (byte*)TAP_MemAlloc(size);
    if (data) {
      if (TAP_Hdd_Fread(data, size, 1, file) == 1 &&
          TAP_Osd_DrawJpeg(region, (dword)x, (dword)y, (dword)width, (dword)height, data, size) ==
              0) {
        result = 1;
      }
      TAP_MemFree(data);
    }
  }
  TAP_Hdd_Fclose(file);
  if (result < 0) ReportBadLogo(folder, name);
  return result;
}

// Looks for `name` (then `alternative`, when given) in the logo folders in
// their order and draws the first that exists. 1 drawn, -1 found but not
// drawable, 0 found nowhere.
int DrawFromFolders(word region, int x, int y, int width, int height, const char* name,
                    const char* alternative) {
  for (const char* folder : logoFolders) {
    if (!HDD_ChangeDir(folder)) continue;
    int found = DrawLogoFile(region, x, y, width, height, folder, name);
    if (found == 0 && alternative)
      found = DrawLogoFile(region, x, y, width, height, folder, alternative);
    if (found != 0) return found;
  }
  return 0;
}

void PrintChannelName(word region, int x, int y, int width, int height, const char* serviceName) {
  char name[LOGO_NAME_SIZE * 3 + 4];
  ConvertBroadcastText(serviceName, name, sizeof name);
  int size = height < 27 ? 12 : 14;
  char first[256], second[256];
  int position = 0;
  FormatNameString(name, &position, first, width, size);
  FormatNameString(name, &position, second, width, size);
  if (second[0]) {
    PrintCenter(region, (dword)x, (dword)(y - 2), (dword)(x + width), first, 0xFFFAFAFA, 0, size);
    PrintCenter(region, (dword)x, (dword)(y - 2 + height / 2), (dword)(x + width), second,
                0xFFFAFAFA, 0, size);
  } else {
    PrintCenter(region, (dword)x, (dword)(y + (height - size) / 2 - 4), (dword)(x + width), first,
                0xFFFAFAFA, 0, size);
  }
}

}  // namespace

void InitLogoMemory() {
  int tv = 0, radio = 0;
  TAP_Channel_GetTotalNum(&tv, &radio);
  FillTable(logoArrayTv, SVC_TYPE_Tv, tv, &maxTvSvc);
  FillTable(logoArrayRadio, SVC_TYPE_Radio, radio, &maxRadioSvc);
}

void ReadLogoFile() {
  if (!TAPLogoDir) return;
  int pushed = HDD_TAP_PushDir();
  if (HDD_ChangeDir(TAPLogoDir) && TAP_Hdd_Exist(LOGO_CACHE_FILE)) {
    TYPE_File* file = TAP_Hdd_Fopen(LOGO_CACHE_FILE);
    byte* record = (byte*)TAP_MemAlloc(LOGO_NAME_SIZE + LOGO_BITMAP_SIZE);
    if (file && record) {
      while (TAP_Hdd_Fread(record, LOGO_NAME_SIZE + LOGO_BITMAP_SIZE, 1, file) == 1) {
        char name[LOGO_NAME_SIZE + 1];
        memcpy(name, record, LOGO_NAME_SIZE);
        name[LOGO_NAME_SIZE] = 0;
        LogoEntry* entry = CacheRecordOwner(name);
        if (!entry) continue;
        memcpy(entry->bitmap, record + LOGO_NAME_SIZE, LOGO_BITMAP_SIZE);
        entry->loaded = 1;
      }
    }
    if (record) TAP_MemFree(record);
    if (file) TAP_Hdd_Fclose(file);
  }
  if (pushed) HDD_TAP_PopDir();
}

void CacheLogos() {
  InitLogoMemory();
  ReadLogoFile();
}

void ReleaseLogoMemory() {
  LogoEntry* tables[2] = {logoArrayTv, logoArrayRadio};
  for (LogoEntry* table : tables) {
    for (int i = 0; i < LOGO_TABLE_SIZE; i++) {
      if (table[i].bitmap) TAP_MemFree(table[i].bitmap);
      table[i].bitmap = nullptr;
      table[i].loaded = 0;
    }
  }
  maxTvSvc = maxRadioSvc = -1;
}

void LogoCandidateNames(int serviceNumber, int type, const char* serviceName, char names[4][64]) {
  char cleaned[LOGO_NAME_SIZE + 1];
  snprintf(cleaned, sizeof cleaned, "%.23s", serviceName ? serviceName : "");
  MakeValidFileName(cleaned, LC_Control | LC_Reserved | LC_PrintableOnly);
  snprintf(names[0], 64, "%.23s.jpg", cleaned);
  // A service the firmware does not know has no number, an identifier of 0
  // and the logo name of the recording's own channel name.
  names[1][0] = 0;
  TYPE_TapChInfo info;
  memset(&info, 0, sizeof info);
  const char* channelName = serviceName ? serviceName : "";
  if (serviceNumber >= 0 && TAP_Channel_GetInfo(type, serviceNumber, &info)) {
    info.chName[sizeof info.chName - 1] = 0;
    channelName = info.chName;
    LogoEntry* entry = TableEntry(type, serviceNumber);
    if (entry) snprintf(names[1], 64, "%d.jpg", entry->channelNumber);
  }
  snprintf(names[2], 64, "%016llx.jpg", LogoManager_GetChannelID(type, serviceNumber));
  char logoName[LOGO_NAME_SIZE + 1];
  LogoManager_ChannelNameToLogoName(channelName, logoName, sizeof logoName);
  snprintf(names[3], 64, type == SVC_TYPE_Radio ? "r_%.23s.jpg" : "%.23s.jpg", logoName);
}

void DisplayLogo(word region, int x, int y, int width, int height, int serviceNumber, int type,
                 const char* serviceName) {
  char names[4][64];
  LogoCandidateNames(serviceNumber, type, serviceName, names);
  char lower[64];
  snprintf(lower, sizeof lower, "%s", names[0]);
  LowerCase(lower);
  int pushed = HDD_TAP_PushDir();
  int found =
      names[0][0] != '.' ? DrawFromFolders(region, x, y, width, height, names[0], lower) : 0;
  bool known = serviceNumber >= 0 && ServiceKnown(type, serviceNumber);
  for (int i = 1; i < 4 && found == 0 && known; i++) {
    found = DrawFromFolders(region, x, y, width, height, names[i], nullptr);
  }
  if (pushed) HDD_TAP_PopDir();
  if (found == 1 || (found == 0 && !known)) return;
  PrintChannelName(region, x, y, width, height, serviceName ? serviceName : "");
}

void DisplayLogoInfoWindow() {
  infoLogoWindowShowing = 1;
  dword border = BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF;
  TAP_Osd_FillBox(rgn, 77, 175, 566, 301, border);
  TAP_Osd_FillBox(rgn, 80, 178, 560, 295, 0xFF1E1E1E);
  PrintCenter(rgn, 80, 190, 640, LogoLang(text_LogoFilenames), 0xFFFAFAFA, 0, 18);
  PrintLeft(rgn, 97, 225, 630, LogoLang(text_LogoSearchFolders), 0xFF0098C0, 0, 14);
  for (int i = 0; i < LOGO_FOLDER_COUNT; i++) {
    PrintLeft(rgn, 177, (dword)(245 + 20 * i), 630, logoFolders[i], 0xFFFAFAFA, 0, 14);
  }
  PrintLeft(rgn, 97, 320, 630, LogoLang(text_LogoForFilenames), 0xFF0098C0, 0, 14);
  char names[4][64];
  LogoCandidateNames(currentFile.serviceNumber, (int)currentFile.serviceType,
                     currentFile.serviceName, names);
  for (int i = 0; i < 4; i++) {
    PrintLeft(rgn, 177, (dword)(340 + 20 * i), 630, names[i], 0xFFFAFAFA, 0, 14);
  }
  bool german = TextLanguage == 1;
  const TYPE_GrData* exitButton = ButtonGraphic(BUTTON_exit);
  const TYPE_GrData* audioButton = ButtonGraphic(BUTTON_audio);
  int exitX = german ? 344 : 207, audioX = german ? 447 : 287;
  PrintRight(rgn, 80, 440, (dword)(exitX - 4), LogoLang(text_LogoCloseBefore), 0xFFFAFAFA, 0, 14);
  TAP_Osd_PutGd(rgn, exitX, 440, exitButton, 1);
  PrintCenter(rgn, (dword)(exitX + (int)exitButton->width), 440, (dword)audioX,
              LogoLang(text_LogoCloseBetween), 0xFFFAFAFA, 0, 14);
  TAP_Osd_PutGd(rgn, audioX, 440, audioButton, 1);
  PrintLeft(rgn, (dword)(audioX + (int)audioButton->width + 4), 440, 638,
            LogoLang(text_LogoCloseAfter), 0xFFFAFAFA, 0, 14);
  TAP_Osd_Sync();
}
