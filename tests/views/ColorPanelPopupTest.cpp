#include "SwatchFixture.h"

#include "services/CommandIds.h"

#include "platform/CommandBarCustom.h"
#include "platform/CommandBarImageManager.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestEnvironment.h"
#include "support/CommandBarItems.h"

#include <QClipboard>
#include <QMenu>
#include <QSlider>

#include <ostream>
#include <vector>

namespace {

using CommandBarItems::Items;

using ColorPanelPopup = SwatchTest;

TEST_F(ColorPanelPopup, ProoferPopupHasKeepAndFixAndNoStripCommands) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    ASSERT_NE(PopupBar(), nullptr);
    EXPECT_EQ(Items(*PopupBar()),
              (std::vector<std::string>{"30006 &Keep it!", "30003 &Fix it!", "| 30000 ", "30001 ", "30002 ",
                                        "| 4003 Cop&y Image", "40000 Adj&ust Color", "| 30004 &Load Image...",
                                        "30005 &Remove Image", "| 15102 &Textures"}));
    const CommandBarControl* adjust = PopupItem(40000);
    ASSERT_EQ(adjust->GetCommandBar()->Controls().Count(), 1);
    auto* custom = dynamic_cast<CommandBarCustom*>(adjust->GetCommandBar()->Controls().Item(0));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->Id(), 40001);
    EXPECT_EQ(custom->Caption(), QStringLiteral("&Adjust"));
    EXPECT_EQ(custom->Handle(), panel->findChild<QWidget*>(QStringLiteral("picColor")));
}

TEST_F(ColorPanelPopup, StripItemPopupStartsWithCopiesAndEndsWithSort) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Plain, true);
    EXPECT_EQ(
        Items(*PopupBar()),
        (std::vector<std::string>{"| 30000 ", "30001 ", "30002 ", "| 4003 Cop&y Image", "40000 Adj&ust Color",
                                  "| 30004 &Load Image...", "30005 &Remove Image", "| 15102 &Textures",
                                  "| 4004 &Delete Color", "60000 D&elete All", "| 60002 &Add All",
                                  "60003 Add &Black && White", "| 60001 C&omments...", "61001 &Sort Colors by..."}));
    EXPECT_EQ(PopupItem(61001)->GetCommandBar()->Controls().Count(), 8);
}

TEST_F(ColorPanelPopup, TexturesSubmenuListsTheTexturesAndChecksTheColoursOwn) {
    panel->Init(host.get(), MakeColor(1, 2, 3, 3), PanelStyle::Raised, false);
    const CommandBar* textures = PopupItem(15102)->GetCommandBar();
    EXPECT_EQ(Items(*textures), (std::vector<std::string>{"1   No Texture", "| 2 Stripes", "3 Checks"}));
    std::vector<bool> checked;
    for (const auto& item : textures->Controls()) checked.push_back(item->Checked());
    EXPECT_EQ(checked, (std::vector<bool>{false, false, true}));

    // Choosing a texture checks it alone and dresses the colour, also on a fixed swatch.
    panel->SetFixed(true);
    ASSERT_TRUE(Execute(2));
    checked.clear();
    for (const auto& item : textures->Controls()) checked.push_back(item->Checked());
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->Id(), 2);
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->TextureType(), TextureKind::Pattern);
    EXPECT_NE(panel->PanelColor()->ColorTexture(), Globals::TextureItem(2));  // the colour's own copy

    panel->Clear();
    EXPECT_TRUE(textures->FindControl(1)->Checked());
    EXPECT_FALSE(textures->FindControl(2)->Checked());
}

TEST_F(ColorPanelPopup, PopupShowsTheIconsTheHostHandsIt) {
    CommandBars hostBars(host.get());
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    hostBars.Icons().SetIcon(CommandIds::CopyImage, icon);
    panel->SetPopupIcons(hostBars.SharedIcons());
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    EXPECT_TRUE(Bars()->Icons().Exists(CommandIds::CopyImage));
}

