#include "app/ChooserHelper.h"
#include "app/ChooserHost.h"
#include "app/MatchHelperTab.h"
#include "model/Globals.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/PictureBox.h"
#include "platform/RibbonBar.h"
#include "services/CommandIds.h"
#include "support/ModelGlobals.h"
#include "support/TopColorControls.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QSlider>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using namespace CommandIds;

// The "Color Pie" tab built on a host of its own, behind a "Selection" and a "Staging" tab, with the
// background box in the state a window has before its ribbon is built.
class ColorPieTabBuilder : public ::testing::Test {
protected:
    void SetUp() override {
        selectedTexture = Globals::TextureItem(1);
        // The schemes command shows and hides the strips.
        for (auto& strip : history) {
            strip = std::make_unique<ColorHistory>(&backBox);
            strip->Init(&backBox);
        }
        for (QSlider*& slider : sliders) {
            slider = new QSlider(Qt::Horizontal, &backBox);
            slider->setRange(0, 255);
            slider->setValue(17);
        }
        swatch->SetBackColor(0);
        QObject::connect(&bars, &CommandBars::Execute, [this](CommandBarControl* control) {
            ChooserHelper::ExecuteChooserCommand(control, Chooser());
        });
        ribbon = bars.AddRibbonBar(QStringLiteral("The Ribbon"));
        ChooserHelper::BuildSelectionTab(*ribbon, Chooser());
        ribbon->InsertTab(1, QStringLiteral("Staging"))->SetId(StagingTab);
        MatchHelper::BuildColorPieTab(*ribbon, MatchHelperHost{&backBox, *swatch, sliders}, Chooser());
    }

    ChooserHost Chooser() {
        return ChooserHost{bars,
                           images,
                           cpList,
                           &topBox.picLimits,
                           topBox.Host(),
                           isUDC,
                           selectedTexture,
                           historyGroups,
                           openingJustAfterStartup,
                           [] {},
                           [](int, bool) {},
                           [this] { ++layouts; },
                           history};
    }

    // The gallery in a tab's "&Color Schemes" group.
    CommandBarGallery* SchemesGalleryOf(int32_t tabId) const {
        RibbonGroup* group = ribbon->FindTab(tabId)->FindGroup(SchemesGroup);
        return group ? dynamic_cast<CommandBarGallery*>(group->Controls().Item(0)) : nullptr;
    }

    ModelGlobals globals;
    CommandBars bars{nullptr};
    RibbonBar* ribbon = nullptr;
    TopColorControls topBox;
    QWidget backBox;
    PictureBox* swatch = new PictureBox(&backBox);
    std::array<QSlider*, 3> sliders{};
    std::shared_ptr<CommandBarImageManager> images;
    std::vector<std::unique_ptr<ColorPanel>> cpList;
    bool isUDC = false;
    std::shared_ptr<Texture> selectedTexture;
    int32_t historyGroups = 1;
    std::array<std::unique_ptr<ColorHistory>, 6> history;
    bool openingJustAfterStartup = true;
    int layouts = 0;
};

TEST_F(ColorPieTabBuilder, IsTheThirdTabWithTheBackgroundBoxThenTheSchemes) {
    ASSERT_EQ(ribbon->TabCount(), 3);
    RibbonTab* tab = ribbon->Tab(2);
    EXPECT_EQ(tab->Id(), ColorPieTab);
    EXPECT_EQ(tab->Caption(), QStringLiteral("Color Pie"));
    EXPECT_EQ(ribbon->Tab(0)->Id(), SelectionTab);
    EXPECT_EQ(ribbon->Tab(1)->Id(), StagingTab);

    ASSERT_EQ(tab->GroupCount(), 2);
    RibbonGroup* background = tab->Group(0);
    EXPECT_EQ(background->Id(), BackgroundGroup);
    EXPECT_EQ(background->Caption(), QStringLiteral("Background"));
    ASSERT_EQ(background->Controls().Count(), 1);
    auto* box = dynamic_cast<CommandBarCustom*>(background->Controls().Item(0));
    ASSERT_NE(box, nullptr) << "the group hosts the background box";
    EXPECT_EQ(box->Id(), BackgroundBox);
    EXPECT_EQ(box->Caption(), QStringLiteral("Color"));
    EXPECT_EQ(box->Handle(), &backBox);

    EXPECT_EQ(tab->Group(1)->Id(), SchemesGroup);
    EXPECT_EQ(tab->Group(1)->Caption(), QStringLiteral("&Color Schemes"));
}

TEST_F(ColorPieTabBuilder, StartsTheBackgroundWhite) {
    EXPECT_EQ((std::array<int, 3>{sliders[0]->value(), sliders[1]->value(), sliders[2]->value()}),
              (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(swatch->BackColor(), 0xFFFFFF);
}

// Both schemes groups carry the same ids, so either one runs the one command.
TEST_F(ColorPieTabBuilder, TheSchemesGroupRepeatsTheSelectionTabsAndRunsTheSameCommand) {
    CommandBarGallery* selection = SchemesGalleryOf(SelectionTab);
    CommandBarGallery* pie = SchemesGalleryOf(ColorPieTab);
    ASSERT_NE(selection, nullptr);
    ASSERT_NE(pie, nullptr);
    ASSERT_NE(selection, pie);
    EXPECT_EQ(pie->Id(), selection->Id());
    EXPECT_EQ(pie->Id(), SchemesItems);
    EXPECT_EQ(pie->Caption(), selection->Caption());
    EXPECT_EQ(pie->Width(), selection->Width());
    ASSERT_NE(pie->Items(), nullptr);
    EXPECT_EQ(pie->Items()->Id(), SchemesItems);
    EXPECT_EQ(pie->Items()->Count(), selection->Items()->Count());

    pie->SetSelectedItem(pie->Items()->FindItem(4));
    ASSERT_TRUE(bars.ExecuteControl(pie));
    EXPECT_EQ(historyGroups, 4);
    EXPECT_GT(layouts, 0);
}

}  // namespace
