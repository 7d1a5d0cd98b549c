#include "app/ChooserHelper.h"
#include "app/ChooserHost.h"
#include "app/MatchHelperTab.h"
#include "platform/CommandBarControls.h"
#include "platform/CommandBarCustom.h"
#include "platform/PictureBox.h"
#include "platform/RibbonBar.h"
#include "services/CommandIds.h"

#include <QSlider>

namespace MatchHelper {

void BuildColorPieTab(RibbonBar& ribbon, const MatchHelperHost& host, const ChooserHost& chooser) {
    RibbonTab* tab = ribbon.InsertTab(2, QStringLiteral("Color Pie"));
    tab->SetId(CommandIds::ColorPieTab);

    RibbonGroup* group = tab->AddGroup(QStringLiteral("Background"), CommandIds::BackgroundGroup);
    auto* custom = static_cast<CommandBarCustom*>(group->Controls().Add(
        CommandBarControl::Custom, CommandIds::BackgroundBox, QStringLiteral("Color"), -1, false));
    custom->SetHandle(host.picBackColor);

    for (QSlider* slider : host.sldBackColor) slider->setValue(255);
    host.picBColor.SetBackColor(0xFFFFFF);

    ChooserHelper::BuildSchemesGroup(ribbon, chooser, CommandIds::ColorPieTab);
}

}  // namespace MatchHelper
