#include "support/MainWindowFixture.h"
#include "support/TestEnvironment.h"

#include "app/ChooserHelper.h"
#include "app/MainHelpers.h"
#include "app/frmMain.h"
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
#include "platform/PictureBox.h"
#include "platform/RibbonBar.h"
#include "views/ColorPanel.h"

#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <ostream>

namespace {

QString rangeCaption(frmMain& window) { return window.RibbonBar()->Tab(0)->Group(3)->Caption(); }

std::array<int, 3> sliderValues(frmMain& window) {
    return {window.sldTopColor[0]->value(), window.sldTopColor[1]->value(), window.sldTopColor[2]->value()};
}

std::array<int, 3> sliderMaxima(frmMain& window) {
    return {window.sldTopColor[0]->maximum(), window.sldTopColor[1]->maximum(), window.sldTopColor[2]->maximum()};
}

std::array<int, 3> topColor() {
    return {Globals::TopColor->Red(), Globals::TopColor->Green(), Globals::TopColor->Blue()};
}

int32_t packed(int r, int g, int b) { return r + 256 * g + 65536 * b; }

bool labelIsBlack(frmMain& window) {
    return window.lblAllColors->palette().color(QPalette::WindowText) == QColor(Qt::black);
}

CommandBar* typeBar(frmMain& window) { return window.CommandBars->FindControl(15402)->GetCommandBar(); }

using ChooserHelperTab = MainWindowFixture;

TEST_F(ChooserHelperTab, SelectionTabHoldsItsFourGroupsInOrder) {
    RibbonTab* tab = window->RibbonBar()->Tab(0);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->Caption(), QStringLiteral("Selection"));
    EXPECT_EQ(tab->Id(), 15000);
    ASSERT_EQ(tab->GroupCount(), 4);
    const std::array<std::pair<int, QString>, 4> groups{
        {{15001, "&Create Colors"}, {15100, "&Textures"}, {15300, "&Color Schemes"}, {15400, "Color &Range"}}};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(tab->Group(g)->Id(), groups[static_cast<size_t>(g)].first);
        EXPECT_EQ(tab->Group(g)->Caption(), groups[static_cast<size_t>(g)].second);
    }
    EXPECT_EQ(tab->Group(3)->Id(), 15400);

    const CommandBarControls& create = tab->Group(0)->Controls();
    ASSERT_EQ(create.Count(), 3);
    EXPECT_EQ(create.Item(0)->Caption(), QStringLiteral("Create  &New Colors"));
    auto* combo = dynamic_cast<CommandBarComboBox*>(create.Item(1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Id(), 15006);
    EXPECT_TRUE(combo->BeginGroup());
    EXPECT_EQ(combo->Width(), 80);
    ASSERT_EQ(combo->ListCount(), 8);
    EXPECT_EQ(combo->List(1), QStringLiteral("1 Proofer"));
    EXPECT_EQ(combo->List(8), QStringLiteral("8 Proofers"));
    EXPECT_EQ(combo->ListIndex(), 3);
    EXPECT_EQ(create.Item(2)->Caption(), QStringLiteral(" Keep &All"));
    EXPECT_EQ(create.Item(2)->Height(), 41);
    EXPECT_EQ(create.Item(2)->Width(), 80);

    auto* custom = dynamic_cast<CommandBarCustom*>(tab->Group(3)->Controls().Find(15401));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->Handle(), window->picLimits);
}

TEST_F(ChooserHelperTab, GalleriesShowTheTexturesWithPicturesAndTheSchemeCounts) {
    auto* textures = dynamic_cast<CommandBarGallery*>(Find(15101));
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
        // Every texture file has its picture; "  No Texture" has none.
        EXPECT_EQ(items.Icons().Exists(item.Id()), i > 0) << item.Caption().toStdString();
    }
    ASSERT_GT(Globals::Textures.size(), 1u) << "the program folder should hold texture files";
    EXPECT_EQ(items.Icons().Icon(2).size(), QSize(32, 32));

    auto* schemes = dynamic_cast<CommandBarGallery*>(Find(15302));
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

