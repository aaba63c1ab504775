// The texts of the configuration menus: every line's label, help and value
// texts in English and German, the titles, the legend and the credits.
#include "config/texts.h"

#define NONE \
  { nullptr, nullptr }
#define YES_NO \
  { "No|Yes", "Nein|Ja" }
#define FONT_SIZES                                   \
  {                                                  \
    "Automatic|Small (12)|Medium (14)|Large (16)",   \
        "Automatisch|Klein (12)|Mittel (14)|Gro\xDF" \
        " (16)"                                      \
  }
#define ALIGNMENTS \
  { "Centre|Left|Right", "Mitte|Links|Rechts" }
#define BAR_SCHEMES                          \
  {                                          \
    "Blue|Green|Old green|Yellow|Dark blue", \
        "Blau|Gr\xFC"                        \
        "n|Altgr\xFC"                        \
        "n|Gelb|Dunkelblau"                  \
  }
#define TEXT_COLOURS      \
  {                       \
    "White|Black|Yellow", \
        "Wei\xDF"         \
        "|Schwarz|Gelb"   \
  }
#define GREYS \
  { "Dark grey|Mid grey|Off-white|White", "Dunkelgrau|Mittelgrau|Hellgrau|Wei\xDF" }
#define SORT_ORDERS                                              \
  {                                                              \
    "Date|Sort name|Channel number|Size|Full name|Reverse date", \
        "Datum|Sortiername|Kanalnummer|Gr\xF6"                   \
        "\xDF"                                                   \
        "e|Voller Name|Datum r\xFC"                              \
        "ckw\xE4"                                                \
        "rts"                                                    \
  }

AppText text_MenuTitles[10] = {
    {"Configuration", "Konfiguration"},      {"Config/FirstTime", "Konfig/Erste Schritte"},
    {"Config/General", "Konfig/Allgemein"},  {"Config/Keys", "Konfig/Tasten"},
    {"Config/Columns", "Konfig/Spalten"},    {"Config/Display", "Konfig/Anzeige"},
    {"Config/Sort", "Konfig/Sortierung"},    {"Config/Colours", "Konfig/Farben"},
    {"Config/Recycle", "Konfig/Papierkorb"}, {"Config/Actions", "Konfig/Aktionen"}};

const ConfigLineText text_MainMenuLines[13] = {
    {{"First Time Settings", "Erste Einstellungen"},
     {"Language, keyboard language and the time zone of programme times.",
      "Sprache, Tastatursprache und Zeitzone der Sendungszeiten."},
     NONE,
     NONE},
    {{"General Settings", "Allgemeine Einstellungen"},
     {"Recording rate, stopping playback, moving, folders, media folders and background copies.",
      "Aufnahmerate, Wiedergabe beenden, Verschieben, Ordner, Medienordner und Hintergrundkopien."},
     NONE,
     NONE},
    {{"Key Settings", "Tasteneinstellungen"},
     {"Which remote keys open the list and call its functions.",
      "Welche Tasten der Fernbedienung die Liste \xF6"
      "ffnen und ihre Funktionen aufrufen."},
     NONE,
     NONE},
    {{"Column Settings", "Spalteneinstellungen"},
     {"What the five columns of the list show, their alignment and font sizes.",
      "Was die f\xFC"
      "nf Spalten der Liste zeigen, ihre Ausrichtung und Schriftgr\xF6"
      "\xDF"
      "en."},
     NONE,
     NONE},
    {{"Display Settings", "Anzeigeeinstellungen"},
     {"Information line, progress bars, spacing, fonts, new files and where the list starts.",
      "Infozeile, Fortschrittsbalken, Zeilenabstand, Schriften, neue Dateien und wo die Liste "
      "beginnt."},
     NONE,
     NONE},
    {{"Sort Settings", "Sortiereinstellungen"},
     {"The sort order and which orders the Pause key skips.",
      "Die Sortierung und welche Sortierungen die Pause-Taste \xFC"
      "berspringt."},
     NONE,
     NONE},
    {{"Colour Settings", "Farbeinstellungen"},
     {"Colours of the menu bar, the buttons, the clock and the borders.",
      "Farben von Men\xFC"
      "balken, Tasten, Uhr und Rahmen."},
     NONE,
     NONE},
    {{"Recycle Settings", "Papierkorbeinstellungen"},
     {"Deleting to the recycle bin and when it is emptied.",
      "L\xF6"
      "schen in den Papierkorb und wann er geleert wird."},
     NONE,
     NONE},
    {{"Actions Settings", "Aktionen"},
     {"Empty the recycle bin, clear flags and progress, check the firmware file and the uptime.",
      "Papierkorb leeren, Markierungen und Fortschritt l\xF6"
      "schen, Firmware-Datei und Laufzeit pr\xFC"
      "fen."},
     NONE,
     NONE},
    {{"Show Credits", "Danksagungen"},
     {"The libraries and resources this program is built with.",
      "Die Bibliotheken und Mittel, mit denen dieses Programm gebaut ist."},
     NONE,
     NONE},
    {{"Stop TAP", "TAP beenden"},
     {"Unloads Pavrolinex until the recorder starts it again. Changes are not saved.",
      "Entl\xE4"
      "dt Pavrolinex, bis der Receiver es wieder startet. \xC4"
      "nderungen werden nicht gespeichert."},
     NONE,
     NONE},
    {{"Exit Config", "Konfig verlassen"},
     {"Leaves the menus and discards every change.",
      "Verl\xE4"
      "sst die Men\xFC"
      "s und verwirft alle \xC4"
      "nderungen."},
     NONE,
     NONE},
    {{"Save and Exit", "Speichern und verlassen"},
     {"Saves every change and leaves the menus.",
      "Speichert alle \xC4"
      "nderungen und verl\xE4"
      "sst die Men\xFC"
      "s."},
     NONE,
     NONE}};

