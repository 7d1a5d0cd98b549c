#include "support/MainWindowFixture.h"

#include "app/frmMain.h"
#include "model/Globals.h"
#include "platform/WindowMessage.h"
#include "platform/WindowProcedure.h"
#include "platform/WindowProperties.h"
#include "platform/WindowRegistry.h"
#include "services/CommandIds.h"
#include "services/DropShadowOverlay.h"
#include "services/MSubclass.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

constexpr int32_t Hooked[] = {WindowMessage::Destroy, WindowMessage::Moving, WindowMessage::ExitSizeMove};

bool byPlace(const QRect& a, const QRect& b) {
    return std::make_tuple(a.top(), a.left(), a.width()) < std::make_tuple(b.top(), b.left(), b.width());
}

std::vector<QRect> shownShadows(const frmMain& window) {
    std::vector<QRect> shown;
    for (const DropShadowOverlay* overlay : window.findChildren<DropShadowOverlay*>())
        if (!overlay->isHidden())
            shown.push_back(overlay->geometry());
    std::sort(shown.begin(), shown.end(), byPlace);
    return shown;
}

// The two 5-pixel shadows right beside a view, in the window's coordinates.
std::vector<QRect> shadowsBeside(const frmMain& window, const QWidget& view) {
    const QRect r(view.mapTo(&window, QPoint(0, 0)), view.size());
    return {QRect(r.left() + r.width(), r.top() + 5, 5, r.height()),
            QRect(r.left() + 5, r.top() + r.height(), r.width(), 5)};
}

std::vector<const QWidget*> shownViews(const frmMain& window) {
    std::vector<const QWidget*> views;
    for (const auto& proofer : window.cpList)
        if (!proofer->isHidden())
            views.push_back(proofer.get());
    for (const auto& strip : window.history)
        if (!strip->isHidden())
            views.push_back(strip.get());
    if (!window.ctlStage->isHidden())
        views.push_back(window.ctlStage.get());
    if (!window.ctlMatch->isHidden())
        views.push_back(window.ctlMatch.get());
    return views;
}

bool hooked(int32_t hwnd) {
    return WindowProcedure::Current(hwnd) != WindowProcedure::DefaultProcedure() || MSubclass::HookCount(hwnd) != 0;
}

using frmMainHooks = MainWindowFixture;

TEST_F(frmMainHooks, LoadHooksDestroyMovingAndMoveEndOnceOnTheWindowsOwnHandle) {
    const int32_t hwnd = WindowRegistry::Handle(window);
    EXPECT_EQ(window->SubclassedHwnd(), hwnd);
    for (const int32_t msg : Hooked) {
        EXPECT_EQ(MSubclass::HandlerCount(hwnd, msg), 1) << msg;
        EXPECT_EQ(MSubclass::HandlerPtr(hwnd, msg, 1), window->SubclassId()) << msg;
    }
    EXPECT_EQ(MSubclass::HookCount(hwnd), 3);

    // Hooking again first takes the earlier hooks off, so nothing is attached twice.
    window->StartSubclassing();
    for (const int32_t msg : Hooked) EXPECT_EQ(MSubclass::HandlerCount(hwnd, msg), 1) << msg;
    EXPECT_EQ(MSubclass::HookCount(hwnd), 3);
    EXPECT_EQ(window->MsgResponse(), MsgResponseKind::NoDefault);
    window->SetMsgResponse(MsgResponseKind::DefaultAfter);
    EXPECT_EQ(window->MsgResponse(), MsgResponseKind::NoDefault);
}

struct WorkspaceCase {
    const char* name;
    int32_t tab;
};

class frmMainShadowHooks : public MainWindowFixture, public ::testing::WithParamInterface<WorkspaceCase> {};

TEST_P(frmMainShadowHooks, MovingHidesEveryShownShadowAndMoveEndPutsThemBackBesideTheirViews) {
    // As the ribbon's tab selection does.
    window->ShowWorkspace(GetParam().tab);
    window->RefreshLayout();
    const int32_t hwnd = window->SubclassedHwnd();
    std::vector<QRect> expected;
    for (const QWidget* view : shownViews(*window))
        for (const QRect& r : shadowsBeside(*window, *view)) expected.push_back(r);
    std::sort(expected.begin(), expected.end(), byPlace);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(shownShadows(*window), expected);

    EXPECT_EQ(WindowProcedure::Send(hwnd, WindowMessage::Moving, 0, 0), 0);
    EXPECT_TRUE(shownShadows(*window).empty());

    EXPECT_EQ(WindowProcedure::Send(hwnd, WindowMessage::ExitSizeMove, 0, 0), 0);
    // Only the shown views' shadows come back: hidden strips and workspaces keep theirs hidden.
    EXPECT_EQ(shownShadows(*window), expected);
}

