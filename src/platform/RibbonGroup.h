#pragma once

#include "platform/CommandBarControls.h"

#include <QString>

class RibbonBar;
class RibbonTab;

// A group of a ribbon tab: controls side by side with the caption beneath. Its controls belong to the ribbon
// bar (their parent is the ribbon).
class RibbonGroup {
public:
    RibbonGroup(RibbonTab* tab, RibbonBar* ribbon, int id, const QString& caption);

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    CommandBarControls& Controls() { return m_controls; }
    const CommandBarControls& Controls() const { return m_controls; }
    RibbonTab* Tab() const { return m_tab; }

private:
    void Changed(bool structure) const;

    RibbonTab* m_tab;
    RibbonBar* m_ribbon;
    int m_id;
    QString m_caption;
    bool m_visible = true;
    CommandBarControls m_controls;
};
