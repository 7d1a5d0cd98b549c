#pragma once

#include <functional>

class QDialog;
class QWidget;

// Shows the program's own forms modally, with a seam that tests answer.
namespace ModalDialog {

// Gets the live dialog in place of the modal loop; it may edit it, click its buttons or close it, then return.
using Handler = std::function<void(QDialog& dialog)>;

// Shows the dialog modal to the owner's window (application-modal without one) and returns once it is hidden
// or closed.
void Show(QDialog& dialog, QWidget* owner);

// Replaces the modal loop (tests); an empty handler puts it back.
void SetHandler(Handler handler);

}  // namespace ModalDialog
