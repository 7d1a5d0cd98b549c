#include "platform/WindowMessage.h"
#include "services/DropShadowOverlay.h"
#include "services/fDropShadow.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

namespace {

QWidget* plainWidget(QWidget* parent, const QColor& color) {
    auto* widget = new QWidget(parent);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    return widget;
}

uint8_t alphaAt(const fDropShadow& shadow, int x, int bufferRow) {
    return shadow.Bits()[bufferRow * shadow.BytesPerScanLine() + 4 * x + 3];
}

bool everyColourIsBlack(const fDropShadow& shadow) {
    const int bytes = shadow.BytesPerScanLine() * shadow.DibHeight();
    for (int i = 0; i < bytes; i += 4)
        if (shadow.Bits()[i] != 0 || shadow.Bits()[i + 1] != 0 || shadow.Bits()[i + 2] != 0)
            return false;
    return true;
}

// A white window at the screen's origin holding a 100 x 40 target at (10, 20), with both shadows shown.
class ShadowedTarget : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->setPalette(QPalette(Qt::white));
        host->setAutoFillBackground(true);
        host->setGeometry(4, 8, 300, 200);
        target = plainWidget(host.get(), QColor(40, 90, 160));
        host->show();
        QCoreApplication::processEvents();
        placeTarget(QRect(10, 20, 100, 40));
        for (fDropShadow* shadow : {&right, &bottom}) {
            shadow->SetShadowSize(5);
            shadow->SetShadow(target);
        }
        right.SetShadowType(ShadowEdge::Right);
        bottom.SetShadowType(ShadowEdge::Bottom);
    }
    // Puts the target at a rectangle given in screen pixels.
    void placeTarget(const QRect& screen) {
        target->setGeometry(QRect(host->mapFromGlobal(screen.topLeft()), screen.size()));
        QCoreApplication::processEvents();
    }
    // The grey level the window shows at a screen point.
    int greyAt(const QImage& shot, int x, int y) const { return qRed(shot.pixel(host->mapFromGlobal(QPoint(x, y)))); }
    void showBoth() {
        right.Show(host.get());
        bottom.Show(host.get());
    }

    fDropShadow right;
    fDropShadow bottom;
    std::unique_ptr<QWidget> host;
    QWidget* target = nullptr;
};

TEST_F(ShadowedTarget, ThePicturesAndWindowsSitRightOfAndBelowTheTarget) {
    ASSERT_EQ(target->mapToGlobal(QPoint(0, 0)), QPoint(10, 20));
    EXPECT_FALSE(right.IsLoaded());
    showBoth();
    EXPECT_EQ(bottom.WindowRect(), QRect(15, 60, 100, 5));
    EXPECT_EQ(bottom.DibWidth(), 100);
    EXPECT_EQ(bottom.DibHeight(), 5);
    EXPECT_EQ(right.WindowRect(), QRect(110, 25, 5, 40));
    EXPECT_EQ(right.DibWidth(), 5);
    EXPECT_EQ(right.DibHeight(), 35);
    EXPECT_EQ(right.BytesPerScanLine(), 20);
    EXPECT_TRUE(everyColourIsBlack(right));
    EXPECT_TRUE(everyColourIsBlack(bottom));
}

TEST_F(ShadowedTarget, TheBottomPictureFadesInAndOutAlongAndDownwards) {
    showBoth();
    // Alpha of buffer rows 0 (bottom line) to 4 (top line) for each column factor.
    const std::map<int, std::vector<int>> rowsOfFactor{
        {0, {0, 0, 0, 0, 0}},        {51, {0, 10, 20, 30, 40}},    {102, {0, 20, 40, 61, 81}},
        {153, {0, 30, 61, 91, 122}}, {204, {0, 40, 81, 122, 163}}, {255, {0, 51, 102, 153, 204}},
    };
    std::vector<int> factor(100, 255);
    const std::vector<int> fadeIn{0, 51, 102, 153, 204};
    const std::vector<int> fadeOut{204, 153, 102, 51};  // pixels 96 to 99; pixel 95 is full
    std::copy(fadeIn.begin(), fadeIn.end(), factor.begin());
    std::copy(fadeOut.begin(), fadeOut.end(), factor.begin() + 96);
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 5; ++y)
            ASSERT_EQ(alphaAt(bottom, x, y), rowsOfFactor.at(factor[x])[y]) << "pixel " << x << ", row " << y;
}

TEST_F(ShadowedTarget, TheRightPictureFadesInAtTheTopAndOutToTheRight) {
    showBoth();
    // Alpha of pixels 0 to 4 of a row for each row factor.
    const std::map<int, std::vector<int>> columnsOfFactor{
        {255, {255, 204, 153, 102, 51}}, {204, {204, 163, 122, 81, 40}}, {153, {153, 122, 91, 61, 30}},
        {102, {102, 81, 61, 40, 20}},    {51, {51, 40, 30, 20, 10}},
    };
    std::vector<int> factor(35, 255);
    const std::vector<int> top{255, 204, 153, 102, 51};  // buffer rows 30 to 34, the top five
    std::copy(top.begin(), top.end(), factor.begin() + 30);
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(alphaAt(right, x, y), columnsOfFactor.at(factor[y])[x]) << "pixel " << x << ", row " << y;
}

