#include "SwatchFixture.h"

#include "platform/RuntimeError.h"
#include "services/DropShadowOverlay.h"
#include "services/XMLShared.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QSlider>

#include <ostream>

namespace {

// Every pixel of the image has the colour.
bool AllPixels(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != colour)
                return false;
    return !image.isNull();
}

using ColorPanelRender = SwatchTest;

TEST_F(ColorPanelRender, PlainColourFillsTheSurfaceTheFileAndTheFlatPicture) {
    int changed = 0;
    QObject::connect(panel, &ColorPanel::Changed, [&] { ++changed; });
    auto color = MakeColor(10, 200, 30);
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    EXPECT_TRUE(panel->Ready());
    EXPECT_FALSE(panel->Textured());
    EXPECT_EQ(panel->PanelColor(), color);
    EXPECT_GE(changed, 1);

    const QImage file(color->TemporaryImagePath());
    EXPECT_EQ(file.size(), QSize(PanelWidth, PanelHeight));
    EXPECT_TRUE(AllPixels(file, QColor(10, 200, 30)));
    EXPECT_TRUE(AllPixels(Surface()->Image(), QColor(10, 200, 30)));
    EXPECT_TRUE(AllPixels(panel->PictureColor()->Picture(), QColor(10, 200, 30)));
    EXPECT_LT(panel->PictureColor()->x(), 0);  // out of sight
}

TEST_F(ColorPanelRender, PatternTextureModulatesTheColourAndIsWrittenToTheFile) {
    auto color = MakeColor(200, 40, 40, 2);
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    EXPECT_TRUE(panel->Textured());
    const QImage file(color->TemporaryImagePath());
    ASSERT_EQ(file.size(), QSize(PanelWidth, PanelHeight));
    // Stripes two pixels wide: white raises the lightness, black lowers it; the hue stays red.
    const QColor light = file.pixelColor(2, 0);
    const QColor dark = file.pixelColor(0, 0);
    EXPECT_GT(light.lightness(), QColor(200, 40, 40).lightness());
    EXPECT_LT(dark.lightness(), QColor(200, 40, 40).lightness());
    EXPECT_EQ(light.hue(), 0);
    EXPECT_EQ(Surface()->Image().pixelColor(2, 0), light);
}

// The pattern is read again for a new colour once its file changed on disk, and is gone once the file is.
TEST_F(ColorPanelRender, APatternFileChangedOnDiskIsReadForTheNextColour) {
    const QString stripes = App::Path() + QStringLiteral("/textures/stripes.bmp");
    const QString outside = App::Path() + QStringLiteral("/outside.bmp");
    WritePattern(outside, 2);
    auto external = Factory::NewTexture(4, QStringLiteral("Outside"), outside, TextureKind::Pattern, false, false);
    const QColor base(200, 40, 40);
    // Texture 0 stands for the texture outside the program folder.
    auto coloured = [&](int textureIndex) {
        auto color = MakeColor(base.red(), base.green(), base.blue(), textureIndex == 0 ? 1 : textureIndex);
        if (textureIndex == 0)
            color->SetColorTexture(external);
        return color;
    };
    panel->Init(host.get(), coloured(2), PanelStyle::Plain, false);
    ASSERT_LT(QImage(panel->PanelColor()->TemporaryImagePath()).pixelColor(1, 0).lightness(), base.lightness());

    WritePattern(stripes, 1);
    panel->SetColor(coloured(2));
    EXPECT_GT(QImage(panel->PanelColor()->TemporaryImagePath()).pixelColor(1, 0).lightness(), base.lightness())
        << "the stripes one pixel wide are shown";

    panel->SetColor(coloured(0));
    EXPECT_LT(QImage(panel->PanelColor()->TemporaryImagePath()).pixelColor(1, 0).lightness(), base.lightness());
    ASSERT_TRUE(QFile::remove(outside));
    panel->SetColor(coloured(0));
    EXPECT_TRUE(AllPixels(QImage(panel->PanelColor()->TemporaryImagePath()), base)) << "a pattern that is gone";
}

