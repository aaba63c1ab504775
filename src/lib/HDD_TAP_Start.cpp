#include <stdio.h>
#include <string.h>

#include "lib/lib.h"

// The firmware starts an application file from its work folder: the folder is
// selected into a folder record, made the work folder for the start, and the
// previous work folder put back.
bool HDD_TAP_Start(const char* fileName, bool, void*, TYPE_TapHeader* info) {
  typedef void (*VoidFn)(void);
  typedef void (*SetWorkFolderFn)(void*);
  typedef dword (*SelectFolderFn)(void*, const char*);
  typedef bool (*ExecProgramFn)(char*);
  VoidFn saveWorkFolder = (VoidFn)TryResolve("_Z22ApplHdd_SaveWorkFolderv");
  VoidFn restoreWorkFolder = (VoidFn)TryResolve("_Z25ApplHdd_RestoreWorkFolderv");
  SetWorkFolderFn setWorkFolder = (SetWorkFolderFn)TryResolve("_Z21ApplHdd_SetWorkFolderPv");
  SelectFolderFn selectFolder = (SelectFolderFn)TryResolve("_Z20ApplHdd_SelectFolderPvPKc");
  ExecProgramFn execProgram = (ExecProgramFn)TryResolve("_Z16Appl_ExecProgramPc");
  if (!saveWorkFolder || !restoreWorkFolder || !setWorkFolder || !selectFolder || !execProgram)
    return false;
  TYPE_TapHeader header;
  if (!HDD_TAP_GetInfo(fileName, &header)) return false;
  if (info) memcpy(info, &header, sizeof header);
  char folder[PATH_BUFFER_SIZE], systemFolder[PATH_BUFFER_SIZE];
  if (!HDD_TAP_GetCurrentDir(folder)) return false;
  ConvertPathType(folder, systemFolder, PF_SystemFolder);
  if (!systemFolder[0]) return false;
  char name[PATH_BUFFER_SIZE];
  snprintf(name, sizeof name, "%s", fileName);
  dword record[4] = {0, 0, 0, 0};
  saveWorkFolder();
  // The firmware takes the folder without its leading "/".
  bool started = selectFolder(record, systemFolder + 1) == 0;
  if (started) {
    setWorkFolder(record);
    started = execProgram(name);
  }
  restoreWorkFolder();
  return started;
}
