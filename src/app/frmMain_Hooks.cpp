#include "app/frmMain.h"

#include "platform/WindowMessage.h"
#include "platform/WindowRegistry.h"
#include "services/MSubclass.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

namespace {

// The messages the window hooks on itself, in the order they are attached and detached.
constexpr int32_t HookedMessages[] = {WindowMessage::Destroy, WindowMessage::Moving, WindowMessage::ExitSizeMove};

}  // namespace

void frmMain::StartSubclassing() {
    StopSubclassing();
    try {
        if (const int32_t hwnd = WindowRegistry::Handle(this); hwnd != 0)
            m_subclassedHwnd = hwnd;
    } catch (...) {
    }
    for (const int32_t msg : HookedMessages) MSubclass::HookMessage(*this, m_subclassedHwnd, msg);
}

void frmMain::StopSubclassing() {
    if (m_subclassedHwnd == 0)
        return;
    for (const int32_t msg : HookedMessages) MSubclass::UnhookMessage(*this, m_subclassedHwnd, msg);
}

MsgResponseKind frmMain::MsgResponse() const { return MsgResponseKind::NoDefault; }

void frmMain::SetMsgResponse(MsgResponseKind) {}

int32_t frmMain::WindowProc(int32_t, int32_t iMsg, int32_t, int32_t) {
    // Hidden views are left alone: their shadows went when they were hidden.
    const auto shown = [](const QWidget* view) { return view && !view->isHidden(); };
    switch (iMsg) {
        case WindowMessage::Moving:
            for (const auto& proofer : cpList)
                if (shown(proofer.get()))
                    proofer->HideShadows();
            for (const auto& strip : history)
                if (shown(strip.get()))
                    strip->HideShadows();
            if (shown(ctlStage.get()))
                ctlStage->HideShadows();
            if (shown(ctlMatch.get()))
                ctlMatch->HideShadows();
            break;
        case WindowMessage::ExitSizeMove:
            for (const auto& proofer : cpList)
                if (shown(proofer.get()))
                    proofer->RefreshShadows(iMsg);
            for (const auto& strip : history)
                if (shown(strip.get()))
                    strip->RefreshShadows(iMsg);
            // The stage and the pie only pass the message on, which places their shadows without showing
            // them; shown here, they would otherwise stay hidden after every move until the next layout.
            if (shown(ctlStage.get())) {
                ctlStage->RefreshShadows(iMsg);
                ctlStage->ShowShadows();
            }
            if (shown(ctlMatch.get())) {
                ctlMatch->RefreshShadows(iMsg);
                ctlMatch->ShowShadows();
            }
            break;
        case WindowMessage::Destroy:
            // The hooks go before the window does.
            StopSubclassing();
            break;
        default: break;
    }
    return 0;
}
