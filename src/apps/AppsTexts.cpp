#include "apps/texts.h"

AppText text_CancelPrepareTitle = {"Cancel Prepare", "Vorbereitung abbrechen"};
AppText text_CancelPrepareLine1 = {"Cancel Background Prepare?",
                                   "Vorbereitung im Hintergrund abbrechen?"};
AppText text_TagsmithDisabled = {"Tagsmith is disabled", "Tagsmith ist gesperrt"};
AppText text_PrepareConfirmTitle = {"Tagsmith Prepare Confirmation",
                                    "Tagsmith: Vorbereitung best\xE4tigen"};
AppText text_PrepareConfirmLine1 = {"Do you want to background prepare",
                                    "Sollen mehrere Dateien im Hintergrund"};
AppText text_PrepareConfirmLine2 = {"multiple files for quembry?",
                                    "f\xFCr Quembry vorbereitet werden?"};
AppText text_noTagsmithFile = {"No Tagsmith information for this entry",
                               "Keine Tagsmith-Information zu diesem Eintrag"};
AppText text_TagsmithNotFound = {"Tagsmith not found", "Tagsmith nicht gefunden"};
AppText text_TagsmithNotFoundTitle = {"Tagsmith Not Found", "Tagsmith nicht gefunden"};
AppText text_TagsmithNotResponding = {"Tagsmith TAP not responding",
                                      "Tagsmith-TAP antwortet nicht"};
AppText text_MultiNotFoundD = {"Multi-select file not found (D)",
                               "Datei der Mehrfachauswahl fehlt (D)"};
AppText text_BgcNotFoundTitle = {"Error: 'bgc' TAP Not Found", "Fehler: 'bgc'-TAP fehlt"};
AppText text_StartFailedTapTitle = {"Starting TAP Failed", "TAP-Start fehlgeschlagen"};
AppText text_StartFailedTapLine1 = {"Not an application for this recorder:",
                                    "Keine Anwendung f\xFCr diesen Receiver:"};
