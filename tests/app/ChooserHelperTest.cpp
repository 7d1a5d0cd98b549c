#include "app/ChooserHelper.h"
#include "app/ChooserHost.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "services/CommandIds.h"
#include "support/ChooserHostState.h"
#include "support/ModelGlobals.h"
#include "support/TestEnvironment.h"
#include "support/TopColorControls.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <utility>
#include <vector>

namespace {

using namespace CommandIds;

// The "Selection" tab built on a host of its own: command bars, the top-colour box, three proofers and the
// window state the tab writes. The window's operations are recorded, not run.
class ChooserTab : public ::testing::Test, protected ChooserHostState {
protected:
    void SetUp() override {
        selectedTexture = Globals::TextureItem(1);
        for (int i = 0; i < 3; ++i) {
            cpList.push_back(std::make_unique<ColorPanel>(&owner));
            cpList.back()->Init(&owner, Factory::NewColor(selectedTexture->Clone(), RangeAllRGB, false), 1, false);
            Globals::GeneratedColors->Add(cpList.back()->PanelColor());
        }
        for (auto& strip : history) {
            strip = std::make_unique<ColorHistory>(&owner);
            strip->Init(&owner);
        }
        QObject::connect(&bars, &CommandBars::Execute,
                         [this](CommandBarControl* control) { ChooserHelper::ExecuteChooserCommand(control, Host()); });
        ribbon = bars.AddRibbonBar(QStringLiteral("The Ribbon"));
        ChooserHelper::BuildSelectionTab(*ribbon, Host());
    }

    void TearDown() override {
        for (const auto& proofer : cpList) proofer->Dispose();
        for (const auto& strip : history) strip->Dispose();
    }

    ChooserHost Host() {
        return MakeHost([this] { ++newColorsRuns; },
                        [this](int count, bool keepFixed) { prooferCounts.emplace_back(count, keepFixed); },
                        [this] { ++layouts; });
    }

    bool Execute(int32_t id) { return bars.ExecuteCommand(id); }
    CommandBarGallery* Gallery(int32_t id) { return dynamic_cast<CommandBarGallery*>(bars.FindControl(id)); }
    CommandBar* TypeBar() { return bars.FindControl(RangeTypePopup)->GetCommandBar(); }
    bool ExecuteRange(int32_t id) { return bars.ExecuteControl(TypeBar()->FindControl(id)); }
    QString RangeCaption() const { return ribbon->FindTab(SelectionTab)->FindGroup(ColorRangeGroup)->Caption(); }
    std::array<int, 3> SliderValues() const {
        return {box.sliders[0]->value(), box.sliders[1]->value(), box.sliders[2]->value()};
    }
    std::array<int, 3> SliderMaxima() const {
        return {box.sliders[0]->maximum(), box.sliders[1]->maximum(), box.sliders[2]->maximum()};
    }
    bool LabelIsBlack() const { return box.label->palette().color(QPalette::WindowText) == QColor(Qt::black); }
    std::vector<std::shared_ptr<Color>> ProoferColors() const {
        std::vector<std::shared_ptr<Color>> colors;
        for (const auto& proofer : cpList) colors.push_back(proofer->PanelColor());
        return colors;
    }

    RibbonBar* ribbon = nullptr;
    int newColorsRuns = 0;
    std::vector<std::pair<int, bool>> prooferCounts;
    int layouts = 0;
};

std::array<int, 3> topColor() {
    return {Globals::TopColor->Red(), Globals::TopColor->Green(), Globals::TopColor->Blue()};
}

int32_t packed(int r, int g, int b) { return r + 256 * g + 65536 * b; }

TEST_F(ChooserTab, HoldsItsFourGroupsInOrder) {
    RibbonTab* tab = ribbon->FindTab(SelectionTab);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->Index(), 0);
    EXPECT_EQ(tab->Caption(), QStringLiteral("Selection"));
    const std::array<std::pair<int, QString>, 4> groups{{{CreateColorsGroup, "&Create Colors"},
                                                         {TexturesGroup, "&Textures"},
                                                         {SchemesGroup, "&Color Schemes"},
                                                         {ColorRangeGroup, "Color &Range"}}};
    ASSERT_EQ(tab->GroupCount(), 4);
    for (int g = 0; g < 4; ++g) EXPECT_EQ(tab->Group(g)->Id(), groups[static_cast<size_t>(g)].first);
    // The range group's caption names the range from the start.
    for (int g = 0; g < 3; ++g) EXPECT_EQ(tab->Group(g)->Caption(), groups[static_cast<size_t>(g)].second);

