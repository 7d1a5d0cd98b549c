#include "views/ColorPanel.h"

#include "imaging/cColourise.h"
#include "imaging/cDIBSection.h"
#include "imaging/cTexturise.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBars.h"
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
#include "services/xptHelper.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>

#include <cmath>
#include <cstring>

namespace {

// Command ids of the popup.
enum PopupId : int {
    CopyImage = 4003,
    DeleteColor = 4004,
    CopyRGB = 30000,
    CopyHSB = 30001,
    CopyHTML = 30002,
    FixIt = 30003,
    LoadImage = 30004,
    RemoveImage = 30005,
    KeepIt = 30006,
    AdjustColor = 40000,
    Adjust = 40001,
    TexturesMenu = 15102,
    DeleteAllColors = 60000,
    CommentsItem = 60001,
    AddAll = 60002,
    AddBlackWhite = 60003,
    SortMenu = 61001,
    SortFirst = 61002,
    SortLast = 61009,
};

// The imaging control's error for a picture file that does not exist.
constexpr int32_t PictureFileNotFound = 32504;

constexpr double TwipsPerInch = 1440.0;

QColor fromPacked(int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

int16_t buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 0;
    }
}

int16_t buttonsCode(Qt::MouseButtons buttons) {
    int16_t code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int16_t shiftCode(Qt::KeyboardModifiers modifiers) {
    int16_t code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

// The colouriser measures hue on 0..255 with 0 as magenta (its sextant -1) and 255 as magenta (5):
// sextant = value * 6 / 255 - 1. The colour's hue in degrees lands in the same sextant when
// value = (degrees / 60 + 1) * 255 / 6, the magenta-red degrees above 300 wrapping to the low end.
// (degrees + 60) mod 360 times 17/24 keeps the halves exact, so they round to even as written.
int32_t colouriserHue(int32_t degrees) {
    const int32_t hue = std::clamp(degrees, 0, 359);
    return Numeric::Round(((hue + 60) % 360) * 17.0 / 24.0);
}

void fillPlain(cDIBSection& bitmap, int32_t rgb) {
    uint8_t* bits = bitmap.DIBSectionBitsPtr();
    if (!bits)
        return;
    const int32_t stride = bitmap.BytesPerScanLine();
    const uint8_t blue = static_cast<uint8_t>((rgb >> 16) & 0xFF);
    const uint8_t green = static_cast<uint8_t>((rgb >> 8) & 0xFF);
    const uint8_t red = static_cast<uint8_t>(rgb & 0xFF);
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
        bits[3 * x] = blue;
        bits[3 * x + 1] = green;
        bits[3 * x + 2] = red;
    }
    std::memset(bits + 3 * bitmap.Width(), 0, static_cast<size_t>(stride - 3 * bitmap.Width()));
    for (int32_t y = 1; y < bitmap.Height(); ++y)
        std::memcpy(bits + static_cast<size_t>(y) * stride, bits, static_cast<size_t>(stride));
}

void copyBits(const cDIBSection& from, cDIBSection& to) {
    if (from.DIBSectionBitsPtr() && to.DIBSectionBitsPtr())
        std::memcpy(to.DIBSectionBitsPtr(), from.DIBSectionBitsPtr(),
                    static_cast<size_t>(from.BytesPerScanLine()) * from.Height());
}

// The first of the dropped items that is a file; empty when none is.
QString firstDroppedFile(const QMimeData* data) {
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return QString();
}

void setClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

}  // namespace

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

    // The slider box lives hidden until the popup lends it to its "Adj&ust Color" submenu.
    const double pixelsPerTwip = logicalDpiX() / TwipsPerInch;
    const auto px = [pixelsPerTwip](int twips) { return Numeric::Round(twips * pixelsPerTwip); };
    picColor = new PictureBox(this);
    picColor->setObjectName(QStringLiteral("picColor"));
    const QColor face = palette().color(QPalette::Window);
    picColor->SetBackColor(face.red() + 256 * face.green() + 65536 * face.blue());
    picColor->resize(px(2235), px(975));
    picColor->hide();
    const QString captions[3] = {QStringLiteral("Red:"), QStringLiteral("Green:"), QStringLiteral("Blue:")};
    const int tops[3] = {60, 360, 660};
    // Where Tahoma is missing a wider face stands in; it shrinks until "Green:" ends before its slider.
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    while (font.pointSizeF() > 5.0 && QFontMetrics(font).horizontalAdvance(captions[1]) > px(540 - 60))
        font.setPointSizeF(font.pointSizeF() - 0.25);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(captions[i], picColor);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setFont(font);
        label->move(px(60), px(tops[i]));
        label->resize(px(540 - 60), px(255));
        Label1.push_back(label);

        auto* slider = new QSlider(Qt::Horizontal, picColor);
        slider->setObjectName(QStringLiteral("sldColor%1").arg(i));
        slider->setRange(0, 255);
        slider->setSingleStep(1);
        slider->setPageStep(10);
        // A change is reported once the thumb is let go, not on every step of a drag.
        slider->setTracking(false);
        slider->setGeometry(px(540), px(tops[i]), px(1695), px(255));
        connect(slider, &QSlider::valueChanged, this, [this] { SliderChange(); });
        sldColor.push_back(slider);
    }

    m_commandBars = new CommandBars(this);
    m_commandBars->setParent(this);
    m_commandBars->setObjectName(QStringLiteral("CommandBars"));
    // A command that fails ends quietly: it runs from the event loop, where nothing could take the error.
    connect(m_commandBars, &CommandBars::Execute, this, [this](CommandBarControl* control) {
        try {
            PopupExecute(control);
        } catch (...) {
        }
    });
    connect(m_commandBars, &CommandBars::InitCommandsPopup, this, [this](CommandBar* bar) { PopupOpening(bar); });
}

