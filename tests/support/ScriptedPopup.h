#pragma once

#include "platform/CommandBars.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QMenu;

// What a person sees of one menu line.
struct PopupLine {
    int id = 0;  // 0 for a separator
    QString text;
    bool separator = false;
    bool submenu = false;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
};

// Answers command-bar popups from a script for as long as it lives: every popup shown is recorded (its bar's
// name and its lines), the inspector (when set) may work with the live menu, and then the next pick is
// triggered: a command id (searched in submenus too) or 0 to close without a choice.
class ScriptedPopup {
public:
    explicit ScriptedPopup(std::deque<int> picks = {});
    ~ScriptedPopup();

    void Pick(int id) { m_picks.push_back(id); }
    void SetInspector(std::function<void(CommandBar&, QMenu&)> inspector) { m_inspector = std::move(inspector); }

    // The lines of a menu as a person sees them, the visible ones only.
    static std::vector<PopupLine> Lines(const QMenu& menu);

    const std::vector<QString>& Bars() const { return m_bars; }
    const std::vector<std::vector<PopupLine>>& Shown() const { return m_shown; }

private:
    std::deque<int> m_picks;
    std::function<void(CommandBar&, QMenu&)> m_inspector;
    std::vector<QString> m_bars;
    std::vector<std::vector<PopupLine>> m_shown;
};