// What the popup shows as it opens.
struct Opened {
    QString rgb, hsb, html;
    bool fixChecked = false;
    bool texturesEnabled = false;
    bool removeEnabled = false;
};

class ColorPanelOpening : public SwatchTest {
protected:
    // Opens the popup with a right click and closes it without a choice.
    Opened RightClick() {
        Opened seen;
        int opened = 0;
        CommandBars::SetPopupHook([&](CommandBar& bar, QMenu&) {
            ++opened;
            const auto caption = [&](int id) { return bar.FindControl(id)->Caption(); };
            seen.rgb = caption(30000);
            seen.hsb = caption(30001);
            seen.html = caption(30002);
            if (CommandBarControl* fix = bar.FindControl(30003))
                seen.fixChecked = fix->Checked();
            seen.texturesEnabled = bar.FindControl(15102)->Enabled();
            seen.removeEnabled = bar.FindControl(30005)->Enabled();
        });
        Mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::RightButton, Qt::RightButton);
        Mouse(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::RightButton, Qt::NoButton);
        CommandBars::SetPopupHook({});
        EXPECT_EQ(opened, 1);
        return seen;
    }
};

TEST_F(ColorPanelOpening, RightReleaseShowsThePopupAndRaisesNoMouseUp) {
    std::vector<int> ups;
    QObject::connect(panel, &ColorPanel::MouseUp,
                     [&](int16_t button, int16_t, float, float) { ups.push_back(button); });
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    RightClick();
    EXPECT_TRUE(ups.empty());
    Mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::MiddleButton, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(ups, (std::vector<int>{1, 4}));
}

TEST_F(ColorPanelOpening, CopyCaptionsShowTheColourAsItIs) {
    auto color = MakeColor(10, 200, 255);
    panel->Init(host.get(), color, PanelStyle::Raised, false);
    Opened seen = RightClick();
    EXPECT_EQ(seen.rgb, QStringLiteral("Copy RGB: (10, 200, 255)"));
    EXPECT_EQ(seen.hsb, QStringLiteral("Copy HSB: ") + color->ToString(QStringLiteral("hsb")));
    EXPECT_EQ(seen.html, QStringLiteral("Copy HTML: #0AC8FF"));

    // A slider move renews the captions at once.
    panel->findChild<QSlider*>(QStringLiteral("sldColor0"))->setValue(0);
    EXPECT_EQ(PopupItem(30000)->Caption(), QStringLiteral("Copy RGB: (0, 200, 255)"));
    EXPECT_EQ(PopupItem(30002)->Caption(), QStringLiteral("Copy HTML: #00C8FF"));

    // A colour set by the host shows at the next opening.
    panel->SetColor(MakeColor(1, 2, 3));
    EXPECT_EQ(RightClick().rgb, QStringLiteral("Copy RGB: (1, 2, 3)"));
}

TEST_F(ColorPanelOpening, FixItIsCheckedForAFixedSwatchAndPictureRulesTheImageItems) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false, true);
    Opened seen = RightClick();
    EXPECT_TRUE(seen.fixChecked);
    EXPECT_TRUE(seen.texturesEnabled);
    EXPECT_FALSE(seen.removeEnabled);

    // Fix it! twice returns the flag to where it was.
    ASSERT_TRUE(Execute(30003));
    EXPECT_FALSE(panel->Fixed());
    ASSERT_TRUE(Execute(30003));
    EXPECT_TRUE(panel->Fixed());

    DropFiles({WritePicture(QStringLiteral("p.png"), 4, 4)});
    seen = RightClick();
    EXPECT_FALSE(seen.texturesEnabled);
    EXPECT_TRUE(seen.removeEnabled);
    ASSERT_TRUE(Execute(30005));
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->TextureType(), TextureKind::None);
    EXPECT_TRUE(RightClick().texturesEnabled);
}

