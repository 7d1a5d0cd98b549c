#include "app/frmMain.h"

#include "stage/StageHelper.h"

void frmMain::ExecuteStagingCommand(CommandBarControl* control) {
    StageHost host = stageHost();
    StageHelper::ExecuteStageCommand(control, host);
}

void frmMain::UpdateStagingControl(CommandBarControl* control) {
    StageHelper::UpdateStageControl(control, *ctlStage, SelectedPictureIndex);
}
