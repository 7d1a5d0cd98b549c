#include "services/Hourglass.h"

#include "platform/App.h"
#include "platform/Screen.h"

Hourglass::Hourglass() { Wait(); }

// The pointer is one program-wide value, so an inner hourglass ending restores the default for all.
Hourglass::~Hourglass() { Default(); }

void Hourglass::Default() { Screen::SetMousePointer(Screen::Default); }

void Hourglass::Wait() {
    Screen::SetMousePointer(Screen::Hourglass);
    App::DoEvents();
}

void Hourglass::WaitStoppable() {
    Screen::SetMousePointer(Screen::ArrowHourglass);
    App::DoEvents();
}
