// The diagnostic screen over the firmware description file: where it lies,
// what it holds for this recorder, the analogue output, and an echo of the
// remote's keys with a test of the three ways of putting text on screen.
#include "ui/FirmwareCheck.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "app/app.h"
#include "app/keys.h"
#include "app/texts.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

AppText text_CheckingFor = {"Checking for %s", "Suche nach %s"};
AppText text_FoundAt = {"found at", "gefunden in"};
AppText text_NotFound = {"Not found", "nicht gefunden"};
AppText text_CurrentDirectory = {"current directory", "aktuellem Ordner"};
AppText text_Unhandled = {"(unhandled)", "(unbekannt)"};
AppText text_CompileDate = {"Compile date", "Erstellt am"};
AppText text_Damaged = {"The file is damaged and could not be loaded.",
                        "Die Datei ist besch\xE4"
                        "digt und nicht lesbar."};
AppText text_OldFile = {"Dated before 1-Feb-2011. Please install the latest version.",
                        "\xC4lter als 1.2.2011. Bitte die neueste Version installieren."};
AppText text_NotIncluded = {"Your SysID (%d) is not included in %s!",
                            "Ihre SysID (%d) fehlt in %s!"};
AppText text_TestHint = {"(press 0 for UTF|ANSI test)", "(0 f\xFCr UTF|ANSI-Test)"};
// Longer than the texts of AppText.
typedef const char LongText[2][80];
LongText text_NoAnalog = {"Firmware does NOT contain Analog functions.",
                          "Firmware hat KEINE Analog-Funktionen."};
LongText text_AnalogActive = {"Firmware contains Analog functions. Analog is currently ACTIVE.",
                              "Firmware hat Analog-Funktionen. Analog ist AKTIV."};
LongText text_AnalogInactive = {"Firmware contains Analog functions. Analog is currently INACTIVE.",
                                "Firmware hat Analog-Funktionen. Analog ist INAKTIV."};
AppText text_Press = {"Press ",
                      "Dr\xFC"
                      "cken Sie "};
AppText text_ToReturn = {" to return to the menu", " f\xFCr das Men\xFC"};
AppText text_ButtonPressed = {"Remote button pressed. Value = 0x%x (%d)   %.19s",
                              "Taste gedr\xFC"
                              "ckt. Wert = 0x%x (%d)   %.19s"};

const char* const kSystemTypes[] = {
    "ST_UNKNOWN", "ST_S",     "ST_T",  "ST_C",  "ST_T5700",      "ST_TMSS",   "ST_TMST",
    "ST_TMSC",    "ST_T5800", "ST_ST", "ST_CT", "ST_TF7k7HDPVR", "ST_NRTYPES"};
const char* const kDisplayTypes[] = {"LED", "TF5500 dot matrix VFD", "Masterpiece VFD"};
const char* const kRemoteTypes[] = {"5000", "2100", "7100+", "7260+"};

constexpr dword kLight = 0xFFE6E6FA, kGrey = 0xFF808080, kBackground = 0xFF101010;
constexpr int kLeft = 60, kRight = 660, kScreenRight = 715;
constexpr int kTestY = 280, kTestPitch = 25, kTestX = 428;

// The sample of the text test: "Aöü" in UTF-8 and in ISO 8859-1.
const char kUtfSample[] = "A\xC3\xB6\xC3\xBC";
const char kIsoSample[] = "A\xF6\xFC";

bool testShowing;

const char* Name(const char* const* names, int count, dword value) {
  return value < (dword)count ? names[value] : "?";
}

// One name/value pair: the name at `x`, the value 120 pixels on, in a
// smaller size where it would run into the next column.
void Pair(int x, int y, const char* name, const char* value) {
  int maxX = x < kTestX ? kTestX - 8 : kScreenRight;
  PrintLeft(rgn, (dword)x, (dword)y, (dword)(x + 118), name, kLight, 0, 16);
  char text[80];
  snprintf(text, sizeof text, "=  %.50s", value);
  int size = 16;
  while (size > 12 && (int)PrintWidth(text, size) > maxX - (x + 120)) size -= 2;
  PrintLeft(rgn, (dword)(x + 120), (dword)y, (dword)maxX, text, kLight, 0, size);
}

void PairNumber(int x, int y, const char* name, int value) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  Pair(x, y, name, text);
}

