// The yes/no window, the message window and the message boxes.
#include "ui/Dialogs.h"

#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/UiTexts.h"

int YesNoOption;
int YesNoResult;
char YesNoButton1[10], YesNoButton2[10];
byte* YesNoWindowCopy;
void (*YesNoCallback)(int answer);

byte* MessageWindowCopy;
void (*MessageCallback)(int result);
int MessageResult;

byte* msgWindowCopy;

char lastMessageTitle[128];
char lastMessageLine1[128];
char lastMessageLine2[128];
int messageCount;

namespace {

const dword kInterior = 0xFF1E1E1E;
const dword kText = 0xFFFAFAFA;

const char* Safe(const char* text) { return text ? text : ""; }

void RecordMessage(const char* title, const char* line1, const char* line2) {
  snprintf(lastMessageTitle, sizeof lastMessageTitle, "%s", Safe(title));
  snprintf(lastMessageLine1, sizeof lastMessageLine1, "%s", Safe(line1));
  snprintf(lastMessageLine2, sizeof lastMessageLine2, "%s", Safe(line2));
  messageCount++;
}

dword BorderColourValue() { return BorderColour == 1 ? 0xFF666666 : 0xFFFFFFFF; }

// A window that takes keys while no screen of ours is up (the guards in front
// of the firmware's menus) needs a region to be seen in; it gives it back as
// it closes, unless the list has taken it over meanwhile.
int regionForWindow;

void ProvideRegion() {
  if (rgn != NO_REGION) return;
  CreateFullScreenRegion();
  regionForWindow = rgn != NO_REGION;
}

void ReleaseRegion() {
  if (!regionForWindow || yesnoWindowShowing || MessageWindowShowing) return;
  regionForWindow = 0;
  if (!windowShowing) DeleteFullScreenRegion();
}

// The outer box in the border colour and the interior 3 pixels inside it.
void DrawFrame(word region, int x, int y, int w, int h) {
  TAP_Osd_FillBox(region, (dword)x, (dword)y, (dword)w, (dword)h, BorderColourValue());
  TAP_Osd_FillBox(region, (dword)(x + 3), (dword)(y + 3), (dword)(w - 6), (dword)(h - 6),
                  kInterior);
}

void DrawMessageBox(word region, const char* title, const char* line1, const char* line2) {
  DrawFrame(region, 180, 223, 360, 130);
  int width = (int)PrintWidth(Safe(title), 18);
  int w1 = (int)PrintWidth(Safe(line1), 16), w2 = (int)PrintWidth(Safe(line2), 16);
  if (w1 > width) width = w1;
  if (w2 > width) width = w2;
  width += 10;
  if (width > 350) width = 350;
  dword left = (dword)(180 + (350 - width) / 2), right = (dword)(180 + (350 + width) / 2);
  PrintCenter(region, left, 235, right, Safe(title), kText, 0, 18);
  PrintCenter(region, left, 285, right, Safe(line1), kText, 0, 16);
  PrintCenter(region, left, 315, right, Safe(line2), kText, 0, 16);
}

}  // namespace

// ------------------------------------------------------------ yes/no window

void initialiseYesNoWindow() {
  yesnoWindowShowing = 0;
  YesNoOption = 1;
  YesNoResult = 0;
}

void DisplayYesNoWindow(const char* title, const char* line1, const char* line2,
                        const char* button1, const char* button2, int defaultOption,
                        void (*callback)(int answer)) {
  RecordMessage(title, line1, line2);
  YesNoCallback = callback;
  yesnoWindowShowing = 1;
  YesNoOption = defaultOption;
  ProvideRegion();
  // A window opened over one still up keeps the first saved screen.
  if (!YesNoWindowCopy) YesNoWindowCopy = TAP_Osd_SaveBox(rgn, 180, 198, 360, 180);
  DrawFrame(rgn, 180, 198, 360, 180);
  PrintCenter(rgn, 185, 211, 535, Safe(title), kText, 0, 18);
  PrintCenter(rgn, 185, 254, 535, Safe(line1), kText, 0, 16);
  PrintCenter(rgn, 185, 287, 535, Safe(line2), kText, 0, 16);
  snprintf(YesNoButton1, sizeof YesNoButton1, "%.9s", Safe(button1));
  snprintf(YesNoButton2, sizeof YesNoButton2, "%.9s", Safe(button2));
  DisplayYesNoLine();
  // The next key answers this window, so it has to be on screen now: a
  // caller may not draw again before that key, and idle events sync nothing
  // while a pop-up is up.
  TAP_Osd_Sync();
}

void DisplayYesNoLine() {
  const int xs[2] = {217, 387};
  const char* labels[2] = {YesNoButton1, YesNoButton2};
  for (int i = 0; i < 2; i++) {
    TAP_Osd_FillBox(rgn, (dword)xs[i], 324, 117, 39, 0xFF101010);
    PrintCenter(rgn, (dword)xs[i], 328, (dword)(xs[i] + 117), labels[i], kText, 0, 18);
  }
  if (YesNoOption == 0 || YesNoOption == 1) {
    int x = xs[YesNoOption];
    displayMenuBar(ButtonBarColour, x, 324, 39, 117);
    PrintCenter(rgn, (dword)x, 328, (dword)(x + 117), labels[YesNoOption], resolvedButtonTextColour,
                0, 18);
  }
}

