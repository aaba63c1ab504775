#include <string.h>
#include <sys/stat.h>

#include "lib/lib.h"

int HDD_ChangeDir(const char* folder) {
  // Firmware versions answer a successful change differently: learn the
  // answer once from a change that is known to work.
  static bool probed = false;
  static int successValue = 1;
  if (!probed) {
    char remembered[PATH_BUFFER_SIZE];
    struct stat64 st;
    // Without /ProgramFiles the probe would learn a failure; try again later.
    if (HDD_TAP_GetCurrentDir(remembered) && stat64(SYSTEM_ROOT "/ProgramFiles", &st) == 0) {
      successValue = TAP_Hdd_ChangeDir("/ProgramFiles");
      TAP_Hdd_ChangeDir(remembered);
      probed = true;
    }
  }
  if (!folder || !*folder) return 0;

  char work[PATH_BUFFER_SIZE];
  size_t length = strlen(folder);
  if (length + 2 > sizeof work) return 0;
  memcpy(work, folder, length + 1);
  if (work[length - 1] != '/') strcpy(work + length, "/");
  char firmwareFolder[PATH_BUFFER_SIZE];
  ConvertPathType(work, firmwareFolder, PF_FirmwareFolder);
  if (!firmwareFolder[0]) return 0;
  if (TAP_Hdd_ChangeDir(firmwareFolder) == successValue) return 1;

  if (!isUTFToppy()) return 0;
  // A name typed or stored in ISO 8859-1 on firmware that names files in
  // UTF-8.
  char utf8Folder[3 * PATH_BUFFER_SIZE + 1];
  StrToUTF8(firmwareFolder, utf8Folder, 1);
  if (strlen(utf8Folder) >= PATH_BUFFER_SIZE) return 0;
  return TAP_Hdd_ChangeDir(utf8Folder) == successValue ? 1 : 0;
}
