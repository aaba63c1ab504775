// The one event handler through which the firmware reaches the application,
// and TSR Commander's calls.
#include "app/app.h"
#include "app/log.h"
#include "apps/apps.h"
#include "config/ConfigMenu.h"
#include "tap.h"

namespace {

dword HandleTsrCommander(dword code) {
  switch (code) {
    case 1:
      terminateFlag = 1;
      return 1;
    case 2:
      TSRCommanderConfigDialog();
      return 1;
    case 3:
      return 0x1000007;
    case 4:
      return 1;
    case 6:
      ActivationRoutine();
      return 1;
    default:
      return 0;
  }
}

void HandleStopRequest(dword reason) {
  if (reason == 0) {
    WriteLog(LOG_EXIT_POWER);
  } else if (reason == 1) {
    WriteLog(LOG_EXIT_USER);
  } else {
    WriteLog(LOG_EXIT_OTHER);
  }
  TerminateRoutine();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word event, dword param1,
                                                                         dword param2) {
  // Messages from other applications are synchronous calls of their sender and
  // may arrive inside our own calls: they bypass the guard.
  if (event == EVT_TAPCOM) {
    ipCommandProcessor(event, param1, param2);
    return 0;
  }
  // The firmware re-enters the handler from display, file and delay calls; a
  // nested event is answered at once (a key thereby goes to the firmware).
  if (reentry_lock) return param1;
  reentry_lock = 1;
  dword result = param1;
  switch (event) {
    case EVT_IDLE:
      My_IdleHandler();
      if (osdDirtyFlag == 1) {
        TAP_Osd_Sync();
        osdDirtyFlag = 0;
      }
      break;
    case EVT_KEY:
      if (param1 == 0) {
        result = 0;
        break;
      }
      result = My_KeyHandler(param1);
      CheckFlags();
      break;
    case EVT_KEY_TRANSLATED:
      result = My_KeyHandler(param1 - 0x12000000);
      break;
    case EVT_STOP:
      HandleStopRequest(param1);
      break;
    case EVT_TSRCOMMANDER:
      result = HandleTsrCommander(param1);
      break;
    default:
      break;
  }
  reentry_lock = 0;
  return result;
}

extern "C" __attribute__((visibility("default"))) void TSRCommanderConfigDialog(void) {
  windowShowing = 0;
  TAP_ExitNormal();
  CalledByTSRCommander = 1;
  CreateFullScreenRegion();
  ActivateConfigWindow(1);
  TAP_Osd_Sync();
}

extern "C" __attribute__((visibility("default"))) int TSRCommanderExitTAP(void) {
  terminateFlag = 1;
  return 1;
}
