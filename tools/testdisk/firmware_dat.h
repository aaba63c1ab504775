// firmware_dat.h - writes the firmware description file "FirmwareTMS.dat"
// that test disks and the demo disk carry in /ProgramFiles/Settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testdisk {

// One model record (348 bytes in the file); fields the application does not
// read are written as zeros.
struct FirmwareDatModel {
  uint16_t sysId = 0;
  std::string deviceName;    // at most 255 bytes are kept
  std::string appType;       // at most 31 bytes are kept
  uint32_t systemType = 0;   // 0 unknown .. 11, as the header decoders number them
  uint32_t displayType = 0;  // 0 LED, 1 dot matrix VFD, 2 Masterpiece VFD
  uint32_t remoteType = 1;   // 0 "5000", 1 "2100", 2 "7100+", 3 "7260+"
  uint32_t maxRecStreams = 2;
  bool mpgSuffix = false;  // recordings end in ".mpg" instead of ".rec"
};

struct FirmwareDat {
  uint32_t magic = 0x12345678;
  int year = 2012, month = 6, day = 1;  // compile date
  uint32_t reserved = 0;                // must be 0 for a valid file
  std::vector<FirmwareDatModel> models;
  // Firmware records: opaque blocks after the models, only counted.
  std::vector<std::string> firmwares;
  // Write only this many bytes (a damaged file); 0: all of it.
  size_t truncateTo = 0;
};

// The file image, little-endian.
std::string FirmwareDatImage(const FirmwareDat& dat);
// Writes the image to `path` (folders above it are created).
bool WriteFirmwareDat(const std::string& path, const FirmwareDat& dat);
// A file with a few typical models, one of them for `systemId` (the emulated
// recorder's identifier by default).
FirmwareDat DefaultFirmwareDat(uint16_t systemId = 22010);
// What a test disk carries: the default file, with the remote of `systemId`
// delivering the key codes that tests and scripts name, untranslated (type 1).
FirmwareDat TestDiskFirmwareDat(uint16_t systemId = 22010);

}  // namespace testdisk
