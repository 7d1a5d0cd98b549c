#include "platform/CommandBarHostedAction.h"

#include "platform/CommandBarCustom.h"

#include <QKeyEvent>

CommandBarHostedAction::CommandBarHostedAction(CommandBarCustom* control, QObject* parent)
    : QWidgetAction(parent), m_control(control) {}

QWidget* CommandBarHostedAction::createWidget(QWidget* parent) {
    QWidget* widget = m_control->Handle();
    if (!widget)
        return nullptr;
    m_oldMinimum = widget->minimumSize();
    // A box of hand-placed children has no size hint; the menu lays it out at the size it has.
    const QSize size(m_control->Width() > 0 ? m_control->Width() : widget->width(),
                     m_control->Height() > 0 ? m_control->Height() : widget->height());
    // A menu hands the keyboard only to a widget that takes focus; a box of sliders passes it to its first one.
    m_proxied = false;
    if (widget->focusPolicy() == Qt::NoFocus && !widget->focusProxy()) {
        for (QWidget* child : widget->findChildren<QWidget*>())
            if (child->focusPolicy() & Qt::TabFocus) {
                widget->setFocusProxy(child);
                widget->setFocusPolicy(Qt::TabFocus);
                m_proxied = true;
                break;
            }
    }
    for (QWidget* child : widget->findChildren<QWidget*>())
        if (child->focusPolicy() & Qt::TabFocus)
            child->installEventFilter(this);
    widget->setParent(parent);
    widget->setMinimumSize(size);
    widget->resize(size);
    widget->show();
    m_shown = widget;
    return widget;
}

void CommandBarHostedAction::deleteWidget(QWidget* widget) {
    if (!widget)
        return;
    m_shown = nullptr;
    for (QWidget* child : widget->findChildren<QWidget*>()) child->removeEventFilter(this);
    widget->hide();
    widget->setMinimumSize(m_oldMinimum);
    if (m_proxied) {
        widget->setFocusProxy(nullptr);
        widget->setFocusPolicy(Qt::NoFocus);
    }
    widget->setParent(m_control->HomeParent());
}

bool CommandBarHostedAction::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !m_shown)
        return QWidgetAction::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab)
        return QWidgetAction::eventFilter(watched, event);
    QList<QWidget*> stops;
    for (QWidget* child : m_shown->findChildren<QWidget*>())
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisible() && child->isEnabled())
            stops.append(child);
    const auto at = stops.indexOf(static_cast<QWidget*>(watched));
    if (stops.isEmpty() || at < 0)
        return QWidgetAction::eventFilter(watched, event);
    const auto count = stops.size();
    const auto next = key == Qt::Key_Tab ? (at + 1) % count : (at + count - 1) % count;
    stops[next]->setFocus(key == Qt::Key_Tab ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
