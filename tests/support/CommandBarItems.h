#pragma once

#include <string>
#include <vector>

class CommandBar;

namespace CommandBarItems {

// "id caption" of each item of the bar, "| " before an item that starts a group.
std::vector<std::string> Items(const CommandBar& bar);

}  // namespace CommandBarItems
