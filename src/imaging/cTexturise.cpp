#include "imaging/cTexturise.h"

#include "imaging/mHLSRGB.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "platform/RuntimeError.h"
#include "services/Hourglass.h"

#include <QImage>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

struct Factors {
    float intensity;
    float middle;
    float saturation;
};

Factors factorsOf(int32_t lIntensity, int32_t lMidValue, int32_t lSaturation) {
    float h, s, middle;
    mHLSRGB::RGBToHLSRef(lMidValue, lMidValue, lMidValue, h, s, middle);
    return {static_cast<float>(lIntensity / 100.0), middle, static_cast<float>(lSaturation / 100.0)};
}

// Lightness and saturation beyond their range are limited; "not at most 1" also catches a NaN.
float limited(float value) {
    if (!(value <= 1.0f))
        return 1.0f;
    if (value < 0.0f)
        return 0.0f;
    return value;
}

struct Geometry {
    int32_t xEnd;
    int32_t yEnd;
    int32_t xTexEnd;
    int32_t yTexEnd;
};

Geometry geometryOf(const cDIBSection& src, const cDIBSection& dst, const cDIBSection& texture) {
    return {3 * std::min(src.Width(), dst.Width()) - 3, std::min(src.Height(), dst.Height()) - 1,
            3 * texture.Width() - 3, texture.Height() - 1};
}

// One pixel's new bytes (blue, green, red, low byte first) from its HLS and its texel's lightness factor.
// Hue, lightness and saturation lie within their ranges here, so no channel leaves the 32-bit range.
uint32_t convertPixel(float h, float s, float l, float factor, float saturationFactor) {
    const float newL = limited(factor * l);
    const float newS = limited(saturationFactor * s);
    float r, g, b;
    mHLSRGB::HLSToFractions(h, newS, newL, r, g, b);
    const auto byte = [](float channel) -> uint32_t {
        return mHLSRGB::ChannelByte(RoundFloat::ToInt(channel * 255.0f));
    };
    return byte(b) | (byte(g) << 8) | (byte(r) << 16);
}

#if defined(__SSE2__)
inline __m128 select(__m128 mask, __m128 a, __m128 b) { return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b)); }
#endif

