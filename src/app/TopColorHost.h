#pragma once

#include <array>
#include <cstdint>

class PictureBox;
class QLabel;
class QSlider;

// What the top-colour label works on: the colour range in force and the controls of the "Color &Range" box.
// The main window fills one with references to its own members; a test fills one with controls of its own.
struct TopColorHost {
    int32_t& m_RangeType;
    PictureBox& picColor;
    QLabel& lblAllColors;
    const std::array<QSlider*, 3>& sldTopColor;
};
