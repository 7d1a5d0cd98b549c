#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

// Reads a PDF back with poppler's tools, independent of the code that wrote it.
namespace PdfText {

// One text per page, laid out as printed (pdftotext -layout); empty when the file cannot be read.
QStringList Pages(const QString& pdf);
// The page's lines with their surrounding blanks trimmed, empty lines dropped.
QStringList Lines(const QString& page);
// The page rendered at the given resolution (pdftoppm); null when it cannot be rendered.
QImage Render(const QString& pdf, int page, int dpi);

// One picture drawn on a page (pdfimages -list): its pixels and the resolution it was drawn at.
struct Image {
    int page = 0;
    int width = 0;
    int height = 0;
    double xPpi = 0;
    double yPpi = 0;
};
// Every picture of the document in page order; empty when the file cannot be read.
std::vector<Image> Images(const QString& pdf);

// One word of a page and its box in points from the page's top left corner (pdftotext -bbox).
struct Word {
    QString text;
    QRectF box;
};
std::vector<Word> Words(const QString& pdf, int page);

}  // namespace PdfText
