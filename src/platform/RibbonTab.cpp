#include "platform/RibbonTab.h"

#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"

RibbonTab::RibbonTab(RibbonBar* ribbon, const QString& caption) : m_ribbon(ribbon), m_caption(caption) {}

void RibbonTab::SetCaption(const QString& caption) {
    m_caption = caption;
    if (m_ribbon->Owner())
        m_ribbon->Owner()->NotifyChanged(true);
}

RibbonGroup* RibbonTab::AddGroup(const QString& caption, int id) {
    m_groups.push_back(std::make_unique<RibbonGroup>(this, m_ribbon, id, caption));
    if (m_ribbon->Owner())
        m_ribbon->Owner()->NotifyChanged(true);
    return m_groups.back().get();
}

RibbonGroup* RibbonTab::Group(int index) const {
    if (index < 0 || index >= GroupCount())
        return nullptr;
    return m_groups[static_cast<size_t>(index)].get();
}

RibbonGroup* RibbonTab::FindGroup(int id) const {
    for (const auto& group : m_groups)
        if (group->Id() == id)
            return group.get();
    return nullptr;
}

int RibbonTab::Index() const {
    for (int i = 0; i < m_ribbon->TabCount(); ++i)
        if (m_ribbon->Tab(i) == this)
            return i;
    return -1;
}

bool RibbonTab::Selected() const { return m_ribbon->SelectedTab() == this; }

void RibbonTab::Select() { m_ribbon->SetSelectedTab(this); }