const ConfigLineText text_FirstTimeLines[3] = {
    {{"Language/Sprache", "Language/Sprache"},
     {"Language of every text of Pavrolinex.", "Sprache aller Texte von Pavrolinex."},
     {"English|German", "Englisch|Deutsch"},
     NONE},
    {{"Keyboard Language", "Tastatursprache"},
     {"Layout of the on-screen keyboard.", "Belegung der Bildschirmtastatur."},
     {"English|Finnish|German", "Englisch|Finnisch|Deutsch"},
     NONE},
    {{"GMT Offset", "GMT-Abweichung"},
     {"Minutes added to the broadcast times shown on the info screen.",
      "Minuten, die zu den Sendezeiten im Infofenster addiert werden."},
     {"%+d minutes", "%+d Minuten"},
     NONE}};

const ConfigLineText text_GeneralLines[22] = {
    {{"Recording Rate", "Aufnahmerate"},
     {"Megabytes recorded per hour: turns free disk space into hours.",
      "Aufgenommene Megabyte pro Stunde: rechnet freien Platz in Stunden um."},
     {"%d MB per hour", "%d MB pro Stunde"},
     NONE},
    {{"Stop Playback Option", "Wiedergabe-Stopp"},
     {"What Stop does during playback.",
      "Was Stop w\xE4"
      "hrend der Wiedergabe tut."},
     {"Return to live TV|Return to the list|Open the stop menu",
      "Zur\xFC"
      "ck zum Fernsehbild|Zur\xFC"
      "ck zur Liste|Stopp-Men\xFC"
      " \xF6"
      "ffnen"},
     NONE},
    {{"Delay Before Stop",
      "Verz\xF6"
      "gerung vor Stopp"},
     {"How long to wait before reacting to Stop during playback.",
      "Wie lange vor der Reaktion auf Stop gewartet wird."},
     {"%d ms", "%d ms"},
     {"No delay",
      "Keine Verz\xF6"
      "gerung"}},
    {{"MovieCutter Option", "MovieCutter-Option"},
     {"Reserved for a link with MovieCutter; it cannot be changed.",
      "F\xFC"
      "r eine Verbindung mit MovieCutter reserviert; nicht \xE4"
      "nderbar."},
     {"Not used", "Nicht verwendet"},
     NONE},
    {{"Rename On Move", "Name beim Verschieben"},
     {"What happens when a moved file meets a file of the same name.",
      "Was geschieht, wenn eine verschobene Datei auf eine gleichnamige trifft."},
     {"Rename and confirm|Rename silently|Rename with a message|Do not rename",
      "Umbenennen mit R\xFC"
      "ckfrage|Still umbenennen|Umbenennen mit Meldung|Nicht umbenennen"},
     NONE},
    {{"Free Space Threshold", "Grenze freier Platz"},
     {"The free space turns red below this many gigabytes.",
      "Der freie Platz wird unter so vielen Gigabyte rot angezeigt."},
     {"%d GB", "%d GB"},
     NONE},
    {{"Activate with Prog Bar", "Aktivieren mit Fortschritt"},
     {"Open the list also while the playback progress bar shows.",
      "Die Liste auch \xF6"
      "ffnen, w\xE4"
      "hrend der Wiedergabebalken zu sehen ist."},
     YES_NO,
     NONE},
    {{"Recursive Folder Depth", "Ordnertiefe"},
     {"How many folder levels are scanned when the list loads.",
      "Wie viele Ordnerebenen beim Laden gelesen werden."},
     {"%d levels", "%d Ebenen"},
     {"Unlimited", "Unbegrenzt"}},
    {{"Skip PhotoAlbum Safety", "Fotoalbum-Schutz aus"},
     {"Skip the confirmation before opening a picture of the photo album.",
      "Die R\xFC"
      "ckfrage vor dem \xD6"
      "ffnen eines Bildes im Fotoalbum auslassen."},
     YES_NO,
     NONE},
    {{"Rename Check Freq",
      "Umbenennungspr\xFC"
      "fung"},
     {"How often new recordings are checked for automatic renaming.",
      "Wie oft neue Aufnahmen auf automatisches Umbenennen gepr\xFC"
      "ft werden."},
     {"Every %d s", "Alle %d s"},
     {"Off", "Aus"}},
    {{"Move Destinations", "Verschiebeziele"},
     {"Which folders the move window offers.", "Welche Ordner das Verschiebefenster anbietet."},
     {"Folders of this folder|With their subfolders|All folders",
      "Ordner dieses Ordners|Mit Unterordnern|Alle Ordner"},
     NONE},
    {{"Performance Boost", "Schneller laden"},
     {"Do not scan subfolders again when the list is reloaded.",
      "Unterordner beim Neuladen nicht erneut lesen."},
     YES_NO,
     NONE},
    {{"Bypass .inf files", ".inf-Dateien auslassen"},
     {"Do not read the recordings' .inf files when the list is reloaded.",
      "Die .inf-Dateien der Aufnahmen beim Neuladen nicht lesen."},
     YES_NO,
     NONE},
    {{"Mount MediaFiles",
      "MediaFiles einh\xE4"
      "ngen"},
     {"Show /MediaFiles in the list as /DataFiles/~MediaFiles (a mount).",
      "/MediaFiles in der Liste als /DataFiles/~MediaFiles zeigen (eingeh\xE4"
      "ngt)."},
     YES_NO,
     NONE},
    {{"Link MediaFiles",
      "MediaFiles verkn\xFC"
      "pfen"},
     {"Show /MediaFiles in the list as /DataFiles/_MediaFiles (a link).",
      "/MediaFiles in der Liste als /DataFiles/_MediaFiles zeigen (Verkn\xFC"
      "pfung)."},
     YES_NO,
     NONE},
    {{"youtube Keyboard", "YouTube-Tastatur"},
     {"Which keyboard types a YouTube search.", "Welche Tastatur eine YouTube-Suche eingibt."},
     {"Firmware keyboard|Pavrolinex keyboard|YouTube blocked",
      "Firmware-Tastatur|Pavrolinex-Tastatur|YouTube gesperrt"},
     NONE},
    {{"Alive Logging Freq", "Lebenszeichen-Log"},
     {"How often a line is written to the alive log.",
      "Wie oft eine Zeile in das Lebenszeichen-Log geschrieben wird."},
     {"Every %d min", "Alle %d min"},
     {"Off", "Aus"}},
    {{"MoveTo Folder Match", "Ordnervorauswahl"},
     {"Characters of a name compared with folder names to preselect where it moves.",
      "Zeichen eines Namens, die mit Ordnernamen verglichen werden, um das Ziel vorzuw\xE4"
      "hlen."},
     {"%d characters", "%d Zeichen"},
     {"Off", "Aus"}},
    {{"Background Copy", "Hintergrundkopie"},
     {"Copies to mounted drives: the own background copy, or a job file for BackgroundCopy.",
      "Kopien auf eingeh\xE4"
      "ngte Laufwerke: eigene Hintergrundkopie oder Auftrag f\xFC"
      "r BackgroundCopy."},
     {"Own background copy|BackgroundCopy job file",
      "Eigene Hintergrundkopie|Auftrag f\xFC"
      "r BackgroundCopy"},
     NONE},
    {{"Bypass NFS Warning", "NFS-Warnung aus"},
     {"Skip the warning against background copies to network drives.",
      "Die Warnung vor Hintergrundkopien auf Netzlaufwerke auslassen."},
     YES_NO,
     NONE},
    {{"'bgc' Copy or Move", "'bgc' Kopieren/Verschieben"},
     {"Whether BackgroundCopy job files copy or move.",
      "Ob Auftr\xE4"
      "ge f\xFC"
      "r BackgroundCopy kopieren oder verschieben."},
     {"Copy|Move", "Kopieren|Verschieben"},
     NONE},
    {{"Confirm 'bgc' Jobfiles",
      "'bgc'-Auftr\xE4"
      "ge best\xE4"
      "tigen"},
     {"Ask before a BackgroundCopy job file is written.",
      "Vor dem Schreiben eines BackgroundCopy-Auftrags fragen."},
     {"Confirm each job file|No confirmations",
      "Jeden Auftrag best\xE4"
      "tigen|Keine R\xFC"
      "ckfragen"},
     NONE}};

