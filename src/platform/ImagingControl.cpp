#include "platform/ImagingControl.h"

#include "platform/AtomicFile.h"
#include "platform/Numeric.h"
#include "platform/PngFile.h"
#include "platform/RuntimeError.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

QString Source() { return QStringLiteral("tindral.ImagingControl"); }

int16_t ButtonsOf(Qt::MouseButtons buttons) {
    return static_cast<int16_t>(((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0) |
                                ((buttons & Qt::MiddleButton) ? 4 : 0));
}

int16_t ShiftOf(Qt::KeyboardModifiers modifiers) {
    return static_cast<int16_t>(((modifiers & Qt::ShiftModifier) ? 1 : 0) |
                                ((modifiers & Qt::ControlModifier) ? 2 : 0) | ((modifiers & Qt::AltModifier) ? 4 : 0));
}

// The character code a key produces, or -1 for a key that produces none.
int KeyAscii(const QKeyEvent& event) {
    const int key = event.key();
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key - Qt::Key_A + 1;
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        default: break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() > 0x7FFF) {
        return -1;
    }
    return text.at(0).unicode();
}

QByteArray FormatForExtension(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("png")) {
        return "png";
    }
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
        return "jpeg";
    }
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff")) {
        return "tiff";
    }
    if (extension == QLatin1String("bmp")) {
        return "bmp";
    }
    return QByteArray();
}

// 32-bit RGB; a picture with transparency is laid on white first.
QImage Flattened(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_RGB32);
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

}  // namespace

ImagingControl::ImagingControl(QWidget* parent) : QWidget(parent), m_dc(&m_picture) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ImagingControl::~ImagingControl() = default;

void ImagingControl::SetPicture(const QImage& picture) {
    m_picture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    m_displayWidth = m_picture.width();
    m_displayHeight = m_picture.height();
    update();
}

void ImagingControl::SetFileName(const QString& path) {
    if (path.isEmpty()) {
        m_fileName.clear();
        SetPicture(QImage());
        return;
    }
    const QImage image = PngFile::Read(path);
    m_fileName = path;
    SetPicture(Flattened(image));
}

void ImagingControl::TakePicture(const QString& path, const QImage& picture) {
    m_fileName = path;
    SetPicture(Flattened(picture));
}

