#pragma once

#include <QtGlobal>

#include <cstdint>

class QWidget;

// Stable 32-bit handles for widgets, standing in for window handles. A handle is given on the first
// request, stays valid while its widget lives (including while the widget's destruction is announced)
// and is never given out again.
namespace WindowRegistry {

// The widget's handle, made on first request; 0 for no widget.
int32_t Handle(QWidget* widget);
// The widget of a valid handle; nullptr once the widget is being destroyed or gone.
QWidget* Widget(int32_t hwnd);
bool IsWindow(int32_t hwnd);
// The id of the process that owns the window; 0 for no window.
qint64 ProcessId(int32_t hwnd);

}  // namespace WindowRegistry
