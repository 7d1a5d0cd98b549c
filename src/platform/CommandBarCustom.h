#pragma once

#include "platform/CommandBarControl.h"

#include <QPointer>
#include <QWidget>

// A control that shows a widget of its owner (a box of sliders, a swatch) inside the ribbon or a menu.
// The widget stays the owner's: while shown it is lent to the bar, and it goes back to its parent after.
class CommandBarCustom : public CommandBarControl {
public:
    CommandBarCustom(int id, const QString& caption, CommandBar* parent, bool temporary)
        : CommandBarControl(Custom, id, caption, parent, temporary) {}

    QWidget* Handle() const { return m_widget; }
    void SetHandle(QWidget* widget);

    // Where the widget goes back to after being shown.
    QWidget* HomeParent() const { return m_home; }

private:
    QPointer<QWidget> m_widget;
    QPointer<QWidget> m_home;
};
