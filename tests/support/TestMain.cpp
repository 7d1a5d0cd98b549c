// One main for every test program: a headless QApplication at 96 DPI and device pixel ratio 1,
// inside a fresh temporary home so settings, pictures and documents never touch the user's.
#include "support/TestEnvironment.h"

#include "platform/App.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tindral-test-XXXXXX"));
    home.setAutoRemove(true);
    TestEnvironment::PrepareHome(home.path());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_SCALE_FACTOR", "1");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");

    QApplication app(argc, argv);
    App::SetPath(QStringLiteral(TINDRAL_PROGRAM_DIR));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    TestEnvironment::Reset();
    return result;
}
