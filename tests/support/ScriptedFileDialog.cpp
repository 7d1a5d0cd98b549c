#include "support/ScriptedFileDialog.h"

ScriptedFileDialog::ScriptedFileDialog(std::deque<QString> answers) : m_answers(std::move(answers)) {
    FileDialog::SetHandler([this](const FileDialog::Request& request) {
        m_requests.push_back(request);
        FileDialog::Result result;
        if (m_answers.empty())
            return result;
        result.fileName = m_answers.front();
        m_answers.pop_front();
        result.accepted = !result.fileName.isEmpty();
        return result;
    });
}

ScriptedFileDialog::~ScriptedFileDialog() { FileDialog::SetHandler({}); }
