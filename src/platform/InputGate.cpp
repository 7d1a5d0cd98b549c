#include "platform/InputGate.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QMimeData>
#include <QThread>

namespace {

const QEvent::Type ReleaseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

std::unique_ptr<QMimeData> copyOf(const QMimeData* source) {
    auto copy = std::make_unique<QMimeData>();
    if (source) {
        for (const QString& format : source->formats()) copy->setData(format, source->data(format));
    }
    return copy;
}

}  // namespace

InputGate& InputGate::Instance() {
    static InputGate* gate = new InputGate;
    return *gate;
}

InputGate::InputGate() = default;

InputGate::~InputGate() = default;

void InputGate::RunPending() {
    auto* app = QCoreApplication::instance();
    if (!app)
        return;
    if (m_depth == 0)
        app->installEventFilter(this);
    struct Pass {
        InputGate& gate;
        QCoreApplication* app;
        explicit Pass(InputGate& g, QCoreApplication* a) : gate(g), app(a) {
            ++gate.m_depth;
            gate.m_levels.push_back(QThread::currentThread()->loopLevel());
        }
        ~Pass() {
            gate.m_levels.pop_back();
            if (--gate.m_depth > 0)
                return;
            app->removeEventFilter(&gate);
            if (!gate.m_held.empty())
                gate.ScheduleRelease();
        }
    } pass(*this, app);
    // Window-system input stays queued in order; input that arrives another way is caught by the filter.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool InputGate::IsUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::InputMethod:
        case QEvent::NativeGesture:
        case QEvent::Drop: return true;
        // A window's own close() must go through; a request from the window system waits.
        case QEvent::Close: return event.spontaneous();
        default: return false;
    }
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (m_depth == 0 || !IsUserInput(*event) || QThread::currentThread()->loopLevel() != m_levels.back())
        return false;
    Hold(watched, event);
    return true;
}

void InputGate::Hold(QObject* receiver, QEvent* event) {
    Held held;
    held.receiver = receiver;
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        held.mimeData = copyOf(drop->mimeData());
        held.event = std::make_unique<QDropEvent>(drop->position(), drop->possibleActions(), held.mimeData.get(),
                                                  drop->buttons(), drop->modifiers());
        // The drag source learns that its data was taken; the receiver decides what to do with it later.
        drop->acceptProposedAction();
    } else {
        held.event.reset(event->clone());
    }
    m_held.push_back(std::move(held));
}

void InputGate::ScheduleRelease() {
    if (m_releaseScheduled)
        return;
    m_releaseScheduled = true;
    QCoreApplication::postEvent(this, new QEvent(ReleaseEvent));
}

void InputGate::Redrop(Held& held) {
    // The drag ended with the held drop and took its target along: the copy enters again, then drops.
    auto* drop = static_cast<QDropEvent*>(held.event.get());
    QDragEnterEvent enter(drop->position().toPoint(), drop->possibleActions(), drop->mimeData(), drop->buttons(),
                          drop->modifiers());
    QCoreApplication::sendEvent(held.receiver, &enter);
    if (enter.isAccepted() && held.receiver)
        QCoreApplication::sendEvent(held.receiver, drop);
}

bool InputGate::event(QEvent* event) {
    if (event->type() != ReleaseEvent)
        return QObject::event(event);
    m_releaseScheduled = false;
    // Inside a pass the input keeps waiting; the pass's end schedules the release again.
    if (m_depth > 0)
        return true;
    while (!m_held.empty() && m_depth == 0) {
        Held held = std::move(m_held.front());
        m_held.pop_front();
        if (held.receiver && held.event->type() == QEvent::Drop)
            Redrop(held);
        else if (held.receiver)
            QCoreApplication::sendEvent(held.receiver, held.event.get());
    }
    return true;
}
