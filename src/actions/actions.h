// actions.h - what the list does with keys (selection, paging, folders, sort
// orders, the multi-selection) and playback: starting, resuming, restarting
// and tracking how far each recording was watched.
#pragma once

#include <stdint.h>

#include "catalogue/catalogue.h"
#include "tap.h"

// ------------------------------------------------------------ list keys

extern int repeating_key;             // a long press of a release key is in progress
extern int repeat_AcceptBlueEnd;      // a plain Blue press arms its release
extern int repeat_AcceptPlayListEnd;  // a plain File List press arms its release
extern int repeat_DropInfoEnd;        // the info window closed on Info: drop the release
extern int forceDeleteNotRecycle;     // the delete in hand deletes for good
extern int quembryHelpWindowShowing;
extern int TAPManager_closeFirst;  // manager: close the list before starting an application

dword QuembryWindowKeyHandler(dword key);
// Opens an entry: a file plays (resuming), a folder opens, a parent line goes up.
void QuembryAction(int entry);
void ChangeToParentDir();
// Moves the selection off empty folders; sets *redraw when it wrapped.
void FindNextFolder(int forward, int* redraw);
// Enters or leaves the recycle-bin view.
void InvokeRecycle();
// Lines per page of the list (9, 10, 14 or 15).
int ListLinesPerPage();

// The three help pages and their keys.
void DisplayQuembryHelp();
void DisplayQuembryRecycleHelp();
void DisplayQuembryTAPManagerHelp();
dword QuembryHelpKeyHandler(dword key);
// Saves the whole screen and marks a help screen as showing, so that its keys
// and its closing are those of the help pages; false when the list is not
// showing or a help screen already is.
bool BeginHelpScreen();
// Forgets a page whose list was closed and made anew under it.
void DropQuembryHelp();

// ------------------------------------------------------------ multi-selection
// MultiSelectItem and MultiSelect: catalogue/elsewhere.h.

void MultiSelectClearFirst();
void MultiSelectClearAll();
int MultiSelectCount();
// Selects or deselects the selected entry of the shown folder.
void MultiSelectToggle();
void MultiSelect_CheckFileNumber(MultiSelectItem* item);
void ReturnFromMultiSelectAllYesNo(int answer);
// Position (1 ..) of the entry in the multi-selection, 0 when not selected.
int MultiSelectPosition(int folder, int entry);

// ------------------------------------------------------------ playback

extern TYPE_PlayInfo CurrentPlaybackInfo;
extern dword iOverRunCheck;  // guard word read after every play-information read
extern DirEntry CurrentPlaybackFile;
extern TYPE_TapEvent CurrentPlaybackEvent;
extern int inPlaybackMode;

void RestartPlayback(int slot, int resume);
int StartPlayback(const char* name, int resume);
int PlayMediafile(const char* name);
int PlayTs(const char* name, dword inode);
void JumpToLastPosition(dword position, dword total);
void JumpToINF(const char* infPath, int slot);
int RestartLastPlayback();
void MultiSelectStartPlayback(int unused1 = 0, int unused2 = 0);
void GetPlaybackInfo();
void CheckPlaybackStatus();
void FindPlaybackNodeName(dword* inode, char* name);
dword HDD_GetInodeByInfTypeFile(const DirEntry* entry);
void LoadPlaybackStatusInfo();
void SetPlaybackStatus(int folder, int slot);
void LoadPlaybackInfo(int folder, int slot);
void DeleteProgressInfo(int folder, int slot, int markIfNone);

// ------------------------------------------------------------ delete and recycle

extern int deleteWindowShowing;      // the delete confirmation is up
extern int forceDeleteConfirmation;  // the next delete asks even where it would not

