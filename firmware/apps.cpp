// The application table: loading application images the way the recorder
// does, calling into them with the current-task index set, and unloading them.
#include <dirent.h>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "internal.h"

namespace fw {

TYPE_TapTask tapTask[TAP_MAX_TASKS];
dword curTapTask = 0;

namespace {

bool exitRequested[TAP_MAX_TASKS];
const TYPE_TapHeader* headers[TAP_MAX_TASKS];  // each running application's header
int depth = 0;                                 // calls into applications in progress

int FreeSlot() {
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (tapTask[i].status == TAPTASK_Free) return i;
  }
  return -1;
}

std::string FolderOfFile(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
  if (folder.compare(0, 8, "/mnt/hd/") == 0 || folder == "/mnt/hd") {
    return folder == "/mnt/hd" ? "/mnt/hd/" : folder;
  }
  return "/mnt/hd/ProgramFiles";
}

void Unload(int index) {
  UnloadHosted(index);
  TYPE_TapTask& task = tapTask[index];
  void* image = task.image;
  delete task.file;
  memset(&task, 0, sizeof task);
  exitRequested[index] = false;
  headers[index] = nullptr;
  SetTaskFolder(index, "/mnt/hd/");
  if (image) dlclose(image);
}

// Fills a free slot and runs the application's start; returns its index.
int Start(void* image, const TYPE_TapHeader* header, dword id, const std::string& path,
          int (*main)(void), dword (*handler)(word, dword, dword), void (*init)(TYPE_TapTask*)) {
  int index = FreeSlot();
  if (index < 0) {
    SetError("the application table is full");
    return -1;
  }
  TYPE_TapTask& task = tapTask[index];
  memset(&task, 0, sizeof task);
  task.status = TAPTASK_Running;
  task.id = id;
  task.image = image;
  headers[index] = header;
  task.file = new TYPE_File();
  task.file->magic = TAP_FILE_MAGIC;
  task.file->mode = TAP_FILE_READ;
  task.file->handle = -1;
  snprintf(task.file->path, sizeof task.file->path, "%s", path.c_str());
  SetTaskFolder(index, FolderOfFile(path));
  dword saved = curTapTask;
  curTapTask = static_cast<dword>(index);
  depth++;
  if (init) {
    init(&task);
  } else {
    task.TAP_Main = main;
    task.TAP_EventHandler = handler;
  }
  int (*entry)(void) = task.TAP_Main ? task.TAP_Main : main;
  int result = entry ? entry() : 0;
  depth--;
  curTapTask = saved;
  // Only the application that declined to stay goes at once: another one that
  // asked to exit may still be on the stack (it may have started this one)
  // and is unloaded when the event that reached it has ended.
  if (result == 0) {
    if (depth == 0) {
      Unload(index);
    } else {
      exitRequested[index] = true;
    }
  }
  return index;
}

// The machine this recorder runs applications for, as ELF names it.
constexpr int kMachine =
#if defined(__mips__)
    EM_MIPS;
#elif defined(__x86_64__)
    EM_X86_64;
#elif defined(__i386__)
    EM_386;
#elif defined(__aarch64__)
    EM_AARCH64;
#elif defined(__arm__)
    EM_ARM;
#else
    EM_NONE;
#endif

}  // namespace

bool RunsImagesOf(int machine, int elfClass) {
  return machine == kMachine && elfClass == (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32);
}

namespace {

// Checks that a file is a shared object for this machine before anything of
// it runs: opening a foreign or damaged file could otherwise run its code or
// fail with the loader's less helpful words.
bool CheckElf(const std::string& path) {
  unsigned char ident[EI_NIDENT + 16] = {};
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ssize_t n = fd < 0 ? -1 : read(fd, ident, sizeof ident);
  if (fd >= 0) close(fd);
  if (n < static_cast<ssize_t>(sizeof ident) || memcmp(ident, ELFMAG, SELFMAG) != 0) {
    SetError(path + " is not an application image (not an ELF file)");
    return false;
  }
  int wantClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
  // e_type and e_machine follow the identification bytes in both classes.
  uint16_t type, machine;
  memcpy(&type, ident + EI_NIDENT, 2);
  memcpy(&machine, ident + EI_NIDENT + 2, 2);
  bool little = ident[EI_DATA] == ELFDATA2LSB;
  if (!little) {
    type = static_cast<uint16_t>(type >> 8 | type << 8);
    machine = static_cast<uint16_t>(machine >> 8 | machine << 8);
  }
  bool hostLittle = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
  if (ident[EI_CLASS] != wantClass || little != hostLittle || machine != kMachine) {
    SetError(path + " is built for another machine (ELF machine " + std::to_string(machine) +
             ", this recorder runs " + std::to_string(kMachine) + ")");
    return false;
  }
  if (type != ET_DYN) {
    SetError(path + " is not an application image (not a shared object)");
    return false;
  }
  return true;
}

}  // namespace

void ResetApps() {
  UnloadAll();
  curTapTask = 0;
  depth = 0;
}

int CurrentTask() { return static_cast<int>(curTapTask); }

int CallDepth() { return depth; }

