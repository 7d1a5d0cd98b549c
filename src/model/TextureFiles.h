#pragma once

#include <QString>

#include <memory>

class Texture;

// The files behind textures, as documents keep them.
namespace TextureFiles {

// Copies a user-image texture's file into the folder under its unique name, then makes that name the
// texture's path. Other textures are left alone. Error 53 for a missing file; a copy that fails raises its
// error (61 for a full disk) and leaves nothing of itself.
void StoreTextureFile(const std::shared_ptr<Texture>& pTexture, const QString& folder);

}  // namespace TextureFiles
