// actions.h - what the list does with keys (selection, paging, folders, sort
// orders, the multi-selection) and playback: starting, resuming, restarting
// and tracking how far each recording was watched.
#pragma once

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
