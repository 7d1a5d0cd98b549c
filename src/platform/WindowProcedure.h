#pragma once

#include <cstdint>
#include <functional>

// Window procedures per window handle. A procedure is known by a 32-bit id so it can be kept in a
// window property. Every window starts with the default procedure, which is Qt's own handling: calling
// it lets Qt handle the event behind the message as usual. A procedure that does not pass a message on
// to the default procedure consumes the event.
//
// For a window whose procedure is not the default, Qt events become messages (see WindowMessage):
// destruction gives Destroy; a resize gives Sizing then Size (Size decides whether Qt sees the event);
// a move gives Moving; once moves and resizes pause for MoveEndDelay milliseconds, ExitSizeMove.
namespace WindowProcedure {

using Procedure = std::function<int32_t(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam)>;

// Registers a procedure and returns its id (never 0).
int32_t Register(Procedure procedure);
// The id of Qt's own handling, every window's first procedure.
int32_t DefaultProcedure();

// The window's current procedure; 0 for no window.
int32_t Current(int32_t hwnd);
// Makes the procedure the window's own and returns the previous one; 0 (and no change) when the window is
// not valid, the procedure is unknown or the replacement is refused.
int32_t Replace(int32_t hwnd, int32_t procedure);
// Runs a procedure for a message and returns its result; 0 for an unknown procedure.
int32_t Call(int32_t procedure, int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam);
// Runs the window's current procedure for a message; 0 for no window.
int32_t Send(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam);

// Delivers the message that stands for a Qt event; passedOn tells whether Qt is to handle the event.
int32_t Deliver(int32_t hwnd, int32_t msg, int32_t wParam, int32_t lParam, bool& passedOn);

// How long moves and resizes must pause before ExitSizeMove is sent (150 ms unless set).
void SetMoveEndDelay(int milliseconds);
int MoveEndDelay();

// Test seam: a gate asked before every replacement; false refuses it. An empty gate accepts everything.
using ReplaceGate = std::function<bool(int32_t hwnd, int32_t procedure)>;
void SetReplaceGate(ReplaceGate gate);

// Announces Destroy to a window that is going away, then forgets its procedure (called by the registry).
void WindowDestroyed(int32_t hwnd);

}  // namespace WindowProcedure