ColorPanel::~ColorPanel() {
    UnloadShadows();
    // The command bars go while the swatch they watch is still whole.
    delete m_commandBars;
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

void ColorPanel::Init(QWidget* pfrm, std::shared_ptr<Color> pColor, int32_t pStyle, bool pContainerIsHistory,
                      bool pFixed) {
    picReference->move(-2 * picReference->width(), picReference->y());
    m_owner = pfrm;
    if (!pColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    m_color = std::move(pColor);
    SetSliders();
    SetStyle(pStyle);
    PrepareTexture();
    BuildPopup(pContainerIsHistory);
    m_fixed = pFixed;
}

void ColorPanel::SetColor(std::shared_ptr<Color> pColor) {
    if (m_fixed)
        return;
    if (!pColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    std::shared_ptr<Color> previous;
    if (m_color)
        previous = m_color->Clone();
    m_color = std::move(pColor);
    const auto& texture = m_color->ColorTexture();
    CheckTextureItem(texture ? texture->Id() : 0);
    SetSliders();
    RefreshReference();
    const auto& previousTexture = previous ? previous->ColorTexture() : nullptr;
    if (!previousTexture || previousTexture->TextureType() != TextureKind::Image) {
        PrepareTexture();
    } else {
        // The picture travels to the new colour and is recoloured from the cached grey bitmap.
        m_color->SetColorTexture(previousTexture->Clone());
        ShowImage(false);
        SavePictureColourFile();
    }
}

void ColorPanel::Clear() {
    m_fixed = false;
    if (!m_color)
        return;
    m_color->Clear();
    CheckTextureItem(1);
    PrepareTexture();
    pic->setGeometry(0, 0, width(), height());
}

void ColorPanel::ChangeTexture(std::shared_ptr<Texture> pTexture) {
    if (!m_color || !pTexture)
        return;
    m_color->SetColorTexture(pTexture);
    PrepareTexture();
    CheckTextureItem(pTexture->Id());
    if (TextureKindOfColor() == TextureKind::Image)
        ShowImage(true);
}

void ColorPanel::RefreshImageFile() {
    PrepareTexture();
    ShowImage(false);
}

bool ColorPanel::LoadColorizer() {
    FileDialog::Request request;
    request.mode = FileDialog::Mode::Open;
    request.flags = FileDialog::FileMustExist | FileDialog::HideReadOnly;
    request.filter =
        QStringLiteral("Pictures (*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga)|*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga");
    request.title = QStringLiteral("Open image");
    request.parent = m_owner ? m_owner : window();
    const FileDialog::Result chosen = FileDialog::Show(request);
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
    UnloadShadows();
    m_color.reset();
    m_owner = nullptr;
    m_texturiser.reset();
    m_image.reset();
    m_recoloured.reset();
    m_plain.reset();
    m_textured.reset();
    m_colouriser.reset();
    if (m_popupBar) {
        m_popupBar->Controls().DeleteAll();
        m_popupBar = nullptr;
    }
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
        m_color->Serialize(pDoc, panel);
        return true;
    } catch (...) {
        return false;
    }
}

bool ColorPanel::DeSerialize(QWidget*, pugi::xml_node pState) {
    try {
        const QString fixed = XMLShared::AttributeText(pState, "fixed");
        m_fixed = fixed == QStringLiteral("1");
        UserControlResize();
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
    if (kind == TextureKind::None || kind == TextureKind::Image) {
        m_texturiser.reset();
    } else if (kind == TextureKind::Pattern) {
        m_texturiser = std::make_unique<cTexturise>();
        const auto& texture = m_color->ColorTexture();
        if (texture->Internal())
            m_texturiser->LoadTexture(App::Path() + QStringLiteral("/textures/") + texture->path());
        else if (FileShared::FileExists(texture->path()))
            m_texturiser->LoadTexture(texture->path());
    }
    RenderPanel();
}

void ColorPanel::RenderPanel() {
    m_plain = std::make_unique<cDIBSection>();
    m_textured = std::make_unique<cDIBSection>();
    const int32_t kind = TextureKindOfColor();
    // Only an image texture gives the surface a size of its own.
    if (kind != TextureKind::Image)
        pic->setGeometry(0, 0, width(), height());
    const int32_t rgb = m_color->RGBColor();
    pic->SetPicture(QImage());
    pic->SetBackColor(rgb);
    if (m_plain->Create(pic->width(), pic->height()))
        fillPlain(*m_plain, rgb);
    if (m_textured->Create(m_plain->Width(), m_plain->Height()))
        copyBits(*m_plain, *m_textured);
    RefreshReference();
    if (kind == TextureKind::Pattern) {
        if (m_texturiser)
            m_texturiser->ApplyTexture(*m_plain, *m_textured, 100, 64, 100);
    } else if (kind == TextureKind::Image) {
        ShowImage(false);
    }
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
        if (reload || !m_recoloured) {
            im->SetFileName(m_color->ColorTexture()->path());
            im->ReduceColors(256, true, true);
            im->Refresh();
            pic->setGeometry(0, 0, im->PictureWidth(), im->PictureHeight());
            m_image = std::make_unique<cDIBSection>();
            m_recoloured = std::make_unique<cDIBSection>();
            m_colouriser = std::make_unique<cColourise>();
            m_image->CreateFromPicture(im->Picture());
        }
        m_recoloured->Create(m_image->Width(), m_image->Height());
        m_colouriser->SetHue(colouriserHue(m_color->Hue()));
        m_colouriser->SetSaturation(100);
        m_colouriser->Process(*m_image, *m_recoloured);
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
        emit RequestNewImage(message, added);
        if (!added)
            RemoveColorizer();
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
    if (ShowImage(true, false) == 0 && m_image && m_image->Width() > 0) {
        SavePictureColourFile();
        return true;
    }
    texture->SetTextureType(oldKind);
    texture->SetPath(oldPath);
    texture->SetInternal(oldInternal);
    // A failed load leaves the imaging control's previous picture, so an earlier picture is still there.
    if (oldKind != TextureKind::Image) {
        m_image.reset();
        m_recoloured.reset();
    }
    UserControlResize();
    return false;
}

void ColorPanel::SaveTemporaryImage() {
    // The plain bitmap is what the surface's own picture holds: the colour at the surface's size.
    const cDIBSection& shown = Textured() ? *m_textured : *m_plain;
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
    cDIBSection plain;
    if (!plain.Create(width(), height()))
        return;
    fillPlain(plain, m_color->RGBColor());
    const QString path = m_color->TemporaryImagePath();
    FileShared::WriteTemporaryFile(path, [&] { return plain.SavePicture(path); });
}

void ColorPanel::RefreshReference() {
    if (!m_color)
        return;
    picReference->SetPicture(QImage());
    picReference->SetBackColor(m_color->RGBColor());
    picReference->SetPicture(picReference->Image());
    picReference->update();
}

const cDIBSection* ColorPanel::ShownBitmap() const {
    switch (TextureKindOfColor()) {
        case TextureKind::Pattern: return m_textured.get();
        case TextureKind::Image: return m_recoloured.get();
        default: return m_plain.get();
    }
}

void ColorPanel::PaintSurface(QPainter& painter) {
    if (!m_color)
        return;
    if (const cDIBSection* bitmap = ShownBitmap(); bitmap && bitmap->Width() > 0)
        bitmap->PaintPicture(painter, 0, 0);
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

void ColorPanel::resizeEvent(QResizeEvent*) { UserControlResize(); }

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
    m_rightShadow = std::make_unique<fDropShadow>();
    m_bottomShadow = std::make_unique<fDropShadow>();
    m_rightShadow->SetShadowSize(5);
    m_rightShadow->SetShadowType(ShadowEdge::Right);
    m_rightShadow->SetShadow(this);
    m_bottomShadow->SetShadowSize(5);
    m_bottomShadow->SetShadowType(ShadowEdge::Bottom);
    m_bottomShadow->SetShadow(this);
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
        step([&] { SetColor(color); });
        step([this] {
            if (m_popupBar) {
                SetCopyCaptions(m_popupBar);
                m_popupBar->RedrawBar();
            }
        });
        step([&] { emit ColorChanged(color); });
    }
    m_sliderGuard = false;
}

void ColorPanel::BuildPopup(bool containerIsHistory) {
    // The popup's commands show the icons the host window's command bars hold under their ids.
    if (m_owner)
        if (auto* hostBars = m_owner->findChild<CommandBars*>(QString(), Qt::FindDirectChildrenOnly))
            m_commandBars->SetIcons(hostBars->SharedIcons());
    m_commandBars->ActiveMenuBar()->SetVisible(false);
    // A swatch that is disposed and initialised again fills its one popup bar anew.
    for (int i = 0; i < m_commandBars->Count() && !m_popupBar; ++i)
        if (m_commandBars->Item(i)->Name() == QStringLiteral("Popup"))
            m_popupBar = m_commandBars->Item(i);
    if (!m_popupBar)
        m_popupBar = m_commandBars->Add(QStringLiteral("Popup"), CommandBar::Popup);
    CommandBarControls& controls = m_popupBar->Controls();
    controls.DeleteAll();
    const auto add = [](CommandBarControls& to, CommandBarControl::Type type, int id, const QString& caption,
                        bool beginGroup = false) {
        CommandBarControl* control = to.Add(type, id, caption, -1, false);
        if (beginGroup)
            control->SetBeginGroup(true);
        return control;
    };
    if (!containerIsHistory) {
        add(controls, CommandBarControl::Button, KeepIt, QStringLiteral("&Keep it!"));
        add(controls, CommandBarControl::Button, FixIt, QStringLiteral("&Fix it!"));
    }
    add(controls, CommandBarControl::Button, CopyRGB, QString(), true);
    add(controls, CommandBarControl::Button, CopyHSB, QString());
    add(controls, CommandBarControl::Button, CopyHTML, QString());
    add(controls, CommandBarControl::Button, CopyImage, QStringLiteral("Cop&y Image"), true);
    CommandBarControl* adjust = add(controls, CommandBarControl::Popup, AdjustColor, QStringLiteral("Adj&ust Color"));
    auto* sliders = static_cast<CommandBarCustom*>(
        add(adjust->GetCommandBar()->Controls(), CommandBarControl::Custom, Adjust, QStringLiteral("&Adjust")));
    sliders->SetHandle(picColor);
    add(controls, CommandBarControl::Button, LoadImage, QStringLiteral("&Load Image..."), true);
    add(controls, CommandBarControl::Button, RemoveImage, QStringLiteral("&Remove Image"));
    CommandBarControl* textures =
        add(controls, CommandBarControl::Popup, TexturesMenu, QStringLiteral("&Textures"), true);
    const auto& own = m_color ? m_color->ColorTexture() : nullptr;
    for (size_t i = 0; i < Globals::Textures.size(); ++i) {
        const auto& texture = Globals::Textures[i];
        CommandBarControl* item = add(textures->GetCommandBar()->Controls(), CommandBarControl::Button, texture->Id(),
                                      texture->Name(), i == 1);
        item->SetChecked(own && texture->Equals(own));
    }
    if (containerIsHistory) {
        add(controls, CommandBarControl::Button, DeleteColor, QStringLiteral("&Delete Color"), true);
        add(controls, CommandBarControl::Button, DeleteAllColors, QStringLiteral("D&elete All"));
        add(controls, CommandBarControl::Button, AddAll, QStringLiteral("&Add All"), true);
        add(controls, CommandBarControl::Button, AddBlackWhite, QStringLiteral("Add &Black && White"));
        add(controls, CommandBarControl::Button, CommentsItem, QStringLiteral("C&omments..."), true);
        xptHelper::AddSortMenu(m_popupBar, false);
    }
}

void ColorPanel::CheckTextureItem(int32_t id) {
    if (!m_popupBar)
        return;
    CommandBarControl* textures = m_popupBar->FindControl(TexturesMenu);
    if (!textures || !textures->GetCommandBar())
        return;
    for (const auto& item : textures->GetCommandBar()->Controls()) item->SetChecked(item->Id() == id);
}

void ColorPanel::SetCopyCaptions(CommandBar* bar) {
    if (!m_color)
        return;
    xptHelper::SetControlCaption(bar, CopyRGB, QStringLiteral("Copy RGB: ") + m_color->ToString(QString()));
    xptHelper::SetControlCaption(bar, CopyHSB, QStringLiteral("Copy HSB: ") + m_color->ToString(QStringLiteral("hsb")));
    xptHelper::SetControlCaption(bar, CopyHTML,
                                 QStringLiteral("Copy HTML: ") + m_color->ToString(QStringLiteral("html")));
}

void ColorPanel::PopupOpening(CommandBar* bar) {
    try {
        SetCopyCaptions(bar);
        xptHelper::SetControlChecked(bar, FixIt, m_fixed);
        // Only a picture closes the textures: they would replace it.
        xptHelper::SetControlEnabled(bar, TexturesMenu, TextureKindOfColor() != TextureKind::Image);
        xptHelper::SetControlEnabled(bar, RemoveImage, TextureKindOfColor() == TextureKind::Image);
    } catch (...) {
    }
}

void ColorPanel::PopupExecute(CommandBarControl* control) {
    if (!control)
        return;
    const int id = control->Id();
    switch (id) {
        case CopyImage: {
            QGuiApplication::clipboard()->clear();
            const cDIBSection* bitmap =
                TextureKindOfColor() == TextureKind::Image ? m_recoloured.get() : m_textured.get();
            if (bitmap && bitmap->Width() > 0)
                const_cast<cDIBSection*>(bitmap)->CopyToClipboard(false);
            return;
        }
        case CopyRGB:
            if (m_color)
                setClipboardText(m_color->ToString(QString()));
            return;
        case CopyHSB:
            if (m_color)
                setClipboardText(m_color->ToString(QStringLiteral("hsb")));
            return;
        case CopyHTML:
            if (m_color)
                setClipboardText(m_color->ToString(QStringLiteral("html")));
            return;
        case DeleteColor:
            m_color.reset();
            emit DeleteMe();
            return;
        case KeepIt: emit SendToHistory(0); return;
        case FixIt:
            control->SetChecked(!control->Checked());
            m_fixed = control->Checked();
            return;
        case LoadImage: LoadColorizer(); return;
        case RemoveImage: RemoveColorizer(); return;
        case DeleteAllColors: emit DeleteAll(); return;
        case AddAll: emit KeepAll(); return;
        case AddBlackWhite: emit AddBlackAndWhite(); return;
        case CommentsItem: emit ShowComments(); return;
        default: break;
    }
    if (id >= SortMenu && id <= SortLast) {
        emit Sort(id - SortFirst);
        return;
    }
    if (Globals::Textures.empty())
        return;
    if (id >= Globals::Textures.front()->Id() && id <= Globals::Textures.back()->Id()) {
        if (CommandBar* bar = control->Parent())
            for (const auto& item : bar->Controls()) item->SetChecked(false);
        control->SetChecked(true);
        ChangeTexture(Globals::TextureItem(id));
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
        if (m_popupBar)
            m_popupBar->ShowPopup(globalPos);
        return;
    }
    emit MouseUp(button, shift, x, y);
}

void ColorPanel::mousePressEvent(QMouseEvent* event) {
    SurfaceMouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
                     static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void ColorPanel::mouseMoveEvent(QMouseEvent* event) {
    SurfaceMouseMove(buttonsCode(event->buttons()), shiftCode(event->modifiers()),
                     static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void ColorPanel::mouseReleaseEvent(QMouseEvent* event) {
    SurfaceMouseUp(buttonCode(event->button()), shiftCode(event->modifiers()),
                   static_cast<float>(event->position().x()), static_cast<float>(event->position().y()),
                   event->globalPosition().toPoint());
}

// The second press of a double click is no press of its own; Qt's default would report one.
void ColorPanel::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

bool ColorPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != pic)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            SurfaceMouseDown(buttonCode(mouse->button()), shiftCode(mouse->modifiers()),
                             static_cast<float>(mouse->position().x()), static_cast<float>(mouse->position().y()));
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            SurfaceMouseMove(buttonsCode(mouse->buttons()), shiftCode(mouse->modifiers()),
                             static_cast<float>(mouse->position().x()), static_cast<float>(mouse->position().y()));
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            SurfaceMouseUp(buttonCode(mouse->button()), shiftCode(mouse->modifiers()),
                           static_cast<float>(mouse->position().x()), static_cast<float>(mouse->position().y()),
                           mouse->globalPosition().toPoint());
            return true;
        }
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
            try {
                TakeImageFile(file);
                pic->update();
            } catch (...) {
            }
            return true;
        }
        default: return QWidget::eventFilter(watched, event);
    }
}
