#include "support/PdfText.h"

#include <QProcess>
#include <QTemporaryDir>

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

}  // namespace PdfText
