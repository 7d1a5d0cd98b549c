#pragma once

#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "support/CommandBarItems.h"
#include "support/ModelGlobals.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A host window holding one initialised strip of ten visible panels. At 96 DPI a twip is 1/15 pixel, so the
// 120-twip margins are 8 pixels: the strip is sized for panels exactly 40 pixels wide, and 50 high without the
// scroll bar.
class StripTest : public ::testing::Test {
public:
    static constexpr int Margin = 8;
    static constexpr int PanelWidth = 40;
    static constexpr int StripWidth = 11 * Margin + 10 * PanelWidth;
    static constexpr int StripHeight = 2 * Margin + 50;

    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(StripWidth + 40, StripHeight + 40);
        strip = new ColorHistory(host.get());
        strip->setGeometry(10, 10, StripWidth, StripHeight);
        host->show();
        strip->Init(host.get());
        strip->SetControlIndex(1);
        QObject::connect(strip, &ColorHistory::SelectedPanelChanged,
                         [this](ColorPanel* panel) { selections.push_back(panel); });
        QObject::connect(strip, &ColorHistory::MouseDown, [this](int16_t button, int16_t, float x, float y) {
            downs.push_back({button, x, y});
        });
        QObject::connect(strip, &ColorHistory::MouseUp, [this] { ++ups; });
        QObject::connect(strip, &ColorHistory::MouseMove, [this] { ++moves; });
        QObject::connect(strip, &ColorHistory::StartDragging, [this] { ++drags; });
        QObject::connect(strip, &ColorHistory::KeepAll, [this] { ++keepAlls; });
    }

    void TearDown() override {
        CommandBars::SetPopupHook({});
        strip->Dispose();
        host.reset();
    }

    static std::shared_ptr<Color> MakeColor(int r, int g, int b) {
        auto color = Factory::NewColor(Globals::TextureItem(1), 15410, false);
        color->SetColor(r, g, b);
        return color;
    }

    // n distinct colours, (k, 0, 0) for k = 1..n.
    static std::vector<std::shared_ptr<Color>> Reds(int n) {
        std::vector<std::shared_ptr<Color>> colors;
        for (int k = 1; k <= n; ++k) colors.push_back(MakeColor(k, 0, 0));
        return colors;
    }

    // The red value of each panel's colour in panel order, -1 for a panel without one.
    std::vector<int> PanelReds() const {
        std::vector<int> reds;
        for (int i = 0; strip->Panel(i); ++i)
            reds.push_back(strip->Panel(i)->HasColor() ? strip->Panel(i)->PanelColor()->Red() : -1);
        return reds;
    }

    // The indexes of the panels shown.
    std::vector<int> ShownPanels() const {
        std::vector<int> shown;
        for (int i = 0; strip->Panel(i); ++i)
            if (strip->Panel(i)->isVisibleTo(strip))
                shown.push_back(i);
        return shown;
    }

    // Writes the strip into a throw-away document, which clears its modified flags.
    void MarkSaved() {
        pugi::xml_document doc;
        ASSERT_TRUE(strip->Serialize(doc, doc, 0, QString()));
        ASSERT_FALSE(strip->IsDirty());
    }

    QScrollBar* ScrollBar() const { return strip->findChild<QScrollBar*>(QStringLiteral("bottScroll")); }

    static CommandBar* PopupOf(QObject* owner) { return CommandBarItems::PopupOf(owner); }

    // Runs a command of the strip's own popup, or of a panel's, as a click would.
    static bool Execute(QObject* owner, int id) { return CommandBarItems::ExecutePopupCommand(owner, id); }

    static void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    // What the strip told its host.
    struct Press {
        int button;
        float x, y;
    };
    std::vector<ColorPanel*> selections;
    std::vector<Press> downs;
    int ups = 0;
    int moves = 0;
    int drags = 0;
    int keepAlls = 0;

    ModelGlobals m_globals;
    std::unique_ptr<QWidget> host;
    ColorHistory* strip = nullptr;
};
