#pragma once

#include "platform/ModalDialog.h"

#include <QString>

#include <deque>
#include <vector>

class QDialog;

// Answers modal dialogs from a script for as long as it lives: each dialog shown is recorded (its caption) and
// handed to the next step, which may edit and close it. Without a step the dialog is closed by its close box.
class ScriptedModalDialog {
public:
    using Step = ModalDialog::Handler;

    explicit ScriptedModalDialog(std::deque<Step> steps = {});
    ~ScriptedModalDialog();

    void Then(Step step) { m_steps.push_back(std::move(step)); }
    const std::vector<QString>& Captions() const { return m_captions; }

    // Clicks the dialog's push button whose text is given ("&OK").
    static void Click(QDialog& dialog, const QString& buttonText);
    // Closes the dialog as its window's close box does.
    static void CloseBox(QDialog& dialog);

private:
    std::deque<Step> m_steps;
    std::vector<QString> m_captions;
};
