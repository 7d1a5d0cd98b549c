#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/CommandBar.h"
#include "platform/CommandBars.h"
#include "platform/PictureBox.h"
#include "platform/WindowRegistry.h"
#include "services/CommandIds.h"
#include "support/MainWindowFixture.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QSlider>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <string>

namespace {

using namespace CommandIds;
using Rgb = std::array<int, 3>;

int32_t Packed(const Rgb& c) { return c[0] + 256 * c[1] + 65536 * c[2]; }

// The window's background box and the pie, read back.
class ColorPieWindow : public MainWindowFixture {
protected:
    Rgb Sliders() const {
        return {window->sldBackColor[0]->value(), window->sldBackColor[1]->value(), window->sldBackColor[2]->value()};
    }
    QRgb LabelText() const { return window->lblMatchBackColor->palette().color(QPalette::WindowText).rgb(); }
    QRgb LabelBack() const { return window->lblMatchBackColor->palette().color(QPalette::Window).rgb(); }

    // Every part of the background agrees on one colour.
    void ExpectBackground(const Rgb& c) const {
        EXPECT_EQ(Sliders(), c);
        EXPECT_EQ(window->ctlMatch->BackColor(), Packed(c));
        EXPECT_EQ(window->picBColor->BackColor(), Packed(c));
        EXPECT_EQ(LabelBack(), qRgb(c[0], c[1], c[2]));
        EXPECT_EQ(window->lblMatchBackColor->text(), QStringLiteral("(%1, %2, %3)").arg(c[0]).arg(c[1]).arg(c[2]));
    }

    // Strip 0 holding one colour, its panel pressed as when a drag of it starts.
    ColorHistory* StripWithSelected(const Rgb& c) {
        auto color = Factory::NewColor(Globals::TextureItem(1), RangeAllRGB, false);
        color->SetColor(c[0], c[1], c[2]);
        ColorHistory* strip = window->history[0].get();
        strip->AddColorPanel(color);
        ColorPanel* panel = strip->Panel(0);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), panel->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &press);
        return strip;
    }

    // A control of this program dropped on the target, as ControlDrag carries it.
    static void Drop(QWidget* target, QWidget* source) {
        QMimeData data;
        data.setData(QStringLiteral("application/x-tindral-control"),
                     QByteArray::number(WindowRegistry::Handle(source)) + ':' +
                         QByteArray::number(QCoreApplication::applicationPid()));
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted()) << "the target takes drops of controls";
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }

    void RunPiePopup(int32_t id) {
        auto* bars = window->ctlMatch->findChild<CommandBars*>(QStringLiteral("CommandBars"));
        ASSERT_NE(bars, nullptr);
        for (int i = 0; i < bars->Count(); ++i) {
            if (bars->Item(i)->Name() == QStringLiteral("Popup")) {
                ASSERT_TRUE(bars->ExecuteControl(bars->Item(i)->FindControl(id)));
                return;
            }
        }
        FAIL() << "the pie has no popup";
    }
};

TEST_F(ColorPieWindow, StartsWhiteOutOfSightAndUntouched) {
    EXPECT_EQ(window->picBackColor->x(), -10000);
    ExpectBackground({255, 255, 255});
    EXPECT_EQ(LabelText(), qRgb(0, 0, 0));
    EXPECT_FALSE(window->ctlMatch->IsDirty());
    EXPECT_FALSE(window->IsModified());
}

TEST_F(ColorPieWindow, TheTabShowsTheBoxAndThePie) {
    Execute(ColorPieTab);
    window->ShowWorkspace(ColorPieTab);
    QApplication::processEvents();
    EXPECT_TRUE(window->ctlMatch->isVisible());
    EXPECT_TRUE(window->picBackColor->isVisible()) << "the ribbon shows the box in its group";
    EXPECT_TRUE(window->picBColor->isVisible());
}

struct SliderCase {
    const char* name;
    Rgb values;
    bool whiteText;
};

class ColorPieSliders : public ColorPieWindow, public ::testing::WithParamInterface<SliderCase> {};

