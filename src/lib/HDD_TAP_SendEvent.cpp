#include "lib/lib.h"

dword HDD_TAP_SendEvent(dword id, bool intercept, word event, dword param1, dword param2) {
  TYPE_TapTask* table = FIS_vTAPTable();
  dword* current = FIS_vCurTapTask();
  if (!table || !current) return 0;
  dword result = 0;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (table[i].status != TAPTASK_Running || !table[i].TAP_EventHandler) continue;
    if (id != 0 && table[i].id != id) continue;
    // The receiver runs as the current application, as when the firmware
    // itself delivers an event to it.
    dword caller = *current;
    *current = (dword)i;
    result = table[i].TAP_EventHandler(event, param1, param2);
    *current = caller;
    if (id != 0 || (intercept && result == 0)) break;
  }
  return result;
}
