// The status screen: whether BackgroundCopy runs and how many of its jobs
// wait or failed, how full the internal disk is, and whether external drives
// are mounted below the disk. It is a help screen: it saves the screen under
// it and closes on the help screens' keys.
#include <dirent.h>
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/keys.h"
#include "app/texts.h"
#include "apps/apps.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

AppText text_StatusScreen = {"Status Screen", "Statusanzeige"};
AppText text_BgcStatus = {"BackgroundCopy (bgc) Status", "BackgroundCopy (bgc) Status"};
AppText text_BgcRunning = {"bgc TAP is running", "bgc-TAP l\xE4uft"};
AppText text_BgcStopped = {"bgc TAP is stopped", "bgc-TAP ist beendet"};
AppText text_JobFiles = {"JobFiles", "Auftr\xE4ge"};
AppText text_JobFails = {"JobFails", "Fehler"};
AppText text_DrivesStatus = {"Status of mounted drives", "Status der eingeh\xE4ngten Laufwerke"};
AppText text_InternalHdd = {"Internal HDD", "Interne HDD"};
AppText text_Free = {"Free", "Frei"};
AppText text_Of = {"of", "von"};
AppText text_NoExternalDrives = {"No external drives mounted",
                                 "Keine externen Laufwerke eingeh\xE4ngt"};
AppText text_DrivesUnknown = {"Cannot read the list of mounted drives",
                              "Liste der Laufwerke nicht lesbar"};
AppText text_CloseStatus = {"(Press           or         to close this help window)",
                            "(Zum Schlie\xDF"
                            "en bitte          oder           dr\xFC"
                            "cken)"};

const dword kText = 0xFFFAFAFA;
const dword kPanel = 0xFF1E1E1E;
const char kJobFolder[] = "/ProgramFiles/Settings/BackgroundCopy/JobFiles";
const char kFailFolder[] = "/ProgramFiles/Settings/BackgroundCopy/JobFail";
const char kDrivesFile[] = "~Pavrolinex_mounted_drives.tmp";
const int kDrivesLimit = 5000;

dword FrameColour() { return BorderColour ? 0xFF666666 : 0xFFFFFFFF; }

void DrawPanel(int x, int y, int width, int height, int border) {
  TAP_Osd_FillBox(rgn, (dword)x, (dword)y, (dword)width, (dword)height, FrameColour());
  TAP_Osd_FillBox(rgn, (dword)(x + border), (dword)(y + border), (dword)(width - 2 * border),
                  (dword)(height - 2 * border), kPanel);
}

// "JobFiles = 3  (/ProgramFiles/...)": the count, then its folder smaller.
void DrawJobLine(AppText& label, const char* folder, int count, int y) {
  char text[200];
  snprintf(text, sizeof text, "%.20s = %d", Text(label), count);
  PrintLeft(rgn, 140, (dword)y, 580, text, kText, 0, 14);
  int x = 140 + (int)PrintWidth(text, 14);
  snprintf(text, sizeof text, "  (%.150s)", folder);
  PrintLeft(rgn, (dword)x, (dword)(y + 3), 580, text, kText, 0, 12);
}

void DrawInternalDisk() {
  dword freeMB = TAP_Hdd_FreeSize();
  dword totalMB = TAP_Hdd_TotalSize();
  char text[120];
  snprintf(text, sizeof text, "%.20s: %.10s = %d %.10s %dGB", Text(text_InternalHdd),
           Text(text_Free), (int)(freeMB >> 10), Text(text_Of), (int)(totalMB >> 10));
  PrintLeft(rgn, 140, 322, 425, text, kText, 0, 14);
  dword used = totalMB > freeMB ? totalMB - freeMB : 0;
  // The bar ends inside the drives panel (its right edge is at 588).
  DisplayProgressBar(rgn, used, totalMB, 430, 322, 150, 10, 0xFF808080, 0, 0, 0xFF101010);
}

