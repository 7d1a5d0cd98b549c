#pragma once

#include "app/ReportHost.h"
#include "platform/Printer.h"

#include <QString>

#include <cstdint>

class frmPrinting;

// The colour report: a title page with the proofers, then every visible strip holding colours with its
// notes word-wrapped, each colour with its RGB, HSB and HTML values and a printed swatch, and a page
// number at the foot of every page. Lengths are twips of the printer's printable area.
namespace PrinterHelpers {

// The whole print command: the printer box, then one document per copy; any failure shows
// "Error printing report." and discards the job, a cancelled box prints nothing. A call made while a
// report prints (from the events it lets run) is ignored.
void PrintColorReport(const ReportHost& host);
void PrintProofers(const ReportHost& host, frmPrinting& progress);
// Prints nothing, not even a page, when no strip holds a colour.
void PrintColorSchemes(const ReportHost& host, frmPrinting& progress);
// One colour: heading, three value lines at the value column, and beside them a swatch of 250 x 50 screen
// pixels at its own size (3750 x 750 twips at 96 DPI).
void PrintColorPanel(const ReportColor& swatch, float L, float V, int32_t index);
// Notes word-wrapped between the margin and the page edges; empty notes print nothing.
void PrintWrappedText(const QString& text, float margin);

// At or below seven eighths of the printable height.
bool PageIsFull(const Printer& printer = Printer::Current());
// Starts a numbered page with the print position at (margin, margin) once the page is full.
void CheckNewPage(float margin);
// "Page n" at the foot, right-aligned margin from the right edge; position and bold are kept.
void PrintPageNumber(float margin, Printer& printer = Printer::Current());

// The left margin L and the value column V of the layout.
float LeftMargin(const Printer& printer = Printer::Current());
float ValueColumn(const Printer& printer = Printer::Current());

}  // namespace PrinterHelpers
