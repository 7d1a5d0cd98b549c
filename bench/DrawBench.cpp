// Flood fills and free-hand segments of the drawing tool on a stage-sized picture.
#include "platform/RasterBitmap.h"
#include "platform/RasterDC.h"
#include "stage/Draw.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr uint32_t kArea = RasterDC::Rgb(240, 240, 240);

struct Picture {
    Picture() : image(kWidth, kHeight, QImage::Format_RGB32), dc(&image) {
        image.fill(RasterDC::ToPixel(kArea));
        blank = image;
        blank.detach();
        draw.SetHdc(dc.Handle());
    }
    void Reset() { std::memcpy(image.bits(), blank.constBits(), static_cast<size_t>(image.sizeInBytes())); }

    QImage image;
    QImage blank;
    RasterDC dc;
    Draw draw;
};

void Fill(benchmark::State& state, uint32_t pattern) {
    Picture picture;
    picture.draw.SetColor(RasterDC::Rgb(200, 30, 40));
    for (auto _ : state) {
        state.PauseTiming();
        picture.Reset();
        state.ResumeTiming();
        picture.draw.DrawFloodFill(kWidth / 2.0f, kHeight / 2.0f, false, pattern);
        benchmark::ClobberMemory();
    }
    if (picture.image.pixel(kWidth - 1, kHeight - 1) == RasterDC::ToPixel(kArea)) {
        state.SkipWithError("the area was not filled");
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(kWidth) * kHeight * 1e-6 * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DrawFloodFillSolid(benchmark::State& state) { Fill(state, 0); }
BENCHMARK(BM_DrawFloodFillSolid)->Unit(benchmark::kMillisecond)->UseRealTime();

// A swatch-sized pattern that holds the area's own colour: the visited marks are needed.
void BM_DrawFloodFillPattern(benchmark::State& state) {
    QImage tile(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            tile.setPixel(x, y, (x + y) % 7 == 0 ? RasterDC::ToPixel(kArea) : qRgb(x * 4, y * 5, 90));
        }
    }
    RasterBitmap bitmap(tile);
    Fill(state, bitmap.Handle());
}
BENCHMARK(BM_DrawFloodFillPattern)->Unit(benchmark::kMillisecond)->UseRealTime();

// A comb of 1-pixel walls every 8 columns, open along the top row: 500 runs a line, each reached
// from the top, so the span stack works hard.
void BM_DrawFloodFillComb(benchmark::State& state) {
    Picture picture;
    for (int y = 1; y < kHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.image.scanLine(y));
        for (int x = 7; x < kWidth; x += 8) {
            row[x] = 0xFF000000u;
        }
    }
    picture.blank = picture.image.copy();
    picture.draw.SetColor(RasterDC::Rgb(200, 30, 40));
    for (auto _ : state) {
        state.PauseTiming();
        picture.Reset();
        state.ResumeTiming();
        picture.draw.DrawFloodFill(3, kHeight - 1.0f);
        benchmark::ClobberMemory();
    }
    state.counters["Mpixel/s"] = benchmark::Counter(
        (double(kWidth) * kHeight - double(kWidth / 8) * (kHeight - 1)) * 1e-6 * double(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawFloodFillComb)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bound: writing the same number of pixels with memset.
void BM_MemsetArea(benchmark::State& state) {
    Picture picture;
    for (auto _ : state) {
        std::memset(picture.image.bits(), 0x5A, static_cast<size_t>(picture.image.sizeInBytes()));
        benchmark::ClobberMemory();
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(kWidth) * kHeight * 1e-6 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MemsetArea)->Unit(benchmark::kMillisecond)->UseRealTime();

// One mouse move of a free-hand stroke: the segment from the last point and a new start.
void BM_DrawFreeHandSegment(benchmark::State& state) {
    Picture picture;
    picture.draw.SetLineThickness(5);
    float x = 100, y = 100;
    picture.draw.DrawLineStart(x, y);
    int step = 0;
    for (auto _ : state) {
        const float nx = 100.0f + static_cast<float>((step * 7) % 3800);
        const float ny = 100.0f + static_cast<float>((step * 13) % 2800);
        if (++step % 64 == 0) {
            picture.draw.DrawLineEnd(nx, ny, true);
        } else {
            picture.draw.DrawLineEnd(x + 6, y + 4, true);
        }
        x = (step % 64 == 0) ? nx : x + 6;
        y = (step % 64 == 0) ? ny : y + 4;
        if (x > kWidth - 100 || y > kHeight - 100) {
            x = 100;
            y = 100;
        }
        picture.draw.DrawLineStart(x, y);
    }
    picture.draw.DrawLineEnd(x, y, true);
}
BENCHMARK(BM_DrawFreeHandSegment)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
