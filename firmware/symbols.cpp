// The firmware internals that applications look up by name, and the emulated
// firmware functions behind them. The recorder's program exports them under
// the firmware's own symbol names (C names, or C++ mangled ones), so an
// application finds them with dlsym on the running program as on the
// recorder. Tests make one absent through the program's dlsym, which answers
// null for a hidden name.
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "internal.h"

namespace fw {

// Exported with external linkage under the firmware's names; declared here,
// where the names are given, and defined below.
extern dword hddDivxFolder[4] __asm__("_hddDivxFolder");
byte GetAnalogEncoderState() __asm__("_Z26Appl_GetAnalogEncoderStatev");
void AnalogChangeAction() __asm__("_Z23Appl_AnalogChangeActionv");
void SetAnalogEncoderMode(byte mode) __asm__("_Z25Appl_SetAnalogEncoderModeh");
bool StartPlaybackMedia(const char* name, dword, bool,
                        bool) __asm__("_Z23Appl_StartPlaybackMediaPKcjbb");
bool ExecProgram(char* name) __asm__("_Z16Appl_ExecProgramPc");
void SaveWorkFolder() __asm__("_Z22ApplHdd_SaveWorkFolderv");
void RestoreWorkFolder() __asm__("_Z25ApplHdd_RestoreWorkFolderv");
void SetWorkFolder(void* record) __asm__("_Z21ApplHdd_SetWorkFolderPv");
dword SelectFolder(void* record, const char* path) __asm__("_Z20ApplHdd_SelectFolderPvPKc");
void ConvertToValidUTF8Str(unsigned char* text, int) __asm__("_Z26Appl_ConvertToValidUTF8StrPhi");

dword hddDivxFolder[4];

namespace {

// The analogue-input flag. An application has a global of the same name
// (its pointer to this one); where both live in one program, a test program
// linking the application, the name is the application's, so the program's
// dlsym answers it (below) rather than the symbol table.
byte isAnalogMode = 0;

byte analogEncoderMode = 0;

// Media-player folders: a folder record is 16 bytes, the magic word first and
// the index of the selected folder second.
constexpr dword kFolderMagic = 0xBACAED31u;
std::vector<std::string> selectedFolders;
dword workFolder[4];
std::vector<std::vector<dword>> savedWorkFolders;

// Names the program's dlsym hides. Plain storage: the sanitizers' runtime
// calls dlsym before any constructor of this file has run.
constexpr int kMaxHidden = 32;
char hidden[kMaxHidden][64];
int hiddenCount = 0;

const std::string* FolderOfRecord(const dword* record) {
  if (!record || record[0] != kFolderMagic || record[1] >= selectedFolders.size()) return nullptr;
  return &selectedFolders[record[1]];
}

}  // namespace

byte AnalogModeFlag() { return isAnalogMode; }

byte GetAnalogEncoderState() { return analogEncoderMode; }
void AnalogChangeAction() { isAnalogMode = !isAnalogMode; }
void SetAnalogEncoderMode(byte mode) { analogEncoderMode = mode; }

// Plays `name` from the folder in `_hddDivxFolder`; 0 on success.
bool StartPlaybackMedia(const char* name, dword, bool, bool) {
  const std::string* folder = FolderOfRecord(hddDivxFolder);
  if (!folder || !name || !*name || strchr(name, '/')) return true;
  return !PlayMedia(*folder + "/" + name);
}

// Starts the application file `name` of the work folder; true when it was
// loaded (an application that declines to stay counts as started).
bool ExecProgram(char* name) {
  const std::string* folder = FolderOfRecord(workFolder);
  if (!folder || !name || !*name || strchr(name, '/')) return false;
  // The firmware starts applications from its own disk only.
  std::string root = std::string(kDiskRoot) + "/";
  if ((*folder != kDiskRoot && folder->compare(0, root.size(), root) != 0) ||
      folder->find("/..") != std::string::npos) {
    SetError("no application folder: " + *folder);
    return false;
  }
  return LoadImage(*folder + "/" + name) >= 0;
}

void SaveWorkFolder() { savedWorkFolders.emplace_back(workFolder, workFolder + 4); }

void RestoreWorkFolder() {
  if (savedWorkFolders.empty()) return;
  memcpy(workFolder, savedWorkFolders.back().data(), sizeof workFolder);
  savedWorkFolders.pop_back();
}

void SetWorkFolder(void* record) {
  if (record) memcpy(workFolder, record, sizeof workFolder);
}

// Fills a folder record for a system path written without its leading "/"
// ("mnt/hd/DataFiles"); 0 on success.
dword SelectFolder(void* record, const char* path) {
  if (!record || !path) return 1;
  dword* words = static_cast<dword*>(record);
  std::string folder = path[0] == '/' ? path : std::string("/") + path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  selectedFolders.push_back(folder);
  words[0] = kFolderMagic;
  words[1] = static_cast<dword>(selectedFolders.size() - 1);
  return 0;
}

// The firmware's UTF-8 repair: bytes that start no valid sequence become '?'.
void ConvertToValidUTF8Str(unsigned char* text, int) {
  if (!text) return;
  for (unsigned char* p = text; *p;) {
    int len = *p < 0x80 ? 1 : (*p >> 5) == 6 ? 2 : (*p >> 4) == 14 ? 3 : (*p >> 3) == 30 ? 4 : 0;
    bool ok = len > 0;
    for (int i = 1; ok && i < len; i++) ok = (p[i] & 0xC0) == 0x80;
    if (!ok) {
      *p++ = '?';
    } else {
      p += len;
    }
  }
}

// The program's dlsym runs while the sanitizers' runtime sets itself up
// (it looks up the C library's functions with it): before its shadow memory
// and its own strcmp work. What that path runs is uninstrumented and calls
// nothing of the C library but dlvsym.
#define FW_EARLY __attribute__((no_sanitize("address", "undefined")))

FW_EARLY bool SameName(const char* a, const char* b) {
  while (*a && *a == *b) {
    a++;
    b++;
  }
  return *a == *b;
}

FW_EARLY bool IsHidden(const char* name) {
  for (int i = 0; i < hiddenCount; i++) {
    if (SameName(hidden[i], name)) return true;
  }
  // A firmware without its UTF-8 validation routine.
  return SameName(name, "_Z26Appl_ConvertToValidUTF8StrPhi") && !config.utf8Firmware;
}

void ResetSymbols() {
  hiddenCount = 0;
  isAnalogMode = 0;
  analogEncoderMode = 0;
  selectedFolders.clear();
  savedWorkFolders.clear();
  memset(workFolder, 0, sizeof workFolder);
  memset(hddDivxFolder, 0, sizeof hddDivxFolder);
}

namespace {

// noexcept, as the C library declares it: a call that might throw out of the
// noexcept dlsym below could not be its final jump.
using DlsymFn = void* (*)(void*, const char*) noexcept;
DlsymFn realDlsym = nullptr;

// The C library's dlsym, behind the program's own.
FW_EARLY DlsymFn FindRealDlsym() {
  static const char* const versions[] = {"GLIBC_2.34", "GLIBC_2.2.5", "GLIBC_2.0"};
  for (const char* version : versions) {
    if (void* fn = dlvsym(RTLD_NEXT, "dlsym", version)) return reinterpret_cast<DlsymFn>(fn);
  }
  fprintf(stderr, "recorder: the C library's dlsym is not found\n");
  abort();
}

}  // namespace
}  // namespace fw

// The program's dlsym: what the C library's answers, except null for a hidden
// firmware internal. Applications loaded by the program and the application
// linked into a test program both reach this one. The C library's dlsym is
// called last, which an optimising compiler makes a jump: it then sees the
// original caller, which RTLD_NEXT lookups depend on. (The sanitizers'
// runtime, linked into the program, calls from the program itself either way.)
extern "C" FW_EARLY void* dlsym(void* handle, const char* name) noexcept {
  if (!fw::realDlsym) fw::realDlsym = fw::FindRealDlsym();
  if (fw::IsHidden(name)) return nullptr;
  if (fw::SameName(name, "_isAnalogMode")) return &fw::isAnalogMode;
  return fw::realDlsym(handle, name);
}

namespace emu {

void RemoveSymbol(const std::string& name) {
  if (fw::hiddenCount == fw::kMaxHidden || name.size() >= sizeof fw::hidden[0]) {
    fprintf(stderr, "emu: cannot hide %s (at most %d names of %zu bytes)\n", name.c_str(),
            fw::kMaxHidden, sizeof fw::hidden[0] - 1);
    abort();
  }
  strcpy(fw::hidden[fw::hiddenCount++], name.c_str());
}

}  // namespace emu
