// The uptime check of the actions menu: for now a message window that names
// the check; the check itself comes with the status screens.
#include "ui/Dialogs.h"

void CheckUptime() { DisplayMessageWindow("Check System Uptime", "", "", ReturnFromMessageWindow); }
