#include "app/frmMain.h"

#include "model/Color.h"
#include "model/Globals.h"
#include "platform/App.h"
#include "platform/ControlDrag.h"
#include "platform/MessageBox.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

// The strips' and the proofers' events: keeping colours, a proofer's picture request, the strips' selection.

void frmMain::ConnectViews() {
    for (size_t i = 0; i < history.size(); ++i) {
        ColorHistory* strip = history[i].get();
        const int index = static_cast<int>(i);
        connect(strip, &ColorHistory::StartDragging, this, [this, index] { history_StartDragging(index); });
        connect(strip, &ColorHistory::SelectedPanelChanged, this,
                [this, index](ColorPanel* selection) { history_SelectedPanelChanged(index, selection); });
        connect(strip, &ColorHistory::KeepAll, this, [this, index] { history_KeepAll(index); });
        ControlDrag::AcceptDrops(strip, [this, index](QWidget* source, Qt::KeyboardModifiers modifiers) {
            TakeDropModifiers(modifiers);
            history_DragDrop(index, source);
        });
    }
    ControlDrag::AcceptDrops(ctlMatch.get(), [this](QWidget* source) { ctlMatch_DragDrop(source); });
    ControlDrag::AcceptDrops(ctlStage.get(), [this](QWidget* source) { ctlStage_DragDrop(source); });
    for (const auto& proofer : cpList) ConnectProofer(*proofer);
    ConnectTopColorBox();
}

void frmMain::ConnectProofer(ColorPanel& proofer) {
    // The index is looked up at each event: a rebuild of the row renumbers the proofers it keeps.
    ColorPanel* panel = &proofer;
    const auto indexOf = [this, panel] { return ProoferIndex(panel); };
    connect(panel, &ColorPanel::SendToHistory, this, [this, indexOf](int32_t historyIndex) {
        if (const int index = indexOf(); index >= 0)
            cpList_SendToHistory(index, historyIndex);
    });
    connect(
        panel, &ColorPanel::RequestNewImage, this,
        [this, indexOf](const QString& message, bool& added) {
            if (const int index = indexOf(); index >= 0)
                cpList_RequestNewImage(index, message, added);
        },
        Qt::DirectConnection);
    connect(panel, &ColorPanel::StartDragging, this, [this, indexOf] {
        if (const int index = indexOf(); index >= 0)
            cpList_StartDragging(index);
    });
    ControlDrag::AcceptDrops(panel, [this, indexOf](QWidget* source) {
        if (const int index = indexOf(); index >= 0)
            cpList_DragDrop(index, source);
    });
}

int frmMain::ProoferIndex(const ColorPanel* proofer) const {
    for (size_t i = 0; i < cpList.size(); ++i)
        if (cpList[i].get() == proofer)
            return static_cast<int>(i);
    return -1;
}

int frmMain::StripIndex(const QWidget* strip) const {
    for (size_t i = 0; i < history.size(); ++i)
        if (history[i].get() == strip)
            return static_cast<int>(i);
    return -1;
}

void frmMain::history_SelectedPanelChanged(int index, ColorPanel* pNewSelection) {
    const std::shared_ptr<Color> selected = pNewSelection ? pNewSelection->PanelColor() : nullptr;
    ctlStage->SetDrawColor(selected ? selected : Globals::DrawColor);
    for (size_t i = 0; i < history.size(); ++i)
        if (static_cast<int>(i) != index)
            history[i]->UnselectAll();
}

void frmMain::history_KeepAll(int index) {
    if (index < 0 || index >= static_cast<int>(history.size()))
        return;
    std::vector<std::shared_ptr<Color>> colors;
    colors.reserve(cpList.size());
    for (const auto& proofer : cpList) colors.push_back(proofer->PanelColor());
    history[static_cast<size_t>(index)]->AddColorPanels(colors);
}

void frmMain::cpList_SendToHistory(int index, int32_t pHistoryIndex) {
    if (pHistoryIndex < 0 || pHistoryIndex >= static_cast<int32_t>(history.size()))
        return;
    ColorHistory& strip = *history[static_cast<size_t>(pHistoryIndex)];
    const std::shared_ptr<Color> color = cpList[static_cast<size_t>(index)]->PanelColor();
    if (color && !strip.Contains(color))
        strip.AddColorPanel(color);
    FocusStep();
    m_IsOpeningJustAfterStartup = false;
}

void frmMain::cpList_RequestNewImage(int index, const QString& pMessage, bool& pAdded) {
    if (MessageBox::Show(pMessage, MessageBox::YesNo | MessageBox::Question, App::Title()) == MessageBox::Yes)
        pAdded = cpList[static_cast<size_t>(index)]->LoadColorizer();
    m_IsOpeningJustAfterStartup = false;
}
