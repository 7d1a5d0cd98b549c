// Rendering a 240 x 470 proofer: plain, with a pattern texture (both with the temporary BMP file), and
// recolouring a cached 4000 x 3000 user picture for a new colour beside the bare colourise pass of the same
// size; resizing a proofer that holds a 5600 x 5600 picture; memcpy of the same bytes as the bound.
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "imaging/cColourise.h"
#include "imaging/cDIBSection.h"
#include "platform/App.h"
#include "platform/FileDialog.h"
#include "platform/ImagingControl.h"
#include "views/ColorPanel.h"
#include "views/SwatchRenderer.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int ProoferWidth = 240;
constexpr int ProoferHeight = 470;

PatternProgramFolder* programDir = nullptr;

std::shared_ptr<Color> colorWith(int textureIndex, int r, int g, int b) {
    auto color = Factory::NewColor(Globals::TextureItem(textureIndex), 15410, false);
    color->SetColor(r, g, b);
    return color;
}

struct Proofer {
    QWidget host;
    ColorPanel* panel;
    explicit Proofer(std::shared_ptr<Color> color) {
        host.resize(800, 600);
        panel = new ColorPanel(&host);
        panel->setGeometry(10, 10, ProoferWidth, ProoferHeight);
        host.show();
        panel->Init(&host, std::move(color), 1, false);
    }
    ~Proofer() { panel->Dispose(); }
};

void BM_RenderPlain(benchmark::State& state) {
    Proofer proofer(colorWith(1, 30, 120, 200));
    for (auto _ : state) proofer.panel->RefreshImageFile();
    state.SetBytesProcessed(state.iterations() * ProoferWidth * ProoferHeight * 3);
}
BENCHMARK(BM_RenderPlain)->Unit(benchmark::kMillisecond);

void BM_RenderPattern(benchmark::State& state) {
    Proofer proofer(colorWith(2, 30, 120, 200));
    for (auto _ : state) proofer.panel->RefreshImageFile();
    state.SetBytesProcessed(state.iterations() * ProoferWidth * ProoferHeight * 3);
}
BENCHMARK(BM_RenderPattern)->Unit(benchmark::kMillisecond);

