#include "app/MainModule.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The command line is taken whole as one path, spaces included.
    if (!MainModule::Main(QApplication::arguments().mid(1).join(QLatin1Char(' '))))
        return 1;
    // Start-up that stopped before the window showed leaves nothing to run.
    bool anyVisible = false;
    for (const QWidget* widget : QApplication::topLevelWidgets()) anyVisible = anyVisible || widget->isVisible();
    if (!anyVisible)
        return 0;
    const int result = QApplication::exec();
    // Windows still open when the loop ends go before the application object; owned ones go with their owner.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const QList<QPointer<QWidget>> guarded(windows.begin(), windows.end());
    for (const QPointer<QWidget>& window : guarded) {
        if (window && !window->parentWidget())
            delete window.data();
    }
    return result;
}
