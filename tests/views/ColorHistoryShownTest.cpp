#include "StripFixture.h"

#include "services/CommandIds.h"
#include "support/ScriptedPopup.h"

#include <QCoreApplication>
#include <QCursor>

#include <functional>
#include <string>

namespace {

// After each change of the list the strip is checked as a user meets it: which colours are shown where, which one
// is raised, and which colour a right-click at each place finds.
struct ShownCase {
    const char* name;
    std::vector<std::shared_ptr<Color>> (*colors)();
    std::function<void(StripTest&)> change;
    std::vector<int> reds;   // the panels' colours afterwards, -1 for an empty panel
    std::vector<int> shown;  // the panels shown
    int raised;              // the one selected panel, -1 for none
    friend void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<std::shared_ptr<Color>> ThreeReds() { return StripTest::Reds(3); }
std::vector<std::shared_ptr<Color>> ThreeRedsDescending() {
    return {StripTest::MakeColor(3, 0, 0), StripTest::MakeColor(2, 0, 0), StripTest::MakeColor(1, 0, 0)};
}
std::vector<std::shared_ptr<Color>> OneRed() { return StripTest::Reds(1); }
std::vector<std::shared_ptr<Color>> ElevenReds() { return StripTest::Reds(11); }

std::function<void(StripTest&)> PanelCommand(int panel, int id) {
    return [panel, id](StripTest& t) { ASSERT_TRUE(StripTest::Execute(t.strip->Panel(panel), id)); };
}

std::function<void(StripTest&)> StripCommand(int id) {
    return [id](StripTest& t) { ASSERT_TRUE(StripTest::Execute(t.strip, id)); };
}

class ColorHistoryShown : public StripTest, public ::testing::WithParamInterface<ShownCase> {
protected:
    // The colour a right-click at this strip point finds, -1 when the strip's own popup opens instead.
    int RightClickAt(QPoint at) {
        QWidget* target = strip->childAt(at);
        if (!target)
            target = strip;
        const QPoint local = target->mapFrom(strip, at);
        ScriptedPopup popup({0});
        Mouse(target, QEvent::MouseButtonPress, local, Qt::RightButton);
        Mouse(target, QEvent::MouseButtonRelease, local, Qt::RightButton);
        if (popup.Shown().size() != 1)
            return -2;
        const QString first = popup.Shown()[0].front().text;
        const QString prefix = QStringLiteral("Copy RGB: (");
        return first.startsWith(prefix) ? first.mid(prefix.size()).section(QLatin1Char(','), 0, 0).toInt() : -1;
    }
};

TEST_P(ColorHistoryShown, StripShowsExactlyItsColoursWhereTheLayoutPutsThem) {
    const ShownCase& c = GetParam();
    strip->AddColorPanels(c.colors());
    c.change(*this);
    // What a user sees comes after the event loop ran, and unloaded panels are gone by then.
    QCoreApplication::processEvents();

    EXPECT_EQ(PanelReds(), c.reds);
    EXPECT_EQ(ShownPanels(), c.shown);
    for (int i = 0; strip->Panel(i); ++i) {
        const ColorPanel& panel = *strip->Panel(i);
        EXPECT_EQ(panel.Selected(), i == c.raised) << "panel " << i;
        EXPECT_EQ(panel.Style(), i == c.raised ? PanelStyle::Raised : PanelStyle::Plain) << "panel " << i;
    }
    // Without a scroll bar slot k of the row holds panel k; a right-click in a slot finds its colour, or the strip.
    ASSERT_FALSE(ScrollBar()->isVisibleTo(strip));
    for (int slot = 0; slot < 10; ++slot) {
        const QRect place(Margin + slot * (PanelWidth + Margin), Margin, PanelWidth, 50);
        const bool holds = std::find(c.shown.begin(), c.shown.end(), slot) != c.shown.end();
        if (holds) {
            EXPECT_EQ(strip->Panel(slot)->geometry(), place) << "slot " << slot;
        }
        EXPECT_EQ(RightClickAt(place.center()), holds ? c.reds[static_cast<size_t>(slot)] : -1) << "slot " << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ColorHistoryShown,
    ::testing::Values(
        ShownCase{"DeleteFirst", ThreeReds, PanelCommand(0, CommandIds::DeleteColor), {2, 3}, {0, 1}, 1},
        ShownCase{"DeleteMiddle", ThreeReds, PanelCommand(1, CommandIds::DeleteColor), {1, 3}, {0, 1}, 1},
        ShownCase{"DeleteLast", ThreeReds, PanelCommand(2, CommandIds::DeleteColor), {1, 2}, {0, 1}, 1},
        ShownCase{"DeleteTheOnlyColour", OneRed, PanelCommand(0, CommandIds::DeleteColor), {-1}, {}, -1},
        ShownCase{"DeleteFirstOfElevenScrolledToTheStart",
                  ElevenReds,
                  [](StripTest& t) {
                      t.ScrollBar()->setValue(0);
                      PanelCommand(0, CommandIds::DeleteColor)(t);
                  },
                  {2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
                  {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                  9},
        ShownCase{"DeleteFirstTwiceInARow",
                  ThreeReds,
                  [](StripTest& t) {
                      PanelCommand(0, CommandIds::DeleteColor)(t);
                      PanelCommand(0, CommandIds::DeleteColor)(t);
                  },
                  {3},
                  {0},
                  0},
        ShownCase{"SortFromTheFirstPanel",
                  ThreeRedsDescending,
                  PanelCommand(0, CommandIds::SortColorsByRed),
                  {1, 2, 3},
                  {0, 1, 2},
                  2},
        ShownCase{"SortFromTheStrip",
                  ThreeRedsDescending,
                  StripCommand(CommandIds::SortColorsByRed),
                  {1, 2, 3},
                  {0, 1, 2},
                  2},
        ShownCase{"DropFirstOnLast",
                  ThreeReds,
                  [](StripTest& t) {
                      t.strip->UnselectAll();
                      QCursor::setPos(t.strip->mapToGlobal(QPoint(120, 30)));
                      t.strip->MoveColorPanel(t.strip->Panel(0));
                  },
                  {3, 2, 1},
                  {0, 1, 2},
                  2},
        ShownCase{"ClearFromTheFirstPanel", ThreeReds, PanelCommand(0, CommandIds::DeleteAllColors), {-1}, {}, -1},
        ShownCase{"ClearFromTheStrip", ThreeReds, StripCommand(CommandIds::DeleteAllColors), {-1}, {}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