void CloseYesNoWindow() {
  yesnoWindowShowing = 0;
  RestoreWindowCopy(rgn, &YesNoWindowCopy, 180, 198, 360, 180);
  if (YesNoCallback) YesNoCallback(YesNoResult);
  ReleaseRegion();
}

dword YesNoKeyHandler(dword key) {
  lastKeyHandler = "YesNoKeyHandler";
  if (key == RKEY_VolDown || key == RKEY_VolUp) {
    YesNoOption = YesNoOption == 0 ? 1 : 0;
    DisplayYesNoLine();
  } else if (key == RKEY_Exit) {
    YesNoResult = 0;
    CloseYesNoWindow();
  } else if (key == RKEY_Ok) {
    YesNoResult = YesNoOption == 0 ? 1 : 0;
    CloseYesNoWindow();
  } else if (key == RKEY_Blue && deleteWindowShowing && DeleteConfirmDefault == 1) {
    YesNoResult = 1;
    CloseYesNoWindow();
  }
  TAP_Osd_Sync();
  if (ReturningFromPhotoAlbumYesNo) {
    ReturningFromPhotoAlbumYesNo = 0;
    if (YesNoResult == 1) return RKEY_Ok;
  }
  return 0;
}

// ------------------------------------------------------------ message window

void initialiseMessageWindow() {
  MessageWindowShowing = 0;
  MessageResult = 0;
}

void DisplayMessageWindow(const char* title, const char* line1, const char* line2,
                          void (*callback)(int result)) {
  RecordMessage(title, line1, line2);
  MessageCallback = callback;
  MessageWindowShowing = 1;
  ProvideRegion();
  if (!MessageWindowCopy) MessageWindowCopy = TAP_Osd_SaveBox(rgn, 100, 183, 520, 210);
  DrawFrame(rgn, 100, 183, 520, 210);
  PrintCenter(rgn, 105, 196, 615, Safe(title), kText, 0, 18);
  if (line2 && line2[0]) {
    PrintCenter(rgn, 105, 239, 615, Safe(line1), kText, 0, 16);
    PrintCenter(rgn, 105, 272, 615, line2, kText, 0, 16);
  } else {
    PrintCenter(rgn, 105, 255, 615, Safe(line1), kText, 0, 16);
  }
  PrintCenter(rgn, 105, 363, 615, Lang(text_OkToContinue), kText, 0, 12);
  TAP_Osd_Sync();
}

void CloseMessageWindow() {
  MessageWindowShowing = 0;
  RestoreWindowCopy(rgn, &MessageWindowCopy, 100, 183, 520, 210);
  MessageResult = 0;
  if (MessageCallback) MessageCallback(MessageResult);
  ReleaseRegion();
}

dword MessageKeyHandler(dword key) {
  lastKeyHandler = "MessageKeyHandler";
  if (key == RKEY_Ok || key == RKEY_Exit) {
    CloseMessageWindow();
    TAP_Osd_Sync();
  }
  return 0;
}

void ReturnFromMessageWindow(int) {}

// ------------------------------------------------------------ message boxes

void ShowMessageBox(word region, const char* title, const char* line1, const char* line2) {
  RecordMessage(title, line1, line2);
  DrawMessageBox(region, title, line1, line2);
  TAP_Osd_Sync();
}

void ShowMessageWinX(word region, const char* title, const char* line1, const char* line2,
                     dword delay) {
  // With no screen of ours up (the list hidden) the notice gets a region of
  // its own for its time on screen.
  word own = NO_REGION;
  if (region == NO_REGION) {
    own = TAP_Osd_Create(0, 0, OSD_WIDTH, OSD_HEIGHT, 0, 0);
    region = own;
  }
  byte* copy = TAP_Osd_SaveBox(region, 180, 223, 360, 130);
  ShowMessageBox(region, title, line1, line2);
  TAP_Delay(delay);
  RestoreWindowCopy(region, &copy, 180, 223, 360, 130);
  if (own != NO_REGION) TAP_Osd_Delete(own);
  TAP_Osd_Sync();
}

void ShowMessageWinTemp(word region, const char* title, const char* line1, const char* line2) {
  // Only one box can be up: a second one replaces the text, the first saved
  // screen stays the one to put back.
  if (!msgWindowCopy) msgWindowCopy = TAP_Osd_SaveBox(region, 180, 223, 360, 130);
  ShowMessageBox(region, title, line1, line2);
}

void RestoreMessageWinTemp(word region) {
  RestoreWindowCopy(region, &msgWindowCopy, 180, 223, 360, 130);
  TAP_Osd_Sync();
}

void RestoreWindowCopy(word region, byte** copy, int x, int y, int w, int h) {
  if (!*copy) return;
  if (region != NO_REGION)
    TAP_Osd_RestoreBox(region, (dword)x, (dword)y, (dword)w, (dword)h, *copy);
  TAP_MemFree(*copy);
  *copy = nullptr;
}
