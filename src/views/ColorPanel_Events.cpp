#include "views/ColorPanel.h"

#include "imaging/cDIBSection.h"
#include "model/Color.h"
#include "model/Texture.h"
#include "platform/PictureBox.h"
#include "views/MouseCodes.h"
#include "views/SwatchPopup.h"
#include "views/SwatchRenderer.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <cmath>

namespace {

// The first of the dropped items that is a file; empty when none is.
QString firstDroppedFile(const QMimeData* data) {
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return QString();
}

}  // namespace

const cDIBSection* ColorPanel::PopupImage() const {
    return TextureKindOfColor() == TextureKind::Image ? m_renderer->Recoloured() : m_renderer->Textured();
}

void ColorPanel::PopupDeleteColor() {
    Exclusive([this] {
        ShowColor(nullptr);
        emit DeleteMe();
    });
}

void ColorPanel::SetPopupFixed(bool fixed) {
    // The document keeps the flag with the colour, so fixing or freeing a swatch changes the document.
    if (fixed != m_fixed && m_color)
        m_color->SetIsDirty(true);
    m_fixed = fixed;
}

void ColorPanel::PopupLoadImage() { LoadColorizer(); }

void ColorPanel::PopupRemoveImage() { RemoveColorizer(); }

void ColorPanel::PopupChangeTexture(std::shared_ptr<Texture> texture) { ChangeTexture(std::move(texture)); }

void ColorPanel::PopupRaise(Event event, int32_t argument) {
    switch (event) {
        case Event::SendToHistory: emit SendToHistory(argument); return;
        case Event::DeleteAll: emit DeleteAll(); return;
        case Event::KeepAll: emit KeepAll(); return;
        case Event::AddBlackAndWhite: emit AddBlackAndWhite(); return;
        case Event::ShowComments: emit ShowComments(); return;
        case Event::Sort: emit Sort(argument); return;
    }
}

void ColorPanel::SurfaceMouseDown(int16_t button, int16_t shift, float x, float y) {
    m_downX = x;
    m_downY = y;
    emit MouseDown(button, shift, x, y);
}

void ColorPanel::SurfaceMouseMove(int16_t button, int16_t shift, float x, float y) {
    emit MouseMove(button, shift, x, y);
    if (button == 1 && (std::fabs(x - m_downX) > 3.0f || std::fabs(y - m_downY) > 3.0f))
        emit StartDragging();
}

void ColorPanel::SurfaceMouseUp(int16_t button, int16_t shift, float x, float y, const QPoint& globalPos) {
    if (button == 2) {
        m_popup->Show(globalPos);
        return;
    }
    emit MouseUp(button, shift, x, y);
}

bool ColorPanel::SurfaceMouse(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int16_t shift = MouseCodes::Shift(mouse->modifiers());
    const auto x = static_cast<float>(mouse->position().x());
    const auto y = static_cast<float>(mouse->position().y());
    switch (event->type()) {
        case QEvent::MouseButtonPress: SurfaceMouseDown(MouseCodes::Button(mouse->button()), shift, x, y); return true;
        case QEvent::MouseMove: SurfaceMouseMove(MouseCodes::Buttons(mouse->buttons()), shift, x, y); return true;
        case QEvent::MouseButtonRelease:
            SurfaceMouseUp(MouseCodes::Button(mouse->button()), shift, x, y, mouse->globalPosition().toPoint());
            return true;
        default: return false;
    }
}

void ColorPanel::mousePressEvent(QMouseEvent* event) { SurfaceMouse(event); }

void ColorPanel::mouseMoveEvent(QMouseEvent* event) { SurfaceMouse(event); }

void ColorPanel::mouseReleaseEvent(QMouseEvent* event) { SurfaceMouse(event); }

// The second press of a double click is no press of its own; Qt's default would report one.
void ColorPanel::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

bool ColorPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != pic)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: return SurfaceMouse(event);
        case QEvent::MouseButtonDblClick: emit DblClick(this); return true;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            // Only files are taken here; other drags go on to the swatch and its host.
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!firstDroppedFile(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
            drag->ignore();
            return false;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString file = firstDroppedFile(drop->mimeData());
            if (file.isEmpty()) {
                drop->ignore();
                return false;
            }
            drop->acceptProposedAction();
            Exclusive([this, file] {
                try {
                    TakeImageFile(file);
                    pic->update();
                } catch (...) {
                }
            });
            return true;
        }
        default: return QWidget::eventFilter(watched, event);
    }
}
