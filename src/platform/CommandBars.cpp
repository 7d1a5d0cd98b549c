#include "platform/CommandBars.h"

#include "platform/CommandBarControl.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBarMenu.h"
#include "platform/KeyBindings.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonBarWidget.h"
#include "platform/StatusBar.h"
#include "platform/StatusBarWidget.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace {
CommandBars::PopupHook& popupHook() {
    static CommandBars::PopupHook hook;
    return hook;
}

bool barContains(const CommandBar* bar, const CommandBarControl* control);

bool listContains(const CommandBarControls& controls, const CommandBarControl* control) {
    for (const auto& c : controls) {
        if (c.get() == control)
            return true;
        if (c->IsPopup() && barContains(c->GetCommandBar(), control))
            return true;
    }
    return false;
}

bool barContains(const CommandBar* bar, const CommandBarControl* control) {
    if (!bar)
        return false;
    if (listContains(bar->Controls(), control))
        return true;
    if (const auto* ribbon = dynamic_cast<const RibbonBar*>(bar)) {
        if (const CommandBarControl* system = ribbon->SystemButton())
            if (system == control || barContains(system->GetCommandBar(), control))
                return true;
        for (int t = 0; t < ribbon->TabCount(); ++t)
            for (int g = 0; g < ribbon->Tab(t)->GroupCount(); ++g)
                if (listContains(ribbon->Tab(t)->Group(g)->Controls(), control))
                    return true;
        if (listContains(ribbon->QuickAccessControls(), control))
            return true;
    }
    return false;
}
}  // namespace

CommandBars::CommandBars(QWidget* owner)
    : m_owner(owner),
      m_menuBar(std::make_unique<CommandBar>(this, QStringLiteral("Menu Bar"), CommandBar::Top)),
      m_commands(std::make_unique<CommandBar>(this, QStringLiteral("Commands"), CommandBar::Top)),
      m_statusBar(std::make_unique<StatusBar>(this)),
      m_keyBindings(std::make_unique<KeyBindings>(this)),
      m_icons(std::make_shared<CommandBarImageManager>()) {
    if (m_owner)
        m_owner->installEventFilter(this);
}

CommandBars::~CommandBars() {
    for (CommandBarMenu* menu : m_menus) menu->Detach();
    m_menus.clear();
    if (m_owner)
        m_owner->removeEventFilter(this);
    // The views give the owner's hosted widgets back before they go.
    delete m_ribbonView.data();
    delete m_statusView.data();
    m_keyBindings.reset();
}

RibbonBar* CommandBars::AddRibbonBar(const QString& name) {
    if (m_ribbon)
        return m_ribbon.get();
    m_ribbon = std::make_unique<RibbonBar>(this, name);
    if (m_owner) {
        m_ribbonView = new RibbonBarWidget(this, m_ribbon.get(), m_owner);
        m_ribbonView->show();
        m_ribbonView->raise();
    }
    NotifyChanged(true);
    ScheduleRibbonUpdate();
    return m_ribbon.get();
}

CommandBar* CommandBars::ActiveMenuBar() const {
    if (m_ribbon)
        return m_ribbon.get();
    return m_menuBar.get();
}

CommandBar* CommandBars::Add(const QString& name, CommandBar::Position position) {
    m_bars.push_back(std::make_unique<CommandBar>(this, name, position));
    return m_bars.back().get();
}

CommandBar* CommandBars::Item(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_bars[static_cast<size_t>(index)].get();
}

CommandBarControl* CommandBars::FindControl(int id) const {
    if (CommandBarControl* found = ActiveMenuBar()->FindControl(id))
        return found;
    for (const auto& bar : m_bars)
        if (CommandBarControl* found = bar->FindControl(id))
            return found;
    return nullptr;
}

CommandBarGalleryItems* CommandBars::CreateGalleryItems(int id) {
    m_itemSets.push_back(std::make_unique<CommandBarGalleryItems>(this, id));
    return m_itemSets.back().get();
}

void CommandBars::SetIcons(std::shared_ptr<CommandBarImageManager> icons) {
    m_icons = icons ? std::move(icons) : std::make_shared<CommandBarImageManager>();
    NotifyChanged(true);
}

