#include "platform/RibbonBarWidget.h"

#include "platform/CommandBarButtonWidget.h"
#include "platform/CommandBarCaption.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarGalleryWidget.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int CaptionHeight = 17;
constexpr int PanelMargin = 3;

// A large button's caption goes on two lines when it is long, broken at the blank nearest its middle.
QString LargeCaption(const QString& caption) {
    const QString text = caption.trimmed();
    if (CommandBarCaption::Plain(text).size() <= 9)
        return text;
    int best = -1;
    for (int i = 1; i + 1 < text.size(); ++i)
        if (text[i] == QLatin1Char(' ') &&
            (best < 0 || std::abs(i - text.size() / 2) < std::abs(best - text.size() / 2)))
            best = i;
    if (best < 0)
        return text;
    return text.left(best).trimmed() + QLatin1Char('\n') + text.mid(best + 1).trimmed();
}

// Buttons never shrink below their caption: a ribbon too narrow for its groups cuts off at the right rather
// than eliding every caption.
void ButtonText(QToolButton* button, const CommandBarControl* control) {
    const bool large = button->property("large").toBool();
    const QString text = large ? LargeCaption(control->Caption()) : control->Caption();
    button->setToolTip(CommandBarCaption::Plain(control->Caption()).trimmed());
    if (button->text() == text)
        return;
    button->setText(text);
    if (control->Width() <= 0)
        button->setMinimumWidth(
            std::max(button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon ? 44 : 0, button->sizeHint().width()));
}

QFrame* Separator(QWidget* parent, int height) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(height);
    return line;
}

// The texts a combo box lists: its own entries, or the items of the gallery in its drop-down.
QStringList ComboEntries(const CommandBarComboBox* combo) {
    QStringList entries;
    if (combo->ListCount() > 0 || !combo->GetCommandBar()) {
        for (int i = 1; i <= combo->ListCount(); ++i) entries.append(combo->List(i));
        return entries;
    }
    for (const auto& control : combo->GetCommandBar()->Controls())
        if (control->GetType() == CommandBarControl::Gallery)
            if (const CommandBarGalleryItems* items = static_cast<CommandBarGallery*>(control.get())->Items()) {
                for (int i = 0; i < items->Count(); ++i)
                    if (!items->Item(i)->IsLabel())
                        entries.append(CommandBarCaption::Plain(items->Item(i)->Caption()));
                break;
            }
    return entries;
}

}  // namespace

