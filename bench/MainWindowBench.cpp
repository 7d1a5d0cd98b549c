// Start-up to the first painted main window (a fresh process each time, offscreen), with an empty pictures
// folder and temporary folder as the baseline, with 500 pictures whose thumbnails the "Staging" gallery
// makes, and with 20,000 other programs' files in the temporary folder; and one Space
// press, repaint included, with eight proofers dressed in a pattern texture, without strips and beside six
// full ones.
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
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "services/CommandIds.h"
#include "views/ColorPanel.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <utility>

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
            if (auto* window = qobject_cast<frmMain*>(widget->window())) {
                // How many thumbnails were ready when the window first painted.
                int thumbnails = 0;
                if (auto* gallery =
                        dynamic_cast<CommandBarGallery*>(window->Bars().FindControl(CommandIds::PicturesGallery));
                    gallery && gallery->Items())
                    thumbnails = gallery->Items()->Icons().Count();
                QTimer::singleShot(0, [thumbnails] {
                    std::printf("painted %d\n", thumbnails);
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

// Photos of a few hundred kilobytes at most, as a pictures folder holds, all under the thumbnail size limit.
void fillPictures(const QString& folder, int count) {
    QImage picture(640, 480, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        picture.fill(QColor::fromHsv(i * 37 % 360, 160, 200));
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.drawEllipse(QRect(i % 300, i % 200, 200, 150));
        painter.drawText(20, 40, QString::number(i));
        painter.end();
        picture.save(QStringLiteral("%1/photo%2.%3")
                         .arg(folder)
                         .arg(i, 3, 10, QLatin1Char('0'))
                         .arg(QLatin1String(i % 2 ? "jpg" : "png")));
    }
}

// Files of other programs in the temporary folder, which start-up reads past when it looks for what earlier
// runs left; a few of them carry names close to the program's own.
void fillTemporaryFolder(const QString& folder, int count) {
    for (int i = 0; i < count; ++i) {
        QFile file(i % 100 == 0 ? QStringLiteral("%1/TIN%2.tmp").arg(folder).arg(i, 4, 16, QLatin1Char('0'))
                                : QStringLiteral("%1/other%2.tmp").arg(folder).arg(i));
        file.open(QIODevice::WriteOnly);
    }
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    const int pictures = static_cast<int>(state.range(0));
    const int temporaries = static_cast<int>(state.range(1));
    QTemporaryDir home;
    QDir().mkpath(home.path() + QStringLiteral("/Pictures"));
    fillPictures(home.path() + QStringLiteral("/Pictures"), pictures);
    QDir().mkpath(home.path() + QStringLiteral("/tmp"));
    fillTemporaryFolder(home.path() + QStringLiteral("/tmp"), temporaries);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("TMPDIR"), home.path() + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_PICTURES_DIR"), home.path() + QStringLiteral("/Pictures"));
    // Seconds to the first paint and the thumbnails ready then; a negative time when it never painted.
    const auto launch = [&environment]() -> std::pair<double, int> {
        QProcess child;
        child.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ChildFlag)});
        QByteArray output;
        while (!output.contains('\n') && child.waitForReadyRead(5000)) output += child.readAll();
        const double seconds = timer.nsecsElapsed() / 1e9;
        child.waitForFinished(5000);
        if (!output.contains('\n'))
            return {-1.0, 0};
        return {seconds, output.trimmed().split(' ').value(1).toInt()};
    };
    // One launch first, so neither figure pays for a cold disk or font cache.
    launch();
    for (auto _ : state) {
        const auto [seconds, thumbnails] = launch();
        if (seconds < 0) {
            state.SkipWithError("the main window never painted");
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["thumbnails_at_first_paint"] = thumbnails;
    }
    state.counters["pictures"] = pictures;
    state.counters["temporary_files"] = temporaries;
}
// Arguments: pictures, files in TMPDIR. The first, with neither, is the baseline of the same run.
BENCHMARK(BM_StartUpToFirstPaint)
    ->Args({0, 0})
    ->Args({500, 0})
    ->Args({0, 20000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

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
    BenchSupport::CloseWithoutSaving(window);
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
    return BenchSupport::RunBenchmarks(argc, argv);
}
