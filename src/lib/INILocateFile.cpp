#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

int INILocateFile(const char* fileName, const char* applicationFolder) {
  if (!fileName || !*fileName) return INILOCATION_NotFound;
  if (TAP_Hdd_Exist(fileName)) return INILOCATION_AtCurrentDir;

  char original[PATH_BUFFER_SIZE];
  bool haveOriginal = HDD_TAP_GetCurrentDir(original);
  char appFolder[PATH_BUFFER_SIZE] = "";
  if (applicationFolder && *applicationFolder)
    snprintf(appFolder, sizeof appFolder, "/ProgramFiles/Settings/%s", applicationFolder);

  // Later places override earlier ones.
  const struct {
    const char* folder;
    int location;
  } places[] = {
      {"/ProgramFiles", INILOCATION_AtProgramFiles},
      {"/ProgramFiles/Settings", INILOCATION_AtSettingsDir},
      {appFolder, INILOCATION_AtAppDir},
  };
  int found = INILOCATION_NotFound;
  const char* foundFolder = 0;
  for (const auto& place : places) {
    if (place.folder[0] && HDD_ChangeDir(place.folder) && TAP_Hdd_Exist(fileName)) {
      found = place.location;
      foundFolder = place.folder;
    }
  }
  if (foundFolder)
    HDD_ChangeDir(foundFolder);
  else if (haveOriginal)
    HDD_ChangeDir(original);
  return found;
}