RibbonBarWidget::RibbonBarWidget(CommandBars* owner, RibbonBar* ribbon, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_ribbon(ribbon) {
    setAttribute(Qt::WA_StyledBackground, false);
    Rebuild();
}

RibbonBarWidget::~RibbonBarWidget() { ReleaseHosted(); }

QSize RibbonBarWidget::sizeHint() const {
    return QSize(600, TabRowHeight + 2 * PanelMargin + ContentHeight + CaptionHeight + 4);
}

void RibbonBarWidget::ReleaseHosted() {
    for (Lent& lent : m_lent) {
        if (!lent.widget)
            continue;
        lent.widget->hide();
        lent.widget->setMinimumSize(lent.minimum);
        lent.widget->setMaximumSize(lent.maximum);
        lent.widget->setParent(lent.home);
    }
    m_lent.clear();
}

void RibbonBarWidget::Rebuild() {
    ReleaseHosted();
    m_bindings.clear();
    m_captions.clear();
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
    row->setSpacing(4);
    if (RibbonTab* tab = m_ribbon->SelectedTab()) {
        for (int g = 0; g < tab->GroupCount(); ++g) {
            RibbonGroup* group = tab->Group(g);
            if (!group->Visible())
                continue;
            row->addWidget(BuildGroup(group, panel));
            row->addWidget(Separator(panel, ContentHeight + CaptionHeight));
        }
    }
    row->addStretch(1);
    column->addWidget(panel, 1);
    PlaceContent();
    m_content->show();
    SyncStates();
    update();
}

QWidget* RibbonBarWidget::MakeButton(CommandBarControl* control, QWidget* parent, bool quickAccess, bool& large) {
    using Kind = CommandBarButtonWidget::Kind;
    Kind kind = Kind::Plain;
    if (control->GetType() == CommandBarControl::SplitButtonPopup)
        kind = Kind::Split;
    else if (control->IsPopup())
        kind = Kind::Popup;
    auto* button = new CommandBarButtonWidget(kind, parent);
    const QPixmap icon = m_owner->Icons().Icon(control->IconId());
    large = !quickAccess && !icon.isNull() && icon.height() >= 24 && control->Height() == 0;
    if (!icon.isNull())
        button->setIcon(QIcon(icon));
    if (quickAccess) {
        button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(16, 16));
        button->setFixedHeight(SmallHeight);
    } else if (large) {
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(QSize(32, 32));
        button->setFixedHeight(ContentHeight);
        button->setMinimumWidth(44);
    } else {
        button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(16, 16));
        button->setFixedHeight(control->Height() > 0 ? control->Height() : SmallHeight);
    }
    if (control->Width() > 0)
        button->setFixedWidth(control->Width());
    // A popup's arrow takes the band under a large caption, so that caption stays on one line.
    button->setProperty("large", large && kind == Kind::Plain);
    ButtonText(button, control);
    CommandBars* owner = m_owner;
    if (kind == Kind::Plain) {
        button->setCheckable(true);
        connect(button, &QToolButton::clicked, this, [owner, control, button] {
            button->setChecked(control->Checked());
            owner->PostExecute(control);
        });
    } else {
        connect(button, &CommandBarButtonWidget::ArrowClicked, this,
                [owner, control, button] { owner->RunPopupBelow(control->GetCommandBar(), button); });
        if (kind == Kind::Split) {
            button->setCheckable(true);
            connect(button, &CommandBarButtonWidget::BodyClicked, this, [owner, control, button] {
                button->setChecked(control->Checked());
                owner->PostExecute(control);
            });
        }
    }
    m_bindings.push_back({control, button});
    return button;
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
        m_bindings.push_back({system, button});
        m_systemButton = button;
        layout->addWidget(button, 0, Qt::AlignVCenter);
        layout->addSpacing(4);
    }
    for (const auto& control : m_ribbon->QuickAccessControls()) {
        if (!control->Visible())
            continue;
        bool large = false;
        layout->addWidget(MakeButton(control.get(), row, true, large), 0, Qt::AlignVCenter);
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

QWidget* RibbonBarWidget::BuildGroup(RibbonGroup* group, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    auto* content = new QWidget(box);
    content->setFixedHeight(ContentHeight);
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(2);

    std::vector<QWidget*> pending;
    int pendingHeight = 0;
    const auto flush = [&] {
        if (pending.empty())
            return;
        auto* stack = new QVBoxLayout;
        stack->setSpacing(0);
        for (QWidget* w : pending) stack->addWidget(w, 0, Qt::AlignLeft);
        stack->addStretch(1);
        columns->addLayout(stack);
        pending.clear();
        pendingHeight = 0;
    };
    bool first = true;
    for (const auto& owned : group->Controls()) {
        CommandBarControl* control = owned.get();
        if (!control->Visible())
            continue;
        if (control->BeginGroup() && !first) {
            flush();
            columns->addWidget(Separator(content, ContentHeight - 6), 0, Qt::AlignVCenter);
        }
        first = false;
        bool ownColumn = false;
        QWidget* widget = MakeControl(control, content, ownColumn);
        if (!widget)
            continue;
        if (ownColumn) {
            flush();
            columns->addWidget(widget, 0, Qt::AlignTop);
            continue;
        }
        const int height = std::max(widget->minimumHeight(), std::min(widget->sizeHint().height(), ContentHeight));
        if (pendingHeight + height > ContentHeight)
            flush();
        pending.push_back(widget);
        pendingHeight += height;
    }
    flush();
    if (columns->count() == 0)
        columns->addSpacing(40);
    outer->addWidget(content);

    auto* caption = new QLabel(CommandBarCaption::Plain(group->Caption()), box);
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFixedHeight(CaptionHeight);
    QPalette pal = caption->palette();
    const QColor text = pal.color(QPalette::WindowText);
    const QColor back = pal.color(QPalette::Window);
    pal.setColor(QPalette::WindowText, QColor((2 * text.red() + back.red()) / 3, (2 * text.green() + back.green()) / 3,
                                              (2 * text.blue() + back.blue()) / 3));
    caption->setPalette(pal);
    outer->addWidget(caption);
    m_captions.emplace_back(group, caption);
    return box;
}

QWidget* RibbonBarWidget::MakeControl(CommandBarControl* control, QWidget* parent, bool& ownColumn) {
    CommandBars* owner = m_owner;
    switch (control->GetType()) {
        case CommandBarControl::ComboBox: {
            auto* combo = static_cast<CommandBarComboBox*>(control);
            auto* box = new QComboBox(parent);
            const bool editable = combo->GetCommandBar() != nullptr;
            box->setEditable(editable);
            box->addItems(ComboEntries(combo));
            // The given width is a floor: a list of fixed choices widens until its longest item shows whole.
            int width = control->Width() > 0 ? control->Width() : 80;
            if (!editable) {
                box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
                width = std::max(width, box->sizeHint().width());
            }
            box->setFixedSize(width, SmallHeight);
            box->setMaxVisibleItems(20);
            if (editable) {
                box->setInsertPolicy(QComboBox::NoInsert);
                box->setCompleter(nullptr);
                connect(box->lineEdit(), &QLineEdit::returnPressed, this, [owner, combo, box] {
                    combo->SetText(box->currentText());
                    owner->PostExecute(combo);
                });
            }
            connect(box, QOverload<int>::of(&QComboBox::activated), this, [owner, combo, box, editable](int index) {
                if (editable)
                    combo->SetText(box->itemText(index));
                else
                    combo->SetListIndex(index + 1);
                owner->PostExecute(combo);
            });
            m_bindings.push_back({control, box});
            return box;
        }
        case CommandBarControl::Edit: {
            auto* edit = static_cast<CommandBarEdit*>(control);
            auto* row = new QWidget(parent);
            auto* layout = new QHBoxLayout(row);
            layout->setContentsMargins(2, 0, 0, 0);
            layout->setSpacing(4);
            if (!control->Caption().isEmpty())
                layout->addWidget(new QLabel(CommandBarCaption::Plain(control->Caption()), row));
            auto* line = new QLineEdit(row);
            line->setFixedWidth(control->Width() > 0 ? control->Width() : 60);
            layout->addWidget(line);
            row->setFixedHeight(SmallHeight);
            connect(line, &QLineEdit::returnPressed, this, [owner, edit, line] {
                edit->SetText(line->text());
                owner->PostExecute(edit);
            });
            m_bindings.push_back({control, row});
            return row;
        }
        case CommandBarControl::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setFixedHeight(SmallHeight);
            m_bindings.push_back({control, label});
            return label;
        }
        case CommandBarControl::Gallery: {
            auto* gallery = static_cast<CommandBarGallery*>(control);
            auto* view = new CommandBarGalleryWidget(m_owner, gallery, false, parent);
            view->setFixedHeight(ContentHeight);
            connect(view, &CommandBarGalleryWidget::ItemChosen, this, [owner, gallery](CommandBarGalleryItem* item) {
                gallery->SetSelectedItem(item);
                owner->PostExecute(gallery);
            });
            ownColumn = true;
            m_bindings.push_back({control, view});
            return view;
        }
        case CommandBarControl::Custom: {
            auto* custom = static_cast<CommandBarCustom*>(control);
            QWidget* hosted = custom->Handle();
            if (!hosted)
                return nullptr;
            m_lent.push_back({hosted, custom->HomeParent(), hosted->minimumSize(), hosted->maximumSize()});
            const QSize size(control->Width() > 0 ? control->Width() : hosted->width(),
                             std::min(ContentHeight, control->Height() > 0 ? control->Height() : hosted->height()));
            hosted->setParent(parent);
            hosted->setFixedSize(size);
            hosted->show();
            ownColumn = true;
            m_bindings.push_back({control, hosted});
            return hosted;
        }
        default: {
            bool large = false;
            QWidget* button = MakeButton(control, parent, false, large);
            ownColumn = large;
            return button;
        }
    }
}

