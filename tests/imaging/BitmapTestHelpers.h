#pragma once

#include "imaging/cDIBSection.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace BitmapTestHelpers {

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr&) const = default;
};

inline uint8_t* At(cDIBSection& dib, int32_t x, int32_t row) {
    return dib.DIBSectionBitsPtr() + static_cast<size_t>(row) * dib.BytesPerScanLine() + 3 * x;
}

inline Bgr PixelAt(const cDIBSection& dib, int32_t x, int32_t row) {
    const uint8_t* p = dib.DIBSectionBitsPtr() + static_cast<size_t>(row) * dib.BytesPerScanLine() + 3 * x;
    return {p[0], p[1], p[2]};
}

inline void SetPixel(cDIBSection& dib, int32_t x, int32_t row, Bgr c) {
    uint8_t* p = At(dib, x, row);
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

inline std::vector<uint8_t> Bytes(const cDIBSection& dib) {
    const uint8_t* p = dib.DIBSectionBitsPtr();
    return std::vector<uint8_t>(p, p + static_cast<size_t>(dib.BytesPerScanLine()) * dib.Height());
}

// Every byte random, padding included, so a pass that reads or writes padding shows it.
inline void FillRandom(cDIBSection& dib, uint32_t seed) {
    std::mt19937 engine(seed);
    uint8_t* p = dib.DIBSectionBitsPtr();
    const size_t size = static_cast<size_t>(dib.BytesPerScanLine()) * dib.Height();
    for (size_t i = 0; i < size; ++i) p[i] = static_cast<uint8_t>(engine());
}

inline void Fill(cDIBSection& dib, Bgr c) {
    for (int32_t row = 0; row < dib.Height(); ++row)
        for (int32_t x = 0; x < dib.Width(); ++x) SetPixel(dib, x, row, c);
}

// Sets the padding bytes at the end of every row.
inline void FillPadding(cDIBSection& dib, uint8_t value) {
    for (int32_t row = 0; row < dib.Height(); ++row)
        for (int32_t i = 3 * dib.Width(); i < dib.BytesPerScanLine(); ++i)
            dib.DIBSectionBitsPtr()[static_cast<size_t>(row) * dib.BytesPerScanLine() + i] = value;
}

}  // namespace BitmapTestHelpers