// Four pixels of different colours at once: the same single-precision steps as the conversions, with every
// branch computed and the taken one selected, lane by lane.
void convertFour(const uint32_t keys[4], const uint32_t texels[4], const float* fraction, const float* factor,
                 float saturationFactor, uint32_t out[4]) {
#if defined(__SSE2__)
    const auto lanes = [&](int shift) {
        return _mm_setr_ps(fraction[(keys[0] >> shift) & 0xFF], fraction[(keys[1] >> shift) & 0xFF],
                           fraction[(keys[2] >> shift) & 0xFF], fraction[(keys[3] >> shift) & 0xFF]);
    };
    const __m128 bf = lanes(0), gf = lanes(8), rf = lanes(16);
    const __m128 k = _mm_setr_ps(factor[texels[0]], factor[texels[1]], factor[texels[2]], factor[texels[3]]);
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f), two = _mm_set1_ps(2.0f), half = _mm_set1_ps(0.5f);
    const __m128 four = _mm_set1_ps(4.0f);

    // RGB to HLS; a grey lane divides by 0 and is then replaced by hue 0, saturation 0.
    const __m128 max = _mm_max_ps(_mm_max_ps(rf, gf), bf);
    const __m128 min = _mm_min_ps(_mm_min_ps(rf, gf), bf);
    const __m128 sum = _mm_add_ps(max, min);
    const __m128 l = _mm_div_ps(sum, two);
    const __m128 grey = _mm_cmpeq_ps(max, min);
    const __m128 d = _mm_sub_ps(max, min);
    const __m128 s0 =
        select(_mm_cmple_ps(l, half), _mm_div_ps(d, sum), _mm_div_ps(d, _mm_sub_ps(_mm_sub_ps(two, max), min)));
    __m128 h = _mm_add_ps(four, _mm_div_ps(_mm_sub_ps(rf, gf), d));
    h = select(_mm_cmpeq_ps(gf, max), _mm_add_ps(two, _mm_div_ps(_mm_sub_ps(bf, rf), d)), h);
    h = select(_mm_cmpeq_ps(rf, max), _mm_div_ps(_mm_sub_ps(gf, bf), d), h);
    h = _mm_andnot_ps(grey, h);
    const __m128 s = _mm_andnot_ps(grey, s0);

    // Lightness and saturation scaled and limited: "not at most 1" becomes 1, below 0 becomes 0.
    const auto limit = [&](__m128 v) {
        v = select(_mm_cmple_ps(v, one), v, one);
        return select(_mm_cmplt_ps(v, zero), zero, v);
    };
    const __m128 nl = limit(_mm_mul_ps(k, l));
    const __m128 ns = limit(_mm_mul_ps(_mm_set1_ps(saturationFactor), s));

    // HLS to RGB by sextant, the lowest matching bound winning as in the tests' order.
    const __m128 m1 = select(_mm_cmple_ps(nl, half), _mm_mul_ps(nl, _mm_sub_ps(one, ns)),
                             _mm_sub_ps(nl, _mm_mul_ps(_mm_sub_ps(one, nl), ns)));
    const __m128 m2 = _mm_sub_ps(_mm_mul_ps(two, nl), m1);
    const __m128 span = _mm_sub_ps(m2, m1);
    const __m128 lt0 = _mm_cmplt_ps(h, zero), lt1 = _mm_cmplt_ps(h, one), lt2 = _mm_cmplt_ps(h, two);
    const __m128 lt3 = _mm_cmplt_ps(h, _mm_set1_ps(3.0f)), lt4 = _mm_cmplt_ps(h, four);
    const __m128 hMinus2 = _mm_sub_ps(h, two), hMinus4 = _mm_sub_ps(h, four);
    __m128 red = _mm_add_ps(m1, _mm_mul_ps(span, hMinus4));
    red = select(lt4, m1, red);
    red = select(lt2, _mm_sub_ps(m1, _mm_mul_ps(span, hMinus2)), red);
    red = select(lt1, m2, red);
    __m128 green = select(lt4, _mm_sub_ps(m1, _mm_mul_ps(span, hMinus4)), m1);
    green = select(lt3, m2, green);
    green = select(lt1, _mm_add_ps(m1, _mm_mul_ps(span, h)), green);
    green = select(lt0, m1, green);
    __m128 blue = select(lt3, _mm_add_ps(m1, _mm_mul_ps(span, hMinus2)), m2);
    blue = select(lt2, m1, blue);
    blue = select(lt0, _mm_sub_ps(m1, _mm_mul_ps(span, h)), blue);
    const __m128 achromatic = _mm_cmpeq_ps(ns, zero);
    red = select(achromatic, nl, red);
    green = select(achromatic, nl, green);
    blue = select(achromatic, nl, blue);

    // Times 255, rounded half to even by the default rounding mode, limited to bytes by saturating packs.
    const __m128 scale = _mm_set1_ps(255.0f);
    const __m128i bi = _mm_cvtps_epi32(_mm_mul_ps(blue, scale));
    const __m128i gi = _mm_cvtps_epi32(_mm_mul_ps(green, scale));
    const __m128i ri = _mm_cvtps_epi32(_mm_mul_ps(red, scale));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(bi, gi), _mm_packs_epi32(ri, ri));  // B4 G4 R4 R4
    const __m128i bg = _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 4));
    const __m128i r0 = _mm_unpacklo_epi8(_mm_srli_si128(bytes, 8), _mm_setzero_si128());
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(bg, r0));
#else
    for (int i = 0; i < 4; ++i) {
        float h, s, l;
        mHLSRGB::HLSOfFractions(fraction[keys[i] >> 16], fraction[(keys[i] >> 8) & 0xFF], fraction[keys[i] & 0xFF], h,
                                s, l);
        out[i] = convertPixel(h, s, l, factor[texels[i]], saturationFactor);
    }
#endif
}

}  // namespace

cTexturise::cTexturise(QObject* parent) : QObject(parent) {}

cTexturise::~cTexturise() = default;

bool cTexturise::LoadTexture(const QString& sTextureFile) {
    m_texture = std::make_unique<cDIBSection>();
    // A FIFO or a device would block the reader, and every swatch renders through here.
    QImage picture;
    if (RegularFile::IsRegular(sTextureFile))
        picture = QImageReader(sTextureFile).read();
    if (picture.isNull()) {
        // Every swatch loads its texture at each render: a damaged file is reported once, not per swatch
        // and per render.
        static QSet<QString> reported;
        if (!reported.contains(sTextureFile)) {
            reported.insert(sTextureFile);
            MessageBox::Show(QStringLiteral("Failed to load texture '") + sTextureFile + QStringLiteral("'"),
                             MessageBox::Exclamation);
        }
        return false;
    }
    m_texture->CreateFromPicture(picture);
    return true;
}

void cTexturise::PaintTexture(cDIBSection::Handle lHDC) const {
    if (HasTexture())
        m_texture->PaintPicture(lHDC);
}

void cTexturise::PaintTexture(QPainter& painter) const {
    if (HasTexture())
        m_texture->PaintPicture(painter);
}

