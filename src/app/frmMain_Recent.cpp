#include "app/frmMain.h"

void frmMain::OpenRecentFile(CommandBarControl*) {}
