#include "imaging/cColourise.h"

#include "imaging/cDIBSection.h"
#include "imaging/mHLSRGB.h"
#include "platform/RuntimeError.h"
#include "services/Hourglass.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <vector>

namespace {

// The lightness of a pixel is (max + min) / 2 of its largest and smallest channel fractions. In single
// precision that is not a function of max + min alone: for some sums the two fractions round apart and give a
// second value one unit in the last place above the first. Pixels are keyed by 2 (max + min) plus a bit telling
// the second value, so every call converts 511 x 2 lightness values and the pass reads only small tables.
struct LightnessTable {
    std::array<float, 2 * 511> value{};          // by key; the second of a sum repeats the first when it has none
    std::array<uint8_t, 256 * 256 / 8> upper{};  // bit max * 256 + min: the pair takes its sum's second value
};

const LightnessTable& lightnessTable() {
    static const LightnessTable table = [] {
        LightnessTable t;
        std::array<bool, 511> seen{};
        for (int32_t max = 0; max < 256; ++max) {
            for (int32_t min = 0; min <= max; ++min) {
                float h, s, l;
                mHLSRGB::RGBToHLS(max, min, min, h, s, l);
                const int32_t sum = max + min;
                if (!seen[sum]) {
                    seen[sum] = true;
                    t.value[2 * sum] = l;
                    t.value[2 * sum + 1] = l;
                } else if (l != t.value[2 * sum]) {
                    t.value[2 * sum + 1] = l;
                }
            }
        }
        for (int32_t max = 0; max < 256; ++max) {
            for (int32_t min = 0; min <= max; ++min) {
                float h, s, l;
                mHLSRGB::RGBToHLS(max, min, min, h, s, l);
                const int32_t sum = max + min;
                if (l != t.value[2 * sum]) {
                    // A third value would need a wider key; the test over every colour guards this.
                    const int32_t bit = max * 256 + min;
                    t.upper[bit >> 3] = static_cast<uint8_t>(t.upper[bit >> 3] | (1u << (bit & 7)));
                }
            }
        }
        return t;
    }();
    return table;
}

#if defined(__x86_64__) || defined(__i386__)
#define TINDRAL_COLOURISE_SSSE3 1

// Sixteen pixels (48 bytes) at a time: the channels are split into planes with byte shuffles, the largest and
// smallest channel taken per plane, and the table entries put back as 48 bytes. Returns the pixels done.
__attribute__((target("ssse3"))) int32_t colouriseBlocksSsse3(const uint8_t* s, uint8_t* d, int32_t pixels,
                                                              const uint32_t* out) {
    alignas(16) uint8_t masks[3][3][16];  // [plane][source vector][lane]
    for (int plane = 0; plane < 3; ++plane)
        for (int v = 0; v < 3; ++v)
            for (int i = 0; i < 16; ++i) {
                const int at = 3 * i + plane - 16 * v;
                masks[plane][v][i] = static_cast<uint8_t>(at >= 0 && at < 16 ? at : 0x80);
            }
    alignas(16) uint8_t compact[16];  // the 12 colour bytes of four BGR0 entries
    for (int i = 0; i < 16; ++i) compact[i] = static_cast<uint8_t>(i < 12 ? (i / 3) * 4 + i % 3 : 0x80);
    const auto mask = [&masks](int plane, int v) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(masks[plane][v]));
    };
    const __m128i b0 = mask(0, 0), b1 = mask(0, 1), b2 = mask(0, 2);
    const __m128i g0 = mask(1, 0), g1 = mask(1, 1), g2 = mask(1, 2);
    const __m128i r0 = mask(2, 0), r1 = mask(2, 1), r2 = mask(2, 2);
    const __m128i pack = _mm_load_si128(reinterpret_cast<const __m128i*>(compact));
    int32_t x = 0;
    for (; x + 16 <= pixels; x += 16, s += 48, d += 48) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
        const __m128i vc = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
        const __m128i blue =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(va, b0), _mm_shuffle_epi8(vb, b1)), _mm_shuffle_epi8(vc, b2));
        const __m128i green =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(va, g0), _mm_shuffle_epi8(vb, g1)), _mm_shuffle_epi8(vc, g2));
        const __m128i red =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(va, r0), _mm_shuffle_epi8(vb, r1)), _mm_shuffle_epi8(vc, r2));
        const __m128i max = _mm_max_epu8(_mm_max_epu8(blue, green), red);
        const __m128i min = _mm_min_epu8(_mm_min_epu8(blue, green), red);
        // 16-bit lanes max * 256 + min.
        const __m128i lo = _mm_unpacklo_epi8(min, max);
        const __m128i hi = _mm_unpackhi_epi8(min, max);
        alignas(16) uint16_t index[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(index), lo);
        _mm_store_si128(reinterpret_cast<__m128i*>(index + 8), hi);
        const auto entries = [out, &index](int i) {
            return _mm_setr_epi32(static_cast<int>(out[index[i]]), static_cast<int>(out[index[i + 1]]),
                                  static_cast<int>(out[index[i + 2]]), static_cast<int>(out[index[i + 3]]));
        };
        const __m128i o0 = entries(0), o1 = entries(4), o2 = entries(8), o3 = entries(12);
        const __m128i c0 = _mm_shuffle_epi8(o0, pack);
        const __m128i c1 = _mm_shuffle_epi8(o1, pack);
        const __m128i c2 = _mm_shuffle_epi8(o2, pack);
        const __m128i c3 = _mm_shuffle_epi8(o3, pack);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_or_si128(c0, _mm_slli_si128(c1, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16),
                         _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32),
                         _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4)));
    }
    return x;
}

