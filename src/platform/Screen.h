#pragma once

// The runtime's screen object: one program-wide mouse pointer.
namespace Screen {

enum MousePointerKind : int { Default = 0, Hourglass = 11, ArrowHourglass = 13 };

// Sets the pointer shown over every window of the program; Default takes the override away.
void SetMousePointer(int pointer);
int MousePointer();

}  // namespace Screen