TEST_F(ChooserHelperTab, TypePopupListsTheRangesWithSeparatorsAndUserDefinedDisabled) {
    CommandBarControl* type = Find(15402);
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
        EXPECT_EQ(item.Id(), 15410 + i);
        EXPECT_EQ(item.Caption(), QString::fromLatin1(captions[static_cast<size_t>(i)]));
        EXPECT_EQ(item.BeginGroup(), i == 2 || i == 8 || i == 9) << item.Id();
        EXPECT_EQ(item.Enabled(), i != 9) << item.Id();
        EXPECT_EQ(item.Checked(), i == 0) << item.Id();
    }
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

class ChooserHelperRange : public MainWindowFixture, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(ChooserHelperRange, TypeItemSetsSlidersSwatchCaptionAndLabel) {
    const RangeCase& c = GetParam();
    // Start from another range so every row has something to change.
    ASSERT_TRUE(window->CommandBars->ExecuteControl(typeBar(*window)->FindControl(c.id == 15413 ? 15416 : 15413)));
    ASSERT_TRUE(window->CommandBars->ExecuteControl(typeBar(*window)->FindControl(c.id)));

    EXPECT_EQ(window->m_RangeType, c.id);
    EXPECT_FALSE(window->m_IsUDC);
    EXPECT_EQ(sliderMaxima(*window), c.maxima);
    EXPECT_EQ(sliderValues(*window), c.values);
    EXPECT_EQ(topColor(), c.top);
    EXPECT_EQ(window->picColor->BackColor(), c.swatch);
    EXPECT_EQ(rangeCaption(*window), QString::fromLatin1(c.caption));
    EXPECT_EQ(window->lblAllColors->text(), QString::fromLatin1(c.label));
    EXPECT_EQ(labelIsBlack(*window), c.blackLabel);
    EXPECT_EQ(window->lblAllColors->font().pointSize(), 8);
    for (int id = 15410; id <= 15419; ++id) EXPECT_EQ(typeBar(*window)->FindControl(id)->Checked(), id == c.id) << id;
}

