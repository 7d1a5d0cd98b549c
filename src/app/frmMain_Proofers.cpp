#include "app/frmMain.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/RibbonBar.h"
#include "platform/RuntimeError.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <array>

namespace {
// The kept-state tables of a rebuild hold this many proofers.
constexpr int KeptEntries = 9;
}  // namespace

void frmMain::ShowWorkspace(int32_t tabId) {
    ::RibbonBar* ribbon = RibbonBar();
    if (tabId == CommandIds::SelectionTab) {
        ctlStage->setVisible(false);
        ctlMatch->setVisible(false);
        for (const auto& proofer : cpList) {
            proofer->setVisible(true);
            proofer->RefreshShadows(SizeMessage);
        }
        for (const auto& strip : history) strip->SetShowSelectionMenu(true);
        if (RibbonTab* tab = ribbon ? ribbon->FindTab(tabId) : nullptr)
            ribbon->SetSelectedTab(tab);
    } else if (tabId == CommandIds::ColorPieTab || tabId == CommandIds::StagingTab) {
        for (const auto& proofer : cpList) {
            proofer->setVisible(false);
            proofer->HideShadows();
        }
        for (const auto& strip : history) strip->SetShowSelectionMenu(false);
        if (tabId == CommandIds::StagingTab) {
            if (!ctlStage->HasColor())
                ctlStage->SetDrawColor(Globals::DrawColor);
            ctlStage->setVisible(true);
            ctlMatch->setVisible(false);
        } else {
            ctlMatch->setVisible(true);
            ctlStage->setVisible(false);
        }
        if (RibbonTab* tab = ribbon ? ribbon->FindTab(tabId) : nullptr)
            ribbon->SetSelectedTab(tab);
    }
    picClient->update();
    m_IsOpeningJustAfterStartup = false;
}

void frmMain::SetProoferCount(int count, bool keepFixed) {
    if (count < 1 || count > KeptEntries)
        Err::Raise(RuntimeError::SubscriptOutOfRange);
    std::array<bool, KeptEntries> fixedFlags{};
    std::array<std::shared_ptr<Color>, KeptEntries> keptColors{};

    if (keepFixed) {
        for (size_t i = 0; i < cpList.size() && i < KeptEntries; ++i) {
            ColorPanel& proofer = *cpList[i];
            fixedFlags[i] = proofer.Fixed();
            if (proofer.HasColor())
                keptColors[i] = proofer.PanelColor()->Clone();
            proofer.setVisible(false);
            proofer.HideShadows();
        }
    }

    cpList[0]->Dispose();
    while (cpList.size() > 1) {
        cpList.back()->Dispose();
        cpList.pop_back();
    }

    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<size_t>(i);
        if (i > 0)
            cpList.push_back(std::make_unique<ColorPanel>(picClient));
        ColorPanel& proofer = *cpList[index];
        if (fixedFlags[index])
            proofer.Init(this, keptColors[index], 1, false);
        else
            proofer.Init(this, Factory::NewColor(SelectedTexture->Clone(), m_RangeType, false), 1, false);
        proofer.SetFixed(fixedFlags[index]);
        Globals::GeneratedColors->Add(proofer.PanelColor());
    }

    LayoutProofers();

    for (const auto& proofer : cpList) {
        proofer->setVisible(true);
        proofer->SetStyle(1);
    }
}

void frmMain::CreateNewColors() {
    for (const auto& proofer : cpList) {
        if (proofer->Fixed())
            continue;
        proofer->SetColor(Factory::NewColor(SelectedTexture->Clone(), m_RangeType, m_IsUDC));
        Globals::GeneratedColors->Add(proofer->PanelColor()->Clone());
    }
    m_IsOpeningJustAfterStartup = false;
}
