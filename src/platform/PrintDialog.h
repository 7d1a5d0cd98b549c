#pragma once

#include <QPageLayout>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

// The common dialog's printer box, with a seam that tests answer.
namespace PrintDialog {

// The common dialog's printer flags that matter here (others are accepted and ignored).
enum Flags : int {
    NoSelection = 0x4,
    NoPageNums = 0x8,
    ReturnDC = 0x100,
};

// The common dialog's error for a cancelled box, raised when the request asks for it.
constexpr int32_t CancelError = 32755;

struct Request {
    // The current printer, pre-filled.
    QString deviceName;
    QString driverName;
    QString port;
    int orientation = 1;     // 1 portrait, 2 landscape
    QString outputFileName;  // offered when the PDF-file target is chosen
    int flags = 0;
    bool cancelError = false;
    QWidget* parent = nullptr;  // modal to this widget; none: the owner set by SetOwner
};

struct Result {
    bool accepted = false;
    // One of the printer object's device names; the PDF-file target writes to outputFileName.
    QString deviceName;
    QString outputFileName;
    int copies = 1;
    // Paper and orientation as chosen; an invalid layout keeps the printer's own.
    QPageLayout pageLayout;
};

using Handler = std::function<Result(const Request&)>;

// Shows the box (or asks the handler); a cancelled box raises CancelError when the request asks for it.
Result Show(const Request& request);

// Replaces the real box (tests); an empty handler puts the QPrintDialog back.
void SetHandler(Handler handler);
// The widget the box is modal to.
void SetOwner(QWidget* owner);

}  // namespace PrintDialog