    const CommandBarControls& create = tab->Group(0)->Controls();
    ASSERT_EQ(create.Count(), 3);
    EXPECT_EQ(create.Item(0)->Caption(), QStringLiteral("Create  &New Colors"));
    auto* combo = dynamic_cast<CommandBarComboBox*>(create.Item(1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Id(), ProoferCount);
    EXPECT_TRUE(combo->BeginGroup());
    EXPECT_EQ(combo->Width(), 80);
    ASSERT_EQ(combo->ListCount(), 8);
    EXPECT_EQ(combo->List(1), QStringLiteral("1 Proofer"));
    EXPECT_EQ(combo->List(8), QStringLiteral("8 Proofers"));
    EXPECT_EQ(combo->ListIndex(), 3);
    EXPECT_EQ(create.Item(2)->Caption(), QStringLiteral(" Keep &All"));
    EXPECT_EQ(create.Item(2)->Height(), 41);
    EXPECT_EQ(create.Item(2)->Width(), 80);

    auto* custom = dynamic_cast<CommandBarCustom*>(tab->FindGroup(ColorRangeGroup)->Controls().Find(TopColorBox));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->Handle(), &box.picLimits);
}

TEST_F(ChooserTab, GalleriesShowTheTexturesWithPicturesAndTheSchemeCounts) {
    CommandBarGallery* textures = Gallery(TexturesGallery);
    ASSERT_NE(textures, nullptr);
    EXPECT_EQ(textures->Width(), 235);
    ASSERT_NE(textures->GetCommandBar(), nullptr);
    auto* dropDown = dynamic_cast<CommandBarGallery*>(textures->GetCommandBar()->Controls().Item(0));
    ASSERT_NE(dropDown, nullptr);
    EXPECT_EQ(dropDown->Items(), textures->Items());
    EXPECT_EQ(dropDown->Width(), 307);
    EXPECT_EQ(dropDown->Height(), 190);
    EXPECT_EQ(textures->Caption(), QStringLiteral("Textures"));
    EXPECT_EQ(dropDown->Caption(), QStringLiteral("Textures"));
    EXPECT_EQ(textures->GetCommandBar()->Name(), QStringLiteral("Textures"));

    const CommandBarGalleryItems& items = *textures->Items();
    EXPECT_EQ(items.ItemWidth(), 72);
    EXPECT_EQ(items.ItemHeight(), 56);
    ASSERT_EQ(items.Count(), static_cast<int>(Globals::Textures.size()) + 1);
    EXPECT_TRUE(items.Item(0)->IsLabel());
    EXPECT_EQ(items.Item(0)->Caption(), QStringLiteral("Textures"));
    for (size_t i = 0; i < Globals::Textures.size(); ++i) {
        const CommandBarGalleryItem& item = *items.Item(static_cast<int>(i) + 1);
        EXPECT_EQ(item.Id(), Globals::Textures[i]->Id());
        EXPECT_EQ(item.Caption(), Globals::Textures[i]->Name());
        // Every pattern has its picture, even when its file is missing; "  No Texture" has none.
        EXPECT_EQ(items.Icons().Exists(item.Id()), i > 0) << item.Caption().toStdString();
    }
    EXPECT_EQ(items.Icons().Icon(2).size(), QSize(32, 32));
    EXPECT_EQ(images.get(), &items.Icons()) << "the window keeps the gallery's pictures";

    // A gallery takes the id of the item set it shows.
    CommandBarGallery* schemes = Gallery(SchemesItems);
    ASSERT_NE(schemes, nullptr);
    EXPECT_EQ(schemes->Caption(), QStringLiteral("History Groups"));
    EXPECT_EQ(schemes->Width(), 170);
    ASSERT_NE(schemes->GetCommandBar(), nullptr);
    EXPECT_EQ(schemes->GetCommandBar()->Name(), QStringLiteral("Textures"));
    auto* schemesDropDown = dynamic_cast<CommandBarGallery*>(schemes->GetCommandBar()->Controls().Item(0));
    ASSERT_NE(schemesDropDown, nullptr);
    EXPECT_EQ(schemesDropDown->Caption(), QStringLiteral("Schemes"));
    EXPECT_EQ(schemesDropDown->Width(), 170);
    EXPECT_EQ(schemesDropDown->Height(), 190);
    EXPECT_EQ(schemesDropDown->Items(), schemes->Items());
    const CommandBarGalleryItems& counts = *schemes->Items();
    ASSERT_EQ(counts.Count(), 7);
    EXPECT_EQ(counts.Item(0)->Caption(), QStringLiteral("Schemes"));
    EXPECT_EQ(counts.Item(3)->Id(), 3);
    EXPECT_EQ(counts.Item(3)->Caption(), QStringLiteral("Three Schemes"));
    EXPECT_EQ(counts.Item(6)->Caption(), QStringLiteral("Six Schemes"));
}

