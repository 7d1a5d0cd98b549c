#include "services/fDropShadow.h"

#include "platform/WindowMessage.h"
#include "services/DropShadowOverlay.h"

#include <QImage>
#include <QWidget>

std::unique_ptr<fDropShadow> fDropShadow::ForView(QWidget* view, ShadowEdge edge) {
    auto shadow = std::make_unique<fDropShadow>();
    shadow->SetShadowSize(ViewShadowSize);
    shadow->SetShadowType(edge);
    shadow->SetShadow(view);
    return shadow;
}

fDropShadow::~fDropShadow() { Unload(); }

void fDropShadow::Show(QWidget* owner) {
    if (owner)
        m_owner = owner;
    if (!IsLoaded() && !Form_Load())
        return;
    m_window->show();
    m_window->raise();
}

void fDropShadow::Hide() {
    if (IsLoaded())
        m_window->hide();
}

void fDropShadow::Unload() {
    ClearUp();
    delete m_window.data();
}

bool fDropShadow::IsLoaded() const { return !m_window.isNull(); }

bool fDropShadow::Visible() const { return IsLoaded() && !m_window->isHidden(); }

QRect fDropShadow::WindowRect() const {
    if (!IsLoaded())
        return {};
    return QRect(m_window->mapToGlobal(QPoint(0, 0)), m_window->size());
}

int32_t fDropShadow::WindowProc(int32_t, int32_t iMsg, int32_t, int32_t) {
    switch (iMsg) {
        case WindowMessage::Size:
        case WindowMessage::Sizing:
        case WindowMessage::Moving:
        case WindowMessage::ExitSizeMove: break;
        default: return 0;
    }
    if (!m_shadow)
        return 0;
    if (!IsLoaded()) {
        Form_Load();
        return 0;
    }
    UpdateShadow(targetRect(), iMsg == WindowMessage::Size);
    return 0;
}

// Loading makes the window over the host (the owner's window, else the target's) and shows it built
// and placed.
bool fDropShadow::Form_Load() {
    QWidget* host = m_owner ? m_owner->window() : (m_shadow ? m_shadow->window() : nullptr);
    if (!host || !m_shadow)
        return false;
    m_window = new DropShadowOverlay(host);
    m_window->show();
    m_window->raise();
    UpdateShadow(targetRect(), true);
    return true;
}

QRect fDropShadow::targetRect() const { return QRect(m_shadow->mapToGlobal(QPoint(0, 0)), m_shadow->size()); }

void fDropShadow::UpdateShadow(const QRect& r, bool rebuild) {
    const int32_t s = m_shadowSize;
    const int32_t w = r.width();
    const int32_t h = r.height();
    const bool bottom = m_shadowType == ShadowEdge::Bottom;
    if (rebuild) {
        if (bottom ? Create(w, s) : Create(s, h - s))
            FillShadowAlpha(bottom);
        m_window->SetPicture(m_bits.empty() ? QImage()
                                            : QImage(m_bits.data(), m_dibWidth, m_dibHeight, BytesPerScanLine(),
                                                     QImage::Format_ARGB32_Premultiplied));
    }
    const QRect placed = bottom ? QRect(r.left() + s, r.top() + h, w, s) : QRect(r.left() + w, r.top() + s, s, h);
    QWidget* host = m_window->parentWidget();
    m_window->setGeometry(QRect(host->mapFromGlobal(placed.topLeft()), placed.size()));
    m_window->raise();
}

bool fDropShadow::Create(int32_t width, int32_t height) {
    ClearUp();
    if (width <= 0 || height <= 0)
        return false;
    m_bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    m_dibWidth = width;
    m_dibHeight = height;
    return true;
}

void fDropShadow::ClearUp() {
    if (m_window)
        m_window->SetPicture(QImage());
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_dibWidth = 0;
    m_dibHeight = 0;
}

// Black pixels with integer-division alpha ramps: the bottom edge fades in over its first H pixels, out
// over its last H and downwards to 0 in its bottom row; the right edge fades in over its top W rows and
// out towards its right-hand side.
void fDropShadow::FillShadowAlpha(bool horizontal) {
    const int32_t b = BytesPerScanLine();
    const int32_t height = DibHeight();
    const int32_t width = b / 4;
    uint8_t* bits = m_bits.data();
    if (horizontal) {
        const int32_t e = 4 * height;
        for (int32_t x = 0; x < b; x += 4) {
            const int32_t a = x < e ? x * 255 / e : (x >= b - e ? (b - x) * 255 / e : 255);
            for (int32_t y = 0; y < height; ++y) {
                uint8_t* pixel = bits + y * b + x;
                pixel[0] = pixel[1] = pixel[2] = 0;
                pixel[3] = static_cast<uint8_t>(a * y / height);
            }
        }
    } else {
        for (int32_t y = 0; y < height; ++y) {
            const int32_t a = y >= height - width ? (height - y) * 255 / width : 255;
            uint8_t* row = bits + y * b;
            for (int32_t x = 0; x < b; x += 4) {
                row[x] = row[x + 1] = row[x + 2] = 0;
                row[x + 3] = static_cast<uint8_t>((b - x) * a / b);
            }
        }
    }
}
