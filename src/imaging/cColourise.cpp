#include "imaging/cColourise.h"

#include "imaging/cDIBSection.h"
#include "imaging/mHLSRGB.h"
#include "platform/RuntimeError.h"
#include "services/Hourglass.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// The lightness of a pixel is (max + min) / 2 of its largest and smallest channel fractions. In single
// precision that is not a function of max + min alone (the two fractions round apart), so pixels are keyed by
// the pair: ids number the distinct lightness values, and every call converts only those.
struct LightnessTable {
    std::array<uint16_t, 256 * 256> id{};  // by max * 256 + min, for min <= max
    std::vector<float> value;              // lightness of each id
};

const LightnessTable& lightnessTable() {
    static const LightnessTable table = [] {
        LightnessTable t;
        std::vector<float> all;
        all.reserve(256 * 257 / 2);
        for (int32_t max = 0; max < 256; ++max) {
            for (int32_t min = 0; min <= max; ++min) {
                float h, s, l;
                mHLSRGB::RGBToHLS(max, min, min, h, s, l);
                all.push_back(l);
            }
        }
        t.value = all;
        std::sort(t.value.begin(), t.value.end());
        t.value.erase(std::unique(t.value.begin(), t.value.end()), t.value.end());
        size_t i = 0;
        for (int32_t max = 0; max < 256; ++max) {
            for (int32_t min = 0; min <= max; ++min, ++i) {
                const auto at = std::lower_bound(t.value.begin(), t.value.end(), all[i]);
                t.id[max * 256 + min] = static_cast<uint16_t>(at - t.value.begin());
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

float cColourise::TargetHue() const { return static_cast<float>(m_Hue * 6.0 / 255.0 - 1.0); }

float cColourise::TargetSaturation() const { return static_cast<float>(m_Saturation / 255.0); }

void cColourise::Process(const cDIBSection& cSrc, cDIBSection& cDst) {
    Hourglass hourglass;
    ProcessBits(cSrc, cDst);
}

void cColourise::ProcessReference(const cDIBSection& cSrc, cDIBSection& cDst) const {
    const uint8_t* src = cSrc.DIBSectionBitsPtr();
    uint8_t* dst = cDst.DIBSectionBitsPtr();
    const int32_t srcStride = cSrc.BytesPerScanLine();
    const int32_t dstStride = cDst.BytesPerScanLine();
    const float hue = TargetHue();
    const float saturation = TargetSaturation();
    try {
        // Column by column, running to the scan line's end: three padding bytes count as one more pixel.
        for (int32_t x = 0; x <= srcStride - 3; x += 3) {
            for (int32_t y = 0; y < cSrc.Height(); ++y) {
                // A destination smaller than the source ends the pass where it is.
                if (x + 2 >= dstStride || y >= cDst.Height())
                    Err::Raise(RuntimeError::SubscriptOutOfRange);
                const uint8_t* s = src + static_cast<size_t>(y) * srcStride + x;
                float h, sat, l;
                mHLSRGB::RGBToHLS(s[2], s[1], s[0], h, sat, l);
                int32_t red, green, blue;
                mHLSRGB::HLSToRGB(hue, saturation, l, red, green, blue);
                uint8_t* d = dst + static_cast<size_t>(y) * dstStride + x;
                d[2] = mHLSRGB::ChannelByte(red);
                d[1] = mHLSRGB::ChannelByte(green);
                d[0] = mHLSRGB::ChannelByte(blue);
            }
        }
    } catch (const RuntimeError&) {
    }
}

void cColourise::ProcessBits(const cDIBSection& cSrc, cDIBSection& cDst) const {
    const int32_t srcStride = cSrc.BytesPerScanLine();
    const int32_t dstStride = cDst.BytesPerScanLine();
    const int32_t height = cSrc.Height();
    // Where the reference would stop part way, it runs itself, so the bytes left behind are the same.
    if (dstStride < srcStride || cDst.Height() < height) {
        ProcessReference(cSrc, cDst);
        return;
    }
    const LightnessTable& lightness = lightnessTable();
    const float hue = TargetHue();
    const float saturation = TargetSaturation();
    // Output bytes blue, green, red of each lightness id, packed low byte first.
    std::array<uint32_t, 256 * 257 / 2> packed;
    try {
        for (size_t i = 0; i < lightness.value.size(); ++i) {
            int32_t red, green, blue;
            mHLSRGB::HLSToRGB(hue, saturation, lightness.value[i], red, green, blue);
            packed[i] = mHLSRGB::ChannelByte(blue) | (mHLSRGB::ChannelByte(green) << 8) |
                        (static_cast<uint32_t>(mHLSRGB::ChannelByte(red)) << 16);
        }
    } catch (const RuntimeError&) {
        ProcessReference(cSrc, cDst);
        return;
    }
    const uint8_t* src = cSrc.DIBSectionBitsPtr();
    uint8_t* dst = cDst.DIBSectionBitsPtr();
    const int32_t pixels = srcStride / 3;
    const uint16_t* ids = lightness.id.data();
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = src + static_cast<size_t>(y) * srcStride;
        uint8_t* d = dst + static_cast<size_t>(y) * dstStride;
        for (int32_t x = 0; x < pixels; ++x, s += 3, d += 3) {
            const uint32_t b = s[0], g = s[1], r = s[2];
            const uint32_t max = std::max(std::max(b, g), r);
            const uint32_t min = std::min(std::min(b, g), r);
            const uint32_t out = packed[ids[max * 256 + min]];
            d[0] = static_cast<uint8_t>(out);
            d[1] = static_cast<uint8_t>(out >> 8);
            d[2] = static_cast<uint8_t>(out >> 16);
        }
    }
}
