// The key router: which window sees a key, and what the keys do while the
// list is hidden.
#include <stdio.h>
#include <stdlib.h>

#include "actions/actions.h"
#include "app/app.h"
#include "app/texts.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "config/ConfigMenu.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "lib/lib.h"
#include "tap.h"
#include "ui/Dialogs.h"
#include "ui/FirmwareCheck.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"

const char* lastKeyHandler = "";

namespace {

// The firmware screens the guards recognise draw this grey where we sample.
constexpr dword kFirmwarePopupGrey = 0xFF1E1E1E;

bool KeyIs(int setting, dword key) { return setting != 0 && (dword)setting == key; }

void ClearDiskCache() {
  int status = system("sync; echo 3 > /proc/sys/vm/drop_caches");
  char text[128];
  snprintf(text, sizeof text,
           "Pavrolinex - My_KeyHandler: File System Disk cache cleared. Return code=%d\r\n",
           status >> 8);
  PrintNet(text);
}

void NoteActivity() {
  if (currentTickTime - lastActionTick <= 59999 || lastActionTick == 0) {
    lastActionTickPrev = lastActionTick;
    lastActionTick = currentTickTime;
  }
}

// The windows in the order in which they take keys.
enum Window {
  kNoWindow,
  kYesNo,
  kMessage,
  kFirmwareCheck,
  kCredits,
  kConfig,
  kMove,
  kInfo,
  kStopMenu,
  kAllRecycle,
  kListKeyboard,  // the new folder's keyboard, over the list
  kListHelp,      // the help pages and the status screen, over the list
  kList,
};

// The forms of a key a remote reports: the press, held reports while the key
// stays down, the release.
enum Form : byte { kPress = 1, kHeld = 2, kRelease = 4 };

// Which forms each window takes. A window that acts on presses never sees
// the release, so that a whole press acts once; the list tells short from
// long presses by all three forms itself. A window marked ownPress takes only
// releases of a key whose press it took: the release of the key that opened
// it is not a key pressed in it.
struct WindowForms {
  byte forms;
  bool ownPress;
};
const WindowForms kWindowForms[] = {
    /* kNoWindow      */ {0, false},
    /* kYesNo         */ {kPress, false},
    /* kMessage       */ {kPress, false},
    /* kFirmwareCheck */ {kPress, false},
    /* kCredits       */ {kPress, false},
    /* kConfig        */ {kPress, false},
    /* kMove          */ {kPress, false},
    /* kInfo          */ {kPress, false},
    /* kStopMenu      */ {kPress | kRelease, true},
    /* kAllRecycle    */ {kPress, false},
    /* kListKeyboard  */ {kPress, false},
    /* kListHelp      */ {kPress | kRelease, true},
    /* kList          */ {kPress | kHeld | kRelease, false},
};

Window ShowingWindow() {
  if (yesnoWindowShowing) return kYesNo;
  if (MessageWindowShowing) return kMessage;
  if (checkFirmwareDatShowing) return kFirmwareCheck;
  if (creditsShowing) return kCredits;
  if (configWindowShowing) return kConfig;
  if (moveWindowShowing) return kMove;
  if (infoWindowShowing) return kInfo;
  if (stopmenuWindowShowing) return kStopMenu;
  if (allrecycleWindowShowing) return kAllRecycle;
  if (!recycleWindowMode && !windowShowing) return kNoWindow;
  if (keyboardWindowShowing) return kListKeyboard;
  if (quembryHelpWindowShowing && helpWindowShowing) return kListHelp;
  return kList;
}

Form FormOf(dword key) {
  // An attached keyboard's character (0xEE000000 + code) comes once, as a
  // press: its prefix is not a pair of flags.
  if ((key & 0xFF000000u) == 0xEE000000u) return kPress;
  if (key & RKEY_FLAG_RELEASED) return kRelease;
  if (key & RKEY_FLAG_HELD) return kHeld;
  return kPress;
}

// The last press a window took: its key, the window, and whether the
// window gave it to the firmware.
struct LastPress {
  dword base;
  Window window;
  bool passedOn;
};
LastPress lastPress = {0, kNoWindow, false};

dword CallWindow(Window window, dword key) {
  switch (window) {
    case kYesNo:
      return YesNoKeyHandler(key);
    case kMessage:
      // The message window has the key whatever its handler says.
      MessageKeyHandler(key);
      return 0;
    case kFirmwareCheck:
      return FirmwareDatKeyHandler(key);
    case kCredits:
      return CreditsKeyHandler(key);
    case kConfig:
      return ConfigKeyHandler(key);
    case kMove:
      return QuembryMoveKeyHandler(key);
    case kInfo:
      return QuembryInfoKeyHandler(key);
    case kStopMenu:
      return QuembryStopMenuKeyHandler(key);
    case kAllRecycle:
      return AllRecycleKeyHandler(key);
    case kListKeyboard:
    case kListHelp:
    case kList:
      return QuembryWindowKeyHandler(key);
    case kNoWindow:
      break;
  }
  return key;
}

// The first showing window in the fixed order gets the key, in the forms it
// takes. Returns true with *result set when a window took it.
bool RouteToWindow(dword key, dword* result) {
  Window window = ShowingWindow();
  if (window == kNoWindow) {
    lastPress = {0, kNoWindow, false};
    return false;
  }
  Form form = FormOf(key);
  dword base = key & RKEY_MASK;
  if (form != kPress && base == lastPress.base && lastPress.passedOn) {
    // The rest of a press that went to the firmware goes there too.
    *result = key;
    return true;
  }
  const WindowForms& takes = kWindowForms[window];
  bool ownPress = lastPress.base == base && lastPress.window == window;
  if (!(takes.forms & form) || (form == kRelease && takes.ownPress && !ownPress)) {
    *result = 0;
    return true;
  }
  *result = CallWindow(window, key);
  if (form == kPress) lastPress = {base, window, *result != 0};
  return true;
}

// Service type of what is on screen: the played recording's, else the
// channel's.
int CurrentServiceType() {
  if (inPlaybackMode) {
    TYPE_PlayInfo info;
    TAP_MemSet(&info, 0, sizeof info);
    TAP_Hdd_GetPlayInfo(&info);
    return info.svcType;
  }
  int svcType = 0, svcNum = 0;
  TAP_Channel_GetCurrent(&svcType, &svcNum);
  return svcType;
}

// True when another display (the firmware's banners or menus) covers the
// places where ours would go.
bool OtherDisplayShowing() {
  if (CurrentServiceType() != SVC_TYPE_Radio &&
      (OsdActive(150, 10, 200, 20) || OsdActive(150, 100, 200, 300))) {
    return true;
  }
  return mainActivationKey == (int)RKEY_Ok && OsdActive(150, 390, 400, 510);
}

// Any recording slot copying a recording (record type 3)?
bool CopyInProgress() {
  int slots = HDD_NumberOfRECSlots();
  for (int slot = 0; slot < slots; slot++) {
    TYPE_RecInfo info;
    TAP_MemSet(&info, 0, sizeof info);
    if (TAP_Hdd_GetRecInfo((byte)slot, &info) && info.recType == RECTYPE_Copy) return true;
  }
  return false;
}

// Stop during playback: returns true when the key was handled.
bool HandleStopDuringPlayback() {
  if (DelayBeforeStop > 0) TAP_Delay((dword)DelayBeforeStop);
  TYPE_PlayInfo info;
  TAP_MemSet(&info, 0, sizeof info);
  TAP_Hdd_GetPlayInfo(&info);
  if (info.playMode != PLAYMODE_Playing && info.playMode != PLAYMODE_Media) return false;
  if (CopyInProgress()) return false;
  if (StopPlaybackOption == 2) {
    activateStopMenu = 1;
  } else {
    if (!processInBackground) {
      while (MultiSelect) MultiSelectClearFirst();
    }
    TAP_Hdd_StopTs();
    activateReturnToQuembryList = 1;
  }
  return true;
}

// The list is hidden: guards for firmware screens, the special keys and the
// activation key.
dword HandleKeyWhileHidden(dword key) {
  dword state = 0, subState = 0;
  TAP_GetState(&state, &subState);

  if (state == STATE_Menu && subState == SUBSTATE_PhotoAlbum && key == RKEY_Ok &&
      SkipPhotoAlbumSafetyCheck == 0) {
    if (TAP_Osd_GetPixel(0, 70, 216) != kFirmwarePopupGrey) {
      DisplayYesNoWindow(Text(text_PhotoAlbumTitle), Text(text_PhotoAlbumLine1),
                         Text(text_PhotoAlbumLine2), Text(text_Yes), Text(text_No), 1,
                         ReturnFromPhotoAlbumYesNo);
      return 0;
    }
  }
  if (state == STATE_Menu && subState == SUBSTATE_PhotoAlbum && key == RKEY_Ok &&
      ReplaceYoutubeKeyboard == 2) {
    if (TAP_Osd_GetPixel(0, 70, 105) != kFirmwarePopupGrey) {
      DisplayMessageWindow(Text(text_YoutubeDisabledTitle), Text(text_YoutubeDisabledLine1),
                           Text(text_YoutubeDisabledLine2), ReturnFromMessageWindow);
      return 0;
    }
  }
  if (state == STATE_Menu && subState == SUBSTATE_YoutubeSearch && ReplaceYoutubeKeyboard != 0) {
    if (keyboardWindowShowing) {
      KeyboardKeyHandler(key);
      return 0;
    }
    if (key == RKEY_Sat) activateYoutubeKeyboard = 1;
    if (key == RKEY_Menu || key == RKEY_Exit) resetYoutubeSearchString = 1;
  }
  if (state != STATE_Normal) return key;

  if (OtherDisplayShowing()) return key;

  if (KeyIs(RestartLastKey_external, key) && subState == SUBSTATE_Normal) {
    if (TAP_Channel_IsStarted(0)) return key;
    // An empty history holds a placeholder entry of exactly one block.
    if (playedFiles[0] && playedFiles[0]->totalBlocks > 1) {
      TAP_ExitNormal();
      RestartLastPlayback();
      TAP_EnterNormal();
    } else {
      ShowMessageWinX(rgn, Text(text_NoLastPlaybackTitle), Text(text_NoLastPlaybackLine1),
                      Text(text_NoLastPlaybackLine2), 300);
    }
    return 0;
  }

  if (KeyIs(AVModeKey, key) && subState == SUBSTATE_Normal) {
    if (Appl_AnalogChangeAction) Appl_AnalogChangeAction();
    return 0;
  }

  bool progressBar = ActivateWithProgressBar && subState >= SUBSTATE_PvrPlayingSearch &&
                     subState <= SUBSTATE_PvrRecSearch;
  if (subState != SUBSTATE_Normal && !progressBar) return key;

  if (StopPlaybackOption != 0 && key == RKEY_Stop && inPlaybackMode) {
    if (HandleStopDuringPlayback()) return 0;
  }

  if (KeyIs(mainActivationKey, key)) {
    // The File List press we generated ourselves belongs to the firmware.
    if (key == RKEY_PlayList && generatedPlayList == 1) {
      generatedPlayList = 0;
      return key;
    }
    ActivationRoutine();
    return 0;
  }
  return key;
}

}  // namespace

