#pragma once

#include <QString>

#include <memory>

class CommandBars;
class RibbonBar;
class Texture;
struct MainHelpersHost;
struct TopColorHost;

// Main-window helpers.
namespace MainHelpers {

// Copies a user-image texture's file into the folder under its unique name, then makes that name the
// texture's path. Other textures are left alone. Error 53 for a missing file, 75 when the copy fails.
void StoreTextureFile(const std::shared_ptr<Texture>& pTexture, const QString& folder);

// The ribbon: system menu, "Selection" tab, quick-access bar and the Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+P keys.
void BuildRibbon(const MainHelpersHost& host);
void BuildSystemMenu(RibbonBar& ribbon, const MainHelpersHost& host);
// Copies the program folder's "bin" icons into a fresh temporary folder (Globals::IconTempFolder) and loads
// them under their command ids. A missing icon file leaves its commands without a picture.
void LoadCommandIcons(CommandBars& bars);
// Makes Globals::TopColor white.
void ResetTopColor();
// Writes the text, text colour and size of the label over the top-colour swatch.
void UpdateTopColorLabel(const TopColorHost& host);

}  // namespace MainHelpers
