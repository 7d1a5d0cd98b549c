#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class Color;
class ColorCollection;
class ColorConverter;
class Texture;

// The program-wide state. Start-up makes these objects; an empty pointer is "none".
// They are released when the application object goes, while the program folder is still known.
namespace Globals {

// The colour that bounds every random draw.
extern std::shared_ptr<Color> TopColor;
// The colour the stage draws with.
extern std::shared_ptr<Color> DrawColor;
// The built-in texture choices; item k (1-based) has Id k, item 1 is "  No Texture".
extern std::vector<std::shared_ptr<Texture>> Textures;
extern std::shared_ptr<ColorConverter> Converter;
// Every colour generated for a proofer.
extern std::shared_ptr<ColorCollection> GeneratedColors;
// The current document; empty means untitled.
extern QString CurrentFile;
// The temporary folder of the command icons, ending in "/".
extern QString IconTempFolder;

// Item index (1-based) of Textures; error 5 outside the list.
std::shared_ptr<Texture> TextureItem(int32_t index);

}  // namespace Globals
