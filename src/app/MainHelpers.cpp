#include "app/MainHelpers.h"

#include "model/TextureFiles.h"

namespace MainHelpers {

void StoreTextureFile(const std::shared_ptr<Texture>& pTexture, const QString& folder) {
    TextureFiles::StoreTextureFile(pTexture, folder);
}

}  // namespace MainHelpers
