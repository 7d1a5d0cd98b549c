// The main of every benchmark program that has none of its own: a headless Qt application over the
// build's program folder, then the registered benchmarks.
#include "platform/App.h"
#include "support/BenchSupport.h"

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    App::SetPath(QStringLiteral(TINDRAL_PROGRAM_DIR));
    return BenchSupport::RunBenchmarks(argc, argv);
}
