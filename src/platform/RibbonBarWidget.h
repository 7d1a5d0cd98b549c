#pragma once

#include <QPointer>
#include <QSize>
#include <QTabBar>
#include <QWidget>

#include <vector>

class CommandBarControl;
class CommandBars;
class QLabel;
class RibbonBar;
class RibbonGroup;

// Draws the ribbon: a tab row with the system button at its left and the quick-access bar beside it, then the
// selected tab's groups with their captions beneath. It is rebuilt when controls are added, removed, shown or
// hidden, and otherwise follows captions and states in place.
class RibbonBarWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int TabRowHeight = 28;
    static constexpr int ContentHeight = 68;
    static constexpr int SmallHeight = 22;

    RibbonBarWidget(CommandBars* owner, RibbonBar* ribbon, QWidget* parent);
    ~RibbonBarWidget() override;

    QSize sizeHint() const override;
    void Rebuild();
    void SyncStates();

    // The first widget drawn for a control with this id (the selected tab, the quick-access bar, the system
    // button); none when no such control is drawn.
    QWidget* WidgetFor(int id) const;
    QWidget* WidgetFor(const CommandBarControl* control) const;
    QTabBar* TabBar() const { return m_tabBar; }
    QWidget* SystemButtonWidget() const { return m_systemButton; }
    // The caption label of a group of the selected tab.
    QLabel* CaptionOf(const RibbonGroup* group) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Binding {
        CommandBarControl* control;
        QPointer<QWidget> widget;
    };
    struct Lent {
        QPointer<QWidget> widget;
        QPointer<QWidget> home;
        QSize minimum;
        QSize maximum;
    };

    void ReleaseHosted();
    void PlaceContent();
    QWidget* BuildTabRow(QWidget* parent);
    QWidget* BuildGroup(RibbonGroup* group, QWidget* parent);
    // Makes the widget of one control; ownColumn says it fills a column of the group by itself.
    QWidget* MakeControl(CommandBarControl* control, QWidget* parent, bool& ownColumn);
    QWidget* MakeButton(CommandBarControl* control, QWidget* parent, bool quickAccess, bool& large);

    CommandBars* m_owner;
    RibbonBar* m_ribbon;
    QPointer<QWidget> m_content;
    QPointer<QTabBar> m_tabBar;
    QPointer<QWidget> m_systemButton;
    std::vector<Binding> m_bindings;
    std::vector<std::pair<const RibbonGroup*, QPointer<QLabel>>> m_captions;
    std::vector<Lent> m_lent;
};
