// soak - the monkey on the remote: random keys, held keys, releases, digits,
// colour keys, attached-keyboard characters and idle periods, sent to
// Pavrolinex running in the emulated recorder beside the peer applications,
// over a disk with an external drive, a recording in progress and playbacks
// the keys start. After every step it checks that the application still
// runs, that its catalogue holds together and that every recording is still
// somewhere (moved, renamed or recycled) unless a delete was confirmed; every
// few hundred steps that File List and Exit still open and close the list and
// that the list shows what is on the disk.
//
//   soak [KEYS] [SEED...]        KEYS steps for each seed (default 5000; seeds 1 2 3)
//   soak --replay 'WORDS'        replays a step list (script words) on a fresh disk
//   soak --replay @FILE          the same with the words in a file (a long list is
//                                printed to soak-seed-N.txt)
//   soak --check-every N         the File List/Exit check every N steps (default 250)
//   soak --in-process --replay   the replay without a child process (for a debugger)
//   soak --print KEYS SEED       prints the steps of a seed as script words
//
// Every run happens in a child process on a fresh disk, so a crash, a
// sanitizer report or a hang ends only that run. A failing seed is replayed
// with fewer and fewer steps (delta debugging) until no step can be dropped;
// the shortest step list is printed as a script of the recorder program.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "app/app.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "emu.h"
#include "firmware_dat.h"
#include "tap.h"
#include "tap_keys.h"
#include "testdisk.h"
#include "ui/Dialogs.h"

