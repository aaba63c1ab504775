// Temporary files through which shell commands answer: written by the shell
// into the settings folder, read back and removed again, so that nothing of
// them stays behind whatever the command left there.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "actions/actions.h"
#include "apps/apps.h"
#include "config/Configuration.h"

namespace {

// `prefix`, then the system path of the settings file `name` in double quotes.
bool FormatWithSettingsPath(char* out, int size, const char* prefix, const char* name) {
  if (!TAPIniDir) return false;
  char path[PATH_BUFFER_SIZE];
  int n = snprintf(path, sizeof path, "%s%s%s/%s", SYSTEM_ROOT, TAPIniDir[0] == '/' ? "" : "/",
                   TAPIniDir, name);
  if (n < 0 || n >= (int)sizeof path) return false;
  n = snprintf(out, size, "%s", prefix);
  return n >= 0 && n < size && AppendShellQuoted(out, size, path);
}

}  // namespace

int RunIntoSettingsFile(const char* command, const char* name) {
  char line[1024];
  char prefix[700];
  int n = snprintf(prefix, sizeof prefix, "%s > ", command);
  if (n < 0 || n >= (int)sizeof prefix || !FormatWithSettingsPath(line, sizeof line, prefix, name))
    return -1;
  int pushed = HDD_TAP_PushDir();
  int status = ChangeToSettingsFolder() ? system(line) : -1;
  if (pushed) HDD_TAP_PopDir();
  return status;
}

int TakeSettingsFile(const char* name, char* buffer, int size) {
  buffer[0] = '\0';
  int pushed = HDD_TAP_PushDir();
  int length = SHELL_FILE_MISSING;
  if (ChangeToSettingsFolder() && TAP_Hdd_Exist(name)) {
    TYPE_File* file = TAP_Hdd_Fopen(name);
    if (!file) {
      length = SHELL_FILE_UNREADABLE;
    } else {
      dword fileLength = TAP_Hdd_Flen(file);
      length = fileLength < (dword)(size - 1) ? (int)fileLength : size - 1;
      if (length > 0 && TAP_Hdd_Fread(buffer, (dword)length, 1, file) != 1) length = 0;
      buffer[length] = '\0';
      TAP_Hdd_Fclose(file);
    }
    char command[1024];
    if (FormatWithSettingsPath(command, sizeof command, "rm ", name)) {
      int status = system(command);
      (void)status;  // a file the shell left is removed below
    }
    if (TAP_Hdd_Exist(name)) TAP_Hdd_Delete(name);
  }
  if (pushed) HDD_TAP_PopDir();
  return length;
}