TEST_F(ColorPanelRender, PatternWhoseFileIsGoneShowsThePlainColourWithoutAMessage) {
    ScriptedMessageBox boxes;
    auto texture = Factory::NewTexture(2, QStringLiteral("Gone"), QStringLiteral("/nowhere/gone.bmp"),
                                       TextureKind::Pattern, false, false);
    auto color = MakeColor(0, 0, 255);
    color->SetColorTexture(texture);
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    EXPECT_TRUE(AllPixels(QImage(color->TemporaryImagePath()), QColor(0, 0, 255)));
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(ColorPanelRender, FixedSwatchKeepsItsColour) {
    auto kept = MakeColor(1, 2, 3);
    panel->Init(host.get(), kept, PanelStyle::Raised, false, true);
    panel->SetColor(MakeColor(250, 250, 250));
    EXPECT_EQ(panel->PanelColor(), kept);
    EXPECT_TRUE(AllPixels(Surface()->Image(), QColor(1, 2, 3)));

    panel->SetFixed(false);
    auto next = MakeColor(250, 250, 250);
    panel->SetColor(next);
    EXPECT_EQ(panel->PanelColor(), next);
}

TEST_F(ColorPanelRender, ClearGivesWhiteWithoutTextureAndUnfixes) {
    panel->Init(host.get(), MakeColor(1, 2, 3, 2), PanelStyle::Plain, false, true);
    panel->Clear();
    EXPECT_FALSE(panel->Fixed());
    EXPECT_FALSE(panel->Textured());
    EXPECT_TRUE(AllPixels(Surface()->Image(), QColor(255, 255, 255)));
}

// Hue in degrees and the channel order the recoloured grey must show.
struct HueCase {
    const char* name;
    int r, g, b;
    // which channels are high (m2) and which low (m1); a channel neither is in between
    const char* high;
    const char* low;
};
std::ostream& operator<<(std::ostream& os, const HueCase& c) { return os << c.name; }

class ColorPanelHue : public SwatchTest, public ::testing::WithParamInterface<HueCase> {};

int channel(const QColor& c, char which) { return which == 'r' ? c.red() : which == 'g' ? c.green() : c.blue(); }

TEST_P(ColorPanelHue, RecolouredPictureTakesTheColoursOwnHue) {
    const HueCase& c = GetParam();
    const QString picture = WritePicture(QStringLiteral("grey.png"), 6, 4, 128);
    panel->Init(host.get(), MakeColor(c.r, c.g, c.b), PanelStyle::Plain, false);
    DropFiles({picture});
    ASSERT_EQ(panel->PanelColor()->ColorTexture()->TextureType(), TextureKind::Image);
    const QColor shown = Surface()->Image().pixelColor(1, 1);
    // A saturated recolouring: the high channels lie well above the low ones and close to each other.
    for (const char* h = c.high; *h; ++h)
        for (const char* l = c.low; *l; ++l)
            EXPECT_GT(channel(shown, *h) - channel(shown, *l), 40) << shown.name().toStdString();
    for (const char* h = c.high; *h && h[1]; ++h)
        EXPECT_LE(std::abs(channel(shown, h[0]) - channel(shown, h[1])), 2) << shown.name().toStdString();
    for (const char* l = c.low; *l && l[1]; ++l)
        EXPECT_LE(std::abs(channel(shown, l[0]) - channel(shown, l[1])), 2) << shown.name().toStdString();
    // The lightness is the picture's.
    EXPECT_NEAR(shown.lightness(), 128, 2);
}

INSTANTIATE_TEST_SUITE_P(
    SixHues, ColorPanelHue,
    ::testing::Values(HueCase{"red", 255, 0, 0, "r", "gb"}, HueCase{"yellow", 255, 255, 0, "rg", "b"},
                      HueCase{"green", 0, 255, 0, "g", "rb"}, HueCase{"cyan", 0, 255, 255, "gb", "r"},
                      HueCase{"blue", 0, 0, 255, "b", "rg"}, HueCase{"magenta", 255, 0, 255, "rb", "g"}),
    [](const auto& info) { return std::string(info.param.name); });

using ColorPanelPicture = SwatchTest;

TEST_F(ColorPanelPicture, DroppedPictureSizesTheSurfaceAndTheFileHoldsThePlainColour) {
    const QString picture = WritePicture(QStringLiteral("small.png"), 12, 9, 200);
    auto color = MakeColor(0, 0, 200);
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    DropFiles({picture, QStringLiteral("/nowhere/second.png")});
    const auto& texture = color->ColorTexture();
    EXPECT_EQ(texture->TextureType(), TextureKind::Image);
    EXPECT_EQ(texture->path(), picture);
    EXPECT_FALSE(texture->Internal());
    EXPECT_EQ(Surface()->size(), QSize(12, 9));

    panel->RefreshImageFile();
    const QImage file(color->TemporaryImagePath());
    EXPECT_EQ(file.size(), QSize(12, 9));
    EXPECT_TRUE(AllPixels(file, QColor(0, 0, 200)));
    // The surface shows the recoloured picture, not the plain colour.
    EXPECT_NE(Surface()->Image().pixelColor(0, 0), QColor(0, 0, 200));
}

TEST_F(ColorPanelPicture, ADropTakesItsFirstFilePastItemsThatAreNoFiles) {
    const QString picture = WritePicture(QStringLiteral("after_link.png"), 5, 4);
    panel->Init(host.get(), MakeColor(0, 0, 200), PanelStyle::Plain, false);
    DropUrls({QUrl(QStringLiteral("https://example.com/web.png")), QUrl::fromLocalFile(picture)});
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->path(), picture);
    EXPECT_EQ(Surface()->size(), QSize(5, 4));
}

