#include "support/MainWindowFixture.h"
#include "support/TestEnvironment.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

class frmMainProoferReentry;

// A pass over the proofer row and a second request that arrives while a proofer of it renders, from a timer
// that fires under the render's wait cursor.
struct RowReentry {
    const char* name;
    std::function<void(frmMainProoferReentry&)> first;
    std::function<void(frmMainProoferReentry&)> second;
    int proofers;    // at the end
    int newColours;  // appended to the generated colours by both
};
std::ostream& operator<<(std::ostream& out, const RowReentry& r) { return out << r.name; }

class frmMainProoferReentry : public MainWindowFixture, public ::testing::WithParamInterface<RowReentry> {
public:
    using MainWindowFixture::Execute;
    using MainWindowFixture::window;

    void PressSpace() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(window, &press);
    }
};

TEST_P(frmMainProoferReentry, RequestDuringAProoferRenderRunsAfterTheRowAndTheLastColoursAreShown) {
    const RowReentry& c = GetParam();
    ScriptedMessageBox boxes;
    // A pattern makes every proofer's render run under the wait cursor.
    ASSERT_GE(Globals::Textures.size(), 2u);
    window->SelectedTexture = Globals::TextureItem(2);
    const int before = Globals::GeneratedColors->count();

    int fired = 0;
    bool duringRender = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++fired;
        for (const auto& proofer : window->cpList) duringRender = duringRender || proofer->Rendering();
        c.second(*this);
    });
    timer.start();
    c.first(*this);
    QCoreApplication::processEvents();

    ASSERT_EQ(fired, 1);
    EXPECT_TRUE(duringRender);
    ASSERT_EQ(static_cast<int>(window->cpList.size()), c.proofers);
    ASSERT_EQ(Globals::GeneratedColors->count(), before + c.newColours);
    // The proofers show the last colours made, each written to its file at the proofer's size.
    const std::vector<int32_t> shown = ProoferColors();
    for (int i = 0; i < c.proofers; ++i) {
        const ColorPanel& proofer = *window->cpList[static_cast<size_t>(i)];
        EXPECT_FALSE(proofer.Rendering());
        EXPECT_EQ(shown[static_cast<size_t>(i)],
                  Globals::GeneratedColors->Item(before + c.newColours - c.proofers + i + 1)->RGBColor());
        EXPECT_EQ(QImage(proofer.PanelColor()->TemporaryImagePath()).size(), proofer.size());
    }
    EXPECT_TRUE(boxes.Requests().empty());
}

const auto newColours = [](frmMainProoferReentry& t) { t.window->CreateNewColors(); };
const auto space = [](frmMainProoferReentry& t) { t.PressSpace(); };

INSTANTIATE_TEST_SUITE_P(
    Paths, frmMainProoferReentry,
    ::testing::Values(RowReentry{"NewColours_SpacePressedMeanwhile", newColours, space, 3, 6},
                      RowReentry{"NewColours_CountChangedMeanwhile", newColours,
                                 [](frmMainProoferReentry& t) { t.window->SetProoferCount(6, true); }, 6, 9},
                      RowReentry{"CountChange_SpacePressedMeanwhile",
                                 [](frmMainProoferReentry& t) { t.window->SetProoferCount(5, true); }, space, 5, 10},
                      RowReentry{"CountChange_WindowResizedMeanwhile",
                                 [](frmMainProoferReentry& t) { t.window->SetProoferCount(8, true); },
                                 [](frmMainProoferReentry& t) {
                                     t.window->resize(t.window->width() + 130, t.window->height() + 40);
                                 },
                                 8, 8}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