// The bare colourise pass over the same picture as the swatch's, read and reduced to grey as the swatch does.
struct BarePass {
    ImagingControl reader;
    cDIBSection source, target;
    cColourise colouriser;
    BarePass() {
        reader.SetFileName(programDir->Path() + QStringLiteral("/big.png"));
        reader.ReduceColors(256, true, true);
        source.CreateFromPicture(reader.Picture());
        target.Create(source.Width(), source.Height());
        colouriser.SetSaturation(100);
    }
    bool Ready() const { return source.Width() == 4000 && target.Width() == 4000; }
    void Run(int hue) {
        colouriser.SetHue(hue);
        colouriser.ProcessBits(source, target);
        benchmark::DoNotOptimize(target.DIBSectionBitsPtr());
    }
};

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// state.range(0) 1: a render ran after the picture was loaded; 0: none did. Either way the colour's file
// holds the plain colour at the proofer's size. Each SetColor follows a bare pass of the same size, outside
// the timing: on a loaded machine only figures taken side by side compare, so the counter "over_bare" is
// the median of SetColor's time over the bare pass's just before it.
void BM_RecolourCachedPicture(benchmark::State& state) {
    Proofer proofer(colorWith(1, 30, 120, 200));
    const QString picture = programDir->Path() + QStringLiteral("/big.png");
    FileDialog::SetHandler([&](const FileDialog::Request&) { return FileDialog::Result{true, picture, 1}; });
    if (!proofer.panel->LoadColorizer()) {
        state.SkipWithError("the picture did not load");
        return;
    }
    FileDialog::SetHandler({});
    if (state.range(0) == 1)
        proofer.panel->RefreshImageFile();
    BarePass bare;
    if (!bare.Ready()) {
        state.SkipWithError("the picture did not load");
        return;
    }
    std::vector<double> ratios;
    std::vector<double> bareTimes;
    // Each new colour is made outside the timing, so the loop measures SetColor alone.
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto next = colorWith(1, (k * 37) % 256, (k * 91) % 256, (k * 53) % 256);
        const auto bareStart = std::chrono::steady_clock::now();
        bare.Run((k * 37) % 256);
        const auto bareEnd = std::chrono::steady_clock::now();
        ++k;
        state.ResumeTiming();
        proofer.panel->SetColor(next);
        const auto end = std::chrono::steady_clock::now();
        const double bareSeconds = std::chrono::duration<double>(bareEnd - bareStart).count();
        bareTimes.push_back(bareSeconds * 1e3);
        ratios.push_back(std::chrono::duration<double>(end - bareEnd).count() / bareSeconds);
    }
    state.SetBytesProcessed(state.iterations() * 4000LL * 3000 * 3);
    state.counters["bare_ms"] = median(bareTimes);
    state.counters["over_bare"] = median(ratios);
}
BENCHMARK(BM_RecolourCachedPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The colourise pass alone over the same picture, read and reduced to grey as the swatch does, for the
// recolour's overhead.
void BM_BareColourise4000x3000(benchmark::State& state) {
    ImagingControl reader;
    reader.SetFileName(programDir->Path() + QStringLiteral("/big.png"));
    reader.ReduceColors(256, true, true);
    cDIBSection source, target;
    source.CreateFromPicture(reader.Picture());
    if (source.Width() != 4000 || !target.Create(4000, 3000)) {
        state.SkipWithError("the picture did not load");
        return;
    }
    cColourise colouriser;
    colouriser.SetSaturation(100);
    int k = 0;
    for (auto _ : state) {
        colouriser.SetHue((k++ * 37) % 256);
        colouriser.ProcessBits(source, target);
        benchmark::DoNotOptimize(target.DIBSectionBitsPtr());
    }
    state.SetBytesProcessed(state.iterations() * 4000LL * 3000 * 3);
}
BENCHMARK(BM_BareColourise4000x3000)->Unit(benchmark::kMillisecond);

// The swatch's renderer recolouring the same picture, without the widget around it.
void BM_RendererRecolour(benchmark::State& state) {
    ImagingControl reader;
    reader.SetFileName(programDir->Path() + QStringLiteral("/big.png"));
    reader.ReduceColors(256, true, true);
    SwatchRenderer renderer;
    renderer.LoadPicture(reader.Picture());
    int k = 0;
    for (auto _ : state) renderer.Recolour((k++ * 37) % 360);
    state.SetBytesProcessed(state.iterations() * 4000LL * 3000 * 3);
}
BENCHMARK(BM_RendererRecolour)->Unit(benchmark::kMillisecond);

// A proofer holding a 5600 x 5600 picture resized back and forth, as dragging the window's edge does.
void BM_ResizeWithHugePicture(benchmark::State& state) {
    Proofer proofer(colorWith(1, 30, 120, 200));
    const QString picture = programDir->Path() + QStringLiteral("/huge.png");
    FileDialog::SetHandler([&](const FileDialog::Request&) { return FileDialog::Result{true, picture, 1}; });
    const bool loaded = proofer.panel->LoadColorizer();
    FileDialog::SetHandler({});
    if (!loaded) {
        state.SkipWithError("the picture did not load");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        proofer.panel->resize(ProoferWidth + (k++ % 2) * 20, ProoferHeight);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ResizeWithHugePicture)->Unit(benchmark::kMillisecond);

void BM_LoadPicture(benchmark::State& state) {
    Proofer proofer(colorWith(1, 30, 120, 200));
    const QString picture = programDir->Path() + QStringLiteral("/big.png");
    FileDialog::SetHandler([&](const FileDialog::Request&) { return FileDialog::Result{true, picture, 1}; });
    for (auto _ : state) proofer.panel->LoadColorizer();
    FileDialog::SetHandler({});
}
BENCHMARK(BM_LoadPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

// Making, filling and disposing one strip item (popup and slider box included), as a strip of hundreds does.
void BM_CreateStripItem(benchmark::State& state) {
    QWidget host;
    host.resize(800, 600);
    host.show();
    for (auto _ : state) {
        auto* item = new ColorPanel(&host);
        item->setGeometry(10, 10, 24, 24);
        item->Init(&host, colorWith(1, 30, 120, 200), 0, true);
        item->Dispose();
        delete item;
    }
}
BENCHMARK(BM_CreateStripItem)->Unit(benchmark::kMicrosecond);

void BM_MemcpyProoferBitmap(benchmark::State& state) {
    std::vector<uint8_t> from(ProoferWidth * 3 * ProoferHeight, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(from.size()));
}
BENCHMARK(BM_MemcpyProoferBitmap)->Unit(benchmark::kMillisecond);

void BM_MemcpyBigPicture(benchmark::State& state) {
    std::vector<uint8_t> from(4000 * 3 * 3000, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(from.size()));
}
BENCHMARK(BM_MemcpyBigPicture)->Unit(benchmark::kMillisecond);

// A 4000 x 3000 photograph and a 5600 x 5600 one in the program folder.
void savePhotographs() {
    QImage big(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < big.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(big.scanLine(y));
        for (int x = 0; x < big.width(); ++x) {
            const int grey = (x / 16 + y / 9) % 256;
            line[x] = qRgb(grey, (grey * 3) % 256, 255 - grey);
        }
    }
    big.save(programDir->Path() + QStringLiteral("/big.png"), "PNG", 100);
    QImage huge(5600, 5600, QImage::Format_RGB32);
    for (int y = 0; y < huge.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(huge.scanLine(y));
        for (int x = 0; x < huge.width(); ++x) line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
    }
    huge.save(programDir->Path() + QStringLiteral("/huge.png"), "PNG", 100);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PatternProgramFolder programFolder;
    programDir = &programFolder;
    savePhotographs();
    return BenchSupport::RunBenchmarks(argc, argv);
}
