// A colour-scheme strip of 60 patterned colours, 10 of them in view: rebuilding its panels, one scroll step and
// adding one colour, beside rendering one of its swatches and copying the bitmaps of all 60.
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/App.h"
#include "platform/CommandBar.h"
#include "platform/CommandBars.h"
#include "services/CommandIds.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int StripWidth = 900;
constexpr int StripHeight = 110;
constexpr int Colours = 60;

std::shared_ptr<Color> patterned(int k) {
    auto color = Factory::NewColor(Globals::TextureItem(2), 15410, false);
    color->SetColor((k * 37) % 256, (k * 91) % 256, (k * 53) % 256);
    return color;
}

std::vector<std::shared_ptr<Color>> scheme(int n) {
    std::vector<std::shared_ptr<Color>> colors;
    for (int k = 0; k < n; ++k) colors.push_back(patterned(k));
    return colors;
}

// Panels a rebuild unloads go once the event loop is back; a benchmark loop has none.
void dropUnloadedPanels() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

struct Strip {
    QWidget host;
    ColorHistory* strip;
    Strip() {
        host.resize(StripWidth + 20, StripHeight + 20);
        strip = new ColorHistory(&host);
        strip->setGeometry(10, 10, StripWidth, StripHeight);
        host.show();
        strip->Init(&host);
        strip->AddColorPanels(scheme(Colours));
        dropUnloadedPanels();
    }
    ~Strip() { strip->Dispose(); }
    QScrollBar* scroll() const { return strip->findChild<QScrollBar*>(QStringLiteral("bottScroll")); }
    void sort() const {
        auto* bars = strip->findChild<CommandBars*>(QStringLiteral("CommandBars"), Qt::FindDirectChildrenOnly);
        for (int i = 0; i < bars->Count(); ++i)
            if (bars->Item(i)->Name() == QStringLiteral("Popup"))
                bars->ExecuteControl(bars->Item(i)->FindControl(CommandIds::SortColorsByRGBSum));
    }
};

// The popup's sort runs a rebuild of every panel from the colours; the unloaded panels' deletion, which the
// event loop does afterwards, is counted with it.
void BM_ReloadPanels(benchmark::State& state) {
    Strip s;
    for (auto _ : state) {
        s.sort();
        dropUnloadedPanels();
    }
}
BENCHMARK(BM_ReloadPanels)->Unit(benchmark::kMillisecond);

// From the end of the row towards its start, one panel at a time; each step brings a panel into view that a
// fresh rebuild never showed.
void BM_ScrollStep(benchmark::State& state) {
    Strip s;
    QScrollBar* scroll = s.scroll();
    for (auto _ : state) {
        if (scroll->value() == 0) {
            state.PauseTiming();
            s.sort();
            dropUnloadedPanels();
            state.ResumeTiming();
        }
        scroll->setValue(scroll->value() - 1);
    }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

void BM_AddColorPanel(benchmark::State& state) {
    Strip s;
    int k = Colours;
    for (auto _ : state) {
        state.PauseTiming();
        if (s.strip->PanelCount() >= Colours + 10) {
            s.strip->Clear();
            s.strip->AddColorPanels(scheme(Colours));
            dropUnloadedPanels();
        }
        auto next = patterned(k++);
        state.ResumeTiming();
        s.strip->AddColorPanel(next);
    }
}
BENCHMARK(BM_AddColorPanel)->Unit(benchmark::kMillisecond);

// Baseline: one strip swatch rendered again with its pattern and written to its colour's file.
void BM_RenderOneSwatch(benchmark::State& state) {
    Strip s;
    ColorPanel* panel = s.strip->Panel(Colours - 1);
    for (auto _ : state) panel->RefreshImageFile();
    state.counters["panel_px"] = panel->width() * panel->height();
}
BENCHMARK(BM_RenderOneSwatch)->Unit(benchmark::kMillisecond);

// Baseline: copying the 24-bit bitmaps of all 60 swatches once.
void BM_MemcpyStripBitmaps(benchmark::State& state) {
    Strip s;
    const ColorPanel* panel = s.strip->Panel(Colours - 1);
    const size_t bytes = static_cast<size_t>(Colours) * ((panel->width() * 3 + 3) & ~3) * panel->height();
    std::vector<uint8_t> from(bytes, 7), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemcpyStripBitmaps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PatternProgramFolder programFolder;
    return BenchSupport::RunBenchmarks(argc, argv);
}
