#include "platform/WindowMessage.h"
#include "platform/WindowProcedure.h"
#include "platform/WindowProperties.h"
#include "platform/WindowRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Handles events until the condition holds or the time is up.
bool waitFor(const std::function<bool()>& condition, int milliseconds = 2000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

class CountingWidget : public QWidget {
public:
    int resizes = 0;
    int moves = 0;

protected:
    void resizeEvent(QResizeEvent*) override { ++resizes; }
    void moveEvent(QMoveEvent*) override { ++moves; }
};

// A procedure that records what reaches it and passes on what it is told to.
struct Recorder {
    std::vector<int32_t> messages;
    bool passOn = true;
    int32_t previous = 0;
    int32_t id = 0;

    void Install(int32_t hwnd) {
        id = WindowProcedure::Register([this](int32_t h, int32_t msg, int32_t w, int32_t l) {
            messages.push_back(msg);
            return passOn ? WindowProcedure::Call(previous, h, msg, w, l) : 0;
        });
        previous = WindowProcedure::Replace(hwnd, id);
    }
    int Count(int32_t msg) const { return static_cast<int>(std::count(messages.begin(), messages.end(), msg)); }
};

TEST(WindowRegistry, HandlesAreStableDistinctAndEndWithTheirWidget) {
    auto first = std::make_unique<QWidget>();
    QWidget second;
    const int32_t hwnd = WindowRegistry::Handle(first.get());
    EXPECT_NE(hwnd, 0);
    EXPECT_EQ(WindowRegistry::Handle(first.get()), hwnd);
    EXPECT_NE(WindowRegistry::Handle(&second), hwnd);
    EXPECT_EQ(WindowRegistry::Handle(nullptr), 0);
    EXPECT_TRUE(WindowRegistry::IsWindow(hwnd));
    EXPECT_EQ(WindowRegistry::Widget(hwnd), first.get());
    EXPECT_EQ(WindowRegistry::ProcessId(hwnd), QCoreApplication::applicationPid());

    first.reset();
    EXPECT_FALSE(WindowRegistry::IsWindow(hwnd));
    EXPECT_EQ(WindowRegistry::Widget(hwnd), nullptr);
    EXPECT_EQ(WindowRegistry::ProcessId(hwnd), 0);
    // A new widget never gets a dead widget's handle, even at the same address.
    auto third = std::make_unique<QWidget>();
    EXPECT_NE(WindowRegistry::Handle(third.get()), hwnd);
    EXPECT_FALSE(WindowRegistry::IsWindow(0));
}

TEST(WindowProperties, SetGetRemoveAndZeroRemoves) {
    QWidget widget;
    const int32_t hwnd = WindowRegistry::Handle(&widget);
    EXPECT_TRUE(WindowProperties::Set(hwnd, "C7", 3));
    EXPECT_TRUE(WindowProperties::Set(hwnd, "7#5C", -2));
    EXPECT_EQ(WindowProperties::Get(hwnd, "C7"), 3);
    EXPECT_EQ(WindowProperties::Get(hwnd, "7#5C"), -2);
    EXPECT_EQ(WindowProperties::Get(hwnd, "missing"), 0);
    EXPECT_EQ(WindowProperties::Names(hwnd), QStringList({"7#5C", "C7"}));

    EXPECT_TRUE(WindowProperties::Set(hwnd, "C7", 0));
    EXPECT_EQ(WindowProperties::Names(hwnd), QStringList({"7#5C"}));
    EXPECT_EQ(WindowProperties::Remove(hwnd, "7#5C"), -2);
    EXPECT_EQ(WindowProperties::Remove(hwnd, "7#5C"), 0);
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());
}

TEST(WindowProperties, BelongToALiveWindowAndGoWithIt) {
    auto widget = std::make_unique<QWidget>();
    const int32_t hwnd = WindowRegistry::Handle(widget.get());
    ASSERT_TRUE(WindowProperties::Set(hwnd, "kept", 9));
    widget.reset();
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());
    EXPECT_FALSE(WindowProperties::Set(hwnd, "kept", 9));
    EXPECT_FALSE(WindowProperties::Set(123456789, "x", 1));
}

TEST(WindowProperties, TheWriteGateRefusesValuesButNotRemovals) {
    QWidget widget;
    const int32_t hwnd = WindowRegistry::Handle(&widget);
    ASSERT_TRUE(WindowProperties::Set(hwnd, "a", 1));
    WindowProperties::SetWriteGate([](int32_t, const QString& name, int32_t) { return name != "a"; });
    EXPECT_FALSE(WindowProperties::Set(hwnd, "a", 2));
    EXPECT_EQ(WindowProperties::Get(hwnd, "a"), 1);
    EXPECT_TRUE(WindowProperties::Set(hwnd, "b", 2));
    EXPECT_TRUE(WindowProperties::Set(hwnd, "a", 0));
    WindowProperties::SetWriteGate({});
    EXPECT_EQ(WindowProperties::Names(hwnd), QStringList({"b"}));
}

