// Scripts of the recorder program: remote-control keys by name and a few
// words that steer the emulated recorder (see README, "The recorder program").
#include <ctype.h>
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "internal.h"

namespace fw {
namespace {

struct KeyName {
  const char* name;
  dword code;
};

// The key names of the remote without blanks, then common aliases.
const KeyName kKeys[] = {
    {"Mute", RKEY_Mute},
    {"UHF", RKEY_Uhf},
    {"TvSat", RKEY_TvSat},
    {"M", RKEY_M},
    {"Sleep", RKEY_Sleep},
    {"0", RKEY_0},
    {"1", RKEY_1},
    {"2", RKEY_2},
    {"3", RKEY_3},
    {"4", RKEY_4},
    {"5", RKEY_5},
    {"6", RKEY_6},
    {"7", RKEY_7},
    {"8", RKEY_8},
    {"9", RKEY_9},
    {"Recall", RKEY_Recall},
    {"Info", RKEY_Info},
    {"RightArrow", RKEY_VolUp},
    {"LeftArrow", RKEY_VolDown},
    {"UpArrow", RKEY_ChUp},
    {"DownArrow", RKEY_ChDown},
    {"Ok", RKEY_Ok},
    {"Menu", RKEY_Menu},
    {"Guide", RKEY_Guide},
    {"TV/Radio", RKEY_TvRadio},
    {"AudioTrack", RKEY_AudioTrk},
    {"Subtitle", RKEY_Subt},
    {"Teletext", RKEY_Teletext},
    {"Exit", RKEY_Exit},
    {"Fav", RKEY_Fav},
    {"FastForward", RKEY_Forward},
    {"Rewind", RKEY_Rewind},
    {"Play", RKEY_Play},
    {"Pause", RKEY_Pause},
    {"Record", RKEY_Record},
    {"Stop", RKEY_Stop},
    {"SlowMotion", RKEY_Slow},
    {"Previous", RKEY_Prev},
    {"FileList", RKEY_PlayList},
    {"Next", RKEY_Next},
    {"Red", RKEY_Red},
    {"Green", RKEY_Green},
    {"Yellow", RKEY_Yellow},
    {"Blue", RKEY_Blue},
    {"Sat", RKEY_Sat},
    {"Option", RKEY_Option},
    {"Option(White)", RKEY_Option},
    {"White", RKEY_Option},
    {"Ab", RKEY_Ab},
    {"Ab(White)", RKEY_Ab},
    {"Undefined", RKEY_Undefined},
    // aliases
    {"Right", RKEY_VolUp},
    {"Left", RKEY_VolDown},
    {"Up", RKEY_ChUp},
    {"Down", RKEY_ChDown},
    {"VolUp", RKEY_VolUp},
    {"VolDown", RKEY_VolDown},
    {"ChUp", RKEY_ChUp},
    {"ChDown", RKEY_ChDown},
    {"TvRadio", RKEY_TvRadio},
    {"Audio", RKEY_AudioTrk},
    {"Subt", RKEY_Subt},
    {"Forward", RKEY_Forward},
    {"FF", RKEY_Forward},
    {"Slow", RKEY_Slow},
    {"Prev", RKEY_Prev},
    {"PlayList", RKEY_PlayList},
    {"F1", RKEY_F1},
    {"Option2", RKEY_Option2},
    {"Option3", RKEY_Option3},
    {"Option4", RKEY_Option4},
    {"Option5", RKEY_Option5},
    {"Option6", RKEY_Option6},
    {"Option7", RKEY_Option7},
};

int scriptRemoteType = 1;

bool ParseNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = strtol(text.c_str(), &end, 0);
  return end && *end == '\0';
}

bool Fail(const std::string& word, const std::string& why) {
  SetError("script word \"" + word + "\": " + why);
  return false;
}

// Prints each file below the system folder top + below, in name order, as
// "files| NAME SIZE" on stderr, NAME relative to top; folders only as the
// way to their files. A run's checks read what a drive held at that moment.
void ListFiles(const std::string& top, const std::string& below) {
  DIR* dir = opendir((top + below).c_str());
  if (!dir) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::string path = below + "/" + name;
    struct stat st;
    if (lstat((top + path).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      ListFiles(top, path);
    } else {
      fprintf(stderr, "files| %s %lld\n", path.c_str() + 1, static_cast<long long>(st.st_size));
    }
  }
}

bool RunWord(const std::string& word) {
  size_t colon = word.find(':');
  std::string verb = colon == std::string::npos ? "" : word.substr(0, colon);
  std::string arg = colon == std::string::npos ? "" : word.substr(colon + 1);
  for (char& c : verb) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  long n = 0;
  if (verb.empty()) {
    dword key = emu::KeyByName(word);
    if (key == 0 && word.rfind("0x", 0) == 0 && ParseNumber(word, n)) key = static_cast<dword>(n);
    if (key == 0) return Fail(word, "unknown key");
    emu::PressKey(emu::RemoteCode(scriptRemoteType, key));
  } else if (verb == "hold" || verb == "release" || verb == "press") {
    dword key = emu::RemoteCode(scriptRemoteType, emu::KeyByName(arg));
    if (key == 0) return Fail(word, "unknown key");
    if (verb == "hold") {
      emu::HoldKey(key);
    } else if (verb == "press") {
      emu::SendKey(key);
    } else {
      emu::ReleaseKey(key);
    }
  } else if (verb == "idle") {
    if (!ParseNumber(arg, n) || n < 0) return Fail(word, "expected idle:N");
    emu::Idle(static_cast<int>(n));
  } else if (verb == "wait") {
    char* end = nullptr;
    double seconds = strtod(arg.c_str(), &end);
    if (arg.empty() || *end || seconds < 0) return Fail(word, "expected wait:SECONDS");
    emu::Wait(seconds);
  } else if (verb == "time") {
    int y, mo, d, h, mi, s = 0;
    int fields = sscanf(arg.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    if (fields < 5 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 ||
        mi > 59 || s < 0 || s > 59) {
      return Fail(word, "expected time:YYYY-MM-DDTHH:MM");
    }
    emu::SetClock(y, mo, d, h, mi, s);
  } else if (verb == "snap") {
    if (arg.empty()) return Fail(word, "expected snap:FILE.png");
    if (!emu::WritePng(arg)) return false;
  } else if (verb == "snapnext") {
    if (arg.empty()) return Fail(word, "expected snapnext:FILE.png");
    if (!SnapNextHeldFrame(arg)) return false;
  } else if (verb == "state") {
    unsigned state = 0, sub = 0;
    if (sscanf(arg.c_str(), "%u/%u", &state, &sub) != 2) return Fail(word, "expected state:S/SUB");
    emu::SetState(state, sub);
  } else if (verb == "osd") {
    int x, y, w, h;
    unsigned color;
    if (arg == "clear") {
      emu::ClearFirmwareOsd();
    } else if (sscanf(arg.c_str(), "%d,%d,%d,%d,%x", &x, &y, &w, &h, &color) == 5) {
      emu::DrawFirmwareOsd(x, y, w, h, color);
    } else {
      return Fail(word, "expected osd:X,Y,W,H,AARRGGBB or osd:clear");
    }
  } else if (verb == "unplug" || verb == "plug") {
    if (arg.empty()) return Fail(word, "expected " + verb + ":DEVICE");
    if (!(verb == "plug" ? emu::PlugDrive(arg) : emu::UnplugDrive(arg))) {
      return Fail(word, verb == "plug" ? "no such drive pulled out" : "no such drive plugged in");
    }
  } else if (verb == "files") {
    std::string folder = ResolveName(arg.c_str());
    struct stat st;
    if (arg.empty() || folder.empty() || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return Fail(word, "expected files:FOLDER (a firmware folder)");
    }
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    ListFiles(folder, "");
  } else if (verb == "key") {
    if (!ParseNumber(arg, n) || n <= 0) return Fail(word, "expected key:CODE");
    emu::PressKey(static_cast<dword>(n));
  } else {
    return Fail(word, "unknown word");
  }
  return true;
}

}  // namespace
}  // namespace fw

