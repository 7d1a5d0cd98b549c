#pragma once

#include <QString>

// The user's special folders, by the platform's folder ids.
namespace SpecialFolders {

enum FolderId : int { MyDocuments = 12, MyPictures = 39 };

// The folder's path, or the empty text when the platform has none.
QString GetSpecialFolder(int folderId, int flags = 0);
QString MyPicturesFolder();
QString MyDocumentsFolder();
// The text up to its first NUL character.
QString TrimNull(const QString& text);

}  // namespace SpecialFolders
