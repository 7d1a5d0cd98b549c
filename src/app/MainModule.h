#pragma once

#include <QString>

// Start-up: names the application, makes the program-wide objects and shows the main window.
namespace MainModule {

// The process entry after the application object exists; commandLine is the whole argument text.
// Any error ends start-up silently, keeping what was already made, except that a missing temporary folder
// is explained to the user (message box and stderr) and the result is false: the program cannot run.
bool Main(const QString& commandLine);
// Fills Globals::Textures: "  No Texture" as id 1, then one pattern per "textures/*.bmp" file of
// the program folder, in the order the folder lists them.
void LoadTextureList();

}  // namespace MainModule
