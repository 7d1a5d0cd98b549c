#pragma once

#include <functional>

// The system asking the program to end: SIGTERM, SIGINT, SIGHUP, or the desktop session ending. A signal
// handler may only write to a pipe, so the request reaches the event loop through a socket notifier and
// is acted on there, once.
namespace SessionEnd {

// Catches the three signals and the session's commit request (and aboutToQuit) for the application that
// exists; onEnd runs on the user-interface thread at the first request. Installing again replaces onEnd.
void Install(std::function<void()> onEnd);
// Puts the default signal actions back and closes the pipe.
void Uninstall();
// True once the end was requested, by a signal or otherwise.
bool Requested();
// Requests the end as a signal would, from the user-interface thread.
void Request();

}  // namespace SessionEnd
