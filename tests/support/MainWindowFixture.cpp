#include "support/MainWindowFixture.h"

#include "app/MainModule.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "platform/CommandBars.h"
#include "platform/MessageBox.h"
#include "platform/UrlOpener.h"
#include "support/ModelGlobals.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QPointer>

#include <QWidget>

#include <vector>

void MainWindowFixture::SetUp() {
    window = StartProgram();
    ASSERT_NE(window, nullptr) << "start-up showed no main window";
}

void MainWindowFixture::TearDown() {
    StopProgram();
    window = nullptr;
}

frmMain* MainWindowFixture::StartProgram() {
    MainModule::Main(QString());
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<frmMain*>(widget); found && found->isVisible())
            return found;
    return nullptr;
}

void MainWindowFixture::StopProgram() {
    // Whatever a test left modified closes without a question.
    MessageBox::SetHandler([](const MessageBox::Request&) { return static_cast<int>(MessageBox::No); });
    // Deleting a main window deletes the top-level popups it owns, so the list is guarded first.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) windows.emplace_back(widget);
    for (const QPointer<QWidget>& widget : windows)
        if (auto* main = qobject_cast<frmMain*>(widget.data())) {
            main->setAttribute(Qt::WA_DeleteOnClose, false);
            main->close();
            delete main;
        }
    QApplication::processEvents();
    MessageBox::SetHandler({});
    UrlOpener::SetHandler({});
    ModelGlobals::Release();
}

void MainWindowFixture::Execute(int id) { window->Bars().ExecuteCommand(id); }

CommandBarControl* MainWindowFixture::Find(int id) const { return window->Bars().FindControl(id); }

std::vector<int32_t> MainWindowFixture::ProoferColors() const {
    std::vector<int32_t> colors;
    for (const auto& proofer : window->cpList)
        colors.push_back(proofer->PanelColor() ? proofer->PanelColor()->RGBColor() : -1);
    return colors;
}

std::vector<std::shared_ptr<Color>> MainWindowFixture::ProoferColorObjects() const {
    std::vector<std::shared_ptr<Color>> colors;
    for (const auto& proofer : window->cpList) colors.push_back(proofer->PanelColor());
    return colors;
}