// The model record of this recorder, or null.
const tFWDATModel* ThisModel(const tFWDATHeader* header, const tFWDATModel* models) {
  word sysID = GetSysID();
  for (dword i = 0; i < header->nModels; i++) {
    if (models[i].sysID == sysID) return &models[i];
  }
  return nullptr;
}

void DrawModel(const tFWDATModel* model, int y) {
  PairNumber(108, y, "SysID", model->sysID);
  PairNumber(428, y, "MaxStreams", (int)model->maxRecStreams);
  char device[51];
  snprintf(device, sizeof device, "%.50s", model->deviceName);
  Pair(108, y + 30, "Device", device);
  Pair(428, y + 30, "Suffix", model->recSuffixMpg ? ".mpg" : ".rec");
  char appType[33];
  snprintf(appType, sizeof appType, "%.32s", model->appType);
  Pair(108, y + 60, "AppType", appType);
  Pair(428, y + 60, "UTF", isUTFToppy() ? "True" : "False");
  PrintLeft(rgn, kTestX, (dword)(y + 60 + 22), kRight, Text(text_TestHint), kGrey, 0, 14);
  Pair(108, y + 90, "SystemType", Name(kSystemTypes, 13, model->systemType));
  Pair(108, y + 120, "DisplayType", Name(kDisplayTypes, 3, model->displayType));
  Pair(108, y + 180, "RemoteType", Name(kRemoteTypes, 4, model->remoteType));
}

void DrawLocation() {
  int pushed = HDD_TAP_PushDir();
  int location = INILocateFile(FIRMWAREDAT_NAME, PROGRAM_NAME);
  if (pushed) HDD_TAP_PopDir();
  char text[160];
  if (location == INILOCATION_NotFound) {
    snprintf(text, sizeof text, "%s %s", FIRMWAREDAT_NAME, Text(text_NotFound));
  } else {
    char appFolder[64];
    snprintf(appFolder, sizeof appFolder, "/ProgramFiles/Settings/%s", PROGRAM_NAME);
    const char* place = location == INILOCATION_AtCurrentDir     ? Text(text_CurrentDirectory)
                        : location == INILOCATION_AtAppDir       ? appFolder
                        : location == INILOCATION_AtSettingsDir  ? "/ProgramFiles/Settings"
                        : location == INILOCATION_AtProgramFiles ? "/ProgramFiles"
                                                                 : Text(text_Unhandled);
    snprintf(text, sizeof text, "%.20s %s %.50s", FIRMWAREDAT_NAME, Text(text_FoundAt), place);
  }
  PrintLeft(rgn, kLeft, 100, kRight, text, kLight, 0, 16);
}

void DrawContents() {
  tFWDATHeader* header = nullptr;
  tFWDATModel* models = nullptr;
  char text[160];
  if (!LoadFirmwareDat(&header, &models, nullptr)) {
    // Found but unreadable: the lookups answer as if it were missing.
    struct stat64 st;
    char path[PATH_BUFFER_SIZE];
    bool exists = false;
    static const char* const places[] = {"%s/ProgramFiles/Settings/%s", "%s/ProgramFiles/%s"};
    for (const char* place : places) {
      snprintf(path, sizeof path, place, SYSTEM_ROOT, FIRMWAREDAT_NAME);
      if (stat64(path, &st) == 0) exists = true;
    }
    if (exists) PrintLeft(rgn, kLeft, 145, kRight, Text(text_Damaged), kLight, 0, 16);
    return;
  }
  dword date = header->compileDate;
  snprintf(text, sizeof text, "%s %d-%02d-%02d;   %d SysIDs, %d F/W IDs", Text(text_CompileDate),
           (int)(date >> 16), (int)((date >> 8) & 0xFF), (int)(date & 0xFF), (int)header->nModels,
           (int)header->nFirmwares);
  PrintLeft(rgn, kLeft, 145, kRight, text, kLight, 0, 16);
  word mjd = FirmwareDatMJD();
  // Old: the start-up warning again, small, between the date and the record.
  if (mjd < TAP_MakeMjd(2011, 2, 1))
    PrintLeft(rgn, kLeft, 167, kRight, Text(text_OldFile), kLight, 0, 14);
  const tFWDATModel* model = ThisModel(header, models);
  if (model) {
    DrawModel(model, 190);
  } else {
    snprintf(text, sizeof text, Text(text_NotIncluded), GetSysID(), FIRMWAREDAT_NAME);
    PrintLeft(rgn, kLeft, 190, kRight, text, kLight, 0, 16);
  }
}

