#pragma once

#include "platform/PictureBox.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class Color;
class QWidget;

// One colour of the report: its values and, when the swatch has one, the box showing it flat.
struct ReportColor {
    std::shared_ptr<Color> color;
    // Without a box (or once it is gone) a plain swatch of the colour prints.
    QPointer<PictureBox> picture;
};

// A visible colour-scheme strip.
struct ReportScheme {
    int32_t index = 0;  // the strip's index from 0; the heading shows index + 1
    QString notes;
    std::vector<ReportColor> colors;
};

// What the colour report reads of the main window, taken when the command starts.
struct ReportHost {
    QWidget* owner = nullptr;  // owns the printer box, the progress window and the message box
    std::vector<ReportColor> proofers;
    std::vector<ReportScheme> schemes;  // visible strips only, in strip order
};
