#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/ImagingControl.h"
#include "platform/MessageBox.h"
#include "services/CommandIds.h"
#include "stage/Stage.h"
#include "support/ScriptedFileDialog.h"
#include "support/StripWindow.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace CommandIds;

class frmMainStrips : public StripWindow {
protected:
    ColorPanel& Proofer(int index) const { return *window->cpList[static_cast<size_t>(index)]; }
    // The colour the stage draws with, read from a plain fill of its picture.
    QRgb StageDrawColour() const {
        window->ctlStage->FillImage(Globals::TextureItem(1)->Clone());
        return window->ctlStage->ImageControl()->Picture().pixel(2, 2) & 0xFFFFFF;
    }
};

TEST_F(frmMainStrips, ChoosingASchemeCountShowsThatManyStrips) {
    for (const int count : {3, 6, 1}) {
        ShowStrips(count);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(Strip(i).isVisible(), i < count) << count << " strips, strip " << i;
    }
}

TEST_F(frmMainStrips, OneStripAtMostShowsASelectionAndTheStageDrawsWithIt) {
    ShowStrips(3);
    for (int strip = 0; strip < 3; ++strip) Fill(strip, {Rgb(10 * strip, 100, 200), Rgb(1, 2, 3 + strip)});
    Select(0, 1);
    Select(1, 0);
    Select(2, 0);
    EXPECT_FALSE(Strip(0).Panel(1)->Selected());
    EXPECT_FALSE(Strip(1).Panel(0)->Selected());
    EXPECT_TRUE(Strip(2).Panel(0)->Selected());
    EXPECT_EQ(StageDrawColour(), qRgb(20, 100, 200) & 0xFFFFFF);

    emit Strip(2).SelectedPanelChanged(nullptr);
    EXPECT_EQ(StageDrawColour(), qRgb(0, 0, 0) & 0xFFFFFF) << "back to the program's drawing colour";
}

TEST_F(frmMainStrips, KeepingProofersAddsEachColourOnceAndTouchesTheDocument) {
    ShowStrips(2);
    std::vector<int32_t> proofers = ProoferColors();

    // " Keep &All" fills the first strip; a second run finds every colour there.
    Execute(KeepAll);
    Execute(KeepAll);
    EXPECT_EQ(StripColors(0), proofers);
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);

    // A strip's own "&Add All" fills that strip and is no edit of its own.
    window->m_IsOpeningJustAfterStartup = true;
    emit Strip(1).KeepAll();
    EXPECT_EQ(StripColors(1), proofers);
    EXPECT_TRUE(window->m_IsOpeningJustAfterStartup);

    // "&Keep it!" from a proofer of a rebuilt row, twice.
    window->SetProoferCount(5, true);
    Strip(0).Clear();
    emit Proofer(4).SendToHistory(0);
    emit Proofer(4).SendToHistory(0);
    EXPECT_EQ(StripColors(0), (std::vector<int32_t>{Proofer(4).PanelColor()->RGBColor()}));
    EXPECT_NE(Strip(0).Panel(0)->PanelColor(), Proofer(4).PanelColor()) << "the strip keeps its own copy";
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);
}

TEST_F(frmMainStrips, AProofersPictureRequestAsksYesOrNoAndTouchesTheDocumentEitherWay) {
    struct Case {
        const char* name;
        int answer;
        bool addedBefore;
        bool addedAfter;
        size_t dialogs;
    };
    const Case cases[] = {
        {"No leaves the answer as it came", MessageBox::No, true, true, 0},
        {"Yes and a cancelled picture", MessageBox::Yes, true, false, 1},
    };
    for (const Case& c : cases) {
        std::vector<MessageBox::Request> asked;
        MessageBox::SetHandler([&](const MessageBox::Request& request) {
            asked.push_back(request);
            return c.answer;
        });
        ScriptedFileDialog dialogs;
        window->m_IsOpeningJustAfterStartup = true;
        const auto before = Proofer(1).PanelColor();
        bool added = c.addedBefore;
        emit Proofer(1).RequestNewImage(QStringLiteral("Choose a picture?"), added);
        MessageBox::SetHandler({});
        ASSERT_EQ(asked.size(), 1u) << c.name;
        EXPECT_EQ(asked[0].prompt, QStringLiteral("Choose a picture?"));
        EXPECT_EQ(asked[0].buttons, 36) << "Yes and No with a question mark";
        EXPECT_EQ(asked[0].title, QStringLiteral("Tindral"));
        EXPECT_EQ(added, c.addedAfter) << c.name;
        EXPECT_EQ(dialogs.Requests().size(), c.dialogs) << c.name;
        EXPECT_EQ(Proofer(1).PanelColor(), before) << c.name;
        EXPECT_FALSE(window->m_IsOpeningJustAfterStartup) << c.name;
    }
}

}  // namespace
