#include "platform/WindowMessageFilter.h"

#include "platform/WindowMessage.h"
#include "platform/WindowProcedure.h"

#include <QEvent>
#include <QWidget>

namespace {
const char* const FilterProperty = "tindral.windowMessageFilter";
}

void WindowMessageFilter::Install(QWidget* widget, int32_t hwnd) {
    if (widget->property(FilterProperty).toBool())
        return;
    widget->setProperty(FilterProperty, true);
    widget->installEventFilter(new WindowMessageFilter(widget, hwnd));
}

WindowMessageFilter::WindowMessageFilter(QWidget* widget, int32_t hwnd) : QObject(widget), m_hwnd(hwnd) {
    m_moveEnd.setSingleShot(true);
    connect(&m_moveEnd, &QTimer::timeout, this, &WindowMessageFilter::moveEnded);
}

bool WindowMessageFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::Move && type != QEvent::Resize) || watched != parent() ||
        WindowProcedure::Current(m_hwnd) == WindowProcedure::DefaultProcedure())
        return false;
    m_moveEnd.start(WindowProcedure::MoveEndDelay());
    const int32_t hwnd = m_hwnd;
    bool passedOn = false;
    // Qt's event machinery cannot carry an error through; one raised by a hook ends at the event.
    try {
        if (type == QEvent::Move) {
            WindowProcedure::Deliver(hwnd, WindowMessage::Moving, 0, 0, passedOn);
        } else {
            WindowProcedure::Send(hwnd, WindowMessage::Sizing, 0, 0);
            WindowProcedure::Deliver(hwnd, WindowMessage::Size, 0, 0, passedOn);
        }
    } catch (...) {
        passedOn = true;
    }
    return !passedOn;
}

void WindowMessageFilter::moveEnded() {
    try {
        WindowProcedure::Send(m_hwnd, WindowMessage::ExitSizeMove, 0, 0);
    } catch (...) {
    }
}
