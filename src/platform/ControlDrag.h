#pragma once

#include <Qt>

#include <functional>

class QDropEvent;
class QPixmap;
class QWidget;

// The drag of a whole control inside this program: the source travels as its window handle, so a drop
// finds the control itself, and a drop from another program carries no control at all.
namespace ControlDrag {

// Drags the control until the mouse button is released over a target (or the drag is cancelled); the
// picture follows the cursor. Returns whether a target took the drop.
bool Start(QWidget* source, const QPixmap& picture);

// The control that a drop inside this program carries; null for other data or a control already gone.
QWidget* Source(const QDropEvent* event);

// Makes the target take drops of controls: onDrop gets the source control. Drops of other data pass on to
// the target's own handling (files on a swatch).
void AcceptDrops(QWidget* target, std::function<void(QWidget* source)> onDrop);
// The same, with the keys held at the drop: key events do not reach the program while a drag runs.
void AcceptDrops(QWidget* target, std::function<void(QWidget* source, Qt::KeyboardModifiers modifiers)> onDrop);

}  // namespace ControlDrag
