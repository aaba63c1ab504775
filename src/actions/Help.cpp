// The help pages of the list: one static page each for the normal list, the
// recycle-bin view and the application-manager view, drawn over the list
// and taken away again with the screen as it was.
#include "actions/actions.h"
#include "app/app.h"
#include "config/Settings.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Text.h"

int quembryHelpWindowShowing;

namespace {

byte* savedScreen;

typedef const char* HelpPage[2][16];

HelpPage normalHelp = {
    {"Quembry list - keys", "Up / Down: previous / next entry",
     "Left / Right, Rewind / Fast Forward: page", "1 ... 9, 0: entry on that screen line",
     "Ok: play from where you stopped, or open the folder", "Play: play from the beginning",
     "Stop: stop the recording or playback of the entry", "Pause: next sort order",
     "Red (release): select for a multi-selection; hold: all / none",
     "Green: new folder   Yellow: move   Blue: delete", "White / Option: rename   Info: details",
     "Recall: recycle bin   Menu: settings", "Exit: close the list", "Audio: close this page",
     nullptr},
    {"Quembry-Liste - Tasten",
     "Auf / Ab: vorheriger / n\xE4"
     "chster Eintrag",
     "Links / Rechts, R\xFC"
     "cklauf / Vorlauf: Seite",
     "1 ... 9, 0: Eintrag dieser Bildschirmzeile",
     "Ok: dort weiter, wo Sie aufgeh\xF6rt haben, oder Ordner \xF6"
     "ffnen",
     "Play: von Anfang an abspielen", "Stop: Aufnahme oder Wiedergabe beenden",
     "Pause: n\xE4"
     "chste Sortierung",
     "Rot (loslassen): f\xFC"
     "r Mehrfachauswahl markieren; halten: alle / keine",
     "Gr\xFCn: neuer Ordner   Gelb: verschieben   Blau: l\xF6schen",
     "Wei\xDF / Option: umbenennen   Info: Details", "Recall: Papierkorb   Men\xFC: Einstellungen",
     "Exit: Liste schlie\xDF"
     "en",
     "Audio: diese Seite schlie\xDF"
     "en",
     nullptr}};

HelpPage recycleHelp = {
    {"Recycle bin - keys", "Up / Down, Left / Right: move and page", "Ok: open a folder",
     "Red: restore the file", "Green: empty the whole recycle bin",
     "Yellow: empty this folder's recycle bin", "Blue: delete the file for good",
     "White / Option: list of all recycled files", "Recall: back to the list",
     "Audio: close this page", nullptr},
    {"Papierkorb - Tasten", "Auf / Ab, Links / Rechts: bewegen und bl\xE4ttern",
     "Ok: Ordner \xF6"
     "ffnen",
     "Rot: Datei wiederherstellen", "Gr\xFCn: ganzen Papierkorb leeren",
     "Gelb: Papierkorb dieses Ordners leeren", "Blau: Datei endg\xFCltig l\xF6schen",
     "Wei\xDF / Option: alle Dateien im Papierkorb",
     "Recall: zur\xFC"
     "ck zur Liste",
     "Audio: diese Seite schlie\xDF"
     "en",
     nullptr}};

HelpPage managerHelp = {
    {"Application manager - keys", "Up / Down, Left / Right: move and page",
     "Ok: start the application, or stop it when it runs", "Play: start the application",
     "Info: details of the application", "Blue: delete the application file",
     "Exit: back to the recordings", "Audio: close this page", nullptr},
    {"Anwendungsverwaltung - Tasten", "Auf / Ab, Links / Rechts: bewegen und bl\xE4ttern",
     "Ok: Anwendung starten, oder beenden, wenn sie l\xE4uft", "Play: Anwendung starten",
     "Info: Details der Anwendung", "Blau: Anwendungsdatei l\xF6schen",
     "Exit: zur\xFC"
     "ck zu den Aufnahmen",
     "Audio: diese Seite schlie\xDF"
     "en",
     nullptr}};

void ShowPage(HelpPage& page) {
  if (!BeginHelpScreen()) return;
  const char* const* lines = page[TextLanguage == 1 ? 1 : 0];
  TAP_Osd_FillBox(rgn, 40, 30, 640, 516, 0xFF1E1E1E);
  PrintCenter(rgn, 40, 44, 680, lines[0], 0xFFFAFAFA, 0, 18);
  dword y = 96;
  for (int i = 1; i < 16 && lines[i]; i++, y += 30) {
    PrintLeft(rgn, 70, y, 660, lines[i], 0xFFFAFAFA, 0, 16);
  }
  TAP_Osd_Sync();
}

void ClosePage() {
  quembryHelpWindowShowing = 0;
  helpWindowShowing = 0;
  RestoreWindowCopy(rgn, &savedScreen, 0, 0, OSD_WIDTH, OSD_HEIGHT);
  TAP_Osd_Sync();
}

}  // namespace

bool BeginHelpScreen() {
  if (rgn == NO_REGION || quembryHelpWindowShowing) return false;
  savedScreen = TAP_Osd_SaveBox(rgn, 0, 0, OSD_WIDTH, OSD_HEIGHT);
  quembryHelpWindowShowing = 1;
  helpWindowShowing = 1;  // the list window's own flag, cleared when it is made anew
  return true;
}

void DropQuembryHelp() {
  quembryHelpWindowShowing = 0;
  if (savedScreen) TAP_MemFree(savedScreen);
  savedScreen = nullptr;
}

void DisplayQuembryHelp() { ShowPage(normalHelp); }
void DisplayQuembryRecycleHelp() { ShowPage(recycleHelp); }
void DisplayQuembryTAPManagerHelp() { ShowPage(managerHelp); }

dword QuembryHelpKeyHandler(dword key) {
  dword base = key & RKEY_MASK;
  bool statusRelease = StatusScreenKey != 0 && StatusScreenKey != (int)RKEY_Undefined &&
                       (key & RKEY_FLAG_RELEASED) && base == (dword)StatusScreenKey;
  if (key == RKEY_AudioTrk || key == RKEY_Exit || statusRelease) ClosePage();
  return 0;
}
