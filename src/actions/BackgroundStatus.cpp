// The box in the list's lower right corner that reports a running background
// copy or preparation, and its outcome once it has ended.
#include <stdio.h>

#include "actions/actions.h"
#include "actions/texts.h"
#include "app/app.h"
#include "app/keys.h"
#include "apps/apps.h"
#include "config/Settings.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

int backgroundOutcomeShown;

namespace {

const dword kPanel = 0xFF101010;
const dword kBoxText = 0xFFC0C0C0;

int BoxTop() {
  int row = 15 - (ExtraLineOption ? 0 : 1) - (LineSpacingOption ? 0 : 5);
  int height = LineSpacingOption ? 29 : 42;
  return row * height + yOffsetOption + 36;
}

int DrawBox() {
  int top = BoxTop();
  TAP_Osd_FillBox(rgn, 521, (dword)top, 150, 81, BorderColour ? 0xFF666666 : 0xFFFFFFFF);
  TAP_Osd_FillBox(rgn, 523, (dword)(top + 2), 146, 77, kPanel);
  return top;
}

void Centred(int y, const char* text) {
  PrintCenter(rgn, 525, (dword)y, 667, text, kBoxText, kPanel, 14);
}

}  // namespace

void DisplayBackgroundMoveStatus() {
  int top = DrawBox();
  Centred(top + 3, Text(text_CopyInProgress));
  int percent = BackgroundCopyDisplayPercent();
  if (percent >= 0) {
    char text[16];
    snprintf(text, sizeof text, "%d%%", percent);
    PrintRight(rgn, 525, (dword)(top + 27), 667, text, kBoxText, kPanel, 14);
  }
  static const dword colours[6] = {0, 0xFF00FF00, 0xFFFF0000, 0xFFFFFF00, 0xFFFFFFFF, 0xFF808080};
  if (HDDBarOption >= 0 && HDDBarOption <= 5) {
    int width = HDDBarOption == 5 ? 100 : 95;
    DisplayProgressBar(rgn, (dword)(percent < 0 ? 0 : percent), 100, 525, top + 31, width, 14,
                       kPanel, 1, 0xFF808080, colours[HDDBarOption]);
  }
  const TYPE_GrData* button = &_Button_yellow_Gd;
  int x = button->width >= 34 ? 521 : 521 + (34 - button->width) / 2;
  TAP_Osd_PutGd(rgn, x, top + 54, button, 1);
  PrintLeft(rgn, 555, (dword)(top + 51), 667, Text(text_CancelCopyTitle), kBoxText, kPanel, 14);
}

void DisplayBackgroundMoveCompletion() {
  int top = DrawBox();
  if (moveInBackgroundComplete == 1) {
    Centred(top + 15, Text(text_BackgroundCopy));
    Centred(top + 39, Text(text_Complete));
  } else {
    AppText& outcome = moveInBackgroundComplete == -3   ? text_ErrorSize
                       : moveInBackgroundComplete == -2 ? text_Cancelled
                                                        : text_Error;
    Centred(top + 27, Text(outcome));
    Centred(top + 51, Text(text_CheckFiles));
  }
}

void DisplayBackgroundPrepareStatus() {
  int top = DrawBox();
  Centred(top + 3, Text(text_PrepareWord));
  Centred(top + 27, Text(text_InProgress));
  const TYPE_GrData* button = ButtonGraphic(GetButtonImage((dword)TagsmithKey));
  int x = button->width > 39 ? 525 : 521 + (40 - button->width) / 2;
  TAP_Osd_PutGd(rgn, x, top + 54, button, 1);
  PrintLeft(rgn, 569, (dword)(top + 51), 667, Text(text_CancelWord), kBoxText, kPanel, 14);
}

void DisplayBackgroundPrepareCompletion() {
  int top = DrawBox();
  Centred(top + 3, Text(text_BackgroundWord));
  Centred(top + 27, Text(text_PrepareWord));
  AppText& outcome = prepareInBackgroundComplete > 0     ? text_Complete
                     : prepareInBackgroundComplete == -2 ? text_Cancelled
                                                         : text_Error;
  Centred(top + 51, Text(outcome));
}

bool DisplayBackgroundStatus() {
  if (processInBackground == 1) {
    DisplayBackgroundMoveStatus();
  } else if (moveInBackgroundComplete != 0) {
    DisplayBackgroundMoveCompletion();
    backgroundOutcomeShown = windowShowing;
  } else if (processInBackground == 2) {
    DisplayBackgroundPrepareStatus();
  } else if (prepareInBackgroundComplete != 0) {
    DisplayBackgroundPrepareCompletion();
    backgroundOutcomeShown = windowShowing;
  } else {
    return false;
  }
  return true;
}
