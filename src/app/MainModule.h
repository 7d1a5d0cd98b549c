#pragma once

#include <QString>

// Start-up: names the application, makes the program-wide objects and shows the main window.
namespace MainModule {

// The process entry after the application object exists; commandLine is the whole argument text.
// Any error ends start-up silently, keeping what was already made.
void Main(const QString& commandLine);
// Fills Globals::Textures: "  No Texture" as id 1, then one pattern per "textures/*.bmp" file of
// the program folder, in the order the folder lists them.
void LoadTextureList();

}  // namespace MainModule
