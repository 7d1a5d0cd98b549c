#pragma once

#include <QString>

#include <memory>

class CommandBar;
class CommandBars;

// One control of a command bar: a button, a popup with its own bar, a label, or one of the kinds that derive
// from it (combo box, edit box, gallery, custom control).
class CommandBarControl {
public:
    enum Type : int {
        Button = 1,
        Popup = 2,
        ButtonPopup = 3,
        SplitButtonPopup = 4,
        ComboBox = 5,
        Edit = 6,
        Custom = 7,
        Label = 8,
        Gallery = 10,
    };

    CommandBarControl(Type type, int id, const QString& caption, CommandBar* parent, bool temporary);
    virtual ~CommandBarControl();
    CommandBarControl(const CommandBarControl&) = delete;
    CommandBarControl& operator=(const CommandBarControl&) = delete;

    Type GetType() const { return m_type; }
    // The popup kinds open their bar; the others execute.
    bool IsPopup() const { return m_type == Popup || m_type == ButtonPopup || m_type == SplitButtonPopup; }

    int Id() const { return m_id; }
    void SetId(int id);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // A control that begins a group has a separator before it.
    bool BeginGroup() const { return m_beginGroup; }
    void SetBeginGroup(bool beginGroup);
    // The icon shown is looked up by this id in the command bars' icon list; it is the command id unless set.
    int IconId() const { return m_iconId != 0 ? m_iconId : m_id; }
    void SetIconId(int iconId);
    const QString& Parameter() const { return m_parameter; }
    void SetParameter(const QString& parameter);
    // 0 lets the layout choose.
    int Width() const { return m_width; }
    void SetWidth(int width);
    int Height() const { return m_height; }
    void SetHeight(int height);
    bool Temporary() const { return m_temporary; }

    // The bar that holds the control.
    CommandBar* Parent() const { return m_parent; }
    // The bar the control opens: the popup kinds' own bar, or the drop-down bar given to a gallery or combo box.
    CommandBar* GetCommandBar() const { return m_bar; }
    // Gives the control a drop-down bar; the command bars that made the bar keep owning it.
    void SetCommandBar(CommandBar* bar);

    CommandBars* Owner() const;

protected:
    // Tells the command bars that what is drawn of this control is out of date.
    void Changed(bool structure = false) const;

private:
    Type m_type;
    int m_id;
    QString m_caption;
    bool m_enabled = true;
    bool m_checked = false;
    bool m_visible = true;
    bool m_beginGroup = false;
    int m_iconId = 0;
    QString m_parameter;
    int m_width = 0;
    int m_height = 0;
    bool m_temporary;
    CommandBar* m_parent;
    std::unique_ptr<CommandBar> m_ownBar;
    CommandBar* m_bar = nullptr;
};
