#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class Color;
class Texture;

// The one place that constructs colours and textures.
namespace Factory {

// A colour drawn by Color::Init from a clone of the texture; error 91 when there is no texture.
std::shared_ptr<Color> NewColor(const std::shared_ptr<Texture>& pTexture, int32_t pRangeType, bool pIsUDC);
// An internal texture keeps only the file-name part of the path.
std::shared_ptr<Texture> NewTexture(int32_t pId, const QString& pName, const QString& pPath, int32_t pTextureType,
                                    bool pInternal, bool pReadonly);

}  // namespace Factory
