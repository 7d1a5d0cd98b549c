#include "support/PdfText.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace PdfText {

QStringList Pages(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList Lines(const QString& page) {
    QStringList lines;
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

QImage Render(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                               QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                               QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png"));
}

std::vector<Image> Images(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    std::vector<Image> images;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        bool number = false;
        if (fields.size() < 14 || (fields[0].toInt(&number), !number) || fields[2] != QStringLiteral("image"))
            continue;
        images.push_back(
            {fields[0].toInt(), fields[3].toInt(), fields[4].toInt(), fields[12].toDouble(), fields[13].toDouble()});
    }
    return images;
}

std::vector<Word> Words(const QString& pdf, int page) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                                QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    std::vector<Word> words;
    QXmlStreamReader xml(process.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QStringLiteral("word"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QPointF topLeft(a.value(QStringLiteral("xMin")).toDouble(), a.value(QStringLiteral("yMin")).toDouble());
        const QPointF bottomRight(a.value(QStringLiteral("xMax")).toDouble(),
                                  a.value(QStringLiteral("yMax")).toDouble());
        words.push_back({xml.readElementText(), QRectF(topLeft, bottomRight)});
    }
    return words;
}

}  // namespace PdfText
