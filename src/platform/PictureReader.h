#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

// Reads picture files with the guards every caller needs: only regular files are opened (a FIFO or a
// device would block or never end), and the declared size is checked before any pixel is decoded, so a
// file that claims an enormous picture is refused without allocating it.
namespace PictureReader {

// Error numbers raised (source "tindral.ImagingControl", the control that owns the load path).
inline constexpr int32_t ErrorUnsupportedType = 32500;  // not a picture type that can be read
inline constexpr int32_t ErrorUnreadable = 32501;       // a known type whose data cannot be read, or too large
inline constexpr int32_t ErrorFileNotFound = 32504;     // missing, or not a regular file

// A 100-megapixel camera picture opens; anything declaring more is refused.
inline constexpr qint64 MaxPixels = 100'000'000;
// Room for such a picture decoded at 16 bits per channel (8 bytes a pixel) with some to spare.
inline constexpr int AllocationLimitMB = 1024;

// Given the declared size, the size to decode at; an invalid size (or none given) decodes at full size.
using ScaledSize = std::function<QSize(const QSize& declared)>;

// Decodes the file; raises one of the errors above.
QImage Read(const QString& path, const ScaledSize& scaledSize = {});

}  // namespace PictureReader
