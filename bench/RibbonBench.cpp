// The ribbon of the main window on its widest tab ("Staging" with the font group shown), repaint included: a
// resize by a few pixels that keeps every group's size (the baseline), a resize between 1024 and 640 pixels that
// changes them (the groups drawn anew), a change of tab (the groups measured and drawn anew), and a collapsed
// group dropped down and closed again.
#include "app/MainModule.h"
#include "app/frmMain.h"
#include "platform/CommandBarButtonWidget.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonBarWidget.h"
#include "services/CommandIds.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

frmMain* stagingWindow(benchmark::State& state, int width) {
    MainModule::Main(QString());
    frmMain* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<frmMain*>(widget))
            window = found;
    if (!window) {
        state.SkipWithError("no main window");
        return nullptr;
    }
    window->RibbonBar()->SetSelectedTab(window->RibbonBar()->FindTab(CommandIds::StagingTab));
    window->Bars().ExecuteCommand(CommandIds::TabSelected);
    window->Bars().ExecuteCommand(CommandIds::ToolText);
    window->resize(width, 700);
    QApplication::processEvents();
    return window;
}

void closeWindow(frmMain* window) {
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->m_IsOpeningJustAfterStartup = true;
    window->close();
    delete window;
}

int collapsedGroups(frmMain* window) {
    int collapsed = 0;
    RibbonTab* tab = window->RibbonBar()->SelectedTab();
    for (int g = 0; g < tab->GroupCount(); ++g)
        collapsed += window->Bars().RibbonView()->SizeOf(tab->Group(g)) == RibbonGroupSizing::Size::Collapsed;
    return collapsed;
}

// The window takes the two widths in turn.
void Resize(benchmark::State& state, int first, int second) {
    frmMain* window = stagingWindow(state, first);
    if (!window)
        return;
    bool atFirst = true;
    for (auto _ : state) {
        atFirst = !atFirst;
        window->resize(atFirst ? first : second, 700);
        QApplication::processEvents();
    }
    window->resize(second, 700);
    QApplication::processEvents();
    state.counters["collapsed_groups_at_second_width"] = collapsedGroups(window);
    closeWindow(window);
}

void BM_BaselineRibbonResizeKeepingSizes(benchmark::State& state) { Resize(state, 1024, 1020); }
BENCHMARK(BM_BaselineRibbonResizeKeepingSizes)->Unit(benchmark::kMillisecond);

void BM_RibbonResizeChangingSizes(benchmark::State& state) { Resize(state, 1024, 640); }
BENCHMARK(BM_RibbonResizeChangingSizes)->Unit(benchmark::kMillisecond);

void BM_RibbonTabChange(benchmark::State& state) {
    frmMain* window = stagingWindow(state, 1024);
    if (!window)
        return;
    RibbonBar* ribbon = window->RibbonBar();
    bool staging = true;
    for (auto _ : state) {
        staging = !staging;
        ribbon->SetSelectedTab(ribbon->FindTab(staging ? CommandIds::StagingTab : CommandIds::SelectionTab));
        window->Bars().ExecuteCommand(CommandIds::TabSelected);
        QApplication::processEvents();
    }
    closeWindow(window);
}
BENCHMARK(BM_RibbonTabChange)->Unit(benchmark::kMillisecond);

void BM_RibbonDropDownOpenAndClose(benchmark::State& state) {
    frmMain* window = stagingWindow(state, 640);
    if (!window)
        return;
    RibbonBarWidget* view = window->Bars().RibbonView();
    QWidget* button = view->CollapsedButtonOf(window->RibbonBar()->SelectedTab()->FindGroup(CommandIds::FontGroup));
    if (!button) {
        state.SkipWithError("the font group is not collapsed at 640 pixels");
        closeWindow(window);
        return;
    }
    const QPoint at = button->rect().center();
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(button, &release);
        QApplication::processEvents();
        view->CloseGroupPopup();
        QApplication::processEvents();
    }
    closeWindow(window);
}
BENCHMARK(BM_RibbonDropDownOpenAndClose)->Unit(benchmark::kMillisecond);

}  // namespace
