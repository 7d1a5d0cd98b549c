#pragma once

#include "app/TopColorHost.h"
#include "platform/PictureBox.h"
#include "services/CommandIds.h"

#include <QLabel>
#include <QSlider>
#include <QWidget>

#include <array>
#include <cstdint>

// The "Color &Range" box of the main window, standing alone: swatch, label, three sliders and the range.
struct TopColorControls {
    TopColorControls() {
        for (QSlider*& slider : sliders) slider = new QSlider(Qt::Horizontal, &picLimits);
    }

    TopColorHost Host() { return TopColorHost{rangeType, *picColor, *label, sliders}; }

    QWidget picLimits;
    PictureBox* picColor = new PictureBox(&picLimits);
    QLabel* label = new QLabel(&picLimits);
    std::array<QSlider*, 3> sliders{};
    int32_t rangeType = CommandIds::RangeAllRGB;
};
