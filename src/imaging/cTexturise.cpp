#include "imaging/cTexturise.h"

#include "imaging/mHLSRGB.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "services/Hourglass.h"

#include <QImage>
#include <QImageReader>

#include <array>

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

}  // namespace

cTexturise::cTexturise(QObject* parent) : QObject(parent) {}

cTexturise::~cTexturise() = default;

bool cTexturise::LoadTexture(const QString& sTextureFile) {
    m_texture = std::make_unique<cDIBSection>();
    QImageReader reader(sTextureFile);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        MessageBox::Show(QStringLiteral("Failed to load texture '") + sTextureFile + QStringLiteral("'"),
                         MessageBox::Exclamation);
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

void cTexturise::ApplyTexture(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity,
                              int32_t lMidValue, int32_t lSaturation) {
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

void cTexturise::TexturiseBits(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity,
                               int32_t lMidValue, int32_t lSaturation, const ProgressCallback& progress) const {
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

    const auto convert = [&](float h, float s, float l, uint32_t t) -> uint32_t {
        const float newL = limited(factor[t] * l);
        const float newS = limited(f.saturation * s);
        float r, gr, b;
        mHLSRGB::HLSToFractions(h, newS, newL, r, gr, b);
        // Hue, lightness and saturation lie within their ranges here, so every channel is within 0..255.
        const auto byte = [](float channel) -> uint32_t {
            return mHLSRGB::ChannelByte(RoundFloat::ToInt(channel * 255.0f));
        };
        return byte(b) | (byte(gr) << 8) | (byte(r) << 16);
    };

    const uint8_t* src = cDibSrc.DIBSectionBitsPtr();
    uint8_t* dst = cDibDst.DIBSectionBitsPtr();
    const uint8_t* tex = m_texture->DIBSectionBitsPtr();
    const int32_t srcStride = cDibSrc.BytesPerScanLine();
    const int32_t dstStride = cDibDst.BytesPerScanLine();
    const int32_t texStride = m_texture->BytesPerScanLine();
    int32_t texRow = 0;
    for (int32_t y = 0; y <= g.yEnd; ++y) {
        const uint8_t* s = src + static_cast<size_t>(y) * srcStride;
        uint8_t* d = dst + static_cast<size_t>(y) * dstStride;
        const uint8_t* texLine = tex + static_cast<size_t>(texRow) * texStride;
        int32_t texCol = 0;
        for (int32_t x = 0; x <= g.xEnd; x += 3) {
            const uint32_t t = texLine[texCol];
            // Read before the write: source and destination may be one bitmap.
            const uint32_t key = s[x] | (s[x + 1] << 8) | (static_cast<uint32_t>(s[x + 2]) << 16);
            uint32_t out;
            if (key == runKey && runStamp[t] == stamp) {
                out = runResult[t];
            } else {
                if (key != runKey) {
                    runKey = key;
                    if (++stamp == 0) {
                        runStamp.fill(0);
                        stamp = 1;
                    }
                    mHLSRGB::HLSOfFractions(fraction[s[x + 2]], fraction[s[x + 1]], fraction[s[x]], runH, runS,
                                            runL);
                }
                out = convert(runH, runS, runL, t);
                runResult[t] = out;
                runStamp[t] = stamp;
            }
            d[x] = static_cast<uint8_t>(out);
            d[x + 1] = static_cast<uint8_t>(out >> 8);
            d[x + 2] = static_cast<uint8_t>(out >> 16);
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
