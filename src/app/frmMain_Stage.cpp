#include "app/frmMain.h"

void frmMain::ExecuteStagingCommand(CommandBarControl*) {}

void frmMain::UpdateStagingControl(CommandBarControl*) {}
