#include "apps/texts.h"

AppText text_FolderDetails = {"Folder Details", "Ordnerdetails"};
AppText text_FolderName = {"Folder Name:", "Ordnername:"};
AppText text_NumberOfFiles = {"Number of Files:", "Anzahl Dateien:"};
AppText text_Subfolders = {"Subfolders:", "Unterordner:"};
AppText text_ProgramDetails = {"Program Details", "Sendungsdetails"};
AppText text_Program = {"Program:", "Sendung:"};
AppText text_Channel = {"Channel:", "Sender:"};
AppText text_Author = {"Author:", "Autor:"};
AppText text_LogoInfo = {"Logo info = ", "Logo-Info = "};
AppText text_DateTime = {"Date & Time:", "Sendezeit:"};
AppText text_FileName = {"File Name:", "Dateiname:"};
AppText text_FileSize = {"File Size:",
                         "Dateigr\xF6\xDF"
                         "e:"};
AppText text_Duration = {"Duration:", "Dauer:"};
AppText text_TapId = {"TAPID:", "TAPID:"};
AppText text_Progress = {"Progress:", "Fortschritt:"};
AppText text_Description = {"Description:", "Inhalt:"};
AppText text_Scroll = {"Scroll", "Bl\xE4ttern"};
AppText text_Crypted = {"(crypted)", "(verschl\xFCsselt)"};
AppText text_Uncrypted = {"(uncrypted)", "(unverschl\xFCsselt)"};
AppText text_PartlyCrypted = {"(partly crypted)", "(teilw. verschl\xFCsselt)"};
AppText text_HourWord = {"hour", "Stunde"};
AppText text_HoursWord = {"hours", "Stunden"};
AppText text_MinuteWord = {"minute", "Minute"};
AppText text_MinutesWord = {"minutes", "Minuten"};
AppText text_MinutesShort = {"m", "m"};
// Button labels: a second line is used where the word is too long for one.
AppText text_ButtonOk = {"OK", "OK"};
AppText text_ButtonEmpty = {"", ""};
AppText text_ButtonDelete = {"Delete", "L\xF6schen"};
AppText text_ButtonDelete2 = {"", ""};
AppText text_ButtonRename = {"Rename", "Umbe-"};
AppText text_ButtonRename2 = {"", "nennen"};
AppText text_ButtonMove = {"Move", "Verschie-"};
AppText text_ButtonMove2 = {"", "ben"};
AppText text_ButtonProgress = {"Reset/Set", "Fortschritt"};
AppText text_ButtonProgress2 = {"Progress", "\xE4ndern"};
AppText text_ButtonRestore = {"Restore", "Wieder-"};
AppText text_ButtonRestore2 = {"", "herstellen"};
AppText text_BackgroundCopyRunning = {"A background copy is in progress.",
                                      "Eine Kopie l\xE4uft im Hintergrund."};
AppText text_AnotherMoveNotAllowed = {"Another move is not allowed.",
                                      "Weiteres Verschieben ist nicht erlaubt."};
