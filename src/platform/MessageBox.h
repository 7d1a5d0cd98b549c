#pragma once

#include <QString>

#include <functional>

class QWidget;

// The runtime's message box: button and icon styles, answer codes, and a seam that tests answer.
namespace MessageBox {

enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};

enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Request {
    QString prompt;
    int buttons = OKOnly;
    QString title;  // already filled with the application title when none was given
};

using Handler = std::function<int(const Request&)>;

// Shows the box and returns the answer; the title defaults to the application title.
int Show(const QString& prompt, int buttons = OKOnly, const QString& title = QString());

// Replaces the real box (tests); an empty handler puts the QMessageBox back.
void SetHandler(Handler handler);

// The widget the box is modal to; none gives an application-modal box.
void SetOwner(QWidget* owner);

}  // namespace MessageBox