INSTANTIATE_TEST_SUITE_P(Ranges, ChooserHelperRange,
                         ::testing::Values(RangeCase{"AllRGB",
                                                     15410,
                                                     {255, 255, 255},
                                                     {255, 255, 255},
                                                     {255, 255, 255},
                                                     0xFFFFFF,
                                                     "Color Range - All Colors RGB",
                                                     "All Colors",
                                                     true},
                                           RangeCase{"AllHSB",
                                                     15411,
                                                     {359, 100, 100},
                                                     {359, 100, 100},
                                                     {255, 0, 4},
                                                     packed(255, 0, 4),
                                                     "Color Range - All Colors HSB",
                                                     "All Colors",
                                                     false},
                                           RangeCase{"Reds",
                                                     15412,
                                                     {359, 100, 100},
                                                     {0, 100, 100},
                                                     {255, 0, 0},
                                                     packed(255, 0, 0),
                                                     "Color Range - Reds",
                                                     "(0, 100, 100)",
                                                     false},
                                           RangeCase{"Greens",
                                                     15413,
                                                     {359, 100, 100},
                                                     {120, 100, 100},
                                                     {0, 255, 0},
                                                     packed(0, 255, 0),
                                                     "Color Range - Greens",
                                                     "(120, 100, 100)",
                                                     false},
                                           RangeCase{"Blues",
                                                     15414,
                                                     {359, 100, 100},
                                                     {240, 100, 100},
                                                     {0, 0, 255},
                                                     packed(0, 0, 255),
                                                     "Color Range - Blues",
                                                     "(240, 100, 100)",
                                                     false},
                                           RangeCase{"Yellows",
                                                     15415,
                                                     {359, 100, 100},
                                                     {60, 100, 100},
                                                     {255, 255, 0},
                                                     packed(255, 255, 0),
                                                     "Color Range - Yellows",
                                                     "(60, 100, 100)",
                                                     true},
                                           RangeCase{"Magentas",
                                                     15416,
                                                     {359, 100, 100},
                                                     {300, 100, 100},
                                                     {255, 0, 255},
                                                     packed(255, 0, 255),
                                                     "Color Range - Magentas",
                                                     "(300, 100, 100)",
                                                     true},
                                           RangeCase{"Cyans",
                                                     15417,
                                                     {359, 100, 100},
                                                     {180, 100, 100},
                                                     {0, 255, 255},
                                                     packed(0, 255, 255),
                                                     "Color Range - Cyans",
                                                     "(180, 100, 100)",
                                                     true},
                                           // The swatch keeps its fixed grey while the top colour is white.
                                           RangeCase{"Greys",
                                                     15418,
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

class ChooserHelperUserDefined : public MainWindowFixture, public ::testing::WithParamInterface<UserDefinedCase> {};

TEST_P(ChooserHelperUserDefined, SwitchesTheFlagOnOverTheCurrentRange) {
    const UserDefinedCase& c = GetParam();
    ChooserHelper::SetColorRange(c.range, typeBar(*window), *window);
    const auto values = sliderValues(*window);
    const auto top = topColor();
    const int32_t swatch = window->picColor->BackColor();

    ChooserHelper::SetColorRange(15419, typeBar(*window), *window);

    EXPECT_TRUE(window->m_IsUDC);
    EXPECT_EQ(window->m_RangeType, c.range);
    EXPECT_EQ(rangeCaption(*window), QString::fromLatin1(c.caption));
    EXPECT_EQ(sliderValues(*window), values);
    EXPECT_EQ(topColor(), top);
    EXPECT_EQ(window->picColor->BackColor(), swatch);
    for (int id = 15410; id <= 15419; ++id) EXPECT_EQ(typeBar(*window)->FindControl(id)->Checked(), id == 15419) << id;

    // Any range afterwards switches it off again and checks only its own item.
    ASSERT_TRUE(window->CommandBars->ExecuteControl(typeBar(*window)->FindControl(15413)));
    EXPECT_FALSE(window->m_IsUDC);
    for (int id = 15410; id <= 15419; ++id) EXPECT_EQ(typeBar(*window)->FindControl(id)->Checked(), id == 15413) << id;
}

INSTANTIATE_TEST_SUITE_P(OverRanges, ChooserHelperUserDefined,
                         ::testing::Values(UserDefinedCase{"OverRGB", 15410, "Color Range - My Colors RGB"},
                                           UserDefinedCase{"OverHSB", 15411, "Color Range - My Colors HSB"},
                                           UserDefinedCase{"OverReds", 15412, "Color Range - My Colors HSB"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The label over the top-colour swatch, for states the sliders and drops leave behind.
struct LabelCase {
    const char* name;
    int32_t range;
    std::array<int, 3> top;
    int32_t swatch;
    std::array<int, 3> sliders;
    const char* text;
    bool black;
};
std::ostream& operator<<(std::ostream& out, const LabelCase& c) { return out << c.name; }

class MainHelpersTopColorLabel : public MainWindowFixture, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(MainHelpersTopColorLabel, WritesTextAndColourByTheRangeAndTheTopColour) {
    const LabelCase& c = GetParam();
    ChooserHelper::SetColorRange(c.range, typeBar(*window), *window);
    Globals::TopColor->SetColor(c.top[0], c.top[1], c.top[2]);
    window->picColor->SetBackColor(c.swatch);
    for (size_t i = 0; i < 3; ++i) window->sldTopColor[i]->setValue(c.sliders[i]);

    MainHelpers::UpdateTopColorLabel(*window);

    EXPECT_EQ(window->lblAllColors->text(), QString::fromLatin1(c.text));
    EXPECT_EQ(labelIsBlack(*window), c.black);
}

INSTANTIATE_TEST_SUITE_P(
    States, MainHelpersTopColorLabel,
    ::testing::Values(
        LabelCase{
            "RgbWhiteSwatchReadsAllColors", 15410, {255, 255, 255}, 0xFFFFFF, {255, 255, 255}, "All Colors", true},
        LabelCase{
            "RgbOtherSwatchShowsRgb", 15410, {255, 255, 0}, packed(255, 255, 0), {255, 255, 0}, "(255, 255, 0)", true},
        LabelCase{"RgbRedIsWhiteText", 15410, {255, 0, 0}, packed(255, 0, 0), {255, 0, 0}, "(255, 0, 0)", false},
        LabelCase{"HsbSlidersAtMaximumReadAllColors",
                  15411,
                  {255, 0, 4},
                  packed(255, 0, 4),
                  {359, 100, 100},
                  "All Colors",
                  false},
        LabelCase{"HsbOneSliderMovedShowsHsb",
                  15411,
                  {255, 255, 0},
                  packed(255, 255, 0),
                  {60, 100, 100},
                  "(60, 100, 100)",
                  true},
        LabelCase{
            "RedsAlwaysWhiteText", 15412, {255, 255, 255}, packed(255, 0, 0), {0, 100, 100}, "(0, 0, 100)", false},
        LabelCase{
            "BluesAlwaysWhiteText", 15414, {255, 255, 0}, packed(0, 0, 255), {240, 100, 100}, "(60, 100, 100)", false},
        LabelCase{"GreensFollowTheChannels",
                  15413,
                  {255, 255, 255},
                  packed(0, 255, 0),
                  {120, 100, 100},
                  "(0, 0, 100)",
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChooserHelperTab, StartUpLeavesRgbWithWhiteTopColourAndAllColors) {
    EXPECT_EQ(window->m_RangeType, 15410);
    EXPECT_EQ(sliderValues(*window), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(window->picColor->BackColor(), 0xFFFFFF);
    EXPECT_EQ(rangeCaption(*window), QStringLiteral("Color Range - All Colors RGB"));
    EXPECT_EQ(window->lblAllColors->text(), QStringLiteral("All Colors"));
}

// Textures.
TEST_F(ChooserHelperTab, ATextureFromTheGalleryDressesEveryProoferWithoutAPicture) {
    QTemporaryDir folder;
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    const QString file = folder.path() + QStringLiteral("/photo.png");
    ASSERT_TRUE(picture.save(file));
    auto image = Factory::NewTexture(1, QStringLiteral("photo"), file, TextureKind::Image, false, false);
    window->cpList[1]->ChangeTexture(image);
    ASSERT_EQ(window->cpList[1]->PanelColor()->ColorTexture()->TextureType(), 2);

    auto* gallery = dynamic_cast<CommandBarGallery*>(Find(15101));
    ASSERT_NE(gallery, nullptr);
    gallery->SetSelectedItem(gallery->Items()->FindItem(2));
    ASSERT_TRUE(window->CommandBars->ExecuteControl(gallery));

    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(2));
    for (size_t i : {size_t{0}, size_t{2}}) {
        const auto texture = window->cpList[i]->PanelColor()->ColorTexture();
        EXPECT_EQ(texture->Id(), 2);
        EXPECT_NE(texture, Globals::TextureItem(2)) << "each proofer holds its own copy";
    }
    EXPECT_NE(window->cpList[0]->PanelColor()->ColorTexture(), window->cpList[2]->PanelColor()->ColorTexture());
    EXPECT_EQ(window->cpList[1]->PanelColor()->ColorTexture()->TextureType(), 2);
    EXPECT_EQ(window->cpList[1]->PanelColor()->ColorTexture()->path(), file);
    EXPECT_EQ(gallery->CheckedItem(), 2) << "the update marks the selected texture";

    // New colours carry the selected texture.
    window->CreateNewColors();
    EXPECT_EQ(window->cpList[0]->PanelColor()->ColorTexture()->Id(), 2);
}

TEST_F(ChooserHelperTab, TextureGalleryWithoutAChosenItemChangesNothing) {
    auto* gallery = dynamic_cast<CommandBarGallery*>(Find(15101));
    ASSERT_NE(gallery, nullptr);
    window->CommandBars->ExecuteControl(gallery);
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(1));
}

TEST_F(ChooserHelperTab, SelectTextureByNameIgnoresBlanksAndCase) {
    ChooserHelper::SelectTextureByName(Globals::TextureItem(2)->Name().toUpper(), *window);
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(2));
    ChooserHelper::SelectTextureByName(QStringLiteral("no texture"), *window);
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(1));
    auto* gallery = dynamic_cast<CommandBarGallery*>(Find(15101));
    EXPECT_EQ(gallery->SelectedItem(), gallery->Items()->FindItem(1));
    ChooserHelper::SelectTextureByName(QStringLiteral("no such texture"), *window);
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(1));
    // The gallery's heading is no texture: a document naming it changes nothing.
    EXPECT_EQ(TestEnvironment::ErrorNumberOf(
                  [&] { ChooserHelper::SelectTextureByName(QStringLiteral(" textures "), *window); }),
              0);
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(1));
    EXPECT_EQ(gallery->SelectedItem(), gallery->Items()->FindItem(1));
}

// Schemes.
TEST_F(ChooserHelperTab, ChoosingThreeSchemesShrinksTheProofersForThreeStrips) {
    auto* gallery = dynamic_cast<CommandBarGallery*>(Find(15302));
    ASSERT_NE(gallery, nullptr);
    gallery->SetSelectedItem(gallery->Items()->FindItem(3));
    ASSERT_TRUE(window->CommandBars->ExecuteControl(gallery));
    EXPECT_EQ(window->NumberOfHistoryGroups, 3);
    EXPECT_EQ(window->cpList[0]->height(), window->picClient->height() - 240);
    EXPECT_EQ(gallery->CheckedItem(), 3);
    EXPECT_TRUE(window->m_IsOpeningJustAfterStartup) << "the strip count is no edit";
}

// Paging through the generated colours.
TEST_F(ChooserHelperTab, PagingShowsEarlierColoursAndEnablesByTheCursor) {
    window->CreateNewColors();
    window->CreateNewColors();
    ColorCollection& generated = *Globals::GeneratedColors;
    ASSERT_EQ(generated.count(), 9);
    ASSERT_EQ(generated.Position(), 9);

    CommandBarControl previous(CommandBarControl::Button, 15002, QString(), nullptr, true);
    CommandBarControl next(CommandBarControl::Button, 15004, QString(), nullptr, true);
    const auto enabled = [&](CommandBarControl& control) {
        window->CommandBars_Update(&control);
        return control.Enabled();
    };
    EXPECT_TRUE(enabled(previous));
    EXPECT_FALSE(enabled(next));

    Execute(15002);
    EXPECT_EQ(generated.Position(), 8);
    EXPECT_EQ(ProoferColorObjects(),
              (std::vector<std::shared_ptr<Color>>{generated.Item(6), generated.Item(7), generated.Item(8)}));
    EXPECT_TRUE(enabled(next));

    for (int i = 0; i < 4; ++i) Execute(15002);
    EXPECT_EQ(generated.Position(), 4);
    EXPECT_TRUE(enabled(previous));
    Execute(15002);
    EXPECT_EQ(generated.Position(), 3);
    EXPECT_FALSE(enabled(previous)) << "the cursor no longer lies beyond the proofers";
    EXPECT_EQ(ProoferColorObjects(),
              (std::vector<std::shared_ptr<Color>>{generated.Item(1), generated.Item(2), generated.Item(3)}));

    // Below a full row the refill stops where the list ends: proofer 0 keeps what it showed.
    Execute(15002);
    EXPECT_EQ(generated.Position(), 2);
    EXPECT_EQ(ProoferColorObjects(),
              (std::vector<std::shared_ptr<Color>>{generated.Item(1), generated.Item(1), generated.Item(2)}));

    Execute(15004);
    EXPECT_EQ(generated.Position(), 3);
    EXPECT_EQ(window->cpList[2]->PanelColor(), generated.Item(3));
    EXPECT_EQ(generated.count(), 9) << "paging generates nothing";
}

TEST_F(ChooserHelperTab, PagingSkipsAFixedProofer) {
    window->CreateNewColors();
    window->cpList[2]->SetFixed(true);
    const auto fixed = window->cpList[2]->PanelColor();
    Execute(15002);
    EXPECT_EQ(window->cpList[2]->PanelColor(), fixed);
    EXPECT_EQ(window->cpList[1]->PanelColor(), Globals::GeneratedColors->Item(4));
}

TEST_F(ChooserHelperTab, KeepAllTouchesTheDocument) {
    Execute(15005);
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);
}

}  // namespace