TEST_F(ColorPanelOpening, ChoosingInTheRealMenuRunsTheCommand) {
    std::vector<int> keeps;
    QObject::connect(panel, &ColorPanel::SendToHistory, [&](int32_t index) { keeps.push_back(index); });
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    CommandBars::SetPopupHook([](CommandBar&, QMenu& menu) { CommandBars::FindAction(menu, 30006)->trigger(); });
    Mouse(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::RightButton, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_EQ(keeps, std::vector<int>{0});
}

using ColorPanelCommands = SwatchTest;

TEST_F(ColorPanelCommands, CopyTextsGoToTheClipboard) {
    panel->Init(host.get(), MakeColor(10, 200, 255), PanelStyle::Raised, false);
    QClipboard* clipboard = QGuiApplication::clipboard();
    ASSERT_TRUE(Execute(30000));
    EXPECT_EQ(clipboard->text(), QStringLiteral("(10, 200, 255)"));
    ASSERT_TRUE(Execute(30001));
    EXPECT_EQ(clipboard->text(), panel->PanelColor()->ToString(QStringLiteral("hsb")));
    ASSERT_TRUE(Execute(30002));
    EXPECT_EQ(clipboard->text(), QStringLiteral("#0AC8FF"));
}

TEST_F(ColorPanelCommands, CopyImagePutsTheSwatchOnTheClipboard) {
    panel->Init(host.get(), MakeColor(40, 80, 120), PanelStyle::Raised, false);
    ASSERT_TRUE(Execute(4003));
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(PanelWidth, PanelHeight));
    EXPECT_EQ(copied.pixelColor(0, 0), QColor(40, 80, 120));
    EXPECT_EQ(copied.pixelColor(PanelWidth - 1, PanelHeight - 1), QColor(40, 80, 120));

    // A picture is copied recoloured, at its own size.
    DropFiles({WritePicture(QStringLiteral("copy.png"), 7, 5)});
    ASSERT_TRUE(Execute(4003));
    const QImage picture = QGuiApplication::clipboard()->image();
    EXPECT_EQ(picture.size(), QSize(7, 5));
    EXPECT_EQ(picture.pixelColor(3, 3), Surface()->Image().pixelColor(3, 3));
}

TEST_F(ColorPanelCommands, DeleteColorReleasesTheColourBeforeDeleteMe) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Plain, true);
    std::vector<bool> readyWhenHeard;
    QObject::connect(panel, &ColorPanel::DeleteMe, [&] { readyWhenHeard.push_back(panel->Ready()); });
    ASSERT_TRUE(Execute(4004));
    EXPECT_EQ(readyWhenHeard, std::vector<bool>{false});
    EXPECT_FALSE(panel->HasColor());
    EXPECT_EQ(panel->PanelColor(), nullptr);
}

TEST_F(ColorPanelCommands, StripCommandsBecomeEvents) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Plain, true);
    std::vector<std::string> heard;
    QObject::connect(panel, &ColorPanel::DeleteAll, [&] { heard.push_back("DeleteAll"); });
    QObject::connect(panel, &ColorPanel::KeepAll, [&] { heard.push_back("KeepAll"); });
    QObject::connect(panel, &ColorPanel::AddBlackAndWhite, [&] { heard.push_back("AddBlackAndWhite"); });
    QObject::connect(panel, &ColorPanel::ShowComments, [&] { heard.push_back("ShowComments"); });
    QObject::connect(panel, &ColorPanel::Sort, [&](int32_t key) { heard.push_back("Sort " + std::to_string(key)); });
    for (int id : {60000, 60002, 60003, 60001, 61002, 61009, 61006}) ASSERT_TRUE(Execute(id)) << id;
    EXPECT_EQ(heard, (std::vector<std::string>{"DeleteAll", "KeepAll", "AddBlackAndWhite", "ShowComments", "Sort 0",
                                               "Sort 7", "Sort 4"}));
}

