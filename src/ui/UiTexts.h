// User-visible texts of the list screen and the dialogs, English and German
// (ISO 8859-1), indexed by TextLanguage.
#pragma once

typedef const char UiText[2][48];

// The text in the current language.
const char* Lang(UiText& text);

extern UiText text_Folder, text_Folders, text_Rec, text_Recs, text_Recording, text_Recordings,
    text_New, text_LastWeek, text_WksAgo, text_MthAgo, text_MthsAgo, text_Hour, text_Hours,
    text_HourShort, text_MinuteShort, text_Min, text_DataFiles, text_ParentLine, text_FolderLabel,
    text_RecordingNow, text_Recorded, text_Taps, text_DeleteFile, text_RestoreFile,
    text_Information, text_Help, text_MultiSelectActive, text_Remaining, text_HoursShort,
    text_OkToContinue;
