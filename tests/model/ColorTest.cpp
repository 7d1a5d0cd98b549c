#include "model/Color.h"
#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/RuntimeError.h"
#include "services/FileShared.h"
#include "support/ModelGlobals.h"
#include "support/ModelPrinters.h"
#include "support/TestEnvironment.h"
#include "services/CommandIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>

namespace {

using Triple = std::array<int32_t, 3>;

Triple rgb(const Color& c) { return {c.Red(), c.Green(), c.Blue()}; }
Triple hsb(const Color& c) { return {c.Hue(), c.Saturation(), c.Brightness()}; }

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

class ColorTest : public ::testing::Test {
protected:
    ModelGlobals globals;
};

TEST_F(ColorTest, ANewColourIsCleanWhiteWithAFreshPath) {
    Color a;
    Color b;
    EXPECT_EQ(rgb(a), (Triple{255, 255, 255}));
    EXPECT_EQ(hsb(a), (Triple{0, 0, 100}));
    EXPECT_EQ(a.RangeType(), CommandIds::RangeAllRGB);
    EXPECT_FALSE(a.ColorTexture());
    EXPECT_FALSE(a.IsDirty());
    EXPECT_TRUE(a.TemporaryImagePath().startsWith(QDir::tempPath() + "/"));
    EXPECT_FALSE(QFileInfo::exists(a.TemporaryImagePath()));
    EXPECT_NE(a.TemporaryImagePath(), b.TemporaryImagePath());
}

// Each case starts from (10, 20, 30), whose HSB is (210, 67, 12), with the dirty flag cleared.
struct LetCase {
    const char* name;
    std::function<void(Color&)> let;
    Triple rgb;
    Triple hsb;
    bool dirty;
};

std::ostream& operator<<(std::ostream& out, const LetCase& c) { return out << c.name; }

class ColorLets : public ColorTest, public ::testing::WithParamInterface<LetCase> {};

TEST_P(ColorLets, ClampAndKeepBothTriplesInStep) {
    Color c;
    c.SetColor(10, 20, 30);
    c.SetIsDirty(false);
    GetParam().let(c);
    EXPECT_EQ(rgb(c), GetParam().rgb);
    EXPECT_EQ(hsb(c), GetParam().hsb);
    EXPECT_EQ(c.IsDirty(), GetParam().dirty);
}

INSTANTIATE_TEST_SUITE_P(
    Color, ColorLets,
    ::testing::Values(
        LetCase{"red_300_stores_255", [](Color& c) { c.SetRed(300); }, {255, 20, 30}, {357, 92, 100}, true},
        LetCase{"red_minus_4_stores_0", [](Color& c) { c.SetRed(-4); }, {0, 20, 30}, {200, 100, 12}, true},
        LetCase{"green_change", [](Color& c) { c.SetGreen(200); }, {10, 200, 30}, {126, 95, 78}, true},
        LetCase{"blue_change", [](Color& c) { c.SetBlue(0); }, {10, 20, 0}, {90, 100, 8}, true},
        LetCase{"same_red_is_no_change", [](Color& c) { c.SetRed(10); }, {10, 20, 30}, {210, 67, 12}, false},
        LetCase{"set_color_same_values", [](Color& c) { c.SetColor(10, 20, 30); }, {10, 20, 30}, {210, 67, 12}, false},
        LetCase{
            "set_color_clamps_each", [](Color& c) { c.SetColor(-1, 256, 128); }, {0, 255, 128}, {150, 100, 100}, true},
        LetCase{"hue_400_stored_rgb_from_359", [](Color& c) { c.SetHue(400); }, {31, 10, 10}, {400, 67, 12}, true},
        LetCase{"saturation_minus_20_stored_grey_rgb",
                [](Color& c) { c.SetSaturation(-20); },
                {31, 31, 31},
                {210, -20, 12},
                true},
        LetCase{"brightness_150_stored_rgb_from_100",
                [](Color& c) { c.SetBrightness(150); },
                {84, 170, 255},
                {210, 67, 150},
                true},
        LetCase{"same_hue_is_no_change", [](Color& c) { c.SetHue(210); }, {10, 20, 30}, {210, 67, 12}, false},
        LetCase{"same_channel_after_unclamped_hue_keeps_hue",
                [](Color& c) {
                    c.SetHue(400);
                    c.SetIsDirty(false);
                    c.SetRed(31);
                },
                {31, 10, 10},
                {400, 67, 12},
                false},
        LetCase{"same_picture_path_is_no_change",
                [](Color& c) { c.SetTemporaryImagePath(c.TemporaryImagePath()); },
                {10, 20, 30},
                {210, 67, 12},
                false},
        LetCase{"picture_path_differing_in_case_is_a_change",
                [](Color& c) { c.SetTemporaryImagePath(c.TemporaryImagePath().toLower()); },
                {10, 20, 30},
                {210, 67, 12},
                true},
        LetCase{"dirty_let_stores_the_flag", [](Color& c) { c.SetIsDirty(true); }, {10, 20, 30}, {210, 67, 12}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorTest, ClearKeepsAnUnclampedHueOfAWhiteColourAndDeletesTheOldFile) {
    Color c;
    c.Init(Globals::TextureItem(2), CommandIds::RangeGreens);
    c.SetColor(255, 255, 255);
    c.SetHue(400);
    ASSERT_EQ(rgb(c), (Triple{255, 255, 255}));
    const QString oldPath = c.TemporaryImagePath();
    touch(oldPath);
    const auto texture = c.ColorTexture();
    c.Clear();
    EXPECT_EQ(c.Hue(), 400);
    EXPECT_EQ(c.RangeType(), CommandIds::RangeAllRGB);
    EXPECT_FALSE(c.IsDirty());
    EXPECT_NE(c.TemporaryImagePath(), oldPath);
    EXPECT_FALSE(QFileInfo::exists(oldPath)) << "nobody else knows that name";
    EXPECT_EQ(c.ColorTexture(), texture);
    EXPECT_EQ(texture->Id(), 0);
    EXPECT_EQ(texture->Name(), QString());
}

TEST_F(ColorTest, NoTemporaryFolderMeansNoColour) {
    Color kept;
    kept.SetColor(1, 2, 3);
    const QString keptPath = kept.TemporaryImagePath();
    const QByteArray old = qgetenv("TMPDIR");
    qputenv("TMPDIR", TestEnvironment::Home().toUtf8() + "/no-such-folder");
    FileShared::SetSystemTemporaryFolder(TestEnvironment::Home() + "/no-system-tmp");
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([] { Color c; }), 2600);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { kept.Clear(); }), 2600);
    qputenv("TMPDIR", old);
    FileShared::SetSystemTemporaryFolder(QStringLiteral("/tmp"));
    // Clear stops at the path: the colour is white already and keeps its old path.
    EXPECT_EQ(rgb(kept), (Triple{255, 255, 255}));
    EXPECT_EQ(kept.TemporaryImagePath(), keptPath);
}