namespace emu {

dword RemoteCode(int remoteType, dword key) {
  static const dword type2[][2] = {{0x10024, 0x10048}, {0x10025, 0x10049}, {0x10026, 0x1004A},
                                   {0x1003F, 0x10047}, {0x10044, 0x10045}, {0x10045, 0x10025},
                                   {0x10046, 0x10026}, {0x10047, 0x1003F}, {0x10048, 0x10024},
                                   {0x10049, 0x1003E}};
  dword plain = key & RKEY_MASK;
  if (remoteType == 2) {
    for (const auto& pair : type2) {
      if (pair[0] == plain) return (key & ~RKEY_MASK) | pair[1];
    }
  } else if (remoteType == 3 && plain == 0x1003F) {
    return (key & ~RKEY_MASK) | 0x10023;
  }
  return key;
}

void SetScriptRemoteType(int remoteType) { fw::scriptRemoteType = remoteType; }

dword KeyByName(const std::string& name) {
  for (const fw::KeyName& k : fw::kKeys) {
    if (strcasecmp(k.name, name.c_str()) == 0) return k.code;
  }
  return 0;
}

bool RunScript(const std::string& script) {
  std::istringstream words(script);
  std::string word;
  while (words >> word) {
    if (word[0] == '#') {  // a comment runs to the end of its line
      std::string rest;
      std::getline(words, rest);
      continue;
    }
    if (!fw::RunWord(word)) {
      std::string why = emu::LastError();
      fw::HeldSnapDone();  // a failed script leaves nothing waiting
      fw::SetError(why);
      return false;
    }
  }
  return fw::HeldSnapDone();
}

}  // namespace emu