TEST_F(ColorPanelPicture, SetColorCarriesThePictureToTheNewColour) {
    const QString picture = WritePicture(QStringLiteral("carry.png"), 8, 8, 100);
    panel->Init(host.get(), MakeColor(255, 0, 0), PanelStyle::Raised, false);
    DropFiles({picture});
    const QColor before = Surface()->Image().pixelColor(2, 2);

    auto blue = MakeColor(0, 0, 255);
    const auto blueTexture = blue->ColorTexture();
    panel->SetColor(blue);
    const auto& carried = blue->ColorTexture();
    EXPECT_EQ(carried->TextureType(), TextureKind::Image);
    EXPECT_EQ(carried->path(), picture);
    EXPECT_NE(carried, blueTexture);
    const QColor after = Surface()->Image().pixelColor(2, 2);
    EXPECT_GT(before.red(), before.blue());
    EXPECT_GT(after.blue(), after.red());
    EXPECT_NEAR(after.lightness(), before.lightness(), 2);
}

// Ways a picture gets recoloured without a render of the swatch.
enum class Recolour { DroppedOnAPattern, NewColourSet, SliderMoved };
struct RecolourCase {
    const char* name;
    Recolour how;
};
std::ostream& operator<<(std::ostream& os, const RecolourCase& c) { return os << c.name; }

class ColorPanelPictureFile : public SwatchTest, public ::testing::WithParamInterface<RecolourCase> {};

TEST_P(ColorPanelPictureFile, TheColoursFileHoldsItsPlainColour) {
    panel->Init(host.get(), MakeColor(200, 40, 40, 2), PanelStyle::Plain, false);
    ASSERT_FALSE(AllPixels(QImage(panel->PanelColor()->TemporaryImagePath()), QColor(200, 40, 40)));  // striped
    DropFiles({WritePicture(QStringLiteral("photo.png"), 12, 9)});
    ASSERT_EQ(panel->PanelColor()->ColorTexture()->TextureType(), TextureKind::Image);
    QColor expected(200, 40, 40);
    switch (GetParam().how) {
        case Recolour::DroppedOnAPattern: break;
        case Recolour::NewColourSet:
            panel->SetColor(MakeColor(0, 0, 255));
            expected = QColor(0, 0, 255);
            break;
        case Recolour::SliderMoved:
            panel->findChild<QSlider*>(QStringLiteral("sldColor1"))->setValue(150);
            expected = QColor(200, 150, 40);
            break;
    }
    EXPECT_TRUE(AllPixels(QImage(panel->PanelColor()->TemporaryImagePath()), expected));
}

