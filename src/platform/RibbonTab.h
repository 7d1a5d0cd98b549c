#pragma once

#include "platform/RibbonGroup.h"

#include <QString>

#include <memory>
#include <vector>

class RibbonBar;

// A tab of the ribbon: an id, a caption and its groups in order. Group indexes count from 0.
class RibbonTab {
public:
    RibbonTab(RibbonBar* ribbon, const QString& caption);
    RibbonTab(const RibbonTab&) = delete;
    RibbonTab& operator=(const RibbonTab&) = delete;

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    RibbonGroup* AddGroup(const QString& caption, int id);
    int GroupCount() const { return static_cast<int>(m_groups.size()); }
    RibbonGroup* Group(int index) const;
    RibbonGroup* FindGroup(int id) const;

    // The tab's position on the ribbon.
    int Index() const;
    bool Selected() const;
    // Selects the tab; a program's selection reports no command.
    void Select();

    RibbonBar* Ribbon() const { return m_ribbon; }

private:
    RibbonBar* m_ribbon;
    int m_id = 0;
    QString m_caption;
    std::vector<std::unique_ptr<RibbonGroup>> m_groups;
};
