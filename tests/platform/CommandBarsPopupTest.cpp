#include "platform/CommandBarCustom.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBars.h"
#include "platform/KeyBindings.h"
#include "platform/RibbonBar.h"
#include "platform/StatusBar.h"
#include "support/CommandBarsSliderBox.h"
#include "support/ScriptedPopup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSlider>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Type = CommandBarControl::Type;

void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// A swatch with its own command bars and a right-click popup of the usual shapes.
struct Swatch {
    QWidget widget;
    CommandBarsSliderBox* picColor = new CommandBarsSliderBox(&widget);
    CommandBars bars{&widget};
    CommandBar* popup = nullptr;
    std::vector<QString> events;
    std::vector<int> executed;

    Swatch() {
        bars.ActiveMenuBar()->SetVisible(false);
        popup = bars.Add("Popup", CommandBar::Popup);
        CommandBarControls& items = popup->Controls();
        items.Add(Type::Button, 30006, "&Keep it!");
        items.Add(Type::Button, 30003, "&Fix it!");
        items.Add(Type::Button, 30000, "")->SetBeginGroup(true);
        items.Add(Type::Button, 4003, "Cop&y Image")->SetBeginGroup(true);
        CommandBarControl* adjust = items.Add(Type::Popup, 40000, "Adj&ust Color");
        static_cast<CommandBarCustom*>(adjust->GetCommandBar()->Controls().Add(Type::Custom, 40001, "&Adjust"))
            ->SetHandle(picColor);
        items.Add(Type::Button, 30005, "&Remove Image")->SetBeginGroup(true);
        items.Add(Type::Button, 60003, "Add &Black && White");
        QObject::connect(&bars, &CommandBars::InitCommandsPopup, [this](CommandBar* bar) {
            events.push_back("open " + bar->Name());
            if (bar == popup) {
                bar->FindControl(30000)->SetCaption("Copy RGB: (1, 2, 3)");
                bar->FindControl(30005)->SetEnabled(false);
            }
        });
        QObject::connect(&bars, &CommandBars::Update,
                         [this](CommandBarControl* c) { events.push_back("update " + QString::number(c->Id())); });
        QObject::connect(&bars, &CommandBars::Execute, [this](CommandBarControl* c) { executed.push_back(c->Id()); });
    }
};

TEST(PopupMenu, OpensWithFreshStatesAndRunsThePickAfterItClosed) {
    Swatch s;
    s.popup->FindControl(30003)->SetChecked(true);
    s.popup->FindControl(30006)->SetVisible(false);
    ScriptedPopup popups({30003});
    s.popup->ShowPopup(QPoint(10, 10));
    // Opening is announced, then each visible control is asked for its state, before the menu is built.
    const std::vector<QString> opening = {"open Popup",   "update 30003", "update 30000", "update 4003",
                                          "update 40000", "update 30005", "update 60003"};
    EXPECT_EQ(s.events, opening);
    ASSERT_EQ(popups.Shown().size(), 1u);
    const std::vector<PopupLine>& lines = popups.Shown()[0];
    std::vector<QString> texts;
    for (const PopupLine& line : lines) texts.push_back(line.separator ? "-" : line.text);
    const std::vector<QString> expected = {
        "&Fix it!",           "-", "Copy RGB: (1, 2, 3)", "-", "Cop&y Image", "Adj&ust Color", "-", "&Remove Image",
        "Add &Black && White"};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(lines[0].checked);
    EXPECT_FALSE(lines[2].checked);
    EXPECT_TRUE(lines[5].submenu);
    EXPECT_FALSE(lines[7].enabled);
    // The pick runs from the event loop, once the menu is gone.
    EXPECT_TRUE(s.executed.empty());
    Settle();
    EXPECT_EQ(s.executed, (std::vector<int>{30003}));
}

TEST(PopupMenu, APickWhoseControlWentAwayDoesNotRun) {
    Swatch s;
    ScriptedPopup popups({4003});
    s.popup->ShowPopup(QPoint(10, 10));
    s.popup->Controls().DeleteAll();
    Settle();
    EXPECT_TRUE(s.executed.empty());
}