// The draw colour names the program folder's "stdcolor.bmp", which no viewer, clear or destruction deletes.
TEST_F(ColorTest, DestructionDeletesThePictureButNeverTheProgramFoldersStdColor) {
    const QString program = TestEnvironment::Home() + "/program";
    QDir().mkpath(program);
    const QString savedProgramPath = App::Path();
    App::SetPath(program);
    const QString stdColor = program + "/stdcolor.bmp";
    touch(stdColor);
    QString ownPath;
    {
        Color own;
        ownPath = own.TemporaryImagePath();
        touch(ownPath);
        Color drawColor;
        drawColor.SetTemporaryImagePath(stdColor);
        drawColor.AddViewer();
        drawColor.RemoveViewer();
        EXPECT_TRUE(QFileInfo::exists(stdColor));
        Color clearedDrawColor;
        clearedDrawColor.SetTemporaryImagePath(stdColor);
        clearedDrawColor.Clear();
        EXPECT_TRUE(QFileInfo::exists(stdColor));
        Color withoutFile;
    }
    EXPECT_FALSE(QFileInfo::exists(ownPath));
    EXPECT_TRUE(QFileInfo::exists(stdColor));
    App::SetPath(savedProgramPath);
}

// The file serves only the swatches showing the colour: it goes with the last of them, or with its name.
TEST_F(ColorTest, ThePictureFileGoesWithTheLastViewerOrWithItsPath) {
    Color c;
    const QString first = c.TemporaryImagePath();
    touch(first);
    c.AddViewer();
    c.AddViewer();
    c.RemoveViewer();
    EXPECT_TRUE(QFileInfo::exists(first)) << "one swatch still shows the colour";
    c.RemoveViewer();
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_EQ(c.TemporaryImagePath(), first) << "the colour lives on and writes the same file when shown again";
    c.RemoveViewer();
    EXPECT_EQ(c.Viewers(), 0);

    touch(first);
    c.SetTemporaryImagePath(first + ".other");
    EXPECT_FALSE(QFileInfo::exists(first));
}

