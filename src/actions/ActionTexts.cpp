#include "actions/texts.h"

AppText text_PlaybackInfoErrorTitle = {"Quembry:  Error retrieving Playback Info",
                                       "Quembry:  Fehler beim Lesen der Wiedergabe"};
AppText text_PlaybackInfoOverrun = {"TAP_Hdd_GetPlayInfo buffer overrun",
                                    "TAP_Hdd_GetPlayInfo Puffer\xFC"
                                    "berlauf"};
AppText text_InGetPlaybackInfo = {"in 'GetPlaybackInfo'.", "in 'GetPlaybackInfo'."};
AppText text_InCheckPlaybackStatus = {"in 'CheckPlaybackStatus'.", "in 'CheckPlaybackStatus'."};
AppText text_StartFailedTitle = {"Starting Playback Failed.", "Wiedergabe konnte nicht starten."};
AppText text_ReturnCode = {"Return code",
                           "R\xFC"
                           "ckgabewert"};
AppText text_WhenTryingToPlay = {"when trying to play", "beim Abspielen"};
AppText text_File = {"File", "Datei"};
AppText text_FolderPathTooLongTitle = {"Cannot Open Folder.",
                                       "Ordner kann nicht ge\xF6"
                                       "ffnet werden."};
AppText text_FolderPathTooLongLine1 = {"Its path is longer than 199 characters.",
                                       "Sein Pfad ist l\xE4nger als 199 Zeichen."};
AppText text_RestartFailedTitle = {"Restarting Last Playback Failed.",
                                   "Letzte Wiedergabe fehlgeschlagen."};
AppText text_CannotJumpTitle = {"Cannot Jump to Start", "Sprung zum Anfang unm\xF6glich"};
AppText text_UnableToChangeChannels = {"Unable to change channels",
                                       "Kanalwechsel nicht m\xF6glich"};
AppText text_CannotJumpA = {"Cannot jump to start of recording. (A)",
                            "Kein Sprung zum Aufnahmeanfang. (A)"};
AppText text_NoRecordingOnChannel = {"No recording found on this channel",
                                     "Keine Aufnahme auf diesem Kanal"};
AppText text_CannotJumpB = {"Cannot jump to start of recording. (B)",
                            "Kein Sprung zum Aufnahmeanfang. (B)"};
AppText text_MultiNotFoundTitle = {"Multi-Select Not Found", "Mehrfachauswahl fehlt"};
AppText text_MultiNotFoundA = {"Multi-select file not found (A)",
                               "Datei der Mehrfachauswahl fehlt (A)"};
AppText text_MultiNotFoundB = {"Multi-select file not found (B)",
                               "Datei der Mehrfachauswahl fehlt (B)"};
AppText text_ClearingMultiSelect = {"Clearing multi-select list", "Mehrfachauswahl wird geleert"};
AppText text_MultiNotAvailable = {"Multi-Select Not Available",
                                  "Mehrfachauswahl nicht verf\xFC"
                                  "gbar"};
AppText text_MultiCannotBeUsed = {"Multi-select can not be used",
                                  "Mehrfachauswahl nicht m\xF6glich"};
AppText text_WhenStoppingStarting = {"when stopping/starting a TAP",
                                     "beim Starten/Beenden eines TAPs"};
AppText text_WhenChangingSuffix = {"when changing file suffix filter",
                                   "beim Wechsel des Dateifilters"};
AppText text_BackgroundTitle = {"Background Process In Progress", "Hintergrundvorgang l\xE4uft"};
AppText text_TapManagerDisabled = {"TAP Manager is disabled", "TAP-Manager ist gesperrt"};
AppText text_DuringBackground = {"during a background process.",
                                 "w\xE4hrend eines Hintergrundvorgangs."};
AppText text_MultiDisabled = {"Multiselect is disabled", "Mehrfachauswahl ist gesperrt"};
AppText text_CancelCopyTitle = {"Cancel Copy", "Kopieren abbrechen"};
AppText text_CancelCopyLine1 = {"Cancel Background Copy?", "Hintergrundkopie abbrechen?"};
AppText text_MoveNotAllowed = {"File Move Not Allowed", "Verschieben nicht erlaubt"};
AppText text_MovingPlaying = {"Moving of files that are playing",
                              "Verschieben laufender Wiedergaben"};
