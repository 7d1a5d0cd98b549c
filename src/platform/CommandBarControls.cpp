#include "platform/CommandBarControls.h"

#include "platform/CommandBar.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBars.h"

#include <algorithm>

CommandBarControl* CommandBarControls::Add(CommandBarControl::Type type, int id, const QString& caption, int before,
                                           bool temporary) {
    std::unique_ptr<CommandBarControl> control;
    switch (type) {
        case CommandBarControl::ComboBox:
            control = std::make_unique<CommandBarComboBox>(id, caption, m_parent, temporary);
            break;
        case CommandBarControl::Edit:
            control = std::make_unique<CommandBarEdit>(id, caption, m_parent, temporary);
            break;
        case CommandBarControl::Gallery:
            control = std::make_unique<CommandBarGallery>(id, caption, m_parent, temporary);
            break;
        case CommandBarControl::Custom:
            control = std::make_unique<CommandBarCustom>(id, caption, m_parent, temporary);
            break;
        default: control = std::make_unique<CommandBarControl>(type, id, caption, m_parent, temporary); break;
    }
    CommandBarControl* added = control.get();
    if (before >= 1 && before <= Count())
        m_controls.insert(m_controls.begin() + (before - 1), std::move(control));
    else
        m_controls.push_back(std::move(control));
    if (m_parent && m_parent->Owner())
        m_parent->Owner()->NotifyChanged(true);
    return added;
}

CommandBarControl* CommandBarControls::Item(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_controls[static_cast<size_t>(index)].get();
}

void CommandBarControls::Remove(CommandBarControl* control) {
    const auto it = std::find_if(m_controls.begin(), m_controls.end(),
                                 [control](const std::unique_ptr<CommandBarControl>& c) { return c.get() == control; });
    if (it == m_controls.end())
        return;
    m_controls.erase(it);
    if (m_parent && m_parent->Owner())
        m_parent->Owner()->NotifyChanged(true);
}

void CommandBarControls::DeleteAll() {
    if (m_controls.empty())
        return;
    m_controls.clear();
    if (m_parent && m_parent->Owner())
        m_parent->Owner()->NotifyChanged(true);
}

CommandBarControl* CommandBarControls::Find(int id) const {
    for (const auto& control : m_controls) {
        if (control->Id() == id)
            return control.get();
        // Only a popup's own bar is searched; a drop-down bar of a gallery is reached as a bar of its own.
        if (control->IsPopup() && control->GetCommandBar())
            if (CommandBarControl* found = control->GetCommandBar()->Controls().Find(id))
                return found;
    }
    return nullptr;
}