struct MessageCase {
    const char* name;
    int32_t message;
    bool moves;
    bool rebuilds;
};
std::ostream& operator<<(std::ostream& os, const MessageCase& c) { return os << c.name; }

class ShadowMessage : public ShadowedTarget, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(ShadowMessage, RebuildsOnSizeMovesOnSizingMovingAndEndAndIgnoresTheRest) {
    const MessageCase& c = GetParam();
    showBoth();
    placeTarget(QRect(30, 50, 120, 60));
    right.WindowProc(0, c.message, 0, 0);
    bottom.WindowProc(0, c.message, 0, 0);
    if (c.moves) {
        EXPECT_EQ(right.WindowRect(), QRect(150, 55, 5, 60));
        EXPECT_EQ(bottom.WindowRect(), QRect(35, 110, 120, 5));
    } else {
        EXPECT_EQ(right.WindowRect(), QRect(110, 25, 5, 40));
        EXPECT_EQ(bottom.WindowRect(), QRect(15, 60, 100, 5));
    }
    EXPECT_EQ(right.DibHeight(), c.rebuilds ? 55 : 35);
    EXPECT_EQ(bottom.DibWidth(), c.rebuilds ? 120 : 100);
    EXPECT_EQ(right.WindowProc(0, c.message, 0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, ShadowMessage,
                         ::testing::Values(MessageCase{"SizeChanged", WindowMessage::Size, true, true},
                                           MessageCase{"BeingSized", WindowMessage::Sizing, true, false},
                                           MessageCase{"BeingMoved", WindowMessage::Moving, true, false},
                                           MessageCase{"MoveOrSizeEnded", WindowMessage::ExitSizeMove, true, false},
                                           MessageCase{"Destroyed", WindowMessage::Destroy, false, false},
                                           MessageCase{"Moved", 3, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShadowedTarget, ShowHideAndUnloadAsAFormDoes) {
    EXPECT_EQ(right.MsgResponse(), MsgResponseKind::DefaultAfter);
    right.SetMsgResponse(MsgResponseKind::NoDefault);
    EXPECT_EQ(right.MsgResponse(), MsgResponseKind::DefaultAfter);

    right.Show(host.get());
    EXPECT_TRUE(right.IsLoaded());
    EXPECT_TRUE(right.Visible());
    const auto overlays = host->findChildren<DropShadowOverlay*>();
    ASSERT_EQ(overlays.size(), 1);
    EXPECT_TRUE(overlays[0]->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(host->children().last(), overlays[0]) << "raised above the window's contents";
    EXPECT_NE(host->childAt(host->mapFromGlobal(QPoint(112, 40))), overlays[0])
        << "the mouse reaches what lies beneath";

    right.Hide();
    EXPECT_TRUE(right.IsLoaded());
    EXPECT_FALSE(right.Visible());
    placeTarget(QRect(20, 20, 100, 40));
    right.WindowProc(0, WindowMessage::Moving, 0, 0);
    EXPECT_FALSE(right.Visible()) << "placing does not show a hidden shadow";
    EXPECT_EQ(right.WindowRect(), QRect(120, 25, 5, 40));
    right.Show();
    EXPECT_TRUE(right.Visible());

    right.Unload();
    EXPECT_FALSE(right.IsLoaded());
    EXPECT_EQ(right.Bits(), nullptr);
    EXPECT_TRUE(host->findChildren<DropShadowOverlay*>().isEmpty());
    right.Show();
    EXPECT_TRUE(right.Visible()) << "shown again over the owner it had";
    EXPECT_EQ(right.DibHeight(), 35);
}

TEST_F(ShadowedTarget, AMessageLoadsAShadowThatWasNeverShown) {
    bottom.WindowProc(0, WindowMessage::Size, 0, 0);
    EXPECT_TRUE(bottom.IsLoaded());
    EXPECT_EQ(bottom.WindowRect(), QRect(15, 60, 100, 5));
    right.WindowProc(0, 15, 0, 0);
    EXPECT_FALSE(right.IsLoaded());
}

TEST_F(ShadowedTarget, AGoneTargetOrHostLeavesTheShadowHarmless) {
    showBoth();
    delete target;
    EXPECT_EQ(right.WindowProc(0, WindowMessage::Size, 0, 0), 0);
    EXPECT_EQ(right.DibHeight(), 35);
    host.reset();
    EXPECT_FALSE(right.IsLoaded());
    bottom.Show();
    EXPECT_FALSE(bottom.IsLoaded());
}

TEST_F(ShadowedTarget, ATargetTooSmallForAPictureShowsNoShadow) {
    placeTarget(QRect(10, 20, 100, 4));
    showBoth();
    EXPECT_EQ(right.Bits(), nullptr);
    EXPECT_EQ(right.WindowRect(), QRect(110, 25, 5, 4));
    EXPECT_NE(bottom.Bits(), nullptr);
}

// A control owns its shadows and may go while its window is being destroyed, before or after them.
class ShadowOwningPanel : public QWidget {
public:
    explicit ShadowOwningPanel(QWidget* parent) : QWidget(parent) {
        shadow.SetShadow(this);
        shadow.SetShadowType(ShadowEdge::Bottom);
    }
    fDropShadow shadow;
};

TEST(DropShadowOwnership, AControlAndItsShadowsGoWithTheirWindowInEitherOrder) {
    for (bool shadowFirst : {false, true}) {
        auto window = std::make_unique<QWidget>();
        window->resize(200, 100);
        auto* panel = new ShadowOwningPanel(window.get());
        panel->setGeometry(10, 10, 50, 30);
        window->show();
        QCoreApplication::processEvents();
        panel->shadow.Show(window.get());
        ASSERT_TRUE(panel->shadow.IsLoaded());
        // Children go in the order they were made: a holder made now goes after the shadow.
        if (shadowFirst) {
            panel->setParent(new QWidget(window.get()));
            panel->show();
        }
        window.reset();
    }
}

// The shadows compose over white at 96/255 of their alpha; the right window's lower rows show only
// the bottom window's fading end.
TEST_F(ShadowedTarget, TheWindowShowsThePictureAtAConstantOpacityOf96) {
    showBoth();
    const QImage shot = host->grab().toImage();
    const auto over = [](int alpha) { return 255 - alpha * 96 / 255.0; };
    const auto grey = [&](int x, int y) { return greyAt(shot, x, y); };
    EXPECT_NEAR(grey(110, 45), over(255), 1.0) << "right window, left column";
    EXPECT_NEAR(grey(114, 45), over(51), 1.0) << "right window, right column";
    EXPECT_NEAR(grey(60, 60), over(204), 1.0) << "bottom window, top row";
    EXPECT_EQ(grey(60, 64), 255) << "bottom window, bottom row";
    EXPECT_NEAR(grey(112, 60), over(153 * 4 / 5), 1.0) << "corner: the bottom window alone";
    EXPECT_EQ(grey(140, 40), 255) << "beyond the shadows";
}

// Two shadowed panels, one moved and resized: the shadows follow it. Set TINDRAL_SHADOW_SHOTS to a folder
// to keep the pictures.
TEST(DropShadowScreenshot, ShadowsFollowTwoPanelsThatMoveAndResize) {
    QWidget window;
    window.setPalette(QPalette(QColor(228, 231, 236)));
    window.setAutoFillBackground(true);
    window.setGeometry(0, 0, 360, 240);
    QWidget* first = plainWidget(&window, QColor(214, 64, 52));
    QWidget* second = plainWidget(&window, QColor(46, 124, 196));
    first->setGeometry(20, 20, 140, 120);
    second->setGeometry(190, 20, 140, 120);
    window.show();
    QCoreApplication::processEvents();

    std::vector<std::unique_ptr<fDropShadow>> shadows;
    for (QWidget* panel : {first, second})
        for (ShadowEdge edge : {ShadowEdge::Right, ShadowEdge::Bottom}) {
            auto shadow = std::make_unique<fDropShadow>();
            shadow->SetShadowSize(5);
            shadow->SetShadowType(edge);
            shadow->SetShadow(panel);
            shadow->Show(&window);
            shadows.push_back(std::move(shadow));
        }
    const QString folder = qEnvironmentVariable("TINDRAL_SHADOW_SHOTS", TestEnvironment::Home());
    const QImage before = window.grab().toImage();
    before.save(folder + "/shadows-before.png");

    second->setGeometry(170, 60, 170, 150);
    for (int i = 2; i < 4; ++i) shadows[i]->WindowProc(0, WindowMessage::Size, 0, 0);
    const QImage after = window.grab().toImage();
    ASSERT_TRUE(after.save(folder + "/shadows-after.png"));

    const QRgb background = QColor(228, 231, 236).rgb();
    EXPECT_LT(qGray(before.pixel(331, 80)), qGray(background)) << "right of the second panel";
    EXPECT_LT(qGray(before.pixel(260, 141)), qGray(background)) << "below the second panel";
    EXPECT_LT(qGray(after.pixel(161, 80)), qGray(background)) << "right of the first panel";
    EXPECT_EQ(after.pixel(300, 141), second->grab().toImage().pixel(130, 81)) << "old shadow covered by the panel";
    EXPECT_EQ(after.pixel(250, 16), background) << "nothing left where the panel was";
    EXPECT_LT(qGray(after.pixel(341, 150)), qGray(background)) << "right of the moved panel";
    EXPECT_LT(qGray(after.pixel(250, 211)), qGray(background)) << "below the moved panel";
}

}  // namespace