namespace {

constexpr uint64_t kBlock = 9024;
const char* const kRecordingPath = "/mnt/hd/DataFiles/News/Live.rec";

// ----------------------------------------------------------------- the steps

const char* const kArrows[] = {"Up", "Down", "Left", "Right"};
const char* const kColours[] = {"Red", "Green", "Yellow", "Blue"};
const char* const kPlayer[] = {"Play",        "Pause",      "Stop",     "Record", "Rewind",
                               "FastForward", "SlowMotion", "Previous", "Next"};
const char* const kOthers[] = {"Menu",  "Info", "Guide",   "Recall",     "Mute",      "UHF",
                               "TvSat", "M",    "TvRadio", "AudioTrack", "Subtitle",  "Teletext",
                               "Fav",   "Sat",  "Option",  "Ab",         "Undefined", "Sleep"};

template <size_t N>
const char* Pick(std::mt19937& random, const char* const (&names)[N]) {
  return names[random() % N];
}

// Any key of the remote, the frequent ones more often.
std::string AnyKey(std::mt19937& random) {
  unsigned r = random() % 100;
  if (r < 30) return Pick(random, kArrows);
  if (r < 42) return "Ok";
  if (r < 50) return "Exit";
  if (r < 55) return "FileList";
  if (r < 65) return std::to_string(random() % 10);
  if (r < 78) return Pick(random, kColours);
  if (r < 88) return Pick(random, kPlayer);
  return Pick(random, kOthers);
}

// One step as words of the recorder's scripts (a key name is a whole press,
// as a hand makes it with a remote).
std::string RandomStep(std::mt19937& random) {
  unsigned r = random() % 100;
  if (r < 2) return "Blue Left Ok";  // a delete answered Yes, as users do
  if (r < 68) return AnyKey(random);
  if (r < 77) return "hold:" + AnyKey(random);
  if (r < 79) return "press:" + AnyKey(random);  // a press whose release is lost
  if (r < 83) {
    const char* released[] = {"Red", "Green", "Yellow", "Blue", "Ok", "Exit", "Info"};
    return std::string("release:") + released[random() % 7];
  }
  if (r < 90) {
    // An attached keyboard: letters, digits, signs, delete and enter.
    static const char kTyped[] = "abcxyzABCXYZ019 -_.,!?/\\\"'~\x08\x0d";
    char word[32];
    snprintf(word, sizeof word, "key:0x%08X", 0xEE000000u | (uint8_t)kTyped[random() % 30]);
    return word;
  }
  if (r < 99) return "idle:" + std::to_string(1 + random() % 40);
  return "wait:" + std::to_string(10 + random() % 300);
}

std::vector<std::string> MakeSteps(uint32_t seed, int count) {
  std::mt19937 random(seed);
  std::vector<std::string> steps;
  for (int i = 0; i < count; i++) {
    std::string words = RandomStep(random);
    size_t start = 0;
    for (size_t blank; (blank = words.find(' ', start)) != std::string::npos; start = blank + 1)
      steps.push_back(words.substr(start, blank - start));
    steps.push_back(words.substr(start));
  }
  return steps;
}

// ------------------------------------------------------------------ the disk

std::string SettingsFile() {
  std::string text = std::string(INI_FILE_HEADER) + "\r\n";
  for (const SettingDefinition& d : settingDefinitions) {
    int value = d.defaultValue;
    if (d.setting == &recycleBinOption) value = 1;  // deletes recycle, with a prompt
    text += std::to_string(value) + "\r\n";
  }
  text.resize(INI_FILE_SIZE, '\0');
  return text;
}

bool CopyFile(const std::string& from, const std::string& to) {
  FILE* in = fopen(from.c_str(), "rb");
  if (!in) return false;
  FILE* out = fopen(to.c_str(), "wb");
  bool ok = out != nullptr;
  char buffer[65536];
  size_t n;
  while (ok && (n = fread(buffer, 1, sizeof buffer, in)) > 0) ok = fwrite(buffer, 1, n, out) == n;
  fclose(in);
  if (out && fclose(out) != 0) ok = false;
  return ok;
}

// Every recording gets a size of its own, so that it can be found again
// wherever it went.
struct DiskMaker {
  testdisk::Disk& disk;
  int made = 0;
  bool ok = true;
  void Recording(const std::string& path) {
    testdisk::Header header;
    header.recordingStart = testdisk::Stamp(2026, 11, 1 + made % 28, 20, made % 60);
    header.durationMinutes = 30;
    header.serviceName = "Channel One";
    header.eventName = path.substr(path.rfind('/') + 1);
    header.eventText = "A programme";
    uint64_t size = (1000 + 17 * (uint64_t)made) * kBlock;
    made++;
    ok = ok && disk.Recording(path, size, header, true, header.recordingStart);
  }
};

bool BuildDisk(const std::string& hd, const std::string& usb) {
  testdisk::Disk disk(hd);
  bool ok = testdisk::WriteFirmwareDat(disk.HostPath(testdisk::Disk::kFirmwareDat),
                                       testdisk::TestDiskFirmwareDat(22010));
  DiskMaker m{disk};
  for (int i = 1; i <= 14; i++) {
    char name[64];
    snprintf(name, sizeof name, "/DataFiles/Show %02d.rec", i);
    m.Recording(name);
  }
  for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"})
    m.Recording(std::string("/DataFiles/Movies/") + name + ".rec");
  m.Recording("/DataFiles/Series/Pilot.rec");
  m.Recording("/DataFiles/Series/Season 1/Episode 1.rec");
  m.Recording("/DataFiles/Series/Season 1/Episode 2.rec");
  m.Recording("/DataFiles/Series/Season 2/Finale.rec");
  m.Recording("/DataFiles/News/Live.rec");
  m.Recording("/DataFiles/News/Morning.rec");
  m.Recording("/DataFiles/Old.rec");
  ok = ok && disk.Recycle("/DataFiles/Old.rec") && disk.Folder("/DataFiles/Empty") &&
       disk.Text("/DataFiles/notes.txt", "not a recording\n") &&
       disk.Text(std::string(INI_FOLDER) + "/" + INI_FILE_NAME, SettingsFile()) &&
       disk.Folder("/ProgramFiles/Settings/BackgroundCopy/JobFiles") &&
       disk.Folder("/ProgramFiles/Settings/BackgroundCopy/JobFail") &&
       disk.Folder("/ProgramFiles/AutoStart");
  for (const char* peer : {"Tagsmith", "BackgroundCopy", "RemoteControl", "TSRCommander"}) {
    ok = ok && CopyFile(std::string(PVR_PEER_DIR) + "/" + peer + ".tap",
                        hd + "/ProgramFiles/AutoStart/" + peer + ".tap");
  }
  ok = ok && CopyFile(std::string(PVR_PEER_DIR) + "/MovieCutter.tap",
                      hd + "/ProgramFiles/MovieCutter.tap");
  testdisk::Disk drive(usb);
  DiskMaker u{drive, 100};
  u.Recording("/Film.rec");
  u.Recording("/Documentary.rec");
  u.Recording("/Archive/Concert.rec");
  // A drive holds recordings only, not the folders of a recorder's disk.
  for (const char* folder : {"/DataFiles", "/ProgramFiles", "/MediaFiles"})
    testdisk::RemoveTree(usb + folder);
  return ok && m.ok && u.ok;
}

// ------------------------------------------------------------ one run (child)

// What a run leaves for the parent: shared memory, so that it survives a crash.
struct Outcome {
  int steps;   // steps completed
  int failed;  // a check failed (the message says which)
  char message[1024];
};

// The loaded application's state, read through its image's exports: the
// application runs as the recorder loads it (a fresh image, and so fresh
// globals, at every start), not as code linked into this program.
struct AppView {
  int* windowShowing = nullptr;
  int* yesnoWindowShowing = nullptr;
  int* YesNoOption = nullptr;
  int* recycleWindowMode = nullptr;
  int* numberOfFolders = nullptr;
  int* CurrentDirNumber = nullptr;
  int* mainActivationKey = nullptr;
  int* chosenLine = nullptr;
  int* printLine = nullptr;
  int* maxShown = nullptr;
  int* HideEmptyFolders = nullptr;
  int* recycleBinOption = nullptr;
  int* forceDeleteNotRecycle = nullptr;
  int* deleteWindowShowing = nullptr;
  int* messageCount = nullptr;
  FileRecord* currentFile = nullptr;
  int (*LinesPerPage)() = nullptr;
  // The windows that take keys before the list.
  std::vector<int*> overLists;
  // The list's settings that can claim a key before Exit hides the list.
  std::vector<int*> listKeys;
  FolderRecord** myfolders = nullptr;
  FileRecord** myfiles = nullptr;
  int (*IsFileRec)(const char*) = nullptr;

