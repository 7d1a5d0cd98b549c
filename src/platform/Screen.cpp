#include "platform/Screen.h"

#include <QCursor>
#include <QGuiApplication>

namespace Screen {

namespace {
int current = Default;
}

void SetMousePointer(int pointer) {
    if (pointer == current)
        return;
    const bool hadOverride = current != Default;
    current = pointer;
    if (!qGuiApp)
        return;
    if (pointer == Default) {
        if (hadOverride)
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    const QCursor cursor(pointer == ArrowHourglass ? Qt::BusyCursor : Qt::WaitCursor);
    if (hadOverride)
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
}

int MousePointer() { return current; }

}  // namespace Screen
