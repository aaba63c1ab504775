#include "lib/lib.h"

bool HDD_GetRecSlotFiles(byte slot, TYPE_File** file1, TYPE_File** file2, TYPE_File** file3) {
  if (file1) *file1 = 0;
  if (file2) *file2 = 0;
  if (file3) *file3 = 0;
  // Slots count from 0: the table has HDD_NumberOfRECSlots() rows.
  if (slot >= HDD_NumberOfRECSlots()) return false;
  TYPE_File*(*table)[3] = (TYPE_File * (*)[3]) TryResolve("_hddRecFiles");
  if (!table) return false;
  if (file1) *file1 = table[slot][0];
  if (file2) *file2 = table[slot][1];
  if (file3) *file3 = table[slot][2];
  return true;
}
