#pragma once

#include "platform/RibbonGroupSizing.h"

#include <QColor>
#include <QPalette>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class CommandBarButtonWidget;
class CommandBarControl;
class CommandBars;
class QLabel;
class RibbonGroup;

// Makes the widgets of ribbon groups, at a chosen size, and of the quick-access bar, and keeps them in step with
// their controls. Each widget stays bound to its control; a custom control's widget is lent by its owner while
// shown here and given back by Clear. The ribbon has one builder and a dropped-down group another.
class RibbonGroupBuilder {
public:
    static constexpr int ContentHeight = 68;
    static constexpr int SmallHeight = 22;
    static constexpr int CaptionHeight = 17;

    enum class ButtonStyle { QuickAccess, Large, Small, IconOnly };
    // Opens a collapsed group; given the button that was clicked.
    using Opener = std::function<void(RibbonGroup* group, QWidget* button)>;

    explicit RibbonGroupBuilder(CommandBars* owner);
    ~RibbonGroupBuilder();
    RibbonGroupBuilder(const RibbonGroupBuilder&) = delete;
    RibbonGroupBuilder& operator=(const RibbonGroupBuilder&) = delete;

    // A group's controls side by side with its caption beneath, at a size other than collapsed.
    QWidget* BuildGroup(RibbonGroup* group, RibbonGroupSizing::Size size, QWidget* parent);
    // A collapsed group: one button, as high as a whole group, with the group's icon and caption.
    QWidget* BuildCollapsedGroup(RibbonGroup* group, QWidget* parent, Opener open);
    QWidget* MakeButton(CommandBarControl* control, QWidget* parent, ButtonStyle style);
    // Keeps a widget made elsewhere in step with a control.
    void Bind(CommandBarControl* control, QWidget* widget);

    // The line between two groups, or between two parts of one group.
    static QWidget* MakeSeparator(QWidget* parent, int height);
    // The ribbon's surface: halfway between the window and the base colour, so it reads as one in any theme.
    static QColor BodyColor(const QPalette& palette);
    // The width a group takes at a size, built aside without lending or binding anything.
    static int MeasureGroup(CommandBars* owner, RibbonGroup* group, RibbonGroupSizing::Size size, QWidget* scratch);

    void SyncStates();
    // Whether a group's caption changed since its widgets were made or this was last asked (the group's width may
    // have changed with it).
    bool TakeCaptionChanges();
    // Gives lent widgets back to their owners and forgets every widget made so far.
    void Clear();

    QWidget* WidgetFor(int id) const;
    QWidget* WidgetFor(const CommandBarControl* control) const;
    QLabel* CaptionOf(const RibbonGroup* group) const;
    CommandBarButtonWidget* CollapsedButtonOf(const RibbonGroup* group) const;

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
    struct Caption {
        const RibbonGroup* group;
        QPointer<QWidget> widget;  // the caption label, or a collapsed group's button
        QString text;              // the caption the group had when its widgets were made
    };

    RibbonGroupBuilder(CommandBars* owner, bool measuring);
    // Makes the widget of one control; ownColumn says it fills a column of the group by itself.
    QWidget* MakeControl(CommandBarControl* control, QWidget* parent, RibbonGroupSizing::Size size, bool& ownColumn);
    QWidget* MakeHosted(CommandBarControl* control, QWidget* parent);

    CommandBars* m_owner;
    // A measuring builder lends nothing: a custom control is stood in for by an empty widget of its size.
    bool m_measuring;
    std::vector<Binding> m_bindings;
    std::vector<Lent> m_lent;
    std::vector<Caption> m_captions;
};