void DrawAnalog() {
  LongText& line = !Appl_GetAnalogEncoderState         ? text_NoAnalog
                   : Appl_GetAnalogEncoderState() != 0 ? text_AnalogActive
                                                       : text_AnalogInactive;
  PrintLeft(rgn, kLeft, 420, kRight, line[TextLanguage == 1 ? 1 : 0], kLight, 0, 16);
}

void DrawFooter() {
  const char* press = Text(text_Press);
  int x = kLeft;
  PrintLeft(rgn, (dword)x, 500, kRight, press, kLight, 0, 16);
  x += (int)PrintWidth(press, 16);
  TAP_Osd_PutGd(rgn, x, 500, &_Button_exit_Gd, 1);
  x += (int)_Button_exit_Gd.width;
  PrintLeft(rgn, (dword)x, 500, kRight, Text(text_ToReturn), kLight, 0, 16);
}

void ToggleTextTest() {
  // From just below the UTF row, so that the hint under it goes too.
  TAP_Osd_FillBox(rgn, kTestX, kTestY - 10, kScreenRight - kTestX, 4 * kTestPitch + 8, kBackground);
  testShowing = !testShowing;
  if (!testShowing) return;
  char text[120];
  const byte* u = (const byte*)kUtfSample;
  const byte* a = (const byte*)kIsoSample;
  snprintf(text, sizeof text, "hex=<%hhx %hhx %hhx %hhx %hhx|%hhx %hhx %hhx>", u[0], u[1], u[2],
           u[3], u[4], a[0], a[1], a[2]);
  PrintLeft(rgn, kTestX, kTestY, kScreenRight, text, kLight, 0, 16);
  snprintf(text, sizeof text, "Print (via FM):  str=<%s|%s>", kUtfSample, kIsoSample);
  PrintLeft(rgn, kTestX, kTestY + kTestPitch, kScreenRight, text, kLight, 0, 16);
  snprintf(text, sizeof text, "FM_PutString:  str=<%s|%s>", kUtfSample, kIsoSample);
  FM_PutString(rgn, kTestX, kTestY + 2 * kTestPitch, kScreenRight, text, kLight, 0,
               &Calibri_16_FontData, 0, 0);
  snprintf(text, sizeof text, "TAP_Osd_PutS:  str=<%s|%s>", kUtfSample, kIsoSample);
  TAP_Osd_PutS(rgn, kTestX, kTestY + 3 * kTestPitch, kScreenRight, text, kLight, 0, 0, 0, 0, 0);
}

const char* ColourName(dword key) {
  if (key == RKEYN_Green) return "<Green>";
  if (key == RKEYN_Yellow) return "<Yellow>";
  if (key == RKEYN_Blue) return "<Blue>";
  if (key == RKEYN_Red) return "<Red>";
  if (key == RKEYN_White) return "<White>";
  return "";
}

}  // namespace

void CheckFirmwareDat() {
  if (rgn == NO_REGION) CreateFullScreenRegion();
  checkFirmwareDatShowing = 1;
  testShowing = false;
  DrawGraphicBorders();
  PrintLeft(rgn, kLeft, 40, kRight, PROGRAM_NAME, kLight, 0, 18);
  char text[80];
  snprintf(text, sizeof text, Text(text_CheckingFor), FIRMWAREDAT_NAME);
  PrintRight(rgn, kLeft, 40, kRight, text, kLight, 0, 18);
  DrawLocation();
  DrawContents();
  DrawAnalog();
  DrawFooter();
  TAP_Osd_Sync();
}

dword FirmwareDatKeyHandler(dword key) {
  lastKeyHandler = "FirmwareDatKeyHandler";
  if (key == RKEY_Exit) {
    checkFirmwareDatShowing = 0;
    returnFromFirmwareDat = 1;
    return 0;
  }
  if (key == RKEY_0) ToggleTextTest();
  char text[120];
  snprintf(text, sizeof text, Text(text_ButtonPressed), (unsigned)key, (int)key, ColourName(key));
  PrintLeft(rgn, kLeft, 450, kRight, text, kLight, kBackground, 16);
  TAP_Osd_Sync();
  return 0;
}
