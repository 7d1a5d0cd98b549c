#include "support/CommandBarItems.h"

#include "platform/CommandBar.h"

namespace CommandBarItems {

std::vector<std::string> Items(const CommandBar& bar) {
    std::vector<std::string> items;
    for (const auto& control : bar.Controls())
        items.push_back(std::string(control->BeginGroup() ? "| " : "") + std::to_string(control->Id()) + " " +
                        control->Caption().toStdString());
    return items;
}

}  // namespace CommandBarItems
