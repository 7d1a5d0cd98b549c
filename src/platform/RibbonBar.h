#pragma once

#include "platform/CommandBar.h"
#include "platform/RibbonTab.h"

#include <memory>
#include <vector>

// The ribbon: the system button with its menu, the quick-access bar and the tabs with their groups.
// Tab indexes count from 0.
class RibbonBar : public CommandBar {
public:
    RibbonBar(CommandBars* owner, const QString& name);
    ~RibbonBar() override;

    // Inserts a tab at an index (past the end appends). The first tab made is selected.
    RibbonTab* InsertTab(int index, const QString& caption);
    int TabCount() const { return static_cast<int>(m_tabs.size()); }
    RibbonTab* Tab(int index) const;
    RibbonTab* FindTab(int id) const;
    // None only while the ribbon has no tab.
    RibbonTab* SelectedTab() const { return m_selected; }
    // Selects a tab from the program; only a person's choice reports the tab command. Either asks Update for the
    // controls the new tab brings into view.
    void SetSelectedTab(RibbonTab* tab);

    // The application button at the ribbon's left: a popup whose bar is the system menu. Made once.
    CommandBarControl* AddSystemButton();
    CommandBarControl* SystemButton() const { return m_systemButton.get(); }

    CommandBarControls& QuickAccessControls() { return m_quickAccess; }
    const CommandBarControls& QuickAccessControls() const { return m_quickAccess; }

    // Searches the system menu, then the tabs with their groups in order, then the quick-access bar.
    CommandBarControl* FindControl(int id) const override;

private:
    std::vector<std::unique_ptr<RibbonTab>> m_tabs;
    RibbonTab* m_selected = nullptr;
    std::unique_ptr<CommandBarControl> m_systemButton;
    CommandBarControls m_quickAccess;
};
