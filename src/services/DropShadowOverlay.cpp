#include "services/DropShadowOverlay.h"

#include <QPainter>

DropShadowOverlay::DropShadowOverlay(QWidget* host) : QWidget(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void DropShadowOverlay::SetPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void DropShadowOverlay::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setOpacity(ConstantAlpha / 255.0);
    // Row 0 of the picture is its bottom line.
    painter.translate(0, m_picture.height());
    painter.scale(1, -1);
    painter.drawImage(0, 0, m_picture);
}
