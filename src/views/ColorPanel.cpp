#include "views/ColorPanel.h"

#include "imaging/cDIBSection.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/FileDialog.h"
#include "platform/ImagingControl.h"
#include "platform/MessageBox.h"
#include "platform/Numeric.h"
#include "platform/PictureBox.h"
#include "platform/RegularFile.h"
#include "platform/RuntimeError.h"
#include "platform/WindowRegistry.h"
#include "services/FileShared.h"
#include "services/Subclassing.h"
#include "services/XMLShared.h"
#include "services/fDropShadow.h"
#include "views/SwatchRenderer.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QSlider>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <sys/stat.h>

namespace {

// The imaging control's error for a picture file that does not exist.
constexpr int32_t PictureFileNotFound = 32504;

QColor fromPacked(int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

}  // namespace

// Counts a pass while it lives; the outermost, as it ends, runs what arrived during it.
class ColorPanel::Pass {
public:
    explicit Pass(ColorPanel& panel) : m_panel(panel) { ++m_panel.m_passDepth; }
    ~Pass() {
        if (--m_panel.m_passDepth == 0)
            m_panel.RunDeferred();
    }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

private:
    ColorPanel& m_panel;
};

ColorPanel::ColorPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);

    pic = new PictureBox(this);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setGeometry(0, 0, width(), height());
    pic->setMouseTracking(true);
    pic->setAcceptDrops(true);
    pic->installEventFilter(this);
    pic->SetPaintHandler([this](QPainter& painter) { PaintSurface(painter); });

    picReference = new PictureBox(this);
    picReference->setObjectName(QStringLiteral("picReference"));
    picReference->resize(64, 32);

    im = new ImagingControl(this);
    im->setObjectName(QStringLiteral("im"));
    im->move(-im->width(), im->y());
    im->hide();

    picColor = SwatchPopup::MakeSliderBox(this, Label1, sldColor);
    for (QSlider* slider : sldColor) connect(slider, &QSlider::valueChanged, this, [this] { SliderChange(); });

    m_renderer = std::make_unique<SwatchRenderer>();
    m_popup = new SwatchPopup(this, *this);
}

ColorPanel::~ColorPanel() {
    ShowColor(nullptr);
    UnloadShadows();
    // The command bars go while the swatch they watch is still whole.
    delete m_popup;
}

int32_t ColorPanel::hwnd() const { return WindowRegistry::Handle(const_cast<ColorPanel*>(this)); }

bool ColorPanel::Ready() const { return m_color != nullptr; }

bool ColorPanel::Enabled() const { return isEnabled(); }

void ColorPanel::SetEnabled(bool enabled) { setEnabled(enabled); }

PictureBox* ColorPanel::PictureColor() const { return picReference; }

void ColorPanel::SetFixed(bool fixed) { m_fixed = fixed; }

bool ColorPanel::Fixed() const { return m_fixed; }

int32_t ColorPanel::Style() const { return m_style; }

void ColorPanel::SetStyle(int32_t eStyle) {
    if (m_style == PanelStyle::Raised && eStyle == PanelStyle::Plain) {
        HideShadows();
        UnloadShadows();
        m_style = PanelStyle::Plain;
    } else if (eStyle == PanelStyle::Raised) {
        m_style = PanelStyle::Raised;
        CreateShadows();
    }
}

bool ColorPanel::Selected() const { return m_selected; }

void ColorPanel::SetSelected(bool bSelected) {
    m_selected = bSelected;
    SetStyle(bSelected ? PanelStyle::Raised : PanelStyle::Plain);
    emit SelectedStatusChanged(bSelected);
}

bool ColorPanel::Textured() const { return m_color && TextureKindOfColor() != TextureKind::None; }

std::shared_ptr<Color> ColorPanel::PanelColor() const { return m_color; }

bool ColorPanel::HasColor() const { return Ready(); }

bool ColorPanel::SuspendLayout() const { return m_suspendLayout; }

void ColorPanel::SetSuspendLayout(bool bSuspendLayout) {
    m_suspendLayout = bSuspendLayout;
    if (!bSuspendLayout) {
        CreateShadows();
        update();
    }
}

void ColorPanel::SetPopupIcons(std::shared_ptr<CommandBarImageManager> icons) { m_popup->SetIcons(std::move(icons)); }

void ColorPanel::Exclusive(std::function<void()> request) {
    if (m_passDepth > 0) {
        m_deferred.push_back(std::move(request));
        return;
    }
    Pass pass(*this);
    request();
}