void ImagingControl::ResizePicture(int width, int height) {
    if (width <= 0 || height <= 0) {
        Err::Raise(RuntimeError::InvalidProcedureCall, Source());
    }
    if (!m_picture.isNull()) {
        SetPicture(m_picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
}

void ImagingControl::SetDisplayWidth(int width) {
    if (width < 0) {
        Err::Raise(ErrorInvalidValue, Source(), QStringLiteral("Invalid property value"));
    }
    m_displayWidth = width;
    update();
}

void ImagingControl::SetDisplayHeight(int height) {
    if (height < 0) {
        Err::Raise(ErrorInvalidValue, Source(), QStringLiteral("Invalid property value"));
    }
    m_displayHeight = height;
    update();
}

void ImagingControl::SetDisplayMode(int mode) {
    if (mode != 0) {
        Err::Raise(ErrorInvalidValue, Source(), QStringLiteral("Invalid property value"));
    }
    m_displayMode = mode;
    updateGeometry();
    update();
}

void ImagingControl::SetZoom(double percent) {
    m_zoom = Numeric::Round(percent);
    update();
}

void ImagingControl::SetZoomMode(int mode) {
    if (mode != 0) {
        Err::Raise(ErrorInvalidValue, Source(), QStringLiteral("Invalid property value"));
    }
    m_zoomMode = mode;
}

void ImagingControl::SetBackColor(uint32_t color) {
    m_backColor = color & 0xFFFFFF;
    update();
}

void ImagingControl::Refresh() { update(); }

void ImagingControl::SetRubberBand(bool on) {
    m_rubberBand = on;
    if (!on && m_banding) {
        m_banding = false;
        update();
    }
}

double ImagingControl::ScaleX() const {
    if (m_picture.isNull() || m_displayWidth <= 0 || m_zoom <= 0) {
        return 1.0;
    }
    return m_displayWidth * (m_zoom / 100.0) / m_picture.width();
}

double ImagingControl::ScaleY() const {
    if (m_picture.isNull() || m_displayHeight <= 0 || m_zoom <= 0) {
        return 1.0;
    }
    return m_displayHeight * (m_zoom / 100.0) / m_picture.height();
}

QPointF ImagingControl::ToPicture(const QPointF& position) const {
    return QPointF(position.x() / ScaleX(), position.y() / ScaleY());
}

double ImagingControl::ScaleWidth() const { return width() / ScaleX(); }

void ImagingControl::ReduceColors(int colors, bool grey, bool dither) {
    Q_UNUSED(dither);
    if (!grey || colors < 2 || colors > 256) {
        Err::Raise(RuntimeError::InvalidProcedureCall, Source());
    }
    if (m_picture.isNull()) {
        return;
    }
    const int top = colors - 1;
    for (int y = 0; y < m_picture.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(m_picture.scanLine(y));
        for (int x = 0; x < m_picture.width(); ++x) {
            const uint32_t p = row[x];
            // Luma of the studio weights, rounded.
            int level =
                static_cast<int>((((p >> 16) & 0xFF) * 299 + ((p >> 8) & 0xFF) * 587 + (p & 0xFF) * 114 + 500) / 1000);
            if (top < 255) {
                level = (((level * top + 127) / 255) * 255 + top / 2) / top;
            }
            const uint32_t v = static_cast<uint32_t>(level);
            row[x] = 0xFF000000u | (v << 16) | (v << 8) | v;
        }
    }
    update();
}

void ImagingControl::Invert() {
    m_picture.invertPixels(QImage::InvertRgb);
    update();
}

void ImagingControl::FlipVertical() {
    m_picture.mirror(false, true);
    update();
}

void ImagingControl::FlipHorizontal() {
    m_picture.mirror(true, false);
    update();
}

void ImagingControl::Rotate(int angle, uint32_t fillColor) {
    if (m_picture.isNull()) {
        return;
    }
    const int turn = ((angle % 36000) + 36000) % 36000;
    if (turn == 0) {
        return;
    }
    QTransform transform;
    transform.rotate(-turn / 100.0);  // Qt turns clockwise on screen
    if (turn % 9000 == 0) {
        // Quarter turns move pixels exactly.
        SetPicture(m_picture.transformed(transform));
        return;
    }
    const QRect bounds = transform.mapRect(QRectF(m_picture.rect())).toAlignedRect();
    QImage turned(bounds.size(), QImage::Format_RGB32);
    turned.fill(RasterDC::ToPixel(fillColor));
    {
        QPainter painter(&turned);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(-bounds.topLeft());
        painter.setTransform(transform, true);
        painter.drawImage(0, 0, m_picture);
    }
    SetPicture(turned);
}

void ImagingControl::CopyToClipboard() const {
    if (!m_picture.isNull()) {
        QGuiApplication::clipboard()->setImage(m_picture);
    }
}

void ImagingControl::SetOutputFormat(int format) {
    if (format != FormatByExtension && format != FormatPng) {
        Err::Raise(ErrorInvalidValue, Source(), QStringLiteral("Invalid property value"));
    }
    m_outputFormat = format;
}

void ImagingControl::SaveFile(const QString& path) {
    const QByteArray format =
        std::exchange(m_outputFormat, FormatByExtension) == FormatPng ? QByteArray("png") : FormatForExtension(path);
    if (format.isEmpty()) {
        Err::Raise(ErrorUnsupportedType, Source(), QStringLiteral("Unsupported picture type"));
    }
    if (m_picture.isNull()) {
        Err::Raise(ErrorWriteFailed, Source(), QStringLiteral("No picture"));
    }
    // The file is replaced only once the whole picture is on the disk, so a failed save leaves it as it was.
    try {
        AtomicFile file(path);
        QImageWriter writer(file.Device(), format);
        if (!writer.write(m_picture.convertToFormat(QImage::Format_RGB888))) {
            file.RaiseWriteError();
            Err::Raise(ErrorWriteFailed, Source(), writer.errorString());
        }
        file.Commit();
    } catch (const RuntimeError& e) {
        if (e.Number() == ErrorWriteFailed)
            throw;
        Err::Raise(ErrorWriteFailed, Source(), e.Description());
    }
}

void ImagingControl::SaveSnapshot(const QString& path) {
    if (m_picture.isNull()) {
        Err::Raise(ErrorWriteFailed, Source(), QStringLiteral("No picture"));
    }
    // A 32-bit top-down bitmap holds the rows exactly as they are in memory, so the picture goes to the
    // file in one write with no conversion.
    const int w = m_picture.width();
    const int h = m_picture.height();
    const qint64 bytes = static_cast<qint64>(w) * h * 4;
    unsigned char header[54] = {};
    const auto put16 = [&header](int at, uint32_t v) {
        header[at] = static_cast<unsigned char>(v);
        header[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    const auto put32 = [&](int at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, static_cast<uint32_t>(54 + bytes));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(-h));  // negative: rows run top to bottom
    put16(26, 1);
    put16(28, 32);
    put32(34, static_cast<uint32_t>(bytes));
    // An undo copy lives in the temporary folder and is read back by this program only.
    try {
        AtomicFile file(path, AtomicFile::Durability::Scratch);
        file.Write(reinterpret_cast<const char*>(header), sizeof header);
        if (m_picture.bytesPerLine() == w * 4) {
            file.Write(reinterpret_cast<const char*>(m_picture.constBits()), static_cast<size_t>(bytes));
        } else {
            for (int y = 0; y < h; ++y)
                file.Write(reinterpret_cast<const char*>(m_picture.constScanLine(y)), static_cast<size_t>(w) * 4);
        }
        file.Commit();
    } catch (const RuntimeError& e) {
        Err::Raise(ErrorWriteFailed, Source(), e.Description());
    }
}

void ImagingControl::RefreshPictureRect(const QRectF& pictureRect) {
    const QRectF shown(pictureRect.left() * ScaleX(), pictureRect.top() * ScaleY(), pictureRect.width() * ScaleX(),
                       pictureRect.height() * ScaleY());
    update(shown.toAlignedRect().adjusted(-1, -1, 1, 1));
}

int ImagingControl::ZoomedWidth() const {
    return m_picture.isNull() || m_zoom <= 0 ? 0 : static_cast<int>(std::ceil(m_displayWidth * (m_zoom / 100.0)));
}

int ImagingControl::ZoomedHeight() const {
    return m_picture.isNull() || m_zoom <= 0 ? 0 : static_cast<int>(std::ceil(m_displayHeight * (m_zoom / 100.0)));
}

void ImagingControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(RasterDC::ToPixel(m_backColor)));
    if (!m_picture.isNull() && m_zoom > 0) {
        const QRectF target(0, 0, m_displayWidth * (m_zoom / 100.0), m_displayHeight * (m_zoom / 100.0));
        painter.drawImage(target, m_picture);
    }
    if (m_banding) {
        const QRectF band = QRectF(m_bandStart, m_bandEnd).normalized();
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(band);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(band);
    }
}

// While the rubber band is on, a drag must end only as a rectangle, so no other button may start a
// stroke: of the rest only the right button, which opens a menu, is still reported.
bool ImagingControl::ReportsButton(Qt::MouseButton button) const { return !m_rubberBand || button == Qt::RightButton; }

void ImagingControl::mousePressEvent(QMouseEvent* event) {
    if (m_rubberBand && event->button() == Qt::LeftButton) {
        m_banding = true;
        m_bandStart = m_bandEnd = event->position();
        update();
        return;
    }
    if (!ReportsButton(event->button())) {
        return;
    }
    const QPointF at = ToPicture(event->position());
    emit MouseDown(ButtonsOf(event->button()), ShiftOf(event->modifiers()), static_cast<float>(at.x()),
                   static_cast<float>(at.y()));
}

void ImagingControl::mouseMoveEvent(QMouseEvent* event) {
    if (m_banding) {
        m_bandEnd = event->position();
        update();
        return;
    }
    if (m_rubberBand) {
        return;
    }
    const QPointF at = ToPicture(event->position());
    emit MouseMove(ButtonsOf(event->buttons()), ShiftOf(event->modifiers()), static_cast<float>(at.x()),
                   static_cast<float>(at.y()));
}

void ImagingControl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_banding && event->button() == Qt::LeftButton) {
        m_banding = false;
        m_bandEnd = event->position();
        update();
        const QPointF start = ToPicture(m_bandStart);
        const QPointF end = ToPicture(m_bandEnd);
        emit RectangleDone(static_cast<float>(start.x()), static_cast<float>(start.y()), static_cast<float>(end.x()),
                           static_cast<float>(end.y()));
        return;
    }
    if (!ReportsButton(event->button())) {
        return;
    }
    const QPointF at = ToPicture(event->position());
    emit MouseUp(ButtonsOf(event->button()), ShiftOf(event->modifiers()), static_cast<float>(at.x()),
                 static_cast<float>(at.y()));
}

void ImagingControl::keyPressEvent(QKeyEvent* event) {
    const int code = KeyAscii(*event);
    if (code < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit KeyPress(static_cast<int16_t>(code));
}
