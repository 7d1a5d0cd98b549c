#include "stage/Stage.h"

#include "model/Color.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/AtomicFile.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarControls.h"
#include "platform/CommandBars.h"
#include "platform/FileDialog.h"
#include "platform/ImagingControl.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/PngFile.h"
#include "platform/RasterDC.h"
#include "platform/RuntimeError.h"
#include "platform/WindowRegistry.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "services/Hourglass.h"
#include "services/Subclassing.h"
#include "services/fDropShadow.h"
#include "stage/StageHelper.h"

#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>

#include <algorithm>
#include <cmath>

using namespace CommandIds;

namespace {

QFont FontOf(const FontInfo& info) {
    QFont font(info.name);
    if (info.size > 0) {
        font.setPointSizeF(info.size);
    }
    font.setBold(info.bold);
    font.setItalic(info.italic);
    font.setUnderline(info.underline);
    font.setStrikeOut(info.strikethrough);
    return font;
}

void RemoveQuietly(const QString& path) {
    if (!path.isEmpty()) {
        QFile::remove(path);
    }
}

}  // namespace

Stage::Stage(QWidget* parent) : QWidget(parent) {
    m_view = new QScrollArea(this);
    m_view->setObjectName(QStringLiteral("view"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setWidgetResizable(false);
    imImg = new ImagingControl;
    imImg->setObjectName(QStringLiteral("imImg"));
    m_view->setWidget(imImg);
    m_view->viewport()->setBackgroundRole(QPalette::NoRole);
    // Scroll bars coming or going change the room the picture has.
    m_view->viewport()->installEventFilter(this);

    // Laid over the picture, so it scrolls with it.
    Tx = new QLineEdit(imImg);
    Tx->setObjectName(QStringLiteral("Tx"));
    Tx->setFrame(false);
    Tx->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Tx->hide();
    Tx->installEventFilter(this);

    picColor = new PictureBox(this);
    picColor->setObjectName(QStringLiteral("picColor"));
    picColor->hide();
    picPaste = new PictureBox(this);
    picPaste->setObjectName(QStringLiteral("picPaste"));
    picPaste->hide();

    m_commandBars = new CommandBars(this);
    m_commandBars->setObjectName(QStringLiteral("CommandBars"));
    connect(m_commandBars, &CommandBars::Execute, this,
            [this](CommandBarControl* control) { Guarded([&] { PopupExecute(control); }); });

    connect(imImg, &ImagingControl::MouseDown, this, [this](int16_t button, int16_t shift, float x, float y) {
        Guarded([&] { ImageMouseDown(button, shift, x, y); });
    });
    connect(imImg, &ImagingControl::MouseMove, this, [this](int16_t button, int16_t shift, float x, float y) {
        Guarded([&] { ImageMouseMove(button, shift, x, y); });
    });
    connect(imImg, &ImagingControl::MouseUp, this, [this](int16_t button, int16_t shift, float x, float y) {
        Guarded([&] { ImageMouseUp(button, shift, x, y); });
    });
    connect(imImg, &ImagingControl::RectangleDone, this,
            [this](float l, float t, float r, float b) { Guarded([&] { ImageRectangleDone(l, t, r, b); }); });
    connect(imImg, &ImagingControl::KeyPress, this,
            [this](int16_t keyAscii) { Guarded([&] { ImageKeyPress(keyAscii); }); });

    m_draw.SetHdc(imImg->hDC());
}

Stage::~Stage() {
    Dispose();
    // The command bars go while the stage they watch is still whole.
    delete m_commandBars;
    m_commandBars = nullptr;
}

template <typename F>
void Stage::Guarded(F&& handler) {
    if (m_busy) {
        return;
    }
    m_busy = true;
    try {
        handler();
    } catch (...) {
    }
    m_busy = false;
}

int32_t Stage::hwnd() const { return WindowRegistry::Handle(const_cast<Stage*>(this)); }

QString Stage::StandardPicture() const { return App::Path() + QStringLiteral("/stdimg.png"); }

void Stage::Clear() {
    const QString path = StandardPicture();
    OpenPicture(path);
    m_currentPicture = path;
    m_pictureIsDirty = false;
    RemoveQuietly(m_undoPath);
}

void Stage::Init(QWidget* pfrm) {
    m_owner = pfrm;
    CreateShadows();
    m_draw.SetLineThickness(5);
    m_object = DrawingObject::Lines;
    imImg->SetRubberBand(false);
    BuildPopup();
}

void Stage::CreateShadows() {
    UnloadShadows();
    m_rightShadow = fDropShadow::ForView(this, ShadowEdge::Right);
    m_bottomShadow = fDropShadow::ForView(this, ShadowEdge::Bottom);
    m_rightShadow->Show(m_owner);
    m_bottomShadow->Show(m_owner);
}

void Stage::UnloadShadows() {
    for (auto* shadow : {&m_rightShadow, &m_bottomShadow}) {
        if (*shadow) {
            (*shadow)->Unload();
        }
        shadow->reset();
    }
}

void Stage::RefreshShadows(int32_t pMessage) {
    for (fDropShadow* shadow : {m_rightShadow.get(), m_bottomShadow.get()}) {
        if (shadow) {
            Subclassing::ForwardMessage(hwnd(), pMessage, shadow);
        }
    }
}

void Stage::HideShadows() {
    for (fDropShadow* shadow : {m_rightShadow.get(), m_bottomShadow.get()}) {
        if (shadow) {
            shadow->Hide();
        }
    }
}

void Stage::ShowShadows() {
    for (fDropShadow* shadow : {m_rightShadow.get(), m_bottomShadow.get()}) {
        if (shadow) {
            shadow->Show(m_owner);
        }
    }
}

void Stage::Dispose() {
    UnloadShadows();
    m_owner = nullptr;
    RemoveQuietly(m_undoPath);
}

void Stage::BuildPopup() {
    if (m_owner) {
        if (auto* hostBars = m_owner->findChild<CommandBars*>(QString(), Qt::FindDirectChildrenOnly)) {
            m_commandBars->SetIcons(hostBars->SharedIcons());
        }
    }
    m_commandBars->ActiveMenuBar()->SetVisible(false);
    if (!m_popup) {
        m_popup = m_commandBars->Add(QStringLiteral("Popup"), CommandBar::Popup);
    }
    CommandBarControls& controls = m_popup->Controls();
    controls.DeleteAll();
    struct Item {
        int id;
        const char* caption;
        bool beginGroup;
    };
    static const Item items[] = {
        {StageUndo, "&Undo", false},
        {CopyImage, "&Copy Image", true},
        {CommandIds::Paste, "&Paste", false},
        {Rotate90, "&Rotate 90\u00B0", true},
        {FlipHorizontal, "Flip &Horizontal", false},
        {FlipVertical, "Flip &Vertical", false},
        {InvertColors, "&Invert Colors", true},
        {StageRestorePicture, "Cl&ear", true},
    };
    for (const Item& item : items) {
        CommandBarControl* control =
            controls.Add(CommandBarControl::Button, item.id, QString::fromUtf8(item.caption), -1, false);
        control->SetBeginGroup(item.beginGroup);
    }
}

void Stage::PopupExecute(CommandBarControl* control) {
    switch (control->Id()) {
        case StageUndo: Undo(); break;
        case CopyImage: imImg->CopyToClipboard(); break;
        case CommandIds::Paste: Paste(); break;
        case StageRestorePicture:
            SaveUndo();
            OpenPicture(StandardPicture());
            break;
        default: StageHelper::ExecuteTransformCommand(control->Id(), *this); break;
    }
}

void Stage::Paste() {
    SaveUndo();
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        return;
    }
    picPaste->SetPicture(image);
    const QString path = FileShared::GetTempFilePath();
    QImageWriter writer(path, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
        RemoveQuietly(path);
        return;
    }
    OpenPicture(path);
    RemoveQuietly(path);
}

void Stage::FillImage(const std::shared_ptr<Texture>& pTexture) {
    try {
        SaveUndo();
        const bool previousFill = m_draw.Fill();
        if (!pTexture) {
            Err::Raise(RuntimeError::ObjectVariableNotSet);
        }
        const auto width = static_cast<float>(imImg->PictureWidth());
        const auto height = static_cast<float>(imImg->PictureHeight());
        switch (pTexture->TextureType()) {
            case TextureKind::None:
                m_draw.SetFill(true);
                m_draw.DrawRect(0, 0, width, height);
                break;
            case TextureKind::Pattern:
                m_draw.SetFill(true);
                m_draw.DrawRectTextured(0, 0, width, height, PatternHandle());
                break;
            case TextureKind::Image: OpenPicture(pTexture->path()); break;
            default: break;
        }
        imImg->Refresh();
        m_draw.SetFill(previousFill);
        MarkDirty();
    } catch (...) {
    }
}

bool Stage::SaveImageAs() {
    FileDialog::Request request;
    request.mode = FileDialog::Mode::Save;
    request.flags = FileDialog::OverwritePrompt;
    request.filter =
        QStringLiteral("PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg|TIFF (*.tif)|*.tif|24-bit Bitmap (*.bmp)|*.bmp");
    request.title = QStringLiteral("Save image");
    request.parent = m_owner ? m_owner : window();
    const FileDialog::Result chosen = FileDialog::Show(request);
    if (!chosen.accepted) {
        return false;
    }
    MarkDirty();
    static const char* const expected[] = {"PNG", "JPG", "TIF", "BMP"};
    const int index = std::clamp(chosen.filterIndex, 1, 4) - 1;
    QString name = chosen.fileName;
    const QString extension = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toUpper();
    if (extension != QLatin1String(expected[index])) {
        name += QLatin1Char('.') + QString::fromLatin1(expected[index]).toLower();
    }
    return SaveToFile(name);
}

bool Stage::SaveToFile(const QString& path) {
    // The standard picture is never overwritten.
    if (path == StandardPicture()) {
        return SaveImageAs();
    }
    try {
        imImg->SaveFile(path);
        return true;
    } catch (...) {
        MessageBox::Show(QStringLiteral("Error saving picture."), MessageBox::Information, App::Title());
        return false;
    }
}

bool Stage::SaveStage(const QString& pPath) {
    try {
        // A picture unchanged since it came from a PNG file is that file: copied, not encoded again. The
        // document folder is packed next and the archive reaches the disk on its own: checked, not flushed.
        bool copied = false;
        if (PictureFileIsCurrent()) {
            try {
                AtomicFile::CopyFile(m_pictureFile, pPath, AtomicFile::Durability::Scratch);
                copied = true;
            } catch (const RuntimeError&) {
            }
        }
        if (!copied) {
            WriteStagePng(pPath);
        }
        m_pictureIsDirty = false;
        m_pictureFile = pPath;
        return true;
    } catch (...) {
        return false;
    }
}

bool Stage::PictureFileIsCurrent() const {
    // Every change of the picture marks it dirty.
    return !m_pictureIsDirty && !m_pictureFile.isEmpty() && QFileInfo(m_pictureFile).isFile();
}

void Stage::WriteStagePng(const QString& path) const {
    // Encoded on all cores as an ordinary PNG whose bands the document's open decodes on all cores again.
    const ParallelPng::Bytes png = PngFile::Encode(imImg->Picture());
    if (png.empty()) {
        Err::Raise(ImagingControl::ErrorWriteFailed);
    }
    AtomicFile::WriteWhole(
        path, QByteArrayView(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size())),
        AtomicFile::Durability::Scratch);
}

