#include "platform/RibbonGroupPopup.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

RibbonGroupPopup::RibbonGroupPopup(CommandBars* owner, RibbonGroup* group, QWidget* anchor, QWidget* parent)
    : QFrame(parent, Qt::Popup), m_builder(owner), m_group(group), m_anchor(anchor) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 3);
    layout->addWidget(m_builder.BuildGroup(group, RibbonGroupSizing::Size::Large, this));
    m_builder.SyncStates();
}

RibbonGroupPopup::~RibbonGroupPopup() = default;

void RibbonGroupPopup::Open() {
    adjustSize();
    if (m_anchor)
        move(m_anchor->mapToGlobal(QPoint(0, m_anchor->height())));
    show();
    // Kept on the anchor's screen, by the frame the window system gave it.
    QScreen* screen = m_anchor ? m_anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const auto shift = [](int low, int high, int roomLow, int roomHigh) {
        if (high > roomHigh)
            return std::max(roomHigh - high, roomLow - low);
        return low < roomLow ? roomLow - low : 0;
    };
    const QPoint by(shift(frame.left(), frame.right(), room.left(), room.right()),
                    shift(frame.top(), frame.bottom(), room.top(), room.bottom()));
    if (!by.isNull())
        move(pos() + by);
}

void RibbonGroupPopup::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    m_builder.Clear();
    emit Closed();
    // Deleted from the event loop: the event that hid the popup may be running in one of its widgets.
    deleteLater();
}

void RibbonGroupPopup::mousePressEvent(QMouseEvent* event) {
    // A press on the group's button closes the popup and ends there, so the same click does not open it again.
    if (!rect().contains(event->position().toPoint()) && m_anchor &&
        QRect(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size()).contains(event->globalPosition().toPoint()))
        setAttribute(Qt::WA_NoMouseReplay);
    QFrame::mousePressEvent(event);
}

void RibbonGroupPopup::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), RibbonGroupBuilder::BodyColor(palette()));
    }
    QFrame::paintEvent(event);
}