AppText text_IsNotAllowed = {"is not allowed.", "ist nicht erlaubt."};
AppText text_NoSubdirectories = {"There are no subdirectories", "Es gibt keine Unterordner,"};
AppText text_AvailableToMove = {"available to move file to.", "in die verschoben werden kann."};
AppText text_RenameNotAllowed = {"File Rename Not Allowed", "Umbenennen nicht erlaubt"};
AppText text_RenamingRecording = {"Renaming of files that are recording",
                                  "Umbenennen laufender Aufnahmen"};
AppText text_RenamingPlaying = {"Renaming of files that are playing",
                                "Umbenennen laufender Wiedergaben"};
AppText text_DeleteConfirmTitle = {"File Delete Confirmation", "L\xF6schen best\xE4tigen"};
AppText text_MultipleSelected = {"Multiple files selected", "Mehrere Dateien ausgew\xE4hlt"};
AppText text_WantToDelete = {"Do you want to delete", "Wirklich l\xF6schen:"};
AppText text_WantToRecycle = {"Do you want to recycle", "In den Papierkorb:"};
AppText text_Files = {"file(s)?", "Datei(en)?"};
AppText text_MultiClearedTitle = {"Multi-Select Cleared", "Mehrfachauswahl geleert"};
AppText text_MultiClearedLine1 = {"Multi-select list has been cleared",
                                  "Die Mehrfachauswahl wurde geleert"};
AppText text_MultiAllTitle = {"Multi-Select All", "Alle ausw\xE4hlen"};
AppText text_MultiAllLine1 = {"Do you want to select", "Wollen Sie alle Dateien"};
AppText text_MultiAllLine2 = {"all files in this folder?", "in diesem Ordner ausw\xE4hlen?"};
AppText text_DeleteFailedTitle = {"File Delete Failed.", "L\xF6schen fehlgeschlagen."};
AppText text_DeleteFailedLine1 = {"Failed to delete file:", "Datei nicht gel\xF6scht:"};
AppText text_RenameFailedTitle = {"File Rename Failed.", "Umbenennen fehlgeschlagen."};
AppText text_MoveFailedTitle = {"File Move Failed.", "Verschieben fehlgeschlagen."};

AppText text_InUseRecordingA = {"It is being recorded, or holds",
                                "Es wird aufgenommen oder enth\xE4lt"};
AppText text_InUseRecordingB = {"a recording in progress.", "eine laufende Aufnahme."};
AppText text_InUsePlayingA = {"It is being played, or holds", "Es wird abgespielt oder enth\xE4lt"};
AppText text_InUsePlayingB = {"the file being played.", "die abgespielte Datei."};
AppText text_InUseCopyingA = {"A background copy is in progress", "Eine Hintergrundkopie l\xE4uft"};
AppText text_InUseCopyingB = {"for it or for something in it.",
                              "daf\xFCr oder f\xFCr seinen Inhalt."};
AppText text_InUseDriveA = {"It is a drive or a mounted folder,", "Es ist ein Laufwerk oder ein"};
AppText text_InUseDriveB = {"or it holds one.", "eingeh\xE4ngter Ordner, oder enth\xE4lt einen."};
AppText text_InUseMediaA = {"~MediaFiles shows /MediaFiles: it goes",
                            "~MediaFiles zeigt /MediaFiles: es geht,"};
AppText text_InUseMediaB = {"when 'Mount MediaFiles' is switched off.",
                            "wenn 'MediaFiles einh\xE4ngen' aus ist."};
AppText text_PlayedFileGone = {"The played file is no longer there:",
                               "Die abgespielte Datei ist nicht mehr da:"};
AppText text_JobControlCharacter = {"No jobfile: a name holds a control character:",
                                    "Keine Auftragsdatei: Steuerzeichen im Namen:"};
