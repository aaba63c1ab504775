#include "app/keys.h"

#include "config/Settings.h"
#include "tap.h"

dword RKEYN_Red = RKEY_Red;
dword RKEYN_Green = RKEY_Green;
dword RKEYN_Yellow = RKEY_Yellow;
dword RKEYN_Blue = RKEY_Blue;
dword RKEYN_White = RKEY_Option;

// Names are ISO 8859-1, as everything the text output draws.
KeyNameText text_remoteKey_Mute = {"Mute", "Stumm"};
KeyNameText text_remoteKey_UHF = {"UHF", "UHF"};
KeyNameText text_remoteKey_TvSat = {"TvSat", "TvSat"};
KeyNameText text_remoteKey_M = {"M", "M"};
KeyNameText text_remoteKey_Sleep = {"Sleep", "Schlaf"};
KeyNameText text_remoteKey_1 = {"1", "1"};
KeyNameText text_remoteKey_2 = {"2", "2"};
KeyNameText text_remoteKey_3 = {"3", "3"};
KeyNameText text_remoteKey_4 = {"4", "4"};
KeyNameText text_remoteKey_5 = {"5", "5"};
KeyNameText text_remoteKey_6 = {"6", "6"};
KeyNameText text_remoteKey_7 = {"7", "7"};
KeyNameText text_remoteKey_8 = {"8", "8"};
KeyNameText text_remoteKey_9 = {"9", "9"};
KeyNameText text_remoteKey_0 = {"0", "0"};
KeyNameText text_remoteKey_Recall = {"Recall", "Recall"};
KeyNameText text_remoteKey_Info = {"Info", "Info"};
KeyNameText text_remoteKey_Right = {"Right Arrow", "Pfeil rechts"};
KeyNameText text_remoteKey_Left = {"Left Arrow", "Pfeil links"};
KeyNameText text_remoteKey_Up = {"Up Arrow", "Pfeil hoch"};
KeyNameText text_remoteKey_Down = {"Down Arrow", "Pfeil runter"};
KeyNameText text_remoteKey_Ok = {"Ok", "Ok"};
KeyNameText text_remoteKey_Menu = {"Menu", "Men\xFC"};
KeyNameText text_remoteKey_Guide = {"Guide", "EPG"};
KeyNameText text_remoteKey_TvRadio = {"TV/Radio", "TV/Radio"};
KeyNameText text_remoteKey_AudioTrack = {"Audio Track", "Tonspur"};
KeyNameText text_remoteKey_Subtitle = {"Subtitle", "Untertitel"};
KeyNameText text_remoteKey_Teletext = {"Teletext", "Videotext"};
KeyNameText text_remoteKey_Exit = {"Exit", "Exit"};
KeyNameText text_remoteKey_Fav = {"Fav", "Favoriten"};
KeyNameText text_remoteKey_FastForward = {"Fast Forward", "Vorspulen"};
KeyNameText text_remoteKey_Rewind = {"Rewind",
                                     "Zur\xFC"
                                     "ckspulen"};
KeyNameText text_remoteKey_Play = {"Play", "Wiedergabe"};
KeyNameText text_remoteKey_Pause = {"Pause", "Pause"};
KeyNameText text_remoteKey_Record = {"Record", "Aufnahme"};
KeyNameText text_remoteKey_Stop = {"Stop", "Stopp"};
KeyNameText text_remoteKey_SlowMotion = {"Slow Motion", "Zeitlupe"};
KeyNameText text_remoteKey_Previous = {"Previous", "Vorherige"};
KeyNameText text_remoteKey_FileList = {"File List", "Dateiliste"};
KeyNameText text_remoteKey_Next = {"Next",
                                   "N\xE4"
                                   "chste"};
KeyNameText text_remoteKey_Red = {"Red", "Rot"};
KeyNameText text_remoteKey_Green = {"Green", "Gr\xFCn"};
KeyNameText text_remoteKey_Yellow = {"Yellow", "Gelb"};
KeyNameText text_remoteKey_Blue = {"Blue", "Blau"};
KeyNameText text_remoteKey_Sat = {"Sat", "Sat"};
KeyNameText text_remoteKey_Option = {"Option (White)", "Option (Wei\xDF)"};
KeyNameText text_remoteKey_Ab = {"Ab (White)", "Ab (Wei\xDF)"};
KeyNameText text_remoteKey_Unmapped = {"Undefined", "Nicht belegt"};
KeyNameText text_remoteKey_Undefined = {"Undefined", "Undefiniert"};

KeyList localKeyCodes;

