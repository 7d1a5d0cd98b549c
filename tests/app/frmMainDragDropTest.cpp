#include "app/ChooserHelper.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/CommandBarControl.h"
#include "platform/ImagingControl.h"
#include "platform/PictureBox.h"
#include "services/CommandIds.h"
#include "stage/Stage.h"
#include "support/ControlDrop.h"
#include "support/TestEnvironment.h"
#include "support/StripWindow.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMimeData>
#include <QSlider>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace CommandIds;

class frmMainDragDrop : public StripWindow {
protected:
    void SetUp() override {
        StripWindow::SetUp();
        if (HasFatalFailure())
            return;
        ShowStrips(2);
    }

    ColorPanel& Proofer(int index) const { return *window->cpList[static_cast<size_t>(index)]; }
    // Starts the drag as the strip's panel would, then drops the strip where a person lets go.
    bool DragStrip(int strip, QWidget* over, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        emit Strip(strip).StartDragging();
        return ControlDrop::Drop(&Strip(strip), over, modifiers);
    }
    bool DragProofer(int index, QWidget* over) {
        emit Proofer(index).StartDragging();
        return ControlDrop::Drop(&Proofer(index), over);
    }
};

// Ctrl held when the drop happens turns the move between strips into a copy: whether it came as a key event
// before the drag or with the drop itself (keys do not reach the window while a drag runs). Key events carry
// the modifiers as the window system reports them: held before the key, the key's own added by Qt.
TEST_F(frmMainDragDrop, AStripColourMovesToAnotherStripAndCtrlMakesItACopy) {
    struct KeyEvent {
        int key;
        Qt::KeyboardModifiers held;
        bool release;
    };
    struct Case {
        const char* name;
        std::vector<KeyEvent> keysBefore;
        Qt::KeyboardModifiers atDrop;
        bool copies;
    };
    const Case cases[] = {
        {"no key", {}, Qt::NoModifier, false},
        {"Ctrl pressed before the drag", {{Qt::Key_Control, Qt::NoModifier, false}}, Qt::NoModifier, true},
        {"Ctrl held at the drop", {}, Qt::ControlModifier, true},
        {"Ctrl pressed and let go",
         {{Qt::Key_Control, Qt::NoModifier, false}, {Qt::Key_Control, Qt::ControlModifier, true}},
         Qt::NoModifier,
         false},
        {"Shift joining Ctrl",
         {{Qt::Key_Control, Qt::NoModifier, false}, {Qt::Key_Shift, Qt::ControlModifier, false}},
         Qt::NoModifier,
         false},
        {"Ctrl with Alt at the drop", {}, Qt::ControlModifier | Qt::AltModifier, false},
    };
    for (const Case& c : cases) {
        Strip(0).Clear();
        Strip(1).Clear();
        Key(Qt::Key_A, Qt::NoModifier, true);
        Fill(0, {Rgb(10, 20, 30), Rgb(40, 50, 60)});
        window->m_IsOpeningJustAfterStartup = true;
        for (const KeyEvent& key : c.keysBefore) Key(key.key, key.held, key.release);
        Select(0, 1);
        ASSERT_TRUE(DragStrip(0, &Strip(1), c.atDrop)) << c.name;
        EXPECT_EQ(StripColors(1), (std::vector<int32_t>{Packed(40, 50, 60)})) << c.name;
        const std::vector<int32_t> kept = c.copies ? std::vector<int32_t>{Packed(10, 20, 30), Packed(40, 50, 60)}
                                                   : std::vector<int32_t>{Packed(10, 20, 30)};
        ASSERT_EQ(StripColors(0), kept) << c.name;
        EXPECT_FALSE(window->m_IsOpeningJustAfterStartup) << c.name;
        EXPECT_NE(Strip(1).Panel(0)->PanelColor(), Strip(0).Panel(c.copies ? 1 : 0)->PanelColor()) << c.name;
    }
}

TEST_F(frmMainDragDrop, AProoferAlwaysCopiesIntoAStripAndNeverTwice) {
    const int32_t proofer = Proofer(1).PanelColor()->RGBColor();
    ASSERT_TRUE(DragProofer(1, &Strip(0)));
    ASSERT_TRUE(DragProofer(1, &Strip(0)));
    EXPECT_EQ(StripColors(0), (std::vector<int32_t>{proofer}));
    EXPECT_NE(Strip(0).Panel(0)->PanelColor(), Proofer(1).PanelColor()) << "the strip holds its own copy";
    EXPECT_EQ(Proofer(1).PanelColor()->RGBColor(), proofer);
}