void CommandBars::GetClientRect(int& left, int& top, int& right, int& bottom) const {
    left = top = right = bottom = 0;
    if (!m_owner)
        return;
    right = m_owner->width();
    bottom = m_owner->height();
    if (m_ribbonView && m_ribbon && m_ribbon->Visible())
        top = m_ribbonView->sizeHint().height();
    if (m_statusView && m_statusBar->Visible())
        bottom -= m_statusView->sizeHint().height();
    bottom = std::max(bottom, top);
}

void CommandBars::NotifyChanged(bool structure) {
    m_structureChanged = m_structureChanged || structure;
    ScheduleRefresh();
}

void CommandBars::StatusBarChanged(bool structure) {
    if (!m_statusView && m_owner && m_statusBar->Visible()) {
        m_statusView = new StatusBarWidget(m_statusBar.get(), m_owner);
        m_statusView->show();
        m_statusView->raise();
    }
    if (m_statusView)
        m_statusView->Sync(structure);
    if (structure)
        PlaceBars();
}

void CommandBars::PostOnce(bool& pending, void (CommandBars::*run)()) {
    if (pending)
        return;
    pending = true;
    // The run clears the flag itself, so one that happened meanwhile makes the posted one a no-op.
    QTimer::singleShot(0, this, [this, &pending, run] {
        if (pending)
            (this->*run)();
    });
}

void CommandBars::ScheduleRefresh() { PostOnce(m_refreshPending, &CommandBars::RecalcLayout); }

void CommandBars::RecalcLayout() {
    m_refreshPending = false;
    // The bars take their places first: the ribbon's groups are sized for its width, so they are drawn once, for
    // the width they get.
    PlaceBars();
    // An open menu may be running inside a ribbon widget's event; rebuilding waits until it closed.
    const bool rebuild = m_structureChanged && m_popupDepth == 0;
    if (m_ribbonView) {
        if (rebuild) {
            m_ribbonView->Rebuild();
        } else if (!m_structureChanged) {
            m_ribbonView->SyncStates();
        }
    }
    for (CommandBarMenu* menu : m_menus) menu->SyncStates();
    if (rebuild)
        m_structureChanged = false;
}

void CommandBars::PlaceBars() {
    if (!m_owner)
        return;
    int left, top, right, bottom;
    GetClientRect(left, top, right, bottom);
    if (m_ribbonView) {
        m_ribbonView->setVisible(m_ribbon->Visible());
        m_ribbonView->setGeometry(0, 0, m_owner->width(), top);
    }
    if (m_statusView) {
        m_statusView->setVisible(m_statusBar->Visible());
        const int height = m_statusView->sizeHint().height();
        m_statusView->setGeometry(0, m_owner->height() - height, m_owner->width(), height);
    }
    const QRect client(left, top, right - left, bottom - top);
    if (client != m_lastClient) {
        m_lastClient = client;
        emit Resize();
    }
}

