#include "BmpFile.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>

namespace BmpFile {

namespace {

void Put16(QByteArray& out, std::uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void Put32(QByteArray& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.append(static_cast<char>((v >> shift) & 0xFF));
}

void PutFileHeader(QByteArray& out, std::uint32_t fileSize, std::uint32_t bitsOffset) {
    out.append("BM", 2);
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, bitsOffset);
}

bool WriteAll(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 DPI

}  // namespace

bool Save24(const QImage& image, const QString& path) {
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    const int w = src.width();
    const int h = src.height();
    const int stride = (w * 3 + 3) & ~3;
    const std::uint32_t bitsSize = static_cast<std::uint32_t>(stride) * static_cast<std::uint32_t>(h);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(54 + bitsSize));
    PutFileHeader(out, 54 + bitsSize, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, bitsSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
        }
        for (int pad = w * 3; pad < stride; ++pad) out.append('\0');
    }
    return WriteAll(out, path);
}

bool Save32(const QImage& image, const QString& path) {
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);  // straight, not premultiplied, alpha
    const int w = src.width();
    const int h = src.height();
    constexpr std::uint32_t kHeaderSize = 108;
    constexpr std::uint32_t kOffset = 14 + kHeaderSize;
    const std::uint32_t bitsSize = static_cast<std::uint32_t>(w) * static_cast<std::uint32_t>(h) * 4U;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(kOffset + bitsSize));
    PutFileHeader(out, kOffset + bitsSize, kOffset);
    Put32(out, kHeaderSize);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 3);  // BI_BITFIELDS
    Put32(out, bitsSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0x00FF0000);       // red mask
    Put32(out, 0x0000FF00);       // green mask
    Put32(out, 0x000000FF);       // blue mask
    Put32(out, 0xFF000000);       // alpha mask
    Put32(out, 0x73524742);       // 'sRGB'
    for (int i = 0; i < 12; ++i)  // endpoints and gamma, unused with sRGB
        Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) Put32(out, row[x]);
    }
    return WriteAll(out, path);
}

}  // namespace BmpFile
