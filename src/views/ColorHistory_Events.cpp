#include "views/ColorHistory.h"

#include "model/ColorCollection.h"
#include "platform/App.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "platform/MessageBox.h"
#include "services/CommandIds.h"
#include "services/xptHelper.h"
#include "views/ColorPanel.h"

// The strip's popup and what it does with the events of its panels.

void ColorHistory::ConnectPanel(ColorPanel* panel) {
    connect(panel, &ColorPanel::DeleteMe, this, [this, panel] { PanelDeleteMe(panel); });
    connect(panel, &ColorPanel::MouseDown, this, [this, panel](int16_t button, int16_t shift, float x, float y) {
        PanelMouseDown(panel, button, shift, x, y);
    });
    connect(panel, &ColorPanel::MouseUp, this, &ColorHistory::PanelMouseUp);
    connect(panel, &ColorPanel::MouseMove, this, &ColorHistory::MouseMove);
    connect(panel, &ColorPanel::StartDragging, this, &ColorHistory::StartDragging);
    connect(panel, &ColorPanel::SelectedStatusChanged, this, [this, panel](bool pNewStatus) {
        if (pNewStatus)
            emit SelectedPanelChanged(panel);
    });
    connect(
        panel, &ColorPanel::RequestNewImage, this,
        [this, panel](const QString& message, bool& added) { PanelRequestNewImage(panel, message, added); },
        Qt::DirectConnection);
    connect(panel, &ColorPanel::ColorChanged, this, [this, panel] { PanelColorChanged(panel); });
    connect(panel, &ColorPanel::DeleteAll, this, [this] {
        if (!m_loading)
            ClearColors();
    });
    connect(panel, &ColorPanel::KeepAll, this, [this] {
        if (!m_loading)
            emit KeepAll();
    });
    connect(panel, &ColorPanel::AddBlackAndWhite, this, [this] {
        if (!m_loading)
            AddBlackAndWhite();
    });
    connect(panel, &ColorPanel::ShowComments, this, [this] {
        if (!m_loading)
            ShowComments();
    });
    connect(panel, &ColorPanel::Sort, this, [this](int32_t pSortBy) {
        if (!m_loading)
            SortColors(pSortBy);
    });
}

void ColorHistory::BuildPopup() {
    // The popup shows the icons the host window's command bars hold under the command ids.
    if (HostForm)
        if (auto* hostBars = HostForm->findChild<CommandBars*>(QString(), Qt::FindDirectChildrenOnly))
            m_commandBars->SetIcons(hostBars->SharedIcons());
    if (!PopupBar)
        PopupBar = m_commandBars->Add(QStringLiteral("Popup"), CommandBar::Popup);
    CommandBarControls& controls = PopupBar->Controls();
    controls.DeleteAll();
    const auto add = [&controls](int id, const QString& caption, bool beginGroup) {
        controls.Add(CommandBarControl::Button, id, caption, -1, false)->SetBeginGroup(beginGroup);
    };
    add(CommandIds::AddAll, QStringLiteral("&Add All"), false);
    add(CommandIds::AddBlackAndWhite, QStringLiteral("Add &Black && White"), false);
    add(CommandIds::Comments, QStringLiteral("C&omments..."), true);
    xptHelper::AddSortMenu(PopupBar, false);
    add(CommandIds::DeleteAllColors, QStringLiteral("&Clear Color Scheme"), true);
}

void ColorHistory::PopupOpening(CommandBar* bar) {
    if (bar != PopupBar)
        return;
    // "&Add All" keeps the state its host gave it; "Add &Black && White" is always there.
    const bool hasColors = PanelCount() >= 1;
    for (int i = 2; i < PopupBar->Controls().Count(); ++i) PopupBar->Controls().Item(i)->SetEnabled(hasColors);
}

void ColorHistory::PopupExecute(CommandBarControl* control) {
    if (!control || m_loading)
        return;
    const int id = control->Id();
    if (CommandIds::SortCommands.Contains(id)) {
        if (PanelCount() > 0)
            SortColors(id - CommandIds::SortColorsByRGBSum);
        return;
    }
    switch (id) {
        case CommandIds::DeleteAllColors:
            if (PanelCount() > 0)
                ClearColors();
            return;
        case CommandIds::Comments:
            if (PanelCount() > 0)
                ShowComments();
            return;
        case CommandIds::AddAll: emit KeepAll(); return;
        case CommandIds::AddBlackAndWhite: AddBlackAndWhite(); return;
        default: return;
    }
}

void ColorHistory::PanelDeleteMe(ColorPanel* panel) {
    const int32_t index = IndexOf(panel);
    if (index < 0 || m_loading)
        return;
    if (panel->Selected())
        emit SelectedPanelChanged(nullptr);
    if (index < Colors->count()) {
        Colors->Remove(index + 1);
        Dirty = true;
    }
    ReloadPanels();
}

void ColorHistory::PanelMouseDown(ColorPanel* panel, int16_t button, int16_t shift, float x, float y) {
    for (ColorPanel* each : cpItem) each->SetSelected(each == panel);
    m_selectedPanel = panel;
    emit MouseDown(button, shift, x, y);
    emit SelectedPanelChanged(m_selectedPanel);
}

void ColorHistory::PanelMouseUp(int16_t button, int16_t shift, float x, float y) {
    m_selectedPanel = nullptr;
    if (button == 1)
        emit MouseUp(button, shift, x, y);
}

void ColorHistory::PanelRequestNewImage(ColorPanel* panel, const QString& message, bool& added) {
    if (MessageBox::Show(message, MessageBox::YesNo | MessageBox::Question, App::Title()) == MessageBox::Yes)
        added = panel->LoadColorizer();
}

void ColorHistory::PanelColorChanged(ColorPanel* panel) {
    if (m_selectedPanel && panel->Selected()) {
        m_selectedPanel = panel;
        emit SelectedPanelChanged(panel);
    }
}

void ColorHistory::ClearColors() {
    if (Colors->HasColors())
        Dirty = true;
    Colors->Clear();
    ReloadPanels();
}
