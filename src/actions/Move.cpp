// Moving and copying from the list: the destination window and its keys, name
// clashes and rename on move, the mount decision, the same-mount rename with
// companions, the application's own background copy in a forked child, the
// job files for BackgroundCopy, and the bookkeeping after a move.
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "apps/apps.h"
#include "catalogue/catalogue.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

char GlbSourceDir[200];
char GlbTargetDir[200];
char GlbSourceFile[127];
char GlbRenamedFile[127];
char GlbTargetDirPrefix[200];
char GlbBGCJobfile[127];
int GlbBGCAttr;
int move_CurrentDirNumber, move_chosenLine;
int renameOnMove;
int moveAcrossMount;
int moveInBackgroundPID;
int moveInBackgroundComplete;
char filename_toProcess[127];

FileRecord* moveFiles[MOVE_DESTINATIONS];
int numberOfDestinationFolders;
int chosenFolderLine, printMoveFolderLine;
char* currentMoveDestination;

namespace {

constexpr int kLinesPerPage = 9;
constexpr int kWindowX = 122, kWindowY = 70, kWindowW = 476, kWindowH = 416;
constexpr const char* kJobFolder = "/ProgramFiles/Settings/BackgroundCopy/JobFiles";
constexpr const char* kPartSuffix = ".part";
constexpr unsigned kNfsMagic = 0x6969;
constexpr int kCopyRefused = 2;  // the child's status when pieces were in the way

byte* moveWindowCopy;

const FileRecord* LineOf(int folder, int slot) {
  if (folder < 0 || folder >= MAX_FOLDERS || slot < 1 || slot >= MAX_SLOTS) return nullptr;
  return FileSlot(folder, slot);
}

void Message(AppText& title, AppText& line1, const char* line2) {
  ShowMessageWinX(rgn, Text(title), Text(line1), line2, 300);
}

bool ManagerView() { return TAPManagerMode != 0; }
const char* TopFolder() { return ManagerView() ? "/ProgramFiles" : "/DataFiles"; }

// "/mnt/hd" + folder + "/" + name, without doubled or missing slashes.
void SystemPath(char* out, size_t size, const char* folder, const char* name) {
  size_t length = strlen(folder);
  snprintf(out, size, "%s%s%s%s%s", SYSTEM_ROOT, folder[0] == '/' ? "" : "/", folder,
           length > 0 && folder[length - 1] == '/' ? "" : "/", name);
}

// The pieces that travel together: the entry, then (for a recording) its
// header and navigation companions. Returns how many names were written.
int EntryPieces(const char* name, char pieces[3][NAME_FIELD]) {
  snprintf(pieces[0], NAME_FIELD, "%s", name);
  if (!HDD_isRecFileName(name) || StringEndsWith(name, ".nav")) return 1;
  MakeInfNavNames(name, pieces[1], pieces[2]);
  return pieces[1][0] ? 3 : 1;
}

// Bytes and entries of a file or of a folder tree (links not followed);
// false when something cannot be read.
bool TreeSize(const char* path, uint64_t* bytes, uint64_t* entries) {
  struct stat st;
  if (lstat(path, &st) != 0) return false;
  (*entries)++;
  if (!S_ISDIR(st.st_mode)) {
    if (S_ISREG(st.st_mode)) *bytes += (uint64_t)st.st_size;
    return true;
  }
  DIR* dir = opendir(path);
  if (!dir) return false;
  bool ok = true;
  while (dirent* e = readdir(dir)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    char sub[PATH_BUFFER_SIZE * 2];
    if (snprintf(sub, sizeof sub, "%s/%s", path, e->d_name) >= (int)sizeof sub) {
      ok = false;
      break;
    }
    if (!TreeSize(sub, bytes, entries)) ok = false;
  }
  closedir(dir);
  return ok;
}

bool SameContentSize(const char* a, const char* b) {
  uint64_t bytesA = 0, entriesA = 0, bytesB = 0, entriesB = 0;
  return TreeSize(a, &bytesA, &entriesA) && TreeSize(b, &bytesB, &entriesB) && bytesA == bytesB &&
         entriesA == entriesB;
}

bool Exists(const char* systemPath) {
  struct stat st;
  return lstat(systemPath, &st) == 0;
}

// Runs "rm -rf" on the partial copies that a failed or cancelled copy left in
// the destination: only names ending in ".part" that this copy made.
void RemovePartialCopies(const char* name, const char* destinationFolder) {
  char pieces[3][NAME_FIELD];
  int count = EntryPieces(name, pieces);
  for (int i = 0; i < count; i++) {
    char part[PATH_BUFFER_SIZE];
    char piece[NAME_FIELD + 8];
    snprintf(piece, sizeof piece, "%.126s%s", pieces[i], kPartSuffix);
    SystemPath(part, sizeof part, destinationFolder, piece);
    if (!Exists(part)) continue;
    char command[PATH_BUFFER_SIZE * 2 + 32] = "rm -rf ";
    if (!AppendShellQuoted(command, sizeof command, part)) continue;
    if (system(command) != 0) {
      LogEntryVexLibPrintf(true, "Pavrolinex: cannot remove the partial copy %s", part);
    }
  }
}

bool ListShowsAlone() {
  return windowShowing && !moveWindowShowing && !yesnoWindowShowing && !MessageWindowShowing &&
         !infoWindowShowing && !deleteWindowShowing && !stopmenuWindowShowing;
}

// Ends the background sequence with an outcome: the rest of the selection
// goes, the window closes by returnFromMove.
void EndBackgroundCopy(int outcome) {
  moveInBackgroundComplete = outcome;
  if (outcome != 1) {
    MultiSelectClearAll();
    fileMoved = 0;
  }
  returnFromMove = 1;
}

// ------------------------------------------------------------ destination list

FileRecord* DestinationSlot(int n) {
  if (n < 1 || n >= MOVE_DESTINATIONS) return nullptr;
  if (!moveFiles[n]) {
    moveFiles[n] = (FileRecord*)TAP_MemAlloc(sizeof(FileRecord));
    if (!moveFiles[n]) return nullptr;
  }
  memset(moveFiles[n], 0, sizeof(FileRecord));
  return moveFiles[n];
}

void AddDestination(const char* name) {
  if (numberOfDestinationFolders + 1 >= MOVE_DESTINATIONS) return;  // listing stops
  FileRecord* slot = DestinationSlot(numberOfDestinationFolders + 1);
  if (!slot) return;
  snprintf(slot->name, sizeof slot->name, "%.126s", name);
  numberOfDestinationFolders++;
}

void AddFolderTree(int folder, const char* prefix, int depth) {
  if (folder < 0 || folder >= MAX_FOLDERS || !myfolders[folder] || depth > 64) return;
  int count = myfolders[folder]->entryCount;
  for (int slot = 1; slot <= count && slot < MAX_SLOTS; slot++) {
    FileRecord* line = FileSlot(folder, slot);
    if (!line || line->attribute != ATTRIBUTE_FOLDER) continue;
    char name[NAME_FIELD * 2];
    snprintf(name, sizeof name, "%s/%s", prefix, line->name);
    if (strlen(name) > 126) continue;  // a path the list cannot hold is not offered
    AddDestination(name);
    if (myfolders[line->folderNumber] && myfolders[line->folderNumber]->subfolderCount >= 1) {
      AddFolderTree(line->folderNumber, name, depth + 1);
    }
  }
}

// The name of the entry being moved, for the match and the skip.
const FileRecord* EntryBeingMoved() {
  if (MultiSelect) {
    MultiSelectItem* item = MultiSelect;
    return LineOf(item->folderNumber, item->entryIndex);
  }
  return LineOf(CurrentDirNumber, chosenLine);
}

void DrawMoveFrame() {
  dword border = BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF;
  TAP_Osd_FillBox(rgn, kWindowX, kWindowY, kWindowW, kWindowH, border);
  TAP_Osd_FillBox(rgn, kWindowX + 3, kWindowY + 3, kWindowW - 6, kWindowH - 6, 0xFF1E1E1E);
  PrintCenter(rgn, kWindowX + 5, kWindowY + 18, kWindowX + kWindowW - 5, Text(text_MoveWindowTitle),
              0xFFFAFAFA, 0, 18);
  TAP_Osd_FillBox(rgn, kWindowX + 20, kWindowY + 62, kWindowW - 40, 2, 0xFF999999);
  TAP_Osd_FillBox(rgn, kWindowX + 20, kWindowY + 358, kWindowW - 40, 2, 0xFF999999);
  int y = kWindowY + 374;
  TAP_Osd_PutGd(rgn, kWindowX + 40, y, &_Button_ok_Gd, 1);
  PrintLeft(rgn, kWindowX + 76, (dword)y, kWindowX + 236, Text(text_MoveToFolder), 0xFFC0C0C0, 0,
            16);
  TAP_Osd_PutGd(rgn, kWindowX + 250, y, &_Button_exit_Gd, 1);
  PrintLeft(rgn, kWindowX + 288, (dword)y, kWindowX + kWindowW - 10, Text(text_CancelMove),
            0xFFC0C0C0, 0, 16);
}

void RememberDestination() {
  FileRecord* slot = chosenFolderLine >= 1 && chosenFolderLine <= numberOfDestinationFolders
                         ? moveFiles[chosenFolderLine]
                         : nullptr;
  currentMoveDestination = slot ? slot->name : nullptr;
}

// ------------------------------------------------------------ the decision chain

void PerformMove();
void ReturnFromMoveAcrossMountYesNo(int answer);

void ReturnFromMoveRenameYesNo(int answer) {
  if (answer != 1) {
    fileMoved = 0;
    returnFromMove = 0;
    if (processInBackground == 1) {
      processInBackground = 0;
      moveInBackgroundComplete = 0;
    }
    return;
  }
  HDD_TAP_PushDir();
  bool entered = GotoPath(GlbSourceDir);
  bool renamed = entered && TAP_Hdd_Rename(GlbSourceFile, GlbRenamedFile) &&
                 TAP_Hdd_Exist(GlbRenamedFile) && !TAP_Hdd_Exist(GlbSourceFile);
  if (!renamed) {
    HDD_TAP_PopDir();
    fileMoved = 0;
    returnFromMove = 0;
    if (processInBackground != 1) {
      char line1[200], line2[200];
      snprintf(line1, sizeof line1, "%.50s: '%.127s'", Text(text_ErrorRenaming), GlbSourceFile);
      snprintf(line2, sizeof line2, "%.50s: '%.127s'", Text(text_ToWord), GlbRenamedFile);
      ShowMessageWinX(rgn, Text(text_RenameOnMoveFailed), line1, line2, 300);
    } else {
      EndBackgroundCopy(-1);
    }
    return;
  }
  if (move_chosenLine > 0) DeleteProgressInfo(move_CurrentDirNumber, move_chosenLine, 0);
  if (GlbBGCAttr != ATTRIBUTE_FOLDER) {
    char oldInf[NAME_FIELD], oldNav[NAME_FIELD], newInf[NAME_FIELD], newNav[NAME_FIELD];
    MakeInfNavNames(GlbSourceFile, oldInf, oldNav);
    MakeInfNavNames(GlbRenamedFile, newInf, newNav);
    bool infOk = true;
    if (oldInf[0] && newInf[0] && TAP_Hdd_Exist(oldInf)) {
      infOk = TAP_Hdd_Rename(oldInf, newInf) != 0;
    }
    if (infOk && oldNav[0] && newNav[0] && TAP_Hdd_Exist(oldNav)) TAP_Hdd_Rename(oldNav, newNav);
  }
  HDD_TAP_PopDir();
  snprintf(GlbSourceFile, sizeof GlbSourceFile, "%s", GlbRenamedFile);
  PerformMove();
}

// Rewrites a media-folder path to where its files really are.
void RewriteMediaPath(char* path) {
  const char* prefixes[2] = {"/DataFiles/~MediaFiles", "/DataFiles/_MediaFiles"};
  for (const char* prefix : prefixes) {
    size_t length = strlen(prefix);
    if (strncmp(path, prefix, length) != 0) continue;
    char rest[200];
    bool up = strncmp(path + length, "/..", 3) == 0;
    snprintf(rest, sizeof rest, "%s", path + length + (up ? 3 : 0));
    snprintf(path, 200, "%s%.180s", up ? "/DataFiles" : "/MediaFiles", rest);
    return;
  }
}

// Free space of the destination's mount in KB, and whether it is NFS.
bool DestinationSpace(uint64_t* freeKB, bool* nfs) {
  char folder[PATH_BUFFER_SIZE];
  SystemPath(folder, sizeof folder, GlbTargetDir, "");
  struct statfs st;
  if (statfs(folder, &st) != 0) return false;
  *freeKB = (uint64_t)st.f_bavail * (uint64_t)st.f_bsize / 1024;
  *nfs = (unsigned)st.f_type == kNfsMagic;
  return true;
}

// Bytes of an entry and its companions in `folder`; with `partial`, a piece
// not there yet counts by its ".part" name.
uint64_t EntryBytes(const char* folder, const char* name, bool partial) {
  char pieces[3][NAME_FIELD];
  int count = EntryPieces(name, pieces);
  uint64_t total = 0;
  for (int i = 0; i < count; i++) {
    char path[PATH_BUFFER_SIZE];
    SystemPath(path, sizeof path, folder, pieces[i]);
    if (partial && !Exists(path)) {
      char piece[NAME_FIELD + 8];
      snprintf(piece, sizeof piece, "%.126s%s", pieces[i], kPartSuffix);
      SystemPath(path, sizeof path, folder, piece);
    }
    uint64_t entries = 0;
    TreeSize(path, &total, &entries);
  }
  return total;
}

// A multi-selection copied in the background: the bytes of all its entries
// and of those already copied, for the progress of the whole.
uint64_t selectionBytes, selectionBytesDone;
int selectionEntries;

void StartSelectionProgress() {
  selectionBytes = selectionBytesDone = 0;
  selectionEntries = 0;
  for (MultiSelectItem* item = MultiSelect; item; item = item->next) {
    const FileRecord* line = LineOf(item->folderNumber, item->entryIndex);
    if (line) selectionBytes += EntryBytes(line->folderPath, line->name, false);
    selectionEntries++;
  }
}

uint64_t NeededKB(const char* folder, const char* name) {
  char pieces[3][NAME_FIELD];
  int count = EntryPieces(name, pieces);
  uint64_t total = 0;
  for (int i = 0; i < count; i++) {
    char path[PATH_BUFFER_SIZE];
    SystemPath(path, sizeof path, folder, pieces[i]);
    uint64_t bytes = 0, entries = 0;
    TreeSize(path, &bytes, &entries);
    total += bytes / 1024;
  }
  return total;
}

// Whether the destination has room for the entry (or the whole selection),
// with a megabyte to spare.
bool CheckEnoughSpace(bool* nfs) {
  uint64_t freeKB = 0;
  *nfs = false;
  if (!DestinationSpace(&freeKB, nfs)) return false;
  uint64_t needed = 0;
  if (MultiSelect) {
    for (MultiSelectItem* item = MultiSelect; item; item = item->next) {
      const FileRecord* line = LineOf(item->folderNumber, item->entryIndex);
      if (line) needed += NeededKB(line->folderPath, line->name);
    }
  } else {
    needed = NeededKB(GlbSourceDir, GlbSourceFile);
  }
  return freeKB >= needed + 1024;
}

void PerformMove() {
  if (MountMediaFiles || LinkMediaFiles) {
    RewriteMediaPath(GlbSourceDir);
    RewriteMediaPath(GlbTargetDir);
  }
  size_t length = strlen(GlbTargetDir);
  if (length >= 3 && strcmp(GlbTargetDir + length - 3, "/..") == 0) {
    GlbTargetDir[length - 3] = 0;
    char* slash = strrchr(GlbTargetDir, '/');
    if (slash && slash != GlbTargetDir)
      *slash = 0;
    else if (slash)
      slash[1] = 0;
  }
  char sourceMount[PATH_BUFFER_SIZE], sourceDevice[PATH_BUFFER_SIZE];
  char targetMount[PATH_BUFFER_SIZE], targetDevice[PATH_BUFFER_SIZE];
  char sourceFolder[PATH_BUFFER_SIZE], targetFolder[PATH_BUFFER_SIZE];
  SystemPath(sourceFolder, sizeof sourceFolder, GlbSourceDir, "");
  SystemPath(targetFolder, sizeof targetFolder, GlbTargetDir, "");
  moveAcrossMount = HDD_FindMountPointDevice(sourceFolder, sourceMount, sourceDevice) &&
                    HDD_FindMountPointDevice(targetFolder, targetMount, targetDevice) &&
                    strncmp(sourceDevice, targetDevice, PATH_BUFFER_SIZE) != 0;
  length = strlen(GlbTargetDir);
  if (strcmp(GlbTargetDir + (length > 7 ? length - 7 : 0), "/ZZ_EXT") == 0) {
    moveAcrossMount = 1;
    TAP_Print("Pavrolinex - PerformMove: Forcing background move. Target is </ZZ_EXT>\r\n");
  }
  if (!moveAcrossMount || fileMoved_MultiSelect) {
    ReturnFromMoveAcrossMountYesNo(1);
    return;
  }
  bool nfs = false;
  bool enough = CheckEnoughSpace(&nfs);
  fileMoved = 0;
  returnFromMove = 0;
  if (BackgroundCopyOption == 1) {
    AppText& title = bgcCopyOrMoveOption == 1 ? text_BgcMoveTitle : text_BgcCopyTitle;
    char line1[128];
    int count = MultiSelectCount();
    if (count > 1) {
      snprintf(line1, sizeof line1, "%.20s%d%.30s", Text(text_CreateOpen), count,
               Text(text_CreateClose));
    } else {
      snprintf(line1, sizeof line1, "%s", Text(text_CreateJobfile));
    }
    if (enough && bgcConfirmSuppressOption == 1) {
      ReturnFromMoveAcrossMountYesNo(1);
    } else {
      DisplayYesNoWindow(Text(title), line1, enough ? "" : Text(text_NotEnoughSpace),
                         Text(text_Yes), Text(text_No), enough ? 0 : 1,
                         ReturnFromMoveAcrossMountYesNo);
    }
    return;
  }
  if (nfs && !BackgroundCopyNFSBypass) {
    DisplayMessageWindow(Text(text_NfsTitle), Text(text_NfsLine1), Text(text_NfsLine2), nullptr);
    return;
  }
  DisplayYesNoWindow(Text(text_BgCopyTitle),
                     enough ? Text(text_MayTakeTime) : Text(text_NotEnoughSpace),
                     Text(text_WantContinue), Text(text_Yes), Text(text_No), enough ? 0 : 1,
                     ReturnFromMoveAcrossMountYesNo);
}

// Whether a text holds a control character: in a job file a line break
// would start a line of its own, and BackgroundCopy would take it for one.
bool HasControlCharacter(const char* text) {
  for (const unsigned char* c = (const unsigned char*)text; *c; c++) {
    if (*c < 0x20 || *c == 0x7F) return true;
  }
  return false;
}

// The first free job-file name and its 1024-byte block; false when none fits.
bool BGCCreateJobfile() {
  if (HasControlCharacter(GlbSourceDir) || HasControlCharacter(GlbTargetDir) ||
      HasControlCharacter(GlbSourceFile)) {
    ShowMessageWinX(rgn, Text(text_JobfileError), Text(text_JobControlCharacter), GlbSourceFile,
                    300);
    returnFromMove = 0;
    fileMoved = 0;
    return false;
  }
  char block[1024];
  memset(block, 0, sizeof block);
  int used =
      snprintf(block, sizeof block, "%.20s%.10s%.*s\r\n%.20s%.10s%.*s\r\n%.20s%.*s\r\n%.20s%d\r\n",
               "SDir=", SYSTEM_ROOT, 200, GlbSourceDir, "DDir=", SYSTEM_ROOT, 200, GlbTargetDir,
               "FileName=", 127, GlbSourceFile, "CoM=", bgcCopyOrMoveOption);
  bool fits = used > 0 && used < (int)sizeof block;
  HDD_TAP_PushDir();
  bool written = false;
  GlbBGCJobfile[0] = 0;
  if (fits && GotoPath(kJobFolder)) {
    for (int n = 1; n <= 9999 && !written; n++) {
      char name[32];
      snprintf(name, sizeof name, "%4.4d%.10s", n, ".bgc");
      if (TAP_Hdd_Exist(name)) continue;
      snprintf(GlbBGCJobfile, sizeof GlbBGCJobfile, "%s", name);
      if (!TAP_Hdd_Create(name, ATTR_NORMAL)) break;
      TYPE_File* file = TAP_Hdd_Fopen(name);
      if (!file) break;
      written = TAP_Hdd_Fwrite(block, sizeof block, 1, file) == 1;
      TAP_Hdd_Fclose(file);
      // A half-written job would be refused by BackgroundCopy anyway; it
      // must not wait there as if it were whole.
      if (!written) TAP_Hdd_Delete(name);
      break;
    }
  }
  HDD_TAP_PopDir();
  if (!written) {
    char line1[200];
    snprintf(line1, sizeof line1, "%.50s: '%.127s'", Text(text_CannotWriteJob), GlbBGCJobfile);
    ShowMessageWinX(rgn, Text(text_JobfileError), line1, "", 300);
    returnFromMove = 0;
    fileMoved = 0;
    return false;
  }
  fileMoved = 1;
  fileMoved_MultiSelect = 1;
  if (MultiSelect) MultiSelectClearFirst();
  if (!MultiSelect) {
    returnFromMove = 1;
    FindAndStartBGCTAP();
  }
  return true;
}

bool JobFolderExists() {
  char path[PATH_BUFFER_SIZE];
  SystemPath(path, sizeof path, kJobFolder, "");
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

void ReturnFromMoveAcrossMountYesNo(int answer) {
  if (answer != 1) {
    returnFromMove = 0;
    fileMoved = 0;
    if (processInBackground == 1 && moveInBackgroundPID == 0) EndBackgroundCopy(-1);
    return;
  }
  if (!moveAcrossMount) {
    PrintLoading();
    TAP_Osd_Sync();
    HDD_Move2(GlbSourceFile, GlbSourceDir, GlbTargetDir);
    HDD_TAP_PushDir();
    bool stillThere = GotoPath(GlbSourceDir) && TAP_Hdd_Exist(GlbSourceFile);
    HDD_TAP_PopDir();
    if (stillThere) {
      Message(text_FileFolderMoveFailed, text_FailedToMove, GlbSourceFile);
      fileMoved = 0;
    } else {
      MoveSuccess();
    }
    if (!MultiSelect) returnFromMove = 1;
  } else if (BackgroundCopyOption == 0) {
    if (processInBackground != 1) StartSelectionProgress();
    processInBackground = 1;
    moveInBackgroundComplete = 0;
    if (moveWindowShowing) CloseQuembryMoveWindow();
    if (windowShowing) RefreshQuembryList(0);
  } else if (GlbBGCAttr == ATTRIBUTE_FOLDER) {
    Message(text_FolderJobNotAllowed, text_CannotCreateJob, Text(text_UsingFolder));
  } else if (!JobFolderExists()) {
    Message(text_JobFolderNotFound, text_CannotFindJobFolder, kJobFolder);
  } else {
    BGCCreateJobfile();
  }
  if (returnFromMove && moveWindowShowing) CloseQuembryMoveWindow();
}

}  // namespace

// ------------------------------------------------------------ the window

void ActivateMoveWindow() {
  moveWindowShowing = 1;
  chosenFolderLine = 1;
  printMoveFolderLine = 1;
  fileMoved = 0;
  fileMoved_MultiSelect = 0;
  folderMoved = 0;
  moveInBackgroundComplete = 0;
  if (!moveWindowCopy)
    moveWindowCopy = TAP_Osd_SaveBox(rgn, kWindowX, kWindowY, kWindowW, kWindowH);
  DrawMoveFrame();
}

void populateMoveFileList() {
  numberOfDestinationFolders = 0;
  int listed = CurrentDirNumber;
  if (ShowSubfoldersInMoveTo == 2 && CurrentDirNumber != 0) {
    AddDestination(".");
    listed = 0;
  }
  FileRecord* first = myfolders[listed] ? FileSlot(listed, 1) : nullptr;
  snprintf(GlbTargetDirPrefix, sizeof GlbTargetDirPrefix, "%s",
           first && myfolders[listed]->entryCount > 0 ? first->folderPath : "");
  const FileRecord* moving = EntryBeingMoved();
  int count = myfolders[listed] ? myfolders[listed]->entryCount : 0;
  for (int slot = 1; slot <= count && slot < MAX_SLOTS; slot++) {
    FileRecord* line = FileSlot(listed, slot);
    if (!line) continue;
    if (line->attribute != ATTRIBUTE_FOLDER && line->attribute != 240 &&
        line->attribute != ATTRIBUTE_PARENT) {
      continue;
    }
    if (!MultiSelect && moving == line) continue;
    if (line->attribute != ATTRIBUTE_FOLDER) {
      AddDestination("..");
      continue;
    }
    AddDestination(line->name);
    if (ShowSubfoldersInMoveTo != 0 && myfolders[line->folderNumber] &&
        myfolders[line->folderNumber]->subfolderCount >= 1) {
      AddFolderTree(line->folderNumber, line->name, 1);
    }
  }
  if (MoveToMatchChars > 0 && moving) {
    for (int n = 1; n <= numberOfDestinationFolders; n++) {
      int compared = strncmp(moveFiles[n]->name, moving->name, (size_t)MoveToMatchChars);
      if (compared >= 0) {
        if (compared == 0) chosenFolderLine = n;
        break;
      }
    }
    printMoveFolderLine =
        numberOfDestinationFolders > kLinesPerPage && chosenFolderLine > kLinesPerPage
            ? chosenFolderLine - 4
            : 1;
  }
  RememberDestination();
}

void DisplayQuembryMoveFolderList() {
  TAP_Osd_FillBox(rgn, 142, 150, 448, 270, 0xFF1E1E1E);
  for (int i = 0; i < kLinesPerPage; i++) {
    int n = printMoveFolderLine + i;
    if (n > numberOfDestinationFolders) break;
    int y = 150 + i * 30;
    dword colour = 0xFFFAFAFA;
    if (n == chosenFolderLine) {
      displayMenuBar(MenuBarColour, 142, y, 26, 448);
      colour = resolvedMenuTextColour;
    }
    const char* name = moveFiles[n]->name;
    if (!strcmp(name, ".")) name = TopFolder();
    char shown[160];
    snprintf(shown, sizeof shown, "%s", name);
    // Too wide: the end of the path counts, so it is shown from the right.
    const char* tail = shown;
    char cut[170];
    while (*tail && PrintWidth(tail, 18) > 400) tail++;
    if (tail != shown) {
      snprintf(cut, sizeof cut, "...%s", tail + 3 < shown + strlen(shown) ? tail + 3 : tail);
      tail = cut;
    }
    PrintLeft(rgn, 152, (dword)(y + 2), 585, tail, colour, 0, 18);
  }
  // The arrows sit outside the list's box: their places are cleared (the
  // lower one crosses the separator line) before either is drawn again.
  TAP_Osd_FillBox(rgn, 358, 136, 16, 10, 0xFF1E1E1E);
  TAP_Osd_FillBox(rgn, 358, 422, 16, 10, 0xFF1E1E1E);
  TAP_Osd_FillBox(rgn, 358, kWindowY + 358, 16, 2, 0xFF999999);
  if (printMoveFolderLine > 1) TAP_Osd_PutGd(rgn, 358, 136, &_ArrowUp_Gd, 1);
  if (printMoveFolderLine + kLinesPerPage - 1 < numberOfDestinationFolders) {
    TAP_Osd_PutGd(rgn, 358, 422, &_ArrowDown_Gd, 1);
  }
  TAP_Osd_Sync();
}

void DisplayQuembryMoveWindow() {
  DrawMoveFrame();
  DisplayQuembryMoveFolderList();
}

void CloseQuembryMoveWindow() {
  moveWindowShowing = 0;
  RestoreWindowCopy(rgn, &moveWindowCopy, kWindowX, kWindowY, kWindowW, kWindowH);
  TAP_Osd_Sync();
}

void ReleaseMoveFilesMemory() {
  for (int n = 0; n < MOVE_DESTINATIONS; n++) {
    if (moveFiles[n]) TAP_MemFree(moveFiles[n]);
    moveFiles[n] = nullptr;
  }
  numberOfDestinationFolders = 0;
  currentMoveDestination = nullptr;
  if (moveWindowCopy) TAP_MemFree(moveWindowCopy);
  moveWindowCopy = nullptr;
}

dword QuembryMoveKeyHandler(dword key) {
  lastKeyHandler = "QuembryMoveKeyHandler";
  dword code = key & RKEY_MASK;
  if (code == RKEY_Mute || code == 0x10047 || code == 0x10048) return key;
  int last = numberOfDestinationFolders;
  int L = kLinesPerPage;
  switch (code) {
    case RKEY_ChUp:
      if (chosenFolderLine > 1) {
        chosenFolderLine--;
        if (chosenFolderLine < printMoveFolderLine) printMoveFolderLine = chosenFolderLine;
      } else {
        chosenFolderLine = last;
        printMoveFolderLine = last - (L - 1) < 1 ? 1 : last - (L - 1);
      }
      break;
    case RKEY_ChDown:
      if (chosenFolderLine < last) {
        chosenFolderLine++;
        if (chosenFolderLine >= printMoveFolderLine + L) printMoveFolderLine++;
      } else {
        chosenFolderLine = printMoveFolderLine = 1;
      }
      break;
    case RKEY_VolDown:
    case RKEY_Rewind:
      if (chosenFolderLine > printMoveFolderLine) {
        chosenFolderLine = printMoveFolderLine;
      } else if (chosenFolderLine == 1) {
        chosenFolderLine = last;
        printMoveFolderLine = last - (L - 1) < 1 ? 1 : last - (L - 1);
      } else if (chosenFolderLine <= L) {
        chosenFolderLine = printMoveFolderLine = 1;
      } else {
        chosenFolderLine -= L;
        printMoveFolderLine = printMoveFolderLine - L < 1 ? 1 : printMoveFolderLine - L;
      }
      break;
    case RKEY_VolUp:
    case RKEY_Forward: {
      int pageEnd = printMoveFolderLine + L - 1;
      if (chosenFolderLine >= last) {
        chosenFolderLine = printMoveFolderLine = 1;
      } else if (pageEnd < last && chosenFolderLine == pageEnd) {
        printMoveFolderLine = pageEnd + 1;
        chosenFolderLine = chosenFolderLine + L > last ? last : chosenFolderLine + L;
      } else {
        chosenFolderLine = pageEnd < last ? pageEnd : last;
      }
      break;
    }
    case RKEY_Ok:
      CommenceMoveProcess();
      TAP_Osd_Sync();
      return 0;
    case RKEY_Exit:
      CloseQuembryMoveWindow();
      if (processInBackground != 1) {
        fileMoved = 0;
        returnFromMove = 1;
      }
      return 0;
    default:
      return 0;
  }
  RememberDestination();
  DisplayQuembryMoveFolderList();
  return 0;
}

// ------------------------------------------------------------ moving

void CommenceMoveProcess() {
  if (!currentMoveDestination) return;
  const FileRecord* line;
  if (MultiSelect) {
    MultiSelectItem* item = MultiSelect;
    MultiSelect_CheckFileNumber(item);
    line = LineOf(item->folderNumber, item->entryIndex);
    if (!line || line->inode != item->inode || strncmp(line->name, item->name, NAME_FIELD) != 0) {
      Message(text_MultiNotFoundTitle, text_MultiNotFoundC, Text(text_ClearingMultiSelect));
      MultiSelectClearAll();
      if (moveWindowShowing) CloseQuembryMoveWindow();
      if (processInBackground == 1) EndBackgroundCopy(-1);
      returnFromMove = 1;
      return;
    }
    move_CurrentDirNumber = item->folderNumber;
    move_chosenLine = item->entryIndex;
  } else {
    line = LineOf(CurrentDirNumber, chosenLine);
    if (!line) return;
    move_CurrentDirNumber = CurrentDirNumber;
    move_chosenLine = chosenLine;
  }
  fileMoved = 0;
  char destination[NAME_FIELD];
  snprintf(destination, sizeof destination, "%s", currentMoveDestination);
  FileRecord entry = *line;
  int reason = CheckEntryInUse(entry.folderPath, entry.name, 0);
  if (reason != IN_USE_None) {
    ShowEntryInUse(reason, Text(text_MoveNotAllowed));
    // The rest of a selection waits for another try, as after any failure.
    MultiSelectClearAll();
    if (moveWindowShowing) CloseQuembryMoveWindow();
    if (processInBackground == 1) EndBackgroundCopy(-1);
    returnFromMove = 1;
    return;
  }
  MoveAFile(entry.folderPath, destination, entry.name, (int)entry.attribute);
}

void MoveAFile(const char* sourceFolder, const char* destinationName, const char* entryName,
               int attribute) {
  GlbBGCAttr = attribute;
  char base[NAME_FIELD], extension[NAME_FIELD] = "";
  snprintf(base, sizeof base, "%s", entryName);
  if (attribute != ATTRIBUTE_FOLDER) {
    char* dot = strrchr(base, '.');
    if (dot && !strcmp(dot, ".del") && dot != base) {
      *dot = 0;
      char* inner = strrchr(base, '.');
      *dot = '.';
      dot = inner;
    }
    if (dot) {
      snprintf(extension, sizeof extension, "%s", dot);
      *dot = 0;
    }
  }
  char destination[PATH_BUFFER_SIZE];
  const char* top = ShowSubfoldersInMoveTo == 2 ? TopFolder() : GlbTargetDirPrefix;
  if (!strcmp(destinationName, ".")) {
    snprintf(destination, sizeof destination, "%.200s", top);
  } else {
    snprintf(destination, sizeof destination, "%.200s/%.200s", top, destinationName);
  }
  HDD_TAP_PushDir();
  char newName[NAME_FIELD] = "";
  bool clash = GotoPath(destination) && TAP_Hdd_Exist(entryName);
  bool resolved = false;
  if (clash && attribute != ATTRIBUTE_FOLDER && RenameOnMoveOption != 3) {
    for (int n = 1; n <= 99999 && !resolved; n++) {
      char candidate[NAME_FIELD + 16];
      snprintf(candidate, sizeof candidate, "%s~%d%s", base, n, extension);
      if (strlen(candidate) > 126) break;
      if (!GotoPath(destination) || TAP_Hdd_Exist(candidate)) continue;
      if (!GotoPath(sourceFolder) || TAP_Hdd_Exist(candidate)) continue;
      snprintf(newName, sizeof newName, "%s", candidate);
      resolved = true;
    }
  }
  HDD_TAP_PopDir();
  snprintf(GlbSourceFile, sizeof GlbSourceFile, "%s", entryName);
  snprintf(GlbSourceDir, sizeof GlbSourceDir, "%s", sourceFolder);
  snprintf(GlbTargetDir, sizeof GlbTargetDir, "%.199s", destination);
  if (clash && !resolved) {
    if (attribute == ATTRIBUTE_FOLDER) {
      Message(text_FolderMoveFailed, text_SameFolderExists, entryName);
    } else {
      Message(text_MoveFailedTitle, text_SameFileExists, entryName);
    }
    fileMoved = 0;
    returnFromMove = 0;
    if (processInBackground == 1) EndBackgroundCopy(-1);
    return;
  }
  if (!clash) {
    renameOnMove = 0;
    PerformMove();
    return;
  }
  renameOnMove = 1;
  snprintf(GlbRenamedFile, sizeof GlbRenamedFile, "%s", newName);
  if (RenameOnMoveOption == 1 || RenameOnMoveOption == 2 || processInBackground == 1) {
    ReturnFromMoveRenameYesNo(1);
    return;
  }
  char line1[256];
  snprintf(line1, sizeof line1, "%.200s  %.20s:", Text(text_SameFileExists),
           Text(text_RenameToWord));
  DisplayYesNoWindow(Text(text_MoveConflictTitle), line1, GlbRenamedFile, Text(text_Yes),
                     Text(text_No), 1, ReturnFromMoveRenameYesNo);
}

int HDD_Move2(const char* name, const char* sourceFolder, const char* destinationFolder) {
  if (!name || !name[0] || !sourceFolder || !sourceFolder[0] || !destinationFolder ||
      !destinationFolder[0]) {
    return 0;
  }
  HDD_TAP_PushDir();
  bool present = GotoPath(sourceFolder) && TAP_Hdd_Exist(name);
  HDD_TAP_PopDir();
  if (!present) return 0;
  char from[PATH_BUFFER_SIZE], to[PATH_BUFFER_SIZE];
  SystemPath(from, sizeof from, sourceFolder, name);
  SystemPath(to, sizeof to, destinationFolder, name);
  MakeUniqueFileName(to);
  const char* newName = strrchr(to, '/') + 1;
  char sourcePieces[3][NAME_FIELD], targetPieces[3][NAME_FIELD];
  int count = EntryPieces(name, sourcePieces);
  EntryPieces(newName, targetPieces);
  // The entry first: once it has gone, the list no longer offers it, and its
  // companions follow it on the next attempt of anything that looks for them.
  rename(from, to);
  for (int i = 1; i < count; i++) {
    char pieceFrom[PATH_BUFFER_SIZE], pieceTo[PATH_BUFFER_SIZE];
    SystemPath(pieceFrom, sizeof pieceFrom, sourceFolder, sourcePieces[i]);
    SystemPath(pieceTo, sizeof pieceTo, destinationFolder, targetPieces[i]);
    if (Exists(pieceFrom)) rename(pieceFrom, pieceTo);
  }
  return 1;
}

int HDD_Copy(const char* name, const char* sourceFolder, const char* destinationFolder) {
  char pieces[3][NAME_FIELD];
  int count = EntryPieces(name, pieces);
  char from[3][PATH_BUFFER_SIZE], part[3][PATH_BUFFER_SIZE], to[3][PATH_BUFFER_SIZE];
  bool present[3] = {false, false, false};
  for (int i = 0; i < count; i++) {
    char partName[NAME_FIELD + 8];
    snprintf(partName, sizeof partName, "%.126s%s", pieces[i], kPartSuffix);
    SystemPath(from[i], sizeof from[i], sourceFolder, pieces[i]);
    SystemPath(part[i], sizeof part[i], destinationFolder, partName);
    SystemPath(to[i], sizeof to[i], destinationFolder, pieces[i]);
    present[i] = Exists(from[i]);
    // A piece already in the destination, or a partial copy of an earlier
    // attempt, is never overwritten: the copy fails and both stay.
    if (present[i] && (Exists(to[i]) || Exists(part[i]))) return -1;
  }
  if (!present[0]) return 0;
  // Everything lands under a ".part" name first: whatever stops the copy
  // leaves nothing that looks like a whole recording.
  for (int i = 0; i < count; i++) {
    if (!present[i]) continue;
    char command[PATH_BUFFER_SIZE * 4] = "cp -pR ";
    if (!AppendShellQuoted(command, sizeof command, from[i]) ||
        !AppendShellQuoted(strcat(command, " "), sizeof command, part[i])) {
      return 0;
    }
    if (system(command) != 0) return 0;
    if (!SameContentSize(from[i], part[i])) return 0;
  }
  // Companions first, the entry last: the entry's name appears only when
  // everything that belongs to it is whole.
  for (int i = count - 1; i >= 0; i--) {
    if (!present[i]) continue;
    if (Exists(to[i]) || rename(part[i], to[i]) != 0) return 0;
  }
  return 1;
}

int BackgroundMovePercent() {
  char source[PATH_BUFFER_SIZE], target[PATH_BUFFER_SIZE];
  SystemPath(source, sizeof source, GlbSourceDir, GlbSourceFile);
  SystemPath(target, sizeof target, GlbTargetDir, GlbSourceFile);
  if (!Exists(target)) {
    char partName[NAME_FIELD + 8];
    snprintf(partName, sizeof partName, "%.126s%s", GlbSourceFile, kPartSuffix);
    SystemPath(target, sizeof target, GlbTargetDir, partName);
  }
  struct stat st;
  if (lstat(source, &st) != 0) return -1;
  if (S_ISDIR(st.st_mode)) {
    char command[PATH_BUFFER_SIZE * 4] = "du -s ";
    if (!AppendShellQuoted(command, sizeof command, source)) return -1;
    strcat(command, " ");
    if (!AppendShellQuoted(command, sizeof command, target)) return -1;
    const char* awk =
        " 2>/dev/null | awk 'BEGIN{s=0;t=0} NR==1{s=$1} NR==2{t=$1} NR==3{exit 202} "
        "END{if (s<=0) {exit 201} else {p=t*100/s; exit p}}'";
    if (strlen(command) + strlen(awk) + 1 > sizeof command) return -1;
    strcat(command, awk);
    int status = system(command);
    if (status < 0 || !WIFEXITED(status)) return -1;
    int percent = WEXITSTATUS(status);
    return percent >= 201 ? -1 : percent;
  }
  uint64_t sourceMB = ((uint64_t)st.st_size + 0xFFFFF) >> 20;
  struct stat tt;
  if (lstat(target, &tt) != 0 || S_ISDIR(tt.st_mode)) return -1;
  uint64_t targetMB = ((uint64_t)tt.st_size + 0xFFFFF) >> 20;
  if (sourceMB == 0) return 100;
  return (int)(targetMB * 100 / sourceMB);
}

void BackgroundMove() {
  if (moveInBackgroundPID > 0) {
    int status = 0;
    pid_t ended = waitpid(moveInBackgroundPID, &status, WNOHANG);
    if (ended == 0) {  // still copying
      if (ListShowsAlone()) {
        DisplayBackgroundMoveStatus();
        TAP_Osd_Sync();
      }
      return;
    }
    moveInBackgroundPID = 0;
    if (ended < 0) {
      RemovePartialCopies(GlbSourceFile, GlbTargetDir);
      EndBackgroundCopy(-1);
    } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
      RemovePartialCopies(GlbSourceFile, GlbTargetDir);
      EndBackgroundCopy(-2);
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      if (BackgroundMovePercent() >= 100) {
        selectionBytesDone += EntryBytes(GlbTargetDir, GlbSourceFile, false);
        MoveSuccess();
        if (MultiSelect) {
          CommenceMoveProcess();
        } else {
          moveInBackgroundComplete = 1;
          returnFromMove = 1;
        }
      } else {
        RemovePartialCopies(GlbSourceFile, GlbTargetDir);
        EndBackgroundCopy(-3);
      }
    } else {
      // A refused copy wrote nothing: what is in its way is not its own.
      if (!WIFEXITED(status) || WEXITSTATUS(status) != kCopyRefused) {
        RemovePartialCopies(GlbSourceFile, GlbTargetDir);
      }
      EndBackgroundCopy(-1);
    }
    if (moveInBackgroundComplete < 0) {
      LogEntryVexLibPrintf(true, "Pavrolinex: background copy of %s ended with outcome %d",
                           GlbSourceFile, moveInBackgroundComplete);
    }
    if (ListShowsAlone()) RefreshQuembryList(0);
    return;
  }
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    int copied = HDD_Copy(GlbSourceFile, GlbSourceDir, GlbTargetDir);
    _exit(copied == 1 ? 0 : copied < 0 ? kCopyRefused : 1);
  }
  if (pid < 0) {
    Message(text_ForkErrorTitle, text_ForkErrorA, Text(text_ForkErrorB));
    EndBackgroundCopy(-1);
    return;
  }
  // Also from this side: a cancel may come before the child has run at all.
  setpgid(pid, pid);
  moveInBackgroundPID = pid;
}

