#include "platform/RibbonBarWidget.h"

#include "platform/CommandBarButtonWidget.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonGroupPopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Size = RibbonGroupSizing::Size;

constexpr int PanelMargin = 3;
constexpr int GroupSpacing = 4;
// The room the group row leaves at its left and right.
constexpr int RowMargins = (PanelMargin + 2) + PanelMargin;

}  // namespace

RibbonBarWidget::RibbonBarWidget(CommandBars* owner, RibbonBar* ribbon, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_ribbon(ribbon), m_builder(owner) {
    setAttribute(Qt::WA_StyledBackground, false);
    Rebuild();
}

RibbonBarWidget::~RibbonBarWidget() {
    delete m_popup.data();
    m_builder.Clear();
}

QSize RibbonBarWidget::sizeHint() const {
    return QSize(600, TabRowHeight + 2 * PanelMargin + ContentHeight + RibbonGroupBuilder::CaptionHeight + 4);
}

void RibbonBarWidget::Rebuild() {
    Measure();
    m_sizes = ChooseSizes();
    m_refitPending = false;
    Build();
}

void RibbonBarWidget::Refit() {
    m_refitPending = false;
    std::vector<Size> sizes = ChooseSizes();
    if (sizes == m_sizes) {
        PlaceContent();
        return;
    }
    m_sizes = std::move(sizes);
    Build();
}

void RibbonBarWidget::ScheduleRefit() {
    if (m_refitScheduled)
        return;
    m_refitScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_refitScheduled = false;
        if (m_refitPending && !m_owner->PopupRunning())
            Refit();
    });
}

void RibbonBarWidget::Measure() {
    m_groups.clear();
    m_widths.clear();
    m_smallerMeasured = false;
    RibbonTab* tab = m_ribbon->SelectedTab();
    if (!tab)
        return;
    // Groups are measured as they would be drawn here (this widget's font and style), in a box never shown.
    QWidget scratch(this);
    scratch.hide();
    m_groupOverhead = RibbonGroupBuilder::MakeSeparator(&scratch, ContentHeight)->sizeHint().width() + 2 * GroupSpacing;
    for (int g = 0; g < tab->GroupCount(); ++g) {
        RibbonGroup* group = tab->Group(g);
        if (!group->Visible())
            continue;
        RibbonGroupSizing::Widths widths{};
        // The smaller sizes are measured only once the ribbon is too narrow for the large ones; till then they
        // count as large.
        widths.fill(RibbonGroupBuilder::MeasureGroup(m_owner, group, Size::Large, &scratch));
        m_groups.push_back(group);
        m_widths.push_back(widths);
    }
}

void RibbonBarWidget::MeasureSmaller() {
    m_smallerMeasured = true;
    QWidget scratch(this);
    scratch.hide();
    for (size_t g = 0; g < m_groups.size(); ++g)
        for (Size size : {Size::Small, Size::IconsOnly, Size::Collapsed})
            m_widths[g][static_cast<size_t>(size)] =
                RibbonGroupBuilder::MeasureGroup(m_owner, m_groups[g], size, &scratch);
}

std::vector<Size> RibbonBarWidget::ChooseSizes() {
    const int available = width() - RowMargins;
    if (!m_smallerMeasured) {
        int large = 0;
        for (const RibbonGroupSizing::Widths& widths : m_widths)
            large += widths[static_cast<size_t>(Size::Large)] + m_groupOverhead;
        if (large > available)
            MeasureSmaller();
    }
    return RibbonGroupSizing::Choose(m_widths, m_groupOverhead, available);
}

Size RibbonBarWidget::SizeOf(const RibbonGroup* group) const {
    for (size_t g = 0; g < m_groups.size() && g < m_sizes.size(); ++g)
        if (m_groups[g] == group)
            return m_sizes[g];
    return Size::Large;
}

