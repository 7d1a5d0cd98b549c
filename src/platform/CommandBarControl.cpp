#include "platform/CommandBarControl.h"

#include "platform/CommandBar.h"
#include "platform/CommandBars.h"

CommandBarControl::CommandBarControl(Type type, int id, const QString& caption, CommandBar* parent, bool temporary)
    : m_type(type), m_id(id), m_caption(caption), m_temporary(temporary), m_parent(parent) {
    if (IsPopup()) {
        m_ownBar = std::make_unique<CommandBar>(parent ? parent->Owner() : nullptr, caption, CommandBar::Popup, this);
        m_bar = m_ownBar.get();
    }
}

CommandBarControl::~CommandBarControl() = default;

CommandBars* CommandBarControl::Owner() const { return m_parent ? m_parent->Owner() : nullptr; }

void CommandBarControl::Changed(bool structure) const {
    if (CommandBars* owner = Owner())
        owner->NotifyChanged(structure);
}

void CommandBarControl::SetId(int id) {
    m_id = id;
    Changed();
}

void CommandBarControl::SetCaption(const QString& caption) {
    if (m_caption == caption)
        return;
    m_caption = caption;
    Changed();
}

void CommandBarControl::SetEnabled(bool enabled) {
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Changed();
}

void CommandBarControl::SetChecked(bool checked) {
    if (m_checked == checked)
        return;
    m_checked = checked;
    Changed();
}

void CommandBarControl::SetVisible(bool visible) {
    if (m_visible == visible)
        return;
    m_visible = visible;
    Changed(true);
}

void CommandBarControl::SetBeginGroup(bool beginGroup) {
    if (m_beginGroup == beginGroup)
        return;
    m_beginGroup = beginGroup;
    Changed(true);
}

void CommandBarControl::SetIconId(int iconId) {
    m_iconId = iconId;
    Changed();
}

void CommandBarControl::SetParameter(const QString& parameter) { m_parameter = parameter; }

void CommandBarControl::SetWidth(int width) {
    m_width = width;
    Changed(true);
}

void CommandBarControl::SetHeight(int height) {
    m_height = height;
    Changed(true);
}

void CommandBarControl::SetCommandBar(CommandBar* bar) {
    if (m_ownBar && bar != m_ownBar.get())
        m_ownBar.reset();
    m_bar = bar;
    Changed(true);
}
