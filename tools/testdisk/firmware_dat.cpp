#include "firmware_dat.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace testdisk {

namespace {

void Put32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; i++) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, size_t at, const std::string& text, size_t room) {
  out.replace(at, std::min(text.size(), room - 1), text.substr(0, room - 1));
}

}  // namespace

std::string FirmwareDatImage(const FirmwareDat& dat) {
  const size_t kModelSize = 348;
  std::string image(20 + kModelSize * dat.models.size(), '\0');
  Put32(image, 0, dat.magic);
  Put32(image, 4,
        static_cast<uint32_t>(dat.year) << 16 | static_cast<uint32_t>(dat.month) << 8 |
            static_cast<uint32_t>(dat.day));
  Put32(image, 8, dat.reserved);
  Put32(image, 12, static_cast<uint32_t>(dat.models.size()));
  Put32(image, 16, static_cast<uint32_t>(dat.firmwares.size()));
  for (size_t i = 0; i < dat.models.size(); i++) {
    const FirmwareDatModel& m = dat.models[i];
    size_t at = 20 + i * kModelSize;
    image[at] = static_cast<char>(m.sysId & 0xFF);
    image[at + 1] = static_cast<char>(m.sysId >> 8);
    PutText(image, at + 4, m.deviceName, 256);
    PutText(image, at + 260, m.appType, 32);
    Put32(image, at + 292, m.systemType);
    Put32(image, at + 316, m.displayType);
    Put32(image, at + 320, m.remoteType);
    Put32(image, at + 324, m.maxRecStreams);
    image[at + 328] = m.mpgSuffix ? 1 : 0;
  }
  for (const std::string& firmware : dat.firmwares) image += firmware;
  if (dat.truncateTo && dat.truncateTo < image.size()) image.resize(dat.truncateTo);
  return image;
}

bool WriteFirmwareDat(const std::string& path, const FirmwareDat& dat) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0777);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::string image = FirmwareDatImage(dat);
  out.write(image.data(), static_cast<std::streamsize>(image.size()));
  return static_cast<bool>(out);
}

FirmwareDat DefaultFirmwareDat(uint16_t systemId) {
  FirmwareDat dat;
  auto model = [](uint16_t id, const char* device, const char* app, uint32_t type, uint32_t display,
                  uint32_t remote, uint32_t streams, bool mpg) {
    FirmwareDatModel m;
    m.sysId = id;
    m.deviceName = device;
    m.appType = app;
    m.systemType = type;
    m.displayType = display;
    m.remoteType = remote;
    m.maxRecStreams = streams;
    m.mpgSuffix = mpg;
    return m;
  };
  // System types: 5 TMS satellite, 6 TMS terrestrial, 7 TMS cable, 8 older
  // 5800 family.
  dat.models.push_back(model(22121, "TMS satellite HD", "TMSS", 5, 1, 2, 4, false));
  dat.models.push_back(model(22122, "TMS terrestrial HD", "TMST", 6, 1, 2, 4, false));
  dat.models.push_back(model(42561, "TMS cable HD", "TMSC", 7, 2, 3, 2, false));
  dat.models.push_back(model(12406, "5800 family", "T5800", 8, 0, 1, 2, true));
  bool present = false;
  for (const FirmwareDatModel& m : dat.models) present = present || m.sysId == systemId;
  if (!present)
    dat.models.push_back(model(systemId, "Emulated TMS recorder", "TMSS", 5, 1, 2, 4, false));
  // Two opaque firmware records; the application only counts them.
  dat.firmwares.assign(2, std::string(32, '\0'));
  return dat;
}

FirmwareDat TestDiskFirmwareDat(uint16_t systemId) {
  FirmwareDat dat = DefaultFirmwareDat(systemId);
  for (FirmwareDatModel& model : dat.models) {
    if (model.sysId == systemId) model.remoteType = 1;
  }
  return dat;
}

}  // namespace testdisk
