#pragma once

#include <string>
#include <vector>

class CommandBar;
class QObject;

namespace CommandBarItems {

// "id caption" of each item of the bar, "| " before an item that starts a group.
std::vector<std::string> Items(const CommandBar& bar);

// The right-click popup of a control (a swatch, a strip, the pie, the stage): the bar named "Popup" of the
// command bars it owns; none when it has none.
CommandBar* PopupOf(QObject* owner);
// Runs a command of the control's popup as a click would; false when there is no such command or it did not run.
bool ExecutePopupCommand(QObject* owner, int id);

}  // namespace CommandBarItems
