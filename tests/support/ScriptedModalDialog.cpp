#include "support/ScriptedModalDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>

ScriptedModalDialog::ScriptedModalDialog(std::deque<Step> steps) : m_steps(std::move(steps)) {
    ModalDialog::SetHandler([this](QDialog& dialog) {
        m_captions.push_back(dialog.windowTitle());
        if (m_steps.empty()) {
            CloseBox(dialog);
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(dialog);
    });
}

ScriptedModalDialog::~ScriptedModalDialog() { ModalDialog::SetHandler({}); }

void ScriptedModalDialog::Click(QDialog& dialog, const QString& buttonText) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == buttonText) {
            button->click();
            return;
        }
}

void ScriptedModalDialog::CloseBox(QDialog& dialog) { dialog.close(); }
