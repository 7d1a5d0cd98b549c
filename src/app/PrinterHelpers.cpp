#include "app/PrinterHelpers.h"

#include "app/CWordWrap.h"
#include "app/frmPrinting.h"
#include "model/Color.h"
#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/Numeric.h"
#include "platform/PrintDialog.h"
#include "platform/RuntimeError.h"
#include "platform/Twips.h"
#include "services/Hourglass.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include <exception>

namespace PrinterHelpers {

namespace {

constexpr double TitleSize = 16;
constexpr double BodySize = 10;
// The printed swatch in the box's own units, screen pixels.
constexpr int SwatchWidth = 250;
constexpr int SwatchHeight = 50;
// The runtime's number for a failure that carries none of its own.
constexpr int32_t InternalError = 51;

void showProgress(frmPrinting& progress, const QString& text) {
    progress.SetCaption(text);
    progress.Refresh();
    App::DoEvents();
}

void printTitle(Printer& printer, float L) {
    for (int line = 0; line < 3; ++line) printer.Print();
    printer.SetFontBold(true);
    printer.SetCurrentX(L);
    printer.SetFontSize(TitleSize);
    printer.Print(QStringLiteral("Tindral - Color Report "));
    printer.Print();
    printer.SetCurrentX(L);
    printer.Print(QStringLiteral("Current Proofers"));
    printer.Print();
}

// The swatch's flat picture at the printed size, taken the way the box shows it; the box keeps it.
QImage swatchPicture(PictureBox* box) {
    const QSize saved = box->size();
    box->resize(SwatchWidth, SwatchHeight);
    box->SetPicture(box->Image());
    QImage picture = box->Picture();
    box->resize(saved);
    return picture;
}

// A picture prints at its own size: its pixels are the screen's, converted to twips at the screen's DPI.
QSizeF screenTwips(QSize pixels, const QWidget* on) {
    const QScreen* screen = on ? on->screen() : QGuiApplication::primaryScreen();
    const double dpiX = on ? on->logicalDpiX() : screen ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = on ? on->logicalDpiY() : screen ? screen->logicalDotsPerInchY() : 96.0;
    return {pixels.width() * Twips::PerInch / dpiX, pixels.height() * Twips::PerInch / dpiY};
}

void reportFailure(int32_t number) {
    MessageBox::Show(QStringLiteral("Error printing report."), MessageBox::Information,
                     QStringLiteral("Tindral - ") + QString::number(number));
    try {
        Printer::Current().KillDoc();
    } catch (...) {
    }
}

}  // namespace

float LeftMargin(const Printer& printer) { return static_cast<float>(printer.ScaleWidth()) / 10.0f; }

float ValueColumn(const Printer& printer) {
    const float L = LeftMargin(printer);
    return static_cast<float>(printer.ScaleWidth()) / 10.0f / 3.0f + L;
}

void PrintColorReport(const ReportHost& host) {
    // Events run while the report prints; a second report asked for meanwhile would share the printer.
    static bool printing = false;
    if (printing)
        return;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(printing);
    Hourglass hourglass;
    Printer& printer = Printer::Current();
    QPointer<frmPrinting> progress;
    try {
        PrintDialog::Request request;
        request.deviceName = printer.DeviceName();
        request.driverName = printer.DriverName();
        request.port = printer.Port();
        request.orientation = printer.Orientation();
        request.outputFileName = printer.OutputFileName();
        request.flags = PrintDialog::NoSelection | PrintDialog::NoPageNums | PrintDialog::ReturnDC;
        request.cancelError = true;
        request.parent = host.owner;
        // The chosen printer stays current for the job instead of following the system default.
        printer.SetTrackDefault(false);
        const PrintDialog::Result chosen = PrintDialog::Show(request);

        const QString chosenName = chosen.deviceName.toUpper();
        if (chosenName != printer.DeviceName()) {
            for (const QString& name : Printer::DeviceNames())
                if (name.toUpper() == chosenName)
                    printer.SetDeviceName(name);
        }
        if (printer.DeviceName() == Printer::PdfDeviceName && !chosen.outputFileName.isEmpty())
            printer.SetOutputFileName(chosen.outputFileName);

        App::DoEvents();
        progress = new frmPrinting(host.owner);
        progress->show();
        App::DoEvents();

        for (int copy = 0; copy < chosen.copies; ++copy) {
            printer.SetPageLayout(chosen.pageLayout);
            printTitle(printer, LeftMargin(printer));
            PrintProofers(host, *progress);
            PrintColorSchemes(host, *progress);
            printer.EndDoc();
        }
    } catch (const RuntimeError& e) {
        if (e.Number() != PrintDialog::CancelError)
            reportFailure(e.Number());
    } catch (const std::exception&) {
        reportFailure(InternalError);
    }
    try {
        printer.EndDoc();
    } catch (...) {
    }
    if (progress) {
        progress->close();
        delete progress;
        App::DoEvents();
    }
}

void PrintProofers(const ReportHost& host, frmPrinting& progress) {
    Printer& printer = Printer::Current();
    const float L = LeftMargin(printer);
    const float V = ValueColumn(printer);
    printer.SetFontSize(BodySize);
    PrintPageNumber(L);
    for (size_t i = 0; i < host.proofers.size(); ++i) {
        CheckNewPage(L);
        showProgress(progress, QStringLiteral("Printing proofer %1").arg(i + 1));
        PrintColorPanel(host.proofers[i], L, V, static_cast<int32_t>(i));
    }
}

void PrintColorSchemes(const ReportHost& host, frmPrinting& progress) {
    const auto holdsColors = [](const ReportScheme& scheme) { return !scheme.colors.empty(); };
    if (std::none_of(host.schemes.begin(), host.schemes.end(), holdsColors))
        return;
    Printer& printer = Printer::Current();
    const float L = LeftMargin(printer);
    const float V = ValueColumn(printer);
    printer.SetFontSize(BodySize);
    printer.NewPage();
    for (int line = 0; line < 3; ++line) printer.Print();
    PrintPageNumber(L);
    for (const ReportScheme& scheme : host.schemes) {
        if (!holdsColors(scheme))
            continue;
        CheckNewPage(L);
        printer.SetFontBold(true);
        printer.SetCurrentX(L);
        printer.SetFontSize(TitleSize);
        printer.Print(QStringLiteral("Color Scheme %1").arg(scheme.index + 1));
        printer.Print();
        printer.SetFontSize(BodySize);
        printer.SetFontBold(false);
        showProgress(progress, QStringLiteral("Selection %1").arg(scheme.index + 1));
        printer.SetCurrentX(L);
        PrintWrappedText(scheme.notes, L);
        for (size_t j = 0; j < scheme.colors.size(); ++j) {
            CheckNewPage(L);
            showProgress(progress, QStringLiteral("Printing proofer %1").arg(j + 1));
            PrintColorPanel(scheme.colors[j], L, V, static_cast<int32_t>(j));
        }
    }
}

void PrintColorPanel(const ReportColor& swatch, float L, float V, int32_t index) {
    if (!swatch.color)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    Printer& printer = Printer::Current();
    printer.SetCurrentX(L);
    printer.SetFontBold(true);
    printer.Print(QStringLiteral("Color Panel %1").arg(index + 1));
    printer.Print();
    const double y = printer.CurrentY();
    printer.SetFontBold(false);
    const struct {
        const char* label;
        const char* format;
    } values[] = {{"RGB: ", "rgb"}, {"HSB: ", "hsb"}, {"HTML: ", "html"}};
    for (const auto& value : values) {
        printer.SetCurrentX(V);
        printer.Print(QLatin1String(value.label) + swatch.color->ToString(QLatin1String(value.format)));
    }
    printer.Print();
    printer.Print();

    // Half the page width, a whole number of twips, lies right of the value column.
    const double x = Numeric::Round(printer.ScaleWidth()) / 2.0;
    if (swatch.picture) {
        const QImage picture = swatchPicture(swatch.picture);
        const QSizeF size = screenTwips(picture.size(), swatch.picture);
        printer.PaintPicture(picture, x, y, size.width(), size.height());
    } else {
        const QSizeF size = screenTwips(QSize(SwatchWidth, SwatchHeight), nullptr);
        printer.FillRect(x, y, size.width(), size.height(), swatch.color->RGBColor());
    }
}

void PrintWrappedText(const QString& text, float margin) {
    if (text.isEmpty())
        return;
    Printer& printer = Printer::Current();
    CWordWrap wrap(&printer);
    wrap.SetMarginLeft(margin);
    wrap.SetMarginRight(margin);
    wrap.SetMarginTop(margin);
    wrap.SetMarginBottom(margin);
    wrap.PrintText(text);
    printer.Print();
    printer.Print();
}

bool PageIsFull(const Printer& printer) {
    const double height = printer.ScaleHeight();
    return printer.CurrentY() >= height - height / 8;
}

void CheckNewPage(float margin) {
    Printer& printer = Printer::Current();
    if (!PageIsFull(printer))
        return;
    printer.NewPage();
    PrintPageNumber(margin, printer);
    printer.SetCurrentX(margin);
    printer.SetCurrentY(margin);
}

void PrintPageNumber(float margin, Printer& printer) {
    const double x = printer.CurrentX();
    const double y = printer.CurrentY();
    const bool bold = printer.FontBold();
    printer.SetFontBold(false);
    const QString text = QStringLiteral("Page %1").arg(printer.Page());
    printer.SetCurrentX(printer.ScaleWidth() - (printer.TextWidth(text) + margin));
    printer.SetCurrentY(printer.ScaleHeight() - margin / 2);
    printer.Print(text);
    printer.SetCurrentX(x);
    printer.SetCurrentY(y);
    printer.SetFontBold(bold);
}

}  // namespace PrinterHelpers
