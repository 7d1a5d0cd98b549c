#include "platform/RuntimeError.h"
#include "platform/WindowMessage.h"
#include "platform/WindowProcedure.h"
#include "platform/WindowProperties.h"
#include "platform/WindowRegistry.h"
#include "services/ISubclass.h"
#include "services/MSubclass.h"
#include "services/Subclassing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QWidget>

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class Handler : public ISubclass {
public:
    Handler(Log& log, std::string name, MsgResponseKind response = MsgResponseKind::NoDefault, int32_t result = 0)
        : m_log(log), m_name(std::move(name)), m_response(response), m_result(result) {}

    MsgResponseKind MsgResponse() const override { return m_response; }
    void SetMsgResponse(MsgResponseKind response) override { m_response = response; }
    int32_t WindowProc(int32_t hwnd, int32_t iMsg, int32_t, int32_t) override {
        m_log.push_back(m_name);
        seenCurrentMessage = MSubclass::CurrentMessage();
        if (onMessage)
            onMessage(hwnd, iMsg);
        return m_result;
    }

    int32_t seenCurrentMessage = 0;
    std::function<void(int32_t, int32_t)> onMessage;

private:
    Log& m_log;
    std::string m_name;
    MsgResponseKind m_response;
    int32_t m_result;
};

QMap<QString, int32_t> propertiesOf(int32_t hwnd) {
    QMap<QString, int32_t> all;
    for (const QString& name : WindowProperties::Names(hwnd)) all.insert(name, WindowProperties::Get(hwnd, name));
    return all;
}

// A window whose own procedure logs "previous" and answers 77, so tests see when and how it runs.
class HookedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        hwnd = WindowRegistry::Handle(window.get());
        previous = WindowProcedure::Register([this](int32_t w, int32_t msg, int32_t, int32_t) {
            log.push_back("previous");
            previousMessages.push_back(msg);
            if (msg == WindowMessage::Destroy) {
                procedureAtDestroy = WindowProcedure::Current(w);
                propertiesAtDestroy = WindowProperties::Names(w);
            }
            return 77;
        });
        WindowProcedure::Replace(hwnd, previous);
    }
    void TearDown() override {
        WindowProperties::SetWriteGate({});
        WindowProcedure::SetReplaceGate({});
        window.reset();
    }
    QString h() const { return QString::number(hwnd); }

    Log log;
    std::vector<int32_t> previousMessages;
    int32_t procedureAtDestroy = 0;
    QStringList propertiesAtDestroy{"unset"};
    std::unique_ptr<QWidget> window;
    int32_t hwnd = 0;
    int32_t previous = 0;
};

TEST_F(HookedWindow, EveryPieceOfBookkeepingIsAWindowPropertyNamedAfterTheWindow) {
    Handler first(log, "first"), second(log, "second");
    MSubclass::HookMessage(first, hwnd, 5);
    MSubclass::HookMessage(second, hwnd, 5);
    MSubclass::HookMessage(first, hwnd, 534);

    const QMap<QString, int32_t> expected{
        {"C" + h(), 3},
        {h(), previous},
        {h() + "#5C", 2},
        {h() + "#5#1", first.SubclassId()},
        {h() + "#5#2", second.SubclassId()},
        {h() + "#534C", 1},
        {h() + "#534#1", first.SubclassId()},
    };
    EXPECT_EQ(propertiesOf(hwnd), expected);
    EXPECT_EQ(MSubclass::HookCount(hwnd), 3);
    EXPECT_EQ(MSubclass::SavedWindowProc(hwnd), previous);
    EXPECT_EQ(MSubclass::HandlerCount(hwnd, 5), 2);
    EXPECT_EQ(MSubclass::HandlerPtr(hwnd, 5, 2), second.SubclassId());
    EXPECT_NE(WindowProcedure::Current(hwnd), previous);
    EXPECT_TRUE(MSubclass::LastWriteSucceeded());
}

