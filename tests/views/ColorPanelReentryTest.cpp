#include "SwatchFixture.h"

#include "support/TestEnvironment.h"

#include <QSlider>
#include <QTimer>

#include <functional>
#include <ostream>

namespace {

// How the second request reaches a swatch that is rendering: from a timer that fires under the render's
// wait cursor, or from a handler of the swatch's own Changed event, called before the render has ended.
enum class Road { Timer, ChangedHandler };

class ColorPanelReentry;

struct Reentry {
    const char* name;
    bool startsWithPicture;  // else with the "Stripes" pattern
    Road road;
    std::function<void(ColorPanelReentry&)> first;   // starts the pass
    std::function<void(ColorPanelReentry&)> second;  // the request that arrives during it
    // What the swatch must show at the end: a colour's red, green and blue, and the picture under it.
    int r, g, b;
    const char* picture;  // "one.png", "two.png", or none
};
std::ostream& operator<<(std::ostream& out, const Reentry& r) { return out << r.name; }

class ColorPanelReentry : public SwatchTest, public ::testing::WithParamInterface<Reentry> {
public:
    using SwatchTest::DropFiles;
    using SwatchTest::panel;
    std::shared_ptr<Color> B, C, D;
    QString pictureOne, pictureTwo;
    // A message box would wait for an answer no one gives; none is expected.
    ScriptedMessageBox boxes;

    void SetUp() override {
        SwatchTest::SetUp();
        B = MakeColor(30, 160, 90, 2);
        C = MakeColor(200, 40, 10, 2);
        D = MakeColor(20, 60, 220, 2);
        // Larger than the swatch, so the surface and the file sizes differ.
        pictureOne = WritePicture(QStringLiteral("one.png"), 60, 50, 80);
        pictureTwo = WritePicture(QStringLiteral("two.png"), 70, 45, 200);
    }

    QSlider* Slider(int i) const { return panel->findChild<QSlider*>(QStringLiteral("sldColor%1").arg(i)); }

    // The surface of a fresh swatch of the same size showing a copy of the colour (with its picture).
    QImage Alone(const std::shared_ptr<Color>& color) {
        ColorPanel fresh(host.get());
        fresh.setGeometry(panel->geometry());
        fresh.Init(host.get(), color->Clone(), PanelStyle::Plain, false);
        const QImage image = fresh.findChild<PictureBox*>(QStringLiteral("pic"))->Image();
        fresh.Dispose();
        return image;
    }
};

TEST_P(ColorPanelReentry, ASecondRequestDuringARenderRunsAfterItWithTheLatestColour) {
    const Reentry& c = GetParam();
    auto start = MakeColor(120, 120, 40, c.startsWithPicture ? 1 : 2);
    panel->Init(host.get(), start, PanelStyle::Plain, false);
    if (c.startsWithPicture) {
        DropFiles({pictureOne});
        ASSERT_EQ(start->ColorTexture()->TextureType(), TextureKind::Image);
    }

    int injected = 0;
    bool duringPass = false;
    const auto inject = [&] {
        if (injected++ > 0)
            return;
        duringPass = panel->Rendering();
        c.second(*this);
    };
    QTimer timer;
    QMetaObject::Connection changed;
    if (c.road == Road::Timer) {
        timer.setSingleShot(true);
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, inject);
        timer.start();
    } else {
        changed = QObject::connect(panel, &ColorPanel::Changed, inject);
    }

    c.first(*this);
    QObject::disconnect(changed);
    // Whatever waited for the pass to end has run by now; events still queued run here.
    QCoreApplication::processEvents();

    ASSERT_GE(injected, 1);
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_TRUE(duringPass);
    EXPECT_FALSE(panel->Rendering());
    const auto& texture = panel->PanelColor()->ColorTexture();
    if (c.picture) {
        EXPECT_EQ(texture->TextureType(), TextureKind::Image);
        EXPECT_TRUE(texture->path().endsWith(QLatin1String(c.picture)));
    } else {
        EXPECT_EQ(texture->TextureType(), TextureKind::Pattern);
    }
    auto want = MakeColor(c.r, c.g, c.b);
    want->SetColorTexture(texture->Clone());
    EXPECT_EQ(panel->PanelColor()->RGBColor(), want->RGBColor());
    // What it shows is what a swatch given only that colour shows.
    EXPECT_EQ(Surface()->Image(), Alone(want));
}

