// Drawing the colour pie with 100 colours into a 1500 x 700 bitmap, beside two bounds measured on the
// same bitmap: memcpy of its bytes and a plain fill with the background (the pie's own first step).
#include "imaging/cDIBSection.h"
#include "views/PieRenderer.h"

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

size_t Bytes(const cDIBSection& bitmap) { return static_cast<size_t>(bitmap.BytesPerScanLine()) * bitmap.Height(); }

void BM_DrawPie100(benchmark::State& state) {
    cDIBSection bitmap;
    bitmap.Create(Width, Height);
    const std::vector<int32_t> colors = HundredColours();
    for (auto _ : state) {
        PieRenderer::Draw(bitmap, 0xFFFFFF, colors);
        benchmark::DoNotOptimize(bitmap.DIBSectionBitsPtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes(bitmap)));
}
BENCHMARK(BM_DrawPie100)->Unit(benchmark::kMillisecond);

void BM_BaselineFill(benchmark::State& state) {
    cDIBSection bitmap;
    bitmap.Create(Width, Height);
    for (auto _ : state) {
        PieRenderer::Draw(bitmap, 0xFFFFFF, {});
        benchmark::DoNotOptimize(bitmap.DIBSectionBitsPtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes(bitmap)));
}
BENCHMARK(BM_BaselineFill)->Unit(benchmark::kMillisecond);

void BM_BaselineMemcpy(benchmark::State& state) {
    cDIBSection from, to;
    from.Create(Width, Height);
    to.Create(Width, Height);
    for (auto _ : state) {
        std::memcpy(to.DIBSectionBitsPtr(), from.DIBSectionBitsPtr(), Bytes(from));
        benchmark::DoNotOptimize(to.DIBSectionBitsPtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes(from)));
}
BENCHMARK(BM_BaselineMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace
