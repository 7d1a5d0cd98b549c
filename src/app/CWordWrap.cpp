#include "app/CWordWrap.h"

#include "app/PrinterHelpers.h"
#include "platform/Numeric.h"
#include "platform/Printer.h"

namespace {
constexpr double TabOrigin = 720;
constexpr int TabStopDigits = 10;

bool isWordCharacter(QChar c) { return c.unicode() > 32; }
}  // namespace

CWordWrap::CWordWrap(Printer* printer) : m_printer(printer ? *printer : Printer::Current()) {}

void CWordWrap::PrintText(const QString& sText) {
    // The index is wide enough for any text, so notes longer than a 16-bit position print whole.
    const qsizetype length = sText.size();
    qsizetype i = 0;
    while (i < length) {
        const qsizetype start = i;
        while (i < length && isWordCharacter(sText[i])) ++i;
        const QString word = sText.mid(start, i - start);
        // The test comes before the word, so a word wider than the line still prints whole on its own line.
        if (m_printer.CurrentX() + m_printer.TextWidth(word) > m_printer.ScaleWidth() - m_marginRight)
            EndLine();
        m_printer.Print(word, Printer::LineEnd::Open);

        while (i < length && !isWordCharacter(sText[i])) {
            switch (sText[i].unicode()) {
                case 32: m_printer.Print(QStringLiteral(" "), Printer::LineEnd::Open); break;
                case 10: EndLine(); break;
                case 9: NextTabStop(); break;
                default: break;  // carriage returns and other control characters print nothing
            }
            ++i;
        }
    }
}

void CWordWrap::EndLine() {
    m_printer.Print();
    if (m_printer.CurrentY() <= m_printer.ScaleHeight() - m_marginBottom)
        m_printer.SetCurrentX(m_marginLeft);
    else
        StartPage();
}

void CWordWrap::StartPage() {
    m_printer.NewPage();
    PrinterHelpers::PrintPageNumber(m_marginLeft, m_printer);
    m_printer.SetCurrentX(m_marginLeft);
    m_printer.SetCurrentY(m_marginTop);
}

// Stops lie every ten widths of "0" counted from 720 twips, not from the left margin; a position on a
// stop moves on to the next one. The stop index rounds half to even and its remainder keeps the sign.
void CWordWrap::NextTabStop() {
    const double d = m_printer.TextWidth(QStringLiteral("0"));
    if (d <= 0)
        return;
    const int32_t n = Numeric::Round((m_printer.CurrentX() - TabOrigin) / d);
    m_printer.SetCurrentX(TabOrigin + d * (n + TabStopDigits - n % TabStopDigits));
}
