#pragma once

#include <functional>

class CommandBar;
class CommandBarControl;
class CommandBars;
class QObject;
class QWidget;

namespace PopupBars {

// The command bars of a view's popup, owned by owner. A command that fails ends quietly: it runs from the
// event loop, where nothing could take the error. opening, when given, runs as a popup is about to show.
// The connections live as long as context.
CommandBars* Create(QWidget* owner, QObject* context, std::function<void(CommandBarControl*)> execute,
                    std::function<void(CommandBar*)> opening = {});

}  // namespace PopupBars