  FileRecord* Slot(int n, int slot) const { return myfiles[n * MAX_SLOTS + slot]; }

  // Resolves everything in the image at `path`; false when something is missing.
  bool Resolve(const std::string& path) {
    void* image = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (!image) return false;
    bool ok = Get(image, "windowShowing", windowShowing) &&
              Get(image, "yesnoWindowShowing", yesnoWindowShowing) &&
              Get(image, "YesNoOption", YesNoOption) &&
              Get(image, "recycleWindowMode", recycleWindowMode) &&
              Get(image, "numberOfFolders", numberOfFolders) &&
              Get(image, "CurrentDirNumber", CurrentDirNumber) &&
              Get(image, "mainActivationKey", mainActivationKey) && GetListKeys(image) &&
              Get(image, "chosenLine", chosenLine) && Get(image, "printLine", printLine) &&
              Get(image, "maxShown", maxShown) &&
              Get(image, "HideEmptyFolders", HideEmptyFolders) &&
              Get(image, "recycleBinOption", recycleBinOption) &&
              Get(image, "forceDeleteNotRecycle", forceDeleteNotRecycle) &&
              Get(image, "deleteWindowShowing", deleteWindowShowing) &&
              Get(image, "messageCount", messageCount) && Get(image, "currentFile", currentFile) &&
              Get(image, "_Z12LinesPerPagev", LinesPerPage) && GetOverLists(image) &&
              Get(image, "myfolders", myfolders) && Get(image, "myfiles", myfiles) &&
              Get(image, "_Z9IsFileRecPKc", IsFileRec);
    // The firmware holds the image; this reference must not keep it loaded
    // once the firmware lets it go.
    dlclose(image);
    return ok;
  }
  bool GetOverLists(void* image) {
    overLists.clear();
    for (const char* name :
         {"yesnoWindowShowing", "MessageWindowShowing", "checkFirmwareDatShowing", "creditsShowing",
          "configWindowShowing", "moveWindowShowing", "infoWindowShowing", "stopmenuWindowShowing",
          "allrecycleWindowShowing", "keyboardWindowShowing", "quembryHelpWindowShowing"}) {
      int* flag = nullptr;
      if (!Get(image, name, flag)) return false;
      overLists.push_back(flag);
    }
    return true;
  }
  // The list is on screen and takes the next key itself.
  bool ListOnTop() const {
    if (!*windowShowing) return false;
    for (const int* flag : overLists)
      if (*flag) return false;
    return true;
  }
  // Whether a setting of the list claims `key` before its fixed meaning.
  bool KeyClaimed(dword key) const {
    for (const int* setting : listKeys)
      if ((dword)*setting == key) return true;
    return (dword)*mainActivationKey == key;
  }
  bool GetListKeys(void* image) {
    listKeys.clear();
    for (const char* name :
         {"OverrideParentKey", "OverrideRecycleKey", "MultiSelectKey", "ResetProgressKey",
          "OverrideDataFilesKey", "TagsmithKey", "OverrideInfoKey", "TAPManagerKey",
          "FileSuffixKey", "StatusScreenKey", "RestartLastKey_internal", "UserExitKey1",
          "UserExitKey2", "UserExitKey3", "UserExitKey4"}) {
      int* setting = nullptr;
      if (!Get(image, name, setting)) return false;
      listKeys.push_back(setting);
    }
    return true;
  }
  // The key that hides the list: Exit, or the activation key when the keys
  // reached the configuration and gave Exit to another of the list's
  // functions; 0 when that one is taken too.
  dword CloseKey() const {
    dword candidates[2] = {RKEY_Exit, (dword)*mainActivationKey};
    for (dword key : candidates) {
      bool taken = key == 0;
      for (const int* setting : listKeys) taken = taken || (dword)*setting == key;
      if (!taken) return key;
    }
    return 0;
  }
  template <typename T>
  static bool Get(void* image, const char* name, T& out) {
    out = reinterpret_cast<T>(dlsym(image, name));
    return out != nullptr;
  }
};

// Regular files below a folder, by size (symbolic links are not followed, so
// the drive is counted once, below its own mount).
void Sizes(const std::string& path, std::multimap<uint64_t, std::string>& out) {
  DIR* dir = opendir(path.c_str());
  if (!dir) return;
  while (dirent* e = readdir(dir)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    std::string child = path + "/" + e->d_name;
    struct stat st;
    if (lstat(child.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode))
      Sizes(child, out);
    else if (S_ISREG(st.st_mode))
      out.emplace((uint64_t)st.st_size, child);
  }
  closedir(dir);
}

class Monkey {
 public:
  Monkey(Outcome* outcome, int checkEvery) : outcome_(outcome), checkEvery_(checkEvery) {}

