#pragma once

#include <QPoint>
#include <QString>

class CommandBarControl;
class CommandBarGalleryWidget;
class CommandBars;
class QWidget;
class RibbonGroup;

// Works the ribbon as a person does: finds a control where it is drawn at the ribbon's present width, dropping
// down its group when the group is collapsed, and clicks and types in what it found.
namespace RibbonUser {

// The shown group of the selected tab that holds the control; none when no such group holds it.
RibbonGroup* GroupOf(const CommandBars& bars, const CommandBarControl* control);
// Whether the widget is visible and lies whole inside the area (the ribbon, or a dropped-down group).
bool ShowsWhole(const QWidget* widget, const QWidget* area);
// The control's widget as a person finds it: drawn whole in the ribbon, or drawn whole in the drop-down of its
// collapsed group, which a click on the group's button (itself drawn whole) opens. None when neither holds.
QWidget* Reach(CommandBars& bars, CommandBarControl* control);

// A left click: press and release at a point of the widget (its centre when none is given).
void Click(QWidget* widget, QPoint at = QPoint(-1, -1));
// A press and release of a key, sent to the widget.
void PressKey(QWidget* widget, int key);
// Types a text into an editable box and presses Return.
void TypeAndReturn(QWidget* editable, const QString& text);
// Clicks the first item the gallery shows; returns its id, or -1 when it shows none.
int ClickFirstShownItem(CommandBarGalleryWidget* gallery);
// Lets what the ribbon and its commands posted run.
void Settle();
// Saves a picture of the widget when TINDRAL_SNAPSHOT_DIR names a folder, for a person to look at.
void Snapshot(QWidget* widget, const QString& name);

}  // namespace RibbonUser
