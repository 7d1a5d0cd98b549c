#pragma once

#include "support/MainWindowFixture.h"

#include <QString>
#include <Qt>

#include <cstdint>
#include <memory>
#include <vector>

class Color;
class ColorHistory;
class QWidget;

// The whole program with helpers for its strips: colours put in, panels pressed, drags started and dropped.
class StripWindow : public MainWindowFixture {
protected:
    // A plain colour without texture.
    static std::shared_ptr<Color> Rgb(int red, int green, int blue);
    static int32_t Packed(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

    ColorHistory& Strip(int index) const;
    // Shows strips 0..count-1 as the "Color Schemes" gallery does.
    void ShowStrips(int count);
    void Fill(int strip, const std::vector<std::shared_ptr<Color>>& colors);
    std::vector<int32_t> StripColors(int strip) const;
    // Presses the left button on the strip's panel: the panel becomes the strip's selection.
    void Select(int strip, int panel);
    static void Press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton);
    void Key(int key, Qt::KeyboardModifiers modifiers, bool release = false);
};