INSTANTIATE_TEST_SUITE_P(Paths, ColorPanelPictureFile,
                         ::testing::Values(RecolourCase{"dropped_on_a_pattern", Recolour::DroppedOnAPattern},
                                           RecolourCase{"new_colour_set", Recolour::NewColourSet},
                                           RecolourCase{"slider_moved", Recolour::SliderMoved}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorPanelPicture, DroppedFileThatIsNoPictureKeepsTheLookAndTheTexture) {
    QFile text(TestEnvironment::Home() + QStringLiteral("/notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is no picture");
    text.close();
    auto color = MakeColor(30, 60, 90, 2);
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    const QImage before = Surface()->Image();
    DropFiles({text.fileName(), WritePicture(QStringLiteral("fine.png"), 4, 4)});
    EXPECT_EQ(color->ColorTexture()->TextureType(), TextureKind::Pattern);
    EXPECT_EQ(color->ColorTexture()->path(), QStringLiteral("stripes.bmp"));
    EXPECT_TRUE(color->ColorTexture()->Internal());
    EXPECT_EQ(Surface()->Image(), before);
}

TEST_F(ColorPanelPicture, LoadColorizerTakesThePictureChosen) {
    const QString picture = WritePicture(QStringLiteral("chosen.png"), 5, 7);
    ScriptedFileDialog dialogs({picture});
    panel->Init(host.get(), MakeColor(9, 9, 9), PanelStyle::Plain, false);
    EXPECT_TRUE(panel->LoadColorizer());
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const FileDialog::Request& asked = dialogs.Requests()[0];
    EXPECT_EQ(asked.title, QStringLiteral("Open image"));
    EXPECT_EQ(asked.flags, 4100);
    EXPECT_EQ(asked.filter,
              QStringLiteral("Pictures (*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga)|*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga"));
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->path(), picture);
    EXPECT_EQ(Surface()->size(), QSize(5, 7));
}

TEST_F(ColorPanelPicture, LoadColorizerCancelledOrFailedReturnsFalse) {
    ScriptedMessageBox boxes;
    QFile text(TestEnvironment::Home() + QStringLiteral("/fake.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("BM but nothing more");
    text.close();
    ScriptedFileDialog dialogs({QString(), text.fileName()});
    auto color = MakeColor(9, 9, 9);
    panel->Init(host.get(), color, PanelStyle::Plain, false);

    EXPECT_FALSE(panel->LoadColorizer());  // cancelled
    EXPECT_TRUE(boxes.Requests().empty());

    EXPECT_FALSE(panel->LoadColorizer());  // no picture
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, QStringLiteral("Error loading image."));
    EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Information);
    EXPECT_EQ(boxes.Requests()[0].title, App::Title());
    EXPECT_EQ(color->ColorTexture()->TextureType(), TextureKind::None);
    EXPECT_TRUE(color->ColorTexture()->path().isEmpty());
}

// Swatches showing one picture share its reading, but never past a change of the file.
TEST_F(ColorPanelPicture, ASecondSwatchShowsThePictureAsTheFileNowHoldsIt) {
    const QString picture = WritePicture(QStringLiteral("shared.png"), 12, 9, 200);
    const auto withPicture = [&](int red) {
        auto color = MakeColor(red, 0, 200);
        color->SetColorTexture(
            Factory::NewTexture(9, QStringLiteral("shared"), picture, TextureKind::Image, false, false));
        return color;
    };
    panel->Init(host.get(), withPicture(0), PanelStyle::Plain, false);
    ASSERT_EQ(Surface()->size(), QSize(12, 9));

    auto* second = new ColorPanel(host.get());
    second->setGeometry(60, 10, PanelWidth, PanelHeight);
    const auto surfaceOf = [](ColorPanel* swatch) { return swatch->findChild<PictureBox*>(QStringLiteral("pic")); };
    second->Init(host.get(), withPicture(10), PanelStyle::Plain, false);
    EXPECT_EQ(surfaceOf(second)->size(), QSize(12, 9));

    ASSERT_TRUE(QFile::remove(picture));
    WritePicture(QStringLiteral("shared.png"), 7, 5, 60);
    auto* third = new ColorPanel(host.get());
    third->setGeometry(110, 10, PanelWidth, PanelHeight);
    third->Init(host.get(), withPicture(20), PanelStyle::Plain, false);
    EXPECT_EQ(surfaceOf(third)->size(), QSize(7, 5));
    second->Dispose();
    third->Dispose();
}

TEST_F(ColorPanelPicture, MissingPictureAnsweredFalseFallsBackToThePlainColour) {
    auto color = MakeColor(0, 128, 0);
    color->SetColorTexture(Factory::NewTexture(7, QStringLiteral("sea"), QStringLiteral("/nowhere/sea.jpg"),
                                               TextureKind::Image, false, false));
    QStringList asked;
    QObject::connect(panel, &ColorPanel::RequestNewImage, [&](const QString& message, bool& added) {
        asked << message;
        EXPECT_FALSE(added);
    });
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.front(), QStringLiteral("Cannot find the image sea.jpg. Do you want to look for this picture?"));
    const auto& texture = color->ColorTexture();
    EXPECT_EQ(texture->TextureType(), TextureKind::None);
    EXPECT_TRUE(texture->path().isEmpty());
    EXPECT_EQ(texture->Id(), 7);
    EXPECT_TRUE(AllPixels(Surface()->Image(), QColor(0, 128, 0)));
    EXPECT_EQ(Surface()->size(), QSize(PanelWidth, PanelHeight));
}

