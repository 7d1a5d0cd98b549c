// Speed of the pixel passes on a 4000 x 3000 bitmap, beside a memcpy of the same buffer as the bound.
// Items are pixels; the passes run without the wait cursor, whose event processing is not pixel work.
#include "imaging/cColourise.h"
#include "imaging/cDIBSection.h"
#include "imaging/cTexturise.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

constexpr int32_t kWidth = 4000;
constexpr int32_t kHeight = 3000;

std::unique_ptr<cDIBSection> MakeBitmap() {
    auto dib = std::make_unique<cDIBSection>();
    dib->Create(kWidth, kHeight);
    return dib;
}

// A photograph stand-in: every byte random, so no two neighbours share a colour (the hardest case).
std::unique_ptr<cDIBSection> MakePhoto() {
    auto dib = MakeBitmap();
    std::mt19937 engine(1);
    uint8_t* p = dib->DIBSectionBitsPtr();
    for (size_t i = 0, n = static_cast<size_t>(dib->BytesPerScanLine()) * kHeight; i < n; ++i)
        p[i] = static_cast<uint8_t>(engine());
    return dib;
}

std::unique_ptr<cDIBSection> MakePlain() {
    auto dib = MakeBitmap();
    uint8_t* p = dib->DIBSectionBitsPtr();
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            uint8_t* px = p + static_cast<size_t>(y) * dib->BytesPerScanLine() + 3 * x;
            px[0] = 40;
            px[1] = 160;
            px[2] = 220;
        }
    return dib;
}

// A 128 x 128 grey pattern, like the program's texture files.
void LoadTexture(cTexturise& filter) {
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/texture.png");
    if (!QFile::exists(path)) {
        QImage texture(128, 128, QImage::Format_RGB32);
        std::mt19937 engine(2);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const int v = static_cast<int>(engine() % 256);
                texture.setPixel(x, y, qRgb(v, v, v));
            }
        texture.save(path);
    }
    filter.LoadTexture(path);
}

void SetPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kWidth) * kHeight);
}

void BM_Memcpy(benchmark::State& state) {
    const auto src = MakePhoto();
    auto dst = MakeBitmap();
    const size_t size = static_cast<size_t>(src->BytesPerScanLine()) * kHeight;
    for (auto _ : state) {
        std::memcpy(dst->DIBSectionBitsPtr(), src->DIBSectionBitsPtr(), size);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void Colourise(benchmark::State& state, bool reference) {
    const auto src = MakePhoto();
    auto dst = MakeBitmap();
    cColourise filter;
    filter.SetHue(128);
    filter.SetSaturation(100);
    for (auto _ : state) {
        if (reference)
            filter.ProcessReference(*src, *dst);
        else
            filter.ProcessBits(*src, *dst);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}

void BM_Colourise(benchmark::State& state) { Colourise(state, false); }
BENCHMARK(BM_Colourise)->Unit(benchmark::kMillisecond);

void BM_ColouriseReference(benchmark::State& state) { Colourise(state, true); }
BENCHMARK(BM_ColouriseReference)->Unit(benchmark::kMillisecond);

void Texturise(benchmark::State& state, const cDIBSection& src, bool reference) {
    auto dst = MakeBitmap();
    cTexturise filter;
    LoadTexture(filter);
    for (auto _ : state) {
        if (reference)
            filter.TexturiseBitsReference(src, *dst, 100, 64, 100);
        else
            filter.TexturiseBits(src, *dst, 100, 64, 100);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}

void BM_TexturisePlain(benchmark::State& state) { Texturise(state, *MakePlain(), false); }
BENCHMARK(BM_TexturisePlain)->Unit(benchmark::kMillisecond);

void BM_TexturisePhoto(benchmark::State& state) { Texturise(state, *MakePhoto(), false); }
BENCHMARK(BM_TexturisePhoto)->Unit(benchmark::kMillisecond);

void BM_TexturisePhotoReference(benchmark::State& state) { Texturise(state, *MakePhoto(), true); }
BENCHMARK(BM_TexturisePhotoReference)->Unit(benchmark::kMillisecond);

// Resampling to other sizes; items are the destination's pixels.
void BM_Resample(benchmark::State& state) {
    const auto src = MakePhoto();
    const int32_t width = static_cast<int32_t>(state.range(0));
    const int32_t height = static_cast<int32_t>(state.range(1));
    for (auto _ : state) {
        auto result = src->Resample(height, width);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(width) * height);
}
BENCHMARK(BM_Resample)->Args({2000, 1500})->Args({3999, 2999})->Unit(benchmark::kMillisecond);

}  // namespace
