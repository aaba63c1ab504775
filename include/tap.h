/*
 * tap.h - the recorder firmware's application interface.
 *
 * This is the one seam between an application and whatever runs it: the
 * recorder's firmware library on the box, the emulated recorder on a PC.
 * Records carry the layout of the recorder (MIPS32, little-endian, 32-bit
 * pointers); the offsets are checked below on 32-bit targets. Where a record
 * holds a pointer, a 64-bit host lays it out differently and applications
 * read such records by field name only.
 */
#ifndef TAP_H
#define TAP_H

#include <stddef.h>
#include <stdint.h>

#include "tap_keys.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uint8_t byte;
typedef uint16_t word;
typedef uint32_t dword;

/* ---------------------------------------------------------------- events */

enum {
  EVT_IDLE = 0x0000,
  EVT_KEY = 0x0100,
  EVT_STOP = 0x0900,         /* param1: 0 power, 1 user, other */
  EVT_TSRCOMMANDER = 0x0B00, /* TSR Commander request, param1 = code */
  EVT_TAPCOM = 0x0C00,       /* message from another application */
  EVT_KEY_TRANSLATED = 0x0FFD,
};

/* ------------------------------------------------------ application image */

/* The 32-byte header the firmware reads from an application image, followed
 * by its identity texts. It lives in its own section and under the symbol
 * name `_tap_header`, where the loader looks for it. */
typedef struct TYPE_TapHeader {
  char magic[8];        /* "TFAPMIPS" */
  dword headerVersion;  /* TAP_HEADER_VERSION */
  dword id;             /* application id */
  dword apiVersion;     /* TAP_API_VERSION */
  dword flags;          /* reserved, 0 */
  dword reserved[2];    /* pads the fixed part to 32 bytes */
  char programName[64]; /* "Name vX.Y" */
  char authorName[64];
  char description[128];
  char etcInfo[64];
} TYPE_TapHeader;

#define TAP_HEADER_MAGIC "TFAPMIPS"
#define TAP_HEADER_VERSION 0x0100u
#define TAP_API_VERSION 0x0512u
#define TAP_HEADER_SYMBOL "_tap_header"

/* Declares an application's header. Use once, at file scope, in C++. */
#define TAP_APPLICATION_HEADER(id_, name_, author_, description_, etc_)                 \
  extern "C" __attribute__((used, visibility("default"), section(".tap_header")))       \
  const TYPE_TapHeader _tap_header = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'}, TAP_HEADER_VERSION, (id_),       \
                                      TAP_API_VERSION,  0,                  {0, 0},     \
                                      name_,            author_,            description_, \
                                      etc_}

/* Entry points an application exports. */
int TAP_Main(void);
dword TAP_EventHandler(word event, dword param1, dword param2);

struct TYPE_TapTask;
/* Optional init entry: called before TAP_Main with the application's record
 * of the firmware's table; it stores TAP_Main and then TAP_EventHandler into
 * the record. Without it the firmware takes both entry points by name. */
void __TAP_Init_(struct TYPE_TapTask* task);

/* ------------------------------------------------------------ control */

