#include "app/frmMain.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RuntimeError.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QTimer>

#include <array>

namespace {
// The kept-state tables of a rebuild hold this many proofers.
constexpr int KeptEntries = 9;

// Counts a pass over the proofer row; the outermost, as it ends, runs what was queued during it.
class ProoferPass {
public:
    ProoferPass(int& depth, std::function<void()> atEnd) : m_depth(depth), m_atEnd(std::move(atEnd)) { ++m_depth; }
    ~ProoferPass() {
        if (--m_depth == 0)
            m_atEnd();
    }
    ProoferPass(const ProoferPass&) = delete;
    ProoferPass& operator=(const ProoferPass&) = delete;

private:
    int& m_depth;
    std::function<void()> m_atEnd;
};
}  // namespace

bool frmMain::ProoferRowBusy() const {
    if (m_prooferPass > 0)
        return true;
    for (const auto& proofer : cpList)
        if (proofer->Rendering())
            return true;
    return false;
}

void frmMain::QueueProoferWork(std::function<void()> work) {
    m_queuedProoferWork.push_back(std::move(work));
    // Inside a pass of the row the pass runs the queue as it ends; inside a proofer's own render nothing of
    // the row's is on the stack, so the queue runs from the event loop once the render is over.
    if (m_prooferPass == 0 && !m_prooferWorkPosted) {
        m_prooferWorkPosted = true;
        QTimer::singleShot(0, this, [this] {
            m_prooferWorkPosted = false;
            RunQueuedProoferWork();
        });
    }
}

void frmMain::RunQueuedProoferWork() {
    if (m_queuedProoferWork.empty())
        return;
    if (ProoferRowBusy()) {
        if (m_prooferPass == 0)
            QueueProoferWork([] {});
        return;
    }
    while (!m_queuedProoferWork.empty()) {
        const std::function<void()> next = std::move(m_queuedProoferWork.front());
        m_queuedProoferWork.pop_front();
        // A queued request has no caller left to take its error.
        try {
            next();
        } catch (...) {
        }
    }
}

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
    if (ProoferRowBusy()) {
        QueueProoferWork([this, count, keepFixed] { SetProoferCount(count, keepFixed); });
        return;
    }
    ProoferPass pass(m_prooferPass, [this] { RunQueuedProoferWork(); });
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

    for (int i = 1; i < count; ++i) {
        cpList.push_back(std::make_unique<ColorPanel>(picClient));
        ConnectProofer(*cpList.back());
    }
    // Placed before they hold a colour, so each renders once, at the size it is shown at.
    LayoutProofers();

    for (size_t index = 0; index < cpList.size(); ++index) {
        ColorPanel& proofer = *cpList[index];
        if (m_commandBars)
            proofer.SetPopupIcons(m_commandBars->SharedIcons());
        const QSize placed = proofer.size();
        if (fixedFlags[index])
            proofer.Init(this, keptColors[index], 1, false);
        else
            proofer.Init(this, Factory::NewColor(SelectedTexture->Clone(), m_RangeType, false), 1, false);
        // Qt keeps a hidden widget's resize for its first showing; the proofer has just rendered at that size,
        // unless a resize reached it during the render or the render waits for one in progress.
        if (proofer.isHidden() && !proofer.Rendering() && proofer.size() == placed)
            proofer.setAttribute(Qt::WA_PendingResizeEvent, false);
        proofer.SetFixed(fixedFlags[index]);
        Globals::GeneratedColors->Add(proofer.PanelColor());
    }

    for (const auto& proofer : cpList) {
        proofer->setVisible(true);
        proofer->SetStyle(1);
    }
}

void frmMain::CreateNewColors() {
    if (ProoferRowBusy()) {
        // Presses that arrive during a pass make one more set of colours, not one each.
        if (!m_newColorsQueued) {
            m_newColorsQueued = true;
            QueueProoferWork([this] {
                m_newColorsQueued = false;
                CreateNewColors();
            });
        }
        return;
    }
    ProoferPass pass(m_prooferPass, [this] { RunQueuedProoferWork(); });
    for (const auto& proofer : cpList) {
        if (proofer->Fixed())
            continue;
        proofer->SetColor(Factory::NewColor(SelectedTexture->Clone(), m_RangeType, m_IsUDC));
        Globals::GeneratedColors->Add(proofer->PanelColor()->Clone());
    }
    m_IsOpeningJustAfterStartup = false;
}
