/*
 * tap_keys.h - remote-control key codes of the recorder.
 *
 * A key event's param1 holds the key in its low 17 bits; the firmware adds
 * flags above them for keys that are held or released.
 */
#ifndef TAP_KEYS_H
#define TAP_KEYS_H

enum {
  RKEY_0 = 0x10000,
  RKEY_1 = 0x10001,
  RKEY_2 = 0x10002,
  RKEY_3 = 0x10003,
  RKEY_4 = 0x10004,
  RKEY_5 = 0x10005,
  RKEY_6 = 0x10006,
  RKEY_7 = 0x10007,
  RKEY_8 = 0x10008,
  RKEY_9 = 0x10009,
  RKEY_Recall = 0x1000B,
  RKEY_Mute = 0x1000C,
  RKEY_Uhf = 0x1000E,
  RKEY_VolDown = 0x1000F, /* Left Arrow */
  RKEY_Sleep = 0x10010,
  RKEY_ChUp = 0x10012, /* Up Arrow */
  RKEY_AudioTrk = 0x10013,
  RKEY_Info = 0x10014,
  RKEY_VolUp = 0x10015, /* Right Arrow */
  RKEY_Guide = 0x10016,
  RKEY_Exit = 0x10017,
  RKEY_TvRadio = 0x10018,
  RKEY_Pause = 0x1001A,
  RKEY_Menu = 0x1001C,
  RKEY_ChDown = 0x1001D, /* Down Arrow */
  RKEY_Ok = 0x1001E,
  RKEY_Fav = 0x10020,
  RKEY_Subt = 0x10021,
  RKEY_TvSat = 0x10022,
  RKEY_F1 = 0x10023, /* Red on remotes of type 3 */
  RKEY_Green = 0x10024,
  RKEY_Yellow = 0x10025,
  RKEY_Blue = 0x10026,
  RKEY_Teletext = 0x10037,
  RKEY_Rewind = 0x10038,
  RKEY_Play = 0x10039,
  RKEY_Forward = 0x1003A,
  RKEY_Slow = 0x1003B,
  RKEY_Stop = 0x1003C,
  RKEY_Record = 0x1003D,
  RKEY_Ab = 0x1003E, /* White */
  RKEY_Red = 0x1003F,
  RKEY_Sat = 0x10040,
  RKEY_Prev = 0x10041,
  RKEY_PlayList = 0x10042, /* File List */
  RKEY_Next = 0x10043,
  RKEY_Option2 = 0x10044,
  RKEY_Option3 = 0x10045,
  RKEY_Option4 = 0x10046,
  RKEY_Option5 = 0x10047,
  RKEY_Option6 = 0x10048,
  RKEY_Option = 0x10049, /* White on newer remotes */
  RKEY_Option7 = 0x1004A,
  RKEY_M = 0x10050,
  RKEY_Undefined = 0x20000, /* no key assigned */
};

#define RKEY_MASK 0x1FFFFu
#define RKEY_FLAG_HELD 0x1000000u
#define RKEY_FLAG_RELEASED 0x2000000u

#endif /* TAP_KEYS_H */