void TAP_Exit(void);
void TAP_ExitNormal(void);  /* take the screen from normal viewing */
void TAP_EnterNormal(void); /* give it back */
int TAP_GenerateEvent(word event, dword param1, dword param2);
void TAP_GetState(dword* state, dword* subState);
word TAP_GetSystemId(void);
dword TAP_GetTick(void);    /* 1/100 s since the firmware started */
void TAP_Delay(dword ticks); /* waits ticks of 1/100 s */
int TAP_SPrint(char* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
int TAP_Print(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* Firmware states reported by TAP_GetState. */
enum {
  STATE_Normal = 0,
  STATE_Menu = 1,
  STATE_Epg = 2,
  STATE_Game = 3,
  STATE_FileList = 4,
  SUBSTATE_Normal = 31,
  SUBSTATE_PvrPlayingSearch = 49,
  SUBSTATE_PvrTimeSearch = 50, /* the playback banner */
  SUBSTATE_PvrRecSearch = 51,
  SUBSTATE_PhotoAlbum = 98,
  SUBSTATE_YoutubeSearch = 101,
};

/* ------------------------------------------------------------ memory */

void* TAP_MemAlloc(dword size);
int TAP_MemFree(const void* block);
void TAP_MemSet(void* block, byte value, dword size);
void TAP_MemCpy(void* dst, const void* src, dword size);

/* ------------------------------------------------------------ time */

/* Modified Julian Date of a calendar date. */
word TAP_MakeMjd(word year, byte month, byte day);
/* Calendar date of a Modified Julian Date; weekDay 0 = Monday. */
int TAP_ExtractMjd(word mjd, word* year, byte* month, byte* day, byte* weekDay);
/* The recorder's local clock; returns 0 while no valid time is known. */
int TAP_GetTime(word* mjd, byte* hour, byte* min, byte* sec);

/* ------------------------------------------------------------ display */

/* Graphics for TAP_Osd_PutGd: straight (not premultiplied) ARGB pixels. */
typedef struct TYPE_GrData {
  dword version; /* TAP_GRDATA_VERSION */
  word width;
  word height;
  const dword* argb; /* width x height pixels, rows top to bottom */
} TYPE_GrData;
#define TAP_GRDATA_VERSION 1u

typedef struct TYPE_OsdBaseInfo {
  dword* frameBuffer; /* first pixel of the plane, 720 pixels of 4 bytes a row */
  dword width;
  dword height;
} TYPE_OsdBaseInfo;

#define OSD_WIDTH 720
#define OSD_HEIGHT 576

/* Returns a region handle, or 0xFFFF when no region can be created. Region 0
 * is the firmware's own display (plane 0): applications may read it; their
 * own regions are numbered from 1. */
word TAP_Osd_Create(dword x, dword y, dword w, dword h, byte lutIdx, int flag);
int TAP_Osd_Delete(word rgn);
void TAP_Osd_Sync(void);
int TAP_Osd_FillBox(word rgn, dword x, dword y, dword w, dword h, dword color);
int TAP_Osd_DrawRectangle(word rgn, dword x, dword y, dword w, dword h, dword thick,
                          dword color);
int TAP_Osd_PutPixel(word rgn, dword x, dword y, dword pix);
dword TAP_Osd_GetPixel(word rgn, dword x, dword y);
/* Draws a graphic; blends it over the region when `blend` is non-zero. */
int TAP_Osd_PutGd(word rgn, int x, int y, const TYPE_GrData* gd, int blend);
/* Draws a JPEG image scaled into the box (w, h). */
int TAP_Osd_DrawJpeg(word rgn, dword x, dword y, dword w, dword h, const void* jpeg,
                     dword size);
/* Saves a rectangle into a buffer from TAP_MemAlloc; free it with TAP_MemFree. */
byte* TAP_Osd_SaveBox(word rgn, dword x, dword y, dword w, dword h);
void TAP_Osd_RestoreBox(word rgn, dword x, dword y, dword w, dword h, const void* data);
int TAP_Osd_Copy(word srcRgn, word dstRgn, dword srcX, dword srcY, dword w, dword h,
                 dword dstX, dword dstY, int sprite);
/* Firmware text output (the firmware's own font). */
int TAP_Osd_PutS(word rgn, dword x, dword y, dword maxX, const char* str, dword fcolor,
                 dword bcolor, byte fntType, byte fntSize, byte bDot, byte align);
/* Plane 0 is the firmware's own display. */
int TAP_Osd_GetPlaneBaseInfo(TYPE_OsdBaseInfo* info, int plane);

/* ------------------------------------------------------------ disk */

/* A directory entry, as TAP_Hdd_FindFirst/FindNext fill it. */
typedef struct TYPE_DirEntry {
  dword attr;      /* ATTR_NORMAL file, ATTR_FOLDER folder */
  dword reserved0; /* start cluster on the recorder, not used */
  dword stamp;     /* packed date-time: MJD << 16 | hour << 8 | minute */
  dword reserved1;
  dword sizeLow; /* size in bytes, low word first */
  dword sizeHigh;
  char name[128];
} TYPE_DirEntry;

enum { ATTR_NORMAL = 0xD0, ATTR_FOLDER = 0xE0, ATTR_PARENT = 0xFA };

/* An open file of the firmware. */
typedef struct TYPE_File {
  dword magic;     /* TAP_FILE_MAGIC while open */
  dword mode;      /* TAP_FILE_READ, TAP_FILE_WRITE or both */
  int handle;      /* the firmware's own handle */
  char path[512];  /* the file's absolute system path */
} TYPE_File;

#define TAP_FILE_MAGIC 0x46494C45u
enum { TAP_FILE_READ = 1, TAP_FILE_WRITE = 2 };

/* All names are relative to the application's current firmware folder. */
int TAP_Hdd_ChangeDir(const char* dir); /* 1 on success; ".." goes up */
TYPE_File* TAP_Hdd_Fopen(const char* name); /* read and write; 0 when missing */
dword TAP_Hdd_Fread(void* buf, dword blksize, dword blcnt, TYPE_File* file);
dword TAP_Hdd_Fwrite(const void* buf, dword blksize, dword blcnt, TYPE_File* file);
dword TAP_Hdd_Fseek(TYPE_File* file, long pos, dword where); /* SEEK_SET/CUR/END */
dword TAP_Hdd_Ftell(TYPE_File* file);
dword TAP_Hdd_Flen(TYPE_File* file);
void TAP_Hdd_Fclose(TYPE_File* file);
/* File or folder; 0 on failure. An existing folder is left alone (success);
 * an existing file is emptied. */
dword TAP_Hdd_Create(const char* name, byte attr);
int TAP_Hdd_Delete(const char* name);              /* file or empty folder */
int TAP_Hdd_Exist(const char* name);
int TAP_Hdd_Rename(const char* oldName, const char* newName); /* 1; 0 when the new name exists */
/* Lists the current folder (never "." or ".."): fills the first entry and
 * returns the number of entries matching `ext` ("*" or 0 for all). */
dword TAP_Hdd_FindFirst(TYPE_DirEntry* entry, const char* ext);
dword TAP_Hdd_FindNext(TYPE_DirEntry* entry); /* 1 while an entry was filled */
dword TAP_Hdd_FreeSize(void);  /* MB */
dword TAP_Hdd_TotalSize(void); /* MB */

/* ------------------------------------------------------- playback, recording */

/* Event information of a service or recording, 280 bytes. */
typedef struct TYPE_TapEvent {
  dword evtId;
  dword startTime; /* packed stamp */
  dword endTime;   /* packed stamp */
  word duration;   /* hours << 8 | minutes */
  byte runningStatus;
  byte parentalRating;
  char eventName[128];
  char description[128];
  word svcId;
  word orgNetId;
  word tsId;
  byte satIdx;
  byte reserved;
} TYPE_TapEvent;

/* The firmware's play information, 308 bytes on the recorder. */
typedef struct TYPE_PlayInfo {
  byte playMode;  /* PLAYMODE_Playing, PLAYMODE_Mp3/media, anything else: idle */
  byte trickMode; /* TRICKMODE_Pause while paused */
  byte speed;
  byte svcType; /* 0 TV, 1 radio */
  word svcNum;
  word duration; /* minutes */
  word durationSec;
  word reserved0;
  dword currentBlock;
  dword totalBlock;
  TYPE_DirEntry* file; /* the played file (for recordings: its ".inf") */
  TYPE_TapEvent evtInfo;
  dword repeatStatus;
} TYPE_PlayInfo;

enum {
  PLAYMODE_None = 0,
  PLAYMODE_Playing = 2,
  PLAYMODE_Paused = 5,
  PLAYMODE_Media = 8,
};
enum { TRICKMODE_Normal = 0, TRICKMODE_Forward = 1, TRICKMODE_Rewind = 2, TRICKMODE_Pause = 4 };

/* One recording slot, as TAP_Hdd_GetRecInfo reports it. */
typedef struct TYPE_RecInfo {
  byte recType; /* RECTYPE_Normal or RECTYPE_Copy: recording to a file */
  byte tuner;
  byte reserved0;
  byte svcType;
  word svcNum;
  word duration; /* minutes */
  dword startTime; /* packed stamp */
  dword endTime;   /* packed stamp */
  dword recordedSec;
  char fileName[128];
} TYPE_RecInfo;

enum { RECTYPE_None = 0, RECTYPE_Normal = 1, RECTYPE_Timeshift = 2, RECTYPE_Copy = 3 };

int TAP_Hdd_PlayTs(const char* name); /* 0 on success */
int TAP_Hdd_StopTs(void);
int TAP_Hdd_GetPlayInfo(TYPE_PlayInfo* info);
int TAP_Hdd_ChangePlaybackPos(dword block);
/* 1 for every slot the firmware has (recording or not), 0 beyond them */
int TAP_Hdd_GetRecInfo(byte slot, TYPE_RecInfo* info);
int TAP_Hdd_StopRecord(byte slot); /* 1 on success */
int TAP_Hdd_SetBookmark(void);

/* ------------------------------------------------------------ channels */

enum { SVC_TYPE_Tv = 0, SVC_TYPE_Radio = 1 };

/* A service of the channel list, 72 bytes. */
typedef struct TYPE_TapChInfo {
  char chName[24];
  word svcType;
  word svcId;
  word pmtPid;
  word pcrPid;
  word videoPid;
  word audioPid;
  word tsId;
  word orgNetId;
  byte satIdx;
  byte reserved0[3];
  char satName[24];
  word logicalChNum; /* channel number shown to the user */
  word reserved1;
} TYPE_TapChInfo;

void TAP_Channel_GetTotalNum(int* nTvSvc, int* nRadioSvc);
int TAP_Channel_GetInfo(int svcType, int svcNum, TYPE_TapChInfo* info); /* 1 on success */
int TAP_Channel_GetCurrent(int* svcType, int* svcNum);
int TAP_Channel_Start(int mainSub, int svcType, int svcNum); /* 1 on success */
int TAP_Channel_IsStarted(int mainSub);

/* A timer of the recorder. */
typedef struct TYPE_TimerInfo {
  byte isRec;
  byte tuner;
  byte svcType;
  byte reserved;
  word svcNum;
  byte reservationType;
  byte nameFix;
  word duration;
  word reserved1;
  dword startTime;
  char fileName[128];
} TYPE_TimerInfo;

int TAP_Timer_GetTotalNum(void);
int TAP_Timer_GetInfo(int entryNum, TYPE_TimerInfo* info); /* 1 on success */

/* ------------------------------------------------------- firmware internals */

/* One slot of the firmware's application table, 44 bytes on the recorder. */
typedef struct TYPE_TapTask {
  dword status; /* TAPTASK_Free or TAPTASK_Running */
  dword id;     /* the application's id */
  void* image;  /* the loaded image */
  TYPE_File* file; /* the application's file, with its system path */
  int (*TAP_Main)(void);
  dword (*TAP_EventHandler)(word event, dword param1, dword param2);
  dword reserved[5];
} TYPE_TapTask;

enum { TAPTASK_Free = 0, TAPTASK_Running = 1 };
#define TAP_MAX_TASKS 16

/* Internal symbols of the running firmware. The firmware's program exports
 * them as dynamic symbols (C++ names mangled); an application finds them with
 * dlsym on the program (dlopen(NULL)). A firmware may lack any of them;
 * callers test for null. Known names:
 *   "_tapTask"       TYPE_TapTask[16], the application table
 *   "_curTapTask"    dword, index of the running application
 *   "_hddTapFolder"  char*[16], each application's current folder as a system
 *                    path: "/mnt/hd" followed by the firmware path ("/mnt/hd/"
 *                    for the root, "/mnt/hd/DataFiles" below it)
 *   "_isAnalogMode"  byte
 *   "_Z26Appl_GetAnalogEncoderStatev", "_Z23Appl_AnalogChangeActionv",
 *   "_Z25Appl_SetAnalogEncoderModeh"
 *   "_Z23Appl_StartPlaybackMediaPKcjbb"  bool (const char* path, dword, bool, bool)
 *   "_Z22ApplHdd_SaveWorkFolderv", "_Z25ApplHdd_RestoreWorkFolderv",
 *   "_Z21ApplHdd_SetWorkFolderPv", "_Z20ApplHdd_SelectFolderPvPKc"
 *   "_Z16Appl_ExecProgramPc"  bool (char* fileName): loads and starts the
 *                    application file of the work folder; true when it ran
 *   "_Z26Appl_ConvertToValidUTF8StrPhi"  the UTF-8 validation routine
 *   "PvrTimeToLinux"  dword (dword packedStamp): local time to system time
 *   "_hddRecFiles"   TYPE_File*[slots][3], the files each recording slot writes
 *                    (the recording, its ".inf", its ".nav"); null when idle;
 *                    one row per slot TAP_Hdd_GetRecInfo answers
 *   "_hddPlayFile"   TYPE_File*, the file being played (for a recording its
 *                    ".inf", as TYPE_PlayInfo.file names it); null when idle
 *   "_hddDivxFolder" dword[4], the media player's folder record
 * The work-folder functions take 16-byte folder records: SelectFolder fills
 * one for a system path written without its leading "/" ("mnt/hd/DataFiles")
 * and returns 0 on success; SetWorkFolder makes it the work folder;
 * StartPlaybackMedia plays a file of the folder in "_hddDivxFolder" and
 * returns 0 (false) on success.
 */

/* Loads and starts an application file from the current folder; returns the
 * new application's table index, or -1. */
int TAP_StartApplication(const char* fileName);

#ifdef __cplusplus
}
#endif

/* Record layouts of the recorder, checked where pointers are 32 bits. */
#if UINTPTR_MAX == 0xFFFFFFFFu
#ifdef __cplusplus
#define TAP_LAYOUT_ASSERT(e, m) static_assert(e, m)
#else
#define TAP_LAYOUT_ASSERT(e, m) _Static_assert(e, m)
#endif
TAP_LAYOUT_ASSERT(sizeof(TYPE_DirEntry) == 152, "directory entry is 152 bytes");
TAP_LAYOUT_ASSERT(offsetof(TYPE_DirEntry, stamp) == 8, "stamp at 8");
TAP_LAYOUT_ASSERT(offsetof(TYPE_DirEntry, sizeLow) == 16, "size at 16");
TAP_LAYOUT_ASSERT(offsetof(TYPE_DirEntry, name) == 24, "name at 24");
TAP_LAYOUT_ASSERT(sizeof(TYPE_TapEvent) == 280, "event information is 280 bytes");
TAP_LAYOUT_ASSERT(sizeof(TYPE_PlayInfo) == 308, "play information is 308 bytes");
TAP_LAYOUT_ASSERT(offsetof(TYPE_PlayInfo, svcType) == 3, "service type at 3");
TAP_LAYOUT_ASSERT(offsetof(TYPE_PlayInfo, duration) == 6, "duration at 6");
TAP_LAYOUT_ASSERT(offsetof(TYPE_PlayInfo, currentBlock) == 12, "position at 12");
TAP_LAYOUT_ASSERT(offsetof(TYPE_PlayInfo, totalBlock) == 16, "total at 16");
TAP_LAYOUT_ASSERT(offsetof(TYPE_PlayInfo, file) == 20, "file at 20");
TAP_LAYOUT_ASSERT(offsetof(TYPE_PlayInfo, evtInfo) == 24, "event at 24");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, svcType) == 3, "service type at 3");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, svcNum) == 4, "service number at 4");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, duration) == 6, "duration at 6");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, startTime) == 8, "start at 8");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, endTime) == 12, "end at 12");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, recordedSec) == 16, "seconds at 16");
TAP_LAYOUT_ASSERT(offsetof(TYPE_RecInfo, fileName) == 20, "file name at 20");
TAP_LAYOUT_ASSERT(sizeof(TYPE_TapChInfo) == 72, "channel information is 72 bytes");
TAP_LAYOUT_ASSERT(offsetof(TYPE_TapChInfo, logicalChNum) == 68, "channel number at 68");
TAP_LAYOUT_ASSERT(sizeof(TYPE_TapTask) == 44, "application record is 44 bytes");
TAP_LAYOUT_ASSERT(offsetof(TYPE_TapTask, TAP_EventHandler) == 20,
                  "event handler is the sixth word");
TAP_LAYOUT_ASSERT(offsetof(TYPE_TapHeader, programName) == 32, "header is 32 bytes");
#endif

#endif /* TAP_H */