TEST_F(frmMainDragDrop, AStripPanelDroppedInItsOwnStripChangesPlaces) {
    Fill(0, {Rgb(1, 1, 1), Rgb(2, 2, 2), Rgb(3, 3, 3)});
    Select(0, 0);
    ColorPanel* target = Strip(0).Panel(2);
    QCursor::setPos(target->mapToGlobal(target->rect().center()));
    ASSERT_TRUE(DragStrip(0, target));
    EXPECT_EQ(StripColors(0), (std::vector<int32_t>{Packed(3, 3, 3), Packed(2, 2, 2), Packed(1, 1, 1)}));
}

TEST_F(frmMainDragDrop, AColourEqualToOneInTheTargetStripChangesNothingThere) {
    Fill(0, {Rgb(5, 5, 5)});
    Fill(1, {Rgb(5, 5, 5), Rgb(6, 6, 6)});
    Select(0, 0);
    ASSERT_TRUE(DragStrip(0, &Strip(1)));
    EXPECT_EQ(StripColors(1), (std::vector<int32_t>{Packed(5, 5, 5), Packed(6, 6, 6)}));
    EXPECT_EQ(StripColors(0), (std::vector<int32_t>{Packed(5, 5, 5)})) << "nothing moved, so nothing is removed";
}

TEST_F(frmMainDragDrop, AProoferTakesACopyOfAProoferOrAStripColourUnlessItIsFixed) {
    Fill(1, {Rgb(70, 80, 90)});
    Select(1, 0);
    window->m_IsOpeningJustAfterStartup = true;
    ASSERT_TRUE(DragStrip(1, &Proofer(0)));
    EXPECT_EQ(Proofer(0).PanelColor()->RGBColor(), Packed(70, 80, 90));
    EXPECT_NE(Proofer(0).PanelColor(), Strip(1).Panel(0)->PanelColor());
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);

    ASSERT_TRUE(DragProofer(0, &Proofer(2)));
    EXPECT_EQ(Proofer(2).PanelColor()->RGBColor(), Packed(70, 80, 90));
    EXPECT_NE(Proofer(2).PanelColor(), Proofer(0).PanelColor());

    Proofer(1).SetFixed(true);
    const int32_t fixed = Proofer(1).PanelColor()->RGBColor();
    ASSERT_TRUE(DragProofer(0, &Proofer(1)));
    EXPECT_EQ(Proofer(1).PanelColor()->RGBColor(), fixed);
}

TEST_F(frmMainDragDrop, TheTopColourSwatchOnAProoferMakesAColourFromTheSliders) {
    struct Case {
        const char* name;
        int32_t range;
        int sliders[3];
        int32_t expected;
    };
    const Case cases[] = {
        {"RGB", RangeAllRGB, {10, 20, 30}, Packed(10, 20, 30)},
        {"HSB", RangeAllHSB, {120, 100, 100}, Packed(0, 255, 0)},
    };
    for (const Case& c : cases) {
        ChooserHelper::SetColorRange(c.range, Find(UserDefinedColors)->Parent(), window->chooserHost());
        for (int i = 0; i < 3; ++i) window->sldTopColor[static_cast<size_t>(i)]->setValue(c.sliders[i]);
        window->m_IsOpeningJustAfterStartup = true;
        Press(window->picColor, Qt::RightButton);
        ASSERT_TRUE(ControlDrop::Drop(window->picColor, &Proofer(1))) << c.name;
        EXPECT_EQ(Proofer(1).PanelColor()->RGBColor(), c.expected) << c.name;
        EXPECT_FALSE(window->m_IsOpeningJustAfterStartup) << c.name;
    }
}

// The pie and the stage take only a strip's selected colour; the pie counts every drop as an edit.
TEST_F(frmMainDragDrop, ThePieAndTheStageTakeOnlyAStripsSelectedColour) {
    Fill(0, {Rgb(0, 0, 200)});
    struct Case {
        const char* name;
        bool fromStrip;
        bool selected;
        bool taken;
    };
    const Case cases[] = {
        {"a proofer", false, false, false},
        {"a strip without selection", true, false, false},
        {"a strip's selected colour", true, true, true},
    };
    for (const Case& c : cases) {
        window->ShowWorkspace(ColorPieTab);
        window->ctlMatch->DeleteColors();
        window->m_IsOpeningJustAfterStartup = true;
        if (c.selected)
            Select(0, 0);
        QWidget* source = c.fromStrip ? static_cast<QWidget*>(&Strip(0)) : &Proofer(0);
        if (c.fromStrip)
            emit Strip(0).StartDragging();
        ASSERT_TRUE(ControlDrop::Drop(source, window->ctlMatch.get())) << c.name;
        EXPECT_EQ(window->ctlMatch->Colors()->count(), c.taken ? 1 : 0) << c.name;
        if (c.taken) {
            EXPECT_EQ(window->ctlMatch->Colors()->Item(1), Strip(0).Panel(0)->PanelColor()) << "the colour itself";
        }
        EXPECT_FALSE(window->m_IsOpeningJustAfterStartup) << c.name;

        window->ShowWorkspace(StagingTab);
        const QImage before = window->ctlStage->ImageControl()->Picture();
        window->m_IsOpeningJustAfterStartup = true;
        ASSERT_TRUE(ControlDrop::Drop(source, window->ctlStage.get())) << c.name;
        const QImage after = window->ctlStage->ImageControl()->Picture();
        EXPECT_EQ(after != before, c.taken) << c.name;
        EXPECT_EQ(!window->m_IsOpeningJustAfterStartup, c.taken) << c.name;
        if (c.taken) {
            EXPECT_EQ(after.pixel(3, 3) & 0xFFFFFF, 0x0000C8u) << "filled with the selection's colour";
        }
        window->ShowWorkspace(SelectionTab);
    }
}

