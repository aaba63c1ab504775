// User-visible texts of Tagsmith, starting applications and the manager,
// English and German (ISO 8859-1).
#pragma once

#include "app/texts.h"

extern AppText text_CancelPrepareTitle, text_CancelPrepareLine1, text_TagsmithDisabled,
    text_PrepareConfirmTitle, text_PrepareConfirmLine1, text_PrepareConfirmLine2,
    text_noTagsmithFile, text_TagsmithNotFound, text_TagsmithNotFoundTitle,
    text_TagsmithNotResponding, text_MultiNotFoundD, text_BgcNotFoundTitle,
    text_StartFailedTapTitle, text_StartFailedTapLine1;
