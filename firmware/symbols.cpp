// The firmware internals that applications look up by name, and the emulated
// firmware functions behind them.
#include <string.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "internal.h"

namespace fw {
namespace {

byte isAnalogMode = 0;
byte analogEncoderMode = 0;

// Media-player folders: a folder record is 16 bytes, the magic word first and
// the index of the selected folder second.
constexpr dword kFolderMagic = 0xBACAED31u;
std::vector<std::string> selectedFolders;
dword workFolder[4];
std::vector<std::vector<dword>> savedWorkFolders;
dword hddDivxFolder[4];

std::set<std::string> removed;

byte GetAnalogEncoderState() { return analogEncoderMode; }
void AnalogChangeAction() { isAnalogMode = !isAnalogMode; }
void SetAnalogEncoderMode(byte mode) { analogEncoderMode = mode; }

const std::string* FolderOfRecord(const dword* record) {
  if (!record || record[0] != kFolderMagic || record[1] >= selectedFolders.size()) return nullptr;
  return &selectedFolders[record[1]];
}

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

std::map<std::string, void*> Table() {
  std::map<std::string, void*> t = {
      {"_tapTask", tapTask},
      {"_curTapTask", &curTapTask},
      {"_hddTapFolder", hddTapFolder},
      {"_hddRecFiles", hddRecFiles},
      {"_hddPlayFile", &hddPlayFile},
      {"_isAnalogMode", &isAnalogMode},
      {"_hddDivxFolder", hddDivxFolder},
      {"_Z26Appl_GetAnalogEncoderStatev", reinterpret_cast<void*>(&GetAnalogEncoderState)},
      {"_Z23Appl_AnalogChangeActionv", reinterpret_cast<void*>(&AnalogChangeAction)},
      {"_Z25Appl_SetAnalogEncoderModeh", reinterpret_cast<void*>(&SetAnalogEncoderMode)},
      {"_Z23Appl_StartPlaybackMediaPKcjbb", reinterpret_cast<void*>(&StartPlaybackMedia)},
      {"_Z16Appl_ExecProgramPc", reinterpret_cast<void*>(&ExecProgram)},
      {"_Z22ApplHdd_SaveWorkFolderv", reinterpret_cast<void*>(&SaveWorkFolder)},
      {"_Z25ApplHdd_RestoreWorkFolderv", reinterpret_cast<void*>(&RestoreWorkFolder)},
      {"_Z21ApplHdd_SetWorkFolderPv", reinterpret_cast<void*>(&SetWorkFolder)},
      {"_Z20ApplHdd_SelectFolderPvPKc", reinterpret_cast<void*>(&SelectFolder)},
      {"PvrTimeToLinux", reinterpret_cast<void*>(&PvrTimeToLinux)},
  };
  if (config.utf8Firmware) {
    t["_Z26Appl_ConvertToValidUTF8StrPhi"] = reinterpret_cast<void*>(&ConvertToValidUTF8Str);
  }
  return t;
}

}  // namespace

void ResetSymbols() {
  removed.clear();
  isAnalogMode = 0;
  analogEncoderMode = 0;
  selectedFolders.clear();
  savedWorkFolders.clear();
  memset(workFolder, 0, sizeof workFolder);
  memset(hddDivxFolder, 0, sizeof hddDivxFolder);
}

}  // namespace fw

extern "C" void* TryResolve(const char* name) {
  if (!name || fw::removed.count(name)) return nullptr;
  std::map<std::string, void*> table = fw::Table();
  auto it = table.find(name);
  return it == table.end() ? nullptr : it->second;
}

namespace emu {

void RemoveSymbol(const std::string& name) { fw::removed.insert(name); }

}  // namespace emu
