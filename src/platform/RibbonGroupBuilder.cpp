#include "platform/RibbonGroupBuilder.h"

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
#include "platform/RibbonGroup.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

using Size = RibbonGroupSizing::Size;

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

// Buttons never shrink below their caption: a ribbon gives way by the sizes of its groups, never by eliding.
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

// The text of a collapsed group's button: its caption, read as it stands (no access key), on two lines when long.
QString CollapsedText(const QString& plainCaption) {
    return LargeCaption(plainCaption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// How a button of a group is drawn at each size of the group.
RibbonGroupBuilder::ButtonStyle StyleAt(Size size, bool canBeLarge, bool hasIcon, const CommandBarControl* control) {
    using Style = RibbonGroupBuilder::ButtonStyle;
    if (size == Size::Large && canBeLarge)
        return Style::Large;
    // A button given its own width keeps its caption: the width was chosen for it.
    if (size == Size::IconsOnly && hasIcon && control->Width() <= 0)
        return Style::IconOnly;
    return Style::Small;
}

// The galleries of a narrowed group show fewer columns; their drop-downs still show the whole set.
int GalleryColumnsAt(Size size) { return size == Size::Small ? 2 : size == Size::IconsOnly ? 1 : 0; }

// A collapsed group shows the icon of its own id, else that of its first control that has one.
QPixmap GroupIcon(CommandBars* owner, const RibbonGroup* group) {
    const QPixmap own = owner->Icons().Icon(group->Id());
    if (!own.isNull())
        return own;
    for (const auto& control : group->Controls()) {
        if (!control->Visible())
            continue;
        const QPixmap icon = owner->Icons().Icon(control->IconId());
        if (!icon.isNull())
            return icon;
    }
    return QPixmap();
}

}  // namespace

RibbonGroupBuilder::RibbonGroupBuilder(CommandBars* owner) : RibbonGroupBuilder(owner, false) {}

RibbonGroupBuilder::RibbonGroupBuilder(CommandBars* owner, bool measuring) : m_owner(owner), m_measuring(measuring) {}

RibbonGroupBuilder::~RibbonGroupBuilder() { Clear(); }

void RibbonGroupBuilder::Clear() {
    for (Lent& lent : m_lent) {
        if (!lent.widget)
            continue;
        lent.widget->hide();
        lent.widget->setMinimumSize(lent.minimum);
        lent.widget->setMaximumSize(lent.maximum);
        lent.widget->setParent(lent.home);
    }
    m_lent.clear();
    m_bindings.clear();
    m_captions.clear();
}

void RibbonGroupBuilder::Bind(CommandBarControl* control, QWidget* widget) { m_bindings.push_back({control, widget}); }

QWidget* RibbonGroupBuilder::MakeButton(CommandBarControl* control, QWidget* parent, ButtonStyle style) {
    using Kind = CommandBarButtonWidget::Kind;
    Kind kind = Kind::Plain;
    if (control->GetType() == CommandBarControl::SplitButtonPopup)
        kind = Kind::Split;
    else if (control->IsPopup())
        kind = Kind::Popup;
    auto* button = new CommandBarButtonWidget(kind, parent);
    const QPixmap icon = m_owner->Icons().Icon(control->IconId());
    if (!icon.isNull())
        button->setIcon(QIcon(icon));
    switch (style) {
        case ButtonStyle::QuickAccess:
            button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
            button->setIconSize(QSize(16, 16));
            button->setFixedHeight(SmallHeight);
            break;
        case ButtonStyle::Large:
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setIconSize(QSize(32, 32));
            button->setFixedHeight(ContentHeight);
            button->setMinimumWidth(44);
            break;
        case ButtonStyle::Small:
        case ButtonStyle::IconOnly:
            if (icon.isNull())
                button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            else
                button->setToolButtonStyle(style == ButtonStyle::IconOnly ? Qt::ToolButtonIconOnly
                                                                          : Qt::ToolButtonTextBesideIcon);
            button->setIconSize(QSize(16, 16));
            button->setFixedHeight(control->Height() > 0 ? control->Height() : SmallHeight);
            break;
    }
    if (control->Width() > 0)
        button->setFixedWidth(control->Width());
    // A popup's arrow takes the band under a large caption, so that caption stays on one line.
    button->setProperty("large", style == ButtonStyle::Large && kind == Kind::Plain);
    ButtonText(button, control);
    CommandBars* owner = m_owner;
    if (kind == Kind::Plain) {
        button->setCheckable(true);
        QObject::connect(button, &QToolButton::clicked, button, [owner, control, button] {
            button->setChecked(control->Checked());
            owner->PostExecute(control);
        });
    } else {
        QObject::connect(button, &CommandBarButtonWidget::ArrowClicked, button,
                         [owner, control, button] { owner->RunPopupBelow(control->GetCommandBar(), button); });
        if (kind == Kind::Split) {
            button->setCheckable(true);
            QObject::connect(button, &CommandBarButtonWidget::BodyClicked, button, [owner, control, button] {
                button->setChecked(control->Checked());
                owner->PostExecute(control);
            });
        }
    }
    Bind(control, button);
    return button;
}

QWidget* RibbonGroupBuilder::BuildGroup(RibbonGroup* group, Size size, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    auto* content = new QWidget(box);
    content->setFixedHeight(ContentHeight);
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(2);

    // Controls that do not fill a column are stacked, top down, as many as the group's height takes.
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
            columns->addWidget(MakeSeparator(content, ContentHeight - 6), 0, Qt::AlignVCenter);
        }
        first = false;
        bool ownColumn = false;
        QWidget* widget = MakeControl(control, content, size, ownColumn);
        if (!widget)
            continue;
        if (ownColumn) {
            flush();
            columns->addWidget(widget, 0, Qt::AlignTop);
            continue;
        }
        // A widget stacks by the height it gets: its size hint within its own limits, so a fixed height wins.
        const int tallest = std::max(widget->minimumHeight(), std::min(widget->maximumHeight(), ContentHeight));
        const int height = std::clamp(widget->sizeHint().height(), widget->minimumHeight(), tallest);
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
    m_captions.push_back({group, caption, group->Caption()});
    return box;
}

