#pragma once

#include "platform/CommandBarControls.h"

#include <QPoint>
#include <QString>

class CommandBars;
class CommandBarControl;

// A bar of controls: a popup menu, the drop-down of a gallery or combo box, or (as RibbonBar) the ribbon.
class CommandBar {
public:
    enum Position : int { Top = 0, Popup = 5, ComboPopup = 6 };

    CommandBar(CommandBars* owner, const QString& name, Position position, CommandBarControl* parentControl = nullptr);
    virtual ~CommandBar();
    CommandBar(const CommandBar&) = delete;
    CommandBar& operator=(const CommandBar&) = delete;

    const QString& Name() const { return m_name; }
    Position GetPosition() const { return m_position; }
    CommandBarControls& Controls() { return m_controls; }
    const CommandBarControls& Controls() const { return m_controls; }

    // The first control with this id anywhere on the bar, depth first; none when there is none.
    virtual CommandBarControl* FindControl(int id) const;

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    // Shows the bar as a popup menu at the pointer (or the given screen point) and returns once it closed;
    // the chosen control is executed after the menu is gone.
    void ShowPopup();
    void ShowPopup(const QPoint& globalPos);
    // Draws the bar again where it is shown (an open menu takes the controls' new captions and states).
    void RedrawBar();

    CommandBars* Owner() const { return m_owner; }
    // The popup control whose bar this is; none for bars of their own.
    CommandBarControl* ParentControl() const { return m_parentControl; }

private:
    CommandBars* m_owner;
    QString m_name;
    Position m_position;
    CommandBarControl* m_parentControl;
    CommandBarControls m_controls;
    bool m_visible = true;
};
