// Remote keys: the codes the application knows, their bilingual names, the
// button image of each, and the key list through which the configuration
// menus cycle a key setting.
#pragma once

#include "tap.h"

// Colour keys. Code that reacts to a colour key compares against these, not
// against the constants.
extern dword RKEYN_Red;
extern dword RKEYN_Green;
extern dword RKEYN_Yellow;
extern dword RKEYN_Blue;
extern dword RKEYN_White;

// A bilingual text: English, German; indexed by TextLanguage.
typedef const char KeyNameText[2][21];

extern KeyNameText text_remoteKey_Mute, text_remoteKey_UHF, text_remoteKey_TvSat, text_remoteKey_M,
    text_remoteKey_Sleep, text_remoteKey_1, text_remoteKey_2, text_remoteKey_3, text_remoteKey_4,
    text_remoteKey_5, text_remoteKey_6, text_remoteKey_7, text_remoteKey_8, text_remoteKey_9,
    text_remoteKey_0, text_remoteKey_Recall, text_remoteKey_Info, text_remoteKey_Right,
    text_remoteKey_Left, text_remoteKey_Up, text_remoteKey_Down, text_remoteKey_Ok,
    text_remoteKey_Menu, text_remoteKey_Guide, text_remoteKey_TvRadio, text_remoteKey_AudioTrack,
    text_remoteKey_Subtitle, text_remoteKey_Teletext, text_remoteKey_Exit, text_remoteKey_Fav,
    text_remoteKey_FastForward, text_remoteKey_Rewind, text_remoteKey_Play, text_remoteKey_Pause,
    text_remoteKey_Record, text_remoteKey_Stop, text_remoteKey_SlowMotion, text_remoteKey_Previous,
    text_remoteKey_FileList, text_remoteKey_Next, text_remoteKey_Red, text_remoteKey_Green,
    text_remoteKey_Yellow, text_remoteKey_Blue, text_remoteKey_Sat, text_remoteKey_Option,
    text_remoteKey_Ab, text_remoteKey_Unmapped, text_remoteKey_Undefined;

// One entry of the key list.
typedef struct KeyEntry {
  dword code;        // key code
  const char* name;  // display name in the language of the time the list was built
} KeyEntry;

#define MAX_KEY_ENTRIES 256

// The key list: a count and up to 256 entries numbered from 1 (slot 0 unused).
// Entries come one by one from the firmware allocator and are freed together.
typedef struct KeyList {
  int count;
  KeyEntry* entry[MAX_KEY_ENTRIES + 1];
} KeyList;

// The key list the configuration menus cycle through.
extern KeyList localKeyCodes;

// Empties the list, then adds every known key in menu order, Undefined last.
void CreateKeys(KeyList* list);
// Appends one entry; does nothing when the list is full or memory runs out.
void KeyAdd(KeyList* list, dword code, const char* name);
// Frees every entry; the count becomes 0.
void KeyDestroy(KeyList* list);
bool IsKeyValid(const KeyList* list, dword code);
int GetNumberOfKeys(const KeyList* list);
// The name of the entry with this code, else "Undefined" in the current language.
const char* GetButtonText(const KeyList* list, dword code);
// Code after / before the one given, wrapping at both ends; a code not in the
// list gives the first / last entry; an empty list gives the code back.
dword GetNextKey(const KeyList* list, dword code);
dword GetPreviousKey(const KeyList* list, dword code);

// Button images, one per remote button. The pictures come with the screen code;
// here they are named.
typedef enum ButtonImage {
  BUTTON_0,
  BUTTON_1,
  BUTTON_2,
  BUTTON_3,
  BUTTON_4,
  BUTTON_5,
  BUTTON_6,
  BUTTON_7,
  BUTTON_8,
  BUTTON_9,
  BUTTON_recall,
  BUTTON_mute,
  BUTTON_left,
  BUTTON_right,
  BUTTON_up,
  BUTTON_down,
  BUTTON_sleep,
  BUTTON_audio,
  BUTTON_info,
  BUTTON_guide,
  BUTTON_exit,
  BUTTON_tv_radio,
  BUTTON_pause,
  BUTTON_menu,
  BUTTON_ok,
  BUTTON_fav,
  BUTTON_subtitle,
  BUTTON_green,
  BUTTON_yellow,
  BUTTON_blue,
  BUTTON_red,
  BUTTON_white,
  BUTTON_ttx,
  BUTTON_rwd,
  BUTTON_play,
  BUTTON_ffwd,
  BUTTON_step,
  BUTTON_stop,
  BUTTON_record,
  BUTTON_sat,
  BUTTON_jumpstart,
  BUTTON_filelist,
  BUTTON_jumpend,
  BUTTON_option,
  BUTTON_m,
  BUTTON_blank,
  // Small variants used in legends.
  BUTTON_up_T,
  BUTTON_down_T,
  BUTTON_audio_T,
  BUTTON_blank_T,
  BUTTON_COUNT
} ButtonImage;

// The button image for a key; unknown codes give the blank small button.
ButtonImage GetButtonImage(dword code);
