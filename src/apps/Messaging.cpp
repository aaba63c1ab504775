// Messages to and from Tagsmith. Every receipt only sets flags: the sender is
// waiting inside its own call, and so may we be.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "apps/apps.h"
#include "lib/lib.h"

int Tagsmith_multiphase, Tagsmith_multistep;
int Tagsmith_alive, Tagsmith_alive_counter, Tagsmith_failure;
char Tagsmith_infoMessage[128];
int Tagsmith_prepareSent;

namespace {

void Send(dword id, dword command, dword argument) {
  HDD_TAP_SendEvent(id, false, EVT_TAPCOM, command, argument);
}

void SendRecord(dword id, dword command, byte* record) {
  if (!record) return;
  dword self = PAVROLINEX_ID;
  memcpy(record, &self, sizeof self);
  // The record lies in the firmware heap, whose addresses fit the word.
  Send(id, command, (dword)(uintptr_t)record);
}

void StartPhase(int phase) {
  Tagsmith_multiphase = phase;
  Tagsmith_multistep = 1;
}

void LogReceipt(const char* what, dword sender) {
  char line[128];
  snprintf(line, sizeof line, "%s: Received %s from TAP [0x%08x].\r\n", PROGRAM_VERSION, what,
           (unsigned)sender);
  PrintNet(line);
}

// Tagsmith's answer to a prepared entry. One answer per entry: a repeated one
// would skip the next entry of the selection.
void PrepareAnswer(const char* what, dword sender, int phase) {
  LogReceipt(what, sender);
  if (!Tagsmith_prepareSent) return;
  Tagsmith_prepareSent = 0;
  StartPhase(phase);
}

}  // namespace

void ipAskAlive(dword id) { Send(id, TAGSMITHCMD_AskAlive, PAVROLINEX_ID); }
void ipSendAlive(dword id) { Send(id, TAGSMITHCMD_Alive, PAVROLINEX_ID); }
void ipSendShowInfo(dword id, byte* record) { SendRecord(id, TAGSMITHCMD_ShowInfo, record); }
void ipSendShowInfoSuccess(dword id) { Send(id, TAGSMITHCMD_ShowInfoSuccess, PAVROLINEX_ID); }
void ipSendShowInfoFailed(dword id) { Send(id, TAGSMITHCMD_ShowInfoFailed, PAVROLINEX_ID); }
void ipSendPopDownSuccess(dword id) { Send(id, TAGSMITHCMD_PopDownSuccess, PAVROLINEX_ID); }
void ipSendPopDownFailed(dword id) { Send(id, TAGSMITHCMD_PopDownFailed, PAVROLINEX_ID); }
void ipSendPrepareQuembry(dword id, byte* record) { SendRecord(id, TAGSMITHCMD_Quembry, record); }

dword ipCommandProcessor(word, dword command, dword argument) {
  switch (command) {
    case TAGSMITHCMD_AskAlive:
      ipSendAlive(argument);
      break;
    case TAGSMITHCMD_Alive:
      Tagsmith_alive = 1;
      break;
    case TAGSMITHCMD_ShowInfoFailed:
      if (Tagsmith_multistep) {
        Tagsmith_failure = 1;
      } else {
        StartPhase(3);
      }
      break;
    case TAGSMITHCMD_PopDownSuccess:
      StartPhase(2);
      break;
    case TAGSMITHCMD_PopDownFailed: {
      char line[128];
      snprintf(line, sizeof line, "%s: Received PopDown failure from TAP [0x%08x].\r\n",
               PROGRAM_VERSION, (unsigned)argument);
      PrintNet(line);
      break;
    }
    case TAGSMITHCMD_NormalViewing:
      StartPhase(4);
      break;
    case TAGSMITHCMD_QuembrySuccess:
      PrepareAnswer("TAGSMITHCMD_QuembrySuccess", argument, 6);
      break;
    case TAGSMITHCMD_QuembryExisting:
      PrepareAnswer("TAGSMITHCMD_QuembryExisting", argument, 6);
      break;
    case TAGSMITHCMD_QuembryFailed:
      PrepareAnswer("TAGSMITHCMD_QuembryFailed", argument, 7);
      break;
    case TAGSMITHCMD_ShowInfo:
      if (argument) {
        if (!TagsmithMessage) TagsmithMessage = (byte*)TAP_MemAlloc(TAGSMITH_MESSAGE_SIZE);
        if (TagsmithMessage)
          memcpy(TagsmithMessage, (const void*)(uintptr_t)argument, TAGSMITH_MESSAGE_SIZE);
      }
      break;
    default:
      break;
  }
  return 0;
}
