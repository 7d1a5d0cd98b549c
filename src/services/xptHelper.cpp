#include "services/xptHelper.h"

#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarControls.h"
#include "services/CommandIds.h"

namespace xptHelper {

void SetControlCaption(CommandBar* bar, int id, const QString& caption) {
    if (CommandBarControl* control = bar ? bar->FindControl(id) : nullptr)
        control->SetCaption(caption);
}

void SetControlChecked(CommandBar* bar, int id, bool checked) {
    if (CommandBarControl* control = bar ? bar->FindControl(id) : nullptr)
        control->SetChecked(checked);
}

void SetControlEnabled(CommandBar* bar, int id, bool enabled) {
    if (CommandBarControl* control = bar ? bar->FindControl(id) : nullptr)
        control->SetEnabled(enabled);
}

void SetControlsEnabled(bool enabled, CommandBarControls& controls) {
    for (const auto& control : controls) control->SetEnabled(enabled);
}

void AddSortMenu(CommandBar* bar, bool beginGroup) {
    CommandBarControl* popup = bar->Controls().Add(CommandBarControl::ButtonPopup, CommandIds::SortColorsBy,
                                                   QStringLiteral("&Sort Colors by..."), -1, false);
    popup->SetBeginGroup(beginGroup);
    struct Entry {
        int id;
        const char* caption;
    };
    static const Entry entries[] = {
        {CommandIds::SortColorsByRGBSum, "Sum RGB"},        {CommandIds::SortColorsByRed, "Red"},
        {CommandIds::SortColorsByGreen, "Green"},           {CommandIds::SortColorsByBlue, "Blue"},
        {CommandIds::SortColorsByHSBSum, "Sum HSB"},        {CommandIds::SortColorsByHue, "Hue"},
        {CommandIds::SortColorsBySaturation, "Saturation"}, {CommandIds::SortColorsByBrightness, "Brightness"},
    };
    CommandBarControls& items = popup->GetCommandBar()->Controls();
    for (const Entry& entry : entries) {
        CommandBarControl* button =
            items.Add(CommandBarControl::Button, entry.id, QString::fromLatin1(entry.caption), -1, false);
        if (entry.id == CommandIds::SortColorsByHSBSum)
            button->SetBeginGroup(true);
    }
}

}  // namespace xptHelper
