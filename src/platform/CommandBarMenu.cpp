#include "platform/CommandBarMenu.h"

#include "platform/CommandBar.h"
#include "platform/CommandBarCaption.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryWidget.h"
#include "platform/CommandBarHostedAction.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QWidgetAction>

CommandBarMenu::CommandBarMenu(CommandBars* owner, CommandBar* bar, Chooser chooser, QWidget* parent)
    : QMenu(parent), m_owner(owner), m_bar(bar), m_chooser(std::move(chooser)) {
    setTitle(bar->Name());
    Fill();
    SyncStates();
    m_owner->RegisterMenu(this);
    // Reaching a widget line with the arrow keys hands it the keyboard, so a hosted slider moves with the keys.
    connect(this, &QMenu::hovered, this, [](QAction* action) {
        auto* widgetAction = qobject_cast<QWidgetAction*>(action);
        if (!widgetAction)
            return;
        QList<QWidget*> widgets;
        if (auto* hosted = qobject_cast<CommandBarHostedAction*>(action); hosted && hosted->Shown())
            widgets.append(hosted->Shown());
        if (widgetAction->defaultWidget())
            widgets.append(widgetAction->defaultWidget());
        for (QWidget* widget : widgets)
            if (widget->isVisible() && widget->focusPolicy() != Qt::NoFocus && !widget->hasFocus())
                widget->setFocus(Qt::TabFocusReason);
    });
}

CommandBarMenu::~CommandBarMenu() {
    if (m_owner)
        m_owner->UnregisterMenu(this);
}

void CommandBarMenu::Detach() { m_owner = nullptr; }

void CommandBarMenu::Choose(CommandBarControl* control) {
    if (m_chooser)
        m_chooser(control);
}

void CommandBarMenu::CloseAll() {
    for (QWidget* w = this; w; w = w->parentWidget())
        if (auto* menu = qobject_cast<QMenu*>(w))
            menu->hide();
}

QWidget* CommandBarMenu::EditRow(CommandBarControl* control) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(28, 2, 8, 2);
    auto* label = new QLabel(CommandBarCaption::Plain(control->Caption()), row);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    return row;
}