void RibbonBarWidget::SyncStates() {
    for (const Binding& binding : m_bindings) {
        QWidget* widget = binding.widget;
        if (!widget)
            continue;
        CommandBarControl* control = binding.control;
        widget->setEnabled(control->Enabled());
        widget->setAccessibleName(CommandBarCaption::Plain(control->Caption()));
        if (auto* button = qobject_cast<CommandBarButtonWidget*>(widget)) {
            if (button->GetKind() == CommandBarButtonWidget::Kind::System)
                continue;
            ButtonText(button, control);
            if (button->isCheckable())
                button->setChecked(control->Checked());
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            auto* combo = static_cast<CommandBarComboBox*>(control);
            if (box->hasFocus())
                continue;
            const QSignalBlocker block(box);
            if (box->isEditable())
                box->setEditText(combo->Text());
            else
                box->setCurrentIndex(combo->ListIndex() - 1);
        } else if (auto* gallery = qobject_cast<CommandBarGalleryWidget*>(widget)) {
            gallery->Refresh();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(CommandBarCaption::Plain(control->Caption()));
        } else if (control->GetType() == CommandBarControl::Edit) {
            if (auto* line = widget->findChild<QLineEdit*>(); line && !line->hasFocus())
                line->setText(static_cast<CommandBarEdit*>(control)->Text());
        }
    }
    for (auto& [group, label] : m_captions)
        if (label)
            label->setText(CommandBarCaption::Plain(group->Caption()));
    if (m_tabBar)
        for (int t = 0; t < m_ribbon->TabCount() && t < m_tabBar->count(); ++t)
            m_tabBar->setTabText(t, m_ribbon->Tab(t)->Caption());
}

