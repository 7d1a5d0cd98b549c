#include "platform/ControlDrag.h"

#include "platform/WindowRegistry.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QCoreApplication>
#include <QObject>
#include <QPixmap>
#include <QWidget>

namespace ControlDrag {

namespace {

const QString MimeType = QStringLiteral("application/x-tindral-control");

bool CarriesControl(const QMimeData* data) { return data && data->hasFormat(MimeType); }

// Answers drag and drop events of one target; it lives as the target's child and goes with it.
class DropFilter : public QObject {
public:
    DropFilter(QWidget* target, std::function<void(QWidget*, Qt::KeyboardModifiers)> onDrop)
        : QObject(target), m_onDrop(std::move(onDrop)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* move = static_cast<QDragMoveEvent*>(event);
                if (!CarriesControl(move->mimeData()))
                    return false;
                move->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                if (!CarriesControl(drop->mimeData()))
                    return false;
                drop->acceptProposedAction();
                if (QWidget* source = Source(drop))
                    m_onDrop(source, drop->modifiers());
                return true;
            }
            default: return false;
        }
    }

private:
    std::function<void(QWidget*, Qt::KeyboardModifiers)> m_onDrop;
};

}  // namespace

bool Start(QWidget* source, const QPixmap& picture) {
    if (!source)
        return false;
    auto* data = new QMimeData;
    data->setData(MimeType, QByteArray::number(WindowRegistry::Handle(source)) + ':' +
                                QByteArray::number(QCoreApplication::applicationPid()));
    QDrag drag(source);
    drag.setMimeData(data);
    if (!picture.isNull()) {
        drag.setPixmap(picture);
        drag.setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    }
    return drag.exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction) != Qt::IgnoreAction;
}

QWidget* Source(const QDropEvent* event) {
    if (!event || !CarriesControl(event->mimeData()))
        return nullptr;
    const QList<QByteArray> parts = event->mimeData()->data(MimeType).split(':');
    // A handle means something only inside the process that gave it.
    if (parts.size() != 2 || parts[1].toLongLong() != QCoreApplication::applicationPid())
        return nullptr;
    bool ok = false;
    const int32_t handle = parts[0].toInt(&ok);
    return ok ? WindowRegistry::Widget(handle) : nullptr;
}

void AcceptDrops(QWidget* target, std::function<void(QWidget* source)> onDrop) {
    AcceptDrops(target, [onDrop = std::move(onDrop)](QWidget* source, Qt::KeyboardModifiers) { onDrop(source); });
}

void AcceptDrops(QWidget* target, std::function<void(QWidget* source, Qt::KeyboardModifiers modifiers)> onDrop) {
    if (!target)
        return;
    target->setAcceptDrops(true);
    target->installEventFilter(new DropFilter(target, std::move(onDrop)));
}

}  // namespace ControlDrag
