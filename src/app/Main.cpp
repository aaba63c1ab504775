// Entry points and the start-up sequence.
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "app/log.h"
#include "app/texts.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"

word rgn = NO_REGION;

int tapStartup;
int reentry_lock;
int osdDirtyFlag;
int exitFlag;
int terminateFlag;
int exitFlagTAPManager;
int CalledByTSRCommander;
dword currentTickTime;
dword lastActionTick;
dword lastActionTickPrev;
int activateReturnToQuembryList;
int activateReturnToQuembryList_fromStopMenu;
int activateReturnToQuembryList_fromTagsmith;
int activateStopMenu;
int generatedPlayList;
dword GenerateKeyOnExit;
int ReturningFromPhotoAlbumYesNo;
int activateYoutubeKeyboard;
int resetYoutubeSearchString;

int yesnoWindowShowing;
int MessageWindowShowing;
int checkFirmwareDatShowing;
int creditsShowing;
int configWindowShowing;
int moveWindowShowing;
int infoWindowShowing;
int stopmenuWindowShowing;
int allrecycleWindowShowing;
int recycleWindowMode;
int windowShowing;
int keyboardWindowShowing;

int returnFromInfo;
int fileRenamed, fileReset, listMoved, fileMoved;
int returnFromMove;
int fileMoved_MultiSelect, folderMoved;
int returnFromDelete;
int fileDeleted, delete_CurrentDirNumber, delete_chosenLine, fileDeleted_MultiSelect;
int returnFromStop;
int fileStopped;
int returnFromRename;
int folderRenamed;
int returnFromRecycleBinWindowEmpty;
int returnFromFirmwareDat;
int returnFromCredits;
int returnFromConfig;

char CurrentDir[200];
char LogFileDir[512];

byte* _isAnalogMode;
byte (*Appl_GetAnalogEncoderState)(void);
void (*Appl_AnalogChangeAction)(void);
void (*Appl_SetAnalogEncoderMode)(byte mode);

int RecursiveDepth() { return DefaultRecursiveDepth == 0 ? 99 : DefaultRecursiveDepth; }

void CreateFullScreenRegion() {
  // A region left behind by an earlier window would otherwise be lost.
  if (rgn != NO_REGION) TAP_Osd_Delete(rgn);
  rgn = TAP_Osd_Create(0, 0, OSD_WIDTH, OSD_HEIGHT, 0, 0);
}

void DeleteFullScreenRegion() {
  if (rgn != NO_REGION) TAP_Osd_Delete(rgn);
  rgn = NO_REGION;
}

void SetCurrentDir(const char* path) {
  strncpy(CurrentDir, path, sizeof CurrentDir - 1);
  CurrentDir[sizeof CurrentDir - 1] = '\0';
}

extern "C" __attribute__((visibility("default"))) void __TAP_Init_(TYPE_TapTask* tap) {
  if (!tap) return;
  tap->TAP_Main = TAP_Main;
  tap->TAP_EventHandler = TAP_EventHandler;
}

namespace {

// Warns at start-up when the firmware description file is missing or older
// than the versions this program knows; start-up goes on either way.
void CheckFirmwareDatDate() {
  word mjd = FirmwareDatMJD();
  if (mjd == 0) {
    ShowMessageWinX(rgn, Text(text_NoFirmwareDatTitle), Text(text_NoFirmwareDatLine1),
                    Text(text_FirmwareDatInstall), 1000);
  } else if (mjd < TAP_MakeMjd(2011, 2, 1)) {
    ShowMessageWinX(rgn, Text(text_OldFirmwareDatTitle), Text(text_OldFirmwareDatLine1),
                    Text(text_FirmwareDatInstall), 1000);
  }
}

template <typename T>
void ResolveOnce(T& pointer, const char* name) {
  if (!pointer) pointer = reinterpret_cast<T>(TryResolve(name));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) {
  tapStartup = 1;
  WriteLog_FirstCall = 1;
  WriteLog_Alive_FirstCall = 1;
  WriteLog(LOG_START);

  KeyTranslate(1, TAP_EventHandler);
  FindGlobalRemoteType();

  CreateFullScreenRegion();

  memset(LogFileDir, 0, sizeof LogFileDir);
  HDD_TAP_GetCurrentDir(LogFileDir);
  locateIniDirectory();

  SetCurrentDir("/DataFiles");

  BackupConfigData();
  LoadConfiguration();
  if (AliveLoggingFreq != 0) WriteLog_Alive(LOG_START);

  sortOrder = sortOrderOption;
  ResetScreenColumns();

  CheckFirmwareDatDate();

  for (int i = 0; i < MAX_PLAYED_FILES; i++) playedFiles[i] = nullptr;
  BackupPlayData();
  LoadPlayData();
  BackupLastViewData();
  ReadLastViewDatFile();
  // Before the first scan, so that it finds the recording whole.
  FinishInterruptedRename();

  CacheLogos();
  initialiseQuembryRecycle();
  initialiseQuembryWindow();
  initialiseQuembryDelete();
  initialiseQuembryRename();
  InitialiseKeyboard();
  InitialiseConfigRoutines();

  if (MountMediaFiles) MediaFiles_Mount();

  ResolveOnce(_isAnalogMode, "_isAnalogMode");
  ResolveOnce(Appl_GetAnalogEncoderState, "_Z26Appl_GetAnalogEncoderStatev");
  ResolveOnce(Appl_AnalogChangeAction, "_Z23Appl_AnalogChangeActionv");
  ResolveOnce(Appl_SetAnalogEncoderMode, "_Z25Appl_SetAnalogEncoderModeh");

  // Empty tables with the root folder record and its first two slots.
  numberOfFiles = 0;
  numberOfFolders = 0;
  InitialiseCatalogue();

  ChangeDirRoot();
  GotoDataFiles();
  SetCurrentDir("/DataFiles");
  CurrentDirNumber = 0;

  GetRecordingInfo();
  SetAllFilesToNotPresent();
  if (myfolders[0]) {
    strncpy(myfolders[0]->name, "/DataFiles", sizeof myfolders[0]->name - 1);
    myfolders[0]->lastViewed = folderLastViewInfo[0].lastViewed;
  }
  if (FileSlot(0, 1)) {
    strncpy(FileSlot(0, 1)->folderPath, "/DataFiles", sizeof FileSlot(0, 1)->folderPath - 1);
  }

  initialLoad = 1;
  LoadQuembryInfo("/DataFiles", 0, 0, RecursiveDepth(), 0);
  initialLoad = 0;

  numberOfFiles = myfolders[CurrentDirNumber] ? myfolders[CurrentDirNumber]->entryCount : 0;
  maxShown = numberOfFiles;
  GetPlaybackInfo();
  LoadPlaybackStatusInfo();

  oldSec = oldMin = oldHour = 100;
  exitFlag = 0;
  terminateFlag = 0;
  generatedPlayList = 0;

  DeleteFullScreenRegion();
  tapStartup = 0;
  return 1;
}
