#pragma once

#include "platform/ParallelPng.h"

#include <QImage>
#include <QString>

class QFile;

#include <cstddef>
#include <cstdint>
#include <vector>

// The stage's PNG between QImage and the bytes of a file, on all cores (see ParallelPng).
namespace PngFile {

// The rows of an RGB32 or RGB888 picture as the encoder reads them; they point into the picture.
ParallelPng::Picture RowsOf(const QImage& picture);

// The picture as an ordinary 8-bit RGB PNG, written on all cores. Alpha is not written: the stage's
// pictures are opaque, and one with an alpha channel is first made opaque as QImage's RGB32 conversion
// does. Empty for a null picture. Throws std::bad_alloc when memory runs out.
ParallelPng::Bytes Encode(const QImage& picture);

// Decodes a PNG written by Encode on all cores, into what Qt's PNG reader gives for it (RGB32). A null
// image for any other bytes, a file that does not check out, or a picture over the document's limits.
QImage DecodeBanded(const uint8_t* data, size_t size);

// Reads an open file, from its start, written by Encode on all cores. A null image for any other file, one that does
// not check out, or one over the document's limits; the file is then back at its start for the ordinary decode.
QImage ReadBanded(QFile& file);

// Reads a picture file: a PNG written by Encode on all cores, anything else (or one that does not check
// out) through PictureReader::Read, whose errors it raises.
QImage Read(const QString& path);

}  // namespace PngFile
