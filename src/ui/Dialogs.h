// Dialogs.h - the pop-ups drawn over the screen: the yes/no window, the
// message window and the message boxes. Each saves the rectangle it covers
// and puts it back when it goes.
#pragma once

#include "tap.h"

// Yes/no window.
extern int YesNoOption;  // highlighted button: 0 first, 1 second
extern int YesNoResult;  // 1 yes, 0 no
extern char YesNoButton1[10], YesNoButton2[10];
extern byte* YesNoWindowCopy;
extern void (*YesNoCallback)(int answer);

// Message window.
extern byte* MessageWindowCopy;
extern void (*MessageCallback)(int result);
extern int MessageResult;

// Message box left up by ShowMessageWinTemp.
extern byte* msgWindowCopy;

// What the last pop-up of any kind showed, and how many were shown: the
// record of notices that the log and the tests read.
extern char lastMessageTitle[128];
extern char lastMessageLine1[128];
extern char lastMessageLine2[128];
extern int messageCount;

void initialiseYesNoWindow();
void DisplayYesNoWindow(const char* title, const char* line1, const char* line2,
                        const char* button1, const char* button2, int defaultOption,
                        void (*callback)(int answer));
void DisplayYesNoLine();
void CloseYesNoWindow();
dword YesNoKeyHandler(dword key);

void initialiseMessageWindow();
void DisplayMessageWindow(const char* title, const char* line1, const char* line2,
                          void (*callback)(int result));
void CloseMessageWindow();
dword MessageKeyHandler(dword key);
void ReturnFromMessageWindow(int result);

void ShowMessageBox(word region, const char* title, const char* line1, const char* line2);
void ShowMessageWinX(word region, const char* title, const char* line1, const char* line2,
                     dword delay);
void ShowMessageWinTemp(word region, const char* title, const char* line1, const char* line2);
void RestoreMessageWinTemp(word region);

// Puts back the rectangle a window saved when it opened (in `region`, unless
// that is gone) and frees the copy; nothing when there is no copy.
void RestoreWindowCopy(word region, byte** copy, int x, int y, int w, int h);