bool hasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

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
    // Output bytes blue, green, red of each lightness key, packed low byte first.
    std::array<uint32_t, 2 * 511> packed;
    try {
        for (size_t i = 0; i < packed.size(); ++i) {
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
    // Expanded to one entry per (max, min): a single lookup per pixel.
    std::vector<uint32_t> full(256 * 256);
    for (uint32_t max = 0; max < 256; ++max)
        for (uint32_t min = 0; min <= max; ++min) {
            const uint32_t bit = max * 256 + min;
            full[bit] = packed[2 * (max + min) + ((lightness.upper[bit >> 3] >> (bit & 7)) & 1u)];
        }
    const uint32_t* out = full.data();
    // Branch-free: a photograph's channel order is unpredictable.
    const auto convert = [out](uint32_t bgr) -> uint32_t {
        const int32_t b = bgr & 0xFF, g = (bgr >> 8) & 0xFF, r = (bgr >> 16) & 0xFF;
        const int32_t bg = (b - g) & ((b - g) >> 31);  // b - g when b < g, else 0
        const int32_t maxBG = b - bg, minBG = g + bg;
        const int32_t max = maxBG - ((maxBG - r) & ((maxBG - r) >> 31));
        const int32_t min = minBG + ((r - minBG) & ((r - minBG) >> 31));
        return out[max * 256 + min];
    };
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = src + static_cast<size_t>(y) * srcStride;
        uint8_t* d = dst + static_cast<size_t>(y) * dstStride;
        int32_t x = 0;
#ifdef TINDRAL_COLOURISE_SSSE3
        // A block is read whole before it is written, so source and destination may be one bitmap.
        if (hasSsse3()) {
            x = colouriseBlocksSsse3(s, d, pixels, out);
            s += 3 * x;
            d += 3 * x;
        }
#endif
        for (; x < pixels; ++x, s += 3, d += 3) {
            const uint32_t p = convert(s[0] | (s[1] << 8) | (static_cast<uint32_t>(s[2]) << 16));
            d[0] = static_cast<uint8_t>(p);
            d[1] = static_cast<uint8_t>(p >> 8);
            d[2] = static_cast<uint8_t>(p >> 16);
        }
    }
}