TEST_F(ColorPanelCommands, ACommandThatFailsEndsQuietly) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    panel->PanelColor()->SetTemporaryImagePath(QStringLiteral("/nowhere/at/all.bmp"));
    ScriptedMessageBox boxes;
    EXPECT_NO_THROW(Execute(2));  // the render cannot write its file
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->Id(), 2);
    EXPECT_EQ(boxes.Requests().size(), 1u);  // the unwritable temporary folder, told once
}

TEST_F(ColorPanelCommands, LoadImageAsksForAPicture) {
    const QString picture = WritePicture(QStringLiteral("menu.png"), 3, 3);
    ScriptedFileDialog dialogs({picture});
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    ASSERT_TRUE(Execute(30004));
    EXPECT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(panel->PanelColor()->ColorTexture()->path(), picture);
}

// A press at (10, 10), one move with the buttons held, and whether a drag starts.
struct DragCase {
    const char* name;
    float dx, dy;
    Qt::MouseButtons held;
    bool starts;
};
std::ostream& operator<<(std::ostream& os, const DragCase& c) { return os << c.name; }

class ColorPanelDrag : public SwatchTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(ColorPanelDrag, StartsBeyondThreePixelsWithTheLeftButtonAlone) {
    const DragCase& c = GetParam();
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    int starts = 0;
    std::vector<int> moves;
    QObject::connect(panel, &ColorPanel::StartDragging, [&] { ++starts; });
    QObject::connect(panel, &ColorPanel::MouseMove, [&](int16_t button, int16_t, float, float) {
        EXPECT_EQ(starts, 0);  // the move is reported before the drag starts
        moves.push_back(button);
    });
    Mouse(QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, c.held);
    Mouse(QEvent::MouseMove, QPointF(10 + c.dx, 10 + c.dy), Qt::NoButton, c.held);
    EXPECT_EQ(starts, c.starts ? 1 : 0);
    ASSERT_EQ(moves.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Distances, ColorPanelDrag,
                         ::testing::Values(DragCase{"three_right", 3, 0, Qt::LeftButton, false},
                                           DragCase{"four_right", 4, 0, Qt::LeftButton, true},
                                           DragCase{"four_up", 0, -4, Qt::LeftButton, true},
                                           DragCase{"three_each_way", 3, -3, Qt::LeftButton, false},
                                           DragCase{"a_fraction_past_three", 3.25f, 0, Qt::LeftButton, true},
                                           DragCase{"left_and_right_held", 8, 0, Qt::LeftButton | Qt::RightButton,
                                                    false},
                                           DragCase{"right_alone", 8, 0, Qt::RightButton, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorPanelCommands, PressAndDoubleClickAreReported) {
    panel->Init(host.get(), MakeColor(1, 2, 3), PanelStyle::Raised, false);
    std::vector<std::string> heard;
    QObject::connect(panel, &ColorPanel::MouseDown, [&](int16_t button, int16_t shift, float x, float y) {
        heard.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                        std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    });
    QObject::connect(panel, &ColorPanel::DblClick, [&](ColorPanel* p) {
        EXPECT_EQ(p, panel);
        heard.push_back("double");
    });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(6, 7), Surface()->mapToGlobal(QPointF(6, 7)), Qt::LeftButton,
                      Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    QApplication::sendEvent(Surface(), &press);
    Mouse(QEvent::MouseButtonDblClick, QPointF(6, 7), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(heard, (std::vector<std::string>{"down 1 3 6,7", "double"}));

    // Beside a picture smaller than the swatch the second press of a double click is no press.
    DropFiles({WritePicture(QStringLiteral("small.png"), 12, 9)});
    ASSERT_EQ(Surface()->size(), QSize(12, 9));
    heard.clear();
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(30, 20), panel->mapToGlobal(QPointF(30, 20)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &twice);
    EXPECT_TRUE(heard.empty());
}

}  // namespace