TEST_F(ColorTest, TextureSetClonesInternalTexturesAndSharesUserImages) {
    Color c;
    const auto listEntry = Globals::TextureItem(2);
    c.SetColorTexture(listEntry);
    EXPECT_TRUE(c.IsDirty());
    ASSERT_NE(c.ColorTexture(), listEntry);
    EXPECT_TRUE(c.ColorTexture()->Equals(listEntry));
    EXPECT_FALSE(c.ColorTexture()->ReadOnly());

    // An equal texture is no change: the held object stays.
    const auto held = c.ColorTexture();
    c.SetIsDirty(false);
    c.SetColorTexture(listEntry);
    EXPECT_FALSE(c.IsDirty());
    EXPECT_EQ(c.ColorTexture(), held);

    const auto image = Factory::NewTexture(7, "sea", "/pics/sea.jpg", TextureKind::Image, false, false);
    c.SetColorTexture(image);
    EXPECT_TRUE(c.IsDirty());
    EXPECT_EQ(c.ColorTexture(), image);

    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { c.SetColorTexture(nullptr); }), RuntimeError::ObjectVariableNotSet);
}

TEST_F(ColorTest, InitRecordsTheRangeAndTakesTheTexture) {
    Color c;
    c.Init(Globals::TextureItem(2), CommandIds::RangeMagentas, true);
    EXPECT_EQ(c.RangeType(), CommandIds::RangeMagentas);
    EXPECT_TRUE(c.ColorTexture()->Equals(Globals::TextureItem(2)));
    EXPECT_NE(c.ColorTexture(), Globals::TextureItem(2));
    EXPECT_TRUE(c.IsDirty());

    Globals::TopColor.reset();
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { c.Init(Globals::TextureItem(1), CommandIds::RangeAllRGB); }),
              RuntimeError::ObjectVariableNotSet);
}

// Init of the top colour itself reads each bound from the value it is about to replace.
TEST_F(ColorTest, InitOfTheTopColourDrawsBelowItsOwnValues) {
    for (int i = 0; i < 200; ++i) {
        Globals::TopColor->SetColor(255, 255, 255);
        Globals::TopColor->Init(Globals::TextureItem(1), CommandIds::RangeAllRGB);
        for (int32_t v : rgb(*Globals::TopColor)) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 254);
        }
    }
}

