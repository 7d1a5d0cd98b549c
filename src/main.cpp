#include "app/MainModule.h"

#include <QApplication>
#include <QStringList>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The command line is taken whole as one path, spaces included.
    MainModule::Main(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    // Start-up that stopped before the window showed leaves nothing to run.
    bool anyVisible = false;
    for (const QWidget* widget : QApplication::topLevelWidgets()) anyVisible = anyVisible || widget->isVisible();
    if (!anyVisible)
        return 0;
    const int result = QApplication::exec();
    qDeleteAll(QApplication::topLevelWidgets());
    return result;
}
