#include "platform/PrintDialog.h"

#include "platform/App.h"
#include "platform/Printer.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace PrintDialog {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}
QPointer<QWidget>& owner() {
    static QPointer<QWidget> w;
    return w;
}

Result showReal(const Request& request) {
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinterNames().contains(request.deviceName)) {
        printer.setPrinterName(request.deviceName);
    } else {
        // Without an installed printer the box still offers the PDF file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        QString file = request.outputFileName;
        if (file.isEmpty())
            file = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                       .filePath(App::Title() + QStringLiteral(" Color Report.pdf"));
        printer.setOutputFileName(file);
    }
    printer.setPageOrientation(request.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);

    QPrintDialog dialog(&printer, request.parent ? request.parent : owner().data());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !(request.flags & NoSelection));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(request.flags & NoPageNums));
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);

    Result result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.accepted = true;
    if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty()) {
        result.deviceName = Printer::PdfDeviceName;
        result.outputFileName = printer.outputFileName();
    } else {
        result.deviceName = printer.printerName();
    }
    result.copies = std::max(1, printer.copyCount());
    result.pageLayout = printer.pageLayout();
    return result;
}
}  // namespace

Result Show(const Request& request) {
    Result result = handler() ? handler()(request) : showReal(request);
    if (!result.accepted && request.cancelError)
        Err::Raise(CancelError, App::EXEName() + QStringLiteral(".PrintDialog"),
                   QStringLiteral("Cancel was selected."));
    return result;
}

void SetHandler(Handler h) { handler() = std::move(h); }

void SetOwner(QWidget* w) { owner() = w; }

}  // namespace PrintDialog
