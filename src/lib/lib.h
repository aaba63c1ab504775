// The support library: one source file per function, each named after it.
// Sections belong to their areas; append new declarations in a section of
// their own.
#ifndef PAVROLINEX_LIB_H
#define PAVROLINEX_LIB_H

#include <stdint.h>

#include "tap.h"

// ------------------------------------------------------------ text encodings
//
// DVB strings may begin with a character-table selector (bytes below 0x20);
// functions that count or position characters start after it. A "character"
// is one valid UTF-8 sequence of 2 to 4 bytes, or any other single byte.
// Null arguments make every function return at once (null, 0 or false).

// Code points of the byte values 0xA0..0xFF of each 8-bit character set; 0
// where the standard leaves a byte undefined. Part 7 is the 1987 edition.
extern const word UTFLookupISO8859_1[96];
extern const word UTFLookupISO8859_2[96];
extern const word UTFLookupISO8859_3[96];
extern const word UTFLookupISO8859_4[96];
extern const word UTFLookupISO8859_5[96];
extern const word UTFLookupISO8859_6[96];
extern const word UTFLookupISO8859_7[96];
extern const word UTFLookupISO8859_8[96];
extern const word UTFLookupISO8859_9[96];
extern const word UTFLookupISO8859_10[96];
extern const word UTFLookupISO8859_11[96];
extern const word UTFLookupISO8859_13[96];
extern const word UTFLookupISO8859_14[96];
extern const word UTFLookupISO8859_15[96];
extern const word UTFLookupISO8859_16[96];
// ISO 6937 single-byte characters; the diacritical bytes 0xC1..0xCF hold 0.
extern const word UTFLookupISO6937[96];
// ISO 6937 composition: entry i (3 bytes) of the first string is a diacritical
// byte, a base letter and a blank; entry i of the second the precomposed
// character in UTF-8 and a blank.
#define ISO6937_COMPOSITIONS 53
extern const char ISO6937DiacriticalPairs[];
extern const char ISO6937DiacriticalUTF8[];
// Latin-1 capitals and their lower-case partners, as two-byte UTF-8
// sequences (30 each) and as single ISO 8859-1 bytes (29 each).
extern const char UTF8Upper[];
extern const char UTF8Lower[];
extern const char AnsiUpper[];
extern const char AnsiLower[];

// True when the firmware works in UTF-8 (it offers its UTF-8 validation
// routine). Asked once; the first answer holds (UTFToppyMode, -1 until asked).
extern int UTFToppyMode;
bool isUTFToppy(void);
// The text past a DVB character-table selector; never past the terminator. A
// selector cut short by the terminator ends at it, so a text that begins
// 0x10 0x00 is empty here (StrToUTF8 alone reads behind that zero).
const char* SkipCharTableBytes(const char* text);
char* SkipCharTableBytes(char* text);
// True when p starts a valid 2..4 byte UTF-8 sequence; *length receives its
// length, else 1.
bool isUTF8Char(const char* p, byte* length);
// The code point of the character at p and its length in bytes (a byte that
// does not start a valid sequence stands for itself).
dword UTF8ToUTF32(const char* p, byte* length);
// Encodes one code point; out may be null to measure only.
void UTF32ToUTF8(dword codepoint, char* out, byte* length);
// hasUTF8: a valid multi-byte sequence occurs; hasLatin: a byte 0xA0 or above
// occurs outside one. Either output may be null.
void GetStringEncoding(const char* text, bool* hasLatin, bool* hasUTF8);
dword strlenUC(const char* text);
// The n-th character (from 0) after the selector, or the terminator.
char* GetUCPos(const char* text, int n);
// Inserts before character n; the caller guarantees room.
void InsertAt(char* text, int n, const char* insert);
// Removes count characters starting at character n.
void DeleteAt(char* text, int n, int count);
// Replaces every occurrence in place; the caller guarantees room. True when
// something was replaced.
bool StrReplace(char* text, const char* pattern, const char* replacement);
// Converts a DVB or 8-bit string to UTF-8. defaultTable: 1..11 and 13..16 an
// ISO 8859 part, anything else ISO 6937, used when the string has no
// selector. A source that begins with the selector 0x10 0x00 <table> is read
// past that zero: it must hold the table byte, and the text behind it up to
// its own terminator is converted. The destination needs
// StrToUTF8Size(source) bytes. True when any byte was converted.
bool StrToUTF8(const char* source, char* destination, byte defaultTable);
// The bytes StrToUTF8's destination needs: 3 * strlen(source) + 1, or
// 3 * strlen(source + 3) + 1 for a source that begins 0x10 0x00 <table>.
dword StrToUTF8Size(const char* source);
// Converts UTF-8 to ISO 8859-1; text with Latin bytes or without multi-byte
// sequences is copied unchanged. The destination needs strlen(source) + 1.
void StrToISO(const char* source, char* destination);
// As StrToISO into a new TAP_MemAlloc buffer owned by the caller (null for a
// null source or when memory is short).
void StrToISOAlloc(const char* source, char** result);
// StrToISO in place; false only when the work buffer cannot be allocated.
bool StrMkISO(char* text);
// Lower-cases ASCII and the Latin-1 capitals (UTF-8 or single bytes) in place.
void LowerCase(char* text);