TEST_F(HookedWindow, TheSameHandlerTwiceRaisesAndStaysAttachedOnce) {
    Handler handler(log, "handler");
    MSubclass::HookMessage(handler, hwnd, 5);
    const auto before = propertiesOf(hwnd);
    try {
        MSubclass::HookMessage(handler, hwnd, 5);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), -2147208422);
        EXPECT_EQ(e.Number(), RuntimeError::ObjectErrorBase + 13082);
        EXPECT_EQ(e.Source(), QStringLiteral("tindral.WindowProc"));
        EXPECT_EQ(e.Description(), QStringLiteral("Message already handled by another class"));
    }
    EXPECT_EQ(propertiesOf(hwnd), before);
    WindowProcedure::Send(hwnd, 5, 0, 0);
    EXPECT_EQ(log, Log({"handler"}));
}

struct ResponseCase {
    const char* name;
    MsgResponseKind response;
    Log order;
    int32_t result;
};
std::ostream& operator<<(std::ostream& os, const ResponseCase& c) { return os << c.name; }

class ResponseOfOneHandler : public HookedWindow, public ::testing::WithParamInterface<ResponseCase> {};

TEST_P(ResponseOfOneHandler, DecidesWhetherAndWhenThePreviousProcedureRuns) {
    const ResponseCase& c = GetParam();
    Handler handler(log, "handler", c.response, 5);
    MSubclass::HookMessage(handler, hwnd, 534);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 534, 0, 0), c.result);
    EXPECT_EQ(log, c.order);
    EXPECT_EQ(handler.seenCurrentMessage, 534);
    EXPECT_EQ(MSubclass::CurrentMessage(), 534) << "never cleared";
}

INSTANTIATE_TEST_SUITE_P(
    Responses, ResponseOfOneHandler,
    ::testing::Values(
        ResponseCase{"NoDefaultKeepsItFromThePrevious", MsgResponseKind::NoDefault, {"handler"}, 5},
        ResponseCase{
            "DefaultAfterReturnsThePreviousResult", MsgResponseKind::DefaultAfter, {"handler", "previous"}, 77},
        ResponseCase{
            "DefaultBeforeReturnsTheHandlerResult", MsgResponseKind::DefaultBefore, {"previous", "handler"}, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HookedWindow, TheLaterHandlerRunsFirstWhileTheFirstOnesResponseDecides) {
    Handler first(log, "first", MsgResponseKind::DefaultBefore, 1);
    Handler second(log, "second", MsgResponseKind::NoDefault, 2);
    MSubclass::HookMessage(first, hwnd, 5);
    MSubclass::HookMessage(second, hwnd, 5);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 5, 0, 0), 1) << "the last handler called gives the result";
    EXPECT_EQ(log, Log({"second", "previous", "first"}));

    log.clear();
    first.SetMsgResponse(MsgResponseKind::NoDefault);
    second.SetMsgResponse(MsgResponseKind::DefaultAfter);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 5, 0, 0), 1);
    EXPECT_EQ(log, Log({"second", "first"})) << "a later handler's response is never asked";

    log.clear();
    first.SetMsgResponse(MsgResponseKind::DefaultAfter);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 5, 0, 0), 77);
    EXPECT_EQ(log, Log({"second", "first", "previous"}));
}

TEST_F(HookedWindow, MessagesWithoutHandlersGoToThePreviousProcedure) {
    Handler handler(log, "handler");
    MSubclass::HookMessage(handler, hwnd, 5);
    EXPECT_EQ(WindowProcedure::Send(hwnd, 15, 3, 4), 77);
    EXPECT_EQ(log, Log({"previous"}));
    EXPECT_EQ(previousMessages, std::vector<int32_t>({15}));
}

TEST_F(HookedWindow, DetachingTheMiddleOfThreeKeepsTheOthersInOrder) {
    Handler a(log, "a"), b(log, "b"), c(log, "c");
    for (Handler* handler : {&a, &b, &c}) MSubclass::HookMessage(*handler, hwnd, 5);
    MSubclass::UnhookMessage(b, hwnd, 5);
    EXPECT_EQ(MSubclass::HandlerCount(hwnd, 5), 2);
    EXPECT_EQ(MSubclass::HandlerPtr(hwnd, 5, 1), a.SubclassId());
    EXPECT_EQ(MSubclass::HandlerPtr(hwnd, 5, 2), c.SubclassId());
    EXPECT_FALSE(WindowProperties::Names(hwnd).contains(h() + "#5#3"));
    EXPECT_EQ(MSubclass::HookCount(hwnd), 2);
    WindowProcedure::Send(hwnd, 5, 0, 0);
    EXPECT_EQ(log, Log({"c", "a"}));
}