QWidget* RibbonBarWidget::WidgetFor(int id) const {
    for (const Binding& binding : m_bindings)
        if (binding.widget && binding.control->Id() == id)
            return binding.widget;
    return nullptr;
}

QWidget* RibbonBarWidget::WidgetFor(const CommandBarControl* control) const {
    for (const Binding& binding : m_bindings)
        if (binding.widget && binding.control == control)
            return binding.widget;
    return nullptr;
}

QLabel* RibbonBarWidget::CaptionOf(const RibbonGroup* group) const {
    for (const auto& [g, label] : m_captions)
        if (g == group)
            return label;
    return nullptr;
}

void RibbonBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));
    // The tab body: halfway between the window and the base colour, so it reads as a surface in any theme.
    const QColor window = pal.color(QPalette::Window);
    const QColor base = pal.color(QPalette::Base);
    const QColor body((window.red() + base.red()) / 2, (window.green() + base.green()) / 2,
                      (window.blue() + base.blue()) / 2);
    const QRect panel(0, TabRowHeight, width(), height() - TabRowHeight);
    painter.fillRect(panel, body);
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawLine(panel.topLeft(), panel.topRight());
    painter.drawLine(panel.bottomLeft(), panel.bottomRight());
}

void RibbonBarWidget::PlaceContent() {
    // Groups keep their size; what does not fit is cut off at the right edge.
    if (m_content)
        m_content->setGeometry(0, 0, std::max(width(), m_content->minimumSizeHint().width()), height());
}

void RibbonBarWidget::resizeEvent(QResizeEvent*) { PlaceContent(); }