void Stage::RememberPictureFile(const QString& path) {
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    m_pictureFile.clear();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.read(8) == pngSignature) {
        m_pictureFile = path;
    }
}

bool Stage::OpenPicture(const QString& pPath) {
    QString path = pPath;
    const bool fromDialog = path.isEmpty();
    if (fromDialog) {
        const FileDialog::Result chosen =
            FileDialog::Show(FileDialog::PictureOpenRequest(m_owner ? m_owner : window()));
        if (!chosen.accepted) {
            return false;
        }
        path = chosen.fileName;
    }
    int32_t error = 0;
    try {
        imImg->SetFileName(path);
    } catch (const RuntimeError& e) {
        error = e.Number();
    } catch (...) {
        error = -1;
    }
    if (error != 0) {
        imImg->Refresh();
        MessageBox::Show(error == ImagingControl::ErrorUnsupportedType
                             ? QStringLiteral("This file type is not supported.")
                             : QStringLiteral("This image cannot be opened."),
                         MessageBox::Information, App::Title());
        return false;
    }
    if (fromDialog) {
        m_internalPicture = false;
    }
    PictureOpened(path);
    return true;
}

void Stage::OpenDecodedPicture(const QString& pPath, const QImage& pPicture) {
    imImg->TakePicture(pPath, pPicture);
    PictureOpened(pPath);
}