QWidget* RibbonGroupBuilder::BuildCollapsedGroup(RibbonGroup* group, QWidget* parent, Opener open) {
    auto* box = new QWidget(parent);
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* button = new CommandBarButtonWidget(CommandBarButtonWidget::Kind::Popup, box);
    const QPixmap icon = GroupIcon(m_owner, group);
    if (!icon.isNull())
        button->setIcon(QIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const QString caption = CommandBarCaption::Plain(group->Caption());
    button->setText(CollapsedText(caption));
    button->setToolTip(caption.trimmed());
    button->setAccessibleName(caption);
    button->setFixedHeight(ContentHeight + 2 + CaptionHeight);
    button->setMinimumWidth(std::max(52, button->sizeHint().width()));
    outer->addWidget(button);
    if (open)
        QObject::connect(button, &CommandBarButtonWidget::ArrowClicked, button,
                         [group, button, open] { open(group, button); });
    m_captions.push_back({group, button, group->Caption()});
    return box;
}

QWidget* RibbonGroupBuilder::MakeSeparator(QWidget* parent, int height) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(height);
    return line;
}

QColor RibbonGroupBuilder::BodyColor(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    return QColor((window.red() + base.red()) / 2, (window.green() + base.green()) / 2,
                  (window.blue() + base.blue()) / 2);
}

int RibbonGroupBuilder::MeasureGroup(CommandBars* owner, RibbonGroup* group, Size size, QWidget* scratch) {
    RibbonGroupBuilder measurer(owner, true);
    QWidget* box = size == Size::Collapsed ? measurer.BuildCollapsedGroup(group, scratch, {})
                                           : measurer.BuildGroup(group, size, scratch);
    const int width = box->sizeHint().width();
    delete box;
    return width;
}

QWidget* RibbonGroupBuilder::MakeHosted(CommandBarControl* control, QWidget* parent) {
    QWidget* hosted = static_cast<CommandBarCustom*>(control)->Handle();
    if (!hosted)
        return nullptr;
    const QSize size(control->Width() > 0 ? control->Width() : hosted->width(),
                     std::min(ContentHeight, control->Height() > 0 ? control->Height() : hosted->height()));
    if (m_measuring) {
        auto* standIn = new QWidget(parent);
        standIn->setFixedSize(size);
        return standIn;
    }
    m_lent.push_back(
        {hosted, static_cast<CommandBarCustom*>(control)->HomeParent(), hosted->minimumSize(), hosted->maximumSize()});
    hosted->setParent(parent);
    hosted->setFixedSize(size);
    hosted->show();
    Bind(control, hosted);
    return hosted;
}

