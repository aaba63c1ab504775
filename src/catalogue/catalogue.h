// catalogue.h - the in-memory picture of the recorder's disk: one FolderRecord per
// scanned folder and one FileRecord per list line, the folder scan that fills and
// reconciles them, the recording headers and the sort orders of the list.
#pragma once

#include <stdint.h>

#include "catalogue/elsewhere.h"
#include "tap.h"

// ------------------------------------------------------------------ records

// The platform's directory entry, as TAP_Hdd_FindFirst / TAP_Hdd_FindNext fill it.
typedef TYPE_DirEntry DirEntry;

enum {
  ATTRIBUTE_FILE = 208,    // 0xD0
  ATTRIBUTE_FOLDER = 224,  // 0xE0
  ATTRIBUTE_PARENT = 250,  // 0xFA
};

// One list line: a file, a subfolder line or the parent-folder line.
struct FileRecord {
  dword attribute;  // ATTRIBUTE_FILE, ATTRIBUTE_FOLDER or ATTRIBUTE_PARENT
  dword stamp;      // packed stamp: MJD << 16 | hour << 8 | minute
  dword inode;      // inode of "/mnt/hd" + folderPath + "/" + name; 0 for parent lines
  char name[127];
  char sortName[127];
  char folderPath[200];  // firmware path of the folder that holds the entry
  int32_t folderNumber;  // files: their folder; folder lines: the subfolder; parent: the parent
  byte encryption;       // header flag byte; 0 without header
  uint64_t size;
  dword playingNow;
  dword hasHistory;
  dword isNew;
  dword totalBlocks;
  dword positionBlock;
  int32_t serviceNumber;  // -1 when the service is not in the channel lists
  dword serviceType;      // 0 TV, 1 radio
  dword durationMinutes;
  dword recordedSeconds;
  char serviceName[23];
  char appAuthor[64];
  dword appId;
  dword eventNameLength;
  dword eventByte;
  char eventName[256];
  char eventDescription[256];
  dword extTextLength;
  char extText[1024];
  int32_t eventDurationMinutes;
  dword eventStartMjd, eventStartHour, eventStartMinute;
  dword eventEndMjd, eventEndHour, eventEndMinute;
  dword recordingNow;
  dword present;
  byte reserved[24];  // pads the record to the recorder's 2224 bytes
};

// One scanned folder.
struct FolderRecord {
  char name[127];  // empty: a dropped folder
  int32_t folderNumber;
  int32_t entryCount;  // occupied slots 1 .. entryCount
  int32_t subfolderCount;
  int32_t fileCount;
  uint64_t totalSize;
  int32_t parentNumber;
  int32_t newFileCount;
  int32_t newFolderCount;  // folders below (any depth) holding at least one new file
  dword lastViewed;        // packed stamp
};

struct LastViewEntry {
  char path[127];
  dword lastViewed;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(FileRecord) == 2224, "list line is 2224 bytes");
static_assert(offsetof(FileRecord, name) == 12, "name at 12");
static_assert(offsetof(FileRecord, folderPath) == 266, "folder path at 266");
static_assert(offsetof(FileRecord, folderNumber) == 468, "folder number at 468");
static_assert(offsetof(FileRecord, encryption) == 472, "encryption at 472");
static_assert(offsetof(FileRecord, size) == 480, "size at 480");
static_assert(offsetof(FileRecord, serviceName) == 524, "service name at 524");
static_assert(offsetof(FileRecord, appId) == 612, "application id at 612");
static_assert(offsetof(FileRecord, eventName) == 624, "event name at 624");
static_assert(offsetof(FileRecord, extText) == 1140, "extended text at 1140");
static_assert(offsetof(FileRecord, present) == 2196, "present at 2196");
static_assert(sizeof(FolderRecord) == 168, "folder record is 168 bytes");
static_assert(offsetof(FolderRecord, totalSize) == 144, "total size at 144");
static_assert(offsetof(FolderRecord, lastViewed) == 164, "last viewed at 164");
static_assert(sizeof(LastViewEntry) == 132, "last-view entry is 132 bytes");
static_assert(sizeof(DirEntry) == 152, "directory entry is 152 bytes");
#endif

// ------------------------------------------------------------------ tables

#define MAX_FOLDERS 400
#define MAX_SLOTS 1000  // slots per folder; lines use 1 .. 999
#define MAX_FOLDER_LINES 999
#define NAME_FIELD 127  // name fields: at most 126 characters
#define PATH_FIELD 200  // folder paths: at most 199 characters