  bool Start(const std::string& root) {
    hd_ = root + "/hd";
    usb_ = root + "/usb";
    if (!BuildDisk(hd_, usb_)) return Fail("setup: cannot build the disk in " + root);
    emu::Config config;
    config.diskDir = hd_;
    emu::ExternalDrive drive;
    drive.seedDir = usb_;
    config.drives.push_back(drive);
    if (!emu::Boot(config)) return Fail("setup: " + emu::LastError());
    emu::SetClock(2026, 12, 7, 20, 15);
    TYPE_RecInfo info;
    memset(&info, 0, sizeof info);
    info.recType = RECTYPE_Normal;
    info.duration = 90;
    info.recordedSec = 20 * 60;
    snprintf(info.fileName, sizeof info.fileName, "Live.rec");
    emu::SetRecording(0, info, kRecordingPath);
    std::string error = Load();
    if (!error.empty()) return Fail("setup: " + error);
    if (emu::LoadAutoStart() != 4) return Fail("setup: peers: " + emu::LastError());
    emu::Idle(2);
    // The recordings to account for, by their sizes (the one in progress grows).
    std::multimap<uint64_t, std::string> sizes;
    Sizes("/mnt/hd", sizes);
    Sizes("/mnt/sdb1", sizes);
    for (auto& [size, path] : sizes) {
      if (path.size() > 8 &&
          (path.compare(path.size() - 4, 4, ".rec") == 0 ||
           path.compare(path.size() - 8, 8, ".rec.del") == 0) &&
          path != kRecordingPath)
        recordings_[size] = path;
    }
    if (recordings_.size() != 27)
      return Fail("setup: recordings on the disk: " + std::to_string(recordings_.size()));
    return true;
  }

  bool Run(const std::vector<std::string>& steps) {
    for (size_t i = 0; i < steps.size(); i++) {
      const std::string& word = steps[i];
      if ((word == "Ok" || word == "hold:Ok") && *app_.yesnoWindowShowing && *app_.YesNoOption == 0)
        lastYes_ = (int)i;
      Before before = Look();
      if (!emu::RunScript(word)) return Fail("bad step " + word + ": " + emu::LastError());
      std::string wrong = KeysActedOnce(word, before);
      if (!wrong.empty()) return Fail("keys: " + wrong + " (step " + std::to_string(i + 1) + ")");
      if (!Cheap(i) || ((i + 1) % checkEvery_ == 0 && !ListAnswers(i))) return false;
      if (emu::IsPlaying() && emu::PlayingPath() != playing_) playbacks_++;
      playing_ = emu::IsPlaying() ? emu::PlayingPath() : "";
      outcome_->steps = (int)i + 1;
    }
    if (!ListAnswers(steps.size())) return false;
    Summary();
    return true;
  }

  void Stop() { emu::Shutdown(); }

  // What a whole press is checked against.
  struct Before {
    bool listOnTop = false;
    int chosenLine = 0, printLine = 0;
    bool yesNo = false, deleteQuestion = false;
    int yesNoOption = 0, messages = 0;
    std::string file;  // the recording the delete question asks about, as the check sees it
  };

  Before Look() const {
    Before b;
    b.listOnTop = app_.ListOnTop() && !*app_.HideEmptyFolders;
    b.chosenLine = *app_.chosenLine;
    b.printLine = *app_.printLine;
    b.yesNo = *app_.yesnoWindowShowing != 0;
    b.deleteQuestion = b.yesNo && *app_.deleteWindowShowing;
    b.yesNoOption = *app_.YesNoOption;
    b.messages = *app_.messageCount;
    const FileRecord& f = *app_.currentFile;
    if (b.deleteQuestion && f.attribute == ATTRIBUTE_FILE)
      b.file = std::string("/mnt/hd") + f.folderPath + "/" + f.name;
    return b;
  }