TEST_F(HookedWindow, TheLastDetachRestoresThePreviousProcedureAndLeavesNoProperty) {
    Handler a(log, "a"), b(log, "b");
    MSubclass::HookMessage(a, hwnd, 5);
    MSubclass::HookMessage(b, hwnd, 534);
    MSubclass::HookMessage(a, hwnd, 534);
    MSubclass::UnhookMessage(a, hwnd, 534);
    MSubclass::UnhookMessage(b, hwnd, 534);
    EXPECT_NE(WindowProcedure::Current(hwnd), previous) << "one attachment is left";
    MSubclass::UnhookMessage(a, hwnd, 5);
    EXPECT_EQ(WindowProcedure::Current(hwnd), previous);
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty()) << WindowProperties::Names(hwnd).join(' ').toStdString();
    EXPECT_EQ(WindowProcedure::Send(hwnd, 5, 0, 0), 77);
    EXPECT_EQ(log, Log({"previous"}));
}

TEST_F(HookedWindow, UnhookingWhatIsNotAttachedIsSilent) {
    Handler attached(log, "attached"), stranger(log, "stranger");
    MSubclass::HookMessage(attached, hwnd, 5);
    const auto before = propertiesOf(hwnd);
    MSubclass::UnhookMessage(stranger, hwnd, 5);
    MSubclass::UnhookMessage(attached, hwnd, 534);
    MSubclass::UnhookMessage(attached, 123456789, 5);
    EXPECT_EQ(propertiesOf(hwnd), before);
}

TEST_F(HookedWindow, DestroyedWithoutAHandlerOnDestroyTheWindowGetsItsProcedureBackFirst) {
    Handler handler(log, "handler");
    MSubclass::HookMessage(handler, hwnd, 534);
    window.reset();
    EXPECT_EQ(previousMessages, std::vector<int32_t>({WindowMessage::Destroy}));
    EXPECT_EQ(procedureAtDestroy, previous);
    EXPECT_EQ(propertiesAtDestroy, QStringList({h() + "#534#1", h() + "#534C"}))
        << "only the handler list of the other message stays";
    EXPECT_FALSE(WindowRegistry::IsWindow(hwnd));
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());
}

TEST_F(HookedWindow, AHandlerOnDestroyDetachesItselfAndNothingRemains) {
    const std::vector<int32_t> hooked{WindowMessage::Destroy, WindowMessage::Moving, WindowMessage::ExitSizeMove};
    Handler handler(log, "handler");
    QStringList left{"unset"};
    int32_t procedure = 0;
    handler.onMessage = [&](int32_t w, int32_t msg) {
        if (msg != WindowMessage::Destroy)
            return;
        for (int32_t m : hooked) MSubclass::UnhookMessage(handler, w, m);
        left = WindowProperties::Names(w);
        procedure = WindowProcedure::Current(w);
    };
    for (int32_t m : hooked) MSubclass::HookMessage(handler, hwnd, m);
    window.reset();
    EXPECT_EQ(log, Log({"handler"})) << "the window's own procedure does not see it";
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    EXPECT_EQ(procedure, previous);
}

TEST_F(HookedWindow, ANestedMessageLeavesCurrentMessageAtTheInnermost) {
    Handler outer(log, "outer", MsgResponseKind::NoDefault, 1), inner(log, "inner", MsgResponseKind::NoDefault, 2);
    int32_t afterNested = 0;
    outer.onMessage = [&](int32_t w, int32_t) {
        EXPECT_EQ(WindowProcedure::Send(w, WindowMessage::Moving, 0, 0), 2);
        afterNested = MSubclass::CurrentMessage();
    };
    MSubclass::HookMessage(outer, hwnd, WindowMessage::Size);
    MSubclass::HookMessage(inner, hwnd, WindowMessage::Moving);
    EXPECT_EQ(WindowProcedure::Send(hwnd, WindowMessage::Size, 0, 0), 1);
    EXPECT_EQ(log, Log({"outer", "inner"}));
    EXPECT_EQ(afterNested, WindowMessage::Moving);
    EXPECT_EQ(MSubclass::CurrentMessage(), WindowMessage::Moving);
}

