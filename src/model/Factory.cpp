#include "model/Factory.h"

#include "model/Color.h"
#include "model/Texture.h"
#include "platform/RuntimeError.h"
#include "services/FileShared.h"

namespace Factory {

std::shared_ptr<Color> NewColor(const std::shared_ptr<Texture>& pTexture, int32_t pRangeType, bool pIsUDC) {
    if (!pTexture)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    auto color = std::make_shared<Color>();
    color->Init(pTexture->Clone(), pRangeType, pIsUDC);
    return color;
}

std::shared_ptr<Texture> NewTexture(int32_t pId, const QString& pName, const QString& pPath, int32_t pTextureType,
                                    bool pInternal, bool pReadonly) {
    auto texture = std::make_shared<Texture>();
    texture->Init(pId, pName, pInternal ? FileShared::GetFileName(pPath) : pPath, pTextureType, pInternal, pReadonly);
    return texture;
}

}  // namespace Factory
