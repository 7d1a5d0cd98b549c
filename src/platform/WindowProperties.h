#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

// Named 32-bit values kept per window handle, standing in for window properties. They go with the window.
namespace WindowProperties {

// Stores the value; 0 removes the property instead. False when the window is not valid or the store
// refuses the value.
bool Set(int32_t hwnd, const QString& name, int32_t value);
// The value, 0 when the property does not exist.
int32_t Get(int32_t hwnd, const QString& name);
// Removes the property and returns the value it had (0 when there was none).
int32_t Remove(int32_t hwnd, const QString& name);
// Every property name of the window, sorted.
QStringList Names(int32_t hwnd);

// Test seam: a gate asked before every value is stored (removals always succeed); false refuses the
// write, as a full store would. An empty gate accepts everything.
using WriteGate = std::function<bool(int32_t hwnd, const QString& name, int32_t value)>;
void SetWriteGate(WriteGate gate);

// Drops every property of a window that is gone (called by the window registry).
void Forget(int32_t hwnd);

}  // namespace WindowProperties