void ColorPanel::RunDeferred() {
    while (!m_deferred.empty()) {
        const std::function<void()> next = std::move(m_deferred.front());
        m_deferred.pop_front();
        Pass pass(*this);
        // A deferred request has no caller left to take its error.
        try {
            next();
        } catch (...) {
        }
    }
}

void ColorPanel::Init(QWidget* pfrm, std::shared_ptr<Color> pColor, int32_t pStyle, bool pContainerIsHistory,
                      bool pFixed) {
    if (!pColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    Exclusive([=, this] { DoInit(pfrm, pColor, pStyle, pContainerIsHistory, pFixed); });
}

void ColorPanel::DoInit(QWidget* pfrm, std::shared_ptr<Color> pColor, int32_t pStyle, bool pContainerIsHistory,
                        bool pFixed) {
    picReference->move(-2 * picReference->width(), picReference->y());
    m_owner = pfrm;
    if (!pColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    ShowColor(std::move(pColor));
    SetSliders();
    SetStyle(pStyle);
    PrepareTexture();
    m_popup->Build(pContainerIsHistory, picColor, m_color->ColorTexture());
    m_fixed = pFixed;
}

void ColorPanel::SetColor(std::shared_ptr<Color> pColor) {
    if (m_fixed)
        return;
    if (!pColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    if (m_passDepth == 0) {
        Pass pass(*this);
        DoSetColor(std::move(pColor));
        return;
    }
    // Colours that arrive during a pass replace one another: only the latest is shown.
    m_pendingColor = std::move(pColor);
    if (m_colorQueued)
        return;
    m_colorQueued = true;
    m_deferred.push_back([this] {
        m_colorQueued = false;
        if (std::shared_ptr<Color> latest = std::move(m_pendingColor); latest && !m_fixed)
            DoSetColor(std::move(latest));
    });
}

void ColorPanel::DoSetColor(std::shared_ptr<Color> pColor) {
    // Only the previous colour's texture is read below; a clone of the whole colour would cost a temporary name.
    const std::shared_ptr<Texture> previousTexture = m_color ? m_color->ColorTexture() : nullptr;
    if (m_color && m_color != pColor && m_color->Viewers() == 1)
        TakeOverFile(*m_color, *pColor);
    ShowColor(std::move(pColor));
    const auto& texture = m_color->ColorTexture();
    m_popup->CheckTexture(texture ? texture->Id() : 0);
    SetSliders();
    RefreshReference();
    if (!previousTexture || previousTexture->TextureType() != TextureKind::Image) {
        PrepareTexture();
    } else {
        // The picture travels to the new colour and is recoloured from the cached grey bitmap.
        m_color->SetColorTexture(previousTexture->Clone());
        ShowImage(false);
        SavePictureColourFile();
    }
}

void ColorPanel::ShowColor(std::shared_ptr<Color> pColor) {
    if (pColor)
        pColor->AddViewer();
    if (const std::shared_ptr<Color> previous = std::exchange(m_color, std::move(pColor)))
        previous->RemoveViewer();
}

// A colour that no other swatch shows would delete its file as the next colour's is created and written;
// handing the file over by a rename spares the file system both, and the render rewrites it in place.
void ColorPanel::TakeOverFile(const Color& leaving, const Color& coming) {
    const QString from = leaving.TemporaryImagePath();
    const QString to = coming.TemporaryImagePath();
    if (from.isEmpty() || to.isEmpty() || from == to || from == App::Path() + QStringLiteral("/stdcolor.bmp"))
        return;
    const QByteArray target = QFile::encodeName(to);
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0 || errno != ENOENT)
        return;
    ::rename(QFile::encodeName(from).constData(), target.constData());
}

void ColorPanel::Clear() {
    Exclusive([this] { DoClear(); });
}

void ColorPanel::DoClear() {
    m_fixed = false;
    if (!m_color)
        return;
    m_color->Clear();
    m_popup->CheckTexture(1);
    PrepareTexture();
    pic->setGeometry(0, 0, width(), height());
}

void ColorPanel::ChangeTexture(std::shared_ptr<Texture> pTexture) {
    Exclusive([this, pTexture] { DoChangeTexture(pTexture); });
}

void ColorPanel::DoChangeTexture(std::shared_ptr<Texture> pTexture) {
    if (!m_color || !pTexture)
        return;
    m_color->SetColorTexture(pTexture);
    PrepareTexture();
    m_popup->CheckTexture(pTexture->Id());
    if (TextureKindOfColor() == TextureKind::Image)
        ShowImage(true);
}

void ColorPanel::RefreshImageFile() {
    Exclusive([this] {
        PrepareTexture();
        ShowImage(false);
    });
}

bool ColorPanel::LoadColorizer() {
    // The host answering RequestNewImage may give a picture while the pass that asked is still running.
    if (m_answeringRequest)
        return DoLoadColorizer();
    if (m_passDepth > 0) {
        m_deferred.push_back([this] { DoLoadColorizer(); });
        return false;
    }
    Pass pass(*this);
    return DoLoadColorizer();
}

bool ColorPanel::DoLoadColorizer() {
    const FileDialog::Result chosen = FileDialog::Show(FileDialog::PictureOpenRequest(m_owner ? m_owner : window()));
    if (!chosen.accepted)
        return false;
    if (!TakeImageFile(chosen.fileName)) {
        MessageBox::Show(QStringLiteral("Error loading image."), MessageBox::Information, App::Title());
        return false;
    }
    pic->update();
    return true;
}

void ColorPanel::RemoveColorizer() {
    Exclusive([this] { DoRemoveColorizer(); });
}

void ColorPanel::DoRemoveColorizer() {
    if (!m_color || !m_color->ColorTexture())
        return;
    m_color->ColorTexture()->SetTextureType(TextureKind::None);
    m_color->ColorTexture()->SetPath(QString());
    try {
        im->SetFileName(QString());
    } catch (const RuntimeError&) {
    }
    im->Refresh();
    UserControlResize();
    pic->update();
}

void ColorPanel::RefreshShadows(int32_t pMessage) {
    if (m_style == PanelStyle::Plain)
        return;
    for (fDropShadow* shadow : {m_rightShadow.get(), m_bottomShadow.get()}) {
        if (!shadow)
            continue;
        Subclassing::ForwardMessage(hwnd(), pMessage, shadow);
        shadow->Show(m_owner);
    }
}

void ColorPanel::HideShadows() {
    if (m_style == PanelStyle::Plain)
        return;
    for (fDropShadow* shadow : {m_rightShadow.get(), m_bottomShadow.get()})
        if (shadow)
            shadow->Hide();
}

void ColorPanel::Dispose() {
    Exclusive([this] { DoDispose(); });
}

void ColorPanel::DoDispose() {
    UnloadShadows();
    ShowColor(nullptr);
    m_owner = nullptr;
    m_renderer->Release();
    m_popup->Release();
    pic->update();
}

bool ColorPanel::Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo) {
    try {
        pugi::xml_node panel = XMLShared::CreateNode(pDoc, QStringLiteral("Panel"), QString(), XMLShared::Element);
        XMLShared::AddAttribute(pDoc, panel, QStringLiteral("style"), QString::number(m_style));
        XMLShared::AddAttribute(pDoc, panel, QStringLiteral("candel"),
                                m_canDelete ? QStringLiteral("1") : QStringLiteral("0"));
        XMLShared::AddAttribute(pDoc, panel, QStringLiteral("fixed"),
                                m_fixed ? QStringLiteral("1") : QStringLiteral("0"));
        panel = XMLShared::AppendChild(appendTo, panel);
        if (!m_color)
            Err::Raise(RuntimeError::ObjectVariableNotSet);
        return m_color->Serialize(pDoc, panel);
    } catch (...) {
        return false;
    }
}

bool ColorPanel::DeSerialize(QWidget*, pugi::xml_node pState) {
    try {
        const QString fixed = XMLShared::AttributeText(pState, "fixed");
        m_fixed = fixed == QStringLiteral("1");
        Exclusive([this] { UserControlResize(); });
        return true;
    } catch (...) {
        return false;
    }
}

int32_t ColorPanel::TextureKindOfColor() const {
    if (!m_color || !m_color->ColorTexture())
        return TextureKind::None;
    return m_color->ColorTexture()->TextureType();
}

void ColorPanel::PrepareTexture() {
    if (!m_color)
        return;
    const int32_t kind = TextureKindOfColor();
    if (kind == TextureKind::None || kind == TextureKind::Image)
        m_renderer->ReleasePattern();
    else if (kind == TextureKind::Pattern)
        m_renderer->LoadPattern(*m_color->ColorTexture());
    RenderPanel();
}

void ColorPanel::RenderPanel() {
    const int32_t kind = TextureKindOfColor();
    // Only an image texture gives the surface a size of its own.
    if (kind != TextureKind::Image)
        pic->setGeometry(0, 0, width(), height());
    const int32_t rgb = m_color->RGBColor();
    pic->SetPicture(QImage());
    pic->SetBackColor(rgb);
    // Under a picture the plain colour is seen, copied and written only at the swatch's own size: a plain
    // colour is the same at any size, and at a large picture's size the fill and the file would be the pass.
    if (kind == TextureKind::Image)
        m_renderer->Render(VisibleSurface().width(), VisibleSurface().height(), rgb, false);
    else
        m_renderer->Render(pic->width(), pic->height(), rgb, kind == TextureKind::Pattern);
    RefreshReference();
    if (kind == TextureKind::Image)
        ShowImage(false);
    pic->update();
    // Around a picture smaller than the swatch the swatch itself shows the colour.
    if (rgb != m_backColor) {
        m_backColor = rgb;
        update();
    }
    SaveTemporaryImage();
    emit Changed();
}

int32_t ColorPanel::ShowImage(bool reload, bool askForMissing) {
    int32_t error = 0;
    try {
        if (!m_color)
            Err::Raise(RuntimeError::ObjectVariableNotSet);
        if (TextureKindOfColor() != TextureKind::Image && !reload)
            return 0;
        if (reload || !m_renderer->HasRecoloured()) {
            const QString path = m_color->ColorTexture()->path();
            const QImage grey = SwatchRenderer::GreyPicture(path, [&] {
                im->SetFileName(path);
                im->ReduceColors(256, true, true);
                return im->Picture();
            });
            im->TakePicture(path, grey);
            im->Refresh();
            pic->setGeometry(0, 0, im->PictureWidth(), im->PictureHeight());
            m_renderer->LoadPicture(im->Picture());
        }
        m_renderer->Recolour(m_color->Hue());
        pic->update();
        RefreshReference();
    } catch (const RuntimeError& e) {
        error = e.Number();
    } catch (...) {
        error = RuntimeError::InvalidProcedureCall;
    }
    if (error == PictureFileNotFound && askForMissing && m_color && m_color->ColorTexture()) {
        const QString message = QStringLiteral("Cannot find the image ") +
                                FileShared::GetFileName(m_color->ColorTexture()->path()) +
                                QStringLiteral(". Do you want to look for this picture?");
        bool added = false;
        const bool answering = m_answeringRequest;
        m_answeringRequest = true;
        emit RequestNewImage(message, added);
        m_answeringRequest = answering;
        if (!added)
            DoRemoveColorizer();
    }
    return error;
}

bool ColorPanel::TakeImageFile(const QString& file) {
    if (!m_color || !m_color->ColorTexture())
        return false;
    // A file that is no picture never reaches the texture, so the swatch keeps its look.
    if (!RegularFile::IsRegular(file) || !QImageReader(file).canRead())
        return false;
    const auto& texture = m_color->ColorTexture();
    const int32_t oldKind = texture->TextureType();
    const QString oldPath = texture->path();
    const bool oldInternal = texture->Internal();
    texture->SetTextureType(TextureKind::Image);
    texture->SetPath(file);
    texture->SetInternal(false);
    if (ShowImage(true, false) == 0 && m_renderer->Image() && m_renderer->Image()->Width() > 0) {
        SavePictureColourFile();
        return true;
    }
    texture->SetTextureType(oldKind);
    texture->SetPath(oldPath);
    texture->SetInternal(oldInternal);
    // A failed load leaves the imaging control's previous picture, so an earlier picture is still there.
    if (oldKind != TextureKind::Image)
        m_renderer->ReleasePicture();
    UserControlResize();
    return false;
}

void ColorPanel::SaveTemporaryImage() {
    // The plain bitmap is what the surface's own picture holds: the colour at the surface's size (at the
    // swatch's size under a picture, where the textured bitmap is the plain colour too).
    const cDIBSection& shown = Textured() ? *m_renderer->Textured() : *m_renderer->Plain();
    const QString path = m_color->TemporaryImagePath();
    // A swatch of no size saves headers only, which SavePicture reports as a failure: nothing to tell.
    FileShared::WriteTemporaryFile(path, [&] { return shown.SavePicture(path) || shown.Width() == 0; });
}

void ColorPanel::SavePictureColourFile() {
    // A picture recoloured without a render still leaves its colour's file current: the stage fills
    // with it. The file holds only the plain colour, so it is written at the swatch's own size; at a
    // large picture's size the write alone would outlast the recolour.
    if (TextureKindOfColor() != TextureKind::Image)
        return;
    const QSize size = VisibleSurface();
    const QString path = m_color->TemporaryImagePath();
    const int32_t rgb = m_color->RGBColor();
    FileShared::WriteTemporaryFile(
        path, [&] { return SwatchRenderer::WritePlainFile(path, size.width(), size.height(), rgb) || size.isEmpty(); });
}

QSize ColorPanel::VisibleSurface() const { return (pic->geometry() & rect()).size(); }

void ColorPanel::RefreshReference() {
    if (!m_color)
        return;
    picReference->SetPicture(QImage());
    picReference->SetBackColor(m_color->RGBColor());
    picReference->SetPicture(picReference->Image());
    picReference->update();
}

void ColorPanel::PaintSurface(QPainter& painter) {
    if (!m_color)
        return;
    if (const cDIBSection* bitmap = m_renderer->Shown(TextureKindOfColor())) {
        // On the screen only the part of the surface the swatch leaves visible is drawn.
        const QRect whole(0, 0, bitmap->Width(), bitmap->Height());
        const QRect area = painter.device() == pic ? pic->visibleRegion().boundingRect() & whole : whole;
        const QImage rows = SwatchRenderer::ScreenRows(*bitmap, area);
        if (!rows.isNull())
            painter.drawImage(area.topLeft(), rows);
    }
    const int32_t rgb = m_color->RGBColor();
    if (rgb != m_backColor) {
        m_backColor = rgb;
        update();
    }
}

void ColorPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_backColor >= 0)
        painter.fillRect(rect(), fromPacked(m_backColor));
    else
        painter.fillRect(rect(), palette().color(QPalette::Window));
}

