#include "model/TextureFiles.h"

#include "model/Texture.h"
#include "platform/AtomicFile.h"
#include "platform/RuntimeError.h"
#include "services/FileShared.h"

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
    // The folder is a document folder about to be packed: the copy is checked, not forced to the disk.
    if (sourceInfo.canonicalFilePath() != QFileInfo(target).canonicalFilePath())
        AtomicFile::CopyFile(source, target, AtomicFile::Durability::Scratch);
    pTexture->SetPath(uniqueName);
}

}  // namespace TextureFiles
