#pragma once

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QImage;
class QPrinter;

// The runtime's printer object: lengths in twips of the printable area, a print position that text
// advances, a font, pages and documents. The target is an installed printer or a PDF file; a PDF is
// written beside its final name and put in place only when the document ends and every write was checked,
// so a failed or killed job leaves no file behind and an older file whole. A document starts with the
// first output.
class Printer {
public:
    enum Orientation : int { Portrait = 1, Landscape = 2 };
    enum class LineEnd { Line, Open };

    // The printer error raised when a job cannot start, add a page or be completed.
    static constexpr int32_t PrinterError = 482;
    // The device name of the PDF-file target, offered whether or not any printer is installed.
    static const QString PdfDeviceName;

    // The program-wide printer object.
    static Printer& Current();
    // Installed printers, then the PDF-file target; without a print system only the PDF-file target.
    static QStringList DeviceNames();

    // Starts on the system's default printer, or on the PDF-file target when none is installed.
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    QString DeviceName() const { return m_deviceName; }
    QString DriverName() const;
    QString Port() const;
    // Makes the named device current; a document in progress is discarded first.
    void SetDeviceName(const QString& name);
    // Where the PDF-file target writes.
    QString OutputFileName() const { return m_outputFileName; }
    void SetOutputFileName(const QString& path) { m_outputFileName = path; }

    QPageLayout PageLayout() const { return m_layout; }
    // Takes effect from the next document on; an invalid layout is ignored.
    void SetPageLayout(const QPageLayout& layout);
    int Orientation() const;
    void SetOrientation(int orientation);
    // True: every document starts on the system's default printer, whatever was made current.
    bool TrackDefault() const { return m_trackDefault; }
    void SetTrackDefault(bool track) { m_trackDefault = track; }

    double ScaleWidth() const;
    double ScaleHeight() const;
    double CurrentX() const { return m_x; }
    void SetCurrentX(double x) { m_x = x; }
    double CurrentY() const { return m_y; }
    void SetCurrentY(double y) { m_y = y; }

    QString FontName() const { return m_font.family(); }
    void SetFontName(const QString& name);
    double FontSize() const { return m_font.pointSizeF(); }
    void SetFontSize(double points);
    bool FontBold() const { return m_font.bold(); }
    void SetFontBold(bool bold);
    double TextWidth(const QString& text) const;
    // The height of one printed line in the current font.
    double TextHeight() const;

    // Prints the text with its top at the print position. LineEnd::Line then moves to the start of
    // the next line (X = 0, Y one line down); LineEnd::Open leaves X after the text.
    void Print(const QString& text = QString(), LineEnd end = LineEnd::Line);
    // Paints the picture scaled into the rectangle.
    void PaintPicture(const QImage& picture, double x, double y, double width, double height);
    void FillRect(double x, double y, double width, double height, int32_t rgb);

    // 1 on the first page of a document.
    int32_t Page() const { return m_page; }
    void NewPage();
    // Completes the document; harmless when nothing was printed.
    void EndDoc();
    // Discards the document in progress.
    void KillDoc();

private:
    struct Job;

    void StartJob();
    void ResetPosition();
    double PixelsPerTwip() const;
    int Resolution() const;
    [[noreturn]] void Fail(const QString& reason);

    QString m_deviceName;
    QString m_outputFileName;
    std::unique_ptr<QPrinter> m_printer;  // set for an installed printer only
    QPageLayout m_layout;
    QFont m_font;
    bool m_trackDefault = true;
    double m_x = 0;
    double m_y = 0;
    int32_t m_page = 1;
    std::unique_ptr<Job> m_job;
};
