#include "support/DamagedPng.h"

#include <QBuffer>
#include <QImage>

#include <zlib.h>

#include <random>

namespace DamagedPng {

namespace {

uint32_t bigEndian(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

}  // namespace

QImage Busy(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 engine(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 255 / width + static_cast<int>(engine() % 16)) & 0xFF,
                     (y * 255 / height + static_cast<int>(engine() % 16)) & 0xFF, static_cast<int>(engine() % 256)));
    return image;
}

QByteArray Encode(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray CutInItsData(const QByteArray& png) {
    const qsizetype data = png.indexOf("IDAT") + 4;
    return png.left(data + static_cast<qsizetype>(bigEndian(png, data - 8)) / 2);
}

QByteArray CutBeforeItsEnd(const QByteArray& png) { return png.left(png.lastIndexOf("IEND") - 4); }

QByteArray WithCorruptData(const QByteArray& png, bool keepCrc) {
    QByteArray bytes = png;
    const qsizetype type = bytes.indexOf("IDAT");
    const qsizetype length = bigEndian(bytes, type - 4);
    for (qsizetype i = length / 2; i < length / 2 + 16 && i < length; ++i) bytes[type + 4 + i] = char(0xAB);
    if (keepCrc) {
        const uLong crc =
            crc32(0, reinterpret_cast<const Bytef*>(bytes.constData() + type), static_cast<uInt>(length + 4));
        for (int k = 0; k < 4; ++k) bytes[type + 4 + length + k] = static_cast<char>((crc >> (24 - 8 * k)) & 0xFF);
    }
    return bytes;
}

}  // namespace DamagedPng