dword My_KeyHandler(dword key) {
  if (KeyIs(ClearDiskCacheKey, key)) {
    ClearDiskCache();
    return 0;
  }
  NoteActivity();
  dword result = key;
  if (RouteToWindow(key, &result)) return result;
  return HandleKeyWhileHidden(key);
}

void ReturnFromPhotoAlbumYesNo(int /*answer*/) { ReturningFromPhotoAlbumYesNo = 1; }

bool OsdActive(int x1, int y1, int x2, int y2) {
  TYPE_OsdBaseInfo info;
  TAP_MemSet(&info, 0, sizeof info);
  TAP_Osd_GetPlaneBaseInfo(&info, 0);
  if (!info.frameBuffer) return false;
  // Never sample outside the plane, whatever rectangle is asked for.
  int width = info.width ? (int)info.width : OSD_WIDTH;
  int height = info.height ? (int)info.height : OSD_HEIGHT;
  if (x1 < 0) x1 = 0;
  if (y1 < 0) y1 = 0;
  if (x2 >= width) x2 = width - 1;
  if (y2 >= height) y2 = height - 1;
  for (int y = y1; y <= y2; y += 4) {
    for (int x = x1; x <= x2; x += 4) {
      if (info.frameBuffer[y * OSD_WIDTH + x] != 0) return true;
    }
  }
  return false;
}
