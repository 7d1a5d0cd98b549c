#include "platform/StatusBar.h"

#include "platform/CommandBars.h"

void StatusBar::Changed(bool structure) const {
    if (m_owner)
        m_owner->StatusBarChanged(structure);
}

void StatusBar::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    Changed(true);
}

void StatusBar::AddPane(int id) {
    m_panes.push_back({id, QString()});
    Changed(true);
}

void StatusBar::RemoveAll() {
    m_panes.clear();
    Changed(true);
}

int StatusBar::PaneId(int index) const {
    if (index < 0 || index >= PaneCount())
        return -1;
    return m_panes[static_cast<size_t>(index)].id;
}

bool StatusBar::HasPane(int id) const {
    for (const auto& pane : m_panes)
        if (pane.id == id)
            return true;
    return false;
}

QString StatusBar::PaneText(int id) const {
    for (const auto& pane : m_panes)
        if (pane.id == id)
            return pane.text;
    return QString();
}

void StatusBar::SetPaneText(int id, const QString& text) {
    for (auto& pane : m_panes)
        if (pane.id == id) {
            pane.text = text;
            Changed(false);
            return;
        }
}
