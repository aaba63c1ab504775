// User-visible texts of the spine, English and German (ISO 8859-1), indexed
// by TextLanguage.
#pragma once

typedef const char AppText[2][64];

extern AppText text_NoFirmwareDatTitle, text_NoFirmwareDatLine1, text_FirmwareDatInstall,
    text_OldFirmwareDatTitle, text_OldFirmwareDatLine1, text_NoLastPlaybackTitle,
    text_NoLastPlaybackLine1, text_NoLastPlaybackLine2, text_PhotoAlbumTitle, text_PhotoAlbumLine1,
    text_PhotoAlbumLine2, text_Yes, text_No, text_YoutubeDisabledTitle, text_YoutubeDisabledLine1,
    text_YoutubeDisabledLine2, text_Loading, text_StartingTitle, text_StartingLine1,
    text_StartingLine2;

// The text in the current language.
const char* Text(AppText& text);
