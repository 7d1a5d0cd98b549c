#pragma once

#include <QString>

class Printer;

// Prints a free text on a printer word by word from the current print position, wrapping at the right
// margin, starting a numbered page below the bottom margin, and honouring blanks, line feeds and tabs.
// Lengths are twips.
class CWordWrap {
public:
    // Prints on the given printer; by default the program-wide one.
    explicit CWordWrap(Printer* printer = nullptr);

    // Kept and returned; nothing prints it.
    const QString& HeaderText() const { return m_headerText; }
    void SetHeaderText(const QString& sText) { m_headerText = sText; }
    // X at which every new line starts.
    float MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(float nMargin) { m_marginLeft = nMargin; }
    // Y at which every new page starts.
    float MarginTop() const { return m_marginTop; }
    void SetMarginTop(float nMargin) { m_marginTop = nMargin; }
    // Distance from the right of the printable width that a word may not cross.
    float MarginRight() const { return m_marginRight; }
    void SetMarginRight(float nMargin) { m_marginRight = nMargin; }
    // Distance from the bottom of the printable height below which a new line starts a new page.
    float MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(float nMargin) { m_marginBottom = nMargin; }

    // Leaves the last line open. Texts of any length print whole.
    void PrintText(const QString& sText);

private:
    void EndLine();
    void StartPage();
    void NextTabStop();

    Printer& m_printer;
    QString m_headerText = QStringLiteral("CWordWrap Class");
    float m_marginLeft = 720;
    float m_marginTop = 1440;
    float m_marginRight = 720;
    float m_marginBottom = 1440;
};
