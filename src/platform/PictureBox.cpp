#include "platform/PictureBox.h"

#include <QPainter>

namespace {
QColor fromPacked(int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureBox::SetBackColor(int32_t rgb) {
    if (rgb == m_backColor)
        return;
    m_backColor = rgb;
    update();
}

void PictureBox::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

QImage PictureBox::Image() {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(fromPacked(m_backColor));
    QPainter painter(&image);
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
    if (m_paint)
        m_paint(painter);
    return image;
}

void PictureBox::SetPaintHandler(PaintHandler handler) { m_paint = std::move(handler); }

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), fromPacked(m_backColor));
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
    if (m_paint)
        m_paint(painter);
}
