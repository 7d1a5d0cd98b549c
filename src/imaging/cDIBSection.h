#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;
class QPixmap;
class QString;

// A 24-bit bottom-up bitmap whose bytes the filters address in place: pixels blue, green, red,
// buffer row 0 the bottom line, each row padded to a multiple of 4 bytes.
class cDIBSection {
public:
    // Opaque handles: 0 when the bitmap is empty, unique per bitmap and per device context otherwise.
    using Handle = intptr_t;

    // Raster operations of the bit-block transfers (the truth table of pattern, source and destination
    // sits in bits 16..23; the pattern is the default white brush).
    static constexpr int32_t SRCCOPY = 13369376;
    static constexpr int32_t SRCPAINT = 0x00EE0086;
    static constexpr int32_t SRCAND = 0x008800C6;
    static constexpr int32_t SRCINVERT = 0x00660046;
    static constexpr int32_t SRCERASE = 0x00440328;
    static constexpr int32_t NOTSRCCOPY = 0x00330008;
    static constexpr int32_t NOTSRCERASE = 0x001100A6;
    static constexpr int32_t MERGEPAINT = 0x00BB0226;
    static constexpr int32_t DSTINVERT = 0x00550009;
    static constexpr int32_t BLACKNESS = 0x00000042;
    static constexpr int32_t WHITENESS = 0x00FF0062;

    cDIBSection();
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    bool CopyToClipboard(bool bAsDIB = true);
    // Stretches the bitmap over the whole device and asks a widget to repaint.
    void CopyToPicture(QPaintDevice& toPic) const;
    bool CreateDIB(Handle lHDC, int32_t lWidth, int32_t lHeight, Handle& hDib);
    void CreateFromHandle(const QImage& pHandle);
    void CreateFromPicture(const QPixmap& picThis);
    void CreateFromPicture(const QImage& picThis);
    bool Create(int32_t lWidth, int32_t lHeight);
    int32_t BytesPerScanLine() const { return BytesPerScanLineOf(Width()); }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

    // Source coordinates are picture coordinates: (0, 0) is the top left pixel.
    void LoadPictureBlt(Handle lHDC, int32_t lSrcLeft = 0, int32_t lSrcTop = 0, int32_t lSrcWidth = -1,
                        int32_t lSrcHeight = -1, int32_t eRop = SRCCOPY);
    void LoadPictureBlt(const QImage& source, int32_t lSrcLeft = 0, int32_t lSrcTop = 0, int32_t lSrcWidth = -1,
                        int32_t lSrcHeight = -1, int32_t eRop = SRCCOPY);
    // lHDC is the device context of another bitmap; an unknown handle draws nothing.
    void PaintPicture(Handle lHDC, int32_t lDestLeft = 0, int32_t lDestTop = 0, int32_t lDestWidth = -1,
                      int32_t lDestHeight = -1, int32_t lSrcLeft = 0, int32_t lSrcTop = 0,
                      int32_t eRop = SRCCOPY) const;
    void PaintPicture(QPainter& painter, int32_t lDestLeft = 0, int32_t lDestTop = 0, int32_t lDestWidth = -1,
                      int32_t lDestHeight = -1, int32_t lSrcLeft = 0, int32_t lSrcTop = 0,
                      int32_t eRop = SRCCOPY) const;
    void PaintPicture(QPaintDevice& device, int32_t lDestLeft = 0, int32_t lDestTop = 0, int32_t lDestWidth = -1,
                      int32_t lDestHeight = -1, int32_t lSrcLeft = 0, int32_t lSrcTop = 0,
                      int32_t eRop = SRCCOPY) const;

    Handle hdc() const { return m_hdc; }
    Handle hDib() const { return m_hDib; }
    uint8_t* DIBSectionBitsPtr() { return m_bits.empty() ? nullptr : m_bits.data(); }
    const uint8_t* DIBSectionBitsPtr() const { return m_bits.empty() ? nullptr : m_bits.data(); }

    void RandomiseBits(bool bGray = false);
    void ClearUp();
    std::shared_ptr<cDIBSection> Resample(int32_t lNewHeight, int32_t lNewWidth) const;
    bool SavePicture(const QString& sFileName) const;

    // The buffer as an image without copying: rows in buffer order, so the picture stands upside down.
    QImage BufferImage() const;
    // The picture the right way up, as a copy.
    QImage ToImage() const;

    static int32_t BytesPerScanLineOf(int32_t width) { return (3 * width + 3) & ~3; }

private:
    // A bitmap file's 14-byte file header, 40-byte info header and one palette entry; a bitmap is never made
    // larger than a file can describe.
    static constexpr int32_t kFileHeaderSize = 14;
    static constexpr int32_t kInfoSize = 44;
    static constexpr int32_t kHeadersSize = kFileHeaderSize + kInfoSize;

    void ResampleInto(cDIBSection& d) const;
    bool WriteBitmapFile(const uint8_t* bits, const QString& sFileName) const;
    static QString WinErrorText(int errorCode);
    static bool WriteFailed(long written, size_t requested);
    static cDIBSection* FromHdc(Handle lHDC);

    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_imageSize = 0;
    Handle m_hDib = 0;
    Handle m_hdc = 0;
    std::vector<uint8_t> m_bits;
};
