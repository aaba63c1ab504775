// Finding and starting other applications by id, and the remote-control
// application's direct mode.
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "apps/apps.h"
#include "apps/texts.h"
#include "catalogue/catalogue.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"

namespace {

#define MAX_SEARCH_FOLDERS 32  // subfolders of one folder that are searched

char searchFolders[MAX_SEARCH_FOLDERS][NAME_FIELD];

}  // namespace

int FindAndStartTAPID(dword id, const char* folder, int recursive) {
  TYPE_DirEntry entry;
  int folders = 0;
  // The names are collected first: starting the search anew in a subfolder
  // must not disturb this folder's listing.
  // Every entry is listed: the firmware's suffix filter would hide the folders.
  for (dword more = TAP_Hdd_FindFirst(&entry, "*"); more; more = TAP_Hdd_FindNext(&entry)) {
    if (entry.attr == ATTR_NORMAL && IsFileTAP(entry.name) == 1) {
      TYPE_TapHeader header;
      if (HDD_TAP_GetInfo(entry.name, &header) && header.id == id) {
        snprintf(TAPManager_TAP_name, sizeof TAPManager_TAP_name, "%.126s", entry.name);
        snprintf(TAPManager_TAP_directory, sizeof TAPManager_TAP_directory, "%.199s", folder);
        TAPManager_multiphase = 3;
        TAPManager_multistep = 1;
        return 1;
      }
    } else if (entry.attr == ATTR_FOLDER && recursive && folders < MAX_SEARCH_FOLDERS &&
               strcmp(entry.name, "..") != 0 && strcmp(entry.name, ".") != 0) {
      snprintf(searchFolders[folders++], NAME_FIELD, "%.126s", entry.name);
    }
  }
  if (!recursive) return 0;
  // The table is reused by the levels below: each level keeps its own copy.
  char names[MAX_SEARCH_FOLDERS][NAME_FIELD];
  memcpy(names, searchFolders, sizeof names);
  for (int i = 0; i < folders; i++) {
    char path[PATH_BUFFER_SIZE];
    if (snprintf(path, sizeof path, "%s/%s", folder, names[i]) >= (int)sizeof path) continue;
    if (TAP_Hdd_ChangeDir(names[i]) == 1 && FindAndStartTAPID(id, path, 1)) return 1;
    GotoPath(folder);
  }
  return 0;
}

void FindAndStartBGCTAP() {
  if (HDD_TAP_isRunning(BACKGROUNDCOPY_ID)) return;
  HDD_TAP_PushDir();
  bool found =
      (GotoPath("/ProgramFiles/AutoStart") &&
       FindAndStartTAPID(BACKGROUNDCOPY_ID, "/ProgramFiles/AutoStart", 0)) ||
      (GotoPath("/ProgramFiles") && FindAndStartTAPID(BACKGROUNDCOPY_ID, "/ProgramFiles", 1));
  HDD_TAP_PopDir();
  if (!found)
    ShowMessageWinX(rgn, Text(text_BgcNotFoundTitle), "/ProgramFiles", "BackgroundCopy.tap", 300);
}

void TMSRemoteDirectMode(bool on) {
  TAPCOM_Channel* channel = TAPCOM_OpenChannel(TMSREMOTE_ID, on ? 1 : 2, 0, 0);
  TAPCOM_CloseChannel(channel);
}