TEST_F(ColorTest, CloneCopiesChannelsRangeAndTextureIntoANewColour) {
    Color c;
    c.Init(Globals::TextureItem(2), CommandIds::RangeBlues);
    c.SetColor(10, 20, 30);
    c.SetHue(400);
    c.SetIsDirty(false);
    const auto clone = c.Clone();
    EXPECT_EQ(rgb(*clone), rgb(c));
    // The clone's HSB follows from its channels, not from the stored unclamped hue.
    EXPECT_EQ(hsb(*clone), (Triple{0, 68, 12}));
    EXPECT_EQ(clone->RangeType(), CommandIds::RangeBlues);
    EXPECT_TRUE(clone->IsDirty());
    EXPECT_NE(clone->TemporaryImagePath(), c.TemporaryImagePath());
    EXPECT_NE(clone->ColorTexture(), c.ColorTexture());
    EXPECT_TRUE(clone->ColorTexture()->Equals(c.ColorTexture()));

    const auto image = Factory::NewTexture(7, "sea", "/pics/sea.jpg", TextureKind::Image, false, false);
    c.SetColorTexture(image);
    EXPECT_NE(c.Clone()->ColorTexture(), image);

    Color bare;
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { bare.Clone(); }), RuntimeError::ObjectVariableNotSet);
}

TEST_F(ColorTest, RGBColorPacksTheChannels) {
    Color c;
    c.SetColor(10, 200, 255);
    EXPECT_EQ(c.RGBColor(), 10 + 256 * 200 + 65536 * 255);
}

std::shared_ptr<Color> makeColor(Triple channels, const QString& texturePath) {
    auto c = std::make_shared<Color>();
    c->SetColorTexture(Factory::NewTexture(5, "sea", texturePath, TextureKind::Image, false, false));
    c->SetColor(channels[0], channels[1], channels[2]);
    return c;
}

TEST_F(ColorTest, EqualsComparesChannelsAndTextureOnly) {
    const auto a = makeColor({10, 20, 30}, "/pics/sea.jpg");
    EXPECT_FALSE(a->Equals(nullptr));
    EXPECT_TRUE(a->Equals(a));

    const auto same = makeColor({10, 20, 30}, "/pics/sea.jpg");
    same->SetHue(400);
    same->SetRed(10);
    same->SetTemporaryImagePath("/elsewhere.bmp");
    same->Init(same->ColorTexture(), CommandIds::RangeGreys);
    same->SetColor(10, 20, 30);
    EXPECT_TRUE(a->Equals(same));
    EXPECT_TRUE(same->Equals(a));

    EXPECT_FALSE(a->Equals(makeColor({10, 21, 30}, "/pics/sea.jpg")));
    EXPECT_FALSE(a->Equals(makeColor({10, 20, 30}, "/pics/Sea.jpg")));

    auto bare = std::make_shared<Color>();
    bare->SetColor(10, 20, 30);
    EXPECT_FALSE(bare->Equals(a));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { a->Equals(bare); }), RuntimeError::ObjectVariableNotSet);
}

struct FormatCase {
    const char* name;
    const char* format;
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) { return out << c.name; }

class ColorToString : public ColorTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ColorToString, FormatsTheValues) {
    Color c;
    c.SetColor(10, 200, 255);
    EXPECT_EQ(c.ToString(QString::fromLatin1(GetParam().format)), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Color, ColorToString,
    ::testing::Values(FormatCase{"empty_is_rgb", "", "(10, 200, 255)"}, FormatCase{"rgb", "rgb", "(10, 200, 255)"},
                      FormatCase{"upper_case_RGB", "RGB", "(10, 200, 255)"}, FormatCase{"hsb", "hsb", "(193, 96, 100)"},
                      FormatCase{"html_upper_hex_padded", "HTML", "#0AC8FF"},
                      FormatCase{"mixed_case_html", "Html", "#0AC8FF"}, FormatCase{"unknown_is_empty", "cmyk", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorTest, HsbTextShowsAnUnclampedHue) {
    Color c;
    c.SetColor(10, 200, 255);
    c.SetHue(400);
    EXPECT_EQ(c.ToString("hsb"), QStringLiteral("(400, 96, 100)"));
}

}  // namespace
