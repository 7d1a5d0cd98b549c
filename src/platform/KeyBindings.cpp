#include "platform/KeyBindings.h"

#include "platform/CommandBars.h"

#include <QKeySequence>
#include <QWidget>

KeyBindings::~KeyBindings() { DeleteAll(); }

void KeyBindings::Add(int flags, int key, int commandId) {
    Binding binding{flags, key, commandId, nullptr};
    if (QWidget* window = m_owner ? m_owner->OwnerWidget() : nullptr) {
        int combination = key;
        if (flags & Shift)
            combination |= Qt::SHIFT;
        if (flags & Control)
            combination |= Qt::CTRL;
        if (flags & Alt)
            combination |= Qt::ALT;
        auto* shortcut = new QShortcut(QKeySequence(combination), window);
        shortcut->setContext(Qt::WindowShortcut);
        CommandBars* owner = m_owner;
        QObject::connect(shortcut, &QShortcut::activated, owner,
                         [owner, commandId] { owner->ExecuteCommand(commandId); });
        binding.shortcut = shortcut;
    }
    m_bindings.push_back(binding);
}

void KeyBindings::DeleteAll() {
    for (auto& binding : m_bindings) delete binding.shortcut.data();
    m_bindings.clear();
}

int KeyBindings::FindCommand(int flags, int key) const {
    for (const auto& binding : m_bindings)
        if (binding.flags == flags && binding.key == key)
            return binding.commandId;
    return 0;
}
