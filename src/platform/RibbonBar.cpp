#include "platform/RibbonBar.h"

#include "platform/CommandBars.h"

#include <algorithm>

RibbonBar::RibbonBar(CommandBars* owner, const QString& name) : CommandBar(owner, name, Top), m_quickAccess(this) {}

RibbonBar::~RibbonBar() = default;

RibbonTab* RibbonBar::InsertTab(int index, const QString& caption) {
    auto tab = std::make_unique<RibbonTab>(this, caption);
    RibbonTab* added = tab.get();
    index = std::clamp(index, 0, TabCount());
    m_tabs.insert(m_tabs.begin() + index, std::move(tab));
    const bool firstTab = !m_selected;
    if (firstTab)
        m_selected = added;
    if (Owner()) {
        Owner()->NotifyChanged(true);
        if (firstTab)
            Owner()->ScheduleRibbonUpdate();
    }
    return added;
}

RibbonTab* RibbonBar::Tab(int index) const {
    if (index < 0 || index >= TabCount())
        return nullptr;
    return m_tabs[static_cast<size_t>(index)].get();
}

RibbonTab* RibbonBar::FindTab(int id) const {
    for (const auto& tab : m_tabs)
        if (tab->Id() == id)
            return tab.get();
    return nullptr;
}

void RibbonBar::SetSelectedTab(RibbonTab* tab) {
    if (!tab || tab == m_selected || tab->Ribbon() != this)
        return;
    m_selected = tab;
    if (Owner()) {
        Owner()->NotifyChanged(true);
        Owner()->ScheduleRibbonUpdate();
    }
}

CommandBarControl* RibbonBar::AddSystemButton() {
    if (!m_systemButton) {
        m_systemButton = std::make_unique<CommandBarControl>(CommandBarControl::Popup, 0, QString(), this, false);
        if (Owner())
            Owner()->NotifyChanged(true);
    }
    return m_systemButton.get();
}

CommandBarControl* RibbonBar::FindControl(int id) const {
    if (m_systemButton) {
        if (m_systemButton->Id() == id)
            return m_systemButton.get();
        if (CommandBarControl* found = m_systemButton->GetCommandBar()->Controls().Find(id))
            return found;
    }
    for (const auto& tab : m_tabs)
        for (int g = 0; g < tab->GroupCount(); ++g)
            if (CommandBarControl* found = tab->Group(g)->Controls().Find(id))
                return found;
    if (CommandBarControl* found = m_quickAccess.Find(id))
        return found;
    return Controls().Find(id);
}