// ---------------------------------------------------- paths, mounts, files
//
// Path buffers are 512 bytes; every destination must hold that much.

enum {
  PF_BareName = 0,          // x.rec
  PF_FirmwareFolder = 1,    // /DataFiles/Movies/
  PF_SystemFolder = 2,      // /mnt/hd/DataFiles/Movies/
  PF_FirmwareFilePath = 3,  // /DataFiles/Movies/x.rec
  PF_SystemFilePath = 4,    // /mnt/hd/DataFiles/Movies/x.rec
};
#define PATH_BUFFER_SIZE 512
#define SYSTEM_ROOT "/mnt/hd"

int GetPathType(const char* path);
// Writes source in the requested form; "" where no conversion exists.
// Source and destination may be the same buffer.
void ConvertPathType(const char* source, char* destination, int form);
int HDD_Exist(const char* path);
// Makes a folder (any form that converts to a firmware folder) the
// application's current firmware folder: 1 on success.
int HDD_ChangeDir(const char* folder);
// The mount holding a path: mount point and device, each with a trailing "/"
// (either output may be null). Non-zero when found.
int HDD_FindMountPointDevice(const char* path, char* mountPoint, char* device);
int HDD_FindMountPoint(const char* path, char* mountPoint);
int CheckSameMount(const char* path, const char* mountPoint);
int HDD_GetFileSizeAndInode(const char* path, uint64_t* inode, uint64_t* size);
uint64_t HDD_GetInodeByFileName(const char* path);
// Inode of "/mnt/hd" + folderPath + "/" + name; 0 for a null name.
uint64_t HDD_GetInodeByFolderAndFile(const char* folderPath, const char* name);
int HDD_GetAbsolutePathByTypeFile(const TYPE_File* file, char* out);
// 0 neither played nor recorded; 1 played; 2 played with play mode 5;
// 3 + slot recorded by that slot.
int HDD_isFileInUse(const char* path);
// Rewrites a system file path in place into a name that is free, together
// with its ".inf" and ".nav" companion names.
void MakeUniqueFileName(char* path);
// Splits a path into folder (with its "/"), name, extension (with its dot),
// index (a trailing "-1".."-9"), recording and recycled flags. Every output
// but name may be null; string outputs are path buffers.
void SeparateFileNameComponents(const char* path, char* folder, char* name, char* extension,
                                int* index, bool* isRecording, bool* isRecycled);
// Renames a file and its ".inf"/".nav" companions to a free name derived from
// `to`: 1 when the main file was renamed.
int HDD_Rename(const char* from, const char* to);
bool HDD_isRecFileName(const char* name);
bool StringEndsWith(const char* string, const char* suffix);

enum {
  LC_Control = 1,       // control bytes but line feed, C1 bytes outside UTF-8
  LC_LineFeed = 2,      // line feed and byte 138
  LC_Reserved = 4,      // " * / : < > ? \ |
  LC_PrintableOnly = 8  // everything outside 32..126
};
bool isLegalChar(const char* character, int flags);
void ValidFileName(const char* source, int flags, char* destination, int size);
void MakeValidFileName(char* name, int flags);