  // A whole press acts once: a Down within a page moves the selection one
  // line, Left or Right in a yes/no window moves the highlight once, and Yes
  // to a delete question takes the recording away (to the bin when the
  // settings recycle), unless the user was told why not.
  std::string KeysActedOnce(const std::string& word, const Before& b) {
    if (word == "Down" && b.listOnTop && !app_.KeyClaimed(RKEY_ChDown) && b.chosenLine >= 1 &&
        b.chosenLine < *app_.maxShown && b.printLine < app_.LinesPerPage()) {
      if (*app_.chosenLine != b.chosenLine + 1 || *app_.printLine != b.printLine + 1)
        return "Down moved the selection from entry " + std::to_string(b.chosenLine) + " (line " +
               std::to_string(b.printLine) + ") to entry " + std::to_string(*app_.chosenLine) +
               " (line " + std::to_string(*app_.printLine) + ")";
    }
    if ((word == "Left" || word == "Right") && b.yesNo && *app_.yesnoWindowShowing &&
        *app_.YesNoOption == b.yesNoOption)
      return word + " did not move the highlight of the yes/no window";
    if (word == "Ok" && b.deleteQuestion && b.yesNoOption == 0 && !b.file.empty() &&
        *app_.messageCount == b.messages) {
      struct stat st;
      if (lstat(b.file.c_str(), &st) == 0) return "Yes to the delete question left " + b.file;
      bool recycles = (*app_.recycleBinOption == 1 || *app_.recycleBinOption == 2) &&
                      !*app_.forceDeleteNotRecycle;
      auto known = lastSeen_.end();
      for (auto it = lastSeen_.begin(); it != lastSeen_.end(); ++it)
        if (it->second == b.file) known = it;
      if (recycles && known != lastSeen_.end()) {
        std::multimap<uint64_t, std::string> sizes;
        Sizes("/mnt/hd", sizes);
        Sizes("/mnt/sdb1", sizes);
        bool binned = false;
        auto range = sizes.equal_range(known->first);
        for (auto it = range.first; it != range.second; ++it)
          binned = binned || it->second.find(".del") != std::string::npos;
        if (!binned) return "Yes to the delete question did not put " + b.file + " in the bin";
      }
    }
    return "";
  }

  // What the keys did to the recordings, so that a run that did nothing shows.
  void Summary() {
    std::multimap<uint64_t, std::string> sizes;
    Sizes("/mnt/hd", sizes);
    Sizes("/mnt/sdb1", sizes);
    int inPlace = 0, recycled = 0, elsewhere = 0, copies = 0;
    for (auto& [size, path] : recordings_) {
      auto range = sizes.equal_range(size);
      copies += (int)std::distance(range.first, range.second) - 1;
      bool same = false, del = false;
      for (auto it = range.first; it != range.second; ++it) {
        same = same || it->second == path;
        del = del || it->second.find(".del") != std::string::npos;
      }
      if (same)
        inPlace++;
      else if (del)
        recycled++;
      else
        elsewhere++;
    }
    fprintf(stderr,
            "soak: recordings: %d in place, %d newly recycled, %d moved or renamed, %d deleted, "
            "%d extra copies; %d playbacks started\n",
            inPlace, recycled, elsewhere, 27 - (int)recordings_.size(), copies, playbacks_);
  }

 private:
  bool Fail(const std::string& message) {
    outcome_->failed = 1;
    // The end of the network output tells what the applications last did.
    std::string net = emu::NetOutput();
    if (net.size() > 3000) net = net.substr(net.size() - 3000);
    fprintf(stderr, "soak: network output before the failure:\n%s\n", net.c_str());
    dword state = 0, subState = 0;
    TAP_GetState(&state, &subState);
    snprintf(outcome_->message, sizeof outcome_->message,
             "%s [firmware state %u/%u, %s, playing %s]", message.c_str(), (unsigned)state,
             (unsigned)subState, emu::InNormalMode() ? "normal viewing" : "application on screen",
             emu::IsPlaying() ? emu::PlayingPath().c_str() : "nothing");
    return false;
  }

  // After every step: the application runs, its catalogue holds together, and
  // every recording is still on a disk unless a delete was confirmed lately.
  // Loads the application's image as the recorder does; an error message, or
  // "" when it runs.
  std::string Load() {
    index_ = emu::LoadApplication(PVR_TAP_PATH);
    if (index_ < 0 || !emu::IsRunning(index_)) return emu::LastError();
    if (!app_.Resolve(PVR_TAP_PATH)) return "the image does not export the state the checks read";
    return "";
  }

  // Stopping the application on purpose (TSR Commander's Red, the
  // configuration's exit) is no fault: it logs its exit and starts again, as
  // the user would start it. Ending without a word is one.
  bool EnsureRunning() {
    if (emu::IsRunning(index_)) return true;
    int exits = 0;
    std::string net = emu::NetOutput();
    for (size_t at = net.find("Exit  - Pavrolinex"); at != std::string::npos;
         at = net.find("Exit  - Pavrolinex", at + 1))
      exits++;
    if (exits <= restarts_) return Fail("stopped: the application ended without its exit line");
    restarts_++;
    std::string error = Load();
    if (!error.empty()) return Fail("stopped: cannot start the application again: " + error);
    emu::Idle(2);
    return true;
  }

