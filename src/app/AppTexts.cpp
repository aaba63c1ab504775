#include "app/texts.h"
#include "config/Settings.h"

AppText text_NoFirmwareDatTitle = {"No FirmwareTMS.dat file", "Keine FirmwareTMS.dat-Datei"};
AppText text_NoFirmwareDatLine1 = {"The file could not be found.",
                                   "Die Datei wurde nicht gefunden."};
AppText text_FirmwareDatInstall = {"Please install the latest version.",
                                   "Bitte die neueste Version installieren."};
AppText text_OldFirmwareDatTitle = {"Old FirmwareTMS.dat file", "Alte FirmwareTMS.dat-Datei"};
AppText text_OldFirmwareDatLine1 = {"The file is dated before 1-Feb-2011.",
                                    "Die Datei ist \xE4lter als 1.2.2011."};
AppText text_NoLastPlaybackTitle = {"No Last Playback File", "Keine letzte Wiedergabe"};
AppText text_NoLastPlaybackLine1 = {"The last playback file was not found.",
                                    "Die zuletzt abgespielte Datei fehlt."};
AppText text_NoLastPlaybackLine2 = {"(It may have been deleted.)",
                                    "(Sie wurde evtl. gel\xF6scht.)"};
AppText text_PhotoAlbumTitle = {"Photo Album Confirmation", "Fotoalbum best\xE4tigen"};
AppText text_PhotoAlbumLine1 = {"May crash if playing/recording.",
                                "Absturz bei Wiedergabe/Aufnahme m\xF6glich."};
AppText text_PhotoAlbumLine2 = {"Do you want to continue?", "Trotzdem fortfahren?"};
AppText text_Yes = {"Yes", "Ja"};
AppText text_No = {"No", "Nein"};
AppText text_YoutubeDisabledTitle = {"YouTube Disabled", "YouTube gesperrt"};
AppText text_YoutubeDisabledLine1 = {"YouTube has been disabled in Pavrolinex.",
                                     "YouTube ist in Pavrolinex gesperrt."};
AppText text_YoutubeDisabledLine2 = {"This is to prevent a possible firmware crash.",
                                     "Das verhindert einen m\xF6glichen Absturz."};
AppText text_Loading = {"LOADING...", "LADEN..."};
AppText text_StartingTitle = {"Pavrolinex Starting", "Pavrolinex startet"};
AppText text_StartingLine1 = {"Loading file information.", "Dateiinformationen werden geladen."};
AppText text_StartingLine2 = {"Please wait ...", "Bitte warten ..."};

const char* Text(AppText& text) { return text[TextLanguage == 1 ? 1 : 0]; }