INSTANTIATE_TEST_SUITE_P(, frmMainShadowHooks,
                         ::testing::Values(WorkspaceCase{"ProofersAndFirstStrip", CommandIds::SelectionTab},
                                           WorkspaceCase{"Stage", CommandIds::StagingTab},
                                           WorkspaceCase{"ColorPie", CommandIds::ColorPieTab}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(frmMainHooks, AMovedWindowHidesItsShadowsAtOnceAndShowsThemWhenTheMovePauses) {
    WindowProcedure::SetMoveEndDelay(20);
    const std::vector<QRect> before = shownShadows(*window);
    ASSERT_FALSE(before.empty());
    window->move(window->pos() + QPoint(40, 30));
    EXPECT_TRUE(shownShadows(*window).empty());
    QElapsedTimer clock;
    clock.start();
    while (shownShadows(*window).empty() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    WindowProcedure::SetMoveEndDelay(150);
    // The views move with the window, so their shadows return to the same places in it.
    EXPECT_EQ(shownShadows(*window), before);
}

TEST_F(frmMainHooks, DestroyMessageUnhooksEverythingAndKeepsTheHandle) {
    const int32_t hwnd = window->SubclassedHwnd();
    WindowProcedure::Send(hwnd, WindowMessage::Destroy, 0, 0);
    EXPECT_FALSE(hooked(hwnd));
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty()) << WindowProperties::Names(hwnd).join(u' ').toStdString();
    EXPECT_EQ(window->SubclassedHwnd(), hwnd);
    // Unhooking twice is harmless.
    window->StopSubclassing();
    EXPECT_FALSE(hooked(hwnd));
}

TEST_F(frmMainHooks, ClosingAndDestroyingTheWindowLeaveNoHookOnItsHandle) {
    const int32_t hwnd = window->SubclassedHwnd();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    ASSERT_TRUE(window->close());
    EXPECT_FALSE(hooked(hwnd));
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());

    // Hooked again, then destroyed without a close.
    window->StartSubclassing();
    ASSERT_TRUE(hooked(hwnd));
    delete window;
    window = nullptr;
    EXPECT_FALSE(WindowRegistry::IsWindow(hwnd));
    EXPECT_TRUE(WindowProperties::Names(hwnd).isEmpty());
    EXPECT_EQ(WindowProcedure::Current(hwnd), 0);
}

struct UnloadCase {
    const char* name;
    bool documentFolder;  // a document was written or read
    bool undeletable;     // the folder holds a folder of its own, which the deletion does not remove
};

class frmMainUnload : public MainWindowFixture, public ::testing::WithParamInterface<UnloadCase> {};

TEST_P(frmMainUnload, DeletesTheDocumentAndIconFoldersEachRegardlessOfTheOther) {
    const QString icons = Globals::IconTempFolder;
    ASSERT_FALSE(icons.isEmpty());
    ASSERT_TRUE(QDir(icons).exists());
    QTemporaryDir parent;
    const QString documentFolder = parent.filePath(QStringLiteral("TINdoc.tmp")) + QLatin1Char('/');
    if (GetParam().documentFolder) {
        ASSERT_TRUE(QDir().mkpath(documentFolder));
        QFile def(documentFolder + QStringLiteral("def.xml"));
        ASSERT_TRUE(def.open(QIODevice::WriteOnly));
        if (GetParam().undeletable) {
            ASSERT_TRUE(QDir().mkpath(documentFolder + QStringLiteral("inner")));
        }
        window->DocumentFolder = documentFolder;
    }
    const int32_t hwnd = window->SubclassedHwnd();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    ASSERT_TRUE(window->close());

    // A folder that cannot go does not keep the next one.
    EXPECT_FALSE(QDir(icons).exists());
    EXPECT_EQ(QDir(documentFolder).exists(), GetParam().undeletable);
    EXPECT_FALSE(QFile::exists(documentFolder + QStringLiteral("def.xml")));
    EXPECT_FALSE(hooked(hwnd));
}

INSTANTIATE_TEST_SUITE_P(, frmMainUnload,
                         ::testing::Values(UnloadCase{"NoDocumentEver", false, false},
                                           UnloadCase{"AfterADocument", true, false},
                                           UnloadCase{"DocumentFolderCannotGo", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
