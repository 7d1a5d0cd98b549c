// Start-up to the first painted main window (a fresh process each time, offscreen, empty pictures folder),
// and one Space press, repaint included, with eight proofers dressed in a pattern texture, without strips and
// beside six full ones.
#include "app/ChooserHelper.h"
#include "app/MainModule.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "services/CommandIds.h"
#include "views/ColorHistory.h"
#include "platform/App.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* ChildFlag = "--first-paint-child";

frmMain* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<frmMain*>(widget))
            return window;
    return nullptr;
}

// Reports on stdout once the main window has painted, then ends the process.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (qobject_cast<frmMain*>(widget->window())) {
                QTimer::singleShot(0, [] {
                    std::fputs("painted\n", stdout);
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            }
        }
        return false;
    }
};

int runChild(int argc, char** argv) {
    QApplication app(argc, argv);
    App::SetPath(QStringLiteral(TINDRAL_PROGRAM_DIR));
    FirstPaint watcher;
    app.installEventFilter(&watcher);
    MainModule::Main(QString());
    return QApplication::exec();
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    QTemporaryDir home;
    QDir().mkpath(home.path() + QStringLiteral("/Pictures"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_PICTURES_DIR"), home.path() + QStringLiteral("/Pictures"));
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ChildFlag)});
        bool painted = false;
        while (!painted && child.waitForReadyRead(5000)) painted = child.readAll().contains("painted");
        const double seconds = timer.nsecsElapsed() / 1e9;
        child.waitForFinished(5000);
        if (!painted) {
            state.SkipWithError("the main window never painted");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// strips: how many colour-scheme strips show, each holding ten colours in the same pattern texture. The strips
// hold their colours whatever the proofers do, so the figure with six should match the one without.
void SpaceWithEightPatternProofers(benchmark::State& state, int strips) {
    MainModule::Main(QString());
    frmMain* window = mainWindow();
    if (!window || Globals::Textures.size() < 2) {
        state.SkipWithError("no main window, or no texture file in the program folder");
        return;
    }
    window->SetProoferCount(8, true);
    window->SelectedTexture = Globals::TextureItem(2);
    window->CreateNewColors();
    if (strips > 0) {
        window->NumberOfHistoryGroups = strips;
        ChooserHelper::ShowHistoryGroups(strips, window->chooserHost());
        for (int strip = 0; strip < strips; ++strip)
            for (int i = 0; i < 10; ++i) {
                auto color = Factory::NewColor(Globals::TextureItem(2)->Clone(), CommandIds::RangeAllRGB, false);
                color->SetColor(20 * strip + i, 100 + 10 * i, 200 - 20 * strip);
                window->history[static_cast<size_t>(strip)]->AddColorPanel(color);
            }
    }
    QApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(window, &space);
        // The repaint the press asked for is part of what a person waits for.
        QApplication::processEvents();
    }
    state.counters["proofer_width"] = window->cpList[0]->width();
    state.counters["proofer_height"] = window->cpList[0]->height();
    state.counters["strips"] = strips;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->m_IsOpeningJustAfterStartup = true;
    window->close();
    delete window;
}

void BM_SpaceWithEightPatternProofers(benchmark::State& state) { SpaceWithEightPatternProofers(state, 0); }
BENCHMARK(BM_SpaceWithEightPatternProofers)->Unit(benchmark::kMillisecond);

void BM_SpaceWithEightPatternProofersAndSixFullStrips(benchmark::State& state) {
    SpaceWithEightPatternProofers(state, 6);
}
BENCHMARK(BM_SpaceWithEightPatternProofersAndSixFullStrips)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], ChildFlag) == 0)
        return runChild(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    App::SetPath(QStringLiteral(TINDRAL_PROGRAM_DIR));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
