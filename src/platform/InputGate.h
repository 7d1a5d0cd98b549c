#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <memory>
#include <vector>

class QMimeData;

// Lets painting and timers run while a long operation holds the user interface, and keeps user input
// (keys, mouse, wheel, shortcuts, context menus, drops, close requests) for after it: held input is handed
// on in arrival order once control is back in the event loop.
class InputGate : public QObject {
    Q_OBJECT

public:
    static InputGate& Instance();

    // Handles the pending events other than user input; may be called inside itself.
    void RunPending();
    // True while RunPending is handling events.
    bool Running() const { return m_depth > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    InputGate();
    ~InputGate() override;

    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        // A drop's data belongs to the drag, which ends with the drop: the held copy keeps its own.
        std::unique_ptr<QMimeData> mimeData;
    };

    static bool IsUserInput(const QEvent& event);
    void Hold(QObject* receiver, QEvent* event);
    void ScheduleRelease();
    static void Redrop(Held& held);

    int m_depth = 0;
    // The event-loop level of each running pass, innermost last: a dialog opened inside a pass runs a loop
    // of its own whose input must reach it.
    std::vector<int> m_levels;
    bool m_releaseScheduled = false;
    std::deque<Held> m_held;
};