TEST(PopupMenu, AnOwnerDeletedWhileItsMenuIsOpenEndsTheRunQuietly) {
    auto* owner = new QWidget;
    auto* bars = new CommandBars(owner);
    bars->setParent(owner);
    CommandBar* popup = bars->Add("Popup", CommandBar::Popup);
    popup->Controls().Add(Type::Button, 4003, "Cop&y Image");
    bool executed = false;
    QObject::connect(bars, &CommandBars::Execute, [&](CommandBarControl*) { executed = true; });
    QPointer<QWidget> alive(owner);
    ScriptedPopup popups;
    popups.SetInspector([&](CommandBar&, QMenu& menu) {
        menu.popup(QPoint(0, 0));
        delete owner;
    });
    popup->ShowPopup(QPoint(0, 0));
    Settle();
    EXPECT_TRUE(alive.isNull());
    EXPECT_FALSE(executed);
}

TEST(PopupMenu, AnUpdateHandlerThatTakesControlsAwayIsNotAskedAboutThem) {
    Swatch s;
    QObject::connect(&s.bars, &CommandBars::Update, [&s](CommandBarControl* c) {
        if (c->Id() == 30003)
            s.popup->Controls().Remove(s.popup->FindControl(4003));
    });
    ScriptedPopup popups({0});
    s.popup->ShowPopup(QPoint(10, 10));
    const std::vector<QString> opening = {"open Popup",   "update 30006", "update 30003", "update 30000",
                                          "update 40000", "update 30005", "update 60003"};
    EXPECT_EQ(s.events, opening);
}

TEST(PopupMenu, AnOpenMenuFollowsCaptionChanges) {
    Swatch s;
    ScriptedPopup popups({0});
    QString shown;
    popups.SetInspector([&](CommandBar& bar, QMenu& menu) {
        bar.FindControl(30000)->SetCaption("Copy RGB: (9, 9, 9)");
        s.bars.RecalcLayout();
        shown = CommandBars::FindAction(menu, 30000)->text();
    });
    s.popup->ShowPopup(QPoint(10, 10));
    EXPECT_EQ(shown, "Copy RGB: (9, 9, 9)");
    Settle();
    EXPECT_TRUE(s.executed.empty());
}

