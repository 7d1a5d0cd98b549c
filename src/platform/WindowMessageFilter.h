#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

class QWidget;

// The event filter of a widget whose procedure was replaced: turns its Qt events into window messages for
// its current procedure, and lets Qt handle an event only when the procedure passes the message on.
class WindowMessageFilter : public QObject {
public:
    // Installs the widget's filter unless it has one; it lives as long as the widget.
    static void Install(QWidget* widget, int32_t hwnd);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowMessageFilter(QWidget* widget, int32_t hwnd);
    void moveEnded();

    int32_t m_hwnd;
    QTimer m_moveEnd;
};
