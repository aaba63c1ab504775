// User-visible texts of Tagsmith, starting applications and the manager,
// English and German (ISO 8859-1).
#pragma once

#include "app/texts.h"

extern AppText text_CancelPrepareTitle, text_CancelPrepareLine1, text_TagsmithDisabled,
    text_PrepareConfirmTitle, text_PrepareConfirmLine1, text_PrepareConfirmLine2,
    text_noTagsmithFile, text_TagsmithNotFound, text_TagsmithNotFoundTitle,
    text_TagsmithNotResponding, text_MultiNotFoundD, text_BgcNotFoundTitle,
    text_StartFailedTapTitle, text_StartFailedTapLine1;

// The information window.
extern AppText text_FolderDetails, text_FolderName, text_NumberOfFiles, text_Subfolders,
    text_ProgramDetails, text_Program, text_Channel, text_Author, text_LogoInfo, text_DateTime,
    text_FileName, text_FileSize, text_Duration, text_TapId, text_Progress, text_Description,
    text_Scroll, text_Crypted, text_Uncrypted, text_PartlyCrypted, text_HourWord, text_HoursWord,
    text_MinuteWord, text_MinutesWord, text_MinutesShort, text_ButtonOk, text_ButtonEmpty,
    text_ButtonDelete, text_ButtonDelete2, text_ButtonRename, text_ButtonRename2, text_ButtonMove,
    text_ButtonMove2, text_ButtonProgress, text_ButtonProgress2, text_ButtonRestore,
    text_ButtonRestore2, text_BackgroundCopyRunning, text_AnotherMoveNotAllowed;
