#pragma once

#include "services/ISubclass.h"

#include <QPointer>
#include <QRect>

#include <cstdint>
#include <memory>
#include <vector>

class DropShadowOverlay;
class QWidget;

enum class ShadowEdge : int32_t {
    Right = 0,   // a vertical strip along the target's right edge
    Bottom = 1,  // a horizontal strip along the target's bottom edge
};

// One edge of the soft shadow a raised control casts: a 32-bit picture of black pixels whose alpha
// falls off towards the outside, drawn over the host window beside the control and invisible to the
// mouse. The control sets the size, edge and target, shows it over its host window and forwards window
// messages to it: 5 rebuilds it at the target's size, 532, 534 and 562 move it beside the target.
class fDropShadow : public ISubclass {
public:
    fDropShadow() = default;
    ~fDropShadow() override;

    // The thickness every raised view's shadows have.
    static constexpr int32_t ViewShadowSize = 5;
    // A raised view's shadow along one edge, not yet shown.
    static std::unique_ptr<fDropShadow> ForView(QWidget* view, ShadowEdge edge);

    // Thickness in pixels.
    int32_t ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int32_t lSize) { m_shadowSize = lSize; }
    // The control that casts the shadow.
    QWidget* Shadow() const { return m_shadow; }
    void SetShadow(QWidget* oShadow) { m_shadow = oShadow; }
    ShadowEdge ShadowType() const { return m_shadowType; }
    void SetShadowType(ShadowEdge value) { m_shadowType = value; }

    // Shows the shadow over the owner's window (kept from an earlier show when null). The first show after
    // construction or Unload loads it: the picture is built and placed beside the target.
    void Show(QWidget* owner = nullptr);
    void Hide();
    // Releases the picture and the window; a later Show or message loads it again.
    void Unload();
    bool IsLoaded() const;
    bool Visible() const;
    // Where the shadow window is, in screen pixels; empty while not loaded.
    QRect WindowRect() const;

    // Always DefaultAfter; a value written is ignored.
    MsgResponseKind MsgResponse() const override { return MsgResponseKind::DefaultAfter; }
    void SetMsgResponse(MsgResponseKind) override {}
    // Loads the shadow when needed, then rebuilds it on 5 and moves it on 532, 534 and 562; answers 0.
    int32_t WindowProc(int32_t hwnd, int32_t iMsg, int32_t wParam, int32_t lParam) override;

    // The picture: blue, green, red, alpha per pixel, row 0 at the bottom; null without a picture.
    const uint8_t* Bits() const { return m_bits.empty() ? nullptr : m_bits.data(); }
    int32_t BytesPerScanLine() const { return 4 * m_dibWidth; }
    int32_t DibWidth() const { return m_dibWidth; }
    int32_t DibHeight() const { return m_dibHeight; }

private:
    bool Form_Load();
    bool Create(int32_t width, int32_t height);
    void ClearUp();
    void FillShadowAlpha(bool horizontal);
    // r is the target's rectangle in screen pixels.
    void UpdateShadow(const QRect& r, bool rebuild);
    QRect targetRect() const;

    int32_t m_shadowSize = 5;
    ShadowEdge m_shadowType = ShadowEdge::Right;
    QPointer<QWidget> m_shadow;
    QPointer<QWidget> m_owner;
    QPointer<DropShadowOverlay> m_window;
    std::vector<uint8_t> m_bits;
    int32_t m_dibWidth = 0;
    int32_t m_dibHeight = 0;
};
