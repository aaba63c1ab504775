#include "ui/Logos.h"

LogoText text_LogoFilenames = {"Logo Filenames", "Logo-Dateinamen"};
LogoText text_LogoSearchFolders = {"Search the following folders:",
                                   "Diese Ordner werden durchsucht:"};
LogoText text_LogoForFilenames = {"For logo filenames:", "Nach diesen Logo-Dateinamen:"};
// The close hint around the Exit and Audio Track buttons: before the first,
// between them, after the second.
LogoText text_LogoCloseBefore = {"(Press",
                                 "(Zum Schlie\xDF"
                                 "en dieses Hilfefensters"};
LogoText text_LogoCloseBetween = {"or", "oder"};
LogoText text_LogoCloseAfter = {"to close this help window)",
                                "dr\xFC"
                                "cken)"};
