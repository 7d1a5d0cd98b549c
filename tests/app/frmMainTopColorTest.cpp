#include "app/ChooserHelper.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "platform/CommandBarControl.h"
#include "platform/PictureBox.h"
#include "services/CommandIds.h"
#include "support/ControlDrop.h"
#include "support/StripWindow.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace CommandIds;

class frmMainTopColor : public StripWindow {
protected:
    void SetRange(int32_t range) {
        ChooserHelper::SetColorRange(range, Find(UserDefinedColors)->Parent(), window->chooserHost());
    }
    std::array<int, 3> Sliders() const {
        return {window->sldTopColor[0]->value(), window->sldTopColor[1]->value(), window->sldTopColor[2]->value()};
    }
    static std::array<int, 3> Top() {
        return {Globals::TopColor->Red(), Globals::TopColor->Green(), Globals::TopColor->Blue()};
    }
    // A user's move of a slider's handle.
    void Move(int slider, int value) { window->sldTopColor[static_cast<size_t>(slider)]->setSliderPosition(value); }
};

TEST_F(frmMainTopColor, MovingASliderSetsTheTopColourItsSwatchAndLabel) {
    SetRange(RangeAllRGB);
    Move(0, 200);
    Move(1, 40);
    Move(2, 10);
    EXPECT_EQ(Top(), (std::array<int, 3>{200, 40, 10}));
    EXPECT_EQ(window->picColor->BackColor(), Packed(200, 40, 10));
    EXPECT_EQ(window->lblAllColors->text(), Globals::TopColor->ToString());

    SetRange(RangeAllHSB);
    Move(0, 120);
    EXPECT_EQ(Globals::TopColor->Hue(), 120);
    EXPECT_EQ(Top(), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(window->picColor->BackColor(), Packed(0, 255, 0));
}

TEST_F(frmMainTopColor, SettingARangeKeepsItsOwnSwatchColour) {
    // The greys range shows a grey swatch over a white top colour: the sliders it sets are no user move.
    SetRange(RangeGreys);
    EXPECT_EQ(window->picColor->BackColor(), 0xB4B4B4);
}

TEST_F(frmMainTopColor, AColourDroppedOnTheSwatchOrItsLabelBecomesTheCentreOfUserDefinedColours) {
    const auto dropped = Rgb(200, 40, 10);
    struct Case {
        const char* name;
        int32_t range;
        bool onLabel;
        std::array<int, 3> sliders;
        int32_t rangeAfter;
    };
    const Case cases[] = {
        {"RGB on the swatch", RangeAllRGB, false, {200, 40, 10}, RangeAllRGB},
        {"RGB on the label", RangeAllRGB, true, {200, 40, 10}, RangeAllRGB},
        {"greens", RangeGreens, false, {dropped->Hue(), dropped->Saturation(), dropped->Brightness()}, RangeAllHSB},
        {"HSB", RangeAllHSB, true, {dropped->Hue(), dropped->Saturation(), dropped->Brightness()}, RangeAllHSB},
    };
    for (const Case& c : cases) {
        SetRange(c.range);
        ASSERT_FALSE(window->m_IsUDC);
        window->cpList[0]->SetColor(dropped->Clone());
        emit window->cpList[0]->StartDragging();
        // The label lets the mouse through to the swatch, so its handler is called as the runtime would.
        if (c.onLabel)
            window->lblAllColors_DragDrop(window->cpList[0].get());
        else
            ASSERT_TRUE(ControlDrop::Drop(window->cpList[0].get(), window->picColor)) << c.name;
        EXPECT_TRUE(window->m_IsUDC) << c.name;
        EXPECT_TRUE(Find(UserDefinedColors)->Checked()) << c.name;
        EXPECT_EQ(Sliders(), c.sliders) << c.name;
        EXPECT_EQ(window->m_RangeType, c.rangeAfter) << c.name;
        const Color& top = *Globals::TopColor;
        // Under HSB the top colour is what the whole-number hue, saturation and brightness give back.
        const std::array<int, 3> read =
            c.rangeAfter == RangeAllRGB ? Top() : std::array<int, 3>{top.Hue(), top.Saturation(), top.Brightness()};
        EXPECT_EQ(read, c.sliders) << c.name;
        EXPECT_EQ(window->picColor->BackColor(), top.RGBColor()) << c.name;
    }
}

TEST_F(frmMainTopColor, AStripGivesItsSelectedColourAndNothingWithoutOne) {
    SetRange(RangeAllRGB);
    Fill(0, {Rgb(1, 2, 3)});
    emit Strip(0).StartDragging();
    ASSERT_TRUE(ControlDrop::Drop(&Strip(0), window->picColor));
    EXPECT_FALSE(window->m_IsUDC) << "no selection, no colour";
    EXPECT_EQ(Top(), (std::array<int, 3>{255, 255, 255}));

    Select(0, 0);
    emit Strip(0).StartDragging();
    ASSERT_TRUE(ControlDrop::Drop(&Strip(0), window->picColor));
    EXPECT_TRUE(window->m_IsUDC);
    EXPECT_EQ(Top(), (std::array<int, 3>{1, 2, 3}));

    // The swatch dropped on itself carries no panel.
    SetRange(RangeAllRGB);
    ASSERT_TRUE(ControlDrop::Drop(window->picColor, window->picColor));
    EXPECT_FALSE(window->m_IsUDC);
}

}  // namespace
