#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Reads a PDF back with poppler's tools, independent of the code that wrote it.
namespace PdfText {

// One text per page, laid out as printed (pdftotext -layout); empty when the file cannot be read.
QStringList Pages(const QString& pdf);
// The page's lines with their surrounding blanks trimmed, empty lines dropped.
QStringList Lines(const QString& page);
// The page rendered at the given resolution (pdftoppm); null when it cannot be rendered.
QImage Render(const QString& pdf, int page, int dpi);

}  // namespace PdfText
