#include "platform/WindowProcedure.h"

#include "platform/WindowMessage.h"
#include "platform/WindowMessageFilter.h"
#include "platform/WindowRegistry.h"

#include <QPointer>
#include <QWidget>

#include <unordered_map>
#include <vector>

namespace WindowProcedure {

namespace {

constexpr int32_t DefaultId = 1;

// One message being handled: the default procedure marks it when Qt is to see the event behind it.
struct Delivery {
    int32_t hwnd;
    bool passedOn;
};

struct Procedures {
    std::unordered_map<int32_t, Procedure> registered;
    std::unordered_map<int32_t, int32_t> current;  // windows whose procedure is not the default
    std::vector<Delivery> deliveries;
    int32_t next = DefaultId + 1;
    int moveEndDelay = 150;
    ReplaceGate gate;
};

Procedures& procedures() {
    static Procedures* p = new Procedures;  // outlives every widget, even those destroyed at exit
    return *p;
}

int32_t callDefault(int32_t hwnd) {
    auto& deliveries = procedures().deliveries;
    if (!deliveries.empty() && deliveries.back().hwnd == hwnd)
        deliveries.back().passedOn = true;
    return 0;
}

// Runs the procedure with a delivery frame of its own, so nested messages mark only themselves.
int32_t run(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam, bool& passedOn) {
    Procedures& p = procedures();
    p.deliveries.push_back({hwnd, false});
    int32_t result = 0;
    try {
        result = Call(Current(hwnd), hwnd, msg, wParam, lParam);
    } catch (...) {
        p.deliveries.pop_back();
        throw;
    }
    passedOn = p.deliveries.back().passedOn;
    p.deliveries.pop_back();
    return result;
}

}  // namespace

int32_t Register(Procedure procedure) {
    Procedures& p = procedures();
    const int32_t id = p.next++;
    p.registered.emplace(id, std::move(procedure));
    return id;
}

int32_t DefaultProcedure() { return DefaultId; }

int32_t Current(int32_t hwnd) {
    if (!WindowRegistry::IsWindow(hwnd))
        return 0;
    const auto& current = procedures().current;
    const auto found = current.find(hwnd);
    return found == current.end() ? DefaultId : found->second;
}

int32_t Replace(int32_t hwnd, int32_t procedure) {
    Procedures& p = procedures();
    const int32_t previous = Current(hwnd);
    if (previous == 0 || (procedure != DefaultId && p.registered.count(procedure) == 0))
        return 0;
    if (p.gate && !p.gate(hwnd, procedure))
        return 0;
    if (procedure == DefaultId) {
        p.current.erase(hwnd);
    } else {
        p.current[hwnd] = procedure;
        if (QWidget* widget = WindowRegistry::Widget(hwnd))
            WindowMessageFilter::Install(widget, hwnd);
    }
    return previous;
}

int32_t Call(int32_t procedure, int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam) {
    if (procedure == DefaultId)
        return callDefault(hwnd);
    const auto& registered = procedures().registered;
    const auto found = registered.find(procedure);
    if (found == registered.end())
        return 0;
    // A copy, so a procedure that registers others while it runs keeps a valid target.
    const Procedure target = found->second;
    return target(hwnd, msg, wParam, lParam);
}

int32_t Send(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam) {
    bool passedOn = false;
    return run(hwnd, msg, wParam, lParam, passedOn);
}

int32_t Deliver(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam, bool& passedOn) {
    return run(hwnd, msg, wParam, lParam, passedOn);
}

void SetMoveEndDelay(int milliseconds) { procedures().moveEndDelay = milliseconds; }

int MoveEndDelay() { return procedures().moveEndDelay; }

void SetReplaceGate(ReplaceGate gate) { procedures().gate = std::move(gate); }

void WindowDestroyed(int32_t hwnd) {
    // A destructor is no place for an error to leave from.
    try {
        if (Current(hwnd) != DefaultId)
            Send(hwnd, WindowMessage::Destroy, 0, 0);
    } catch (...) {
    }
    procedures().current.erase(hwnd);
}

}  // namespace WindowProcedure
