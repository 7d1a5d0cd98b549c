#include "platform/CommandBarButtonWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace {
constexpr int ArrowSize = 12;
}

CommandBarButtonWidget::CommandBarButtonWidget(Kind kind, QWidget* parent) : QToolButton(parent), m_kind(kind) {
    setAutoRaise(kind != Kind::System);
    setFocusPolicy(Qt::TabFocus);
}

QSize CommandBarButtonWidget::sizeHint() const {
    QSize size = QToolButton::sizeHint();
    if (m_kind == Kind::Popup || m_kind == Kind::Split) {
        if (toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
            size.rheight() += ArrowSize - 4;
        else
            size.rwidth() += ArrowSize;
    }
    if (m_kind == Kind::System)
        size = size.expandedTo(QSize(44, 24));
    return size;
}

QRect CommandBarButtonWidget::ArrowRect() const {
    if (toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
        return QRect(0, height() - ArrowSize, width(), ArrowSize);
    return QRect(width() - ArrowSize, 0, ArrowSize, height());
}

bool CommandBarButtonWidget::OnArrow(const QPoint& pos) const {
    if (m_kind == Kind::Popup || m_kind == Kind::System)
        return true;
    return m_kind == Kind::Split && ArrowRect().contains(pos);
}

void CommandBarButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint()) && isDown();
    const bool arrow = OnArrow(event->position().toPoint());
    QToolButton::mouseReleaseEvent(event);
    if (!inside || event->button() != Qt::LeftButton)
        return;
    if (arrow)
        emit ArrowClicked();
    else
        emit BodyClicked();
}

void CommandBarButtonWidget::paintEvent(QPaintEvent* event) {
    if (m_kind == Kind::System) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor fill = palette().color(QPalette::Highlight);
        if (underMouse() || isDown())
            fill = fill.lighter(112);
        if (!isEnabled())
            fill = palette().color(QPalette::Disabled, QPalette::Highlight);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
        painter.fillPath(path, fill);
        if (!icon().isNull()) {
            const QSize size = iconSize().boundedTo(rect().adjusted(3, 3, -3, -3).size());
            QRect target(QPoint(0, 0), size);
            target.moveCenter(rect().center());
            icon().paint(&painter, target);
        } else {
            painter.setPen(palette().color(QPalette::HighlightedText));
            painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
        }
        return;
    }
    if (m_kind == Kind::Plain) {
        QToolButton::paintEvent(event);
        return;
    }
    // Draw the button without the arrow band, then the arrow in it.
    QPainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const QRect arrow = ArrowRect();
    QRect body = rect();
    if (toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
        body.setBottom(arrow.top() - 1);
    else
        body.setRight(arrow.left() - 1);
    QStyleOptionToolButton panel = option;
    panel.text.clear();
    panel.icon = QIcon();
    style()->drawComplexControl(QStyle::CC_ToolButton, &panel, &painter, this);
    QStyleOptionToolButton label = option;
    label.rect = body.adjusted(2, 2, -2, 0);
    style()->drawControl(QStyle::CE_ToolButtonLabel, &label, &painter, this);
    if (m_kind == Kind::Split && (option.state & (QStyle::State_MouseOver | QStyle::State_Sunken))) {
        painter.setPen(palette().color(QPalette::Mid));
        if (toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
            painter.drawLine(arrow.left() + 2, arrow.top(), arrow.right() - 2, arrow.top());
        else
            painter.drawLine(arrow.left(), arrow.top() + 2, arrow.left(), arrow.bottom() - 2);
    }
    QStyleOption arrowOption;
    arrowOption.initFrom(this);
    arrowOption.rect = QRect(0, 0, 8, 8);
    arrowOption.rect.moveCenter(arrow.center());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrowOption, &painter, this);
}
