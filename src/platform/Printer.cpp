#include "platform/Printer.h"

#include "platform/App.h"
#include "platform/AtomicFile.h"
#include "platform/RuntimeError.h"
#include "platform/Twips.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr double TwipsPerPoint = 20.0;
// A PDF has no device resolution of its own; this one keeps placement finer than a printer dot.
constexpr int PdfResolution = 1200;

QPageLayout defaultPdfLayout() {
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    // The quarter-inch border stands for the unprintable edge a printer has, so a PDF looks like a printout.
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(18, 18, 18, 18), QPageLayout::Point);
}

// A device that measures text at the target's resolution without starting a job.
QFontMetricsF metricsAt(const QFont& font, int resolution) {
    static QImage probe;
    const int dotsPerMeter = qRound(resolution / 0.0254);
    if (probe.isNull() || probe.dotsPerMeterX() != dotsPerMeter) {
        probe = QImage(1, 1, QImage::Format_RGB32);
        probe.setDotsPerMeterX(dotsPerMeter);
        probe.setDotsPerMeterY(dotsPerMeter);
    }
    return QFontMetricsF(font, &probe);
}

QColor fromPacked(int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

}  // namespace

const QString Printer::PdfDeviceName = QStringLiteral("Print to File (PDF)");

struct Printer::Job {
    std::unique_ptr<AtomicFile> file;
    std::unique_ptr<QPdfWriter> pdf;
    QPagedPaintDevice* device = nullptr;
    QPainter painter;
};

Printer& Printer::Current() {
    static Printer printer;
    return printer;
}

QStringList Printer::DeviceNames() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << PdfDeviceName;
    return names;
}

Printer::Printer() : m_font(QStringLiteral("Arial")) {
    m_font.setPointSizeF(10);
    // Without shaping Latin text keeps its letters: no "fi" ligature stands in for the two letters, so a
    // printed PDF reads back as it was written.
    m_font.setStyleStrategy(QFont::PreferNoShaping);
    SetDeviceName(QPrinterInfo::defaultPrinterName());
}

Printer::~Printer() {
    try {
        KillDoc();
    } catch (...) {
    }
}

QString Printer::DriverName() const { return m_printer ? QStringLiteral("CUPS") : QStringLiteral("PDF"); }

QString Printer::Port() const { return m_printer ? m_deviceName : m_outputFileName; }

void Printer::SetDeviceName(const QString& name) {
    KillDoc();
    if (name.isEmpty() || name == PdfDeviceName || !QPrinterInfo::availablePrinterNames().contains(name)) {
        m_printer.reset();
        m_deviceName = PdfDeviceName;
        m_layout = defaultPdfLayout();
        return;
    }
    m_printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    m_printer->setFullPage(false);
    m_deviceName = name;
    m_layout = m_printer->pageLayout();
}

void Printer::SetPageLayout(const QPageLayout& layout) {
    if (!layout.isValid())
        return;
    if (!m_printer) {
        m_layout = layout;
        return;
    }
    // The printer keeps its margins at least as wide as its unprintable edge.
    m_printer->setPageLayout(layout);
    m_layout = m_printer->pageLayout();
}

int Printer::Orientation() const { return m_layout.orientation() == QPageLayout::Landscape ? Landscape : Portrait; }

