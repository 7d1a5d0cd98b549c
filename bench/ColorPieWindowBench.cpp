// One move of a background slider in the main window, the pie's repaint included, beside a plain widget of
// the pie's size taking a new background colour and repainting in the same window, and a copy of the pie's
// picture.
#include "app/MainModule.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "services/CommandIds.h"
#include "views/ColorMatch.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QSlider>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// Counts the paints a widget receives, so a figure shows that each step was painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int64_t paints = 0;
};

frmMain* startWindow() {
    MainModule::Main(QString());
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<frmMain*>(widget))
            return window;
    return nullptr;
}

// The pie with 30 colours in the "Color Pie" workspace of a window of 1500 x 900.
frmMain* pieWindow(benchmark::State& state) {
    frmMain* window = startWindow();
    if (!window) {
        state.SkipWithError("no main window");
        return nullptr;
    }
    window->resize(1500, 900);
    window->ShowWorkspace(CommandIds::ColorPieTab);
    for (int i = 0; i < 30; ++i) {
        auto color = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
        color->SetColor(i * 8, 255 - i * 8, (i * 53) % 256);
        window->ctlMatch->AddColor(color);
    }
    window->ctlMatch->Refresh();
    QApplication::processEvents();
    return window;
}

void BM_BackgroundSliderMoveWithRepaint(benchmark::State& state) {
    frmMain* window = pieWindow(state);
    if (!window)
        return;
    QSlider* red = window->sldBackColor[0];
    PaintCounter counter(window->ctlMatch.get());
    int value = 0;
    for (auto _ : state) {
        value = (value + 1) % 256;
        red->setValue(value);
        QApplication::processEvents();
    }
    state.counters["paints_per_move"] = static_cast<double>(counter.paints) / state.iterations();
    state.counters["pie_width"] = window->ctlMatch->width();
    state.counters["pie_height"] = window->ctlMatch->height();
    BenchSupport::CloseWithoutSaving(window);
}
BENCHMARK(BM_BackgroundSliderMoveWithRepaint)->Unit(benchmark::kMillisecond);

void BM_BaselinePlainWidgetRecolour(benchmark::State& state) {
    frmMain* window = pieWindow(state);
    if (!window)
        return;
    auto* plain = new QWidget(window->picClient);
    plain->setGeometry(window->ctlMatch->geometry());
    plain->setAutoFillBackground(true);
    plain->show();
    plain->raise();
    QApplication::processEvents();
    PaintCounter counter(plain);
    int value = 0;
    for (auto _ : state) {
        value = (value + 1) % 256;
        QPalette palette = plain->palette();
        palette.setColor(QPalette::Window, QColor(value, 255, 255));
        plain->setPalette(palette);
        QApplication::processEvents();
    }
    state.counters["paints_per_move"] = static_cast<double>(counter.paints) / state.iterations();
    state.counters["pie_width"] = plain->width();
    state.counters["pie_height"] = plain->height();
    BenchSupport::CloseWithoutSaving(window);
}
BENCHMARK(BM_BaselinePlainWidgetRecolour)->Unit(benchmark::kMillisecond);

// A copy of a picture of the pie's size in 32-bit pixels.
void BM_BaselineMemcpyPieSize(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(1460) * 625 * 4;
    std::vector<char> from(bytes, 1);
    std::vector<char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BaselineMemcpyPieSize)->Unit(benchmark::kMillisecond);

}  // namespace
