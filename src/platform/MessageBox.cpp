#include "platform/MessageBox.h"

#include "platform/App.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace MessageBox {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}
QPointer<QWidget>& owner() {
    static QPointer<QWidget> w;
    return w;
}

int showReal(const Request& request) {
    QMessageBox box(owner());
    box.setWindowTitle(request.title);
    box.setText(request.prompt);
    switch (request.buttons & 0xF0) {
        case Critical: box.setIcon(QMessageBox::Critical); break;
        case Question: box.setIcon(QMessageBox::Question); break;
        case Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Information: box.setIcon(QMessageBox::Information); break;
        default: break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    switch (request.buttons & 0x0F) {
        case OKCancel: choices = {{QMessageBox::Ok, OK}, {QMessageBox::Cancel, Cancel}}; break;
        case AbortRetryIgnore:
            choices = {{QMessageBox::Abort, Abort}, {QMessageBox::Retry, Retry}, {QMessageBox::Ignore, Ignore}};
            break;
        case YesNoCancel:
            choices = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}, {QMessageBox::Cancel, Cancel}};
            break;
        case YesNo: choices = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}}; break;
        case RetryCancel: choices = {{QMessageBox::Retry, Retry}, {QMessageBox::Cancel, Cancel}}; break;
        default: choices = {{QMessageBox::Ok, OK}}; break;
    }
    for (const auto& c : choices) box.addButton(c.button);
    const size_t defaultIndex = (request.buttons & DefaultButton3) ? 2 : (request.buttons & DefaultButton2) ? 1 : 0;
    if (defaultIndex < choices.size())
        box.setDefaultButton(choices[defaultIndex].button);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& c : choices)
        if (c.button == clicked)
            return c.answer;
    // Closing the box answers Cancel where there is one, else the only button.
    for (const auto& c : choices)
        if (c.answer == Cancel)
            return Cancel;
    return choices.front().answer;
}
}  // namespace

int Show(const QString& prompt, int buttons, const QString& title) {
    Request request{prompt, buttons, title.isEmpty() ? App::Title() : title};
    if (handler())
        return handler()(request);
    return showReal(request);
}

void SetHandler(Handler h) { handler() = std::move(h); }

void SetOwner(QWidget* w) { owner() = w; }

}  // namespace MessageBox
