#include "platform/WindowProperties.h"

#include "platform/WindowRegistry.h"

#include <QHash>

#include <algorithm>
#include <unordered_map>

namespace WindowProperties {

namespace {

struct Store {
    std::unordered_map<int32_t, QHash<QString, int32_t>> windows;
    WriteGate gate;
};

Store& store() {
    static Store* s = new Store;  // outlives every widget, even those destroyed at exit
    return *s;
}

}  // namespace

bool Set(int32_t hwnd, const QString& name, int32_t value) {
    if (!WindowRegistry::IsWindow(hwnd))
        return false;
    if (value == 0) {
        Remove(hwnd, name);
        return true;
    }
    Store& s = store();
    if (s.gate && !s.gate(hwnd, name, value))
        return false;
    s.windows[hwnd].insert(name, value);
    return true;
}

int32_t Get(int32_t hwnd, const QString& name) {
    const auto& windows = store().windows;
    const auto window = windows.find(hwnd);
    if (window == windows.end())
        return 0;
    return window->second.value(name, 0);
}

int32_t Remove(int32_t hwnd, const QString& name) {
    auto& windows = store().windows;
    const auto window = windows.find(hwnd);
    if (window == windows.end())
        return 0;
    const int32_t value = window->second.take(name);
    if (window->second.isEmpty())
        windows.erase(window);
    return value;
}

QStringList Names(int32_t hwnd) {
    const auto& windows = store().windows;
    const auto window = windows.find(hwnd);
    if (window == windows.end())
        return {};
    QStringList names = window->second.keys();
    std::sort(names.begin(), names.end());
    return names;
}

void SetWriteGate(WriteGate gate) { store().gate = std::move(gate); }

void Forget(int32_t hwnd) { store().windows.erase(hwnd); }

}  // namespace WindowProperties
