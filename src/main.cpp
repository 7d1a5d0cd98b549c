#include "app/MainModule.h"
#include "platform/SessionEnd.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace {

// The system ends the program: open boxes answer as if cancelled, so nothing is saved and nobody is asked,
// and every running event loop returns; the windows then unload below as on any other end.
void endSession() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    const QList<QPointer<QWidget>> guarded(windows.begin(), windows.end());
    for (const QPointer<QWidget>& window : guarded)
        if (auto* dialog = qobject_cast<QDialog*>(window.data()); dialog && dialog->isVisible())
            dialog->reject();
    QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SessionEnd::Install(endSession);
    // The command line is taken whole as one path, spaces included.
    if (!MainModule::Main(QApplication::arguments().mid(1).join(QLatin1Char(' '))))
        return 1;
    // Start-up that stopped before the window showed leaves nothing to run.
    bool anyVisible = false;
    for (const QWidget* widget : QApplication::topLevelWidgets()) anyVisible = anyVisible || widget->isVisible();
    // An end requested while start-up still ran must not be lost to the loop that starts afresh.
    const int result = anyVisible && !SessionEnd::Requested() ? QApplication::exec() : 0;
    // Windows still open when the loop ends go before the application object; owned ones go with their owner.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const QList<QPointer<QWidget>> guarded(windows.begin(), windows.end());
    for (const QPointer<QWidget>& window : guarded) {
        if (window && !window->parentWidget())
            delete window.data();
    }
    SessionEnd::Uninstall();
    return result;
}
