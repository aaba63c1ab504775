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
    text_DeleteFailedTitle, text_DeleteFailedLine1, text_RenameFailedTitle, text_RenameFailedLine1,
    text_MoveFailedTitle, text_MoveFailedLine1, text_FolderPathTooLongTitle,
    text_FolderPathTooLongLine1;

// Delete and recycle.
extern AppText text_FolderDeleteNotAllowed, text_FolderNotEmptyA, text_FolderNotEmptyB,
    text_FileDeleteNotAllowed, text_FileRecordingA, text_FileRecordingB,
    text_FolderDeleteConfirmTitle, text_FolderWord, text_DeleteThisFolder, text_RecycleThisFile,
    text_DeleteThisFile, text_RecycleFailureTitle, text_RecycleTooMany, text_ErrorRenaming,
    text_RenameTo, text_FolderDeleteFailedTitle, text_FolderDeleteFailedLine1;

// Restore, emptying the bin, the list of all recycled files.
extern AppText text_FileRestoredTitle, text_FileRestoredLine1, text_BinTitle, text_CleanoutFailed,
    text_EmptyBinTitle, text_EmptyBinAll, text_EmptyBinThis, text_AreYouSure, text_EmptyingBin,
    text_PleaseWait, text_BinEmptied, text_DirBinEmptied, text_AllRecycleTitle, text_PageUpDown,
    text_ExitWord, text_ThresholdCheck, text_Showing, text_Of, text_Found, text_OnlyDisplaying,
    text_OfThe, text_FilesFound;
