// User-visible texts of the list keys and of playback, English and German
// (ISO 8859-1), indexed by TextLanguage through Text().
#pragma once

#include "app/texts.h"

extern AppText text_PlaybackInfoErrorTitle, text_PlaybackInfoOverrun, text_InGetPlaybackInfo,
    text_InCheckPlaybackStatus, text_StartFailedTitle, text_ReturnCode, text_WhenTryingToPlay,
    text_File, text_RestartFailedTitle, text_CannotJumpTitle, text_UnableToChangeChannels,
    text_CannotJumpA, text_NoRecordingOnChannel, text_CannotJumpB, text_MultiNotFoundTitle,
    text_MultiNotFoundA, text_MultiNotFoundB, text_ClearingMultiSelect, text_MultiNotAvailable,
    text_MultiCannotBeUsed, text_WhenStoppingStarting, text_WhenChangingSuffix,
    text_BackgroundTitle, text_TapManagerDisabled, text_DuringBackground, text_MultiDisabled,
    text_CancelCopyTitle, text_CancelCopyLine1, text_MoveNotAllowed, text_MovingPlaying,
    text_IsNotAllowed, text_NoSubdirectories, text_AvailableToMove, text_RenameNotAllowed,
    text_RenamingRecording, text_RenamingPlaying, text_DeleteConfirmTitle, text_MultipleSelected,
    text_WantToDelete, text_WantToRecycle, text_Files, text_MultiClearedTitle,
    text_MultiClearedLine1, text_MultiAllTitle, text_MultiAllLine1, text_MultiAllLine2,
    text_DeleteFailedTitle, text_DeleteFailedLine1, text_RenameFailedTitle, text_MoveFailedTitle,
    text_FolderPathTooLongTitle, text_FolderPathTooLongLine1;

// Why an entry in use stays as it is.
extern AppText text_InUseRecordingA, text_InUseRecordingB, text_InUsePlayingA, text_InUsePlayingB,
    text_InUseCopyingA, text_InUseCopyingB, text_InUseDriveA, text_InUseDriveB, text_InUseMediaA,
    text_InUseMediaB;
// A stop-menu follow-up whose played file is no longer where it was played.
extern AppText text_PlayedFileGone;
// A job file refused for a name or folder with a control character.
extern AppText text_JobControlCharacter;

// Delete and recycle.
extern AppText text_FolderDeleteNotAllowed, text_FolderNotEmptyA, text_FolderNotEmptyB,
    text_FileDeleteNotAllowed, text_FileRecordingA, text_FileRecordingB,
    text_FolderDeleteConfirmTitle, text_FolderWord, text_DeleteThisFolder, text_RecycleThisFile,
    text_DeleteThisFile, text_RecycleFailureTitle, text_RecycleTooMany, text_ErrorRenaming,
    text_RenameTo, text_FolderDeleteFailedTitle, text_FolderDeleteFailedLine1;

// Move, copy and the background-progress box.
extern AppText text_MoveWindowTitle, text_MoveToFolder, text_CancelMove, text_MultiNotFoundC,
    text_FolderMoveFailed, text_SameFolderExists, text_SameFileExists, text_MoveConflictTitle,
    text_RenameToWord, text_RenameOnMoveFailed, text_ToWord, text_BgcMoveTitle, text_BgcCopyTitle,
    text_CreateJobfile, text_CreateOpen, text_CreateClose, text_BgCopyTitle, text_MayTakeTime,
    text_WantContinue, text_NotEnoughSpace, text_NfsTitle, text_NfsLine1, text_NfsLine2,
    text_FileFolderMoveFailed, text_FailedToMove, text_FolderJobNotAllowed, text_CannotCreateJob,
    text_UsingFolder, text_JobFolderNotFound, text_CannotFindJobFolder, text_JobfileError,
    text_CannotWriteJob, text_ForkErrorTitle, text_ForkErrorA, text_ForkErrorB,
    text_MoveSuccessTitle, text_MovedRenamed, text_CopyInProgress, text_BackgroundCopy,
    text_Complete, text_ErrorSize, text_Cancelled, text_Error, text_CheckFiles, text_PrepareWord,
    text_InProgress, text_CancelWord, text_BackgroundWord;
// Restore, emptying the bin, the list of all recycled files.
extern AppText text_FileRestoredTitle, text_FileRestoredLine1, text_BinTitle, text_CleanoutFailed,
    text_EmptyBinTitle, text_EmptyBinAll, text_EmptyBinThis, text_AreYouSure, text_EmptyingBin,
    text_PleaseWait, text_BinEmptied, text_DirBinEmptied, text_AllRecycleTitle, text_PageUpDown,
    text_ExitWord, text_ThresholdCheck, text_Showing, text_Of, text_Found, text_OnlyDisplaying,
    text_OfThe, text_FilesFound;

// Rename and new folder.
extern AppText text_RenameFailed, text_ErrorRenamingCompanions, text_ManualRecovery,
    text_NotAValidName, text_FolderCreateFailed, text_MaxFilesExceeded, text_TooManyFiles,
    text_MaxDirsExceeded, text_ChangeFolderDepth, text_AllFoldersBetween, text_AllFoldersExist,
    text_PathTooLong, text_CannotCreateFolder, text_FolderUnreachable;
