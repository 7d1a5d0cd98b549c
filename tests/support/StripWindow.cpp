#include "support/StripWindow.h"

#include "app/ChooserHelper.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "services/CommandIds.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

std::shared_ptr<Color> StripWindow::Rgb(int red, int green, int blue) {
    auto color = Factory::NewColor(Globals::TextureItem(1)->Clone(), CommandIds::RangeAllRGB, false);
    color->SetColor(red, green, blue);
    return color;
}

ColorHistory& StripWindow::Strip(int index) const { return *window->history[static_cast<size_t>(index)]; }

void StripWindow::ShowStrips(int count) {
    window->NumberOfHistoryGroups = count;
    ChooserHelper::ShowHistoryGroups(count, window->chooserHost());
    QApplication::processEvents();
}

void StripWindow::Fill(int strip, const std::vector<std::shared_ptr<Color>>& colors) {
    for (const auto& color : colors) Strip(strip).AddColorPanel(color);
}

std::vector<int32_t> StripWindow::StripColors(int strip) const {
    std::vector<int32_t> colors;
    for (int i = 0; i < Strip(strip).PanelCount(); ++i)
        colors.push_back(Strip(strip).Panel(i)->PanelColor()->RGBColor());
    return colors;
}

void StripWindow::Select(int strip, int panel) { Press(Strip(strip).Panel(panel)); }

void StripWindow::Press(QWidget* widget, Qt::MouseButton button) {
    const QPointF at = QPointF(widget->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void StripWindow::Key(int key, Qt::KeyboardModifiers modifiers, bool release) {
    QKeyEvent event(release ? QEvent::KeyRelease : QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(window, &event);
}
