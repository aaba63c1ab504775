// The stop menu over the playback picture: ten ways to end or leave a
// playback. What needs the firmware's own functions (pause, mute, trimming,
// MovieCutter's cut marks) is done by sending it keys, one step per idle
// event, so that the firmware and the other applications react in between.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

int numberOfStopMenuEntries = 10;
int chosenStopMenuLine;
int printStopMenuLine;
int STOP_MENU_multiphase;
int STOP_MENU_multistep;
int MovieCutterEnabled;
char CurrentPlayback_folderPath[200];
char CurrentPlayback_filenameInf[127];

namespace {

AppText text_StopMenuTitle = {"Stop Menu", "Stopp-Men\xFC"};
AppText text_UnableToPause = {"(Unable to pause recording)", "(Aufnahme nicht anhaltbar)"};
AppText text_SelectItem = {"Select item", "Eintrag w\xE4hlen"};
AppText text_ExitCancel = {"Exit/cancel", "Verlassen/abbrechen"};
AppText text_StopProgress = {"Progress", "Fortschritt"};
AppText text_StopNA = {"N/A", "k.A."};
AppText text_StopMinutes = {"m", "m"};
AppText text_InvalidOption = {"Invalid option", "Ung\xFCltige Auswahl"};

AppText text_Entry[10] = {
    {"Stop playback", "Wiedergabe beenden"},
    {"Stop and display Quembry list", "Beenden und Quembry-Liste zeigen"},
    {"Stop and Delete file", "Beenden und Datei l\xF6schen"},
    {"Stop and Rename file", "Beenden und Datei umbenennen"},
    {"Stop and Move file", "Beenden und Datei verschieben"},
    {"Stop and place bookmark", "Beenden und Lesezeichen setzen"},
    {"Trim to start of file", "Bis zum Dateianfang schneiden"},
    {"Trim to end of file", "Bis zum Dateiende schneiden"},
    {"Display Quembry list (no stop)", "Quembry-Liste zeigen (weiter)"},
    {"Continue playback (close window)",
     "Wiedergabe fortsetzen (schlie\xDF"
     "en)"},
};
AppText text_MovieCutterSet = {"MovieCutter Set and Continue", "MovieCutter setzen, weiter"};
AppText text_MovieCutterCut = {"MovieCutter Set and Cut Padding", "MovieCutter setzen, schneiden"};

const TYPE_GrData* const kEntryButton[10] = {
    &_Button_stop_Gd,   &_Button_filelist_Gd, &_Button_blue_Gd,      &_Button_white_Gd,
    &_Button_yellow_Gd, &_Button_green_Gd,    &_Button_jumpstart_Gd, &_Button_jumpend_Gd,
    &_Button_step_Gd,   &_Button_play_Gd};

constexpr dword MOVIECUTTER_ID = 0x8E0A4247u;
constexpr int kVisible = 10;
constexpr int kLinePitch = 30;
constexpr dword kPanel = 0xFF1E1E1E, kFooter = 0xFF101010, kText = 0xFFFAFAFA;

void GenerateKey(dword key) { TAP_GenerateEvent(EVT_KEY, KeyReverseTranslate(key), 0); }

bool Playing() { return inPlaybackMode != 0; }

bool Paused() {
  GetPlaybackInfo();
  return inPlaybackMode && CurrentPlaybackInfo.trickMode == TRICKMODE_Pause;
}

// The firmware shows its playback banner.
bool Banner() {
  dword state = 0, subState = 0;
  TAP_GetState(&state, &subState);
  return subState == SUBSTATE_PvrTimeSearch;
}

void StartSequence(int phase) {
  STOP_MENU_multiphase = phase;
  STOP_MENU_multistep = 1;
}

void EndSequence() {
  STOP_MENU_multiphase = 0;
  STOP_MENU_multistep = 0;
}

// "Stop": the selection goes with the playback, unless a background
// operation still works through it.
void StopPlaying() {
  if (!processInBackground) MultiSelectClearAll();
  TAP_Hdd_StopTs();
}

// The played file's name for the list's follow-up: its header name without
// ".inf" (a media file plays under its own name).
void TakeFileToProcess() {
  snprintf(filename_toProcess, sizeof filename_toProcess, "%s", CurrentPlayback_filenameInf);
  if (StringEndsWith(filename_toProcess, ".inf"))
    filename_toProcess[strlen(filename_toProcess) - 4] = 0;
}

const char* EntryText(int entry) {
  if (entry < 1 || entry > 10) return Text(text_InvalidOption);
  if (MovieCutterEnabled && entry == 7) return Text(text_MovieCutterSet);
  if (MovieCutterEnabled && entry == 8) return Text(text_MovieCutterCut);
  return Text(text_Entry[entry - 1]);
}

void DetectMovieCutter() {
  MovieCutterEnabled = 0;
  if (MovieCutterOption == 0 || !HDD_TAP_isRunning(MOVIECUTTER_ID)) return;
  int theirs = HDD_TAP_GetIndexByID(MOVIECUTTER_ID);
  int ours = HDD_TAP_GetIndexByID(PAVROLINEX_ID);
  // MovieCutter sees the keys first only when it sits before us in the table.
  if (theirs >= 0 && ours >= 0 && theirs < ours) MovieCutterEnabled = 1;
}

void OpenMenu() {
  stopmenuWindowShowing = 1;
  TAP_ExitNormal();
  CreateFullScreenRegion();
  chosenStopMenuLine = 1;
  printStopMenuLine = 1;
  CurrentPlayback_folderPath[0] = 0;
  CurrentPlayback_filenameInf[0] = 0;
  // The firmware's record of the played file; without it, the file is taken
  // to lie in the folder the list last showed. A path that does not fit is
  // left out rather than cut: a cut path would name another folder.
  char path[512] = "";
  TYPE_File** playFile = static_cast<TYPE_File**>(TryResolve("_hddPlayFile"));
  if (playFile && *playFile) {
    snprintf(path, sizeof path, "%s", (*playFile)->path);
  } else if (CurrentPlaybackFile.name[0]) {
    snprintf(path, sizeof path, "/mnt/hd%s/%s", CurrentDir, CurrentPlaybackFile.name);
  }
  if (strlen(path) < sizeof CurrentPlayback_folderPath)
    memcpy(CurrentPlayback_folderPath, path, strlen(path) + 1);
  snprintf(CurrentPlayback_filenameInf, sizeof CurrentPlayback_filenameInf, "%.126s",
           CurrentPlaybackFile.name);
  DisplayStopMenuWindow();
  TAP_Osd_Sync();
}

void DoEntry(int entry) {
  switch (entry) {
    case 1:
      StopPlaying();
      CloseStopMenuWindow();
      break;
    case 2:
      StopPlaying();
      FindPlaybackDir();
      CloseStopMenuWindow();
      activateReturnToQuembryList_fromStopMenu = 1;
      break;
    case 3:
      // The list's delete decides about the playback; it is not stopped here.
      if (!processInBackground) MultiSelectClearAll();
      FindPlaybackDir();
      CloseStopMenuWindow();
      TakeFileToProcess();
      activateReturnToQuembryList_fromStopMenu = 2;
      break;
    case 4:
    case 5:
      StopPlaying();
      FindPlaybackDir();
      CloseStopMenuWindow();
      TakeFileToProcess();
      activateReturnToQuembryList_fromStopMenu = entry == 4 ? 3 : 4;
      break;
    case 6:
      TAP_Hdd_SetBookmark();
      StopPlaying();
      CloseStopMenuWindow();
      break;
    case 7:
      StartSequence(MovieCutterEnabled ? 7 : 5);
      break;
    case 8:
      StartSequence(MovieCutterEnabled ? 8 : 6);
      break;
    case 9:
      FindPlaybackDir();
      CloseStopMenuWindow();
      activateReturnToQuembryList_fromStopMenu = 1;
      break;
    case 10:
      StartSequence(2);
      break;
    default:
      break;
  }
}

// The entry whose direct key this released key is; 0 when none.
int DirectEntry(dword key) {
  if (!(key & RKEY_FLAG_RELEASED)) return 0;
  dword base = key & RKEY_MASK;
  if (key != (base | RKEY_FLAG_RELEASED)) return 0;
  if (base == RKEY_PlayList) return 2;
  if (base == RKEY_Blue || base == (RKEYN_Blue & RKEY_MASK)) return 3;
  if (base == RKEY_Option || base == RKEY_Ab || base == (RKEYN_White & RKEY_MASK)) return 4;
  if (base == RKEY_Yellow || base == (RKEYN_Yellow & RKEY_MASK)) return 5;
  if (base == RKEY_Green || base == (RKEYN_Green & RKEY_MASK)) return 6;
  if (base == RKEY_Prev) return 7;
  if (base == RKEY_Next) return 8;
  if (base == RKEY_Slow) return 9;
  if (base == RKEY_Play || base == RKEY_Exit) return 10;
  return 0;
}

// Moves the highlight; false for a key that does not navigate.
bool Navigate(dword key) {
  int last = numberOfStopMenuEntries;
  int& chosen = chosenStopMenuLine;
  int& first = printStopMenuLine;
  if (last < 1) return false;
  int lastVisible = first + kVisible - 1;
  if (key == RKEY_ChUp) {
    if (chosen <= 1) {
      chosen = last;
      first = last - (kVisible - 1) < 1 ? 1 : last - (kVisible - 1);
    } else {
      chosen--;
      if (chosen < first) first = chosen;
    }
  } else if (key == RKEY_ChDown) {
    if (chosen >= last) {
      chosen = 1;
      first = 1;
    } else {
      chosen++;
      if (chosen > lastVisible) first = chosen - (kVisible - 1);
    }
  } else if (key == RKEY_VolDown || key == RKEY_Rewind) {
    if (chosen == first) {
      if (chosen == 1) {
        chosen = last;
      } else {
        chosen = chosen < 11 ? 1 : chosen - kVisible;
      }
      first = chosen - (kVisible - 1) < 1 ? 1 : chosen - (kVisible - 1);
      if (chosen < first) first = chosen;
    } else {
      chosen = first;
    }
  } else if (key == RKEY_VolUp || key == RKEY_Forward) {
    if (chosen >= last) {
      chosen = 1;
      first = 1;
    } else if (chosen == lastVisible) {
      chosen = chosen + kVisible > last ? last : chosen + kVisible;
      first = lastVisible;
    } else {
      chosen = lastVisible > last ? last : lastVisible;
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

void ActivateStopMenuWindow() { StartSequence(1); }

// The menu leaves the screen at once, also when a step sequence closes it
// from an idle event that draws nothing else.
void CloseStopMenuWindow() {
  stopmenuWindowShowing = 0;
  DeleteFullScreenRegion();
  TAP_EnterNormal();
  TAP_Osd_Sync();
}

int FindPlaybackDir() {
  char folder[PATH_BUFFER_SIZE];
  snprintf(folder, sizeof folder, "%s", CurrentPlayback_folderPath);
  char* slash = strrchr(folder, '/');
  if (!slash) return -1;
  *slash = 0;
  if (strncmp(folder, "/mnt/hd", 7) != 0) return -1;
  const char* path = folder + 7;
  if (strcmp(path, CurrentDir) == 0) return 0;
  for (int n = 0; n <= numberOfFolders && n < MAX_FOLDERS; n++) {
    if (!myfolders[n] || (n > 0 && !myfolders[n]->name[0])) continue;
    char known[PATH_FIELD];
    if (!BuildFolderPath(n, "/DataFiles", known) || strcmp(known, path) != 0) continue;
    if (!GotoPath(path)) return -1;
    SetCurrentDir(path);
    CurrentDirNumber = n;
    numberOfFiles = maxShown = myfolders[n]->entryCount;
    chosenLine = 0;
    return 0;
  }
  return -1;
}

void DisplayStopMenuEntries() {
  DetectMovieCutter();
  TAP_Osd_FillBox(rgn, 142, 177, 436, 300, kPanel);
  int arrowWidth = (int)_ArrowUp_Gd.width;
  for (int j = 1; j <= kVisible; j++) {
    int entry = printStopMenuLine + j - 1;
    if (entry > numberOfStopMenuEntries) break;
    dword colour = kText;
    if (entry == chosenStopMenuLine) {
      displayMenuBar(MenuBarColour, 142, 150 + kLinePitch * j, 26, 436 - arrowWidth);
      colour = resolvedMenuTextColour;
    }
    PrintLeft(rgn, 142, (dword)(147 + kLinePitch * j), 528, EntryText(entry), colour, 0, 18);
    if (entry >= 1 && entry <= 10)
      TAP_Osd_PutGd(rgn, 528, 152 + kLinePitch * j, kEntryButton[entry - 1], 1);
  }
  int arrowX = 578 - arrowWidth;
  if (printStopMenuLine > 1) TAP_Osd_PutGd(rgn, arrowX, 180, &_ArrowUp_Gd, 1);
  if (printStopMenuLine + kVisible - 1 < numberOfStopMenuEntries)
    TAP_Osd_PutGd(rgn, arrowX, 465, &_ArrowDown_Gd, 1);
}

void DisplayStopMenuProgress() {
  if (!stopmenuWindowShowing || rgn == NO_REGION) return;
  dword position = 0, total = 0, duration = 0;
  if (inPlaybackMode) {
    GetPlaybackInfo();
    position = CurrentPlaybackInfo.currentBlock;
    total = CurrentPlaybackInfo.totalBlock;
    duration = CurrentPlaybackInfo.duration;
  }
  TAP_Osd_FillBox(rgn, 372, 495, 200, 55, kFooter);
  bool valid = total != 0 && total <= 999999999 && position < 1000000000;
  char text[80];
  if (valid) {
    dword perMille = (dword)((uint64_t)position * 1000 / total);
    snprintf(text, sizeof text, "%.20s=%2d.%1d%%", Text(text_StopProgress), (int)(perMille / 10),
             (int)(perMille % 10));
  } else {
    snprintf(text, sizeof text, "%.20s=%.10s", Text(text_StopProgress), Text(text_StopNA));
  }
  PrintCenter(rgn, 372, 497, 572, text, kText, 0, 14);
  if (!valid) return;
  dword mode = 0;
  if (progressBarOption >= 0 && progressBarOption <= 2) mode = (dword)progressBarOption;
  if (progressBarOption == 3) mode = 0xFF00FF00;
  if (progressBarOption == 4) mode = 0xFFFAFAFA;
  DisplayProgressBar(rgn, position > total ? total : position, total, 372, 520, 200, 6, kFooter, 1,
                     BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF, mode);
  dword shown = position > total ? total : position;
  int watched = (int)((uint64_t)shown * duration / total);
  snprintf(text, sizeof text, "+%d/-%d%.5s", watched, (int)duration - watched,
           Text(text_StopMinutes));
  PrintRight(rgn, 372, 525, 572, text, kText, 0, 12);
}

void DisplayStopMenuWindow() {
  TAP_Osd_FillBox(rgn, 122, 97, 476, 461, BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF);
  TAP_Osd_FillBox(rgn, 125, 100, 470, 455, kPanel);
  char title[100];
  snprintf(title, sizeof title, "%.20s - %.70s", PROGRAM_NAME, Text(text_StopMenuTitle));
  PrintCenter(rgn, 125, 111, 595, title, kText, 0, 18);
  if (Playing() && !Paused())
    PrintCenter(rgn, 125, 141, 595, Text(text_UnableToPause), kText, 0, 14);
  TAP_Osd_FillBox(rgn, 142, 493, 436, 2, 0xFF999999);
  TAP_Osd_FillBox(rgn, 142, 495, 436, 55, kFooter);
  TAP_Osd_PutGd(rgn, 152, 500, &_Button_ok_Gd, 1);
  PrintLeft(rgn, 190, 500, 372, Text(text_SelectItem), kText, 0, 16);
  TAP_Osd_PutGd(rgn, 152, 525, &_Button_exit_Gd, 1);
  PrintLeft(rgn, 190, 525, 372, Text(text_ExitCancel), kText, 0, 16);
  DisplayStopMenuProgress();
  DisplayStopMenuEntries();
}

dword QuembryStopMenuKeyHandler(dword key) {
  lastKeyHandler = "QuembryStopMenuKeyHandler";
  // The keys of a running sequence are ours, meant for the firmware.
  if (STOP_MENU_multiphase || STOP_MENU_multistep) return key;
  dword base = key & RKEY_MASK;
  if (base == RKEY_Option5 || base == RKEY_Option6) return key;
  int entry = DirectEntry(key);
  if (key == RKEY_Stop) entry = 1;
  if (key == (RKEY_FLAG_RELEASED | RKEY_Ok)) entry = chosenStopMenuLine;
  if (entry) {
    DoEntry(entry);
  } else if (key == (RKEY_FLAG_RELEASED | RKEY_Pause)) {
    StartSequence(3);
  } else if (key == RKEY_Mute) {
    StartSequence(4);
  } else if (Navigate(key)) {
    DisplayStopMenuEntries();
  }
  TAP_Osd_Sync();
  return 0;
}

void StopMenuMultistepAction() {
  int phase = STOP_MENU_multiphase;
  int step = STOP_MENU_multistep;
  bool playing = Playing();
  int next = step + 1;
  bool known = true;
  switch (phase * 100 + step) {
    case 101:
      if (playing && Banner()) GenerateKey(RKEY_Exit);
      break;
    case 102:
      if (playing && !Paused()) GenerateKey(RKEY_Pause);
      break;
    case 103:
      OpenMenu();
      break;
    case 201:
      CloseStopMenuWindow();
      break;
    case 202:
      if (playing && Paused()) GenerateKey(RKEY_Pause);
      break;
    case 301:
      TAP_EnterNormal();
      if (playing) GenerateKey(RKEY_Pause);
      break;
    case 302:
    case 402:
      TAP_ExitNormal();
      break;
    case 401:
      TAP_EnterNormal();
      GenerateKey(RKEY_Mute);
      break;
    default:
      known = false;
      break;
  }
  if (!known && phase >= 5 && phase <= 8 && step >= 1 && step <= 6) {
    known = true;
    if (step == 1) {
      if (playing) {
        CloseStopMenuWindow();
        if (Paused()) GenerateKey(RKEY_Pause);
      } else {
        next = 99;
      }
    } else if (phase <= 6) {
      // Trimming through the firmware's banner: gone, the sequence ends.
      static const dword keys[7] = {0, 0, RKEY_Play, RKEY_Pause, RKEY_Ab, RKEY_Prev, RKEY_Blue};
      if (step >= 3 && !Banner()) {
        next = 99;
      } else {
        GenerateKey(step == 5 && phase == 6 ? (dword)RKEY_Next : keys[step]);
      }
    } else if (phase == 7 && step <= 5) {
      static const dword keys[6] = {0, 0, RKEY_Ab, RKEY_Green, RKEY_Exit, RKEY_Exit};
      GenerateKey(keys[step]);
    } else if (phase == 8) {
      static const dword keys[7] = {0, 0, RKEY_Ab, RKEY_Green, RKEY_Menu, 0, RKEY_2};
      GenerateKey(step == 5 ? (dword)(RKEY_0 + MovieCutterOption) : keys[step]);
    } else {
      known = false;
    }
  }
  if (!known) {
    EndSequence();
    return;
  }
  STOP_MENU_multistep = next;
}
