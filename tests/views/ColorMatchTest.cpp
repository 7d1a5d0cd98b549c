#include "ColorMatchFixture.h"

#include "platform/RuntimeError.h"
#include "services/CommandIds.h"
#include "services/fDropShadow.h"
#include "support/CommandBarItems.h"

#include <QClipboard>
#include <QGuiApplication>

#include <string>

namespace {

using PieTest::Rgb;

constexpr int32_t White = ColorMatch::White;
const std::vector<int32_t> Seven = {Rgb(200, 30, 30),  Rgb(30, 160, 40),  Rgb(40, 60, 220), Rgb(240, 200, 20),
                                    Rgb(150, 40, 170), Rgb(20, 190, 200), Rgb(90, 90, 90)};

using CommandBarItems::Items;

TEST_F(ColorMatchTest, InitBuildsThePopupTheShadowsAndAWhiteCleanPie) {
    pie->Init(host.get());
    ASSERT_NE(PopupBar(), nullptr);
    EXPECT_EQ(Items(*PopupBar()), (std::vector<std::string>{"40006 &Copy Image", "| 40007 &Remove Color",
                                                            "40004 Remove &All Colors", "| 40005 Remove &Background"}));
    for (const auto& control : PopupBar()->Controls()) EXPECT_TRUE(control->Enabled()) << control->Id();

    ScriptedPopup popup({0});
    Release(QPoint(5, 5), Qt::RightButton);
    ASSERT_EQ(popup.Shown().size(), 1u);
    EXPECT_EQ(popup.Bars().front(), QStringLiteral("Popup"));

    ASSERT_NE(pie->ShadowRight(), nullptr);
    ASSERT_NE(pie->ShadowBottom(), nullptr);
    EXPECT_EQ(pie->ShadowRight()->ShadowType(), ShadowEdge::Right);
    EXPECT_EQ(pie->ShadowBottom()->ShadowType(), ShadowEdge::Bottom);
    EXPECT_EQ(pie->ShadowRight()->ShadowSize(), 5);
    EXPECT_EQ(pie->ShadowRight()->Shadow(), pie);
    EXPECT_TRUE(pie->ShadowRight()->Visible());
    pie->HideShadows();
    EXPECT_FALSE(pie->ShadowBottom()->Visible());
    pie->ShowShadows();
    EXPECT_TRUE(pie->ShadowBottom()->Visible());

    EXPECT_EQ(pie->BackColor(), White);
    EXPECT_FALSE(pie->IsDirty());
    EXPECT_EQ(pie->Colors()->count(), 0);
    EXPECT_EQ(Packed(Shown(), QPoint(150, 100)), White);

    // Init again keeps one popup bar with the four items.
    pie->Init(host.get());
    EXPECT_EQ(PopupBar()->Controls().Count(), 4);
}

// The layout moves the pie and then forwards a message; the shadows follow without changing visibility.
TEST_F(ColorMatchTest, RefreshShadowsPlacesThemBesideThePieAndKeepsThemHidden) {
    pie->Init(host.get());
    pie->move(60, 40);
    pie->RefreshShadows(562);
    const QRect right = pie->ShadowRight()->WindowRect();
    const QRect bottom = pie->ShadowBottom()->WindowRect();
    const QRect placed(pie->mapToGlobal(QPoint(0, 0)), pie->size());
    EXPECT_EQ(right.left(), placed.right() + 1);
    EXPECT_EQ(bottom.top(), placed.bottom() + 1);
    pie->HideShadows();
    pie->RefreshShadows(5);
    EXPECT_FALSE(pie->ShadowRight()->Visible());
    EXPECT_FALSE(pie->ShadowBottom()->Visible());
}

TEST_F(ColorMatchTest, DisposeUnloadsTheShadowsAndKeepsTheColours) {
    pie->Init(host.get());
    AddColors({Rgb(1, 2, 3)});
    pie->Dispose();
    EXPECT_EQ(pie->ShadowRight(), nullptr);
    EXPECT_EQ(pie->ShadowBottom(), nullptr);
    EXPECT_EQ(Slices(), std::vector<int32_t>{Rgb(1, 2, 3)});
    pie->RefreshShadows(5);  // nothing left to forward to
    pie->HideShadows();
}

TEST_F(ColorMatchTest, AddColorKeepsTheObjectDropsEqualOnesAndMarksModified) {
    pie->Init(host.get());
    auto red = MakeColor(Rgb(255, 0, 0));
    pie->AddColor(red);
    EXPECT_EQ(pie->Colors()->Item(1), red);
    pie->SetIsDirty(false);
    pie->AddColor(MakeColor(Rgb(255, 0, 0)));
    EXPECT_EQ(pie->Colors()->count(), 1);
    EXPECT_TRUE(pie->IsDirty());
    EXPECT_THROW(pie->AddColor(nullptr), RuntimeError);

    ColorMatch uninitialised;
    EXPECT_THROW(uninitialised.AddColor(red), RuntimeError);
}

// A right-click on the inside of any slice and "&Remove Color" remove exactly that slice's colour.
TEST_F(ColorMatchTest, RemoveColorTakesTheClickedSlice) {
    pie->Init(host.get());
    AddColors(Seven);
    std::vector<int32_t> expected = Seven;
    // Always the middle slice of those left, so every position comes up as the pie shrinks.
    while (!expected.empty()) {
        const int n = static_cast<int>(expected.size());
        const int index = n / 2;
        const QPoint at = SlicePoint(index, n);
        EXPECT_EQ(Packed(Shown(), at), expected[index]) << n;
        pie->SetIsDirty(false);
        RightClickAndPick(at, CommandIds::PieRemoveColor);
        EXPECT_EQ(pie->PickedColor(), expected[index]);
        expected.erase(expected.begin() + index);
        ASSERT_EQ(Slices(), expected);
        EXPECT_TRUE(pie->IsDirty());
    }
    EXPECT_EQ(Packed(Shown(), QPoint(150, 100)), White);
}

TEST_F(ColorMatchTest, EveryReleasePicksThePixelShown) {
    pie->Init(host.get());
    AddColors(Seven);
    Release(SlicePoint(3, 7), Qt::LeftButton);
    EXPECT_EQ(pie->PickedColor(), Seven[3]);
    Release(QPoint(2, 2), Qt::LeftButton);
    EXPECT_EQ(pie->PickedColor(), White);
    Release(QPoint(-3, 50), Qt::LeftButton);
    EXPECT_EQ(pie->PickedColor(), -1);
    // Positions round half to even: the upright line runs between columns 149 and 150.
    pie->DeleteColors();
    AddColors({Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(0, 0, 0)});
    const struct {
        double x;
        int32_t picked;
    } cases[] = {{148.5, Rgb(0, 255, 0)}, {149.5, Rgb(255, 0, 0)}, {150.5, Rgb(255, 0, 0)}, {149.4, Rgb(0, 255, 0)}};
    for (const auto& c : cases) {
        const QPointF at(c.x, 50.0);
        QMouseEvent event(QEvent::MouseButtonRelease, at, pie->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(pie, &event);
        EXPECT_EQ(pie->PickedColor(), c.picked) << c.x;
    }
}

TEST_F(ColorMatchTest, RemoveColorFindsTheFirstColourWithinTenOfThePick) {
    struct Case {
        const char* name;
        int32_t background;
        QPoint at;
        std::vector<int32_t> colors;
        std::vector<int32_t> left;
    };
    const QPoint corner(3, 3);
    const QPoint outside(-10, -10);
    const Case cases[] = {
        {"WhiteColourOnWhiteBackground", White, corner, {Rgb(0, 0, 0), Rgb(250, 250, 245)}, {Rgb(0, 0, 0)}},
        {"FirstOfTwoCloseOnes",
         Rgb(100, 100, 100),
         corner,
         {Rgb(0, 0, 0), Rgb(108, 95, 100), Rgb(100, 100, 100)},
         {Rgb(0, 0, 0), Rgb(100, 100, 100)}},
        {"NothingCloseRemovesNothing",
         Rgb(100, 100, 100),
         corner,
         {Rgb(0, 0, 0), Rgb(111, 100, 100)},
         {Rgb(0, 0, 0), Rgb(111, 100, 100)}},
        // Outside the surface no pixel is read: -1, which reads as pure red.
        {"UnreadablePixelMatchesRed", White, outside, {Rgb(0, 0, 255), Rgb(250, 4, 8)}, {Rgb(0, 0, 255)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pie->Init(host.get());
        pie->SetBackColor(c.background);
        AddColors(c.colors);
        pie->SetIsDirty(false);
        RightClickAndPick(c.at, CommandIds::PieRemoveColor);
        EXPECT_EQ(Slices(), c.left);
        EXPECT_TRUE(pie->IsDirty());
    }
}

TEST_F(ColorMatchTest, RemoveAllColorsEmptiesThePieAndRepaints) {
    pie->Init(host.get());
    AddColors(Seven);
    const QPoint at = SlicePoint(0, 7);
    EXPECT_EQ(Packed(Shown(), at), Seven[0]);
    pie->SetIsDirty(false);
    RightClickAndPick(at, CommandIds::PieRemoveAllColors);
    EXPECT_EQ(pie->Colors()->count(), 0);
    EXPECT_TRUE(pie->IsDirty());
    EXPECT_EQ(Packed(Shown(), at), White);
}

TEST_F(ColorMatchTest, RemoveBackgroundTurnsItWhiteAndTellsTheHostEvenWhenWhite) {
    pie->Init(host.get());
    for (int32_t background : {Rgb(10, 20, 30), White}) {
        pie->SetBackColor(background);
        pie->SetIsDirty(false);
        whiteSignals = 0;
        RightClickAndPick(QPoint(2, 2), CommandIds::PieRemoveBackground);
        EXPECT_EQ(pie->BackColor(), White);
        EXPECT_EQ(whiteSignals, 1);
        EXPECT_TRUE(pie->IsDirty());
        EXPECT_EQ(Packed(Shown(), QPoint(2, 2)), White);
    }
}

TEST_F(ColorMatchTest, CopyImagePutsThePieOnTheClipboardAndLeavesTheFlag) {
    pie->Init(host.get());
    pie->SetBackColor(Rgb(30, 30, 40));
    AddColors(Seven);
    pie->SetIsDirty(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    RightClickAndPick(QPoint(2, 2), CommandIds::PieCopyImage);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(PieWidth, PieHeight));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(Packed(copied, QPoint(0, 0)), Rgb(30, 30, 40));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Packed(copied, SlicePoint(i, 7)), Seven[i]) << i;
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), Shown().convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(pie->IsDirty());
}

TEST_F(ColorMatchTest, ClearEmptiesWhitensTellsTheHostAndLeavesItUnmodified) {
    pie->Init(host.get());
    pie->SetBackColor(Rgb(0, 0, 0));
    AddColors(Seven);
    whiteSignals = 0;
    pie->Clear();
    EXPECT_EQ(pie->Colors()->count(), 0);
    EXPECT_EQ(pie->BackColor(), White);
    EXPECT_EQ(whiteSignals, 1);
    EXPECT_FALSE(pie->IsDirty());
    EXPECT_EQ(Packed(Shown(), SlicePoint(0, 7)), White);
}

TEST_F(ColorMatchTest, BackColorTakesPackedColoursOnly) {
    pie->Init(host.get());
    pie->SetBackColor(Rgb(12, 34, 56));
    EXPECT_EQ(Packed(Shown(), QPoint(1, 1)), Rgb(12, 34, 56));
    for (int32_t bad : {-1, White + 1}) {
        EXPECT_THROW(pie->SetBackColor(bad), RuntimeError) << bad;
        EXPECT_EQ(pie->BackColor(), Rgb(12, 34, 56));
    }
}

// Surfaces from nothing to very large, with no colours up to a thousand, paint without fault.
TEST_F(ColorMatchTest, AnySizeAndCountPaints) {
    pie->Init(host.get());
    std::vector<int32_t> thousand;
    for (int i = 0; i < 1000; ++i) thousand.push_back(Rgb(i % 256, (i / 4) % 256, (i * 7) % 256));
    const QSize sizes[] = {QSize(0, 0), QSize(1, 1), QSize(3000, 2000), QSize(300, 200)};
    for (const QSize size : sizes)
        for (int count : {0, 1, 2, 1000}) {
            pie->DeleteColors();
            AddColors(std::vector<int32_t>(thousand.begin(), thousand.begin() + count));
            pie->resize(size);
            const QImage shown = Shown();
            if (size.isEmpty())
                continue;
            ASSERT_EQ(shown.size(), size);
            if (size == QSize(1, 1)) {
                EXPECT_EQ(Packed(shown, QPoint(0, 0)), White) << count;
            }
            Release(QPoint(size.width() / 2, size.height() / 3), Qt::LeftButton);
        }
}

}  // namespace
