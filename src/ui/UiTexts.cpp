#include "ui/UiTexts.h"

#include "config/Settings.h"

const char* Lang(UiText& text) { return text[TextLanguage == 1 ? 1 : 0]; }

UiText text_Folder = {"folder", "Ordner"};
UiText text_Folders = {"folders", "Ordner"};
UiText text_Rec = {"rec", "Aufn"};
UiText text_Recs = {"recs", "Aufn"};
UiText text_Recording = {"recording", "Aufnahme"};
UiText text_Recordings = {"recordings", "Aufnahmen"};
UiText text_New = {"new", "neu"};
UiText text_LastWeek = {"last week", "letzte Wo"};
UiText text_WksAgo = {"wks ago", " Wo. her"};
UiText text_MthAgo = {"mth ago", " Mon. her"};
UiText text_MthsAgo = {"mths ago", " Mon. her"};
UiText text_Hour = {"hour", "Std"};
UiText text_Hours = {"hours", "Std"};
UiText text_HourShort = {"h", "h"};
UiText text_MinuteShort = {"m", "m"};
UiText text_Min = {"min", "min"};
UiText text_DataFiles = {"DataFiles", "DataFiles"};
UiText text_ParentLine = {"Moves back to the previous directory.",
                          "Zur\xFC"
                          "ck in den vorherigen Ordner."};
UiText text_FolderLabel = {"Folder", "Ordner"};
UiText text_RecordingNow = {"Recording...", "Aufnahme l\xE4uft..."};
UiText text_Recorded = {"Recorded", "aufgenommen"};
UiText text_Taps = {"TAPs", "TAPs"};
UiText text_DeleteFile = {"Delete File", "L\xF6schen"};
UiText text_RestoreFile = {"Restore File",
                           "Zur\xFC"
                           "ckholen"};
UiText text_Information = {"Information", "Information"};
UiText text_Help = {"Help", "Hilfe"};
UiText text_MultiSelectActive = {"Multi-Select Active", "Mehrfachauswahl aktiv"};
UiText text_Remaining = {"Remaining", "frei"};
UiText text_HoursShort = {"hr", "Std"};
UiText text_OkToContinue = {"OK to continue", "OK zum Fortfahren"};