enum {
  INILOCATION_NotFound = 0,
  INILOCATION_AtCurrentDir = 2,
  INILOCATION_AtAppDir = 3,
  INILOCATION_AtSettingsDir = 4,
  INILOCATION_AtProgramFiles = 5,
};
int INILocateFile(const char* fileName, const char* applicationFolder);

// The application's current firmware folder ("/DataFiles/Movies", "/" for the
// root); false when the firmware cannot tell.
bool HDD_TAP_GetCurrentDir(char* currentDir);
#define TAP_DIR_STACK_SIZE 16
#define TAP_DIR_LENGTH 200
extern char TAPDirStack[TAP_DIR_STACK_SIZE][TAP_DIR_LENGTH];
extern int TAPDirStackDepth;
int HDD_TAP_PushDir(void);
void HDD_TAP_PopDir(void);

bool InDataFilesFolder(const char* path);
bool InDataFilesSubFolder(const char* path);
bool InProgramFilesFolder(const char* path);

// ------------------------------------------------------ firmware internals

TYPE_TapTask* FIS_vTAPTable(void);   // the application table, null when unknown
dword* FIS_vCurTapTask(void);        // index of the running application
int HDD_TAP_GetIndexByID(dword id);  // slot 0..15, -1 when not running
bool HDD_TAP_isRunning(dword id);
// Calls the event handler of application `id` (0: every application in slot
// order; with intercept, stopping at the first that returns 0) as the
// firmware would, with the current-application index set to the receiver.
dword HDD_TAP_SendEvent(dword id, bool intercept, word event, dword param1, dword param2);

// ------------------------------------------------------------ time, logging

// The recorder's local time as a packed stamp (MJD << 16 | hour << 8 | min);
// *second receives the seconds (may be null).
dword Now(byte* second);
#define TIMESTAMP_NONE 0
#define TIMESTAMP_YMDHMS 5  // "2026-12-07 19:35:02"
// The stamp text in the given format ("" for TIMESTAMP_NONE or an unknown
// format). The text lives in a static buffer until the next call.
const char* TimeFormat(dword stamp, byte second, int timeFormat);
// Appends "<stamp> <message>\r\n" to fileName (relative to the current
// firmware folder) and, with echo, copies it to the network output.
void LogEntry(const char* fileName, const char* name, bool echo, int timeFormat,
              const char* message);