namespace {

// The known keys in menu order; Undefined (no key) is last.
struct KnownKey {
  dword code;
  KeyNameText* name;
  ButtonImage image;
};

const KnownKey kKnownKeys[] = {
    {RKEY_Mute, &text_remoteKey_Mute, BUTTON_mute},
    {RKEY_Uhf, &text_remoteKey_UHF, BUTTON_blank_T},
    {RKEY_TvSat, &text_remoteKey_TvSat, BUTTON_blank_T},
    {RKEY_M, &text_remoteKey_M, BUTTON_m},
    {RKEY_Sleep, &text_remoteKey_Sleep, BUTTON_sleep},
    {RKEY_1, &text_remoteKey_1, BUTTON_1},
    {RKEY_2, &text_remoteKey_2, BUTTON_2},
    {RKEY_3, &text_remoteKey_3, BUTTON_3},
    {RKEY_4, &text_remoteKey_4, BUTTON_4},
    {RKEY_5, &text_remoteKey_5, BUTTON_5},
    {RKEY_6, &text_remoteKey_6, BUTTON_6},
    {RKEY_7, &text_remoteKey_7, BUTTON_7},
    {RKEY_8, &text_remoteKey_8, BUTTON_8},
    {RKEY_9, &text_remoteKey_9, BUTTON_9},
    {RKEY_0, &text_remoteKey_0, BUTTON_0},
    {RKEY_Recall, &text_remoteKey_Recall, BUTTON_recall},
    {RKEY_Info, &text_remoteKey_Info, BUTTON_info},
    {RKEY_VolUp, &text_remoteKey_Right, BUTTON_right},
    {RKEY_VolDown, &text_remoteKey_Left, BUTTON_left},
    {RKEY_ChUp, &text_remoteKey_Up, BUTTON_up_T},
    {RKEY_ChDown, &text_remoteKey_Down, BUTTON_down_T},
    {RKEY_Ok, &text_remoteKey_Ok, BUTTON_ok},
    {RKEY_Menu, &text_remoteKey_Menu, BUTTON_menu},
    {RKEY_Guide, &text_remoteKey_Guide, BUTTON_guide},
    {RKEY_TvRadio, &text_remoteKey_TvRadio, BUTTON_tv_radio},
    {RKEY_AudioTrk, &text_remoteKey_AudioTrack, BUTTON_audio_T},
    {RKEY_Subt, &text_remoteKey_Subtitle, BUTTON_subtitle},
    {RKEY_Teletext, &text_remoteKey_Teletext, BUTTON_ttx},
    {RKEY_Exit, &text_remoteKey_Exit, BUTTON_exit},
    {RKEY_Fav, &text_remoteKey_Fav, BUTTON_fav},
    {RKEY_Forward, &text_remoteKey_FastForward, BUTTON_ffwd},
    {RKEY_Rewind, &text_remoteKey_Rewind, BUTTON_rwd},
    {RKEY_Play, &text_remoteKey_Play, BUTTON_play},
    {RKEY_Pause, &text_remoteKey_Pause, BUTTON_pause},
    {RKEY_Record, &text_remoteKey_Record, BUTTON_record},
    {RKEY_Stop, &text_remoteKey_Stop, BUTTON_stop},
    {RKEY_Slow, &text_remoteKey_SlowMotion, BUTTON_step},
    {RKEY_Prev, &text_remoteKey_Previous, BUTTON_jumpstart},
    {RKEY_PlayList, &text_remoteKey_FileList, BUTTON_filelist},
    {RKEY_Next, &text_remoteKey_Next, BUTTON_jumpend},
    {RKEY_Red, &text_remoteKey_Red, BUTTON_red},
    {RKEY_Green, &text_remoteKey_Green, BUTTON_green},
    {RKEY_Yellow, &text_remoteKey_Yellow, BUTTON_yellow},
    {RKEY_Blue, &text_remoteKey_Blue, BUTTON_blue},
    {RKEY_Sat, &text_remoteKey_Sat, BUTTON_sat},
    {RKEY_Option, &text_remoteKey_Option, BUTTON_option},
    {RKEY_Ab, &text_remoteKey_Ab, BUTTON_white},
    {RKEY_Undefined, &text_remoteKey_Unmapped, BUTTON_blank_T},
};

int Language() { return TextLanguage == 1 ? 1 : 0; }

// Slot (1..count) holding the code, 0 when absent.
int FindKey(const KeyList* list, dword code) {
  for (int i = 1; i <= list->count; i++) {
    if (list->entry[i] && list->entry[i]->code == code) return i;
  }
  return 0;
}

}  // namespace

void CreateKeys(KeyList* list) {
  KeyDestroy(list);
  for (const KnownKey& key : kKnownKeys) KeyAdd(list, key.code, (*key.name)[Language()]);
}

void KeyAdd(KeyList* list, dword code, const char* name) {
  if (list->count < 0) list->count = 0;
  if (list->count >= MAX_KEY_ENTRIES) return;
  KeyEntry* entry = (KeyEntry*)TAP_MemAlloc(sizeof(KeyEntry));
  // A lost allocation loses the key, not the list.
  if (!entry) return;
  entry->code = code;
  entry->name = name;
  list->count++;
  list->entry[list->count] = entry;
}

void KeyDestroy(KeyList* list) {
  for (int i = 1; i <= list->count && i <= MAX_KEY_ENTRIES; i++) {
    if (list->entry[i]) TAP_MemFree(list->entry[i]);
    list->entry[i] = nullptr;
  }
  list->count = 0;
}

bool IsKeyValid(const KeyList* list, dword code) { return FindKey(list, code) != 0; }

int GetNumberOfKeys(const KeyList* list) { return list->count; }

const char* GetButtonText(const KeyList* list, dword code) {
  int i = FindKey(list, code);
  if (i) return list->entry[i]->name;
  return text_remoteKey_Undefined[Language()];
}

dword GetNextKey(const KeyList* list, dword code) {
  if (list->count <= 0) return code;
  int i = FindKey(list, code);
  if (i == 0 || i == list->count) return list->entry[1]->code;
  return list->entry[i + 1]->code;
}

dword GetPreviousKey(const KeyList* list, dword code) {
  if (list->count <= 0) return code;
  int i = FindKey(list, code);
  if (i <= 1) return list->entry[list->count]->code;
  return list->entry[i - 1]->code;
}

ButtonImage GetButtonImage(dword code) {
  for (const KnownKey& key : kKnownKeys) {
    if (key.code == code) return key.image;
  }
  return BUTTON_blank_T;
}