dword CallHandler(int index, word event, dword param1, dword param2) {
  if (index < 0 || index >= TAP_MAX_TASKS || tapTask[index].status != TAPTASK_Running) {
    return param1;
  }
  // The handler is read from the table on every call: applications may hook it.
  dword (*handler)(word, dword, dword) = tapTask[index].TAP_EventHandler;
  if (!handler) return param1;
  dword saved = curTapTask;
  curTapTask = static_cast<dword>(index);
  depth++;
  dword result = handler(event, param1, param2);
  depth--;
  curTapTask = saved;
  return result;
}

void RequestExit(int index) {
  if (index >= 0 && index < TAP_MAX_TASKS) exitRequested[index] = true;
}

void UnloadPendingApps() {
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (exitRequested[i] && tapTask[i].status != TAPTASK_Free) Unload(i);
    exitRequested[i] = false;
  }
}

void UnloadAll() {
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (tapTask[i].status != TAPTASK_Free) Unload(i);
  }
}

int LoadImage(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    SetError("no application file " + path);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    SetError(path + " is not an application image (not a file)");
    return -1;
  }
  if (IsHostImage(path)) {
    int slot = FreeSlot();
    if (slot < 0) {
      SetError("the application table is full");
      return -1;
    }
    HostedImage hostedImage;
    if (!LoadHosted(slot, path, hostedImage)) return -1;
    dword hostedId;
    memcpy(&hostedId, &hostedImage.header->id, sizeof hostedId);
    return Start(nullptr, hostedImage.header, hostedId, path, hostedImage.main, hostedImage.handler,
                 nullptr);
  }
  if (!CheckElf(path)) return -1;
  void* image = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!image) {
    const char* why = dlerror();
    SetError(std::string("cannot load ") + path + ": " + (why ? why : "unknown"));
    return -1;
  }
  const TYPE_TapHeader* header =
      static_cast<const TYPE_TapHeader*>(dlsym(image, TAP_HEADER_SYMBOL));
  if (!header) {
    SetError(path + " has no application header");
    dlclose(image);
    return -1;
  }
  if (memcmp(header->magic, TAP_HEADER_MAGIC, 8) != 0) {
    SetError(path + " has a damaged application header");
    dlclose(image);
    return -1;
  }
  auto init = reinterpret_cast<void (*)(TYPE_TapTask*)>(dlsym(image, "__TAP_Init_"));
  auto main = reinterpret_cast<int (*)(void)>(dlsym(image, "TAP_Main"));
  auto handler = reinterpret_cast<dword (*)(word, dword, dword)>(dlsym(image, "TAP_EventHandler"));
  if (!init && (!main || !handler)) {
    SetError(path + " exports no entry points");
    dlclose(image);
    return -1;
  }
  // The header is read byte-wise: the image's section need not be aligned.
  dword id;
  memcpy(&id, reinterpret_cast<const char*>(header) + offsetof(TYPE_TapHeader, id), sizeof id);
  return Start(image, header, id, path, main, handler, init);
}

}  // namespace fw

extern "C" {

void TAP_Exit(void) { fw::RequestExit(fw::CurrentTask()); }

int TAP_StartApplication(const char* fileName) {
  std::string path = fw::ResolveName(fileName);
  if (path.empty()) return -1;
  return fw::LoadImage(path);
}

}  // extern "C"

namespace emu {

int LoadApplication(const std::string& tapPath) { return fw::LoadImage(tapPath); }

int StartLinkedApplication(const LinkedApplication& app) {
  if (!app.header || (!app.init && !app.main)) {
    fw::SetError("a linked application needs a header and a main entry");
    return -1;
  }
  std::string path = std::string("/mnt/hd/ProgramFiles/") + app.fileName;
  return fw::Start(nullptr, app.header, app.header->id, path, app.main, app.eventHandler, app.init);
}

int LoadAutoStart() {
  const std::string folder = std::string(fw::kDiskRoot) + "/ProgramFiles/AutoStart";
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir)) {
      std::string name = e->d_name;
      std::string lower = name;
      for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
      if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".tap") == 0) {
        names.push_back(name);
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  std::string errors;
  int loaded = 0;
  for (const std::string& name : names) {
    std::string path = folder + "/" + name;
    bool running = false;
    for (int i = 0; i < TAP_MAX_TASKS; i++) {
      const TYPE_TapTask& task = fw::tapTask[i];
      running = running || (task.status != TAPTASK_Free && task.file && path == task.file->path);
    }
    if (running) continue;
    if (fw::LoadImage(path) >= 0) {
      loaded++;
    } else {
      errors += (errors.empty() ? "" : "; ") + LastError();
    }
  }
  fw::SetError(errors);
  return loaded;
}

bool IsRunning(int index) {
  return index >= 0 && index < TAP_MAX_TASKS && fw::tapTask[index].status == TAPTASK_Running;
}

std::vector<RunningApplication> RunningApplications() {
  std::vector<RunningApplication> list;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (!IsRunning(i)) continue;
    RunningApplication app{i, fw::tapTask[i].id, "", fw::tapTask[i].file->path};
    if (const TYPE_TapHeader* header = fw::headers[i]) {
      // Read byte-wise and bounded: the header comes from the image.
      char name[sizeof header->programName + 1] = {};
      memcpy(name, reinterpret_cast<const char*>(header) + offsetof(TYPE_TapHeader, programName),
             sizeof header->programName);
      app.name = name;
    }
    list.push_back(app);
  }
  return list;
}

int RunningCount() {
  int n = 0;
  for (int i = 0; i < TAP_MAX_TASKS; i++) n += IsRunning(i);
  return n;
}

}  // namespace emu