void ColorPanel::resizeEvent(QResizeEvent*) {
    if (m_passDepth == 0) {
        Pass pass(*this);
        UserControlResize();
        return;
    }
    // The size is read when the deferred resize runs, so several resizes make one.
    if (m_resizeQueued)
        return;
    m_resizeQueued = true;
    m_deferred.push_back([this] {
        m_resizeQueued = false;
        UserControlResize();
    });
}

void ColorPanel::UserControlResize() {
    try {
        if (!m_color) {
            pic->setGeometry(0, 0, width(), height());
            return;
        }
        if (TextureKindOfColor() == TextureKind::Image)
            pic->setGeometry(0, 0, im->PictureWidth(), im->PictureHeight());
        else
            pic->setGeometry(0, 0, width(), height());
        RenderPanel();
    } catch (...) {
    }
}

void ColorPanel::CreateShadows() {
    if (m_style == PanelStyle::Plain || isHidden())
        return;
    UnloadShadows();
    m_rightShadow = fDropShadow::ForView(this, ShadowEdge::Right);
    m_bottomShadow = fDropShadow::ForView(this, ShadowEdge::Bottom);
    if (!m_suspendLayout) {
        m_rightShadow->Show(m_owner);
        m_bottomShadow->Show(m_owner);
    }
}

