#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

// A picture that drawing calls reach by a 32-bit handle (0 = none), as pattern brushes are made from
// bitmap handles. The handle is valid for the object's life and never reused.
class RasterBitmap {
public:
    RasterBitmap();
    explicit RasterBitmap(const QImage& image);
    ~RasterBitmap();
    RasterBitmap(const RasterBitmap&) = delete;
    RasterBitmap& operator=(const RasterBitmap&) = delete;

    uint32_t Handle() const { return m_handle; }
    const QImage& Image() const { return m_image; }
    // Held as 32-bit RGB.
    void SetImage(const QImage& image);
    // Loads a picture file; false (and no picture) when it cannot be read.
    bool Load(const QString& path);

    // The picture of a live handle, or nullptr.
    static const QImage* FromHandle(uint32_t handle);

private:
    uint32_t m_handle;
    QImage m_image;
};