TEST_F(ColorPanelPicture, MissingPictureReplacedByTheHostStays) {
    const QString replacement = WritePicture(QStringLiteral("found.png"), 6, 3);
    ScriptedFileDialog dialogs({replacement});
    auto color = MakeColor(0, 128, 0);
    color->SetColorTexture(Factory::NewTexture(7, QStringLiteral("sea"), QStringLiteral("/nowhere/sea.jpg"),
                                               TextureKind::Image, false, false));
    QObject::connect(panel, &ColorPanel::RequestNewImage,
                     [&](const QString&, bool& added) { added = panel->LoadColorizer(); });
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    EXPECT_EQ(color->ColorTexture()->TextureType(), TextureKind::Image);
    EXPECT_EQ(color->ColorTexture()->path(), replacement);
    EXPECT_EQ(Surface()->size(), QSize(6, 3));
}

TEST_F(ColorPanelPicture, RemoveColorizerReturnsToThePlainColourAndKeepsTheId) {
    panel->Init(host.get(), MakeColor(100, 0, 0, 3), PanelStyle::Plain, false);
    DropFiles({WritePicture(QStringLiteral("gone.png"), 50, 50)});
    panel->RemoveColorizer();
    const auto& texture = panel->PanelColor()->ColorTexture();
    EXPECT_EQ(texture->TextureType(), TextureKind::None);
    EXPECT_TRUE(texture->path().isEmpty());
    EXPECT_EQ(texture->Id(), 3);
    EXPECT_EQ(Surface()->size(), QSize(PanelWidth, PanelHeight));
    EXPECT_TRUE(AllPixels(Surface()->Image(), QColor(100, 0, 0)));
}

using ColorPanelSliders = SwatchTest;

