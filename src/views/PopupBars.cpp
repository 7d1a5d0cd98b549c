#include "views/PopupBars.h"

#include "platform/CommandBars.h"

#include <utility>

namespace PopupBars {

CommandBars* Create(QWidget* owner, QObject* context, std::function<void(CommandBarControl*)> execute,
                    std::function<void(CommandBar*)> opening) {
    auto* bars = new CommandBars(owner);
    bars->setParent(owner);
    bars->setObjectName(QStringLiteral("CommandBars"));
    QObject::connect(bars, &CommandBars::Execute, context, [execute = std::move(execute)](CommandBarControl* control) {
        try {
            execute(control);
        } catch (...) {
        }
    });
    if (opening)
        QObject::connect(bars, &CommandBars::InitCommandsPopup, context, std::move(opening));
    return bars;
}

}  // namespace PopupBars
