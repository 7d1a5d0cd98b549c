#pragma once

#include "platform/CommandBarControl.h"

#include <QString>

#include <memory>
#include <vector>

class CommandBar;

// The controls of a bar or of a ribbon group, in order; owns them. Indexes count from 0.
class CommandBarControls {
public:
    explicit CommandBarControls(CommandBar* parent) : m_parent(parent) {}
    CommandBarControls(const CommandBarControls&) = delete;
    CommandBarControls& operator=(const CommandBarControls&) = delete;

    // Adds a control of the given type: before is the 1-based position to insert at, -1 (or any position past
    // the end) appends. A combo box, edit box, gallery or custom control comes back as its own kind.
    CommandBarControl* Add(CommandBarControl::Type type, int id, const QString& caption, int before = -1,
                           bool temporary = false);

    int Count() const { return static_cast<int>(m_controls.size()); }
    CommandBarControl* Item(int index) const;
    // Removes and destroys one control of this list.
    void Remove(CommandBarControl* control);
    void DeleteAll();

    // The first control with this id, depth first through the popups' bars.
    CommandBarControl* Find(int id) const;

    CommandBar* Parent() const { return m_parent; }

    auto begin() const { return m_controls.begin(); }
    auto end() const { return m_controls.end(); }

private:
    CommandBar* m_parent;
    std::vector<std::unique_ptr<CommandBarControl>> m_controls;
};