TEST_F(ColorPanelSliders, MovingASliderRecoloursAndReportsTheColour) {
    auto color = MakeColor(10, 20, 30);
    int reports = 0;
    QObject::connect(panel, &ColorPanel::ColorChanged, [&](const std::shared_ptr<Color>& c) {
        EXPECT_EQ(c, color);
        ++reports;
    });
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    auto* green = panel->findChild<QSlider*>(QStringLiteral("sldColor1"));
    ASSERT_NE(green, nullptr);
    EXPECT_EQ(green->value(), 20);
    EXPECT_EQ(reports, 0);  // setting the sliders from the colour is no move

    green->setValue(99);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(color->Green(), 99);
    EXPECT_TRUE(AllPixels(Surface()->Image(), QColor(10, 99, 30)));

    panel->SetColor(MakeColor(1, 2, 3));
    EXPECT_EQ(green->value(), 2);
    EXPECT_EQ(reports, 1);
}

TEST_F(ColorPanelSliders, ARenderThatFailsStillReportsTheNewColour) {
    auto color = MakeColor(10, 20, 30);
    int reports = 0;
    QObject::connect(panel, &ColorPanel::ColorChanged, [&] { ++reports; });
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    color->SetTemporaryImagePath(QStringLiteral("/nowhere/at/all.bmp"));
    ScriptedMessageBox boxes;  // the unwritable temporary folder is told once
    panel->findChild<QSlider*>(QStringLiteral("sldColor2"))->setValue(99);
    EXPECT_EQ(color->Blue(), 99);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(PopupItem(30000)->Caption(), QStringLiteral("Copy RGB: (10, 20, 99)"));
}

TEST_F(ColorPanelSliders, FixedSwatchsSlidersLeaveItsColourAlone) {
    auto color = MakeColor(10, 20, 30);
    int reports = 0;
    QObject::connect(panel, &ColorPanel::ColorChanged, [&] { ++reports; });
    panel->Init(host.get(), color, PanelStyle::Plain, false, true);
    auto* red = panel->findChild<QSlider*>(QStringLiteral("sldColor0"));
    red->setValue(200);
    EXPECT_EQ(color->Red(), 10);
    EXPECT_EQ(red->value(), 10);
    EXPECT_EQ(reports, 0);
}

using ColorPanelState = SwatchTest;

TEST_F(ColorPanelState, StyleAndSelectionRaiseAndFlattenTheShadows) {
    QList<bool> statuses;
    QObject::connect(panel, &ColorPanel::SelectedStatusChanged, [&](bool s) { statuses << s; });
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Plain, true);
    const auto shadows = [&] {
        int shown = 0;
        for (auto* overlay : host->findChildren<DropShadowOverlay*>()) shown += overlay->isVisible() ? 1 : 0;
        return shown;
    };
    EXPECT_EQ(shadows(), 0);
    panel->SetSelected(true);
    EXPECT_EQ(panel->Style(), PanelStyle::Raised);
    EXPECT_EQ(shadows(), 2);
    panel->HideShadows();
    EXPECT_EQ(shadows(), 0);
    panel->RefreshShadows(5);
    EXPECT_EQ(shadows(), 2);
    panel->SetSelected(false);
    EXPECT_EQ(panel->Style(), PanelStyle::Plain);
    EXPECT_EQ(shadows(), 0);
    EXPECT_EQ(statuses, (QList<bool>{true, false}));
    panel->SetStyle(7);  // no such style: nothing changes
    EXPECT_EQ(panel->Style(), PanelStyle::Plain);
}

// One "fixed" text read back and the flag it leaves, starting from a fixed swatch.
struct PanelReadCase {
    const char* name;
    const char* fixed;  // nullptr: no attribute
    bool result;
    bool fixedAfter;
};
std::ostream& operator<<(std::ostream& os, const PanelReadCase& c) { return os << c.name; }

class ColorPanelXml : public SwatchTest, public ::testing::WithParamInterface<PanelReadCase> {};

