#pragma once

#include <QByteArray>

class QImage;

// PNG files damaged the ways a disk, a copy or a download damages them: cut short, or with their image data
// changed. The header stays valid, so only a full decode finds the fault.
namespace DamagedPng {

// A picture of smooth gradients with noise, whose compressed data fill several kilobytes.
QImage Busy(int width, int height);
QByteArray Encode(const QImage& image);
// The file up to half of its image data.
QByteArray CutInItsData(const QByteArray& png);
// The file without its end chunk.
QByteArray CutBeforeItsEnd(const QByteArray& png);
// Bytes in the middle of the first image-data chunk overwritten; with keepCrc the chunk's checksum is made to
// match again, so only the compressed stream itself is wrong.
QByteArray WithCorruptData(const QByteArray& png, bool keepCrc);

}  // namespace DamagedPng
