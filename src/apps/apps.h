// apps.h - the other applications of the recorder: messages to and from
// Tagsmith, finding and starting applications by id, the remote-control
// application's direct mode, and the application-manager view of the list.
#pragma once

#include "tap.h"

#define PAVROLINEX_ID 0x800440FAu
#define TAGSMITH_ID 0x444D430Au
#define BACKGROUNDCOPY_ID 0x8E0A42EFu
#define TMSREMOTE_ID 0x8E0A4230u

// Commands between Pavrolinex and Tagsmith (param1 of event 0x0C00).
enum {
  TAGSMITHCMD_AskAlive = 0,
  TAGSMITHCMD_Alive = 1,
  TAGSMITHCMD_ShowInfo = 2,
  TAGSMITHCMD_ShowInfoSuccess = 3,
  TAGSMITHCMD_ShowInfoFailed = 4,
  TAGSMITHCMD_PopDownSuccess = 6,
  TAGSMITHCMD_PopDownFailed = 7,
  TAGSMITHCMD_NormalViewing = 8,
  TAGSMITHCMD_Quembry = 17,
  TAGSMITHCMD_QuembrySuccess = 18,
  TAGSMITHCMD_QuembryExisting = 19,
  TAGSMITHCMD_QuembryFailed = 20,
};

// The 520-byte message record of show-info and prepare: sender id, inode of
// the .inf file, the .inf name (256) and the folder as a system path (256).
// It comes from the firmware heap: its address travels in a 32-bit word.
#define TAGSMITH_MESSAGE_SIZE 520
extern byte* TagsmithMessage;

extern int Tagsmith_multiphase, Tagsmith_multistep;
extern int Tagsmith_alive, Tagsmith_alive_counter, Tagsmith_failure;
extern char Tagsmith_infoMessage[128];  // text the own info window shows; "" = none
extern int activateTagsmithPrepareQuembry;
extern int Tagsmith_prepareSent;  // a prepare went out and its answer is due
extern int prepareInBackgroundComplete;  // 0 running, 1 done, -1 failed, -2 cancelled
extern int processInBackground;          // 1 move or copy, 2 Tagsmith preparation

void ipAskAlive(dword id);
void ipSendAlive(dword id);
void ipSendShowInfo(dword id, byte* record);
void ipSendShowInfoSuccess(dword id);
void ipSendShowInfoFailed(dword id);
void ipSendPopDownSuccess(dword id);
void ipSendPopDownFailed(dword id);
void ipSendPrepareQuembry(dword id, byte* record);
// A message from another application: only flags and counters change here (it
// may arrive inside our own calls); the work follows on idle events.
dword ipCommandProcessor(word event, dword command, dword argument);

void InvokeTagsmith();
void TagsmithInitiate();
void TagsmithMultistepAction();
void TagsmithPrepareQuembry();
// While a prepared entry waits for Tagsmith's answer: a Tagsmith that has
// gone (stopped, crashed) counts as a failed preparation. Called on idle.
void CheckTagsmithPrepare();
// Frees the message record (termination).
void ReleaseTagsmithMemory();

// Searches `folder` (the current firmware folder) for the application file of
// `id` and starts it through the manager's start action; with `recursive`
// also the folders below. 1 when found.
int FindAndStartTAPID(dword id, const char* folder, int recursive);
void FindAndStartBGCTAP();
void TMSRemoteDirectMode(bool on);

// Application manager.
extern int TAPManagerMode;  // 0 recordings, 1 application files, 2 every file
extern int TAPManagerModeChanged;
extern int lastTAPManager_chosenLine, lastTAPManager_dirNumber;
extern char TAPManager_TAP_name[127];
extern char TAPManager_TAP_directory[200];
extern int TAPManager_multiphase, TAPManager_multistep;
extern byte* TAPManagerWindowCopy;

void InvokeTAPManager();
void InvokeTAPManager_AutoStart();
void TAPManagerMultistepAction();
void TAPManager_StartTAP();
// True when the application file `name` of firmware folder `folder` runs.
bool IsFileTAP_Active(const char* name, const char* folder);

// The information window over the list: the details of currentFile (a copy
// of the selected line) and currentFolder, made by the caller.
extern byte* infoWindowCopy;              // the screen under the window
extern int infoCommandOption;             // highlighted button: 0 OK .. 4 progress/restore
extern int rememberLastExtInfoStr_Start;  // where the next page of extended text starts
extern int ExtInfoRows;                   // lines of extended text on the page
void initialiseQuembryInfo();
// Opens the window on the first page; with `rename` the renaming follows at
// once.
void ActivateInfoWindow(int rename);
// Draws the whole window; nextPage continues the extended text.
void DisplayQuembryInfoWindow(int nextPage);
// Draws the button row and syncs.
void DisplayInfoLine();
dword QuembryInfoKeyHandler(dword key);
void CloseQuembryInfoWindow();
// "1 hour 5 minutes" and the like; "" for 0. `out` holds 64 bytes.
void FormatInfoDuration(int minutes, char* out);

// The peripheral screens and the media folder, which reach into the
// recorder's own system through shell commands.

// The status screen over the list: BackgroundCopy and its jobs, the internal
// disk and the external drives. It closes through the help-page keys.
void DisplayStatusScreen();
// Number of ".bgc" entries in `folder` (a firmware path), 0 when it is missing.
int bgcCountFiles(const char* folder);
// When the recorder and this application were last started, in a message.
void CheckUptime();
// The media folder as "/DataFiles/~MediaFiles" (a mount) or
// "/DataFiles/_MediaFiles" (a link); each leaves the firmware's current
// folder as it found it, and removing one drops it from the catalogue too.
void MediaFiles_Mount();
void MediaFiles_Unmount();
void MediaFiles_Link();
void MediaFiles_Unlink();

// Answers of shell commands, written to a temporary file of the settings
// folder and read back with the firmware's file functions.
enum { SHELL_FILE_MISSING = -2, SHELL_FILE_UNREADABLE = -1 };
// Runs "command > file", with the file's system path in the settings folder
// quoted for the shell; the settings folder is the current folder meanwhile.
// The shell's status, or -1 when the command could not be built.
int RunIntoSettingsFile(const char* command, const char* name);
// Reads at most size - 1 bytes of the temporary file into buffer, terminated
// by a zero byte, and removes the file (which the firmware does when the shell
// cannot). The length read, SHELL_FILE_MISSING or SHELL_FILE_UNREADABLE.
int TakeSettingsFile(const char* name, char* buffer, int size);