// Asks whether to delete the entry delete_chosenLine of folder
// delete_CurrentDirNumber (copied into currentFile/currentFolder) and ends
// in ReturnFromDeleteYesNo, at once where no question is due.
void ActivateDeleteWindow(const char* name, dword attribute);
void ReturnFromDeleteYesNo(int answer);
// Deletes, recycles or refuses the entry in currentFile; sets fileDeleted.
void DeleteFileFolder();
void RecycleAction();
void DeleteAction(int isFile);
// Permanent deletion of the recycled file in currentFile, without asking.
void DeleteRecycledFile();
void ReturnFromMultiSelectDeleteYesNo(int answer);
// Rewrites the first byte of a non-empty file of the current folder, so that
// its modification time becomes now.
void ForceTimestampUpdate(const char* path);
// Appends `value` in double quotes that the shell keeps closed; false (and
// `out` unusable) when it does not fit into `size` bytes.
bool AppendShellQuoted(char* out, int size, const char* value);
void initialiseQuembryDelete();
void initialiseQuembryRecycle();

// The name `name` takes going into or out of the bin: "~counter" (counter
// above 0) before its extension (from the last ".", when at most 40
// characters from the end), then `companion` (".inf", ".nav" or "") and
// `marker` (".del" into the bin, "" out of it). The base name gives way
// when the whole would pass 126 characters; with `reserve`, as when a
// companion of that length were there, so that a name and its companions
// are shortened alike.
void FormBinName(const char* name, int counter, const char* companion, const char* marker,
                 char* out, int reserve = 0);

// ------------------------------------------------------------ entries in use

// Why an entry may not be deleted, recycled, moved, renamed or emptied now.
enum {
  IN_USE_None = 0,
  IN_USE_Recording,   // a recording slot writes it, or writes below the folder
  IN_USE_Playing,     // the playback holds it, or a file below the folder
  IN_USE_Copying,     // the own background copy or a BackgroundCopy job reads it,
                      // something below it, or a folder around it
  IN_USE_Drive,       // it is, or holds, the mount point of a drive or another folder
  IN_USE_MediaFiles,  // it is the mounted media folder "~MediaFiles"
};
// The action stops the playback of the entry itself first: that file passes.
#define GUARD_PlaybackStops 1
// Asks whether the entry `name` of the firmware folder `folder` (or, for a
// folder, anything below it) is in use; IN_USE_None when it may go.
int CheckEntryInUse(const char* folder, const char* name, int flags);
// The same, and a refusal is shown with `title` and the reason; true when
// the action may go on.
bool GuardDestructiveAction(const char* folder, const char* name, const char* title, int flags);
void ShowEntryInUse(int reason, const char* title);
// IN_USE_Drive or IN_USE_MediaFiles when the folder at the system path
// `path` is a mount point or holds one; IN_USE_None otherwise (also for
// anything but a folder).
int MountAtOrBelow(const char* path);

// ------------------------------------------------------------ recycle bin

// One recycled file found by PopulateAllRecycleEntries.
struct AllRecycleEntry {
  char name[127];
  char folder[200];  // firmware folder path
  dword stamp;       // recycle time, packed (MJD << 16 | hour << 8 | minute)
  dword sizeMB;      // rounded to the nearest MB
};
#define MAX_ALL_RECYCLE 200
extern AllRecycleEntry* allrecycleFiles[MAX_ALL_RECYCLE + 1];  // slots 1 .. 200
extern int numberOfAllRecycleEntries;                          // records held
extern int numberOfAllRecycleBin;                              // recycled files found
extern uint64_t sizeOfRecycleBin;                              // bytes of all found
extern int printAllRecycleLine, chosenAllRecycleLine;
extern int returnFromRecycleBinEmpty;  // the bin was emptied from the settings

