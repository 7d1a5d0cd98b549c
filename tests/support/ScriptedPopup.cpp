#include "support/ScriptedPopup.h"

#include <QAction>
#include <QMenu>

ScriptedPopup::ScriptedPopup(std::deque<int> picks) : m_picks(std::move(picks)) {
    CommandBars::SetPopupHook([this](CommandBar& bar, QMenu& menu) {
        m_bars.push_back(bar.Name());
        m_shown.push_back(Lines(menu));
        if (m_inspector)
            m_inspector(bar, menu);
        if (m_picks.empty())
            return;
        const int pick = m_picks.front();
        m_picks.pop_front();
        if (pick == 0)
            return;
        if (QAction* action = CommandBars::FindAction(menu, pick); action && action->isEnabled())
            action->trigger();
    });
}

ScriptedPopup::~ScriptedPopup() { CommandBars::SetPopupHook(nullptr); }

std::vector<PopupLine> ScriptedPopup::Lines(const QMenu& menu) {
    std::vector<PopupLine> lines;
    for (QAction* action : menu.actions()) {
        if (!action->isVisible())
            continue;
        PopupLine line;
        line.separator = action->isSeparator();
        line.id = line.separator ? 0 : action->property("commandId").toInt();
        line.text = action->text();
        line.submenu = action->menu() != nullptr;
        line.checked = action->isChecked();
        line.enabled = action->isEnabled();
        lines.push_back(line);
    }
    return lines;
}
