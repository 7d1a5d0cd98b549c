#include "platform/WindowRegistry.h"

#include "platform/WindowProcedure.h"
#include "platform/WindowProperties.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>
#include <QWidget>

#include <unordered_map>

namespace WindowRegistry {

namespace {

struct Entry {
    QWidget* widget;
    bool destroying;
};

struct Registry {
    std::unordered_map<int32_t, Entry> byHandle;
    QHash<const QObject*, int32_t> byWidget;
    int32_t next = 0x10000;
};

Registry& registry() {
    static Registry* r = new Registry;  // outlives every widget, even those destroyed at exit
    return *r;
}

// The handle stays valid while its destruction is announced, so hooks can still read their
// bookkeeping; afterwards the window's procedure and properties go with it.
void widgetDestroyed(const QObject* object) {
    Registry& r = registry();
    const auto found = r.byWidget.constFind(object);
    if (found == r.byWidget.cend())
        return;
    const int32_t hwnd = found.value();
    r.byWidget.erase(found);
    auto entry = r.byHandle.find(hwnd);
    if (entry == r.byHandle.end())
        return;
    entry->second.destroying = true;
    WindowProcedure::WindowDestroyed(hwnd);
    WindowProperties::Forget(hwnd);
    registry().byHandle.erase(hwnd);
}

}  // namespace

int32_t Handle(QWidget* widget) {
    if (!widget)
        return 0;
    Registry& r = registry();
    const auto found = r.byWidget.constFind(widget);
    if (found != r.byWidget.cend())
        return found.value();
    const int32_t hwnd = r.next++;
    r.byHandle.emplace(hwnd, Entry{widget, false});
    r.byWidget.insert(widget, hwnd);
    QObject::connect(widget, &QObject::destroyed, [widget] { widgetDestroyed(widget); });
    return hwnd;
}

QWidget* Widget(int32_t hwnd) {
    const auto& byHandle = registry().byHandle;
    const auto found = byHandle.find(hwnd);
    if (found == byHandle.end() || found->second.destroying)
        return nullptr;
    return found->second.widget;
}

bool IsWindow(int32_t hwnd) { return registry().byHandle.count(hwnd) != 0; }

qint64 ProcessId(int32_t hwnd) { return IsWindow(hwnd) ? QCoreApplication::applicationPid() : 0; }

}  // namespace WindowRegistry
