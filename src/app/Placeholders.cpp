// Stand-ins for parts of the application that are not built yet. Each goes when the
// real one arrives.
#include <string.h>
#include <sys/stat.h>

#include "catalogue/catalogue.h"

// Settings.
int tempFileSuffixOption;
int recycleBinCleanoutOption;
int InfPerformanceBoost;
int sortOrderOption;
int sortOrderTAPOption;
int TextLanguage;

// Modes and state.
int tapStartup;
int recycleWindowMode;
int TAPManagerMode;
int TAPManagerModeChanged;
char CurrentDir[200] = "/DataFiles";
word rgn;

void ShowMessageWinX(word, const char*, const char*, const char*, dword) {}

void DeleteProgressInfo(int, int, int) {}
void SetPlaybackStatus(int, int) {}
void GetPlaybackInfo(void) {}
void LoadPlaybackStatusInfo(void) {}

MultiSelectItem* MultiSelect;
void MultiSelect_CheckFileNumber(MultiSelectItem*) {}

bool IsFileTAP_Active(const char*, const char*) { return false; }
bool HDD_TAP_GetInfo(const char*, TYPE_TapHeader*) { return false; }

int GetSystemType(void) { return 0; }
word GetSysID(void) { return TAP_GetSystemId(); }
uint64_t HDD_GetInodeByFileName(const char* path) {
  struct stat st;
  return path && lstat(path, &st) == 0 ? (uint64_t)st.st_ino : 0;
}
