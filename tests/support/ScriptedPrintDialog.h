#pragma once

#include "platform/PrintDialog.h"

#include <deque>
#include <vector>

// Answers printer boxes from a script and records what was asked, for as long as it lives.
// An empty script answers Cancel.
class ScriptedPrintDialog {
public:
    explicit ScriptedPrintDialog(std::deque<PrintDialog::Result> answers = {});
    ~ScriptedPrintDialog();

    // An accepted box choosing the PDF-file target.
    static PrintDialog::Result ToPdf(const QString& path, int copies = 1);

    void Answer(const PrintDialog::Result& result) { m_answers.push_back(result); }
    const std::vector<PrintDialog::Request>& Requests() const { return m_requests; }

private:
    std::deque<PrintDialog::Result> m_answers;
    std::vector<PrintDialog::Request> m_requests;
};
