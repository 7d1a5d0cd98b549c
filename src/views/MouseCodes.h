#pragma once

#include <Qt>

#include <cstdint>

// The codes a view's mouse events carry: Button 1 left, 2 right, 4 middle (or-ed for the buttons held);
// Shift 1 Shift, 2 Ctrl, 4 Alt.
namespace MouseCodes {
int16_t Button(Qt::MouseButton button);
int16_t Buttons(Qt::MouseButtons buttons);
int16_t Shift(Qt::KeyboardModifiers modifiers);
}  // namespace MouseCodes
