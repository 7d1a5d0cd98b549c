#include "views/ColorMatch.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarControls.h"
#include "platform/CommandBars.h"
#include "platform/Numeric.h"
#include "platform/RuntimeError.h"
#include "platform/WindowRegistry.h"
#include "services/CommandIds.h"
#include "services/Subclassing.h"
#include "services/XMLShared.h"
#include "services/fDropShadow.h"
#include "views/MatchHelper.h"
#include "views/PieRenderer.h"
#include "views/PopupBars.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <vector>

ColorMatch::ColorMatch(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted from the bitmap; nothing of the parent needs to show through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_commandBars = PopupBars::Create(this, this, [this](CommandBarControl* control) { OnMenuCommand(control); });
}

ColorMatch::~ColorMatch() {
    UnloadShadows();
    // The command bars go while the control they watch is still whole.
    delete m_commandBars;
}

int32_t ColorMatch::hwnd() const { return WindowRegistry::Handle(const_cast<ColorMatch*>(this)); }

void ColorMatch::SetBackColor(int32_t Value) {
    if (Value < 0 || Value > White)
        Err::Raise(RuntimeError::InvalidPropertyValue);
    m_backColor = Value;
    Invalidate();
}

void ColorMatch::Init(QWidget* pfrm) {
    m_hostForm = pfrm;
    m_colors = std::make_shared<ColorCollection>();

    UnloadShadows();
    m_shadowRight = fDropShadow::ForView(this, ShadowEdge::Right);
    m_shadowBottom = fDropShadow::ForView(this, ShadowEdge::Bottom);
    m_shadowRight->Show(m_hostForm);
    m_shadowBottom->Show(m_hostForm);

    SetBackColor(White);

    // A control initialised again fills its one popup bar anew.
    for (int i = 0; i < m_commandBars->Count() && !m_popupBar; ++i)
        if (m_commandBars->Item(i)->Name() == QStringLiteral("Popup"))
            m_popupBar = m_commandBars->Item(i);
    if (!m_popupBar)
        m_popupBar = m_commandBars->Add(QStringLiteral("Popup"), CommandBar::Popup);
    m_commandBars->ActiveMenuBar()->SetVisible(false);
    CommandBarControls& controls = m_popupBar->Controls();
    controls.DeleteAll();
    const auto add = [&controls](int id, const QString& caption, bool beginGroup) {
        CommandBarControl* control = controls.Add(CommandBarControl::Button, id, caption, -1, false);
        control->SetBeginGroup(beginGroup);
    };
    add(CommandIds::PieCopyImage, QStringLiteral("&Copy Image"), false);
    add(CommandIds::PieRemoveColor, QStringLiteral("&Remove Color"), true);
    add(CommandIds::PieRemoveAllColors, QStringLiteral("Remove &All Colors"), false);
    add(CommandIds::PieRemoveBackground, QStringLiteral("Remove &Background"), true);

    m_isDirty = false;
}

void ColorMatch::RefreshShadows(int32_t pMessage) {
    for (fDropShadow* shadow : {m_shadowRight.get(), m_shadowBottom.get()})
        if (shadow)
            Subclassing::ForwardMessage(hwnd(), pMessage, shadow);
}

void ColorMatch::HideShadows() {
    for (fDropShadow* shadow : {m_shadowRight.get(), m_shadowBottom.get()})
        if (shadow)
            shadow->Hide();
}

void ColorMatch::ShowShadows() {
    for (fDropShadow* shadow : {m_shadowRight.get(), m_shadowBottom.get()})
        if (shadow)
            shadow->Show();
}

void ColorMatch::Dispose() {
    UnloadShadows();
    m_hostForm = nullptr;
}

void ColorMatch::Refresh() { Invalidate(); }

void ColorMatch::AddColor(const std::shared_ptr<Color>& pColor) {
    if (!m_colors || !pColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    if (!m_colors->Contains(pColor))
        m_colors->Add(pColor);
    m_isDirty = true;
}

void ColorMatch::DeleteColors() {
    m_colors = std::make_shared<ColorCollection>();
    m_isDirty = true;
}

void ColorMatch::Clear() {
    // Each step runs even when one before it failed.
    try {
        DeleteColors();
    } catch (...) {
    }
    try {
        SetBackColor(White);
    } catch (...) {
    }
    try {
        emit SetBackColorWhite();
    } catch (...) {
    }
    Invalidate();
    m_isDirty = false;
}

bool ColorMatch::Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo) {
    try {
        pugi::xml_node colors = XMLShared::CreateNode(pDoc, QStringLiteral("Colors"), QString(), XMLShared::Element);
        XMLShared::AddAttribute(pDoc, colors, QStringLiteral("backcolor"), QString::number(m_backColor));
        colors = XMLShared::AppendChild(appendTo, colors);
        if (m_colors)
            for (const auto& color : *m_colors)
                if (!color->Serialize(pDoc, colors))
                    return false;
        m_isDirty = false;
        return true;
    } catch (...) {
        return false;
    }
}

