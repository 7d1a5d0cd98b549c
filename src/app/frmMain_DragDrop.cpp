#include "app/frmMain.h"

#include "model/Color.h"
#include "model/Factory.h"
#include "model/Texture.h"
#include "platform/ControlDrag.h"
#include "platform/PictureBox.h"
#include "services/CommandIds.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSlider>
#include <QTimer>

// Colours travelling between the views: the drags the proofers, the strips and the top-colour swatch start,
// and what a drop on a proofer, a strip, the colour pie or the stage does.

namespace {

constexpr int DragPictureSize = 40;

// A small square of the colour, framed, that follows the cursor.
QPixmap DragPicture(int32_t rgb) {
    QPixmap picture(DragPictureSize, DragPictureSize);
    picture.fill(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
    QPainter painter(&picture);
    painter.setPen(QColor(0x50, 0x50, 0x50));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

}  // namespace

void frmMain::StartDrag(QWidget* source, ColorPanel* panel, int32_t rgb) {
    // The ticket stays after the drag: a drop held back while a long pass ran arrives once the drag is over.
    m_dragTicket =
        DragTicket{source, panel, panel ? std::weak_ptr<Color>(panel->PanelColor()) : std::weak_ptr<Color>(), rgb};
    // The drag runs from the event loop, not inside the mouse handler that asked for it: a drop may unload the
    // very panel whose handler that is. Moves that ask again meanwhile start no second drag.
    if (m_dragPending)
        return;
    m_dragPending = true;
    QTimer::singleShot(0, this, [this] {
        m_dragPending = false;
        // A button let go before the drag could start was a click.
        if (!m_dragTicket.source || QGuiApplication::mouseButtons() == Qt::NoButton)
            return;
        ControlDrag::Start(m_dragTicket.source.data(), DragPicture(m_dragTicket.rgb));
    });
}

void frmMain::cpList_StartDragging(int index) {
    ColorPanel* proofer = cpList[static_cast<size_t>(index)].get();
    const auto color = proofer->PanelColor();
    StartDrag(proofer, proofer, color ? color->RGBColor() : 0xFFFFFF);
}

void frmMain::history_StartDragging(int index) {
    ColorHistory* strip = history[static_cast<size_t>(index)].get();
    ColorPanel* panel = strip->SelectedPanel();
    const auto color = panel ? panel->PanelColor() : nullptr;
    StartDrag(strip, panel, color ? color->RGBColor() : 0xFFFFFF);
}

bool frmMain::IsProofer(const QWidget* source) const {
    for (const auto& proofer : cpList)
        if (proofer.get() == source)
            return true;
    return false;
}

ColorPanel* frmMain::SourcePanel(QWidget* source) const {
    ColorPanel* panel = nullptr;
    if (IsProofer(source)) {
        panel = static_cast<ColorPanel*>(source);
    } else if (const int strip = StripIndex(source); strip >= 0) {
        panel = history[static_cast<size_t>(strip)]->SelectedPanel();
    }
    if (!panel || !panel->PanelColor())
        return nullptr;
    // A source that changed since its drag started (a strip cleared, a proofer rebuilt) carries nothing.
    if (m_dragTicket.source == source &&
        (m_dragTicket.panel != panel || m_dragTicket.color.lock() != panel->PanelColor()))
        return nullptr;
    return panel;
}

void frmMain::TakeDropModifiers(Qt::KeyboardModifiers modifiers) {
    // Key events do not reach the window while a drag runs; Ctrl held at the drop counts as pressed last.
    if ((modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier)
        CtrlHeld = true;
}

void frmMain::cpList_DragDrop(int index, QWidget* source) {
    ColorPanel& proofer = *cpList[static_cast<size_t>(index)];
    if (source == picColor) {
        const auto color = Factory::NewColor(SelectedTexture->Clone(), m_RangeType, false);
        const int first = sldTopColor[0]->value();
        const int second = sldTopColor[1]->value();
        const int third = sldTopColor[2]->value();
        if (m_RangeType == CommandIds::RangeAllRGB) {
            color->SetRed(first);
            color->SetGreen(second);
            color->SetBlue(third);
        } else {
            color->SetHue(first);
            color->SetSaturation(second);
            color->SetBrightness(third);
        }
        proofer.SetColor(color);
        m_IsOpeningJustAfterStartup = false;
        return;
    }
    if (ColorPanel* panel = SourcePanel(source)) {
        proofer.SetColor(panel->PanelColor()->Clone());
        m_IsOpeningJustAfterStartup = false;
    }
}

void frmMain::history_DragDrop(int index, QWidget* source) {
    ColorHistory& strip = *history[static_cast<size_t>(index)];
    if (ColorPanel* panel = SourcePanel(source)) {
        const std::shared_ptr<Color> color = panel->PanelColor();
        if (strip.Contains(color)) {
            if (strip.PanelIsInContainer(panel))
                strip.MoveColorPanel(panel);
        } else {
            strip.AddColorPanel(color->Clone());
            if (const int from = StripIndex(source); from >= 0 && !CtrlHeld)
                history[static_cast<size_t>(from)]->RemoveColorPanel(color);
        }
    }
    m_IsOpeningJustAfterStartup = false;
    FocusStep();
}

void frmMain::ctlMatch_DragDrop(QWidget* source) {
    if (StripIndex(source) >= 0)
        if (ColorPanel* panel = SourcePanel(source)) {
            ctlMatch->AddColor(panel->PanelColor());
            ctlMatch->Refresh();
        }
    m_IsOpeningJustAfterStartup = false;
    FocusStep();
}

void frmMain::ctlStage_DragDrop(QWidget* source) {
    if (StripIndex(source) >= 0)
        if (ColorPanel* panel = SourcePanel(source)) {
            ctlStage->FillImage(panel->PanelColor()->ColorTexture());
            m_IsOpeningJustAfterStartup = false;
        }
    FocusStep();
}