  bool Cheap(size_t step) {
    if (!EnsureRunning()) return false;
    std::string broken = Invariants();
    if (!broken.empty()) return Fail("catalogue: " + broken);
    std::multimap<uint64_t, std::string> sizes;
    Sizes("/mnt/hd", sizes);
    Sizes("/mnt/sdb1", sizes);
    for (auto it = recordings_.begin(); it != recordings_.end();) {
      auto found = sizes.find(it->first);
      if (found != sizes.end()) {
        lastSeen_[it->first] = found->second;
        ++it;
        continue;
      }
      const std::string& last = lastSeen_.count(it->first) ? lastSeen_[it->first] : it->second;
      bool confirmed = lastYes_ >= 0 && (int)step - lastYes_ <= 400;
      if (!confirmed && !LoggedDeletion(last))
        return Fail("lost: " + last + " is gone without a confirmed or logged delete");
      it = recordings_.erase(it);  // deleted on purpose
    }
    return true;
  }

  // Whether the application logged a delete ("Deleted - FOLDER/NAME") of the
  // file last seen at `path` or of a folder that held it: a cleanout or a
  // delete without a question (the settings allow both) is accounted for so.
  static bool LoggedDeletion(const std::string& path) {
    std::string net = emu::NetOutput();
    const std::string mark = "Deleted - ";
    for (size_t at = net.find(mark); at != std::string::npos; at = net.find(mark, at + 1)) {
      size_t end = net.find_first_of("\r\n", at);
      std::string deleted =
          net.substr(at + mark.size(), end == std::string::npos ? end : end - at - mark.size());
      std::string name = deleted.substr(deleted.rfind('/') + 1);
      // The log names firmware paths; the check sees the drives' own.
      bool same = path.size() > name.size() &&
                  path.compare(path.size() - name.size() - 1, std::string::npos, "/" + name) == 0;
      bool below = path.find("/" + name + "/") != std::string::npos;
      if (!name.empty() && (same || below)) return true;
    }
    return false;
  }

  // Back to normal viewing with Exit; the activation key (File List unless
  // the keys reached the configuration and changed it) opens the list on
  // what the disk holds; Exit closes it.
  bool ListAnswers(size_t step) {
    char where[64];
    snprintf(where, sizeof where, " (check after step %zu)", step + 1);
    // A stop asked for from outside takes effect at the next event, which
    // may be File List itself; the list is then asked for again.
    for (int attempt = 0;; attempt++) {
      // The firmware's own banner closes by itself within five seconds.
      for (int i = 0; i < 25; i++) {
        if (!EnsureRunning()) return false;
        if (emu::InNormalMode() && !*app_.windowShowing && FirmwareNormal()) break;
        if (*app_.windowShowing && app_.CloseKey() == 0) return true;  // nothing hides it
        // A whole press, as a hand makes it: the stop menu acts on the release.
        dword key = *app_.windowShowing ? app_.CloseKey() : (dword)RKEY_Exit;
        emu::PressKey(key);
        emu::Idle(3);
      }
      if (!EnsureRunning()) return false;
      if (!emu::InNormalMode() || *app_.windowShowing || !FirmwareNormal())
        return Fail(std::string("stuck: Exit does not return to normal viewing") + where);
      int restarts = restarts_;
      // Set to no key, nothing opens the list: there is nothing to check.
      if (*app_.mainActivationKey == 0) return true;
      emu::PressKey((dword)*app_.mainActivationKey);
      emu::Idle(2);
      if (!EnsureRunning()) return false;
      if (restarts_ == restarts || attempt > 0) break;
    }
    if (!*app_.windowShowing || emu::InNormalMode())
      return Fail(std::string("deaf: the activation key does not open the list") + where);
    if (!*app_.recycleWindowMode) {
      std::string differs = ShownFolderMatchesDisk();
      if (!differs.empty()) return Fail("catalogue: " + differs + where);
    }
    dword close = app_.CloseKey();
    if (close == 0) return true;  // nothing hides the list: nothing to check
    emu::PressKey(close);
    emu::Idle(2);
    if (!EnsureRunning()) return false;
    if (*app_.windowShowing || !emu::InNormalMode())
      return Fail(std::string("stuck: ") + (close == RKEY_Exit ? "Exit" : "the activation key") +
                  " does not close the list" + where);
    return true;
  }

  static bool FirmwareNormal() {
    dword state = 0, subState = 0;
    TAP_GetState(&state, &subState);
    return state == STATE_Normal && subState == SUBSTATE_Normal;
  }

  std::string Invariants() const {
    for (int n = 0; n <= *app_.numberOfFolders; n++) {
      const FolderRecord* f = app_.myfolders[n];
      if (!f) continue;
      std::string at = "folder " + std::to_string(n) + " (" + f->name + "): ";
      if (f->entryCount < 0 || f->entryCount > 999) return at + "entry count out of range";
      int files = 0, folders = 0;
      uint64_t size = 0;
      for (int j = 1; j <= f->entryCount; j++) {
        const FileRecord* r = app_.Slot(n, j);
        if (!r) return at + "empty slot " + std::to_string(j);
        if (r->attribute == ATTRIBUTE_FILE) {
          files++;
          size += r->size;
        } else if (r->attribute == ATTRIBUTE_FOLDER) {
          folders++;
        }
      }
      if (files != f->fileCount) return at + "file count";
      if (folders != f->subfolderCount) return at + "subfolder count";
      if (size != f->totalSize) return at + "total size";
    }
    return "";
  }

