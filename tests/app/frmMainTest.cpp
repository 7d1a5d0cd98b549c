#include "support/MainWindowFixture.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestEnvironment.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/KeyBindings.h"
#include "platform/MessageBox.h"
#include "platform/RibbonBar.h"
#include "platform/StatusBar.h"
#include "platform/UrlOpener.h"
#include "views/ColorPanel.h"
#include "services/CommandIds.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <ostream>
#include <set>

namespace {

QString statusText(frmMain& window) {
    StatusBar& bar = window.Bars().GetStatusBar();
    return bar.PaneText(bar.PaneId(0));
}

void pressKey(QWidget& target, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
}

using frmMainStartUp = MainWindowFixture;

TEST_F(frmMainStartUp, OpensWithThreeRaisedProofersOfRandomColoursUntouchedAndReady) {
    ASSERT_EQ(window->cpList.size(), 3u);
    std::set<int32_t> distinct;
    for (const auto& proofer : window->cpList) {
        EXPECT_TRUE(proofer->isVisible());
        EXPECT_EQ(proofer->Style(), 1);
        EXPECT_FALSE(proofer->Fixed());
        ASSERT_TRUE(proofer->HasColor());
        const Color& color = *proofer->PanelColor();
        // Below a white top colour every channel is drawn from 0 to 254.
        EXPECT_LE(color.Red(), 254);
        EXPECT_LE(color.Green(), 254);
        EXPECT_LE(color.Blue(), 254);
        distinct.insert(color.RGBColor());
    }
    EXPECT_EQ(distinct.size(), 3u) << "three random colours should differ";

    // The row is what the generated list recorded: the proofers' own colour objects.
    ASSERT_EQ(Globals::GeneratedColors->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Globals::GeneratedColors->Item(i + 1), window->cpList[static_cast<size_t>(i)]->PanelColor());

    EXPECT_EQ(statusText(*window), QStringLiteral(" Ready"));
    EXPECT_TRUE(window->m_IsOpeningJustAfterStartup);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(window->m_RangeType, CommandIds::RangeAllRGB);
    EXPECT_FALSE(window->m_IsUDC);
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(1));
    EXPECT_EQ(window->NumberOfHistoryGroups, 1);
    EXPECT_EQ(window->SelectedPictureIndex, -1);
    EXPECT_EQ(window->RibbonBar()->SelectedTab()->Id(), CommandIds::SelectionTab);
    ASSERT_TRUE(Globals::DrawColor);
    EXPECT_EQ(Globals::DrawColor->RGBColor(), 0);
    EXPECT_EQ(Globals::DrawColor->TemporaryImagePath(), App::Path() + QStringLiteral("/stdcolor.bmp"));
}

TEST_F(frmMainStartUp, StatusTextNamesTheCurrentFileByItsFilePart) {
    Globals::CurrentFile = QStringLiteral("/home/someone/schemes/b.tnd");
    window->UpdateAppCaption();
    EXPECT_EQ(statusText(*window), QStringLiteral(" b.tnd"));
    Globals::CurrentFile.clear();
    window->UpdateAppCaption();
    EXPECT_EQ(statusText(*window), QStringLiteral(" Ready"));
}

// New colours come from the Space key and from "Create  &New Colors" alike.
struct NewColorsRoad {
    const char* name;
    bool bySpace;
};
std::ostream& operator<<(std::ostream& out, const NewColorsRoad& road) { return out << road.name; }

class frmMainNewColors : public MainWindowFixture, public ::testing::WithParamInterface<NewColorsRoad> {
protected:
    void Generate() {
        if (GetParam().bySpace)
            pressKey(*window, Qt::Key_Space, QStringLiteral(" "));
        else
            Execute(CommandIds::CreateNewColors);
    }
};

TEST_P(frmMainNewColors, RedrawsTheUnfixedProofersAndKeepsTheFixedOne) {
    window->cpList[1]->SetFixed(true);
    const auto before = ProoferColorObjects();
    const int32_t fixedColor = before[1]->RGBColor();

    Generate();

    const auto after = ProoferColorObjects();
    EXPECT_NE(after[0], before[0]);
    EXPECT_NE(after[2], before[2]);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[1]->RGBColor(), fixedColor);
    // One clone per redrawn proofer, in proofer order.
    ASSERT_EQ(Globals::GeneratedColors->count(), 5);
    EXPECT_NE(Globals::GeneratedColors->Item(4), after[0]);
    EXPECT_EQ(Globals::GeneratedColors->Item(4)->RGBColor(), after[0]->RGBColor());
    EXPECT_EQ(Globals::GeneratedColors->Item(5)->RGBColor(), after[2]->RGBColor());
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);
    EXPECT_TRUE(window->IsModified());
}