// The number of mounts below the internal disk, as the recorder's mount
// table lists them (the external drives reachable from /DataFiles); -1 when
// the table's answer cannot be read.
int CountExternalDrives() {
  static char mounts[kDrivesLimit + 1];
  RunIntoSettingsFile("awk '(substr($2,1,8)==\"/mnt/hd/\"){print $2}' /proc/mounts ", kDrivesFile);
  int length = TakeSettingsFile(kDrivesFile, mounts, sizeof mounts);
  if (length < 0) return -1;
  int lines = 0;
  bool lineOpen = false;
  for (int i = 0; i < length; i++) {
    if (mounts[i] == '\r') mounts[i] = ' ';
    if (mounts[i] == '\n') {
      lines++;
      lineOpen = false;
    } else if (mounts[i] != ' ') {
      lineOpen = true;
    }
  }
  // A last line cut off at the read limit, or without its line feed, counts too.
  return lineOpen ? lines + 1 : lines;
}

void DrawFooter() {
  PrintCenter(rgn, 90, 498, 640, Text(text_CloseStatus), kText, 0, 18);
  bool german = TextLanguage == 1;
  TAP_Osd_PutGd(rgn, german ? 350 : 210, 498, &_Button_exit_Gd, 1);
  if (StatusScreenKey != 0 && StatusScreenKey != (int)RKEY_Undefined) {
    const TYPE_GrData* key = ButtonGraphic(GetButtonImage((dword)StatusScreenKey));
    if (key) TAP_Osd_PutGd(rgn, german ? 453 : 290, 498, key, 1);
  }
}

}  // namespace

int bgcCountFiles(const char* folder) {
  char path[PATH_BUFFER_SIZE];
  int n = snprintf(path, sizeof path, "%s%s", SYSTEM_ROOT, folder);
  if (n < 0 || n >= (int)sizeof path) return 0;
  DIR* dir = opendir(path);
  if (!dir) return 0;
  int count = 0;
  while (struct dirent* entry = readdir(dir)) {
    if (StringEndsWith(entry->d_name, ".bgc")) count++;
  }
  closedir(dir);
  return count;
}

void DisplayStatusScreen() {
  if (!BeginHelpScreen()) return;
  // "LOADING..." in the list's title while the shell works; the title comes
  // back before the screen is drawn, where the window leaves it uncovered.
  int titleY = yOffsetOption > 0 ? yOffsetOption - 1 : 0;
  byte* title = TAP_Osd_SaveBox(rgn, 53, (dword)titleY, 448, 30);
  PrintCenter(rgn, 53, (dword)yOffsetOption, 501, Text(text_Loading), 0xFFE6E6FA, 0xFF101010, 18);
  TAP_Osd_Sync();
  int jobs = bgcCountFiles(kJobFolder);
  int fails = bgcCountFiles(kFailFolder);
  int drives = CountExternalDrives();
  if (title) RestoreWindowCopy(rgn, &title, 53, titleY, 448, 30);

  DrawPanel(80, 43, 560, 490, 3);
  char heading[200];
  snprintf(heading, sizeof heading, "%.20s - %.170s", PROGRAM_NAME, Text(text_StatusScreen));
  PrintCenter(rgn, 90, 58, 640, heading, kText, 0, 18);

  DrawPanel(130, 103, 460, 150, 2);
  PrintCenter(rgn, 130, 113, 590, Text(text_BgcStatus), kText, 0, 16);
  PrintCenter(rgn, 130, 152, 590,
              Text(HDD_TAP_isRunning(BACKGROUNDCOPY_ID) ? text_BgcRunning : text_BgcStopped), kText,
              0, 14);
  DrawJobLine(text_JobFiles, kJobFolder, jobs, 181);
  DrawJobLine(text_JobFails, kFailFolder, fails, 210);

  DrawPanel(130, 273, 460, 220, 2);
  PrintCenter(rgn, 130, 283, 590, Text(text_DrivesStatus), kText, 0, 16);
  DrawInternalDisk();
  if (drives < 0) {
    PrintLeft(rgn, 140, 351, 580, Text(text_DrivesUnknown), kText, 0, 14);
  } else if (drives == 0) {
    PrintLeft(rgn, 140, 351, 580, Text(text_NoExternalDrives), kText, 0, 14);
  }

  DrawFooter();
  TAP_Osd_Sync();
}
