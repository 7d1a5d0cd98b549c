// Drawing the colour pie with 100 colours into a 1500 x 700 picture of 32-bit pixels as the control
// keeps it (and into a 24-bit bitmap), beside two bounds measured on the same picture: memcpy of its
// bytes and a plain fill with the background (the pie's own first step).
// Then the control itself: a new background colour drawn and painted into a window-sized picture, beside
// Qt painting a plain widget of the same size there.
#include "imaging/cDIBSection.h"
#include "model/Color.h"
#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "views/ColorMatch.h"
#include "views/PieRenderer.h"

#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int Width = 1500;
constexpr int Height = 700;

std::vector<int32_t> HundredColours() {
    std::vector<int32_t> colors;
    for (int i = 0; i < 100; ++i) colors.push_back((i * 37 % 256) + 256 * (i * 91 % 256) + 65536 * (i * 53 % 256));
    return colors;
}

// A top-down 32-bit picture as the control keeps its own.
struct Picture {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(static_cast<size_t>(Width) * Height);
    PieRenderer::Surface surface{reinterpret_cast<uint8_t*>(pixels.data()), Width * 4, 4, Width, Height};
    size_t Bytes() const { return pixels.size() * sizeof(uint32_t); }
};

void BM_DrawPie100(benchmark::State& state) {
    Picture picture;
    const std::vector<int32_t> colors = HundredColours();
    for (auto _ : state) {
        PieRenderer::Draw(picture.surface, 0xFFFFFF, colors);
        benchmark::DoNotOptimize(picture.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(picture.Bytes()));
}
BENCHMARK(BM_DrawPie100)->Unit(benchmark::kMillisecond);

// The same pie in a 24-bit bottom-up bitmap.
void BM_DrawPie100Bitmap(benchmark::State& state) {
    cDIBSection bitmap;
    bitmap.Create(Width, Height);
    const std::vector<int32_t> colors = HundredColours();
    for (auto _ : state) {
        PieRenderer::Draw(bitmap, 0xFFFFFF, colors);
        benchmark::DoNotOptimize(bitmap.DIBSectionBitsPtr());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPie100Bitmap)->Unit(benchmark::kMillisecond);

void BM_BaselineFill(benchmark::State& state) {
    Picture picture;
    for (auto _ : state) {
        PieRenderer::Draw(picture.surface, 0xFFFFFF, {});
        benchmark::DoNotOptimize(picture.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(picture.Bytes()));
}
BENCHMARK(BM_BaselineFill)->Unit(benchmark::kMillisecond);

void BM_BaselineMemcpy(benchmark::State& state) {
    Picture from, to;
    for (auto _ : state) {
        std::memcpy(to.pixels.data(), from.pixels.data(), from.Bytes());
        benchmark::DoNotOptimize(to.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(from.Bytes()));
}
BENCHMARK(BM_BaselineMemcpy)->Unit(benchmark::kMillisecond);

// The program-wide objects a colour needs, for as long as one benchmark runs.
struct ColourWorld {
    ColourWorld() {
        Globals::Converter = std::make_shared<ColorConverter>();
        Globals::Textures = {
            Factory::NewTexture(1, QStringLiteral("  No Texture"), QString(), TextureKind::None, true, true)};
    }
    ~ColourWorld() {
        Globals::Textures.clear();
        Globals::Converter.reset();
    }
};

void BM_BackColorRepaint(benchmark::State& state) {
    ColourWorld world;
    QWidget host;
    host.resize(Width + 20, Height + 20);
    auto* pie = new ColorMatch(&host);
    pie->setGeometry(10, 10, Width, Height);
    host.show();
    pie->Init(&host);
    for (int32_t packed : HundredColours()) {
        auto color = std::make_shared<Color>();
        color->SetColorTexture(Globals::TextureItem(1));
        color->SetColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
        pie->AddColor(color);
    }
    QImage screen(Width, Height, QImage::Format_ARGB32_Premultiplied);
    int32_t grey = 0;
    for (auto _ : state) {
        grey = (grey + 1) % 256;
        pie->SetBackColor(grey * 0x010101);
        pie->render(&screen);
    }
    pie->Dispose();
}
BENCHMARK(BM_BackColorRepaint)->Unit(benchmark::kMillisecond);

void BM_BaselinePlainWidgetRepaint(benchmark::State& state) {
    QWidget host;
    host.resize(Width + 20, Height + 20);
    auto* plain = new QWidget(&host);
    plain->setGeometry(10, 10, Width, Height);
    plain->setAutoFillBackground(true);
    host.show();
    QImage screen(Width, Height, QImage::Format_ARGB32_Premultiplied);
    int grey = 0;
    for (auto _ : state) {
        grey = (grey + 1) % 256;
        QPalette palette = plain->palette();
        palette.setColor(QPalette::Window, QColor(grey, grey, grey));
        plain->setPalette(palette);
        plain->render(&screen);
    }
}
BENCHMARK(BM_BaselinePlainWidgetRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