// A person moves each slider in turn; the last move decides.
TEST_P(ColorPieSliders, MovingTheSlidersSetsTheBackgroundAndTheLabel) {
    window->ShowWorkspace(ColorPieTab);
    window->ctlMatch->SetIsDirty(false);
    for (size_t i = 0; i < 3; ++i) window->sldBackColor[i]->setValue(GetParam().values[i]);
    ExpectBackground(GetParam().values);
    EXPECT_EQ(LabelText(), GetParam().whiteText ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    EXPECT_TRUE(window->ctlMatch->IsDirty());
    EXPECT_TRUE(window->IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Backgrounds, ColorPieSliders,
    ::testing::Values(SliderCase{"Sum199", {100, 50, 49}, true}, SliderCase{"Sum200", {100, 50, 50}, false},
                      SliderCase{"Black", {0, 0, 0}, true}, SliderCase{"DarkBlue", {10, 20, 30}, true},
                      SliderCase{"PureRed", {255, 0, 0}, false}, SliderCase{"OneBelowWhite", {255, 255, 254}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorPieWindow, OneSliderMoveMarksThePieModified) {
    window->ShowWorkspace(ColorPieTab);
    for (const auto& proofer : window->cpList) proofer->PanelColor()->SetIsDirty(false);
    ASSERT_FALSE(window->IsModified()) << "nothing else counts as changed";
    window->sldBackColor[1]->setValue(254);
    ExpectBackground({255, 254, 255});
    EXPECT_TRUE(window->IsModified());
}

struct DropCase {
    const char* name;
    std::function<QWidget*(frmMain*)> target;
    std::function<QWidget*(frmMain*)> source;
    bool takesColor;
};

class ColorPieDrops : public ColorPieWindow, public ::testing::WithParamInterface<DropCase> {};

// Only a strip's selected colour counts; a proofer, the top-colour swatch, a strip with nothing pressed and
// the pie itself leave the background alone.
TEST_P(ColorPieDrops, OnlyAStripsSelectedColourBecomesTheBackground) {
    window->sldBackColor[0]->setValue(200);
    window->ctlMatch->SetIsDirty(false);
    StripWithSelected({10, 20, 30});
    Drop(GetParam().target(window), GetParam().source(window));
    if (GetParam().takesColor) {
        ExpectBackground({10, 20, 30});
        EXPECT_EQ(LabelText(), qRgb(255, 255, 255)) << "the sum 60 is below 200";
        EXPECT_TRUE(window->ctlMatch->IsDirty());
    } else {
        ExpectBackground({200, 255, 255});
        EXPECT_FALSE(window->ctlMatch->IsDirty());
    }
}

QWidget* swatch(frmMain* w) { return w->picBColor; }
QWidget* label(frmMain* w) { return w->lblMatchBackColor; }
QWidget* strip0(frmMain* w) { return w->history[0].get(); }

INSTANTIATE_TEST_SUITE_P(
    Sources, ColorPieDrops,
    ::testing::Values(
        DropCase{"StripOnSwatch", swatch, strip0, true}, DropCase{"StripOnLabel", label, strip0, true},
        DropCase{"ProoferOnSwatch", swatch, [](frmMain* w) -> QWidget* { return w->cpList[0].get(); }, false},
        DropCase{"TopColorSwatchOnSwatch", swatch, [](frmMain* w) -> QWidget* { return w->picColor; }, false},
        DropCase{"StripWithNothingPressedOnLabel", label, [](frmMain* w) -> QWidget* { return w->history[1].get(); },
                 false},
        DropCase{"PieOnSwatch", swatch, [](frmMain* w) -> QWidget* { return w->ctlMatch.get(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorPieWindow, ThePiesResetSetsTheSlidersBackTo255) {
    window->ShowWorkspace(ColorPieTab);
    for (size_t i = 0; i < 3; ++i) window->sldBackColor[i]->setValue(40);
    window->ctlMatch->SetIsDirty(false);
    RunPiePopup(PieRemoveBackground);
    ExpectBackground({255, 255, 255});
    EXPECT_EQ(LabelText(), qRgb(0, 0, 0));
    EXPECT_TRUE(window->ctlMatch->IsDirty());

    // Clearing the pie raises the same reset and leaves it untouched.
    for (size_t i = 0; i < 3; ++i) window->sldBackColor[i]->setValue(40);
    window->ctlMatch->Clear();
    ExpectBackground({255, 255, 255});
    EXPECT_FALSE(window->ctlMatch->IsDirty());
}

// What the pie writes comes back through the window: the slices and the background, the pie untouched.
TEST_F(ColorPieWindow, APieWrittenAndReadBackKeepsItsSlicesAndBackground) {
    for (const Rgb& c : {Rgb{200, 10, 10}, Rgb{10, 200, 10}}) {
        auto color = Factory::NewColor(Globals::TextureItem(1), RangeAllRGB, false);
        color->SetColor(c[0], c[1], c[2]);
        window->ctlMatch->AddColor(color);
    }
    window->SetBackColorSliders(50, 60, 70);
    pugi::xml_document document;
    pugi::xml_node match = document.append_child("Root").append_child("Match");
    ASSERT_TRUE(window->ctlMatch->Serialize(document, match));

    window->SetBackColorSliders(1, 1, 1);
    window->ctlMatch->DeleteColors();
    window->ReadMatch(document);
    ExpectBackground({50, 60, 70});
    EXPECT_EQ(LabelText(), qRgb(255, 255, 255));
    ASSERT_EQ(window->ctlMatch->Colors()->count(), 2);
    EXPECT_EQ(window->ctlMatch->Colors()->Item(1)->RGBColor(), Packed({200, 10, 10}));
    EXPECT_FALSE(window->ctlMatch->IsDirty());
}

struct DocumentCase {
    const char* name;
    const char* xml;
    Rgb background;
    int colors;
};

class ColorPieDocuments : public ColorPieWindow, public ::testing::WithParamInterface<DocumentCase> {};

// The background comes back from the "Colors" element and the pie counts as untouched; what cannot be read
// leaves the pie empty and white, never half set.
TEST_P(ColorPieDocuments, ReadingTheMatchRestoresTheBackgroundAndLeavesThePieClean) {
    for (size_t i = 0; i < 3; ++i) window->sldBackColor[i]->setValue(77);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(GetParam().xml));
    window->ReadMatch(document);
    ExpectBackground(GetParam().background);
    EXPECT_EQ(window->ctlMatch->Colors()->count(), GetParam().colors);
    EXPECT_FALSE(window->ctlMatch->IsDirty());
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ColorPieDocuments,
    ::testing::Values(
        DocumentCase{"DarkBackground", "<Root><Match><Colors backcolor='1971210'/></Match></Root>", {10, 20, 30}, 0},
        DocumentCase{"FirstAttributeWhateverItsName",
                     "<Root><Match><Colors shade='255' backcolor='0'/></Match></Root>",
                     {255, 0, 0},
                     0},
        DocumentCase{"Black", "<Root><Match><Colors backcolor='0'/></Match></Root>", {0, 0, 0}, 0},
        DocumentCase{"NoMatch", "<Root/>", {255, 255, 255}, 0},
        DocumentCase{"MatchWithoutColors", "<Root><Match/></Root>", {255, 255, 255}, 0},
        DocumentCase{"ColorsWithoutAttributes", "<Root><Match><Colors/></Match></Root>", {255, 255, 255}, 0},
        DocumentCase{"NonNumeric", "<Root><Match><Colors backcolor='teal'/></Match></Root>", {255, 255, 255}, 0},
        DocumentCase{"Negative", "<Root><Match><Colors backcolor='-1'/></Match></Root>", {255, 255, 255}, 0},
        DocumentCase{"AboveWhite", "<Root><Match><Colors backcolor='16777216'/></Match></Root>", {255, 255, 255}, 0},
        DocumentCase{"Huge", "<Root><Match><Colors backcolor='99999999999999'/></Match></Root>", {255, 255, 255}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
