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
namespace Globals {

// The colour that bounds every random draw.
inline std::shared_ptr<Color> TopColor;
// The colour the stage draws with.
inline std::shared_ptr<Color> DrawColor;
// The built-in texture choices; item k (1-based) has Id k, item 1 is "  No Texture".
inline std::vector<std::shared_ptr<Texture>> Textures;
inline std::shared_ptr<ColorConverter> Converter;
// Every colour generated for a proofer.
inline std::shared_ptr<ColorCollection> GeneratedColors;
// The current document; empty means untitled.
inline QString CurrentFile;
// The temporary folder of the command icons, ending in "/".
inline QString IconTempFolder;

// Item index (1-based) of Textures; error 5 outside the list.
std::shared_ptr<Texture> TextureItem(int32_t index);

}  // namespace Globals
