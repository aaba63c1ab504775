// The settings folder: where it is, how its files are backed up through the
// shell, and how they are replaced without ever leaving a half-written file.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "config/Configuration.h"
#include "lib/lib.h"

char* TAPIniDir = nullptr;
char* TAPLogoDir = nullptr;

namespace {

// The shell sees the firmware's disk below this folder.
const char kSystemRoot[] = "/mnt/hd";

char* AllocateCopy(const char* text) {
  dword size = static_cast<dword>(strlen(text) + 1);
  char* copy = static_cast<char*>(TAP_MemAlloc(size));
  if (copy) memcpy(copy, text, size);
  return copy;
}

void CreateFolderIfMissing(const char* name) {
  if (!TAP_Hdd_Exist(name)) TAP_Hdd_Create(name, ATTR_FOLDER);
}

// Escapes text for use between double quotes in a shell command: the shell
// then takes every byte literally, whatever a folder is called.
bool AppendDoubleQuoted(char* out, int size, int* used, const char* text) {
  for (const char* p = text; *p; p++) {
    bool special = *p == '"' || *p == '\\' || *p == '$' || *p == '`';
    if (*used + (special ? 2 : 1) >= size) return false;
    if (special) out[(*used)++] = '\\';
    out[(*used)++] = *p;
  }
  out[*used] = '\0';
  return true;
}

// The system path of a file of the settings folder.
bool SystemPathOf(const char* name, char* out, int size) {
  if (!TAPIniDir) return false;
  int n = snprintf(out, size, "%s%s%s/%s", kSystemRoot, TAPIniDir[0] == '/' ? "" : "/", TAPIniDir,
                   name);
  return n > 0 && n < size;
}

// Pushes a file's contents to the disk itself, so that a rename that follows
// cannot reach the disk before the data does.
void FlushFile(const char* systemPath) {
  int fd = open(systemPath, O_RDONLY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

void locateIniDirectory() {
  int pushed = HDD_TAP_PushDir();
  bool complete = HDD_ChangeDir("/ProgramFiles") && TAP_Hdd_ChangeDir("Settings") &&
                  TAP_Hdd_Exist("Pavrolinex") && TAP_Hdd_Exist("Logos");
  if (!complete && HDD_ChangeDir("/ProgramFiles")) {
    CreateFolderIfMissing("Settings");
    if (TAP_Hdd_ChangeDir("Settings")) {
      CreateFolderIfMissing("Pavrolinex");
      CreateFolderIfMissing("Logos");
    }
  }
  if (pushed) HDD_TAP_PopDir();
  if (!TAPIniDir) TAPIniDir = AllocateCopy(INI_FOLDER);
  if (!TAPLogoDir) TAPLogoDir = AllocateCopy(LOGO_FOLDER);
}

bool ChangeToSettingsFolder() { return TAPIniDir && HDD_ChangeDir(TAPIniDir); }

bool AllocateFileBuffer(char** buffer, int* position, dword size) {
  *buffer = static_cast<char*>(TAP_MemAlloc(size + 1));
  *position = 0;
  if (!*buffer) return false;
  memset(*buffer, 0, size + 1);
  return true;
}

void ReleaseFileBuffer(char** buffer, int* position) {
  if (*buffer) TAP_MemFree(*buffer);
  *buffer = nullptr;
  *position = 0;
}

bool AppendToFileBuffer(char* buffer, int* position, int limit, const char* text) {
  if (!buffer || !text) return false;
  int length = static_cast<int>(strlen(text));
  if (*position < 0 || *position + length > limit) return false;
  memcpy(buffer + *position, text, length);
  *position += length;
  return true;
}

bool ReadSettingsFile(const char* name, char* buffer, dword size) {
  bool read = false;
  int pushed = HDD_TAP_PushDir();
  TYPE_File* file = nullptr;
  if (ChangeToSettingsFolder() && TAP_Hdd_Exist(name)) file = TAP_Hdd_Fopen(name);
  if (file) {
    dword length = TAP_Hdd_Flen(file);
    if (length > size) length = size;
    // A file that fails to read counts as unread, so that nothing takes it
    // for empty and writes defaults over it.
    read = length == 0 || TAP_Hdd_Fread(buffer, length, 1, file) == 1;
    TAP_Hdd_Fclose(file);
  }
  if (pushed) HDD_TAP_PopDir();
  return read;
}

bool WriteSettingsFile(const char* name, const char* buffer, dword size) {
  if (!buffer) return false;
  int pushed = HDD_TAP_PushDir();
  bool written = ChangeToSettingsFolder() && ReplaceSettingsFile(name, buffer, size);
  if (pushed) HDD_TAP_PopDir();
  return written;
}

bool SettingsFileExists(const char* name) {
  int pushed = HDD_TAP_PushDir();
  bool exists = ChangeToSettingsFolder() && TAP_Hdd_Exist(name);
  if (pushed) HDD_TAP_PopDir();
  return exists;
}

bool FormatSettingsCopyCommand(char* out, int size, const char* folder, const char* from,
                               const char* to) {
  if (!out || size <= 0 || !folder) return false;
  int used = snprintf(out, size, "cd \"%s%s", kSystemRoot, folder[0] == '/' ? "" : "/");
  if (used <= 0 || used >= size) return false;
  if (!AppendDoubleQuoted(out, size, &used, folder)) return false;
  int n = snprintf(out + used, size - used, "\" ; cp -p %s %s", from, to);
  return n > 0 && n < size - used;
}

int CopySettingsFile(const char* from, const char* to) {
  if (!TAPIniDir) return -1;
  int status = -1;
  int pushed = HDD_TAP_PushDir();
  if (ChangeToSettingsFolder() && TAP_Hdd_Exist(from)) {
    char command[1200];
    if (FormatSettingsCopyCommand(command, sizeof command, TAPIniDir, from, to)) {
      status = system(command);
    }
  }
  if (pushed) HDD_TAP_PopDir();
  return status;
}

bool ReplaceSettingsFile(const char* name, const void* data, dword size) {
  char folder[PATH_BUFFER_SIZE];
  if (!SystemPathOf("", folder, sizeof folder)) return false;
  folder[strlen(folder) - 1] = '\0';  // without the slash that joins a name
  return ReplaceFileInFolder(folder, name, data, size);
}

bool ReplaceFileInFolder(const char* systemFolder, const char* name, const void* data, dword size) {
  char newName[128];
  char newPath[PATH_BUFFER_SIZE];
  char path[PATH_BUFFER_SIZE];
  if (snprintf(newName, sizeof newName, "%s.new", name) >= (int)sizeof newName) return false;
  int n = snprintf(newPath, sizeof newPath, "%s/%s", systemFolder, newName);
  if (n <= 0 || n >= (int)sizeof newPath) return false;
  n = snprintf(path, sizeof path, "%s/%s", systemFolder, name);
  if (n <= 0 || n >= (int)sizeof path) return false;
  // A file left over from an earlier attempt that was cut short.
  if (TAP_Hdd_Exist(newName)) TAP_Hdd_Delete(newName);
  if (!TAP_Hdd_Create(newName, ATTR_NORMAL)) return false;
  TYPE_File* file = TAP_Hdd_Fopen(newName);
  if (!file) {
    TAP_Hdd_Delete(newName);
    return false;
  }
  dword written = size == 0 ? 1 : TAP_Hdd_Fwrite(data, size, 1, file);
  TAP_Hdd_Fclose(file);
  if (written != 1) {
    TAP_Hdd_Delete(newName);
    return false;
  }
  FlushFile(newPath);
  // The firmware refuses to rename over an existing name; the system's rename
  // replaces the old file in one step.
  if (rename(newPath, path) != 0) {
    TAP_Hdd_Delete(newName);
    return false;
  }
  return true;
}

char* ReadSettingsField(char* buffer, int size, int* position) {
  if (*position < 0 || *position > size) *position = size;
  char* field = buffer + *position;
  while (*position < size) {
    char c = buffer[*position];
    if (c == '\0' || c == '\t' || c == '\n' || c == '\r') {
      buffer[(*position)++] = '\0';
      // CR LF ends one line; a CR alone ends one too, so that files with any
      // of the three line ends read alike.
      if (c == '\r' && *position < size && buffer[*position] == '\n') {
        buffer[(*position)++] = '\0';
      }
      break;
    }
    (*position)++;
  }
  return field;
}

dword FoldDecimalField(const char* field) {
  // The writers write negative numbers with a sign; everything else folds in
  // as a digit, whatever it is.
  bool negative = field[0] == '-';
  dword value = 0;
  for (int i = negative ? 1 : 0; i < 255 && field[i]; i++) {
    value = value * 10 + static_cast<dword>(static_cast<byte>(field[i]) - '0');
  }
  return negative ? 0u - value : value;
}
