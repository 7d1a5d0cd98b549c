#pragma once

#include "platform/RibbonGroupBuilder.h"

#include <QFrame>
#include <QPointer>

class CommandBarControl;
class CommandBars;
class RibbonGroup;

// The drop-down of a collapsed ribbon group: the group drawn at its full size in a popup window under the
// group's button. Its controls are made and bound as in the ribbon, so they show the same states and run the same
// commands; a custom control's widget is lent to it while it shows. Once hidden it gives the widget back and goes.
class RibbonGroupPopup : public QFrame {
    Q_OBJECT
public:
    RibbonGroupPopup(CommandBars* owner, RibbonGroup* group, QWidget* anchor, QWidget* parent);
    ~RibbonGroupPopup() override;

    RibbonGroup* Group() const { return m_group; }
    QWidget* Anchor() const { return m_anchor; }
    // Shows the popup under its anchor, kept on the anchor's screen.
    void Open();
    void SyncStates() { m_builder.SyncStates(); }
    QWidget* WidgetFor(int id) const { return m_builder.WidgetFor(id); }
    QWidget* WidgetFor(const CommandBarControl* control) const { return m_builder.WidgetFor(control); }

signals:
    void Closed();

protected:
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    RibbonGroupBuilder m_builder;
    RibbonGroup* m_group;
    QPointer<QWidget> m_anchor;
};
