#pragma once

#include "platform/CommandBar.h"
#include "platform/RibbonBarWidget.h"
#include "platform/StatusBarWidget.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "platform/CommandBarControl.h"
class CommandBarGalleryItems;
class CommandBarImageManager;
class CommandBarMenu;
class KeyBindings;
class QAction;
class QMenu;
class RibbonBar;
class StatusBar;

// The command bars of one owning widget: its ribbon (drawn along the owner's top), popup and drop-down bars,
// the status bar (along the bottom), key bindings and icons. Everything runs on the UI thread; the
// notifications are signals.
//
//   RibbonBar* ribbon = bars.AddRibbonBar("The Ribbon");
//   RibbonTab* tab = ribbon->InsertTab(1, "Staging");  tab->SetId(50000);
//   RibbonGroup* group = tab->AddGroup("&Images", 51000);
//   CommandBarControl* file = group->Controls().Add(CommandBarControl::ButtonPopup, 51002, "   Image File   ");
//   file->GetCommandBar()->Controls().Add(CommandBarControl::Button, 51003, "&Open...")->SetIconId(4009);
//   auto* items = bars.CreateGalleryItems(51001);  items->SetItemSize(72, 56);  items->AddLabel("My Pictures");
//   auto* gallery = static_cast<CommandBarGallery*>(group->Controls().Add(CommandBarControl::Gallery, 51001, ""));
//   gallery->SetItems(items);  gallery->SetCommandBar(bars.Add("MyPictures", CommandBar::Popup));
//   static_cast<CommandBarCustom*>(group->Controls().Add(CommandBarControl::Custom, 15401, "Color"))->SetHandle(box);
//   connect(&bars, &CommandBars::Execute, ...);  connect(&bars, &CommandBars::Update, ...);
//   popupBar->ShowPopup();  // at the pointer; InitCommandsPopup and Update come first
class CommandBars : public QObject {
    Q_OBJECT
public:
    // The id of the command reported when a person selects a ribbon tab.
    static constexpr int TabSelectedCommand = 9604;

    explicit CommandBars(QWidget* owner);
    ~CommandBars() override;

    QWidget* OwnerWidget() const { return m_owner; }

    // Makes the ribbon, which becomes the active menu bar; only one is made.
    RibbonBar* AddRibbonBar(const QString& name);
    RibbonBar* Ribbon() const { return m_ribbon.get(); }
    // The ribbon once there is one; before that a plain menu bar that is never drawn.
    CommandBar* ActiveMenuBar() const;
    // Adds a bar of its own (a popup "Popup", a gallery's drop-down, a combo's drop-down); the command bars own it.
    CommandBar* Add(const QString& name, CommandBar::Position position);
    int Count() const { return static_cast<int>(m_bars.size()); }
    CommandBar* Item(int index) const;

    // The first control with the id: the active menu bar first, then the added bars in order; depth first.
    CommandBarControl* FindControl(int id) const;

    // An item set for galleries, kept by the command bars.
    CommandBarGalleryItems* CreateGalleryItems(int id);

    StatusBar& GetStatusBar() const { return *m_statusBar; }
    KeyBindings& GetKeyBindings() const { return *m_keyBindings; }
    // The icon list of the controls, looked up by icon id; two command bars may share one.
    CommandBarImageManager& Icons() const { return *m_icons; }
    std::shared_ptr<CommandBarImageManager> SharedIcons() const { return m_icons; }
    void SetIcons(std::shared_ptr<CommandBarImageManager> icons);

    // The part of the owner that the ribbon and the status bar leave free, in the owner's pixels; right and
    // bottom lie just outside, so width is right - left.
    void GetClientRect(int& left, int& top, int& right, int& bottom) const;

    // Brings everything drawn up to date with the controls now (it is otherwise done from the event loop).
    void RecalcLayout();

    // Runs a control as a click would: nothing for a disabled or hidden one. Reports Execute, then asks Update
    // for the ribbon's visible controls. Returns whether it ran.
    bool ExecuteControl(CommandBarControl* control);
    // Runs the first control with the id as a key binding does: nothing when that control is disabled; an id
    // without a control is reported with a control of that id made for it.
    bool ExecuteCommand(int id);
    // Asks Update for every visible control of the ribbon (the selected tab's groups and the quick-access bar).
    void UpdateRibbon();
    // Asks the same from the event loop, once, unless an Execute has asked in the meantime: the ribbon's first
    // showing and a change of tab take the states of the controls they bring into view.
    void ScheduleRibbonUpdate();
    // Asks Update for every visible control of a bar.
    void UpdateBar(CommandBar* bar);

    // Test seam for popup menus: while set, a popup is built and handed to the hook in place of being run
    // modally; the hook may look at it, show it without blocking (QMenu::popup), trigger one of its actions,
    // then return. The chosen control is executed as after a real menu.
    using PopupHook = std::function<void(CommandBar& bar, QMenu& menu)>;
    static void SetPopupHook(PopupHook hook);
    // The action of a control in a menu built from a bar, searching its submenus; none when absent.
    static QAction* FindAction(const QMenu& menu, int id);

    // The widget that draws the ribbon; none before AddRibbonBar.
    RibbonBarWidget* RibbonView() const { return m_ribbonView; }
    StatusBarWidget* StatusBarView() const { return m_statusView; }

    // Used by the bars, controls and views of this layer.
    void NotifyChanged(bool structure);
    void StatusBarChanged(bool structure);
    void RunPopup(CommandBar* bar, const QPoint& globalPos);
    void RunPopupBelow(CommandBar* bar, QWidget* anchor);
    // Whether a popup menu is running (its modal loop is on the stack).
    bool PopupRunning() const { return m_popupDepth > 0; }
    // Runs a control from the event loop, once the widget that asked has finished its own event.
    void PostExecute(CommandBarControl* control);
    void RegisterMenu(CommandBarMenu* menu);
    void UnregisterMenu(CommandBarMenu* menu);
    // Whether the control still belongs to one of these bars.
    bool Contains(const CommandBarControl* control) const;

signals:
    void Execute(CommandBarControl* control);
    void Update(CommandBarControl* control);
    void InitCommandsPopup(CommandBar* bar);
    void Resize();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs a member from the event loop once while its flag is set.
    void PostOnce(bool& pending, void (CommandBars::*run)());
    void ScheduleRefresh();
    void PlaceBars();
    void EmitUpdates(const CommandBarControls& controls);
    CommandBarControl* CommandControl(int id);
    // Raises Execute for the control, then the Update round that follows every command.
    void RunExecute(CommandBarControl* control);

    QPointer<QWidget> m_owner;
    std::unique_ptr<CommandBar> m_menuBar;
    std::unique_ptr<RibbonBar> m_ribbon;
    std::vector<std::unique_ptr<CommandBar>> m_bars;
    std::vector<std::unique_ptr<CommandBarGalleryItems>> m_itemSets;
    // Controls made for commands that no control carries (a key binding's id, the tab command).
    std::unique_ptr<CommandBar> m_commands;
    std::unique_ptr<StatusBar> m_statusBar;
    std::unique_ptr<KeyBindings> m_keyBindings;
    std::shared_ptr<CommandBarImageManager> m_icons;
    QPointer<RibbonBarWidget> m_ribbonView;
    QPointer<StatusBarWidget> m_statusView;
    std::vector<CommandBarMenu*> m_menus;
    bool m_refreshPending = false;
    bool m_ribbonUpdatePending = false;
    bool m_structureChanged = false;
    int m_popupDepth = 0;
    QRect m_lastClient;
};
