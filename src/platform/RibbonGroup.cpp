#include "platform/RibbonGroup.h"

#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"

RibbonGroup::RibbonGroup(RibbonTab* tab, RibbonBar* ribbon, int id, const QString& caption)
    : m_tab(tab), m_ribbon(ribbon), m_id(id), m_caption(caption), m_controls(ribbon) {}

void RibbonGroup::Changed(bool structure) const {
    if (m_ribbon && m_ribbon->Owner())
        m_ribbon->Owner()->NotifyChanged(structure);
}

void RibbonGroup::SetCaption(const QString& caption) {
    if (m_caption == caption)
        return;
    m_caption = caption;
    Changed(false);
}

void RibbonGroup::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    Changed(true);
}
