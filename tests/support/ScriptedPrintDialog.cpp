#include "support/ScriptedPrintDialog.h"

#include "platform/Printer.h"

ScriptedPrintDialog::ScriptedPrintDialog(std::deque<PrintDialog::Result> answers) : m_answers(std::move(answers)) {
    PrintDialog::SetHandler([this](const PrintDialog::Request& request) {
        m_requests.push_back(request);
        PrintDialog::Result result;
        if (m_answers.empty())
            return result;
        result = m_answers.front();
        m_answers.pop_front();
        return result;
    });
}

ScriptedPrintDialog::~ScriptedPrintDialog() { PrintDialog::SetHandler({}); }

PrintDialog::Result ScriptedPrintDialog::ToPdf(const QString& path, int copies) {
    PrintDialog::Result result;
    result.accepted = true;
    result.deviceName = Printer::PdfDeviceName;
    result.outputFileName = path;
    result.copies = copies;
    return result;
}