void cTexturise::ApplyTexture(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity, int32_t lMidValue,
                              int32_t lSaturation) {
    if (!HasTexture()) {
        cDibSrc.PaintPicture(cDibDst.hdc(), 0, 0, cDibSrc.Width(), cDibSrc.Height(), 0, 0, cDIBSection::SRCCOPY);
        return;
    }
    Hourglass hourglass;
    TexturiseBits(cDibSrc, cDibDst, lIntensity, lMidValue, lSaturation,
                  [this](int32_t lValue, int32_t lMax) { emit Progress(lValue, lMax); });
}

bool cTexturise::WithinTexture(int32_t X, int32_t Y) const {
    return m_texture && X >= 0 && X < m_texture->Width() && Y >= 0 && Y < m_texture->Height();
}

int32_t cTexturise::TexturePixelColour(int32_t X, int32_t Y) const {
    if (!m_texture)
        return 0;
    if (!WithinTexture(X, Y))
        Err::Raise(RuntimeError::SubscriptOutOfRange);
    const uint8_t* p = m_texture->DIBSectionBitsPtr() + static_cast<size_t>(Y) * m_texture->BytesPerScanLine() + 3 * X;
    return p[2] + 256 * p[1] + 65536 * p[0];
}

void cTexturise::TexturiseBitsReference(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity,
                                        int32_t lMidValue, int32_t lSaturation,
                                        const ProgressCallback& progress) const {
    if (!HasTexture())
        return;
    const Factors f = factorsOf(lIntensity, lMidValue, lSaturation);
    const Geometry g = geometryOf(cDibSrc, cDibDst, *m_texture);
    const uint8_t* src = cDibSrc.DIBSectionBitsPtr();
    uint8_t* dst = cDibDst.DIBSectionBitsPtr();
    const uint8_t* tex = m_texture->DIBSectionBitsPtr();
    const int32_t srcStride = cDibSrc.BytesPerScanLine();
    const int32_t dstStride = cDibDst.BytesPerScanLine();
    const int32_t texStride = m_texture->BytesPerScanLine();
    int32_t texRow = 0;
    for (int32_t y = 0; y <= g.yEnd; ++y) {
        int32_t texCol = 0;
        for (int32_t x = 0; x <= g.xEnd; x += 3) {
            const int32_t t = tex[static_cast<size_t>(texRow) * texStride + texCol];
            float th, ts, tl;
            mHLSRGB::RGBToHLSRef(t, t, t, th, ts, tl);
            const uint8_t* s = src + static_cast<size_t>(y) * srcStride + x;
            const int32_t red = s[2], green = s[1], blue = s[0];
            float h, sat, l;
            mHLSRGB::RGBToHLSRef(red, green, blue, h, sat, l);
            const float newL = limited((f.intensity * (tl - f.middle) + 1.0f) * l);
            const float newS = limited(f.saturation * sat);
            int32_t r, gr, b;
            mHLSRGB::HLSToRGB(h, newS, newL, r, gr, b);
            uint8_t* d = dst + static_cast<size_t>(y) * dstStride + x;
            d[2] = mHLSRGB::ChannelByte(r);
            d[1] = mHLSRGB::ChannelByte(gr);
            d[0] = mHLSRGB::ChannelByte(b);
            texCol += 3;
            if (texCol > g.xTexEnd)
                texCol = 0;
        }
        if (progress)
            progress(y, g.yEnd);
        if (++texRow > g.yTexEnd)
            texRow = 0;
    }
}

