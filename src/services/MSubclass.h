#pragma once

#include <cstdint>

class ISubclass;

// Hooks chosen messages of the program's own windows for ISubclass receivers. All bookkeeping lives in
// the hooked window's properties (see the accessors), so it goes with the window:
//   "C" + hwnd                  hook count: attachments on the window over all messages
//   hwnd                        the window's previous procedure
//   hwnd + "#" + msg + "C"      handler count of that message
//   hwnd + "#" + msg + "#" + i  id of the handler at index i (1 = attached first)
// Numbers are signed decimal; writing 0 removes the property.
namespace MSubclass {

// Attaches the handler to the message; on failure raises and leaves everything as it was.
void HookMessage(ISubclass& handler, int32_t hwnd, int32_t msg);
// Detaches it; silent for an invalid or foreign window or a handler that is not attached.
void UnhookMessage(ISubclass& handler, int32_t hwnd, int32_t msg);
// The message being dispatched: set before each handler runs and never cleared.
int32_t CurrentMessage();
// The procedure installed on hooked windows.
int32_t DispatchProc(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam);
// Puts the previous procedure back and drops the window's hook count and saved procedure; the handler
// lists of the messages stay on the window.
void UnhookAll(int32_t hwnd);
bool IsOwnProcessWindow(int32_t hwnd);
// 5 and other runtime numbers below 1001 as they are; 13081 to 13084 as object errors of "WindowProc".
[[noreturn]] void RaiseSubclassError(int32_t n);

constexpr int32_t CantSubclassWindow = 13081;
constexpr int32_t MessageAlreadyHandled = 13082;
constexpr int32_t InvalidWindow = 13083;
constexpr int32_t CantModifyExternalWindow = 13084;

// The bookkeeping properties. Each write records its outcome, read by LastWriteSucceeded.
int32_t HookCount(int32_t hwnd);
void SetHookCount(int32_t hwnd, int32_t value);
int32_t SavedWindowProc(int32_t hwnd);
void SetSavedWindowProc(int32_t hwnd, int32_t value);
int32_t HandlerCount(int32_t hwnd, int32_t msg);
void SetHandlerCount(int32_t hwnd, int32_t msg, int32_t value);
int32_t HandlerPtr(int32_t hwnd, int32_t msg, int32_t index);
void SetHandlerPtr(int32_t hwnd, int32_t msg, int32_t index, int32_t value);
bool LastWriteSucceeded();

}  // namespace MSubclass