extern FolderRecord* myfolders[MAX_FOLDERS];
extern FileRecord* myfiles[MAX_FOLDERS * MAX_SLOTS];  // folder n, slot j: n * 1000 + j
extern int numberOfFolders;                           // highest folder index in use
extern LastViewEntry folderLastViewInfo[MAX_FOLDERS];
extern int numberOfFolderLastViewInfo;  // highest valid index, inclusive
extern int CurrentDirNumber;
extern int numberOfFiles;
extern int maxShown;
extern DirEntry file, newfile, blankFile;
extern FileRecord currentFile;
extern FolderRecord currentFolder;
extern int initialLoad;  // 1 while the full scan from the root runs

// The line in slot `slot` of folder `n` (may be null).
inline FileRecord*& FileSlot(int n, int slot) { return myfiles[n * MAX_SLOTS + slot]; }

// Start-up state of the tables: every pointer empty, folder 0 and slots 0 and 1 of
// folder 0 allocated and zeroed. Returns 0, or -1 when the firmware heap is exhausted.
int InitialiseCatalogue(void);
// Frees every record; the tables end empty (termination).
void ReleaseCatalogue(void);
void CreateBlankFile(void);

// ------------------------------------------------------ classification, navigation

// 1: a name the list takes under the file filter (tempFileSuffixOption); 2: such a
// name with the recycle marker ".del"; 0: neither. Letter case is ignored.
int IsFileRec(const char* name);
int IsFileRec_Valid(const char* name);
// 2: ends in ".del"; 1: an application file (".tap"); 0: neither.
int IsFileTAP(const char* name);
// Whether the firmware plays or records the file `name` of the firmware
// folder `folder`, or the recording whose recycled companion it is
// (x.rec.inf.del of x.rec.del): such a file stays in every cleanout.
bool RecycledFileInUse(const char* folder, const char* name);
void ChangeDirRoot(void);
// Changes to "/" and then to `path`; true when `path` was entered.
bool GotoPath(const char* path);
// Writes `path` + "/" + `name` uncut into `out` (`size` bytes; a path buffer of
// 512 holds any); true when the whole path fits the catalogue's folder paths
// (PATH_FIELD - 1 characters). A folder whose path does not fit is listed in its
// parent but never scanned or entered, so that no cut path reaches a record or a file.
bool JoinFolderPath(char* out, int size, const char* path, const char* name);
void GotoDataFiles(void);
// The firmware path of folder i: `root`, its ancestors' names, its own name
// (PATH_FIELD bytes). False when the chain of parents is broken or the path
// too long.
bool BuildFolderPath(int i, const char* root, char* path);
void GotoProgramFiles(void);

// ------------------------------------------------------------------ scan

// Scans the firmware's current directory, which must be `path`, into folder
// `folderNumber`: known lines are marked present, new ones appended; descends `depth`
// levels (99: all) and reads the headers of folder `headerFolder`'s files. Returns 0,
// or -1 after a limit message (what was scanned so far stays). The caller drops the
// lines left not present.
int LoadQuembryInfo(const char* path, int folderNumber, int parentNumber, int depth,
                    int headerFolder);
// Full rescan from /DataFiles, reconciled; leaves the firmware in CurrentDir and the
// shown folder sorted.
void loadInitialQuembryInfo(int depth, int headerFolder);
// Rescan of the shown folder (CurrentDir, CurrentDirNumber) with its headers; a shown
// folder that is gone is left as it is.
void loadSubsequentQuembryInfo(int depth);
// Rescan of every known folder without recursion; starts the tables afresh when the
// list mode changed (TAPManagerModeChanged).
void reloadInitialQuembryInfo(int depth, int headerFolder);

void AddNewFile(const char* path, int folderNumber, int slot, DirEntry* entry);
void AddNewFolder(const char* path, int folderNumber, int slot, DirEntry* entry,
                  int newFolderNumber);
void AddNewParentFolder(const char* path, int folderNumber, int slot, int parentNumber);
void AddCommonInfo(const char* path, int folderNumber, int slot, DirEntry* entry);
// Whether the line in `slot` is this entry of `path`; marks it present when it is.
bool FileExists(const char* path, DirEntry* entry, int folderNumber, int slot);
// The first line 1 .. entryCount that is this entry; *slot = -1 when the folder's
// first slots cannot be allocated (the entry must not be added then).
bool FileExistsInList(const char* path, DirEntry* entry, int folderNumber, int* slot);