// The library's own log "VexLib.log" (written only when the file exists);
// echo also sends the line to the network output.
void LogEntryVexLibPrintf(bool echo, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Writes the text to the first pseudo-terminal that opens; dropped if none.
void PrintNet(const char* text);
void DebugPrintTextAndTime(const char* text, dword stamp);

// ------------------------------------------- firmware description file

#define FIRMWAREDAT_NAME "FirmwareTMS.dat"
#define FIRMWAREDAT_MAGIC 0x12345678u
#define FIRMWAREDAT_MODEL_SIZE 348

typedef enum {
  ST_UNKNOWN,
  ST_S,
  ST_T,
  ST_C,
  ST_T5700,
  ST_TMSS,
  ST_TMST,
  ST_TMSC,
  ST_T5800,
  ST_ST,
  ST_CT,
  ST_TF7k7HDPVR,
  ST_NRTYPES
} SYSTEM_TYPE;

typedef struct tFWDATHeader {
  dword magic;        // FIRMWAREDAT_MAGIC
  dword compileDate;  // year << 16 | month << 8 | day
  dword reserved;     // 0
  dword nModels;
  dword nFirmwares;
} tFWDATHeader;

// A model record; every field lies at its natural alignment in the file, and
// the image is held in an allocated (aligned) buffer.
typedef struct tFWDATModel {
  word sysID;
  word reserved0;
  char deviceName[256];
  char appType[32];
  dword systemType;  // SYSTEM_TYPE
  byte reserved1[20];
  dword displayType;  // 0 LED, 1 dot matrix VFD, 2 Masterpiece VFD
  dword remoteType;   // 0 "5000", 1 "2100", 2 "7100+", 3 "7260+"
  dword maxRecStreams;
  byte recSuffixMpg;  // 0 ".rec", otherwise ".mpg"
  byte reserved2[19];
} tFWDATModel;

static_assert(sizeof(tFWDATHeader) == 20, "description file header is 20 bytes");
static_assert(sizeof(tFWDATModel) == FIRMWAREDAT_MODEL_SIZE, "model record is 348 bytes");

extern byte* FWDATBin;
extern dword FWDATSize;
extern SYSTEM_TYPE SystemType;
extern dword GlobalRemoteType;
extern byte RecSlots;  // HDD_NumberOfRECSlots once known, 0 before

bool LoadFirmwareDat(tFWDATHeader** header, tFWDATModel** firstModel, byte** firstFirmware);
word FirmwareDatMJD(void);
word GetSysID(void);
SYSTEM_TYPE GetSystemType(void);
// The model's recording streams, never more than the slots the firmware has
// (TAP_Hdd_GetRecInfo answers them); 2 (or fewer, as the firmware has) when
// the file does not tell.
byte HDD_NumberOfRECSlots(void);
// The files a slot below HDD_NumberOfRECSlots() writes; false (and nulls)
// for any other slot or when the firmware's table is unknown.
bool HDD_GetRecSlotFiles(byte slot, TYPE_File** file1, TYPE_File** file2, TYPE_File** file3);
void FindGlobalRemoteType(void);

// ------------------------------------------------------ other applications
//
// Application images are ELF shared objects; their header lives in the
// section ".tap_header". An image counts as an application only when it is an
// ELF object of the firmware's own machine with that header.

// Reads the header of the application file `fileName` (in the current
// firmware folder): true when the file is an application image.
bool HDD_TAP_GetInfo(const char* fileName, TYPE_TapHeader* header);
// Starts the application file `fileName` of the current firmware folder and
// copies its header into info (may be null). The parameter block, when given,
// is handed to the application in shared memory (not used by this
// application). True when the firmware loaded and started it.
bool HDD_TAP_Start(const char* fileName, bool batchMode, void* parameterBlock,
                   TYPE_TapHeader* info);
// Asks the running application `id` to end (a stop request as the firmware
// sends it); true when it was running.
bool HDD_TAP_Terminate(dword id);

// The library's start-up work (the application table must be reachable);
// true once done.
bool InitTAPex(void);

// A channel to a server application: allocated by the client, handed to the
// server synchronously as event 0x0FFF with the channel in param1.
#define TAPCOM_MAGIC 0x14011965u
#define TAPCOM_VERSION 14
#define EVT_TAPCOM_CHANNEL 0x0FFF
enum {
  TAPCOM_Status_OPEN = 0,
  TAPCOM_Status_SERVER_NOT_AVAILABLE = 1,
};
typedef struct TAPCOM_Channel {
  dword magic;    // TAPCOM_MAGIC
  dword version;  // TAPCOM_VERSION
  dword reserved;
  dword fromId;  // the client
  dword toId;    // the server
  dword status;  // TAPCOM_Status_...
  dword serviceId;
  dword parameterVersion;
  void* parameters;
  dword returnValue;
  dword reserved2;
} TAPCOM_Channel;

// Opens a channel and delivers it to the server when it runs; null when the
// library cannot be initialised or memory is short.
TAPCOM_Channel* TAPCOM_OpenChannel(dword server, dword service, dword parameterVersion,
                                   void* parameters);
// Frees a channel this application opened; others are left alone.
void TAPCOM_CloseChannel(TAPCOM_Channel* channel);
bool isValidChannel(const TAPCOM_Channel* channel);

// ------------------------------------------------------------ channel logos

// The logo file name of a channel (without ".jpg"): Latin-1, lower case,
// letters, digits and "+" only, with ae/oe/ue for the umlauts; at most
// size - 1 bytes.
void LogoManager_ChannelNameToLogoName(const char* channelName, char* logoName, int size);
// The 64-bit channel identifier of a service (0 when the firmware does not
// know it) and the way it is put together from its four parts.
unsigned long long LogoManager_GetChannelID(int type, int serviceNumber);
unsigned long long LogoManager_CalculateChannelID(word a, word b, word c, word d);

// ------------------------------------------------------------ firmware internals

// The address of an internal symbol of the running firmware by its name (see
// tap.h for the known ones), looked up in the firmware's program; null when
// the firmware does not have it or the name is null.
void* TryResolve(const char* name);

#endif
