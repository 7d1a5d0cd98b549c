#pragma once

#include <QImage>
#include <QString>

// Writers of the two BMP layouts the program folder needs.
namespace BmpFile {

// 24 bits per pixel, bottom-up rows padded to 4 bytes, no compression (what the texture loader expects).
bool Save24(const QImage& image, const QString& path);

// 32 bits per pixel with an alpha mask (BITMAPV4HEADER, BI_BITFIELDS), so icon strips keep a transparent background.
bool Save32(const QImage& image, const QString& path);

}  // namespace BmpFile
