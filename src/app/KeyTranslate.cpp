// Key translation: remotes of different types deliver the same key codes to
// the application, and keys we generate reach the firmware in its own codes.
#include "app/app.h"
#include "lib/lib.h"
#include "tap.h"

dword RemoteType = 1;
dword (*Original_TAP_EventHandler)(word event, dword param1, dword param2);
int TAP_TableIndex = -1;

namespace {

struct KeyPair {
  dword from, to;
};

const KeyPair kRemoteType2[] = {
    {0x10024, 0x10048}, {0x10025, 0x10045}, {0x10026, 0x10046}, {0x1003E, 0x10049},
    {0x1003F, 0x10047}, {0x10045, 0x10044}, {0x10047, 0x1003F}, {0x10048, 0x10024},
    {0x10049, 0x10025}, {0x1004A, 0x10026},
};

const KeyPair kRemoteType3[] = {{0x10023, 0x1003F}};

const KeyPair kReverseType2[] = {
    {0x10024, 0x10048}, {0x10025, 0x10049}, {0x10026, 0x1004A}, {0x1003F, 0x10047},
    {0x10044, 0x10045}, {0x10045, 0x10025}, {0x10046, 0x10026}, {0x10047, 0x1003F},
    {0x10048, 0x10024}, {0x10049, 0x1003E},
};

template <size_t N>
dword Map(const KeyPair (&table)[N], dword key) {
  dword code = key & RKEY_MASK;
  for (const KeyPair& pair : table) {
    if (pair.from == code) return (key & ~RKEY_MASK) | pair.to;
  }
  return key;
}

// Our record in the firmware's application table, null when it cannot be found.
TYPE_TapTask* OwnRecord(int* failure) {
  TYPE_TapTask* table = FIS_vTAPTable();
  if (!table) {
    *failure = 0;
    return nullptr;
  }
  if (TAP_TableIndex < 0) {
    dword* current = FIS_vCurTapTask();
    if (!current || *current >= TAP_MAX_TASKS) {
      *failure = -3;
      return nullptr;
    }
    TAP_TableIndex = (int)*current;
  }
  return &table[TAP_TableIndex];
}

}  // namespace

dword TranslateKeyForRemote(dword key, dword remoteType) {
  if (remoteType == 2) return Map(kRemoteType2, key);
  if (remoteType == 3) return Map(kRemoteType3, key);
  return key;
}

dword KeyReverseTranslate(dword key) {
  if (GlobalRemoteType == 2) return Map(kReverseType2, key);
  return key;
}

int KeyTranslate(int install, dword (*handler)(word, dword, dword)) {
  if (install) {
    FindGlobalRemoteType();
    RemoteType = GlobalRemoteType;
  }
  int failure = 0;
  TYPE_TapTask* record = OwnRecord(&failure);
  if (!record) return failure;
  if (install) {
    // Someone else hooked the slot: leave it alone, no translation.
    if (record->TAP_EventHandler != handler) return 0;
    Original_TAP_EventHandler = handler;
    record->TAP_EventHandler = KeyTranslateHook;
    return 1;
  }
  if (record->TAP_EventHandler == KeyTranslateHook && Original_TAP_EventHandler) {
    record->TAP_EventHandler = Original_TAP_EventHandler;
  }
  return 1;
}

dword KeyTranslateHook(word event, dword param1, dword param2) {
  if (!Original_TAP_EventHandler) return param1;
  if (event != EVT_KEY) return Original_TAP_EventHandler(event, param1, param2);
  dword translated = TranslateKeyForRemote(param1, RemoteType);
  dword result = Original_TAP_EventHandler(EVT_KEY, translated, param2);
  return result == 0 ? 0 : param1;
}
