#pragma once

#include <QString>

#include <memory>

class Texture;

// The files behind textures, as documents keep them.
namespace TextureFiles {

// Copies a user-image texture's file into the folder under its unique name, then makes that name the
// texture's path. Other textures are left alone. Error 53 for a missing file, 75 when the copy fails.
void StoreTextureFile(const std::shared_ptr<Texture>& pTexture, const QString& folder);

}  // namespace TextureFiles
