#include "platform/PictureReader.h"

#include "platform/RegularFile.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>
#include <QImageReader>

namespace PictureReader {

namespace {

QString Source() { return QStringLiteral("tindral.ImagingControl"); }

[[noreturn]] void NotFound(const QString& path) {
    Err::Raise(ErrorFileNotFound, Source(), QStringLiteral("Cannot find the picture file ") + path);
}

}  // namespace

QImage Read(const QString& path, const ScaledSize& scaledSize) {
    // Stat only: a FIFO, a device or a folder is refused before anything opens it.
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        NotFound(path);
    }
    // A FIFO or a device would block the reader for ever; it is no picture.
    if (!RegularFile::IsRegular(path)) {
        Err::Raise(ErrorUnsupportedType, Source(), QStringLiteral("Unsupported picture type"));
    }
    QImageReader reader(path);
    reader.setAllocationLimit(AllocationLimitMB);
    if (!reader.canRead()) {
        if (reader.error() == QImageReader::FileNotFoundError || reader.error() == QImageReader::DeviceError) {
            NotFound(path);
        }
        Err::Raise(ErrorUnsupportedType, Source(), QStringLiteral("Unsupported picture type"));
    }
    const QSize declared = reader.size();
    if (declared.isValid() && static_cast<qint64>(declared.width()) * declared.height() > MaxPixels) {
        Err::Raise(ErrorUnreadable, Source(), QStringLiteral("The picture is too large"));
    }
    if (scaledSize && declared.isValid()) {
        const QSize target = scaledSize(declared);
        if (target.isValid() && target != declared) {
            reader.setScaledSize(target);
        }
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        if (reader.error() == QImageReader::UnsupportedFormatError) {
            Err::Raise(ErrorUnsupportedType, Source(), QStringLiteral("Unsupported picture type"));
        }
        Err::Raise(ErrorUnreadable, Source(), reader.errorString());
    }
    if (static_cast<qint64>(image.width()) * image.height() > MaxPixels) {
        Err::Raise(ErrorUnreadable, Source(), QStringLiteral("The picture is too large"));
    }
    return image;
}

}  // namespace PictureReader
