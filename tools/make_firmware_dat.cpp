// make_firmware_dat - writes a firmware description file for a disk.
//   make_firmware_dat FILE [SYSID]
// The file holds a few typical models and one for SYSID (default 22010, the
// emulated recorder's identifier). Put it into <disk>/ProgramFiles/Settings.
#include <cstdio>
#include <cstdlib>

#include "firmware_dat.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s FILE [SYSID]\n", argv[0]);
    return 2;
  }
  long systemId = argc == 3 ? std::strtol(argv[2], nullptr, 0) : 22010;
  if (systemId <= 0 || systemId > 0xFFFF) {
    std::fprintf(stderr, "%s: SYSID must be 1..65535\n", argv[0]);
    return 2;
  }
  if (!testdisk::WriteFirmwareDat(argv[1],
                                  testdisk::DefaultFirmwareDat(static_cast<uint16_t>(systemId)))) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
