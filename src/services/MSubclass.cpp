#include "services/MSubclass.h"

#include "platform/App.h"
#include "platform/RuntimeError.h"
#include "platform/WindowMessage.h"
#include "platform/WindowProcedure.h"
#include "platform/WindowProperties.h"
#include "platform/WindowRegistry.h"
#include "services/ISubclass.h"

#include <QCoreApplication>

namespace MSubclass {

namespace {

int32_t g_currentMessage = 0;
bool g_lastWriteSucceeded = true;

int32_t dispatchProcedure() {
    static const int32_t id = WindowProcedure::Register(&DispatchProc);
    return id;
}

QString hookCountName(int32_t hwnd) { return QStringLiteral("C") + QString::number(hwnd); }
QString savedProcName(int32_t hwnd) { return QString::number(hwnd); }
QString handlerCountName(int32_t hwnd, int32_t msg) {
    return QString::number(hwnd) + QLatin1Char('#') + QString::number(msg) + QLatin1Char('C');
}
QString handlerName(int32_t hwnd, int32_t msg, int32_t index) {
    return QString::number(hwnd) + QLatin1Char('#') + QString::number(msg) + QLatin1Char('#') + QString::number(index);
}

void write(int32_t hwnd, const QString& name, int32_t value) {
    g_lastWriteSucceeded = WindowProperties::Set(hwnd, name, value);
}

// A released receiver cannot answer; its window then keeps its own handling of the message.
MsgResponseKind responseOf(int32_t id) {
    ISubclass* handler = ISubclass::FromSubclassId(id);
    return handler ? handler->MsgResponse() : MsgResponseKind::DefaultAfter;
}

}  // namespace

int32_t HookCount(int32_t hwnd) { return WindowProperties::Get(hwnd, hookCountName(hwnd)); }
void SetHookCount(int32_t hwnd, int32_t value) { write(hwnd, hookCountName(hwnd), value); }
int32_t SavedWindowProc(int32_t hwnd) { return WindowProperties::Get(hwnd, savedProcName(hwnd)); }
void SetSavedWindowProc(int32_t hwnd, int32_t value) { write(hwnd, savedProcName(hwnd), value); }
int32_t HandlerCount(int32_t hwnd, int32_t msg) { return WindowProperties::Get(hwnd, handlerCountName(hwnd, msg)); }
void SetHandlerCount(int32_t hwnd, int32_t msg, int32_t value) { write(hwnd, handlerCountName(hwnd, msg), value); }
int32_t HandlerPtr(int32_t hwnd, int32_t msg, int32_t index) {
    return WindowProperties::Get(hwnd, handlerName(hwnd, msg, index));
}
void SetHandlerPtr(int32_t hwnd, int32_t msg, int32_t index, int32_t value) {
    write(hwnd, handlerName(hwnd, msg, index), value);
}
bool LastWriteSucceeded() { return g_lastWriteSucceeded; }

int32_t CurrentMessage() { return g_currentMessage; }

bool IsOwnProcessWindow(int32_t hwnd) { return WindowRegistry::ProcessId(hwnd) == QCoreApplication::applicationPid(); }

void RaiseSubclassError(int32_t n) {
    // The runtime's own numbers come with an empty source: Err::Raise would put the program's name there.
    if (n < 1001)
        throw RuntimeError(n, QString(), RuntimeError::DescriptionOf(n));
    QString description;
    switch (n) {
        case CantSubclassWindow: description = QStringLiteral("Can't subclass window"); break;
        case MessageAlreadyHandled: description = QStringLiteral("Message already handled by another class"); break;
        case InvalidWindow: description = QStringLiteral("Invalid window"); break;
        case CantModifyExternalWindow: description = QStringLiteral("Can't modify external window"); break;
        default: break;
    }
    throw RuntimeError(n | RuntimeError::ObjectErrorBase, App::EXEName() + QStringLiteral(".WindowProc"), description);
}

void HookMessage(ISubclass& handler, int32_t hwnd, int32_t msg) {
    if (!WindowRegistry::IsWindow(hwnd))
        RaiseSubclassError(InvalidWindow);
    if (!IsOwnProcessWindow(hwnd))
        RaiseSubclassError(CantModifyExternalWindow);
    const int32_t id = handler.SubclassId();
    const int32_t count = HandlerCount(hwnd, msg);
    for (int32_t i = 1; i <= count; ++i) {
        if (HandlerPtr(hwnd, msg, i) == id)
            RaiseSubclassError(MessageAlreadyHandled);
    }

    SetHandlerCount(hwnd, msg, count + 1);
    if (!g_lastWriteSucceeded)
        RaiseSubclassError(RuntimeError::InvalidProcedureCall);
    const auto dropHandler = [&] {
        SetHandlerPtr(hwnd, msg, count + 1, 0);
        SetHandlerCount(hwnd, msg, count);
    };
    SetHandlerPtr(hwnd, msg, count + 1, id);
    if (!g_lastWriteSucceeded) {
        SetHandlerCount(hwnd, msg, count);
        RaiseSubclassError(RuntimeError::InvalidProcedureCall);
    }

    if (HookCount(hwnd) == 0) {
        const int32_t previous = WindowProcedure::Replace(hwnd, dispatchProcedure());
        if (previous == 0) {
            dropHandler();
            RaiseSubclassError(CantSubclassWindow);
        }
        SetSavedWindowProc(hwnd, previous);
        if (!g_lastWriteSucceeded) {
            WindowProcedure::Replace(hwnd, previous);
            dropHandler();
            RaiseSubclassError(RuntimeError::InvalidProcedureCall);
        }
    }

    SetHookCount(hwnd, HookCount(hwnd) + 1);
    if (!g_lastWriteSucceeded) {
        dropHandler();
        const int32_t saved = SavedWindowProc(hwnd);
        if (HookCount(hwnd) == 0 && saved != 0) {
            WindowProcedure::Replace(hwnd, saved);
            SetSavedWindowProc(hwnd, 0);
        }
        RaiseSubclassError(RuntimeError::InvalidProcedureCall);
    }
}

void UnhookMessage(ISubclass& handler, int32_t hwnd, int32_t msg) {
    if (!WindowRegistry::IsWindow(hwnd) || !IsOwnProcessWindow(hwnd))
        return;
    const int32_t count = HandlerCount(hwnd, msg);
    if (count < 1)
        return;
    const int32_t id = handler.SubclassId();
    int32_t found = 0;
    for (int32_t i = 1; i <= count && found == 0; ++i) {
        if (HandlerPtr(hwnd, msg, i) == id)
            found = i;
    }
    if (found == 0)
        return;
    for (int32_t i = found; i < count; ++i) SetHandlerPtr(hwnd, msg, i, HandlerPtr(hwnd, msg, i + 1));
    SetHandlerPtr(hwnd, msg, count, 0);
    SetHandlerCount(hwnd, msg, count - 1);

    const int32_t hooks = HookCount(hwnd);
    if (hooks > 1) {
        SetHookCount(hwnd, hooks - 1);
    } else if (hooks == 1) {
        const int32_t saved = SavedWindowProc(hwnd);
        if (saved != 0)
            WindowProcedure::Replace(hwnd, saved);
        SetSavedWindowProc(hwnd, 0);
        SetHookCount(hwnd, 0);
    }
    // A window whose count UnhookAll already dropped keeps it at 0: counting below would keep every
    // later first hook from installing the dispatcher.
}

int32_t DispatchProc(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam) {
    const int32_t previous = SavedWindowProc(hwnd);
    if (previous == 0)
        return 0;
    const int32_t count = HandlerCount(hwnd, msg);
    if (count < 1) {
        if (msg == WindowMessage::Destroy)
            UnhookAll(hwnd);
        return WindowProcedure::Call(previous, hwnd, msg, wParam, lParam);
    }

    int32_t result = 0;
    bool previousRan = false;
    int32_t firstAttached = 0;
    for (int32_t i = count; i >= 1; --i) {
        const int32_t id = HandlerPtr(hwnd, msg, i);
        if (id == 0)
            continue;
        if (i == 1)
            firstAttached = id;
        ISubclass* handler = ISubclass::FromSubclassId(id);
        if (!handler)
            continue;
        g_currentMessage = msg;
        if (i == 1 && handler->MsgResponse() == MsgResponseKind::DefaultBefore && !previousRan) {
            WindowProcedure::Call(previous, hwnd, msg, wParam, lParam);
            previousRan = true;
        }
        result = handler->WindowProc(hwnd, msg, wParam, lParam);
    }
    if (firstAttached != 0 && !previousRan && responseOf(firstAttached) == MsgResponseKind::DefaultAfter)
        result = WindowProcedure::Call(previous, hwnd, msg, wParam, lParam);
    return result;
}

void UnhookAll(int32_t hwnd) {
    if (HookCount(hwnd) <= 0)
        return;
    const int32_t saved = SavedWindowProc(hwnd);
    if (saved != 0)
        WindowProcedure::Replace(hwnd, saved);
    SetSavedWindowProc(hwnd, 0);
    SetHookCount(hwnd, 0);
}

}  // namespace MSubclass