void RibbonBarWidget::Build() {
    CloseGroupPopup();
    m_builder.Clear();
    if (m_content) {
        // Deleted from the event loop: a widget of the old content may be the one whose event is running.
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = new QWidget(this);
    auto* column = new QVBoxLayout(m_content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildTabRow(m_content));

    auto* panel = new QWidget(m_content);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(PanelMargin + 2, PanelMargin, PanelMargin, PanelMargin + 1);
    row->setSpacing(GroupSpacing);
    if (RibbonTab* tab = m_ribbon->SelectedTab()) {
        const auto open = [this](RibbonGroup* group, QWidget* button) { DropDown(group, button); };
        for (int g = 0; g < tab->GroupCount(); ++g) {
            RibbonGroup* group = tab->Group(g);
            if (!group->Visible())
                continue;
            const Size size = SizeOf(group);
            row->addWidget(size == Size::Collapsed ? m_builder.BuildCollapsedGroup(group, panel, open)
                                                   : m_builder.BuildGroup(group, size, panel));
            row->addWidget(RibbonGroupBuilder::MakeSeparator(panel, ContentHeight + RibbonGroupBuilder::CaptionHeight));
        }
    }
    row->addStretch(1);
    column->addWidget(panel, 1);
    PlaceContent();
    m_content->show();
    SyncStates();
    update();
}

QWidget* RibbonBarWidget::BuildTabRow(QWidget* parent) {
    auto* row = new QWidget(parent);
    row->setFixedHeight(TabRowHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    if (CommandBarControl* system = m_ribbon->SystemButton()) {
        auto* button = new CommandBarButtonWidget(CommandBarButtonWidget::Kind::System, row);
        const QPixmap icon = m_owner->Icons().Icon(system->IconId());
        if (!icon.isNull())
            button->setIcon(QIcon(icon));
        button->setIconSize(QSize(20, 20));
        button->setFixedSize(44, TabRowHeight - 4);
        CommandBars* owner = m_owner;
        connect(button, &CommandBarButtonWidget::ArrowClicked, this,
                [owner, system, button] { owner->RunPopupBelow(system->GetCommandBar(), button); });
        m_builder.Bind(system, button);
        m_systemButton = button;
        layout->addWidget(button, 0, Qt::AlignVCenter);
        layout->addSpacing(4);
    }
    for (const auto& control : m_ribbon->QuickAccessControls()) {
        if (!control->Visible())
            continue;
        layout->addWidget(m_builder.MakeButton(control.get(), row, RibbonGroupBuilder::ButtonStyle::QuickAccess), 0,
                          Qt::AlignVCenter);
    }
    if (m_ribbon->QuickAccessControls().Count() > 0)
        layout->addSpacing(10);
    auto* tabs = new QTabBar(row);
    tabs->setDrawBase(false);
    tabs->setDocumentMode(true);
    tabs->setExpanding(false);
    tabs->setFocusPolicy(Qt::TabFocus);
    for (int t = 0; t < m_ribbon->TabCount(); ++t) tabs->addTab(m_ribbon->Tab(t)->Caption());
    if (m_ribbon->SelectedTab())
        tabs->setCurrentIndex(m_ribbon->SelectedTab()->Index());
    RibbonBar* ribbon = m_ribbon;
    CommandBars* owner = m_owner;
    connect(tabs, &QTabBar::currentChanged, this, [ribbon, owner](int index) {
        RibbonTab* tab = ribbon->Tab(index);
        if (!tab || tab == ribbon->SelectedTab())
            return;
        // The tab command is posted first: its Execute asks Update for the new tab, which then needs no round of
        // its own.
        QTimer::singleShot(0, owner, [owner] { owner->ExecuteCommand(CommandBars::TabSelectedCommand); });
        ribbon->SetSelectedTab(tab);
    });
    m_tabBar = tabs;
    layout->addWidget(tabs, 0, Qt::AlignBottom);
    layout->addStretch(1);
    return row;
}

void RibbonBarWidget::DropDown(RibbonGroup* group, QWidget* button) {
    CloseGroupPopup();
    auto* popup = new RibbonGroupPopup(m_owner, group, button, this);
    connect(popup, &RibbonGroupPopup::Closed, this, [this, popup] {
        if (m_popup == popup)
            m_popup = nullptr;
    });
    m_popup = popup;
    popup->Open();
}

RibbonGroupPopup* RibbonBarWidget::OpenGroupPopup() const { return m_popup; }

void RibbonBarWidget::CloseGroupPopup() {
    RibbonGroupPopup* popup = m_popup;
    m_popup = nullptr;
    if (!popup)
        return;
    if (popup->isVisible())
        popup->hide();
    else
        popup->deleteLater();
}

void RibbonBarWidget::SyncStates() {
    m_builder.SyncStates();
    if (m_popup)
        m_popup->SyncStates();
    if (m_tabBar)
        for (int t = 0; t < m_ribbon->TabCount() && t < m_tabBar->count(); ++t)
            m_tabBar->setTabText(t, m_ribbon->Tab(t)->Caption());
    // A new caption may widen or narrow its group. The sizes are chosen again from the event loop: a caption may
    // change inside an event of a widget that new sizes would take out of the ribbon.
    if (m_builder.TakeCaptionChanges()) {
        Measure();
        m_refitPending = true;
        ScheduleRefit();
    }
}

QWidget* RibbonBarWidget::WidgetFor(int id) const {
    if (QWidget* widget = m_builder.WidgetFor(id))
        return widget;
    return m_popup ? m_popup->WidgetFor(id) : nullptr;
}

QWidget* RibbonBarWidget::WidgetFor(const CommandBarControl* control) const {
    if (QWidget* widget = m_builder.WidgetFor(control))
        return widget;
    return m_popup ? m_popup->WidgetFor(control) : nullptr;
}

QLabel* RibbonBarWidget::CaptionOf(const RibbonGroup* group) const { return m_builder.CaptionOf(group); }

CommandBarButtonWidget* RibbonBarWidget::CollapsedButtonOf(const RibbonGroup* group) const {
    return m_builder.CollapsedButtonOf(group);
}

void RibbonBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));
    const QRect panel(0, TabRowHeight, width(), height() - TabRowHeight);
    painter.fillRect(panel, RibbonGroupBuilder::BodyColor(pal));
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawLine(panel.topLeft(), panel.topRight());
    painter.drawLine(panel.bottomLeft(), panel.bottomRight());
}

void RibbonBarWidget::PlaceContent() {
    // Below the narrowest sizes of its groups the ribbon is cut off at the right edge.
    if (m_content)
        m_content->setGeometry(0, 0, std::max(width(), m_content->minimumSizeHint().width()), height());
}

void RibbonBarWidget::resizeEvent(QResizeEvent*) {
    // A drop-down would no longer sit under its group.
    CloseGroupPopup();
    // An open menu may hang on a widget that new sizes would replace; the sizes wait until it closed.
    if (m_owner->PopupRunning()) {
        m_refitPending = true;
        PlaceContent();
        return;
    }
    Refit();
}
