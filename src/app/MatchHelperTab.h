#pragma once

#include <array>

class PictureBox;
class QSlider;
class QWidget;
class RibbonBar;
struct ChooserHost;

// What the "Color Pie" tab works on: the background box it hosts and the controls in it. The main window
// fills one with its own members; a test fills one with controls of its own.
struct MatchHelperHost {
    QWidget* picBackColor;
    PictureBox& picBColor;
    const std::array<QSlider*, 3>& sldBackColor;
};

namespace MatchHelper {

// The "Color Pie" tab at index 2: the "Background" group hosting the background box (sliders at 255, the
// swatch white), then the "&Color Schemes" group with the ids of the "Selection" tab's.
void BuildColorPieTab(RibbonBar& ribbon, const MatchHelperHost& host, const ChooserHost& chooser);

}  // namespace MatchHelper