void Stage::PictureOpened(const QString& path) {
    m_currentPicture = path;
    m_pictureIsDirty = false;
    if (imImg->LoadState() != 1) {
        TakeLoadedPicture();
        SaveUndo(path);
    }
    RememberPictureFile(path);
    imImg->Refresh();
}

void Stage::TakeLoadedPicture() {
    imImg->SetDisplayWidth(imImg->PictureWidth());
    imImg->SetDisplayHeight(imImg->PictureHeight());
    imImg->SetDisplayMode(imImg->DisplayMode());
    m_draw.SetHdc(imImg->hDC());
    UpdateExtent();
}

void Stage::UpdateExtent() {
    const QSize viewport = m_view->viewport()->size();
    imImg->resize(std::clamp(imImg->ZoomedWidth(), viewport.width(), QWIDGETSIZE_MAX),
                  std::clamp(imImg->ZoomedHeight(), viewport.height(), QWIDGETSIZE_MAX));
}

void Stage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view->setGeometry(0, 0, width(), height());
    UpdateExtent();
}

void Stage::SetDrawColor(const std::shared_ptr<Color>& pColor) {
    m_drawColor = pColor;
    if (!pColor) {
        return;
    }
    m_draw.SetColor(static_cast<uint32_t>(pColor->RGBColor()));
    // A colour whose picture cannot be read fills with nothing rather than an old pattern.
    const QImage picture(pColor->TemporaryImagePath());
    picColor->SetPicture(picture);
    m_colorPattern.SetImage(picture);
}

