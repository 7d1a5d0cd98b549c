#pragma once

#include <QString>

// The application object of the form runtime: title, executable name and program folder.
namespace App {

// The title keys the settings store and is the default caption of message boxes.
QString Title();
void SetTitle(const QString& title);

// The executable's name, the first part of every component error's source.
QString EXEName();

// The folder of the program's data files (textures, icons, pictures, help), without a trailing "/".
QString Path();
// Points Path at another folder (tests use the build's program folder).
void SetPath(const QString& folder);

// Lets painting and timers run, as the runtime's DoEvents does; user input waits until control is back
// in the event loop and then arrives in order (see InputGate). The only place that handles events early.
void DoEvents();

}  // namespace App