void ColorPanel::UnloadShadows() {
    for (auto* shadow : {&m_rightShadow, &m_bottomShadow}) {
        if (*shadow)
            (*shadow)->Unload();
        shadow->reset();
    }
}

void ColorPanel::SetSliders() {
    if (!m_color)
        return;
    // Positions set from the colour are no moves of the user's.
    const int32_t values[3] = {m_color->Red(), m_color->Green(), m_color->Blue()};
    for (int i = 0; i < 3; ++i) {
        QSignalBlocker blocker(sldColor[i]);
        sldColor[i]->setValue(values[i]);
    }
}

void ColorPanel::SliderChange() {
    // A move during a pass (the swatch's own render among them) is not lost: it is applied after it.
    if (m_passDepth > 0) {
        // The sliders are read when the deferred change runs, so several moves make one.
        if (!m_sliderQueued) {
            m_sliderQueued = true;
            m_deferred.push_back([this] {
                m_sliderQueued = false;
                ApplySliders();
            });
        }
        return;
    }
    Pass pass(*this);
    ApplySliders();
}

void ColorPanel::ApplySliders() {
    if (m_sliderGuard)
        return;
    m_sliderGuard = true;
    // Each step ignores its own error and the next still runs: a render that fails must not keep the
    // host from hearing that the colour changed.
    const auto step = [](const auto& action) {
        try {
            action();
        } catch (...) {
        }
    };
    if (m_color && m_fixed) {
        // A fixed swatch keeps its colour; the sliders go back to it.
        step([this] { SetSliders(); });
    } else if (m_color) {
        const std::shared_ptr<Color> color = m_color;
        step([&] { color->SetColor(sldColor[0]->value(), sldColor[1]->value(), sldColor[2]->value()); });
        step([&] {
            if (!m_fixed)
                DoSetColor(color);
        });
        step([this] { m_popup->RenewCaptions(); });
        step([&] { emit ColorChanged(color); });
    }
    m_sliderGuard = false;
}
