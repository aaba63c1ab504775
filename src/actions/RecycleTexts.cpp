// Texts of restoring, emptying the recycle bin and the list of all recycled
// files, English and German (ISO 8859-1).
#include "actions/texts.h"

AppText text_FileRestoredTitle = {"File Restored.", "Datei wiederhergestellt."};
AppText text_FileRestoredLine1 = {"File restored and renamed to",
                                  "Wiederhergestellt und umbenannt in"};
AppText text_BinTitle = {"Quembry Recycle Bin", "Quembry-Papierkorb"};
AppText text_CleanoutFailed = {"Recycle Bin Cleanout Failed to Delete",
                               "Papierkorb: nicht gel\xF6scht wurde"};
AppText text_EmptyBinTitle = {"Empty Recycle Bin", "Papierkorb leeren"};
AppText text_EmptyBinAll = {"Empty Recycle Bin for ALL directories.",
                            "Papierkorb ALLER Ordner leeren."};
AppText text_EmptyBinThis = {"Empty Recycle Bin for THIS directory.",
                             "Papierkorb DIESES Ordners leeren."};
AppText text_AreYouSure = {"Are you sure?", "Sind Sie sicher?"};
AppText text_EmptyingBin = {"Emptying Recycle Bin", "Papierkorb wird geleert"};
AppText text_PleaseWait = {"Please wait ...", "Bitte warten ..."};
AppText text_BinEmptied = {"Recycle Bin Emptied.", "Papierkorb geleert."};
AppText text_DirBinEmptied = {"Directory Recycle Bin Emptied.", "Papierkorb des Ordners geleert."};
AppText text_AllRecycleTitle = {"List All Recycle Bin Files", "Alle Dateien im Papierkorb"};
AppText text_PageUpDown = {"Page Up/Down", "Seite auf/ab"};
AppText text_ExitWord = {"Exit", "Ende"};
AppText text_ThresholdCheck = {"Threshold Check",
                               "Schwelle pr\xFC"
                               "fen"};
AppText text_Showing = {"Showing", "Zeige"};
AppText text_Of = {"of", "von"};
AppText text_Found = {"found", "gefunden"};
AppText text_OnlyDisplaying = {"Only displaying", "Nur"};
AppText text_OfThe = {"of the", "der"};
AppText text_FilesFound = {"files found", "Dateien angezeigt"};