  // The shown folder's lines are exactly its recordings and folders on disk.
  std::string ShownFolderMatchesDisk() const {
    const FolderRecord* f = app_.myfolders[*app_.CurrentDirNumber];
    if (!f) return "no shown folder";
    const FileRecord* first = app_.Slot(*app_.CurrentDirNumber, 1);
    if (!first) return "";
    std::string path = first->folderPath;
    std::set<std::string> listed, onDisk;
    for (int j = 1; j <= f->entryCount; j++)
      if (app_.Slot(*app_.CurrentDirNumber, j))
        listed.insert(app_.Slot(*app_.CurrentDirNumber, j)->name);
    std::string host = "/mnt/hd" + path;
    DIR* dir = opendir(host.c_str());
    if (!dir) return "shown folder " + path + " is not on the disk";
    while (dirent* e = readdir(dir)) {
      std::string name = e->d_name;
      if (name == "." || name == ".." || name.size() >= 127) continue;
      struct stat st;
      if (stat((host + "/" + name).c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode) || app_.IsFileRec(name.c_str()) == 1) onDisk.insert(name);
    }
    closedir(dir);
    if (path != "/DataFiles") onDisk.insert("..");
    if (listed == onDisk) return "";
    std::string diff = "list of " + path + " differs from the disk:";
    for (const std::string& n : listed)
      if (!onDisk.count(n)) diff += " +" + n;
    for (const std::string& n : onDisk)
      if (!listed.count(n)) diff += " -" + n;
    return diff;
  }