// Saves a picture of the widget when TINDRAL_SNAPSHOT_DIR names a folder, for a person to look at.
void Snapshot(QWidget* widget, const QString& name) {
    const QByteArray dir = qgetenv("TINDRAL_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        widget->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

// Delivers an event the way the window system does: to the popup's window, which hands it on.
void SendToWindow(QWidget* popup, QEvent* event) { QApplication::sendEvent(popup->windowHandle(), event); }

TEST(PopupMenu, AHostedSliderBoxInASubmenuWorksWithKeyboardAndMouse) {
    Swatch s;
    s.widget.show();
    ScriptedPopup popups({0});
    QSlider* red = s.picColor->sliders[0];
    QSlider* blue = s.picColor->sliders[2];
    popups.SetInspector([&](CommandBar&, QMenu& menu) {
        menu.popup(QPoint(20, 20));
        Settle();
        ASSERT_TRUE(menu.isVisible());
        // The access key opens "Adj&ust Color".
        QKeyEvent u(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, "u");
        SendToWindow(&menu, &u);
        Settle();
        auto* sub = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(sub, nullptr);
        ASSERT_NE(sub, &menu);
        EXPECT_TRUE(sub->isAncestorOf(s.picColor));
        EXPECT_TRUE(s.picColor->isVisible());
        EXPECT_EQ(s.events.back(), "update 40001");  // the submenu's own controls were asked for too
        // Down selects the hosted box, which takes the focus; arrows then move the slider.
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        SendToWindow(sub, &down);
        Settle();
        ASSERT_TRUE(red->hasFocus());
        for (int i = 0; i < 3; ++i) {
            QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
            SendToWindow(sub, &right);
        }
        const int moved = red->value();
        EXPECT_GT(moved, 100);
        QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
        SendToWindow(sub, &left);
        EXPECT_EQ(red->value(), moved - 1);
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        SendToWindow(sub, &tab);
        EXPECT_TRUE(s.picColor->sliders[1]->hasFocus());
        // A click on the far end of the blue slider's groove pages it up.
        const QPoint at = blue->mapTo(sub, QPoint(blue->width() - 3, blue->height() / 2));
        const QPointF global = sub->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        SendToWindow(sub, &press);
        SendToWindow(sub, &release);
        Settle();
        EXPECT_GT(blue->value(), 100);
        EXPECT_TRUE(sub->isVisible()) << "a click inside the box must not close the menu";
        Snapshot(&menu, "popup-swatch");
        Snapshot(sub, "popup-adjust");
        menu.close();
    });
    s.popup->ShowPopup(QPoint(20, 20));
    // The box outlives the menu and is back with its swatch, hidden; a second popup lends it again.
    EXPECT_EQ(s.picColor->parentWidget(), &s.widget);
    EXPECT_FALSE(s.picColor->isVisible());
    ScriptedPopup again({0});
    again.SetInspector([&](CommandBar&, QMenu& menu) {
        QMenu* sub = CommandBars::FindAction(menu, 40000)->menu();
        sub->popup(QPoint(30, 30));
        Settle();
        EXPECT_TRUE(sub->isAncestorOf(s.picColor));
        sub->close();
    });
    s.popup->ShowPopup(QPoint(20, 20));
    EXPECT_EQ(s.picColor->parentWidget(), &s.widget);
    Settle();
    EXPECT_TRUE(s.executed.empty());
}

TEST(PopupMenu, AnEditBoxTakesTheTypedTextAndRunsOnReturn) {
    QWidget owner;
    CommandBars bars(&owner);
    CommandBar* lines = bars.Add("Lines", CommandBar::Popup);
    lines->Controls().Add(Type::Label, 51300, "Line width");
    lines->Controls().Add(Type::Button, 51300, "5")->SetParameter("5");
    auto* other = static_cast<CommandBarEdit*>(lines->Controls().Add(Type::Edit, 51300, "Other: "));
    std::vector<CommandBarControl*> executed;
    QObject::connect(&bars, &CommandBars::Execute, [&](CommandBarControl* c) { executed.push_back(c); });
    ScriptedPopup popups;
    popups.SetInspector([](CommandBar&, QMenu& menu) {
        auto* line = menu.findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(menu.findChild<QLabel*>()->text(), "Line width");
        menu.popup(QPoint(0, 0));
        line->setText("150");
        emit line->returnPressed();
        EXPECT_FALSE(menu.isVisible());
    });
    lines->ShowPopup(QPoint(0, 0));
    Settle();
    ASSERT_EQ(executed.size(), 1u);
    EXPECT_EQ(executed[0], other);
    EXPECT_EQ(other->Text(), "150");
}

// Key bindings, status bar, client rectangle ------------------------------------------------------------------

struct MainWindow {
    QWidget window;
    CommandBars bars{&window};
    RibbonBar* ribbon = bars.AddRibbonBar("The Ribbon");
    std::vector<int> executed;

    MainWindow() {
        window.resize(800, 600);
        CommandBarControls& menu = ribbon->AddSystemButton()->GetCommandBar()->Controls();
        for (const auto& [id, caption] :
             {std::pair{4008, "&New"}, {4009, "&Open..."}, {4010, "&Save"}, {4011, "&Print"}})
            menu.Add(Type::Button, id, caption);
        ribbon->InsertTab(0, "Selection")->AddGroup("&Create Colors", 15001)->Controls().Add(Type::Button, 15003, "x");
        KeyBindings& keys = bars.GetKeyBindings();
        keys.Add(KeyBindings::Control, 'N', 4008);
        keys.Add(KeyBindings::Control, 'O', 4009);
        keys.Add(KeyBindings::Control, 'S', 4010);
        keys.Add(KeyBindings::Control, 'P', 4011);
        QObject::connect(&bars, &CommandBars::Execute, [this](CommandBarControl* c) { executed.push_back(c->Id()); });
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        Settle();
    }

    void Press(int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&window, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(&window, &release);
    }
};

TEST(KeyBindingsOfTheWindow, CtrlLettersReachExecuteUnlessTheCommandIsDisabled) {
    MainWindow w;
    ASSERT_EQ(QApplication::activeWindow(), &w.window);
    w.Press(Qt::Key_N, Qt::ControlModifier);
    w.Press(Qt::Key_O, Qt::ControlModifier);
    w.Press(Qt::Key_S, Qt::ControlModifier);
    w.Press(Qt::Key_P, Qt::ControlModifier);
    w.Press(Qt::Key_Q, Qt::ControlModifier);  // not bound
    w.Press(Qt::Key_N, Qt::NoModifier);       // no Ctrl
    EXPECT_EQ(w.executed, (std::vector<int>{4008, 4009, 4010, 4011}));
    EXPECT_EQ(w.bars.GetKeyBindings().FindCommand(KeyBindings::Control, 'S'), 4010);

    w.executed.clear();
    w.ribbon->FindControl(4009)->SetEnabled(false);
    w.Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(w.executed.empty());
    // A bound id that no control carries still reaches Execute.
    w.bars.GetKeyBindings().Add(KeyBindings::Control, 'H', 4000);
    w.Press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(w.executed, (std::vector<int>{4000}));
}

TEST(ClientRect, IsWhatTheRibbonAndTheStatusBarLeaveAndResizeIsReported) {
    MainWindow w;
    int resizes = 0;
    QObject::connect(&w.bars, &CommandBars::Resize, [&] { ++resizes; });
    StatusBar& status = w.bars.GetStatusBar();
    status.SetVisible(true);
    status.AddPane(0);
    status.AddPane(59137);
    status.SetPaneText(0, " Ready");
    w.bars.RecalcLayout();
    const int ribbonHeight = w.bars.RibbonView()->height();
    const int statusHeight = w.bars.StatusBarView()->height();
    EXPECT_GT(ribbonHeight, 60);
    EXPECT_GT(statusHeight, 10);
    EXPECT_EQ(w.bars.StatusBarView()->geometry().bottom(), 599);
    EXPECT_EQ(w.bars.StatusBarView()->PaneLabel(0)->text(), " Ready");
    int left, top, right, bottom;
    w.bars.GetClientRect(left, top, right, bottom);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, ribbonHeight);
    EXPECT_EQ(right, 800);
    EXPECT_EQ(bottom, 600 - statusHeight);
    EXPECT_GE(resizes, 1);

    resizes = 0;
    w.window.resize(900, 700);
    Settle();
    EXPECT_EQ(resizes, 1) << "one notification for one resize of the window";
    w.bars.GetClientRect(left, top, right, bottom);
    EXPECT_EQ(right, 900);
    EXPECT_EQ(bottom, 700 - statusHeight);
    EXPECT_EQ(w.bars.RibbonView()->width(), 900);

    resizes = 0;
    status.SetVisible(false);
    w.bars.GetClientRect(left, top, right, bottom);
    EXPECT_EQ(bottom, 700);
    EXPECT_EQ(resizes, 1);
}

TEST(HostedWidgets, GoBackToTheirOwnerWhenTheCommandBarsGo) {
    QWidget owner;
    auto* box = new CommandBarsSliderBox(&owner);
    auto bars = std::make_unique<CommandBars>(&owner);
    RibbonBar* ribbon = bars->AddRibbonBar("The Ribbon");
    auto* custom = static_cast<CommandBarCustom*>(
        ribbon->InsertTab(0, "Color Pie")->AddGroup("Background", 40003)->Controls().Add(Type::Custom, 40003, "Color"));
    custom->SetHandle(box);
    bars->RecalcLayout();
    ASSERT_TRUE(bars->RibbonView()->isAncestorOf(box));
    bars.reset();
    Settle();
    EXPECT_EQ(box->parentWidget(), &owner);
}

}  // namespace