#define KEY_LINE(en, de, helpEn, helpDe) \
  { {en, de}, {helpEn, helpDe}, NONE, NONE }
const ConfigLineText text_KeysLines[22] = {
    KEY_LINE("Main Activation Key", "Aktivierungstaste", "The key that opens the list.",
             "Die Taste, die die Liste \xF6"
             "ffnet."),
    {{"OK/Play Option", "OK/Play-Option"},
     {"Which of Ok and Play resumes a recording and which starts it from the beginning.",
      "Welche von Ok und Play eine Aufnahme fortsetzt und welche sie von vorn startet."},
     {"Ok resumes, Play starts|Play resumes, Ok starts",
      "Ok setzt fort, Play von vorn|Play setzt fort, Ok von vorn"},
     NONE},
    {{"FileList Key", "FileList-Taste"},
     {"What File List does while the list shows.",
      "Was File List tut, w\xE4"
      "hrend die Liste zu sehen ist."},
     {"Firmware's own list|Ignore|Leave the list|Application manager",
      "Liste der Firmware|Ignorieren|Liste verlassen|Anwendungsverwaltung"},
     NONE},
    {{"Long Press FileList",
      "FileList lang dr\xFC"
      "cken"},
     {"What keeping File List pressed does.",
      "Was langes Dr\xFC"
      "cken von File List tut."},
     {"Firmware's own list|Manager in AutoStart|Manager in /ProgramFiles|Nothing",
      "Liste der Firmware|Verwaltung in AutoStart|Verwaltung in /ProgramFiles|Nichts"},
     NONE},
    KEY_LINE("MultiSelect Key", "Mehrfachauswahl-Taste", "Marks entries for a multi-selection.",
             "Markiert Eintr\xE4"
             "ge f\xFC"
             "r eine Mehrfachauswahl."),
    KEY_LINE("Override Parent Dir Key", "Taste Elternordner", "Goes to the parent folder.",
             "Wechselt in den \xFC"
             "bergeordneten Ordner."),
    KEY_LINE("Override Recycle Key", "Papierkorb-Taste",
             "Enters and leaves the recycle bin (Undefined: Recall).",
             "\xD6"
             "ffnet und verl\xE4"
             "sst den Papierkorb (Undefiniert: Recall)."),
    KEY_LINE("Restart Last (internal)", "Letzte neu (Liste)",
             "Plays the last recording again while the list shows.",
             "Spielt die letzte Aufnahme erneut, w\xE4"
             "hrend die Liste zu sehen ist."),
    KEY_LINE("Restart Last (external)", "Letzte neu (TV)",
             "Plays the last recording again while the list is hidden.",
             "Spielt die letzte Aufnahme erneut, wenn die Liste verborgen ist."),
    KEY_LINE("Reset Progress Key",
             "Fortschritt-zur\xFC"
             "ck-Taste",
             "Resets the viewing progress of the selected recording.",
             "Setzt den Wiedergabefortschritt der gew\xE4"
             "hlten Aufnahme zur\xFC"
             "ck."),
    KEY_LINE("User Exit Key 1", "Eigene Ende-Taste 1",
             "An extra key that closes the list and then acts as usual.",
             "Eine weitere Taste, die die Liste schlie\xDF"
             "t und dann wie \xFC"
             "blich wirkt."),
    KEY_LINE("User Exit Key 2", "Eigene Ende-Taste 2",
             "An extra key that closes the list and then acts as usual.",
             "Eine weitere Taste, die die Liste schlie\xDF"
             "t und dann wie \xFC"
             "blich wirkt."),
    KEY_LINE("User Exit Key 3", "Eigene Ende-Taste 3",
             "An extra key that closes the list and then acts as usual.",
             "Eine weitere Taste, die die Liste schlie\xDF"
             "t und dann wie \xFC"
             "blich wirkt."),
    KEY_LINE("User Exit Key 4", "Eigene Ende-Taste 4",
             "An extra key that closes the list and then acts as usual.",
             "Eine weitere Taste, die die Liste schlie\xDF"
             "t und dann wie \xFC"
             "blich wirkt."),
    KEY_LINE("Clear Disk Cache Key", "Cache-leeren-Taste",
             "Drops the file-system caches, anywhere.",
             "Leert die Dateisystem-Caches, \xFC"
             "berall."),
    KEY_LINE("Override DataFiles Key", "DataFiles-Taste", "Jumps to /DataFiles.",
             "Springt nach /DataFiles."),
    KEY_LINE("Override Menu Exit Key",
             "Men\xFC"
             "-Ende-Taste",
             "Leaves these menus without saving.",
             "Verl\xE4"
             "sst diese Men\xFC"
             "s ohne zu speichern."),
    KEY_LINE("Tagsmith Key", "Tagsmith-Taste", "Hands the selected recording to Tagsmith.",
             "\xDC"
             "bergibt die gew\xE4"
             "hlte Aufnahme an Tagsmith."),
    KEY_LINE("Override Info Key", "Info-Taste",
             "Opens the own information window (Undefined: Info).",
             "\xD6"
             "ffnet das eigene Infofenster (Undefiniert: Info)."),
    KEY_LINE("TAP Manager Key", "TAP-Verwaltungstaste", "Switches to the application manager.",
             "Wechselt zur Anwendungsverwaltung."),
    KEY_LINE("File Suffix Filter", "Dateifilter-Taste",
             "Cycles the file filter while the list stays open.",
             "Wechselt den Dateifilter, w\xE4"
             "hrend die Liste offen bleibt."),
    KEY_LINE("AV Mode Key", "AV-Modus-Taste", "Changes the analogue output mode.",
             "Wechselt den analogen Ausgabemodus.")};