bool ColorMatch::DeSerialize(QWidget*, pugi::xml_node pState, const QString& pRootFolder) {
    try {
        Clear();
        const pugi::xpath_node_set nodes = pState.select_nodes("Colors/Color");
        // The background is the first attribute, whatever its name.
        const pugi::xml_attribute first = pState.child("Colors").first_attribute();
        if (!first)
            Err::Raise(RuntimeError::ObjectVariableNotSet);
        SetBackColor(Numeric::ToLong(QString::fromUtf8(first.value())));
        for (const pugi::xpath_node& node : nodes) {
            auto color = std::make_shared<Color>();
            if (color->DeSerialize(node.node(), pRootFolder))
                AddColor(color);
        }
        m_isDirty = false;
        return true;
    } catch (...) {
        return false;
    }
}

namespace {

// The picture's pixels as the pie draws them: 32-bit words of blue, green, red and an opaque fourth byte
// in memory, rows top down.
PieRenderer::Surface SurfaceOf(QImage& image) {
    PieRenderer::Surface surface;
    if (image.isNull())
        return surface;
    surface.top = image.bits();
    surface.rowStep = image.bytesPerLine();
    surface.bytesPerPixel = 4;
    surface.width = image.width();
    surface.height = image.height();
    return surface;
}

}  // namespace

bool ColorMatch::DrawPie() {
    if (!m_surfaceStale)
        return !m_surface.isNull();
    m_surfaceStale = false;
    // Before Init there is no list of colours and nothing is drawn, not even the background.
    if (!m_colors || width() <= 0 || height() <= 0) {
        m_surface = QImage();
        return false;
    }
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    if (m_surface.isNull())
        return false;
    std::vector<int32_t> colors;
    colors.reserve(static_cast<size_t>(m_colors->count()));
    for (const auto& color : *m_colors) colors.push_back(color->RGBColor());
    PieRenderer::Draw(SurfaceOf(m_surface), m_backColor, colors);
    return true;
}

void ColorMatch::Invalidate() {
    m_surfaceStale = true;
    update();
}

void ColorMatch::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!DrawPie()) {
        painter.fillRect(event->rect(), palette().color(QPalette::Window));
        return;
    }
    painter.drawImage(event->rect(), m_surface, event->rect());
}

void ColorMatch::resizeEvent(QResizeEvent*) { Invalidate(); }

void ColorMatch::mouseReleaseEvent(QMouseEvent* event) {
    // The pixel as shown: the bitmap is brought up to date first, in case no paint came since a change.
    int32_t picked = -1;
    if (DrawPie())
        picked = PieRenderer::PixelAt(SurfaceOf(m_surface), Numeric::Round(event->position().x()),
                                      Numeric::Round(event->position().y()));
    m_pickedColor = picked;
    if (event->button() == Qt::RightButton && m_popupBar)
        m_popupBar->ShowPopup(event->globalPosition().toPoint());
}

void ColorMatch::OnMenuCommand(CommandBarControl* control) {
    if (!control)
        return;
    switch (control->Id()) {
        case CommandIds::PieRemoveColor: RemovePickedColor(); break;
        case CommandIds::PieRemoveAllColors:
            DeleteColors();
            Invalidate();
            m_isDirty = true;
            break;
        case CommandIds::PieRemoveBackground:
            SetBackColor(White);
            emit SetBackColorWhite();
            m_isDirty = true;
            break;
        case CommandIds::PieCopyImage: CopyImage(); break;
        default: break;
    }
}

void ColorMatch::RemovePickedColor() {
    if (m_colors) {
        int32_t k = 1;
        for (const auto& color : *m_colors) {
            if (MatchHelper::ColorsAreClose(m_pickedColor, color->RGBColor())) {
                m_colors->Remove(k);
                Invalidate();
                break;
            }
            ++k;
        }
    }
    m_isDirty = true;
}

void ColorMatch::CopyImage() {
    m_surfaceStale = true;
    if (!DrawPie())
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(m_surface);
    update();
}

void ColorMatch::UnloadShadows() {
    for (auto* shadow : {&m_shadowRight, &m_shadowBottom}) {
        if (*shadow)
            (*shadow)->Unload();
        shadow->reset();
    }
}