  Outcome* outcome_;
  AppView app_;
  int checkEvery_;
  int index_ = -1;
  int lastYes_ = -1;
  int playbacks_ = 0;
  int restarts_ = 0;
  std::string playing_;
  std::string hd_, usb_;
  std::map<uint64_t, std::string> recordings_;
  std::map<uint64_t, std::string> lastSeen_;  // where each recording was last found
};

// --------------------------------------------------------- runs and shrinking

struct Result {
  bool failed = false;
  int steps = 0;  // steps completed
  std::string message;
};

Outcome* shared = nullptr;
int checkEvery = 250;
bool inProcess = false;  // --in-process: a replay without a child, for a debugger

// Runs the steps in a child process on a fresh disk.
Result RunChild(const std::vector<std::string>& steps, bool quiet) {
  memset(shared, 0, sizeof *shared);
  std::string root = testdisk::MakeTempDir("pvr-soak");
  fflush(stdout);
  fflush(stderr);
  pid_t pid = inProcess ? 0 : fork();
  if (pid == 0) {
    if (quiet) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      dup2(null, 1);
    }
    // A hang is a finding too: a loop burns processor time, a deadlock waits
    // for ever. The machine may be busy, so processor time decides first.
    rlim_t seconds = 60 + steps.size() / 20;
    struct rlimit cpu = {seconds, seconds + 5};
    setrlimit(RLIMIT_CPU, &cpu);
    alarm((unsigned)seconds * 20);
    Monkey monkey(shared, checkEvery);
    bool ok = monkey.Start(root) && monkey.Run(steps);
    monkey.Stop();
    if (!inProcess) _exit(ok ? 0 : 3);
    testdisk::RemoveTree(root);
    Result r;
    r.failed = !ok;
    r.steps = shared->steps;
    r.message = shared->message;
    return r;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  testdisk::RemoveTree(root);
  Result r;
  r.steps = shared->steps;
  if (shared->failed) {
    r.failed = true;
    r.message = shared->message;
  } else if (WIFSIGNALED(status)) {
    r.failed = true;
    r.message = WTERMSIG(status) == SIGALRM || WTERMSIG(status) == SIGXCPU
                    ? "hang: no answer"
                    : "crash: signal " + std::to_string(WTERMSIG(status));
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    r.failed = true;
    r.message =
        "crash: exit status " + std::to_string(WEXITSTATUS(status)) + " (a sanitizer report)";
  }
  return r;
}

// The kind of a failure ("lost", "crash", ...): a shorter list must fail the
// same way to count as a reproduction.
std::string Kind(const std::string& message) { return message.substr(0, message.find(':')); }

// Delta debugging: drops chunks of steps, then single steps, as long as the
// same kind of failure remains.
std::vector<std::string> Shrink(std::vector<std::string> steps, const std::string& kind,
                                int budget) {
  size_t chunks = 2;
  int runs = 0;
  time_t began = time(nullptr);
  // A long seed replays slowly: the shrinking stops after a quarter of an
  // hour with the shortest list found so far.
  auto spent = [&] { return runs >= budget || time(nullptr) - began > 900; };
  while (steps.size() > 1 && !spent()) {
    size_t size = (steps.size() + chunks - 1) / chunks;
    bool dropped = false;
    for (size_t at = 0; at < steps.size() && !spent(); at += size) {
      std::vector<std::string> rest(steps.begin(), steps.begin() + at);
      rest.insert(rest.end(), steps.begin() + std::min(steps.size(), at + size), steps.end());
      Result r = RunChild(rest, true);
      runs++;
      if (r.failed && Kind(r.message) == kind) {
        // Nothing after the failing step matters.
        rest.resize(std::min(rest.size(), (size_t)r.steps + 1));
        steps = rest;
        dropped = true;
        chunks = std::max<size_t>(chunks - 1, 2);
        break;
      }
    }
    if (!dropped) {
      if (size == 1) break;
      chunks = std::min(steps.size(), chunks * 2);
    }
    fprintf(stderr, "soak: shrinking: %zu steps (%d runs)\n", steps.size(), runs);
  }
  return steps;
}

std::string Join(const std::vector<std::string>& steps) {
  std::string text;
  for (const std::string& s : steps) text += (text.empty() ? "" : " ") + s;
  return text;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> words;
  size_t at = 0;
  while ((at = text.find_first_not_of(" \t\n", at)) != std::string::npos) {
    size_t end = text.find_first_of(" \t\n", at);
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  int keys = 5000;
  std::vector<uint32_t> seeds;
  std::string replay;
  bool haveKeys = false, haveReplay = false, printSteps = false;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    if (a == "--replay" && i + 1 < argc) {
      replay = argv[++i];
      haveReplay = true;
      // @FILE: the words are in a file (a long reproduction does not fit a
      // command line).
      if (replay.size() > 1 && replay[0] == '@') {
        std::ifstream in(replay.substr(1));
        if (!in) {
          fprintf(stderr, "soak: cannot read %s\n", replay.c_str() + 1);
          return 2;
        }
        replay.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      }
    } else if (a == "--print") {
      printSteps = true;
    } else if (a == "--in-process") {
      inProcess = true;
    } else if (a == "--check-every" && i + 1 < argc) {
      checkEvery = std::max(1, atoi(argv[++i]));
    } else if (!a.empty() && a.find_first_not_of("0123456789") == std::string::npos) {
      if (!haveKeys) {
        keys = atoi(a.c_str());
        haveKeys = true;
      } else {
        seeds.push_back((uint32_t)strtoul(a.c_str(), nullptr, 10));
      }
    } else {
      fprintf(stderr, "usage: soak [KEYS] [SEED...] | soak --replay 'WORDS' [--check-every N]\n");
      return 2;
    }
  }
  if (seeds.empty()) seeds = {1, 2, 3};
  if (printSteps) {
    printf("%s\n", Join(MakeSteps(seeds[0], keys)).c_str());
    return 0;
  }
  void* memory =
      mmap(nullptr, sizeof(Outcome), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return 1;
  shared = (Outcome*)memory;

  if (haveReplay) {
    Result r = RunChild(Split(replay), false);
    printf("soak: replay of %zu steps: %s\n", Split(replay).size(),
           r.failed ? r.message.c_str() : "nothing found");
    return r.failed ? 1 : 0;
  }
  int failures = 0;
  for (uint32_t seed : seeds) {
    time_t began = time(nullptr);
    std::vector<std::string> steps = MakeSteps(seed, keys);
    Result r = RunChild(steps, false);
    if (!r.failed) {
      printf("soak: seed %u: %d keys, nothing found (%lds)\n", seed, keys,
             (long)(time(nullptr) - began));
      fflush(stdout);
      continue;
    }
    failures++;
    if (Kind(r.message) == "setup") {
      printf("soak: %s\n", r.message.c_str());
      break;
    }
    printf("soak: seed %u: FAILED after %d of %d steps: %s\n", seed, r.steps, keys,
           r.message.c_str());
    fflush(stdout);
    steps.resize(std::min(steps.size(), (size_t)r.steps + 1));
    std::vector<std::string> shortest = Shrink(steps, Kind(r.message), 400);
    Result again = RunChild(shortest, false);
    printf("soak: seed %u: shortest reproduction (%zu steps): %s\n", seed, shortest.size(),
           again.failed ? again.message.c_str() : "(no longer fails alone)");
    std::string words = Join(shortest);
    std::string argument = "'" + words + "'";
    if (words.size() > 4096) {
      std::string file = "soak-seed-" + std::to_string(seed) + ".txt";
      std::ofstream(file) << words << "\n";
      argument = "@" + file;
    }
    printf("soak: replay with: soak --replay %s%s\n", argument.c_str(),
           checkEvery != 250 ? (" --check-every " + std::to_string(checkEvery)).c_str() : "");
    fflush(stdout);
  }
  return failures ? 1 : 0;
}
