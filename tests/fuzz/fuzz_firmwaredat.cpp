// FirmwareTMS.dat of any content: loaded and looked up as start-up does
// (system type, remote type, compile date), then shown on the description
// screen that prints the model's record.
#include "app/app.h"
#include "fuzz.h"
#include "lib/lib.h"
#include "ui/FirmwareCheck.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::PutFile("/ProgramFiles/Settings/FirmwareTMS.dat", data, size);
  if (FWDATBin) TAP_MemFree(FWDATBin);
  FWDATBin = nullptr;
  FWDATSize = 0;
  SystemType = ST_UNKNOWN;
  tFWDATHeader* header = nullptr;
  tFWDATModel* model = nullptr;
  byte* firmware = nullptr;
  if (LoadFirmwareDat(&header, &model, &firmware)) {
    FUZZ_CHECK(FWDATSize >=
               sizeof(tFWDATHeader) + (uint64_t)header->nModels * FIRMWAREDAT_MODEL_SIZE);
    FUZZ_CHECK((byte*)model + (uint64_t)header->nModels * FIRMWAREDAT_MODEL_SIZE <=
               FWDATBin + FWDATSize);
  }
  SYSTEM_TYPE type = GetSystemType();
  FUZZ_CHECK(type < ST_NRTYPES);
  GlobalRemoteType = 1;
  FindGlobalRemoteType();
  FirmwareDatMJD();
  CheckFirmwareDat();
  return 0;
}
