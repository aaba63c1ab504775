#include "lib/lib.h"

word FirmwareDatMJD(void) {
  tFWDATHeader* header;
  if (!LoadFirmwareDat(&header, 0, 0)) return 0;
  dword date = header->compileDate;
  return TAP_MakeMjd((word)(date >> 16), (byte)(date >> 8), (byte)date);
}
