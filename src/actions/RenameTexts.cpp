// Texts of renaming and of new folders, English and German (ISO 8859-1).
#include "actions/texts.h"

AppText text_RenameFailed = {"Rename Failed.", "Umbenennen fehlgeschlagen."};
AppText text_ErrorRenamingCompanions = {"%.50s inf or nav: '%.127s'", "%.50s inf/nav: '%.127s'"};
AppText text_ManualRecovery = {"Manual recovery required", "Bitte von Hand korrigieren"};
AppText text_NotAValidName = {"Not a valid name:", "Kein g\xFCltiger Name:"};
AppText text_FolderCreateFailed = {"Folder Create Failed.", "Ordner anlegen fehlgeschlagen."};
AppText text_MaxFilesExceeded = {"MAX_FILES exceeded.",
                                 "MAX_FILES \xFC"
                                 "berschritten."};
AppText text_TooManyFiles = {"Too many files.", "Zu viele Dateien."};
AppText text_MaxDirsExceeded = {"MAX_DIRS exceeded. Too many folders.",
                                "MAX_DIRS \xFC"
                                "berschritten. Zu viele Ordner."};
AppText text_ChangeFolderDepth = {"Change General->RecursiveFolderDepth",
                                  "Allgemein->RecursiveFolderDepth \xE4"
                                  "ndern"};
AppText text_AllFoldersBetween = {"All 'FOLDER xx' folders between",
                                  "Alle 'FOLDER xx'-Ordner zwischen"};
AppText text_AllFoldersExist = {"'FOLDER 01' and 'FOLDER 99' already exist.",
                                "'FOLDER 01' und 'FOLDER 99' gibt es schon."};
AppText text_PathTooLong = {"The folder path would be too long.",
                            "Der Ordnerpfad w\xE4re zu lang."};
AppText text_CannotCreateFolder = {"Could not create the folder:", "Ordner nicht angelegt:"};
AppText text_FolderUnreachable = {"This folder cannot be reached:",
                                  "Dieser Ordner ist nicht erreichbar:"};