TEST_F(HookedWindow, AReleasedHandlerIsSkippedAndTheWindowKeepsItsOwnHandling) {
    auto gone = std::make_unique<Handler>(log, "gone", MsgResponseKind::NoDefault, 9);
    MSubclass::HookMessage(*gone, hwnd, 5);
    gone.reset();
    EXPECT_EQ(WindowProcedure::Send(hwnd, 5, 0, 0), 77);
    EXPECT_EQ(log, Log({"previous"}));
}

TEST_F(HookedWindow, UnhookAllRestoresTheProcedureAndALaterHookStillWorks) {
    Handler handler(log, "handler");
    MSubclass::HookMessage(handler, hwnd, 5);
    MSubclass::UnhookAll(hwnd);
    EXPECT_EQ(WindowProcedure::Current(hwnd), previous);
    EXPECT_EQ(propertiesOf(hwnd), (QMap<QString, int32_t>{{h() + "#5C", 1}, {h() + "#5#1", handler.SubclassId()}}));
    // Detaching what UnhookAll left must not count the window below 0, or the next first hook would not
    // put the dispatcher in.
    MSubclass::UnhookMessage(handler, hwnd, 5);
    EXPECT_EQ(MSubclass::HookCount(hwnd), 0);
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());
    MSubclass::HookMessage(handler, hwnd, 5);
    WindowProcedure::Send(hwnd, 5, 0, 0);
    EXPECT_EQ(log, Log({"handler"}));
}

TEST_F(HookedWindow, InvalidAndForeignWindowsAreRefused) {
    Handler handler(log, "handler");
    auto other = std::make_unique<QWidget>();
    const int32_t dead = WindowRegistry::Handle(other.get());
    EXPECT_TRUE(MSubclass::IsOwnProcessWindow(dead));
    other.reset();
    EXPECT_FALSE(MSubclass::IsOwnProcessWindow(dead));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { MSubclass::HookMessage(handler, dead, 5); }), -2147208421);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { MSubclass::HookMessage(handler, 0, 5); }), -2147208421);
}

// Which write of HookMessage the property store refuses, and whether the window was hooked before.
struct RefusalCase {
    const char* name;
    bool alreadyHooked;
    std::function<QString(int32_t hwnd)> refused;
};
std::ostream& operator<<(std::ostream& os, const RefusalCase& c) { return os << c.name; }

class RefusedWrite : public HookedWindow, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedWrite, RaisesFiveAndLeavesEverythingAsItWas) {
    const RefusalCase& c = GetParam();
    Handler earlier(log, "earlier"), handler(log, "handler");
    if (c.alreadyHooked) {
        MSubclass::HookMessage(earlier, hwnd, 5);
        MSubclass::HookMessage(earlier, hwnd, 534);
    }
    const auto before = propertiesOf(hwnd);
    const int32_t procedure = WindowProcedure::Current(hwnd);
    const QString refused = c.refused(hwnd);
    WindowProperties::SetWriteGate([&](int32_t, const QString& name, int32_t) { return name != refused; });
    try {
        MSubclass::HookMessage(handler, hwnd, 5);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::InvalidProcedureCall);
        EXPECT_EQ(e.Description(), QStringLiteral("Invalid procedure call or argument"));
    }
    WindowProperties::SetWriteGate({});
    EXPECT_EQ(propertiesOf(hwnd), before);
    EXPECT_EQ(WindowProcedure::Current(hwnd), procedure);
    log.clear();
    WindowProcedure::Send(hwnd, 5, 0, 0);
    EXPECT_EQ(log, c.alreadyHooked ? Log({"earlier"}) : Log({"previous"}));
}

const auto handlerCount = [](int32_t w) { return QString::number(w) + "#5C"; };
const auto identity = [](int32_t w) {
    return QString::number(w) + "#5#" + QString::number(MSubclass::HandlerCount(w, 5) + 1);
};
const auto savedProc = [](int32_t w) { return QString::number(w); };
const auto hookCount = [](int32_t w) { return "C" + QString::number(w); };