TEST_P(frmMainNewColors, WithEveryProoferFixedChangesNothingButTouchesTheDocument) {
    for (const auto& proofer : window->cpList) proofer->SetFixed(true);
    const auto before = ProoferColors();
    Generate();
    EXPECT_EQ(ProoferColors(), before);
    EXPECT_EQ(Globals::GeneratedColors->count(), 3);
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);
}

INSTANTIATE_TEST_SUITE_P(Roads, frmMainNewColors,
                         ::testing::Values(NewColorsRoad{"SpaceKey", true}, NewColorsRoad{"CreateNewColors", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(frmMainStartUp, KeysOtherThanSpaceDrawNothing) {
    const auto before = ProoferColors();
    pressKey(*window, Qt::Key_A, QStringLiteral("a"));
    pressKey(*window, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(ProoferColors(), before);
    EXPECT_TRUE(window->m_IsOpeningJustAfterStartup);
}

// The proofer-count combo: every count from 1 to 8 keeps a fixed proofer 0 with its colour.
class frmMainProoferCount : public MainWindowFixture, public ::testing::WithParamInterface<int> {};

TEST_P(frmMainProoferCount, ComboRebuildsTheRowKeepingTheFixedProofer) {
    const int count = GetParam();
    window->cpList[0]->SetFixed(true);
    const int32_t fixedColor = window->cpList[0]->PanelColor()->RGBColor();
    auto* combo = dynamic_cast<CommandBarComboBox*>(Find(CommandIds::ProoferCount));
    ASSERT_NE(combo, nullptr);
    combo->SetListIndex(count);
    ASSERT_TRUE(window->Bars().ExecuteControl(combo));

    ASSERT_EQ(window->cpList.size(), static_cast<size_t>(count));
    EXPECT_TRUE(window->cpList[0]->Fixed());
    EXPECT_EQ(window->cpList[0]->PanelColor()->RGBColor(), fixedColor);
    for (int i = 1; i < count; ++i) {
        const ColorPanel& proofer = *window->cpList[static_cast<size_t>(i)];
        EXPECT_FALSE(proofer.Fixed()) << "proofer " << i;
        EXPECT_TRUE(proofer.HasColor()) << "proofer " << i;
        EXPECT_TRUE(proofer.isVisible()) << "proofer " << i;
        EXPECT_EQ(proofer.Style(), 1) << "proofer " << i;
    }
    // Every proofer of the new row, the kept one too, is recorded.
    EXPECT_EQ(Globals::GeneratedColors->count(), 3 + count);
    // The row is laid out again: the last proofer ends at the right margin.
    const ColorPanel& last = *window->cpList.back();
    EXPECT_NEAR(last.x() + last.width(), window->picClient->width() - frmMain::LayoutMargin, 1);
}

INSTANTIATE_TEST_SUITE_P(Counts, frmMainProoferCount, ::testing::Range(1, 9),
                         [](const auto& info) { return std::to_string(info.param) + "Proofers"; });

TEST_F(frmMainStartUp, FewerProofersKeepAFixedMiddleOneAndRedrawTheOthers) {
    window->SetProoferCount(5, true);
    window->cpList[1]->SetFixed(true);
    const auto before = ProoferColorObjects();
    const int generated = Globals::GeneratedColors->count();

    window->SetProoferCount(3, true);

    ASSERT_EQ(window->cpList.size(), 3u);
    EXPECT_TRUE(window->cpList[1]->Fixed());
    EXPECT_EQ(window->cpList[1]->PanelColor()->RGBColor(), before[1]->RGBColor());
    EXPECT_NE(window->cpList[1]->PanelColor(), before[1]) << "a kept colour is a copy";
    EXPECT_FALSE(window->cpList[0]->Fixed());
    EXPECT_FALSE(window->cpList[2]->Fixed());
    EXPECT_EQ(Globals::GeneratedColors->count(), generated + 3);
}

TEST_F(frmMainStartUp, RebuildWithoutKeepingFixesNothing) {
    window->cpList[0]->SetFixed(true);
    window->SetProoferCount(4, false);
    for (const auto& proofer : window->cpList) EXPECT_FALSE(proofer->Fixed());
}

TEST_F(frmMainStartUp, RebuildDrawsWithoutTheUserDefinedWindowWhileNewColoursUseIt) {
    window->m_IsUDC = true;
    window->SetProoferCount(3, true);
    for (const auto& proofer : window->cpList) EXPECT_EQ(proofer->PanelColor()->RangeType(), CommandIds::RangeAllRGB);
    // Under a white top colour the user-defined window lies within 35 of 255 on every channel.
    window->CreateNewColors();
    for (const auto& proofer : window->cpList) {
        const Color& color = *proofer->PanelColor();
        EXPECT_GE(color.Red(), 220);
        EXPECT_GE(color.Green(), 220);
        EXPECT_GE(color.Blue(), 220);
    }
}

TEST_F(frmMainStartUp, ShowingAWorkspaceTouchesTheDocumentAndSwitchesTheProoferRow) {
    window->ShowWorkspace(CommandIds::StagingTab);
    for (const auto& proofer : window->cpList) EXPECT_FALSE(proofer->isVisible());
    EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);
    window->ShowWorkspace(CommandIds::SelectionTab);
    for (const auto& proofer : window->cpList) EXPECT_TRUE(proofer->isVisible());
    EXPECT_EQ(window->RibbonBar()->SelectedTab()->Index(), 0);
}

TEST_F(frmMainStartUp, SelectingARibbonTabShowsItsWorkspace) {
    window->ShowWorkspace(CommandIds::StagingTab);
    ASSERT_FALSE(window->cpList[0]->isVisible());
    window->RibbonBar()->SetSelectedTab(window->RibbonBar()->Tab(0));
    Execute(CommandIds::TabSelected);
    for (const auto& proofer : window->cpList) EXPECT_TRUE(proofer->isVisible());
}

// The layout rule, on a client area of 800 by 600.
struct LayoutCase {
    const char* name;
    int proofers;
    int strips;
    std::vector<int> lefts;
    int width;
    int height;
};
std::ostream& operator<<(std::ostream& out, const LayoutCase& layout) { return out << layout.name; }

class frmMainLayout : public MainWindowFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(frmMainLayout, PlacesTheProofersByTheRule) {
    const LayoutCase& c = GetParam();
    window->SetProoferCount(c.proofers, true);
    window->NumberOfHistoryGroups = c.strips;
    window->picClient->setGeometry(0, 0, 800, 600);
    window->RefreshLayout();
    ASSERT_EQ(window->cpList.size(), c.lefts.size());
    for (size_t i = 0; i < c.lefts.size(); ++i) {
        const QRect place = window->cpList[i]->geometry();
        EXPECT_EQ(place, QRect(c.lefts[i], 10, c.width, c.height)) << "proofer " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Client800x600, frmMainLayout,
    ::testing::Values(LayoutCase{"ThreeProofersOneStrip", 3, 1, {20, 280, 540}, 240, 470},
                      LayoutCase{"ThreeProofersThreeStrips", 3, 3, {20, 280, 540}, 240, 360},
                      LayoutCase{"OneProoferSixStrips", 1, 6, {20}, 760, 250},
                      LayoutCase{"FourProofersTwoStrips", 4, 2, {20, 215, 410, 605}, 175, 470},
                      LayoutCase{
                          "EightProofersHalfPixelWidths", 8, 1, {20, 118, 215, 312, 410, 508, 605, 702}, 78, 470}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(frmMainStripPlaces, OneStripFillsTheRowUnderTheProofers) {
    // 800 by 600 with 3 proofers: the row ends at 780 and the strips start at 470 + 10 + 10.
    EXPECT_EQ(frmMain::StripPlaces(1, 780, 490), (std::vector<QRect>{QRect(20, 490, 760, 100)}));
}

TEST(frmMainStripPlaces, AnOddCountPutsTheFirstStripAloneAboveThePairs) {
    EXPECT_EQ(frmMain::StripPlaces(3, 780, 380),
              (std::vector<QRect>{QRect(20, 380, 760, 100), QRect(20, 490, 375, 100), QRect(405, 490, 375, 100)}));
    const auto five = frmMain::StripPlaces(5, 780, 270);
    ASSERT_EQ(five.size(), 5u);
    EXPECT_EQ(five[4], QRect(405, 490, 375, 100));
}

TEST(frmMainStripPlaces, AnEvenCountPairsEveryRowAndEndsTenAboveTheBottom) {
    const auto six = frmMain::StripPlaces(6, 780, 600 - 350 + 20);
    ASSERT_EQ(six.size(), 6u);
    EXPECT_EQ(six[0], QRect(20, 270, 375, 100));
    EXPECT_EQ(six[1], QRect(405, 270, 375, 100));
    EXPECT_EQ(six[5].bottom() + 1, 590);
}

TEST_F(frmMainStartUp, ClientAreaFillsWhatTheCommandBarsLeaveFree) {
    window->resize(900, 650);
    QApplication::processEvents();
    int left = 0, top = 0, right = 0, bottom = 0;
    window->Bars().GetClientRect(left, top, right, bottom);
    EXPECT_EQ(window->picClient->geometry(), QRect(left, top, right - left, bottom - top));
    EXPECT_GT(top, 0) << "the ribbon takes the top";
    EXPECT_LT(bottom, window->height()) << "the status bar takes the bottom";
}

// The ribbon's own controls: system menu, quick-access bar, keys.
struct MenuEntry {
    int id;
    const char* caption;
    bool beginGroup;
    bool visible;
};

// With no recent files the list has emptied the six slots it fills.
TEST_F(frmMainStartUp, SystemMenuListsItsCommandsInOrderWithHiddenRecentSlots) {
    CommandBarControl* systemButton = window->RibbonBar()->SystemButton();
    ASSERT_NE(systemButton, nullptr);
    EXPECT_EQ(systemButton->IconId(), CommandIds::SystemButtonIcon);
    const std::vector<MenuEntry> expected{
        {CommandIds::FileNew, "&New", false, true},
        {CommandIds::FileOpen, "&Open...", false, true},
        {CommandIds::FileSave, "&Save", false, true},
        {CommandIds::FileSaveAs, "Save &As...", false, true},
        {CommandIds::FilePrint, "&Print", true, true},
        {CommandIds::FirstRecentFileSlot, "", true, false},
        {CommandIds::FirstRecentFileSlot + 1, "", false, false},
        {CommandIds::FirstRecentFileSlot + 2, "", false, false},
        {CommandIds::FirstRecentFileSlot + 3, "", false, false},
        {CommandIds::FirstRecentFileSlot + 4, "", false, false},
        {CommandIds::FirstRecentFileSlot + 5, "", false, false},
        {CommandIds::AppExit, "E&xit", true, true},
    };
    const CommandBarControls& menu = systemButton->GetCommandBar()->Controls();
    ASSERT_EQ(menu.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < menu.Count(); ++i) {
        const CommandBarControl& item = *menu.Item(i);
        const MenuEntry& want = expected[static_cast<size_t>(i)];
        EXPECT_EQ(item.Id(), want.id) << "item " << i;
        EXPECT_EQ(item.Caption(), QString::fromLatin1(want.caption)) << "item " << i;
        EXPECT_EQ(item.BeginGroup(), want.beginGroup) << "item " << i;
        EXPECT_EQ(item.Visible(), want.visible) << "item " << i;
    }
}

TEST_F(frmMainStartUp, QuickAccessBarCarriesTheFileCommandsAndTheOnlyHelp) {
    const CommandBarControls& quick = window->RibbonBar()->QuickAccessControls();
    const std::vector<std::pair<int, QString>> expected{{CommandIds::FileNew, "&New"},
                                                        {CommandIds::FileOpen, "&Open"},
                                                        {CommandIds::FileSave, "&Save"},
                                                        {CommandIds::FilePrint, "&Print"},
                                                        {CommandIds::Help, "&Help"}};
    ASSERT_EQ(quick.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(quick.Item(i)->Id(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(quick.Item(i)->Caption(), expected[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(window->RibbonBar()->SystemButton()->GetCommandBar()->FindControl(CommandIds::Help), nullptr);
    for (int t = 0; t < window->RibbonBar()->TabCount(); ++t)
        for (int g = 0; g < window->RibbonBar()->Tab(t)->GroupCount(); ++g)
            EXPECT_EQ(window->RibbonBar()->Tab(t)->Group(g)->Controls().Find(CommandIds::Help), nullptr);
}

TEST_F(frmMainStartUp, CtrlKeysRunTheFileCommands) {
    const KeyBindings& keys = window->Bars().GetKeyBindings();
    EXPECT_EQ(keys.Count(), 4);
    EXPECT_EQ(keys.FindCommand(KeyBindings::Control, 'N'), CommandIds::FileNew);
    EXPECT_EQ(keys.FindCommand(KeyBindings::Control, 'O'), CommandIds::FileOpen);
    EXPECT_EQ(keys.FindCommand(KeyBindings::Control, 'S'), CommandIds::FileSave);
    EXPECT_EQ(keys.FindCommand(KeyBindings::Control, 'P'), CommandIds::FilePrint);
}

TEST_F(frmMainStartUp, DisablingTheUserInterfaceSparesNewSaveAsAndTheRecentSlots) {
    window->SetUIStatus(false);
    for (int id : {CommandIds::FileOpen, CommandIds::FileSave, CommandIds::FilePrint, CommandIds::AppExit,
                   CommandIds::CreateNewColors, CommandIds::ProoferCount, CommandIds::TexturesGallery,
                   CommandIds::RangeTypePopup})
        EXPECT_FALSE(Find(id)->Enabled()) << id;
    for (int id : {CommandIds::FileNew, CommandIds::FileSaveAs, CommandIds::FirstRecentFileSlot})
        EXPECT_TRUE(Find(id)->Enabled()) << id;
    for (const auto& proofer : window->cpList) EXPECT_FALSE(proofer->Enabled());
    window->SetUIStatus(true);
    for (int id : {CommandIds::FileOpen, CommandIds::CreateNewColors, CommandIds::RangeTypePopup})
        EXPECT_TRUE(Find(id)->Enabled()) << id;
    for (const auto& proofer : window->cpList) EXPECT_TRUE(proofer->Enabled());
}

// Command icons.
TEST_F(frmMainStartUp, IconsAreCopiedIntoAFreshFolderAndServeTheirCommands) {
    const QString folder = Globals::IconTempFolder;
    ASSERT_TRUE(folder.endsWith(QLatin1Char('/')));
    QStringList expected;
    for (int n = 1; n <= 15; ++n)
        expected << QStringLiteral("bin%1%2").arg(n, 3, 10, QLatin1Char('0')).arg(n <= 3 ? ".bmp" : ".png");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expected);

    const CommandBarImageManager& icons = window->Bars().Icons();
    for (int id :
         {5001, 5003, 2792, 2806, CommandIds::FileNew, CommandIds::Help, CommandIds::CreateNewColors,
          CommandIds::KeepAll, CommandIds::RangeTypePopup, CommandIds::ToolFlood, CommandIds::SystemButtonIcon})
        EXPECT_TRUE(icons.Exists(id)) << id;
    // The "&New" of the system menu and of the quick-access bar show the one icon of "&New".
    EXPECT_EQ(window->RibbonBar()->SystemButton()->GetCommandBar()->Controls().Item(0)->IconId(), CommandIds::FileNew);
    EXPECT_EQ(window->RibbonBar()->QuickAccessControls().Item(0)->IconId(), CommandIds::FileNew);

    window->close();
    EXPECT_FALSE(QDir(folder).exists());
}

TEST(frmMainIcons, AMissingIconFileLeavesItsCommandsBareAndTheWindowWhole) {
    // A program folder with every icon file but bin003, which serves the file commands.
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const QString build = App::Path();
    QDir().mkpath(program.path() + QStringLiteral("/bin"));
    for (int n = 1; n <= 15; ++n) {
        if (n == 3)
            continue;
        const QString name = QStringLiteral("/bin/bin%1").arg(n, 3, 10, QLatin1Char('0'));
        ASSERT_TRUE(QFile::copy(build + name, program.path() + name));
    }
    for (const char* name : {"/stdimg.png", "/stdcolor.bmp"})
        ASSERT_TRUE(QFile::copy(build + name, program.path() + name));
    App::SetPath(program.path());
    struct Restore {
        QString path;
        ~Restore() {
            MainWindowFixture::StopProgram();
            App::SetPath(path);
        }
    } restore{build};
    frmMain* window = MainWindowFixture::StartProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->cpList.size(), 3u);
    EXPECT_NE(window->RibbonBar()->FindControl(CommandIds::CreateNewColors), nullptr);
    const CommandBarImageManager& icons = window->Bars().Icons();
    EXPECT_FALSE(icons.Exists(CommandIds::FileNew));
    EXPECT_FALSE(icons.Exists(CommandIds::Help));
    EXPECT_TRUE(icons.Exists(CommandIds::CreateNewColors));
    EXPECT_TRUE(icons.Exists(CommandIds::SystemButtonIcon));
    EXPECT_EQ(QDir(Globals::IconTempFolder).entryList(QDir::Files).size(), 14);
}

// Dispatch: one command at a time, errors end a command silently.
TEST_F(frmMainStartUp, ACommandRaisedWhileADialogIsOpenIsDroppedAndTheNextOneRuns) {
    window->CreateNewColors();
    ASSERT_TRUE(window->IsModified());
    std::vector<int32_t> duringDialog;
    int asked = 0;
    MessageBox::SetHandler([&](const MessageBox::Request& request) {
        ++asked;
        EXPECT_EQ(request.prompt, QStringLiteral("Do you want to save this file?"));
        EXPECT_EQ(request.buttons, 35);
        const auto before = ProoferColors();
        Execute(CommandIds::CreateNewColors);
        duringDialog = ProoferColors();
        EXPECT_EQ(duringDialog, before) << "the second command ran";
        return static_cast<int>(MessageBox::Cancel);
    });
    Execute(CommandIds::AppExit);
    MessageBox::SetHandler({});
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->isVisible()) << "Cancel keeps the window open";

    const auto before = ProoferColors();
    Execute(CommandIds::CreateNewColors);
    EXPECT_NE(ProoferColors(), before) << "the dispatcher stayed busy";
}

TEST_F(frmMainStartUp, AnErrorInsideACommandEndsItSilentlyAndFreesTheDispatcher) {
    ScriptedMessageBox boxes;
    auto* combo = dynamic_cast<CommandBarComboBox*>(Find(CommandIds::ProoferCount));
    ASSERT_NE(combo, nullptr);
    // Typed text chooses no entry: the count 0 is refused by the rebuild.
    combo->SetText(QStringLiteral("many"));
    ASSERT_EQ(combo->ListIndex(), 0);
    window->Bars().ExecuteControl(combo);
    EXPECT_EQ(window->cpList.size(), 3u);
    EXPECT_TRUE(boxes.Requests().empty());

    const auto before = ProoferColors();
    Execute(CommandIds::CreateNewColors);
    EXPECT_NE(ProoferColors(), before);
}

TEST_F(frmMainStartUp, HelpShowsTheProgramFoldersHelpPageAndIgnoresFailures) {
    std::vector<QUrl> asked;
    UrlOpener::SetHandler([&](const QUrl& url) {
        asked.push_back(url);
        return false;
    });
    Execute(CommandIds::Help);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QUrl::fromLocalFile(App::Path() + QStringLiteral("/help/index.htm")));
    EXPECT_TRUE(QFile::exists(asked[0].toLocalFile()));

    UrlOpener::SetHandler([](const QUrl&) -> bool { throw std::runtime_error("no browser"); });
    Execute(CommandIds::Help);
    UrlOpener::SetHandler({});
    const auto before = ProoferColors();
    Execute(CommandIds::CreateNewColors);
    EXPECT_NE(ProoferColors(), before);
}

// Closing.
TEST_F(frmMainStartUp, AnUntouchedDocumentClosesWithoutAQuestion) {
    ScriptedMessageBox boxes;
    const QString folder = Globals::IconTempFolder;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(frmMainStartUp, AModifiedDocumentAsksAndCancelKeepsTheWindowWhileNoCloses) {
    window->CreateNewColors();
    ScriptedMessageBox boxes({MessageBox::Cancel, MessageBox::No});
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->close());
    ASSERT_EQ(boxes.Requests().size(), 2u);
    EXPECT_EQ(boxes.Requests()[1].title, App::Title());
}

TEST_F(frmMainStartUp, AnsweringYesAndCancellingTheSaveDialogKeepsTheWindowOpen) {
    window->CreateNewColors();
    ScriptedMessageBox boxes({MessageBox::Yes});
    ScriptedFileDialog dialogs;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Find(CommandIds::FileOpen)->Enabled()) << "the user interface is enabled again after the prompt";
}

// The "Selection" tab's commands as the window runs them: dispatch, then Update marks what changed.
TEST_F(frmMainStartUp, ATextureFromTheGalleryIsMarkedAndCarriedByNewColours) {
    auto* gallery = dynamic_cast<CommandBarGallery*>(Find(CommandIds::TexturesGallery));
    ASSERT_NE(gallery, nullptr);
    gallery->SetSelectedItem(gallery->Items()->FindItem(2));
    ASSERT_TRUE(window->Bars().ExecuteControl(gallery));
    EXPECT_EQ(window->SelectedTexture, Globals::TextureItem(2));
    EXPECT_EQ(gallery->CheckedItem(), 2);

    window->CreateNewColors();
    EXPECT_EQ(window->cpList[0]->PanelColor()->ColorTexture()->Id(), 2);
}

TEST_F(frmMainStartUp, ChoosingThreeSchemesShrinksTheProofersForThreeStrips) {
    auto* gallery = dynamic_cast<CommandBarGallery*>(Find(CommandIds::SchemesItems));
    ASSERT_NE(gallery, nullptr);
    gallery->SetSelectedItem(gallery->Items()->FindItem(3));
    ASSERT_TRUE(window->Bars().ExecuteControl(gallery));
    EXPECT_EQ(window->NumberOfHistoryGroups, 3);
    EXPECT_EQ(window->cpList[0]->height(), window->picClient->height() - 240);
    EXPECT_EQ(gallery->CheckedItem(), 3);
}

TEST_F(frmMainStartUp, PagingIsEnabledByTheCursorOfTheGeneratedColours) {
    window->CreateNewColors();
    window->CreateNewColors();
    ColorCollection& generated = *Globals::GeneratedColors;
    ASSERT_EQ(generated.Position(), 9);

    CommandBarControl previous(CommandBarControl::Button, CommandIds::PreviousColors, QString(), nullptr, true);
    CommandBarControl next(CommandBarControl::Button, CommandIds::NextColors, QString(), nullptr, true);
    const auto enabled = [&](CommandBarControl& control) {
        window->CommandBars_Update(&control);
        return control.Enabled();
    };
    EXPECT_TRUE(enabled(previous));
    EXPECT_FALSE(enabled(next));

    Execute(CommandIds::PreviousColors);
    EXPECT_EQ(generated.Position(), 8);
    EXPECT_TRUE(enabled(next));

    // With three proofers previous stays enabled while the cursor is 4 or more.
    for (int i = 0; i < 4; ++i) Execute(CommandIds::PreviousColors);
    EXPECT_EQ(generated.Position(), 4);
    EXPECT_TRUE(enabled(previous));
    Execute(CommandIds::PreviousColors);
    EXPECT_EQ(generated.Position(), 3);
    EXPECT_FALSE(enabled(previous));
}

// Commands that leave the proofers and the workspace alone (the stage's, a bare control's, unknown ids) free
// the dispatcher for the next command.
class frmMainOtherCommand : public MainWindowFixture, public ::testing::WithParamInterface<int32_t> {};

TEST_P(frmMainOtherCommand, LeavesTheProoferRowAndTheDispatcherFree) {
    const auto before = ProoferColors();
    CommandBarControl control(CommandBarControl::Button, GetParam(), QString(), nullptr, true);
    window->CommandBars_Execute(&control);
    EXPECT_EQ(ProoferColors(), before);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->RibbonBar()->SelectedTab()->Id(), CommandIds::SelectionTab);

    Execute(CommandIds::CreateNewColors);
    EXPECT_NE(ProoferColors(), before);
}

INSTANTIATE_TEST_SUITE_P(Ids, frmMainOtherCommand,
                         ::testing::Values(CommandIds::StagingCommands.first, CommandIds::ToolFlood,
                                           CommandIds::FontBold, CommandIds::FontName, CommandIds::SelectedTabQuery,
                                           12345));

}  // namespace