int BackgroundCopyDisplayPercent() {
  if (selectionEntries < 2 || selectionBytes == 0) return BackgroundMovePercent();
  uint64_t done = selectionBytesDone + EntryBytes(GlbTargetDir, GlbSourceFile, true);
  return (int)(done * 100 / selectionBytes);
}

void ReturnFromCancelBackgroundMoveYesNo(int answer) {
  if (answer != 1 || moveInBackgroundPID <= 0) return;
  MultiSelectClearAll();
  kill(-moveInBackgroundPID, SIGKILL);
}

void StopBackgroundCopy() {
  if (moveInBackgroundPID <= 0) return;
  kill(-moveInBackgroundPID, SIGKILL);
  int status = 0;
  waitpid(moveInBackgroundPID, &status, 0);
  moveInBackgroundPID = 0;
  RemovePartialCopies(GlbSourceFile, GlbTargetDir);
  moveInBackgroundComplete = -2;
  processInBackground = 0;
}

void MoveSuccess() {
  if (renameOnMove && RenameOnMoveOption == 2 && processInBackground != 1) {
    char line2[420];
    snprintf(line2, sizeof line2, "%.200s/%.200s", GlbTargetDir, GlbSourceFile);
    Message(text_MoveSuccessTitle, text_MovedRenamed, line2);
  }
  renameOnMove = 0;
  fileMoved = 1;
  fileMoved_MultiSelect = 1;
  if (GlbBGCAttr == ATTRIBUTE_FOLDER) folderMoved = 1;
  if (processInBackground != 1) {
    FileRecord* line = (FileRecord*)LineOf(move_CurrentDirNumber, move_chosenLine);
    if (line) {
      if (line->attribute == ATTRIBUTE_FILE) {
        DeleteProgressInfo(move_CurrentDirNumber, move_chosenLine, 0);
      }
      if (line->attribute == ATTRIBUTE_FOLDER) DeleteMyfilesFolderEntry(line->folderNumber);
      DeleteMyfilesEntry(move_CurrentDirNumber, move_chosenLine, 1);
    }
  }
  if (MultiSelect) MultiSelectClearFirst();
  if (windowShowing && !moveWindowShowing && ListShowsAlone()) RefreshQuembryList(0);
}