TEST(WindowProcedure, ReplaceReturnsThePreviousAndRefusesWhatItCannotDo) {
    QWidget widget;
    const int32_t hwnd = WindowRegistry::Handle(&widget);
    EXPECT_EQ(WindowProcedure::Current(hwnd), WindowProcedure::DefaultProcedure());
    const int32_t a = WindowProcedure::Register([](int32_t, int32_t msg, int32_t, int32_t) { return msg + 1; });
    const int32_t b = WindowProcedure::Register([](int32_t, int32_t msg, int32_t, int32_t) { return msg + 2; });
    EXPECT_EQ(WindowProcedure::Replace(hwnd, a), WindowProcedure::DefaultProcedure());
    EXPECT_EQ(WindowProcedure::Replace(hwnd, b), a);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 40, 0, 0), 42);
    EXPECT_EQ(WindowProcedure::Call(a, hwnd, 40, 0, 0), 41);

    EXPECT_EQ(WindowProcedure::Replace(hwnd, 987654), 0) << "unknown procedure";
    EXPECT_EQ(WindowProcedure::Replace(123456789, a), 0) << "no window";
    WindowProcedure::SetReplaceGate([](int32_t, int32_t) { return false; });
    EXPECT_EQ(WindowProcedure::Replace(hwnd, a), 0) << "refused";
    WindowProcedure::SetReplaceGate({});
    EXPECT_EQ(WindowProcedure::Current(hwnd), b);
    EXPECT_EQ(WindowProcedure::Replace(hwnd, WindowProcedure::DefaultProcedure()), b);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 40, 0, 0), 0) << "Qt's own handling answers 0";
}

class WindowMessages : public ::testing::Test {
protected:
    void SetUp() override {
        WindowProcedure::SetMoveEndDelay(30);
        widget.setGeometry(100, 100, 200, 150);
        widget.show();
        waitFor([&] { return widget.isVisible(); });
        QCoreApplication::processEvents();
        hwnd = WindowRegistry::Handle(&widget);
        recorder.Install(hwnd);
    }
    void TearDown() override { WindowProcedure::SetMoveEndDelay(150); }

    Recorder recorder;  // outlives the widget, which tells it of its destruction
    CountingWidget widget;
    int32_t hwnd = 0;
};

TEST_F(WindowMessages, AResizeIsSizingThenSizeAndQtSeesItWhenPassedOn) {
    const int before = widget.resizes;
    widget.resize(220, 160);
    ASSERT_TRUE(waitFor([&] { return recorder.Count(WindowMessage::Size) == 1; }));
    ASSERT_GE(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0], WindowMessage::Sizing);
    EXPECT_EQ(recorder.messages[1], WindowMessage::Size);
    EXPECT_EQ(widget.resizes, before + 1);
}

TEST_F(WindowMessages, AProcedureThatDoesNotPassOnConsumesTheEvent) {
    recorder.passOn = false;
    const int resizes = widget.resizes;
    const int moves = widget.moves;
    widget.resize(230, 170);
    widget.move(140, 120);
    ASSERT_TRUE(waitFor([&] { return recorder.Count(WindowMessage::Moving) >= 1; }));
    ASSERT_TRUE(waitFor([&] { return recorder.Count(WindowMessage::Size) >= 1; }));
    EXPECT_EQ(widget.resizes, resizes);
    EXPECT_EQ(widget.moves, moves);
    EXPECT_EQ(widget.size(), QSize(230, 170)) << "the geometry itself still changes";
}

TEST_F(WindowMessages, MovesAndResizesEndWithOneExitSizeMoveOnceTheyPause) {
    widget.move(120, 110);
    widget.move(130, 115);
    widget.resize(210, 150);
    ASSERT_TRUE(waitFor([&] { return recorder.Count(WindowMessage::ExitSizeMove) == 1; }));
    EXPECT_GE(recorder.Count(WindowMessage::Moving), 1);
    EXPECT_EQ(recorder.messages.back(), WindowMessage::ExitSizeMove);
    // Nothing more until the window moves again.
    waitFor([&] { return recorder.Count(WindowMessage::ExitSizeMove) > 1; }, 150);
    EXPECT_EQ(recorder.Count(WindowMessage::ExitSizeMove), 1);
    widget.move(150, 130);
    ASSERT_TRUE(waitFor([&] { return recorder.Count(WindowMessage::ExitSizeMove) == 2; }));
}

TEST_F(WindowMessages, NothingIsTranslatedOnceTheDefaultProcedureIsBack) {
    WindowProcedure::Replace(hwnd, WindowProcedure::DefaultProcedure());
    const int resizes = widget.resizes;
    widget.resize(240, 180);
    waitFor([&] { return widget.resizes > resizes; });
    EXPECT_EQ(widget.resizes, resizes + 1);
    EXPECT_TRUE(recorder.messages.empty());

    // Hooked again, the widget keeps its one filter: each event is one message.
    WindowProcedure::Replace(hwnd, recorder.id);
    widget.resize(250, 190);
    ASSERT_TRUE(waitFor([&] { return widget.resizes > resizes + 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.Count(WindowMessage::Size), 1);
}

TEST(WindowProcedureDestroy, AHookedWindowHearsDestroyWhileItsHandleIsStillValid) {
    auto widget = std::make_unique<QWidget>();
    const int32_t hwnd = WindowRegistry::Handle(widget.get());
    ASSERT_TRUE(WindowProperties::Set(hwnd, "p", 1));
    std::vector<int32_t> heard;
    bool validWhileHeard = false;
    int32_t propertyWhileHeard = 0;
    const int32_t id = WindowProcedure::Register([&](int32_t h, int32_t msg, int32_t, int32_t) {
        heard.push_back(msg);
        validWhileHeard = WindowRegistry::IsWindow(h);
        propertyWhileHeard = WindowProperties::Get(h, "p");
        return 0;
    });
    WindowProcedure::Replace(hwnd, id);
    widget.reset();
    EXPECT_EQ(heard, std::vector<int32_t>({WindowMessage::Destroy}));
    EXPECT_TRUE(validWhileHeard);
    EXPECT_EQ(propertyWhileHeard, 1);
    EXPECT_FALSE(WindowRegistry::IsWindow(hwnd));
    EXPECT_EQ(WindowProcedure::Current(hwnd), 0);
}

}  // namespace
