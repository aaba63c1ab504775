#include "lib/lib.h"

int HDD_TAP_GetIndexByID(dword id) {
  TYPE_TapTask* table = FIS_vTAPTable();
  if (!table) return -1;
  for (int i = 0; i < TAP_MAX_TASKS; i++)
    if (table[i].status == TAPTASK_Running && table[i].id == id) return i;
  return -1;
}
