// Texts of moving and copying and of the background-progress box, English
// and German (ISO 8859-1).
#include "actions/texts.h"

AppText text_MoveWindowTitle = {"Select Destination Folder", "Zielordner w\xE4hlen"};
AppText text_MoveToFolder = {"Move to Folder", "In Ordner verschieben"};
AppText text_CancelMove = {"Cancel Move", "Abbrechen"};
AppText text_MultiNotFoundC = {"Multi-select file not found (C)",
                               "Datei der Mehrfachauswahl fehlt (C)"};
AppText text_FolderMoveFailed = {"Folder Move Failed.", "Ordner nicht verschoben."};
AppText text_SameFolderExists = {"Same folder already exists:", "Ordner gibt es dort schon:"};
AppText text_SameFileExists = {"Same file already exists.", "Datei gibt es dort schon."};
AppText text_MoveConflictTitle = {"File Move Conflict.", "Namenskonflikt beim Verschieben."};
AppText text_RenameToWord = {"Rename to", "Umbenennen in"};
AppText text_RenameOnMoveFailed = {"Rename On Move Failed.", "Umbenennen fehlgeschlagen."};
AppText text_ToWord = {"to", "in"};
AppText text_BgcMoveTitle = {"'bgc' Move Across Mount", "'bgc' auf anderes Laufwerk verschieben"};
AppText text_BgcCopyTitle = {"'bgc' Copy Across Mount", "'bgc' auf anderes Laufwerk kopieren"};
AppText text_CreateJobfile = {"Create jobfile for 'bgc'", "Auftragsdatei f\xFCr 'bgc' anlegen"};
AppText text_CreateOpen = {"Create (", "("};
AppText text_CreateClose = {") jobfiles", ") Auftragsdateien anlegen"};
AppText text_BgCopyTitle = {"Background Copy Across Mount",
                            "Hintergrundkopie auf anderes Laufwerk"};
AppText text_MayTakeTime = {"This may take some time.", "Das kann dauern."};
AppText text_WantContinue = {"Do you want to continue?", "Fortfahren?"};
AppText text_NotEnoughSpace = {"There may not be enough space!",
                               "Vielleicht reicht der Platz nicht!"};
AppText text_NfsTitle = {"Background Copy WARNING", "Hintergrundkopie WARNUNG"};
AppText text_NfsLine1 = {"Copy to NFS mount may not work", "Kopie auf NFS geht vielleicht nicht"};
AppText text_NfsLine2 = {"Change bypass setting (General Config) or use 'bgc'",
                         "NFS-Einstellung (Allgemein) \xE4ndern oder 'bgc' nutzen"};
AppText text_FileFolderMoveFailed = {"File/Folder Move Failed.", "Verschieben fehlgeschlagen."};
AppText text_FailedToMove = {"Failed to move file/folder:", "Nicht verschoben:"};
AppText text_FolderJobNotAllowed = {"Folder Copy/Move Not Allowed", "Ordner nicht erlaubt"};
AppText text_CannotCreateJob = {"Cannot create job file for 'bgc' TAP",
                                "Keine 'bgc'-Auftragsdatei m\xF6glich"};
AppText text_UsingFolder = {"using a folder", "f\xFCr einen Ordner"};
AppText text_JobFolderNotFound = {"Jobfiles Folder Not Found", "Auftragsordner fehlt"};
AppText text_CannotFindJobFolder = {"Cannot find 'bgc' TAP jobfiles folder:",
                                    "'bgc'-Auftragsordner nicht gefunden:"};
AppText text_JobfileError = {"Error: 'bgc' Jobfile", "Fehler: 'bgc'-Auftragsdatei"};
AppText text_CannotWriteJob = {"Cannot write 'bgc' jobfile:", "Nicht geschrieben:"};
AppText text_ForkErrorTitle = {"Background Copy Error", "Fehler der Hintergrundkopie"};
AppText text_ForkErrorA = {"Background copy was not able", "Die Hintergrundkopie konnte"};
AppText text_ForkErrorB = {"to be started.", "nicht starten."};
AppText text_MoveSuccessTitle = {"File Move Successful.", "Datei verschoben."};
AppText text_MovedRenamed = {"Moved and renamed file to:", "Verschoben und umbenannt in:"};

AppText text_CopyInProgress = {"Copy in progress", "Kopie l\xE4uft"};
AppText text_BackgroundCopy = {"Background Copy", "Hintergrundkopie"};
AppText text_Complete = {"Complete", "Fertig"};
AppText text_ErrorSize = {"Error (Size)", "Fehler (Gr\xF6\xDF\x65)"};
AppText text_Cancelled = {"Cancelled", "Abgebrochen"};
AppText text_Error = {"Error", "Fehler"};
AppText text_CheckFiles = {"Check files", "Dateien pr\xFC\x66\x65n"};
AppText text_PrepareWord = {"Prepare", "Vorbereitung"};
AppText text_InProgress = {"in progress", "l\xE4uft"};
AppText text_CancelWord = {"Cancel", "Abbrechen"};
AppText text_BackgroundWord = {"Background", "Hintergrund"};
