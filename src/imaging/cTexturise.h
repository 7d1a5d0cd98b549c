#pragma once

#include "imaging/cDIBSection.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

// Applies a grey texture, tiled over a picture, to each pixel's HLS lightness around a middle grey, and scales
// the pixel's saturation.
class cTexturise : public QObject {
    Q_OBJECT

public:
    // Raised after each row: the row just finished and the last row.
    using ProgressCallback = std::function<void(int32_t lValue, int32_t lMax)>;

    explicit cTexturise(QObject* parent = nullptr);
    ~cTexturise() override;

    bool LoadTexture(const QString& sTextureFile);
    void PaintTexture(cDIBSection::Handle lHDC) const;
    void PaintTexture(QPainter& painter) const;
    void ApplyTexture(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity = 100, int32_t lMidValue = 0,
                      int32_t lSaturation = 100);
    bool WithinTexture(int32_t X, int32_t Y) const;
    // Packed red + 256 green + 65536 blue at column X, buffer row Y (0 the bottom); error 9 outside.
    int32_t TexturePixelColour(int32_t X, int32_t Y) const;

    // The texturing pass without the wait cursor; needs a texture of non-zero width. Runs of equal source
    // pixels (a plain-colour bitmap above all) are converted once per texture grey.
    void TexturiseBits(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity, int32_t lMidValue,
                       int32_t lSaturation, const ProgressCallback& progress = {}) const;
    // The same pass converting every pixel both ways; TexturiseBits must give its bytes exactly.
    void TexturiseBitsReference(const cDIBSection& cDibSrc, cDIBSection& cDibDst, int32_t lIntensity, int32_t lMidValue,
                                int32_t lSaturation, const ProgressCallback& progress = {}) const;

    const cDIBSection* Texture() const { return m_texture.get(); }
    // True when ApplyTexture modulates; without a texture it copies the source unchanged.
    bool HasTexture() const { return m_texture && m_texture->Width() != 0; }

signals:
    void Progress(int32_t lValue, int32_t lMax);

private:
    std::unique_ptr<cDIBSection> m_texture;
};