void CommandBarMenu::Fill() {
    for (const auto& owned : m_bar->Controls()) {
        CommandBarControl* control = owned.get();
        Entry entry{control, nullptr, nullptr};
        if (control->BeginGroup())
            entry.separator = addSeparator();
        if (control->IsPopup() && control->GetCommandBar()) {
            CommandBar* subBar = control->GetCommandBar();
            auto* sub = new CommandBarMenu(m_owner, subBar, m_chooser, this);
            sub->setTitle(control->Caption());
            connect(sub, &QMenu::aboutToShow, this, [this, sub, subBar] {
                if (!m_owner)
                    return;
                emit m_owner->InitCommandsPopup(subBar);
                m_owner->UpdateBar(subBar);
                sub->SyncStates();
            });
            entry.action = addMenu(sub);
        } else {
            switch (control->GetType()) {
                case CommandBarControl::Label: {
                    auto* action = new QWidgetAction(this);
                    auto* label = new QLabel(this);
                    label->setContentsMargins(8, 3, 8, 3);
                    QFont bold = label->font();
                    bold.setBold(true);
                    label->setFont(bold);
                    action->setDefaultWidget(label);
                    addAction(action);
                    entry.action = action;
                    break;
                }
                case CommandBarControl::Edit: {
                    auto* edit = static_cast<CommandBarEdit*>(control);
                    auto* action = new QWidgetAction(this);
                    QWidget* row = EditRow(control);
                    auto* line = new QLineEdit(row);
                    line->setText(edit->Text());
                    line->setFixedWidth(control->Width() > 0 ? control->Width() : 60);
                    row->layout()->addWidget(line);
                    connect(line, &QLineEdit::returnPressed, this, [this, edit, line] {
                        if (!m_owner || !m_owner->Contains(edit))
                            return;
                        edit->SetText(line->text());
                        Choose(edit);
                        CloseAll();
                    });
                    action->setDefaultWidget(row);
                    addAction(action);
                    entry.action = action;
                    break;
                }
                case CommandBarControl::ComboBox: {
                    auto* combo = static_cast<CommandBarComboBox*>(control);
                    auto* action = new QWidgetAction(this);
                    QWidget* row = EditRow(control);
                    auto* box = new QComboBox(row);
                    for (int i = 1; i <= combo->ListCount(); ++i) box->addItem(combo->List(i));
                    box->setCurrentIndex(combo->ListIndex() - 1);
                    if (control->Width() > 0)
                        box->setFixedWidth(control->Width());
                    row->layout()->addWidget(box);
                    connect(box, QOverload<int>::of(&QComboBox::activated), this, [this, combo](int index) {
                        if (!m_owner || !m_owner->Contains(combo))
                            return;
                        combo->SetListIndex(index + 1);
                        Choose(combo);
                        CloseAll();
                    });
                    action->setDefaultWidget(row);
                    addAction(action);
                    entry.action = action;
                    break;
                }
                case CommandBarControl::Gallery: {
                    auto* gallery = static_cast<CommandBarGallery*>(control);
                    auto* action = new QWidgetAction(this);
                    auto* view = new CommandBarGalleryWidget(m_owner, gallery, true, this);
                    connect(view, &CommandBarGalleryWidget::ItemChosen, this,
                            [this, gallery](CommandBarGalleryItem* item) {
                                if (!m_owner || !m_owner->Contains(gallery))
                                    return;
                                gallery->SetSelectedItem(item);
                                Choose(gallery);
                                CloseAll();
                            });
                    action->setDefaultWidget(view);
                    addAction(action);
                    entry.action = action;
                    break;
                }
                case CommandBarControl::Custom: {
                    auto* action = new CommandBarHostedAction(static_cast<CommandBarCustom*>(control), this);
                    addAction(action);
                    entry.action = action;
                    break;
                }
                default: {
                    QAction* action = addAction(control->Caption());
                    connect(action, &QAction::triggered, this, [this, control] { Choose(control); });
                    entry.action = action;
                    break;
                }
            }
        }
        entry.action->setProperty("commandId", control->Id());
        m_entries.push_back(entry);
    }
}

void CommandBarMenu::SyncStates() {
    bool anyVisibleBefore = false;
    for (const Entry& entry : m_entries) {
        CommandBarControl* control = entry.control;
        // A control taken off its bar while the menu is open keeps its last look.
        if (!m_owner || !m_owner->Contains(control))
            continue;
        QAction* action = entry.action;
        const bool visible = control->Visible();
        if (entry.separator)
            entry.separator->setVisible(visible && anyVisibleBefore);
        anyVisibleBefore = anyVisibleBefore || visible;
        action->setVisible(visible);
        action->setEnabled(control->Enabled());
        action->setProperty("commandId", control->Id());
        auto* widgetAction = qobject_cast<QWidgetAction*>(action);
        if (!widgetAction) {
            action->setText(control->Caption());
            if (action->menu())
                action->menu()->setTitle(control->Caption());
            const QPixmap icon = m_owner ? m_owner->Icons().Icon(control->IconId()) : QPixmap();
            action->setIcon(icon.isNull() ? QIcon() : QIcon(icon));
            // Only a checked item shows a check box, as command menus do.
            action->setCheckable(control->Checked());
            action->setChecked(control->Checked());
            continue;
        }
        QWidget* widget = widgetAction->defaultWidget();
        if (!widget)
            continue;
        if (control->GetType() == CommandBarControl::Label) {
            static_cast<QLabel*>(widget)->setText(CommandBarCaption::Plain(control->Caption()));
        } else if (control->GetType() == CommandBarControl::Edit) {
            if (auto* line = widget->findChild<QLineEdit*>(); line && !line->hasFocus())
                line->setText(static_cast<CommandBarEdit*>(control)->Text());
        } else if (control->GetType() == CommandBarControl::Gallery) {
            static_cast<CommandBarGalleryWidget*>(widget)->Refresh();
        }
        widget->setEnabled(control->Enabled());
    }
}
