// Stopping from the list: a recording in progress, the playback, or in the
// manager view a running application, after a confirmation.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "apps/apps.h"
#include "catalogue/catalogue.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

int stopWindowShowing;

namespace {

AppText text_RecordingStopTitle = {"Recording Stop Confirmation", "Aufnahme beenden"};
AppText text_RecordingStopQuestion = {"Do you want to stop this recording?",
                                      "Soll diese Aufnahme beendet werden?"};
AppText text_PlaybackStopTitle = {"Playback Stop Confirmation", "Wiedergabe beenden"};
AppText text_PlaybackStopQuestion = {"Do you want to stop this playback?",
                                     "Soll diese Wiedergabe beendet werden?"};
AppText text_TapStopTitle = {"TAP Stop Confirmation", "TAP beenden"};
AppText text_TapStopQuestion = {"Do you want to stop this TAP?", "Soll dieses TAP beendet werden?"};
AppText text_StopRecordingFailedTitle = {"Stop Recording Failed.", "Aufnahme nicht beendet."};
AppText text_StopRecordingFailedLine1 = {"Failed to stop recording file:",
                                         "Aufnahme nicht beendet:"};
AppText text_StopTapFailedTitle = {"Stop TAP Failed", "TAP nicht beendet"};
AppText text_StopTapFailedLine1 = {"Failed to stop TAP:", "TAP nicht beendet:"};
AppText text_StopPlaybackFailedTitle = {"Stop Playback Failed.", "Wiedergabe nicht beendet."};
AppText text_StopPlaybackFailedLine1 = {"Failed to stop playing file:",
                                        "Wiedergabe nicht beendet:"};

FileRecord* Highlighted() {
  return chosenLine > 0 && chosenLine < MAX_SLOTS ? FileSlot(CurrentDirNumber, chosenLine)
                                                  : nullptr;
}

void StopRecording(const FileRecord* line) {
  GetRecordingInfo();
  int result = 0;
  for (int slot = 0; slot < 4; slot++) {
    if (recInfo[slot].fileName[0] && strncmp(recInfo[slot].fileName, line->name, NAME_FIELD) == 0)
      result = TAP_Hdd_StopRecord((byte)slot);
  }
  fileStopped = result == 1 ? 1 : 0;
  if (!fileStopped)
    ShowMessageWinX(rgn, Text(text_StopRecordingFailedTitle), Text(text_StopRecordingFailedLine1),
                    line->name, 300);
}

void StopApplication(const FileRecord* line) {
  dword id = 0;
  TYPE_TapHeader header;
  if (IsFileTAP_Active(line->name, line->folderPath) && HDD_TAP_GetInfo(line->name, &header))
    id = header.id;
  if (id == PAVROLINEX_ID) {
    terminateFlag = 1;  // ours: the application ends itself
    fileStopped = 1;
  } else if (id != 0 && HDD_TAP_Terminate(id)) {
    TAP_ExitNormal();
    fileStopped = 1;
  } else {
    fileStopped = 0;
    ShowMessageWinX(rgn, Text(text_StopTapFailedTitle), Text(text_StopTapFailedLine1), line->name,
                    300);
  }
}

void StopFile() {
  FileRecord* line = Highlighted();
  if (!line) {
    fileStopped = 0;
    return;
  }
  if (line->recordingNow) {
    StopRecording(line);
    return;
  }
  if (!line->playingNow) return;
  if (!processInBackground) MultiSelectClearAll();
  if (TAPManagerMode) {
    StopApplication(line);
  } else if (TAP_Hdd_StopTs() != 0) {
    fileStopped = 0;
    ShowMessageWinX(rgn, Text(text_StopPlaybackFailedTitle), Text(text_StopPlaybackFailedLine1),
                    line->name, 300);
  } else {
    fileStopped = 1;
  }
}

void ReturnFromStopYesNo(int answer) {
  if (answer == 1) {
    StopFile();
  } else {
    fileStopped = 0;
  }
  returnFromStop = 1;
  stopWindowShowing = 0;
}

}  // namespace

void ActivateStopWindow(const char* name) {
  FileRecord* line = Highlighted();
  AppText* title = &text_RecordingStopTitle;
  AppText* question = &text_RecordingStopQuestion;
  if (line && line->playingNow) {
    title = TAPManagerMode ? &text_TapStopTitle : &text_PlaybackStopTitle;
    question = TAPManagerMode ? &text_TapStopQuestion : &text_PlaybackStopQuestion;
  }
  char file[256];
  snprintf(file, sizeof file, "%s: %.193s", Text(text_File), name ? name : "");
  stopWindowShowing = 1;
  DisplayYesNoWindow(Text(*title), Text(*question), file, Text(text_Yes), Text(text_No), 1,
                     ReturnFromStopYesNo);
}