void Stage::SetLineThickness(int16_t pWidth) { m_draw.SetLineThickness(pWidth); }

void Stage::SetObject(int32_t pObj) {
    // A stroke cut short by a change of tool ends where it stands, so the pen goes back.
    if (m_drawing) {
        m_draw.DrawLineEnd(m_lastX, m_lastY, true);
        m_drawing = false;
        imImg->Refresh();
    }
    m_object = pObj;
    imImg->SetRubberBand(pObj != DrawingObject::Lines && pObj != DrawingObject::Flood);
    SaveUndo();
}

void Stage::AddText(const std::shared_ptr<Color>&, const std::shared_ptr<FontInfo>&, const QString&) {}

void Stage::Restore() {
    imImg->SetZoomMode(0);
    imImg->SetZoom(100);
    UpdateExtent();
    imImg->Refresh();
}

void Stage::ZoomIn() {
    imImg->SetZoomMode(0);
    imImg->SetZoom(imImg->Zoom() + 25);
    UpdateExtent();
    imImg->Refresh();
}

void Stage::ZoomOut() {
    imImg->SetZoomMode(0);
    if (imImg->Zoom() >= 1) {
        imImg->SetZoom(imImg->Zoom() * 0.75);
    }
    if (imImg->Zoom() <= 0) {
        imImg->SetZoom(1);
    }
    UpdateExtent();
    imImg->Refresh();
}