const auto setB = [](ColorPanelReentry& t) { t.panel->SetColor(t.B); };
const auto setC = [](ColorPanelReentry& t) { t.panel->SetColor(t.C); };
const auto setCThenD = [](ColorPanelReentry& t) {
    t.panel->SetColor(t.C);
    t.panel->SetColor(t.D);
};

INSTANTIATE_TEST_SUITE_P(
    Paths, ColorPanelReentry,
    ::testing::Values(Reentry{"PatternRender_TwoColoursFromATimer_ShowsTheLast", false, Road::Timer, setB, setCThenD,
                              20, 60, 220, nullptr},
                      Reentry{"PatternRender_ColourFromItsOwnChangedHandler", false, Road::ChangedHandler, setB, setC,
                              200, 40, 10, nullptr},
                      Reentry{"PatternRender_ResizeFromATimer", false, Road::Timer, setB,
                              [](ColorPanelReentry& t) { t.panel->resize(52, 36); }, 30, 160, 90, nullptr},
                      Reentry{"PatternRender_SliderReleasedMeanwhile", false, Road::Timer, setB,
                              [](ColorPanelReentry& t) { t.Slider(0)->setValue(7); }, 7, 160, 90, nullptr},
                      Reentry{"SliderMove_ColourFromATimer", false, Road::Timer,
                              [](ColorPanelReentry& t) { t.Slider(1)->setValue(3); }, setC, 200, 40, 10, nullptr},
                      Reentry{"PictureRecolour_FileDroppedMeanwhile", true, Road::Timer, setB,
                              [](ColorPanelReentry& t) { t.DropFiles({t.pictureTwo}); }, 30, 160, 90, "two.png"},
                      Reentry{"PictureRecolour_TwoColoursFromATimer_ShowsTheLast", true, Road::Timer, setB, setCThenD,
                              20, 60, 220, "one.png"},
                      Reentry{"PictureRecolour_ResizeFromATimer", true, Road::Timer, setB,
                              [](ColorPanelReentry& t) { t.panel->resize(52, 36); }, 30, 160, 90, "one.png"},
                      Reentry{"FileDrop_ColourFromATimer", false, Road::Timer,
                              [](ColorPanelReentry& t) { t.DropFiles({t.pictureOne}); }, setC, 200, 40, 10, "one.png"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SwatchTest, ColoursArrivingDuringOneRenderMakeOneMoreRender) {
    panel->Init(host.get(), MakeColor(1, 2, 3, 2), PanelStyle::Plain, false);
    int renders = 0;
    bool sent = false;
    QObject::connect(panel, &ColorPanel::Changed, [&] {
        ++renders;
        if (std::exchange(sent, true))
            return;
        for (int k = 0; k < 5; ++k) panel->SetColor(MakeColor(10 * k, 20, 30, 2));
    });
    panel->SetColor(MakeColor(9, 9, 9, 2));
    EXPECT_EQ(renders, 2);
    EXPECT_EQ(panel->PanelColor()->RGBColor(), MakeColor(40, 20, 30)->RGBColor());
}

TEST_F(SwatchTest, ADisposeAskedForDuringARenderWaitsForItsEnd) {
    panel->Init(host.get(), MakeColor(1, 2, 3, 2), PanelStyle::Plain, false);
    bool heldDuring = false;
    QObject::connect(panel, &ColorPanel::Changed, [&] {
        panel->Dispose();
        heldDuring = panel->HasColor();
    });
    panel->SetColor(MakeColor(9, 9, 9, 2));
    EXPECT_TRUE(heldDuring);
    EXPECT_FALSE(panel->HasColor());
}

}  // namespace
