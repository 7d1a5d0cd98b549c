#pragma once

#include "platform/RibbonGroupBuilder.h"
#include "platform/RibbonGroupSizing.h"

#include <QPointer>
#include <QSize>
#include <QTabBar>
#include <QWidget>

#include <utility>
#include <vector>

class CommandBarButtonWidget;
class CommandBarControl;
class CommandBars;
class QLabel;
class RibbonBar;
class RibbonGroup;
class RibbonGroupPopup;

// Draws the ribbon: a tab row with the system button at its left and the quick-access bar beside it, then the
// selected tab's groups with their captions beneath. It is rebuilt when controls are added, removed, shown or
// hidden, and otherwise follows captions and states in place. Its height never changes: when the groups do not
// fit its width they take smaller sizes, and at last collapse, from the right, into buttons that drop them down.
class RibbonBarWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int TabRowHeight = 28;
    static constexpr int ContentHeight = RibbonGroupBuilder::ContentHeight;
    static constexpr int SmallHeight = RibbonGroupBuilder::SmallHeight;

    RibbonBarWidget(CommandBars* owner, RibbonBar* ribbon, QWidget* parent);
    ~RibbonBarWidget() override;

    QSize sizeHint() const override;
    // Measures the selected tab's groups anew and draws everything again.
    void Rebuild();
    void SyncStates();
    // Whether the groups wait to take their sizes for a new width or caption (while a menu runs).
    bool RefitPending() const { return m_refitPending; }
    // Gives the groups their sizes for the present width; draws them again only when a size changed.
    void Refit();
    // Refits from the event loop, once no menu runs.
    void ScheduleRefit();

    // The first widget drawn for a control with this id (the selected tab, the quick-access bar, the system
    // button, the open drop-down of a collapsed group); none when no such control is drawn.
    QWidget* WidgetFor(int id) const;
    QWidget* WidgetFor(const CommandBarControl* control) const;
    QTabBar* TabBar() const { return m_tabBar; }
    QWidget* SystemButtonWidget() const { return m_systemButton; }
    // The caption label of a group of the selected tab; none for a collapsed group.
    QLabel* CaptionOf(const RibbonGroup* group) const;

    // The size a group of the selected tab is drawn at.
    RibbonGroupSizing::Size SizeOf(const RibbonGroup* group) const;
    // The button a collapsed group is drawn as; none for a group drawn whole.
    CommandBarButtonWidget* CollapsedButtonOf(const RibbonGroup* group) const;
    // The drop-down of a collapsed group while it shows.
    RibbonGroupPopup* OpenGroupPopup() const;
    void CloseGroupPopup();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Build();
    void Measure();
    void MeasureSmaller();
    std::vector<RibbonGroupSizing::Size> ChooseSizes();
    void PlaceContent();
    QWidget* BuildTabRow(QWidget* parent);
    void DropDown(RibbonGroup* group, QWidget* button);

    CommandBars* m_owner;
    RibbonBar* m_ribbon;
    RibbonGroupBuilder m_builder;
    QPointer<QWidget> m_content;
    QPointer<QTabBar> m_tabBar;
    QPointer<QWidget> m_systemButton;
    QPointer<RibbonGroupPopup> m_popup;
    // The selected tab's shown groups as last measured, with their widths and the sizes they are drawn at.
    std::vector<RibbonGroup*> m_groups;
    std::vector<RibbonGroupSizing::Widths> m_widths;
    std::vector<RibbonGroupSizing::Size> m_sizes;
    int m_groupOverhead = 0;
    bool m_smallerMeasured = false;
    bool m_refitPending = false;
    bool m_refitScheduled = false;
};
