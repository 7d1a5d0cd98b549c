#pragma once

#include <QPointer>
#include <QShortcut>

#include <vector>

class CommandBars;

// Keys that run commands while the owner's window is active: a key code (the upper-case letter's character
// code), modifier flags (4 Shift, 8 Ctrl, 16 Alt) and the command id.
class KeyBindings {
public:
    static constexpr int Shift = 4;
    static constexpr int Control = 8;
    static constexpr int Alt = 16;

    explicit KeyBindings(CommandBars* owner) : m_owner(owner) {}
    ~KeyBindings();
    KeyBindings(const KeyBindings&) = delete;
    KeyBindings& operator=(const KeyBindings&) = delete;

    void Add(int flags, int key, int commandId);
    void DeleteAll();
    int Count() const { return static_cast<int>(m_bindings.size()); }
    // The command of a key with its flags; 0 when the key is not bound.
    int FindCommand(int flags, int key) const;

private:
    struct Binding {
        int flags;
        int key;
        int commandId;
        QPointer<QShortcut> shortcut;
    };
    CommandBars* m_owner;
    std::vector<Binding> m_bindings;
};