// Restores the recycled file in currentFile under its name without ".del"
// (with a counter when that is taken), with its companions; sets fileDeleted
// and returnFromDelete.
void RecycleRestoreAction();
// The three emptying questions: all folders from the list's folder (settings),
// all of /DataFiles (recycle view, Green), the shown folder alone (Yellow).
void EmptyRecycleBin();
void DeleteAllRecycleBinWindow();
void DeleteDirRecycleBinWindow();
void ReturnFromEmptyBinYesNo(int answer);
void ReturnFromAllRecycleBinYesNo(int answer);
void ReturnFromDirRecycleBinYesNo(int answer);
// Deletes the recycled recordings, with their companions, of the firmware's
// current folder, which must be `folder`, and with `recursive` of its
// subfolders (on other mounts only with RecycleBinCleanExternal). Files the
// firmware plays or records stay. The current folder is `folder` afterwards.
void DeleteDirRecycleFiles(const char* folder, int recursive);
// Collects the recycled files below /DataFiles (/ProgramFiles in the manager
// view), oldest first, into allrecycleFiles.
void PopulateAllRecycleEntries();
void ReleaseAllRecycleEntries();
// The automatic cleanouts: the oldest recycled files until the free-space
// threshold is met, and those older than RecycleBinAfterXDays at (mjd, hour).
void EmptyOldestRecycleBin();
// The threshold cleanout without its message: false when a file stayed,
// which ShowCleanoutFailure then names.
bool DeleteOldestRecycled();
void ShowCleanoutFailure();
void EmptyRecycleBinAfterXDays(word mjd, byte hour);
// The window listing every recycled file.
void ActivateAllRecycleWindow();
void DisplayAllRecycleWindow();
// The window's count and total: "N found = X.YGB" (gigabytes of 1024 MB,
// from the rounded megabytes, cut to a tenth).
void FormatRecycleBinTotal(char* out, int size);
dword AllRecycleKeyHandler(dword key);
void CloseAllRecycleWindow();

// Stopping from the list: asks whether to stop the recording, the playback or
// (manager view) the application on the highlighted line, then stops it.
extern int stopWindowShowing;
void ActivateStopWindow(const char* name);

// The stop menu during playback. A step sequence (STOP_MENU_multiphase 1 .. 8)
// sends the firmware keys one idle event at a time; STOP_MENU_multistep is
// its next step, 0 when none runs.
extern int numberOfStopMenuEntries;
extern int chosenStopMenuLine, printStopMenuLine;
extern int STOP_MENU_multiphase, STOP_MENU_multistep;
extern int MovieCutterEnabled;                 // entries 7 and 8 set MovieCutter's cut marks
extern char CurrentPlayback_folderPath[200];   // system path of the played file
extern char CurrentPlayback_filenameInf[127];  // its directory entry (header name)
// Starts the sequence that closes the banner, pauses and opens the menu.
void ActivateStopMenuWindow();
void StopMenuMultistepAction();
dword QuembryStopMenuKeyHandler(dword key);
void DisplayStopMenuWindow();
void DisplayStopMenuEntries();
void DisplayStopMenuProgress();
void CloseStopMenuWindow();
// Makes the played file's folder the shown folder; 0, or -1 when the
// catalogue does not know it (the shown folder stays).
int FindPlaybackDir();

// ------------------------------------------------------------ move and copy

#define MOVE_DESTINATIONS 400         // destination slots; 1 .. 399 are used
extern char GlbSourceDir[200];        // folder of the entry being moved (firmware path)
extern char GlbTargetDir[200];        // destination folder (firmware path)
extern char GlbSourceFile[127];       // the entry's name (the new one after a rename on move)
extern char GlbRenamedFile[127];      // the name a rename on move gives it
extern char GlbTargetDirPrefix[200];  // folder whose lines the destinations are named from
extern char GlbBGCJobfile[127];       // the job file being written
extern int GlbBGCAttr;                // attribute of the entry being moved
extern int move_CurrentDirNumber, move_chosenLine;
extern int renameOnMove;
extern int moveAcrossMount;
extern int moveInBackgroundPID;       // the child doing the background copy; 0 none
extern int moveInBackgroundComplete;  // 1 complete, -1 error, -2 cancelled, -3 error (size)
extern char filename_toProcess[127];  // entry a stop-menu follow-up acts on
extern FileRecord* moveFiles[MOVE_DESTINATIONS];
extern int numberOfDestinationFolders, chosenFolderLine, printMoveFolderLine;
extern char* currentMoveDestination;  // name of the highlighted destination; null: none