void Stage::Rotate(int pAngle) {
    SaveUndo();
    imImg->Rotate(pAngle, imImg->BackColor());
    UpdateExtent();
    imImg->Refresh();
    MarkDirty();
}

void Stage::MirrorHorizontal() {
    SaveUndo();
    imImg->FlipHorizontal();
    imImg->Refresh();
    MarkDirty();
}

void Stage::MirrorVertical() {
    SaveUndo();
    imImg->FlipVertical();
    imImg->Refresh();
    MarkDirty();
}

void Stage::Invert() {
    SaveUndo();
    imImg->Invert();
    imImg->Refresh();
    MarkDirty();
}

void Stage::ToBW() {
    SaveUndo();
    imImg->ReduceColors(256, true, true);
    imImg->Refresh();
    MarkDirty();
}

void Stage::SaveUndo() { SaveUndo(QString()); }

void Stage::SaveUndo(const QString& loadedFile) {
    Hourglass hourglass;
    if (m_undoPath.isEmpty()) {
        m_undoPath = FileShared::GetTempFilePath() + QStringLiteral(".bmp");
    } else {
        RemoveQuietly(m_undoPath);
    }
    // Right after a load the file just read decodes to the same picture, and copying it is much cheaper
    // than writing the picture out.
    // Only a file whose type shows in its content will load again under the copy's ".bmp" name.
    if (!loadedFile.isEmpty()) {
        QImageReader probe(loadedFile);
        probe.setDecideFormatFromContent(true);
        if (probe.canRead()) {
            try {
                AtomicFile::CopyFile(loadedFile, m_undoPath, AtomicFile::Durability::Scratch);
                return;
            } catch (const RuntimeError&) {
            }
        }
    }
    // The copy is a convenience: when it cannot be written (a full disk) the drawing goes on without it.
    try {
        imImg->SaveSnapshot(m_undoPath);
    } catch (const RuntimeError&) {
        RemoveQuietly(m_undoPath);
    }
}

void Stage::Undo() {
    if (m_undoPath.isEmpty() || !QFileInfo(m_undoPath).isFile()) {
        return;
    }
    imImg->SetFileName(m_undoPath);
    TakeLoadedPicture();
    imImg->Refresh();
    MarkDirty();
}

bool Stage::ColorIsPlain() const {
    return !m_drawColor || !m_drawColor->ColorTexture() ||
           m_drawColor->ColorTexture()->TextureType() == TextureKind::None;
}

void Stage::ImageMouseDown(int16_t button, int16_t, float x, float y) {
    if (m_textActive) {
        HideTextBox();
    }
    if (button == 2) {
        if (m_popup) {
            m_popup->ShowPopup(QCursor::pos());
        }
        return;
    }
    if (m_drawing) {
        return;
    }
    if (m_object == DrawingObject::Flood) {
        MarkDirty();
        SaveUndo();
        m_draw.DrawFloodFill(x, y, false, ColorIsPlain() ? 0 : PatternHandle());
        imImg->Refresh();
        return;
    }
    // A pen of no width draws nothing (the raster pen would still draw one pixel).
    if (m_draw.LineThickness() <= 0) {
        return;
    }
    m_drawing = true;
    MarkDirty();
    m_lastX = x;
    m_lastY = y;
    m_draw.DrawLineStart(x, y);
}

void Stage::ImageMouseMove(int16_t, int16_t, float x, float y) {
    if (!m_drawing) {
        return;
    }
    m_draw.DrawLineEnd(x, y, true);
    m_draw.DrawLineStart(x, y);
    MarkDirty();
    // Only the segment's own rectangle is repainted.
    const float margin = m_draw.LineThickness() / 2.0f + 2.0f;
    const QRectF segment =
        QRectF(QPointF(m_lastX, m_lastY), QPointF(x, y)).normalized().adjusted(-margin, -margin, margin, margin);
    m_lastX = x;
    m_lastY = y;
    imImg->RefreshPictureRect(segment);
}

