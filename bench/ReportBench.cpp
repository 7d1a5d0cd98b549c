// The colour report of 8 proofers and 6 strips of 10 colours, each strip with two pages of notes,
// printed to a PDF file (target: 500 ms); beside it Qt's own printer writing one blank PDF page, and the
// same report text drawn straight onto a QPdfWriter, as the cost of the PDF engine alone.
#include "app/PrinterHelpers.h"
#include "model/Color.h"
#include "model/ColorConverter.h"
#include "model/Globals.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/Printer.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QString notesOfTwoPages() {
    QString notes;
    for (int n = 0; n < 1100; ++n) notes += QStringLiteral("note%1 ").arg(n);
    return notes;
}

ReportHost reportHost() {
    const auto color = [](int r, int g, int b) {
        auto c = std::make_shared<Color>();
        c->SetColor(r, g, b);
        return ReportColor{c, {}};
    };
    ReportHost host;
    for (int i = 0; i < 8; ++i) host.proofers.push_back(color(i * 30, 90, 200));
    const QString notes = notesOfTwoPages();
    for (int s = 0; s < 6; ++s) {
        ReportScheme scheme{s, notes, {}};
        for (int j = 0; j < 10; ++j) scheme.colors.push_back(color(j * 25, s * 40, 120));
        host.schemes.push_back(scheme);
    }
    return host;
}

void BM_ColorReportToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    Globals::Converter = std::make_shared<ColorConverter>();
    PrintDialog::SetHandler([&](const PrintDialog::Request&) {
        PrintDialog::Result result;
        result.accepted = true;
        result.deviceName = Printer::PdfDeviceName;
        result.outputFileName = pdf;
        return result;
    });
    int failures = 0;
    MessageBox::SetHandler([&](const MessageBox::Request&) {
        ++failures;
        return static_cast<int>(MessageBox::OK);
    });
    {
        const ReportHost host = reportHost();
        for (auto _ : state) PrinterHelpers::PrintColorReport(host);
    }
    Globals::Converter.reset();
    PrintDialog::SetHandler({});
    MessageBox::SetHandler({});
    if (failures)
        state.SkipWithError("the report failed");
    state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_ColorReportToPdf)->Unit(benchmark::kMillisecond);

void BM_QPrinterBlankPage(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("blank.pdf")));
        QPainter painter(&printer);
        painter.end();
    }
}
BENCHMARK(BM_QPrinterBlankPage)->Unit(benchmark::kMillisecond);

// The report's words placed line by line with no measuring, wrapping or paging logic of ours.
void BM_QPdfWriterSameText(benchmark::State& state) {
    QTemporaryDir dir;
    const QString notes = notesOfTwoPages();
    for (auto _ : state) {
        QPdfWriter writer(dir.filePath(QStringLiteral("plain.pdf")));
        writer.setResolution(1200);
        QPainter painter(&writer);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(10);
        painter.setFont(font);
        const QStringList words = notes.split(QLatin1Char(' '));
        int y = 300;
        for (int s = 0; s < 6; ++s)
            for (qsizetype w = 0; w < words.size(); w += 12) {
                painter.drawText(1000, y, words.mid(w, 12).join(QLatin1Char(' ')));
                y += 200;
                if (y > 13000) {
                    writer.newPage();
                    y = 300;
                }
            }
        painter.end();
    }
}
BENCHMARK(BM_QPdfWriterSameText)->Unit(benchmark::kMillisecond);

}  // namespace