TEST_F(ChooserTab, TypePopupListsTheRangesWithSeparatorsAndUserDefinedDisabled) {
    CommandBarControl* type = bars.FindControl(RangeTypePopup);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Caption(), QStringLiteral("&Type"));
    const CommandBarControls& items = type->GetCommandBar()->Controls();
    const std::array<const char*, 10> captions{"All colors, RGB selection",
                                               "All colors, HSB selection",
                                               "Reds",
                                               "Greens",
                                               "Blues",
                                               "Yellows",
                                               "Magentas",
                                               "Cyans",
                                               "Grays",
                                               "User Defined Colors"};
    ASSERT_EQ(items.Count(), 10);
    for (int i = 0; i < 10; ++i) {
        const CommandBarControl& item = *items.Item(i);
        EXPECT_EQ(item.Id(), RangeAllRGB + i);
        EXPECT_EQ(item.Caption(), QString::fromLatin1(captions[static_cast<size_t>(i)]));
        EXPECT_EQ(item.BeginGroup(), i == 2 || i == 8 || i == 9) << item.Id();
        EXPECT_EQ(item.Enabled(), i != 9) << item.Id();
        EXPECT_EQ(item.Checked(), i == 0) << item.Id();
    }
}

TEST_F(ChooserTab, BuildingLeavesRgbWithWhiteTopColourAndAllColors) {
    EXPECT_EQ(box.rangeType, RangeAllRGB);
    EXPECT_EQ(SliderValues(), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(box.picColor->BackColor(), 0xFFFFFF);
    EXPECT_EQ(RangeCaption(), QStringLiteral("Color Range - All Colors RGB"));
    EXPECT_EQ(box.label->text(), QStringLiteral("All Colors"));
}

// What each range command leaves behind.
struct RangeCase {
    const char* name;
    int32_t id;
    std::array<int, 3> maxima;
    std::array<int, 3> values;
    std::array<int, 3> top;
    int32_t swatch;
    const char* caption;
    const char* label;
    bool blackLabel;
};
std::ostream& operator<<(std::ostream& out, const RangeCase& c) { return out << c.name; }

class ChooserRange : public ChooserTab, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(ChooserRange, TypeItemSetsSlidersSwatchCaptionAndLabel) {
    const RangeCase& c = GetParam();
    // Start from another range so every row has something to change.
    ASSERT_TRUE(ExecuteRange(c.id == RangeGreens ? RangeMagentas : RangeGreens));
    ASSERT_TRUE(ExecuteRange(c.id));

    EXPECT_EQ(box.rangeType, c.id);
    EXPECT_FALSE(isUDC);
    EXPECT_EQ(SliderMaxima(), c.maxima);
    EXPECT_EQ(SliderValues(), c.values);
    EXPECT_EQ(topColor(), c.top);
    EXPECT_EQ(box.picColor->BackColor(), c.swatch);
    EXPECT_EQ(RangeCaption(), QString::fromLatin1(c.caption));
    EXPECT_EQ(box.label->text(), QString::fromLatin1(c.label));
    EXPECT_EQ(LabelIsBlack(), c.blackLabel);
    EXPECT_EQ(box.label->font().pointSize(), 8);
    for (int id = RangeAllRGB; id <= UserDefinedColors; ++id)
        EXPECT_EQ(TypeBar()->FindControl(id)->Checked(), id == c.id) << id;
}

INSTANTIATE_TEST_SUITE_P(Ranges, ChooserRange,
                         ::testing::Values(RangeCase{"AllRGB",
                                                     CommandIds::RangeAllRGB,
                                                     {255, 255, 255},
                                                     {255, 255, 255},
                                                     {255, 255, 255},
                                                     0xFFFFFF,
                                                     "Color Range - All Colors RGB",
                                                     "All Colors",
                                                     true},
                                           RangeCase{"AllHSB",
                                                     CommandIds::RangeAllHSB,
                                                     {359, 100, 100},
                                                     {359, 100, 100},
                                                     {255, 0, 4},
                                                     packed(255, 0, 4),
                                                     "Color Range - All Colors HSB",
                                                     "All Colors",
                                                     false},
                                           RangeCase{"Reds",
                                                     CommandIds::RangeReds,
                                                     {359, 100, 100},
                                                     {0, 100, 100},
                                                     {255, 0, 0},
                                                     packed(255, 0, 0),
                                                     "Color Range - Reds",
                                                     "(0, 100, 100)",
                                                     false},
                                           RangeCase{"Greens",
                                                     CommandIds::RangeGreens,
                                                     {359, 100, 100},
                                                     {120, 100, 100},
                                                     {0, 255, 0},
                                                     packed(0, 255, 0),
                                                     "Color Range - Greens",
                                                     "(120, 100, 100)",
                                                     false},
                                           RangeCase{"Blues",
                                                     CommandIds::RangeBlues,
                                                     {359, 100, 100},
                                                     {240, 100, 100},
                                                     {0, 0, 255},
                                                     packed(0, 0, 255),
                                                     "Color Range - Blues",
                                                     "(240, 100, 100)",
                                                     false},
                                           RangeCase{"Yellows",
                                                     CommandIds::RangeYellows,
                                                     {359, 100, 100},
                                                     {60, 100, 100},
                                                     {255, 255, 0},
                                                     packed(255, 255, 0),
                                                     "Color Range - Yellows",
                                                     "(60, 100, 100)",
                                                     true},
                                           RangeCase{"Magentas",
                                                     CommandIds::RangeMagentas,
                                                     {359, 100, 100},
                                                     {300, 100, 100},
                                                     {255, 0, 255},
                                                     packed(255, 0, 255),
                                                     "Color Range - Magentas",
                                                     "(300, 100, 100)",
                                                     true},
                                           RangeCase{"Cyans",
                                                     CommandIds::RangeCyans,
                                                     {359, 100, 100},
                                                     {180, 100, 100},
                                                     {0, 255, 255},
                                                     packed(0, 255, 255),
                                                     "Color Range - Cyans",
                                                     "(180, 100, 100)",
                                                     true},
                                           // The swatch keeps its fixed grey while the top colour is white.
                                           RangeCase{"Greys",
                                                     CommandIds::RangeGreys,
                                                     {359, 100, 100},
                                                     {0, 0, 100},
                                                     {255, 255, 255},
                                                     packed(180, 180, 180),
                                                     "Color Range - Greys",
                                                     "(0, 0, 100)",
                                                     true}),
                         [](const auto& info) { return std::string(info.param.name); });

// User-defined colours switch the flag over the current range and leave the controls alone.
struct UserDefinedCase {
    const char* name;
    int32_t range;
    const char* caption;
};
std::ostream& operator<<(std::ostream& out, const UserDefinedCase& c) { return out << c.name; }

class ChooserUserDefined : public ChooserTab, public ::testing::WithParamInterface<UserDefinedCase> {};

TEST_P(ChooserUserDefined, SwitchesTheFlagOnOverTheCurrentRange) {
    const UserDefinedCase& c = GetParam();
    ChooserHelper::SetColorRange(c.range, TypeBar(), Host());
    const auto values = SliderValues();
    const auto top = topColor();
    const int32_t swatch = box.picColor->BackColor();

    ChooserHelper::SetColorRange(UserDefinedColors, TypeBar(), Host());

    EXPECT_TRUE(isUDC);
    EXPECT_EQ(box.rangeType, c.range);
    EXPECT_EQ(RangeCaption(), QString::fromLatin1(c.caption));
    EXPECT_EQ(SliderValues(), values);
    EXPECT_EQ(topColor(), top);
    EXPECT_EQ(box.picColor->BackColor(), swatch);
    for (int id = RangeAllRGB; id <= UserDefinedColors; ++id)
        EXPECT_EQ(TypeBar()->FindControl(id)->Checked(), id == UserDefinedColors) << id;

    // Any range afterwards switches it off again and checks only its own item.
    ASSERT_TRUE(ExecuteRange(RangeGreens));
    EXPECT_FALSE(isUDC);
    for (int id = RangeAllRGB; id <= UserDefinedColors; ++id)
        EXPECT_EQ(TypeBar()->FindControl(id)->Checked(), id == RangeGreens) << id;
}

INSTANTIATE_TEST_SUITE_P(OverRanges, ChooserUserDefined,
                         ::testing::Values(UserDefinedCase{"OverRGB", RangeAllRGB, "Color Range - My Colors RGB"},
                                           UserDefinedCase{"OverHSB", RangeAllHSB, "Color Range - My Colors HSB"},
                                           UserDefinedCase{"OverReds", RangeReds, "Color Range - My Colors HSB"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The group caption is found by the tab's and the group's ids, wherever the tab stands.
TEST_F(ChooserTab, RangeCaptionFollowsTheGroupWhenTabsAreInsertedBeforeIt) {
    ribbon->InsertTab(0, QStringLiteral("Other"))->AddGroup(QStringLiteral("Other"), 1);
    ASSERT_TRUE(ExecuteRange(RangeReds));
    EXPECT_EQ(RangeCaption(), QStringLiteral("Color Range - Reds"));
    EXPECT_EQ(ribbon->Tab(0)->Group(0)->Caption(), QStringLiteral("Other"));
}

// Textures.
TEST_F(ChooserTab, ATextureFromTheGalleryDressesEveryProoferWithoutAPicture) {
    QTemporaryDir folder;
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    const QString file = folder.path() + QStringLiteral("/photo.png");
    ASSERT_TRUE(picture.save(file));
    auto image = Factory::NewTexture(1, QStringLiteral("photo"), file, TextureKind::Image, false, false);
    cpList[1]->ChangeTexture(image);
    ASSERT_EQ(cpList[1]->PanelColor()->ColorTexture()->TextureType(), TextureKind::Image);

    CommandBarGallery* gallery = Gallery(TexturesGallery);
    ASSERT_NE(gallery, nullptr);
    gallery->SetSelectedItem(gallery->Items()->FindItem(2));
    ASSERT_TRUE(bars.ExecuteControl(gallery));

    EXPECT_EQ(selectedTexture, Globals::TextureItem(2));
    for (size_t i : {size_t{0}, size_t{2}}) {
        const auto texture = cpList[i]->PanelColor()->ColorTexture();
        EXPECT_EQ(texture->Id(), 2);
        EXPECT_NE(texture, Globals::TextureItem(2)) << "each proofer holds its own copy";
    }
    EXPECT_NE(cpList[0]->PanelColor()->ColorTexture(), cpList[2]->PanelColor()->ColorTexture());
    EXPECT_EQ(cpList[1]->PanelColor()->ColorTexture()->TextureType(), TextureKind::Image);
    EXPECT_EQ(cpList[1]->PanelColor()->ColorTexture()->path(), file);
}

TEST_F(ChooserTab, TextureGalleryWithoutAChosenItemChangesNothing) {
    bars.ExecuteControl(Gallery(TexturesGallery));
    EXPECT_EQ(selectedTexture, Globals::TextureItem(1));
}

TEST_F(ChooserTab, SelectTextureByNameIgnoresBlanksAndCase) {
    ChooserHelper::SelectTextureByName(Globals::TextureItem(2)->Name().toUpper(), Host());
    EXPECT_EQ(selectedTexture, Globals::TextureItem(2));
    ChooserHelper::SelectTextureByName(QStringLiteral("no texture"), Host());
    EXPECT_EQ(selectedTexture, Globals::TextureItem(1));
    CommandBarGallery* gallery = Gallery(TexturesGallery);
    EXPECT_EQ(gallery->SelectedItem(), gallery->Items()->FindItem(1));
    ChooserHelper::SelectTextureByName(QStringLiteral("no such texture"), Host());
    EXPECT_EQ(selectedTexture, Globals::TextureItem(1));
    // The gallery's heading is no texture: a document naming it changes nothing.
    EXPECT_EQ(TestEnvironment::ErrorNumberOf(
                  [&] { ChooserHelper::SelectTextureByName(QStringLiteral(" textures "), Host()); }),
              0);
    EXPECT_EQ(selectedTexture, Globals::TextureItem(1));
    EXPECT_EQ(gallery->SelectedItem(), gallery->Items()->FindItem(1));
}

// The tab's buttons hand their work to the window.
TEST_F(ChooserTab, ButtonsRunTheWindowsOperations) {
    ASSERT_TRUE(Execute(CreateNewColors));
    EXPECT_EQ(newColorsRuns, 1);

    auto* combo = dynamic_cast<CommandBarComboBox*>(bars.FindControl(ProoferCount));
    ASSERT_NE(combo, nullptr);
    combo->SetListIndex(5);
    ASSERT_TRUE(bars.ExecuteControl(combo));
    EXPECT_EQ(prooferCounts, (std::vector<std::pair<int, bool>>{{5, true}})) << "the fixed proofers are kept";

    EXPECT_TRUE(openingJustAfterStartup);
    ASSERT_TRUE(Execute(KeepAll));
    EXPECT_FALSE(openingJustAfterStartup) << "Keep All touches the document";
}

TEST_F(ChooserTab, KeepAllPutsEveryProoferColourIntoTheFirstStripOnce) {
    ASSERT_TRUE(Execute(KeepAll));
    ASSERT_TRUE(Execute(KeepAll));
    ASSERT_EQ(history[0]->PanelCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(history[0]->Panel(i)->PanelColor()->RGBColor(),
                  cpList[static_cast<size_t>(i)]->PanelColor()->RGBColor());
        EXPECT_NE(history[0]->Panel(i)->PanelColor(), cpList[static_cast<size_t>(i)]->PanelColor()) << "a copy";
    }
    for (size_t i = 1; i < history.size(); ++i) EXPECT_EQ(history[i]->PanelCount(), 0);
}

TEST_F(ChooserTab, ShowingSchemesShowsTheFirstStripsAndHidesTheOthers) {
    owner.show();
    for (const int count : {4, 1, 6}) {
        const int before = layouts;
        ChooserHelper::ShowHistoryGroups(count, Host());
        for (int i = 0; i < 6; ++i) EXPECT_EQ(history[static_cast<size_t>(i)]->isVisible(), i < count) << count;
        EXPECT_GT(layouts, before);
    }
}

TEST_F(ChooserTab, ChoosingASchemeCountStoresItAndLaysTheWindowOut) {
    CommandBarGallery* gallery = Gallery(SchemesItems);
    ASSERT_NE(gallery, nullptr);
    gallery->SetSelectedItem(gallery->Items()->FindItem(3));
    const int before = layouts;
    ASSERT_TRUE(bars.ExecuteControl(gallery));
    EXPECT_EQ(historyGroups, 3);
    EXPECT_GT(layouts, before);
    EXPECT_TRUE(openingJustAfterStartup) << "the strip count is no edit";
}

// Paging through the generated colours refills the proofers from the cursor backwards.
TEST_F(ChooserTab, PagingRefillsTheProofersFromTheCursor) {
    ColorCollection& generated = *Globals::GeneratedColors;
    for (int i = 0; i < 6; ++i) generated.Add(Factory::NewColor(selectedTexture, RangeAllRGB, false));
    ASSERT_EQ(generated.count(), 9);
    ASSERT_EQ(generated.Position(), 9);

    ASSERT_TRUE(Execute(PreviousColors));
    EXPECT_EQ(generated.Position(), 8);
    EXPECT_EQ(ProoferColors(),
              (std::vector<std::shared_ptr<Color>>{generated.Item(6), generated.Item(7), generated.Item(8)}));

    for (int i = 0; i < 5; ++i) Execute(PreviousColors);
    EXPECT_EQ(generated.Position(), 3);
    EXPECT_EQ(ProoferColors(),
              (std::vector<std::shared_ptr<Color>>{generated.Item(1), generated.Item(2), generated.Item(3)}));

    // Below a full row the refill stops where the list ends: proofer 0 keeps what it showed.
    Execute(PreviousColors);
    EXPECT_EQ(generated.Position(), 2);
    EXPECT_EQ(ProoferColors(),
              (std::vector<std::shared_ptr<Color>>{generated.Item(1), generated.Item(1), generated.Item(2)}));

    Execute(NextColors);
    EXPECT_EQ(generated.Position(), 3);
    EXPECT_EQ(cpList[2]->PanelColor(), generated.Item(3));
    EXPECT_EQ(generated.count(), 9) << "paging generates nothing";
    EXPECT_EQ(newColorsRuns, 0);
}

TEST_F(ChooserTab, PagingSkipsAFixedProofer) {
    for (int i = 0; i < 3; ++i) Globals::GeneratedColors->Add(Factory::NewColor(selectedTexture, RangeAllRGB, false));
    cpList[2]->SetFixed(true);
    const auto fixed = cpList[2]->PanelColor();
    Execute(PreviousColors);
    EXPECT_EQ(cpList[2]->PanelColor(), fixed);
    EXPECT_EQ(cpList[1]->PanelColor(), Globals::GeneratedColors->Item(4));
}

}  // namespace