void Stage::ImageMouseUp(int16_t, int16_t, float x, float y) {
    if (!m_drawing) {
        return;
    }
    m_draw.DrawLineEnd(x, y, m_object == DrawingObject::Lines);
    MarkDirty();
    m_drawing = false;
    imImg->Refresh();
}

void Stage::ImageRectangleDone(float left, float top, float right, float bottom) {
    if (m_textActive) {
        HideTextBox();
        return;
    }
    if (m_object == DrawingObject::Text && std::fabs(right - left) < 20) {
        return;
    }
    // Picture pixels to the imaging control's pixels.
    const double scale = imImg->ScaleWidth() > 0 ? imImg->width() / imImg->ScaleWidth() : 1.0;
    MarkDirty();
    if (m_object == DrawingObject::Text) {
        m_textLeft = left;
        m_textTop = top;
        m_textRight = right;
        m_textBottom = bottom;
        Tx->setFont(FontOf(*StageHelper::CurrentFont()));
        m_draw.SetColor(m_drawColor ? static_cast<uint32_t>(m_drawColor->RGBColor()) : 0);
        const QFontMetrics metrics(Tx->font());
        const int boxWidth = right - left > 0 ? static_cast<int>(std::lround((right - left) * scale))
                                              : metrics.horizontalAdvance(Tx->text());
        const int boxHeight =
            bottom - top > 0 ? static_cast<int>(std::lround((bottom - top) * scale)) : metrics.height();
        Tx->setGeometry(static_cast<int>(std::lround(left * scale)), static_cast<int>(std::lround(top * scale)),
                        boxWidth, boxHeight);
        QPalette palette = Tx->palette();
        palette.setColor(QPalette::Text, QColor(RasterDC::ToPixel(m_draw.Color())));
        palette.setColor(QPalette::Base, QColor(200, 200, 200));
        Tx->setPalette(palette);
        Tx->setText(QString());
        m_textActive = true;
        Tx->show();
        Tx->setFocus();
    } else if (m_object == DrawingObject::Rectangle || m_object == DrawingObject::Ellipse) {
        m_draw.SetFill(m_fill);
        SaveUndo();
        const bool ellipse = m_object == DrawingObject::Ellipse;
        if (m_fill && !ColorIsPlain()) {
            if (ellipse) {
                m_draw.DrawEllipseTextured(left, top, right, bottom, PatternHandle());
            } else {
                m_draw.DrawRectTextured(left, top, right, bottom, PatternHandle());
            }
        } else if (m_fill || m_draw.LineThickness() > 0) {
            if (ellipse) {
                m_draw.DrawEllipse(left, top, right, bottom);
            } else {
                m_draw.DrawRect(left, top, right, bottom);
            }
        }
    }
    imImg->Refresh();
}

void Stage::ImageKeyPress(int16_t keyAscii) {
    if (keyAscii == 26) {
        Undo();
    }
}

void Stage::HideTextBox() {
    m_textActive = false;
    Tx->hide();
}

void Stage::CommitText() {
    HideTextBox();
    m_draw.SetFont(StageHelper::CurrentFont());
    m_draw.DrawTheText(m_textLeft, m_textTop, m_textRight, m_textBottom, Tx->text());
    imImg->Refresh();
    MarkDirty();
}

void Stage::CancelText() {
    HideTextBox();
    Tx->clear();
}

bool Stage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize) {
        UpdateExtent();
        return false;
    }
    if (watched == Tx && m_textActive) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Guarded([this] { CommitText(); });
                return true;
            }
            if (key == Qt::Key_Escape) {
                CancelText();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            Guarded([this] { CommitText(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}
