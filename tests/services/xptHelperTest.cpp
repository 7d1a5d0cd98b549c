#include "platform/CommandBarGallery.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RuntimeError.h"
#include "services/Cast.h"
#include "services/xptHelper.h"
#include "support/ScriptedPopup.h"
#include "services/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

using Type = CommandBarControl::Type;

// "&Print" as a ribbon button and again inside a popup of the same group.
struct TwoWithOneId {
    CommandBars bars{nullptr};
    RibbonBar* ribbon = bars.AddRibbonBar("The Ribbon");
    CommandBarControl* first;
    CommandBarControl* second;
    CommandBarControl* other;
    TwoWithOneId() {
        RibbonGroup* group =
            ribbon->InsertTab(0, "Selection")->AddGroup("&Create Colors", CommandIds::CreateColorsGroup);
        first = group->Controls().Add(Type::Button, CommandIds::FilePrint, "&Print");
        CommandBarControl* popup = group->Controls().Add(Type::ButtonPopup, CommandIds::RangeTypePopup, "&Type");
        second = popup->GetCommandBar()->Controls().Add(Type::Button, CommandIds::FilePrint, "&Print");
        other = group->Controls().Add(Type::Button, CommandIds::CreateNewColors, "Create  &New Colors");
    }
};

struct SetterCase {
    const char* name;
    std::function<void(CommandBar*, int)> set;
    std::function<bool(const CommandBarControl*)> changed;
};
std::ostream& operator<<(std::ostream& os, const SetterCase& c) { return os << c.name; }

class Setters : public ::testing::TestWithParam<SetterCase> {};

TEST_P(Setters, ChangeOnlyTheFirstControlWithTheIdAndIgnoreAMissingOne) {
    TwoWithOneId f;
    GetParam().set(f.ribbon, CommandIds::FilePrint);
    EXPECT_TRUE(GetParam().changed(f.first));
    EXPECT_FALSE(GetParam().changed(f.second));
    EXPECT_FALSE(GetParam().changed(f.other));
    TwoWithOneId g;
    EXPECT_NO_THROW(GetParam().set(g.ribbon, 99999));
    EXPECT_NO_THROW(GetParam().set(nullptr, CommandIds::FilePrint));
    for (const CommandBarControl* c : {g.first, g.second, g.other}) EXPECT_FALSE(GetParam().changed(c));
}

INSTANTIATE_TEST_SUITE_P(
    xptHelper, Setters,
    ::testing::Values(SetterCase{"Caption",
                                 [](CommandBar* b, int id) { xptHelper::SetControlCaption(b, id, "Changed"); },
                                 [](const CommandBarControl* c) { return c->Caption() == "Changed"; }},
                      SetterCase{"Checked", [](CommandBar* b, int id) { xptHelper::SetControlChecked(b, id, true); },
                                 [](const CommandBarControl* c) { return c->Checked(); }},
                      SetterCase{"Enabled", [](CommandBar* b, int id) { xptHelper::SetControlEnabled(b, id, false); },
                                 [](const CommandBarControl* c) { return !c->Enabled(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetControlsEnabled, SetsEveryControlOfAGroup) {
    TwoWithOneId f;
    CommandBarControls& controls = f.ribbon->Tab(0)->Group(0)->Controls();
    xptHelper::SetControlsEnabled(false, controls);
    for (const auto& c : controls) EXPECT_FALSE(c->Enabled()) << c->Id();
    EXPECT_TRUE(f.second->Enabled());  // inside the popup: not one of the group's controls
    xptHelper::SetControlsEnabled(true, controls);
    EXPECT_TRUE(f.first->Enabled());
}

TEST(AddSortMenu, TwiceGivesTwoPopupsOfEightButtonsWithASeparatorBeforeSumHSB) {
    CommandBars bars(nullptr);
    CommandBar* popup = bars.Add("Popup", CommandBar::Popup);
    popup->Controls().Add(Type::Button, CommandIds::Comments, "C&omments...");
    xptHelper::AddSortMenu(popup, false);
    xptHelper::AddSortMenu(popup, true);
    ASSERT_EQ(popup->Controls().Count(), 3);
    const std::vector<QString> captions = {"Sum RGB", "Red", "Green",      "Blue",
                                           "Sum HSB", "Hue", "Saturation", "Brightness"};
    for (int p = 1; p <= 2; ++p) {
        CommandBarControl* sort = popup->Controls().Item(p);
        EXPECT_EQ(sort->Id(), CommandIds::SortColorsBy);
        EXPECT_EQ(sort->GetType(), Type::ButtonPopup);
        EXPECT_EQ(sort->Caption(), "&Sort Colors by...");
        EXPECT_EQ(sort->BeginGroup(), p == 2);
        const CommandBarControls& items = sort->GetCommandBar()->Controls();
        ASSERT_EQ(items.Count(), 8);
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(items.Item(k)->Id(), CommandIds::SortColorsByRGBSum + k);
            EXPECT_EQ(items.Item(k)->Caption(), captions[static_cast<size_t>(k)]);
            EXPECT_EQ(items.Item(k)->BeginGroup(), k == 4) << k;
            EXPECT_EQ(items.Item(k)->GetType(), Type::Button);
        }
    }
    // Drawn as a menu: one separator, standing before "Sum HSB".
    ScriptedPopup popups({0});
    std::vector<PopupLine> sortLines;
    popups.SetInspector([&](CommandBar&, QMenu& menu) {
        sortLines = ScriptedPopup::Lines(*CommandBars::FindAction(menu, CommandIds::SortColorsBy)->menu());
    });
    popup->ShowPopup(QPoint(0, 0));
    ASSERT_EQ(sortLines.size(), 9u);
    EXPECT_TRUE(sortLines[4].separator);
    EXPECT_EQ(sortLines[5].text, "Sum HSB");
    EXPECT_EQ(popups.Shown()[0].size(), 4u);  // "C&omments...", a popup, a separator, a popup
}

TEST(CastToGallery, KeepsNoneAndRefusesOtherKinds) {
    CommandBars bars(nullptr);
    CommandBar* bar = bars.Add("Popup", CommandBar::Popup);
    CommandBarControl* gallery = bar->Controls().Add(Type::Gallery, CommandIds::TexturesGallery, "Textures");
    CommandBarControl* button = bar->Controls().Add(Type::Button, CommandIds::CreateNewColors, "x");
    EXPECT_EQ(Cast::ToGallery(nullptr), nullptr);
    EXPECT_EQ(Cast::ToGallery(gallery), gallery);
    try {
        Cast::ToGallery(button);
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::TypeMismatch);
    }
}

}  // namespace
