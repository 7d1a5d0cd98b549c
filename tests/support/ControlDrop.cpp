#include "support/ControlDrop.h"

#include "platform/WindowRegistry.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <memory>

namespace ControlDrop {

QMimeData* DataOf(const QWidget* source) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/x-tindral-control"),
                  QByteArray::number(WindowRegistry::Handle(const_cast<QWidget*>(source))) + ':' +
                      QByteArray::number(QCoreApplication::applicationPid()));
    return data;
}

bool DropData(QMimeData& data, QWidget* over, Qt::KeyboardModifiers modifiers, QPoint at) {
    if (at == QPoint(-1, -1))
        at = over->rect().center();
    QWidget* window = over->window();
    const QPoint inWindow = over->mapTo(window, at);
    QWidget* receiver = window->childAt(inWindow);
    if (!receiver)
        receiver = window;
    while (receiver && !receiver->acceptDrops()) receiver = receiver->parentWidget();
    if (!receiver)
        return false;
    const QPoint local = receiver->mapFrom(window, inWindow);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(local, actions, &data, Qt::LeftButton, modifiers);
    enter.setAccepted(false);
    QApplication::sendEvent(receiver, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(local), actions, &data, Qt::LeftButton, modifiers);
    drop.setAccepted(false);
    QApplication::sendEvent(receiver, &drop);
    return drop.isAccepted();
}

bool Drop(const QWidget* source, QWidget* over, Qt::KeyboardModifiers modifiers, QPoint at) {
    const std::unique_ptr<QMimeData> data(DataOf(source));
    return DropData(*data, over, modifiers, at);
}

}  // namespace ControlDrop
