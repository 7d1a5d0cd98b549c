#include "platform/PngFile.h"

#include "platform/ParallelPng.h"
#include "platform/PictureReader.h"
#include "platform/RegularFile.h"

#include <QFile>

#include <cstring>

namespace PngFile {

namespace {

// The signature, IHDR and the next chunk's length and type: enough to tell a banded file.
constexpr qint64 HeadBytes = 8 + 25 + 8;

// Nothing larger is read whole: twice the filtered rows of the largest picture decoded in parallel.
qint64 MaxBandedFileBytes() {
    const ParallelPng::Limits limits;
    return static_cast<qint64>(2 * (limits.maxPixels * 3 + limits.maxSide) + (1 << 20));
}

// The head's declared picture is 8-bit RGB and the band chunk follows IHDR.
bool LooksBanded(const QByteArray& head) {
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    return head.size() == HeadBytes && std::memcmp(head.constData(), signature, 8) == 0 && head.mid(12, 4) == "IHDR" &&
           head.at(24) == 8 && head.at(25) == 2 && head.mid(37, 4) == QByteArray(ParallelPng::BandChunk, 4);
}

}  // namespace

ParallelPng::Picture RowsOf(const QImage& picture) {
    ParallelPng::Picture rows;
    rows.pixels = picture.constBits();
    rows.stride = picture.bytesPerLine();
    rows.width = static_cast<uint32_t>(picture.width());
    rows.height = static_cast<uint32_t>(picture.height());
    rows.layout = picture.format() == QImage::Format_RGB888 ? ParallelPng::Layout::Rgb24 : ParallelPng::Layout::Xrgb32;
    return rows;
}

ParallelPng::Bytes Encode(const QImage& picture) {
    if (picture.isNull())
        return {};
    QImage rows = picture;
    if (rows.format() != QImage::Format_RGB32 && rows.format() != QImage::Format_RGB888)
        rows = rows.convertToFormat(QImage::Format_RGB32);
    return ParallelPng::Encode(RowsOf(rows));
}

QImage DecodeBanded(const uint8_t* data, size_t size) {
    QImage image;
    const auto allocate = [&image](uint32_t width, uint32_t height) {
        image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
        return image.isNull() ? ParallelPng::Target{} : ParallelPng::Target{image.bits(), image.bytesPerLine()};
    };
    if (ParallelPng::Decode(data, size, ParallelPng::Limits{}, allocate) != ParallelPng::Status::Decoded)
        return {};
    return image;
}

QImage ReadBanded(QFile& file) {
    QImage image;
    const qint64 size = file.size();
    if (size <= MaxBandedFileBytes() && LooksBanded(file.peek(HeadBytes))) {
        // Read, not mapped: a file cut short by someone else while mapped would end the program.
        QByteArray bytes(size, Qt::Uninitialized);
        if (ParallelPng::ReadFile(file.handle(), reinterpret_cast<uint8_t*>(bytes.data()), static_cast<size_t>(size)))
            image = DecodeBanded(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(size));
        if (image.isNull())
            file.seek(0);
    }
    return image;
}

QImage Read(const QString& path) {
    if (RegularFile::IsRegular(path)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QImage image = ReadBanded(file);
            if (!image.isNull())
                return image;
        }
    }
    return PictureReader::Read(path);
}

}  // namespace PngFile
