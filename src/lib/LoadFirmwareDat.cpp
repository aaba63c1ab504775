#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "lib/lib.h"

byte* FWDATBin = 0;
dword FWDATSize = 0;

// Reads the description file from its first place that exists.
static void ReadFirmwareDat(void) {
  static const char* const places[] = {"%s/ProgramFiles/Settings/%s", "%s/ProgramFiles/%s"};
  for (const char* place : places) {
    char path[PATH_BUFFER_SIZE];
    snprintf(path, sizeof path, place, SYSTEM_ROOT, FIRMWAREDAT_NAME);
    struct stat64 st;
    if (stat64(path, &st) != 0) continue;
    // The first place whose status can be read wins, even if reading fails.
    if (st.st_size <= 0 || st.st_size > 16 * 1024 * 1024) return;
    FILE* file = fopen(path, "rb");
    if (!file) return;
    byte* image = (byte*)TAP_MemAlloc((dword)st.st_size);
    if (image) {
      if (fread(image, 1, (size_t)st.st_size, file) == (size_t)st.st_size) {
        FWDATBin = image;
        FWDATSize = (dword)st.st_size;
      } else {
        TAP_MemFree(image);
      }
    }
    fclose(file);
    return;
  }
}

static dword ReadLittleEndian32(const byte* p) {
  return (dword)p[0] | (dword)p[1] << 8 | (dword)p[2] << 16 | (dword)p[3] << 24;
}

bool LoadFirmwareDat(tFWDATHeader** header, tFWDATModel** firstModel, byte** firstFirmware) {
  if (header) *header = 0;
  if (firstModel) *firstModel = 0;
  if (firstFirmware) *firstFirmware = 0;
  if (!FWDATBin) ReadFirmwareDat();
  if (!FWDATBin) return false;

  bool valid = FWDATSize >= sizeof(tFWDATHeader) &&
               ReadLittleEndian32(FWDATBin) == FIRMWAREDAT_MAGIC &&
               ReadLittleEndian32(FWDATBin + 8) == 0;
  // A file too short for the model records it announces would have the
  // lookups read past its end.
  if (valid) {
    uint64_t models = ReadLittleEndian32(FWDATBin + 12);
    valid = sizeof(tFWDATHeader) + models * FIRMWAREDAT_MODEL_SIZE <= FWDATSize;
  }
  if (!valid) {
    TAP_MemFree(FWDATBin);
    FWDATBin = 0;
    FWDATSize = 0;
    return false;
  }
  tFWDATHeader* h = (tFWDATHeader*)FWDATBin;
  if (header) *header = h;
  if (firstModel) *firstModel = (tFWDATModel*)(FWDATBin + sizeof(tFWDATHeader));
  if (firstFirmware)
    *firstFirmware = FWDATBin + sizeof(tFWDATHeader) + h->nModels * FIRMWAREDAT_MODEL_SIZE;
  return true;
}