void SetDirFilesToNotPresent(int n);
void SetAllFilesToNotPresent(void);
void DeleteDirFilesNotPresent(int n);
void DeleteAllFilesNotPresent(void);
// Drops one line, keeping the folder's counters, and closes the gap; with
// `dropHistory` (normal mode) the file's viewing progress goes too.
void DeleteMyfilesEntry(int n, int slot, int dropHistory);
// Empties folder n and the folders below it; its record stays, with an empty name.
void DeleteMyfilesFolderEntry(int n);
// Frees folder record n and moves the following ones down by one.
void DeleteMyfoldersEntry(int n);
void ResetAllFiles(void);
void ResetAllFolders(void);

void SetLastView(const char* path, int n);
void SetDirectoryLastViewed(int n);
bool AfterLastView(const char* path, int n, DirEntry* entry);
void CascadeFolderHasNewChange(int n, int delta);
void ResetNewFileIndicators(int n);

// Counts the listed files and the subfolders of the subfolder `path` of the current
// directory without touching the catalogue; the current directory stays.
void CountFolderFilesAndSubfolders(const char* path, int* files, int* folders);
// Channel number of a service in the TV list (type 0) or the radio list; -1: absent.
int GetSvcNumBySvcId(int serviceId, int serviceType);
// Reads the four recording slots into recInfo (empty names for slots not recording).
void GetRecordingInfo(void);
// Marks line `slot` of folder n as being recorded, with the slot's data, or not.
void LoadRecordingInfo(int n, int slot);
extern TYPE_RecInfo recInfo[4];

// Current time as a packed stamp (seconds ignored); 0 while the clock is unknown.
dword PackedNow(void);

// ------------------------------------------------------------------ headers

#define INF_READ_SIZE 2128          // what the direct reader reads
#define RECHEADER_BUFFER_SIZE 5000  // what the general decoder may look at

// The header and navigation names of a recording (x.rec.del: x.rec.inf.del) into
// buffers of 127 bytes; both empty when they would not fit.
void MakeInfNavNames(const char* name, char* infName, char* navName);
// Fills the header fields of a line from the header of `name` in the current
// directory (in application-manager mode: from the application file itself).
void LoadHeaderInfo(const char* name, int folderNumber, int slot);
// Sets the firmware's resume position in the recording's header to 0.
void ResetInfStartPosition(const char* name);
// Empties the header fields of a line (no header, or a foreign one).
void ClearHeaderFields(FileRecord* record);

// The decoded header: filled by HDD_DecodeRECHeader and its family decoders.
struct RECHeaderInfo {
  dword magic;
  word version;
  dword recordingStart;  // packed stamp
  word recordingDuration;
  byte crypt;
  byte serviceType;
  word serviceId;
  char serviceName[25];
  dword eventStart, eventEnd;  // packed stamps
  word eventDuration;          // hours << 8 | minutes
  byte eventNameLength;
  char eventName[274];
  word extTextLength;
  char extText[2049];
  dword bookmarkCount;
  dword bookmarks[177];
  dword resumeBlock;
};

extern int WrongEndian;
word getWord(const void* p, int swap);
dword getDword(const void* p, int swap);
// `buffer` must hold RECHEADER_BUFFER_SIZE bytes (pad a short file with zeros).
int HDD_DecodeRECHeader(const byte* buffer, RECHeaderInfo* info, int systemType);
int HDD_DecodeRECHeader_ST_S(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_T(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_C(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_T5700(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_TMSS(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_TMST(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_TMSC(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_T5800(const byte* buffer, RECHeaderInfo* info);
int HDD_DecodeRECHeader_ST_TF7k7HDPVR(const byte* buffer, RECHeaderInfo* info);
// Replaces zero bytes inside the text (not its last byte) by spaces and every
// backslash-n by the broadcast line break 0x8A; returns the new length.
int CleanExtendedText(char* text, int length);

// ------------------------------------------------------------------ sorting

extern char suffix[127];
extern int sortOrder;
extern char sortTitle[20];

// Sorts the lines of the shown folder in order 0 .. 5 (others: by name) and sets
// sortTitle; the parent line, then the folders stay on top.
void SortList(int order);
// The name without suffix, duplicate counter and date or weekday stamp (127 bytes).
void FormatSortName(char* sortName, const char* name);
// Cuts the suffix (".rec", or ".rec.del" for a recycled name) off and keeps it in suffix.
void StripFileName(char* name);
// Whether `name` ends in a text of the form `pattern` ("*YYYY*MM*DD", " DDD", ...).
bool MatchFileStamp(const char* pattern, const char* name);
// The weekday name (0 Monday .. 6 Sunday) in the current language, or "BAD" (12 bytes).
void WeekdayToAlpha(int day, char* out);