bool CommandBars::eventFilter(QObject* watched, QEvent* event) {
    // PlaceBars reports Resize whenever the free rectangle changed, which every new size of the owner does.
    if (watched == m_owner && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        PlaceBars();
    return QObject::eventFilter(watched, event);
}

bool CommandBars::ExecuteControl(CommandBarControl* control) {
    if (!control || !control->Enabled() || !control->Visible())
        return false;
    RunExecute(control);
    return true;
}

void CommandBars::RunExecute(CommandBarControl* control) {
    // A handler may delete these command bars (closing their window); then nothing is left to update.
    QPointer<CommandBars> self(this);
    // A command chosen in a dropped-down group ends the drop-down, as a menu closes on its choice.
    if (m_ribbonView)
        m_ribbonView->CloseGroupPopup();
    emit Execute(control);
    if (self)
        UpdateRibbon();
}

CommandBarControl* CommandBars::CommandControl(int id) {
    for (const auto& control : m_commands->Controls())
        if (control->Id() == id)
            return control.get();
    return m_commands->Controls().Add(CommandBarControl::Button, id, QString(), -1, true);
}

bool CommandBars::ExecuteCommand(int id) {
    CommandBarControl* control = FindControl(id);
    if (!control)
        control = CommandControl(id);
    if (!control->Enabled())
        return false;
    RunExecute(control);
    return true;
}

void CommandBars::EmitUpdates(const CommandBarControls& controls) {
    // Update handlers may change the list (rare, but a handler is free to); walk a copy, skipping what a handler
    // took away.
    std::vector<CommandBarControl*> visible;
    for (const auto& control : controls)
        if (control->Visible())
            visible.push_back(control.get());
    QPointer<CommandBars> self(this);
    for (CommandBarControl* control : visible) {
        if (!Contains(control))
            continue;
        emit Update(control);
        if (!self)
            return;
    }
}

void CommandBars::UpdateRibbon() {
    m_ribbonUpdatePending = false;
    if (!m_ribbon)
        return;
    if (RibbonTab* tab = m_ribbon->SelectedTab())
        for (int g = 0; g < tab->GroupCount(); ++g)
            if (tab->Group(g)->Visible())
                EmitUpdates(tab->Group(g)->Controls());
    EmitUpdates(m_ribbon->QuickAccessControls());
}

void CommandBars::ScheduleRibbonUpdate() { PostOnce(m_ribbonUpdatePending, &CommandBars::UpdateRibbon); }

void CommandBars::UpdateBar(CommandBar* bar) {
    if (bar)
        EmitUpdates(bar->Controls());
}

void CommandBars::SetPopupHook(PopupHook hook) { popupHook() = std::move(hook); }

QAction* CommandBars::FindAction(const QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->property("commandId").isValid() &&
            action->property("commandId").toInt() == id)
            return action;
        if (action->menu())
            if (QAction* found = FindAction(*action->menu(), id))
                return found;
    }
    return nullptr;
}

void CommandBars::RunPopup(CommandBar* bar, const QPoint& globalPos) {
    if (!bar)
        return;
    QPointer<CommandBars> self(this);
    emit InitCommandsPopup(bar);
    if (!self)
        return;
    UpdateBar(bar);
    if (!self)
        return;
    CommandBarControl* chosen = nullptr;
    ++m_popupDepth;
    // On the heap: the menu is a child of the owner, which may be deleted while the menu runs, and takes the menu
    // with it.
    QPointer<CommandBarMenu> menu = new CommandBarMenu(
        this, bar, [&chosen](CommandBarControl* control) { chosen = control; }, m_owner);
    if (popupHook())
        popupHook()(*bar, *menu);
    else
        menu->exec(globalPos);
    delete menu.data();
    if (!self)
        return;
    --m_popupDepth;
    if (m_structureChanged)
        ScheduleRefresh();
    if (m_ribbonView && m_ribbonView->RefitPending())
        m_ribbonView->ScheduleRefit();
    if (chosen)
        PostExecute(chosen);
}

void CommandBars::RunPopupBelow(CommandBar* bar, QWidget* anchor) {
    QPointer<QWidget> guard(anchor);
    QTimer::singleShot(0, this, [this, bar, guard] {
        if (!guard)
            return;
        RunPopup(bar, guard->mapToGlobal(QPoint(0, guard->height())));
        if (guard)
            if (auto* button = qobject_cast<QAbstractButton*>(guard.data()))
                button->setDown(false);
    });
}

void CommandBars::PostExecute(CommandBarControl* control) {
    QTimer::singleShot(0, this, [this, control] {
        if (Contains(control))
            ExecuteControl(control);
    });
}

void CommandBars::RegisterMenu(CommandBarMenu* menu) { m_menus.push_back(menu); }

void CommandBars::UnregisterMenu(CommandBarMenu* menu) {
    m_menus.erase(std::remove(m_menus.begin(), m_menus.end(), menu), m_menus.end());
}

bool CommandBars::Contains(const CommandBarControl* control) const {
    if (!control)
        return false;
    if (barContains(m_menuBar.get(), control) || barContains(m_ribbon.get(), control) ||
        barContains(m_commands.get(), control))
        return true;
    for (const auto& bar : m_bars)
        if (barContains(bar.get(), control))
            return true;
    return false;
}
