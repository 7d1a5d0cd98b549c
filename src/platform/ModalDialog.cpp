#include "platform/ModalDialog.h"

#include <QDialog>
#include <QWidget>

namespace ModalDialog {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}
}  // namespace

void Show(QDialog& dialog, QWidget* owner) {
    QWidget* window = owner ? owner->window() : nullptr;
    if (window && dialog.parentWidget() != window)
        dialog.setParent(window, dialog.windowFlags() | Qt::Dialog);
    dialog.setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    if (handler()) {
        // The dialog is shown as a person would see it, so that the handler meets its real layout and focus.
        dialog.show();
        handler()(dialog);
        dialog.hide();
        return;
    }
    dialog.exec();
}

void SetHandler(Handler h) { handler() = std::move(h); }

}  // namespace ModalDialog
