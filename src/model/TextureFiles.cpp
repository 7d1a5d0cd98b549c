#include "model/TextureFiles.h"

#include "model/Texture.h"
#include "platform/RuntimeError.h"
#include "services/FileShared.h"

#include <QFile>
#include <QFileInfo>

namespace TextureFiles {

void StoreTextureFile(const std::shared_ptr<Texture>& pTexture, const QString& folder) {
    if (!pTexture)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    if (pTexture->TextureType() != TextureKind::Image || pTexture->path().isEmpty())
        return;
    const QString source = pTexture->path();
    const QString uniqueName = pTexture->UniquePath();
    const QString target = FileShared::AddBackslash(folder) + uniqueName;
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        Err::Raise(RuntimeError::FileNotFound);
    // Replacing a file by itself would first delete the only copy.
    if (sourceInfo.canonicalFilePath() != QFileInfo(target).canonicalFilePath()) {
        if (QFileInfo::exists(target) && !QFile::remove(target))
            Err::Raise(RuntimeError::PermissionDenied);
        if (!QFile::copy(source, target))
            Err::Raise(RuntimeError::PathFileAccessError);
    }
    pTexture->SetPath(uniqueName);
}

}  // namespace TextureFiles
