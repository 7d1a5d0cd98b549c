#include "app/frmMain.h"

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

MainHelpersHost frmMain::mainHelpersHost() { return MainHelpersHost{*m_commandBars, chooserHost()}; }

TopColorHost frmMain::topColorHost() { return TopColorHost{m_RangeType, *picColor, *lblAllColors, sldTopColor}; }
