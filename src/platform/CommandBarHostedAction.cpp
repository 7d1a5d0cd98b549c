#include "platform/CommandBarHostedAction.h"

#include "platform/CommandBarCustom.h"

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
    widget->setParent(parent);
    widget->setMinimumSize(size);
    widget->resize(size);
    widget->show();
    return widget;
}

void CommandBarHostedAction::deleteWidget(QWidget* widget) {
    if (!widget)
        return;
    widget->hide();
    widget->setMinimumSize(m_oldMinimum);
    widget->setParent(m_control->HomeParent());
}