TEST_F(ColorPanelXml, PanelElementCarriesStyleCandelFixedAndTheColour) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false, true);
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("History");
    ASSERT_TRUE(panel->Serialize(doc, root));
    const pugi::xml_node element = root.child("Panel");
    ASSERT_TRUE(element);
    std::string attributes;
    for (const auto& a : element.attributes()) attributes += std::string(a.name()) + "=" + a.value() + " ";
    EXPECT_EQ(attributes, "style=1 candel=0 fixed=1 ");
    EXPECT_STREQ(element.child("Color").attribute("g").value(), "2");

    panel->SetFixed(false);
    pugi::xml_document again;
    ASSERT_TRUE(panel->Serialize(again, again.append_child("History")));
    EXPECT_STREQ(again.child("History").child("Panel").attribute("candel").value(), "0");
    EXPECT_STREQ(again.child("History").child("Panel").attribute("fixed").value(), "0");
}

TEST_P(ColorPanelXml, DeSerializeReadsOnlyFixed) {
    const PanelReadCase& c = GetParam();
    auto color = MakeColor(1, 2, 3);
    panel->Init(host.get(), color, PanelStyle::Plain, false, true);
    pugi::xml_document doc;
    pugi::xml_node element = doc.append_child("Panel");
    element.append_attribute("style") = "1";
    element.append_attribute("candel") = "1";
    if (c.fixed)
        element.append_attribute("fixed") = c.fixed;
    EXPECT_EQ(panel->DeSerialize(host.get(), element), c.result);
    EXPECT_EQ(panel->Fixed(), c.fixedAfter);
    EXPECT_EQ(panel->Style(), PanelStyle::Plain);
    EXPECT_EQ(panel->PanelColor(), color);
}

INSTANTIATE_TEST_SUITE_P(FixedTexts, ColorPanelXml,
                         ::testing::Values(PanelReadCase{"one", "1", true, true},
                                           PanelReadCase{"zero", "0", true, false},
                                           PanelReadCase{"true_text_is_not_one", "True", true, false},
                                           PanelReadCase{"missing", nullptr, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorPanelRender, ANewColourHasItsOwnFileAndALeavingColourTakesNoOtherColoursFile) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Plain, false);
    const QString firstPath = panel->PanelColor()->TemporaryImagePath();
    auto second = MakeColor(200, 100, 50);
    panel->SetColor(second);
    // The swatch held the first colour alone: its file is gone with it.
    EXPECT_FALSE(QFile::exists(firstPath));
    EXPECT_TRUE(AllPixels(QImage(second->TemporaryImagePath()), QColor(200, 100, 50)));

    auto third = MakeColor(5, 250, 5);
    panel->SetColor(third);
    EXPECT_TRUE(AllPixels(QImage(third->TemporaryImagePath()), QColor(5, 250, 5)));
    EXPECT_FALSE(QFile::exists(second->TemporaryImagePath())) << "a colour kept in a list but shown nowhere";
}

// Two swatches showing one colour write one file; it stays while either still shows the colour.
TEST_F(ColorPanelRender, ASharedColoursFileStaysUntilTheLastSwatchLetsGo) {
    auto shared = MakeColor(30, 60, 90);
    auto other = std::make_unique<ColorPanel>(host.get());
    other->resize(PanelWidth, PanelHeight);
    panel->Init(host.get(), shared, PanelStyle::Plain, false);
    other->Init(host.get(), shared, PanelStyle::Plain, false);
    panel->SetColor(MakeColor(1, 1, 1));
    EXPECT_TRUE(AllPixels(QImage(shared->TemporaryImagePath()), QColor(30, 60, 90)));
    other->Dispose();
    EXPECT_FALSE(QFile::exists(shared->TemporaryImagePath()));

    other->Init(host.get(), shared, PanelStyle::Plain, false);
    EXPECT_TRUE(AllPixels(QImage(shared->TemporaryImagePath()), QColor(30, 60, 90))) << "shown again, written again";
    other.reset();
    EXPECT_FALSE(QFile::exists(shared->TemporaryImagePath())) << "a swatch destroyed without Dispose";
}

}  // namespace