INSTANTIATE_TEST_SUITE_P(Writes, RefusedWrite,
                         ::testing::Values(RefusalCase{"HandlerCountOfAFreshWindow", false, handlerCount},
                                           RefusalCase{"IdentityOfAFreshWindow", false, identity},
                                           RefusalCase{"SavedProcedureOfAFreshWindow", false, savedProc},
                                           RefusalCase{"HookCountOfAFreshWindow", false, hookCount},
                                           RefusalCase{"HandlerCountOfAHookedWindow", true, handlerCount},
                                           RefusalCase{"IdentityOfAHookedWindow", true, identity},
                                           RefusalCase{"HookCountOfAHookedWindow", true, hookCount}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HookedWindow, ARefusedReplacementRaises13081AndLeavesNothing) {
    Handler handler(log, "handler");
    WindowProcedure::SetReplaceGate([](int32_t, int32_t) { return false; });
    try {
        MSubclass::HookMessage(handler, hwnd, 5);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), -2147208423);
        EXPECT_EQ(e.Description(), QStringLiteral("Can't subclass window"));
    }
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());
    EXPECT_EQ(WindowProcedure::Current(hwnd), previous);
}

struct ErrorCase {
    const char* name;
    int32_t n;
    int32_t number;
    const char* source;
    const char* description;
};
std::ostream& operator<<(std::ostream& os, const ErrorCase& c) { return os << c.name; }

class SubclassError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SubclassError, CarriesNumberSourceAndDescription) {
    const ErrorCase& c = GetParam();
    try {
        MSubclass::RaiseSubclassError(c.n);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(e.Source(), QString::fromUtf8(c.source));
        EXPECT_EQ(e.Description(), QString::fromUtf8(c.description));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, SubclassError,
    ::testing::Values(ErrorCase{"RuntimeFive", 5, 5, "", "Invalid procedure call or argument"},
                      ErrorCase{"CantSubclass", 13081, -2147208423, "tindral.WindowProc", "Can't subclass window"},
                      ErrorCase{"AlreadyHandled", 13082, -2147208422, "tindral.WindowProc",
                                "Message already handled by another class"},
                      ErrorCase{"InvalidWindow", 13083, -2147208421, "tindral.WindowProc", "Invalid window"},
                      ErrorCase{"ExternalWindow", 13084, -2147208420, "tindral.WindowProc",
                                "Can't modify external window"},
                      ErrorCase{"UnlistedObjectError", 13090, -2147208414, "tindral.WindowProc", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The main window's use: its own moves reach a handler that consumes them, then the move's end.
TEST(HookedTopLevelWindow, MovesReachTheHandlerAndEndOnceTheyPause) {
    Log log;
    Handler handler(log, "handler");
    std::vector<int32_t> heard;
    handler.onMessage = [&](int32_t, int32_t msg) { heard.push_back(msg); };
    QWidget window;
    window.setGeometry(40, 40, 200, 120);
    window.show();
    QCoreApplication::processEvents();
    const int32_t hwnd = WindowRegistry::Handle(&window);
    WindowProcedure::SetMoveEndDelay(20);
    for (int32_t m : {WindowMessage::Destroy, WindowMessage::Moving, WindowMessage::ExitSizeMove})
        MSubclass::HookMessage(handler, hwnd, m);
    window.move(80, 60);
    window.move(90, 70);
    QElapsedTimer timer;
    timer.start();
    while (std::count(heard.begin(), heard.end(), WindowMessage::ExitSizeMove) == 0 && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    WindowProcedure::SetMoveEndDelay(150);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), WindowMessage::Moving);
    EXPECT_EQ(heard.back(), WindowMessage::ExitSizeMove);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), WindowMessage::ExitSizeMove), 1);
    for (int32_t m : {WindowMessage::Destroy, WindowMessage::Moving, WindowMessage::ExitSizeMove})
        MSubclass::UnhookMessage(handler, hwnd, m);
    EXPECT_EQ(WindowProcedure::Current(hwnd), WindowProcedure::DefaultProcedure());
}

TEST(ForwardMessage, CallsTheTargetWithZeroParametersAndIgnoresNoTarget) {
    Log log;
    Handler target(log, "target", MsgResponseKind::NoDefault, 99);
    int32_t seenHwnd = 0, seenMsg = 0;
    target.onMessage = [&](int32_t w, int32_t m) { seenHwnd = w, seenMsg = m; };
    Subclassing::ForwardMessage(4321, 562, &target);
    EXPECT_EQ(log, Log({"target"}));
    EXPECT_EQ(seenHwnd, 4321);
    EXPECT_EQ(seenMsg, 562);
    Subclassing::ForwardMessage(4321, 5, nullptr);
    EXPECT_EQ(log.size(), 1u);
}

}  // namespace
