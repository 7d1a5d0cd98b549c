#include "app/frmMain.h"

#include "platform/RuntimeError.h"

// The helper modules see the window only through these: references to its members and its own operations.

ChooserHost frmMain::chooserHost() {
    return ChooserHost{*m_commandBars,
                       ImageManagerGalleryTextures,
                       cpList,
                       picLimits,
                       topColorHost(),
                       m_IsUDC,
                       SelectedTexture,
                       NumberOfHistoryGroups,
                       m_IsOpeningJustAfterStartup,
                       [this] { CreateNewColors(); },
                       [this](int count, bool keepFixed) { SetProoferCount(count, keepFixed); },
                       [this] { RefreshLayout(); },
                       history};
}

MainHelpersHost frmMain::mainHelpersHost() {
    return MainHelpersHost{*m_commandBars, chooserHost(), [this] { return stageHost(); }, matchHelperHost()};
}

TopColorHost frmMain::topColorHost() { return TopColorHost{m_RangeType, *picColor, *lblAllColors, sldTopColor}; }

StageHost frmMain::stageHost() {
    ::RibbonBar* ribbon = RibbonBar();
    if (!ribbon || !ctlStage)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    return StageHost{*ribbon, *ctlStage, SelectedPictureIndex};
}
