#include "platform/CommandBar.h"

#include "platform/CommandBars.h"

#include <QCursor>

CommandBar::CommandBar(CommandBars* owner, const QString& name, Position position, CommandBarControl* parentControl)
    : m_owner(owner), m_name(name), m_position(position), m_parentControl(parentControl), m_controls(this) {}

CommandBar::~CommandBar() = default;

CommandBarControl* CommandBar::FindControl(int id) const { return m_controls.Find(id); }

void CommandBar::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    if (m_owner)
        m_owner->NotifyChanged(true);
}

void CommandBar::ShowPopup() { ShowPopup(QCursor::pos()); }

void CommandBar::ShowPopup(const QPoint& globalPos) {
    if (m_owner)
        m_owner->RunPopup(this, globalPos);
}

void CommandBar::RedrawBar() {
    if (m_owner)
        m_owner->RecalcLayout();
}