void ActivateMoveWindow();
void populateMoveFileList();
void DisplayQuembryMoveWindow();
void DisplayQuembryMoveFolderList();
void CloseQuembryMoveWindow();
void ReleaseMoveFilesMemory();
dword QuembryMoveKeyHandler(dword key);
// Moves the selected entry, or the first of the multi-selection, to the
// highlighted destination.
void CommenceMoveProcess();
void MoveAFile(const char* sourceFolder, const char* destinationName, const char* entryName,
               int attribute);
// Same-mount move of an entry and its companions; 1 when it could be tried.
int HDD_Move2(const char* name, const char* sourceFolder, const char* destinationFolder);
// Copies an entry and its companions into another folder, each first under a
// ".part" name and given its own name only once its size matches the
// source's; 1 when everything arrived, 0 when the copy failed, -1 when it
// was refused because a piece or a partial copy of it already lies in the
// destination (nothing is overwritten). Runs in the background copy's child:
// system library and shell only.
int HDD_Copy(const char* name, const char* sourceFolder, const char* destinationFolder);
// One poll of the background copy (idle processing, every 101 ticks).
void BackgroundMove();
// Progress of the running copy, 0 .. 100 (more when the copy is larger), -1
// when it cannot be measured.
int BackgroundMovePercent();
// What the progress box shows: for a multi-selection the bytes of all its
// entries copied so far against their total, else BackgroundMovePercent.
int BackgroundCopyDisplayPercent();
void ReturnFromCancelBackgroundMoveYesNo(int answer);
// Kills a running copy and removes its partial pieces (termination).
void StopBackgroundCopy();
void MoveSuccess();

// The box in the list's bottom right corner while a background copy or
// preparation runs, and its outcome afterwards; false when none is due.
bool DisplayBackgroundStatus();
void DisplayBackgroundMoveStatus();
void DisplayBackgroundMoveCompletion();
void DisplayBackgroundPrepareStatus();
void DisplayBackgroundPrepareCompletion();
// The list showed an outcome: it is forgotten when the list next opens.
extern int backgroundOutcomeShown;

// ------------------------------------------------------------ rename and new folders

extern char suffixRename[127];  // the extension split off the name being edited
extern char renameString[256];  // the text the keyboard edits (rename or new folder)
void initialiseQuembryRename();
// Renames the entry in currentFile: opens the keyboard on its name without
// the extension. The information window is drawn again when it returns.
void EditFileName();
// The keyboard's return: `result` 1 accepts `text`, anything else cancels.
void ReturnFromRenameKeyboard(const char* text, int result);
// Proposes the first free "FOLDER nn" of the shown folder on the keyboard;
// the folder is made with the name accepted there.
void CreateNewFolder();
void ReturnFromNewFolderKeyboard(const char* text, int result);
// Renames a recording given as system paths, with its ".inf" and ".nav",
// such that a power cut part-way leaves a record that the next start
// finishes from; its viewing history follows. `to` must be free. True when
// the recording has its new name.
bool RenameRecordingSafely(const char* from, const char* to);
// Finishes a rename that a power cut interrupted (start-up).
void FinishInterruptedRename();
// Points the viewing history of the file `oldName` (inode `inode`) at
// `newName` and saves it at once when anything changed.
void RenamePlayedFileEntries(dword inode, const char* oldName, const char* newName);

// Automatic renaming of recordings whose names end in a date placeholder.
// 1 when `name` ends in one: *placeholder gets the ending with the extension
// (at least 127 bytes), *kind how it is filled.
int FileNameEligible(const char* name, char* placeholder, int* kind);
// Writes into `text` (holding the extension, at least 64 bytes) the date of
// `stamp` (or today) formatted by `kind`, followed by that extension.
void PrepareNewEnd(char* text, dword stamp, int kind);
// One check of /DataFiles; the number of files renamed.
int AutoRenameSearchFiles();
