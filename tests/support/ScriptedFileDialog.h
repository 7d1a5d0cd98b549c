#pragma once

#include "platform/FileDialog.h"

#include <deque>
#include <vector>

// Answers file dialogs from a script (a path, or an empty text for Cancel) and records what was asked,
// for as long as it lives. An empty script answers Cancel.
class ScriptedFileDialog {
public:
    explicit ScriptedFileDialog(std::deque<QString> answers = {});
    ~ScriptedFileDialog();

    void Answer(const QString& path) { m_answers.push_back(path); }
    const std::vector<FileDialog::Request>& Requests() const { return m_requests; }

private:
    std::deque<QString> m_answers;
    std::vector<FileDialog::Request> m_requests;
};