void cTexturise::TexturiseBits(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity, int32_t lMidValue,
                               int32_t lSaturation, const ProgressCallback& progress) const {
    if (!HasTexture())
        return;
    const Factors f = factorsOf(lIntensity, lMidValue, lSaturation);
    const Geometry g = geometryOf(cDibSrc, cDibDst, *m_texture);

    // Per channel byte its fraction, per texture grey its lightness factor: the same single-precision values
    // the reference computes at every pixel.
    std::array<float, 256> fraction;
    std::array<float, 256> factor;
    for (int32_t c = 0; c < 256; ++c) {
        fraction[c] = mHLSRGB::Fraction(c);
        float h, s, l;
        mHLSRGB::RGBToHLSRef(c, c, c, h, s, l);
        factor[c] = f.intensity * (l - f.middle) + 1.0f;
    }
    // The result for the current run of equal source pixels, by texture grey; an entry is valid while its
    // stamp equals the run's.
    std::array<uint32_t, 256> runResult;
    std::array<uint32_t, 256> runStamp{};
    uint32_t stamp = 0;
    uint32_t runKey = 0xFFFFFFFFu;
    float runH = 0, runS = 0, runL = 0;

    const auto startRun = [&](uint32_t key) {
        runKey = key;
        if (++stamp == 0) {
            runStamp.fill(0);
            stamp = 1;
        }
        mHLSRGB::HLSOfFractions(fraction[key >> 16], fraction[(key >> 8) & 0xFF], fraction[key & 0xFF], runH, runS,
                                runL);
    };
    const auto runPixel = [&](uint32_t t) -> uint32_t {
        if (runStamp[t] != stamp) {
            runResult[t] = convertPixel(runH, runS, runL, factor[t], f.saturation);
            runStamp[t] = stamp;
        }
        return runResult[t];
    };

    const uint8_t* src = cDibSrc.DIBSectionBitsPtr();
    uint8_t* dst = cDibDst.DIBSectionBitsPtr();
    const uint8_t* tex = m_texture->DIBSectionBitsPtr();
    const int32_t srcStride = cDibSrc.BytesPerScanLine();
    const int32_t dstStride = cDibDst.BytesPerScanLine();
    const int32_t texStride = m_texture->BytesPerScanLine();
    std::vector<uint8_t> pattern(3 * static_cast<size_t>(m_texture->Width()));
    int32_t texRow = 0;
    for (int32_t y = 0; y <= g.yEnd; ++y) {
        const uint8_t* s = src + static_cast<size_t>(y) * srcStride;
        uint8_t* d = dst + static_cast<size_t>(y) * dstStride;
        const uint8_t* texLine = tex + static_cast<size_t>(texRow) * texStride;
        int32_t texCol = 0;
        const auto nextTexel = [&]() -> uint32_t {
            const uint32_t t = texLine[texCol];
            texCol += 3;
            if (texCol > g.xTexEnd)
                texCol = 0;
            return t;
        };
        int32_t x = 0;
        const int32_t pixels = g.xEnd / 3 + 1;
        // A row of one colour (a plain-colour bitmap above all) repeats the texture row's results with the
        // texture's period: one texture row's worth of pixels is converted and copied along.
        if (pixels > 1 && std::memcmp(s, s + 3, 3 * static_cast<size_t>(pixels - 1)) == 0) {
            const uint32_t key = s[0] | (s[1] << 8) | (static_cast<uint32_t>(s[2]) << 16);
            if (key != runKey)
                startRun(key);
            const int32_t period = std::min(pixels, m_texture->Width());
            for (int32_t i = 0; i < period; ++i) {
                const uint32_t out = runPixel(texLine[3 * i]);
                pattern[3 * i] = static_cast<uint8_t>(out);
                pattern[3 * i + 1] = static_cast<uint8_t>(out >> 8);
                pattern[3 * i + 2] = static_cast<uint8_t>(out >> 16);
            }
            for (int32_t at = 0; at < pixels; at += period)
                std::memcpy(d + 3 * at, pattern.data(), 3 * static_cast<size_t>(std::min(period, pixels - at)));
            x = 3 * pixels;
        }
        // Four pixels (twelve bytes) at a time, read whole before they are written: source and destination
        // may be one bitmap.
        for (; x + 9 <= g.xEnd; x += 12) {
            uint64_t lo;
            uint32_t hi;
            std::memcpy(&lo, s + x, 8);
            std::memcpy(&hi, s + x + 8, 4);
            const uint32_t keys[4] = {static_cast<uint32_t>(lo) & 0xFFFFFF, static_cast<uint32_t>(lo >> 24) & 0xFFFFFF,
                                      (static_cast<uint32_t>(lo >> 48) | (hi << 16)) & 0xFFFFFF, hi >> 8};
            const uint32_t texels[4] = {nextTexel(), nextTexel(), nextTexel(), nextTexel()};
            uint32_t out[4];
            if (keys[0] == keys[1] && keys[1] == keys[2] && keys[2] == keys[3]) {
                if (keys[0] != runKey)
                    startRun(keys[0]);
                for (int i = 0; i < 4; ++i) out[i] = runPixel(texels[i]);
            } else {
                convertFour(keys, texels, fraction.data(), factor.data(), f.saturation, out);
            }
            const uint64_t outLo =
                out[0] | (static_cast<uint64_t>(out[1]) << 24) | (static_cast<uint64_t>(out[2]) << 48);
            const uint32_t outHi = (out[2] >> 16) | (out[3] << 8);
            std::memcpy(d + x, &outLo, 8);
            std::memcpy(d + x + 8, &outHi, 4);
        }
        for (; x <= g.xEnd; x += 3) {
            const uint32_t key = s[x] | (s[x + 1] << 8) | (static_cast<uint32_t>(s[x + 2]) << 16);
            if (key != runKey)
                startRun(key);
            const uint32_t out = runPixel(nextTexel());
            d[x] = static_cast<uint8_t>(out);
            d[x + 1] = static_cast<uint8_t>(out >> 8);
            d[x + 2] = static_cast<uint8_t>(out >> 16);
        }
        if (progress)
            progress(y, g.yEnd);
        if (++texRow > g.yTexEnd)
            texRow = 0;
    }
}