void Printer::SetOrientation(int orientation) {
    QPageLayout layout = m_layout;
    layout.setOrientation(orientation == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    SetPageLayout(layout);
}

double Printer::ScaleWidth() const { return m_layout.paintRect(QPageLayout::Point).width() * TwipsPerPoint; }

double Printer::ScaleHeight() const { return m_layout.paintRect(QPageLayout::Point).height() * TwipsPerPoint; }

void Printer::SetFontName(const QString& name) { m_font.setFamily(name); }

void Printer::SetFontSize(double points) {
    if (points > 0)
        m_font.setPointSizeF(points);
}

void Printer::SetFontBold(bool bold) { m_font.setBold(bold); }

int Printer::Resolution() const { return m_printer ? m_printer->resolution() : PdfResolution; }

double Printer::PixelsPerTwip() const { return Resolution() / Twips::PerInch; }

double Printer::TextWidth(const QString& text) const {
    return metricsAt(m_font, Resolution()).horizontalAdvance(text) / PixelsPerTwip();
}

double Printer::TextHeight() const { return metricsAt(m_font, Resolution()).lineSpacing() / PixelsPerTwip(); }

void Printer::Fail(const QString& reason) {
    KillDoc();
    Err::Raise(PrinterError, App::EXEName() + QStringLiteral(".Printer"), QStringLiteral("Printer error: ") + reason);
}

void Printer::StartJob() {
    if (m_job)
        return;
    if (m_trackDefault && m_printer) {
        const QString systemDefault = QPrinterInfo::defaultPrinterName();
        if (!systemDefault.isEmpty() && systemDefault != m_deviceName)
            SetDeviceName(systemDefault);
    }
    m_job = std::make_unique<Job>();
    if (m_printer) {
        m_printer->setCopyCount(1);
        m_job->device = m_printer.get();
    } else {
        if (m_outputFileName.isEmpty())
            Fail(QStringLiteral("no file was chosen for the PDF"));
        const QFileInfo target(m_outputFileName);
        if (target.exists() && !target.isFile())
            Fail(m_outputFileName + QStringLiteral(" is not a regular file"));
        try {
            m_job->file = std::make_unique<AtomicFile>(m_outputFileName);
        } catch (const RuntimeError& e) {
            Fail(e.Description());
        }
        m_job->pdf = std::make_unique<QPdfWriter>(m_job->file->Device());
        m_job->pdf->setResolution(PdfResolution);
        m_job->pdf->setPageLayout(m_layout);
        m_job->pdf->setCreator(App::Title());
        m_job->device = m_job->pdf.get();
    }
    if (!m_job->painter.begin(m_job->device))
        Fail(QStringLiteral("the document could not be started"));
    m_page = 1;
}

void Printer::ResetPosition() {
    m_x = 0;
    m_y = 0;
}

void Printer::Print(const QString& text, LineEnd end) {
    StartJob();
    const double scale = PixelsPerTwip();
    if (!text.isEmpty()) {
        QPainter& painter = m_job->painter;
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        const double ascent = metricsAt(m_font, Resolution()).ascent();
        painter.drawText(QPointF(m_x * scale, m_y * scale + ascent), text);
    }
    if (end == LineEnd::Line) {
        m_x = 0;
        m_y += TextHeight();
    } else {
        m_x += TextWidth(text);
    }
}

void Printer::PaintPicture(const QImage& picture, double x, double y, double width, double height) {
    StartJob();
    const double scale = PixelsPerTwip();
    m_job->painter.drawImage(QRectF(x * scale, y * scale, width * scale, height * scale), picture);
}

void Printer::FillRect(double x, double y, double width, double height, int32_t rgb) {
    StartJob();
    const double scale = PixelsPerTwip();
    m_job->painter.fillRect(QRectF(x * scale, y * scale, width * scale, height * scale), fromPacked(rgb));
}

void Printer::NewPage() {
    StartJob();
    if (!m_job->device->newPage())
        Fail(QStringLiteral("a new page could not be started"));
    ++m_page;
    ResetPosition();
}

void Printer::EndDoc() {
    ResetPosition();
    m_page = 1;
    if (!m_job)
        return;
    std::unique_ptr<Job> job = std::move(m_job);
    job->painter.end();
    job->pdf.reset();
    if (!job->file)
        return;
    // Whatever the PDF writer made of a failed write, the file's own check decides.
    try {
        job->file->Commit();
    } catch (const RuntimeError& e) {
        Err::Raise(PrinterError, App::EXEName() + QStringLiteral(".Printer"),
                   QStringLiteral("Printer error: ") + e.Description());
    }
}

void Printer::KillDoc() {
    ResetPosition();
    m_page = 1;
    if (!m_job)
        return;
    std::unique_ptr<Job> job = std::move(m_job);
    if (m_printer)
        m_printer->abort();
    if (job->painter.isActive())
        job->painter.end();
    job->pdf.reset();
    if (job->file)
        job->file->Cancel();
}
