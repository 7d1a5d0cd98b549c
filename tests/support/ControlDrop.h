#pragma once

#include <QPoint>
#include <Qt>

class QMimeData;
class QWidget;

// Drops as the window system delivers them: the drag enters the innermost control under the point that takes
// drops and passes up to its parents until one accepts; only then does the drop follow, to the same place.
namespace ControlDrop {

// What a drag of the control inside this program carries.
QMimeData* DataOf(const QWidget* source);

// Drops the data over the widget (at its centre, or at a point of its own); True when a control took it.
bool DropData(QMimeData& data, QWidget* over, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              QPoint at = QPoint(-1, -1));

// Drops the control over the widget.
bool Drop(const QWidget* source, QWidget* over, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
          QPoint at = QPoint(-1, -1));

}  // namespace ControlDrop
