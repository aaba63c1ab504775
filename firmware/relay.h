/* relay.h - the messages between the emulated recorder and the image host
 * (tools/image/taphost.c), the program that runs a recorder image under
 * qemu-mipsel with uClibc-ng and relays its firmware calls.
 *
 * Both ends are little-endian and read the same stream of messages. A message
 * is a head of five 32-bit words followed by `size` bytes of payload: 32-bit
 * words, and blobs (a word with the length, then the bytes, padded to four).
 * Records cross in the recorder's 32-bit layouts. The two sides take turns:
 * whoever waits for an answer serves what the other side sends meanwhile (a
 * firmware call made inside an event, an event sent inside a firmware call),
 * so calls nest to any depth. C and C++ include this header. */
#ifndef PVR_RELAY_H
#define PVR_RELAY_H

#include <stdint.h>

enum {
  RELAY_CALL = 1,   /* host -> recorder: a firmware call; op = RELAY_OP_* */
  RELAY_RETURN = 2, /* recorder -> host: the call's results */
  RELAY_EVENT = 3,  /* recorder -> host: op = RELAY_EV_* */
  RELAY_DONE = 4,   /* host -> recorder: the event's results */
  RELAY_HELLO = 5,  /* host -> recorder, once, when it is ready */
};

/* Flags of the head. */
enum {
  RELAY_FLAG_STATE = 1, /* the payload starts with the firmware's data (below) */
};

typedef struct RelayHead {
  uint32_t kind;
  uint32_t op;
  uint32_t task; /* the current application (_curTapTask) of the sender */
  uint32_t flags;
  uint32_t size; /* payload bytes that follow */
} RelayHead;

/* Events the recorder sends to the host. */
enum {
  RELAY_EV_LOAD = 1,    /* slot, path -> 0 and the 512-byte header, or 1 and a reason */
  RELAY_EV_MAIN = 2,    /* slot -> TAP_Main's result */
  RELAY_EV_HANDLER = 3, /* slot, event, param1, param2 -> the handler's result */
  RELAY_EV_UNLOAD = 4,  /* slot */
};

/* The firmware's data that applications read directly, sent after a call or
 * before an event whenever it changed: _isAnalogMode (word); _hddPlayFile
 * (word 0/1, then the file record); _hddRecFiles, 4 x 3 of the same;
 * _hddTapFolder, 16 blobs (empty: null). */

/* Firmware calls (the TAP_ calls of tap.h and the internals looked up by
 * name). */
enum {
  RELAY_OP_Exit = 1,
  RELAY_OP_ExitNormal,
  RELAY_OP_EnterNormal,
  RELAY_OP_GenerateEvent,
  RELAY_OP_GetState,
  RELAY_OP_GetSystemId,
  RELAY_OP_GetTick,
  RELAY_OP_Delay,
  RELAY_OP_Print,
  RELAY_OP_MakeMjd,
  RELAY_OP_ExtractMjd,
  RELAY_OP_GetTime,
  RELAY_OP_Osd_Create,
  RELAY_OP_Osd_Delete,
  RELAY_OP_Osd_Sync,
  RELAY_OP_Osd_FillBox,
  RELAY_OP_Osd_DrawRectangle,
  RELAY_OP_Osd_PutPixel,
  RELAY_OP_Osd_GetPixel,
  RELAY_OP_Osd_PutGd,
  RELAY_OP_Osd_DrawJpeg,
  RELAY_OP_Osd_SaveBox,
  RELAY_OP_Osd_RestoreBox,
  RELAY_OP_Osd_Copy,
  RELAY_OP_Osd_PutS,
  RELAY_OP_Osd_GetPlaneBaseInfo,
  RELAY_OP_Hdd_ChangeDir,
  RELAY_OP_Hdd_Fopen,
  RELAY_OP_Hdd_Fread,
  RELAY_OP_Hdd_Fwrite,
  RELAY_OP_Hdd_Fseek,
  RELAY_OP_Hdd_Ftell,
  RELAY_OP_Hdd_Flen,
  RELAY_OP_Hdd_Fclose,
  RELAY_OP_Hdd_Create,
  RELAY_OP_Hdd_Delete,
  RELAY_OP_Hdd_Exist,
  RELAY_OP_Hdd_Rename,
  RELAY_OP_Hdd_FindFirst,
  RELAY_OP_Hdd_FindNext,
  RELAY_OP_Hdd_FreeSize,
  RELAY_OP_Hdd_TotalSize,
  RELAY_OP_Hdd_PlayTs,
  RELAY_OP_Hdd_StopTs,
  RELAY_OP_Hdd_GetPlayInfo,
  RELAY_OP_Hdd_ChangePlaybackPos,
  RELAY_OP_Hdd_GetRecInfo,
  RELAY_OP_Hdd_StopRecord,
  RELAY_OP_Hdd_SetBookmark,
  RELAY_OP_Channel_GetTotalNum,
  RELAY_OP_Channel_GetInfo,
  RELAY_OP_Channel_GetCurrent,
  RELAY_OP_Channel_Start,
  RELAY_OP_Channel_IsStarted,
  RELAY_OP_Timer_GetTotalNum,
  RELAY_OP_Timer_GetInfo,
  RELAY_OP_StartApplication,
  RELAY_OP_GetAnalogEncoderState,
  RELAY_OP_AnalogChangeAction,
  RELAY_OP_SetAnalogEncoderMode,
  RELAY_OP_StartPlaybackMedia,
  RELAY_OP_ExecProgram,
  RELAY_OP_SaveWorkFolder,
  RELAY_OP_RestoreWorkFolder,
  RELAY_OP_SetWorkFolder,
  RELAY_OP_SelectFolder,
  RELAY_OP_ConvertToValidUTF8Str,
  RELAY_OP_PvrTimeToLinux,
  RELAY_OP_Count
};

/* The file descriptors the host finds open: the stream to the recorder, and
 * the memory file holding a copy of plane 0 (720 x 576 ARGB words). */
#define RELAY_FD_STREAM 3
#define RELAY_FD_PLANE0 4

#endif /* PVR_RELAY_H */
