#include "StripFixture.h"

#include "model/Texture.h"
#include "platform/App.h"
#include "platform/MessageBox.h"
#include "services/CommandIds.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedModalDialog.h"
#include "support/ScriptedPopup.h"

#include <QCursor>
#include <QImage>
#include <QTimer>
#include <QDialog>
#include <QPlainTextEdit>

#include <string>

namespace {

using ColorHistoryStrip = StripTest;

// Replaces the dialog's text as a person typing would.
void Type(QDialog& dialog, const QString& text) {
    auto* box = dialog.findChild<QPlainTextEdit*>();
    box->selectAll();
    box->insertPlainText(text);
}

// "id caption" of each item, "| " before an item that starts a group, "(off)" after a disabled one.
std::vector<std::string> Lines(const std::vector<PopupLine>& lines) {
    std::vector<std::string> out;
    bool group = false;
    for (const PopupLine& line : lines) {
        if (line.separator) {
            group = true;
            continue;
        }
        out.push_back(std::string(group ? "| " : "") + std::to_string(line.id) + " " + line.text.toStdString() +
                      (line.enabled ? "" : " (off)"));
        group = false;
    }
    return out;
}

TEST_F(ColorHistoryStrip, NewStripHasOneHiddenEmptyPanelAndOffersOnlyTheAddingCommands) {
    EXPECT_EQ(strip->PanelCount(), 0);
    ASSERT_NE(strip->Panel(0), nullptr);
    EXPECT_EQ(strip->Panel(1), nullptr);
    EXPECT_FALSE(strip->Panel(0)->HasColor());
    EXPECT_FALSE(strip->Panel(0)->isVisibleTo(strip));
    EXPECT_FALSE(ScrollBar()->isVisibleTo(strip));
    EXPECT_FALSE(strip->IsDirty());
    EXPECT_EQ(strip->palette().color(QPalette::Window), QColor(230, 230, 230));

    ScriptedPopup popup({0});
    Mouse(strip, QEvent::MouseButtonPress, QPoint(3, 3), Qt::RightButton);
    Mouse(strip, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::RightButton);
    ASSERT_EQ(popup.Shown().size(), 1u);
    EXPECT_EQ(Lines(popup.Shown()[0]),
              (std::vector<std::string>{"60002 &Add All", "60003 Add &Black && White", "| 60001 C&omments... (off)",
                                        "61001 &Sort Colors by... (off)", "| 60000 &Clear Color Scheme (off)"}));

    // With a colour the rest opens up; "&Add All" keeps what the host set.
    strip->AddColorPanel(MakeColor(1, 2, 3));
    strip->SetShowSelectionMenu(false);
    popup.Pick(0);
    Mouse(strip, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::RightButton);
    ASSERT_EQ(popup.Shown().size(), 2u);
    EXPECT_EQ(Lines(popup.Shown()[1]),
              (std::vector<std::string>{"60002 &Add All (off)", "60003 Add &Black && White", "| 60001 C&omments...",
                                        "61001 &Sort Colors by...", "| 60000 &Clear Color Scheme"}));
}

TEST_F(ColorHistoryStrip, TenColoursFillTheWidthAndAnEleventhBringsTheScrollBar) {
    strip->AddColorPanels(Reds(10));
    EXPECT_FALSE(ScrollBar()->isVisibleTo(strip));
    EXPECT_EQ(ShownPanels(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(strip->Panel(i)->geometry(), QRect(Margin + i * (PanelWidth + Margin), Margin, PanelWidth, 50))
            << "panel " << i;

    strip->AddColorPanel(MakeColor(11, 0, 0));
    ASSERT_TRUE(ScrollBar()->isVisibleTo(strip));
    EXPECT_EQ(ScrollBar()->maximum(), 1);
    EXPECT_EQ(ScrollBar()->value(), 1);
    EXPECT_EQ(ScrollBar()->geometry(), QRect(0, StripHeight - 17, StripWidth, 17));
    EXPECT_EQ(ShownPanels(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // The scroll bar takes its height from the panels.
    EXPECT_EQ(strip->Panel(1)->geometry(), QRect(Margin, Margin, PanelWidth, 50 - 17));

    ScrollBar()->setValue(0);
    EXPECT_EQ(ShownPanels(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(strip->Panel(0)->x(), Margin);
    // The eleventh panel starts at the right edge and stays hidden.
    EXPECT_EQ(strip->Panel(10)->x(), StripWidth);
}

TEST_F(ColorHistoryStrip, RebuildLaysThePanelsOutTwiceWhateverTheirNumber) {
    const int before = strip->LayoutPasses();
    strip->AddColorPanels(Reds(30));
    EXPECT_EQ(strip->LayoutPasses() - before, 2);
    EXPECT_EQ(ScrollBar()->maximum(), 20);
    EXPECT_EQ(ShownPanels(), (std::vector<int>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
}

TEST_F(ColorHistoryStrip, PanelsRenderOnceWhenLoadedAndNotAgainWhenScrolledIntoView) {
    strip->AddColorPanels(Reds(30));
    int renders = 0;
    for (int i = 0; strip->Panel(i); ++i)
        QObject::connect(strip->Panel(i), &ColorPanel::Changed, [&renders] { ++renders; });
    ScrollBar()->setValue(19);
    ScrollBar()->setValue(0);
    EXPECT_EQ(ShownPanels(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(renders, 0);
    // Each panel was drawn at its place's size when it was loaded.
    for (int i = 0; i < 10; ++i) EXPECT_EQ(strip->Panel(i)->size(), QSize(PanelWidth, 50 - 17)) << "panel " << i;
}

TEST_F(ColorHistoryStrip, PanelsHoldTheStripsOwnCopiesInOrder) {
    const auto given = Reds(3);
    strip->AddColorPanels(given);
    EXPECT_EQ(strip->PanelCount(), 3);
    EXPECT_EQ(PanelReds(), (std::vector<int>{1, 2, 3}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(strip->Panel(i)->PanelColor(), given[static_cast<size_t>(i)]);
        EXPECT_TRUE(strip->Panel(i)->PanelColor()->Equals(given[static_cast<size_t>(i)]));
    }
    // A colour changed through its panel is the strip's colour: the strip finds it by its new value.
    strip->Panel(1)->PanelColor()->SetColor(9, 9, 9);
    EXPECT_TRUE(strip->Contains(MakeColor(9, 9, 9)));
    EXPECT_FALSE(strip->Contains(MakeColor(2, 0, 0)));
    EXPECT_TRUE(strip->PanelIsInContainer(strip->Panel(2)));
    EXPECT_FALSE(strip->PanelIsInContainer(nullptr));
}

TEST_F(ColorHistoryStrip, AddingColoursAlreadyPresentAddsNothingButRebuildsSelectsAndMarks) {
    strip->AddColorPanels(Reds(2));
    MarkSaved();
    selections.clear();
    strip->AddColorPanels({MakeColor(2, 0, 0), MakeColor(1, 0, 0)});
    EXPECT_EQ(PanelReds(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(strip->IsDirty());
    EXPECT_TRUE(strip->Panel(1)->Selected());
    EXPECT_FALSE(strip->Panel(0)->Selected());
    ASSERT_EQ(std::ssize(selections), 1);
    EXPECT_EQ(selections[0], strip->Panel(1));
}

TEST_F(ColorHistoryStrip, AddColorPanelAddsEqualColoursAgainAndSelectsTheNewOne) {
    strip->AddColorPanel(MakeColor(5, 5, 5));
    selections.clear();
    strip->AddColorPanel(MakeColor(5, 5, 5));
    EXPECT_EQ(PanelReds(), (std::vector<int>{5, 5}));
    EXPECT_FALSE(strip->Panel(0)->Selected());
    EXPECT_TRUE(strip->Panel(1)->Selected());
    ASSERT_GE(std::ssize(selections), 1);
    EXPECT_EQ(selections.back(), strip->Panel(1));
    strip->AddColorPanel(nullptr);
    EXPECT_EQ(strip->PanelCount(), 2);
}

TEST_F(ColorHistoryStrip, BlackAndWhiteComeOnceWhiteFirst) {
    ASSERT_TRUE(Execute(strip, CommandIds::AddBlackAndWhite));
    ASSERT_TRUE(Execute(strip, CommandIds::AddBlackAndWhite));
    ASSERT_EQ(strip->PanelCount(), 2);
    EXPECT_EQ(strip->Panel(0)->PanelColor()->RGBColor(), 0xFFFFFF);
    EXPECT_EQ(strip->Panel(1)->PanelColor()->RGBColor(), 0);
    EXPECT_EQ(strip->Panel(0)->PanelColor()->ColorTexture()->Id(), 1);
}

TEST_F(ColorHistoryStrip, RemoveColorPanelTakesTheFirstEqualColour) {
    strip->AddColorPanels({MakeColor(1, 0, 0), MakeColor(2, 0, 0)});
    strip->AddColorPanel(MakeColor(1, 0, 0));
    strip->RemoveColorPanel(MakeColor(1, 0, 0));
    EXPECT_EQ(PanelReds(), (std::vector<int>{2, 1}));
    strip->RemoveColorPanel(MakeColor(7, 7, 7));
    EXPECT_EQ(PanelReds(), (std::vector<int>{2, 1}));
    EXPECT_TRUE(strip->IsDirty());
}

// Where a panel of the strip is dropped, in strip pixels, and the colours that follow. Panel i spans
// x = 8 + 48 i .. 48 + 48 i and y = 8 .. 58.
struct MoveCase {
    const char* name;
    QPoint at;
    std::vector<int> reds;
    int selected;  // the panel selected afterwards, -1 for none
    friend void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }
};

class ColorHistoryMove : public StripTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(ColorHistoryMove, DroppedPanelChangesPlacesWithThePanelUnderTheCursor) {
    const MoveCase& c = GetParam();
    strip->AddColorPanels(Reds(3));
    strip->UnselectAll();
    MarkSaved();
    ColorPanel* dragged = strip->Panel(0);
    selections.clear();
    QCursor::setPos(strip->mapToGlobal(c.at));
    strip->MoveColorPanel(dragged);
    EXPECT_EQ(PanelReds(), c.reds);
    EXPECT_TRUE(strip->IsDirty());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(strip->Panel(i)->Selected(), i == c.selected) << "panel " << i;
    if (c.selected >= 0) {
        ASSERT_GE(std::ssize(selections), 1);
        EXPECT_EQ(selections.back(), strip->Panel(c.selected));
    } else {
        EXPECT_EQ(std::ssize(selections), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, ColorHistoryMove,
                         ::testing::Values(MoveCase{"InsideThirdPanel", {120, 30}, {3, 2, 1}, 2},
                                           MoveCase{"OnSecondPanelsLeftEdge", {56, 30}, {2, 1, 3}, 1},
                                           MoveCase{"OnSecondPanelsRightEdge", {96, 30}, {2, 1, 3}, 1},
                                           MoveCase{"InTheMarginBetween", {100, 30}, {1, 2, 3}, -1},
                                           MoveCase{"OnTheTopEdge", {60, 8}, {1, 2, 3}, -1},
                                           MoveCase{"OnTheBottomEdge", {60, 58}, {1, 2, 3}, -1},
                                           MoveCase{"OnItself", {20, 30}, {1, 2, 3}, 0},
                                           MoveCase{"BeyondTheLastColour", {160, 30}, {1, 2, 3}, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorHistoryStrip, PanelsScrolledOutOfViewAreNoDropTargets) {
    strip->AddColorPanels(Reds(10));
    strip->AddColorPanel(MakeColor(11, 0, 0));
    // Panel 0 is hidden where panel 1 now stands.
    ASSERT_EQ(strip->Panel(0)->x(), strip->Panel(1)->x());
    QCursor::setPos(strip->mapToGlobal(QPoint(20, 30)));
    strip->MoveColorPanel(strip->Panel(5));
    EXPECT_EQ(strip->Panel(1)->PanelColor()->Red(), 6);
    EXPECT_EQ(strip->Panel(5)->PanelColor()->Red(), 2);
    EXPECT_EQ(strip->Panel(0)->PanelColor()->Red(), 1);
}

TEST_F(ColorHistoryStrip, PressingAPanelSelectsItAloneAndTellsTwice) {
    strip->AddColorPanels(Reds(3));
    selections.clear();
    ColorPanel* second = strip->Panel(1);
    Mouse(second, QEvent::MouseButtonPress, QPoint(4, 5), Qt::LeftButton);
    EXPECT_EQ(strip->SelectedPanel(), second);
    EXPECT_EQ((std::vector<bool>{strip->Panel(0)->Selected(), second->Selected(), strip->Panel(2)->Selected()}),
              (std::vector<bool>{false, true, false}));
    ASSERT_EQ(std::ssize(selections), 2);
    EXPECT_EQ(selections[0], second);
    EXPECT_EQ(selections[1], second);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].x, 4.0f);

    // Only a left release reaches the host; any release ends the selection of a press.
    Mouse(second, QEvent::MouseButtonRelease, QPoint(4, 5), Qt::LeftButton);
    EXPECT_EQ(strip->SelectedPanel(), nullptr);
    EXPECT_EQ(ups, 1);
    Mouse(second, QEvent::MouseButtonPress, QPoint(4, 5), Qt::MiddleButton);
    Mouse(second, QEvent::MouseButtonRelease, QPoint(4, 5), Qt::MiddleButton);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(strip->SelectedPanel(), nullptr);

    // A press on the strip itself unselects everything without a word.
    Mouse(second, QEvent::MouseButtonPress, QPoint(4, 5), Qt::LeftButton);
    const int heard = std::ssize(selections);
    Mouse(strip, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    EXPECT_EQ(strip->SelectedPanel(), nullptr);
    EXPECT_FALSE(second->Selected());
    EXPECT_EQ(std::ssize(selections), heard);
}

TEST_F(ColorHistoryStrip, PanelEventsReachTheHost) {
    strip->AddColorPanels(Reds(2));
    Mouse(strip->Panel(0), QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 2), strip->Panel(0)->mapToGlobal(QPoint(12, 2)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip->Panel(0), &move);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(drags, 1);
    ASSERT_TRUE(Execute(strip->Panel(0), CommandIds::AddAll));
    ASSERT_TRUE(Execute(strip, CommandIds::AddAll));
    EXPECT_EQ(keepAlls, 2);

    // A colour changed through the pressed panel's sliders is a new selection for the host; after the
    // release there is no pressed panel and nothing to tell.
    selections.clear();
    emit strip->Panel(0)->ColorChanged(strip->Panel(0)->PanelColor());
    ASSERT_EQ(selections, std::vector<ColorPanel*>{strip->Panel(0)});
    Mouse(strip->Panel(0), QEvent::MouseButtonRelease, QPoint(12, 2), Qt::LeftButton);
    emit strip->Panel(0)->ColorChanged(strip->Panel(0)->PanelColor());
    EXPECT_EQ(selections.size(), 1u);

    // Hiding the strip unselects every panel.
    ASSERT_TRUE(strip->Panel(1)->Selected() || strip->Panel(0)->Selected());
    strip->hide();
    EXPECT_FALSE(strip->Panel(0)->Selected());
    EXPECT_FALSE(strip->Panel(1)->Selected());
}

TEST_F(ColorHistoryStrip, DeletingTheSelectedPanelTellsNoneThenTheNewLast) {
    strip->AddColorPanels(Reds(3));
    MarkSaved();
    ASSERT_TRUE(strip->Panel(2)->Selected());
    selections.clear();
    ASSERT_TRUE(Execute(strip->Panel(2), CommandIds::DeleteColor));
    EXPECT_EQ(PanelReds(), (std::vector<int>{1, 2}));
    ASSERT_EQ(std::ssize(selections), 2);
    EXPECT_EQ(selections[0], nullptr);
    EXPECT_EQ(selections[1], strip->Panel(1));
    EXPECT_TRUE(strip->IsDirty()) << "a deleted colour is a change of the scheme";

    // An unselected panel goes quietly but for the rebuild's selection of the last.
    selections.clear();
    ASSERT_TRUE(Execute(strip->Panel(0), CommandIds::DeleteColor));
    EXPECT_EQ(PanelReds(), (std::vector<int>{2}));
    ASSERT_EQ(std::ssize(selections), 1);
    EXPECT_EQ(selections[0], strip->Panel(0));

    MarkSaved();
    ASSERT_TRUE(Execute(strip->Panel(0), CommandIds::DeleteColor));
    EXPECT_EQ(PanelReds(), (std::vector<int>{-1}));
    EXPECT_FALSE(strip->Panel(0)->isVisibleTo(strip));
    EXPECT_TRUE(strip->IsDirty()) << "so is deleting the last one";
}

TEST_F(ColorHistoryStrip, ClearingCommandsEmptyTheStripKeepNotesAndMarkIt) {
    strip->AddColorPanels(Reds(12));
    ScriptedModalDialog dialog;
    dialog.Then([](QDialog& d) {
        Type(d, QStringLiteral("kept"));
        ScriptedModalDialog::Click(d, QStringLiteral("&OK"));
    });
    ASSERT_TRUE(Execute(strip, CommandIds::Comments));
    MarkSaved();
    ASSERT_TRUE(Execute(strip, CommandIds::DeleteAllColors));
    EXPECT_EQ(strip->PanelCount(), 0);
    EXPECT_EQ(PanelReds(), (std::vector<int>{-1}));
    EXPECT_FALSE(ScrollBar()->isVisibleTo(strip));
    EXPECT_EQ(strip->Notes(), QStringLiteral("kept"));
    // The emptied strip still differs from the one saved, and its notes are still there to be saved.
    EXPECT_TRUE(strip->IsDirty());

    // A strip item's "D&elete All" does the same.
    strip->AddColorPanels(Reds(2));
    MarkSaved();
    ASSERT_TRUE(Execute(strip->Panel(1), CommandIds::DeleteAllColors));
    EXPECT_EQ(strip->PanelCount(), 0);
    EXPECT_TRUE(strip->IsDirty());

    strip->AddColorPanels(Reds(2));
    strip->Clear();
    EXPECT_EQ(strip->PanelCount(), 0);
    EXPECT_EQ(strip->Notes(), QString());
}

TEST_F(ColorHistoryStrip, SortingMarksTheStripOnlyWhenTheOrderChanged) {
    strip->AddColorPanels({MakeColor(200, 0, 0), MakeColor(10, 0, 0), MakeColor(0, 50, 0)});
    MarkSaved();
    ASSERT_TRUE(Execute(strip, CommandIds::SortColorsByRed));
    EXPECT_EQ(PanelReds(), (std::vector<int>{0, 10, 200}));
    EXPECT_TRUE(strip->IsDirty());
    MarkSaved();
    ASSERT_TRUE(Execute(strip->Panel(0), CommandIds::SortColorsByGreen));
    EXPECT_EQ(PanelReds(), (std::vector<int>{10, 200, 0}));
    EXPECT_TRUE(strip->IsDirty());
    MarkSaved();
    ASSERT_TRUE(Execute(strip->Panel(0), CommandIds::SortColorsByGreen));
    EXPECT_EQ(PanelReds(), (std::vector<int>{10, 200, 0}));
    EXPECT_FALSE(strip->IsDirty()) << "sorted already: nothing moved";

    // Only a panel's own command reaches an empty strip: the strip's popup sorts nothing without colours.
    strip->Clear();
    const int before = strip->LayoutPasses();
    Execute(strip, CommandIds::SortColorsByRGBSum);
    EXPECT_EQ(strip->LayoutPasses(), before);
    emit strip->Panel(0)->Sort(CommandIds::SortColorsByRGBSum - CommandIds::SortColorsByRGBSum);
    EXPECT_EQ(strip->LayoutPasses() - before, 2);
    EXPECT_FALSE(strip->IsDirty());
}

TEST_F(ColorHistoryStrip, NotesDialogCarriesTheStripNumberAndOnlyOKKeepsTheText) {
    strip->AddColorPanels(Reds(1));
    MarkSaved();
    strip->SetControlIndex(3);
    ScriptedModalDialog dialog;
    QString opened;
    // Cancel, then the close box, then OK on an edited text.
    dialog.Then([](QDialog& d) {
        Type(d, QStringLiteral("lost"));
        ScriptedModalDialog::Click(d, QStringLiteral("&Cancel"));
    });
    dialog.Then([](QDialog& d) {
        Type(d, QStringLiteral("lost too"));
        ScriptedModalDialog::CloseBox(d);
    });
    dialog.Then([](QDialog& d) {
        Type(d, QStringLiteral("one\ntwo"));
        ScriptedModalDialog::Click(d, QStringLiteral("&OK"));
    });
    dialog.Then([&opened](QDialog& d) {
        opened = d.findChild<QPlainTextEdit*>()->toPlainText();
        ScriptedModalDialog::Click(d, QStringLiteral("&Cancel"));
    });
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(Execute(strip, CommandIds::Comments));
        EXPECT_EQ(strip->Notes(), QString());
        EXPECT_FALSE(strip->IsDirty());
    }
    ASSERT_TRUE(Execute(strip->Panel(0), CommandIds::Comments));
    EXPECT_EQ(strip->Notes(), QStringLiteral("one\r\ntwo"));
    EXPECT_TRUE(strip->IsDirty());
    ASSERT_TRUE(Execute(strip, CommandIds::Comments));
    EXPECT_EQ(opened, QStringLiteral("one\ntwo"));
    EXPECT_EQ(dialog.Captions(), std::vector<QString>(4, QStringLiteral("Color Scheme Notes (#3)")));
}

TEST_F(ColorHistoryStrip, EmptyNotesConfirmedWithOKStillMarkTheStrip) {
    strip->AddColorPanels(Reds(1));
    MarkSaved();
    ScriptedModalDialog dialog({[](QDialog& d) { ScriptedModalDialog::Click(d, QStringLiteral("&OK")); }});
    ASSERT_TRUE(Execute(strip, CommandIds::Comments));
    EXPECT_EQ(strip->Notes(), QString());
    EXPECT_TRUE(strip->IsDirty());
}

TEST_F(ColorHistoryStrip, MissingPictureAsksTheUserAndOnlyYesLooksForOne) {
    strip->AddColorPanels(Reds(1));
    ColorPanel* panel = strip->Panel(0);
    std::vector<QString> asked;
    int answer = MessageBox::No;
    MessageBox::SetHandler([&](const MessageBox::Request& r) {
        asked.push_back(r.prompt + QStringLiteral("|") + QString::number(r.buttons) + QStringLiteral("|") + r.title);
        return answer;
    });
    ScriptedFileDialog files;  // cancels
    bool added = true;
    emit panel->RequestNewImage(QStringLiteral("Where is it?"), added);
    EXPECT_TRUE(added);
    EXPECT_TRUE(files.Requests().empty());
    answer = MessageBox::Yes;
    emit panel->RequestNewImage(QStringLiteral("Where is it?"), added);
    EXPECT_FALSE(added);
    EXPECT_EQ(files.Requests().size(), 1u);
    MessageBox::SetHandler({});
    EXPECT_EQ(asked, std::vector<QString>(2, QStringLiteral("Where is it?|36|") + App::Title()));
}

TEST_F(ColorHistoryStrip, CommandsArrivingWhilePanelsLoadAreDropped) {
    // The rebuild tells the host of its new selection before it ends; commands heard then stand for a user's
    // input let through by a render.
    bool ran = false;
    QObject* context = new QObject(strip);
    QObject::connect(strip, &ColorHistory::SelectedPanelChanged, context, [&](ColorPanel* panel) {
        if (ran || !panel)
            return;
        ran = true;
        Execute(strip, CommandIds::DeleteAllColors);
        Execute(panel, CommandIds::SortColorsByRed);
        Execute(panel, CommandIds::DeleteColor);
        Execute(panel, CommandIds::AddBlackAndWhite);
    });
    strip->AddColorPanels({MakeColor(9, 0, 0), MakeColor(3, 0, 0)});
    delete context;
    ASSERT_TRUE(ran);
    EXPECT_EQ(strip->PanelCount(), 2);
    EXPECT_EQ(strip->Panel(0)->PanelColor()->Red(), 9);
    // After the rebuild the same commands run.
    ASSERT_TRUE(Execute(strip, CommandIds::SortColorsByRed));
    EXPECT_EQ(PanelReds(), (std::vector<int>{3, 9}));
}

TEST_F(ColorHistoryStrip, ASelectionOfAnUnloadedPanelIsNone) {
    strip->AddColorPanels(Reds(3));
    Mouse(strip->Panel(2), QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    ASSERT_EQ(strip->SelectedPanel(), strip->Panel(2));
    strip->AddColorPanels(Reds(4));  // a rebuild unloads every panel but the first
    EXPECT_EQ(strip->SelectedPanel(), nullptr);
    EXPECT_EQ(strip->PanelCount(), 4);
}

TEST_F(ColorHistoryStrip, DisposeLeavesOneEmptyPanelAndNoShadows) {
    strip->AddColorPanels(Reds(4));
    strip->Dispose();
    EXPECT_EQ(strip->PanelCount(), 0);
    EXPECT_EQ(strip->Panel(1), nullptr);
    EXPECT_FALSE(strip->Panel(0)->HasColor());
    strip->HideShadows();
    strip->RefreshShadows(5);
}

}  // namespace

// A strip resized while one of its panels renders: every panel ends up drawn, and its file written, at the size it
// is shown at.
TEST_F(ColorHistoryStrip, AResizeDuringAPanelsRenderLeavesEveryPanelsFileAtItsShownSize) {
    ASSERT_GE(Globals::Textures.size(), 2u);
    std::vector<std::shared_ptr<Color>> colors;
    for (int k = 1; k <= 4; ++k) {
        // A pattern makes each panel's render run under the wait cursor, where timers fire.
        auto color = Factory::NewColor(Globals::TextureItem(2)->Clone(), 15410, false);
        color->SetColor(40 * k, 20, 10);
        colors.push_back(color);
    }
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(0);
    bool duringRender = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (int i = 0; strip->Panel(i); ++i) duringRender = duringRender || strip->Panel(i)->Rendering();
        strip->resize(strip->width(), strip->height() + 45);
    });
    timer.start();
    strip->AddColorPanels(colors);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    EXPECT_TRUE(duringRender);
    ASSERT_EQ(strip->PanelCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const ColorPanel& panel = *strip->Panel(i);
        EXPECT_FALSE(panel.Rendering());
        EXPECT_EQ(QImage(panel.PanelColor()->TemporaryImagePath()).size(), panel.size()) << "panel " << i;
    }
}