TEST_F(frmMainDragDrop, ASourceChangedOrGoneSinceTheDragStartedCarriesNothing) {
    // The strip is cleared while its colour is on the way.
    Fill(0, {Rgb(9, 9, 9)});
    Select(0, 0);
    emit Strip(0).StartDragging();
    Strip(0).Clear();
    Fill(0, {Rgb(8, 8, 8)});
    Select(0, 0);
    ControlDrop::Drop(&Strip(0), &Strip(1));
    EXPECT_TRUE(StripColors(1).empty()) << "a colour selected after the drag began is not the one dragged";

    // A proofer recoloured on the way.
    emit Proofer(0).StartDragging();
    window->CreateNewColors();
    ControlDrop::Drop(&Proofer(0), &Strip(1));
    EXPECT_TRUE(StripColors(1).empty());

    // A proofer unloaded by a change of the count.
    emit Proofer(2).StartDragging();
    const std::unique_ptr<QMimeData> gone(ControlDrop::DataOf(&Proofer(2)));
    window->SetProoferCount(1, true);
    ControlDrop::DropData(*gone, &Strip(1));
    EXPECT_TRUE(StripColors(1).empty());

    // A drag that starts anew carries again.
    emit Proofer(0).StartDragging();
    ASSERT_TRUE(ControlDrop::Drop(&Proofer(0), &Strip(1)));
    EXPECT_EQ(StripColors(1).size(), 1u);
}

TEST_F(frmMainDragDrop, DataFromOtherProgramsIsNoSource) {
    Fill(0, {Rgb(1, 2, 3)});
    const std::vector<int32_t> proofers = ProoferColors();
    QMimeData text;
    text.setText(QStringLiteral("#FF0000"));
    QMimeData otherCopy;
    otherCopy.setData(
        QStringLiteral("application/x-tindral-control"),
        QByteArray::number(Strip(0).hwnd()) + ':' + QByteArray::number(QCoreApplication::applicationPid() + 1));
    for (QMimeData* data : {&text, &otherCopy}) {
        window->m_IsOpeningJustAfterStartup = true;
        ControlDrop::DropData(*data, &Strip(1));
        ControlDrop::DropData(*data, &Proofer(0));
        ControlDrop::DropData(*data, window->picColor);
    }
    EXPECT_TRUE(StripColors(1).empty());
    EXPECT_EQ(ProoferColors(), proofers);
    EXPECT_TRUE(window->m_IsOpeningJustAfterStartup);
}

TEST_F(frmMainDragDrop, APictureFileDroppedOnAProoferStillBecomesItsImage) {
    const QString file = TestEnvironment::Home() + QStringLiteral("/dropped.png");
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    ASSERT_TRUE(picture.save(file));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    EXPECT_TRUE(ControlDrop::DropData(data, &Proofer(1)));
    QApplication::processEvents();
    EXPECT_EQ(Proofer(1).PanelColor()->ColorTexture()->TextureType(), TextureKind::Image);
}

TEST_F(frmMainDragDrop, ProofersOfARebuiltRowTakeDropsAndStartDrags) {
    window->SetProoferCount(6, true);
    ASSERT_EQ(window->cpList.size(), 6u);
    Fill(0, {Rgb(33, 66, 99)});
    Select(0, 0);
    ASSERT_TRUE(DragStrip(0, &Proofer(5)));
    EXPECT_EQ(Proofer(5).PanelColor()->RGBColor(), Packed(33, 66, 99));
    ASSERT_TRUE(DragProofer(4, &Strip(1)));
    EXPECT_EQ(StripColors(1), (std::vector<int32_t>{Proofer(4).PanelColor()->RGBColor()}));
}

}  // namespace
