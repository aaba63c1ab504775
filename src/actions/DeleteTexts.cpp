// Texts of the delete and recycle confirmations and their failures, English
// and German (ISO 8859-1).
#include "actions/texts.h"

AppText text_FolderDeleteNotAllowed = {"Folder Delete Not Allowed.",
                                       "Ordner l\xF6schen nicht erlaubt."};
AppText text_FolderNotEmptyA = {"You cannot delete a folder that still",
                                "Ein Ordner mit Aufnahmen oder"};
AppText text_FolderNotEmptyB = {"contains recordings or subfolders.",
                                "Unterordnern kann nicht gel\xF6scht werden."};
AppText text_FileDeleteNotAllowed = {"File Delete Not Allowed.", "Datei l\xF6schen nicht erlaubt."};
AppText text_FileRecordingA = {"You cannot delete a file that is", "Eine Datei, die gerade"};
AppText text_FileRecordingB = {"currently recording.", "aufgenommen wird, bleibt."};
AppText text_FolderDeleteConfirmTitle = {"Folder Delete Confirmation",
                                         "Ordner l\xF6schen best\xE4tigen"};
AppText text_FolderWord = {"Folder", "Ordner"};
AppText text_DeleteThisFolder = {"Do you want to delete this folder?", "Diesen Ordner l\xF6schen?"};
AppText text_RecycleThisFile = {"Do you want to recycle this file?",
                                "Diese Datei in den Papierkorb?"};
AppText text_DeleteThisFile = {"Do you want to delete this file?", "Diese Datei l\xF6schen?"};
AppText text_RecycleFailureTitle = {"Recyle Bin Failure.", "Papierkorb-Fehler."};
AppText text_RecycleTooMany = {"More than 99999 files in the bin called",
                               "Mehr als 99999 Dateien im Papierkorb:"};
AppText text_ErrorRenaming = {"Error renaming", "Fehler beim Umbenennen"};
AppText text_RenameTo = {"to: '%.127s'", "in: '%.127s'"};
AppText text_FolderDeleteFailedTitle = {"Folder Delete Failed.",
                                        "Ordner l\xF6schen fehlgeschlagen."};
AppText text_FolderDeleteFailedLine1 = {"Failed to delete folder:", "Ordner nicht gel\xF6scht:"};