QWidget* RibbonGroupBuilder::MakeControl(CommandBarControl* control, QWidget* parent, Size size, bool& ownColumn) {
    CommandBars* owner = m_owner;
    switch (control->GetType()) {
        case CommandBarControl::ComboBox: {
            auto* combo = static_cast<CommandBarComboBox*>(control);
            auto* box = new QComboBox(parent);
            const bool editable = combo->GetCommandBar() != nullptr;
            box->setEditable(editable);
            // An editable box has the width it is given, so one being measured needs no entries.
            if (!editable || !m_measuring)
                box->addItems(ComboEntries(combo));
            // The given width is a floor: a list of fixed choices widens until its longest item shows whole.
            int width = control->Width() > 0 ? control->Width() : 80;
            if (!editable) {
                box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
                width = std::max(width, box->sizeHint().width());
            }
            box->setFixedSize(width, SmallHeight);
            box->setMaxVisibleItems(20);
            // Return in an editable box runs its command once: when the text names an entry of the list, the box
            // goes on to report that entry as chosen, which is then no second command.
            auto returned = std::make_shared<bool>(false);
            if (editable) {
                box->setInsertPolicy(QComboBox::NoInsert);
                box->setCompleter(nullptr);
                QObject::connect(box->lineEdit(), &QLineEdit::returnPressed, box, [owner, combo, box, returned] {
                    combo->SetText(box->currentText());
                    owner->PostExecute(combo);
                    *returned = true;
                    QTimer::singleShot(0, box, [returned] { *returned = false; });
                });
            }
            QObject::connect(box, QOverload<int>::of(&QComboBox::activated), box,
                             [owner, combo, box, editable, returned](int index) {
                                 if (*returned)
                                     return;
                                 if (editable)
                                     combo->SetText(box->itemText(index));
                                 else
                                     combo->SetListIndex(index + 1);
                                 owner->PostExecute(combo);
                             });
            Bind(control, box);
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
            QObject::connect(line, &QLineEdit::returnPressed, line, [owner, edit, line] {
                edit->SetText(line->text());
                owner->PostExecute(edit);
            });
            Bind(control, row);
            return row;
        }
        case CommandBarControl::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setFixedHeight(SmallHeight);
            Bind(control, label);
            return label;
        }
        case CommandBarControl::Gallery: {
            auto* gallery = static_cast<CommandBarGallery*>(control);
            auto* view = new CommandBarGalleryWidget(m_owner, gallery, false, parent);
            view->setFixedHeight(ContentHeight);
            if (const int columns = GalleryColumnsAt(size); columns > 0)
                view->setFixedWidth(std::min(view->width(), view->WidthForColumns(columns)));
            QObject::connect(view, &CommandBarGalleryWidget::ItemChosen, view,
                             [owner, gallery](CommandBarGalleryItem* item) {
                                 gallery->SetSelectedItem(item);
                                 owner->PostExecute(gallery);
                             });
            ownColumn = true;
            Bind(control, view);
            return view;
        }
        case CommandBarControl::Custom: {
            ownColumn = true;
            return MakeHosted(control, parent);
        }
        default: {
            const QPixmap icon = m_owner->Icons().Icon(control->IconId());
            const bool canBeLarge = !icon.isNull() && icon.height() >= 24 && control->Height() == 0;
            const ButtonStyle style = StyleAt(size, canBeLarge, !icon.isNull(), control);
            ownColumn = style == ButtonStyle::Large;
            return MakeButton(control, parent, style);
        }
    }
}

void RibbonGroupBuilder::SyncStates() {
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
            if (box->isEditable()) {
                // The entry of the text becomes the current one too: a box whose text differs from its current
                // entry takes the text for a choice of that entry once it loses the keyboard (as opening its
                // list does) and runs the command unasked.
                if (const int entry = box->findText(combo->Text()); entry >= 0)
                    box->setCurrentIndex(entry);
                box->setEditText(combo->Text());
            } else {
                box->setCurrentIndex(combo->ListIndex() - 1);
            }
        } else if (auto* gallery = qobject_cast<CommandBarGalleryWidget*>(widget)) {
            gallery->Refresh();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(CommandBarCaption::Plain(control->Caption()));
        } else if (control->GetType() == CommandBarControl::Edit) {
            if (auto* line = widget->findChild<QLineEdit*>(); line && !line->hasFocus())
                line->setText(static_cast<CommandBarEdit*>(control)->Text());
        }
    }
    for (const Caption& caption : m_captions) {
        const QString text = CommandBarCaption::Plain(caption.group->Caption());
        if (auto* label = qobject_cast<QLabel*>(caption.widget.data())) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QToolButton*>(caption.widget.data())) {
            button->setText(CollapsedText(text));
            button->setToolTip(text.trimmed());
            button->setAccessibleName(text);
        }
    }
}

bool RibbonGroupBuilder::TakeCaptionChanges() {
    bool changed = false;
    for (Caption& caption : m_captions)
        if (caption.group->Caption() != caption.text) {
            caption.text = caption.group->Caption();
            changed = true;
        }
    return changed;
}

QWidget* RibbonGroupBuilder::WidgetFor(int id) const {
    for (const Binding& binding : m_bindings)
        if (binding.widget && binding.control->Id() == id)
            return binding.widget;
    return nullptr;
}

QWidget* RibbonGroupBuilder::WidgetFor(const CommandBarControl* control) const {
    for (const Binding& binding : m_bindings)
        if (binding.widget && binding.control == control)
            return binding.widget;
    return nullptr;
}

QLabel* RibbonGroupBuilder::CaptionOf(const RibbonGroup* group) const {
    for (const Caption& caption : m_captions)
        if (caption.group == group)
            if (auto* label = qobject_cast<QLabel*>(caption.widget.data()))
                return label;
    return nullptr;
}

CommandBarButtonWidget* RibbonGroupBuilder::CollapsedButtonOf(const RibbonGroup* group) const {
    for (const Caption& caption : m_captions)
        if (caption.group == group)
            if (auto* button = qobject_cast<CommandBarButtonWidget*>(caption.widget.data()))
                return button;
    return nullptr;
}