#define FONT_LINE(n)                                                 \
  {                                                                  \
    {"Column " #n " Font Size", "Schrift Spalte " #n},               \
        {"Font size of column " #n "; automatic fits the text.",     \
         "Schriftgr\xF6"                                             \
         "\xDF"                                                      \
         "e der Spalte " #n "; automatisch passt sie dem Text an."}, \
        FONT_SIZES, NONE                                             \
  }
const ConfigLineText text_ColumnsLines[16] = {
    {{"Column 1", "Spalte 1"},
     {"The number column.", "Die Nummernspalte."},
     {"No number|File number (no folders)|Line number (with folders)",
      "Keine Nummer|Dateinummer (ohne Ordner)|Zeilennummer (mit Ordnern)"},
     NONE},
    {{"Column 2", "Spalte 2"},
     {"The name column.", "Die Namensspalte."},
     {"Name without extension|Name without date/time|Full file name",
      "Name ohne Endung|Name ohne Datum/Zeit|Voller Dateiname"},
     NONE},
    {{"Column 3", "Spalte 3"},
     {"The date column.", "Die Datumsspalte."},
     {"DDD # MMM|DDD x wks ago|DD/MM|DD.MM|DDD ## MMM",
      "TTT # MMM|TTT vor x Wo|TT/MM|TT.MM|TTT ## MMM"},
     NONE},
    {{"Column 4", "Spalte 4"},
     {"The time and duration column.",
      "Die Spalte f\xFC"
      "r Zeit und Dauer."},
     {"HH:MM (Duration)|HH:MM ~ HH:MM|Duration (eg. 1h 30min)|Duration in mins (no "
      "suffix)|Duration in mins + size|Duration (eg. 1:30)|HH:MM (Duration 0h 00m)|HH:MM + "
      "Duration 0h 00m",
      "HH:MM (Dauer)|HH:MM ~ HH:MM|Dauer (z.B. 1h 30min)|Dauer in Min (ohne Einheit)|Dauer in Min "
      "+ Gr\xF6"
      "\xDF"
      "e|Dauer (z.B. 1:30)|HH:MM (Dauer 0h 00m)|HH:MM + Dauer 0h 00m"},
     NONE},
    {{"Column 5", "Spalte 5"},
     {"The logo or size column.",
      "Die Logo- oder Gr\xF6"
      "\xDF"
      "enspalte."},
     {"Channel logo|Size in MB|Size in GB|MB without unit|GB without unit|MB or GB",
      "Senderlogo|Gr\xF6"
      "\xDF"
      "e in MB|Gr\xF6"
      "\xDF"
      "e in GB|MB ohne Einheit|GB ohne Einheit|MB oder GB"},
     NONE},
    {{"Column 3 Align", "Ausrichtung Spalte 3"},
     {"Alignment of the date column.", "Ausrichtung der Datumsspalte."},
     ALIGNMENTS,
     NONE},
    {{"Column 4 Align", "Ausrichtung Spalte 4"},
     {"Alignment of the time and duration column.",
      "Ausrichtung der Spalte f\xFC"
      "r Zeit und Dauer."},
     ALIGNMENTS,
     NONE},
    {{"Column 5 Align", "Ausrichtung Spalte 5"},
     {"Alignment of the logo or size column.",
      "Ausrichtung der Logo- oder Gr\xF6"
      "\xDF"
      "enspalte."},
     ALIGNMENTS,
     NONE},
    {{"Column 5 Folder Size",
      "Ordnergr\xF6"
      "\xDF"
      "e Spalte 5"},
     {"Show the size of folders in GB in column 5.",
      "Die Gr\xF6"
      "\xDF"
      "e von Ordnern in GB in Spalte 5 zeigen."},
     {"Not shown|Shown", "Nicht gezeigt|Gezeigt"},
     NONE},
    FONT_LINE(1),
    FONT_LINE(2),
    FONT_LINE(3),
    FONT_LINE(4),
    FONT_LINE(5),
    {{"Default to Large Spacing",
      "Standard: gro\xDF"
      "er Abstand"},
     {"Press OK to reset the columns and font sizes for large line spacing.",
      "OK setzt Spalten und Schriftgr\xF6"
      "\xDF"
      "en f\xFC"
      "r gro\xDF"
      "en Zeilenabstand zur\xFC"
      "ck."},
     NONE,
     NONE},
    {{"Default to Small Spacing", "Standard: kleiner Abstand"},
     {"Press OK to reset the columns and font sizes for small line spacing.",
      "OK setzt Spalten und Schriftgr\xF6"
      "\xDF"
      "en f\xFC"
      "r kleinen Zeilenabstand zur\xFC"
      "ck."},
     NONE,
     NONE}};

const ConfigLineText text_DisplayLines[19] = {
    {{"Info Line", "Infozeile"},
     {"What the bottom of the list tells about the selected recording.",
      "Was der untere Rand der Liste \xFC"
      "ber die gew\xE4"
      "hlte Aufnahme sagt."},
     {"Description on 2 lines|Description + recording info|Description + info with time",
      "Beschreibung auf 2 Zeilen|Beschreibung + Aufnahmeinfo|Beschreibung + Info mit Zeit"},
     NONE},
    {{"Progress Bar", "Fortschrittsbalken"},
     {"How the viewing progress of a recording is drawn.",
      "Wie der Wiedergabefortschritt einer Aufnahme gezeichnet wird."},
     {"Multi-coloured|Single colour by percentage|Single colour full length|Playback green, "
      "recording red|White",
      "Mehrfarbig|Einfarbig nach Prozent|Einfarbig volle L\xE4"
      "nge|Wiedergabe gr\xFC"
      "n, Aufnahme rot|Wei\xDF"},
     NONE},
    {{"Minutes on Prog Bar", "Minuten am Balken"},
     {"The watched and remaining minutes on progress bars.",
      "Gesehene und verbleibende Minuten an den Fortschrittsbalken."},
     {"Small font (10)|Hidden|Larger font (12)",
      "Kleine Schrift (10)|Verborgen|Gr\xF6"
      "\xDF"
      "ere Schrift (12)"},
     NONE},
    {{"HDD Usage Bar", "Plattenbalken"},
     {"Colour of the disk usage bar.", "Farbe des Balkens der Plattenbelegung."},
     {"Multi-coloured|Green|Red|Yellow|White|Grey",
      "Mehrfarbig|Gr\xFC"
      "n|Rot|Gelb|Wei\xDF"
      "|Grau"},
     NONE},
    {{"Line Spacing", "Zeilenabstand"},
     {"How many lines the list shows on a page.",
      "Wie viele Zeilen die Liste auf einer Seite zeigt."},
     {"Large (9 or 10 lines)|Small (14 or 15 lines)",
      "Gro\xDF"
      " (9 oder 10 Zeilen)|Klein (14 oder 15 Zeilen)"},
     NONE},
    {{"Extra Line",
      "Zus\xE4"
      "tzliche Zeile"},
     {"One more line on the screen.", "Eine Zeile mehr auf dem Bildschirm."},
     YES_NO,
     NONE},
    {{"Extra Info Font", "Schrift Zusatzinfo"},
     {"Font of the extra information.", "Schrift der Zusatzinformation."},
     {"Small (5 lines)|Large (4 lines)",
      "Klein (5 Zeilen)|Gro\xDF"
      " (4 Zeilen)"},
     NONE},
    {{"Bottom Font Size", "Schrift unten"},
     {"Font size of the description at the bottom.",
      "Schriftgr\xF6"
      "\xDF"
      "e der Beschreibung unten."},
     FONT_SIZES,
     NONE},
    {{"Legend Font Size", "Schrift Legende"},
     {"Font size of the key legend.",
      "Schriftgr\xF6"
      "\xDF"
      "e der Tastenlegende."},
     FONT_SIZES,
     NONE},
    {{"Splash Screen", "Startmeldung"},
     {"Show a message while the list loads.",
      "Eine Meldung zeigen, w\xE4"
      "hrend die Liste l\xE4"
      "dt."},
     YES_NO,
     NONE},
    {{"New File Indicator", "Neu-Markierung"},
     {"How new recordings are marked.", "Wie neue Aufnahmen markiert werden."},
     {"Star and folder count|Star only|Not displayed", "Stern und Ordnerzahl|Nur Stern|Keine"},
     NONE},
    {{"Completely Watched %", "Ganz gesehen %"},
     {"From this percentage on a recording counts as watched.",
      "Ab diesem Prozentsatz gilt eine Aufnahme als gesehen."},
     {"%d%%", "%d%%"},
     NONE},
    {{"Start In Datafiles", "Start in DataFiles"},
     {"Which folder the list opens in.",
      "In welchem Ordner die Liste \xF6"
      "ffnet."},
     {"The last folder|Always /DataFiles|/DataFiles after 10 minutes",
      "Letzter Ordner|Immer /DataFiles|/DataFiles nach 10 Minuten"},
     NONE},
    {{"Select First File", "Erste Auswahl"},
     {"Which line is selected when the list opens.",
      "Welche Zeile beim \xD6"
      "ffnen der Liste gew\xE4"
      "hlt ist."},
     {"Last|First|Most recent, else last|Most recent, else first|Retain position",
      "Letzte|Erste|Neueste, sonst letzte|Neueste, sonst erste|Position behalten"},
     NONE},
    {{"Clock Format", "Uhrformat"},
     {"Format of the clock of the list.", "Format der Uhr der Liste."},
     {"24-hour|12-hour", "24 Stunden|12 Stunden"},
     NONE},
    {{"Info Time Format", "Zeitformat Info"},
     {"Format of the times on the info screen.", "Format der Zeiten im Infofenster."},
     {"12-hour|24-hour", "12 Stunden|24 Stunden"},
     NONE},
    {{"Hide Empty Folders", "Leere Ordner verbergen"},
     {"Leave folders without recordings out of the list.",
      "Ordner ohne Aufnahmen nicht in der Liste zeigen."},
     YES_NO,
     NONE},
    {{"File Suffix", "Dateifilter"},
     {"Which files the list shows.", "Welche Dateien die Liste zeigt."},
     {"Recordings and videos|All but .inf and .nav|All files",
      "Aufnahmen und Videos|Alle au\xDF"
      "er .inf und .nav|Alle Dateien"},
     NONE},
    {{"Scroll Delay", "Laufschrift"},
     {"Idle events between two steps of a long name that scrolls; the sample beside the value "
      "scrolls at this speed.",
      "Leerlaufereignisse zwischen zwei Schritten eines laufenden langen Namens; das Beispiel "
      "neben dem Wert l\xE4uft so schnell."},
     {"%d", "%d"},
     {"No scrolling", "Keine Laufschrift"}}};

#define HIDE_LINE(en, de)                                                      \
  {                                                                            \
    {"Hide Sort by " en, "Ohne Sortierung " de},                               \
        {"Leave this sort order out when Pause cycles the orders.",            \
         "Diese Sortierung auslassen, wenn Pause die Sortierungen wechselt."}, \
        YES_NO, NONE                                                           \
  }
const ConfigLineText text_SortLines[8] = {
    {{"Sort Order", "Sortierung"},
     {"Sort order of the list.", "Sortierung der Liste."},
     SORT_ORDERS,
     NONE},
    {{"Sort Order (TAPs)", "Sortierung (TAPs)"},
     {"Sort order of the application manager.", "Sortierung der Anwendungsverwaltung."},
     SORT_ORDERS,
     NONE},
    HIDE_LINE("Date", "Datum"),
    HIDE_LINE("Name", "Name"),
    HIDE_LINE("Channel", "Kanal"),
    HIDE_LINE("Size",
              "Gr\xF6"
              "\xDF"
              "e"),
    HIDE_LINE("Trim", "Name voll"),
    HIDE_LINE("Reverse",
              "R\xFC"
              "ckw\xE4"
              "rts")};

const ConfigLineText text_ColoursLines[8] = {
    {{"Menu Bar Colour",
      "Farbe Men\xFC"
      "balken"},
     {"Colour of the bar on the selected line.",
      "Farbe des Balkens der gew\xE4"
      "hlten Zeile."},
     BAR_SCHEMES,
     NONE},
    {{"Menu Text Colour",
      "Farbe Men\xFC"
      "text"},
     {"Colour of the text on the bar.", "Farbe des Textes auf dem Balken."},
     TEXT_COLOURS,
     NONE},
    {{"Button Bar Colour", "Farbe Tastenbalken"},
     {"Colour of the bar behind buttons.", "Farbe des Balkens hinter Tasten."},
     BAR_SCHEMES,
     NONE},
    {{"Button Text Colour", "Farbe Tastentext"},
     {"Colour of the text on buttons.", "Farbe des Textes auf Tasten."},
     TEXT_COLOURS,
     NONE},
    {{"Clock Colour", "Farbe Uhr"},
     {"Colour of the clock at the top right.", "Farbe der Uhr oben rechts."},
     GREYS,
     NONE},
    {{"Minutes Colour", "Farbe Minuten"},
     {"Colour of the minutes on progress bars.", "Farbe der Minuten an Fortschrittsbalken."},
     GREYS,
     NONE},
    {{"Recycle Divider Colour", "Trennlinien Papierkorb"},
     {"Column dividers in the recycle bin.", "Spaltentrennlinien im Papierkorb."},
     {"None|Light grey", "Keine|Hellgrau"},
     NONE},
    {{"Border Colour", "Rahmenfarbe"},
     {"Border of pop-up windows.", "Rahmen der Fenster."},
     {"White|Grey",
      "Wei\xDF"
      "|Grau"},
     NONE}};

const ConfigLineText text_RecycleLines[9] = {
    {{"Recycle Bin Option", "Papierkorb"},
     {"What deleting does.",
      "Was L\xF6"
      "schen tut."},
     {"Delete permanently, with prompt|Recycle, with prompt|Recycle, without prompt",
      "Endg\xFC"
      "ltig l\xF6"
      "schen, mit R\xFC"
      "ckfrage|Papierkorb, mit R\xFC"
      "ckfrage|Papierkorb, ohne R\xFC"
      "ckfrage"},
     NONE},
    {{"Recycle Bin Cleanout", "Papierkorb leeren"},
     {"When the recycle bin is emptied.", "Wann der Papierkorb geleert wird."},
     {"Manually|At start-up|At a set hour|By threshold only",
      "Von Hand|Beim Start|Zu einer Stunde|Nur nach Grenze"},
     NONE},
    {{"Include External HDD", "Externe Platten dazu"},
     {"Also empty the recycle bins on external drives.",
      "Auch die Papierk\xF6"
      "rbe externer Laufwerke leeren."},
     YES_NO,
     NONE},
    {{"Cleanout Time", "Leerungszeit"},
     {"Hour of the daily emptying (with \"At a set hour\").",
      "Stunde der t\xE4"
      "glichen Leerung (bei \"Zu einer Stunde\")."},
     {"%02d:00", "%02d:00"},
     NONE},
    {{"Cleanout Threshold", "Leerungsgrenze"},
     {"Below this much free space the oldest recycled files are deleted.",
      "Unter so viel freiem Platz werden die \xE4"
      "ltesten gel\xF6"
      "schten Dateien entfernt."},
     {"%d GB", "%d GB"},
     {"Off", "Aus"}},
    {{"Cleanout After X days", "Leeren nach X Tagen"},
     {"Recycled files older than this are deleted.",
      "Gel\xF6"
      "schte Dateien, die \xE4"
      "lter sind, werden entfernt."},
     {"%d days", "%d Tage"},
     {"Never", "Nie"}},
    {{"Delete Confirmation",
      "L\xF6"
      "sch-R\xFC"
      "ckfrage"},
     {"The answer the delete prompt offers first (Yes: Blue confirms too).",
      "Die zuerst angebotene Antwort der L\xF6"
      "schfrage (Ja: Blau best\xE4"
      "tigt auch)."},
     YES_NO,
     NONE},
    {{"Stop Menu Prompt",
      "R\xFC"
      "ckfrage Stopp-Men\xFC"},
     {"Always ask before deleting from the stop menu.",
      "Vor dem L\xF6"
      "schen aus dem Stopp-Men\xFC"
      " immer fragen."},
     YES_NO,
     NONE},
    {{"Folder Delete Option",
      "Ordner l\xF6"
      "schen"},
     {"Whether folders that hold files can be deleted.",
      "Ob Ordner, die Dateien enthalten, gel\xF6"
      "scht werden k\xF6"
      "nnen."},
     {"Cannot delete non-empty folders|Delete non-empty folders (once)|Delete non-empty folders",
      "Volle Ordner nicht l\xF6"
      "schen|Volle Ordner l\xF6"
      "schen (einmal)|Volle Ordner l\xF6"
      "schen"},
     NONE}};

const ConfigLineText text_ActionsLines[5] = {
    {{"Empty the Recycle Bin", "Papierkorb leeren"},
     {"Press OK to empty the recycle bins of the list's folder and of every folder below it.",
      "OK leert die Papierk\xF6"
      "rbe des Ordners der Liste und aller Ordner darunter."},
     NONE,
     NONE},
    {{"Clear All 'New' Flags",
      "Alle 'Neu'-Markierungen l\xF6"
      "schen"},
     {"Press OK to clear the last view flags.",
      "OK l\xF6"
      "scht die Markierungen der letzten Ansicht."},
     NONE,
     NONE},
    {{"Delete All Progress Info",
      "Allen Fortschritt l\xF6"
      "schen"},
     {"Press OK to delete all progress info.",
      "OK l\xF6"
      "scht alle Fortschrittsangaben."},
     NONE,
     NONE},
    {{"Check Firmware File",
      "Firmware-Datei pr\xFC"
      "fen"},
     {"Press OK to see what the firmware description file tells about this recorder.",
      "OK zeigt, was die Firmware-Beschreibung \xFC"
      "ber diesen Receiver sagt."},
     NONE,
     NONE},
    {{"Check System Uptime",
      "Laufzeit pr\xFC"
      "fen"},
     {"Press OK to see how long the recorder and Pavrolinex have been running.",
      "OK zeigt, wie lange Receiver und Pavrolinex schon laufen."},
     NONE,
     NONE}};

AppText text_InvalidValue = {"[Invalid value]",
                             "[Ung\xFC"
                             "ltiger Wert]"};
AppText text_LegendSave = {"Save and exit", "Speichern"};
AppText text_LegendDiscard = {"Discard and exit", "Verwerfen"};
AppText text_LegendChange = {"Change",
                             "\xC4"
                             "ndern"};
AppText text_LegendCycle = {"Cycle", "Wechseln"};
AppText text_LegendCredits = {"Credits", "Dank"};
AppText text_LegendStop = {"Stop TAP", "TAP beenden"};
AppText text_ColumnDefaultsTitle = {"Column Defaults Reset",
                                    "Spalten zur\xFC"
                                    "ckgesetzt"};
AppText text_ColumnDefaultsLine1 = {"Column configuration options and", "Spalteneinstellungen und"};
AppText text_ColumnDefaultsLine2 = {"font sizes reset to defaults.",
                                    "Schriftgr\xF6"
                                    "\xDF"
                                    "en zur\xFC"
                                    "ckgesetzt."};
AppText text_CreditsTitle = {"Credits", "Danksagungen"};
AppText text_CreditsReturn = {"to return to the menu",
                              "zur\xFC"
                              "ck zum Men\xFC"};

const CreditLine creditLines[] = {
    {"Carlito",
     {"the typeface of every text (SIL Open Font License)",
      "die Schrift aller Texte (SIL Open Font License)"}},
    {"FreeType",
     {"renders Carlito into the built-in fonts", "setzt Carlito in die eingebauten Schriften um"}},
    {"libpng",
     {"writes the reference pictures of the screen tests",
      "schreibt die Referenzbilder der Bildschirmtests"}},
    {"libjpeg-turbo",
     {"decodes the channel logos on the PC", "dekodiert die Senderlogos auf dem PC"}},
    {"BusyBox",
     {"the shell and its utilities on the recorder",
      "die Shell und ihre Werkzeuge auf dem Receiver"}},
    {"GoogleTest",
     {"runs the tests",
      "f\xFC"
      "hrt die Tests aus"}},
    {"cpp-httplib", {"serves the recorder in the browser", "bringt den Receiver in den Browser"}},
    {"GCC and Clang",
     {"compile it for the PC and the recorder",
      "\xFC"
      "bersetzen es f\xFC"
      "r PC und Receiver"}},
    {"CMake and Ninja", {"drive the build", "steuern den Bau"}},
    {"Debian",
     {"the system it is built and tested on", "das System, auf dem es gebaut und getestet wird"}},
    {nullptr, {nullptr, nullptr}}};
