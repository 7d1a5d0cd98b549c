#pragma once

#include <QMenu>

#include <functional>
#include <vector>

class CommandBar;
class CommandBarControl;
class CommandBars;

// A bar drawn as a menu: buttons as actions, popups as submenus, and labels, edit boxes, galleries and hosted
// widgets inside widget actions. It follows the controls' captions and states while it is open and reports the
// control a person chose to its chooser.
class CommandBarMenu : public QMenu {
    Q_OBJECT
public:
    using Chooser = std::function<void(CommandBarControl*)>;

    CommandBarMenu(CommandBars* owner, CommandBar* bar, Chooser chooser, QWidget* parent);
    ~CommandBarMenu() override;

    CommandBar* Bar() const { return m_bar; }
    void SyncStates();
    // The command bars are going away; the menu stops talking to them.
    void Detach();
    // Hides this menu and every menu it opened from, so a modal run ends.
    void CloseAll();

private:
    struct Entry {
        CommandBarControl* control;
        QAction* action;
        QAction* separator;
    };
    void Fill();
    void Choose(CommandBarControl* control);
    QWidget* EditRow(CommandBarControl* control);

    CommandBars* m_owner;
    CommandBar* m_bar;
    Chooser m_chooser;
    std::vector<Entry> m_entries;
};
