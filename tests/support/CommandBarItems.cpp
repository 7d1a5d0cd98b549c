#include "support/CommandBarItems.h"

#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"

namespace CommandBarItems {

std::vector<std::string> Items(const CommandBar& bar) {
    std::vector<std::string> items;
    for (const auto& control : bar.Controls())
        items.push_back(std::string(control->BeginGroup() ? "| " : "") + std::to_string(control->Id()) + " " +
                        control->Caption().toStdString());
    return items;
}

CommandBar* PopupOf(QObject* owner) {
    auto* bars = owner->findChild<CommandBars*>(QStringLiteral("CommandBars"), Qt::FindDirectChildrenOnly);
    for (int i = 0; bars && i < bars->Count(); ++i)
        if (bars->Item(i)->Name() == QStringLiteral("Popup"))
            return bars->Item(i);
    return nullptr;
}

bool ExecutePopupCommand(QObject* owner, int id) {
    CommandBar* bar = PopupOf(owner);
    CommandBarControl* control = bar ? bar->FindControl(id) : nullptr;
    return control && bar->Owner()->ExecuteControl(control);
}

}  // namespace CommandBarItems
