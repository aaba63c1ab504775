// The application's spine: entry points, event dispatch, key routing,
// return-flag processing, activation, exit and termination, key translation.
#pragma once

#include "tap.h"

// The one full-screen display region (720 x 576). It exists while the list or
// another window shows, and briefly during start-up.
extern word rgn;
#define NO_REGION 0xFFFF

// Creates rgn anew (an earlier one is deleted first) / deletes it.
void CreateFullScreenRegion();
void DeleteFullScreenRegion();

// Name of the program as it appears in the logs and the settings file.
#define PROGRAM_NAME "Pavrolinex"
#define PROGRAM_VERSION "Pavrolinex v5.1d"

// --- control flags --------------------------------------------------------
extern int tapStartup;          // 1 while TAP_Main runs
extern int reentry_lock;        // 1 while a guarded event is being handled
extern int osdDirtyFlag;        // idle work drew without syncing
extern int exitFlag;            // a window asks for the list to be hidden
extern int terminateFlag;       // the application is to unload
extern int exitFlagTAPManager;  // exit to start another application: no sync, no normal mode
extern int CalledByTSRCommander;
extern dword currentTickTime;     // firmware tick sampled on every idle event
extern dword lastActionTick;      // tick of the last user key
extern dword lastActionTickPrev;  // tick of the key before
extern int activateReturnToQuembryList;
extern int activateReturnToQuembryList_fromStopMenu;  // carries a follow-up code 1-4
extern int activateReturnToQuembryList_fromTagsmith;
extern int activateStopMenu;
extern int generatedPlayList;    // we generated a File List press: pass the next one on
extern dword GenerateKeyOnExit;  // key sent to the firmware when the list is hidden
extern int ReturningFromPhotoAlbumYesNo;
extern int activateYoutubeKeyboard;
extern int resetYoutubeSearchString;

// --- window flags, in the key router's order ------------------------------
extern int yesnoWindowShowing;
extern int MessageWindowShowing;
extern int checkFirmwareDatShowing;
extern int creditsShowing;
extern int configWindowShowing;
extern int moveWindowShowing;
extern int infoWindowShowing;
extern int stopmenuWindowShowing;
extern int allrecycleWindowShowing;
extern int recycleWindowMode;
extern int windowShowing;  // the Quembry list
extern int keyboardWindowShowing;

// --- return flags and their result flags ----------------------------------
extern int returnFromInfo;
extern int fileRenamed, fileReset, listMoved, fileMoved;
extern int returnFromMove;
extern int fileMoved_MultiSelect, folderMoved;
extern int returnFromDelete;
extern int fileDeleted, delete_CurrentDirNumber, delete_chosenLine, fileDeleted_MultiSelect;
extern int returnFromStop;
extern int fileStopped;
extern int returnFromRename;
extern int folderRenamed;
extern int returnFromRecycleBinWindowEmpty;
extern int returnFromFirmwareDat;
extern int returnFromCredits;
extern int returnFromConfig;

// --- remote type and key translation ----------------------------------------
extern dword RemoteType;  // used by KeyTranslateHook; 1 until known
extern dword (*Original_TAP_EventHandler)(word event, dword param1, dword param2);
extern int TAP_TableIndex;  // own slot in the firmware's application table; -1 unknown

// --- folders ----------------------------------------------------------------
extern char CurrentDir[200];  // folder shown by the list (firmware path)
extern char LogFileDir[512];  // the application's folder at start-up
// Sets CurrentDir, cut to its buffer and always terminated.
void SetCurrentDir(const char* path);

// Firmware internals for the analogue output, resolved at start-up (null when
// the firmware lacks them).
extern byte* _isAnalogMode;
extern byte (*Appl_GetAnalogEncoderState)(void);  // the firmware returns a byte
extern void (*Appl_AnalogChangeAction)(void);
extern void (*Appl_SetAnalogEncoderMode)(byte mode);

// Folder depth used by full rescans: the setting, or 99 for "unlimited".
int RecursiveDepth();

// --- entry points -----------------------------------------------------------
// Stores TAP_Main and TAP_EventHandler into the firmware's application record.
extern "C" void __TAP_Init_(TYPE_TapTask* tap);
extern "C" void TSRCommanderConfigDialog(void);
extern "C" int TSRCommanderExitTAP(void);

// Routes a key to the topmost window or applies the activation rules.
// Returns 0 when the key was consumed, else the key for the firmware.
dword My_KeyHandler(dword key);
// Prints "LOADING..." centred in the list's title line.
void PrintLoading();
// Consumes the return flags windows leave when they close.
void CheckFlags();
// Shows the list.
void ActivationRoutine();
// Hides the list; the application stays resident.
void ExitRoutine();
// Logs, saves, frees everything and unloads the application.
void TerminateRoutine();

// Installs (install = 1) or removes the key-translation hook in the
// firmware's application table. 1 on success, 0 without the table, -3
// without the current-task index.
int KeyTranslate(int install, dword (*handler)(word, dword, dword));
dword KeyTranslateHook(word event, dword param1, dword param2);
// Maps a key we generate back to the code the firmware expects for this remote.
dword KeyReverseTranslate(dword key);
// Remote-type translation of an incoming key (low 17 bits; flags kept).
dword TranslateKeyForRemote(dword key, dword remoteType);

// Callback of the photo-album confirmation.
void ReturnFromPhotoAlbumYesNo(int answer);
// True when the firmware's own display (plane 0) shows anything in the
// rectangle, sampled every 4th pixel of every 4th row.
bool OsdActive(int x1, int y1, int x2, int y2);

// --- idle processing --------------------------------------------------------
extern byte oldSec, oldMin, oldHour;
extern int generateYoutubeKeys;
extern char youtubeSearchString[127];
extern int youtubeSearchStringLength;
extern int ScrollDelay_count, ScrollPause_count;  // the list's scrolling name
void My_IdleHandler();
void ConvertStringIntoKeyboard(const char* text);
void ReturnFromYoutubeKeyboard(const char* text, int result);

// Name of the window key handler that received the last key.
extern const char* lastKeyHandler;
